#include "date_store.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "count_text.h"
#include "registry_test_bed.h"
#include "time_zone.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Dword(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

std::vector<std::function<std::unique_ptr<RegistryTestBed>()>> Beds() {
    std::vector<std::function<std::unique_ptr<RegistryTestBed>()>> beds = {MakeMemoryTestBed};
#ifdef _WIN32
    beds.push_back(MakeWin32TestBed);
#endif
    return beds;
}

struct StoredValue {
    const wchar_t* name;
    RegistryType type;
    Bytes bytes;
};

TEST(DateStore, ReadsEachValueOnItsOwnWithDefaults) {
    const std::uint32_t minusOne = 0xFFFFFFFFu;
    struct Case {
        const char* what;
        bool keyExists;
        std::vector<StoredValue> values;
        StoredDate expected;
    };
    const auto dw = RegistryType::dword;
    const std::vector<StoredValue> all = {
        {L"Year", dw, Dword(2008)}, {L"Month", dw, Dword(6)}, {L"Day", dw, Dword(30)}};
    const Case cases[] = {
        {"no key", false, {}, {1970, 1, 1}},
        {"empty key", true, {}, {1970, 1, 1}},
        {"all three", true, all, {2008, 6, 30}},
        {"only Year", true, {{L"Year", dw, Dword(2005)}}, {2005, 1, 1}},
        {"no Year", true, {all[1], all[2]}, {1970, 6, 30}},
        {"no Month", true, {all[0], all[2]}, {2008, 1, 30}},
        {"no Day", true, {all[0], all[1]}, {2008, 6, 1}},
        {"names in other case",
         true,
         {{L"YEAR", dw, Dword(2001)}, {L"day", dw, Dword(9)}},
         {2001, 1, 9}},
        {"Month of 0 bytes", true, {all[0], {L"Month", dw, {}}, all[2]}, {2008, 1, 30}},
        {"Month of 2 bytes", true, {all[0], {L"Month", dw, {7, 0}}, all[2]}, {2008, 1, 30}},
        {"Month of 3 bytes", true, {all[0], {L"Month", dw, {7, 0, 0}}, all[2]}, {2008, 1, 30}},
        {"Month of 5 bytes",
         true,
         {all[0], {L"Month", dw, {7, 0, 0, 0, 0}}, all[2]},
         {2008, 1, 30}},
        {"Month of 8 bytes", true, {all[0], {L"Month", dw, Bytes(8, 7)}, all[2]}, {2008, 1, 30}},
        {"Year of 1 byte", true, {{L"Year", dw, {9}}}, {1970, 1, 1}},
        {"4-byte REG_SZ", true, {{L"Year", RegistryType::sz, {'a', 0, 'b', 0}}}, {6422625, 1, 1}},
        {"8-byte REG_SZ",
         true,
         {{L"Year", RegistryType::sz, {'2', 0, '0', 0, '0', 0, 0, 0}}},
         {1970, 1, 1}},
        {"4-byte REG_BINARY", true, {{L"Day", RegistryType::binary, Dword(17)}}, {1970, 1, 17}},
        {"8-byte REG_BINARY", true, {{L"Day", RegistryType::binary, Bytes(8, 1)}}, {1970, 1, 1}},
        {"4-byte REG_QWORD", true, {{L"Month", RegistryType::qword, Dword(3)}}, {1970, 3, 1}},
        {"8-byte REG_QWORD",
         true,
         {{L"Month", RegistryType::qword, Bytes{3, 0, 0, 0, 0, 0, 0, 0}}},
         {1970, 1, 1}},
        {"negative and huge numbers",
         true,
         {{L"Year", dw, Dword(minusOne)},
          {L"Month", dw, Dword(0x80000000u)},
          {L"Day", dw, Dword(INT32_MAX)}},
         {-1, INT32_MIN, INT32_MAX}},
    };
    for (const auto& makeBed : Beds()) {
        for (const Case& c : cases) {
            auto bed = makeBed();
            SCOPED_TRACE(std::string(bed->Name()) + ": " + c.what);
            bed->RemoveKey();
            if (c.keyExists) bed->CreateEmptyKey();
            for (const StoredValue& v : c.values) bed->PutValue(v.name, v.type, v.bytes);

            const StoredDate read = DateStore(bed->Get()).ReadStoredDate();
            EXPECT_EQ(read.year, c.expected.year);
            EXPECT_EQ(read.month, c.expected.month);
            EXPECT_EQ(read.day, c.expected.day);
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

            EXPECT_TRUE(store.WriteStoredDate(2008, 6, 30));
            EXPECT_TRUE(bed->HasKey());
            const std::pair<const wchar_t*, std::uint32_t> expected[] = {
                {L"Year", 2008}, {L"Month", 6}, {L"Day", 30}};
            for (const auto& [name, number] : expected) {
                RegistryType type = RegistryType::none;
                Bytes bytes;
                ASSERT_TRUE(bed->ReadValue(name, type, bytes));
                EXPECT_EQ(type, RegistryType::dword);
                EXPECT_EQ(bytes, Dword(number));
            }
            const StoredDate read = store.ReadStoredDate();
            EXPECT_EQ(read.year, 2008);
            EXPECT_EQ(read.month, 6);
            EXPECT_EQ(read.day, 30);

            // The largest numbers the writer takes come back unchanged.
            EXPECT_TRUE(store.WriteStoredDate(65535, 65535, 65535));
            EXPECT_EQ(store.ReadStoredDate().day, 65535);
            EXPECT_LE(bed->OpenKeyCount(), 0) << "keys left open";  // -1: cannot tell
        }
    }
}

TEST(DateStore, RefusedWriteIsReportedAndChangesNothing) {
    auto bed = MakeMemoryTestBed();
    bed->PutValue(L"Year", RegistryType::dword, Dword(2001));
    ASSERT_TRUE(bed->DenyWrites());
    DateStore store(bed->Get());
    EXPECT_FALSE(store.WriteStoredDate(2008, 6, 30));
    const StoredDate read = store.ReadStoredDate();
    EXPECT_EQ(read.year, 2001);
    EXPECT_EQ(read.month, 1);
    EXPECT_EQ(bed->OpenKeyCount(), 0);
}

// From the store to the eight texts the counter window shows, with no window.
TEST(DateStore, StoredDateToTheCounterTexts) {
    const ScopedTimeZone zone("UTC");
    struct Case {
        std::uint16_t year, month, day;
        const wchar_t* texts[8];
    };
    const Case cases[] = {
        {2008, 6, 30, {L"Monday, June 30, 2008", L"0", L"0", L"4", L"9", L"15", L"40", L"4"}},
        {2008, 13, 1, {L"Invalid DateTime", L"108", L"7", L"3", L"9", L"15", L"40", L"39633"}},
        {2008, 7, 5, {L"Saturday, July 05, 2008", L"0", L"0", L"0", L"-14", L"-44", L"-20", L"0"}},
    };
    for (const auto& makeBed : Beds()) {
        for (const Case& c : cases) {
            auto bed = makeBed();
            DateStore store(bed->Get());
            ASSERT_TRUE(store.WriteStoredDate(c.year, c.month, c.day));
            const CounterReading r = ComputeReading(store.ReadStoredDate(), 1215162940);
            std::wstring texts[8] = {r.dateText};
            const CountTexts numbers = FormatCounts(r);
            for (std::size_t i = 0; i < 7; ++i) texts[i + 1] = numbers[i].data();
            for (std::size_t i = 0; i < 8; ++i) {
                EXPECT_EQ(texts[i], c.texts[i]) << bed->Name() << " " << c.month << " field " << i;
            }
        }
    }
}

TEST(CountText, RendersLikePrintfPercentD) {
    const std::pair<std::int32_t, const wchar_t*> cases[] = {{0, L"0"},
                                                             {7, L"7"},
                                                             {-6, L"-6"},
                                                             {39633, L"39633"},
                                                             {INT32_MAX, L"2147483647"},
                                                             {INT32_MIN, L"-2147483648"}};
    for (const auto& [value, expected] : cases) {
        CountText text;
        FormatCount(value, text);
        EXPECT_STREQ(text.data(), expected);
    }
}

}  // namespace
