// The platform layer on Windows: wide file names, console text, handles.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "gb18030.h"
#include "platform_io.h"
#include "wide_text.h"
#include "yishu/internal/unicode.h"

namespace telecode {

namespace {

using wide_text::Utf8;
using wide_text::Wide;
using wide_text::WideFrom;

// The system's own words for an error, in the user's language.
std::string ErrorText(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text, length);
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  if (message.empty()) return "error " + std::to_string(code);
  return Utf8(message);
}

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

bool IsConsole(HANDLE handle) {
  DWORD mode;
  return GetConsoleMode(handle, &mode) != 0;
}

// The length of `text` without a sequence that its end cuts off.
std::size_t CompleteUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const std::size_t at = text.size() - back;
    if ((bytes[at] & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    return yishu::detail::Utf8SequenceLength(bytes + at, back) < 0 ? at : text.size();
  }
  return text.size();
}

// The same for CP936 and GB18030, read from the start: a second byte can look
// like a first one, so only a walk from a known boundary finds the last.
std::size_t CompleteDoubleByte(std::string_view text, bool gb18030) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x81 || byte == 0xFF) {
      ++at;
      continue;
    }
    const bool four = gb18030 && at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '9';
    const std::size_t length = four ? 4 : 2;
    if (at + length > text.size()) return at;
    at += length;
  }
  return at;
}

bool WriteConsoleWide(HANDLE console, std::wstring_view wide) {
  std::size_t done = 0;
  while (done < wide.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
    if (!WriteConsoleW(console, wide.data() + done, chunk, &written, nullptr)) return false;
    done += written;
  }
  return true;
}

bool WriteConsoleText(HANDLE console, std::string_view utf8) {
  return WriteConsoleWide(console, Wide(utf8));
}

// GB18030 as text. Without its code page (Wine has none) the CP936 part
// reads through CP936 and the four-byte sequences by telecode's own table.
std::wstring WideFromGb18030(std::string_view bytes) {
  if (IsValidCodePage(54936)) return WideFrom(54936, bytes);
  std::wstring wide;
  std::size_t from = 0, at = 0;
  while (at < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    const bool lead = byte >= 0x81 && byte != 0xFF;
    if (lead && at + 3 < bytes.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= '9') {
      wide += WideFrom(936, bytes.substr(from, at - from));
      const auto* four = reinterpret_cast<const unsigned char*>(bytes.data() + at);
      const std::optional<char32_t> c =
          gb18030::IsFourBytes(four) ? gb18030::CodePointOf(four) : std::nullopt;
      if (!c) {
        wide += L'\uFFFD';
      } else {
        char16_t units[2];
        const int count = yishu::detail::EncodeUtf16(*c, units);
        wide.append(units, units + count);
      }
      at += 4;
      from = at;
    } else {
      at += lead ? 2 : 1;
    }
  }
  return wide + WideFrom(936, bytes.substr(from));
}

// Two handles to one file have the same size and time of last write; two
// files rarely do. Wine's only clue where it knows no volume.
bool SameSizeAndWriteTime(HANDLE a, HANDLE b) {
  FILE_BASIC_INFO a_times, b_times;
  FILE_STANDARD_INFO a_size, b_size;
  return GetFileInformationByHandleEx(a, FileBasicInfo, &a_times, sizeof a_times) &&
         GetFileInformationByHandleEx(b, FileBasicInfo, &b_times, sizeof b_times) &&
         GetFileInformationByHandleEx(a, FileStandardInfo, &a_size, sizeof a_size) &&
         GetFileInformationByHandleEx(b, FileStandardInfo, &b_size, sizeof b_size) &&
         a_times.LastWriteTime.QuadPart == b_times.LastWriteTime.QuadPart &&
         a_size.EndOfFile.QuadPart == b_size.EndOfFile.QuadPart;
}

// Whether two disk files are one. Windows answers GetFileInformationByHandle
// for every handle. Wine does not for handles inherited from a Unix shell
// (error 6), but answers FileIdInfo for them, with the right file ID and a
// volume serial number of 0.
std::optional<bool> SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION a_info, b_info;
  if (GetFileInformationByHandle(a, &a_info) && GetFileInformationByHandle(b, &b_info)) {
    return a_info.dwVolumeSerialNumber == b_info.dwVolumeSerialNumber &&
           a_info.nFileIndexHigh == b_info.nFileIndexHigh &&
           a_info.nFileIndexLow == b_info.nFileIndexLow;
  }
  FILE_ID_INFO a_id, b_id;
  if (GetFileInformationByHandleEx(a, FileIdInfo, &a_id, sizeof a_id) &&
      GetFileInformationByHandleEx(b, FileIdInfo, &b_id, sizeof b_id)) {
    if (std::memcmp(&a_id.FileId, &b_id.FileId, sizeof a_id.FileId) != 0) return false;
    if (a_id.VolumeSerialNumber != 0 && b_id.VolumeSerialNumber != 0) {
      return a_id.VolumeSerialNumber == b_id.VolumeSerialNumber;
    }
    return SameSizeAndWriteTime(a, b);
  }
  return std::nullopt;
}

}  // namespace

Input::Input(const std::string& name, bool console_utf8) {
  if (name == "-") {
    handle_ = reinterpret_cast<std::intptr_t>(GetStdHandle(STD_INPUT_HANDLE));
    console_ = console_utf8 && IsConsole(AsHandle(handle_));
    open_ = true;
    return;
  }
  const std::wstring wide = Wide(name);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error_ = "Is a directory";
    return;
  }
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = ErrorText(GetLastError());
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  open_ = owned_ = true;
}

Input::~Input() {
  if (owned_) CloseHandle(AsHandle(handle_));
}

std::optional<bool> Input::IsStandardOutput() const {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (GetFileType(AsHandle(handle_)) != FILE_TYPE_DISK || GetFileType(out) != FILE_TYPE_DISK) {
    return false;
  }
  return SameFile(AsHandle(handle_), out);
}

std::ptrdiff_t Input::Read(char* buffer, std::size_t size) {
  if (console_) {
    // What is typed arrives as UTF-16; Ctrl+Z at the start of a line ends it.
    while (console_pending_.empty()) {
      wchar_t typed[4096];
      DWORD count = 0;
      if (!ReadConsoleW(AsHandle(handle_), typed, 4096, &count, nullptr)) {
        error_ = ErrorText(GetLastError());
        return -1;
      }
      if (count == 0 || typed[0] == 0x1A) return 0;
      console_pending_ = Utf8(std::wstring_view(typed, count));
    }
    const std::size_t n = std::min(size, console_pending_.size());
    console_pending_.copy(buffer, n);
    console_pending_.erase(0, n);
    return static_cast<std::ptrdiff_t>(n);
  }
  DWORD count = 0;
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!ReadFile(AsHandle(handle_), buffer, chunk, &count, nullptr)) {
    const DWORD code = GetLastError();
    if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) return 0;  // writer done
    error_ = ErrorText(code);
    return -1;
  }
  return static_cast<std::ptrdiff_t>(count);
}

Output::Output(TextEncoding encoding)
    : encoding_(encoding), console_units_(FixedByteOrder(encoding)) {
  console_ = IsConsole(GetStdHandle(STD_OUTPUT_HANDLE));
}

Output::~Output() {
  if (console_) FinishConsoleText();
}

void Output::StartText() {
  if (console_) FinishConsoleText();
  text_start_ = true;
}

// What is left of a text: an incomplete sequence, or an odd last byte of
// UTF-16, shown as the replacement character.
void Output::FinishConsoleText() {
  const bool rest =
      IsUtf16(encoding_) ? console_units_.Finish().has_value() : !console_carry_.empty();
  if (rest) WriteConsoleWide(GetStdHandle(STD_OUTPUT_HANDLE), L"\uFFFD");
  console_carry_.clear();
  console_units_.Reset();
}

bool Output::ShowOnConsole(std::string_view bytes) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (IsUtf16(encoding_)) {
    std::u16string_view units = console_units_.Feed(bytes);
    // The byte-order mark tells the order; it is no text to show.
    if (text_start_ && !units.empty() && units.front() == u'\uFEFF') units.remove_prefix(1);
    if (!units.empty()) text_start_ = false;
    return WriteConsoleWide(
        out, std::wstring_view(reinterpret_cast<const wchar_t*>(units.data()), units.size()));
  }
  console_carry_.append(bytes);
  std::size_t complete;
  std::wstring wide;
  if (encoding_ == TextEncoding::kUtf8) {
    complete = CompleteUtf8(console_carry_);
    wide = Wide(std::string_view(console_carry_).substr(0, complete));
  } else {
    const bool gb18030 = encoding_ == TextEncoding::kGb18030;
    complete = CompleteDoubleByte(console_carry_, gb18030);
    const std::string_view text = std::string_view(console_carry_).substr(0, complete);
    wide = gb18030 ? WideFromGb18030(text) : WideFrom(936, text);
  }
  console_carry_.erase(0, complete);
  return WriteConsoleWide(out, wide);
}

WriteResult Output::Write(std::string_view bytes) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (console_) {
    if (ShowOnConsole(bytes)) return WriteResult::kWritten;
    error_ = ErrorText(GetLastError());
    return WriteResult::kFailed;
  }
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(out, bytes.data(), chunk, &written, nullptr)) {
      const DWORD code = GetLastError();
      // The reader is gone (| head): Windows says the pipe is being closed
      // or broken, Wine that it is not connected.
      if (code == ERROR_NO_DATA || code == ERROR_BROKEN_PIPE || code == ERROR_PIPE_NOT_CONNECTED) {
        return WriteResult::kReaderGone;
      }
      error_ = ErrorText(code);
      return WriteResult::kFailed;
    }
    bytes.remove_prefix(written);
  }
  return WriteResult::kWritten;
}

bool StandardOutputIsOpen() {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  return out != nullptr && out != INVALID_HANDLE_VALUE;
}

void PrintError(std::string_view message) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (IsConsole(err)) {
    WriteConsoleText(err, message);
    return;
  }
  DWORD written = 0;
  WriteFile(err, message.data(), static_cast<DWORD>(message.size()), &written, nullptr);
}

}  // namespace telecode
