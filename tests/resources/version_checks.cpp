// The version resource, read back with GetFileVersionInfoW and VerQueryValueW.
#include <windows.h>

#include <string>
#include <vector>

#include "checks.h"
#include "yishu/version.h"

namespace {

// The expected texts are built from the version numbers here, not taken from
// the header's ready-made string, so that a mistake in that string shows.
std::wstring VersionText() {
  return std::to_wstring(YISHU_VERSION_MAJOR) + L", " + std::to_wstring(YISHU_VERSION_MINOR) +
         L", " + std::to_wstring(YISHU_VERSION_PATCH) + L", " +
         std::to_wstring(YISHU_VERSION_TWEAK);
}

constexpr DWORD kVersionMs = (YISHU_VERSION_MAJOR << 16) | YISHU_VERSION_MINOR;
constexpr DWORD kVersionLs = (YISHU_VERSION_PATCH << 16) | YISHU_VERSION_TWEAK;

void CheckFixedPart(Checks& checks, std::vector<BYTE>& block) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) ||
      size < sizeof *fixed) {
    checks.Expect(false, "version: fixed part present");
    return;
  }
  checks.ExpectEq(fixed->dwSignature, 0xFEEF04BD, "version: fixed part signature");
  checks.ExpectEq(fixed->dwFileVersionMS, kVersionMs, "version: file version, high word pair");
  checks.ExpectEq(fixed->dwFileVersionLS, kVersionLs, "version: file version, low word pair");
  checks.ExpectEq(fixed->dwProductVersionMS, kVersionMs, "version: product version, high pair");
  checks.ExpectEq(fixed->dwProductVersionLS, kVersionLs, "version: product version, low pair");
  checks.ExpectEq(fixed->dwFileFlagsMask, 0x3F, "version: flags mask");
  checks.ExpectEq(fixed->dwFileFlags, 0, "version: flags");
  checks.ExpectEq(fixed->dwFileOS, VOS__WINDOWS32, "version: operating system");
  checks.ExpectEq(fixed->dwFileType, VFT_APP, "version: file type");
  checks.ExpectEq(fixed->dwFileSubtype, 0, "version: subtype");
  checks.ExpectEq(fixed->dwFileDateMS, 0, "version: date, high word");
  checks.ExpectEq(fixed->dwFileDateLS, 0, "version: date, low word");
}

void CheckTranslations(Checks& checks, std::vector<BYTE>& block) {
  WORD* pairs = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pairs),
                      &size)) {
    checks.Expect(false, "version: translation list present");
    return;
  }
  checks.ExpectEq(size, 8, "version: translation list holds two language/code page pairs");
  if (size < 8) return;
  checks.ExpectEq(pairs[0], 0x0000, "version: first translation, language neutral");
  checks.ExpectEq(pairs[1], 1200, "version: first translation, UTF-16");
  checks.ExpectEq(pairs[2], 0x0804, "version: second translation, Chinese (PRC)");
  checks.ExpectEq(pairs[3], 1200, "version: second translation, UTF-16");
}

// The value of one key; `found` is false when the key is missing.
struct Value {
  bool found = false;
  std::wstring text;
};

Value QueryString(std::vector<BYTE>& block, const std::wstring& table, const wchar_t* key) {
  std::wstring path = L"\\StringFileInfo\\" + table + L"\\" + key;
  wchar_t* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) {
    return {};
  }
  // An empty value may be stored with or without its terminating zero.
  return {true, length == 0 || text == nullptr ? std::wstring() : std::wstring(text)};
}

struct KeyRule {
  const wchar_t* key;
  enum { kNonEmpty, kEmpty, kVersion, kExact } rule;
  const wchar_t* text;  // for kExact
};

constexpr KeyRule kKeys[] = {
    {L"CompanyName", KeyRule::kNonEmpty, nullptr},
    {L"FileDescription", KeyRule::kNonEmpty, nullptr},
    {L"FileVersion", KeyRule::kVersion, nullptr},
    {L"InternalName", KeyRule::kExact, L"yishu"},
    {L"LegalCopyright", KeyRule::kNonEmpty, nullptr},
    {L"LegalTrademarks", KeyRule::kEmpty, nullptr},
    {L"OriginalFilename", KeyRule::kExact, L"yishu.exe"},
    {L"PrivateBuild", KeyRule::kEmpty, nullptr},
    {L"ProductName", KeyRule::kExact, L"译枢"},  // also proves the UTF-8 script was read as such
    {L"ProductVersion", KeyRule::kVersion, nullptr},
    {L"SpecialBuild", KeyRule::kEmpty, nullptr},
};

void CheckStringTable(Checks& checks, std::vector<BYTE>& block, const std::wstring& table) {
  for (const KeyRule& k : kKeys) {
    std::string what = "version: " + Checks::Utf8(table) + " " + Checks::Utf8(k.key);
    Value value = QueryString(block, table, k.key);
    checks.Expect(value.found, what + " present");
    if (!value.found) continue;
    switch (k.rule) {
      case KeyRule::kNonEmpty:
        checks.Expect(!value.text.empty(), what + " has a text");
        break;
      case KeyRule::kEmpty:
        checks.ExpectEq(value.text, L"", what);
        break;
      case KeyRule::kVersion:
        checks.ExpectEq(value.text, VersionText(), what);
        break;
      case KeyRule::kExact:
        checks.ExpectEq(value.text, k.text, what);
        break;
    }
  }
}

}  // namespace

void CheckVersion(Checks& checks, const wchar_t* exe_path) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(exe_path, &handle);
  checks.Expect(size != 0, "version: resource present");
  if (size == 0) return;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(exe_path, 0, size, block.data())) {
    checks.Expect(false, "version: resource readable");
    return;
  }
  CheckFixedPart(checks, block);
  CheckTranslations(checks, block);
  for (const wchar_t* table : {L"000004b0", L"080404b0"}) CheckStringTable(checks, block, table);
}
