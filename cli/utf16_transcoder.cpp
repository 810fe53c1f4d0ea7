#include "utf16_transcoder.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace telecode {

namespace {

// Work goes through a small buffer written by pointer, then into the string
// in one append: appending character by character costs more than the
// conversion itself.
constexpr std::size_t kChunk = 8192;

bool IsHigh(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char* PutUtf8(char32_t c, char* out) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

#if defined(__SSE2__)
// Runs of ASCII, the codes and digits of most texts, go eight code units or
// sixteen bytes at a time.
bool AsciiUnits(const unsigned char* in, bool big_endian, char* out) {
  __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  if (big_endian) units = _mm_or_si128(_mm_srli_epi16(units, 8), _mm_slli_epi16(units, 8));
  if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, _mm_set1_epi16(short(0xFF80))),
                                        _mm_setzero_si128())) != 0xFFFF) {
    return false;
  }
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(units, units));
  return true;
}

bool AsciiBytes(const char* in, bool big_endian, char* out) {
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
  if (_mm_movemask_epi8(bytes) != 0) return false;
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = big_endian ? _mm_unpacklo_epi8(zero, bytes) : _mm_unpacklo_epi8(bytes, zero);
  const __m128i high = big_endian ? _mm_unpackhi_epi8(zero, bytes) : _mm_unpackhi_epi8(bytes, zero);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out), low);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), high);
  return true;
}
#else
bool AsciiUnits(const unsigned char*, bool, char*) { return false; }
bool AsciiBytes(const char*, bool, char*) { return false; }
#endif

}  // namespace

void Utf16Decoder::Feed(std::string_view bytes, std::string& utf8) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t size = bytes.size();
  std::size_t i = 0;
  while (i < size && (half_ || offset_ < 2)) Byte(in[i++], utf8);
  const std::uint64_t piece_start = offset_ - i;

  const bool big_endian = byte_order_ == ByteOrder::kBigEndian;
  char buffer[kChunk * 3 + 4];
  while (size - i >= 2) {
    const std::size_t end = i + std::min((size - i) / 2, kChunk) * 2;
    char* out = buffer;
    for (; i < end; i += 2) {
      const auto unit =
          static_cast<char16_t>(big_endian ? (in[i] << 8) | in[i + 1] : (in[i + 1] << 8) | in[i]);
      if (high_ != 0 || (unit >= 0xD800 && unit <= 0xDFFF)) {
        out = Unit(unit, piece_start + i + 2, out);
      } else if (unit >= 0x80) {
        out = PutUtf8(unit, out);
      } else if (end - i >= 16 && AsciiUnits(in + i, big_endian, out)) {
        out += 8;  // an ASCII run: eight units at once
        i += 14;
      } else {
        *out++ = static_cast<char>(unit);
      }
    }
    utf8.append(buffer, static_cast<std::size_t>(out - buffer));
  }
  offset_ = piece_start + i;
  if (i < size) Byte(in[i], utf8);
}

void Utf16Decoder::Byte(unsigned char byte, std::string& utf8) {
  ++offset_;
  if (!half_) {
    half_ = byte;
    return;
  }
  if (offset_ == 2 && *half_ == 0xFE && byte == 0xFF) byte_order_ = ByteOrder::kBigEndian;
  const auto unit = static_cast<char16_t>(
      byte_order_ == ByteOrder::kBigEndian ? (*half_ << 8) | byte : (byte << 8) | *half_);
  half_.reset();
  char buffer[8];
  utf8.append(buffer, static_cast<std::size_t>(Unit(unit, offset_, buffer) - buffer));
}

char* Utf16Decoder::Unit(char16_t unit, std::uint64_t end, char* out) {
  if (high_ != 0) {
    const char16_t high = high_;
    high_ = 0;
    if (IsLow(unit)) return PutUtf8(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), out);
    Invalid(end - 4);
    out = PutUtf8(high, out);
  }
  if (IsHigh(unit)) {
    high_ = unit;
    return out;
  }
  if (IsLow(unit)) Invalid(end - 2);
  return PutUtf8(unit, out);
}

std::optional<char> Utf16Decoder::Finish(std::string& utf8) {
  if (high_ != 0) {
    Invalid(offset_ - (half_ ? 3 : 2));
    char buffer[4];
    utf8.append(buffer, static_cast<std::size_t>(PutUtf8(high_, buffer) - buffer));
    high_ = 0;
  }
  std::optional<char> odd;
  if (half_) {
    Invalid(offset_ - 1);
    odd = static_cast<char>(*half_);
    half_.reset();
  }
  return odd;
}

char* Utf16Encoder::Unit(char16_t unit, char* out) const {
  const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
  *out++ = order_ == ByteOrder::kBigEndian ? high : low;
  *out++ = order_ == ByteOrder::kBigEndian ? low : high;
  return out;
}

std::size_t Utf16Encoder::Sequence(std::string_view text, bool final, char*& out) const {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  char32_t c = 0;
  if (lead < 0x80) {
    length = 1, c = lead;
  } else if (lead >= 0xC0 && lead < 0xE0) {
    length = 2, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4, c = lead & 0x07;
  }
  std::size_t i = 1;
  for (; i < length && i < text.size(); ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) break;
    c = (c << 6) | (next & 0x3F);
  }
  if (length != 0 && i == length && c <= 0x10FFFF) {
    if (c >= 0x10000) {
      out = Unit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), out);
      out = Unit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), out);
    } else {
      out = Unit(static_cast<char16_t>(c), out);
    }
    return length;
  }
  if (length != 0 && i == text.size() && !final) return 0;
  // The decoder never produces such bytes and the converter passes them
  // through, so this cannot happen; it would show as a replacement character.
  out = Unit(0xFFFD, out);
  return 1;
}

std::size_t Utf16Encoder::Encode(std::string_view text, std::string& out) const {
  // Every byte becomes at most two bytes of UTF-16.
  char buffer[kChunk * 2 + 8];
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.size(), start + kChunk);
    char* put = buffer;
    while (start < end) {
      if (end - start >= 16 &&
          AsciiBytes(text.data() + start, order_ == ByteOrder::kBigEndian, put)) {
        put += 32;
        start += 16;
        continue;
      }
      const auto byte = static_cast<unsigned char>(text[start]);
      if (byte < 0x80) {
        put = Unit(byte, put);
        ++start;
        continue;
      }
      const std::size_t used = Sequence(text.substr(start), false, put);
      if (used == 0) break;
      start += used;
    }
    out.append(buffer, static_cast<std::size_t>(put - buffer));
    if (start < end) break;  // an incomplete sequence at the end
  }
  return start;
}

void Utf16Encoder::Feed(std::string_view utf8, std::string& out) {
  std::size_t start = 0;
  if (!carry_.empty()) {
    // Three more bytes complete any sequence the carry begins.
    const std::string joined = carry_ + std::string(utf8.substr(0, 3));
    const std::size_t used = Encode(joined, out);
    if (utf8.size() <= 3) {
      carry_ = joined.substr(used);
      return;
    }
    start = used - carry_.size();
    carry_.clear();
  }
  const std::size_t used = Encode(utf8.substr(start), out);
  carry_.assign(utf8.substr(start + used));
}

void Utf16Encoder::Finish(std::string& out) {
  char buffer[16];
  std::string_view rest = carry_;
  while (!rest.empty()) {
    char* put = buffer;
    rest.remove_prefix(Sequence(rest, true, put));
    out.append(buffer, static_cast<std::size_t>(put - buffer));
  }
  carry_.clear();
}

}  // namespace telecode
