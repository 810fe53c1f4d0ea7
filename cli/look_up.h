// telecode --lookup: what each code book gives for characters and codes.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace telecode {

struct LookUpError {
  std::string message;
};

// One line per character and per four-digit code in `texts` (UTF-8), with
// seven tab-separated fields: the item; then for the mainland, Taiwan and
// e-CCC books the codes or character, and the variants they were found
// through with their sources ("衞[unihan-semantic,opencc-hk]"), or "-".
// "none" where a book has nothing. Whitespace separates items; a run of
// digits other than four is an error.
std::variant<std::string, LookUpError> LookUp(const std::vector<std::string>& texts);

// The names of VariantSource bits, separated by commas.
std::string SourceNames(std::uint8_t sources);

}  // namespace telecode
