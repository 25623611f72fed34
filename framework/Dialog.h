// CDialog: a dialog from a resource template, run modally through the framework's loop.
#pragma once

#include "ColorScheme.h"
#include "Window.h"

#include <string>

class CDialog : public CWindow {
public:
    // `parent` may be nullptr: the application's main window then owns the dialog.
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;

    // Creates the dialog, disables its owner and runs until EndDialog; IDOK, IDCANCEL or -1.
    INT_PTR DoModal();
    // Creates the dialog without running it (the modal loop, or a caller that pumps itself).
    bool Create(HWND owner);
    // Ends the modal loop with `result`; wakes the loop, which may wait for a message.
    void EndDialog(int result);
    // True once EndDialog was called.
    bool Ended() const { return ended; }

    // Keyboard navigation, default button, Escape and mnemonics, while the dialog is enabled.
    bool PreTranslateMessage(MSG& msg) override;

    HWND Item(int id) const { return GetDlgItem(hwnd, id); }
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text);

protected:
    // WM_INITDIALOG: data exchange; true lets the dialog manager set the focus.
    virtual bool OnInitDialog();
    // Binds controls to member objects, in the order the class needs.
    virtual void DoDataExchange() {}
    // Binds the control `id` to `control`.
    bool Bind(int id, CWindow& control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // The dialog moved to a screen of another DPI (one a screen can have), before the system
    // scales it.
    virtual void OnDpiChanged(UINT) {}
    // Gives every child control a tooltip; texts come from TTN_NEEDTEXT notifications.
    // The tooltip window goes with the dialog.
    void EnableToolTips();

    MESSAGE_TABLE(CDialog, CWindow)

private:
    // WM_DPICHANGED, which any program can post with any value: only real DPIs go on.
    LRESULT OnDpiMessage(WPARAM wParam, LPARAM);
    // WM_CTLCOLOR*: the colours of the scheme, or the system's.
    LRESULT OnControlColor(WPARAM dc, LPARAM control);
    // Push buttons in the scheme's colours.
    bool OnCustomDraw(NMHDR* header, LRESULT& result);
    // A setting changed, perhaps the app mode: the dialog follows the user's choice.
    LRESULT OnSettingChange(WPARAM, LPARAM);
    // The system's colours or high contrast changed: the dialog follows and repaints.
    LRESULT OnSystemColors(WPARAM, LPARAM);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    UINT templateId;
    HWND parent;
    bool ended = false;
    int modalResult = -1;
    HWND toolTips = nullptr;
    CColorScheme colors;
};
