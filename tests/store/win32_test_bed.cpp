// The real registry of the test's Wine prefix, arranged with the registry API itself.
#include <windows.h>

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
    void CreateEmptyKey() override {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kDateStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) == ERROR_SUCCESS) {
            RegCloseKey(key);
        }
    }
    void PutValue(const wchar_t* name, RegistryType type,
                  const std::vector<std::uint8_t>& bytes) override {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kDateStoreKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        // For an unterminated string the registry counts one more character when the
        // bytes after the data happen to be a NUL ("yes NT does this"); non-NUL padding
        // keeps the stored size exactly the one asked for.
        std::vector<std::uint8_t> padded(bytes);
        padded.insert(padded.end(), {0xFF, 0xFF});
        RegSetValueExW(key, name, 0, static_cast<DWORD>(type), padded.data(),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }
    bool ReadValue(const wchar_t* name, RegistryType& type,
                   std::vector<std::uint8_t>& bytes) override {
        DWORD valueType = 0;
        DWORD size = 64;
        bytes.assign(size, 0);
        if (RegGetValueW(HKEY_CURRENT_USER, kDateStoreKey, name, RRF_RT_ANY | RRF_NOEXPAND,
                         &valueType, bytes.data(), &size) != ERROR_SUCCESS) {
            return false;
        }
        bytes.resize(size);
        type = static_cast<RegistryType>(valueType);
        return true;
    }
    bool HasKey() override {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kDateStoreKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
    // Wine's registry does not enforce key security, so a refused write cannot be staged.
    bool DenyWrites() override { return false; }
    int OpenKeyCount() override { return -1; }

  private:
    Win32Registry m_registry;
};

}  // namespace

std::unique_ptr<RegistryTestBed> MakeWin32TestBed() {
    return std::make_unique<Win32TestBed>();
}
