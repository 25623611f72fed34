// CInfoDlg: the info box with version data, feedback address, icon and a looping clip.
#pragma once

#include "../framework/Animation.h"
#include "../framework/Dialog.h"

class CInfoDlg : public CDialog {
public:
    CInfoDlg();

    CAnimation animation;

protected:
    bool OnInitDialog() override;
};
