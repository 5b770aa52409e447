#include "dpi.h"

#include "exports.h"
#include "handles.h"

namespace framework {

namespace {

template <typename Function>
Function* User32Export(const char* name) {
    return FindExport<Function>(GetModuleHandleW(L"user32.dll"), name);
}

UINT SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

// A memory device context for the screen, deleted with its owner; a bitmap selected into it
// is selected out again first.
class MemoryDC {
  public:
    MemoryDC() : m_dc(CreateCompatibleDC(nullptr)) {}
    ~MemoryDC() {
        if (m_before != nullptr) SelectObject(m_dc, m_before);
        if (m_dc != nullptr) DeleteDC(m_dc);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC Select(HBITMAP bitmap) {
        m_before = SelectObject(m_dc, bitmap);
        return m_before != nullptr ? m_dc : nullptr;
    }

  private:
    HDC m_dc;
    HGDIOBJ m_before = nullptr;
};

}  // namespace

UINT DpiForWindow(HWND window) {
    static const auto getDpiForWindow = User32Export<UINT WINAPI(HWND)>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}

int MetricForDpi(int index, UINT dpi) {
    static const auto getSystemMetricsForDpi =
        User32Export<int WINAPI(int, UINT)>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

HICON MakeIcon(HINSTANCE instance, UINT id, int width, int height) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

HBITMAP MakeScaledBitmap(HINSTANCE instance, UINT id, UINT dpi) {
    OwnedBitmap source(static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP size{};
    if (source.Get() == nullptr || GetObjectW(source.Get(), sizeof size, &size) == 0)
        return nullptr;
    const int width = ScaleForDpi(size.bmWidth, dpi), height = ScaleForDpi(size.bmHeight, dpi);
    if (width == size.bmWidth && height == size.bmHeight) return source.Detach();
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedBitmap scaled(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (scaled.Get() == nullptr) return nullptr;
    {
        MemoryDC from, to;
        HDC fromDC = from.Select(source.Get()), toDC = to.Select(scaled.Get());
        if (fromDC == nullptr || toDC == nullptr) return nullptr;
        // HALFTONE averages the source pixels that each target pixel covers; the brush origin
        // must be set again after choosing it.
        SetStretchBltMode(toDC, HALFTONE);
        SetBrushOrgEx(toDC, 0, 0, nullptr);
        if (!StretchBlt(toDC, 0, 0, width, height, fromDC, 0, 0, size.bmWidth, size.bmHeight,
                        SRCCOPY))
            return nullptr;
    }
    return scaled.Detach();
}

}  // namespace framework
