// Typing and pasting in both directions and both books: the result and the
// per-character table agree with the core's own answers.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { paste } from './browser.mjs';
import { closeCheckedPage, coreCodes, coreConvert, openCheckedPage } from './oracle.mjs';

// The conversion cases that every face of yishu is tested with.
const SHARED_CASES = readFileSync(new URL('../../tests/cases/conversion.tsv', import.meta.url), 'utf8')
  .split('\n')
  .filter((line) => line && !line.startsWith('#'))
  .map((line) => {
    const [direction, input, expected, what] = line.split('\t').map((field) =>
      field?.replace(/\\([nrt\\])/g, (_, c) => ({ n: '\n', r: '\r', t: '\t', '\\': '\\' })[c]));
    return { direction: direction === 'to-codes' ? 1 : 0, input, expected, what };
  });

const CHARS_TO_CODES = [
  '中文',
  '中文 ',                       // the user's own space stays
  '陳大文',                      // 陳: only the Taiwan book, or a variant, has it
  '王小明\n李四\r\n',
  'ID: 张三, 1990年5月',
  '你好，世界。',
  '葉鍾線餘塵',
  '𠀀中',                        // outside the basic plane
];
const CODES_TO_CHARS = [
  '0022 2429 ',
  '7115 1129 2429',              // as on an identity card
  '0022\n2429\n',
  '5618/1947/0948',
  '0022,2429',
  '00222429',
  '99010 12345 0001  ',
  '5509 7115 ',
];

let browser, page, site;
let pageFeatures, features;  // what the page offers; what telecode can check of it
before(async () => {
  ({ browser, page, site, pageFeatures, features } = await openCheckedPage());
});
after(() => closeCheckedPage({ browser, site }));

async function choose({ direction, book, asWritten, variants }) {
  await page.check(`input[name="direction"][value="${direction}"]`);
  await page.check(`input[name="book"][value="${book}"]`);
  if (pageFeatures.includes('asWritten')) await page.setChecked('#typed-rule', !asWritten);
  if (pageFeatures.includes('variants')) await page.setChecked('#variants', variants);
}

// The page drops the space the core writes after the last code of a line,
// unless the user typed one there; otherwise it shows what the core gives.
// `input` is the text area's value (line breaks are LF there).
function assertSameAsCore(shown, core, input, label = JSON.stringify(input)) {
  const shownLines = shown.split('\n');
  const coreLines = core.split('\n');
  const inputLines = input.split('\n');
  assert.equal(shownLines.length, coreLines.length, `${label}: line count of ${JSON.stringify(shown)}`);
  shownLines.forEach((line, i) => {
    if (line === coreLines[i]) return;
    assert.ok(line + ' ' === coreLines[i] && !inputLines[i].endsWith(' '),
      `${label}, line ${i}: page ${JSON.stringify(line)}, expected ${JSON.stringify(coreLines[i])}`);
  });
}

async function tableRows() {
  return page.$$eval('#chars tbody tr', (trs) =>
    trs.map((tr) => [...tr.children].map((c) => c.querySelector('button')?.textContent ?? '')
      .map((code, i) => (i === 0 ? tr.children[0].textContent : code))));
}

function settings() {
  const books = features.includes('taiwan') ? [0, 1] : [0];
  const readings = features.includes('asWritten') ? [false, true] : [false];
  const variants = features.includes('variants') ? [false, true] : [false];
  return books.flatMap((book) => readings.flatMap((asWritten) =>
    variants.map((v) => ({ book, asWritten, variants: v }))));
}

describe('pasting converts as the core does', () => {
  for (const [direction, cases] of [[1, CHARS_TO_CODES], [0, CODES_TO_CHARS]]) {
    test(direction ? 'characters to codes' : 'codes to characters', async () => {
      for (const s of settings()) {
        const request = { ...s, direction };
        await choose(request);
        for (const text of cases) {
          await page.fill('#input', '');
          await paste(page, '#input', text);
          const typed = await page.inputValue('#input');
          assert.equal(typed, text.replaceAll('\r\n', '\n'));
          assertSameAsCore(await page.inputValue('#output'), coreConvert(request, typed), typed);
        }
      }
    });
  }
});

test('the shared conversion cases give their results', async () => {
  assert.ok(SHARED_CASES.length > 40, `${SHARED_CASES.length} cases read`);
  for (const c of SHARED_CASES) {
    await choose({ direction: c.direction, book: 0, asWritten: false, variants: false });
    await page.fill('#input', '');
    await paste(page, '#input', c.input);
    const typed = await page.inputValue('#input');
    const shown = await page.inputValue('#output');
    // A text area keeps only LF line breaks: a case with CR is checked
    // against the core on the text as the page holds it.
    const expected = c.input.includes('\r') ? coreConvert({ direction: c.direction, book: 0 }, typed) : c.expected;
    assertSameAsCore(shown, expected, typed, `${JSON.stringify(c.input)} (${c.what})`);
  }
});

test('typing converts after every keystroke', async () => {
  for (const [direction, text] of [[0, '0022 2429 1129'], [1, '陳大文 中']]) {
    await choose({ direction, book: 0, asWritten: false, variants: features.includes('variants') });
    await page.fill('#input', '');
    await page.focus('#input');
    for (let i = 0; i < text.length; ++i) {
      await page.keyboard.type(text[i]);
      const typed = text.slice(0, i + 1);
      assertSameAsCore(await page.inputValue('#output'),
        coreConvert({ direction, book: 0, variants: features.includes('variants') }, typed), typed);
    }
  }
});

test('the table lists each character with its code in each book', async (t) => {
  // The table always looks through variants where the core can.
  const variants = pageFeatures.includes('variants');
  if (variants && !features.includes('variants')) return t.skip('telecode cannot look up variants yet');
  const books = features.includes('taiwan') ? [0, 1] : [0];
  await choose({ direction: 1, book: 0, asWritten: false, variants: true });
  const text = '陳大文，葉鍾A 𠀀中';
  // The table follows the text a frame later: empty it first, so that the
  // rows read below are the new text's and not the last test's.
  await page.fill('#input', '');
  await page.waitForFunction(() => document.querySelectorAll('#chars tbody tr').length === 0);
  await page.fill('#input', text);
  await page.waitForFunction(() => document.querySelectorAll('#chars tbody tr').length > 0);
  const rows = await tableRows();
  const chars = [...'陳大文，葉鍾𠀀中'];
  assert.deepEqual(rows.map((r) => r[0]), chars);
  books.forEach((book, column) => {
    const codes = coreCodes(chars, { book, variants });
    assert.deepEqual(rows.map((r) => r[column + 1]), codes, `book ${book}`);
  });
});

test('the direction follows the input unless the user chooses one', async () => {
  await page.check('input[name="direction"][value="auto"]');
  const cases = [
    ['0022 2429 ', 0],
    ['中文', 1],
    ['电码：0022 ', 1],       // a character comes first
    ['No. 0022 中', 0],        // a digit comes first
    ['０００１ ', 0],          // full-width digits, as an input method types them
  ];
  for (const [text, direction] of cases) {
    await page.fill('#input', text);
    assertSameAsCore(await page.inputValue('#output'), coreConvert({ direction, book: 0 }, text), text);
    assert.match(await page.textContent('#detected'), direction ? /汉字→电码/ : /电码→汉字/);
  }
  await page.fill('#input', '0022 ');
  await page.check('input[name="direction"][value="1"]');
  assert.equal(await page.inputValue('#output'), '0022 ', 'chosen direction wins');
  await page.check('input[name="direction"][value="auto"]');
  assert.equal(await page.inputValue('#output'), '中');
});

test('codes for forms: no space after the last code of a line, the user\'s own spaces kept', async () => {
  await choose({ direction: 1, book: 0, asWritten: false, variants: false });
  const cases = [
    ['中文', '0022 2429'],
    ['中文 ', '0022 2429  '],
    ['中\n文\n', '0022\n2429\n'],
    ['中 \r\n文', '0022  \n2429'],
    ['中a', '0022 a'],
  ];
  for (const [text, expected] of cases) {
    await page.fill('#input', text);
    assert.equal(await page.inputValue('#output'), expected, JSON.stringify(text));
  }
});
