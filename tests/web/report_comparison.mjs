// Two fit reports, the same but for numbers within a relative tolerance (in
// strings too, as the fitted equation quotes its parameters): throws where
// they differ more, returns the numbers that differ at all.
import assert from 'node:assert/strict';

const kNumber = /-?\d+(?:\.\d+)?(?:e[-+]?\d+)?/g;

function compareNumbers(actual, expected, tolerance, where) {
  if (actual === expected) return [];
  const scale = Math.max(Math.abs(actual), Math.abs(expected));
  assert.ok(Math.abs(actual - expected) <= tolerance * scale, `${where}: ${actual} against ${expected}`);
  return [`${where}: ${actual} against ${expected}`];
}

function compareTexts(actual, expected, tolerance, where) {
  if (actual === expected) return [];
  assert.equal(actual.replace(kNumber, '#'), expected.replace(kNumber, '#'), where);
  const actualNumbers = actual.match(kNumber);
  return expected.match(kNumber).flatMap((number, i) =>
    compareNumbers(Number(actualNumbers[i]), Number(number), tolerance, `${where} (number ${i + 1})`));
}

export function compareReports(actual, expected, tolerance, where, path = '') {
  if (typeof expected === 'number' && typeof actual === 'number') {
    return compareNumbers(actual, expected, tolerance, `${where}${path}`);
  }
  if (typeof expected === 'string' && typeof actual === 'string') {
    return compareTexts(actual, expected, tolerance, `${where}${path}`);
  }
  if (Array.isArray(expected) || (expected !== null && typeof expected === 'object')) {
    assert.equal(typeof actual, 'object', `${where}${path}`);
    assert.deepEqual(Object.keys(actual ?? {}), Object.keys(expected), `${where}${path}: keys`);
    return Object.keys(expected).flatMap((key) =>
      compareReports(actual[key], expected[key], tolerance, where, `${path}.${key}`));
  }
  assert.equal(actual, expected, `${where}${path}`);
  return [];
}
