// telecode: converts files and pipelines between Chinese characters and
// telegraph codes.
#include <algorithm>
#include <csignal>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "code_list.h"
#include "look_up.h"
#include "options.h"
#include "platform_io.h"
#include "stream_converter.h"
#include "yishu/internal/unicode.h"
#include "yishu/version.h"

#ifdef _WIN32
#include "wide_text.h"
#endif

namespace telecode {

// One line on what became of what the plain conversion could not do.
std::string Summary(const yishu::Report& report, const Options& options);

namespace {

// Large reads keep the system calls few; the converter holds back only a few
// bytes between them, so memory stays small whatever the input size.
constexpr std::size_t kReadSize = 256 * 1024;

// Kept runs of digits listed on standard error for each file; the rest are
// counted.
constexpr std::uint64_t kMostKeptShown = 20;

// How much of a UTF-16 text without a byte-order mark tells its byte order.
constexpr std::size_t kByteOrderSample = 512;

enum class Status { kOk, kStop };

std::string DisplayName(const std::string& name) { return name == "-" ? "standard input" : name; }

std::string InvalidName(TextEncoding encoding) { return IsUtf16(encoding) ? "UTF-16" : "UTF-8"; }

// Converts the inputs one after another, each as a text of its own.
class Conversion {
 public:
  explicit Conversion(const Options& options)
      : options_(options),
        converter_(options.direction, options.encoding, options.core),
        output_(options.encoding),
        buffer_(new char[kReadSize]) {}

  int Run() {
    std::vector<std::string> files = options_.files;
    if (files.empty()) files.push_back("-");
    for (const std::string& name : files) {
      if (ConvertFile(name) == Status::kStop) break;
    }
    HintAsWritten();
    if (const std::string summary = Summary(books_, options_); !summary.empty()) {
      PrintError("telecode: " + summary + "\n");
    }
    return failed_ ? 1 : 0;
  }

 private:
  Status ConvertFile(const std::string& name) {
    Input input(name, options_.encoding == TextEncoding::kUtf8);
    if (!input.is_open()) {
      Fail(name, input.error());
      return Status::kOk;
    }
    // Where the system cannot tell, reading on might read back the output
    // without end: the file is left out.
    if (const std::optional<bool> same = input.IsStandardOutput(); same != false) {
      Fail(name, same.has_value()
                     ? "input file is output file"
                     : "cannot tell whether it is also the output file; not converted");
      return Status::kOk;
    }
    converter_.Reset();
    text_start_.clear();
    order_checked_ = options_.encoding != TextEncoding::kUtf16;
    output_.StartText();
    for (;;) {
      const std::ptrdiff_t count = input.Read(buffer_.get(), kReadSize);
      if (count == 0) break;
      if (count < 0) {
        // Keep what was read: the held-back rest of it goes out below.
        Fail(name, input.error());
        break;
      }
      const std::string_view piece(buffer_.get(), static_cast<std::size_t>(count));
      WatchByteOrder(name, piece);
      out_.clear();
      converter_.Feed(piece, out_);
      if (Write() == Status::kStop) return Status::kStop;
      ReportInvalid(name);
    }
    WatchByteOrder(name, {});
    out_.clear();
    converter_.Finish(out_);
    ReportInvalid(name);
    ReportKeptDigits(name);
    ReportDoubtful(name);
    books_.Merge(converter_.report());
    return Write();
  }

  Status Write() {
    if (out_.empty()) return Status::kOk;
    switch (output_.Write(out_)) {
      case WriteResult::kWritten:
        return Status::kOk;
      case WriteResult::kReaderGone:
        return Status::kStop;
      case WriteResult::kFailed:
        PrintError("telecode: write error: " + output_.error() + "\n");
        failed_ = true;
        return Status::kStop;
    }
    return Status::kStop;
  }

  // UTF-16 without a byte-order mark is read little-endian; a text that
  // reads right only the other way round is named, with what reads it.
  // `piece` empty: the end of the text.
  void WatchByteOrder(const std::string& name, std::string_view piece) {
    if (order_checked_) return;
    text_start_.append(piece.substr(0, kByteOrderSample - text_start_.size()));
    if (!piece.empty() && text_start_.size() < kByteOrderSample) return;
    order_checked_ = true;
    const bool marked = text_start_.starts_with("\xFF\xFE") || text_start_.starts_with("\xFE\xFF");
    if (marked || !LooksBigEndian(text_start_)) return;
    PrintError("telecode: " + DisplayName(name) +
               ": UTF-16 without a byte-order mark is read as little-endian, but this text looks"
               " big-endian; if it is, use -e utf-16be\n");
  }

  // Invalid input is passed on as it is; the user hears of it once.
  void ReportInvalid(const std::string& name) {
    if (reported_invalid_) return;
    const auto offset = converter_.first_invalid();
    if (!offset) return;
    reported_invalid_ = true;
    PrintError("telecode: " + DisplayName(name) + ": invalid " + InvalidName(options_.encoding) +
               " at byte offset " + std::to_string(*offset) +
               ", passed through unchanged (first of possibly more)\n");
  }

  // Reading codes as written, runs of digits that are no codes stay as they
  // are; the user learns where, so that nothing is lost unseen.
  void ReportKeptDigits(const std::string& name) {
    const yishu::Report& report = converter_.report();
    if (report.kept_runs == 0) return;
    PrintError(RunLines(
        name, report.kept, report.kept_runs,
        [](const yishu::DigitRun& run) {
          return std::to_string(run.digits) + (run.digits == 1 ? " digit" : " digits") +
                 " kept as they are (no code)";
        },
        " more runs of digits kept as they are"));
  }

  // Reading codes as written, four digits next to a letter, a currency sign
  // or 年月日號号 convert, but may be a year, a price or a number: the user
  // learns where, to check them.
  void ReportDoubtful(const std::string& name) {
    const yishu::Report& report = converter_.report();
    if (report.doubtful_runs == 0) return;
    PrintError(RunLines(
                   name, report.doubtful, report.doubtful_runs,
                   [](const yishu::DigitRun&) {
                     return std::string(
                         "4 digits next to a letter, a currency sign or 年月日號号 "
                         "converted as a code");
                   },
                   " more such runs of 4 digits") +
               "telecode: " + DisplayName(name) + ": check that " +
               (report.doubtful_runs == 1 ? "it is a code" : "they are codes") +
               ", not a year, a price or a number\n");
  }

  // One line for each of the first kMostKeptShown runs, by byte offset, and
  // one for the rest.
  template <typename Describe>
  std::string RunLines(const std::string& name, const std::vector<yishu::DigitRun>& runs,
                       std::uint64_t total, Describe describe, const char* more) const {
    const std::string prefix = "telecode: " + DisplayName(name) + ": ";
    std::string lines;
    for (std::size_t i = 0; i < runs.size() && i < kMostKeptShown; ++i) {
      lines += prefix + "byte " + std::to_string(converter_.ByteOffset(runs[i].offset)) + ": " +
               describe(runs[i]) + "\n";
    }
    if (total > kMostKeptShown) {
      lines += prefix + "and " + std::to_string(total - kMostKeptShown) + more + "\n";
    }
    return lines;
  }

  // Decoding as typed, a code converts only with its space: when codes were
  // left for want of one, say once what would read them.
  void HintAsWritten() {
    const std::uint64_t unspaced = books_.codes_without_space;
    if (unspaced == 0) return;
    const bool one = unspaced == 1;
    PrintError("telecode: " + std::to_string(unspaced) + (one ? " code was" : " codes were") +
               " left as digits because no space followed " + (one ? "it" : "them") +
               " (one code a line, 0022,2429 or 00222429); -w, --as-written reads codes as"
               " they are written\n");
  }

  void Fail(const std::string& name, const std::string& reason) {
    PrintError("telecode: " + DisplayName(name) + ": " + reason + "\n");
    failed_ = true;
  }

  const Options& options_;
  StreamConverter converter_;
  Output output_;
  std::unique_ptr<char[]> buffer_;
  std::string out_;
  bool failed_ = false;
  bool reported_invalid_ = false;
  bool order_checked_ = true;
  std::string text_start_;  // UTF-16: the start of the text, to tell its byte order
  yishu::Report books_;     // all files, for the lines at the end
};

std::string BookName(yishu::Book book) {
  return book == yishu::Book::Taiwan ? "Taiwan" : book == yishu::Book::Eccc ? "e-CCC" : "mainland";
}

std::string Utf8Of(char32_t c) {
  char bytes[4];
  return std::string(bytes, static_cast<std::size_t>(yishu::detail::EncodeUtf8(c, bytes)));
}

std::string CodesText(const std::vector<std::uint16_t>& list, bool more) {
  std::string codes;
  for (std::uint16_t code : list) {
    char digits[8];
    std::snprintf(digits, sizeof digits, " %04u", static_cast<unsigned>(code));
    codes += digits;
  }
  if (more) codes += " ...";
  return codes.substr(1);
}

// Where a character that `book` left is found instead: with all variant
// links in `book` itself, or in which other books.
std::string ElsewhereOf(yishu::Book book, char32_t c) {
  for (const yishu::CodeFound& f : yishu::CodesOf(book, c, yishu::Variants::All)) {
    if (f.produced) return "that only --variants=all converts";
  }
  std::vector<std::string> books;
  for (yishu::Book other : {yishu::Book::Mainland, yishu::Book::Taiwan, yishu::Book::Eccc}) {
    if (other != book && !yishu::CodesOf(other, c, yishu::Variants::All).empty())
      books.push_back(BookName(other));
  }
  if (books.size() == 1) return "only in the " + books[0] + " book";
  if (books.size() == 2) return "only in the " + books[0] + " and " + books[1] + " books";
  return "only in other books";
}

std::string EncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kCp936:
      return "cp936";
    case TextEncoding::kGb18030:
      return "gb18030 (read as cp936)";
    case TextEncoding::kUtf8:
      return "utf-8";
    case TextEncoding::kUtf16:
      return "utf-16";
    case TextEncoding::kUtf16Be:
      return "utf-16be";
    case TextEncoding::kUtf16Le:
      return "utf-16le";
  }
  return "";
}

std::string Listed(const std::u32string& chars, std::uint64_t count) {
  std::string text = " (";
  for (char32_t c : chars) {
    if (text.size() > 2) text += ' ';
    char bytes[4];
    text.append(bytes, static_cast<std::size_t>(yishu::detail::EncodeUtf8(c, bytes)));
  }
  if (chars.size() == yishu::Report::kListedChars && count > chars.size()) text += " ...";
  return text + ")";
}

}  // namespace

// Summary and the lines before it (kept and doubtful runs, codes without
// their space) say what each field of a Report means: a field added to
// Report needs its words here.
constexpr int kReportFields = [] {
  int n = 0;
  yishu::Report::ForEachField([&](const char*, auto) { ++n; });
  return n;
}();
static_assert(kReportFields == 19, "say in telecode's summary what the new Report field means");

// Nothing when all went plainly.
std::string Summary(const yishu::Report& r, const Options& options) {
  std::vector<std::string> parts;
  const auto n = [](std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
  };
  if (r.through_variant) {
    std::string through;
    for (const yishu::VariantUse& use : r.through_chars) {
      through += through.empty() ? " (" : ", ";
      through += Utf8Of(use.character);
      through += " through ";
      through += Utf8Of(use.variant);
    }
    if (!through.empty()) {
      if (r.through_chars.size() == yishu::Report::kListedChars) through += ", ...";
      through += ")";
    }
    parts.push_back(n(r.through_variant, "character", "characters") +
                    " converted through a variant" + through);
  }
  std::vector<std::string> left;
  if (r.ambiguous) {
    left.push_back(std::to_string(r.ambiguous) + " whose variants have several codes" +
                   Listed(r.ambiguous_chars, r.ambiguous));
  }
  if (r.other_book_only) {
    // One description where every listed character shares it.
    std::string where;
    for (char32_t c : r.other_book_chars) {
      const std::string here = ElsewhereOf(options.core.book, c);
      where = where.empty() || where == here ? here : "only in other books or with --variants=all";
    }
    left.push_back(std::to_string(r.other_book_only) + " " + where +
                   Listed(r.other_book_chars, r.other_book_only));
  }
  if (r.no_code) {
    left.push_back(std::to_string(r.no_code) + " in no book" + Listed(r.no_code_chars, r.no_code));
  }
  if (!left.empty()) {
    std::string text = "left as they are: ";
    for (std::size_t i = 0; i < left.size(); ++i) text += (i ? ", " : "") + left[i];
    parts.push_back(text);
  }
  if (r.unwritable) {
    parts.push_back(
        n(r.unwritable, "code", "codes") + " left as digits: " + EncodingName(options.encoding) +
        " cannot hold their characters (" +
        CodesText(r.unwritable_codes, r.unwritable_codes.size() == yishu::Report::kListedChars) +
        ")");
  }
  if (r.other_script) {
    const bool simplified = options.core.script == yishu::Script::Simplified;
    parts.push_back(n(r.other_script, "code", "codes") + " written in the " +
                    (simplified ? "traditional" : "simplified") + " form: the book has no " +
                    (simplified ? "simplified" : "traditional") + " form (" +
                    CodesText(r.other_script_codes,
                              r.other_script_codes.size() == yishu::Report::kListedChars) +
                    ")");
  }
  if (r.old_forms) {
    const std::string codes =
        " (" + CodesText(r.old_form_codes, r.old_form_codes.size() == yishu::Report::kListedChars) +
        ")";
    if (options.core.standard_forms) {
      parts.push_back(n(r.old_forms, "code", "codes") +
                      " written in the standard form of the book's old form" + codes);
    } else {
      parts.push_back(n(r.old_forms, "code", "codes") + " written in the book's old form, " +
                      "outside Big5" + codes + "; --standard-forms writes the standard form");
    }
  }
  std::string line;
  for (std::size_t i = 0; i < parts.size(); ++i) line += (i ? "; " : "") + parts[i];
  return line;
}

namespace {

int WriteText(std::string_view text, TextEncoding encoding) {
  Output output(encoding);
  switch (output.Write(text)) {
    case WriteResult::kWritten:
    case WriteResult::kReaderGone:
      return 0;
    case WriteResult::kFailed:
      break;
  }
  PrintError("telecode: write error: " + output.error() + "\n");
  return 1;
}

}  // namespace

int Run(const std::vector<std::string>& args) {
  const auto parsed = ParseCommandLine(args);
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    PrintError("telecode: " + error->message + "\n" + std::string(kUsage));
    return 2;
  }
  const Options& options = std::get<Options>(parsed);
  if (!StandardOutputIsOpen()) {
    PrintError("telecode: standard output is closed: there is nowhere to write\n");
    return 1;
  }
  switch (options.action) {
    case Action::kHelp:
      return WriteText(kHelp, TextEncoding::kUtf8);
    case Action::kVersion:
      return WriteText("telecode " YISHU_VERSION_STRING "\n", TextEncoding::kUtf8);
    case Action::kList: {
      std::size_t left_out = 0;
      const std::string list = CodeList(options.encoding, options.core.book, left_out);
      const int status = WriteText(list, options.encoding);
      if (left_out) {
        PrintError("telecode: " + std::to_string(left_out) + " codes left out: " +
                   EncodingName(options.encoding) + " cannot hold their characters\n");
      }
      return status;
    }
    case Action::kLookUp: {
      const auto lines = LookUp(options.files);
      if (const auto* error = std::get_if<LookUpError>(&lines)) {
        PrintError("telecode: --lookup: " + error->message + "\n" + std::string(kUsage));
        return 2;
      }
      return WriteText(std::get<std::string>(lines), TextEncoding::kUtf8);
    }
    case Action::kConvert:
      break;
  }
  return Conversion(options).Run();
}

}  // namespace telecode

// The entry points: arguments as UTF-8, without the program name.
#ifdef _WIN32
// wmain: arguments arrive as UTF-16, whatever the code page.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(wide_text::Utf8(argv[i]));
  return telecode::Run(args);
}
#else
int main(int argc, char** argv) {
  // A reader that goes away (| head) is no error: see it as EPIPE and stop.
  std::signal(SIGPIPE, SIG_IGN);
  return telecode::Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
