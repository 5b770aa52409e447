// tallyvane-resources: checks that a built Tallyvane.exe (32- or 64-bit) carries the
// resources the program needs, read from the file as data. Prints each problem; exit 1
// when there is one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

int g_problems = 0;

// The dialog templates: style, extended style, rectangle, caption, points, weight, italic
// and character set, typeface; then each control in template order.
const std::pair<int, std::vector<std::wstring>> kTemplates[] = {
    {100,
     {L"80c800c8 0 0,0,235,55 \"About Tallyvane\" 8 0 0100 MS Shell Dlg",
      L"-1 #130 \"#128\" 50000003 11,17,20,20",
      L"-1 #130 \"Tallyvane Version 1.0\" 50020080 40,10,119,8",
      L"-1 #130 \"Copyright (C) 2026 Tallyvane\" 50020000 40,25,119,8",
      L"1 #128 \"OK\" 50030001 178,7,50,16"}},
    {102,
     {L"90ca00c8 40000 0,0,408,203 \"Tallyvane\" 8 0 0100 MS Shell Dlg",
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
      L"1019 #130 \"Static\" 40020000 23,169,69,8"}},
    {132,
     {L"80c800c8 0 0,0,283,146 \"Tallyvane Options\" 8 400 0100 MS Shell Dlg",
      L"1 #128 \"OK\" 50010001 226,107,50,14", L"2 #128 \"Cancel\" 50010000 226,125,50,14",
      L"1016 sysdatetimepick32 \"\" 50010020 108,15,78,15",
      L"-1 #130 \"Sobriety Date\" 50020000 14,16,57,8",
      L"1017 #128 \"Show Total Days\" 40010003 14,58,93,10",
      L"1018 #128 \"Show Total Hours\" 40010003 14,73,72,10",
      L"1019 #128 \"Show Total Minutes\" 40010003 14,88,78,10",
      L"1021 #128 \"Show Total Leap Days\" 40010003 14,103,87,10",
      L"-1 #130 \"Sobriety Date Format\" 40020000 14,38,87,8",
      L"1022 #133 \"\" 40210102 108,38,147,67",
      L"1023 #128 \"Quit means Quit!\" 40010003 14,118,70,10"}},
};

void Expect(bool condition, const char* what) {
    if (!condition) {
        std::printf("missing or wrong: %s\n", what);
        ++g_problems;
    }
}

const void* Resource(HMODULE module, LPCWSTR type, LPCWSTR name, DWORD* size = nullptr) {
    HRSRC found = FindResourceExW(module, type, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (found == nullptr) return nullptr;
    if (size != nullptr) *size = SizeofResource(module, found);
    return LockResource(LoadResource(module, found));
}

BOOL CALLBACK AnyManifest(HMODULE, LPCWSTR, LPWSTR, LONG_PTR found) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

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

std::wstring VersionString(const void* version, const wchar_t* name) {
    wchar_t path[64];
    std::swprintf(path, 64, L"\\StringFileInfo\\040904e4\\%ls", name);
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(version, path, &value, &length) || length == 0) return L"";
    return static_cast<const wchar_t*>(value);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tallyvane-resources PATH-TO-Tallyvane.exe\n");
        return 2;
    }
    HMODULE module =
        LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        std::printf("cannot open %ls\n", argv[1]);
        return 1;
    }
    for (const auto& [dialog, expected] : kTemplates) {
        const auto* found =
            static_cast<const WORD*>(Resource(module, RT_DIALOG, MAKEINTRESOURCEW(dialog)));
        const std::vector<std::wstring> lines = found != nullptr && found[1] == 0xFFFF
                                                    ? DescribeTemplate(found)
                                                    : std::vector<std::wstring>{};
        for (std::size_t i = 0; i < std::max(lines.size(), expected.size()); ++i) {
            const std::wstring want = i < expected.size() ? expected[i] : L"(nothing)";
            const std::wstring got = i < lines.size() ? lines[i] : L"(nothing)";
            if (got != want)
                std::printf("dialog %d line %zu: %ls, not %ls\n", dialog, i, got.c_str(),
                            want.c_str());
            g_problems += got != want;
        }
    }
    // String 101 lives in block 101 / 16 + 1 as its 101 % 16th counted string.
    const auto* block = static_cast<const WCHAR*>(Resource(module, RT_STRING, MAKEINTRESOURCEW(7)));
    bool aboutText = false;
    if (block != nullptr) {
        for (int i = 0; i < 101 % 16; ++i) block += 1 + *block;
        aboutText = *block == 19 && std::wcsncmp(block + 1, L"&About Tallyvane...", 19) == 0;
    }
    Expect(aboutText, "string 101 \"&About Tallyvane...\"");

    const auto* icons =
        static_cast<const BYTE*>(Resource(module, RT_GROUP_ICON, MAKEINTRESOURCEW(128)));
    // GRPICONDIR: reserved, type, count, then entries of width, height, colours...
    Expect(icons != nullptr && icons[4] == 1 && icons[6] == 32 && icons[7] == 32 && icons[8] == 16,
           "icon 128, one 32 x 32 image in 16 colours");
    const auto* bitmap =
        static_cast<const BITMAPINFOHEADER*>(Resource(module, RT_BITMAP, MAKEINTRESOURCEW(131)));
    Expect(bitmap != nullptr && bitmap->biWidth == 135 && bitmap->biHeight == 198 &&
               bitmap->biBitCount == 24 && bitmap->biCompression == BI_RGB,
           "bitmap 131, 135 x 198, 24 bits");

    DWORD versionSize = 0;
    const void* version = Resource(module, RT_VERSION, MAKEINTRESOURCEW(1), &versionSize);
    bool versionRight = false;
    if (version != nullptr) {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        DWORD* translation = nullptr;
        UINT translationLength = 0;
        versionRight = VerQueryValueW(version, L"\\", reinterpret_cast<void**>(&fixed), &length) &&
                       fixed->dwFileVersionMS == 0x00010000 &&
                       fixed->dwFileVersionLS == 0x00000001 &&
                       fixed->dwProductVersionMS == 0x00010000 && fixed->dwFileType == VFT_APP &&
                       fixed->dwFileOS == VOS__WINDOWS32 &&
                       VerQueryValueW(version, L"\\VarFileInfo\\Translation",
                                      reinterpret_cast<void**>(&translation), &translationLength) &&
                       *translation == MAKELONG(0x0409, 1252) &&
                       VersionString(version, L"FileVersion") == L"1.0.0.1" &&
                       VersionString(version, L"ProductVersion") == L"1.0.0.1" &&
                       VersionString(version, L"ProductName") == L"Tallyvane" &&
                       VersionString(version, L"OriginalFilename") == L"Tallyvane.exe" &&
                       VersionString(version, L"InternalName") == L"Tallyvane.exe" &&
                       !VersionString(version, L"FileDescription").empty() &&
                       !VersionString(version, L"CompanyName").empty() &&
                       !VersionString(version, L"LegalCopyright").empty();
    }
    Expect(versionRight, "version resource 1.0.0.1, U.S. English, code page 1252");

    bool manifest = false;
    EnumResourceNamesW(module, RT_MANIFEST, AnyManifest, reinterpret_cast<LONG_PTR>(&manifest));
    Expect(!manifest, "no manifest");
    FreeLibrary(module);
    std::printf("%s\n", g_problems == 0 ? "resources complete" : "resources incomplete");
    return g_problems == 0 ? 0 : 1;
}
