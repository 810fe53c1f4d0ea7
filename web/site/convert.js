// The converter as the page uses it: the WebAssembly core, the direction read
// from the input, and the look-up of each character in both books.
import loadYishu from './yishu.mjs';

export const CODE_TO_CHAR = 0;
export const CHAR_TO_CODE = 1;
export const MAINLAND = 0;
export const TAIWAN = 1;

const isDigit = (c) => (c >= 0x30 && c <= 0x39) || (c >= 0xff10 && c <= 0xff19);
// CJK ideographs, their extensions and compatibility forms.
const isHan = (c) =>
  (c >= 0x3400 && c <= 0x9fff) || (c >= 0xf900 && c <= 0xfaff) || (c >= 0x20000 && c <= 0x3ffff);

// Digits mean codes, Chinese characters mean text: whichever comes first
// decides. Empty or undecided input reads as codes.
export function detectDirection(text) {
  for (const ch of text) {
    const c = ch.codePointAt(0);
    if (isDigit(c)) return CODE_TO_CHAR;
    if (isHan(c)) return CHAR_TO_CODE;
  }
  return CODE_TO_CHAR;
}

// The core writes a space after every code. For forms, the one it wrote at
// the end of a line goes; any space the user typed stays. Line breaks pass
// through the conversion unchanged, so input and output lines pair up. (A
// text area's value has only LF line breaks.)
export function tidyCodes(input, output) {
  const inLines = input.split('\n');
  const outLines = output.split('\n');
  if (inLines.length !== outLines.length) return output;
  return outLines
    .map((line, i) => (line.endsWith(' ') && !inLines[i].endsWith(' ') ? line.slice(0, -1) : line))
    .join('\n');
}

export class Converter {
  constructor(core) {
    this.core = core;
    this.features = core.features();
    this.charCache = new Map();
    this.books = new Map();
  }

  // request: {direction, book, variants, asWritten}. Returns the text to show
  // and the core's report of what happened.
  convert(request, text) {
    const r = {
      direction: request.direction,
      book: this.features.taiwan ? request.book : MAINLAND,
      variants: this.features.variants && request.variants,
      asWritten: this.features.asWritten && request.asWritten,
    };
    const { text: output, ...report } = this.core.convert(r, text);
    return { text: r.direction === CHAR_TO_CODE ? tidyCodes(text, output) : output, report };
  }

  // The core builds its look-up tables on first use (some 100 ms on a
  // phone); building them right after loading spares the first keystroke.
  warmUp() {
    for (const book of this.features.taiwan ? [MAINLAND, TAIWAN] : [MAINLAND]) {
      for (const direction of [CODE_TO_CHAR, CHAR_TO_CODE]) {
        this.convert({ direction, book, variants: true, asWritten: false }, '0022 中');
      }
    }
    this.lookup('中');
  }

  // The codes of one character (a string of one code point) in both books,
  // each as {code, via, ambiguous, choices}: via is the variant the code was
  // found through (or ''), choices the variants and codes that disagree.
  lookup(ch) {
    let info = this.charCache.get(ch);
    if (!info) {
      const raw = this.core.lookupChar(ch.codePointAt(0));
      const entry = (e) => ({
        code: e.code,
        via: e.via ? String.fromCodePoint(e.via) : '',
        ambiguous: e.ambiguous,
        choices: e.choices ?? '',
      });
      info = { mainland: entry(raw.mainland), taiwan: entry(raw.taiwan) };
      this.charCache.set(ch, info);
    }
    return info;
  }

  // The rows of the per-character table: every character of the Chinese side
  // of the conversion (the input going to codes, the output coming from
  // them) other than ASCII and spaces; at most `limit` of them, and the count.
  characters(text, limit = Infinity) {
    const rows = [];
    let total = 0;
    for (const ch of text) {
      const c = ch.codePointAt(0);
      if (c < 0x80 || c === 0x3000) continue;
      if (total++ < limit) rows.push({ ch, ...this.lookup(ch) });
    }
    return { rows, total };
  }

  // Characters that the Taiwan book has and the mainland book lacks mark the
  // text as traditional.
  looksTraditional(text) {
    if (!this.features.taiwan) return false;
    let seen = 0;
    for (const ch of text) {
      if (!isHan(ch.codePointAt(0))) continue;
      const info = this.lookup(ch);
      if (info.taiwan.code && !info.taiwan.via && (!info.mainland.code || info.mainland.via)) return true;
      if (++seen > 2000) break;  // a long text shows it early
    }
    return false;
  }

  // The book as [{code, ch}] in code order.
  book(which) {
    let rows = this.books.get(which);
    if (!rows) {
      rows = this.core
        .bookList(which)
        .split('\n')
        .filter((line) => line)
        .map((line) => {
          const [code, ch] = line.split('\t');
          return { code, ch };
        });
      this.books.set(which, rows);
    }
    return rows;
  }
}

export async function loadConverter() {
  return new Converter(await loadYishu());
}
