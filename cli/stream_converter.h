// Converts one text after another in any of telecode's encodings, piece by
// piece, with the core's streaming converter. The result never depends on
// how the input was cut into pieces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text_encoding.h"
#include "utf16_transcoder.h"
#include "utf8_validator.h"
#include "yishu/yishu.h"

namespace telecode {

class StreamConverter {
 public:
  StreamConverter(int mode, TextEncoding encoding);

  // Appends to `out` the output that no later piece can change.
  void Feed(std::string_view piece, std::string& out);
  // Ends the current text and appends the rest of its output.
  void Finish(std::string& out);
  // Starts a new text.
  void Reset();

  // Byte offset of the first invalid sequence in the current text, for the
  // Unicode encodings (the CP936 byte form has none: every byte counts).
  std::optional<std::uint64_t> first_invalid() const;

 private:
  TextEncoding encoding_;
  yishu::Converter converter_;
  Utf8Validator validator_;
  Utf16Decoder decoder_;
  Utf16Encoder encoder_;
  std::string utf8_in_, utf8_out_;  // UTF-16 only: the text on its way through
};

// The core's byte form for an encoding. GB18030 uses the CP936 form: it
// encodes every character of the code book with the same two bytes, and each
// of its four-byte sequences (digits 0x30..0x39 as second and fourth byte)
// reads in CP936 as two characters that no code matches, so no digit inside
// one can start a code. UTF-16 goes through UTF-8.
yishu::Encoding CoreEncoding(TextEncoding encoding);

}  // namespace telecode
