#include <algorithm>
#include <cassert>
#include <span>
#include <string>
#include <string_view>

#include "char_to_code.h"
#include "code_table.h"
#include "code_to_char.h"
#include "hold_back.h"
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
// decided (all of it when final). What may be held is in hold_back.h.
template <class Unit, class Run>
void StreamPiece(std::basic_string<Unit>& carry, std::basic_string_view<Unit> text, bool final,
                 bool codes_to_chars, std::basic_string<Unit>& out, const Run& run) {
  using View = std::basic_string_view<Unit>;
  std::size_t from = 0;  // where converting goes on in `text`
  if (!carry.empty()) {
    // A held-back digit run that only grows needs no work until it is long.
    // Held units that end with a digit and begin with one, or with a
    // character of at most four units before one (a mark that the reading
    // as written looks at), are such a run (hold_back.h). Looking at the ends only keeps a run fed
    // one byte at a time from costing its whole length per byte.
    std::size_t first_digit = 0;
    while (first_digit < carry.size() - 1 && first_digit < 4 &&
           !detail::IsDigit(carry[first_digit])) {
      ++first_digit;
    }
    if (!final && codes_to_chars && detail::IsDigit(carry[first_digit]) &&
        detail::IsDigit(carry.back()) && IsAllDigits(text) &&
        carry.size() + text.size() <= detail::kMaxHeldRun) {
      assert(std::all_of(carry.begin() + first_digit, carry.end(),
                         [](Unit u) { return detail::IsDigit(u) || !detail::IsAscii(u); }));
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

template <class Unit>
void Converter<Unit>::Feed(View piece, String& out) {
  Process(piece, false, out);
}

template <class Unit>
void Converter<Unit>::Finish(String& out) {
  Process({}, true, out);
}

// The units given to an engine always start right after those it decided
// before, so their offset in the text is the count of those.
template <class Unit>
void Converter<Unit>::Process(View text, bool final, String& out) {
  if (finished_) {  // a new text
    consumed_ = last_kept_end_ = 0;
    report_ = {};
    finished_ = false;
  }
  StreamPiece(carry_, text, final, direction_ == Direction::CodeToChar, out,
              [this](View t, bool f, String& o) {
                Place place{consumed_, last_kept_end_};
                std::size_t used;
                if constexpr (std::is_same_v<Unit, char16_t>) {
                  used = RunEngine<Form::Utf16>(direction_, options_, t.data(), t.size(), f, o,
                                                report_, place);
                } else {
                  used = RunBytes(direction_, options_, encoding_, t, f, o, report_, place);
                }
                consumed_ += used;
                last_kept_end_ = place.last_kept_end;
                return used;
              });
  finished_ = final;
}

template class Converter<char>;
template class Converter<char16_t>;

namespace {

void MergeField(std::uint64_t& into, std::uint64_t from) { into += from; }

template <class List>
void MergeField(List& into, const List& from) {
  for (const auto& item : from) {
    if (into.size() >= Report::kListedChars) return;
    if (std::find(into.begin(), into.end(), item) == into.end()) into.push_back(item);
  }
}

void MergeField(std::vector<DigitRun>& into, const std::vector<DigitRun>& from) {
  const std::size_t room = Report::kListedRuns - std::min(into.size(), Report::kListedRuns);
  into.insert(into.end(), from.begin(), from.begin() + std::min(room, from.size()));
}

}  // namespace

void Report::Merge(const Report& other) {
  ForEachField([&](const char*, auto member) { MergeField(this->*member, other.*member); });
}

}  // namespace yishu
