// The code book as generated data (code_table.cpp, written by
// tools/gen_table.py): one row per code, in code order.
#pragma once

#include <cstddef>
#include <iterator>

#include "yishu/yishu.h"

namespace yishu::detail {

extern const CodeRow kCodeRows[];
extern const std::size_t kCodeRowCount;

}  // namespace yishu::detail
