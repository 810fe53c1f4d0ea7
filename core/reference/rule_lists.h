// The two rule lists, spelled out: ordered (key, replacement) pairs that are
// applied one after another, each over the whole text.
#pragma once

#include <string>
#include <vector>

namespace yishu::reference {

// One rule in both text forms: CP936 bytes, and Unicode code points.
struct Rule {
  std::string key, replacement;
  std::u32string unicode_key, unicode_replacement;
};

// Codes to characters: the codes 0001 to 9899 in code order, then the 31 day
// keys, then the codes 9941 to 9998.
const std::vector<Rule>& CodeToCharRules();

// Characters to codes: one rule per code in code order, but for the codes that
// are never produced.
const std::vector<Rule>& CharToCodeRules();

}  // namespace yishu::reference
