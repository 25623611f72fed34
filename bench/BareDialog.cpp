// The benchmark's yardstick: loads the common controls as the program does and shows one
// empty dialog from a template, nothing else.
#include <windows.h>

#include <commctrl.h>

namespace {

// Closing the dialog ends it; everything else is the dialog manager's default.
INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    return int(DialogBoxParamW(instance, MAKEINTRESOURCEW(1), nullptr, BareProc, 0));
}
