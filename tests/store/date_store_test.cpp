// The start-date store over the in-memory registry and, in the Windows build, the real
// one: the same layouts must read the same, and writes must leave the same values.
#include "date_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "memory_registry.h"
#include "registry_test_bed.h"

namespace {

class MemoryTestBed final : public RegistryTestBed {
  public:
    const char* Name() const override { return "memory"; }
    Registry& Get() override { return m_registry; }
    void RemoveKey() override { m_registry.DeleteKey(kDateStoreKey); }
    void PutValue(const wchar_t* name, RegistryType type, const Bytes& bytes) override {
        RegistryKey key = nullptr;
        m_registry.CreateKey(kDateStoreKey, RegistryAccess::setValue, key);
        m_registry.CloseKey(key);
        if (name != nullptr) m_registry.PutValue(kDateStoreKey, name, type, bytes);
    }
    std::string Describe() override {
        const MemoryRegistry::Key* key = m_registry.Inspect(kDateStoreKey);
        if (key == nullptr) return "absent";
        ValuesByName values;
        for (const auto& [name, value] : key->values) {
            values[std::string(name.begin(), name.end())] = DescribeValue(value.type, value.bytes);
        }
        return Join(values);
    }
    int OpenKeyCount() override { return m_registry.OpenKeyCount(); }
    MemoryRegistry m_registry;
};

Bytes Dword(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

std::vector<std::function<std::unique_ptr<RegistryTestBed>()>> Beds() {
    return {[] { return std::unique_ptr<RegistryTestBed>(new MemoryTestBed); },
#ifdef _WIN32
            MakeWin32TestBed
#endif
    };
}

struct StoredValue {
    const wchar_t* name;
    RegistryType type;
    Bytes bytes;
};

// Each value is read on its own; whatever cannot be read as 4 bytes keeps its default,
// and reading changes nothing in the registry.
TEST(DateStore, ReadsEachValueOnItsOwnAndChangesNothing) {
    const auto dw = RegistryType::dword;
    const StoredValue year{L"Year", dw, Dword(2008)}, month{L"Month", dw, Dword(6)},
        day{L"Day", dw, Dword(30)};
    struct Case {
        const char* what;
        bool keyExists;
        std::vector<StoredValue> values;
        StoredDate expected;
    };
    const Case cases[] = {
        {"no key", false, {}, {1970, 1, 1}},
        {"empty key", true, {}, {1970, 1, 1}},
        {"all three", true, {year, month, day}, {2008, 6, 30}},
        {"no Year", true, {month, day}, {1970, 6, 30}},
        {"no Month", true, {year, day}, {2008, 1, 30}},
        {"no Day", true, {year, month}, {2008, 6, 1}},
        {"names in other case",
         true,
         {{L"YEAR", dw, Dword(2001)}, {L"day", dw, Dword(9)}},
         {2001, 1, 9}},
        {"Month of 3 bytes", true, {year, {L"Month", dw, {7, 0, 0}}, day}, {2008, 1, 30}},
        {"Month of 8 bytes", true, {year, {L"Month", dw, Bytes(8, 7)}, day}, {2008, 1, 30}},
        {"4-byte REG_SZ", true, {{L"Year", RegistryType::sz, {'a', 0, 'b', 0}}}, {6422625, 1, 1}},
        {"negative and huge numbers",
         true,
         {{L"Year", dw, Dword(0xFFFFFFFFu)},
          {L"Month", dw, Dword(0x80000000u)},
          {L"Day", dw, Dword(INT32_MAX)}},
         {-1, INT32_MIN, INT32_MAX}},
    };
    for (const auto& makeBed : Beds()) {
        for (const Case& c : cases) {
            auto bed = makeBed();
            SCOPED_TRACE(std::string(bed->Name()) + ": " + c.what);
            bed->RemoveKey();
            if (c.keyExists) bed->PutValue(nullptr, RegistryType::none, {});
            for (const StoredValue& v : c.values) bed->PutValue(v.name, v.type, v.bytes);
            const std::string before = bed->Describe();

            const StoredDate read = DateStore(bed->Get()).ReadStoredDate();
            EXPECT_EQ(read.year, c.expected.year);
            EXPECT_EQ(read.month, c.expected.month);
            EXPECT_EQ(read.day, c.expected.day);
            EXPECT_EQ(bed->Describe(), before) << "the read changed the registry";
            EXPECT_LE(bed->OpenKeyCount(), 0) << "keys left open";  // -1: cannot tell
        }
    }
}

// The three values written as REG_DWORD, creating the key, in both registries, over a stored
// date (an odd Month and a REG_SZ Year among it) and over none. In memory, with one value's write
// refused, what was there is put back, or what was written goes; where putting back is refused
// as well (Year's second change), that is reported apart, and the registry holds what could not
// be undone. A key that refuses writing (Wine's registry cannot stage one) changes nothing.
TEST(DateStore, WritesAllThreeOrPutsBackWhatWasThere) {
    // As stored: a Year longer than the first read's buffer must be read again, whole.
    const std::string date = "day=4:1e000000 month=3:0600 year=1:" + std::string(36, '7') + " ";
    const std::string saved = "day=4:0e000000 month=4:02000000 year=4:df070000 ";  // 2015-2-14
    struct Case {
        const wchar_t* refused;  // a value's name, "key" for the key; null: nothing refused
        int yearChangesAllowed;  // -1: all
        bool dateStored;
        WriteResult result;
        std::string left;
    };
    const Case cases[] = {
        {nullptr, -1, false, WriteResult::stored, saved},
        {nullptr, -1, true, WriteResult::stored, saved},
        {L"Year", -1, true, WriteResult::unchanged, date},
        {L"Month", -1, true, WriteResult::unchanged, date},
        {L"Day", -1, true, WriteResult::unchanged, date},
        {L"Year", -1, false, WriteResult::unchanged, ""},
        {L"Month", -1, false, WriteResult::unchanged, ""},
        {L"Day", -1, false, WriteResult::unchanged, ""},
        {L"Day", 1, true, WriteResult::partlyChanged,
         "day=4:1e000000 month=3:0600 year=4:df070000 "},
        {L"Month", 1, false, WriteResult::partlyChanged, "year=4:df070000 "},
        {L"key", -1, true, WriteResult::unchanged, date},
    };
    for (const auto& makeBed : Beds()) {
        for (const Case& c : cases) {
            auto bed = makeBed();
            auto* memory = dynamic_cast<MemoryTestBed*>(bed.get());
            if (c.refused != nullptr && memory == nullptr) continue;
            const std::wstring refused = c.refused != nullptr ? c.refused : L"";
            SCOPED_TRACE(std::string(bed->Name()) + ": " +
                         std::string(refused.begin(), refused.end()) +
                         (c.dateStored ? " over a date, " : " over none, ") +
                         std::to_string(c.yearChangesAllowed));
            bed->RemoveKey();
            if (c.dateStored) {
                bed->PutValue(L"Year", RegistryType::sz, std::vector<std::uint8_t>(18, 0x77));
                bed->PutValue(L"Month", RegistryType::binary, {6, 0});
                bed->PutValue(L"Day", RegistryType::dword, Dword(30));
            }
            if (refused == L"key")
                memory->m_registry.DenyWrites(kDateStoreKey);
            else if (c.refused != nullptr)
                memory->m_registry.RefuseChanges(refused);
            if (c.yearChangesAllowed >= 0)
                memory->m_registry.RefuseChanges(L"Year", c.yearChangesAllowed);
            EXPECT_EQ(DateStore(bed->Get()).WriteStoredDate(2015, 2, 14), c.result);
            EXPECT_EQ(bed->Describe(), c.left);
            EXPECT_LE(bed->OpenKeyCount(), 0) << "keys left open";  // -1: cannot tell
        }
    }
}

}  // namespace
