// The few registry operations the start-date store needs, under HKEY_CURRENT_USER.
// Implemented over the Win32 registry for the program and in memory for tests.
#pragma once

#include <cstdint>

enum class RegistryStatus { ok, notFound, moreData, accessDenied, failed };

// setValue also lets the values be queried: a write reads what it replaces first.
enum class RegistryAccess { queryValue, setValue };

enum class RegistryType : std::uint32_t { none = 0, sz = 1, binary = 3, dword = 4, qword = 11 };

// An open key; only meaningful to the registry that opened it.
using RegistryKey = void*;

class Registry {
  public:
    virtual ~Registry() = default;

    // Paths and names are NUL-terminated. Opens an existing key below the current
    // user's root.
    virtual RegistryStatus OpenKey(const wchar_t* path, RegistryAccess access,
                                   RegistryKey& key) = 0;
    // Opens the key, creating it and any missing parents first.
    virtual RegistryStatus CreateKey(const wchar_t* path, RegistryAccess access,
                                     RegistryKey& key) = 0;
    // Copies the value's bytes into `data`. On entry `size` is the buffer's size; on
    // success it is the value's size. A value larger than the buffer gives moreData.
    // The value's type is reported, not checked.
    virtual RegistryStatus QueryValue(RegistryKey key, const wchar_t* name, RegistryType& type,
                                      std::uint8_t* data, std::uint32_t& size) = 0;
    virtual RegistryStatus SetValue(RegistryKey key, const wchar_t* name, RegistryType type,
                                    const std::uint8_t* data, std::uint32_t size) = 0;
    // A value that is not there gives notFound.
    virtual RegistryStatus DeleteValue(RegistryKey key, const wchar_t* name) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
};

// Closes a key when it leaves scope; the registry's open keys are never leaked.
class ScopedRegistryKey {
  public:
    explicit ScopedRegistryKey(Registry& registry) : m_registry(registry) {}
    ~ScopedRegistryKey() {
        if (m_key != nullptr) m_registry.CloseKey(m_key);
    }
    ScopedRegistryKey(const ScopedRegistryKey&) = delete;
    ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

    RegistryKey& Receive() { return m_key; }
    RegistryKey Get() const { return m_key; }

  private:
    Registry& m_registry;
    RegistryKey m_key = nullptr;
};
