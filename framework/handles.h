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

// An icon or a bitmap made at run time, released with it; an image loaded shared from the
// resources is never put in one.
template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class Owned {
  public:
    using HandleType = Handle;
    Owned() = default;
    explicit Owned(Handle handle) : m_handle(handle) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Handle Get() const { return m_handle; }
    // Takes `handle` in place of the one held, which is released.
    void Reset(Handle handle = nullptr) {
        if (m_handle != nullptr) Release(m_handle);
        m_handle = handle;
    }
    // Hands the handle, and the duty to release it, to the caller.
    Handle Detach() {
        const Handle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

  private:
    Handle m_handle = nullptr;
};

inline BOOL WINAPI ReleaseBitmap(HBITMAP bitmap) {
    return DeleteObject(bitmap);
}
using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedBitmap = Owned<HBITMAP, ReleaseBitmap>;

}  // namespace framework
