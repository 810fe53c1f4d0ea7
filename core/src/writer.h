// Output for the engines: a string grown once by the most a conversion can
// write, filled through a pointer, and cut to size at the end. Appending
// piece by piece to a string costs a capacity check per piece, and the
// engines write many small pieces. Debug builds check every write against
// the size the conversion said it could reach.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace yishu::detail {

template <class Unit>
class Writer {
 public:
  // `most` is the largest number of units the conversion will write.
  Writer(std::basic_string<Unit>& out, std::size_t most) : out_(out), start_(out.size()) {
    out_.resize(start_ + most);
    at_ = out_.data() + start_;
    end_ = at_ + most;
  }
  ~Writer() { out_.resize(static_cast<std::size_t>(at_ - out_.data())); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void append(const Unit* units, std::size_t n) {
    assert(n <= static_cast<std::size_t>(end_ - at_) && "output estimate too small");
    // An empty piece may come with a null pointer, which memcpy must not get.
    if (n == 0) return;
    std::memcpy(at_, units, n * sizeof(Unit));
    at_ += n;
  }
  // Writes the first `n` units of `word` with one store of the whole word,
  // which may reach past them: every estimate leaves room for that.
  template <class Word>
  void append_word(const Word& word, std::size_t n) {
    assert(sizeof word <= static_cast<std::size_t>(end_ - at_) * sizeof(Unit) &&
           "output estimate too small");
    std::memcpy(at_, &word, sizeof word);
    at_ += n;
  }
  // For the tightest loops: the write position as a plain pointer, kept in a
  // local variable (stores of characters may alias a member, so the compiler
  // would reload it after each one), and handed back when done. `room` says
  // whether `size` more bytes fit from `at`, for assertions.
  Unit* position() const { return at_; }
  bool room(const Unit* at, std::size_t size) const {
    return size <= static_cast<std::size_t>(end_ - at) * sizeof(Unit);
  }
  void set_position(Unit* at) {
    assert(at <= end_ && "output estimate too small");
    at_ = at;
  }
  Writer& operator+=(Unit u) {
    assert(at_ < end_ && "output estimate too small");
    *at_++ = u;
    return *this;
  }

 private:
  std::basic_string<Unit>& out_;
  std::size_t start_;
  Unit* at_;
  Unit* end_;
};

// The most a conversion of n units can write. Characters to codes: a
// two-byte character becomes five bytes, a UTF-16 unit five units. Codes to
// characters: five digits become at most a day text of three characters,
// nine bytes in UTF-8. The 16 units on top leave room for a word store.
template <class Unit>
constexpr std::size_t MostOutput(bool to_codes, std::size_t n) {
  if (to_codes) return (sizeof(Unit) == 1 ? n * 5 / 2 : n * 5) + 16;
  return (sizeof(Unit) == 1 ? n * 9 / 5 : n) + 16;
}

}  // namespace yishu::detail
