// CApp: the application object and the message routing shared by every loop.
#include "App.h"

#include "Text.h"

#include <commctrl.h>

CApp* CApp::current = nullptr;

IMPLEMENT_RUNTIME_CLASS(CApp, CObject)

CApp::CApp() {
    if (!current) current = this;
}

CApp::~CApp() {
    if (current == this) current = nullptr;
}

CApp* CApp::Current() {
    return current;
}

int CApp::Run(HINSTANCE module) {
    Initialize(module);
    MSG msg;
    if (InitInstance()) {
        BOOL got;
        while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) RouteMessage(msg);
        quitCode = got == 0 ? int(msg.wParam) : -1; // -1: the loop could get no message
    } else if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        quitCode = int(msg.wParam); // left by a modal loop that met it
    }
    return ExitInstance();
}

void CApp::Initialize(HINSTANCE module) {
    instance = module;
    wchar_t path[MAX_PATH] = {};
    const int length = int(GetModuleFileNameW(module, path, MAX_PATH));
    std::string file = Narrow(path, length);
    file.erase(0, file.find_last_of("\\/") + 1);
    appName = file.substr(0, file.rfind('.'));

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

bool CApp::InitInstance() {
    return true;
}

int CApp::ExitInstance() {
    return quitCode;
}

bool CApp::PreTranslateMessage(MSG& msg) {
    const bool helpKey = msg.message == WM_KEYDOWN && msg.wParam == VK_F1 &&
                         GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
    if (helpKey && mainWindow && mainWindow->hwnd) {
        mainWindow->Send(WM_COMMAND, ID_HELP_COMMAND);
        return true;
    }
    return PreTranslateWindows(msg);
}

std::string CApp::LoadText(UINT id) const {
    const wchar_t* resource = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&resource), 0);
    return length > 0 ? Narrow(resource, length) : std::string();
}

HINSTANCE ResourceModule() {
    const CApp* app = CApp::Current();
    return app && app->instance ? app->instance : GetModuleHandleW(nullptr);
}

bool PreTranslateWindows(MSG& msg) {
    for (HWND window = msg.hwnd; window;) {
        CWindow* object = CWindow::FromHandle(window);
        if (object && object->PreTranslateMessage(msg)) return true;
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) break; // top-level reached
        window = GetParent(window);
    }
    return false;
}

void RouteMessage(MSG& msg) {
    CApp* app = CApp::Current();
    if (app ? app->PreTranslateMessage(msg) : PreTranslateWindows(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool PumpWaitingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return false;
        }
        RouteMessage(msg);
    }
    return true;
}
