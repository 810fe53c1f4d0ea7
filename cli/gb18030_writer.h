// Codes to characters in GB18030 text: the core writes CP936, which lacks a
// few characters of the Taiwan and e-CCC books; GB18030 writes them in four
// bytes. Before the core sees the text, the codes of those characters are
// replaced by their four-byte sequences, read as the core reads codes (with
// the codes written together with them); the core converts the rest.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "yishu/yishu.h"

namespace telecode::gb18030 {

class FourByteChars {
 public:
  explicit FourByteChars(const yishu::Options& options);

  // Whether the book has codes whose characters CP936 lacks: without them
  // nothing changes.
  bool needed() const { return !lacking_.empty(); }

  // Appends `piece` to `out` so changed, holding back what the next piece
  // may change (a run of digits at the end, a lead byte).
  void Feed(std::string_view piece, std::string& out);
  // Ends the text: what was held back goes out. The next Feed starts a new
  // text; until then report() and InputOffset still serve this one.
  void Finish(std::string& out);

  // What the replaced codes add to the core's report for the current text:
  // their notes (old forms, other script) and the runs of four digits
  // next to a mark, at offsets in the input.
  const yishu::Report& report() const { return report_; }
  // The offset in the input of an offset in the text given to the core, for
  // offsets from `Forget`'s on.
  std::uint64_t InputOffset(std::uint64_t core_offset) const;
  // The core has decided everything before `core_offset`.
  void Forget(std::uint64_t core_offset);
  // Runs of four digits that the core sees right after a mark this writer
  // wrote, where the text has a space: the core lists them as next to a
  // mark, though only the character after them could make them so. Those
  // that are not are counted here, and their offsets (from Forget's on)
  // told.
  std::uint64_t false_doubtful_runs() const { return false_doubtful_runs_; }
  bool FalseDoubtful(std::uint64_t core_offset) const;

 private:
  // A code's character as the core writes it, and what writing it adds to
  // the report.
  struct Written {
    std::string bytes;
    yishu::Report notes;
    bool mark = false;  // as written: four digits after it look like a number
  };
  const Written& Write(int code);
  void Process(std::string_view piece, bool final, std::string& out);
  // Where the run of digits at p[i] ends, its digits as ASCII in `digits`;
  // `cut` when the end of p leaves that open.
  std::size_t RunEnd(const unsigned char* p, std::size_t i, std::size_t n, bool final,
                     std::string& digits, bool& cut) const;
  bool Doubtful(std::string_view before, std::string_view after) const;
  void Replaced(std::size_t input_units, std::size_t written);

  yishu::Options options_;
  bool as_written_;
  std::vector<unsigned char> has_row_, lacking_set_;  // by code
  std::vector<int> lacking_;
  std::unordered_map<int, Written> written_;
  std::string stand_in_;  // four digits of a code CP936 holds
  std::string carry_;
  std::string before_;     // the last character before the carry
  bool long_run_ = false;  // as written: in a run too long to be codes
  bool finished_ = false;
  bool after_written_mark_ = false;
  std::vector<std::uint64_t> false_doubtful_;  // core offsets
  std::uint64_t false_doubtful_runs_ = 0;
  std::uint64_t input_at_ = 0, core_at_ = 0;  // where the carry begins
  struct Shift {
    std::uint64_t core_from;  // core offsets from here on
    std::uint64_t add;        // add this many units
  };
  std::vector<Shift> shifts_;
  std::uint64_t base_add_ = 0;
  yishu::Report report_;
};

}  // namespace telecode::gb18030
