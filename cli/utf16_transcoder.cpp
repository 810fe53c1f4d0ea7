#include "utf16_transcoder.h"

namespace telecode {

namespace {

bool IsHigh(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

void Utf16Decoder::Feed(std::string_view bytes, std::string& utf8) {
  for (char byte : bytes) {
    const auto b = static_cast<unsigned char>(byte);
    ++offset_;
    if (!half_) {
      half_ = b;
      continue;
    }
    if (offset_ == 2 && *half_ == 0xFE && b == 0xFF) byte_order_ = ByteOrder::kBigEndian;
    const auto unit = static_cast<char16_t>(
        byte_order_ == ByteOrder::kBigEndian ? (*half_ << 8) | b : (b << 8) | *half_);
    half_.reset();
    Unit(unit, utf8);
  }
}

void Utf16Decoder::Unit(char16_t unit, std::string& utf8) {
  if (high_) {
    if (IsLow(unit)) {
      AppendUtf8(0x10000 + ((*high_ - 0xD800) << 10) + (unit - 0xDC00), utf8);
      high_.reset();
      return;
    }
    Invalid(offset_ - 4);
    AppendUtf8(*high_, utf8);
    high_.reset();
  }
  if (IsHigh(unit)) {
    high_ = unit;
    return;
  }
  if (IsLow(unit)) Invalid(offset_ - 2);
  AppendUtf8(unit, utf8);
}

std::optional<char> Utf16Decoder::Finish(std::string& utf8) {
  const std::uint64_t odd_offset = offset_ - 1;
  if (high_) {
    Invalid(offset_ - (half_ ? 3 : 2));
    AppendUtf8(*high_, utf8);
    high_.reset();
  }
  std::optional<char> odd;
  if (half_) {
    Invalid(odd_offset);
    odd = static_cast<char>(*half_);
    half_.reset();
  }
  return odd;
}

void Utf16Encoder::Unit(char16_t unit, std::string& out) const {
  const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
  if (order_ == ByteOrder::kBigEndian) {
    out += high;
    out += low;
  } else {
    out += low;
    out += high;
  }
}

std::size_t Utf16Encoder::Sequence(std::string_view text, bool final, std::string& out) const {
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
      Unit(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), out);
      Unit(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), out);
    } else {
      Unit(static_cast<char16_t>(c), out);
    }
    return length;
  }
  if (length != 0 && i == text.size() && !final) return 0;
  // The decoder never produces such bytes and the converter passes them
  // through, so this cannot happen; it would show as a replacement character.
  Unit(0xFFFD, out);
  return 1;
}

std::size_t Utf16Encoder::Encode(std::string_view text, std::string& out) const {
  std::size_t start = 0;
  while (start < text.size()) {
    const auto byte = static_cast<unsigned char>(text[start]);
    if (byte < 0x80) {
      Unit(byte, out);
      ++start;
      continue;
    }
    const std::size_t used = Sequence(text.substr(start), false, out);
    if (used == 0) break;
    start += used;
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
  std::string_view rest = carry_;
  while (!rest.empty()) rest.remove_prefix(Sequence(rest, true, out));
  carry_.clear();
}

}  // namespace telecode
