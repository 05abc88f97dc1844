// Runs in the page's Web Worker, after the core's own script: reads data
// files and fits with the C++ core, so that the page never waits on it.
/* global QuorvaneCore */

let corePromise = null;

function core() {
  corePromise ??= QuorvaneCore();
  return corePromise;
}

function listOf(Type, items) {
  const list = new Type();
  for (const item of items) list.push_back(item);
  return list;
}

// The requests that need no data file's options: the state point of a fit's
// parameter file and the pressures of a calibrant column.
function answerPanel(module, message) {
  if (message.kind === 'state') {
    const { parameterFile, known, value, T, molarMass, natoms } = message;
    return { answer: JSON.parse(module.statePointJson(parameterFile, known, value, T, molarMass, natoms)) };
  }
  const { dataText, source, scale, column } = message;
  return { answer: JSON.parse(module.calibrantPressuresJson(dataText, source, scale, column)) };
}

// The page's share of a fit, read here rather than on the page's thread: the
// report without its per-point lists, the residuals as columns and the
// figures with their numbers in typed arrays, whose memory moves to the page
// uncopied. With 100,000 points, the objects the text reads as would take
// the page's thread far longer to receive than these.
const kResidualColumns = ['P_obs', 'V', 'T', 'dP', 'sigma'];

function numbers(values) {
  return Float64Array.from(values, (value) => value ?? NaN);
}

function pageParts(reportJson, figuresJson) {
  const summary = JSON.parse(reportJson);
  const residuals = {};
  for (const name of kResidualColumns) residuals[name] = numbers(summary.residuals.map((point) => point[name]));
  delete summary.residuals;
  delete summary.ff;
  const figures = JSON.parse(figuresJson);
  if (figures.error === undefined) {
    figures.lines = Int32Array.from(figures.lines);
    for (const entry of figures.figures) {
      for (const series of entry.figure.series) {
        for (const axis of ['x', 'y', 'xError', 'yError']) series[axis] = numbers(series[axis]);
      }
      entry.observations = entry.observations.map((indices) => indices && Int32Array.from(indices));
    }
  }
  return { summary, residuals, figures };
}

// The memory of every typed array in an answer, which the page takes over.
function buffersOf(value, found = []) {
  if (ArrayBuffer.isView(value)) found.push(value.buffer);
  else if (value && typeof value === 'object') for (const item of Object.values(value)) buffersOf(item, found);
  return found;
}

function answer(module, message) {
  if (message.kind === 'ellipse') return { figure: JSON.parse(module.ellipseFigureJson(message.pairAndLevel)) };
  if (message.kind === 'svg') return { svg: JSON.parse(module.figureSvgJson(message.name, message.ask)) };
  if (message.kind === 'state' || message.kind === 'calibrant') return answerPanel(module, message);
  const fitArguments = listOf(module.StringList, message.arguments);
  try {
    if (message.kind === 'points') {
      return { points: JSON.parse(module.dataPointsJson(message.dataText, message.source, fitArguments)) };
    }
    if (message.kind === 'version') return { version: module.version() };
    if (message.kind === 'check') return { error: module.fitOptionsError(fitArguments) };
    const excluded = listOf(module.IndexList, message.excluded ?? []);
    try {
      const started = performance.now();
      const result = module.fitDataText(message.dataText, message.source, fitArguments, excluded);
      const milliseconds = performance.now() - started;
      if (!message.figures || !result.ok) return { result, milliseconds };
      const figures = module.fitFiguresJson();
      return { result, milliseconds, figureMilliseconds: performance.now() - started - milliseconds,
        ...pageParts(result.json, figures) };
    } finally {
      excluded.delete();
    }
  } finally {
    fitArguments.delete();
  }
}

self.onmessage = async (event) => {
  const message = event.data;
  try {
    const module = await core();
    const answered = { id: message.id, ...answer(module, message) };
    self.postMessage(answered, buffersOf(answered.figures ? [answered.figures, answered.residuals] : []));
  } catch (error) {
    self.postMessage({ id: message.id, failure: `the core failed: ${String(error)}` });
  }
};
