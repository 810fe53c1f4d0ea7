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

const BOOKS = { mainland: 0, taiwan: 1 };
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

function settings({ book = 'mainland', variants = false, reading = 'typed' } = {}) {
  return [choice(BOOKS, book, 'book'), Boolean(variants), choice(READINGS, reading, 'reading')];
}

/** The library's version, "MAJOR.MINOR.PATCH". */
export const version = core.version();

/** Converts a whole text; returns { text, report }. */
export function convert(input, { direction, ...options } = {}) {
  return core.convert(choice(DIRECTIONS, direction, 'direction'), text(input), ...settings(options));
}

/** Characters to codes: 中文 -> '0022 2429 '. */
export function encode(input, { book, variants } = {}) {
  return convert(input, { direction: 'toCodes', book, variants }).text;
}

/** Codes to characters: '0022 2429 ' -> 中文. */
export function decode(input, { book, reading } = {}) {
  return convert(input, { direction: 'toChars', book, reading }).text;
}

// A converter the garbage collector frees frees its core too; free() does so
// at once.
const cores = new FinalizationRegistry((converter) => converter.delete());

/** Converts a text that comes in pieces, in constant memory. */
export class Converter {
  #core;

  constructor(direction, options = {}) {
    this.#core = new core.Converter(choice(DIRECTIONS, direction, 'direction'), ...settings(options));
    cores.register(this, this.#core, this);
  }

  #live() {
    if (!this.#core) throw new Error('this Converter was freed');
    return this.#core;
  }

  /** Converts the next piece; returns what no later piece can change. */
  feed(piece) {
    return this.#live().feed(text(piece));
  }

  /** The rest of the output; the converter then takes a new text. */
  finish() {
    return this.#live().finish();
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

function found(book, character) {
  return core.codesOf(book, character.codePointAt(0)).map(([code, via]) => ({
    code: String(code).padStart(4, '0'),
    via: via ? String.fromCodePoint(via) : null,
  }));
}

/** The codes of one character in both books, lowest first; where a book
 *  lacks it, those of its simplified and traditional variants. */
export function lookup(character) {
  text(character);
  if ([...character].length !== 1) throw new RangeError(`lookup takes one character, not ${JSON.stringify(character)}`);
  return { character, mainland: found(0, character), taiwan: found(1, character) };
}

/** The character of a code ('0022' or 22), or null where the book has none. */
export function character(code, book = 'mainland') {
  const number = typeof code === 'number' ? code : /^[0-9]{4}$/.test(code) ? Number(code) : -1;
  if (!Number.isInteger(number) || number < 0 || number > 9999) {
    throw new RangeError(`a code is four digits or 0..9999, not ${JSON.stringify(code)}`);
  }
  const c = core.characterOf(choice(BOOKS, book, 'book'), number);
  return c ? String.fromCodePoint(c) : null;
}
