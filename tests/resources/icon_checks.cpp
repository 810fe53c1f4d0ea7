// The icons: each group's directory, and every image it names, read back from
// the RT_GROUP_ICON and RT_ICON resources.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "checks.h"
#include "resource.h"

namespace {

#pragma pack(push, 2)
struct GroupHeader {
  WORD reserved;
  WORD type;
  WORD count;
};
struct GroupEntry {
  BYTE width;
  BYTE height;
  BYTE colour_count;
  BYTE reserved;
  WORD planes;
  WORD bit_count;
  DWORD bytes_in_res;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupEntry) == 14);

struct Image {
  int size;
  int bits;
};

struct Group {
  int id;
  const char* name;
  std::vector<Image> images;  // in directory order
};

const Group kGroups[] = {
    {IDR_MAINFRAME, "IDR_MAINFRAME", {{32, 4}, {16, 4}}},
    {IDI_ABOUT, "IDI_ABOUT", {{16, 8}, {32, 8}}},
};

DWORD RowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

void CheckImage(HMODULE exe, const GroupEntry& entry, const Image& expected,
                const std::string& what) {
  std::string_view bytes = ResourceBytes(exe, RT_ICON, entry.id);
  EXPECT_TRUE(!bytes.empty()) << what + ": image present";
  if (bytes.empty()) return;
  EXPECT_PRED_FORMAT2(Same, bytes.size(), entry.bytes_in_res)
      << what + ": image size agrees with directory";
  if (bytes.size() < sizeof(BITMAPINFOHEADER)) return;
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes.data(), sizeof header);
  EXPECT_PRED_FORMAT2(Same, header.biSize, sizeof header) << what + ": BITMAPINFOHEADER (not PNG)";
  EXPECT_PRED_FORMAT2(Same, header.biWidth, expected.size) << what + ": bitmap width";
  EXPECT_PRED_FORMAT2(Same, header.biHeight, 2 * expected.size)
      << what + ": bitmap height (XOR and AND)";
  EXPECT_PRED_FORMAT2(Same, header.biPlanes, 1) << what + ": bitmap planes";
  EXPECT_PRED_FORMAT2(Same, header.biBitCount, expected.bits) << what + ": bitmap bits per pixel";
  EXPECT_PRED_FORMAT2(Same, header.biCompression, BI_RGB) << what + ": uncompressed";
  DWORD colours = header.biClrUsed ? header.biClrUsed : 1u << expected.bits;
  DWORD whole =
      sizeof header + 4 * colours +
      expected.size * (RowBytes(expected.size, expected.bits) + RowBytes(expected.size, 1));
  EXPECT_PRED_FORMAT2(Same, bytes.size(), whole)
      << what + ": header, palette, XOR bitmap and AND mask";

  // Windows itself must accept the image as an icon of that size.
  HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                        static_cast<DWORD>(bytes.size()), TRUE, 0x00030000,
                                        expected.size, expected.size, LR_DEFAULTCOLOR);
  EXPECT_TRUE(icon != nullptr) << what + ": CreateIconFromResourceEx accepts it";
  if (icon) DestroyIcon(icon);
}

void CheckGroup(HMODULE exe, const Group& group) {
  std::string what = std::string("icon ") + group.name;
  std::string_view bytes = ResourceBytes(exe, RT_GROUP_ICON, group.id);
  EXPECT_TRUE(!bytes.empty()) << what + " present";
  if (bytes.size() < sizeof(GroupHeader)) return;
  GroupHeader header;
  std::memcpy(&header, bytes.data(), sizeof header);
  EXPECT_PRED_FORMAT2(Same, header.type, 1) << what + ": directory type icon";
  EXPECT_PRED_FORMAT2(Same, header.count, group.images.size()) << what + ": number of images";
  if (header.count != group.images.size() ||
      bytes.size() < sizeof header + header.count * sizeof(GroupEntry)) {
    return;
  }
  for (size_t i = 0; i < group.images.size(); ++i) {
    const Image& expected = group.images[i];
    GroupEntry entry;
    std::memcpy(&entry, bytes.data() + sizeof header + i * sizeof entry, sizeof entry);
    std::string image = what + " image " + std::to_string(i + 1) + " (" +
                        std::to_string(expected.size) + "x" + std::to_string(expected.size) + ", " +
                        std::to_string(expected.bits) + " bpp)";
    EXPECT_PRED_FORMAT2(Same, entry.width, expected.size) << image + ": directory width";
    EXPECT_PRED_FORMAT2(Same, entry.height, expected.size) << image + ": directory height";
    EXPECT_PRED_FORMAT2(Same, entry.colour_count, expected.bits < 8 ? 1u << expected.bits : 0)
        << image + ": directory colour count";
    EXPECT_PRED_FORMAT2(Same, entry.bit_count, expected.bits)
        << image + ": directory bits per pixel";
    CheckImage(exe, entry, expected, image);
  }
}

}  // namespace

TEST(Resources, Icons) {
  HMODULE exe = ProgramFile();
  for (const Group& group : kGroups) CheckGroup(exe, group);
}
