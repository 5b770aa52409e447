#include "memory_registry.h"

#include <cstring>
#include <cwctype>

MemoryRegistry::MemoryRegistry() = default;
MemoryRegistry::~MemoryRegistry() = default;

std::wstring MemoryRegistry::Fold(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return folded;
}

MemoryRegistry::Key* MemoryRegistry::FindKey(std::wstring_view path) {
    const auto found = m_keys.find(Fold(path));
    return found == m_keys.end() ? nullptr : &found->second;
}

const MemoryRegistry::Key* MemoryRegistry::FindKey(std::wstring_view path) const {
    const auto found = m_keys.find(Fold(path));
    return found == m_keys.end() ? nullptr : &found->second;
}

MemoryRegistry::OpenKeyRecord* MemoryRegistry::FindOpen(RegistryKey key) {
    const auto found = m_openKeys.find(key);
    return found == m_openKeys.end() ? nullptr : found->second.get();
}

RegistryKey MemoryRegistry::Open(std::wstring folded, RegistryAccess access) {
    auto record = std::make_unique<OpenKeyRecord>(OpenKeyRecord{std::move(folded), access});
    RegistryKey handle = record.get();
    m_openKeys.emplace(handle, std::move(record));
    return handle;
}

RegistryStatus MemoryRegistry::OpenKey(const wchar_t* path, RegistryAccess access,
                                       RegistryKey& key) {
    const Key* found = FindKey(path);
    if (found == nullptr) return RegistryStatus::notFound;
    if (access == RegistryAccess::setValue && found->writesDenied) {
        return RegistryStatus::accessDenied;
    }
    key = Open(Fold(path), access);
    return RegistryStatus::ok;
}

RegistryStatus MemoryRegistry::CreateKey(const wchar_t* path, RegistryAccess access,
                                         RegistryKey& key) {
    if (FindKey(path) != nullptr) return OpenKey(path, access, key);

    // A new key and its missing parents; a parent locked against writing refuses them.
    const std::wstring folded = Fold(path);
    for (std::size_t end = folded.find(L'\\'); end != std::wstring::npos;
         end = folded.find(L'\\', end + 1)) {
        const Key* parent = FindKey(folded.substr(0, end));
        if (parent != nullptr && parent->writesDenied) return RegistryStatus::accessDenied;
    }
    for (std::size_t end = folded.find(L'\\'); end != std::wstring::npos;
         end = folded.find(L'\\', end + 1)) {
        m_keys.try_emplace(folded.substr(0, end));
    }
    m_keys.try_emplace(folded);
    key = Open(folded, access);
    return RegistryStatus::ok;
}

RegistryStatus MemoryRegistry::QueryValue(RegistryKey key, const wchar_t* name, RegistryType& type,
                                          std::uint8_t* data, std::uint32_t& size) {
    const OpenKeyRecord* record = FindOpen(key);
    if (record == nullptr) return RegistryStatus::failed;
    const Key* found = FindKey(record->path);
    if (found == nullptr) return RegistryStatus::failed;  // deleted while open
    const auto value = found->values.find(Fold(name));
    if (value == found->values.end()) return RegistryStatus::notFound;

    type = value->second.type;
    const auto needed = static_cast<std::uint32_t>(value->second.bytes.size());
    // Asked with no buffer, the registry gives only the size.
    if (data != nullptr && needed > size) {
        size = needed;
        return RegistryStatus::moreData;
    }
    if (data != nullptr && needed > 0) std::memcpy(data, value->second.bytes.data(), needed);
    size = needed;
    return RegistryStatus::ok;
}

MemoryRegistry::Key* MemoryRegistry::KeyToChange(RegistryKey key, const wchar_t* name,
                                                 RegistryStatus& status) {
    status = RegistryStatus::failed;
    const OpenKeyRecord* record = FindOpen(key);
    if (record == nullptr) return nullptr;
    status = RegistryStatus::accessDenied;
    if (record->access != RegistryAccess::setValue) return nullptr;
    if (const auto refused = m_changesAllowed.find(Fold(name)); refused != m_changesAllowed.end()) {
        if (refused->second == 0) return nullptr;
        --refused->second;
    }
    status = RegistryStatus::failed;
    return FindKey(record->path);  // null where deleted while open
}

RegistryStatus MemoryRegistry::SetValue(RegistryKey key, const wchar_t* name, RegistryType type,
                                        const std::uint8_t* data, std::uint32_t size) {
    RegistryStatus status = RegistryStatus::ok;
    Key* found = KeyToChange(key, name, status);
    if (found == nullptr) return status;
    found->values[Fold(name)] = Value{type, std::vector<std::uint8_t>(data, data + size)};
    return RegistryStatus::ok;
}

RegistryStatus MemoryRegistry::DeleteValue(RegistryKey key, const wchar_t* name) {
    RegistryStatus status = RegistryStatus::ok;
    Key* found = KeyToChange(key, name, status);
    if (found == nullptr) return status;
    return found->values.erase(Fold(name)) == 1 ? RegistryStatus::ok : RegistryStatus::notFound;
}

void MemoryRegistry::CloseKey(RegistryKey key) {
    m_openKeys.erase(key);
}

void MemoryRegistry::PutValue(std::wstring_view path, std::wstring_view name, RegistryType type,
                              std::vector<std::uint8_t> bytes) {
    m_keys[Fold(path)].values[Fold(name)] = Value{type, std::move(bytes)};
}

void MemoryRegistry::DeleteKey(std::wstring_view path) {
    m_keys.erase(Fold(path));
}

void MemoryRegistry::DenyWrites(std::wstring_view path) {
    m_keys[Fold(path)].writesDenied = true;
}

void MemoryRegistry::RefuseChanges(std::wstring_view name, int allowed) {
    m_changesAllowed[Fold(name)] = allowed;
}

const MemoryRegistry::Key* MemoryRegistry::Inspect(std::wstring_view path) const {
    return FindKey(path);
}
