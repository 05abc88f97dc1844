// Writes quorvane-workbench.html: the page, its style, its script and the
// WebAssembly core (with its loader) in one file that needs nothing else.
//
//   node build_page.mjs --core quorvane_core.js --version 6.0.0 --out quorvane-workbench.html
import { build } from 'esbuild';
import { readFile, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

const here = dirname(fileURLToPath(import.meta.url));
const { values } = parseArgs({
  options: { core: { type: 'string' }, version: { type: 'string' }, out: { type: 'string' } },
});
for (const name of ['core', 'version', 'out']) {
  if (!values[name]) throw new Error(`--${name} is needed`);
}

async function bundle(entry, plugins = []) {
  const result = await build({
    entryPoints: [join(here, 'src', entry)], bundle: true, format: 'iife', minify: true,
    target: 'es2022', write: false, legalComments: 'none', plugins,
  });
  return result.outputFiles[0].text;
}

const coreSource = await readFile(values.core, 'utf8');
// What the panels offer, asked of the core itself: the catalogue of models
// and the fit's options, and the shipped scales.
const core = await createRequire(import.meta.url)(resolve(values.core))();
const catalogueJson = core.catalogueJson();
const scaleListJson = core.scaleListJson();
const workerSource = await bundle('core_worker.js');
// The core, the worker and the version reach the page's script as strings,
// the catalogue and the scales as objects.
const inlined = {
  name: 'quorvane-core',
  setup(context) {
    context.onResolve({ filter: /^quorvane:core$/ }, () => ({ path: 'core', namespace: 'quorvane' }));
    context.onLoad({ filter: /.*/, namespace: 'quorvane' }, () => ({
      contents: `export const CORE_SOURCE = ${JSON.stringify(coreSource)};\n` +
        `export const WORKER_SOURCE = ${JSON.stringify(workerSource)};\n` +
        `export const PAGE_VERSION = ${JSON.stringify(values.version)};\n` +
        `export const CATALOGUE = ${catalogueJson};\n` +
        `export const SCALES = ${scaleListJson};\n`,
      loader: 'js',
    }));
  },
};
// Inside the script element "</script" would end it early; in a string
// "<\/script" is the same text.
const pageScript = (await bundle('page.js', [inlined])).replace(/<\/(script)/gi, '<\\/$1');
const template = await readFile(join(here, 'src', 'page.html'), 'utf8');
const style = await readFile(join(here, 'src', 'page.css'), 'utf8');
const page = template.replace('/*STYLE*/', () => style).replace('/*SCRIPT*/', () => pageScript);
await writeFile(values.out, page);
