// CRechnerApp and the program's one application object.
#include "RechnerApp.h"

#include "../dialogs/RechnerDlg.h"

CRechnerApp theApp;

bool CRechnerApp::InitInstance() {
    EnableControlContainer();
    Enable3dControls();
    CRechnerDlg dialog;
    mainWindow = &dialog;
    dialog.DoModal();
    mainWindow = nullptr;
    return false; // no message loop: the process ends with the dialog
}
