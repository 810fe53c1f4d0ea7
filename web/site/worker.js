// The converter off the page's main thread, for long texts: the same module
// and the same Converter as the page's, asked by name. It builds its look-up
// tables as soon as it has loaded, so that the page need not.
import { loadConverter } from './convert.js';

const converter = loadConverter().then((c) => {
  c.warmUp?.();
  return c;
});

self.addEventListener('message', async ({ data: { id, method, args } }) => {
  try {
    self.postMessage({ id, result: (await converter)[method](...args) });
  } catch (e) {
    self.postMessage({ id, error: String(e?.message ?? e) });
  }
});
