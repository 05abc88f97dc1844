// The model panel: the catalogue's equations, orders and thermal models, the
// fit's options and the parameters the chosen model has, each with a start
// value and a Refine box. What it offers comes from the core (CATALOGUE);
// what it refuses is refused by the command line's own reading of the
// options, whose message is shown next to the control it names.
import { optionsError } from './api.js';
import { CATALOGUE } from 'quorvane:core';

const kSettingsKey = 'quorvane-workbench-model';
// The parameter no fit refines: it is where the model is referred to.
const kReferenceOnly = 'Tref';
// The parameters whose start, when refined, the data give.
const kFromData = new Set(['V0', 'K0']);
const kVolumeUnitTitles = { 'cm3/mol': 'cm³/mol', A3: 'Å³ per unit cell' };
const kEsdScalingTitles = {
  auto: 'auto: scaled by chi²w/dof where above 1',
  always: 'always scaled by chi²w/dof',
  never: 'never scaled',
};
const kArithmeticChoices = [
  ['', 'default (calculator for its equations with linear expansion)'],
  ['calculator', 'calculator (single-precision exponents)'],
  ['textbook', 'textbook (double precision)'],
];

// What is fitted: the volume, or the cube of a cell edge the data file has.
const kVolumeChoice = ['', 'V (the volume)'];

const byId = (id) => document.getElementById(id);
// What the user typed, kept while a model without the parameter is chosen.
const starts = {};
const refined = new Set();
let onChange = () => {};

function fieldSpecs() {
  const help = CATALOGUE.options;
  return [
    { id: 'axis', label: 'What is fitted', help: help['--axis'], choices: [kVolumeChoice] },
    { id: 'eos', label: 'Equation', help: help['--eos'],
      choices: CATALOGUE.equations.map((e) => [e.name, e.title]) },
    { id: 'order', label: 'Order', help: help['--order'], choices: [] },
    { id: 'thermal', label: 'Thermal model', help: help['--thermal'],
      choices: CATALOGUE.thermals.map((t) => [t.name, `${t.name}: ${t.title}`]) },
    { id: 'arithmetic', label: 'Arithmetic', help: help['--arithmetic'], choices: kArithmeticChoices },
    { id: 'volume-unit', label: 'Volume unit', help: help['--volume-unit'],
      choices: CATALOGUE.volume_units.map((u) => [u, kVolumeUnitTitles[u] ?? u]) },
    { id: 'Z', label: 'Z (formula units per cell)', help: help['--Z'], placeholder: '1' },
    { id: 'esd-scaling', label: 'Esd scaling', help: 'how the parameters\' esds are scaled',
      choices: CATALOGUE.esd_scaling.map((s) => [s, kEsdScalingTitles[s] ?? s]) },
    { id: 'constrain', label: 'Constraints (NAME=VALUE:SIGMA, comma-separated)',
      help: 'a Gaussian prior on a refined parameter', placeholder: 'Kp0=4:0.2' },
    { id: 'bounds', label: 'Bounds (NAME=LOWER:UPPER, comma-separated)',
      help: 'limits a refined parameter stays within', placeholder: 'Kp0=3:6' },
  ];
}

function edgeChoice(name) {
  return [name, `${name} (a cell edge: its cube as V)`];
}

// Offers the data file's columns that can be an edge (as the core names
// them); an edge the file does not have gives way to V. True where the
// choice changed.
export function setEdgeColumns(edges) {
  const select = byId('axis');
  const previous = select.value;
  fillSelect(select, [kVolumeChoice, ...edges.map(edgeChoice)], previous);
  if (select.value === previous) return false;
  save();
  check();
  return true;
}

// The edges offered, as their columns are named.
export function edgeColumns() {
  return [...byId('axis').options].map((option) => option.value).filter(Boolean);
}

function fillSelect(select, choices, value) {
  select.replaceChildren(...choices.map(([name, title]) => new Option(title, name)));
  if (choices.some(([name]) => name === value)) select.value = value;
}

// A control with its label and the place its error is shown.
function addField(grid, spec) {
  const label = document.createElement('label');
  label.htmlFor = spec.id;
  label.textContent = spec.label;
  const control = document.createElement(spec.choices ? 'select' : 'input');
  control.id = spec.id;
  control.dataset.option = spec.id;
  control.title = spec.help ?? '';
  if (spec.choices) fillSelect(control, spec.choices);
  else Object.assign(control, { placeholder: spec.placeholder ?? '', inputMode: spec.id === 'Z' ? 'decimal' : 'text' });
  const error = document.createElement('span');
  Object.assign(error, { id: `${spec.id}-error`, className: 'field-error', hidden: true });
  error.setAttribute('aria-live', 'polite');
  control.setAttribute('aria-describedby', error.id);
  const cell = document.createElement('span');
  cell.className = 'field';
  cell.append(control, error);
  grid.append(label, cell);
}

function modelKey() {
  return `${byId('eos').value}/${byId('order').value}/${byId('thermal').value}`;
}

function currentModel() {
  return CATALOGUE.models[modelKey()] ?? { free: {}, implied: [] };
}

function symbolOf(name) {
  return CATALOGUE.parameters.find((p) => p.name === name)?.symbol ?? name;
}

function showOrders() {
  const equation = CATALOGUE.equations.find((e) => e.name === byId('eos').value);
  const orders = equation.orders.map(String);
  const previous = byId('order').value;
  const chosen = orders.includes(previous) ? previous : orders.includes('3') ? '3' : orders.at(-1);
  fillSelect(byId('order'), orders.map((o) => [o, o]), chosen);
}

function parameterRow(body, name, start) {
  const info = CATALOGUE.parameters.find((p) => p.name === name);
  const row = body.insertRow();
  const header = document.createElement('th');
  header.scope = 'row';
  header.textContent = info.symbol === name ? name : `${name} (${info.symbol})`;
  header.title = info.help;
  row.append(header);
  const input = document.createElement('input');
  const hint = kFromData.has(name) ? `from the data; else ${start}` : start;
  Object.assign(input, { id: `start-${name}`, placeholder: hint, inputMode: 'decimal', value: starts[name] ?? '' });
  input.setAttribute('aria-label', `Start value of ${name}, ${info.meaning}`);
  input.addEventListener('input', () => { starts[name] = input.value.trim(); });
  const error = document.createElement('span');
  Object.assign(error, { id: `start-${name}-error`, className: 'field-error', hidden: true });
  error.setAttribute('aria-live', 'polite');
  input.setAttribute('aria-describedby', error.id);
  row.insertCell().append(input, error);
  const refine = document.createElement('input');
  Object.assign(refine, { type: 'checkbox', id: `refine-${name}`, checked: refined.has(name) });
  refine.disabled = name === kReferenceOnly;
  refine.setAttribute('aria-label', name === kReferenceOnly ? `${name} is never refined` : `Refine ${name}`);
  refine.addEventListener('change', () => (refine.checked ? refined.add(name) : refined.delete(name)));
  row.insertCell().append(refine);
  const meaning = row.insertCell();
  meaning.className = 'meaning';
  meaning.textContent = info.meaning;
}

function showParameters() {
  const body = byId('parameters').tBodies[0];
  body.replaceChildren();
  const model = currentModel();
  for (const [name, start] of Object.entries(model.free)) parameterRow(body, name, start);
  const implied = model.implied.map(symbolOf);
  byId('implied-parameters').textContent = implied.length === 0 ? ''
    : `Implied by the equation and order (not fitted): ${implied.join(', ')}.`;
}

function showUnitFields() {
  const perCell = byId('volume-unit').value === 'A3';
  byId('Z').disabled = !perCell;
  byId('Z').placeholder = perCell ? '1' : 'with Å³ per unit cell only';
}

// The options of `quorvane-eos fit` the panel describes ({} of the keys a
// model does not have).
export function modelOptions() {
  const options = {};
  for (const node of byId('model-fields').querySelectorAll('[data-option]')) {
    const value = node.value.trim();
    if (value === '' || node.disabled) continue;
    const name = node.dataset.option;
    options[name] = ['constrain', 'bounds'].includes(name) ? value.split(/\s*,\s*/).filter(Boolean) : value;
  }
  const free = Object.keys(currentModel().free);
  for (const name of free) {
    if (starts[name]) options[name] = starts[name];
  }
  const chosen = free.filter((name) => refined.has(name) && name !== kReferenceOnly);
  if (chosen.length > 0) options.refine = chosen.join(',');
  return options;
}

function clearErrors() {
  for (const node of byId('model-panel').querySelectorAll('.field-error')) {
    node.textContent = '';
    node.hidden = true;
  }
  for (const node of byId('model-panel').querySelectorAll('[aria-invalid]')) node.removeAttribute('aria-invalid');
}

// The control a message of the command line names ("--K0: ...", "--order
// 4: ..."), else the panel's own line.
function errorPlace(message) {
  const name = /^--([A-Za-z0-9-]+)/.exec(message)?.[1];
  if (name === 'refine') return [byId('model-error'), null];
  const control = name && (byId(name)?.dataset.option ? byId(name) : byId(`start-${name}`));
  if (!control) return [byId('model-error'), null];
  return [byId(`${control.id}-error`), control];
}

let checking = 0;
async function check() {
  const ticket = ++checking;
  let message;
  try {
    message = await optionsError(modelOptions());
  } catch {
    return;
  }
  if (ticket !== checking) return;
  clearErrors();
  if (!message) return;
  const [place, control] = errorPlace(message);
  place.textContent = message;
  place.hidden = false;
  control?.setAttribute('aria-invalid', 'true');
}

function save() {
  const fields = {};
  for (const node of byId('model-fields').querySelectorAll('[data-option]')) fields[node.id] = node.value;
  try {
    localStorage.setItem(kSettingsKey, JSON.stringify({ fields, starts, refined: [...refined] }));
  } catch {
    // Storage refused (private windows, some file:// set-ups): settings last for this visit.
  }
}

function restore() {
  let settings = null;
  try {
    settings = JSON.parse(localStorage.getItem(kSettingsKey) ?? 'null');
  } catch {
    return false;
  }
  if (!settings) return false;
  const fields = settings.fields ?? {};
  // Until a data file says which edges it has, the edge of the last visit.
  if (fields.axis) fillSelect(byId('axis'), [kVolumeChoice, edgeChoice(fields.axis)], fields.axis);
  for (const id of ['eos', 'thermal', 'arithmetic', 'volume-unit', 'Z', 'esd-scaling', 'constrain', 'bounds']) {
    if (fields[id] !== undefined) byId(id).value = fields[id];
  }
  // A choice this version no longer offers falls back to the default.
  if (!byId('eos').value) byId('eos').value = 'birch-murnaghan';
  if (!byId('thermal').value) byId('thermal').value = 'linear';
  showOrders();
  if (fields.order !== undefined && [...byId('order').options].some((o) => o.value === fields.order)) {
    byId('order').value = fields.order;
  }
  Object.assign(starts, settings.starts ?? {});
  for (const name of settings.refined ?? []) refined.add(name);
  return true;
}

function changed(event) {
  if (event.target.id === 'eos') showOrders();
  if (['eos', 'order', 'thermal'].includes(event.target.id)) showParameters();
  if (event.target.id === 'volume-unit') showUnitFields();
  save();
  check();
  onChange(event.target.id);
}

// Builds the panel in #model-fields and #parameters; changed is called with
// the control's id after every change of the model.
export function buildModelPanel(changedCallback) {
  onChange = changedCallback ?? onChange;
  const grid = byId('model-fields');
  for (const spec of fieldSpecs()) addField(grid, spec);
  byId('eos').value = 'birch-murnaghan';
  byId('thermal').value = 'linear';
  showOrders();
  const restored = restore();
  showParameters();
  showUnitFields();
  byId('model-panel').addEventListener('change', changed);
  byId('model-panel').addEventListener('input', (event) => {
    if (event.target.matches('input:not([type=checkbox])')) {
      save();
      check();
    }
  });
  // The defaults need no check, and the core need not start before a file
  // is opened; settings of an earlier visit may be refused.
  if (restored) check();
}
