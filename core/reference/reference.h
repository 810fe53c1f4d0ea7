// The literal conversion: every rule of the list, in order, replaces all its
// occurrences in the whole text before the next rule runs. The report comes
// from a walk over the converted text. Slow by design
// (thousands of scans per text); the tests hold the single-pass engine to it.
#pragma once

#include <string>
#include <string_view>

#include "yishu/yishu.h"

namespace yishu::reference {

// CP936 bytes, matched the way the platform string class does: a scan that
// steps over a lead byte (0x81..0xFE) and the byte after it as one character.
std::string ConvertText(Direction direction, std::string_view cp936, const Options& options = {},
                        Report* report = nullptr);

// Unicode: the same rules matched on decoded characters. Invalid UTF-8 bytes
// and unpaired surrogates are kept as characters of their own that no rule
// matches.
std::string ConvertTextUtf8(Direction direction, std::string_view utf8, const Options& options = {},
                            Report* report = nullptr);
std::u16string ConvertTextUtf16(Direction direction, std::u16string_view utf16,
                                const Options& options = {}, Report* report = nullptr);

// Transcoding between the Unicode forms, for tests and benchmarks. Lone
// surrogates and invalid bytes are carried over as they are where the target
// form can hold them.
std::string Utf8FromUtf16(std::u16string_view utf16);
std::u16string Utf16FromUtf8(std::string_view utf8);

std::u16string Utf16FromUtf32(std::u32string_view text);

// The reports of ConvertText and its Unicode forms have every field of Report
// but codes_without_space, which only the engine counts: an engine's report
// as the reference would give it, for comparisons.
inline Report AsReferenceReports(Report report) {
  report.codes_without_space = 0;
  return report;
}

// The replacement routine itself: replaces every occurrence of `key` in
// `text`, scanning as described for ConvertText; returns the count.
std::size_t ReplaceAll(std::string& text, std::string_view key, std::string_view replacement);

}  // namespace yishu::reference
