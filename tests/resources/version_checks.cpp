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

void CheckFixedPart(std::vector<BYTE>& block) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) ||
      size < sizeof *fixed) {
    ADD_FAILURE() << "version: fixed part present";
    return;
  }
  EXPECT_PRED_FORMAT2(Same, fixed->dwSignature, 0xFEEF04BD) << "version: fixed part signature";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileVersionMS, kVersionMs)
      << "version: file version, high word pair";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileVersionLS, kVersionLs)
      << "version: file version, low word pair";
  EXPECT_PRED_FORMAT2(Same, fixed->dwProductVersionMS, kVersionMs)
      << "version: product version, high pair";
  EXPECT_PRED_FORMAT2(Same, fixed->dwProductVersionLS, kVersionLs)
      << "version: product version, low pair";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileFlagsMask, 0x3F) << "version: flags mask";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileFlags, 0) << "version: flags";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileOS, VOS__WINDOWS32) << "version: operating system";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileType, VFT_APP) << "version: file type";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileSubtype, 0) << "version: subtype";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileDateMS, 0) << "version: date, high word";
  EXPECT_PRED_FORMAT2(Same, fixed->dwFileDateLS, 0) << "version: date, low word";
}

void CheckTranslations(std::vector<BYTE>& block) {
  WORD* pairs = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pairs),
                      &size)) {
    ADD_FAILURE() << "version: translation list present";
    return;
  }
  EXPECT_PRED_FORMAT2(Same, size, 8)
      << "version: translation list holds two language/code page pairs";
  if (size < 8) return;
  EXPECT_PRED_FORMAT2(Same, pairs[0], 0x0000) << "version: first translation, language neutral";
  EXPECT_PRED_FORMAT2(Same, pairs[1], 1200) << "version: first translation, UTF-16";
  EXPECT_PRED_FORMAT2(Same, pairs[2], 0x0804) << "version: second translation, Chinese (PRC)";
  EXPECT_PRED_FORMAT2(Same, pairs[3], 1200) << "version: second translation, UTF-16";
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

void CheckStringTable(std::vector<BYTE>& block, const std::wstring& table) {
  for (const KeyRule& k : kKeys) {
    std::string what = "version: " + Utf8(table) + " " + Utf8(k.key);
    Value value = QueryString(block, table, k.key);
    EXPECT_TRUE(value.found) << what + " present";
    if (!value.found) continue;
    switch (k.rule) {
      case KeyRule::kNonEmpty:
        EXPECT_TRUE(!value.text.empty()) << what + " has a text";
        break;
      case KeyRule::kEmpty:
        EXPECT_PRED_FORMAT2(Same, value.text, L"") << what;
        break;
      case KeyRule::kVersion:
        EXPECT_PRED_FORMAT2(Same, value.text, VersionText()) << what;
        break;
      case KeyRule::kExact:
        EXPECT_PRED_FORMAT2(Same, value.text, k.text) << what;
        break;
    }
  }
}

}  // namespace

TEST(Resources, Version) {
  const wchar_t* exe_path = ProgramPath();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(exe_path, &handle);
  EXPECT_TRUE(size != 0) << "version: resource present";
  if (size == 0) return;
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(exe_path, 0, size, block.data())) {
    ADD_FAILURE() << "version: resource readable";
    return;
  }
  CheckFixedPart(block);
  CheckTranslations(block);
  for (const wchar_t* table : {L"000004b0", L"080404b0"}) CheckStringTable(block, table);
}
