// The workbench page: data, model, fit, results and figure.
import { dataFile, ellipseFigure, figureSvg, fitReports, installApi } from './api.js';
import { cancelAll } from './core_client.js';
import { figurePanelAt } from './figure_panel.js';
import { buildCalibrantPanel, setCalibrantData } from './calibrant_panel.js';
import { buildModelPanel, edgeColumns, modelOptions, setEdgeColumns } from './model_panel.js';
import { buildStatePanel, setStateFit } from './state_panel.js';
import { pointsTableAt } from './points_table.js';
import { PAGE_VERSION } from 'quorvane:core';

const byId = (id) => document.getElementById(id);
// shown counts the results cleared, so that results shown in steps stop
// where newer ones have taken their place.
const state = { dataText: null, source: null, points: [], fit: null, fitAsked: null, shown: 0, showing: false };
let figures = null;
let pointsTable = null;
// The text report shows its head (parameters, correlations, the first
// residuals); a fit of 100,000 points writes some 17 MB, which the browser
// would take seconds to lay out. Export text report saves all of it.
const kShownReportLines = 2000;

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
  const axis = modelOptions().axis;
  byId('points-V').textContent = axis ?? 'V';
  byId('points-sigV').textContent = axis ? `sig${axis}` : 'sigV';
  pointsTable.show(state.points);
  byId('data-summary').textContent = `${state.source}: ${state.points.length} points`;
}

// Results belong to the data they came from.
function clearResults() {
  state.fit = null;
  state.shown += 1;
  showMessage('fit-error', null);
  showMessage('fit-warning', null);
  byId('fit-summary').textContent = '';
  byId('results').tBodies[0].replaceChildren();
  showAxis({});
  byId('correlation').replaceChildren();
  figures.clear();
  showReport('');
  byId('status').textContent = '';
  for (const id of kExports) byId(id).disabled = true;
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
  await readPoints(true);
}

// The points of the data open, as the fit would read them; a new file first
// offers its columns as the edges to fit.
async function readPoints(newFile) {
  state.points = [];
  showPoints();
  try {
    let read = await dataFile(state.dataText, fitOptions());
    if (newFile && setEdgeColumns(read.edges)) read = await dataFile(state.dataText, fitOptions());
    if (read.error !== null) throw new Error(read.error + edgeHint(read.columns));
    state.points = read.points;
    showPoints();
    byId('fit').disabled = state.points.length === 0;
  } catch (error) {
    if (error.name === 'AbortError') return;
    byId('fit').disabled = true;
    byId('data-summary').textContent = '';
    showMessage('data-error', error.message);
  }
}

// Where the file has no V but has edges, the way to fit one.
function edgeHint(columns) {
  const edges = edgeColumns();
  if (modelOptions().axis || edges.length === 0 || columns.some((name) => /^v$/i.test(name))) return '';
  return `. To fit a cell edge in place of V, choose ${edges.join(', ')} under What is fitted.`;
}

// Another quantity fitted reads other columns of the data.
function modelChanged(id) {
  if (id !== 'axis' || state.dataText === null) return;
  if (document.body.classList.contains('busy')) cancelAll();
  showMessage('data-error', null);
  clearResults();
  readPoints(false);
}

const kExports = ['export-json', 'export-params', 'export-report'];

function setBusy(busy, message) {
  document.body.classList.toggle('busy', busy);
  byId('fit').disabled = busy || state.dataText === null;
  byId('cancel').disabled = !busy;
  byId('status').textContent = message;
}

// Lets the browser draw and answer input between the steps of showing a
// large fit's results.
function nextTask() {
  return globalThis.scheduler?.yield ? globalThis.scheduler.yield() : new Promise((resolve) => setTimeout(resolve));
}

function showReport(text) {
  let end = 0;
  for (let line = 0; line < kShownReportLines && end !== -1; line++) end = text.indexOf('\n', end + 1);
  const whole = end === -1 || end === text.length - 1;
  byId('report').textContent = whole ? text : text.slice(0, end + 1);
  byId('report-note').textContent = whole ? ''
    : `The first ${kShownReportLines} lines of the report; Export text report saves all of it.`;
}

// The results in steps, the first figure soon after the parameters; false
// where other data or another fit has taken their place meanwhile.
async function showResults(fit) {
  const shown = state.shown;
  const report = fit.summary;
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
  showAxis(report);
  showCorrelation(report);
  await nextTask();
  if (shown !== state.shown) return false;
  if (fit.figures && !fit.figures.error) figures.show(fit.figures, report, fit.residuals);
  await nextTask();
  if (shown !== state.shown) return false;
  showReport(fit.text);
  for (const id of kExports) byId(id).disabled = false;
  setStateFit(fit);
  return true;
}

// The axis' own parameters, as the report names them: symbol and meaning.
const kAxisParameters = {
  L0: ['L0', 'the edge at zero pressure and Tref, the cube root of V0'],
  M0: ['M0', 'the linear modulus at zero pressure, 3 K0'],
  Mp0: ["M'0", "its pressure derivative, 3 K'0"],
  Mpp0: ["M''0", "its second pressure derivative, 3 K''0"],
  alpha0: ['alpha0', 'the edge\'s thermal expansion, a third of the cube\'s alpha0'],
  alpha1: ['alpha1', 'a third of the cube\'s alpha1'],
  alpha2: ['alpha2', 'a third of the cube\'s alpha2'],
  dMdT: ['dM/dT', 'the linear modulus\' temperature derivative, 3 dK/dT'],
};

function showAxis(report) {
  const axis = report.axis;
  byId('axis-results').hidden = !axis;
  const body = byId('axis-table').tBodies[0];
  body.replaceChildren();
  if (!axis) return;
  byId('axis-heading').textContent = `Axis ${axis.name}`;
  byId('axis-note').textContent = `The cube ${axis.name}³ is fitted as V above; the edge's own parameters, ` +
    `L0 in the unit of ${axis.name}, the moduli in that of P. Esds as reported ` +
    `(esd scaling ${report.esd_scaling}).`;
  for (const [name, value] of Object.entries(axis)) {
    if (name === 'name') continue;
    const [symbol, meaning] = kAxisParameters[name] ?? [name, ''];
    const row = body.insertRow();
    row.id = `axis-${name}`;
    cell(row, symbol, true);
    cell(row, String(value));
    const esd = report.axis_esd[name];
    cell(row, esd === undefined ? 'fixed' : esd === null ? 'at bound' : String(esd));
    cell(row, meaning).className = 'meaning';
  }
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
  const excluded = pointsTable.excluded();
  const count = state.points.length - excluded.length;
  setBusy(true, `Fitting ${count} points…`);
  const started = performance.now();
  try {
    const options = fitOptions();
    const fit = await fitReports(state.dataText, options, excluded, true);
    clearResults();
    state.fit = fit;
    state.fitAsked = { options, excluded };
    byId('status').textContent = 'Showing the results…';
    state.showing = true;
    const shown = await showResults(fit).finally(() => {
      state.showing = false;
    });
    setBusy(false, shown ? `Fitted in ${Math.round(performance.now() - started)} ms` : 'Cancelled');
  } catch (error) {
    const cancelled = error.name === 'AbortError';
    setBusy(false, cancelled ? 'Cancelled' : 'The fit failed');
    if (!cancelled) showMessage('fit-error', error.message);
  }
}

// Ends the fit under way, or the showing of its results (what is shown of
// them goes too).
function cancel() {
  if (state.showing) clearResults();
  cancelAll();
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
  byId('cancel').addEventListener('click', cancel);
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
  byId('export-report').addEventListener('click', () =>
    download(`${baseName()}-fit.txt`, state.fit.text, 'text/plain'));
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
pointsTable = pointsTableAt('points');
buildModelPanel(modelChanged);
buildStatePanel();
buildCalibrantPanel(() => ({ dataText: state.dataText, source: state.source }), (text) => loadText(text, state.source));
wire();
