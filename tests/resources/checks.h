// A tiny check reporter for the resource read-back program: every check is
// counted, every failure printed with what was expected and what was found.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

class Checks {
 public:
  void Expect(bool ok, std::string_view what, const std::string& detail = {}) {
    ++count_;
    if (ok) return;
    ++failed_;
    std::printf("FAIL %.*s%s%s\n", static_cast<int>(what.size()), what.data(),
                detail.empty() ? "" : ": ", detail.c_str());
  }

  void ExpectEq(unsigned long long actual, unsigned long long expected, std::string_view what) {
    Expect(actual == expected, what, "expected " + Number(expected) + ", found " + Number(actual));
  }

  void ExpectEq(std::wstring_view actual, std::wstring_view expected, std::string_view what) {
    Expect(actual == expected, what,
           "expected \"" + Utf8(expected) + "\", found \"" + Utf8(actual) + "\"");
  }

  int Summary() const {
    std::printf("%d checks, %d failed\n", count_, failed_);
    return failed_ == 0 ? 0 : 1;
  }

  static std::string Utf8(std::wstring_view text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
  }

 private:
  static std::string Number(unsigned long long value) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%llu (0x%llX)", value, value);
    return buffer;
  }

  int count_ = 0;
  int failed_ = 0;
};

// Each area of resources has one function; they all read the program's file.
void CheckVersion(Checks& checks, const wchar_t* exe_path);
void CheckIcons(Checks& checks, HMODULE exe);
void CheckManifest(Checks& checks, HMODULE exe);
void CheckStrings(Checks& checks, HMODULE exe);
void CheckTemplates(Checks& checks, HMODULE exe);
