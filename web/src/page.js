// The workbench page: data, model, fit, results and figure.
import { dataPoints, ellipseFigure, figureSvg, fitReports, installApi } from './api.js';
import { cancelAll } from './core_client.js';
import { figurePanelAt } from './figure_panel.js';
import { buildCalibrantPanel, setCalibrantData } from './calibrant_panel.js';
import { buildModelPanel, modelOptions } from './model_panel.js';
import { buildStatePanel, setStateFit } from './state_panel.js';
import { PAGE_VERSION } from 'quorvane:core';

const byId = (id) => document.getElementById(id);
const state = { dataText: null, source: null, points: [], fit: null, fitAsked: null };
let figures = null;

function showMessage(id, message) {
  const node = byId(id);
  node.textContent = message ?? '';
  node.hidden = !message;
}

function cell(row, text, header = false) {
  const node = document.createElement(header ? 'th' : 'td');
  if (header) node.scope = 'row';
  node.textContent = text;
  row.append(node);
  return node;
}

// The fit's options: the model panel's, and the data named by its file.
function fitOptions() {
  const options = modelOptions();
  if (state.source) options.data = state.source;
  return options;
}

function showPoints() {
  const body = byId('points').tBodies[0];
  body.replaceChildren();
  const fragment = document.createDocumentFragment();
  const shown = state.points.slice(0, 2000);
  shown.forEach((point, index) => {
    const row = document.createElement('tr');
    const include = document.createElement('input');
    Object.assign(include, { type: 'checkbox', checked: true });
    include.dataset.index = String(index);
    include.setAttribute('aria-label', `Include line ${point[0]}`);
    row.insertCell().append(include);
    for (const value of point) cell(row, String(value));
    fragment.append(row);
  });
  body.append(fragment);
  const more = state.points.length - shown.length;
  byId('data-summary').textContent = `${state.source}: ${state.points.length} points` +
    (more > 0 ? ` (the first ${shown.length} shown, the rest always included)` : '');
}

// Results belong to the data they came from.
function clearResults() {
  state.fit = null;
  showMessage('fit-error', null);
  showMessage('fit-warning', null);
  byId('fit-summary').textContent = '';
  byId('results').tBodies[0].replaceChildren();
  byId('correlation').replaceChildren();
  figures.clear();
  byId('report').textContent = '';
  byId('status').textContent = '';
  for (const id of ['export-json', 'export-params']) byId(id).disabled = true;
  setStateFit(null);
}

async function loadFile(file) {
  await loadText(await file.text(), file.name);
}

async function loadText(dataText, source) {
  if (document.body.classList.contains('busy')) cancelAll();
  showMessage('data-error', null);
  clearResults();
  state.dataText = dataText;
  state.source = source;
  setCalibrantData(true);
  state.points = [];
  showPoints();
  try {
    state.points = await dataPoints(state.dataText, fitOptions());
    showPoints();
    byId('fit').disabled = state.points.length === 0;
  } catch (error) {
    if (error.name === 'AbortError') return;
    byId('fit').disabled = true;
    byId('data-summary').textContent = '';
    showMessage('data-error', error.message);
  }
}

function excludedPoints() {
  return [...byId('points').querySelectorAll('input[type=checkbox]:not(:checked)')]
    .map((box) => Number(box.dataset.index));
}

function setBusy(busy, message) {
  document.body.classList.toggle('busy', busy);
  byId('fit').disabled = busy || state.dataText === null;
  byId('cancel').disabled = !busy;
  byId('status').textContent = message;
}

function showResults(fit) {
  const report = fit.report;
  byId('fit-summary').textContent = `${report.eos}, order ${report.order}: ${report.points} points, ` +
    `${report.iterations} iterations, chi²w = ${report.chi2w.toPrecision(6)}, dof = ${report.dof}, ` +
    `reduced chi² = ${report.reduced_chi2.toPrecision(6)}`;
  showMessage('fit-warning', report.warning ? `Warning: ${report.warning}` : null);
  const body = byId('results').tBodies[0];
  body.replaceChildren();
  for (const [name, value] of Object.entries(report.parameters)) {
    const row = body.insertRow();
    row.id = `result-${name}`;
    cell(row, report.refined.includes(name) ? name : `${name} (fixed)`, true);
    cell(row, String(value));
    cell(row, report.esd[name] === undefined ? '' : String(report.esd[name]));
    cell(row, report.esd_scaled[name] === undefined ? '' : String(report.esd_scaled[name]));
  }
  showCorrelation(report);
  if (fit.figures && !fit.figures.error) figures.show(fit.figures, report);
  byId('report').textContent = fit.text;
  for (const id of ['export-json', 'export-params']) byId(id).disabled = false;
  setStateFit(fit);
}

function showCorrelation(report) {
  const table = byId('correlation');
  table.replaceChildren();
  const names = report.refined;
  const covariance = report.covariance_reported ?? report.covariance;
  if (!covariance) return;
  const head = table.createTHead().insertRow();
  cell(head, '');
  for (const name of names) cell(head, name, true).scope = 'col';
  const body = table.createTBody();
  names.forEach((name, i) => {
    const row = body.insertRow();
    cell(row, name, true);
    names.forEach((_, j) => {
      const r = covariance[i][j] / Math.sqrt(covariance[i][i] * covariance[j][j]);
      const node = cell(row, r.toFixed(3));
      node.style.background = `rgba(var(--shade), ${(Math.abs(r) * 0.6).toFixed(3)})`;
    });
  });
}

async function runFit() {
  if (state.dataText === null || byId('fit').disabled) return;
  showMessage('fit-error', null);
  const excluded = excludedPoints();
  const count = state.points.length - excluded.length;
  setBusy(true, `Fitting ${count} points…`);
  const started = performance.now();
  try {
    const options = fitOptions();
    const fit = await fitReports(state.dataText, options, excluded, true);
    state.fit = fit;
    state.fitAsked = { options, excluded };
    showResults(fit);
    setBusy(false, `Fitted in ${Math.round(performance.now() - started)} ms`);
  } catch (error) {
    const cancelled = error.name === 'AbortError';
    setBusy(false, cancelled ? 'Cancelled' : 'The fit failed');
    if (!cancelled) showMessage('fit-error', error.message);
  }
}

function download(name, text, type) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([text], { type }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 0);
}

function baseName() {
  return (state.source ?? 'data').replace(/\.[^.]*$/, '');
}

function wire() {
  byId('data-file').addEventListener('change', (event) => {
    if (event.target.files.length > 0) loadFile(event.target.files[0]);
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dragging');
    if (event.dataTransfer.files.length > 0) loadFile(event.dataTransfer.files[0]);
  });
  byId('fit').addEventListener('click', runFit);
  byId('cancel').addEventListener('click', cancelAll);
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && (event.ctrlKey || event.metaKey)) {
      event.preventDefault();
      runFit();
    }
  });
  byId('export-json').addEventListener('click', () =>
    download(`${baseName()}-fit.json`, state.fit.json, 'application/json'));
  byId('export-params').addEventListener('click', () =>
    download(`${baseName()}-params.json`, state.fit.parameterFile, 'application/json'));
}

// The core keeps the fit on show for its ellipses and SVG files; where Cancel
// has ended the worker that held it, the same fit again.
async function ofFitOnShow(request) {
  try {
    return await request();
  } catch (error) {
    if (!state.fitAsked || !/no fit/.test(error.message)) throw error;
    const { options, excluded } = state.fitAsked;
    await fitReports(state.dataText, options, excluded);
    return request();
  }
}

async function exportFigure(entry) {
  const svg = await ofFitOnShow(() => figureSvg(entry.name, entry.ask));
  download(`${baseName()}-${entry.name}.svg`, svg, 'image/svg+xml');
}

installApi(PAGE_VERSION);
byId('version').textContent = PAGE_VERSION;
figures = figurePanelAt('figure-panel', {
  onExport: exportFigure,
  onEllipse: (pairAndLevel) => ofFitOnShow(() => ellipseFigure(pairAndLevel)),
});
buildModelPanel();
buildStatePanel();
buildCalibrantPanel(() => ({ dataText: state.dataText, source: state.source }), (text) => loadText(text, state.source));
wire();
