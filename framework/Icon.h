// CIcon and the icon sizes of a screen's DPI.
#pragma once

#include <windows.h>

// An icon the program loaded for itself (not shared): destroyed with its holder or when
// another one takes its place.
class CIcon {
public:
    CIcon() = default;
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;
    ~CIcon() { Reset(); }

    // Takes `icon` over and destroys the one held before.
    void Reset(HICON icon = nullptr);
    operator HICON() const { return handle; }

private:
    HICON handle = nullptr;
};

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0 // Windows 8.1 on
#endif

// The DPI that a WM_DPICHANGED announces, or 0 for one that no screen can have (from 100 % to
// Windows' largest scale, 500 %: 96 to 480 DPI). Any program can post the message, with any
// value.
UINT DpiOfChange(WPARAM wParam);
// System metric `index` for `dpi` where the system has metrics per DPI, else (and for dpi
// 0) the system-wide one.
int SystemMetricForDpi(int index, UINT dpi);
// Icon `id` of `module` at the system's large or small icon size for `dpi` (see
// SystemMetricForDpi): the resource's own image of that size where it has one.
HICON LoadIconForDpi(HINSTANCE module, UINT id, bool small, UINT dpi);
