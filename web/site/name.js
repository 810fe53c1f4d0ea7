// A name for a form: the surname and the given names apart, each as its own
// codes, as visa forms such as the US DS-160 ask for them.

// Surnames of two characters, in traditional and simplified writing.
const DOUBLE_SURNAMES = new Set([
  '歐陽', '欧阳', '司徒', '上官', '諸葛', '诸葛', '司馬', '司马', '夏侯', '皇甫', '公孫', '公孙',
  '東方', '东方', '尉遲', '尉迟', '令狐', '長孫', '长孙', '慕容', '宇文', '端木', '申屠',
]);

// A form's field holds at most this many characters: four codes with their
// single spaces (19), not five (24).
export const FIELD_LIMIT = 20;

// The characters of a name without its spaces, and where the surname ends:
// at the user's space if there is one ("陳 大文"), after a double surname,
// else after the first character.
export function splitName(text) {
  const trimmed = text.trim();
  const spaced = trimmed.match(/^(\S+)[\s\u3000]+(.*)$/u);
  const chars = [...trimmed.replace(/[\s\u3000]+/gu, '')];
  let split = Math.min(1, chars.length);
  if (spaced) split = [...spaced[1]].length;
  else if (chars.length > 2 && DOUBLE_SURNAMES.has(chars[0] + chars[1])) split = 2;
  return { chars, split };
}
