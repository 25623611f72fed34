// CIcon and the icon sizes of a screen's DPI.
#include "Icon.h"

#include "SystemLibrary.h"

void CIcon::Reset(HICON icon) {
    if (handle && handle != icon) DestroyIcon(handle);
    handle = icon;
}

UINT DpiOfChange(WPARAM wParam) {
    const UINT dpi = LOWORD(wParam);
    return dpi >= 96 && dpi <= 480 ? dpi : 0;
}

int SystemMetricForDpi(int index, UINT dpi) {
    const auto metricForDpi = framework::Find<int(WINAPI*)(int, UINT)>(
        GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi");
    return metricForDpi && dpi ? metricForDpi(index, dpi) : GetSystemMetrics(index);
}

HICON LoadIconForDpi(HINSTANCE module, UINT id, bool small, UINT dpi) {
    const int width = SystemMetricForDpi(small ? SM_CXSMICON : SM_CXICON, dpi);
    const int height = SystemMetricForDpi(small ? SM_CYSMICON : SM_CYICON, dpi);
    // Not LR_SHARED: the system would hand back whichever size of the icon it loaded first.
    return static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}
