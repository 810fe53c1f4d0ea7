#include "framework/redraw_pause.h"

namespace {

bool HasVisibleStyle(HWND window) {
  return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

// A hidden window is left alone: ending the pause would show it.
CRedrawPause::CRedrawPause(HWND window) : m_hWnd(window) {
  if (!m_hWnd || !HasVisibleStyle(m_hWnd)) return;
  SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  // Wine's edit control swallows WM_SETREDRAW; its default handling, which
  // the platform's own controls pass it on to, still does the work.
  if (HasVisibleStyle(m_hWnd)) {
    DefWindowProcW(m_hWnd, WM_SETREDRAW, FALSE, 0);
    m_bByDefault = true;
  }
  m_bPaused = !HasVisibleStyle(m_hWnd);
}

CRedrawPause::~CRedrawPause() {
  if (!m_bPaused || !IsWindow(m_hWnd)) return;
  if (m_bByDefault) {
    DefWindowProcW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  } else {
    SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  }
  // Whatever changed while paused was not drawn; the scroll bars are in the frame.
  RedrawWindow(m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
