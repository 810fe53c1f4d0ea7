// Finds the first invalid UTF-8 sequence in a byte stream that arrives in
// pieces, wherever the pieces are cut. It only looks: the bytes themselves
// pass through the converter untouched.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace telecode {

class Utf8Validator {
 public:
  void Feed(std::string_view piece);
  // Ends the text: a sequence cut off by its end is invalid.
  void Finish();
  // Starts a new text.
  void Reset() { *this = Utf8Validator(); }

  // Byte offset of the first byte of the first invalid sequence.
  std::optional<std::uint64_t> first_invalid() const { return first_invalid_; }

 private:
  void Fail() { first_invalid_ = sequence_start_; }

  std::uint64_t offset_ = 0;  // bytes seen before the current piece
  std::uint64_t sequence_start_ = 0;
  int pending_ = 0;          // continuation bytes still expected
  std::uint8_t low_ = 0x80;  // range of the next continuation byte
  std::uint8_t high_ = 0xBF;
  std::optional<std::uint64_t> first_invalid_;
};

}  // namespace telecode
