// Reads the resources of yishu.exe back the way Windows reads them, without
// running the program: resource_check PATH-TO-yishu.exe
#include <windows.h>

#include <cstdio>

#include "checks.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: resource_check PATH-TO-yishu.exe\n", stderr);
    return 2;
  }
  HMODULE exe =
      LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (exe == nullptr) {
    std::printf("cannot load %s as a data file (error %lu)\n", Checks::Utf8(argv[1]).c_str(),
                GetLastError());
    return 2;
  }
  Checks checks;
  CheckVersion(checks, argv[1]);
  CheckIcons(checks, exe);
  CheckManifest(checks, exe);
  CheckStrings(checks, exe);
  CheckTemplates(checks, exe);
  FreeLibrary(exe);
  return checks.Summary();
}
