// Planted beside the program as version.dll and oleacc.dll: loaded, it leaves "<its name>.loaded"
// in its folder. Its version functions fail, so that a program importing them runs on.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, void*) {
    wchar_t path[MAX_PATH + 8] = {};
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(self, path, MAX_PATH) < MAX_PATH)
        CloseHandle(CreateFileW(lstrcatW(path, L".loaded"), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    return TRUE;
}
extern "C" __declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR, DWORD*) {
    return 0;
}
extern "C" __declspec(dllexport) BOOL WINAPI GetFileVersionInfoW(LPCWSTR, DWORD, DWORD, void*) {
    return FALSE;
}
extern "C" __declspec(dllexport) BOOL WINAPI VerQueryValueW(const void*, LPCWSTR, void**, UINT*) {
    return FALSE;
}
