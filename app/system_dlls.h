// Where the program's DLLs come from: the system folder, never the program's own folder.
// For every DLL that is not one of Windows' known ones, the default search looks in the
// program's folder first, and a program is often started from a downloads folder, where
// any web page may have left a DLL of such a name. A DLL found there would run inside
// this program with the user's rights.
#pragma once

#include <windows.h>

#include "exports.h"

// Restricts every later DLL load of the process, the ones that system DLLs make by name
// included, to the system folder. Must come before anything loads a DLL. On a Windows
// without SetDefaultDllDirectories (Vista, 7 without KB2533623) it can only take the
// current folder out of the search, and returns false.
bool RestrictDllSearchToSystemFolder();

using framework::FindExport;

// A DLL of the system folder, loaded for the owner's lifetime; null when it could not be.
// `restricted` tells what RestrictDllSearchToSystemFolder achieved: where it could not,
// the DLL is loaded by its full path, with its own imports searched from there.
class SystemLibrary {
  public:
    SystemLibrary(const wchar_t* name, bool restricted);
    ~SystemLibrary();
    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The exported function, or null when the DLL or the export is missing.
    template <typename Function>
    Function* Find(const char* exportName) const {
        return m_hModule != nullptr ? FindExport<Function>(m_hModule, exportName) : nullptr;
    }

  private:
    HMODULE m_hModule = nullptr;
};
