// Everything telecode needs from the operating system: its arguments, files
// opened by name, standard input and output, and messages for the user.
// Names and messages are UTF-8 everywhere; on Windows this layer turns them
// into wide strings, and console output into wide console text. One source
// file for each: platform_io_posix.cpp, platform_io_windows.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text_encoding.h"
#include "utf16_units.h"

namespace telecode {

// A file opened for reading, or standard input for "-".
class Input {
 public:
  // `console_utf8`: if standard input is an interactive console, deliver
  // what is typed as UTF-8 (Windows; elsewhere terminals already do).
  Input(const std::string& name, bool console_utf8);
  ~Input();
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  bool is_open() const { return open_; }
  // Whether this is the very file standard output writes to: converting it
  // would read back what was written (endlessly, when appending). Nothing
  // when the system cannot tell.
  std::optional<bool> IsStandardOutput() const;
  // Reads up to `size` bytes: returns how many, 0 at the end, -1 on error.
  std::ptrdiff_t Read(char* buffer, std::size_t size);
  // Why opening or reading failed, for the user.
  const std::string& error() const { return error_; }

 private:
  bool open_ = false;
  bool owned_ = false;
  [[maybe_unused]] bool console_ = false;  // Windows only
  std::intptr_t handle_ = -1;
  std::string error_;
  std::string console_pending_;  // UTF-8 typed but not yet read
};

enum class WriteResult { kWritten, kReaderGone, kFailed };

// Standard output, written in binary. On a Windows console the bytes are
// shown as the text they encode instead.
class Output {
 public:
  explicit Output(TextEncoding encoding);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  WriteResult Write(std::string_view bytes);
  // The bytes that follow begin a text of their own (UTF-16 texts each have
  // their own byte order).
  void StartText();
  // Why the last write failed, for the user.
  const std::string& error() const { return error_; }

 private:
  bool ShowOnConsole(std::string_view bytes);
  void FinishConsoleText();

  [[maybe_unused]] TextEncoding encoding_;
  [[maybe_unused]] bool console_ = false;  // Windows only
  std::string console_carry_;              // an incomplete sequence
  Utf16Reader console_units_;
  bool text_start_ = true;
  std::string error_;
};

// False when the program was started with standard output closed: nothing
// can be written, and a file opened on POSIX would take its descriptor.
bool StandardOutputIsOpen();

// Writes a UTF-8 message to standard error.
void PrintError(std::string_view message);

}  // namespace telecode
