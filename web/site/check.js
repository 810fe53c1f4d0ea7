// Codes someone was given, checked: each character of a name against its
// code, in every book.
import { BOOKS } from './convert.js';

// name: the characters; codes: the text with the codes. Returns a row per
// character (and per left-over code) with, for each book, whether the given
// code is the character's: {ok, code, expected, given: the character the
// given code stands for}.
export function checkCodes(converter, name, codes) {
  const chars = [...name].filter((ch) => converter.isHan(ch));
  const given = converter.codesIn(codes);
  const rows = [];
  for (let i = 0; i < Math.max(chars.length, given.length); ++i) {
    const ch = chars[i] ?? '';
    const code = given[i] ?? '';
    const books = [];
    for (const book of BOOKS) {
      const expected = ch ? converter.lookup(ch)[book].code : '';
      const stands = /^\d{4}$/.test(code) ? converter.characterOf(book, code) : '';
      // A character with several codes matches any of them.
      books[book] = { ok: Boolean(ch && code && (code === expected || stands === ch)), code, expected, stands };
    }
    rows.push({ ch, code, books });
  }
  return rows;
}
