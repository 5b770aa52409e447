// The current user's part of the Windows registry.
#pragma once

#include "registry.h"

class Win32Registry final : public Registry {
  public:
    RegistryStatus OpenKey(const wchar_t* path, RegistryAccess access, RegistryKey& key) override;
    RegistryStatus CreateKey(const wchar_t* path, RegistryAccess access, RegistryKey& key) override;
    RegistryStatus QueryValue(RegistryKey key, const wchar_t* name, RegistryType& type,
                              std::uint8_t* data, std::uint32_t& size) override;
    RegistryStatus SetValue(RegistryKey key, const wchar_t* name, RegistryType type,
                            const std::uint8_t* data, std::uint32_t size) override;
    RegistryStatus DeleteValue(RegistryKey key, const wchar_t* name) override;
    void CloseKey(RegistryKey key) override;
};
