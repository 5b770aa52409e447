// Display scaling. The program declares itself aware of each monitor's DPI: the dialog
// manager lays out templates at the window's DPI, and what it does not scale (pictures and
// icons) is made here at the size for that DPI. Functions that only Windows 10 has are
// looked up, with a fallback for Windows 7 and 8.1, where a window has the system's DPI.
#pragma once

#include <windows.h>

namespace framework {

inline constexpr UINT kDefaultDpi = 96;  // 100 percent

// The DPI a window is drawn at.
UINT DpiForWindow(HWND window);
// A system metric (SM_CXICON, SM_CXSMICON...) at a DPI.
int MetricForDpi(int index, UINT dpi);
// A length at 96 DPI, at `dpi`.
inline int ScaleForDpi(int length, UINT dpi) {
    return MulDiv(length, static_cast<int>(dpi), static_cast<int>(kDefaultDpi));
}

// A copy of an icon of the resources at this size, made from the image closest to it; the
// caller releases it. Null when it cannot be made.
HICON MakeIcon(HINSTANCE instance, UINT id, int width, int height);
// A bitmap of the resources, its size at 96 DPI scaled to `dpi` with a smoothing filter, as
// a DIB section; the caller releases it. Null when it cannot be made.
HBITMAP MakeScaledBitmap(HINSTANCE instance, UINT id, UINT dpi);

}  // namespace framework
