// The WebAssembly core against the native command line: the same fits give
// the same reports, numbers to 1e-12 relative, and the same messages.
//   QUORVANE_CORE=.../quorvane_core.js QUORVANE_EOS=.../quorvane-eos node --test
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';

import { compareReports } from './report_comparison.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const root = join(here, '..', '..');
const eos = process.env.QUORVANE_EOS;
const corePath = process.env.QUORVANE_CORE;
const kTolerance = 1e-12;

const dataFiles = {
  isothermal: join(root, 'docs/examples/isothermal.csv'),
  stishovite300: join(root, 'tests/fit/data/stishovite_nishihara2005_300K.csv'),
  stishovitePvt: join(root, 'tests/fit/data/stishovite_nishihara2005_pvt.csv'),
};

// Every equation and order, and the options that change the fit's path:
// start values, bounds, esd scaling, ellipses. These agree to the last bit.
// Fits that take the C library's cbrt, exp or pow in double precision (the
// textbook arithmetic, the thermal models, priors) do not: glibc and the
// WebAssembly C library round some of their results differently in the last
// bit, which moves such fits by up to 1e-9 relative (more in ill-conditioned
// ones) and changes their iteration counts.
const fitCases = [
  ['isothermal', []],
  ['isothermal', ['--order=2']],
  ['isothermal', ['--order=4']],
  ['isothermal', ['--eos=vinet']],
  ['isothermal', ['--eos=natural-strain']],
  ['isothermal', ['--eos=murnaghan']],
  ['isothermal', ['--bounds=Kp0=3:4.5', '--ellipse=V0,K0', '--ellipse=K0,Kp0:0.95']],
  ['isothermal', ['--refine=V0,K0', '--Kp0=4.5', '--esd-scaling=always']],
  ['stishovite300', []],
  ['stishovite300', ['--esd-scaling=never', '--order=2']],
];

// Fits through the C library's log1p, expm1, cbrt, exp or pow in double
// precision (Tait, the textbook arithmetic, the thermal models): glibc and the
// WebAssembly C library round some of those results differently in the last
// bit, so these agree to kLibmTolerance and may stop an iteration or two apart.
const kLibmTolerance = 1e-9;
const libmCases = [
  ['isothermal', ['--eos=tait']],
  ['isothermal', ['--arithmetic=textbook']],
];

// The figures of a fit, each the file `--plot` writes, and ellipses of the
// remembered fit drawn for another pair and level, each that of --ellipse.
// The P-V-T case draws the thermal figures through the C library's pow and
// exp, whose last bits the SVG's rounded coordinates do not show.
const figureCases = [
  ['isothermal', [], ['V0,Kp0:0.95', 'K0,V0']],
  ['isothermal', ['--ellipse=V0,K0', '--ellipse=V0,K0:0.9'], ['Kp0,K0:0.5']],
  ['stishovite300', ['--order=2'], ['V0,K0']],
  ['stishovitePvt', [], ['alpha0,dKdT:0.95']],
];

// Input the command line refuses, each with its own message.
const refusedCases = [
  ['P,V\n1,10\n2,abc\n', []],
  ['P,V\n1,10\n2,-3\n', []],
  ['V,T\n1,10\n', []],
  ['P,V\n1,10\n2,9\n3,8\n', ['--eos=nonsense']],
  ['P,V\n1,10\n2,9\n3,8\n', ['--refine=V0,V0']],
  ['P,V\n1,10\n2,9\n3,8\n', ['--no-such-option=1']],
];

// State points of fitted parameter files, in both directions, with the
// properties and their sigmas: [data, fit options, point, molar mass, atoms].
// The molar mass of SiO2, 60.08 g/mol, is the sum of the standard atomic
// weights (IUPAC 2021); the rest are states inside each data set's range.
const stateCases = [
  ['isothermal', [], { P: 5, T: 298 }, 0, 0],
  ['isothermal', [], { V: 150, T: 298 }, 0, 0],
  ['isothermal', ['--eos=vinet'], { P: 0, T: 298 }, 0, 0],
  ['stishovitePvt', [], { P: 10, T: 900 }, 60.08, 0],
  ['stishovitePvt', ['--thermal=mgd', '--refine=V0,K0,theta0,gamma0'], { P: 12, T: 1000 }, 60.08, 0],
  ['stishovitePvt', ['--thermal=mgd', '--refine=V0,K0,theta0,gamma0'], { V: 14, T: 700 }, 0, 0],
  ['stishovitePvt', ['--thermal=einstein', '--refine=V0,K0,alpha0'], { P: 8, T: 800 }, 60.08, 0],
  ['stishovitePvt', ['--thermal=einstein', '--refine=V0,K0,alpha0'], { P: 8, T: 800 }, 60.08, 3],
];

// Calibrant readings beside a sample's V, made up for the agreement (not
// measured): a volume scale read from Vcal and from acal, and a gauge.
const calibrantCases = [
  ['au-fei2007', 'Vcal', 'V,sigV,Vcal,sigVcal,T\n160,0.05,66.5,0.01,300\n155,0.05,64.9,0.01,300\n150,0.05,62.8,0.02,900\n'],
  ['pt-dorfman2012', 'acal', '# a comment, then a blank line\n\nV\tacal\tsigAcal\n160\t3.90\t0.001\n152\t3.86\t0.001\n'],
  ['ruby-dewaele2008', 'lambda', 'V,lambda,sigLambda\n161,695.0,0.02\n157,698.5,0.02\n'],
  ['mgo-ye2017', 'Vcal', 'V,Vcal\n160,74.5\n150,40\n'],
];

function native(dataText, options, extra = []) {
  const run = spawnSync(eos, ['fit', '-', ...options, ...extra], { input: dataText, encoding: 'utf8' });
  return { status: run.status, stdout: run.stdout, stderr: run.stderr };
}

function listOf(Type, items) {
  const list = new Type();
  for (const item of items) list.push_back(item);
  return list;
}

describe('the WebAssembly core', { skip: !eos || !corePath ? 'QUORVANE_EOS and QUORVANE_CORE are needed' : false }, () => {
  let core;
  let scratch;
  const differences = [];

  before(async () => {
    core = await createRequire(import.meta.url)(corePath)();
    scratch = mkdtempSync(join(tmpdir(), 'quorvane-core-agreement-'));
  });
  after(() => {
    if (scratch) rmSync(scratch, { recursive: true, force: true });
    if (differences.length > 0) console.log(`last-digit differences:\n${differences.join('\n')}`);
  });

  function fit(dataText, options) {
    const fitArguments = listOf(core.StringList, options);
    const excluded = listOf(core.IndexList, []);
    try {
      return core.fitDataText(dataText, '<stdin>', fitArguments, excluded);
    } finally {
      fitArguments.delete();
      excluded.delete();
    }
  }

  test('fits as the command line fits', () => {
    for (const [name, options] of fitCases) {
      const dataText = readFileSync(dataFiles[name], 'utf8');
      const paramsPath = join(scratch, `${name}-params.json`);
      const expected = native(dataText, options, ['--format', 'json', `--params-out=${paramsPath}`]);
      assert.equal(expected.status, 0, `${name} ${options}: ${expected.stderr}`);
      const page = fit(dataText, options);
      assert.ok(page.ok, `${name} ${options}: ${page.error}`);
      const where = `${name} ${options.join(' ')}`;
      differences.push(...compareReports(JSON.parse(page.json), JSON.parse(expected.stdout), kTolerance, where));
      assert.equal(page.json, expected.stdout, `${where}: JSON report`);
      assert.equal(page.text, native(dataText, options).stdout, `${where}: text report`);
      assert.equal(page.parameterFile, readFileSync(paramsPath, 'utf8'), `${where}: parameter file`);
    }
  });

  test('fits through the C library as the command line does, to its last digits', () => {
    for (const [name, options] of libmCases) {
      const dataText = readFileSync(dataFiles[name], 'utf8');
      const expected = native(dataText, options, ['--format', 'json']);
      assert.equal(expected.status, 0, `${name} ${options}: ${expected.stderr}`);
      const page = fit(dataText, options);
      assert.ok(page.ok, `${name} ${options}: ${page.error}`);
      // The stopping test may be met an iteration or two apart.
      const { iterations: pageIterations, ...pageReport } = JSON.parse(page.json);
      const { iterations: nativeIterations, ...nativeReport } = JSON.parse(expected.stdout);
      differences.push(`${name} ${options.join(' ')}: ${pageIterations} iterations against ${nativeIterations}`);
      differences.push(...compareReports(pageReport, nativeReport, kLibmTolerance, `${name} ${options.join(' ')}`));
    }
  });

  function plotFiles(dataText, options, tag) {
    const folder = join(scratch, `plot-${tag}`);
    mkdirSync(folder);
    const expected = native(dataText, options, [`--plot=${join(folder, 'fig.svg')}`]);
    assert.equal(expected.status, 0, `${tag}: ${expected.stderr}`);
    const files = {};
    for (const name of readdirSync(folder)) files[name] = readFileSync(join(folder, name), 'utf8');
    return files;
  }

  test('draws the figures the command line draws', () => {
    figureCases.forEach(([name, options, asks], k) => {
      const dataText = readFileSync(dataFiles[name], 'utf8');
      const where = `${name} ${options.join(' ')}`;
      const page = fit(dataText, options);
      assert.ok(page.ok, `${where}: ${page.error}`);
      const { lines, figures } = JSON.parse(core.fitFiguresJson());
      assert.equal(lines.length, JSON.parse(page.json).points, where);
      const files = plotFiles(dataText, options, k);
      // The page adds one ellipse where none was asked for.
      const asked = options.some((option) => option.startsWith('--ellipse'));
      const drawn = figures.filter((entry) => asked || !entry.name.startsWith('ellipse-'));
      assert.equal(figures.length - drawn.length, asked ? 0 : 1, where);
      assert.deepEqual(drawn.map((entry) => `fig-${entry.name}.svg`).sort(), Object.keys(files).sort(), where);
      for (const entry of drawn) {
        const { svg } = JSON.parse(core.figureSvgJson(entry.name, entry.ask));
        assert.equal(svg, files[`fig-${entry.name}.svg`], `${where}: ${entry.name}`);
      }
      asks.forEach((ask, a) => {
        const entry = JSON.parse(core.ellipseFigureJson(ask));
        const { svg } = JSON.parse(core.figureSvgJson(entry.name, entry.ask));
        const ellipseFiles = plotFiles(dataText, [...options, `--ellipse=${ask}`], `${k}-${a}`);
        assert.equal(svg, ellipseFiles[`fig-${entry.name}.svg`], `${where}: ${ask}`);
      });
    });
  });

  test('refuses what the command line refuses, with its message', () => {
    for (const [dataText, options] of refusedCases) {
      const expected = native(dataText, options, ['--format', 'json']);
      assert.notEqual(expected.status, 0);
      const page = fit(dataText, options);
      assert.equal(page.ok, false);
      assert.equal(`quorvane-eos fit: ${page.error}\n`, expected.stderr);
    }
  });

  function stateFromCommandLine(paramsPath, point, molarMass, natoms) {
    const known = point.P !== undefined ? 'P' : 'V';
    const run = spawnSync(eos, ['--params', paramsPath, `--${known}`, String(point[known]), '--T', String(point.T),
      '--properties', '--format', 'json', ...(molarMass ? [`--molar-mass=${molarMass}`] : []),
      ...(natoms ? [`--natoms=${natoms}`] : [])], { encoding: 'utf8' });
    assert.equal(run.status, 0, run.stderr);
    return JSON.parse(run.stdout)[0];
  }

  test('gives the state points and properties of a fit as the command line does', () => {
    for (const [name, options, point, molarMass, natoms] of stateCases) {
      const where = `${name} ${options.join(' ')} ${JSON.stringify(point)}`;
      const page = fit(readFileSync(dataFiles[name], 'utf8'), options);
      assert.ok(page.ok, `${where}: ${page.error}`);
      const paramsPath = join(scratch, 'state-params.json');
      writeFileSync(paramsPath, page.parameterFile);
      const expected = stateFromCommandLine(paramsPath, point, molarMass, natoms);
      const known = point.P !== undefined ? 'P' : 'V';
      const answer = JSON.parse(core.statePointJson(page.parameterFile, known, point[known], point.T, molarMass,
        natoms ? String(natoms) : ''));
      assert.equal(answer.error, null, where);
      differences.push(...compareReports(answer.row, expected, kTolerance, where));
      assert.deepEqual(Object.keys(answer.units), Object.keys(expected).filter((key) => key !== 'converged'));
    }
  });

  test('refuses a state point the command line refuses', () => {
    const page = fit(readFileSync(dataFiles.stishovitePvt, 'utf8'), ['--thermal=mgd', '--refine=V0,K0']);
    const paramsPath = join(scratch, 'refused-params.json');
    writeFileSync(paramsPath, page.parameterFile);
    const run = spawnSync(eos, ['--params', paramsPath, '--P', '10', '--T', '-5', '--properties'], { encoding: 'utf8' });
    assert.notEqual(run.status, 0);
    const answer = JSON.parse(core.statePointJson(page.parameterFile, 'P', 10, -5, 0, ''));
    assert.equal(`quorvane-eos: --T: ${answer.error}\n`, run.stderr);
  });

  test('reads a calibrant column on the shipped scales as `pressure --input` does', () => {
    for (const [scale, column, dataText] of calibrantCases) {
      const run = spawnSync(eos, ['pressure', '--input', '-', '--scale', scale, '--column', column, '--format', 'json'],
        { input: dataText, encoding: 'utf8' });
      assert.equal(run.status, 0, `${scale}: ${run.stderr}`);
      const expected = JSON.parse(run.stdout);
      const answer = JSON.parse(core.calibrantPressuresJson(dataText, '<stdin>', scale, ''));
      assert.equal(answer.error, null, `${scale}: ${answer.error}`);
      assert.equal(answer.column, column);
      assert.equal(answer.warning, run.stderr);
      const rows = answer.rows.map(([, P, sigP, sigPscale, inRange]) =>
        (column === 'lambda' ? { P, sigP, in_range: inRange } : { P, sigP, sigPscale, in_range: inRange }));
      const wanted = expected.map(({ P, sigP, sigPscale, in_range: inRange }) =>
        (column === 'lambda' ? { P, sigP, in_range: inRange } : { P, sigP, sigPscale, in_range: inRange }));
      differences.push(...compareReports(rows, wanted, kLibmTolerance, scale));
      // The fit reads those pressures from the data on the lines of the file
      // as opened, as the command line reads the same text.
      const fitArguments = listOf(core.StringList, []);
      const read = JSON.parse(core.dataPointsJson(answer.data, '<stdin>', fitArguments));
      fitArguments.delete();
      assert.equal(read.error, null, `${scale}: ${read.error}`);
      assert.deepEqual(read.points.map(([line, P, , , sigP]) => [line, P, sigP]),
        answer.rows.map(([line, P, sigP]) => [line, P, sigP]));
      const nativeFit = native(answer.data, ['--refine=V0,K0'], ['--format', 'json']);
      assert.deepEqual(JSON.parse(nativeFit.stdout).residuals.map((r) => r.P_obs), answer.rows.map(([, P]) => P));
    }
  });

  test('offers only models and options the command line takes', () => {
    const catalogue = JSON.parse(core.catalogueJson());
    const error = (options) => {
      const list = listOf(core.StringList, options);
      try {
        return core.fitOptionsError(list);
      } finally {
        list.delete();
      }
    };
    for (const [key, model] of Object.entries(catalogue.models)) {
      const [eosName, order, thermal] = key.split('/');
      const shape = [`--eos=${eosName}`, `--order=${order}`, `--thermal=${thermal}`];
      const starts = Object.entries(model.free).map(([name, value]) => `--${name}=${value}`);
      assert.equal(error([...shape, ...starts]), '', key);
      for (const name of model.implied) assert.match(error([...shape, `--${name}=1`]), /implied/, `${key} ${name}`);
    }
    for (const equation of catalogue.equations) {
      for (const order of [2, 3, 4].filter((o) => !equation.orders.includes(o))) {
        assert.notEqual(error([`--eos=${equation.name}`, `--order=${order}`]), '', `${equation.name} ${order}`);
      }
    }
    assert.equal(error(['--constrain=Kp0=abc:1']), native('P,V\n1,10\n', ['--constrain=Kp0=abc:1']).stderr
      .replace(/^quorvane-eos fit: /, '').trim());
  });

  test('reads the points the fit reads', () => {
    const dataText = readFileSync(dataFiles.stishovitePvt, 'utf8');
    const fitArguments = listOf(core.StringList, []);
    const read = JSON.parse(core.dataPointsJson(dataText, '<stdin>', fitArguments));
    fitArguments.delete();
    const report = JSON.parse(native(dataText, [], ['--format', 'json']).stdout);
    assert.equal(read.error, null);
    assert.deepEqual(read.points.map(([, P, V, T]) => ({ P_obs: P, V, T })),
      report.residuals.map(({ P_obs, V, T }) => ({ P_obs, V, T })));
  });

  test('leaves out the points it is told to', () => {
    const dataText = readFileSync(dataFiles.isothermal, 'utf8');
    const lines = dataText.split('\n');
    const firstData = lines.findIndex((line) => /^\s*[-\d.]/.test(line));
    const without = lines.filter((_, i) => i !== firstData + 2 && i !== firstData + 5).join('\n');
    const fitArguments = listOf(core.StringList, []);
    const excluded = listOf(core.IndexList, [5, 2]);
    const page = core.fitDataText(dataText, '<stdin>', fitArguments, excluded);
    fitArguments.delete();
    excluded.delete();
    const expected = JSON.parse(native(without, [], ['--format', 'json']).stdout);
    differences.push(...compareReports(JSON.parse(page.json), expected, kTolerance, 'excluded'));
  });
});
