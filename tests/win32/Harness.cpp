// Helpers for driving real windows through the program's own message routing.
#include "Harness.h"

#include "framework/App.h"
#include "resources/resource.h"

#include <oleacc.h>

#include <cstring>

void Pump() {
    for (int round = 0; round < 3; ++round) { // messages may post further messages
        PumpWaitingMessages();
        Sleep(1);
    }
}

namespace {
LPARAM KeyParam(UINT vk, bool up, bool alt) {
    LPARAM lParam = 1 | LPARAM(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    if (alt) lParam |= LPARAM(1) << 29;
    if (up) lParam |= LPARAM(3) << 30;
    return lParam;
}
} // namespace

void Press(HWND target, UINT vk) {
    PostMessageW(target, WM_KEYDOWN, vk, KeyParam(vk, false, false));
    PostMessageW(target, WM_KEYUP, vk, KeyParam(vk, true, false));
    Pump();
}

void Type(HWND target, const char* keys) {
    for (const char* k = keys; *k; ++k) Press(target, UINT(*k));
}

void AltPress(HWND target, UINT vk) {
    PostMessageW(target, WM_SYSKEYDOWN, vk, KeyParam(vk, false, true));
    PostMessageW(target, WM_SYSKEYUP, vk, KeyParam(vk, true, true));
    Pump();
}

DWORD SelStart(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return start;
}

DWORD SelEnd(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    return end;
}

std::wstring WideText(HWND window) {
    wchar_t buffer[512] = {};
    // WM_GETTEXT rather than GetWindowText, which does not ask controls of other processes.
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

bool PutClipboard(const void* bytes, size_t size, UINT format) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return false;
    std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) return GlobalFree(block), false;
    EmptyClipboard();
    const bool ok = SetClipboardData(format, block) != nullptr;
    CloseClipboard();
    return ok;
}

bool PutClipboardText(const std::string& text) {
    return PutClipboard(text.c_str(), text.size() + 1);
}

std::string ClipboardText() {
    std::string text = "<none>";
    if (!OpenClipboard(nullptr)) return "<busy>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void ClearClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

namespace {
struct ClassCount {
    const wchar_t* name;
    int count;
};
BOOL CALLBACK CountClass(HWND window, LPARAM data) {
    ClassCount* counted = reinterpret_cast<ClassCount*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (wcscmp(name, counted->name) == 0) ++counted->count;
    return TRUE;
}
} // namespace

int ThreadWindows(const wchar_t* className) {
    ClassCount counted = {className, 0};
    EnumThreadWindows(GetCurrentThreadId(), CountClass, reinterpret_cast<LPARAM>(&counted));
    return counted.count;
}

std::wstring ExeDirectory() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"ORVAND_PROGRAM", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? path : ExeDirectory() + L"Orvand.exe";
}

std::string ProgramResource(LPCWSTR type, LPCWSTR id) {
    HMODULE file = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = file ? FindResourceW(file, id, type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(file, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    std::string resource = bytes ? std::string(bytes, SizeofResource(file, found)) : "";
    if (file) FreeLibrary(file);
    return resource;
}

std::vector<IconImage> ProgramIcon() {
    const std::string group = ProgramResource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME));
    std::vector<IconImage> images;
    for (size_t at = 6; at + 14 <= group.size(); at += 14) { // GRPICONDIRENTRYs
        const auto* entry = reinterpret_cast<const BYTE*>(&group[at]);
        images.push_back({entry[0] ? entry[0] : 256, entry[6] | entry[7] << 8,
                          ProgramResource(RT_ICON, MAKEINTRESOURCEW(entry[12] | entry[13] << 8))});
    }
    return images;
}

namespace {
// A BSTR as a string, freed.
std::wstring Take(BSTR text) {
    std::wstring taken = text ? text : L"";
    SysFreeString(text);
    return taken;
}
} // namespace

bool ReadAccessible(HWND control, AccessibleView& view, bool standard) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return false;
    IAccessible* object = nullptr;
    const HRESULT found =
        standard ? CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object))
                 : AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&object));
    if (SUCCEEDED(found) && object) {
        VARIANT self = {};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr, value = nullptr, description = nullptr;
        VARIANT role = {};
        object->get_accName(self, &name);
        object->get_accValue(self, &value);
        object->get_accDescription(self, &description);
        object->get_accRole(self, &role);
        DISPPARAMS arguments = {&self, nullptr, 1, 0};
        VARIANT late = {};
        if (SUCCEEDED(object->Invoke(DISPID_ACC_NAME, IID_NULL, LOCALE_USER_DEFAULT,
                                     DISPATCH_PROPERTYGET, &arguments, &late, nullptr, nullptr)) &&
            late.vt == VT_BSTR)
            view.lateBoundName = late.bstrVal;
        VariantClear(&late);
        view.name = Take(name);
        view.value = Take(value);
        view.description = Take(description);
        view.role = role.vt == VT_I4 ? role.lVal : -1;
        object->Release();
    }
    CoUninitialize();
    return SUCCEEDED(found) && object;
}

std::vector<DWORD> Capture(HWND window, bool shown) {
    RECT rect;
    if (shown) { // Wine hands on what a window drew while its thread waits
        for (int i = 0; i < 4; ++i)
            Pump(), MsgWaitForMultipleObjects(0, nullptr, 0, 40, QS_ALLINPUT);
        GetWindowRect(window, &rect);
        OffsetRect(&rect, -rect.left, -rect.top);
    } else {
        GetClientRect(window, &rect);
    }
    const int width = rect.right, height = rect.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC memory = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HDC dc = shown ? GetWindowDC(window) : nullptr;
    if (dc)
        BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY), ReleaseDC(window, dc);
    else
        SendMessageW(window, WM_PRINTCLIENT, WPARAM(memory), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits),
                              static_cast<DWORD*>(bits) + width * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}
