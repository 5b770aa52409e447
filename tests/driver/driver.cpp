#include "driver.h"

#include <shellapi.h>

#include <thread>

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

TallyvaneProcess::~TallyvaneProcess() {
    if (m_info.hProcess == nullptr) return;
    if (Running()) Stop();
    if (m_info.hThread != nullptr) CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

bool TallyvaneProcess::Start(const std::wstring& path) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + path + L"\"";
    return CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &m_info) != FALSE;
}

bool TallyvaneProcess::Attach(DWORD processId) {
    m_info.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    m_info.dwProcessId = processId;
    return m_info.hProcess != nullptr;
}

bool TallyvaneProcess::WaitForExit(DWORD& exitCode, std::chrono::milliseconds deadline) {
    return WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(deadline.count())) ==
               WAIT_OBJECT_0 &&
           GetExitCodeProcess(m_info.hProcess, &exitCode);
}

void TallyvaneProcess::Stop() {
    DWORD exitCode = 0;
    if (HWND counter = FindProcessWindow(Id(), L"#32770", L"Tallyvane")) {
        if (HWND menu = OpenTrayMenu(counter, Id())) ChooseMenuItem(menu, 1);
        if (WaitForExit(exitCode, 10s)) return;
    }
    TerminateProcess(m_info.hProcess, 99);
    WaitForExit(exitCode, 10s);
}

void TallyvaneProcess::Detach() {
    if (m_info.hThread != nullptr) CloseHandle(m_info.hThread);
    if (m_info.hProcess != nullptr) CloseHandle(m_info.hProcess);
    m_info = {};
}

HWND TallyvaneProcess::WaitForReadyCounter() {
    HWND counter = nullptr;
    if (!WaitUntil([&] {
            counter = FindProcessWindow(Id(), L"#32770", L"Tallyvane");
            return counter != nullptr && IsWindowVisible(counter);
        })) {
        return nullptr;
    }
    // Until its queue first runs empty the dialog manager may still be showing the window.
    WaitForInputIdle(m_info.hProcess, 20000);
    // Its icon comes just after: until then, closing the window may end the program.
    return WaitUntil([&] { return TrayIconShown(counter); }) ? counter : nullptr;
}

bool TrayIconShown(HWND counter) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = counter;
    record.uID = 2;
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className, title); w != nullptr;
         w = FindWindowExW(nullptr, w, className, title)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId) return w;
    }
    return nullptr;
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[2048] = L"";
    GetDlgItemTextW(dialog, id, text, 2048);
    return text;
}

bool TextFits(HWND control, const std::wstring& text, UINT format) {
    RECT client{}, needed{};
    GetClientRect(control, &client);
    needed.right = client.right;
    // The control's own font is a handle of its process: the same font is made here.
    HDC dc = GetDC(control);
    HFONT font = CreateFontW(-MulDiv(8, static_cast<int>(GetDpiForWindow(control)), 72), 0, 0, 0,
                             FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg");
    HGDIOBJ before = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | format);
    SelectObject(dc, before);
    DeleteObject(font);
    ReleaseDC(control, dc);
    return needed.bottom <= client.bottom && needed.right <= client.right;
}

CounterTexts ReadCounter(HWND counter) {
    // The texts are read one by one, and a second that turns between two of them gives a
    // set that no instant shows: read until two reads in a row agree.
    CounterTexts texts, again;
    for (int reads = 0; reads < 10 && (reads < 2 || texts != again); ++reads) {
        texts = again;
        const int controls[] = {1001, 1014, 1015, 1008, 1013, 1010, 1011, 1018};
        for (std::size_t i = 0; i < again.size(); ++i) again[i] = ControlText(counter, controls[i]);
    }
    return again;
}

HWND OpenTrayMenu(HWND counter, DWORD processId) {
    PostMessageW(counter, WM_USER + 111, 2, WM_RBUTTONDOWN);  // as the shell does
    HWND menu = nullptr;
    WaitUntil([&] {
        menu = FindProcessWindow(processId, L"#32768", nullptr);
        return menu != nullptr && IsWindowVisible(menu);
    });
    return menu;
}

void ChooseMenuItem(HWND menuWindow, int position) {
    for (int i = 0; i <= position; ++i) PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}

void PressKey(HWND window, UINT virtualKey) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 0);
    PostMessageW(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));  // released
}

void ClickButton(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace e2e
