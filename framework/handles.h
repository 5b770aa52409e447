// Tiny owners for the handles that must be released in the same operation that
// acquired them.
#pragma once

#include <windows.h>

namespace framework {

// BeginPaint ... EndPaint.
class PaintContext {
  public:
    explicit PaintContext(HWND window) : m_window(window) { m_dc = BeginPaint(window, &m_paint); }
    ~PaintContext() { EndPaint(m_window, &m_paint); }
    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;
    HDC Get() const { return m_dc; }

  private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// CreatePopupMenu ... DestroyMenu.
class PopupMenu {
  public:
    PopupMenu() : m_menu(CreatePopupMenu()) {}
    ~PopupMenu() {
        if (m_menu != nullptr) DestroyMenu(m_menu);
    }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    HMENU Get() const { return m_menu; }

  private:
    HMENU m_menu;
};

}  // namespace framework
