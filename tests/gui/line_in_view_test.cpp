// The output box's view follows the line being typed on, moving as little as
// it can.
#include "line_in_view.h"

#include <gtest/gtest.h>

namespace {

TEST(FirstVisibleLineFor, MovesTheViewOnlyAsFarAsNeeded) {
  const struct {
    const char* name;
    int line, firstVisible, visibleLines;
    int expected;
  } cases[] = {
      {"in view at the top", 10, 10, 4, 10},
      {"in view at the bottom", 13, 10, 4, 10},
      {"just below the view becomes its bottom line", 14, 10, 4, 11},
      {"far below the view", 39, 0, 4, 36},
      {"just above the view becomes its top line", 9, 10, 4, 9},
      {"far above the view", 0, 36, 4, 0},
      {"a view of one line", 7, 3, 1, 7},
      {"a view too small for one line still shows it", 7, 3, 0, 7},
      {"the first lines need no scrolling", 2, 0, 4, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirstVisibleLineFor(c.line, c.firstVisible, c.visibleLines), c.expected) << c.name;
  }
}

}  // namespace
