// telecode --lookup: what each code book gives for characters and codes.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace telecode {

struct LookUpError {
  std::string message;
};

// One line per character and per four-digit code in `texts` (UTF-8), with
// five tab-separated fields: the item; the mainland book's codes or
// character; the variants they were found through, or "-"; the same two for
// the Taiwan book. "none" where a book has nothing. Whitespace separates
// items; a run of digits other than four is an error.
std::variant<std::string, LookUpError> LookUp(const std::vector<std::string>& texts);

}  // namespace telecode
