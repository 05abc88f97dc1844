// Pressures from a calibrant column: the data's Vcal, acal or lambda read on
// one of the shipped scales become its P and sigP, as `quorvane-eos pressure
// --input FILE --scale NAME` computes them, so that the fit uses them.
import { calibrantPressures } from './api.js';
import { SCALES } from 'quorvane:core';

const kScaleKey = 'quorvane-workbench-scale';
const byId = (id) => document.getElementById(id);

function showMessage(id, message) {
  byId(id).textContent = message ?? '';
  byId(id).hidden = !message;
}

function fillScales() {
  const select = byId('scale');
  for (const [kind, title] of [['volume', 'Volume scales (Vcal, or acal of a cubic cell)'], ['fluorescence', 'Fluorescence gauges (lambda, nm)']]) {
    const group = document.createElement('optgroup');
    group.label = title;
    for (const scale of SCALES.filter((s) => s.kind === kind)) {
      group.append(new Option(`${scale.name}: ${scale.material}, ${scale.range}`, scale.name));
    }
    select.append(group);
  }
  try {
    const last = localStorage.getItem(kScaleKey);
    if (last && SCALES.some((s) => s.name === last)) select.value = last;
  } catch {
    // Storage refused: the first scale is chosen.
  }
}

// The columns the chosen scale reads, a gauge its line, a volume scale a
// cell volume (or a cubic cell's edge).
function showScale() {
  const scale = SCALES.find((s) => s.name === byId('scale').value);
  byId('scale-citation').textContent = scale ? `${scale.citation}. Calibrated: ${scale.range}.` : '';
  const column = byId('calibrant-column');
  const previous = column.value;
  column.replaceChildren(new Option('the one the file has', ''), ...(scale?.readings ?? []).map((name) => new Option(name, name)));
  if ([...column.options].some((o) => o.value === previous)) column.value = previous;
  try {
    localStorage.setItem(kScaleKey, byId('scale').value);
  } catch {
    // Storage refused: the choice lasts for this visit.
  }
}

// The panel in #calibrant-panel. data() gives {dataText, source} of the
// file open (dataText null for none); filled(text) takes the data with the
// calibrant's pressures as P and sigP.
export function buildCalibrantPanel(data, filled) {
  fillScales();
  showScale();
  byId('scale').addEventListener('change', showScale);
  byId('calibrant-fill').addEventListener('click', async () => {
    const { dataText, source } = data();
    if (dataText === null) return;
    showMessage('calibrant-error', null);
    showMessage('calibrant-warning', null);
    byId('calibrant-summary').textContent = '';
    try {
      const scale = byId('scale').value;
      const result = await calibrantPressures(dataText, { data: source, scale, column: byId('calibrant-column').value });
      await filled(result.data);
      const outside = result.rows.filter((row) => !row[4]).length;
      byId('calibrant-summary').textContent = `P and sigP of ${result.rows.length} points from ${result.column} ` +
        `on ${scale}${outside > 0 ? `, ${outside} outside its calibrated range` : ''}. ` +
        (result.default_T === null ? '' : `The file has no T: the calibrant is read at the scale's ${result.default_T} K. `) +
        'sigP carries the readings\' sigmas only; the scale\'s own error is common to all points. Open the file again to undo.';
      showMessage('calibrant-warning', result.warning.replace(/^quorvane-eos pressure: warning: /, 'Warning: ').trim());
    } catch (error) {
      if (error.name !== 'AbortError') showMessage('calibrant-error', error.message);
    }
  });
}

// Whether the button has data to work on.
export function setCalibrantData(hasData) {
  byId('calibrant-fill').disabled = !hasData;
}
