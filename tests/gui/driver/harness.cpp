#include "harness.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "desktop.h"

namespace {

std::string current_case;
int checks = 0;
int failures = 0;

}  // namespace

DriverSettings& Settings() {
  static DriverSettings settings;
  return settings;
}

void Print(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Printable(std::wstring_view text) {
  constexpr size_t kLimit = 120;
  std::wstring shown;
  for (wchar_t c : text.substr(0, kLimit)) {
    if (c == L'\r') {
      shown += L"\\r";
    } else if (c == L'\n') {
      shown += L"\\n";
    } else if (c < 0x20) {
      wchar_t buf[8];
      swprintf(buf, 8, L"\\x%02x", static_cast<unsigned>(c));
      shown += buf;
    } else {
      shown += c;
    }
  }
  std::string out(1, '"');
  out += Utf8(shown);
  out += '"';
  if (text.size() > kLimit) out += "... (" + std::to_string(text.size()) + " units)";
  return out;
}

void Case(std::string name) { current_case = std::move(name); }

bool Expect(bool ok, std::string_view what, std::string_view detail, std::source_location where) {
  ++checks;
  if (!ok) {
    ++failures;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "[" << current_case << "] " << what << (detail.empty() ? "" : ": ") << detail
        << "\n    at that moment: " << DescribeDesktop();
  }
  return ok;
}

bool ExpectEq(const std::wstring& actual, const std::wstring& expected, std::string_view what,
              std::source_location where) {
  return Expect(actual == expected, what,
                "got " + Printable(actual) + ", want " + Printable(expected), where);
}

bool ExpectEq(long long actual, long long expected, std::string_view what,
              std::source_location where) {
  return Expect(actual == expected, what,
                "got " + std::to_string(actual) + ", want " + std::to_string(expected), where);
}

bool ExpectEventually(const std::function<std::wstring()>& read, const std::wstring& expected,
                      std::string_view what, DWORD timeoutMs, std::source_location where) {
  std::wstring last;
  WaitFor(
      [&] {
        last = read();
        return last == expected;
      },
      timeoutMs);
  return ExpectEq(last, expected, what, where);
}

int CheckCount() { return checks; }
int FailureCount() { return failures; }

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(5);
  }
}
