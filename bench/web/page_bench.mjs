// The workbench page in Debian's headless Chromium: how soon it is usable
// from file://, a 100-point 3rd-order Birch-Murnaghan fit in the page
// against the same fit by the native command line, and the fit's figures:
// drawn by the core, and from the Fit button to the figure on the page.
//   node bench/web/page_bench.mjs PAGE QUORVANE_EOS
// (quorvane_page_fit_benchmark of the release preset gives the native time
// of the very call the page makes.)
import { spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { bm3Data as measured, median } from './bm3_data.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const { chromium } = await import(join(here, '../../web/node_modules/playwright-core/index.mjs'));
const [pagePath, eos] = process.argv.slice(2);
const kOpenings = 7;
const kFits = 30;
// The script engine compiles the core's hot functions again, optimised,
// after some use: the fits after these many show the page's lasting speed.
const kWarmUpFits = 100;
const kSteadyFits = 50;
const kFigureSizes = [100, 10000, 100000];
const kFigureRuns = 5;

const scratch = mkdtempSync(join(tmpdir(), 'quorvane-page-bench-'));
const context = await chromium.launchPersistentContext(join(scratch, 'profile'), {
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
await context.route('**/*', (route) => (route.request().url().startsWith('file:') ? route.continue() : route.abort()));
try {
  const interactive = [];
  for (let i = 0; i < kOpenings; i++) {
    const page = await context.newPage();
    await page.goto(pathToFileURL(pagePath).href);
    await page.waitForFunction(() => window.quorvane !== undefined);
    interactive.push(await page.evaluate(() => performance.now()));
    await page.close();
  }
  const page = await context.newPage();
  await page.goto(pathToFileURL(pagePath).href);
  const dataText = measured();
  const inPage = await page.evaluate(async ([text, count]) => {
    const core = [];
    const roundTrip = [];
    for (let i = 0; i < count; i++) {
      const started = performance.now();
      const fit = await window.quorvane.fitReports(text, { arithmetic: 'textbook' });
      roundTrip.push(performance.now() - started);
      core.push(fit.milliseconds);
    }
    return { core, roundTrip };
  }, [dataText, kFits + kWarmUpFits + kSteadyFits]);

  const figures = await page.evaluate(async ([text, count]) => {
    const times = [];
    for (let i = 0; i < count; i++) {
      times.push((await window.quorvane.fitReports(text, { arithmetic: 'textbook' }, [], true)).figureMilliseconds);
    }
    return times;
  }, [dataText, kFits]);
  // From the Fit button to the first figure drawn, the page's whole path:
  // the fit, the figures in the worker, their way to the page and the SVG.
  const drawn = {};
  for (const size of kFigureSizes) {
    const path = join(scratch, `bm3-${size}.csv`);
    writeFileSync(path, measured(size));
    drawn[size] = [];
    for (let i = 0; i < kFigureRuns; i++) {
      await page.setInputFiles('#data-file', path);
      await page.waitForFunction((n) => document.getElementById('data-summary').textContent.includes(`${n} points`), size);
      await page.waitForFunction(() => !document.getElementById('fit').disabled);
      drawn[size].push(await page.evaluate(() => new Promise((resolve) => {
        const started = performance.now();
        const figure = document.getElementById('figure-panel');
        const seen = new MutationObserver(() => {
          if (!figure.querySelector('svg')) return;
          seen.disconnect();
          requestAnimationFrame(() => setTimeout(() => resolve(performance.now() - started)));
        });
        seen.observe(figure, { childList: true, subtree: true });
        document.getElementById('fit').click();
      })));
    }
  }

  const dataPath = join(scratch, 'bm3-100.csv');
  writeFileSync(dataPath, dataText);
  const nativeTimes = [];
  const startupTimes = [];
  for (let i = 0; i < kFits; i++) {
    let started = process.hrtime.bigint();
    spawnSync(eos, ['fit', dataPath, '--format', 'json', '--arithmetic=textbook']);
    nativeTimes.push(Number(process.hrtime.bigint() - started) / 1e6);
    started = process.hrtime.bigint();
    spawnSync(eos, ['--version']);
    startupTimes.push(Number(process.hrtime.bigint() - started) / 1e6);
  }
  console.log(`page size: ${statSync(pagePath).size} bytes`);
  console.log(`interactive from file:// (median of ${kOpenings}): ${median(interactive).toFixed(0)} ms`);
  const first = { core: inPage.core.slice(1, kFits), roundTrip: inPage.roundTrip.slice(1, kFits) };
  const steady = { core: inPage.core.slice(-kSteadyFits), roundTrip: inPage.roundTrip.slice(-kSteadyFits) };
  console.log(`100-point BM3 fit in the page's core (median of fits 2-${kFits}): ` +
    `${median(first.core).toFixed(2)} ms; with the worker round trip ` +
    `${median(first.roundTrip).toFixed(2)} ms; the first, starting the worker: ` +
    `${inPage.roundTrip[0].toFixed(0)} ms`);
  // The worker's clock counts in steps of 0.1 ms: the mean resolves finer.
  const mean = (values) => values.reduce((sum, value) => sum + value, 0) / values.length;
  console.log(`the same after ${kFits + kWarmUpFits} fits (median of the next ${kSteadyFits}): ` +
    `${median(steady.core).toFixed(2)} ms, mean ${mean(steady.core).toFixed(3)} ms; with the worker round trip ` +
    `${median(steady.roundTrip).toFixed(2)} ms`);
  console.log(`the 100-point fit's figures in the page's core (median of ${kFits}, first excluded): ` +
    `${median(figures.slice(1)).toFixed(2)} ms`);
  for (const size of kFigureSizes) {
    console.log(`Fit button to the first figure drawn, ${size} points (median of ${kFigureRuns}): ` +
      `${median(drawn[size]).toFixed(0)} ms`);
  }
  console.log(`native quorvane-eos fit (median of ${kFits}): ${median(nativeTimes).toFixed(2)} ms, of which ` +
    `start-up (--version) ${median(startupTimes).toFixed(2)} ms`);
} finally {
  await context.close();
  rmSync(scratch, { recursive: true, force: true });
}
