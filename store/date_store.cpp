#include "date_store.h"

#include <cstring>

namespace {

// Reads one 4-byte value into `field`; anything else leaves the field as it is.
void ReadField(Registry& registry, RegistryKey key, const wchar_t* name, std::int32_t& field) {
    std::uint8_t buffer[4] = {};
    std::uint32_t size = sizeof buffer;
    RegistryType type = RegistryType::none;
    if (registry.QueryValue(key, name, type, buffer, size) == RegistryStatus::ok &&
        size == sizeof buffer) {
        // The registry stores REG_DWORD little-endian, as is every platform we build for.
        std::memcpy(&field, buffer, sizeof field);
    }
}

}  // namespace

StoredDate DateStore::ReadStoredDate() const {
    StoredDate date;
    ScopedRegistryKey key(m_registry);
    if (m_registry.OpenKey(kDateStoreKey, RegistryAccess::queryValue, key.Receive()) !=
        RegistryStatus::ok) {
        return date;
    }
    ReadField(m_registry, key.Get(), L"Year", date.year);
    ReadField(m_registry, key.Get(), L"Month", date.month);
    ReadField(m_registry, key.Get(), L"Day", date.day);
    return date;
}

bool DateStore::WriteStoredDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    ScopedRegistryKey key(m_registry);
    if (m_registry.CreateKey(kDateStoreKey, RegistryAccess::setValue, key.Receive()) !=
        RegistryStatus::ok) {
        return false;
    }
    bool stored = m_registry.SetDwordValue(key.Get(), L"Year", year) == RegistryStatus::ok;
    stored = m_registry.SetDwordValue(key.Get(), L"Month", month) == RegistryStatus::ok && stored;
    stored = m_registry.SetDwordValue(key.Get(), L"Day", day) == RegistryStatus::ok && stored;
    return stored;
}
