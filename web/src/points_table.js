// The data's points with their include boxes. Of a large file only the rows
// in and near the scrolled view are elements: two spacer rows stand for the
// rest, so the scroll bar, Tab from box to box and the table's row count (for
// a screen reader) are those of the whole file, while the page's thread
// builds a few dozen rows however many points there are.

// Files up to this many points are drawn whole, as any table.
const kWholeTable = 300;
// Rows drawn beyond each edge of the view: Tab and the arrow keys reach
// rows that are elements already.
const kOverscan = 12;
// The include box and the seven values of a point.
const kColumns = 8;
// Until a row has been laid out (the table hidden): a row of the page's font.
const kRowPixelsUnmeasured = 24;

const byId = (id) => document.getElementById(id);

function spacerRow() {
  const row = document.createElement('tr');
  row.className = 'spacer';
  row.setAttribute('aria-hidden', 'true');
  row.insertCell().colSpan = kColumns;
  return row;
}

export class PointsTable {
  constructor(table) {
    this.table = table;
    this.body = table.tBodies[0];
    this.scroller = table.parentElement;
    this.points = [];
    this.included = new Uint8Array(0);
    // The rows drawn, first..end-1, each by its point's index.
    this.rows = new Map();
    this.first = 0;
    this.end = 0;
    this.rowHeight = 0;
    this.drawing = false;
    this.top = spacerRow();
    this.bottom = spacerRow();
    this.scroller.addEventListener('scroll', () => this.redrawSoon());
    this.body.addEventListener('change', (event) => {
      const index = Number(event.target.dataset.index);
      if (Number.isInteger(index)) this.included[index] = event.target.checked ? 1 : 0;
    });
    // A box reached by Tab is drawn with its neighbours before the next Tab.
    this.body.addEventListener('focusin', (event) => {
      const index = Number(event.target.dataset.index);
      if (Number.isInteger(index) && this.windowed()) this.drawAround(index);
    });
  }

  // points: [line, P, V, T, sigP, sigV, sigT] each; every one included.
  show(points) {
    this.points = points;
    this.included = new Uint8Array(points.length).fill(1);
    this.rows.clear();
    this.first = 0;
    this.end = 0;
    this.table.setAttribute('aria-rowcount', String(points.length + 1));
    this.scroller.scrollTop = 0;
    if (!this.windowed()) {
      this.body.replaceChildren(...points.map((_, index) => this.row(index)));
      return;
    }
    this.body.replaceChildren(this.top, this.bottom);
    this.drawRange(0, Math.min(points.length, 2 * kOverscan));
  }

  // The 0-based indices of the points left out.
  excluded() {
    const indices = [];
    this.included.forEach((included, index) => {
      if (!included) indices.push(index);
    });
    return indices;
  }

  windowed() {
    return this.points.length > kWholeTable;
  }

  row(index) {
    const point = this.points[index];
    const row = document.createElement('tr');
    row.setAttribute('aria-rowindex', String(index + 2));
    const include = document.createElement('input');
    Object.assign(include, { type: 'checkbox', checked: this.included[index] === 1 });
    include.dataset.index = String(index);
    include.setAttribute('aria-label', `Include line ${point[0]}`);
    row.insertCell().append(include);
    for (const value of point) row.insertCell().textContent = String(value);
    return row;
  }

  redrawSoon() {
    if (this.drawing || !this.windowed()) return;
    this.drawing = true;
    requestAnimationFrame(() => {
      this.drawing = false;
      this.drawVisible();
    });
  }

  drawVisible() {
    const height = this.rowPixels();
    const first = Math.floor(this.scroller.scrollTop / height);
    const shown = Math.ceil(this.scroller.clientHeight / height);
    this.drawRange(Math.max(0, first - kOverscan), Math.min(this.points.length, first + shown + kOverscan));
  }

  drawAround(index) {
    const first = Math.max(0, index - kOverscan);
    const end = Math.min(this.points.length, index + kOverscan + 1);
    if (first >= this.first && end <= this.end) return;
    this.drawRange(Math.min(first, this.first), Math.max(end, this.end));
  }

  // The height of a row as drawn, measured once on a row of the table.
  rowPixels() {
    if (this.rowHeight > 0) return this.rowHeight;
    const sample = this.rows.values().next().value;
    const measured = sample?.getBoundingClientRect().height ?? 0;
    if (measured > 0) this.rowHeight = measured;
    return measured || kRowPixelsUnmeasured;
  }

  // Rows first..end-1 as elements between the spacers. Rows drawn already
  // stay where they are: one taken out of the document, even for a moment,
  // would lose the focus of its box.
  drawRange(first, end) {
    for (const [index, row] of this.rows) {
      if (index >= first && index < end) continue;
      row.remove();
      this.rows.delete(index);
    }
    const overlaps = this.rows.size > 0;
    const above = this.rowsOf(first, overlaps ? this.first : end);
    const below = this.rowsOf(overlaps ? this.end : end, end);
    this.top.after(...above);
    this.bottom.before(...below);
    this.first = first;
    this.end = end;
    const height = this.rowPixels();
    this.top.firstChild.style.height = `${first * height}px`;
    this.bottom.firstChild.style.height = `${(this.points.length - end) * height}px`;
  }

  // New rows first..end-1, kept in this.rows.
  rowsOf(first, end) {
    const made = [];
    for (let index = first; index < end; index++) {
      const row = this.row(index);
      this.rows.set(index, row);
      made.push(row);
    }
    return made;
  }
}

export function pointsTableAt(id) {
  return new PointsTable(byId(id));
}
