// The isotherm figure: measured points and the fitted curve of each
// temperature, pressure against volume, as inline SVG.

const kWidth = 640;
const kHeight = 420;
const kMargin = { left: 64, right: 16, top: 16, bottom: 48 };
const kTickCount = 6;
const kSvgNamespace = 'http://www.w3.org/2000/svg';

// About count round-numbered ticks spanning [low, high].
export function niceTicks(low, high, count = kTickCount) {
  if (!(high > low)) return [low];
  const rough = (high - low) / count;
  const power = 10 ** Math.floor(Math.log10(rough));
  const step = [1, 2, 5, 10].map((m) => m * power).find((s) => s >= rough);
  const ticks = [];
  for (let t = Math.ceil(low / step) * step; t <= high + step * 1e-9; t += step) {
    ticks.push(Number(t.toPrecision(12)));
  }
  return ticks;
}

function extent(values) {
  let low = Math.min(...values);
  let high = Math.max(...values);
  if (low === high) {
    low -= 1;
    high += 1;
  }
  const pad = (high - low) * 0.05;
  return [low - pad, high + pad];
}

function element(name, attributes = {}, text = null) {
  const node = document.createElementNS(kSvgNamespace, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, String(value));
  if (text !== null) node.textContent = text;
  return node;
}

function axes(svg, x, y, xTicks, yTicks) {
  const bottom = kHeight - kMargin.bottom;
  svg.append(element('rect', { x: kMargin.left, y: kMargin.top, width: kWidth - kMargin.left - kMargin.right,
    height: bottom - kMargin.top, class: 'frame' }));
  for (const t of xTicks) {
    svg.append(element('line', { x1: x(t), x2: x(t), y1: bottom, y2: bottom + 5, class: 'tick' }));
    svg.append(element('text', { x: x(t), y: bottom + 18, 'text-anchor': 'middle' }, String(t)));
  }
  for (const t of yTicks) {
    svg.append(element('line', { x1: kMargin.left - 5, x2: kMargin.left, y1: y(t), y2: y(t), class: 'tick' }));
    svg.append(element('text', { x: kMargin.left - 8, y: y(t) + 4, 'text-anchor': 'end' }, String(t)));
  }
  svg.append(element('text', { x: (kMargin.left + kWidth - kMargin.right) / 2, y: kHeight - 8,
    'text-anchor': 'middle' }, 'V'));
  svg.append(element('text', { x: 16, y: (kMargin.top + bottom) / 2, 'text-anchor': 'middle',
    transform: `rotate(-90 16 ${(kMargin.top + bottom) / 2})` }, 'P'));
}

// residuals: the report's residuals; lines: the file line of each fitted
// point; curves: [{T, points: [[V, P], ...]}].
export function isothermFigure(residuals, lines, curves) {
  const svg = element('svg', { viewBox: `0 0 ${kWidth} ${kHeight}`, role: 'img', class: 'figure',
    'aria-label': 'Isotherm: measured pressures and the fitted curve against volume' });
  svg.append(element('title', {}, 'Isotherm'));
  const curvePoints = curves.flatMap((c) => c.points);
  const [vLow, vHigh] = extent([...residuals.map((r) => r.V), ...curvePoints.map((p) => p[0])]);
  const [pLow, pHigh] = extent([...residuals.map((r) => r.P_obs), ...curvePoints.map((p) => p[1])]);
  const x = (v) => kMargin.left + ((v - vLow) / (vHigh - vLow)) * (kWidth - kMargin.left - kMargin.right);
  const y = (p) => kHeight - kMargin.bottom - ((p - pLow) / (pHigh - pLow)) * (kHeight - kMargin.top - kMargin.bottom);
  axes(svg, x, y, niceTicks(vLow, vHigh), niceTicks(pLow, pHigh));
  const temperatures = curves.map((c) => c.T);
  curves.forEach((curve, i) => {
    const path = curve.points.map(([v, p]) => `${x(v).toFixed(2)},${y(p).toFixed(2)}`).join(' ');
    svg.append(element('polyline', { points: path, class: `curve series-${i % 8}` }));
  });
  residuals.forEach((r, i) => {
    const series = Math.max(0, temperatures.indexOf(r.T)) % 8;
    const dot = element('circle', { cx: x(r.V).toFixed(2), cy: y(r.P_obs).toFixed(2), r: 3.5,
      class: `point series-${series}` });
    dot.append(element('title', {}, `line ${lines[i] ?? i + 1}: P ${r.P_obs}, V ${r.V}, T ${r.T}, ` +
      `residual ${r.dP}`));
    svg.append(dot);
  });
  if (curves.length > 1) {
    curves.forEach((curve, i) => {
      svg.append(element('text', { x: kWidth - kMargin.right - 8, y: kMargin.top + 16 + 16 * i,
        'text-anchor': 'end', class: `legend series-${i % 8}` }, `T = ${curve.T}`));
    });
  }
  return svg;
}
