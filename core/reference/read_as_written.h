// Codes as people write them, read the plain way: the text is cut into
// characters, every maximal run of digit characters is looked at as a whole
// and decided by the rule below, and everything else is copied. Slow and
// simple by design; the tests hold the single-pass engine to it.
//
// The rule:
//   * digits are 0-9 and the full-width ０-９; spaces are the ASCII space
//     and the ideographic space U+3000;
//   * a run of 4, 8, 12, ... digits (at most kLongestCodeRun) whose groups of
//     four are all codes becomes their characters;
//   * in the mainland book, a run of five digits that is a day key (99010
//     ... 99319) becomes its day text;
//   * a run that converts takes one space right after it with it;
//   * every other run stays as it is and is listed, but for a run of codes
//     one of whose characters the text's form cannot hold: it stays and
//     those codes are counted as unwritable;
//   * a run of four digits that converts is listed as doubtful when the
//     character right before or right after it is a letter (A-Z, a-z, in
//     either width), a currency sign or one of 年月日號号.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "yishu/yishu.h"

namespace yishu::reference {

// Runs longer than this are no list of codes and stay as they are.
inline constexpr std::size_t kLongestWrittenRun = 2048;

// The book is options.book (day codes only in the mainland book). The report,
// when given, is reset and gets the runs kept (kept_runs, kept), the doubtful
// runs (doubtful_runs, doubtful) and the codes
// whose character the form cannot hold (unwritable, unwritable_codes).
//
// CP936 characters as the platform's scan steps over them: a lead byte
// (0x81..0xFE) and whatever byte follows it; a lead byte at the very end alone.
std::string ReadWrittenCodes(std::string_view cp936, const Options& options = {},
                             Report* report = nullptr);

// Decoded characters; invalid UTF-8 bytes and unpaired surrogates are
// characters of their own that are neither digits nor spaces.
std::string ReadWrittenCodesUtf8(std::string_view utf8, const Options& options = {},
                                 Report* report = nullptr);
std::u16string ReadWrittenCodesUtf16(std::u16string_view utf16, const Options& options = {},
                                     Report* report = nullptr);

}  // namespace yishu::reference
