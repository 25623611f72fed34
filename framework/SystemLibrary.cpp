// The system's libraries by their full path in the system directory.
#include "SystemLibrary.h"

#include <string>

bool SearchLibrariesInSystemOnly() {
    // Looked up at run time: older systems lack it. KERNEL32 is in every process.
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto setDirectories =
        Find<SetDirectories>(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    return setDirectories && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE SystemLibrary(const wchar_t* file) {
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(&path[0], MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path.resize(length);
    path += L'\\';
    path += file;
    HMODULE module = GetModuleHandleW(path.c_str());
    return module ? module : LoadLibraryW(path.c_str());
}
