// The engine's speed in the browser on the native benchmark's texts, built
// with WebAssembly SIMD as the page is and without it. Prints megabytes per
// second, to read beside docs/performance.md; asserts only that every case ran.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { launch, SITE } from './browser.mjs';
import { serve } from './server.mjs';

test('the engine in the browser, with and without SIMD', async () => {
  const server = await serve(join(SITE, '..', 'bench'));
  const browser = await launch();
  try {
    const page = await browser.newPage();
    await page.goto(`${server.url}engine-simd.mjs`);  // any document of that origin
    const figures = {};
    for (const form of ['simd', 'scalar']) {
      figures[form] = await page.evaluate(async (url) => {
        const module = await (await import(url)).default();
        return module.run(0.25);
      }, `${server.url}engine-${form}.mjs`);
    }
    const rows = (text) => text.trim().split('\n').map((line) => line.split('\t'));
    const simd = rows(figures.simd), scalar = rows(figures.scalar);
    assert.deepEqual(simd.map((r) => r[0]), scalar.map((r) => r[0]));
    console.log(`# MB/s in Chromium, UTF-16, 1 MB: ${'SIMD'.padStart(6)} ${'scalar'.padStart(7)}`);
    simd.forEach(([name, mbs], i) => {
      assert.ok(Number(mbs) > 0 && Number(scalar[i][1]) > 0, name);
      console.log(`# ${name.padEnd(54)} ${mbs.padStart(6)} ${scalar[i][1].padStart(7)}`);
    });
  } finally {
    await browser.close();
    await server.close();
  }
});
