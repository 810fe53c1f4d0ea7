// What the Python, npm and web bindings share: the options from the numbers
// of yishu.h's enums, which their own tables use, and the report walked field
// by field under the bindings' names.
#pragma once

#include <string>
#include <string_view>

#include "yishu/yishu.h"

namespace yishu::detail {

inline Options OptionsOf(int book, int variants, bool as_written, int script, bool standard_forms) {
  Options options;
  options.book = static_cast<Book>(book);
  options.variants = static_cast<Variants>(variants);
  options.reading = as_written ? CodeReading::AsWritten : CodeReading::Typed;
  options.script = static_cast<Script>(script);
  options.standard_forms = standard_forms;
  return options;
}

// The JavaScript name of a Report field: through_variant -> throughVariant.
inline std::string CamelCase(std::string_view name) {
  std::string camel;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '_' && i + 1 < name.size()) {
      camel += static_cast<char>(name[++i] - 'a' + 'A');
    } else {
      camel += name[i];
    }
  }
  return camel;
}

// Calls set(name, value) for every field of `report`, under its own name
// (through_variant) or, with `camel_case`, JavaScript's (throughVariant).
template <class Set>
void WalkReport(const Report& report, bool camel_case, Set&& set) {
  Report::ForEachField([&](const char* name, auto member) {
    if (camel_case) {
      set(CamelCase(name), report.*member);
    } else {
      set(std::string(name), report.*member);
    }
  });
}

}  // namespace yishu::detail
