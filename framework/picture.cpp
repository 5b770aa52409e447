#include "picture.h"

namespace framework {

HWND FindPicture(HWND dialog, UINT imageType) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (SendMessageW(child, STM_GETIMAGE, imageType, 0) != 0) return child;
    }
    return nullptr;
}

}  // namespace framework
