// tallyvane-resources: checks that a built Tallyvane.exe (32- or 64-bit) carries the
// resources the program needs, read from the file as data. Prints each difference; exit
// 1 when there is one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "version.h"

namespace {

// What the program must carry, as DescribeResources writes it: the icon, the picture, the
// version resource with its block in the language it names and a description that says
// nothing of what is counted, and the manifest with the version resource's version. The dialogs and
// the string are checked as the running program shows them, by the in-process and end-to-end tests.
const std::vector<std::wstring> kExpected = {
    L"icon 128: 1 image, 32 x 32, 16 colours",
    L"bitmap 131: 135 x 198, 24 bits, compression 0",
    L"version " TALLYVANE_VERSION_TEXT ", product " TALLYVANE_VERSION_TEXT
    ", type 1, system 4, translation 4e40409",
    L"FileDescription Tallyvane: counts the time since a chosen date",  // discreet on screen
    L"manifest 1: version " TALLYVANE_VERSION_TEXT " as in the version resource",
};

const void* Resource(HMODULE module, LPCWSTR type, int name, DWORD* size = nullptr) {
    HRSRC found = FindResourceExW(module, type, MAKEINTRESOURCEW(name),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    if (size != nullptr) *size = found != nullptr ? SizeofResource(module, found) : 0;
    return found != nullptr ? LockResource(LoadResource(module, found)) : nullptr;
}

std::vector<std::wstring> DescribeResources(HMODULE module) {
    std::vector<std::wstring> lines;
    wchar_t line[160];
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
    wchar_t versionText[32] = L"none";
    if (const void* version = Resource(module, RT_VERSION, 1)) {
        VS_FIXEDFILEINFO* f = nullptr;  // the fixed fields
        DWORD* translation = nullptr;
        UINT length = 0;
        if (VerQueryValueW(version, L"\\", reinterpret_cast<void**>(&f), &length) &&
            VerQueryValueW(version, L"\\VarFileInfo\\Translation",
                           reinterpret_cast<void**>(&translation), &length)) {
            // Each 32-bit half holds two 16-bit fields: major and minor, then patch and tweak.
            std::swprintf(line, 160,
                          L"version %u.%u.%u.%u, product %u.%u.%u.%u, type %lu, system %lx, "
                          L"translation %lx",
                          HIWORD(f->dwFileVersionMS), LOWORD(f->dwFileVersionMS),
                          HIWORD(f->dwFileVersionLS), LOWORD(f->dwFileVersionLS),
                          HIWORD(f->dwProductVersionMS), LOWORD(f->dwProductVersionMS),
                          HIWORD(f->dwProductVersionLS), LOWORD(f->dwProductVersionLS),
                          f->dwFileType, f->dwFileOS, *translation);
            std::swscanf(line, L"version %31l[^,]", versionText);
            lines.emplace_back(line);
        }
        // What Task Manager and the file's properties name the program by.
        void* value = nullptr;
        if (VerQueryValueW(version, L"\\StringFileInfo\\040904e4\\FileDescription", &value,
                           &length))
            lines.push_back(std::wstring(L"FileDescription ") + static_cast<const wchar_t*>(value));
    }
    // The manifest's own identity is its first assemblyIdentity's version.
    DWORD size = 0;
    if (const auto* data = static_cast<const char*>(Resource(module, RT_MANIFEST, 1, &size))) {
        const std::string manifest(data, size);
        const std::size_t at = manifest.find("version=\"", manifest.find("<assemblyIdentity"));
        const std::string version =
            at == std::string::npos ? ""
                                    : manifest.substr(at + 9, manifest.find('"', at + 9) - at - 9);
        std::swprintf(
            line, 160, L"manifest 1: version %hs %ls", version.c_str(),
            std::wstring(version.begin(), version.end()) == versionText
                ? L"as in the version resource"
                : (std::wstring(L"where the version resource has ") + versionText).c_str());
        lines.emplace_back(line);
    }
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
