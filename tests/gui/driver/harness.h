// A small harness for the GUI checks: named groups of checks, polling with a
// timeout instead of sleeping, and readable failure messages in UTF-8.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

class Suite {
 public:
  Suite(std::wstring program, std::wstring artifacts)
      : program_(std::move(program)), artifacts_(std::move(artifacts)) {}

  const std::wstring& program() const { return program_; }
  // Directory for screenshots; empty when none were asked for.
  const std::wstring& artifacts() const { return artifacts_; }

  // Names the case that the following checks belong to.
  void Case(std::string name);

  bool Expect(bool ok, std::string_view what, std::string_view detail = {});
  bool ExpectEq(const std::wstring& actual, const std::wstring& expected, std::string_view what);
  bool ExpectEq(long long actual, long long expected, std::string_view what);

  // Polls `read` until it returns `expected` or `timeoutMs` passes; one check.
  bool ExpectEventually(const std::function<std::wstring()>& read, const std::wstring& expected,
                        std::string_view what, DWORD timeoutMs = 5000);

  int checks() const { return checks_; }
  int failures() const { return failures_; }

 private:
  std::wstring program_;
  std::wstring artifacts_;
  std::string case_;
  int checks_ = 0;
  int failures_ = 0;
};

// Polls `done` every few milliseconds; false if `timeoutMs` passed first.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// UTF-8 for printing; control characters shown as escapes.
std::string Printable(std::wstring_view text);
std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

void Print(std::string_view line);
