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
  // Replays `piece` from the state it began in, to find where the sequence
  // that failed in it began.
  void Locate(std::string_view piece);

  std::uint64_t offset_ = 0;          // bytes seen before the current piece
  std::uint64_t state_ = 0;           // where in a sequence the last piece ended
  std::uint64_t sequence_start_ = 0;  // of that unfinished sequence
  std::optional<std::uint64_t> first_invalid_;
};

}  // namespace telecode
