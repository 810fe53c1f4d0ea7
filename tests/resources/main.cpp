// Reads the resources of yishu.exe back the way Windows reads them, without
// running the program: resource_check PATH-TO-yishu.exe [--gtest_...]
#include <windows.h>

#include <cstdio>

#include "checks.h"

namespace {

const wchar_t* program_path = nullptr;
HMODULE program_file = nullptr;

std::string Number(unsigned long long value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%llu (0x%llX)", value, value);
  return buffer;
}

}  // namespace

const wchar_t* ProgramPath() { return program_path; }
HMODULE ProgramFile() { return program_file; }

std::string_view ResourceBytes(HMODULE exe, const wchar_t* type, int id, WORD language) {
  HRSRC found = FindResourceExW(exe, type, MAKEINTRESOURCEW(id), language);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(exe, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const char*>(data), SizeofResource(exe, found)};
}

testing::AssertionResult Same(const char* actual_expression, const char*, unsigned long long actual,
                              unsigned long long expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << actual_expression << ": expected " << Number(expected) << ", found " << Number(actual);
}

testing::AssertionResult Same(const char* actual_expression, const char*, std::wstring_view actual,
                              std::wstring_view expected) {
  if (actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure() << actual_expression << ": expected \"" << Utf8(expected)
                                     << "\", found \"" << Utf8(actual) << "\"";
}

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);  // takes out the --gtest_ options
  if (argc != 2) {
    std::fputs("usage: resource_check PATH-TO-yishu.exe\n", stderr);
    return 2;
  }
  program_path = argv[1];
  program_file =
      LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (program_file == nullptr) {
    std::printf("cannot load %s as a data file (error %lu)\n", Utf8(argv[1]).c_str(),
                GetLastError());
    return 2;
  }
  const int status = RUN_ALL_TESTS();
  FreeLibrary(program_file);
  return status;
}
