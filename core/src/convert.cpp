#include <span>
#include <string>
#include <string_view>

#include "char_to_code.h"
#include "code_table.h"
#include "code_to_char.h"
#include "writer.h"
#include "yishu/yishu.h"

namespace yishu {
namespace {

using detail::Form;

// Converts text[0..n) in `mode`; returns how many units were consumed (all of
// them when `final`).
template <Form F, class Unit>
std::size_t RunEngine(int mode, const Unit* text, std::size_t n, bool final,
                      std::basic_string<Unit>& result) {
  detail::Writer<Unit> out(result, detail::MostOutput<Unit>(n));
  if (mode == CharToCode) return detail::CharToCodeEngine<F>().Run(text, n, final, out);
  return detail::CodeToCharEngine<F>().Run(text, n, final, out);
}

std::size_t RunBytes(int mode, Encoding encoding, std::string_view text, bool final,
                     std::string& out) {
  if (encoding == Encoding::Utf8) {
    return RunEngine<Form::Utf8>(mode, text.data(), text.size(), final, out);
  }
  return RunEngine<Form::Cp936>(mode, text.data(), text.size(), final, out);
}

// How much of a new piece is joined to what was held back before it.
constexpr std::size_t kHeadBytes = 64;

bool IsAllDigits(std::string_view s) {
  for (char c : s) {
    if (!detail::IsDigit(c)) return false;
  }
  return true;
}

}  // namespace

std::string ConvertText(int mode, std::string_view text, Encoding encoding) {
  std::string out;
  RunBytes(mode, encoding, text, true, out);
  return out;
}

std::u16string ConvertText(int mode, std::u16string_view text) {
  std::u16string out;
  RunEngine<Form::Utf16>(mode, text.data(), text.size(), true, out);
  return out;
}

Converter::Converter(int mode, Encoding encoding) : mode_(mode), encoding_(encoding) {}

void Converter::Feed(std::string_view piece, std::string& out) { Process(piece, false, out); }

void Converter::Finish(std::string& out) { Process({}, true, out); }

void Converter::Process(std::string_view text, bool final, std::string& out) {
  if (carry_.empty()) {
    const std::size_t used = RunBytes(mode_, encoding_, text, final, out);
    carry_.assign(text.substr(used));
    return;
  }
  // A held-back digit run that only grows needs no work until it is long.
  if (!final && mode_ != CharToCode && IsAllDigits(carry_) && IsAllDigits(text) &&
      carry_.size() + text.size() <= detail::kMaxHeldRun) {
    carry_.append(text);
    return;
  }
  // What was held back usually resolves within the next few bytes: convert it
  // with a short head of the new piece, then go on in the piece itself, which
  // saves copying the piece. Converting stops only where it can start again.
  const std::size_t held = carry_.size();
  const std::string_view head = text.substr(0, kHeadBytes);
  std::string joined = std::move(carry_);
  joined.append(head);
  carry_.clear();
  const bool whole = head.size() == text.size();
  const std::size_t used = RunBytes(mode_, encoding_, joined, final && whole, out);
  if (whole) {
    carry_.assign(joined, used);
  } else if (used >= held) {
    Process(text.substr(used - held), final, out);
  } else {  // still undecided, such as a long run of digits: join it all
    std::string all = joined.substr(used);
    all.append(text.substr(head.size()));
    const std::size_t all_used = RunBytes(mode_, encoding_, all, final, out);
    carry_.assign(all, all_used);
  }
}

std::span<const CodeRow> CodeBook() { return {detail::kCodeRows, detail::kCodeRowCount}; }

}  // namespace yishu
