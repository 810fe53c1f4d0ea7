#include "utf16_units.h"

#include <bit>
#include <cstring>

#include "yishu/internal/unicode.h"

namespace telecode {

namespace {

constexpr ByteOrder kNative =
    std::endian::native == std::endian::big ? ByteOrder::kBigEndian : ByteOrder::kLittleEndian;

char16_t Swapped(char16_t unit) { return static_cast<char16_t>((unit >> 8) | (unit << 8)); }

using yishu::detail::IsHighSurrogate;
using yishu::detail::IsLowSurrogate;

// Most texts hold no surrogate at all; a loop without an early exit
// vectorizes and tells quickly.
bool AnySurrogate(const char16_t* units, std::size_t count) {
  char16_t any = 0;
  for (std::size_t i = 0; i < count; ++i) any |= (units[i] & 0xF800) == 0xD800;
  return any != 0;
}

}  // namespace

void AppendUnits(std::u16string_view units, ByteOrder order, std::string& bytes) {
  if (order == kNative) {
    bytes.append(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    return;
  }
  const std::size_t start = bytes.size();
  bytes.resize(start + units.size() * 2);
  char* out = bytes.data() + start;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = Swapped(units[i]);
    std::memcpy(out + i * 2, &unit, 2);
  }
}

char16_t Utf16Reader::Unit(unsigned char first, unsigned char second) {
  if (!fixed_ && offset_ == 0 && first == 0xFE && second == 0xFF) order_ = ByteOrder::kBigEndian;
  offset_ += 2;
  return static_cast<char16_t>(order_ == ByteOrder::kBigEndian ? (first << 8) | second
                                                               : (second << 8) | first);
}

std::u16string_view Utf16Reader::Feed(std::string_view bytes) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t size = bytes.size();
  if (units_.size() < size / 2 + 1) units_.resize(size / 2 + 1);
  char16_t* units = units_.data();
  const std::uint64_t start = offset_;
  std::size_t count = 0;
  if (half_ && size > 0) {
    units[count++] = Unit(*half_, in[0]);
    half_.reset();
    ++in, --size;
  }
  if (offset_ == 0 && size >= 2) {
    units[count++] = Unit(in[0], in[1]);
    in += 2, size -= 2;
  }
  const std::size_t bulk = size / 2;
  std::memcpy(units + count, in, bulk * 2);
  if (order_ != kNative) {
    for (std::size_t i = count; i < count + bulk; ++i) units[i] = Swapped(units[i]);
  }
  count += bulk;
  offset_ += bulk * 2;
  if (size % 2) half_ = in[size - 1];
  if (!first_invalid_) Check(units, count, start);
  return {units, count};
}

void Utf16Reader::Check(const char16_t* units, std::size_t count, std::uint64_t offset) {
  if (high_pending_ && count > 0) {
    high_pending_ = false;
    if (!IsLowSurrogate(units[0])) return Invalid(offset - 2);
    ++units, --count, offset += 2;
  }
  if (!AnySurrogate(units, count)) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (high_pending_) {
      high_pending_ = false;
      if (!IsLowSurrogate(units[i])) return Invalid(offset + i * 2 - 2);
    } else if (IsHighSurrogate(units[i])) {
      high_pending_ = true;
    } else if (IsLowSurrogate(units[i])) {
      return Invalid(offset + i * 2);
    }
  }
}

std::optional<char> Utf16Reader::Finish() {
  if (high_pending_) Invalid(offset_ - 2);
  std::optional<char> odd;
  if (half_) {
    Invalid(offset_);
    odd = static_cast<char>(*half_);
    half_.reset();
  }
  high_pending_ = false;
  return odd;
}

void Utf16Reader::Reset() {
  offset_ = 0;
  half_.reset();
  high_pending_ = false;
  order_ = fixed_.value_or(ByteOrder::kLittleEndian);
  first_invalid_.reset();
}

namespace {

// Common Chinese: CJK punctuation, the unified ideographs, full-width forms.
bool Chinese(unsigned unit) {
  return (unit >= 0x3000 && unit <= 0x303F) || (unit >= 0x4E00 && unit <= 0x9FFF) ||
         (unit >= 0xFF00 && unit <= 0xFFEF);
}

}  // namespace

// ASCII in UTF-16 has a zero byte, first in big-endian order; Chinese text
// without ASCII is told by which order makes its units common ideographs.
bool LooksBigEndian(std::string_view start) {
  std::size_t big_ascii = 0, little_ascii = 0, big = 0, little = 0;
  for (std::size_t i = 0; i + 1 < start.size(); i += 2) {
    const auto a = static_cast<unsigned char>(start[i]),
               b = static_cast<unsigned char>(start[i + 1]);
    big_ascii += a == 0 && b != 0;
    little_ascii += b == 0 && a != 0;
    big += Chinese(a << 8 | b);
    little += Chinese(b << 8 | a);
  }
  if (big_ascii + little_ascii > 0) return big_ascii > 2 * little_ascii;
  return big >= 2 && big > 2 * little;
}

}  // namespace telecode
