#include "date_store.h"
#include "memory_registry.h"
#include "registry_test_bed.h"

namespace {

class MemoryTestBed final : public RegistryTestBed {
  public:
    const char* Name() const override { return "memory"; }
    Registry& Get() override { return m_registry; }
    void RemoveKey() override { m_registry.DeleteKey(kDateStoreKey); }
    void CreateEmptyKey() override {
        RegistryKey key = nullptr;
        if (m_registry.CreateKey(kDateStoreKey, RegistryAccess::setValue, key) ==
            RegistryStatus::ok) {
            m_registry.CloseKey(key);
        }
    }
    void PutValue(const wchar_t* name, RegistryType type, const Bytes& bytes) override {
        m_registry.PutValue(kDateStoreKey, name, type, bytes);
    }
    std::string Describe() override {
        const MemoryRegistry::Key* key = m_registry.Inspect(kDateStoreKey);
        if (key == nullptr) return "absent";
        ValuesByName values;
        for (const auto& [name, value] : key->values) {
            values[std::string(name.begin(), name.end())] = {value.type, value.bytes};
        }
        return DescribeValues(values);
    }
    bool DenyWrites() override {
        m_registry.DenyWrites(kDateStoreKey);
        return true;
    }
    int OpenKeyCount() override { return m_registry.OpenKeyCount(); }

  private:
    MemoryRegistry m_registry;
};

}  // namespace

std::unique_ptr<RegistryTestBed> MakeMemoryTestBed() {
    return std::make_unique<MemoryTestBed>();
}
