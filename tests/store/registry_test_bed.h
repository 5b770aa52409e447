// A registry for the store's tests, with the means to arrange and inspect the
// start-date key directly, behind the store's back.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry.h"

using Bytes = std::vector<std::uint8_t>;

class RegistryTestBed {
  public:
    virtual ~RegistryTestBed() = default;
    virtual const char* Name() const = 0;
    virtual Registry& Get() = 0;
    // Removes the start-date key with its values.
    virtual void RemoveKey() = 0;
    virtual void CreateEmptyKey() = 0;
    virtual void PutValue(const wchar_t* name, RegistryType type, const Bytes& bytes) = 0;
    // The start-date key as text: "absent", or each value as name=type:bytes in hex.
    virtual std::string Describe() = 0;
    // Makes the key refuse writing; false where the registry cannot express that.
    virtual bool DenyWrites() = 0;
    // Keys the registry has open now, or -1 where it cannot tell.
    virtual int OpenKeyCount() = 0;
};

// Values by lower-cased name, as both registries compare names.
using ValuesByName = std::map<std::string, std::pair<RegistryType, Bytes>>;

inline std::string DescribeValues(const ValuesByName& values) {
    std::string text;
    for (const auto& [name, value] : values) {
        text += name + "=" + std::to_string(static_cast<int>(value.first)) + ":";
        for (const std::uint8_t b : value.second) {
            text += "0123456789abcdef"[b >> 4];
            text += "0123456789abcdef"[b & 15];
        }
        text += " ";
    }
    return text;
}

std::unique_ptr<RegistryTestBed> MakeMemoryTestBed();
#ifdef _WIN32
std::unique_ptr<RegistryTestBed> MakeWin32TestBed();
#endif
