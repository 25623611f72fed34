// CInfoDlg: the info box with version data, feedback address, icon and a looping clip.
#pragma once

#include "../framework/Animation.h"
#include "../framework/Dialog.h"
#include "../framework/Icon.h"

class CInfoDlg : public CDialog {
public:
    CInfoDlg();
    // The box goes before its icon.
    ~CInfoDlg() override;

    CAnimation animation;
    CIcon icon; // the program icon's own image of the large icon size for the box's DPI

protected:
    bool OnInitDialog() override;
    // On a screen of another DPI the box takes the icon size of that screen.
    void OnDpiChanged(UINT dpi) override { SetIcon(dpi); }

private:
    // Loads the icon for `dpi` into the icon control; the old one goes.
    void SetIcon(UINT dpi);
};
