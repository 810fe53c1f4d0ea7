// The installed npm package, imported by name from a project of its own,
// over the shared cases, streaming, look-up, the report and its types.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { test } from 'node:test';
import * as yishu from 'yishu';

const cases = readFileSync(process.env.YISHU_CASES, 'utf8')
  .split('\n')
  .map((line, i) => [line, i + 1])
  .filter(([line]) => line && !line.startsWith('#'))
  .map(([line, number]) => {
    const unescape = (s) => s.replace(/\\(.)/g, (_, c) => ({ n: '\n', r: '\r', t: '\t', '\\': '\\' })[c]);
    const [direction, input, expected] = line.split('\t');
    return { direction: direction === 'to-codes' ? 'toCodes' : 'toChars', input: unescape(input), expected: unescape(expected), number };
  });

test('the shared cases, whole and fed one unit at a time', () => {
  assert.ok(cases.length > 40);
  for (const c of cases) {
    const message = `conversion.tsv line ${c.number}`;
    const convert = c.direction === 'toCodes' ? yishu.encode : yishu.decode;
    assert.equal(convert(c.input), c.expected, message);
    const converter = new yishu.Converter(c.direction);
    let out = '';
    for (let i = 0; i < c.input.length; ++i) out += converter.feed(c.input[i]);
    assert.equal(out + converter.finish(), c.expected, message);
    converter.free();
  }
});

test('a name both ways, lone surrogates untouched', () => {
  assert.equal(yishu.encode('陳大文', { book: 'taiwan' }), '7115 1129 2429 ');
  assert.equal(yishu.decode('7115 1129 2429', { book: 'taiwan', reading: 'asWritten' }), '陳大文');
  // Long enough that a TextDecoder on the way would have replaced them.
  const odd = '\ud800' + 'a'.repeat(40) + '中\udfff';
  assert.equal(yishu.encode(odd), '\ud800' + 'a'.repeat(40) + '0022 \udfff');
  assert.equal(yishu.decode(odd), odd);
});

test('the report and look-up', () => {
  const { text, report } = yishu.convert('1129-12345 0022', { direction: 'toChars', reading: 'asWritten' });
  assert.equal(text, '大-12345 中');
  assert.deepEqual(report.kept, [{ offset: 5, units: 5, digits: 5 }]);
  assert.deepEqual(yishu.convert('衛', { direction: 'toCodes', book: 'taiwan' }).report.throughChars,
    [{ character: '衛', variant: '衞', code: 5898, sources: 68 }]);
  assert.equal(yishu.encode('衛', { book: 'taiwan', variants: 'none' }), '衛');
  assert.equal(yishu.decode('7115 1129 2429 ', { book: 'eccc', script: 'simplified' }), '陈大文');
  assert.equal(yishu.decode('5898 ', { book: 'taiwan', standardForms: true }), '衛');
  assert.deepEqual(yishu.lookup('衛').mainland, [{ code: '5898', via: '卫', sources: 1, produced: true }]);
  assert.equal(yishu.character('0022'), '中');
  assert.equal(yishu.character(0), null);
  assert.throws(() => yishu.encode('中', { book: 'nowhere' }), RangeError);
  assert.throws(() => yishu.encode('中', { variants: true }), RangeError);
});

test('a stream of pieces', async () => {
  const pieces = ['00', '22 24', '29 \n'.repeat(1), '0022'];
  const stream = new ReadableStream({ start(c) { pieces.forEach((p) => c.enqueue(p)); c.close(); } });
  let out = '';
  for await (const piece of stream.pipeThrough(new yishu.Converter('toChars').stream())) out += piece;
  assert.equal(out, '中文\n0022');
});

test('the type declarations name every export', () => {
  const require = createRequire(import.meta.url);
  const declarations = readFileSync(require.resolve('yishu/package.json').replace(/package\.json$/, 'index.d.ts'), 'utf8');
  const declared = [...declarations.matchAll(/^export (?:const|function|class) (\w+)/gm)].map((m) => m[1]);
  assert.deepEqual(declared.sort(), Object.keys(yishu).sort());
});
