// Where the DLLs that the program loads after start-up come from. A program
// run from a downloads folder must not pick up a DLL a web page left beside it.
#pragma once

#include <windows.h>

namespace tk {

// From here on, every DLL loaded by name, by the program or by the system on
// its behalf (the shell, the common controls, the theme library), comes from
// the system folder, never from the program's own folder or the current one.
// To be called first, before any window exists. On a Windows 7 that lacks the
// call (no KB2533623) it does nothing and the program starts all the same.
void LoadDllsFromSystemFolderOnly();

// Loads the common controls by name from the system folder, after the call
// above, in the version the program's manifest asks for, and registers the
// `classes` (ICC_* flags). Loaded at run time rather than imported: an import
// starts up before the program's first line, and under Wine that start-up
// already loads the theme library, which must come after the restriction. It
// stays loaded for the life of the process, as an import would: windows of its
// classes live until the end. False when it could not be loaded or initialised.
bool LoadCommonControls(DWORD classes);

// Loads a DLL that is not one of the system's known DLLs by name from the
// system folder, never from beside the exe; null when it cannot be loaded.
// Where the system folder flag is unknown (Windows 7 without KB2533623) the
// full path does the same. The caller owns the module.
HMODULE LoadSystemLibrary(const wchar_t* name);

// An entry point of a loaded module as the function it is; null when the
// module or the entry point is missing (an older Windows, a Wine without it).
template <typename Function>
Function EntryPoint(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace tk
