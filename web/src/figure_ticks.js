// Round ticks for a zoomed axis, where the definition's own no longer fit.
const kTickCount = 6;

// About count round-numbered ticks spanning [low, high].
export function niceTicks(low, high, count = kTickCount) {
  if (!(high > low)) return [low];
  const rough = (high - low) / count;
  const power = 10 ** Math.floor(Math.log10(rough));
  const step = [1, 2, 5, 10].map((m) => m * power).find((s) => s >= rough);
  const ticks = [];
  for (let i = Math.ceil(low / step); i * step <= high + step * 1e-9; i++) {
    ticks.push(Number((i * step).toPrecision(12)));
  }
  return ticks;
}

// The ticks' texts with one number of decimals, that of the step, so that
// 0.5, 1.0, 1.5 line up as a reader expects.
export function tickTexts(ticks) {
  if (ticks.length < 2) return ticks.map(String);
  const step = Math.abs(ticks[1] - ticks[0]);
  const decimals = Math.min(12, Math.max(0, -Math.floor(Math.log10(step) + 1e-9)));
  const large = Math.max(...ticks.map(Math.abs)) >= 1e6 || step < 1e-6;
  return ticks.map((t) => (large ? t.toPrecision(3) : t.toFixed(decimals)).replace('-', '\u2212'));
}
