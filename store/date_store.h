// The start date, the program's only setting: three REG_DWORD values "Year", "Month"
// and "Day" under HKEY_CURRENT_USER\Software\Quillmark.
#pragma once

#include <cstdint>

#include "counter_reading.h"
#include "registry.h"

inline constexpr wchar_t kDateStoreKey[] = L"Software\\Quillmark";

class DateStore {
  public:
    explicit DateStore(Registry& registry) : m_registry(registry) {}

    // Never fails: each value that cannot be read as 4 bytes keeps its default
    // (1970, 1, 1). A shorter value keeps the default too; the value's type is ignored.
    StoredDate ReadStoredDate() const;

    // Creates the key when it is missing and stores the three values. True only when
    // all three were stored.
    bool WriteStoredDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);

  private:
    Registry& m_registry;
};
