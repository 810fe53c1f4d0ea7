#include "reference.h"

#include "rule_lists.h"

#include <algorithm>
#include <map>

#include "variant_table.h"

namespace yishu::reference {
namespace {

// Items of a decoded text that are no character: invalid bytes and unpaired
// surrogates, kept apart from every code point by this offset.
constexpr char32_t kNotACharacter = 0x110000;

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

std::u32string Widen(const std::string& bytes) {
  std::u32string items;
  for (char b : bytes) items += static_cast<unsigned char>(b);
  return items;
}

// The scan of the platform's substring replacement: compare at the scan
// position; on a match insert the replacement and go on after it, otherwise
// step over one character. `char_length(text, pos)` gives that step, or 0
// where the scan ends.
template <class String, class CharLength>
std::size_t ReplaceScan(String& text, std::basic_string_view<typename String::value_type> key,
                        std::basic_string_view<typename String::value_type> replacement,
                        const CharLength& char_length) {
  // A key whose units occur nowhere cannot occur at a character boundary.
  if (key.empty() || text.find(key) == String::npos) return 0;
  String result;
  std::size_t pos = 0, count = 0;
  while (pos < text.size() && text.size() - pos >= key.size()) {
    if (text.compare(pos, key.size(), key) == 0) {
      result += replacement;
      pos += key.size();
      ++count;
      continue;
    }
    const std::size_t step = char_length(text, pos);
    if (step == 0) break;
    result.append(text, pos, step);
    pos += step;
  }
  result.append(text, pos);
  text = std::move(result);
  return count;
}

// Decoded text: every item is one character.
std::size_t ReplaceAllItems(std::u32string& text, std::u32string_view key,
                            std::u32string_view replacement) {
  return ReplaceScan(text, key, replacement, [](const std::u32string&, std::size_t) { return 1; });
}

// The reference decodes and encodes Unicode with code of its own, written
// apart from the engine's (core/src/utf8.h) on purpose: as the oracle of the
// tests it must not share a fault with what it checks.
std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = s[i];
    int extra = b >= 0xF0 && b <= 0xF7 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    if (b >= 0xF8 || (b >= 0x80 && b < 0xC0)) extra = -1;
    char32_t cp = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
    bool ok = extra >= 0 && i + extra < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const unsigned char c = s[i + k];
      ok = (c & 0xC0) == 0x80;
      cp = cp << 6 | (c & 0x3F);
    }
    const char32_t min[4] = {0, 0x80, 0x800, 0x10000};
    ok =
        ok && cp >= min[extra > 0 ? extra : 0] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (ok) {
      out += cp;
      i += extra + 1;
    } else {
      out += kNotACharacter + b;
      ++i;
    }
  }
  return out;
}

std::string EncodeUtf8(const std::u32string& items) {
  std::string out;
  for (char32_t c : items) {
    if (c >= kNotACharacter) {
      out += static_cast<char>(c - kNotACharacter);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u32string DecodeUtf16(std::u16string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t u = s[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      out += 0x10000 + ((u - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += kNotACharacter + u;
    } else {
      out += u;
    }
  }
  return out;
}

std::u16string EncodeUtf16(const std::u32string& items) {
  std::u16string out;
  for (char32_t c : items) {
    if (c >= kNotACharacter) {
      out += static_cast<char16_t>(c - kNotACharacter);
    } else if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

// The book's own rules, then (characters to codes, variant look-up on) the
// variant rules.
const std::vector<Rule>& OwnRules(Direction direction, const Options& options) {
  return direction == Direction::CharToCode
             ? CharToCodeRules(options.book)
             : CodeToCharRules(options.book, options.script, options.standard_forms);
}

std::uint8_t Routes(Direction direction, const Options& options) {
  return direction == Direction::CharToCode ? RoutesOf(options.book, options.variants) : 0;
}

void Note(std::u32string& list, char32_t c) {
  if (list.size() < Report::kListedChars && list.find(c) == list.npos) list += c;
}

void NoteCode(std::vector<std::uint16_t>& codes, std::uint16_t code) {
  if (codes.size() < Report::kListedChars &&
      std::find(codes.begin(), codes.end(), code) == codes.end()) {
    codes.push_back(code);
  }
}

// Classifies a character left in a text converted to codes with variants.
void NoteLeftover(const Leftovers& left, char32_t c, Report& report) {
  if (left.ambiguous.count(c)) {
    ++report.ambiguous;
    Note(report.ambiguous_chars, c);
  } else if (left.other_book.count(c)) {
    ++report.other_book_only;
    Note(report.other_book_chars, c);
  } else if (detail::IsIdeograph(c)) {
    ++report.no_code;
    Note(report.no_code_chars, c);
  }
}

// Lists, in text order, the characters that the variant rules are about to
// convert: after the book's own rules, every character left that has one.
void NoteThrough(const std::vector<Rule>& variant_rules, char32_t c, Report& report) {
  if (report.through_chars.size() >= Report::kListedChars) return;
  for (const VariantUse& use : report.through_chars) {
    if (use.character == c) return;
  }
  for (const Rule& rule : variant_rules) {
    if (rule.unicode_key[0] == c) {
      report.through_chars.push_back({c, rule.variant, rule.code, rule.sources});
      return;
    }
  }
}

// Rules whose use the Report counts replace their key with a marker first,
// an item apart from every character and byte; the walk over the result
// counts the markers in text order and puts the rule's replacement there.
constexpr char32_t kMarker = 0x200000;

template <class Replace>
std::u32string ApplyCodeRules(std::u32string text, const std::vector<Rule>& rules,
                              const Replace& replace, bool cp936) {
  for (const Rule& rule : rules) {
    if (cp936 && !rule.in_cp936) continue;
    const std::u32string key = cp936 ? Widen(rule.key) : rule.unicode_key;
    const std::u32string replacement =
        rule.note ? std::u32string(1, kMarker + rule.code)
                  : (cp936 ? Widen(rule.replacement) : rule.unicode_replacement);
    replace(text, key, replacement);
  }
  return text;
}

std::u32string ResolveMarkers(const std::u32string& text, const std::vector<Rule>& rules,
                              bool cp936, Report& report) {
  std::u32string out;
  for (char32_t c : text) {
    if (c < kMarker) {
      out += c;
      continue;
    }
    const auto code = static_cast<std::uint16_t>(c - kMarker);
    for (const Rule& rule : rules) {
      if (rule.code != code || !rule.note) continue;
      if (rule.note == 1) {
        ++report.other_script;
        NoteCode(report.other_script_codes, code);
      } else {
        ++report.old_forms;
        NoteCode(report.old_form_codes, code);
      }
      out += cp936 ? Widen(rule.replacement) : rule.unicode_replacement;
      break;
    }
  }
  return out;
}

std::u32string ConvertItems(Direction direction, std::u32string text, const Options& options,
                            Report& report) {
  if (direction == Direction::CodeToChar) {
    const std::vector<Rule>& rules = OwnRules(direction, options);
    text = ApplyCodeRules(text, rules, ReplaceAllItems, false);
    return ResolveMarkers(text, rules, false, report);
  }
  for (const Rule& rule : OwnRules(direction, options)) {
    ReplaceAllItems(text, rule.unicode_key, rule.unicode_replacement);
  }
  const std::uint8_t routes = Routes(direction, options);
  if (routes == 0) return text;
  const std::vector<Rule>& variant_rules = VariantRules(options.book, routes);
  for (char32_t c : text) {
    if (c < kNotACharacter) NoteThrough(variant_rules, c, report);
  }
  for (const Rule& rule : variant_rules) {
    report.through_variant += ReplaceAllItems(text, rule.unicode_key, rule.unicode_replacement);
  }
  const Leftovers& left = LeftoversOf(options.book, routes);
  for (char32_t c : text) {
    if (c < kNotACharacter) NoteLeftover(left, c, report);
  }
  return text;
}

// The code whose rule CP936 lacks, standing at text[pos], or 0.
int UnwritableCodeAt(const std::string& text, std::size_t pos, const Options& options) {
  static std::map<const void*, std::vector<std::string>> memo;
  const std::vector<Rule>& rules =
      CodeToCharRules(options.book, options.script, options.standard_forms);
  auto it = memo.find(&rules);
  if (it == memo.end()) {
    std::vector<std::string> keys;
    for (const Rule& r : rules) {
      if (!r.in_cp936) keys.push_back(r.key);
    }
    it = memo.emplace(&rules, std::move(keys)).first;
  }
  for (const std::string& key : it->second) {
    if (text.compare(pos, key.size(), key) == 0) return std::stoi(key);
  }
  return 0;
}

// Walks a converted CP936 text as the replacement scan does, and reports
// what stayed.
void ReportCp936(Direction direction, const std::string& text, const Options& options,
                 Report& report) {
  const std::uint8_t routes = Routes(direction, options);
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (direction == Direction::CodeToChar) {
      if (const int code = UnwritableCodeAt(text, pos, options)) {
        ++report.unwritable;
        NoteCode(report.unwritable_codes, static_cast<std::uint16_t>(code));
        pos += 5;
        continue;
      }
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (!IsLead(lead) || pos + 1 == text.size()) {
      ++pos;
      continue;
    }
    if (routes != 0) {
      const Leftovers& left = LeftoversOf(options.book, routes);
      const auto pair =
          static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(text[pos + 1]));
      if (const auto it = left.pair_chars.find(pair); it != left.pair_chars.end()) {
        NoteLeftover(left, it->second, report);
      }
    }
    pos += 2;
  }
}

// The CP936 scan over items that stand for bytes (and markers, which stand
// alone).
std::size_t ReplaceAllBytes(std::u32string& text, std::u32string_view key,
                            std::u32string_view replacement) {
  return ReplaceScan(text, key, replacement, [](const std::u32string& t, std::size_t pos) {
    if (t[pos] < 0x81 || t[pos] > 0xFE) return std::size_t{1};
    return pos + 1 == t.size() ? std::size_t{0} : std::size_t{2};
  });
}

std::string Narrow(const std::u32string& bytes) { return {bytes.begin(), bytes.end()}; }

}  // namespace

std::size_t ReplaceAll(std::string& text, std::string_view key, std::string_view replacement) {
  return ReplaceScan(text, key, replacement, [](const std::string& t, std::size_t pos) {
    if (!IsLead(static_cast<unsigned char>(t[pos]))) return std::size_t{1};
    return pos + 1 == t.size() ? std::size_t{0}  // a lead byte at the very end ends the scan
                               : std::size_t{2};
  });
}

std::string Utf8FromUtf16(std::u16string_view utf16) { return EncodeUtf8(DecodeUtf16(utf16)); }

std::u16string Utf16FromUtf8(std::string_view utf8) { return EncodeUtf16(DecodeUtf8(utf8)); }

std::string ConvertText(Direction direction, std::string_view cp936, const Options& options,
                        Report* report) {
  Report local;
  Report& r = report ? *report : local;
  r = {};
  std::string text(cp936);
  if (direction == Direction::CodeToChar) {
    // Markers need items of their own; the scan is the same over bytes.
    const std::vector<Rule>& rules = OwnRules(direction, options);
    const std::u32string bytes = Widen(text);
    text =
        Narrow(ResolveMarkers(ApplyCodeRules(bytes, rules, ReplaceAllBytes, true), rules, true, r));
    ReportCp936(direction, text, options, r);
    return text;
  }
  for (const Rule& rule : OwnRules(direction, options)) {
    if (rule.in_cp936) ReplaceAll(text, rule.key, rule.replacement);
  }
  if (const std::uint8_t routes = Routes(direction, options)) {
    const std::vector<Rule>& variant_rules = VariantRules(options.book, routes);
    const Leftovers& left = LeftoversOf(options.book, routes);
    for (std::size_t pos = 0; pos + 1 < text.size();) {  // the scan's characters, in order
      const auto lead = static_cast<unsigned char>(text[pos]);
      if (!IsLead(lead)) {
        ++pos;
        continue;
      }
      const auto pair =
          static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(text[pos + 1]));
      if (const auto it = left.pair_chars.find(pair); it != left.pair_chars.end()) {
        NoteThrough(variant_rules, it->second, r);
      }
      pos += 2;
    }
    for (const Rule& rule : variant_rules) {
      if (rule.in_cp936) r.through_variant += ReplaceAll(text, rule.key, rule.replacement);
    }
  }
  ReportCp936(direction, text, options, r);
  return text;
}

std::string ConvertTextUtf8(Direction direction, std::string_view utf8, const Options& options,
                            Report* report) {
  Report local;
  Report& r = report ? *report : local;
  r = {};
  return EncodeUtf8(ConvertItems(direction, DecodeUtf8(utf8), options, r));
}

std::u16string ConvertTextUtf16(Direction direction, std::u16string_view utf16,
                                const Options& options, Report* report) {
  Report local;
  Report& r = report ? *report : local;
  r = {};
  return EncodeUtf16(ConvertItems(direction, DecodeUtf16(utf16), options, r));
}

}  // namespace yishu::reference
