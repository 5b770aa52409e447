#include "win32_registry.h"

#include <windows.h>

namespace {

RegistryStatus StatusOf(LSTATUS result) {
    switch (result) {
        case ERROR_SUCCESS:
            return RegistryStatus::ok;
        case ERROR_FILE_NOT_FOUND:
            return RegistryStatus::notFound;
        case ERROR_MORE_DATA:
            return RegistryStatus::moreData;
        case ERROR_ACCESS_DENIED:
            return RegistryStatus::accessDenied;
        default:
            return RegistryStatus::failed;
    }
}

// The least access each use needs.
REGSAM AccessRight(RegistryAccess access) {
    return access == RegistryAccess::setValue ? KEY_QUERY_VALUE | KEY_SET_VALUE : KEY_QUERY_VALUE;
}

HKEY ToHkey(RegistryKey key) {
    return static_cast<HKEY>(key);
}

}  // namespace

RegistryStatus Win32Registry::OpenKey(const wchar_t* path, RegistryAccess access,
                                      RegistryKey& key) {
    HKEY opened = nullptr;
    const LSTATUS result = RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, AccessRight(access), &opened);
    if (result == ERROR_SUCCESS) key = opened;
    return StatusOf(result);
}

RegistryStatus Win32Registry::CreateKey(const wchar_t* path, RegistryAccess access,
                                        RegistryKey& key) {
    HKEY opened = nullptr;
    const LSTATUS result =
        RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        AccessRight(access), nullptr, &opened, nullptr);
    if (result == ERROR_SUCCESS) key = opened;
    return StatusOf(result);
}

RegistryStatus Win32Registry::QueryValue(RegistryKey key, const wchar_t* name, RegistryType& type,
                                         std::uint8_t* data, std::uint32_t& size) {
    DWORD valueType = REG_NONE;
    DWORD valueSize = size;
    const LSTATUS result =
        RegQueryValueExW(ToHkey(key), name, nullptr, &valueType, data, &valueSize);
    type = static_cast<RegistryType>(valueType);
    size = valueSize;
    return StatusOf(result);
}

RegistryStatus Win32Registry::SetValue(RegistryKey key, const wchar_t* name, RegistryType type,
                                       const std::uint8_t* data, std::uint32_t size) {
    return StatusOf(RegSetValueExW(ToHkey(key), name, 0, static_cast<DWORD>(type), data, size));
}

RegistryStatus Win32Registry::DeleteValue(RegistryKey key, const wchar_t* name) {
    return StatusOf(RegDeleteValueW(ToHkey(key), name));
}

void Win32Registry::CloseKey(RegistryKey key) {
    RegCloseKey(ToHkey(key));
}
