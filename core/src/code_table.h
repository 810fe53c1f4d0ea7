// The code books as generated data: code_table.cpp (the mainland book,
// written by tools/gen_table.py), taiwan_table.cpp (the Taiwan book, written
// by tools/gen_book_data.py) and eccc_table.cpp (the e-CCC book, one table
// per script, written by tools/gen_eccc.py); one row per code, in code order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "yishu/yishu.h"

namespace yishu::detail {

extern const CodeRow kCodeRows[];
extern const std::size_t kCodeRowCount;

extern const CodeRow kTaiwanRows[];
extern const std::size_t kTaiwanRowCount;

extern const CodeRow kEcccRows[];  // the traditional form
extern const CodeRow kEcccSimplifiedRows[];
extern const std::size_t kEcccRowCount;

// An e-CCC code with an empty column, whose table has the other form there.
struct EcccGap {
  std::uint16_t code;
  std::uint8_t missing;  // 1: the traditional form, 2: the simplified form
};
extern const EcccGap kEcccGaps[];
extern const std::size_t kEcccGapCount;

inline std::span<const CodeRow> RowsOf(Book book, Script script = Script::Traditional) {
  if (book == Book::Taiwan) return {kTaiwanRows, kTaiwanRowCount};
  if (book == Book::Eccc) {
    return {script == Script::Simplified ? kEcccSimplifiedRows : kEcccRows, kEcccRowCount};
  }
  return {kCodeRows, kCodeRowCount};
}

// Every book, for what looks at all of them.
inline constexpr Book kBooks[] = {Book::Mainland, Book::Taiwan, Book::Eccc};

}  // namespace yishu::detail
