// window.quorvane: the fit of the command line for scripts, notebooks and
// other web tools.
import { ask } from './core_client.js';
import { argumentsFromOptions, kDefaultSource } from './options.js';
import { CATALOGUE, SCALES } from 'quorvane:core';

// Every report of one fit: the parsed JSON (that of `fit --format json`),
// the text report, the parameter file (that of --params-out) and, with
// withFigures, what the page shows: the figures ({lines, figures}, as
// web/page_figures.h says, their numbers in typed arrays), the report less
// its per-point lists (summary) and the residuals as columns. The page
// reads no more than these, so that there the parsed report is read only
// when a script asks for it. Rejects with the command line's message where
// it fails.
export async function fitReports(dataText, options, excluded = [], withFigures = false) {
  const { arguments: fitArguments, source } = argumentsFromOptions(options);
  const answer = await ask({ kind: 'fit', dataText: String(dataText), source, arguments: fitArguments, excluded,
    figures: withFigures });
  if (!answer.result.ok) throw new Error(answer.result.error);
  const json = answer.result.json;
  let report = withFigures ? null : JSON.parse(json);
  return {
    get report() {
      report ??= JSON.parse(json);
      return report;
    },
    json,
    text: answer.result.text,
    parameterFile: answer.result.parameterFile,
    figures: answer.figures ?? null,
    summary: answer.summary ?? null,
    residuals: answer.residuals ?? null,
    figureMilliseconds: answer.figureMilliseconds ?? null,
    milliseconds: answer.milliseconds,
  };
}

// The data file's column names (without units), those that can be a cell
// edge, and the points the fit would read: {columns, edges, points, error},
// where error is the reader's message naming the line (and there are no
// points) or null.
export async function dataFile(dataText, options) {
  const { arguments: fitArguments, source } = argumentsFromOptions(options);
  const answer = await ask({ kind: 'points', dataText: String(dataText), source, arguments: fitArguments });
  return answer.points;
}

// The points the fit would read, each [line, P, V, T, sigP, sigV, sigT], with
// an axis its length and sigma in place of V and sigV; rejects with the
// reader's message naming the line.
export async function dataPoints(dataText, options) {
  const read = await dataFile(dataText, options);
  if (read.error !== null) throw new Error(read.error);
  return read.points;
}

// The confidence ellipse "K0,Kp0:0.95" of the latest fit, drawn without
// fitting again: one entry of the figures' list. Rejects where the pair was
// not refined, the level is no level, or the core no longer holds the fit.
export async function ellipseFigure(pairAndLevel) {
  const answer = await ask({ kind: 'ellipse', pairAndLevel: String(pairAndLevel) });
  if (answer.figure.error !== undefined) throw new Error(answer.figure.error);
  return answer.figure;
}

// The file `--plot` writes of a figure of the latest fit: its name and, for
// an ellipse, its ask. Rejects where the core no longer holds the fit.
export async function figureSvg(name, pairAndLevel = '') {
  const answer = await ask({ kind: 'svg', name: String(name), ask: String(pairAndLevel) });
  if (answer.svg.error !== undefined) throw new Error(answer.svg.error);
  return answer.svg.svg;
}

// The command line's message for options `quorvane-eos fit` refuses, or
// null for options it takes.
export async function optionsError(options) {
  const { arguments: fitArguments } = argumentsFromOptions(options);
  const answer = await ask({ kind: 'check', arguments: fitArguments });
  return answer.error === '' ? null : answer.error;
}

function answered(answer) {
  if (answer.answer.error !== null) throw new Error(answer.answer.error);
  return answer.answer;
}

// One state point of a parameter file (that of --params-out), as `quorvane-eos
// eos --params FILE --properties --format json` gives it: point is {P, T} or
// {V, T}, with molarMass (g/mol) and, for an einstein model's heat
// capacity, natoms where wanted (taken and refused as --natoms is). Resolves
// with {row, units, warning}; rejects with the reason there is no state point.
export async function statePoint(parameterFile, point) {
  const known = point.P !== undefined ? 'P' : 'V';
  const answer = await ask({
    kind: 'state', parameterFile: String(parameterFile), known, value: Number(point[known]),
    T: Number(point.T), molarMass: Number(point.molarMass ?? 0), natoms: String(point.natoms ?? '').trim(),
  });
  return answered(answer);
}

// The pressures of the data's calibrant column (Vcal, acal or lambda) on a
// shipped scale, as `quorvane-eos pressure --input FILE --scale NAME` gives
// them, and the data with them as P and sigP. Resolves with {column, rows,
// default_T, warning, data}.
export async function calibrantPressures(dataText, options) {
  const answer = await ask({
    kind: 'calibrant', dataText: String(dataText), source: String(options.data ?? kDefaultSource),
    scale: String(options.scale), column: String(options.column ?? ''),
  });
  return answered(answer);
}

export function installApi(version) {
  window.quorvane = Object.freeze({
    version,
    // quorvane.fit(csvText, options) -> Promise of the object `quorvane-eos
    // fit --format json` prints, options named as its long options ({} for
    // the defaults).
    fit: async (dataText, options = {}) => (await fitReports(dataText, options)).report,
    fitReports,
    dataPoints,
    statePoint,
    pressures: calibrantPressures,
    scales: SCALES,
    catalogue: CATALOGUE,
  });
}
