// Reads the conversion cases that every face of yishu is tested with
// (conversion.tsv beside this header; its first lines describe the format).
// Header-only and free of the library, so that any test program can use it.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace yishu::cases {

struct Case {
  bool to_codes;                     // characters become codes; otherwise codes become characters
  std::string input, expected, why;  // UTF-8
  int line;                          // in the file, for messages
};

inline std::string Unescape(std::string_view field, int line) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      text += field[i];
      continue;
    }
    switch (++i < field.size() ? field[i] : '\0') {
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      case '\\':
        text += '\\';
        break;
      default:
        throw std::runtime_error("line " + std::to_string(line) + ": unknown escape");
    }
  }
  return text;
}

// Throws std::runtime_error, naming the file and line, if the file cannot be
// read or a line is not a case.
inline std::vector<Case> Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error(path + ": cannot be read");
  std::vector<Case> cases;
  std::string row;
  for (int line = 1; std::getline(file, row); ++line) {
    if (row.empty() || row[0] == '#') continue;
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
      const std::size_t tab = row.find('\t', from);
      fields.push_back(std::string_view(row).substr(from, tab - from));
      if (tab == std::string::npos) break;
      from = tab + 1;
    }
    if (fields.size() != 4 || (fields[0] != "to-codes" && fields[0] != "to-chars")) {
      throw std::runtime_error(path + ":" + std::to_string(line) +
                               ": expected to-codes or to-chars and three more fields, by tabs");
    }
    cases.push_back({fields[0] == "to-codes", Unescape(fields[1], line), Unescape(fields[2], line),
                     std::string(fields[3]), line});
  }
  return cases;
}

}  // namespace yishu::cases
