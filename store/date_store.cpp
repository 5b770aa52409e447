#include "date_store.h"

#include <cstring>
#include <vector>

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

constexpr const wchar_t* kValueNames[] = {L"Year", L"Month", L"Day"};

// A value as it was before a write, to put back should the write not be completed.
struct PriorValue {
    RegistryStatus status = RegistryStatus::failed;  // ok, or notFound where there was none
    RegistryType type = RegistryType::none;
    std::vector<std::uint8_t> bytes;
};

PriorValue ReadPrior(Registry& registry, RegistryKey key, const wchar_t* name) {
    PriorValue prior;
    prior.bytes.resize(16);
    for (int tries = 0; tries < 3; ++tries) {  // a value may grow between two queries
        auto size = static_cast<std::uint32_t>(prior.bytes.size());
        prior.status = registry.QueryValue(key, name, prior.type, prior.bytes.data(), size);
        // Only a value read, or one too large, says its size: after an error it means nothing.
        if (prior.status == RegistryStatus::ok || prior.status == RegistryStatus::moreData)
            prior.bytes.resize(size);
        if (prior.status != RegistryStatus::moreData) break;
    }
    return prior;
}

bool PutBack(Registry& registry, RegistryKey key, const wchar_t* name, const PriorValue& prior) {
    if (prior.status == RegistryStatus::ok) {
        return registry.SetValue(key, name, prior.type, prior.bytes.data(),
                                 static_cast<std::uint32_t>(prior.bytes.size())) ==
               RegistryStatus::ok;
    }
    const RegistryStatus deleted = registry.DeleteValue(key, name);
    return deleted == RegistryStatus::ok || deleted == RegistryStatus::notFound;
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

WriteResult DateStore::WriteStoredDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
    ScopedRegistryKey key(m_registry);
    if (m_registry.CreateKey(kDateStoreKey, RegistryAccess::setValue, key.Receive()) !=
        RegistryStatus::ok) {
        return WriteResult::unchanged;
    }
    PriorValue prior[3];
    for (std::size_t i = 0; i < 3; ++i) {
        prior[i] = ReadPrior(m_registry, key.Get(), kValueNames[i]);
        // What could not be read could not be put back: nothing is written then.
        if (prior[i].status != RegistryStatus::ok && prior[i].status != RegistryStatus::notFound)
            return WriteResult::unchanged;
    }
    const std::uint16_t values[] = {year, month, day};
    std::size_t written = 0;
    for (; written < 3; ++written) {
        // REG_DWORD, little-endian, the 16-bit number widened with zeros.
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(values[written]),
                                       static_cast<std::uint8_t>(values[written] >> 8U), 0, 0};
        if (m_registry.SetValue(key.Get(), kValueNames[written], RegistryType::dword, bytes,
                                sizeof bytes) != RegistryStatus::ok)
            break;
    }
    if (written == 3) return WriteResult::stored;
    bool putBack = true;
    for (std::size_t i = 0; i < written; ++i)
        putBack = PutBack(m_registry, key.Get(), kValueNames[i], prior[i]) && putBack;
    return putBack ? WriteResult::unchanged : WriteResult::partlyChanged;
}
