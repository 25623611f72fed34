// CApplikation: the program's application class.
#include "Applikation.h"

#include "../framework/Format.h"
#include "../framework/SystemLibrary.h"
#include "../framework/Text.h"

#include <memory>
#include <new>

IMPLEMENT_RUNTIME_CLASS(CApplikation, CApp)

namespace {

// The version functions of the system directory's VERSION.DLL, taken at run time: imported, a
// VERSION.DLL beside the program would be loaded before the program's first line.
struct VersionApi {
    decltype(&GetFileVersionInfoSizeW) infoSize = nullptr;
    decltype(&GetFileVersionInfoW) info = nullptr;
    decltype(&VerQueryValueW) queryValue = nullptr;

    // Takes all three; false when the library or any of them is missing.
    bool Load() {
        HMODULE library = SystemLibrary(L"version.dll");
        infoSize = framework::Find<decltype(infoSize)>(library, "GetFileVersionInfoSizeW");
        info = framework::Find<decltype(info)>(library, "GetFileVersionInfoW");
        queryValue = framework::Find<decltype(queryValue)>(library, "VerQueryValueW");
        return infoSize && info && queryValue;
    }
};

// A string value of the German (Unicode) string block, as CP1252.
bool QueryString(const VersionApi& api, const void* block, const wchar_t* name, std::string& out) {
    std::wstring path = L"\\StringFileInfo\\040704B0\\";
    path += name;
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!api.queryValue(block, path.c_str(), reinterpret_cast<void**>(&text), &length) || !text)
        return false;
    out = Narrow(text, int(wcsnlen(text, length))); // never past the value's own length
    return true;
}

// The full path of `module`'s file; empty when it has none.
std::wstring ModulePath(HMODULE module) {
    std::wstring path(32768, L'\0'); // the longest path Windows knows
    const DWORD length = GetModuleFileNameW(module, &path[0], DWORD(path.size()));
    path.resize(length < path.size() ? length : 0); // a full buffer means truncated
    return path;
}

// "a.b.c.d" of the two 32-bit halves of a version number.
std::string VersionText(DWORD mostSignificant, DWORD leastSignificant) {
    return Format("%d.%d.%d.%d", HIWORD(mostSignificant), LOWORD(mostSignificant),
                  HIWORD(leastSignificant), LOWORD(leastSignificant));
}

} // namespace

CApplikation* CApplikation::Current() {
    CApp* app = CApp::Current();
    const bool isApplikation = app && app->GetRuntimeClass()->IsDerivedFrom(&runtimeClass);
    return isApplikation ? static_cast<CApplikation*>(app) : nullptr;
}

bool CApplikation::InitInstance() {
    CApp::InitInstance();
    return true;
}

int CApplikation::ExitInstance() {
    return CApp::ExitInstance();
}

bool CApplikation::ReadVersionInfo(std::string& fileVersion, std::string& productVersion,
                                   std::string& comments, std::string& copyright) {
    // The program's own file by its full path: the name may hold characters that the
    // application name, kept in code page 1252, cannot.
    const std::wstring name = ModulePath(ResourceModule());
    VersionApi api;
    if (name.empty() || !api.Load()) return false;
    DWORD unused = 0;
    const DWORD size = api.infoSize(name.c_str(), &unused);
    std::unique_ptr<char[]> block(new (std::nothrow) char[size + 1]);
    if (!block) return false;

    bool found = false;
    if (api.info(name.c_str(), 0, size + 1, block.get())) {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        // A damaged block can answer with anything: only a whole, signed structure counts.
        if (api.queryValue(block.get(), L"\\", reinterpret_cast<void**>(&fixed), &length) &&
            fixed && length >= sizeof *fixed && fixed->dwSignature == VS_FFI_SIGNATURE) {
            fileVersion = VersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
            productVersion = VersionText(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
            found = true;
        }
        QueryString(api, block.get(), L"Comments", comments);
        QueryString(api, block.get(), L"LegalCopyright", copyright);
    }
    return found;
}
