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
      // Text, which reaches the page far sooner than the object it reads as.
      const figures = module.fitFiguresJson();
      return { result, milliseconds, figures, figureMilliseconds: performance.now() - started - milliseconds };
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
    self.postMessage({ id: message.id, ...answer(module, message) });
  } catch (error) {
    self.postMessage({ id: message.id, failure: `the core failed: ${String(error)}` });
  }
};
