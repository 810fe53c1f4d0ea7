// Streaming UTF-16 <-> UTF-8, so that UTF-16 text can go through the UTF-8
// converter. Lossless for every UTF-16 input: an unpaired surrogate becomes
// its three-byte form (ED A0..BF xx), which the converter passes through as
// invalid UTF-8 and the encoder turns back into the same code unit. The
// byte-order mark is carried along as U+FEFF, so the output keeps it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace telecode {

enum class ByteOrder { kLittleEndian, kBigEndian };

class Utf16Decoder {
 public:
  // Appends the UTF-8 form of the code units that `bytes` completes.
  void Feed(std::string_view bytes, std::string& utf8);
  // Ends the text. Returns the last byte of a text of odd length, which is
  // no code unit and must be passed on as it is.
  std::optional<char> Finish(std::string& utf8);
  void Reset() { *this = Utf16Decoder(); }

  // Taken from the first two bytes: FE FF is big-endian, anything else
  // (FF FE, or no mark at all) little-endian.
  ByteOrder byte_order() const { return byte_order_; }
  // Byte offset of the first unpaired surrogate or odd last byte.
  std::optional<std::uint64_t> first_invalid() const { return first_invalid_; }

 private:
  // Takes one byte: for the first code unit and one cut between pieces.
  void Byte(unsigned char byte, std::string& utf8);
  // Writes the UTF-8 of `unit`, which ends at byte offset `end`.
  char* Unit(char16_t unit, std::uint64_t end, char* out);
  void Invalid(std::uint64_t offset) {
    if (!first_invalid_) first_invalid_ = offset;
  }

  std::uint64_t offset_ = 0;           // bytes consumed
  std::optional<unsigned char> half_;  // first byte of a code unit
  char16_t high_ = 0;                  // a high surrogate waiting for its low one, or 0
  ByteOrder byte_order_ = ByteOrder::kLittleEndian;
  std::optional<std::uint64_t> first_invalid_;
};

class Utf16Encoder {
 public:
  explicit Utf16Encoder(ByteOrder order = ByteOrder::kLittleEndian) : order_(order) {}
  void set_byte_order(ByteOrder order) { order_ = order; }

  // Appends the UTF-16 bytes of the characters that `utf8` completes.
  void Feed(std::string_view utf8, std::string& out);
  // Ends the text.
  void Finish(std::string& out);

 private:
  // Encodes the complete sequences at the start of `text`; returns how many
  // bytes they take.
  std::size_t Encode(std::string_view text, std::string& out) const;
  // Encodes the sequence at the start of `text` into `out`; returns its
  // length, or 0 if `text` ends before the sequence does.
  std::size_t Sequence(std::string_view text, bool final, char*& out) const;
  char* Unit(char16_t unit, char* out) const;

  ByteOrder order_;
  std::string carry_;  // an incomplete sequence at the end of the last piece
};

}  // namespace telecode
