#include "stream_converter.h"

namespace telecode {

yishu::Encoding CoreEncoding(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      return yishu::Encoding::Cp936;
    default:
      break;
  }
  return yishu::Encoding::Utf8;
}

StreamConverter::StreamConverter(yishu::Direction direction, TextEncoding encoding,
                                 const yishu::Options& options)
    : encoding_(encoding), utf16_reader_(FixedByteOrder(encoding)) {
  if (IsUtf16(encoding)) {
    utf16_converter_.emplace(direction, options);
  } else {
    converter_.emplace(direction, CoreEncoding(encoding), options);
  }
  if (encoding == TextEncoding::kGb18030 && direction == yishu::Direction::CharToCode) {
    four_byte_codes_.emplace(options.book);
  }
}

const yishu::Report& StreamConverter::report() const {
  return converter_ ? converter_->report() : utf16_converter_->report();
}

// The output keeps the input's byte order.
void StreamConverter::WriteUnits(std::string& out) {
  AppendUnits(units_out_, utf16_reader_.byte_order(), out);
  units_out_.clear();
}

void StreamConverter::Feed(std::string_view piece, std::string& out) {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      validator_.Feed(piece);
      converter_->Feed(piece, out);
      return;
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      if (four_byte_codes_) {
        coded_.clear();
        four_byte_codes_->Feed(piece, coded_);
        piece = coded_;
      }
      converter_->Feed(piece, out);
      return;
    case TextEncoding::kUtf16:
    case TextEncoding::kUtf16Be:
    case TextEncoding::kUtf16Le:
      utf16_converter_->Feed(utf16_reader_.Feed(piece), units_out_);
      WriteUnits(out);
      return;
  }
}

void StreamConverter::Finish(std::string& out) {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      validator_.Finish();
      converter_->Finish(out);
      return;
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      if (four_byte_codes_) {
        coded_.clear();
        four_byte_codes_->Finish(coded_);
        converter_->Feed(coded_, out);
      }
      converter_->Finish(out);
      return;
    case TextEncoding::kUtf16:
    case TextEncoding::kUtf16Be:
    case TextEncoding::kUtf16Le: {
      const std::optional<char> odd_byte = utf16_reader_.Finish();
      utf16_converter_->Finish(units_out_);
      WriteUnits(out);
      if (odd_byte) out += *odd_byte;
      return;
    }
  }
}

void StreamConverter::Reset() {
  validator_.Reset();
  utf16_reader_.Reset();
}

std::optional<std::uint64_t> StreamConverter::first_invalid() const {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      return validator_.first_invalid();
    case TextEncoding::kUtf16:
    case TextEncoding::kUtf16Be:
    case TextEncoding::kUtf16Le:
      return utf16_reader_.first_invalid();
    case TextEncoding::kCp936:
    case TextEncoding::kGb18030:
      break;
  }
  return std::nullopt;
}

}  // namespace telecode
