#include "stream_converter.h"

namespace telecode {

yishu::Encoding CoreEncoding(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      return yishu::Encoding::Cp936;
    case TextEncoding::kUtf8:
    case TextEncoding::kUtf16:
      break;
  }
  return yishu::Encoding::Utf8;
}

StreamConverter::StreamConverter(int mode, TextEncoding encoding)
    : encoding_(encoding), converter_(mode, CoreEncoding(encoding)) {}

void StreamConverter::Feed(std::string_view piece, std::string& out) {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      validator_.Feed(piece);
      converter_.Feed(piece, out);
      return;
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      converter_.Feed(piece, out);
      return;
    case TextEncoding::kUtf16:
      utf8_in_.clear();
      utf8_out_.clear();
      decoder_.Feed(piece, utf8_in_);
      converter_.Feed(utf8_in_, utf8_out_);
      encoder_.set_byte_order(decoder_.byte_order());
      encoder_.Feed(utf8_out_, out);
      return;
  }
}

void StreamConverter::Finish(std::string& out) {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      validator_.Finish();
      converter_.Finish(out);
      return;
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      converter_.Finish(out);
      return;
    case TextEncoding::kUtf16: {
      utf8_in_.clear();
      utf8_out_.clear();
      const std::optional<char> odd_byte = decoder_.Finish(utf8_in_);
      converter_.Feed(utf8_in_, utf8_out_);
      converter_.Finish(utf8_out_);
      encoder_.set_byte_order(decoder_.byte_order());
      encoder_.Feed(utf8_out_, out);
      encoder_.Finish(out);
      if (odd_byte) out += *odd_byte;
      return;
    }
  }
}

void StreamConverter::Reset() {
  validator_.Reset();
  decoder_.Reset();
}

std::optional<std::uint64_t> StreamConverter::first_invalid() const {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      return validator_.first_invalid();
    case TextEncoding::kUtf16:
      return decoder_.first_invalid();
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      break;
  }
  return std::nullopt;
}

}  // namespace telecode
