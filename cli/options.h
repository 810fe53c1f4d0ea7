// The command line of telecode: what to do, in which direction and encoding,
// on which inputs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "text_encoding.h"
#include "yishu/yishu.h"

namespace telecode {

enum class Action { kConvert, kList, kLookUp, kHelp, kVersion };

struct Options {
  Action action = Action::kConvert;
  yishu::Direction direction = yishu::Direction::CharToCode;  // unless -d
  yishu::Options core;                                        // how the core converts
  TextEncoding encoding = TextEncoding::kUtf8;
  std::vector<std::string> files;  // empty: standard input; the texts of --lookup
};

// What is wrong with a command line, in words for the user.
struct UsageError {
  std::string message;
};

// Accepts the usual spellings, ignoring case: utf-8/utf8, cp936/gbk, gb18030,
// utf-16/utf16, utf-16be, utf-16le.
std::optional<TextEncoding> EncodingFromName(std::string_view name);

std::variant<Options, UsageError> ParseCommandLine(const std::vector<std::string>& args);

// What usage errors print after the error.
extern const std::string_view kUsage;
// The full text of --help.
extern const std::string_view kHelp;

}  // namespace telecode
