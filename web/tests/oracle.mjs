// The core's own answers, from the native command-line converter telecode:
// what the page shows must agree with them.
import { execFileSync, spawnSync } from 'node:child_process';
import { launch, openPage } from './browser.mjs';

const TELECODE = process.env.YISHU_TELECODE;
if (!TELECODE) throw new Error('YISHU_TELECODE must name the native telecode (build/native/cli/telecode)');

export function telecode(args, input) {
  return execFileSync(TELECODE, args, { input, encoding: 'utf8', maxBuffer: 1 << 28 });
}

// A browser with the served page for one test file. `options` go to openPage.
export async function openCheckedPage(options) {
  const browser = await launch();
  try {
    const { page, site } = await openPage(browser, options);
    return { browser, page, site };
  } catch (e) {
    await browser.close();
    throw e;
  }
}

export async function closeCheckedPage({ browser, site }) {
  await browser?.close();
  await site?.close();
}

// A repeatable long text for the speed and long-paste tests: `length`
// characters (the last a line break) drawn from the code book's first `from`
// entries, characters (direction 1) or codes with a space after each, with a
// line break now and then.
export function longText(direction, { length = 100_000, from = Infinity, seed = 7 } = {}) {
  const book = telecode(['--list'], '').trim().split('\n').slice(0, from).map((l) => l.split('\t'));
  // The high bits: the low ones of this generator repeat after a few steps.
  const next = () => (seed = (seed * 1103515245 + 12345) % 2147483648) >>> 12;
  const parts = [];
  for (let n = 0; n < length;) {
    const [code, ch] = book[next() % book.length];
    const piece = next() % 40 === 0 ? '\n' : direction === 1 ? ch : `${code} `;
    parts.push(piece);
    n += piece.length;
  }
  return parts.join('').slice(0, length - 1) + '\n';
}

// request: {direction: 0 codes to characters | 1, book: 0 | 1 | 2 (e-CCC), variants, asWritten}
export function coreConvert(request, text) {
  return telecode(argsOf(request), text);
}

// How many runs of four digits the core calls worth checking (beside a
// letter, a currency sign or 年), by the lines telecode writes about them.
export function coreDoubtful(request, text) {
  const { stderr } = spawnSync(TELECODE, argsOf(request), { input: text, encoding: 'utf8' });
  return stderr.split('\n').filter((line) => line.endsWith('converted as a code')).length;
}

function argsOf(request) {
  const args = [];
  if (request.direction === 0) args.push('-d');
  if (request.book) args.push('--book', request.book === 1 ? 'taiwan' : 'eccc');
  // Variants only matter when characters are coded, the reading of codes only
  // when codes are read; telecode refuses either in the other direction.
  if (request.variants && request.direction === 1) args.push('--variants');
  if (request.asWritten && request.direction === 0) args.push('--as-written');
  return args;
}

// The code of each character in one book, with variant look-up as asked: the
// character alone on a line converts to its code and a space, or stays.
export function coreCodes(chars, request) {
  const lines = coreConvert({ ...request, direction: 1 }, chars.join('\n')).split('\n');
  return lines.map((line) => (/^\d{4} $/.test(line) ? line.trim() : ''));
}
