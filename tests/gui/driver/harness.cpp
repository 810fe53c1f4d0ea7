#include "harness.h"

#include <cstdio>

#include "desktop.h"

void Print(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), size);
  return out;
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

void Suite::Case(std::string name) { case_ = std::move(name); }

bool Suite::Expect(bool ok, std::string_view what, std::string_view detail) {
  ++checks_;
  if (!ok) {
    ++failures_;
    std::string line = "  FAIL [" + case_ + "] " + std::string(what);
    if (!detail.empty()) line += ": " + std::string(detail);
    Print(line);
    Print("    at that moment: " + DescribeDesktop());
  }
  return ok;
}

bool Suite::ExpectEq(const std::wstring& actual, const std::wstring& expected,
                     std::string_view what) {
  return Expect(actual == expected, what,
                "got " + Printable(actual) + ", want " + Printable(expected));
}

bool Suite::ExpectEq(long long actual, long long expected, std::string_view what) {
  return Expect(actual == expected, what,
                "got " + std::to_string(actual) + ", want " + std::to_string(expected));
}

bool Suite::ExpectEventually(const std::function<std::wstring()>& read,
                             const std::wstring& expected, std::string_view what, DWORD timeoutMs) {
  std::wstring last;
  WaitFor(
      [&] {
        last = read();
        return last == expected;
      },
      timeoutMs);
  return ExpectEq(last, expected, what);
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(5);
  }
}
