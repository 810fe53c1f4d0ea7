// The byte forms telecode reads and writes.
#pragma once

namespace telecode {

// kUtf16 takes its byte order from a byte-order mark (little-endian without
// one); kUtf16Be and kUtf16Le have a fixed order, and any mark is a unit of
// the text.
enum class TextEncoding { kUtf8, kCp936, kGb18030, kUtf16, kUtf16Be, kUtf16Le };

inline bool IsUtf16(TextEncoding encoding) {
  return encoding == TextEncoding::kUtf16 || encoding == TextEncoding::kUtf16Be ||
         encoding == TextEncoding::kUtf16Le;
}

}  // namespace telecode
