#include "look_up.h"

#include <cstdint>
#include <cstdio>
#include <utility>

#include "yishu/internal/four_digits.h"
#include "yishu/internal/unicode.h"
#include "yishu/yishu.h"

namespace telecode {
namespace {

void AppendUtf8(char32_t c, std::string& out) {
  char bytes[4];
  out.append(bytes, static_cast<std::size_t>(yishu::detail::EncodeUtf8(c, bytes)));
}

std::string CodeText(int code) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", code);
  return digits;
}

constexpr yishu::Book kBooks[] = {yishu::Book::Mainland, yishu::Book::Taiwan, yishu::Book::Eccc};

}  // namespace

std::string SourceNames(std::uint8_t sources) {
  static constexpr std::pair<std::uint8_t, const char*> kNames[] = {
      {yishu::kUnihanSimplified, "unihan-simplified"},
      {yishu::kUnihanTraditional, "unihan-traditional"},
      {yishu::kUnihanSemantic, "unihan-semantic"},
      {yishu::kUnihanSpecializedSemantic, "unihan-specialized-semantic"},
      {yishu::kUnihanZ, "unihan-z"},
      {yishu::kOpenccTaiwan, "opencc-tw"},
      {yishu::kOpenccHongKong, "opencc-hk"},
      {yishu::kEcccForms, "eccc"},
  };
  std::string names;
  for (const auto& [bit, name] : kNames) {
    if ((sources & bit) == 0) continue;
    if (!names.empty()) names += ',';
    names += name;
  }
  return names;
}

namespace {

// The two fields of one book for a character: its codes, and the variants
// they were found through with the sources of the link.
std::string BookFields(yishu::Book book, char32_t c) {
  const std::vector<yishu::CodeFound> found = yishu::CodesOf(book, c);
  if (found.empty()) return "none\t-";
  std::string codes, via;
  for (const yishu::CodeFound& f : found) {
    const std::string code = CodeText(f.code);
    if (codes.find(code) == codes.npos) codes += (codes.empty() ? "" : " ") + code;
    if (f.via == 0) continue;
    if (!via.empty()) via += ' ';
    AppendUtf8(f.via, via);
    via += '[' + SourceNames(f.sources) + ']';
  }
  return codes + '\t' + (via.empty() ? "-" : via);
}

// The character of a code; both forms where the e-CCC book has two.
std::string CodeFields(yishu::Book book, int code) {
  const char32_t c = yishu::CharacterOf(book, code);
  if (c == 0) return "none\t-";
  std::string field;
  AppendUtf8(c, field);
  const char32_t simplified = yishu::CharacterOf(book, code, yishu::Script::Simplified);
  if (simplified != c) {
    field += ' ';
    AppendUtf8(simplified, field);
  }
  return field + "\t-";
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::variant<std::string, LookUpError> LookUp(const std::vector<std::string>& texts) {
  std::string lines;
  for (const std::string& text : texts) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size();) {
      if (IsSpace(text[i])) {
        ++i;
        continue;
      }
      if (IsDigit(text[i])) {
        std::size_t end = i;
        while (end < text.size() && IsDigit(text[end])) ++end;
        const std::string digits = text.substr(i, end - i);
        if (digits.size() != 4) {
          return LookUpError{"'" + digits + "' is not a four-digit code"};
        }
        const int code = yishu::detail::CodeOfDigits(digits.data());
        lines += digits;
        for (yishu::Book book : kBooks) lines += '\t' + CodeFields(book, code);
        lines += '\n';
        i = end;
        continue;
      }
      const int length = yishu::detail::Utf8SequenceLength(bytes + i, text.size() - i);
      if (length <= 0) return LookUpError{"'" + text + "' is not valid UTF-8"};
      const char32_t c = yishu::detail::DecodeUtf8(bytes + i, length);
      lines += text.substr(i, static_cast<std::size_t>(length));
      for (yishu::Book book : kBooks) lines += '\t' + BookFields(book, c);
      lines += '\n';
      i += static_cast<std::size_t>(length);
    }
  }
  return lines;
}

}  // namespace telecode
