// The page's own thread after a large fit, in Debian's headless Chromium:
// from the Fit button to the first figure drawn, and the longest task the
// page's thread runs from the click until the results are all shown (the
// browser's long-task observer, which sees tasks of 50 ms or more; the
// worker's fit is not among them).
//   node bench/web/page_large_fit_bench.mjs PAGE [RUNS]
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

import { bm3Data, median } from './bm3_data.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const { chromium } = await import(join(here, '../../web/node_modules/playwright-core/index.mjs'));
const [pagePath, runsText] = process.argv.slice(2);
const kSizes = [100, 10000, 100000];
const kRuns = Number(runsText ?? 5);
// Quiet for this long after the status says the fit is done: the results
// are all shown.
const kSettledMs = 1500;

const scratch = mkdtempSync(join(tmpdir(), 'quorvane-page-large-'));
const context = await chromium.launchPersistentContext(join(scratch, 'profile'), {
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
await context.route('**/*', (route) => (route.request().url().startsWith('file:') ? route.continue() : route.abort()));

// In the page: presses Fit and resolves with the time to the first figure
// drawn and every long task until the results have settled.
function fitAndWatch(settledMs) {
  return new Promise((resolve) => {
    const tasks = [];
    const watcher = new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) tasks.push({ start: entry.startTime, duration: entry.duration });
    });
    watcher.observe({ type: 'longtask' });
    const started = performance.now();
    let firstFigure = null;
    const figure = document.getElementById('figure-panel');
    const seen = new MutationObserver(() => {
      if (!figure.querySelector('svg')) return;
      seen.disconnect();
      requestAnimationFrame(() => setTimeout(() => { firstFigure = performance.now() - started; }));
    });
    seen.observe(figure, { childList: true, subtree: true });
    const status = document.getElementById('status');
    const done = () => {
      if (!status.textContent.startsWith('Fitted') || firstFigure === null) {
        setTimeout(done, 50);
        return;
      }
      setTimeout(() => {
        watcher.disconnect();
        const after = tasks.filter((task) => task.start >= started);
        resolve({ firstFigure, longest: Math.max(0, ...after.map((task) => task.duration)), count: after.length });
      }, settledMs);
    };
    document.getElementById('fit').click();
    done();
  });
}

try {
  const page = await context.newPage();
  await page.goto(pathToFileURL(pagePath).href);
  for (const size of kSizes) {
    const path = join(scratch, `bm3-${size}.csv`);
    writeFileSync(path, bm3Data(size));
    const runs = [];
    for (let i = 0; i < kRuns; i++) {
      await page.setInputFiles('#data-file', path);
      await page.waitForFunction((n) => document.getElementById('data-summary').textContent.includes(`${n} points`), size);
      await page.waitForFunction(() => !document.getElementById('fit').disabled);
      runs.push(await page.evaluate(fitAndWatch, kSettledMs));
    }
    const firstFigures = runs.map((run) => run.firstFigure);
    const longest = runs.map((run) => run.longest);
    console.log(`${size} points (${kRuns} runs): Fit button to first figure median ${median(firstFigures).toFixed(0)} ms ` +
      `(${Math.min(...firstFigures).toFixed(0)}-${Math.max(...firstFigures).toFixed(0)}); longest task of the page's ` +
      `thread median ${median(longest).toFixed(0)} ms (max ${Math.max(...longest).toFixed(0)}); ` +
      `long tasks a run ${median(runs.map((run) => run.count))}`);
  }
} finally {
  await context.close();
  rmSync(scratch, { recursive: true, force: true });
}
