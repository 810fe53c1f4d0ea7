// yishu: Chinese telegraph codes and Chinese characters, both ways.
//
//   import { encode, decode } from 'yishu';
//   encode('陳大文', { book: 'taiwan' });                          // '7115 1129 2429 '
//   decode('7115 1129 2429', { book: 'taiwan', reading: 'asWritten' }); // '陳大文'
//
// The conversion is the C++ core's, compiled to WebAssembly (core.mjs, with
// the WebAssembly inside it: nothing is fetched or read at run time). This
// file only names the options.
import loadCore from './core.mjs';

const core = await loadCore();

// The numbers of yishu.h's enums.
const BOOKS = { mainland: 0, taiwan: 1, eccc: 2 };
const VARIANTS = { bookDefault: 0, none: 1, forms: 2, all: 3 };
const SCRIPTS = { traditional: 0, simplified: 1 };
const READINGS = { typed: false, asWritten: true };
const DIRECTIONS = { toCodes: true, toChars: false };

function choice(table, name, what) {
  if (!Object.hasOwn(table, name)) {
    throw new RangeError(`unknown ${what} ${JSON.stringify(name)}; known: ${Object.keys(table).join(', ')}`);
  }
  return table[name];
}

function text(value) {
  if (typeof value !== 'string') throw new TypeError(`expected a string, not ${typeof value}`);
  return value;
}

// The core's options, made once for each set of settings and kept.
const optionsMade = new Map();
function settings({ book = 'mainland', variants = 'bookDefault', reading = 'typed', script = 'traditional', standardForms = false } = {}) {
  const key = `${book}|${variants}|${reading}|${script}|${Boolean(standardForms)}`;
  let options = optionsMade.get(key);
  if (!options) {
    options = new core.Options(choice(BOOKS, book, 'book'), choice(VARIANTS, variants, 'variants'),
      choice(READINGS, reading, 'reading'), choice(SCRIPTS, script, 'script'), Boolean(standardForms));
    optionsMade.set(key, options);
  }
  return options;
}

// Texts go into the core's input area unit by unit and come out of its
// output. Node's Buffer reads the output fast and exactly. A browser's
// TextDecoder reads it fast but turns lone surrogates into U+FFFD, so there a
// text that has any (isWellFormed) is read unit by unit.
const NodeBuffer = globalThis.Buffer;
const utf16 = new TextDecoder('utf-16le');
const wellFormed = (value) => (typeof value.isWellFormed === 'function' ? value.isWellFormed() : false);

function put(value) {
  const n = text(value).length;
  const at = core.inputArea(n) >>> 1;
  const heap = core.HEAPU16; // after inputArea, which may grow the memory
  for (let i = 0; i < n; ++i) heap[at + i] = value.charCodeAt(i);
}

function take(n, exact) {
  const at = core.outputData() >>> 1;
  const units = core.HEAPU16.subarray(at, at + n);
  let out = '';
  if (NodeBuffer) {
    out = NodeBuffer.from(units.buffer, units.byteOffset, units.byteLength).toString('utf16le');
  } else if (!exact) {
    out = utf16.decode(units);
  } else {
    for (let i = 0; i < n; i += 8192) out += String.fromCharCode.apply(null, units.subarray(i, i + 8192));
  }
  if (n > 65536) core.release();
  return out;
}

function run(input, toCodes, options, withReport) {
  put(input);
  const out = take(core.convert(toCodes, settings(options), withReport), !wellFormed(input));
  return withReport ? { text: out, report: core.lastReport() } : out;
}

/** The library's version, "MAJOR.MINOR.PATCH". */
export const version = core.version();

/** Converts a whole text; returns { text, report }. */
export function convert(input, { direction, ...options } = {}) {
  return run(input, choice(DIRECTIONS, direction, 'direction'), options, true);
}

/** Characters to codes: 中文 -> '0022 2429 '. */
export function encode(input, { book, variants } = {}) {
  return run(input, true, { book, variants }, false);
}

/** Codes to characters: '0022 2429 ' -> 中文. */
export function decode(input, { book, reading, script, standardForms } = {}) {
  return run(input, false, { book, reading, script, standardForms }, false);
}

// A converter the garbage collector frees frees its core too; free() does so
// at once.
const cores = new FinalizationRegistry((converter) => converter.delete());

/** Converts a text that comes in pieces, in constant memory. */
export class Converter {
  #core;
  #exact = false; // a piece of this text had a lone surrogate, which may come out later

  constructor(direction, options = {}) {
    this.#core = new core.Converter(choice(DIRECTIONS, direction, 'direction'), settings(options));
    cores.register(this, this.#core, this);
  }

  #live() {
    if (!this.#core) throw new Error('this Converter was freed');
    return this.#core;
  }

  /** Converts the next piece; returns what no later piece can change. */
  feed(piece) {
    const converter = this.#live();
    put(piece);
    this.#exact ||= !wellFormed(piece);
    return take(converter.feed(), this.#exact);
  }

  /** The rest of the output; the converter then takes a new text. */
  finish() {
    const out = take(this.#live().finish(), this.#exact);
    this.#exact = false;
    return out;
  }

  /** What happened in the text so far. */
  get report() {
    return this.#live().report();
  }

  /** Frees the converter's memory now. */
  free() {
    if (!this.#core) return;
    cores.unregister(this);
    this.#core.delete();
    this.#core = null;
  }

  /** A TransformStream of strings through this converter. */
  stream() {
    return new TransformStream({
      transform: (piece, controller) => {
        const out = this.feed(piece);
        if (out) controller.enqueue(out);
      },
      flush: (controller) => {
        const out = this.finish();
        if (out) controller.enqueue(out);
      },
    });
  }
}

function found(book, character, variants) {
  return core.codesOf(book, character.codePointAt(0), variants).map(([code, via, sources, produced]) => ({
    code: String(code).padStart(4, '0'),
    via: via ? String.fromCodePoint(via) : null,
    sources,
    produced,
  }));
}

/** The codes of one character in every book, lowest first; where a book
 *  lacks it, those of the variants that `variants` follows. */
export function lookup(character, { variants = 'all' } = {}) {
  text(character);
  if ([...character].length !== 1) throw new RangeError(`lookup takes one character, not ${JSON.stringify(character)}`);
  const v = choice(VARIANTS, variants, 'variants');
  return { character, mainland: found(0, character, v), taiwan: found(1, character, v), eccc: found(2, character, v) };
}

/** The character of a code ('0022' or 22), or null where the book has none. */
export function character(code, book = 'mainland', script = 'traditional') {
  const number = typeof code === 'number' ? code : /^[0-9]{4}$/.test(code) ? Number(code) : -1;
  if (!Number.isInteger(number) || number < 0 || number > 9999) {
    throw new RangeError(`a code is four digits or 0..9999, not ${JSON.stringify(code)}`);
  }
  const c = core.characterOf(choice(BOOKS, book, 'book'), number, choice(SCRIPTS, script, 'script'));
  return c ? String.fromCodePoint(c) : null;
}
