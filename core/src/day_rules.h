// Day-of-month codes: five digits with no space, such as 99010 (一日). The key
// is "99", the day in two digits, and a check digit: 0 for days 1-9; 1, 2 and
// 3 for days 10, 20 and 30; 9 for the rest. The keys ascend with the day.
#pragma once

#include <array>
#include <cstdint>

namespace yishu::detail {

struct DayText {
  char key[5];
  std::uint8_t length;  // characters in the text: 2 or 3, ending in 日
  char cp936[6];
  char16_t unicode[3];
  // In UTF-8 (three bytes a character), padded so that one store of the
  // whole array writes the text.
  std::array<char, 16> utf8;
};

// Returns the day (1..31) whose key the five ASCII digits at `d` spell, or 0.
template <class Unit>
constexpr int DayOfKey(const Unit* d) {
  if (d[0] != '9' || d[1] != '9') return 0;
  const int day = (d[2] - '0') * 10 + (d[3] - '0');
  if (day < 1 || day > 31) return 0;
  const int check = day < 10 ? '0' : day % 10 == 0 ? '0' + day / 10 : '9';
  return d[4] == check ? day : 0;
}

namespace day_text_parts {

struct Hanzi {
  char lead, trail;
  char16_t unicode;
};

inline constexpr Hanzi kOnes[10] = {
    {0, 0, 0},  // a day text never spells a zero
    {'\xD2', '\xBB', u'一'},
    {'\xB6', '\xFE', u'二'},
    {'\xC8', '\xFD', u'三'},
    {'\xCB', '\xC4', u'四'},
    {'\xCE', '\xE5', u'五'},
    {'\xC1', '\xF9', u'六'},
    {'\xC6', '\xDF', u'七'},
    {'\xB0', '\xCB', u'八'},
    {'\xBE', '\xC5', u'九'},
};
inline constexpr Hanzi kTens[4] = {
    {0, 0, 0}, {'\xCA', '\xAE', u'十'}, {'\xD8', '\xA5', u'廿'}, {'\xD8', '\xA6', u'卅'}};
inline constexpr Hanzi kDay = {'\xC8', '\xD5', u'日'};

constexpr DayText MakeDay(int day) {
  DayText t{};
  const int tens = day / 10, ones = day % 10;
  const char key[5] = {'9', '9', static_cast<char>('0' + tens), static_cast<char>('0' + ones),
                       static_cast<char>(day < 10    ? '0'
                                         : ones == 0 ? '0' + tens
                                                     : '9')};
  for (int i = 0; i < 5; ++i) t.key[i] = key[i];
  Hanzi chars[3]{};
  int n = 0;
  if (tens > 0) chars[n++] = kTens[tens];
  if (ones > 0) chars[n++] = kOnes[ones];
  chars[n++] = kDay;
  t.length = static_cast<std::uint8_t>(n);
  for (int i = 0; i < n; ++i) {
    t.cp936[2 * i] = chars[i].lead;
    t.cp936[2 * i + 1] = chars[i].trail;
    t.unicode[i] = chars[i].unicode;
    const char16_t c = chars[i].unicode;  // U+0800 and up: three bytes
    t.utf8[3 * i] = static_cast<char>(0xE0 | c >> 12);
    t.utf8[3 * i + 1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    t.utf8[3 * i + 2] = static_cast<char>(0x80 | (c & 0x3F));
  }
  return t;
}

constexpr std::array<DayText, 31> MakeDays() {
  std::array<DayText, 31> days{};
  for (int d = 1; d <= 31; ++d) days[d - 1] = MakeDay(d);
  return days;
}

}  // namespace day_text_parts

// Indexed by day - 1.
inline constexpr std::array<DayText, 31> kDayTexts = day_text_parts::MakeDays();

static_assert(DayOfKey(kDayTexts[0].key) == 1 && DayOfKey(kDayTexts[30].key) == 31);
static_assert(kDayTexts[0].utf8[3] == '\xE6' && kDayTexts[0].utf8[4] == '\x97' &&
              kDayTexts[0].utf8[5] == '\xA5');  // 日

}  // namespace yishu::detail
