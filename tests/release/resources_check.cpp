// tallyvane-resources: checks that a built Tallyvane.exe (32- or 64-bit) carries the
// resources the program needs, read from the file as data. Prints each problem; exit 1
// when there is one.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <string>

namespace {

int g_problems = 0;

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
    for (const int dialog : {100, 102, 132}) {
        Expect(Resource(module, RT_DIALOG, MAKEINTRESOURCEW(dialog)) != nullptr,
               "dialog 100/102/132");
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
