// CInfoDlg: the info box.
#include "InfoDlg.h"

#include "../app/Applikation.h"
#include "../framework/Format.h"
#include "../resources/resource.h"

#include <commctrl.h>

CInfoDlg::CInfoDlg() : CDialog(IDD_INFO) {}

CInfoDlg::~CInfoDlg() {
    if (hwnd) DestroyWindow(hwnd);
}

bool CInfoDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    // Whatever the version block does not hold stays empty.
    std::string fileVersion, productVersion, comments, copyright;
    const CApp* app = CApp::Current();
    if (CApplikation* applikation = CApplikation::Current())
        applikation->ReadVersionInfo(fileVersion, productVersion, comments, copyright);
    SetItemText(IDC_VERSION, Format("Version (%s)", fileVersion.c_str()));
    SetItemText(IDC_COPYRIGHT, Format("%s", copyright.c_str()));
    SetItemText(IDC_KOMMENTAR, comments);
    SetItemText(IDC_FEEDBACK, ORVAND_FEEDBACK);
    const char* const caption = "Info \xFC"
                                "ber %s"; // CP1252 "Info über %s"
    SetText(Format(caption, app ? app->appName.c_str() : ""));
    // The template's icon control loads the system-wide size; this is the box's own.
    SetIcon(Dpi());

    // The clip plays inside the animation area, centred, its background colour transparent.
    HWND area = Item(IDC_ANIMATION);
    RECT rect;
    GetClientRect(area, &rect);
    const DWORD style = WS_CHILD | WS_VISIBLE | ACS_CENTER | ACS_TRANSPARENT; // 0x50000003
    if (animation.Create(style, rect, area, IDC_ANIMATION) && animation.Open(IDR_ANIMATION))
        animation.Play(0, 0xFFFF, -1);
    return true;
}

void CInfoDlg::SetIcon(UINT dpi) {
    if (HICON own = LoadIconForDpi(ResourceModule(), IDR_MAINFRAME, false, dpi)) {
        SendMessageW(Item(IDC_INFOICON), STM_SETICON, reinterpret_cast<WPARAM>(own), 0);
        icon.Reset(own);
    }
}
