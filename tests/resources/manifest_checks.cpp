// The manifest (one, resource 1) and the string table (only string 101).
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "checks.h"
#include "resource.h"

namespace {

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  auto* list = reinterpret_cast<std::vector<ULONG_PTR>*>(names);
  // Named (not numbered) resources are kept as 0; none is expected.
  list->push_back(IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0);
  return TRUE;
}

BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

std::vector<ULONG_PTR> ResourceIds(HMODULE exe, const wchar_t* type) {
  std::vector<ULONG_PTR> ids;
  EnumResourceNamesW(exe, type, CollectName, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

// The text inside the first <tag ...>text</tag>, trimmed; empty when absent.
std::string ElementText(std::string_view xml, std::string_view tag) {
  std::string open("<"), close("</");
  open += tag;
  close += tag;
  close += '>';
  for (size_t at = xml.find(open); at != xml.npos; at = xml.find(open, at + 1)) {
    char after = at + open.size() < xml.size() ? xml[at + open.size()] : '\0';
    if (after != '>' && after != ' ') continue;
    size_t start = xml.find('>', at);
    size_t end = xml.find(close, at);
    if (start == xml.npos || end == xml.npos || end < start) return {};
    std::string_view text = xml.substr(start + 1, end - start - 1);
    size_t first = text.find_first_not_of(" \t\r\n");
    size_t last = text.find_last_not_of(" \t\r\n");
    return first == text.npos ? std::string() : std::string(text.substr(first, last - first + 1));
  }
  return {};
}

// The <assemblyIdentity .../> inside <dependentAssembly>, or empty.
std::string DependencyIdentity(std::string_view xml) {
  size_t start = xml.find("<dependentAssembly");
  size_t end = xml.find("</dependentAssembly>");
  if (start == xml.npos || end == xml.npos) return {};
  std::string_view block = xml.substr(start, end - start);
  size_t id = block.find("<assemblyIdentity");
  if (id == block.npos) return {};
  return std::string(block.substr(id, block.find('>', id) - id));
}

// Counted UTF-16 strings, sixteen to a block; returns them in order.
std::vector<std::wstring> BlockStrings(std::string_view bytes) {
  std::vector<std::wstring> strings;
  size_t at = 0;
  while (strings.size() < 16 && at + 2 <= bytes.size()) {
    WORD length;
    std::memcpy(&length, bytes.data() + at, 2);
    at += 2;
    if (at + 2 * length > bytes.size()) break;
    std::wstring text(length, L'\0');
    std::memcpy(text.data(), bytes.data() + at, 2 * length);
    at += 2 * length;
    strings.push_back(text);
  }
  return strings;
}

}  // namespace

TEST(Resources, Manifest) {
  HMODULE exe = ProgramFile();
  std::vector<ULONG_PTR> ids = ResourceIds(exe, RT_MANIFEST);
  EXPECT_TRUE(ids.size() == 1 && ids[0] == 1)
      << "manifest: one, resource 1"
      << ": "
      << "found " + std::to_string(ids.size()) + " manifest resources";
  int languages = 0;
  EnumResourceLanguagesW(exe, RT_MANIFEST, MAKEINTRESOURCEW(1), CountLanguage,
                         reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_PRED_FORMAT2(Same, languages, 1) << "manifest: in one language only";

  HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
  HGLOBAL loaded = found ? LoadResource(exe, found) : nullptr;
  const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (data == nullptr) return;
  std::string_view xml(data, SizeofResource(exe, found));

  std::string dependency = DependencyIdentity(xml);
  EXPECT_TRUE(dependency.find("name=\"Microsoft.Windows.Common-Controls\"") != dependency.npos)
      << "manifest: depends on the common controls"
      << ": " << dependency;
  EXPECT_TRUE(dependency.find("version=\"6.0.0.0\"") != dependency.npos)
      << "manifest: common controls version 6"
      << ": " << dependency;
  std::string aware = ElementText(xml, "dpiAware");
  EXPECT_TRUE(aware == "true/pm") << "manifest: dpiAware true/pm"
                                  << ": "
                                  << "found \"" + aware + "\"";
  std::string awareness = ElementText(xml, "dpiAwareness");
  EXPECT_TRUE(awareness == "PerMonitorV2,PerMonitor") << "manifest: dpiAwareness per monitor"
                                                      << ": "
                                                      << "found \"" + awareness + "\"";
}

TEST(Resources, Strings) {
  HMODULE exe = ProgramFile();
  constexpr int kBlock = IDS_ABOUTBOX / 16 + 1;
  std::vector<ULONG_PTR> blocks = ResourceIds(exe, RT_STRING);
  EXPECT_TRUE(blocks.size() == 1 && blocks[0] == kBlock)
      << "strings: one string table block, the one holding IDS_ABOUTBOX"
      << ": "
      << "found " + std::to_string(blocks.size()) + " blocks";

  wchar_t text[128] = {};
  LoadStringW(exe, IDS_ABOUTBOX, text, 128);
  EXPECT_PRED_FORMAT2(Same, text, L"关于 译枢0.92版(&A)...")
      << "strings: IDS_ABOUTBOX (LoadStringW)";

  std::string_view block =
      ResourceBytes(exe, RT_STRING, kBlock, MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  std::vector<std::wstring> strings = BlockStrings(block);
  EXPECT_PRED_FORMAT2(Same, strings.size(), 16)
      << "strings: block in Chinese (PRC) with sixteen slots";
  for (size_t i = 0; i < strings.size(); ++i) {
    if (i == IDS_ABOUTBOX % 16) continue;
    EXPECT_TRUE(strings[i].empty())
        << "strings: IDS_ABOUTBOX is the only string"
        << ": "
        << "string " + std::to_string((kBlock - 1) * 16 + i) + " is not empty";
  }
}
