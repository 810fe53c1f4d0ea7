#include "stream_converter.h"

#include <algorithm>
#include <iterator>

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
    four_byte_codes_.emplace(options);
  }
  if (encoding == TextEncoding::kGb18030 && direction == yishu::Direction::CodeToChar) {
    four_byte_chars_.emplace(options);
    if (!four_byte_chars_->needed()) four_byte_chars_.reset();
  }
}

const yishu::Report& StreamConverter::report() const {
  if (four_byte_chars_ || four_byte_codes_) return report_;
  return converter_ ? converter_->report() : utf16_converter_->report();
}

void StreamConverter::FeedCore(std::string_view piece, std::string& out) {
  if (!four_byte_chars_) {
    converter_->Feed(piece, out);
    return;
  }
  core_fed_ += piece.size();
  converter_->Feed(piece, out);
  TakeCharsReport();
}

void StreamConverter::TakeCodesReport() {
  report_ = converter_->report();
  report_.Merge(four_byte_codes_->report());
}

void StreamConverter::TakeCharsReport() {
  const yishu::Report& core = converter_->report();
  gb18030::FourByteChars& chars = *four_byte_chars_;
  // The last kept run may have grown since (a run too long to hold comes in
  // parts); its offset stays.
  if (!kept_.empty() && kept_.size() <= core.kept.size()) {
    kept_.back().units = core.kept[kept_.size() - 1].units;
    kept_.back().digits = core.kept[kept_.size() - 1].digits;
  }
  for (std::size_t k = kept_.size(); k < core.kept.size(); ++k) {
    kept_.push_back(core.kept[k]);
    kept_.back().offset = chars.InputOffset(core.kept[k].offset);
  }
  for (; doubtful_taken_ < core.doubtful.size(); ++doubtful_taken_) {
    const yishu::DigitRun& run = core.doubtful[doubtful_taken_];
    if (chars.FalseDoubtful(run.offset)) continue;
    doubtful_.push_back(run);
    doubtful_.back().offset = chars.InputOffset(run.offset);
  }
  chars.Forget(core_fed_ - converter_->held());

  report_ = core;
  report_.kept = kept_;
  // The writer's runs among the core's, in text order.
  const yishu::Report& own = chars.report();
  report_.doubtful.clear();
  std::merge(
      doubtful_.begin(), doubtful_.end(), own.doubtful.begin(), own.doubtful.end(),
      std::back_inserter(report_.doubtful),
      [](const yishu::DigitRun& a, const yishu::DigitRun& b) { return a.offset < b.offset; });
  if (report_.doubtful.size() > yishu::Report::kListedRuns) {
    report_.doubtful.resize(yishu::Report::kListedRuns);
  }
  report_.doubtful_runs += own.doubtful_runs;
  report_.doubtful_runs -= chars.false_doubtful_runs();
  yishu::Report notes = own;
  notes.doubtful.clear();
  notes.doubtful_runs = 0;
  report_.Merge(notes);
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
        converter_->Feed(coded_, out);
        TakeCodesReport();
        return;
      }
      if (four_byte_chars_) {
        coded_.clear();
        four_byte_chars_->Feed(piece, coded_);
        piece = coded_;
      }
      FeedCore(piece, out);
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
        converter_->Finish(out);
        TakeCodesReport();
        return;
      }
      if (four_byte_chars_) {
        coded_.clear();
        four_byte_chars_->Finish(coded_);
        FeedCore(coded_, out);
      }
      converter_->Finish(out);
      if (four_byte_chars_) {
        TakeCharsReport();
        core_fed_ = 0;
        kept_.clear();
        doubtful_.clear();
        doubtful_taken_ = 0;
      }
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
