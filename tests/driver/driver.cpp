#include "driver.h"

#include <shellapi.h>

#include <thread>

#include "count_text.h"

namespace e2e {
namespace {

constexpr wchar_t kStoreKey[] = L"Software\\Quillmark";

std::wstring g_programPath;

struct FindRequest {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* request = reinterpret_cast<FindRequest*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = L"", title[128] = L"";
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, title, 128);
    if (owner != request->processId || wcscmp(className, request->className) != 0 ||
        (request->title != nullptr && wcscmp(title, request->title) != 0)) {
        return TRUE;
    }
    request->found = window;
    return FALSE;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

void SetProgramPath(const char* path) {
    // A Unix path from CTest maps onto Wine's Z: drive.
    g_programPath = path[0] == '/' ? L"Z:" : L"";
    for (const char* c = path; *c != '\0'; ++c) g_programPath += *c == '/' ? L'\\' : wchar_t(*c);
}

const std::wstring& ProgramPath() {
    return g_programPath;
}

TallyvaneProcess::~TallyvaneProcess() {
    if (m_info.hProcess == nullptr) return;
    if (Running()) Stop();
    if (m_info.hThread != nullptr) CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

bool TallyvaneProcess::Start() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + g_programPath + L"\"";
    return CreateProcessW(g_programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &m_info) != FALSE;
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

bool TallyvaneProcess::Running() const {
    return m_info.hProcess != nullptr && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void TallyvaneProcess::Stop() {
    if (HWND counter = FindProcessWindow(Id(), L"#32770", L"Tallyvane")) {
        if (HWND menu = OpenTrayMenu(counter, Id())) ChooseMenuItem(menu, 1);
        DWORD exitCode = 0;
        if (WaitForExit(exitCode, 10s)) return;
    }
    TerminateProcess(m_info.hProcess, 99);
    WaitForSingleObject(m_info.hProcess, 10000);
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
    return counter;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title) {
    FindRequest request{processId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

CounterTexts ReadCounter(HWND counter) {
    CounterTexts texts;
    const int controls[] = {1001, 1014, 1015, 1008, 1013, 1010, 1011, 1018};
    for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = ControlText(counter, controls[i]);
    return texts;
}

CounterTexts TextsOf(const CounterReading& reading) {
    CounterTexts texts{reading.dateText};
    const CountTexts numbers = FormatCounts(reading);
    for (std::size_t i = 0; i < numbers.size(); ++i) texts[i + 1] = numbers[i].data();
    return texts;
}

void StoreStartDate(DWORD year, DWORD month, DWORD day) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    for (const auto& [name, value] : {std::pair{L"Year", year}, {L"Month", month}, {L"Day", day}}) {
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(key);
}

void DeleteStartDateKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
}

bool StartDateKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool ReadStoredDwords(DWORD& year, DWORD& month, DWORD& day) {
    for (const auto& [name, value] :
         {std::pair{L"Year", &year}, {L"Month", &month}, {L"Day", &day}}) {
        DWORD size = sizeof(DWORD);
        if (RegGetValueW(HKEY_CURRENT_USER, kStoreKey, name, RRF_RT_REG_DWORD, nullptr, value,
                         &size) != ERROR_SUCCESS) {
            return false;
        }
    }
    return true;
}

void PostTrayMouse(HWND counter, UINT mouseMessage) {
    PostMessageW(counter, WM_USER + 111, 2, static_cast<LPARAM>(mouseMessage));
}

HWND OpenTrayMenu(HWND counter, DWORD processId) {
    PostTrayMouse(counter, WM_RBUTTONDOWN);
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

bool TrayIcon(HWND counter, DWORD action) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = counter;
    record.uID = 2;
    return Shell_NotifyIconW(action, &record) != FALSE;
}

void PressKey(HWND window, UINT virtualKey) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 0);
    PostMessageW(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));  // released
}

void ClickButton(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void TypeDate(HWND picker, int year, int month, int day) {
    // Right selects the next field: month, day, year.
    for (const int field : {month, day, year}) {
        PressKey(picker, VK_RIGHT);
        for (const char c : std::to_string(field))
            PostMessageW(picker, WM_CHAR, static_cast<WPARAM>(c), 0);
    }
}

}  // namespace e2e
