// The code book as text, for telecode --list.
#pragma once

#include <string>

#include "text_encoding.h"
#include "yishu/yishu.h"

namespace telecode {

// One line per code of `book`, in code order: the four digits, a tab, the
// character, a newline. UTF-16 output is little-endian with a byte-order
// mark. Codes whose character the encoding cannot hold (CP936 lacks a few
// of the Taiwan book; GB18030 writes them in four bytes) are left out and
// counted in `left_out`.
std::string CodeList(TextEncoding encoding, yishu::Book book, std::size_t& left_out);

}  // namespace telecode
