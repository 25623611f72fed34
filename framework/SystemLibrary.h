// The system's libraries, taken from the system directory only: never a file of the same name
// from the program's folder or the current directory.
#pragma once

#include <windows.h>

// Restricts every later search for a library, also for those that system libraries load, to the
// system directory; false where the system did not (before Windows 8, unless updated), which then
// at least leaves the current directory out of the search (Windows XP SP1 on).
bool SearchLibrariesInSystemOnly();
// The library `file` (e.g. L"oleacc.dll") of the system directory, loaded on first use and kept
// for the rest of the process; nullptr when it cannot be loaded. Its static imports come from
// the system directory too, also where the search cannot be restricted; there, what it
// delay-loads or loads by name later is searched for in the standard order.
HMODULE SystemLibrary(const wchar_t* file);

namespace framework {

// A function of a library, or nullptr.
template <class Function> Function Find(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

} // namespace framework
