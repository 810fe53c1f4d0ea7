#include <cassert>
#include <span>
#include <string>
#include <string_view>

#include "char_to_code.h"
#include "code_table.h"
#include "code_to_char.h"
#include "writer.h"
#include "written_codes.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using detail::Form;

// Records the runs of digits that reading codes as written kept, at offsets
// from the start of the text: `base` is where the units given to the engine
// start in it.
class KeptRunReport final : public detail::KeptRunSink {
 public:
  KeptRunReport(Report& report, std::uint64_t base, std::uint64_t& last_end)
      : report_(report), base_(base), last_end_(last_end) {}

  void Kept(std::size_t offset, std::size_t units, std::size_t digits) override {
    const std::uint64_t at = base_ + offset;
    // A run too long to hold comes in parts, each right after the one before.
    // Two runs never touch (they would be one), so such a part continues the
    // last run.
    if (report_.kept_runs > 0 && at == last_end_) {
      if (report_.kept.size() == report_.kept_runs) {
        report_.kept.back().units += units;
        report_.kept.back().digits += digits;
      }
    } else {
      ++report_.kept_runs;
      if (report_.kept.size() < Report::kListedRuns) report_.kept.push_back({at, units, digits});
    }
    last_end_ = at + units;
  }

  void Doubtful(std::size_t offset, std::size_t units) override {
    ++report_.doubtful_runs;
    if (report_.doubtful.size() < Report::kListedRuns) {
      report_.doubtful.push_back({base_ + offset, units, 4});
    }
  }

 private:
  Report& report_;
  std::uint64_t base_;
  std::uint64_t& last_end_;
};

// Where in its text a call of an engine starts, for the offsets of the
// Report: the units decided before it, and the end of the last kept run.
// Codes as typed keep no runs; there `last_kept_end` is where the converted
// start of a run too long to hold ends, so that its rest is known as such.
struct Place {
  std::uint64_t base = 0;
  std::uint64_t last_kept_end = 0;
};

// Converts text[0..n) in `direction`; returns how many units were consumed
// (all of them when `final`).
template <Form F, class Unit>
std::size_t RunEngine(Direction direction, const Options& options, const Unit* text, std::size_t n,
                      bool final, std::basic_string<Unit>& result, Report& report, Place& place) {
  const bool to_codes = direction == Direction::CharToCode;
  const detail::Lookup& lookup =
      to_codes ? detail::CharToCodeLookup(options.book,
                                          detail::RouteSources(options.book, options.variants))
               : detail::CodeToCharLookup(options.book, options.script, options.standard_forms);
  std::size_t most = detail::MostOutput<Unit>(to_codes, n);
  if constexpr (F == Form::Utf16) {
    if (to_codes) most = detail::MostCodesOutput(text, n);
  }
  detail::Writer<Unit> out(result, most);
  if (to_codes) {
    if (lookup.marks) return detail::CharsToCodes<F, true>(lookup, text, n, final, out, report);
    return detail::CharsToCodes<F, false>(lookup, text, n, final, out, report);
  }
  if (options.reading == CodeReading::AsWritten) {
    KeptRunReport kept(report, place.base, place.last_kept_end);
    return detail::WrittenCodeEngine<F>(lookup, report, kept).Run(text, n, final, out);
  }
  const bool continues_run = place.base != 0 && place.last_kept_end == place.base;
  bool cut_run = false;
  const std::size_t used =
      detail::CodeToCharEngine<F>(lookup, report, continues_run, &cut_run).Run(text, n, final, out);
  if (cut_run) place.last_kept_end = place.base + used;
  return used;
}

std::size_t RunBytes(Direction direction, const Options& options, Encoding encoding,
                     std::string_view text, bool final, std::string& out, Report& report,
                     Place& place) {
  if (encoding == Encoding::Utf8) {
    return RunEngine<Form::Utf8>(direction, options, text.data(), text.size(), final, out, report,
                                 place);
  }
  return RunEngine<Form::Cp936>(direction, options, text.data(), text.size(), final, out, report,
                                place);
}

// How much of a new piece is joined to what was held back before it.
constexpr std::size_t kHeadBytes = 64;

template <class Unit>
bool IsAllDigits(std::basic_string_view<Unit> s) {
  for (Unit c : s) {
    if (!detail::IsDigit(c)) return false;
  }
  return true;
}

// Converts the next piece of a streamed text. `carry` holds what earlier
// pieces left undecided; `run` converts a text and returns how much of it is
// decided (all of it when final). What is held back is always short: a
// character cut off, or a digit run of at most kMaxHeldRun units, as longer
// runs are converted in part.
template <class Unit, class Run>
void StreamPiece(std::basic_string<Unit>& carry, std::basic_string_view<Unit> text, bool final,
                 bool codes_to_chars, std::basic_string<Unit>& out, const Run& run) {
  using View = std::basic_string_view<Unit>;
  std::size_t from = 0;  // where converting goes on in `text`
  if (!carry.empty()) {
    // A held-back digit run that only grows needs no work until it is long.
    // Held units that end with a digit and begin with one, or with a
    // character of at most four units before one (a mark that the reading
    // as written looks at), are such a run: the engines hold back nothing
    // else that ends with a digit. Looking at the ends only keeps a run fed
    // one byte at a time from costing its whole length per byte.
    std::size_t first_digit = 0;
    while (first_digit < carry.size() - 1 && first_digit < 4 &&
           !detail::IsDigit(carry[first_digit])) {
      ++first_digit;
    }
    if (!final && codes_to_chars && detail::IsDigit(carry[first_digit]) &&
        detail::IsDigit(carry.back()) && IsAllDigits(text) &&
        carry.size() + text.size() <= detail::kMaxHeldRun) {
      assert(IsAllDigits(View(carry).substr(first_digit)));
      carry.append(text);
      return;
    }
    // What was held back usually resolves within the next few units: convert
    // it with a short head of the piece, then go on in the piece itself, which
    // saves copying the piece. Only when the head leaves the held units
    // undecided (a long digit run) is the whole piece joined to them.
    const std::size_t held = carry.size();
    const View head = text.substr(0, kHeadBytes);
    std::basic_string<Unit> joined = std::move(carry);
    carry.clear();
    joined.append(head);
    bool whole = head.size() == text.size();
    std::size_t used = run(View(joined), final && whole, out);
    if (!whole && used < held) {
      joined.erase(0, used);
      joined.append(text.substr(head.size()));
      whole = true;
      used = run(View(joined), final, out);
    }
    if (whole) {
      carry.assign(joined, used);
      return;
    }
    from = used - held;
  }
  const std::size_t used = run(text.substr(from), final, out);
  carry.assign(text.substr(from + used));
}

}  // namespace

std::string ConvertText(Direction direction, std::string_view text, Encoding encoding,
                        const Options& options, Report* report) {
  Report local;
  Report& r = report ? *report : local;
  r = {};
  std::string out;
  Place place;
  RunBytes(direction, options, encoding, text, true, out, r, place);
  return out;
}

std::u16string ConvertText(Direction direction, std::u16string_view text, const Options& options,
                           Report* report) {
  Report local;
  Report& r = report ? *report : local;
  r = {};
  std::u16string out;
  Place place;
  RunEngine<Form::Utf16>(direction, options, text.data(), text.size(), true, out, r, place);
  return out;
}

Converter::Converter(Direction direction, Encoding encoding, const Options& options)
    : direction_(direction), encoding_(encoding), options_(options) {}

void Converter::Feed(std::string_view piece, std::string& out) { Process(piece, false, out); }

void Converter::Finish(std::string& out) { Process({}, true, out); }

// The units given to an engine always start right after those it decided
// before, so their offset in the text is the count of those.
void Converter::Process(std::string_view text, bool final, std::string& out) {
  if (finished_) {  // a new text
    consumed_ = last_kept_end_ = 0;
    finished_ = false;
  }
  StreamPiece(carry_, text, final, direction_ == Direction::CodeToChar, out,
              [this](std::string_view t, bool f, std::string& o) {
                Place place{consumed_, last_kept_end_};
                const std::size_t used =
                    RunBytes(direction_, options_, encoding_, t, f, o, report_, place);
                consumed_ += used;
                last_kept_end_ = place.last_kept_end;
                return used;
              });
  finished_ = final;
}

Utf16Converter::Utf16Converter(Direction direction, const Options& options)
    : direction_(direction), options_(options) {}

void Utf16Converter::Feed(std::u16string_view piece, std::u16string& out) {
  Process(piece, false, out);
}

void Utf16Converter::Finish(std::u16string& out) { Process({}, true, out); }

void Utf16Converter::Process(std::u16string_view text, bool final, std::u16string& out) {
  if (finished_) {
    consumed_ = last_kept_end_ = 0;
    finished_ = false;
  }
  StreamPiece(carry_, text, final, direction_ == Direction::CodeToChar, out,
              [this](std::u16string_view t, bool f, std::u16string& o) {
                Place place{consumed_, last_kept_end_};
                const std::size_t used = RunEngine<Form::Utf16>(direction_, options_, t.data(),
                                                                t.size(), f, o, report_, place);
                consumed_ += used;
                last_kept_end_ = place.last_kept_end;
                return used;
              });
  finished_ = final;
}

std::span<const CodeRow> CodeBook(Book book, Script script) { return detail::RowsOf(book, script); }

}  // namespace yishu
