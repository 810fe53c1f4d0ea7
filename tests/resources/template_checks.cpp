// The About box's dialog template, read back item by item from RT_DIALOG:
// the stored template, not the window built from it, since the static icon
// control resizes itself to its icon when it is created.
#include <windows.h>

#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "checks.h"
#include "resource.h"

namespace {

// A name or number field of a template: 0xFFFF then a number, or a string.
struct NameOrNumber {
  bool isNumber = false;
  WORD number = 0;
  std::wstring name;
};

struct Item {
  DWORD style;
  short x, y, cx, cy;
  WORD id;
  NameOrNumber windowClass;
  NameOrNumber text;
};

// Walks a template's words; reads past the end give zero and mark it broken.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  WORD Word() {
    WORD value = 0;
    if (at_ + 2 > bytes_.size()) {
      broken_ = true;
    } else {
      std::memcpy(&value, bytes_.data() + at_, 2);
    }
    at_ += 2;
    return value;
  }
  DWORD Dword() {
    const DWORD low = Word();
    return low | static_cast<DWORD>(Word()) << 16;
  }
  NameOrNumber Field() {
    NameOrNumber field;
    WORD first = Word();
    if (first == 0xFFFF) {
      field.isNumber = true;
      field.number = Word();
      return field;
    }
    for (; first != 0 && !broken_; first = Word()) field.name += static_cast<wchar_t>(first);
    return field;
  }
  void AlignToDword() { at_ = (at_ + 3) & ~size_t{3}; }
  bool broken() const { return broken_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
  bool broken_ = false;
};

// The items of a classic (DIALOG, not DIALOGEX) template.
std::vector<Item> ClassicTemplateItems(std::string_view bytes, bool& broken) {
  Reader reader(bytes);
  const DWORD style = reader.Dword();
  reader.Dword();  // extended style
  const WORD count = reader.Word();
  for (int i = 0; i < 4; ++i) reader.Word();  // x, y, cx, cy
  reader.Field();                             // menu
  reader.Field();                             // class
  reader.Field();                             // caption
  if (style & DS_SETFONT) {
    reader.Word();  // point size
    reader.Field();
  }
  std::vector<Item> items;
  for (WORD i = 0; i < count && !reader.broken(); ++i) {
    reader.AlignToDword();
    Item item{};
    item.style = reader.Dword();
    reader.Dword();  // extended style
    item.x = static_cast<short>(reader.Word());
    item.y = static_cast<short>(reader.Word());
    item.cx = static_cast<short>(reader.Word());
    item.cy = static_cast<short>(reader.Word());
    item.id = reader.Word();
    item.windowClass = reader.Field();
    item.text = reader.Field();
    const WORD extra = reader.Word();
    for (WORD skipped = 0; skipped < extra; skipped += 2) reader.Word();
    items.push_back(item);
  }
  broken = reader.broken();
  return items;
}

bool IsStaticClass(const NameOrNumber& windowClass) {
  return windowClass.isNumber ? windowClass.number == 0x0082
                              : _wcsicmp(windowClass.name.c_str(), L"Static") == 0;
}

}  // namespace

TEST(Resources, Templates) {
  HMODULE exe = ProgramFile();
  HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(IDD_ABOUTBOX), RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(exe, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  EXPECT_TRUE(data != nullptr) << "About box template present";
  if (data == nullptr) return;
  const std::string_view bytes(static_cast<const char*>(data), SizeofResource(exe, found));
  WORD first[2] = {};
  std::memcpy(first, bytes.data(), bytes.size() < 4 ? 0 : 4);
  EXPECT_TRUE(!(first[0] == 1 && first[1] == 0xFFFF)) << "About box: a classic template";
  bool broken = false;
  const std::vector<Item> items = ClassicTemplateItems(bytes, broken);
  EXPECT_TRUE(!broken) << "About box template: every item read";

  // Positions and sizes in dialog units, in template order.
  const struct {
    const char* name;
    WORD id;
    short x, y, cx, cy;
  } expected[] = {
      {"icon", static_cast<WORD>(IDC_STATIC), 67, 11, 20, 20},
      {"product line", static_cast<WORD>(IDC_STATIC), 41, 42, 69, 8},
      {"rights line", static_cast<WORD>(IDC_STATIC), 29, 56, 93, 8},
      {"OK button", IDOK, 51, 104, 50, 14},
      {"maker block", static_cast<WORD>(IDC_STATIC), 22, 76, 106, 19},
  };
  EXPECT_PRED_FORMAT2(Same, items.size(), std::size(expected)) << "About box: number of controls";
  for (size_t i = 0; i < items.size() && i < std::size(expected); ++i) {
    const Item& item = items[i];
    const std::string what = std::string("About box ") + expected[i].name;
    EXPECT_PRED_FORMAT2(Same, item.id, expected[i].id) << what + ": identifier";
    EXPECT_PRED_FORMAT2(Same, item.x, expected[i].x) << what + ": x";
    EXPECT_PRED_FORMAT2(Same, item.y, expected[i].y) << what + ": y";
    EXPECT_PRED_FORMAT2(Same, item.cx, expected[i].cx) << what + ": width";
    EXPECT_PRED_FORMAT2(Same, item.cy, expected[i].cy) << what + ": height";
  }
  if (items.empty()) return;
  const Item& icon = items[0];
  EXPECT_TRUE(IsStaticClass(icon.windowClass)) << "About box icon: a static control";
  EXPECT_PRED_FORMAT2(Same, icon.style & SS_TYPEMASK, SS_ICON) << "About box icon: SS_ICON";
  EXPECT_PRED_FORMAT2(Same, icon.style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE)
      << "About box icon: a visible child";
  EXPECT_TRUE(icon.text.isNumber && icon.text.number == IDI_ABOUT)
      << "About box icon: shows icon IDI_ABOUT";
}
