// The code books as generated data: code_table.cpp (the mainland book,
// written by tools/gen_table.py) and taiwan_table.cpp (the Taiwan book,
// written by tools/gen_book_data.py); one row per code, in code order.
#pragma once

#include <cstddef>
#include <iterator>

#include "yishu/yishu.h"

namespace yishu::detail {

extern const CodeRow kCodeRows[];
extern const std::size_t kCodeRowCount;

extern const CodeRow kTaiwanRows[];
extern const std::size_t kTaiwanRowCount;

inline std::span<const CodeRow> RowsOf(Book book) {
  if (book == Book::Taiwan) return {kTaiwanRows, kTaiwanRowCount};
  return {kCodeRows, kCodeRowCount};
}

}  // namespace yishu::detail
