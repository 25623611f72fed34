// The system's libraries by their full path in the system directory.
#include "SystemLibrary.h"

#include <string>

namespace {
// KERNEL32, in every process; what older systems lack of it is looked up at run time.
HMODULE Kernel32() {
    return GetModuleHandleW(L"kernel32.dll");
}

// SetDefaultDllDirectories: Windows 8 on, 7 with its update.
using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
SetDefaultDirectories DefaultDirectoriesFunction() {
    return framework::Find<SetDefaultDirectories>(Kernel32(), "SetDefaultDllDirectories");
}
} // namespace

bool SearchLibrariesInSystemOnly() {
    const auto setDefaultDirectories = DefaultDirectoriesFunction();
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
    // An empty directory takes the current directory out of the search (XP SP1 on).
    if (const auto setDirectory =
            framework::Find<BOOL(WINAPI*)(LPCWSTR)>(Kernel32(), "SetDllDirectoryW"))
        setDirectory(L"");
    return false;
}

HMODULE SystemLibrary(const wchar_t* file) {
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(&path[0], MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path.resize(length);
    path += L'\\';
    path += file;
    if (HMODULE module = GetModuleHandleW(path.c_str())) return module;
    // Where the default search is the system directory (restricting it again costs nothing and
    // says whether it is), it holds for everything the library loads. Elsewhere the standard
    // search would look for the library's static imports beside the program first; the altered
    // search starts in the library's own folder, the system directory. Its delay-loaded imports
    // and the libraries it loads by name later still take the standard search.
    const DWORD search = SearchLibrariesInSystemOnly() ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH;
    return LoadLibraryExW(path.c_str(), nullptr, search);
}
