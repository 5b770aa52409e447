// A registry for the store's tests, with the means to arrange and describe the
// start-date key behind the store's back.
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
    virtual void RemoveKey() = 0;
    // Creates the key when needed and stores the value; a null name only creates the key.
    virtual void PutValue(const wchar_t* name, RegistryType type, const Bytes& bytes) = 0;
    // The key as text: "absent", or its values by lower-cased name as name=type:hex.
    virtual std::string Describe() = 0;
    virtual int OpenKeyCount() { return -1; }  // -1: cannot tell
};

// Values described one by one, and joined in the order of their names.
using ValuesByName = std::map<std::string, std::string>;
inline std::string DescribeValue(RegistryType type, const Bytes& bytes) {
    std::string text = std::to_string(static_cast<int>(type)) + ":";
    for (const std::uint8_t b : bytes)
        text += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
    return text;
}
inline std::string Join(const ValuesByName& values) {
    std::string text;
    for (const auto& [name, value] : values) text += name + "=" + value + " ";
    return text;
}

std::unique_ptr<RegistryTestBed> MakeWin32TestBed();
