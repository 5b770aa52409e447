// The floor for the program's running cost: a minimal dialog that does only what no
// counter can avoid, after the start-up that the program cannot avoid either (the common
// controls with the date picker's class, OLE, and an icon in the notification area). On
// each tick of a 100 ms timer it reads the start-date key afresh, reads the clock,
// converts it to local time with the zone read afresh, formats a date and sets eight
// static texts. Built from an in-memory template, with none of the program's own code.
// With /counter it shows the program's own counter template instead (its picture and its
// icon included), as the floor of the program's start-up time.
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstddef>
#include <ctime>
#include <cwchar>
#include <vector>

#include "resource.h"

namespace {

// A DLGTEMPLATE with eight static controls, laid out by hand.
std::vector<WORD> MakeTemplate() {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto text = [&](const wchar_t* s) {
        for (; *s; ++s) t.push_back(static_cast<WORD>(*s));
        t.push_back(0);
    };
    dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    dword(0);
    t.push_back(8);  // controls
    t.push_back(0);
    t.push_back(0);
    t.push_back(300);
    t.push_back(120);
    t.push_back(0);  // no menu
    t.push_back(0);  // default class
    text(L"Floor");
    t.push_back(8);
    text(L"MS Shell Dlg");
    for (WORD i = 0; i < 8; ++i) {
        if (t.size() % 2) t.push_back(0);  // DWORD alignment
        dword(WS_CHILD | WS_VISIBLE | SS_LEFT);
        dword(0);
        t.push_back(10);
        t.push_back(static_cast<WORD>(10 + i * 12));
        t.push_back(200);
        t.push_back(10);
        t.push_back(static_cast<WORD>(1000 + i));
        t.push_back(0xFFFF);
        t.push_back(0x0082);  // static
        text(L"Static");
        t.push_back(0);
    }
    return t;
}

NOTIFYICONDATAW IconRecord(HWND dialog) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = dialog;
    record.uID = 1;
    return record;
}

INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            NOTIFYICONDATAW record = IconRecord(dialog);
            record.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
            record.uCallbackMessage = WM_APP;
            record.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
            SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(record.hIcon));
            lstrcpynW(record.szTip, L"Floor", 64);
            Shell_NotifyIconW(NIM_ADD, &record);
            SetTimer(dialog, 1, 100, nullptr);
            return TRUE;
        }
        case WM_DESTROY: {
            NOTIFYICONDATAW record = IconRecord(dialog);
            Shell_NotifyIconW(NIM_DELETE, &record);
            return FALSE;
        }
        case WM_TIMER: {
            DWORD date[3] = {1970, 1, 1};
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quillmark", 0, KEY_QUERY_VALUE,
                              &key) == ERROR_SUCCESS) {
                const wchar_t* names[] = {L"Year", L"Month", L"Day"};
                for (int i = 0; i < 3; ++i) {
                    DWORD size = sizeof date[i];
                    RegQueryValueExW(key, names[i], nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&date[i]), &size);
                }
                RegCloseKey(key);
            }
            _tzset();  // as the program does, to follow a change of zone
            const __time64_t now = _time64(nullptr);
            std::tm local{};
            _localtime64_s(&local, &now);
            std::tm start{};
            start.tm_year = static_cast<int>(date[0]) - 1900;
            start.tm_mon = static_cast<int>(date[1]) - 1;
            start.tm_mday = static_cast<int>(date[2]);
            wchar_t text[8][64] = {};
            std::wcsftime(text[0], 64, L"%A, %B %d, %Y", &start);
            const int numbers[] = {local.tm_year, local.tm_mon, local.tm_mday, local.tm_hour,
                                   local.tm_min,  local.tm_sec, local.tm_yday};
            for (int i = 1; i < 8; ++i) std::swprintf(text[i], 64, L"%d", numbers[i - 1]);
            for (int i = 0; i < 8; ++i) SetDlgItemTextW(dialog, 1000 + i, text[i]);
            return TRUE;
        }
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    if (FAILED(OleInitialize(nullptr))) return 1;
    const std::vector<WORD> dialogTemplate = MakeTemplate();
    const INT_PTR result =
        std::wcscmp(commandLine, L"/counter") == 0
            ? DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_TALLYVANE_DIALOG), nullptr, FloorProc,
                              0)
            : DialogBoxIndirectParamW(instance,
                                      reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                      nullptr, FloorProc, 0);
    OleUninitialize();
    return static_cast<int>(result);
}
