// The converter as the page uses it: the WebAssembly core, which also tells
// the direction of a text, its digits and Chinese characters and whether it
// is traditional; codes laid out for forms; the look-up of each character.

// The smallest module with a SIMD instruction (i8x16.popcnt of a splat): a
// browser that validates it runs the core built with SIMD, any other the core
// built without (yishu-scalar). The service worker keeps the same one.
const SIMD_PROBE = new Uint8Array([
  0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11]);
export const SIMD = WebAssembly.validate(SIMD_PROBE);

export const CODE_TO_CHAR = 0;
export const CHAR_TO_CODE = 1;
export const MAINLAND = 0;
export const TAIWAN = 1;
export const ECCC = 2;
// Every book the page offers, those for traditional text first.
export const BOOKS = [TAIWAN, ECCC, MAINLAND];
const utf16 = new TextDecoder('utf-16le');
const wellFormed = (text) => (typeof text.isWellFormed === 'function' ? text.isWellFormed() : false);

// The core writes each code with a space after it and passes everything else
// through. Lined up with the input, its output is read as each character of
// the input with its code, or without one; null where the two do not line up
// (no code point of the input converts to text starting with itself, so a
// passed-through character is always seen as such).
//
// Codes for forms: each code stands one space apart from whatever is next to
// it (another code, a number, a character without a code), so that the text
// reads back as it was written ("房间302号" gives "2075 7035 302 5714", not
// "3025714"). The user's spaces next to a code merge into that one space, so
// "陳 大文" gives single spaces; no line ends in a space after a code. Other
// text, its own spaces included, stays as it was. The Chinese characters
// passed through are those without a code: `uncoded` (each once) and their
// count.
//
// One pass over units, with no object per character: a 100,000-character
// paste goes through here.
const START = 0;
const CODE = 1;
const TEXT = 2;
const isAsciiDigit = (u) => u >= 48 && u <= 57;
export function codesForForms(input, output, isHan) {
  let out = '';
  let spaces = '';
  let last = START;  // what the line holds so far: nothing, a code, or text
  const uncoded = new Set();
  let uncodedCount = 0;
  let j = 0;
  for (let i = 0; i < input.length;) {
    const c = input.codePointAt(i);
    const n = c > 0xffff ? 2 : 1;
    const passed = output.charCodeAt(j) === input.charCodeAt(i) &&
      (n === 1 || output.charCodeAt(j + 1) === input.charCodeAt(i + 1));
    if (passed) {
      const ch = n === 1 ? input[i] : input.slice(i, i + 2);
      i += n;
      j += n;
      if (ch === ' ') {
        spaces += ' ';
        continue;
      }
      if (ch === '\n') {
        out += (last === TEXT ? spaces : '') + '\n';
        last = START;
      } else {
        out += (last === CODE ? ' ' : spaces) + ch;
        last = TEXT;
        // Every ideograph block lies above U+3400: below it, the core is not asked.
        if (c >= 0x3400 && isHan(ch)) {
          uncoded.add(ch);
          ++uncodedCount;
        }
      }
    } else {
      if (output.charCodeAt(j + 4) !== 32 || !isAsciiDigit(output.charCodeAt(j)) ||
          !isAsciiDigit(output.charCodeAt(j + 1)) || !isAsciiDigit(output.charCodeAt(j + 2)) ||
          !isAsciiDigit(output.charCodeAt(j + 3))) return null;
      if (last !== START) out += ' ';
      out += output.slice(j, j + 4);
      last = CODE;
      i += n;
      j += 5;
    }
    spaces = '';
  }
  if (j !== output.length) return null;
  return { text: last === CODE ? out : out + spaces, uncoded: [...uncoded], uncodedCount };
}

export class Converter {
  constructor(core, module = null, simd = SIMD) {
    this.core = core;
    this.module = module;  // the compiled core, for a worker to instantiate
    this.simd = simd;  // which of the two builds it is
    this.charCache = new Map();
    this.books = new Map();
  }

  guessDirection(text) { return this.core.guessDirection(text); }
  looksTraditional(text) { return this.core.looksTraditional(text); }
  isHan(ch) { return this.core.isHan(ch.codePointAt(0)); }
  isDigit(ch) { return this.core.isDigit(ch.codePointAt(0)); }

  // The character of a code in a book (e-CCC's traditional form), '' for none.
  characterOf(book, code) {
    const c = this.core.characterOf(book, Number(code), 0);
    return c ? String.fromCodePoint(c) : '';
  }

  // The core's last result, read from its memory: unit by unit where the
  // input has lone surrogates, which TextDecoder would turn into U+FFFD and
  // the core passes through as they are.
  output(units, exact) {
    const at = this.core.outputData() >>> 1;
    const heap = this.core.HEAPU16.subarray(at, at + units);
    let out = '';
    if (!exact) out = utf16.decode(heap);
    else for (let i = 0; i < units; i += 8192) out += String.fromCharCode.apply(null, heap.subarray(i, i + 8192));
    if (units > 65536) this.core.release();
    return out;
  }

  // request: {direction, book, variants, asWritten, script (e-CCC's form: 0
  // traditional, 1 simplified), standardForms}. Returns the text to show, the
  // core's report of what happened, the doubtful runs of digits as written
  // (`doubtful`: four digits next to a letter, a currency sign or 年月日號号,
  // converted but worth checking) and, going to codes, the Chinese
  // characters left without a code (`uncoded`, each once) and their count.
  convert(request, text) {
    // Nothing to convert, and the core is not asked: its first conversion
    // builds its look-up tables, which the page leaves until they are needed.
    if (!text) return { text: '', report: {}, doubtful: [], uncoded: [], uncodedCount: 0 };
    const { units, doubtful: places, ...report } = this.core.convert({ script: 0, standardForms: false, ...request }, text);
    const output = this.output(units, !wellFormed(text));
    const doubtful = places.map(({ offset, units: n }) => text.slice(offset, offset + n));
    if (request.direction !== CHAR_TO_CODE) return { text: output, report, doubtful, uncoded: [], uncodedCount: 0 };
    const forms = codesForForms(text, output, (ch) => this.isHan(ch));
    if (!forms) return { text: output, report, doubtful, uncoded: [], uncodedCount: 0 };
    const { text: codes, uncoded, uncodedCount } = forms;
    return { text: codes, report, doubtful, uncoded, uncodedCount };
  }

  // The core builds its look-up tables on first use (some 100 ms on a
  // phone); building them right after loading spares the first keystroke.
  warmUp() {
    for (const book of BOOKS) {
      for (const direction of [CODE_TO_CHAR, CHAR_TO_CODE]) {
        this.convert({ direction, book, variants: true, asWritten: true }, '0022 中');
      }
    }
    this.lookup('中');
  }

  // The codes of one character (a string of one code point) in every book,
  // indexed by book, each as {code, via, ambiguous, choices}: via is the
  // variant the code was found through (or ''), choices the variants and
  // codes that disagree.
  lookup(ch) {
    let info = this.charCache.get(ch);
    if (!info) {
      info = [];
      for (const book of BOOKS) {
        const e = this.core.lookup(book, ch.codePointAt(0));
        info[book] = { code: e.code, via: e.via ? String.fromCodePoint(e.via) : '', ambiguous: e.ambiguous, choices: e.choices };
      }
      this.charCache.set(ch, info);
    }
    return info;
  }

  // The rows of the per-character table: every character of the Chinese side
  // of the conversion (the input going to codes, the output coming from
  // them) other than ASCII and spaces; at most `limit` of them, and the count.
  // A row looks its character up when its codes are first read: the table
  // lays out its first rows only.
  characters(text, limit = Infinity) {
    const rows = [];
    let total = 0;
    const lookup = (ch) => this.lookup(ch);
    for (let i = 0; i < text.length; i++) {
      const c = text.codePointAt(i);
      if (c > 0xffff) ++i;
      if (c < 0x80 || c === 0x3000) continue;
      if (total++ < limit) {
        const ch = String.fromCodePoint(c);
        rows.push({ ch, get books() { return lookup(ch); } });
      }
    }
    return { rows, total };
  }

  // The codes written in a text: its runs of digits (full-width ones too),
  // in groups of four. A run of another length is returned as it is.
  codesIn(text) {
    const codes = [];
    let run = '';
    const flush = () => {
      if (run.length % 4 === 0) for (let i = 0; i < run.length; i += 4) codes.push(run.slice(i, i + 4));
      else codes.push(run);
      run = '';
    };
    for (const ch of text) {
      if (this.isDigit(ch)) run += String((ch.codePointAt(0) - 0x30) % 0xfee0);
      else if (run) flush();
    }
    if (run) flush();
    return codes;
  }

  // The book as [{code, ch}] in code order.
  book(which) {
    let rows = this.books.get(which);
    if (!rows) {
      rows = this.core
        .bookList(which, 0)
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

// The core, from `compiled` (a WebAssembly.Module of the build `simd` says,
// which the page's converter holds) where given: the worker for long texts
// neither downloads nor compiles it again.
export async function loadConverter(compiled = null, simd = SIMD) {
  const { default: loadYishu } = await (simd ? import('./yishu.mjs') : import('./yishu-scalar.mjs'));
  const url = new URL(simd ? './yishu.wasm' : './yishu-scalar.wasm', import.meta.url);
  let module = compiled;
  let failed;
  const failure = new Promise((_, reject) => { failed = reject; });
  const instantiateWasm = (imports, receive) => {
    const instantiated = compiled
      ? WebAssembly.instantiate(compiled, imports).then((instance) => ({ instance, module: compiled }))
      // A server that sends the module with another type than application/wasm
      // defeats compiling while it downloads, not loading.
      : WebAssembly.instantiateStreaming(fetch(url, { credentials: 'same-origin' }), imports).catch(() =>
        fetch(url, { credentials: 'same-origin' }).then((r) => r.arrayBuffer()).then((b) => WebAssembly.instantiate(b, imports)));
    instantiated.then(({ instance, module: m }) => {
      module = m;
      receive(instance, m);
    }, failed);
    return {};
  };
  const core = await Promise.race([loadYishu({ instantiateWasm }), failure]);
  return new Converter(core, module, simd);
}
