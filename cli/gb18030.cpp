#include "gb18030.h"

#include <algorithm>

#include "yishu/internal/unicode.h"

namespace telecode::gb18030 {

namespace {

constexpr std::uint32_t kFirstAboveBmp = 189000;  // the index of U+10000
constexpr std::size_t kMostCached = 4096;         // four-byte characters

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsDigitByte(unsigned char b) { return b >= 0x30 && b <= 0x39; }

}  // namespace

bool IsFourBytes(const unsigned char* b) {
  return IsLead(b[0]) && IsDigitByte(b[1]) && IsLead(b[2]) && IsDigitByte(b[3]);
}

std::optional<char32_t> CodePointOf(const unsigned char* b) {
  const std::uint32_t index =
      ((b[0] - 0x81u) * 10 + (b[1] - 0x30u)) * 1260 + (b[2] - 0x81u) * 10 + (b[3] - 0x30u);
  if (index >= kFirstAboveBmp) {
    const std::uint32_t code_point = 0x10000 + (index - kFirstAboveBmp);
    if (code_point > 0x10FFFF) return std::nullopt;
    return code_point;
  }
  const std::span<const Range> ranges = BmpRanges();
  const auto after = std::upper_bound(ranges.begin(), ranges.end(), index,
                                      [](std::uint32_t i, const Range& r) { return i < r.index; });
  if (after == ranges.begin()) return std::nullopt;
  const Range& range = *(after - 1);
  const char32_t code_point = range.first + (index - range.index);
  // Past the last run lie indexes that stand for nothing.
  if (after == ranges.end() && code_point > 0xFFFF) return std::nullopt;
  return code_point;
}

std::string FourBytesOf(char32_t code_point) {
  std::uint32_t index;
  if (code_point >= 0x10000) {
    index = kFirstAboveBmp + (code_point - 0x10000);
  } else {
    const std::span<const Range> ranges = BmpRanges();
    const auto after = std::upper_bound(ranges.begin(), ranges.end(), code_point,
                                        [](char32_t c, const Range& r) { return c < r.first; });
    const Range& range = *(after - 1);  // the first run begins at U+0080
    index = range.index + (code_point - range.first);
  }
  std::string bytes(4, '\0');
  bytes[3] = static_cast<char>(0x30 + index % 10);
  index /= 10;
  bytes[2] = static_cast<char>(0x81 + index % 126);
  index /= 126;
  bytes[1] = static_cast<char>(0x30 + index % 10);
  bytes[0] = static_cast<char>(0x81 + index / 10);
  return bytes;
}

const FourByteCodes::Coded& FourByteCodes::CodeOf(char32_t code_point) {
  const auto found = coded_.find(code_point);
  if (found != coded_.end()) return found->second;
  char utf8[4];
  const std::string character(
      utf8, static_cast<std::size_t>(yishu::detail::EncodeUtf8(code_point, utf8)));
  // Texts of many different characters would grow the cache without end.
  if (coded_.size() >= kMostCached) coded_.clear();
  Coded coded;
  coded.text = yishu::ConvertText(yishu::Direction::CharToCode, character, yishu::Encoding::Utf8,
                                  options_, &coded.report);
  if (coded.text == character) coded.text.clear();
  coded.noted = coded.report.any();
  return coded_.emplace(code_point, std::move(coded)).first->second;
}

void FourByteCodes::Feed(std::string_view piece, std::string& out) {
  if (finished_) report_ = {};
  finished_ = false;
  std::string joined;
  piece = WithCarry(carry_, piece, joined);
  const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
  const std::size_t n = piece.size();
  std::size_t copied = 0, i = 0;
  while (i < n) {
    if (!IsLead(bytes[i])) {
      ++i;
      continue;
    }
    // A lead byte begins a character of two bytes, or of four where a digit
    // byte follows it; the core pairs the bytes the same way.
    if (i + 1 == n || (IsDigitByte(bytes[i + 1]) && i + 4 > n)) break;
    if (!IsDigitByte(bytes[i + 1]) || !IsFourBytes(bytes + i)) {
      i += 2;
      continue;
    }
    if (const std::optional<char32_t> code_point = CodePointOf(bytes + i)) {
      const Coded& coded = CodeOf(*code_point);
      if (coded.noted) report_.Merge(coded.report);
      if (!coded.text.empty()) {
        out.append(piece.substr(copied, i - copied));
        out += coded.text;
        copied = i + 4;
      }
    }
    i += 4;
  }
  out.append(piece.substr(copied, i - copied));
  carry_.assign(piece.substr(i));
}

void FourByteCodes::Finish(std::string& out) {
  if (finished_) report_ = {};
  out += carry_;
  carry_.clear();
  finished_ = true;
}

}  // namespace telecode::gb18030
