// Where the minimized window's icon goes: the centring must round half a
// pixel up and truncate toward zero, never floor.
#include "icon_position.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  int clientWidth, clientHeight;
  int x, y;
};

TEST(CenteredIconPosition, ThirtyTwoPixelIcon) {
  const Case cases[] = {
      {36, 36, 2, 2},     // an even margin
      {35, 35, 2, 2},     // an odd margin rounds up
      {32, 32, 0, 0},     // exactly the icon
      {31, 31, 0, 0},     // -1 + 1 = 0
      {30, 30, 0, 0},     // -1 / 2 truncates to 0, not -1
      {29, 29, -1, -1},   // -2 / 2: the icon is clipped
      {28, 28, -1, -1},   // -3 / 2 truncates to -1
      {0, 0, -15, -15},   // a client area of nothing
      {160, 24, 64, -3},  // width and height are independent
  };
  for (const Case& c : cases) {
    const IconPosition at = CenteredIconPosition(c.clientWidth, c.clientHeight, 32, 32);
    EXPECT_EQ(at.x, c.x) << "client width " << c.clientWidth;
    EXPECT_EQ(at.y, c.y) << "client height " << c.clientHeight;
  }
}

TEST(CenteredIconPosition, OtherIconSizes) {
  // The icon size follows the system metrics, 48 pixels at 150 %.
  EXPECT_EQ(CenteredIconPosition(100, 100, 48, 48).x, 26);
  EXPECT_EQ(CenteredIconPosition(46, 46, 48, 48).x, 0);
  EXPECT_EQ(CenteredIconPosition(45, 45, 48, 48).x, -1);
}

}  // namespace
