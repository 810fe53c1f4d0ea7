// UTF-16 text as bytes and as code units. The reader keeps the byte-order
// mark as a unit (U+FEFF), which the converter passes through, so writing the
// units back in the reader's byte order gives the input's form again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text_encoding.h"

namespace telecode {

enum class ByteOrder { kLittleEndian, kBigEndian };

// The byte order that a UTF-16 encoding fixes, if any.
inline std::optional<ByteOrder> FixedByteOrder(TextEncoding encoding) {
  if (encoding == TextEncoding::kUtf16Be) return ByteOrder::kBigEndian;
  if (encoding == TextEncoding::kUtf16Le) return ByteOrder::kLittleEndian;
  return std::nullopt;
}

// Appends `units` to `bytes`, each as two bytes in `order`.
void AppendUnits(std::u16string_view units, ByteOrder order, std::string& bytes);

// Turns a byte stream that arrives in pieces into code units, wherever the
// pieces are cut, and finds the first invalid sequence on the way. Units pass
// on as they are, unpaired surrogates included.
class Utf16Reader {
 public:
  // Without `fixed`, the byte order comes from the first two bytes.
  explicit Utf16Reader(std::optional<ByteOrder> fixed = std::nullopt) : fixed_(fixed) { Reset(); }

  // Returns the code units that `bytes` completes, valid until the next call.
  std::u16string_view Feed(std::string_view bytes);
  // Ends the text. Returns the last byte of a text of odd length, which is
  // no code unit and must be passed on as it is.
  std::optional<char> Finish();
  // Starts a new text.
  void Reset();

  // Fixed, or taken from the first two bytes: FE FF is big-endian, anything
  // else (FF FE, or no mark at all) little-endian.
  ByteOrder byte_order() const { return order_; }
  // Byte offset of the first unpaired surrogate or odd last byte.
  std::optional<std::uint64_t> first_invalid() const { return first_invalid_; }

 private:
  char16_t Unit(unsigned char first, unsigned char second);
  // Looks for unpaired surrogates among `count` units that start at byte
  // offset `offset`.
  void Check(const char16_t* units, std::size_t count, std::uint64_t offset);
  void Invalid(std::uint64_t offset) {
    if (!first_invalid_) first_invalid_ = offset;
  }

  std::vector<char16_t> units_;
  std::uint64_t offset_ = 0;           // bytes of the complete units so far
  std::optional<unsigned char> half_;  // first byte of a unit cut by a piece
  bool high_pending_ = false;          // the last unit was a high surrogate
  std::optional<ByteOrder> fixed_;
  ByteOrder order_ = ByteOrder::kLittleEndian;
  std::optional<std::uint64_t> first_invalid_;
};

// Whether the start of a UTF-16 text without a byte-order mark reads as
// text only in big-endian order.
bool LooksBigEndian(std::string_view start);

}  // namespace telecode
