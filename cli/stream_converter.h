// Converts one text after another in any of telecode's encodings, piece by
// piece, with the core's streaming converter. The result never depends on
// how the input was cut into pieces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gb18030.h"
#include "gb18030_writer.h"
#include "text_encoding.h"
#include "utf16_units.h"
#include "utf8_validator.h"
#include "yishu/yishu.h"

namespace telecode {

class StreamConverter {
 public:
  StreamConverter(yishu::Direction direction, TextEncoding encoding,
                  const yishu::Options& options = {});

  // Appends to `out` the output that no later piece can change.
  void Feed(std::string_view piece, std::string& out);
  // Ends the current text and appends the rest of its output.
  void Finish(std::string& out);
  // Starts a new text.
  void Reset();

  // Byte offset of the first invalid sequence in the current text, for the
  // Unicode encodings (the CP936 byte form has none: every byte counts).
  std::optional<std::uint64_t> first_invalid() const;

  // What the core found in the current text (or the one Finish ended);
  // ByteOffset turns its offsets (in the core's units) into offsets in the
  // input.
  const yishu::Report& report() const;
  std::uint64_t ByteOffset(std::uint64_t units) const {
    return IsUtf16(encoding_) ? 2 * units : units;
  }

 private:
  void WriteUnits(std::string& out);
  void FeedCore(std::string_view piece, std::string& out);
  // GB18030, codes to characters: the core's offsets as offsets in the
  // input, and the report with what the four-byte writer did.
  void TakeCharsReport();
  // GB18030, characters to codes: the core's report with what the
  // four-byte characters took.
  void TakeCodesReport();

  TextEncoding encoding_;
  std::optional<yishu::Converter<char>> converter_;  // the byte encodings
  // GB18030, characters to codes: those in four bytes, before the core.
  std::optional<gb18030::FourByteCodes> four_byte_codes_;
  // GB18030, codes to characters: the codes of characters CP936 lacks,
  // before the core.
  std::optional<gb18030::FourByteChars> four_byte_chars_;
  std::string coded_;
  std::uint64_t core_fed_ = 0;
  std::vector<yishu::DigitRun> kept_, doubtful_;  // at offsets in the input
  std::size_t doubtful_taken_ = 0;                // of the core's
  yishu::Report report_;
  Utf8Validator validator_;
  std::optional<yishu::Converter<char16_t>> utf16_converter_;  // UTF-16 only
  Utf16Reader utf16_reader_;
  std::u16string units_out_;
};

// The core's byte form for an encoding. GB18030 uses the CP936 form: it
// encodes every character of CP936 with the same two bytes, and each of its
// four-byte sequences (digits 0x30..0x39 as second and fourth byte) reads in
// CP936 as two characters that no code matches, so no digit inside one can
// start a code. Characters to codes, the converter first turns the four-byte
// characters of the book into their codes. UTF-16 has a converter of its own.
yishu::Encoding CoreEncoding(TextEncoding encoding);

}  // namespace telecode
