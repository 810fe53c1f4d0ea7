// The converter off the page's main thread, for long texts: the same module
// and the same Converter as the page's, asked by name; it converts a line at
// a time. It builds its look-up tables as soon as it has loaded, so that the
// page need not. The page sends the core it compiled, as the first message.
import { LineConverter } from './by-lines.js';
import { loadConverter } from './convert.js';

let converter = null;
let byLines = null;

self.addEventListener('message', async ({ data: { id, method, args, module, simd } }) => {
  // The page's first message: its compiled core, if it has one.
  if (module !== undefined || !converter) {
    converter = loadConverter(module, simd).then((c) => {
      c.warmUp?.();
      return c;
    });
    if (module !== undefined) return;
  }
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
