// A registry held in memory, with the Win32 registry's behaviour where the store
// depends on it: names compare without regard to case, a missing key fails to open,
// a value larger than the caller's buffer gives moreData with the size it needs, and
// keys can be locked against writing to stand in for "access denied". A value's changes
// can be refused too, as a registry filter or a full hive refuses one write among others.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "registry.h"

class MemoryRegistry final : public Registry {
  public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    RegistryStatus OpenKey(const wchar_t* path, RegistryAccess access, RegistryKey& key) override;
    RegistryStatus CreateKey(const wchar_t* path, RegistryAccess access, RegistryKey& key) override;
    RegistryStatus QueryValue(RegistryKey key, const wchar_t* name, RegistryType& type,
                              std::uint8_t* data, std::uint32_t& size) override;
    RegistryStatus SetValue(RegistryKey key, const wchar_t* name, RegistryType type,
                            const std::uint8_t* data, std::uint32_t size) override;
    RegistryStatus DeleteValue(RegistryKey key, const wchar_t* name) override;
    void CloseKey(RegistryKey key) override;

    struct Value {
        RegistryType type = RegistryType::none;
        std::vector<std::uint8_t> bytes;
    };
    struct Key {
        std::map<std::wstring, Value> values;  // by lower-cased name
        bool writesDenied = false;
    };

    // Test set-up and inspection, bypassing access rights.
    void PutValue(std::wstring_view path, std::wstring_view name, RegistryType type,
                  std::vector<std::uint8_t> bytes);
    void DeleteKey(std::wstring_view path);
    void DenyWrites(std::wstring_view path);
    // Sets and deletes of the value named so, in any key, are refused once `allowed` more of
    // them have gone through.
    void RefuseChanges(std::wstring_view name, int allowed = 0);
    void AllowAllChanges() { m_changesAllowed.clear(); }
    // The key as it is now, or null when it does not exist.
    const Key* Inspect(std::wstring_view path) const;
    int OpenKeyCount() const { return static_cast<int>(m_openKeys.size()); }

  private:
    struct OpenKeyRecord {
        std::wstring path;
        RegistryAccess access;
    };

    static std::wstring Fold(std::wstring_view text);
    Key* FindKey(std::wstring_view path);
    const Key* FindKey(std::wstring_view path) const;
    OpenKeyRecord* FindOpen(RegistryKey key);
    RegistryKey Open(std::wstring folded, RegistryAccess access);
    // The key open for changing its value `name`, or null with why not in `status`.
    Key* KeyToChange(RegistryKey key, const wchar_t* name, RegistryStatus& status);

    std::map<std::wstring, Key> m_keys;  // by lower-cased path
    std::map<RegistryKey, std::unique_ptr<OpenKeyRecord>> m_openKeys;
    std::map<std::wstring, int> m_changesAllowed;  // by lower-cased value name
};
