#include "gb18030_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "gb18030.h"
#include "yishu/internal/digit_scan.h"
#include "yishu/internal/four_digits.h"
#include "yishu/internal/simd.h"
#include "yishu/internal/unicode.h"

namespace telecode::gb18030 {

namespace {

using yishu::detail::CodeOfDigits;

// As the core reads codes as written: runs of up to this many digits are
// lists of codes, and the ideographic space goes with a code as a space does.
constexpr std::size_t kLongestList = 2048;
constexpr unsigned char kWideLead = 0xA3;  // ０-９ are A3 B0..A3 B9

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsAsciiDigit(unsigned char b) { return b >= '0' && b <= '9'; }
bool IsWideDigitTrail(unsigned char b) { return b >= 0xB0 && b <= 0xB9; }

std::string DigitsOf(int code) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04d", code);
  return digits;
}

// Whether a character begins at q, given that one begins at `known`: bytes
// 0x81..0xFE pair up from the last byte outside that range.
bool BeginsCharacter(const unsigned char* p, std::size_t known, std::size_t q) {
  std::size_t i = q;
  while (i > known && IsLead(p[i - 1])) --i;
  return (q - i) % 2 == 0;
}

// The bytes of the character that begins at p[i], as far as p reaches.
std::size_t CharUnits(const unsigned char* p, std::size_t i, std::size_t n) {
  return IsLead(p[i]) && i + 1 < n ? 2 : 1;
}

}  // namespace

FourByteChars::FourByteChars(const yishu::Options& options)
    : options_(options),
      as_written_(options.reading == yishu::CodeReading::AsWritten),
      has_row_(10000),
      lacking_set_(10000) {
  options_.reading = yishu::CodeReading::Typed;  // for Write's single codes
  // CP936 lacks the characters of the rows without CP936 bytes, and may lack
  // the standard form written for an old form.
  for (const yishu::CodeRow& row : yishu::CodeBook(options.book, options.script)) {
    has_row_[row.code] = true;
    if (row.lead == 0 || (options.standard_forms && yishu::StandardFormOf(row.unicode) != 0)) {
      yishu::Report report;
      yishu::ConvertText(yishu::Direction::CodeToChar, DigitsOf(row.code) + " ",
                         yishu::Encoding::Cp936, options_, &report);
      if (report.unwritable != 0) {
        lacking_set_[row.code] = true;
        lacking_.push_back(row.code);
      }
    } else if (stand_in_.empty() && yishu::StandardFormOf(row.unicode) == 0) {
      stand_in_ = DigitsOf(row.code);
    }
  }
}

const FourByteChars::Written& FourByteChars::Write(int code) {
  const auto found = written_.find(code);
  if (found != written_.end()) return found->second;
  Written w;
  const std::string text = DigitsOf(code) + " ";
  if (lacking_set_[code]) {
    const std::string utf8 = yishu::ConvertText(yishu::Direction::CodeToChar, text,
                                                yishu::Encoding::Utf8, options_, &w.notes);
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    w.bytes = FourBytesOf(yishu::detail::DecodeUtf8(bytes, static_cast<int>(utf8.size())));
  } else {
    w.bytes = yishu::ConvertText(yishu::Direction::CodeToChar, text, yishu::Encoding::Cp936,
                                 options_, &w.notes);
  }
  w.mark = as_written_ && Doubtful(w.bytes, "");
  return written_.emplace(code, std::move(w)).first->second;
}

// The core decides whether four digits between these characters look like
// a number: asked with a code it can write.
bool FourByteChars::Doubtful(std::string_view before, std::string_view after) const {
  yishu::Options options = options_;
  options.reading = yishu::CodeReading::AsWritten;
  yishu::Report report;
  yishu::ConvertText(yishu::Direction::CodeToChar,
                     std::string(before) + stand_in_ + std::string(after), yishu::Encoding::Cp936,
                     options, &report);
  return report.doubtful_runs != 0;
}

std::size_t FourByteChars::RunEnd(const unsigned char* p, std::size_t i, std::size_t n, bool final,
                                  std::string& digits, bool& cut) const {
  digits.clear();
  cut = false;
  std::size_t e = i;
  while (e < n) {
    if (IsAsciiDigit(p[e])) {
      // As typed, only the last four digits matter: they are read from p.
      if (as_written_ && digits.size() <= kLongestList) digits += static_cast<char>(p[e]);
      ++e;
    } else if (as_written_ && p[e] == kWideLead && e + 1 < n && IsWideDigitTrail(p[e + 1])) {
      if (digits.size() <= kLongestList) digits += static_cast<char>('0' + p[e + 1] - 0xB0);
      e += 2;
    } else {
      break;
    }
  }
  // What follows the run decides: a space, or (as written) a full-width digit
  // or the ideographic space, whose second byte may be still to come.
  if (!final && (e == n || (as_written_ && IsLead(p[e]) && e + 1 == n))) cut = true;
  return e;
}

void FourByteChars::Replaced(std::size_t input_units, std::size_t written) {
  core_at_ += written;
  input_at_ += input_units;
  shifts_.push_back({core_at_, input_at_ - core_at_});
}

void FourByteChars::Process(std::string_view piece, bool final, std::string& out) {
  if (finished_) {  // a new text
    report_ = {};
    before_.clear();
    long_run_ = after_written_mark_ = false;
    input_at_ = core_at_ = 0;
    shifts_.clear();
    base_add_ = 0;
    false_doubtful_.clear();
    false_doubtful_runs_ = 0;
  }
  finished_ = final;
  std::string joined;
  piece = WithCarry(carry_, piece, joined);
  const auto* p = reinterpret_cast<const unsigned char*>(piece.data());
  const std::size_t n = piece.size();
  // A character begins at i; everything from `copied` goes to the core
  // unchanged.
  std::size_t copied = 0, i = 0;
  std::string digits;
  const auto copy_to = [&](std::size_t to) {
    out.append(piece.substr(copied, to - copied));
    input_at_ += to - copied;
    core_at_ += to - copied;
    copied = to;
  };
  // The character before a run at q, which begins a character.
  const auto before = [&](std::size_t q) {
    if (q == 0) return std::string_view(before_);
    const std::size_t start =
        q >= 2 && IsLead(p[q - 2]) && BeginsCharacter(p, 0, q - 2) ? q - 2 : q - 1;
    return piece.substr(start, q - start);
  };
  const auto after = [&](std::size_t e) { return piece.substr(e, e < n ? CharUnits(p, e, n) : 0); };
  for (;;) {
    const std::size_t q =
        yishu::detail::FindDigitOr(piece.data(), i, n, as_written_ ? kWideLead : '0');
    if (q > i) long_run_ = after_written_mark_ = false;  // a character stands between
    if (q == n) {
      i = n;
      // A lead byte at the end waits for its second byte.
      if (!final && n > 0 && IsLead(p[n - 1]) && BeginsCharacter(p, 0, n - 1)) i = n - 1;
      break;
    }
    if (q > i && !BeginsCharacter(p, i, q)) {  // a second byte
      i = q + 1;
      continue;
    }
    if (p[q] == kWideLead && !IsAsciiDigit(p[q])) {
      if (q + 1 == n && !final) {
        i = q;
        break;
      }
      if (q + 1 == n || !IsWideDigitTrail(p[q + 1])) {
        long_run_ = after_written_mark_ = false;
        i = std::min(q + 2, n);
        continue;
      }
    }
    i = q;
    // Lists of codes, as in "0022 2429 " or one a line: four ASCII digits
    // and an ASCII character, and a code CP936 can write, need nothing.
    if (!after_written_mark_ && !long_run_) {
      std::size_t j = q;
      while (j + 8 <= n) {
#if YISHU_SSE2
        if (j + 16 <= n && yishu::detail::ThreeSpacedCodesAt(piece.data() + j) &&
            !lacking_set_[CodeOfDigits(p + j)] && !lacking_set_[CodeOfDigits(p + j + 5)] &&
            !lacking_set_[CodeOfDigits(p + j + 10)]) {
          j += 15;
          continue;
        }
#endif
        std::uint64_t w;
        std::memcpy(&w, p + j, 8);
        const int code = yishu::detail::CodeOfDigitLanes<char>(w & 0xFFFFFFFFull);
        const unsigned char next = p[j + 4];
        if (code < 0 || next >= 0x80 || IsAsciiDigit(next) || lacking_set_[code]) break;
        j += 5;
      }
      if (j != q) {
        i = j;
        continue;
      }
    }
    bool cut;
    const std::size_t e = RunEnd(p, q, n, final, digits, cut);
    if (cut) {
      // Held whole while it may yet be a list of codes; as typed, only its
      // last four digits can be a code.
      if (as_written_ && (long_run_ || digits.size() > kLongestList)) {
        long_run_ = true;
        i = e;
      } else if (!as_written_ && e - q > 4) {
        i = e - 4;
      }
      break;
    }
    std::size_t take = 0;  // how many units of the run and its space change
    std::size_t from = q;  // where the change begins
    std::string written;
    if (!as_written_) {
      const int code = e - q >= 4 ? CodeOfDigits(piece.data() + e - 4) : -1;
      if (code >= 0 && e < n && p[e] == ' ' && lacking_set_[code]) {
        from = e - 4;
        take = 5;
        const Written& w = Write(code);
        written = w.bytes;
        report_.Merge(w.notes);
      }
    } else if (!long_run_ && digits.size() % 4 == 0 && digits.size() <= kLongestList) {
      bool all_codes = true, any_lacking = false;
      for (std::size_t g = 0; g < digits.size(); g += 4) {
        const int code = CodeOfDigits(digits.data() + g);
        all_codes = all_codes && has_row_[code];
        any_lacking = any_lacking || lacking_set_[code];
      }
      if (all_codes && any_lacking) {
        for (std::size_t g = 0; g < digits.size(); g += 4) {
          const Written& w = Write(CodeOfDigits(digits.data() + g));
          written += w.bytes;
          report_.Merge(w.notes);
        }
        const std::size_t space = e < n && p[e] == ' '                            ? 1
                                  : e + 1 < n && p[e] == 0xA1 && p[e + 1] == 0xA1 ? 2
                                                                                  : 0;
        take = e - q + space;
        if (digits.size() == 4 && Doubtful(before(q), after(e))) {
          if (report_.doubtful.size() < yishu::Report::kListedRuns) {
            report_.doubtful.push_back({input_at_ + (q - copied), e - q, 4});
          }
          ++report_.doubtful_runs;
        }
      }
    }
    // A run right after a space that a replaced run took: the core sees the
    // last character written before it, which may be a mark where the text
    // has the space. The core's note of it goes where it is wrong.
    if (after_written_mark_ && take == 0 && digits.size() == 4 &&
        has_row_[CodeOfDigits(digits.data())] && !Doubtful(before(q), after(e))) {
      false_doubtful_.push_back(core_at_ + (q - copied));
      ++false_doubtful_runs_;
    }
    after_written_mark_ = false;
    long_run_ = digits.size() > kLongestList;
    i = e;
    if (take == 0) continue;
    copy_to(from);
    out += written;
    Replaced(take, written.size());
    copied = i = from + take;
    after_written_mark_ =
        as_written_ && i > e && Write(CodeOfDigits(digits.data() + digits.size() - 4)).mark;
  }
  if (final) i = n;
  copy_to(i);
  if (i > 0) before_ = std::string(before(i));  // for a run at the start of the next piece
  carry_.assign(piece.substr(i));
}

void FourByteChars::Feed(std::string_view piece, std::string& out) { Process(piece, false, out); }

void FourByteChars::Finish(std::string& out) { Process({}, true, out); }

std::uint64_t FourByteChars::InputOffset(std::uint64_t core_offset) const {
  const auto after =
      std::upper_bound(shifts_.begin(), shifts_.end(), core_offset,
                       [](std::uint64_t offset, const Shift& s) { return offset < s.core_from; });
  return core_offset + (after == shifts_.begin() ? base_add_ : (after - 1)->add);
}

void FourByteChars::Forget(std::uint64_t core_offset) {
  const auto after =
      std::upper_bound(shifts_.begin(), shifts_.end(), core_offset,
                       [](std::uint64_t offset, const Shift& s) { return offset < s.core_from; });
  if (after != shifts_.begin()) {
    base_add_ = (after - 1)->add;
    shifts_.erase(shifts_.begin(), after);
  }
  false_doubtful_.erase(
      false_doubtful_.begin(),
      std::lower_bound(false_doubtful_.begin(), false_doubtful_.end(), core_offset));
}

bool FourByteChars::FalseDoubtful(std::uint64_t core_offset) const {
  return std::binary_search(false_doubtful_.begin(), false_doubtful_.end(), core_offset);
}

}  // namespace telecode::gb18030
