// The state point panel: from the fitted parameters, V at a given P and T or
// P at a given V and T, with its sigma from the fit's covariance, and the
// thermodynamic properties at that point, as `quorvane-eos eos --params FILE
// --properties` gives them.
import { statePoint } from './api.js';
import { CATALOGUE } from 'quorvane:core';

const byId = (id) => document.getElementById(id);

// What each column of the command line's table is, for a reader of the page.
const kQuantities = {
  P: 'pressure', T: 'temperature', V: 'volume', 'V/V00': 'V over V0 at Tref', VT0: 'zero-pressure volume at T',
  'V/VT0': 'V over V(T,0)', KT: 'isothermal bulk modulus K_T', Kp: "K' = (dK_T/dP)_T",
  alpha: 'thermal expansion α', dKdT: '(dK_T/dT)_P', Pth: 'thermal pressure P(V,T) − P(V,Tref)',
  CV: 'heat capacity C_V per mole of formula units', gamma: 'Grüneisen parameter γ',
  CP: 'heat capacity C_P per mole of formula units', KS: 'adiabatic bulk modulus K_S',
  rho: 'density ρ', Vphi: 'bulk sound speed V_φ',
};
const kStateColumns = ['P', 'T', 'V', 'V/V00', 'VT0', 'V/VT0'];

let parameterFile = null;

function showMessage(id, message) {
  byId(id).textContent = message ?? '';
  byId(id).hidden = !message;
}

// Every digit the command line prints, in exponent form where a decimal
// would start with a run of zeros (alpha, its sigma).
const kSmallest = 1e-3;
function numberText(value) {
  if (value === null || value === undefined) return '—';
  return value !== 0 && Math.abs(value) < kSmallest ? value.toExponential() : String(value);
}

function sigmaOf(row, name) {
  return row[`sig_${name}`] ?? row[`sig${name}`];
}

function addRow(body, name, row, units) {
  const line = body.insertRow();
  const header = document.createElement('th');
  header.scope = 'row';
  header.textContent = name;
  line.append(header);
  const cells = [kQuantities[name] ?? '', numberText(row[name]), numberText(sigmaOf(row, name)), units[name] ?? ''];
  for (const text of cells) line.insertCell().textContent = text;
  line.id = `state-${name.replace('/', '-over-')}`;
}

function showPoint({ row, units, warning }) {
  const body = byId('state-table').tBodies[0];
  body.replaceChildren();
  for (const name of kStateColumns) addRow(body, name, row, units);
  const properties = byId('properties').tBodies[0];
  properties.replaceChildren();
  for (const name of Object.keys(row)) {
    if (kStateColumns.includes(name) || name.startsWith('sig') || name === 'converged') continue;
    addRow(properties, name, row, units);
  }
  showMessage('state-warning', warning ? `Warning: ${warning}` : null);
}

function clearPoint() {
  byId('state-table').tBodies[0].replaceChildren();
  byId('properties').tBodies[0].replaceChildren();
  showMessage('state-error', null);
  showMessage('state-warning', null);
}

function numberField(id, name, optional) {
  const text = byId(id).value.trim();
  if (text === '' && optional) return 0;
  const value = Number(text);
  if (text === '' || !Number.isFinite(value)) throw new Error(`${name}: give a number`);
  return value;
}

async function compute() {
  if (!parameterFile) return;
  clearPoint();
  const known = byId('state-known').value;
  try {
    const point = {
      [known]: numberField('state-value', known, false), T: numberField('state-T', 'T', false),
      molarMass: numberField('state-molar-mass', 'molar mass', true),
      natoms: byId('state-natoms').value.trim(),
    };
    showPoint(await statePoint(parameterFile, point));
  } catch (error) {
    if (error.name !== 'AbortError') showMessage('state-error', error.message);
  }
}

// The units of P and V: the thermal-pressure models compute in GPa and in
// their volume unit, the expansion models in the data's units.
function unitsOf(file) {
  const thermal = CATALOGUE.thermals.find((t) => t.name === file?.thermal);
  if (!thermal?.thermal_pressure) return { P: 'in the data\'s unit', V: 'in the data\'s unit' };
  return { P: 'GPa', V: file.volume_unit === 'A3' ? 'Å³ per cell' : 'cm³/mol' };
}

function showKnown() {
  const known = byId('state-known').value;
  const units = unitsOf(parameterFile ? JSON.parse(parameterFile) : null);
  byId('state-value-label').textContent = `${known} (${units[known]})`;
}

// The fit whose parameters the panel computes with ({parameterFile,
// summary}: the report less its per-point lists), or null when there is none
// (the panel waits for one).
export function setStateFit(fit) {
  parameterFile = fit?.parameterFile ?? null;
  clearPoint();
  byId('state-compute').disabled = parameterFile === null;
  byId('state-note').textContent = parameterFile === null ? 'Fit first: the state point is computed with the fitted parameters.'
    : `With the parameters of the last fit (${fit.summary.eos}, order ${fit.summary.order}); σ from its covariance.`;
  showKnown();
  const Tref = fit?.summary?.parameters?.Tref;
  if (Tref !== undefined && byId('state-T').value.trim() === '') byId('state-T').value = String(Tref);
}

export function buildStatePanel() {
  byId('state-known').addEventListener('change', () => {
    showKnown();
    clearPoint();
  });
  byId('state-compute').addEventListener('click', compute);
  byId('state-fields').addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && !event.ctrlKey && !event.metaKey) compute();
  });
  setStateFit(null);
}
