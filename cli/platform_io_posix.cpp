// The platform layer on POSIX systems: descriptors, errno, poll.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform_io.h"

namespace telecode {

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

std::optional<bool> Input::IsStandardOutput() const {
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

Output::Output(TextEncoding encoding) : encoding_(encoding) {}

Output::~Output() = default;

void Output::StartText() {}

WriteResult Output::Write(std::string_view bytes) {
  if (WriteAll(STDOUT_FILENO, bytes)) return WriteResult::kWritten;
  if (errno == EPIPE) return WriteResult::kReaderGone;
  error_ = strerror(errno);
  return WriteResult::kFailed;
}

bool StandardOutputIsOpen() { return fcntl(STDOUT_FILENO, F_GETFD) != -1 || errno != EBADF; }

void PrintError(std::string_view message) { WriteAll(STDERR_FILENO, message); }

}  // namespace telecode
