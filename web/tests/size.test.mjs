// The whole page, code books included, stays small enough to load fast on a
// phone: under 500 KB as a server sends it compressed.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readdir, readFile } from 'node:fs/promises';
import { join } from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { SITE } from './browser.mjs';

const BUDGET = 500_000;

test('the page weighs less than 500 KB compressed', async () => {
  let raw = 0, gzip = 0, brotli = 0;
  const rows = [];
  for (const name of (await readdir(SITE)).sort()) {
    const data = await readFile(join(SITE, name));
    const g = gzipSync(data, { level: 9 }).length;
    const b = brotliCompressSync(data, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length;
    raw += data.length; gzip += g; brotli += b;
    rows.push(`#   ${name.padEnd(22)} ${String(data.length).padStart(8)} ${String(g).padStart(8)} ${String(b).padStart(8)}`);
  }
  console.log(`#   ${'file'.padEnd(22)} ${'bytes'.padStart(8)} ${'gzip -9'.padStart(8)} ${'brotli'.padStart(8)}`);
  for (const row of rows) console.log(row);
  console.log(`#   ${'all'.padEnd(22)} ${String(raw).padStart(8)} ${String(gzip).padStart(8)} ${String(brotli).padStart(8)}`);
  assert.ok(rows.some((r) => r.includes('yishu.wasm')), 'the converter is part of the page');
  assert.ok(gzip < BUDGET, `${gzip} bytes with gzip`);
});
