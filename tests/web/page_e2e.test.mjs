// The page in Debian's headless Chromium, from file:// with every other
// request refused, used as a person would: load a file, fit, read the
// results, export, cancel.
//   QUORVANE_PAGE=.../quorvane-workbench.html QUORVANE_EOS=.../quorvane-eos node --test
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, dirname, join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { compareReports } from './report_comparison.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, '..', '..');
const { chromium } = await import(join(root, 'web/node_modules/playwright-core/index.mjs'));

const pagePath = process.env.QUORVANE_PAGE;
const eos = process.env.QUORVANE_EOS;
const browserPath = process.env.QUORVANE_CHROMIUM ?? '/usr/bin/chromium';
const screenshots = process.env.QUORVANE_SCREENSHOTS;
const kTolerance = 1e-12;
// Long enough for any fit here on a loaded machine; a failure, not a measurement.
const kPatience = 120000;
const kManyPoints = 100000;
const kIsothermal = join(root, 'docs/examples/isothermal.csv');
const kPvt = join(root, 'tests/fit/data/stishovite_nishihara2005_pvt.csv');
const kAxes = join(root, 'docs/examples/orthorhombic-axes.csv');
// The figure's markers of data, not those of its legend.
const kDataMarkers = '#figure svg g[clip-path] circle';

const skip = !pagePath || !eos ? 'QUORVANE_PAGE and QUORVANE_EOS are needed'
  : !existsSync(browserPath) ? `no browser at ${browserPath}` : false;

// The command line run in the data file's folder with its bare name, so that
// its report names the data as the page does.
function nativeReport(path, options = []) {
  const run = spawnSync(eos, ['fit', basename(path), '--format', 'json', ...options],
    { cwd: dirname(path), encoding: 'utf8' });
  return { status: run.status, stdout: run.stdout, stderr: run.stderr };
}

describe('the workbench page', { skip }, () => {
  let scratch;
  let context;
  let page;
  const pageErrors = [];
  const outsideRequests = [];

  before(async () => {
    scratch = mkdtempSync(join(tmpdir(), 'quorvane-page-'));
    // A profile of its own, new and empty: runs in parallel never share one.
    context = await chromium.launchPersistentContext(join(scratch, 'profile'), {
      executablePath: browserPath, headless: true, acceptDownloads: true,
      args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
        '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    });
    await context.route('**/*', (route) => {
      const url = route.request().url();
      if (url.startsWith('file:')) return route.continue();
      outsideRequests.push(url);
      return route.abort();
    });
    page = context.pages()[0] ?? await context.newPage();
    page.setDefaultTimeout(kPatience);
    page.on('pageerror', (error) => pageErrors.push(String(error)));
    page.on('console', (message) => {
      if (message.type() === 'error') pageErrors.push(message.text());
    });
    await page.goto(pathToFileURL(pagePath).href);
  });

  after(async () => {
    await context?.close();
    if (scratch) rmSync(scratch, { recursive: true, force: true });
  });

  // The whole page, or the part a selector names.
  async function shoot(name, selector = null) {
    if (!screenshots) return;
    mkdirSync(screenshots, { recursive: true });
    const path = join(screenshots, `${name}.png`);
    if (selector) await page.locator(selector).screenshot({ path });
    else await page.screenshot({ path, fullPage: true });
  }

  async function load(path) {
    await page.setInputFiles('#data-file', path);
  }

  test('opens with its title, its API and no request outside the file', async () => {
    assert.equal(await page.title(), 'Quorvane Workbench');
    assert.match(await page.evaluate(() => window.quorvane.version), /^\d+\.\d+\.\d+$/);
    assert.equal(await page.getByLabel(/Data file/).count(), 1);
    assert.equal(await page.getByRole('button', { name: 'Fit', exact: true }).count(), 1);
  });

  test('fits a loaded file, shows K0 and the figure, exports the JSON report', async () => {
    const expected = nativeReport(kIsothermal);
    assert.equal(expected.status, 0, expected.stderr);
    const report = JSON.parse(expected.stdout);
    await load(kIsothermal);
    await page.waitForSelector('#points tbody tr');
    assert.equal(await page.locator('#points tbody tr').count(), report.points);
    await page.getByRole('button', { name: 'Fit', exact: true }).click();
    const k0 = page.locator('#result-K0 td').first();
    await k0.waitFor();
    assert.ok(Math.abs(Number(await k0.textContent()) / report.parameters.K0 - 1) <= kTolerance);
    assert.equal(await page.locator(kDataMarkers).count(), report.points);
    await shoot('fitted-light');
    await page.emulateMedia({ colorScheme: 'dark' });
    await shoot('fitted-dark');
    await page.emulateMedia({ colorScheme: 'light' });

    const [download] = await Promise.all([page.waitForEvent('download'), page.click('#export-json')]);
    const exported = readFileSync(await download.path(), 'utf8');
    assert.deepEqual(compareReports(JSON.parse(exported), report, kTolerance, 'export'), []);
    assert.equal(exported, expected.stdout);
  });

  // Each figure the panel exports is the file `--plot` writes of the same
  // fit; an ellipse drawn for another pair and level is that of --ellipse.
  const exportCases = [
    { tab: 'isotherm', cli: [] },
    { tab: 'residuals', cli: [] },
    { tab: 'residuals-V', cli: [] },
    { tab: 'ff', cli: [] },
    { tab: 'ellipse-K0-Kp0', cli: ['--ellipse=K0,Kp0'] },
    { tab: 'ellipse-V0-Kp0', cli: ['--ellipse=V0,Kp0:0.95'], pair: ['V0', 'Kp0'], level: '0.95' },
  ];

  test('exports each figure as the command line\'s --plot file', async () => {
    await load(kIsothermal);
    await page.waitForSelector('#points tbody tr');
    await page.getByRole('button', { name: 'Fit', exact: true }).click();
    await page.locator('#figure-tab-isotherm').waitFor();
    for (const { tab, cli, pair, level } of exportCases) {
      const prefix = join(scratch, `plot-${tab}`);
      const run = spawnSync(eos, ['fit', basename(kIsothermal), `--plot=${prefix}.svg`, ...cli],
        { cwd: dirname(kIsothermal), encoding: 'utf8' });
      assert.equal(run.status, 0, run.stderr);
      if (pair) {
        await page.locator('[id^="figure-tab-ellipse-"]').click();
        await page.selectOption('#ellipse-first', pair[0]);
        await page.selectOption('#ellipse-second', pair[1]);
        await page.fill('#ellipse-level', level);
        await page.getByRole('button', { name: 'Draw ellipse' }).click();
      }
      await page.locator(`#figure-tab-${tab}`).click();
      const [download] = await Promise.all([page.waitForEvent('download'), page.click('#export-svg')]);
      assert.equal(download.suggestedFilename(), `isothermal-${tab}.svg`);
      assert.equal(readFileSync(await download.path(), 'utf8'), readFileSync(`${prefix}-${tab}.svg`, 'utf8'), tab);
    }
  });

  // The readout's line is checked against the file itself: the point it
  // names has the P, V and T it shows. One point left out and several
  // temperatures make the figures' order differ from the file's.
  test('the readout names the file line of the point under the pointer', async () => {
    const fileLines = readFileSync(kPvt, 'utf8').split('\n');
    await load(kPvt);
    await page.waitForSelector('#points tbody tr');
    await page.locator('#points tbody input[type=checkbox]').nth(2).uncheck();
    const leftOut = Number(await page.locator('#points tbody tr').nth(2).locator('td').nth(1).textContent());
    await page.getByRole('button', { name: 'Fit', exact: true }).click();
    await page.locator('#figure-tab-isotherm').waitFor();
    for (const tab of ['isotherm', 'residuals', 'residuals-T', 'thermal', 'ff']) {
      await page.locator(`#figure-tab-${tab}`).click();
      const markers = page.locator(kDataMarkers);
      const count = await markers.count();
      for (const k of [0, Math.floor(count / 2), count - 1]) {
        // Markers may overlap: the readout then names the one on top, checked the same way.
        await markers.nth(k).hover({ force: true });
        const text = await page.locator('#figure-readout').textContent();
        const match = /^Line (\d+): P = (\S+).*, V = (\S+).*, T = (\S+).*, residual/.exec(text);
        assert.ok(match, `${tab}: ${text}`);
        const [line, P, V, T] = match.slice(1).map(Number);
        assert.notEqual(line, leftOut, tab);
        const fields = fileLines[line - 1].split(',').map(Number);
        assert.deepEqual([fields[0], fields[2], fields[1]], [P, V, T], `${tab}: ${text}`);
      }
    }
    await page.locator('#figure-tab-isotherm').click();
    await page.locator(kDataMarkers).nth(20).hover({ force: true });
    await shoot('figure-pvt', '#results-panel');
  });

  // Each way of changing the view changes the axes; each way back gives the
  // figure's own axes again. Runs on the figure the test before left.
  test('zooms, pans and resets by keyboard and pointer', async () => {
    const svg = page.locator('#figure svg');
    const axes = () => svg.locator('text').allTextContents();
    await svg.scrollIntoViewIfNeeded();
    const box = await svg.boundingBox();
    const at = (x, y) => [box.x + box.width * x, box.y + box.height * y];
    const own = await axes();
    const steps = [
      ['+ key', async () => { await svg.focus(); await page.keyboard.press('+'); }, true],
      ['0 key', () => page.keyboard.press('0'), false],
      ['arrow key', () => page.keyboard.press('ArrowRight'), true],
      ['Home key', () => page.keyboard.press('Home'), false],
      ['wheel', async () => { await page.mouse.move(...at(0.4, 0.5)); await page.mouse.wheel(0, -300); }, true],
      ['double-click', () => page.mouse.dblclick(...at(0.4, 0.5)), false],
      ['Shift+drag box', async () => {
        await page.keyboard.down('Shift');
        await page.mouse.move(...at(0.2, 0.3));
        await page.mouse.down();
        await page.mouse.move(...at(0.4, 0.6), { steps: 4 });
        await page.mouse.up();
        await page.keyboard.up('Shift');
      }, true],
      ['Reset view', () => page.click('#figure-reset'), false],
      ['drag', async () => {
        await page.mouse.move(...at(0.3, 0.5));
        await page.mouse.down();
        await page.mouse.move(...at(0.5, 0.6), { steps: 4 });
        await page.mouse.up();
      }, true],
    ];
    for (const [name, act, changes] of steps) {
      await act();
      if (changes) assert.notDeepEqual(await axes(), own, name);
      else assert.deepEqual(await axes(), own, name);
    }
  });

  // The example's point at the smallest strain is left out of F-f (its
  // sigma of F would stretch the axis): the readout still names it, and why.
  test('the F-f readout steps through every point and says why one is not drawn', async () => {
    const dataLines = readFileSync(kIsothermal, 'utf8').split('\n')
      .map((text, i) => (/^[\d.-]/.test(text) ? i + 1 : null)).filter((line) => line !== null);
    await load(kIsothermal);
    await page.waitForSelector('#points tbody tr');
    await page.getByRole('button', { name: 'Fit', exact: true }).click();
    await page.locator('#figure-tab-ff').click();
    const readout = page.locator('#figure-readout');
    assert.match(await readout.textContent(), new RegExp(`^1 of the ${dataLines.length} points left out`));
    await page.locator('#figure svg').focus();
    const shown = [];
    for (const _ of dataLines) {
      await page.keyboard.press(']');
      shown.push(await readout.textContent());
    }
    assert.deepEqual(shown.map((text) => Number(/^Line (\d+):/.exec(text)?.[1])), dataLines);
    assert.equal(shown.filter((text) => text.includes('left out of this figure: ')).length, 1);
    await page.locator(kDataMarkers).first().hover({ force: true });
    assert.match(await readout.textContent(), /^Line \d+: P = /);
  });

  test('quorvane.fit gives the command line\'s report', async () => {
    const dataText = readFileSync(kIsothermal, 'utf8');
    for (const options of [{}, { eos: 'vinet', 'esd-scaling': 'always' }, { order: 4 }]) {
      const fromPage = await page.evaluate(([text, o]) => window.quorvane.fit(text, o), [dataText, options]);
      const native = spawnSync(eos, ['fit', '-', '--format', 'json',
        ...Object.entries(options).map(([k, v]) => `--${k}=${v}`)], { input: dataText, encoding: 'utf8' });
      assert.deepEqual(compareReports(fromPage, JSON.parse(native.stdout), kTolerance, JSON.stringify(options)), []);
    }
    const named = await page.evaluate((text) => window.quorvane.fit(text, { data: 'sample 7.csv' }), dataText);
    assert.equal(named.data, 'sample 7.csv');
  });

  test('a bad file shows the message that names its line', async () => {
    const bad = join(scratch, 'bad.csv');
    writeFileSync(bad, 'P,V\n1,10\n2,9.5\n3,abc\n4,8.7\n');
    const expected = nativeReport(bad);
    assert.notEqual(expected.status, 0);
    await load(bad);
    const message = page.locator('#data-error');
    await message.waitFor({ state: 'visible' });
    assert.equal(`quorvane-eos fit: ${await message.textContent()}\n`, expected.stderr);
    assert.match(await message.textContent(), /line 4/);
    await shoot('bad-file');
  });

  async function fitOnPage() {
    await page.getByRole('button', { name: 'Fit', exact: true }).click();
    await page.waitForFunction(() => /^(Fitted|The fit failed)/.test(document.getElementById('status').textContent));
    assert.equal(await page.locator('#fit-error').textContent(), '');
  }

  function near(actual, expected, where) {
    assert.ok(Math.abs(Number(actual) - expected) <= kTolerance * Math.abs(expected), `${where}: ${actual} against ${expected}`);
  }

  async function rowValues(id) {
    return page.locator(`#${id} td`).allTextContents();
  }

  test('the model panel offers the chosen model\'s parameters and shows refusals next to their control', async () => {
    const panel = page.locator('#model-panel');
    await panel.getByLabel('Equation').selectOption('vinet');
    assert.deepEqual(await page.locator('#order option').allTextContents(), ['2', '3']);
    assert.match(await page.locator('#implied-parameters').textContent(), /K''0/);
    await panel.getByLabel('Thermal model').selectOption('mgd');
    const names = await page.locator('#parameters tbody th').allTextContents();
    for (const name of ['theta0', 'gamma0', 'q', 'natoms']) assert.ok(names.some((n) => n.startsWith(name)), name);
    assert.ok(!names.some((n) => n.startsWith('alpha0')), 'mgd has no alpha0');
    await panel.getByLabel('Thermal model').selectOption('linear');

    // Each refusal is the command line's, beside what it refuses.
    const refusals = [['#constrain', 'Kp0=abc:1', '--constrain=Kp0=abc:1'], ['#start-K0', '1e', '--K0=1e'],
      ['#bounds', 'Kp0=6', '--bounds=Kp0=6']];
    for (const [control, typed, option] of refusals) {
      const expected = spawnSync(eos, ['fit', kIsothermal, option], { encoding: 'utf8' }).stderr
        .replace(/^quorvane-eos fit: /, '').trim();
      await page.fill(control, typed);
      const shown = page.locator(`${control}-error`);
      await shown.waitFor({ state: 'visible' });
      assert.equal(await shown.textContent(), expected, control);
      if (control === '#bounds') await shoot('model-refusal');
      await page.fill(control, '');
      await shown.waitFor({ state: 'hidden' });
    }

    await load(kIsothermal);
    await page.waitForSelector('#points tbody tr');
    await fitOnPage();
    const report = JSON.parse(nativeReport(kIsothermal, ['--eos=vinet']).stdout);
    near(await page.locator('#result-K0 td').first().textContent(), report.parameters.K0, 'Vinet K0');
    await shoot('model-vinet');
    // Remembered over a reload, then back to the defaults for what follows.
    await page.reload();
    assert.equal(await page.locator('#eos').inputValue(), 'vinet');
    await page.locator('#eos').selectOption('birch-murnaghan');
  });

  // A cell edge in place of V: the table shows the edge's own column, and
  // the fit, the edge's parameters and the exports are the command line's
  // with --axis.
  test('fits a cell edge chosen from the file\'s columns as --axis does', async () => {
    const paramsPath = join(scratch, 'axis-params.json');
    const expected = nativeReport(kAxes, ['--axis=b', `--params-out=${paramsPath}`]);
    assert.equal(expected.status, 0, expected.stderr);
    const report = JSON.parse(expected.stdout);
    await load(kAxes);
    // The file has no V: nothing to read until an edge is chosen.
    await page.locator('#data-error').waitFor({ state: 'visible' });
    assert.match(await page.locator('#data-error').textContent(), /no column "V".*choose a, b, c under What is fitted/);
    assert.deepEqual(await page.locator('#axis option').evaluateAll((o) => o.map((x) => x.value)), ['', 'a', 'b', 'c']);
    await page.locator('#axis').selectOption('b');
    await page.waitForSelector('#points tbody tr');
    assert.equal(await page.locator('#data-error').isVisible(), false);
    assert.deepEqual(await page.locator('#points thead th').allTextContents(),
      ['Include', 'Line', 'P', 'b', 'T', 'sigP', 'sigb', 'sigT']);
    const fileRows = readFileSync(kAxes, 'utf8').split('\n').filter((line) => /^\d/.test(line))
      .map((line) => line.split(',').map(Number));
    const shownRows = await page.locator('#points tbody tr').evaluateAll((rows) =>
      rows.map((row) => [...row.cells].slice(1).map((c) => Number(c.textContent))));
    // Shown as [line, P, b, T, sigP, sigb, sigT]; the file is P, sigP, a, siga, b, sig_b, ...
    assert.deepEqual(shownRows.map((row) => [row[1], row[2], row[4], row[5]]),
      fileRows.map((row) => [row[0], row[4], row[1], row[5]]));

    await fitOnPage();
    near(await page.locator('#result-K0 td').first().textContent(), report.parameters.K0, 'K0 of b³');
    for (const [name, value] of Object.entries(report.axis)) {
      if (name === 'name') continue;
      const [shownValue, shownEsd] = await rowValues(`axis-${name}`);
      near(shownValue, value, name);
      near(shownEsd, report.axis_esd[name], `esd of ${name}`);
    }
    assert.match(await page.locator('#axis-M0 th').textContent(), /^M0$/);
    assert.match(await page.locator('#figure svg').textContent(), /b³/);
    await page.locator(kDataMarkers).first().hover({ force: true });
    assert.match(await page.locator('#figure-readout').textContent(), /^Line \d+: P = .*, b³ = /);
    await shoot('axis-fit', '#results-panel');

    const [json] = await Promise.all([page.waitForEvent('download'), page.click('#export-json')]);
    assert.equal(readFileSync(await json.path(), 'utf8'), expected.stdout);
    const [params] = await Promise.all([page.waitForEvent('download'), page.click('#export-params')]);
    assert.equal(readFileSync(await params.path(), 'utf8'), readFileSync(paramsPath, 'utf8'));

    const dataText = readFileSync(kAxes, 'utf8');
    const fromApi = await page.evaluate((text) => window.quorvane.fit(text, { axis: 'b' }), dataText);
    const native = spawnSync(eos, ['fit', '-', '--format', 'json', '--axis=b'], { input: dataText, encoding: 'utf8' });
    assert.deepEqual(compareReports(fromApi, JSON.parse(native.stdout), kTolerance, 'quorvane.fit axis b'), []);

    // Remembered over a reload, then back to V for what follows.
    await page.reload();
    assert.equal(await page.locator('#axis').inputValue(), 'b');
    await page.locator('#axis').selectOption('');
  });

  test('the state point panel gives V or P with its sigma and the properties as the command line does', async () => {
    await load(kIsothermal);
    await page.waitForSelector('#points tbody tr');
    await fitOnPage();
    const paramsPath = join(scratch, 'isothermal-params.json');
    spawnSync(eos, ['fit', kIsothermal, `--params-out=${paramsPath}`]);
    const cases = [['P', '5', 'V', 'sigV'], ['V', '150', 'P', 'sigP']];
    for (const [known, value, derived, sigma] of cases) {
      const run = spawnSync(eos, ['--params', paramsPath, `--${known}`, value, '--T', '298', '--properties',
        '--molar-mass', '60', '--format', 'json'], { encoding: 'utf8' });
      const [expected] = JSON.parse(run.stdout);
      await page.getByLabel('Given').selectOption(known);
      await page.fill('#state-value', value);
      assert.equal(await page.locator('#state-T').inputValue(), '298');
      await page.fill('#state-molar-mass', '60');
      await page.getByRole('button', { name: 'Compute state point' }).click();
      await page.locator(`#state-${derived}`).waitFor();
      const [, shown, shownSigma, unit] = await rowValues(`state-${derived}`);
      near(shown, expected[derived], derived);
      near(shownSigma, expected[sigma], sigma);
      assert.match(unit, /data's/);
      for (const property of ['KT', 'Kp', 'alpha', 'dKdT', 'rho']) {
        const [, value, sig] = await rowValues(`state-${property}`);
        near(value, expected[property], property);
        near(sig, expected[`sig_${property}`], `sig_${property}`);
      }
    }
    await shoot('state-point-light');
    await page.emulateMedia({ colorScheme: 'dark' });
    await shoot('state-point-dark');
    await page.emulateMedia({ colorScheme: 'light' });
  });

  test('fills P from a calibrant column on a shipped scale, and the fit and its report use them', async () => {
    const calibrant = join(scratch, 'gold-calibrant.csv');
    const rows = ['V,sigV,Vcal,sigVcal'];
    for (let i = 0; i < 8; i++) {
      const V = 163.7 - 2.2 * i;
      rows.push(`${V.toFixed(2)},0.05,${(67.85 * (V / 163.7) ** 0.5).toFixed(4)},0.01`);
    }
    writeFileSync(calibrant, `${rows.join('\n')}\n`);
    const run = spawnSync(eos, ['pressure', '--input', calibrant, '--scale', 'au-fei2007', '--column', 'Vcal', '--format', 'json'],
      { encoding: 'utf8' });
    const expected = JSON.parse(run.stdout);
    await load(calibrant);
    await page.locator('#data-error').waitFor({ state: 'visible' });
    // Each scale offers the readings it takes.
    for (const [scale, columns] of [['ruby-dewaele2008', ['', 'lambda']], ['ne-fei2007', ['', 'Vcal', 'acal']],
      ['au-fei2007', ['', 'Vcal', 'acal']]]) {
      await page.getByLabel('Scale').selectOption(scale);
      assert.deepEqual(await page.locator('#calibrant-column option').evaluateAll((o) => o.map((x) => x.value)), columns);
    }
    await page.getByRole('button', { name: 'Fill P from the calibrant' }).click();
    await page.waitForFunction((n) => document.querySelectorAll('#points tbody tr').length === n, expected.length);
    const shownP = await page.locator('#points tbody tr td:nth-child(3)').allTextContents();
    shownP.forEach((P, i) => near(P, expected[i].P, `P of row ${i + 1}`));
    const shownSigP = await page.locator('#points tbody tr td:nth-child(6)').allTextContents();
    shownSigP.forEach((sigP, i) => near(sigP, expected[i].sigP, `sigP of row ${i + 1}`));
    assert.match(await page.locator('#calibrant-summary').textContent(), /8 points from Vcal on au-fei2007/);
    await fitOnPage();
    const text = await page.locator('#report').textContent();
    assert.match(text, /gold-calibrant\.csv/);
    assert.doesNotMatch(text, /<stdin>/);
    await shoot('calibrant');
    await page.reload();
    assert.equal(await page.locator('#scale').inputValue(), 'au-fei2007');
  });

  test('every control is labelled and reached from the keyboard', async () => {
    const unlabelled = await page.evaluate(() => [...document.querySelectorAll('main input, main select, main button')]
      .filter((node) => node.labels?.length === 0 && !node.getAttribute('aria-label') && !node.textContent.trim())
      .map((node) => node.id || node.outerHTML));
    assert.deepEqual(unlabelled, []);
    await page.focus('#data-file');
    const reached = new Set();
    for (let i = 0; i < 80; i++) {
      await page.keyboard.press('Tab');
      reached.add(await page.evaluate(() => document.activeElement?.id));
    }
    for (const id of ['eos', 'order', 'thermal', 'constrain', 'start-K0', 'refine-K0', 'scale', 'state-known', 'state-T']) {
      assert.ok(reached.has(id), `${id} is reached with Tab`);
    }
  });

  // A file longer than the table draws at once: each box, drawn when
  // scrolled or tabbed to, still stands for its own point.
  test('a long file\'s points are each reached, by scrolling and by Tab, and left out', async () => {
    const long = join(scratch, 'long.csv');
    const rows = ['P,V'];
    for (let i = 0; i < 1000; i++) rows.push(`${(0.01 * i).toFixed(2)},${(160 - 0.005 * i).toFixed(3)}`);
    writeFileSync(long, `${rows.join('\n')}\n`);
    await load(long);
    await page.waitForFunction(() => document.getElementById('data-summary').textContent.includes('1000 points'));
    const box = (line) => page.getByLabel(`Include line ${line}`, { exact: true });
    await page.locator('#points').evaluate((table) => { table.parentElement.scrollTop = 1e7; });
    await box(1001).uncheck();
    await page.locator('#points').evaluate((table) => { table.parentElement.scrollTop = 0; });
    await box(2).focus();
    // Well past the rows drawn at first.
    for (let i = 0; i < 60; i++) await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Include line 62');
    await page.keyboard.press('Space');
    await fitOnPage();
    assert.match(await page.locator('#fit-summary').textContent(), /: 998 points/);
  });

  test(`Cancel ends a fit of ${kManyPoints} points and the page stays usable`, async () => {
    const many = join(scratch, 'many.csv');
    const rows = ['P,V,sigP'];
    for (let i = 0; i < kManyPoints; i++) {
      const V = 160 - (i * 25) / kManyPoints;
      const x = (163.7 / V) ** (2 / 3);
      const P = 1.5 * 84.4 * (x ** 3.5 - x ** 2.5) * (1 + 0.75 * 0.9 * (x - 1));
      rows.push(`${P.toFixed(5)},${V.toFixed(6)},0.02`);
    }
    writeFileSync(many, `${rows.join('\n')}\n`);
    await load(many);
    await page.waitForFunction((n) => document.getElementById('data-summary').textContent.includes(`${n} points`),
      kManyPoints);
    await page.getByRole('button', { name: 'Fit', exact: true }).click();
    await page.waitForFunction(() => document.getElementById('status').textContent.startsWith('Fitting'));
    // Cancelled at once: the fit takes seconds, the screenshot comes after.
    assert.equal(await page.evaluate(() => 6 * 7), 42);
    await page.getByRole('button', { name: 'Cancel' }).click();
    await page.waitForFunction(() => document.getElementById('status').textContent === 'Cancelled');
    await shoot('cancelled');
    assert.equal(await page.getByRole('button', { name: 'Fit', exact: true }).isEnabled(), true);
    await load(kIsothermal);
    await page.waitForFunction(() => document.querySelectorAll('#points tbody tr').length === 13);
  });

  test('made no request outside the file and raised no error', () => {
    assert.deepEqual(outsideRequests, []);
    assert.deepEqual(pageErrors, []);
  });
});
