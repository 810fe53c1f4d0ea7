// Where the minimized window draws its icon: centred in the client area,
// rounding half a pixel up, in signed arithmetic that truncates toward zero
// (client width 30, icon 32: x = 0; width 29: x = -1, the icon is clipped).
#pragma once

struct IconPosition {
  int x;
  int y;
};

constexpr IconPosition CenteredIconPosition(int clientWidth, int clientHeight, int iconWidth,
                                            int iconHeight) {
  return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
