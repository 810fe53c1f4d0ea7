#include "test_text.h"

#include <gtest/gtest.h>

#include <map>

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
    for (const CodeRow& row : CodeBook()) {
      add(row.unicode, {static_cast<char>(row.lead), static_cast<char>(row.trail)});
    }
    // Characters without a code, from the published code page.
    add(u'憋', "\xB1\xEF");
    add(u'後', "\xE1\xE1");
    add(u'撖', "\xDE\xFE");
    add(u'『', "\xA1\xBA");
    add(u'⒍', "\xA2\xB6");
    add(u'\u3000', "\xA1\xA1");  // ideographic space
    return m;
  }();
  return maps;
}

}  // namespace

bool IsCp936Known(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 0x80 && !Maps().to_bytes.count(c)) return false;
  }
  return true;
}

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

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
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

}  // namespace yishu::test
