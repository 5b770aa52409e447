// The real registry of the test's Wine prefix, arranged with the registry API itself.
#include <windows.h>

#include <cwctype>

#include "date_store.h"
#include "registry_test_bed.h"
#include "win32_registry.h"

namespace {

class Win32TestBed final : public RegistryTestBed {
  public:
    Win32TestBed() { RemoveKey(); }
    ~Win32TestBed() override { RemoveKey(); }
    const char* Name() const override { return "win32"; }
    Registry& Get() override { return m_registry; }
    void RemoveKey() override { RegDeleteTreeW(HKEY_CURRENT_USER, kDateStoreKey); }
    void PutValue(const wchar_t* name, RegistryType type, const Bytes& bytes) override {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kDateStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        // For an unterminated string the registry counts one more character when the
        // bytes after the data happen to be a NUL ("yes NT does this"); non-NUL padding
        // keeps the stored size exactly the one asked for.
        Bytes padded(bytes);
        padded.insert(padded.end(), {0xFF, 0xFF});
        if (name != nullptr) {
            RegSetValueExW(key, name, 0, static_cast<DWORD>(type), padded.data(),
                           static_cast<DWORD>(bytes.size()));
        }
        RegCloseKey(key);
    }
    std::string Describe() override {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kDateStoreKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return "absent";
        }
        ValuesByName values;
        for (DWORD i = 0;; ++i) {
            wchar_t name[64];
            DWORD nameLength = 64, type = 0, size = 64;
            Bytes bytes(size);
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, bytes.data(), &size) !=
                ERROR_SUCCESS) {
                break;
            }
            bytes.resize(size);
            std::string folded;
            for (DWORD c = 0; c < nameLength; ++c)
                folded += static_cast<char>(std::towlower(name[c]));
            values[folded] = DescribeValue(static_cast<RegistryType>(type), bytes);
        }
        RegCloseKey(key);
        return Join(values);
    }

  private:
    Win32Registry m_registry;
};

}  // namespace

std::unique_ptr<RegistryTestBed> MakeWin32TestBed() {
    return std::make_unique<Win32TestBed>();
}
