// One figure of the shared definition (plot's FigureJson) drawn as inline
// SVG, with zoom, pan and the nearest data point under the pointer. The
// layout follows the shared SVG writer's: the legend right of the data area,
// never over the data.
import { niceTicks, tickTexts } from './figure_ticks.js';

const kSvgNamespace = 'http://www.w3.org/2000/svg';
const kArea = { width: 560, height: 360 };
const kFontPixels = 14;
const kTitlePixels = 15;
const kTickLength = 5;
const kPad = 10;
const kLegendRow = 21;
const kLegendKey = 26;
const kMarkerRadius = 3.2;
// The nearest point counts only within this many pixels of the pointer.
const kHoverReach = 28;
const kManyMarkers = 3000;
const kZoomStep = 1.25;
const kPanStep = 0.1;
const kDashes = { dashed: '6 4', dotted: '1.5 3' };

let measuring = null;

// The width of a text as the page draws it: measured in a hidden figure of
// the page's own style, so that the font the browser picks is the one measured.
function textWidth(text, className = '') {
  if (!measuring) {
    const svg = element('svg', { class: 'figure', 'aria-hidden': 'true',
      style: 'position: absolute; visibility: hidden; width: 0; height: 0' });
    measuring = element('text');
    svg.append(measuring);
    document.body.append(svg);
  }
  measuring.setAttribute('class', className);
  measuring.textContent = text;
  return measuring.getComputedTextLength();
}

function element(name, attributes = {}, text = null) {
  const node = document.createElementNS(kSvgNamespace, name);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, String(value));
  if (text !== null) node.textContent = text;
  return node;
}

const isNumber = (value) => typeof value === 'number' && Number.isFinite(value);
const format = (value) => Number(value.toFixed(2));

// The axis' ticks: the definition's own over its own range, round ones over
// a zoomed range.
function ticksOf(axis, low, high) {
  if (low === axis.low && high === axis.high) return { values: axis.ticks, texts: axis.tickTexts };
  const values = niceTicks(low, high);
  return { values, texts: tickTexts(values) };
}

function layOut(figure, view) {
  const yTicks = ticksOf(figure.y, view.y[0], view.y[1]);
  const yTickWidth = Math.max(0, ...yTicks.texts.map((text) => textWidth(text)));
  const left = kPad + kFontPixels * 1.4 + kPad + yTickWidth + kTickLength + 4;
  const top = kPad + (figure.title ? kTitlePixels * 1.6 : 0);
  const legendWidth = figure.legend.length === 0 ? 0
    : kPad * 3 + kLegendKey + 6 + Math.max(...figure.legend.map((row) => textWidth(row.text)));
  const area = { left, top, width: kArea.width, height: kArea.height };
  const width = Math.max(left + kArea.width + legendWidth + kPad,
    textWidth(figure.title, 'figure-title') + 2 * kPad);
  const height = top + kArea.height + kTickLength + kFontPixels * 3.2 + kPad;
  return { area, width, height, yTicks, xTicks: ticksOf(figure.x, view.x[0], view.x[1]) };
}

function scales(area, view) {
  const x = (value) => area.left + ((value - view.x[0]) / (view.x[1] - view.x[0])) * area.width;
  const y = (value) => area.top + area.height - ((value - view.y[0]) / (view.y[1] - view.y[0])) * area.height;
  return { x, y };
}

function drawAxes(svg, figure, layout, at) {
  const { area } = layout;
  const bottom = area.top + area.height;
  svg.append(element('rect', { x: area.left, y: area.top, width: area.width, height: area.height,
    class: 'frame' }));
  layout.xTicks.values.forEach((value, i) => {
    const x = at.x(value);
    svg.append(element('line', { x1: x, x2: x, y1: bottom, y2: bottom + kTickLength, class: 'tick' }));
    svg.append(element('text', { x, y: bottom + kTickLength + kFontPixels, 'text-anchor': 'middle' },
      layout.xTicks.texts[i]));
  });
  layout.yTicks.values.forEach((value, i) => {
    const y = at.y(value);
    svg.append(element('line', { x1: area.left - kTickLength, x2: area.left, y1: y, y2: y, class: 'tick' }));
    svg.append(element('text', { x: area.left - kTickLength - 3, y: y + kFontPixels * 0.35,
      'text-anchor': 'end' }, layout.yTicks.texts[i]));
  });
  const middle = area.top + area.height / 2;
  svg.append(element('text', { x: area.left + area.width / 2, y: bottom + kTickLength + kFontPixels * 2.6,
    'text-anchor': 'middle', class: 'axis-label' }, figure.x.label));
  const yLabelX = kPad + kFontPixels;
  svg.append(element('text', { x: yLabelX, y: middle, 'text-anchor': 'middle', class: 'axis-label',
    transform: `rotate(-90 ${yLabelX} ${middle})` }, figure.y.label));
  if (figure.title) {
    svg.append(element('text', { x: layout.width / 2, y: kPad + kTitlePixels, 'text-anchor': 'middle',
      class: 'figure-title' }, figure.title));
  }
}

// A line through the points in order, broken where a value is missing.
function linePath(series, at) {
  let path = '';
  let pen = 'M';
  series.x.forEach((x, i) => {
    const y = series.y[i];
    if (!isNumber(x) || !isNumber(y)) {
      pen = 'M';
      return;
    }
    path += `${pen}${format(at.x(x))},${format(at.y(y))}`;
    pen = 'L';
  });
  return path;
}

function strokeOf(stroke) {
  return kDashes[stroke] ? { 'stroke-dasharray': kDashes[stroke] } : {};
}

// A marker or error bar of a dense series is drawn only where none is drawn
// yet in its half-pixel cell: the others lie under it, and a browser lays out
// a few thousand rather than 100,000. Coordinates beyond the data area count
// as its edge, where the clip hides them anyway. The exported SVG, the
// command line's, keeps every one.
const kCellsPerPixel = 2;
const kCellRange = 8192;

function firstInCell(taken, ...cells) {
  const key = cells.reduce((sum, cell) => sum * kCellRange + cell, 0);
  if (taken.has(key)) return false;
  taken.add(key);
  return true;
}

function cellsOf(area) {
  const clamped = (pixel, low, high) => Math.round(Math.min(Math.max(pixel, low - 1), high + 1) * kCellsPerPixel);
  return {
    x: (pixel) => clamped(pixel, area.left, area.left + area.width),
    y: (pixel) => clamped(pixel, area.top, area.top + area.height),
  };
}

// Markers outside the data area are not drawn; more than kManyMarkers are
// thinned as above and drawn as one path, which a browser draws in a
// fraction of the time of as many circle elements.
function drawMarkers(group, series, at, area) {
  const dense = series.x.length > kManyMarkers;
  const cell = cellsOf(area);
  const taken = { marker: new Set(), vertical: new Set(), horizontal: new Set() };
  const bars = [];
  const centres = [];
  const inside = (cx, cy) => cx >= area.left - kMarkerRadius && cx <= area.left + area.width + kMarkerRadius &&
    cy >= area.top - kMarkerRadius && cy <= area.top + area.height + kMarkerRadius;
  // Pixels are rounded for the text of those drawn only: of 100,000 that is most of the time.
  for (let i = 0; i < series.x.length; i++) {
    const x = series.x[i];
    const y = series.y[i];
    if (!isNumber(x) || !isNumber(y)) continue;
    const [cx, cy] = [at.x(x), at.y(y)];
    const yError = series.yError[i];
    if (isNumber(yError) && yError > 0) {
      const [low, high] = [at.y(y - yError), at.y(y + yError)];
      if (!dense || firstInCell(taken.vertical, cell.x(cx), cell.y(low), cell.y(high))) {
        bars.push(`M${format(cx)},${format(low)}V${format(high)}`);
      }
    }
    const xError = series.xError[i];
    if (isNumber(xError) && xError > 0) {
      const [left, right] = [at.x(x - xError), at.x(x + xError)];
      if (!dense || firstInCell(taken.horizontal, cell.y(cy), cell.x(left), cell.x(right))) {
        bars.push(`M${format(left)},${format(cy)}H${format(right)}`);
      }
    }
    if (inside(cx, cy) && (!dense || firstInCell(taken.marker, cell.x(cx), cell.y(cy)))) {
      centres.push([format(cx), format(cy)]);
    }
  }
  if (bars.length > 0) group.append(element('path', { d: bars.join(''), class: 'error-bar', stroke: series.colour }));
  const colours = { class: 'point', fill: series.colour, stroke: series.colour };
  if (centres.length <= kManyMarkers) {
    for (const [cx, cy] of centres) group.append(element('circle', { cx, cy, r: kMarkerRadius, ...colours }));
    return;
  }
  const r = kMarkerRadius;
  const d = centres.map(([cx, cy]) => `M${format(cx - r)},${cy}a${r},${r} 0 1,0 ${2 * r},0a${r},${r} 0 1,0 ${-2 * r},0`);
  group.append(element('path', { d: d.join(''), ...colours }));
}

function drawSeries(svg, figure, layout, at, clipId) {
  const { area } = layout;
  const defs = element('defs');
  const clip = element('clipPath', { id: clipId });
  clip.append(element('rect', { x: area.left, y: area.top, width: area.width, height: area.height }));
  defs.append(clip);
  svg.append(defs);
  const plotted = element('g', { 'clip-path': `url(#${clipId})` });
  if (figure.zeroLine) {
    const y = at.y(0);
    plotted.append(element('line', { x1: area.left, x2: area.left + area.width, y1: y, y2: y, class: 'zero' }));
  }
  for (const series of figure.series) {
    if (series.line) {
      plotted.append(element('path', { d: linePath(series, at), class: 'curve', stroke: series.colour,
        ...strokeOf(series.stroke) }));
    } else {
      const group = element('g');
      drawMarkers(group, series, at, area);
      plotted.append(group);
    }
  }
  svg.append(plotted);
}

function drawLegend(svg, figure, layout) {
  if (figure.legend.length === 0) return;
  const left = layout.area.left + layout.area.width + kPad;
  const top = layout.area.top;
  const width = layout.width - left - kPad;
  const legend = element('g', { class: 'legend' });
  legend.append(element('rect', { x: left, y: top, width, height: kPad + kLegendRow * figure.legend.length,
    class: 'legend-box' }));
  figure.legend.forEach((row, i) => {
    const y = top + kPad / 2 + kLegendRow * (i + 0.5);
    const keyLeft = left + kPad;
    if (row.line) {
      legend.append(element('line', { x1: keyLeft, x2: keyLeft + kLegendKey, y1: y, y2: y, class: 'curve',
        stroke: row.colour, ...strokeOf(row.stroke) }));
    }
    if (row.marker) {
      legend.append(element('circle', { cx: keyLeft + kLegendKey / 2, cy: y, r: kMarkerRadius, class: 'point',
        fill: row.colour, stroke: row.colour }));
    }
    legend.append(element('text', { x: keyLeft + kLegendKey + 6, y: y + kFontPixels * 0.35 }, row.text));
  });
  svg.append(legend);
}

let clipCount = 0;

// The whole figure at the view's ranges: {x: [low, high], y: [low, high]}.
export function renderFigure(figure, view, label) {
  const layout = layOut(figure, view);
  const svg = element('svg', { viewBox: `0 0 ${format(layout.width)} ${format(layout.height)}`,
    width: format(layout.width), height: format(layout.height), class: 'figure', role: 'img', tabindex: 0, 'aria-label': label });
  svg.append(element('title', {}, figure.title));
  const at = scales(layout.area, view);
  drawAxes(svg, figure, layout, at);
  drawSeries(svg, figure, layout, at, `figure-clip-${++clipCount}`);
  drawLegend(svg, figure, layout);
  return { svg, layout, at };
}

// The view's ranges zoomed by factor about the data point (cx, cy).
export function zoomed(view, factor, cx, cy) {
  const scale = ([low, high], centre) => [centre + (low - centre) / factor, centre + (high - centre) / factor];
  return { x: scale(view.x, cx), y: scale(view.y, cy) };
}

export function panned(view, dx, dy) {
  return { x: [view.x[0] + dx, view.x[1] + dx], y: [view.y[0] + dy, view.y[1] + dy] };
}

// A fitted point's marker: {series, index, observation, x, y}; or where the
// figure leaves the point out (series -1), {observation, undrawn: true}.
function markerAt(entry, at, s, i, observation) {
  if (s < 0) return { observation, undrawn: true };
  const series = entry.figure.series[s];
  return { series: s, index: i, observation: entry.observations[s][i], x: at.x(series.x[i]), y: at.y(series.y[i]) };
}

// The marker nearest the pixel (px, py) that is a fitted point, within reach:
// {series, index, observation, x, y}, or null.
export function nearestPoint(entry, at, px, py) {
  let best = null;
  let bestDistance = kHoverReach * kHoverReach;
  entry.figure.series.forEach((series, s) => {
    if (!entry.observations[s]) return;
    for (let i = 0; i < series.x.length; i++) {
      const x = series.x[i];
      const y = series.y[i];
      if (!isNumber(x) || !isNumber(y)) continue;
      const distance = (at.x(x) - px) ** 2 + (at.y(y) - py) ** 2;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = [s, i];
      }
    }
  });
  return best && markerAt(entry, at, ...best, null);
}

// Every marker of a figure that is a fitted point, as [series, index,
// point] in the order of the data, with [-1, -1, point] for each of the
// count points the figure leaves out, and each one's place in that order by
// its point: built once a figure, as sorting 100,000 markers at every key
// would be slow.
const dataOrders = new WeakMap();

function dataOrderOf(entry, count) {
  if (dataOrders.has(entry)) return dataOrders.get(entry);
  const markers = [];
  const drawn = new Uint8Array(count);
  entry.figure.series.forEach((series, s) => {
    const observations = entry.observations[s];
    if (!observations) return;
    for (let i = 0; i < series.x.length; i++) {
      if (!isNumber(series.x[i]) || !isNumber(series.y[i])) continue;
      markers.push([s, i, observations[i]]);
      drawn[observations[i]] = 1;
    }
  });
  if (entry.leftOut) drawn.forEach((isDrawn, point) => isDrawn || markers.push([-1, -1, point]));
  markers.sort((a, b) => a[2] - b[2]);
  const order = { markers, placeOf: new Map(markers.map((marker, k) => [marker[2], k])) };
  dataOrders.set(entry, order);
  return order;
}

// The fitted point step places after the given one (a point index, or null
// for none yet) in the order of the data, wrapping round: what the keyboard
// steps through where a pointer would hover, those the figure leaves out
// among them (of count points in all). Null where the figure has none.
export function steppedPoint(entry, at, observation, step, count) {
  const { markers, placeOf } = dataOrderOf(entry, count);
  if (markers.length === 0) return null;
  const place = placeOf.get(observation);
  const next = place === undefined ? (step > 0 ? 0 : markers.length - 1) : (place + step + markers.length) % markers.length;
  return markerAt(entry, at, ...markers[next]);
}

export const kViewKeys = { zoomIn: ['+', '='], zoomOut: ['-', '_'], reset: ['0', 'Home'], next: [']'],
  previous: ['['] };
export const kZoom = kZoomStep;
export const kPan = kPanStep;
