// The byte forms telecode reads and writes.
#pragma once

namespace telecode {

enum class TextEncoding { kUtf8, kCp936, kGb18030, kUtf16 };

}  // namespace telecode
