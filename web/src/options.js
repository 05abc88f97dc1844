// The options of quorvane.fit and of the page, as the command line's
// arguments: each key is a long option of `quorvane-eos fit`, with or without
// its dashes; an array repeats the option.

// The page returns every report at once and writes no file, so these
// options of the command line have nothing to do here.
const kIgnored = new Set(['format', 'params-out', 'plot']);

// The name the reports give the data, as the command line gives standard input.
export const kDefaultSource = '<stdin>';

export function argumentsFromOptions(options) {
  const fitArguments = [];
  let source = kDefaultSource;
  for (const [key, value] of Object.entries(options ?? {})) {
    const name = key.replace(/^--/, '');
    if (name === 'data') {
      source = String(value);
      continue;
    }
    if (kIgnored.has(name) || value === undefined || value === null || value === false) continue;
    for (const item of Array.isArray(value) ? value : [value]) {
      fitArguments.push(`--${name}=${String(item)}`);
    }
  }
  return { arguments: fitArguments, source };
}
