// The start date, the program's only setting: three REG_DWORD values "Year", "Month"
// and "Day" under HKEY_CURRENT_USER\Software\Quillmark.
#pragma once

#include <cstdint>

#include "counter_reading.h"
#include "registry.h"

inline constexpr wchar_t kDateStoreKey[] = L"Software\\Quillmark";

enum class WriteResult {
    stored,         // the three values hold the new date
    unchanged,      // nothing written, or what was written has been put back
    partlyChanged,  // a write failed, and so did putting back what another replaced
};

class DateStore {
  public:
    explicit DateStore(Registry& registry) : m_registry(registry) {}

    // Never fails: each value that cannot be read as 4 bytes keeps its default
    // (1970, 1, 1). A shorter value keeps the default too; the value's type is ignored.
    StoredDate ReadStoredDate() const;

    // Creates the key when it is missing and stores the three values, all or none: where one
    // cannot be written, the others get back what they held (or go, where they were not
    // there), so that no date is left that the user never chose, as far as the registry
    // lets that be put back.
    WriteResult WriteStoredDate(std::uint16_t year, std::uint16_t month, std::uint16_t day);

  private:
    Registry& m_registry;
};
