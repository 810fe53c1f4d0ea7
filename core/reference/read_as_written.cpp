#include "read_as_written.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include <map>
#include <tuple>

#include "day_rules.h"
#include "plain_unicode.h"
#include "rule_lists.h"
#include "yishu/yishu.h"

namespace yishu::reference {
namespace {

// One character of the text: where it stands, and what it is to the rule.
struct Char {
  std::size_t offset, units;
  int digit;  // 0..9, or -1
  bool space;
  bool mark;  // a letter, a currency sign or one of 年月日號号
};

// Letters and currency signs that make four digits next to them look like a
// number.
bool IsMark(char32_t c) {
  static constexpr std::u32string_view kSigns = U"$¢£¤¥＄￠￡￥￦年月日號号";
  return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || (c >= U'Ａ' && c <= U'Ｚ') ||
         (c >= U'ａ' && c <= U'ｚ') || (c >= 0x20A0 && c <= 0x20C0) ||
         kSigns.find(c) != kSigns.npos;
}

Char Classify(std::size_t offset, std::size_t units, char32_t c) {
  int digit = -1;
  if (c >= U'0' && c <= U'9') digit = static_cast<int>(c - U'0');
  if (c >= U'０' && c <= U'９') digit = static_cast<int>(c - U'０');
  return {offset, units, digit, c == U' ' || c == U'\u3000', IsMark(c)};
}

// Not a character of any text: invalid bytes, unpaired surrogates.
constexpr char32_t kNone = 0xFFFFFFFF;

// The marks among the two-byte characters of CP936: those of the code books
// by their rows, the others from the published code page.
char32_t Cp936Pair(unsigned char lead, unsigned char trail) {
  static const std::vector<std::pair<std::uint16_t, char32_t>> kPairs = [] {
    std::vector<std::pair<std::uint16_t, char32_t>> pairs = {
        {0xA1E7, U'＄'}, {0xA1E8, U'¤'}, {0xA1E9, U'￠'}, {0xA1EA, U'￡'}, {0xA3A4, U'￥'}};
    for (int i = 0; i < 26; ++i) {
      pairs.push_back({static_cast<std::uint16_t>(0xA3C1 + i), U'Ａ' + i});
      pairs.push_back({static_cast<std::uint16_t>(0xA3E1 + i), U'ａ' + i});
    }
    for (Book book : {Book::Mainland, Book::Taiwan}) {
      for (const CodeRow& row : CodeBook(book)) {
        if (row.lead != 0 && IsMark(row.unicode)) {
          pairs.push_back({static_cast<std::uint16_t>(row.lead << 8 | row.trail), row.unicode});
        }
      }
    }
    return pairs;
  }();
  for (const auto& [bytes, c] : kPairs) {
    if (bytes == (lead << 8 | trail)) return c;
  }
  return kNone;
}

std::vector<Char> Cp936Chars(std::string_view s) {
  std::vector<Char> chars;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const bool pair = b >= 0x81 && b <= 0xFE && i + 1 < s.size();
    char32_t c = b < 0x80 ? b : kNone;
    if (pair) {
      const auto t = static_cast<unsigned char>(s[i + 1]);
      if (b == 0xA3 && t >= 0xB0 && t <= 0xB9) c = U'０' + (t - 0xB0);
      if (b == 0xA1 && t == 0xA1) c = U'\u3000';
      if (c == kNone) c = Cp936Pair(b, t);
    }
    chars.push_back(Classify(i, pair ? 2 : 1, c));
    i += pair ? 2 : 1;
  }
  return chars;
}

// A decoded text's items, each with where it stands; invalid bytes and
// unpaired surrogates are no character of any text.
template <class Units>
std::vector<Char> ItemChars(const std::u32string& items, const Units& units_of) {
  std::vector<Char> chars;
  std::size_t offset = 0;
  for (char32_t c : items) {
    const std::size_t units = units_of(c);
    chars.push_back(Classify(offset, units, c >= kNotACharacter ? kNone : c));
    offset += units;
  }
  return chars;
}

// The rows that codes convert to with `options`, from the rules of the typed
// reading (which hold the script and the standard forms), with their notes.
struct WrittenRow {
  CodeRow row;
  std::uint8_t note;
};

const WrittenRow* RowOf(const Options& options, int code) {
  static std::map<std::tuple<Book, Script, bool>, std::vector<WrittenRow>> memo;
  const auto key = std::tuple{options.book, options.script, options.standard_forms};
  auto it = memo.find(key);
  if (it == memo.end()) {
    std::vector<WrittenRow> rows(10000, WrittenRow{{0, 0, 0, 0, false}, 0});
    for (const Rule& r : CodeToCharRules(options.book, options.script, options.standard_forms)) {
      if (r.key.size() != 5) continue;  // a day key
      rows[r.code] = {{r.code, static_cast<std::uint8_t>(r.in_cp936 ? r.replacement[0] : 0),
                       static_cast<std::uint8_t>(r.in_cp936 ? r.replacement[1] : 0),
                       r.unicode_replacement[0], true},
                      r.note};
    }
    it = memo.emplace(key, std::move(rows)).first;
  }
  const WrittenRow& w = it->second[code];
  return w.row.code != 0 ? &w : nullptr;
}

void NoteCodeIn(std::vector<std::uint16_t>& codes, std::uint16_t code) {
  if (codes.size() < Report::kListedChars &&
      std::find(codes.begin(), codes.end(), code) == codes.end()) {
    codes.push_back(code);
  }
}

// Writes characters and day texts in the form of String.
struct Cp936Out {
  std::string text;
  static bool CanWrite(const CodeRow& row) { return row.lead != 0; }
  void Add(const CodeRow& row) {
    text += static_cast<char>(row.lead);
    text += static_cast<char>(row.trail);
  }
  void Add(const detail::DayText& day) { text.append(day.cp936, 2 * day.length); }
};

struct Utf8Out {
  std::string text;
  static bool CanWrite(const CodeRow&) { return true; }
  void Add(const CodeRow& row) { text += EncodeUtf8(std::u32string(1, row.unicode)); }
  void Add(const detail::DayText& day) {
    for (int i = 0; i < day.length; ++i) text += EncodeUtf8(std::u32string(1, day.unicode[i]));
  }
};

struct Utf16Out {
  std::u16string text;
  static bool CanWrite(const CodeRow&) { return true; }
  void Add(const CodeRow& row) { text += EncodeUtf16(std::u32string(1, row.unicode)); }
  void Add(const detail::DayText& day) { text.append(day.unicode, day.length); }
};

template <class Out, class View>
auto Read(View source, const std::vector<Char>& chars, const Options& options, Report* report) {
  Report unused;
  Report& r = report ? *report : unused;
  r = {};
  const bool day_codes = options.book == Book::Mainland;
  Out out;
  for (std::size_t i = 0; i < chars.size();) {
    if (chars[i].digit < 0) {
      out.text.append(source.substr(chars[i].offset, chars[i].units));
      ++i;
      continue;
    }
    std::size_t end = i;
    std::string digits;
    while (end < chars.size() && chars[end].digit >= 0) {
      digits += static_cast<char>('0' + chars[end].digit);
      ++end;
    }
    const std::size_t from = chars[i].offset;
    const std::size_t units = chars[end - 1].offset + chars[end - 1].units - from;
    bool converted = false, unwritable = false;
    if (digits.size() % 4 == 0 && digits.size() <= kLongestWrittenRun) {
      std::vector<const CodeRow*> rows;
      std::vector<std::uint8_t> notes;
      converted = true;
      for (std::size_t g = 0; g < digits.size(); g += 4) {
        const WrittenRow* w = RowOf(options, std::stoi(digits.substr(g, 4)));
        converted = converted && w != nullptr;
        rows.push_back(w ? &w->row : nullptr);
        notes.push_back(w ? w->note : 0);
      }
      for (const CodeRow* row : rows) {
        if (!converted || Out::CanWrite(*row)) continue;
        unwritable = true;
        ++r.unwritable;
        auto& codes = r.unwritable_codes;
        if (codes.size() < Report::kListedChars &&
            std::find(codes.begin(), codes.end(), row->code) == codes.end()) {
          codes.push_back(row->code);
        }
      }
      converted = converted && !unwritable;
      if (converted) {
        for (std::size_t g = 0; g < rows.size(); ++g) {
          out.Add(*rows[g]);
          if (notes[g] == 1) {
            ++r.other_script;
            NoteCodeIn(r.other_script_codes, rows[g]->code);
          } else if (notes[g] == 2) {
            ++r.old_forms;
            NoteCodeIn(r.old_form_codes, rows[g]->code);
          }
        }
      }
    } else if (digits.size() == 5 && day_codes) {
      for (const detail::DayText& day : detail::kDayTexts) {
        if (digits == std::string_view(day.key, 5)) {
          out.Add(day);
          converted = true;
        }
      }
    }
    if (!converted) {
      out.text.append(source.substr(from, units));
      if (!unwritable) {
        ++r.kept_runs;
        if (r.kept.size() < Report::kListedRuns) r.kept.push_back({from, units, digits.size()});
      }
    }
    const bool marked = (i > 0 && chars[i - 1].mark) || (end < chars.size() && chars[end].mark);
    if (converted && digits.size() == 4 && marked) {
      ++r.doubtful_runs;
      if (r.doubtful.size() < Report::kListedRuns) r.doubtful.push_back({from, units, 4});
    }
    i = end;
    if (converted && i < chars.size() && chars[i].space) ++i;
  }
  return out.text;
}

}  // namespace

std::string ReadWrittenCodes(std::string_view cp936, const Options& options, Report* report) {
  return Read<Cp936Out>(cp936, Cp936Chars(cp936), options, report);
}

std::string ReadWrittenCodesUtf8(std::string_view utf8, const Options& options, Report* report) {
  return Read<Utf8Out>(utf8, ItemChars(DecodeUtf8(utf8), Utf8Units), options, report);
}

std::u16string ReadWrittenCodesUtf16(std::u16string_view utf16, const Options& options,
                                     Report* report) {
  return Read<Utf16Out>(utf16, ItemChars(DecodeUtf16(utf16), Utf16Units), options, report);
}

}  // namespace yishu::reference
