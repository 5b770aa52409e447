// A picture control (a static that shows a bitmap or an icon) showing an image made at run
// time, for the window's DPI. The control keeps the image that its template gave it, which
// it loaded itself: it gets that back as the window goes, and each image made here is
// released here, once the control no longer shows it.
#pragma once

#include <windows.h>

#include "handles.h"

namespace framework {

// The dialog's first picture control that shows an image of this type (IMAGE_BITMAP,
// IMAGE_ICON), or null.
HWND FindPicture(HWND dialog, UINT imageType);

template <typename OwnedImage, UINT kImageType>
class PictureImage {
  public:
    PictureImage() = default;
    PictureImage(const PictureImage&) = delete;
    PictureImage& operator=(const PictureImage&) = delete;

    // Shows `made` (released here from now on) in place of what the control shows.
    void Show(HWND control, typename OwnedImage::HandleType made) {
        if (control == nullptr || made == nullptr) {
            OwnedImage unused(made);
            return;
        }
        const auto shown = reinterpret_cast<HANDLE>(
            SendMessageW(control, STM_SETIMAGE, kImageType, reinterpret_cast<LPARAM>(made)));
        if (m_control == nullptr) {
            m_control = control;
            m_template = shown;
        }
        m_made.Reset(made);  // the image it showed until now, if made here, goes
    }
    // The control's own image back, before the control goes.
    void GiveBack() {
        if (m_control == nullptr) return;
        SendMessageW(m_control, STM_SETIMAGE, kImageType, reinterpret_cast<LPARAM>(m_template));
        m_control = nullptr;
        m_made.Reset();
    }

  private:
    HWND m_control = nullptr;
    HANDLE m_template = nullptr;
    OwnedImage m_made;
};

using PictureBitmap = PictureImage<OwnedBitmap, IMAGE_BITMAP>;
using PictureIcon = PictureImage<OwnedIcon, IMAGE_ICON>;

}  // namespace framework
