// What the GUI checks share on top of GoogleTest: the program under test,
// named cases within a test, checks that poll instead of sleeping, and
// failure messages in readable UTF-8 that also say what the desktop looked
// like at that moment.
#pragma once

#include <windows.h>

#include <functional>
#include <source_location>
#include <string>
#include <string_view>

#include "wide_text.h"

using wide_text::Utf8;

// The program under test, and the directory for screenshots (empty when
// none were asked for); set once by main.
struct DriverSettings {
  std::wstring program;
  std::wstring artifacts;
};
DriverSettings& Settings();

// Names the case that the following checks belong to; failures show it.
void Case(std::string name);

// A check: on failure it is reported to GoogleTest at the caller's line,
// with the case, `what`, `detail` and the desktop's state. Returns `ok`.
bool Expect(bool ok, std::string_view what, std::string_view detail = {},
            std::source_location where = std::source_location::current());
bool ExpectEq(const std::wstring& actual, const std::wstring& expected, std::string_view what,
              std::source_location where = std::source_location::current());
bool ExpectEq(long long actual, long long expected, std::string_view what,
              std::source_location where = std::source_location::current());

// Polls `read` until it returns `expected` or `timeoutMs` passes; one check.
bool ExpectEventually(const std::function<std::wstring()>& read, const std::wstring& expected,
                      std::string_view what, DWORD timeoutMs = 5000,
                      std::source_location where = std::source_location::current());

// How many checks ran and failed so far (printed at the end of a run).
int CheckCount();
int FailureCount();

// Polls `done` every few milliseconds; false if `timeoutMs` passed first.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// UTF-8 for printing; control characters shown as escapes.
std::string Printable(std::wstring_view text);

void Print(std::string_view line);
