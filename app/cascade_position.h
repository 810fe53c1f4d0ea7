// Where a copy of the program opens when other copies are on the screen: a
// step down and to the right of the copy on top, as cascading windows do.
// Where that would leave the work area the window goes back to its left or
// top edge; a place another copy already takes is passed over.
#pragma once

#include <cstddef>
#include <vector>

struct ScreenPoint {
  int x, y;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenArea {
  int left, top, right, bottom;
};

inline ScreenPoint CascadedPosition(ScreenPoint onTop, const std::vector<ScreenPoint>& taken,
                                    int width, int height, ScreenArea work, int step) {
  ScreenPoint at = onTop;
  // Every taken place can be passed over at most once.
  for (std::size_t tries = 0; tries <= taken.size(); ++tries) {
    at = {at.x + step, at.y + step};
    if (at.x + width > work.right || at.x < work.left) at.x = work.left;
    if (at.y + height > work.bottom || at.y < work.top) at.y = work.top;
    bool free = true;
    for (const ScreenPoint& place : taken) free = free && !(place == at);
    if (free) break;
  }
  return at;
}
