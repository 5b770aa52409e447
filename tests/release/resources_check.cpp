// tallyvane-resources: checks that a built Tallyvane.exe (32- or 64-bit) carries the
// resources the program needs, read from the file as data. Prints each difference; exit
// 1 when there is one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

namespace {

// What the program must carry, as DescribeResources writes it: each dialog template
// (its style, extended style, rectangle, caption, points, weight, italic and character
// set, typeface; then each control in template order), string 101, the icon, the
// picture, the version resource, and no manifest.
const std::vector<std::wstring> kExpected = {
    L"dialog 100",
    L"80c800c8 0 0,0,235,55 \"About Tallyvane\" 8 0 0100 MS Shell Dlg",
    L"-1 #130 \"#128\" 50000003 11,17,20,20",
    L"-1 #130 \"Tallyvane Version 1.0\" 50020080 40,10,119,8",
    L"-1 #130 \"Copyright (C) 2026 Tallyvane\" 50020000 40,25,119,8",
    L"1 #128 \"OK\" 50030001 178,7,50,16",
    L"dialog 102",
    L"90ca00c8 40000 0,0,408,203 \"Tallyvane\" 8 0 0100 MS Shell Dlg",
    L"1 #128 \"Exit\" 50010001 351,179,50,16",
    L"57670 #128 \"&Help\" 50010000 351,159,50,16",
    L"57671 #128 \"&Options...\" 50010000 351,139,50,16",
    L"-1 #128 \"Sobriety Date\" 50000007 125,26,147,27",
    L"-1 #130 \"#131\" 5000100e 17,32,91,123",
    L"1001 #130 \"1 January 2007\" 50020000 136,38,122,8",
    L"-1 #128 \"Sobriety Counter\" 50000007 125,60,215,115",
    L"1004 #130 \"Years\" 50020000 136,72,39,10",
    L"1005 #130 \"Months\" 50020000 136,88,39,10",
    L"1006 #130 \"Days\" 50020000 136,104,39,10",
    L"1007 #130 \"Seconds\" 50020000 136,152,39,10",
    L"1014 #130 \"Static\" 50020000 199,72,19,8",
    L"1011 #130 \"Static\" 50020000 199,152,19,8",
    L"1015 #130 \"Static\" 50020000 199,88,19,8",
    L"1008 #130 \"Static\" 50020000 199,104,19,8",
    L"1009 #130 \"Minutes\" 50020000 136,136,39,10",
    L"1010 #130 \"Static\" 50020000 199,136,19,8",
    L"1012 #130 \"Hours\" 50020000 136,120,39,10",
    L"1013 #130 \"Static\" 50020000 199,120,19,8",
    L"1016 #130 \"Total Days\" 40020000 19,171,39,10",
    L"1017 #130 \"Total Seconds\" 40020000 22,186,59,10",
    L"1018 #130 \"Static\" 40020000 19,181,75,15",
    L"1019 #130 \"Static\" 40020000 23,169,69,8",
    L"dialog 132",
    L"80c800c8 0 0,0,283,146 \"Tallyvane Options\" 8 400 0100 MS Shell Dlg",
    L"1 #128 \"OK\" 50010001 226,107,50,14",
    L"2 #128 \"Cancel\" 50010000 226,125,50,14",
    L"1016 sysdatetimepick32 \"\" 50010020 108,15,78,15",
    L"-1 #130 \"Sobriety Date\" 50020000 14,16,57,8",
    L"1017 #128 \"Show Total Days\" 40010003 14,58,93,10",
    L"1018 #128 \"Show Total Hours\" 40010003 14,73,72,10",
    L"1019 #128 \"Show Total Minutes\" 40010003 14,88,78,10",
    L"1021 #128 \"Show Total Leap Days\" 40010003 14,103,87,10",
    L"-1 #130 \"Sobriety Date Format\" 40020000 14,38,87,8",
    L"1022 #133 \"\" 40210102 108,38,147,67",
    L"1023 #128 \"Quit means Quit!\" 40010003 14,118,70,10",
    L"string 101: &About Tallyvane...",
    L"icon 128: 1 image, 32 x 32, 16 colours",
    L"bitmap 131: 135 x 198, 24 bits, compression 0",
    L"version 00010000 00000001, product 00010000 00000001, type 1, system 4, translation 4e40409",
    L"FileVersion 1.0.0.1",
    L"ProductVersion 1.0.0.1",
    L"ProductName Tallyvane",
    L"InternalName Tallyvane.exe",
    L"OriginalFilename Tallyvane.exe",
    L"FileDescription Tallyvane: counts the time since a chosen date",  // discreet on screen
    L"CompanyName given",
    L"LegalCopyright given",
    L"no manifest",
};

// Reads a template string or ordinal, moving past it.
std::wstring TemplateText(const WORD*& p) {
    if (*p == 0xFFFF) return p += 2, L"#" + std::to_wstring(p[-1]);
    std::wstring text(reinterpret_cast<const wchar_t*>(p));
    return p += text.size() + 1, text;
}

// A dialog template as lines: the dialog's style, extended style, rectangle, caption and
// font, then each control's id, class, text, style and rectangle.
std::vector<std::wstring> DescribeTemplate(const WORD* p) {
    wchar_t line[160];
    const auto* header = reinterpret_cast<const DWORD*>(p);
    const DWORD exStyle = header[2], style = header[3];
    const WORD count = p[8];
    const auto* rect = reinterpret_cast<const short*>(p + 9);
    p += 13;
    TemplateText(p), TemplateText(p);  // menu, class
    const std::wstring caption = TemplateText(p);
    const WORD points = p[0], weight = p[1], italicAndCharset = p[2];
    p += 3;
    std::swprintf(line, 160, L"%08lx %lx %d,%d,%d,%d \"%ls\" %u %u %04x %ls", style, exStyle,
                  rect[0], rect[1], rect[2], rect[3], caption.c_str(), points, weight,
                  italicAndCharset, TemplateText(p).c_str());
    std::vector<std::wstring> lines{line};
    for (WORD i = 0; i < count; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(p) + 3) & ~UINT_PTR{3});
        const auto* item = reinterpret_cast<const DWORD*>(p);
        const auto* r = reinterpret_cast<const short*>(p + 6);
        const auto id = static_cast<int>(item[5]);
        p += 12;
        // Predefined classes by atom, as the dialog manager takes them; names in lower case.
        std::wstring className = TemplateText(p);
        for (wchar_t& c : className) c = static_cast<wchar_t>(std::towlower(c));
        const wchar_t* atoms[] = {L"button",  L"edit",      L"static",
                                  L"listbox", L"scrollbar", L"combobox"};
        for (int a = 0; a < 6; ++a) {
            if (className == atoms[a]) className = L"#" + std::to_wstring(128 + a);
        }
        const std::wstring text = TemplateText(p);
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p + 1) + *p);
        std::swprintf(line, 160, L"%d %ls \"%ls\" %08lx %d,%d,%d,%d", id, className.c_str(),
                      text.c_str(), item[2], r[0], r[1], r[2], r[3]);
        lines.emplace_back(line);
    }
    return lines;
}

const void* Resource(HMODULE module, LPCWSTR type, int name) {
    HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(name),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    return found != nullptr ? LockResource(LoadResource(module, found)) : nullptr;
}

BOOL CALLBACK AnyManifest(HMODULE, LPCWSTR, LPWSTR, LONG_PTR found) {
    return *reinterpret_cast<bool*>(found) = true, FALSE;
}

std::vector<std::wstring> DescribeResources(HMODULE module) {
    std::vector<std::wstring> lines;
    wchar_t line[160];
    for (const int dialog : {100, 102, 132}) {
        lines.push_back(L"dialog " + std::to_wstring(dialog));
        const auto* found = static_cast<const WORD*>(Resource(module, RT_DIALOG, dialog));
        if (found != nullptr && found[1] == 0xFFFF) {
            for (const std::wstring& l : DescribeTemplate(found)) lines.push_back(l);
        }
    }
    // String 101 lives in block 101 / 16 + 1 as its 101 % 16th counted string.
    if (const auto* block = static_cast<const WCHAR*>(Resource(module, RT_STRING, 7))) {
        for (int i = 0; i < 101 % 16; ++i) block += 1 + *block;
        lines.push_back(L"string 101: " + std::wstring(block + 1, *block));
    }
    // GRPICONDIR: reserved, type, count, then entries of width, height, colours...
    if (const auto* icons = static_cast<const BYTE*>(Resource(module, RT_GROUP_ICON, 128))) {
        std::swprintf(line, 160, L"icon 128: %u image, %u x %u, %u colours", icons[4], icons[6],
                      icons[7], icons[8]);
        lines.emplace_back(line);
    }
    if (const auto* bitmap =
            static_cast<const BITMAPINFOHEADER*>(Resource(module, RT_BITMAP, 131))) {
        std::swprintf(line, 160, L"bitmap 131: %ld x %ld, %u bits, compression %lu",
                      bitmap->biWidth, bitmap->biHeight, bitmap->biBitCount, bitmap->biCompression);
        lines.emplace_back(line);
    }
    if (const void* version = Resource(module, RT_VERSION, 1)) {
        VS_FIXEDFILEINFO* fixed = nullptr;
        DWORD* translation = nullptr;
        UINT length = 0;
        if (VerQueryValueW(version, L"\\", reinterpret_cast<void**>(&fixed), &length) &&
            VerQueryValueW(version, L"\\VarFileInfo\\Translation",
                           reinterpret_cast<void**>(&translation), &length)) {
            std::swprintf(
                line, 160,
                L"version %08lx %08lx, product %08lx %08lx, type %lu, system %lx, translation %lx",
                fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                fixed->dwProductVersionLS, fixed->dwFileType, fixed->dwFileOS, *translation);
            lines.emplace_back(line);
        }
        for (const wchar_t* name :
             {L"FileVersion", L"ProductVersion", L"ProductName", L"InternalName",
              L"OriginalFilename", L"FileDescription", L"CompanyName", L"LegalCopyright"}) {
            void* value = nullptr;
            std::swprintf(line, 160, L"\\StringFileInfo\\040904e4\\%ls", name);
            const std::wstring text = VerQueryValueW(version, line, &value, &length) && length > 0
                                          ? static_cast<const wchar_t*>(value)
                                          : L"";
            // The company and legal notice are free texts: present is enough.
            const bool freeText = std::wcsstr(L"CompanyName LegalCopyright", name) != nullptr;
            lines.push_back(std::wstring(name) + L" " +
                            (freeText ? (text.empty() ? L"missing" : L"given") : text));
        }
    }
    bool manifest = false;
    EnumResourceNamesW(module, RT_MANIFEST, AnyManifest, reinterpret_cast<LONG_PTR>(&manifest));
    lines.emplace_back(manifest ? L"a manifest" : L"no manifest");
    return lines;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    HMODULE module = argc == 2
                         ? LoadLibraryExW(argv[1], nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)
                         : nullptr;
    if (module == nullptr)
        return std::fprintf(stderr, "usage: tallyvane-resources PATH-TO-Tallyvane.exe\n"), 2;
    const std::vector<std::wstring> lines = DescribeResources(module);
    FreeLibrary(module);
    int differences = 0;
    for (std::size_t i = 0; i < std::max(lines.size(), kExpected.size()); ++i) {
        const std::wstring got = i < lines.size() ? lines[i] : L"(nothing)";
        const std::wstring want = i < kExpected.size() ? kExpected[i] : L"(nothing)";
        if (got != want)
            std::printf("line %zu: %ls, not %ls\n", i + 1, got.c_str(), want.c_str()),
                ++differences;
    }
    std::printf("%s\n", differences == 0 ? "resources complete" : "resources incomplete");
    return differences == 0 ? 0 : 1;
}
