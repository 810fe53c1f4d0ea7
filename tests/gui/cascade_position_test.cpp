// A copy opened beside others: a step down and right of the copy on top,
// always inside the work area, never exactly on another copy.
#include "cascade_position.h"

#include <gtest/gtest.h>

namespace {

constexpr ScreenArea kWork{0, 0, 1024, 738};
constexpr int kWidth = 472, kHeight = 237, kStep = 22;

TEST(CascadedPosition, StepsFromTheCopyOnTop) {
  const struct {
    const char* name;
    ScreenPoint onTop;
    std::vector<ScreenPoint> taken;
    ScreenPoint expected;
  } cases[] = {
      {"one copy, centred", {276, 250}, {{276, 250}}, {298, 272}},
      {"from the copy on top, not the first", {298, 272}, {{276, 250}, {298, 272}}, {320, 294}},
      {"past the right edge: back to the left edge", {540, 100}, {{540, 100}}, {0, 122}},
      {"past the bottom edge: back to the top edge", {100, 490}, {{100, 490}}, {122, 0}},
      {"in the bottom right corner", {552, 501}, {{552, 501}}, {0, 0}},
      {"a place already taken is passed over",
       {276, 250},
       {{276, 250}, {298, 272}, {320, 294}},
       {342, 316}},
      {"a copy off the work area's top left", {-300, -100}, {{-300, -100}}, {0, 0}},
  };
  for (const auto& c : cases) {
    const ScreenPoint at = CascadedPosition(c.onTop, c.taken, kWidth, kHeight, kWork, kStep);
    EXPECT_EQ(at.x, c.expected.x) << c.name;
    EXPECT_EQ(at.y, c.expected.y) << c.name;
  }
}

TEST(CascadedPosition, AlwaysInsideTheWorkAreaWhenTheWindowFits) {
  std::vector<ScreenPoint> taken;
  ScreenPoint onTop{276, 250};
  taken.push_back(onTop);
  // Forty copies, each opened from the one before: none leaves the work
  // area, and none lands on another.
  for (int copy = 0; copy < 40; ++copy) {
    const ScreenPoint at = CascadedPosition(onTop, taken, kWidth, kHeight, kWork, kStep);
    EXPECT_GE(at.x, kWork.left);
    EXPECT_GE(at.y, kWork.top);
    EXPECT_LE(at.x + kWidth, kWork.right);
    EXPECT_LE(at.y + kHeight, kWork.bottom);
    for (const ScreenPoint& place : taken) EXPECT_FALSE(place == at) << "copy " << copy;
    taken.push_back(at);
    onTop = at;
  }
}

TEST(CascadedPosition, AWindowLargerThanTheWorkAreaKeepsItsTopLeftCorner) {
  const ScreenPoint at = CascadedPosition({0, 0}, {{0, 0}}, 2000, 1000, kWork, kStep);
  EXPECT_EQ(at.x, 0);
  EXPECT_EQ(at.y, 0);
}

}  // namespace
