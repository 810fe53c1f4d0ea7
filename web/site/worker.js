// The converter off the page's main thread, for long texts: the same module
// and the same Converter as the page's, asked by name; it converts a line at
// a time. It builds its look-up tables as soon as it has loaded, so that the
// page need not.
import { LineConverter } from './by-lines.js';
import { loadConverter } from './convert.js';

const converter = loadConverter().then((c) => {
  c.warmUp?.();
  return c;
});
let byLines = null;

self.addEventListener('message', async ({ data: { id, method, args } }) => {
  try {
    const c = await converter;
    byLines ??= new LineConverter(c);
    // Long texts, one keystroke after another: only the changed line converts.
    const result = method === 'convert' ? byLines.convert(...args) : c[method](...args);
    self.postMessage({ id, result });
  } catch (e) {
    self.postMessage({ id, error: String(e?.message ?? e) });
  }
});
