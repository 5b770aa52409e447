// Functions looked up at run time rather than imported: those that not every supported
// Windows has, and those of DLLs that the program loads itself.
#pragma once

#include <windows.h>

namespace framework {

// A function that `module` exports, or null. GetProcAddress's FARPROC stands for any
// function; the caller names the real type.
template <typename Function>
Function* FindExport(HMODULE module, const char* exportName) {
    return reinterpret_cast<Function*>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, exportName)));
}

}  // namespace framework
