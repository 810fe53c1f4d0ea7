// Typing and pasting in both directions and both books: the result and the
// per-character table agree with the core's own answers.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { choose, openPage, paste } from './browser.mjs';
import { closeCheckedPage, coreCodes, coreConvert, coreDoubtful, openCheckedPage } from './oracle.mjs';

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
before(async () => {
  ({ browser, page, site } = await openCheckedPage());
});
after(() => closeCheckedPage({ browser, site }));

// Codes to characters, the page shows what the core gives. Characters to
// codes, the page lays the same codes and text out for forms: only spaces
// differ, and never two stand beside a code.
function assertSameAsCore(shown, core, input, label = JSON.stringify(input), direction = 0) {
  if (!direction) return assert.equal(shown, core, label);
  assert.equal(shown.replaceAll(' ', ''), core.replaceAll(' ', ''), `${label}: ${JSON.stringify(shown)}`);
  assert.doesNotMatch(shown, /\d{4}  | {2}\d{4}/, `${label}: ${JSON.stringify(shown)}`);
}

async function tableRows() {
  return page.$$eval('#chars tbody tr', (trs) =>
    trs.map((tr) => [...tr.children].map((c) => c.querySelector('button')?.dataset.copy ?? '')
      .map((code, i) => (i === 0 ? tr.children[0].textContent : code))));
}

function settings() {
  const books = [0, 1];
  const readings = [false, true];
  const variants = [false, true];
  return books.flatMap((book) => readings.flatMap((asWritten) =>
    variants.map((v) => ({ book, asWritten, variants: v }))));
}

describe('pasting converts as the core does', () => {
  for (const [direction, cases] of [[1, CHARS_TO_CODES], [0, CODES_TO_CHARS]]) {
    test(direction ? 'characters to codes' : 'codes to characters', async () => {
      for (const s of settings()) {
        const request = { ...s, direction };
        await choose(page, request);
        for (const text of cases) {
          await page.fill('#input', '');
          await paste(page, '#input', text);
          const typed = await page.inputValue('#input');
          assert.equal(typed, text.replaceAll('\r\n', '\n'));
          assertSameAsCore(await page.inputValue('#output'), coreConvert(request, typed), typed, JSON.stringify(typed), direction);
        }
      }
    });
  }
});

async function sharedCasesIn(tab) {
  assert.ok(SHARED_CASES.length > 40, `${SHARED_CASES.length} cases read`);
  for (const c of SHARED_CASES) {
    await choose(tab, { direction: c.direction, book: 0, asWritten: false, variants: false });
    await tab.fill('#input', '');
    await paste(tab, '#input', c.input);
    const typed = await tab.inputValue('#input');
    const shown = await tab.inputValue('#output');
    // A text area keeps only LF line breaks: a case with CR is checked
    // against the core on the text as the page holds it.
    const expected = c.input.includes('\r') ? coreConvert({ direction: c.direction, book: 0 }, typed) : c.expected;
    assertSameAsCore(shown, expected, typed, `${JSON.stringify(c.input)} (${c.what})`, c.direction);
  }
}

test('the shared conversion cases give their results', () => sharedCasesIn(page));

// A browser without WebAssembly SIMD gets the core built without it.
test('without SIMD, the page loads the scalar core, which converts the same', async () => {
  assert.ok(site.requests.includes('/yishu.wasm') && !site.requests.includes('/yishu-scalar.wasm'), site.requests.join());
  const { page: tab, context, site: scalarSite } = await openPage(browser, { script: () => { WebAssembly.validate = () => false; } });
  try {
    assert.ok(scalarSite.requests.includes('/yishu-scalar.wasm'), scalarSite.requests.join());
    await sharedCasesIn(tab);
  } finally {
    await context.close();
    await scalarSite.close();
  }
});

test('typing converts after every keystroke', async () => {
  for (const [direction, text] of [[0, '0022 2429 1129'], [1, '陳大文 中']]) {
    await choose(page, { direction, book: 0, asWritten: false, variants: true });
    await page.fill('#input', '');
    await page.focus('#input');
    for (let i = 0; i < text.length; ++i) {
      await page.keyboard.type(text[i]);
      const typed = text.slice(0, i + 1);
      assertSameAsCore(await page.inputValue('#output'),
        coreConvert({ direction, book: 0, variants: true }, typed), typed, typed, direction);
    }
  }
});

test('the table lists each character with its code in each book', async () => {
  // The table always looks through variants. Its columns: the Hong
  // Kong/Macau/Taiwan book, e-CCC, then the mainland book (telecode checks
  // the first and the last).
  const variants = true;
  const columns = { 1: 1, 0: 3 };
  await choose(page, { direction: 1, book: 0, asWritten: false, variants: true });
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
  for (const [book, column] of Object.entries(columns)) {
    const codes = coreCodes(chars, { book: Number(book), variants });
    assert.deepEqual(rows.map((r) => r[column]), codes, `book ${book}`);
  }
});

test('the direction follows the input unless the user chooses one', async () => {
  await choose(page, { direction: 'auto', book: 0, asWritten: true });
  const cases = [
    ['0022 2429 ', 0],
    ['中文', 1],
    ['电码：0022 ', 1],       // a character comes first
    ['No. 0022 中', 0],        // a digit comes first
    ['０００１ ', 0],          // full-width digits, as an input method types them
  ];
  for (const [text, direction] of cases) {
    await page.fill('#input', text);
    assertSameAsCore(await page.inputValue('#output'), coreConvert({ direction, book: 0, asWritten: true }, text), text, text, direction);
    assert.match(await page.textContent('#summary'), direction ? /^汉字→电码/ : /^电码→汉字/);
  }
  await page.fill('#input', '0022 ');
  await choose(page, { direction: 1 });
  assert.equal(await page.inputValue('#output'), '0022 ', 'chosen direction wins');
  await choose(page, { direction: 'auto' });
  assert.equal(await page.inputValue('#output'), '中');
});

test('codes for forms: one space beside each code, none at the end of a line', async () => {
  // [typed, book, variants, result]
  const cases = [
    ['中文', 0, false, '0022 2429'],
    ['中文 ', 0, false, '0022 2429'],
    ['中\n文\n', 0, false, '0022\n2429\n'],
    ['中 \r\n文', 0, false, '0022\n2429'],
    ['中a', 0, false, '0022 a'],
    ['陳 大文', 1, true, '7115 1129 2429'],
    ['陳  大文', 1, true, '7115 1129 2429'],
    ['房间302号', 0, false, '2075 7035 302 5714'],   // reads back as 房间302号, not 3025714
    ['衛志强', 0, false, '衛 1807 1730'],
    ['ID: 中 文', 0, false, 'ID: 0022 2429'],
    ['Mr  Wong', 0, false, 'Mr  Wong'],               // text without codes is left as it is
  ];
  for (const [text, book, variants, expected] of cases) {
    await choose(page, { direction: 1, book, variants });
    await page.fill('#input', text);
    assert.equal(await page.inputValue('#output'), expected, JSON.stringify(text));
  }
});

test('a lone surrogate in the input comes out as it went in, in short and long texts', async () => {
  // [direction, text]: ~ stands where the lone surrogate goes; the result
  // must be the result of the text with ~, the surrogate in its place.
  const cases = [
    [1, '中~文'],
    [1, `${'中文'.repeat(10)}~中`],
    [0, '0022 ~ 2429'],
    [0, `${'0022 '.repeat(6)}~ 2429`],
    [0, `${'0022 2429\n'.repeat(1200)}~`],   // long: converts in the worker
  ];
  for (const [direction, text] of cases) {
    await choose(page, { direction, book: 0, asWritten: true });
    for (const lone of [0xd800, 0xdc00]) {
      const same = await page.evaluate(async ([value, unit]) => {
        const input = document.getElementById('input');
        const output = document.getElementById('output');
        const convert = async (v) => {
          input.value = v;
          input.dispatchEvent(new InputEvent('input', { bubbles: true, inputType: 'insertFromPaste' }));
          while (output.hasAttribute('aria-busy')) await new Promise((resolve) => setTimeout(resolve, 20));
          return output.value;
        };
        const surrogate = String.fromCharCode(unit);
        const expected = (await convert(value)).replaceAll('~', surrogate);
        const shown = await convert(value.replaceAll('~', surrogate));
        return shown === expected || `${[...shown.slice(-40)].map((c) => c.charCodeAt(0).toString(16))}`;
      }, [text, lone]);
      assert.equal(same, true, `${JSON.stringify(text.slice(0, 40))}, U+${lone.toString(16)}`);
    }
  }
});

test('codes read as written beside a letter, a currency sign or 年 are named, to check', async () => {
  // [interface, codes read as written, text, the runs named]
  const cases = [
    ['zh-Hant', true, 'HK$1999', ['1999']],
    ['zh-Hans', true, '1949年 Tel2345', ['1949', '2345']],
    ['en', true, 'HK$1999 1949年', ['1999', '1949']],
    ['zh-Hant', true, '電話 2345 6789', []],     // a space apart from the characters
    ['en', false, 'HK$1999 ', []],               // the typing rule reads no such runs
  ];
  const word = { 'zh-Hant': '價錢', 'zh-Hans': '价钱', en: 'price' };
  for (const [lang, asWritten, text, runs] of cases) {
    const request = { direction: 0, book: 1, asWritten };
    await choose(page, request);
    await page.selectOption('#language', lang);
    await page.fill('#input', text);
    assert.equal(coreDoubtful(request, text), runs.length, `telecode on ${text}`);
    const report = (await page.isVisible('#report')) ? await page.textContent('#report-text') : '';
    assert.equal(report.includes(word[lang]), runs.length > 0, `${lang} ${text}: ${report}`);
    if (runs.length) assert.ok(report.includes(`${runs.length}`) && report.includes(runs.join(lang === 'en' ? ', ' : '、')), report);
  }
  await page.selectOption('#language', 'zh-Hans');
});
