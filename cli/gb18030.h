// GB18030's four-byte sequences, which telecode reads and writes itself: the
// core knows CP936, which GB18030 extends to all of Unicode by them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "yishu/yishu.h"

namespace telecode::gb18030 {

// Where the four-byte sequences of the BMP begin a run of consecutive code
// points (generated: cli/gb18030_ranges.cpp).
struct Range {
  char16_t first;       // the code point that begins the run
  std::uint32_t index;  // its linear index
};
std::span<const Range> BmpRanges();

// Whether b1 b2 b3 b4 at `bytes` have the form of a four-byte sequence.
bool IsFourBytes(const unsigned char* bytes);
// The code point of a four-byte sequence, or nothing where it stands for none.
std::optional<char32_t> CodePointOf(const unsigned char* bytes);
// The four bytes of a code point that CP936 lacks (a BMP code point with a
// two-byte form gives a wrong sequence: callers know it has none).
std::string FourBytesOf(char32_t code_point);

// A piece of a stream, with the bytes carried over from the last piece put
// before it; `joined` holds them while the piece is read.
inline std::string_view WithCarry(std::string& carry, std::string_view piece, std::string& joined) {
  if (carry.empty()) return piece;
  joined = std::move(carry) + std::string(piece);
  carry.clear();
  return joined;
}

// Characters to codes in GB18030 text: a character written in four bytes
// takes its code as the core gives it to the same character in UTF-8 (its
// own, or a variant's where the options allow), replaced by the code and its
// space, which the core then passes on as they are. Everything else is passed
// on unchanged.
class FourByteCodes {
 public:
  explicit FourByteCodes(const yishu::Options& options) : options_(options) {}
  // Appends `piece` to `out` so changed, but for a sequence cut off at its
  // end, which waits for the next piece.
  void Feed(std::string_view piece, std::string& out);
  // Ends the text: what was held back goes out. The next Feed starts a new
  // text; until then report() serves this one.
  void Finish(std::string& out);
  // What the core said of the four-byte characters of the current text.
  const yishu::Report& report() const { return report_; }

 private:
  struct Coded {
    std::string text;  // the code and its space, or nothing
    yishu::Report report;
    bool noted = false;  // the report is not empty
  };
  const Coded& CodeOf(char32_t code_point);

  yishu::Options options_;
  std::string carry_;
  std::unordered_map<char32_t, Coded> coded_;
  yishu::Report report_;
  bool finished_ = false;
};

}  // namespace telecode::gb18030
