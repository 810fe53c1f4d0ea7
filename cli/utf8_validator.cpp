#include "utf8_validator.h"

#include <algorithm>

#include "yishu/internal/unicode.h"

namespace telecode {

using yishu::detail::Utf8SequenceLength;
using yishu::detail::ValidUtf8Blocks;

void Utf8Validator::Feed(std::string_view piece) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(piece.data());
  const std::size_t size = piece.size();
  std::size_t i = 0;
  if (!first_invalid_ && !open_.empty()) {
    // Four bytes always decide a sequence.
    const std::size_t held = open_.size();
    open_.append(piece.substr(0, 4 - held));
    const int length =
        Utf8SequenceLength(reinterpret_cast<const unsigned char*>(open_.data()), open_.size());
    if (length < 0) {  // the piece was too short to decide it
      offset_ += size;
      return;
    }
    if (length == 0) {
      first_invalid_ = open_start_;
    } else {
      i = static_cast<std::size_t>(length) - held;
    }
    open_.clear();
  }
  while (i < size && !first_invalid_ && open_.empty()) {
    const std::size_t blocks_end = ValidUtf8Blocks(bytes, i, size);
    if (blocks_end > i) {
      // Go on from the start of the sequence that the last block may have
      // cut: a block is checked only with the bytes before it.
      i = blocks_end;
      for (int n = 0; n < 3 && (bytes[i - 1] & 0xC0) == 0x80; ++n) --i;
      if ((bytes[i - 1] & 0xC0) == 0xC0) --i;
    }
    for (const std::size_t stop = std::min(size, i + 64); i < stop;) {
      const int length = Utf8SequenceLength(bytes + i, size - i);
      if (length > 0) {
        i += static_cast<std::size_t>(length);
      } else if (length == 0) {
        first_invalid_ = offset_ + i;
        break;
      } else {
        open_.assign(piece.substr(i));
        open_start_ = offset_ + i;
        break;
      }
    }
  }
  offset_ += size;
}

void Utf8Validator::Finish() {
  if (!open_.empty() && !first_invalid_) first_invalid_ = open_start_;
  open_.clear();
}

}  // namespace telecode
