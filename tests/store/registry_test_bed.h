// A registry for the store's tests, with the means to arrange and inspect the
// start-date key directly, behind the store's back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "registry.h"

class RegistryTestBed {
  public:
    virtual ~RegistryTestBed() = default;
    virtual const char* Name() const = 0;
    virtual Registry& Get() = 0;
    // Removes the start-date key with its values.
    virtual void RemoveKey() = 0;
    virtual void CreateEmptyKey() = 0;
    virtual void PutValue(const wchar_t* name, RegistryType type,
                          const std::vector<std::uint8_t>& bytes) = 0;
    virtual bool ReadValue(const wchar_t* name, RegistryType& type,
                           std::vector<std::uint8_t>& bytes) = 0;
    virtual bool HasKey() = 0;
    // Makes the key refuse writing; false where the registry cannot express that.
    virtual bool DenyWrites() = 0;
    // Keys the registry has open now, or -1 where it cannot tell.
    virtual int OpenKeyCount() = 0;
};

std::unique_ptr<RegistryTestBed> MakeMemoryTestBed();
#ifdef _WIN32
std::unique_ptr<RegistryTestBed> MakeWin32TestBed();
#endif
