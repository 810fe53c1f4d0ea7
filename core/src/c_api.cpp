// The C interface (yishu_c.h): a thin layer over yishu.h that checks its
// arguments, copies into the caller's buffers and turns every exception into
// a status.
#include "yishu/yishu_c.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "yishu/version.h"
#include "yishu/yishu.h"

namespace {

constexpr std::size_t kOptionsV1 = sizeof(yishu_options);
// A report of the first interface version ends before the doubtful runs.
constexpr std::size_t kReportV1 = offsetof(yishu_report, doubtful_runs);

// The C report holds every field of the Report: a field added there needs its
// place here (at the end of yishu_report, which only grows).
constexpr int kReportFields = [] {
  int n = 0;
  yishu::Report::ForEachField([&](const char*, auto) { ++n; });
  return n;
}();
static_assert(kReportFields == 19, "give yishu_report the new Report field");

// Runs `body`, which returns a status, so that no exception leaves the library.
template <class Body>
int Guard(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return YISHU_ERROR_NO_MEMORY;
  } catch (...) {
    return YISHU_ERROR_INTERNAL;
  }
}

int BookOf(std::int32_t book, yishu::Book& out) {
  switch (book) {
    case YISHU_BOOK_MAINLAND:
      out = yishu::Book::Mainland;
      return YISHU_OK;
    case YISHU_BOOK_TAIWAN:
      out = yishu::Book::Taiwan;
      return YISHU_OK;
    case YISHU_BOOK_ECCC:
      out = yishu::Book::Eccc;
      return YISHU_OK;
    default:
      return YISHU_ERROR_ARGUMENT;
  }
}

int VariantsOf(std::int32_t variants, yishu::Variants& out) {
  switch (variants) {
    case YISHU_VARIANTS_BOOK_DEFAULT:
      out = yishu::Variants::BookDefault;
      return YISHU_OK;
    case YISHU_VARIANTS_NONE:
      out = yishu::Variants::None;
      return YISHU_OK;
    case YISHU_VARIANTS_FORMS:
      out = yishu::Variants::Forms;
      return YISHU_OK;
    case YISHU_VARIANTS_ALL:
      out = yishu::Variants::All;
      return YISHU_OK;
    default:
      return YISHU_ERROR_ARGUMENT;
  }
}

int ScriptOf(std::int32_t script, yishu::Script& out) {
  switch (script) {
    case YISHU_SCRIPT_TRADITIONAL:
      out = yishu::Script::Traditional;
      return YISHU_OK;
    case YISHU_SCRIPT_SIMPLIFIED:
      out = yishu::Script::Simplified;
      return YISHU_OK;
    default:
      return YISHU_ERROR_ARGUMENT;
  }
}

// What the options ask for, in the C++ interface's terms.
struct Request {
  yishu::Direction direction = yishu::Direction::CodeToChar;
  bool utf16 = false;
  yishu::Encoding encoding = yishu::Encoding::Utf8;
  yishu::Options options;
};

int ReadOptions(const yishu_options* given, Request& request) {
  if (!given || given->struct_size < kOptionsV1) return YISHU_ERROR_ARGUMENT;
  // Fields of a newer header that this library does not know must keep their
  // defaults (zero), or the caller would get less than it asked for.
  const auto* extra = reinterpret_cast<const unsigned char*>(given) + kOptionsV1;
  if (std::any_of(extra, extra + (given->struct_size - kOptionsV1),
                  [](unsigned char b) { return b != 0; })) {
    return YISHU_ERROR_UNSUPPORTED;
  }
  const yishu_options& o = *given;
  switch (o.direction) {
    case YISHU_TO_CHARS:
      request.direction = yishu::Direction::CodeToChar;
      break;
    case YISHU_TO_CODES:
      request.direction = yishu::Direction::CharToCode;
      break;
    default:
      return YISHU_ERROR_ARGUMENT;
  }
  switch (o.encoding) {
    case YISHU_UTF8:
      request.encoding = yishu::Encoding::Utf8;
      break;
    case YISHU_CP936:
      request.encoding = yishu::Encoding::Cp936;
      break;
    case YISHU_UTF16:
      request.utf16 = true;
      break;
    default:
      return YISHU_ERROR_ARGUMENT;
  }
  if (const int status = BookOf(o.book, request.options.book); status != YISHU_OK) return status;
  switch (o.reading) {
    case YISHU_READING_TYPED:
      request.options.reading = yishu::CodeReading::Typed;
      break;
    case YISHU_READING_AS_WRITTEN:
      request.options.reading = yishu::CodeReading::AsWritten;
      break;
    default:
      return YISHU_ERROR_ARGUMENT;
  }
  if (const int status = VariantsOf(o.variants, request.options.variants); status != YISHU_OK) {
    return status;
  }
  if (const int status = ScriptOf(o.script, request.options.script); status != YISHU_OK) {
    return status;
  }
  if (o.standard_forms != 0 && o.standard_forms != 1) return YISHU_ERROR_ARGUMENT;
  request.options.standard_forms = o.standard_forms == 1;
  return YISHU_OK;
}

template <class Chars>
std::uint32_t ListChars(const Chars& from, std::uint32_t (&to)[YISHU_LISTED_CHARS]) {
  const std::size_t n = std::min<std::size_t>(from.size(), YISHU_LISTED_CHARS);
  for (std::size_t i = 0; i < n; ++i) to[i] = static_cast<std::uint32_t>(from[i]);
  return static_cast<std::uint32_t>(n);
}

std::uint32_t ListCodes(const std::vector<std::uint16_t>& from,
                        std::uint16_t (&to)[YISHU_LISTED_CHARS]) {
  const std::size_t n = std::min<std::size_t>(from.size(), YISHU_LISTED_CHARS);
  std::copy_n(from.begin(), n, to);
  return static_cast<std::uint32_t>(n);
}

// Lists the first runs of `from` in the caller's array of `capacity` runs.
std::uint64_t ListRuns(const std::vector<yishu::DigitRun>& from, yishu_digit_run* to,
                       std::uint64_t capacity) {
  const std::uint64_t n = std::min<std::uint64_t>(from.size(), capacity);
  for (std::uint64_t i = 0; i < n; ++i) to[i] = {from[i].offset, from[i].units, from[i].digits};
  return n;
}

// Whether the caller's report, of its version, has the doubtful runs.
bool HasDoubtful(const yishu_report* report) {
  return report->struct_size >= offsetof(yishu_report, doubtful_listed) + sizeof(std::uint64_t);
}

bool ReportUsable(const yishu_report* report) {
  if (!report) return true;
  if (report->struct_size < kReportV1 || (!report->kept && report->kept_capacity)) return false;
  return !HasDoubtful(report) || report->doubtful || !report->doubtful_capacity;
}

// Fills as much of the caller's report as its struct_size covers, keeping the
// caller's own fields (its size and its array for the kept runs).
void WriteReport(const yishu::Report& from, yishu_report* to) {
  if (!to) return;
  yishu_report r{};
  r.struct_size = to->struct_size;
  r.through_variant = from.through_variant;
  r.ambiguous = from.ambiguous;
  r.other_book_only = from.other_book_only;
  r.no_code = from.no_code;
  r.ambiguous_listed = ListChars(from.ambiguous_chars, r.ambiguous_chars);
  r.other_book_listed = ListChars(from.other_book_chars, r.other_book_chars);
  r.no_code_listed = ListChars(from.no_code_chars, r.no_code_chars);
  r.unwritable = from.unwritable;
  r.unwritable_listed = ListCodes(from.unwritable_codes, r.unwritable_codes);
  r.through_listed = static_cast<std::uint32_t>(
      std::min<std::size_t>(from.through_chars.size(), YISHU_LISTED_CHARS));
  for (std::uint32_t i = 0; i < r.through_listed; ++i) {
    const yishu::VariantUse& use = from.through_chars[i];
    r.through_chars[i] = {static_cast<std::uint32_t>(use.character),
                          static_cast<std::uint32_t>(use.variant), use.code, use.sources, 0};
  }
  r.other_script = from.other_script;
  r.other_script_listed = ListCodes(from.other_script_codes, r.other_script_codes);
  r.old_forms = from.old_forms;
  r.old_forms_listed = ListCodes(from.old_form_codes, r.old_form_codes);
  r.codes_without_space = from.codes_without_space;
  r.kept_runs = from.kept_runs;
  r.kept = to->kept;
  r.kept_capacity = to->kept_capacity;
  r.kept_listed = ListRuns(from.kept, r.kept, r.kept_capacity);
  if (HasDoubtful(to)) {
    r.doubtful_runs = from.doubtful_runs;
    r.doubtful = to->doubtful;
    r.doubtful_capacity = to->doubtful_capacity;
    r.doubtful_listed = ListRuns(from.doubtful, r.doubtful, r.doubtful_capacity);
  }
  std::memcpy(to, &r, std::min<std::size_t>(to->struct_size, sizeof r));
}

std::u16string Units(const void* bytes, std::size_t size) {
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), bytes, units.size() * 2);
  return units;
}

}  // namespace

// Holds what the caller's buffer could not take yet, and for UTF-16 a byte
// of a unit cut in two by the end of a piece.
struct yishu_converter {
  explicit yishu_converter(const Request& r)
      : request(r), bytes(r.direction, r.encoding, r.options), units(r.direction, r.options) {}

  Request request;
  yishu::Converter<char> bytes;
  yishu::Converter<char16_t> units;
  std::string pending;
  std::size_t pending_from = 0;  // pending[0..pending_from) was handed out
  std::string odd_byte;          // UTF-16: at most one byte of a unit
  bool finishing = false;        // finish ran, its output not all handed out

  const yishu::Report& report() const { return request.utf16 ? units.report() : bytes.report(); }

  void Take(std::string_view piece) {
    if (!request.utf16) {
      bytes.Feed(piece, pending);
      return;
    }
    std::string joined = odd_byte;
    joined.append(piece);
    odd_byte.assign(joined, joined.size() & ~std::size_t{1});
    std::u16string out;
    units.Feed(Units(joined.data(), joined.size()), out);
    pending.append(reinterpret_cast<const char*>(out.data()), out.size() * 2);
  }

  void End() {
    if (!request.utf16) {
      bytes.Finish(pending);
      return;
    }
    std::u16string out;
    units.Finish(out);
    pending.append(reinterpret_cast<const char*>(out.data()), out.size() * 2);
    // A last byte that is no whole unit is no text to convert; it stays.
    pending += odd_byte;
    odd_byte.clear();
  }

  int Hand(void* out, std::size_t capacity, std::size_t* written) {
    const std::size_t n = std::min(capacity, pending.size() - pending_from);
    if (n) std::memcpy(out, pending.data() + pending_from, n);
    *written = n;
    pending_from += n;
    if (pending_from < pending.size()) {
      // Keeps a caller that drains in small steps from growing the buffer.
      if (pending_from >= 4096 && pending_from * 2 >= pending.size()) {
        pending.erase(0, pending_from);
        pending_from = 0;
      }
      return YISHU_MORE_OUTPUT;
    }
    pending.clear();
    pending_from = 0;
    return YISHU_OK;
  }
};

extern "C" {

const char* yishu_status_text(int status) {
  switch (status) {
    case YISHU_OK:
      return "ok";
    case YISHU_MORE_OUTPUT:
      return "more output is waiting";
    case YISHU_ERROR_ARGUMENT:
      return "invalid argument";
    case YISHU_ERROR_BUFFER_TOO_SMALL:
      return "output buffer too small";
    case YISHU_ERROR_UNSUPPORTED:
      return "not supported by this version of the library";
    case YISHU_ERROR_NO_MEMORY:
      return "out of memory";
    case YISHU_ERROR_INTERNAL:
      return "internal error in the library";
    default:
      return "unknown status";
  }
}

const char* yishu_version(void) { return YISHU_VERSION_STRING; }

int32_t yishu_interface_version(void) { return YISHU_C_INTERFACE_VERSION; }

int yishu_options_init(yishu_options* options, size_t size) {
  if (!options || size < kOptionsV1) return YISHU_ERROR_ARGUMENT;
  std::memset(options, 0, size);
  options->struct_size = static_cast<std::uint32_t>(size);
  return YISHU_OK;
}

int yishu_report_init(yishu_report* report, size_t size) {
  if (!report || size < kReportV1) return YISHU_ERROR_ARGUMENT;
  std::memset(report, 0, size);
  report->struct_size = static_cast<std::uint32_t>(size);
  return YISHU_OK;
}

int yishu_convert(const yishu_options* options, const void* text, size_t size, void* out,
                  size_t capacity, size_t* written, yishu_report* report) {
  return Guard([&]() -> int {
    Request request;
    if (const int status = ReadOptions(options, request); status != YISHU_OK) return status;
    if ((!text && size) || (!out && capacity) || !written || !ReportUsable(report)) {
      return YISHU_ERROR_ARGUMENT;
    }
    if (request.utf16 && size % 2) return YISHU_ERROR_ARGUMENT;
    yishu::Report r;
    std::string result;
    if (request.utf16) {
      const std::u16string units =
          yishu::ConvertText(request.direction, Units(text, size), request.options, &r);
      result.assign(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    } else {
      result = yishu::ConvertText(request.direction,
                                  std::string_view(static_cast<const char*>(text), size),
                                  request.encoding, request.options, &r);
    }
    WriteReport(r, report);
    *written = result.size();
    if (result.size() > capacity) return YISHU_ERROR_BUFFER_TOO_SMALL;
    if (!result.empty()) std::memcpy(out, result.data(), result.size());
    return YISHU_OK;
  });
}

int yishu_converter_new(const yishu_options* options, yishu_converter** converter) {
  return Guard([&]() -> int {
    Request request;
    if (const int status = ReadOptions(options, request); status != YISHU_OK) return status;
    if (!converter) return YISHU_ERROR_ARGUMENT;
    *converter = new yishu_converter(request);
    return YISHU_OK;
  });
}

void yishu_converter_free(yishu_converter* converter) { delete converter; }

int yishu_converter_feed(yishu_converter* converter, const void* piece, size_t size, void* out,
                         size_t capacity, size_t* written) {
  return Guard([&]() -> int {
    if (!converter || (!piece && size) || (!out && capacity) || !written) {
      return YISHU_ERROR_ARGUMENT;
    }
    // A converter still handing out the end of a text takes no new one yet.
    if (converter->finishing && size) return YISHU_ERROR_ARGUMENT;
    if (size) converter->Take(std::string_view(static_cast<const char*>(piece), size));
    return converter->Hand(out, capacity, written);
  });
}

int yishu_converter_finish(yishu_converter* converter, void* out, size_t capacity,
                           size_t* written) {
  return Guard([&]() -> int {
    if (!converter || (!out && capacity) || !written) return YISHU_ERROR_ARGUMENT;
    if (!converter->finishing) {
      converter->End();
      converter->finishing = true;
    }
    const int status = converter->Hand(out, capacity, written);
    if (status == YISHU_OK) converter->finishing = false;
    return status;
  });
}

size_t yishu_converter_pending(const yishu_converter* converter) {
  return converter ? converter->pending.size() - converter->pending_from : 0;
}

int yishu_converter_report(const yishu_converter* converter, yishu_report* report) {
  return Guard([&]() -> int {
    if (!converter || !report || !ReportUsable(report)) return YISHU_ERROR_ARGUMENT;
    WriteReport(converter->report(), report);
    return YISHU_OK;
  });
}

int yishu_codes_of(int32_t book, uint32_t character, int32_t variants, yishu_code_found* found,
                   size_t capacity, size_t entry_size, size_t* count) {
  return Guard([&]() -> int {
    yishu::Book b;
    if (const int status = BookOf(book, b); status != YISHU_OK) return status;
    yishu::Variants v;
    if (const int status = VariantsOf(variants, v); status != YISHU_OK) return status;
    if ((!found && capacity) || !count || entry_size < sizeof(yishu_code_found)) {
      return YISHU_ERROR_ARGUMENT;
    }
    const std::vector<yishu::CodeFound> codes =
        yishu::CodesOf(b, static_cast<char32_t>(character), v);
    *count = codes.size();
    if (codes.size() > capacity) return YISHU_ERROR_BUFFER_TOO_SMALL;
    auto* at = reinterpret_cast<unsigned char*>(found);
    for (const yishu::CodeFound& c : codes) {
      yishu_code_found entry{};
      entry.code = c.code;
      entry.produced = c.produced;
      entry.sources = c.sources;
      entry.via = static_cast<std::uint32_t>(c.via);
      std::memset(at, 0, entry_size);
      std::memcpy(at, &entry, sizeof entry);
      at += entry_size;
    }
    return YISHU_OK;
  });
}

int yishu_character_of(int32_t book, int32_t code, int32_t script, uint32_t* character) {
  return Guard([&]() -> int {
    yishu::Book b;
    if (const int status = BookOf(book, b); status != YISHU_OK) return status;
    yishu::Script s;
    if (const int status = ScriptOf(script, s); status != YISHU_OK) return status;
    if (!character || code < 0 || code > 9999) return YISHU_ERROR_ARGUMENT;
    *character = static_cast<std::uint32_t>(yishu::CharacterOf(b, code, s));
    return YISHU_OK;
  });
}

}  // extern "C"
