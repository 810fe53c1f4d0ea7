// The code book as text, for telecode --list.
#pragma once

#include <string>

#include "text_encoding.h"

namespace telecode {

// One line per code, in code order: the four digits, a tab, the character,
// a newline. UTF-16 output is little-endian with a byte-order mark.
std::string CodeList(TextEncoding encoding);

}  // namespace telecode
