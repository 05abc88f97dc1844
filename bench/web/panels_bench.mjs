// The page's panels in the WebAssembly core under node: a state point with
// its properties and sigmas, the pressures of a calibrant column, and the
// catalogue the model panel is built from (asked once, when the page is
// written).
//   node bench/web/panels_bench.mjs build/wasm/web/quorvane_core.js
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const core = await createRequire(import.meta.url)(resolve(process.argv[2]))();
const kRepetitions = 200;
const kCalibrantRows = 1000;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function timed(what, run, repetitions = kRepetitions) {
  run();
  const times = [];
  for (let i = 0; i < repetitions; i++) {
    const started = performance.now();
    run();
    times.push(performance.now() - started);
  }
  console.log(`${what}: ${median(times).toFixed(3)} ms (median of ${repetitions})`);
}

function parameterFile(dataPath, options) {
  const list = new core.StringList();
  for (const option of options) list.push_back(option);
  const excluded = new core.IndexList();
  const fit = core.fitDataText(readFileSync(dataPath, 'utf8'), 'data', list, excluded);
  list.delete();
  excluded.delete();
  return fit.parameterFile;
}

const stishovite = join(here, '../../tests/fit/data/stishovite_nishihara2005_pvt.csv');
const linear = parameterFile(stishovite, []);
const mgd = parameterFile(stishovite, ['--thermal=mgd', '--refine=V0,K0,theta0,gamma0']);
timed('state point, linear, P and T given, properties with sigmas',
  () => core.statePointJson(linear, 'P', 10, 900, 60.08, 0));
timed('state point, mgd, P and T given, properties with sigmas',
  () => core.statePointJson(mgd, 'P', 12, 1000, 60.08, 0));
const rows = ['V,Vcal,sigVcal'];
for (let i = 0; i < kCalibrantRows; i++) rows.push(`${160 - i * 0.01},${67.85 - i * 0.004},0.01`);
const calibrant = rows.join('\n');
timed(`${kCalibrantRows} calibrant rows on au-fei2007`,
  () => core.calibrantPressuresJson(calibrant, 'data', 'au-fei2007', ''), 20);
timed('the catalogue', () => core.catalogueJson(), 50);
