#include "driver.h"

#include <shellapi.h>

#include <thread>
#include <vector>

#include "count_text.h"

namespace e2e {
namespace {

constexpr wchar_t kStoreKey[] = L"Software\\Quillmark";
constexpr int kCounterControls[] = {1001, 1014, 1015, 1008, 1013, 1010, 1011, 1018};

std::wstring& ProgramPathStorage() {
    static std::wstring path;
    return path;
}

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
    if (owner != request->processId) return TRUE;
    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (wcscmp(className, request->className) != 0) return TRUE;
    if (request->title != nullptr) {
        wchar_t title[128] = L"";
        GetWindowTextW(window, title, 128);
        if (wcscmp(title, request->title) != 0) return TRUE;
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

const std::wstring& ProgramPath() {
    return ProgramPathStorage();
}

void SetProgramPath(const char* path) {
    // A Unix path from CTest maps onto Wine's Z: drive.
    std::wstring converted = path[0] == '/' ? L"Z:" : L"";
    for (const char* c = path; *c != '\0'; ++c) converted += *c == '/' ? L'\\' : wchar_t(*c);
    ProgramPathStorage() = converted;
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
    std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
    return CreateProcessW(ProgramPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &m_info) != FALSE;
}

bool TallyvaneProcess::Attach(DWORD processId) {
    m_info.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, processId);
    m_info.dwProcessId = processId;
    return m_info.hProcess != nullptr;
}

bool TallyvaneProcess::WaitForExit(DWORD& exitCode, std::chrono::milliseconds deadline) {
    if (WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(deadline.count())) !=
        WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(m_info.hProcess, &exitCode);
    return true;
}

bool TallyvaneProcess::Running() const {
    return m_info.hProcess != nullptr && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void TallyvaneProcess::Stop() {
    if (HWND counter = FindCounterWindow(Id())) {
        if (HWND menu = OpenTrayMenu(counter, Id())) ChooseMenuItem(menu, 1);
        DWORD exitCode = 0;
        if (WaitForExit(exitCode, 10s)) return;
    }
    TerminateProcess(m_info.hProcess, 99);
    WaitForSingleObject(m_info.hProcess, 10000);
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, const wchar_t* title) {
    FindRequest request{processId, className, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

HWND FindCounterWindow(DWORD processId) {
    return FindProcessWindow(processId, L"#32770", L"Tallyvane");
}

HWND TallyvaneProcess::WaitForReadyCounter() {
    HWND counter = nullptr;
    const bool visible = WaitUntil([&] {
        counter = FindCounterWindow(Id());
        return counter != nullptr && IsWindowVisible(counter);
    });
    if (!visible) return nullptr;
    WaitForInputIdle(m_info.hProcess,
                     static_cast<DWORD>(std::chrono::milliseconds(kDeadline).count()));
    return counter;
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

CounterTexts ReadCounter(HWND dialog) {
    CounterTexts texts;
    for (std::size_t i = 0; i < 8; ++i) texts.values[i] = ControlText(dialog, kCounterControls[i]);
    return texts;
}

CounterTexts TextsOf(const CounterReading& reading) {
    CounterTexts texts;
    texts.values[0] = reading.dateText;
    const CountTexts numbers = FormatCounts(reading);
    for (std::size_t i = 0; i < numbers.size(); ++i) texts.values[i + 1] = numbers[i].data();
    return texts;
}

void StoreStartDate(DWORD year, DWORD month, DWORD day) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return;
    }
    const std::pair<const wchar_t*, DWORD> values[] = {
        {L"Year", year}, {L"Month", month}, {L"Day", day}};
    for (const auto& [name, value] : values) {
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(key);
}

void DeleteStartDateKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
}

bool ReadStoredDwords(DWORD& year, DWORD& month, DWORD& day) {
    const std::pair<const wchar_t*, DWORD*> values[] = {
        {L"Year", &year}, {L"Month", &month}, {L"Day", &day}};
    for (const auto& [name, value] : values) {
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

bool TrayIconPresent(HWND counter) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = counter;
    record.uID = 2;
    return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

void DropTrayIcon(HWND counter) {
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = counter;
    record.uID = 2;
    Shell_NotifyIconW(NIM_DELETE, &record);
}

void PressKey(HWND window, UINT virtualKey) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 0);
    PostMessageW(window, WM_KEYUP, virtualKey,
                 static_cast<LPARAM>(0xC0000001u));  // released, repeat 1
}

void TypeText(HWND window, const char* text) {
    for (const char* c = text; *c != '\0'; ++c)
        PostMessageW(window, WM_CHAR, static_cast<WPARAM>(*c), 0);
}

void ClickButton(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void TypeDate(HWND picker, int year, int month, int day) {
    // Right selects the next field: month, day, year.
    for (const int field : {month, day, year}) {
        PressKey(picker, VK_RIGHT);
        TypeText(picker, std::to_string(field).c_str());
    }
}

}  // namespace e2e
