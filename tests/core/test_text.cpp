#include "test_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "reference.h"
#include "yishu/yishu.h"

namespace yishu::test {
namespace {

struct Cp936Maps {
  std::map<char16_t, std::string> to_bytes;
  std::map<std::string, char16_t> to_unicode;
};

const Cp936Maps& Maps() {
  static const Cp936Maps maps = [] {
    Cp936Maps m;
    auto add = [&m](char16_t u, std::string bytes) {
      m.to_bytes.emplace(u, bytes);
      m.to_unicode.emplace(bytes, u);
    };
    for (Book book : {Book::Mainland, Book::Taiwan, Book::Eccc}) {
      for (Script script : {Script::Traditional, Script::Simplified}) {
        for (const CodeRow& row : CodeBook(book, script)) {
          if (row.lead == 0) continue;  // CP936 lacks it
          add(static_cast<char16_t>(row.unicode),
              {static_cast<char>(row.lead), static_cast<char>(row.trail)});
        }
      }
    }
    // The standard forms that decoding may write instead of a book's old
    // form, with the bytes the code page gives them (CP936 lacks a few).
    for (Book book : {Book::Taiwan, Book::Eccc}) {
      Options standard{book};
      standard.standard_forms = true;
      for (const CodeRow& row : CodeBook(book)) {
        if (StandardFormOf(row.unicode) == 0) continue;
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04u ", static_cast<unsigned>(row.code));
        const std::string bytes = ConvertText(Direction::CodeToChar, std::string_view(digits, 5),
                                              Encoding::Cp936, standard);
        const std::u16string unit =
            ConvertText(Direction::CodeToChar, std::u16string(digits, digits + 5), standard);
        if (bytes.size() == 2 && unit.size() == 1) add(unit[0], bytes);
      }
    }
    // Characters without a code, from the published code page.
    add(u'憋', "\xB1\xEF");
    add(u'後', "\xE1\xE1");
    add(u'撖', "\xDE\xFE");
    add(u'揅', "\x93\x43");
    add(u'汙', "\x9B\x40");
    add(u'啟', "\x86\xA2");
    add(u'為', "\x9E\xE9");
    add(u'『', "\xA1\xBA");
    add(u'⒍', "\xA2\xB6");
    add(u'\u3000', "\xA1\xA1");  // ideographic space
    add(u'￥', "\xA3\xA4");
    add(u'Ｂ', "\xA3\xC2");
    return m;
  }();
  return maps;
}

}  // namespace

std::string ToCp936(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    auto it = Maps().to_bytes.find(c);
    if (it == Maps().to_bytes.end()) {
      ADD_FAILURE() << "no CP936 bytes known for U+" << std::hex << static_cast<int>(c);
      continue;
    }
    out += it->second;
  }
  return out;
}

std::u16string FromCp936(std::string_view bytes) {
  std::u16string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = bytes[i];
    if (b < 0x80) {
      out += b;
      continue;
    }
    auto it = i + 1 < bytes.size() ? Maps().to_unicode.find(std::string(bytes.substr(i, 2)))
                                   : Maps().to_unicode.end();
    if (it == Maps().to_unicode.end()) {
      ADD_FAILURE() << "unknown CP936 bytes at " << i;
      return out;
    }
    out += it->second;
    ++i;
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) { return reference::Utf8FromUtf16(text); }

std::string Describe(const Report& r) {
  const auto chars = [](const std::u32string& list) {
    std::u16string units;
    for (char32_t c : list) {
      if (c < 0x10000) {
        units += static_cast<char16_t>(c);
      } else {
        units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      }
    }
    return ToUtf8(units);
  };
  std::ostringstream os;
  os << "through a variant " << r.through_variant << "; ambiguous " << r.ambiguous << " ("
     << chars(r.ambiguous_chars) << "); other book only " << r.other_book_only << " ("
     << chars(r.other_book_chars) << "); no code " << r.no_code << " (" << chars(r.no_code_chars)
     << "); unwritable " << r.unwritable << " (";
  for (std::uint16_t code : r.unwritable_codes) os << ' ' << code;
  os << "); through";
  for (const VariantUse& u : r.through_chars) {
    os << ' ' << chars(std::u32string{u.character, u.variant}) << u.code << '/' << int{u.sources};
  }
  os << "; other script " << r.other_script << " (";
  for (std::uint16_t code : r.other_script_codes) os << ' ' << code;
  os << "); old forms " << r.old_forms << " (";
  for (std::uint16_t code : r.old_form_codes) os << ' ' << code;
  os << ")";
  return os.str();
}

}  // namespace yishu::test
