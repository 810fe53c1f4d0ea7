// Holds back a window's drawing while it is changed in several steps, and
// repaints it once, frame and scroll bars included, when the pause ends: the
// stand-in for the class framework's SetRedraw(FALSE) ... SetRedraw(TRUE).
// Under Wine every scroll of an edit box (and selecting text scrolls it)
// redraws the box and its scroll bar at once, about 1 ms each; paused, the
// scrolls cost next to nothing.
#pragma once

#include <windows.h>

class CRedrawPause {
 public:
  explicit CRedrawPause(HWND window);
  ~CRedrawPause();
  CRedrawPause(const CRedrawPause&) = delete;
  CRedrawPause& operator=(const CRedrawPause&) = delete;

 private:
  HWND m_hWnd;
  bool m_bPaused = false;
  bool m_bByDefault = false;  // paused by the default handling, not the window's own
};
