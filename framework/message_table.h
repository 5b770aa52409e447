// Static message tables: one line per message, notification code and control id,
// all handlers with one signature. A handler clears `handled` to let the message go
// on to default processing.
#pragma once

#include <windows.h>

#include <cstddef>

namespace framework {

inline constexpr UINT kAnyCode = 0xFFFFFFFFu;
inline constexpr UINT kAnyId = 0xFFFFFFFFu;

template <class T>
struct MessageTableEntry {
    UINT message;
    UINT code;  // WM_COMMAND and WM_NOTIFY: the notification code, or kAnyCode
    UINT id;    // WM_COMMAND and WM_NOTIFY: the control or command id, or kAnyId
    LRESULT (T::*handler)(WPARAM wParam, LPARAM lParam, bool& handled);
};

// Calls the first handler whose line matches. True when a handler took the message.
template <class T, std::size_t N>
bool DispatchMessageTable(T& target, const MessageTableEntry<T> (&table)[N], UINT message,
                          WPARAM wParam, LPARAM lParam, LRESULT& result) {
    UINT code = kAnyCode;
    UINT id = kAnyId;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY && lParam != 0) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    }
    for (const MessageTableEntry<T>& entry : table) {
        if (entry.message != message) continue;
        if (entry.code != kAnyCode && entry.code != code) continue;
        if (entry.id != kAnyId && entry.id != id) continue;
        bool handled = true;
        result = (target.*entry.handler)(wParam, lParam, handled);
        if (handled) return true;
    }
    return false;
}

}  // namespace framework
