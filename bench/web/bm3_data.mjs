// The benchmarks' data sets: BM3 with V0 163.7, K0 87.5, K'0 4.9, fixed
// scatter in P, sigmas 0.02 in P and 0.01 in V. The 100-point one is the
// file bench/web/page_fit_benchmark.cpp fits natively too; the larger ones
// are of the same kind.
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
export const kFilePoints = 100;

export function bm3Data(points = kFilePoints) {
  if (points === kFilePoints) return readFileSync(join(here, 'bm3_100_points.csv'), 'utf8');
  const rows = ['P,V,sigP,sigV'];
  let state = 7;
  for (let i = 0; i < points; i++) {
    state = (state * 1103515245 + 12345) % 2147483648;
    const V = 163.7 * (1 - (0.25 * i) / (points - 1));
    const x = (163.7 / V) ** (2 / 3);
    const P = 1.5 * 87.5 * (x ** 3.5 - x ** 2.5) * (1 + 0.75 * (4.9 - 4) * (x - 1));
    rows.push(`${(P + 0.02 * (state / 2147483648 - 0.5)).toFixed(6)},${V.toFixed(6)},0.02,0.01`);
  }
  return `${rows.join('\n')}\n`;
}

export function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}
