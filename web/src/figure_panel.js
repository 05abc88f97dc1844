// The results' figure panel: a tab for each figure of the fit, the ellipse's
// pair and level, zoom and pan by pointer and keyboard, the point under the
// pointer, and each figure's SVG file as the command line writes it.
import { kPan, kViewKeys, kZoom, nearestPoint, panned, renderFigure, steppedPoint, zoomed } from './figure_view.js';

const kDefaultLevel = '0.683';
// A drag shorter than this is a click, not a pan or a box.
const kDragThreshold = 4;

const byId = (id) => document.getElementById(id);

function node(name, attributes = {}, text = null) {
  const made = document.createElement(name);
  for (const [key, value] of Object.entries(attributes)) made.setAttribute(key, String(value));
  if (text !== null) made.textContent = text;
  return made;
}

// The units of P, V and T as the figures' axes give them.
function unitsOf(figures) {
  const named = (name) => figures.find((entry) => entry.name === name)?.figure;
  const isotherm = named('isotherm');
  return { P: isotherm?.x.unit ?? '', V: isotherm?.y.unit ?? '', T: named('residuals-T')?.x.unit ?? '' };
}

const withUnit = (value, unit) => (unit ? `${value} ${unit}` : String(value));

export class FigurePanel {
  // onExport(entry) saves a figure's SVG file; onEllipse(askText) resolves
  // with a figure entry of the fit's ellipse of that pair and level.
  constructor(root, { onExport, onEllipse }) {
    this.root = root;
    this.onExport = onExport;
    this.onEllipse = onEllipse;
    this.build();
    this.clear();
  }

  build() {
    this.tabs = node('div', { role: 'tablist', 'aria-label': 'Figures', class: 'figure-tabs' });
    this.ellipseControls = this.buildEllipseControls();
    this.view = node('div', { id: 'figure', role: 'tabpanel' });
    this.readout = node('p', { id: 'figure-readout', class: 'readout', 'aria-live': 'polite' });
    const tools = node('p', { class: 'actions figure-tools' });
    this.resetButton = node('button', { type: 'button', id: 'figure-reset' }, 'Reset view');
    this.exportButton = node('button', { type: 'button', id: 'export-svg' }, 'Export figure (SVG)');
    const hint = node('span', { class: 'note' },
      'Wheel or Shift+drag a box: zoom. Drag or arrow keys: pan. + and −: zoom. Double-click or 0: reset. [ and ]: step through the points.');
    this.exportStatus = node('span', { class: 'error', role: 'alert' });
    tools.append(this.resetButton, this.exportButton, hint, this.exportStatus);
    this.root.append(this.tabs, this.ellipseControls, this.view, this.readout, tools);
    this.resetButton.addEventListener('click', () => this.resetView());
    this.exportButton.addEventListener('click', () => this.exportCurrent());
    this.tabs.addEventListener('keydown', (event) => this.stepTab(event));
  }

  buildEllipseControls() {
    const form = node('form', { class: 'ellipse-controls', 'aria-label': 'Confidence ellipse' });
    this.firstSelect = node('select', { id: 'ellipse-first' });
    this.secondSelect = node('select', { id: 'ellipse-second' });
    this.levelInput = node('input', { id: 'ellipse-level', inputmode: 'decimal', size: 6 });
    this.levelInput.value = kDefaultLevel;
    this.ellipseError = node('span', { class: 'error', role: 'alert' });
    form.append(node('label', { for: 'ellipse-first' }, 'Ellipse of'), this.firstSelect,
      node('label', { for: 'ellipse-second' }, 'and'), this.secondSelect,
      node('label', { for: 'ellipse-level' }, 'at level'), this.levelInput,
      node('button', { type: 'submit' }, 'Draw ellipse'), this.ellipseError);
    form.addEventListener('submit', (event) => {
      event.preventDefault();
      this.drawEllipse();
    });
    return form;
  }

  clear() {
    this.figures = [];
    this.current = null;
    this.tabs.replaceChildren();
    this.view.replaceChildren();
    this.svg = null;
    this.readout.textContent = '';
    this.ellipseControls.hidden = true;
    this.resetButton.disabled = true;
    this.exportButton.disabled = true;
  }

  // answer: the core's figures ({lines, figures}); report: the fit's JSON
  // report, less its per-point lists; residuals: the report's residuals as
  // columns ({P_obs, V, T, dP, sigma}, each indexed by point).
  show(answer, report, residuals) {
    this.clear();
    this.lines = answer.lines;
    this.residuals = residuals;
    this.weighted = report.weighted;
    // A cell edge's cube stands for V where the fit is of an edge.
    this.volumeName = report.axis ? `${report.axis.name}³` : 'V';
    this.figures = answer.figures;
    this.units = unitsOf(this.figures);
    this.fillParameterSelects(report.refined);
    this.figures.forEach((entry, i) => this.tabs.append(this.tabButton(entry, i)));
    this.select(0);
  }

  tabButton(entry, index) {
    const button = node('button', { type: 'button', role: 'tab', id: `figure-tab-${entry.name}`,
      'aria-selected': 'false', tabindex: -1 }, entry.tab);
    button.addEventListener('click', () => this.select(index));
    return button;
  }

  // The controls show the pair and level of the ellipse on show, from the
  // --ellipse text it was drawn from ("K0,Kp0:0.683").
  showEllipseAsk() {
    const match = /^([^,]+),([^:]+):(.+)$/.exec(this.current.ask ?? '');
    if (!match) return;
    [this.firstSelect.value, this.secondSelect.value, this.levelInput.value] = match.slice(1);
  }

  fillParameterSelects(refined) {
    for (const [select, chosen] of [[this.firstSelect, 0], [this.secondSelect, 1]]) {
      select.replaceChildren(...refined.map((name) => node('option', { value: name }, name)));
      select.selectedIndex = Math.min(chosen, refined.length - 1);
    }
  }

  // Left and right arrows move between the tabs, as in any tab list.
  stepTab(event) {
    const step = { ArrowRight: 1, ArrowLeft: -1 }[event.key];
    if (!step || this.figures.length === 0) return;
    event.preventDefault();
    const index = (this.figures.indexOf(this.current) + step + this.figures.length) % this.figures.length;
    this.select(index);
    this.tabs.children[index].focus();
  }

  select(index) {
    this.current = this.figures[index];
    this.showEllipseAsk();
    [...this.tabs.children].forEach((button, i) => {
      button.setAttribute('aria-selected', String(i === index));
      button.tabIndex = i === index ? 0 : -1;
    });
    this.view.setAttribute('aria-labelledby', `figure-tab-${this.current.name}`);
    this.ellipseControls.hidden = !this.current.name.startsWith('ellipse-');
    this.resetButton.disabled = false;
    this.exportButton.disabled = false;
    this.resetView();
    this.showPoint(null);
  }

  resetView() {
    const { x, y } = this.current.figure;
    this.draw({ x: [x.low, x.high], y: [y.low, y.high] });
  }

  // Redraws into the one svg element, which keeps its listeners and any
  // pointer capture of a drag under way.
  draw(view) {
    this.viewRange = view;
    this.rendered = renderFigure(this.current.figure, view, `${this.current.tab}: ${this.current.figure.title}`);
    this.highlight = null;
    if (!this.svg) {
      this.svg = this.rendered.svg;
      this.wire(this.svg);
    } else {
      for (const name of ['viewBox', 'width', 'height', 'aria-label']) this.svg.setAttribute(name, this.rendered.svg.getAttribute(name));
      this.svg.replaceChildren(...this.rendered.svg.childNodes);
    }
    if (this.view.firstChild !== this.svg) this.view.replaceChildren(this.svg);
  }

  // The data coordinates of a pointer event, and its place in the figure's pixels.
  pointOf(event) {
    const matrix = this.svg.getScreenCTM().inverse();
    const { x: px, y: py } = new DOMPoint(event.clientX, event.clientY).matrixTransform(matrix);
    const { area } = this.rendered.layout;
    const view = this.viewRange;
    const x = view.x[0] + ((px - area.left) / area.width) * (view.x[1] - view.x[0]);
    const y = view.y[0] + ((area.top + area.height - py) / area.height) * (view.y[1] - view.y[0]);
    return { x, y, px, py };
  }

  wire(svg) {
    svg.addEventListener('wheel', (event) => {
      event.preventDefault();
      const at = this.pointOf(event);
      this.draw(zoomed(this.viewRange, event.deltaY < 0 ? kZoom : 1 / kZoom, at.x, at.y));
    }, { passive: false });
    svg.addEventListener('dblclick', () => this.resetView());
    svg.addEventListener('pointerdown', (event) => this.startDrag(event));
    svg.addEventListener('pointermove', (event) => this.hover(event));
    svg.addEventListener('pointerleave', () => this.showPoint(null));
    svg.addEventListener('keydown', (event) => this.key(event));
  }

  key(event) {
    const view = this.viewRange;
    const width = view.x[1] - view.x[0];
    const height = view.y[1] - view.y[0];
    const centre = [(view.x[0] + view.x[1]) / 2, (view.y[0] + view.y[1]) / 2];
    const moves = {
      ArrowLeft: () => panned(view, -kPan * width, 0), ArrowRight: () => panned(view, kPan * width, 0),
      ArrowUp: () => panned(view, 0, kPan * height), ArrowDown: () => panned(view, 0, -kPan * height),
    };
    for (const key of kViewKeys.zoomIn) moves[key] = () => zoomed(view, kZoom, ...centre);
    for (const key of kViewKeys.zoomOut) moves[key] = () => zoomed(view, 1 / kZoom, ...centre);
    const step = kViewKeys.next.includes(event.key) ? 1 : kViewKeys.previous.includes(event.key) ? -1 : 0;
    if (step !== 0) {
      event.preventDefault();
      this.stepPoint(step);
      return;
    }
    if (kViewKeys.reset.includes(event.key)) {
      event.preventDefault();
      this.resetView();
      this.svg.focus();
      return;
    }
    if (!moves[event.key]) return;
    event.preventDefault();
    this.draw(moves[event.key]());
    this.svg.focus();
  }

  // The next or previous fitted point in the file's order, as if hovered.
  stepPoint(step) {
    const point = steppedPoint(this.current, this.rendered.at, this.shownObservation, step, this.lines.length);
    if (point) this.showPoint(point);
  }

  // A plain drag pans; a drag with Shift held draws the box to zoom to.
  startDrag(event) {
    if (event.button !== 0) return;
    const svg = this.svg;
    const start = this.pointOf(event);
    const startView = this.viewRange;
    const boxing = event.shiftKey;
    let box = null;
    let moved = false;
    svg.setPointerCapture(event.pointerId);
    const move = (next) => {
      const at = this.pointOf(next);
      if (!moved && Math.hypot(at.px - start.px, at.py - start.py) < kDragThreshold) return;
      moved = true;
      if (!boxing) {
        const { area } = this.rendered.layout;
        const dx = ((at.px - start.px) / area.width) * (startView.x[1] - startView.x[0]);
        const dy = ((at.py - start.py) / area.height) * (startView.y[1] - startView.y[0]);
        this.draw(panned(startView, -dx, dy));
        return;
      }
      box ??= svg.appendChild(document.createElementNS('http://www.w3.org/2000/svg', 'rect'));
      box.setAttribute('class', 'zoom-box');
      box.setAttribute('x', Math.min(start.px, at.px));
      box.setAttribute('y', Math.min(start.py, at.py));
      box.setAttribute('width', Math.abs(at.px - start.px));
      box.setAttribute('height', Math.abs(at.py - start.py));
    };
    const end = (last) => {
      svg.removeEventListener('pointermove', move);
      if (!boxing || !moved) return;
      const at = this.pointOf(last);
      if (at.x === start.x || at.y === start.y) return;
      this.draw({ x: [Math.min(start.x, at.x), Math.max(start.x, at.x)],
        y: [Math.min(start.y, at.y), Math.max(start.y, at.y)] });
    };
    svg.addEventListener('pointermove', move);
    svg.addEventListener('pointerup', end, { once: true });
  }

  hover(event) {
    if (event.buttons !== 0) return;
    const at = this.pointOf(event);
    this.showPoint(nearestPoint(this.current, this.rendered.at, at.px, at.py));
  }

  // How many points the figure on show leaves out and why; "" where it draws
  // every one.
  leftOutText() {
    const entry = this.current;
    if (!entry?.leftOut) return '';
    const drawn = entry.observations.reduce((sum, markers) => sum + (markers?.length ?? 0), 0);
    const count = this.lines.length - drawn;
    if (count <= 0) return '';
    return `${count} of the ${this.lines.length} points left out of this figure: ${entry.leftOut}. ` +
      '[ and ] step through every point, drawn or not.';
  }

  // The readout of one fitted point: its file line, P, V (or an edge's
  // cube), T and residual, and why the figure leaves it out where it does.
  showPoint(point) {
    this.highlight?.remove();
    this.highlight = null;
    this.shownObservation = point?.observation ?? null;
    if (!point) {
      this.readout.textContent = this.leftOutText();
      return;
    }
    this.readout.textContent = this.pointText(point.observation) +
      (point.undrawn ? ` — left out of this figure: ${this.current.leftOut}` : '');
    if (point.undrawn) return;
    this.highlight = this.svg.appendChild(document.createElementNS('http://www.w3.org/2000/svg', 'circle'));
    for (const [key, value] of Object.entries({ cx: point.x, cy: point.y, r: 7, class: 'hover-ring' })) {
      this.highlight.setAttribute(key, value);
    }
  }

  pointText(at) {
    const { P_obs: P, V, T, dP, sigma } = this.residuals;
    const inSigmas = this.weighted && sigma[at] > 0 ? ` (${(dP[at] / sigma[at]).toPrecision(3)} σ)` : '';
    return `Line ${this.lines[at]}: P = ${withUnit(P[at], this.units.P)}, ` +
      `${this.volumeName} = ${withUnit(V[at], this.units.V)}, T = ${withUnit(T[at], this.units.T)}, ` +
      `residual ΔP = ${withUnit(dP[at].toPrecision(4), this.units.P)}${inSigmas}`;
  }

  async exportCurrent() {
    this.exportStatus.textContent = '';
    try {
      await this.onExport(this.current);
    } catch (error) {
      this.exportStatus.textContent = error.message;
    }
  }

  async drawEllipse() {
    this.ellipseError.textContent = '';
    const ask = `${this.firstSelect.value},${this.secondSelect.value}:${this.levelInput.value.trim()}`;
    try {
      const entry = await this.onEllipse(ask);
      const index = this.figures.indexOf(this.current);
      this.figures[index] = entry;
      this.tabs.children[index].textContent = entry.tab;
      this.tabs.children[index].id = `figure-tab-${entry.name}`;
      this.select(index);
    } catch (error) {
      this.ellipseError.textContent = error.message.replace(/^--ellipse: /, '');
    }
  }
}

export function figurePanelAt(id, handlers) {
  return new FigurePanel(byId(id), handlers);
}
