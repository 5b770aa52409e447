// The start-date store over the in-memory registry and, in the Windows build, the real
// one: the same layouts must read the same, and writes must leave the same values.
#include "date_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
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

TEST(DateStore, WritesThreeDwordsCreatingTheKeyAndReportsFailure) {
    for (const auto& makeBed : Beds()) {
        for (const bool keyExists : {false, true}) {
            auto bed = makeBed();
            SCOPED_TRACE(std::string(bed->Name()) + (keyExists ? ": key exists" : ": no key"));
            bed->RemoveKey();
            if (keyExists) bed->PutValue(L"Year", RegistryType::sz, {'x', 0, 0, 0});
            DateStore store(bed->Get());

            EXPECT_EQ(store.WriteStoredDate(2008, 6, 30), WriteResult::stored);
            EXPECT_EQ(bed->Describe(), "day=4:1e000000 month=4:06000000 year=4:d8070000 ");
            // The largest numbers the writer takes come back unchanged.
            EXPECT_EQ(store.WriteStoredDate(65535, 1, 65535), WriteResult::stored);
            EXPECT_EQ(bed->Describe(), "day=4:ffff0000 month=4:01000000 year=4:ffff0000 ");
            const StoredDate read = store.ReadStoredDate();
            EXPECT_EQ(read.year, 65535);
            EXPECT_EQ(read.day, 65535);
            EXPECT_LE(bed->OpenKeyCount(), 0) << "keys left open";  // -1: cannot tell
        }
    }
    // A key that refuses writing (Wine's registry cannot stage one): reported, and
    // nothing changes.
    MemoryTestBed bed;
    bed.PutValue(L"Year", RegistryType::dword, Dword(2001));
    bed.m_registry.DenyWrites(kDateStoreKey);
    EXPECT_EQ(DateStore(bed.Get()).WriteStoredDate(2008, 6, 30), WriteResult::unchanged);
    EXPECT_EQ(bed.Describe(), "year=4:d1070000 ");
    EXPECT_EQ(bed.OpenKeyCount(), 0);
}

// One value's write refused, over a stored date (an odd Month too) and over none: what was
// there is put back, or what was written goes. Where putting back is refused as well (Year's
// second change), that is reported apart, and the registry holds what could not be undone.
TEST(DateStore, AWriteRefusedHalfwayPutsBackWhatWasThere) {
    const std::string before = "day=4:1e000000 month=3:0600 year=4:d8070000 ";  // 2008-6-30
    struct Case {
        const char* refused;
        int yearChangesAllowed;  // -1: all
        bool dateStored;
        WriteResult result;
        std::string left;
    };
    const Case cases[] = {
        {"Year", -1, true, WriteResult::unchanged, before},
        {"Month", -1, true, WriteResult::unchanged, before},
        {"Day", -1, true, WriteResult::unchanged, before},
        {"Year", -1, false, WriteResult::unchanged, ""},
        {"Month", -1, false, WriteResult::unchanged, ""},
        {"Day", -1, false, WriteResult::unchanged, ""},
        {"Day", 1, true, WriteResult::partlyChanged,
         "day=4:1e000000 month=3:0600 year=4:df070000 "},
        {"Month", 1, false, WriteResult::partlyChanged, "year=4:df070000 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.refused) + (c.dateStored ? " over a date, " : " over none, ") +
                     std::to_string(c.yearChangesAllowed));
        MemoryTestBed bed;
        if (c.dateStored) {
            bed.PutValue(L"Year", RegistryType::dword, Dword(2008));
            bed.PutValue(L"Month", RegistryType::binary, {6, 0});
            bed.PutValue(L"Day", RegistryType::dword, Dword(30));
        }
        const std::wstring refused(c.refused, c.refused + std::strlen(c.refused));
        bed.m_registry.RefuseChanges(refused);
        if (c.yearChangesAllowed >= 0) bed.m_registry.RefuseChanges(L"Year", c.yearChangesAllowed);
        EXPECT_EQ(DateStore(bed.Get()).WriteStoredDate(2015, 2, 14), c.result);
        EXPECT_EQ(bed.Describe(), c.left);
        EXPECT_EQ(bed.OpenKeyCount(), 0);
    }
}

}  // namespace
