// Finds the first invalid UTF-8 sequence in a byte stream that arrives in
// pieces, wherever the pieces are cut, by the core's own UTF-8 rules. It
// only looks: the bytes themselves pass through the converter untouched.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
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
  std::uint64_t offset_ = 0;  // bytes seen before the current piece
  std::string open_;          // a sequence that the last piece cut off
  std::uint64_t open_start_ = 0;
  std::optional<std::uint64_t> first_invalid_;
};

}  // namespace telecode
