#include "platform_io.h"

#include <algorithm>

#include "utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace telecode {

#ifdef _WIN32

namespace {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

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

bool WriteConsoleText(HANDLE console, std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  std::size_t done = 0;
  while (done < wide.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
    if (!WriteConsoleW(console, wide.data() + done, chunk, &written, nullptr)) return false;
    done += written;
  }
  return true;
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

bool Input::IsStandardOutput() const {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (GetFileType(AsHandle(handle_)) != FILE_TYPE_DISK || GetFileType(out) != FILE_TYPE_DISK) {
    return false;
  }
  BY_HANDLE_FILE_INFORMATION in_info, out_info;
  return GetFileInformationByHandle(AsHandle(handle_), &in_info) &&
         GetFileInformationByHandle(out, &out_info) &&
         in_info.dwVolumeSerialNumber == out_info.dwVolumeSerialNumber &&
         in_info.nFileIndexHigh == out_info.nFileIndexHigh &&
         in_info.nFileIndexLow == out_info.nFileIndexLow;
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

Output::Output(bool console_utf8) {
  console_ = console_utf8 && IsConsole(GetStdHandle(STD_OUTPUT_HANDLE));
}

Output::~Output() {
  if (console_ && !console_carry_.empty()) {
    WriteConsoleText(GetStdHandle(STD_OUTPUT_HANDLE), console_carry_);
  }
}

WriteResult Output::Write(std::string_view bytes) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (console_) {
    console_carry_.append(bytes);
    const std::size_t complete = CompleteUtf8(console_carry_);
    const bool ok = WriteConsoleText(out, std::string_view(console_carry_).substr(0, complete));
    console_carry_.erase(0, complete);
    if (ok) return WriteResult::kWritten;
    error_ = ErrorText(GetLastError());
    return WriteResult::kFailed;
  }
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(out, bytes.data(), chunk, &written, nullptr)) {
      const DWORD code = GetLastError();
      if (code == ERROR_NO_DATA || code == ERROR_BROKEN_PIPE) return WriteResult::kReaderGone;
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

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(telecode::Utf8(argv[i]));
  return telecode::Run(args);
}

#else                         // POSIX

namespace {

// A descriptor inherited in non-blocking mode says EAGAIN instead of waiting.
void WaitFor(int fd, short events) {
  pollfd entry{fd, events, 0};
  poll(&entry, 1, -1);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        WaitFor(fd, POLLOUT);
        continue;
      }
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

Input::Input(const std::string& name, bool /*console_utf8*/) {
  if (name == "-") {
    handle_ = STDIN_FILENO;
    open_ = true;
    return;
  }
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error_ = strerror(errno);
    return;
  }
#ifdef POSIX_FADV_SEQUENTIAL  // not on macOS
  posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
  handle_ = fd;
  open_ = owned_ = true;
}

Input::~Input() {
  if (owned_) close(static_cast<int>(handle_));
}

bool Input::IsStandardOutput() const {
  struct stat in_info, out_info;
  return fstat(static_cast<int>(handle_), &in_info) == 0 && fstat(STDOUT_FILENO, &out_info) == 0 &&
         S_ISREG(in_info.st_mode) && in_info.st_dev == out_info.st_dev &&
         in_info.st_ino == out_info.st_ino;
}

std::ptrdiff_t Input::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t count = read(static_cast<int>(handle_), buffer, size);
    if (count >= 0) return count;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      WaitFor(static_cast<int>(handle_), POLLIN);
      continue;
    }
    error_ = strerror(errno);
    return -1;
  }
}

Output::Output(bool /*console_utf8*/) {}

Output::~Output() = default;

WriteResult Output::Write(std::string_view bytes) {
  if (WriteAll(STDOUT_FILENO, bytes)) return WriteResult::kWritten;
  if (errno == EPIPE) return WriteResult::kReaderGone;
  error_ = strerror(errno);
  return WriteResult::kFailed;
}

bool StandardOutputIsOpen() { return fcntl(STDOUT_FILENO, F_GETFD) != -1 || errno != EBADF; }

void PrintError(std::string_view message) { WriteAll(STDERR_FILENO, message); }

}  // namespace telecode

int main(int argc, char** argv) {
  // A reader that goes away (| head) is no error: see it as EPIPE and stop.
  signal(SIGPIPE, SIG_IGN);
  return telecode::Run(std::vector<std::string>(argv + 1, argv + argc));
}

#endif
