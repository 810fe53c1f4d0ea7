#include "reference.h"

#include <algorithm>

#include "plain_unicode.h"
#include "rule_lists.h"
#include "variant_table.h"

namespace yishu::reference {
namespace {

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

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

// The book's own rules, then (characters to codes, variant look-up on) the
// variant rules.
const std::vector<Rule>& OwnRules(Direction direction, Book book) {
  return direction == Direction::CharToCode ? CharToCodeRules(book) : CodeToCharRules(book);
}

bool WithVariants(Direction direction, const Options& options) {
  return direction == Direction::CharToCode && options.variants;
}

void Note(std::u32string& list, char32_t c) {
  if (list.size() < Report::kListedChars && list.find(c) == list.npos) list += c;
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

std::u32string ConvertItems(Direction direction, std::u32string text, const Options& options,
                            Report& report) {
  for (const Rule& rule : OwnRules(direction, options.book)) {
    ReplaceAllItems(text, rule.unicode_key, rule.unicode_replacement);
  }
  if (!WithVariants(direction, options)) return text;
  for (const Rule& rule : VariantRules(options.book)) {
    report.through_variant += ReplaceAllItems(text, rule.unicode_key, rule.unicode_replacement);
  }
  const Leftovers& left = LeftoversOf(options.book);
  for (char32_t c : text) {
    if (c < kNotACharacter) NoteLeftover(left, c, report);
  }
  return text;
}

// The code whose rule CP936 lacks, standing at text[pos], or 0.
int UnwritableCodeAt(const std::string& text, std::size_t pos, Book book) {
  static const auto keys_of = [](Book b) {
    std::vector<std::string> keys;
    for (const Rule& r : CodeToCharRules(b)) {
      if (!r.in_cp936) keys.push_back(r.key);
    }
    return keys;
  };
  static const std::vector<std::string> mainland = keys_of(Book::Mainland);
  static const std::vector<std::string> taiwan = keys_of(Book::Taiwan);
  for (const std::string& key : book == Book::Taiwan ? taiwan : mainland) {
    if (text.compare(pos, key.size(), key) == 0) return std::stoi(key);
  }
  return 0;
}

// Walks a converted CP936 text as the replacement scan does, and reports
// what stayed.
void ReportCp936(Direction direction, const std::string& text, const Options& options,
                 Report& report) {
  const Leftovers& left = LeftoversOf(options.book);
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (direction == Direction::CodeToChar) {
      if (const int code = UnwritableCodeAt(text, pos, options.book)) {
        ++report.unwritable;
        auto& codes = report.unwritable_codes;
        if (codes.size() < Report::kListedChars &&
            std::find(codes.begin(), codes.end(), code) == codes.end()) {
          codes.push_back(static_cast<std::uint16_t>(code));
        }
        pos += 5;
        continue;
      }
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (!IsLead(lead) || pos + 1 == text.size()) {
      ++pos;
      continue;
    }
    if (WithVariants(direction, options)) {
      const auto pair =
          static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(text[pos + 1]));
      if (const auto it = left.pair_chars.find(pair); it != left.pair_chars.end()) {
        NoteLeftover(left, it->second, report);
      }
    }
    pos += 2;
  }
}

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

std::u16string Utf16FromUtf32(std::u32string_view text) { return EncodeUtf16(text); }

std::string ConvertText(Direction direction, std::string_view cp936, const Options& options,
                        Report* report) {
  Report local;
  Report& r = report ? *report : local;
  r = {};
  std::string text(cp936);
  for (const Rule& rule : OwnRules(direction, options.book)) {
    if (rule.in_cp936) ReplaceAll(text, rule.key, rule.replacement);
  }
  if (WithVariants(direction, options)) {
    for (const Rule& rule : VariantRules(options.book)) {
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
