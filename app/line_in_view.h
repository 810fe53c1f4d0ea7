// Which line an edit box shows at its top so that a given line is in view,
// moving the view as little as possible: a line already in view leaves it
// where it is, a line above it becomes the top line, a line below it the
// bottom line.
#pragma once

constexpr int FirstVisibleLineFor(int line, int firstVisible, int visibleLines) {
  if (visibleLines < 1) visibleLines = 1;
  if (line < firstVisible) return line;
  if (line >= firstVisible + visibleLines) return line - visibleLines + 1;
  return firstVisible;
}
