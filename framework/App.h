// CApp: the application object; entry, main window, message routing and resources.
#pragma once

#include "RuntimeClass.h"
#include "Window.h"

#include <windows.h>

#include <string>

// The framework's standard help command, sent to the main window for F1.
const UINT ID_HELP_COMMAND = 0xE146;

class CApp : public CObject {
    DECLARE_RUNTIME_CLASS(CApp)

public:
    // The module that holds the resources.
    HINSTANCE instance = nullptr;
    // The executable's file name without directory and extension.
    std::string appName;
    // The window that owns modal dialogs and receives the help command.
    CWindow* mainWindow = nullptr;

    CApp();
    ~CApp() override;
    // The one application object (the first one constructed).
    static CApp* Current();

    // Called by the process entry: initialise, run the message loop if asked to, exit.
    int Run(HINSTANCE module);
    // Module, application name (from the executable's file name) and common controls.
    void Initialize(HINSTANCE module);
    // Start-up; false ends the process without entering a message loop.
    virtual bool InitInstance();
    // Clean-up at the end; the result is the process exit code, by default the code that
    // WM_QUIT brought.
    virtual int ExitInstance();
    // Sees every message first: F1 becomes the help command, then the window chain.
    virtual bool PreTranslateMessage(MSG& msg);

    // Hosting of embedded (ActiveX) controls: this framework hosts none, nothing to switch on.
    void EnableControlContainer() {}
    // 3-D look of dialog controls: the dialog templates ask for it (DS_3DLOOK), nothing to do.
    void Enable3dControls() {}

    // String resource `id` as CP1252; empty when there is none.
    std::string LoadText(UINT id) const;

private:
    static CApp* current;
    int quitCode = 0;
};

// The module that holds the resources: the application's, else the executable.
HINSTANCE ResourceModule();
// Offers `msg` to the windows it is bound for (the target first, then its parents).
bool PreTranslateWindows(MSG& msg);
// One message through pre-translation, then translation and dispatch.
void RouteMessage(MSG& msg);
// Routes every message already waiting; false when WM_QUIT was among them.
bool PumpWaitingMessages();
