// The whole page, code books included, stays small enough to load fast on a
// phone: under 500 KB as a server sends it compressed, whichever build of the
// core the browser loads.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readdir, readFile } from 'node:fs/promises';
import { join } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { SITE } from './browser.mjs';

const BUDGET = 500_000;

// A browser loads one of the core's two builds: with SIMD (yishu) or without
// (yishu-scalar).
const BUILDS = { simd: /^yishu-scalar\./, scalar: /^yishu\.(mjs|wasm)$/ };

test('the page weighs less than 500 KB compressed', async () => {
  const files = [];
  for (const name of (await readdir(SITE)).sort()) {
    const data = await readFile(join(SITE, name));
    const gzip = gzipSync(data, { level: 9 }).length;
    const brotli = brotliCompressSync(data, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length;
    files.push({ name, raw: data.length, gzip, brotli });
  }
  const row = (name, raw, g, b) => `#   ${name.padEnd(22)} ${String(raw).padStart(8)} ${String(g).padStart(8)} ${String(b).padStart(8)}`;
  console.log(row('file', 'bytes', 'gzip -9', 'brotli'));
  for (const f of files) console.log(row(f.name, f.raw, f.gzip, f.brotli));
  assert.ok(files.some((f) => f.name === 'yishu.wasm') && files.some((f) => f.name === 'yishu-scalar.wasm'), 'both builds of the converter are part of the page');
  for (const [build, other] of Object.entries(BUILDS)) {
    const loaded = files.filter((f) => !other.test(f.name));
    const sum = (key) => loaded.reduce((n, f) => n + f[key], 0);
    console.log(row(`all, ${build}`, sum('raw'), sum('gzip'), sum('brotli')));
    assert.ok(sum('gzip') < BUDGET, `${sum('gzip')} bytes with gzip, ${build}`);
  }
});
