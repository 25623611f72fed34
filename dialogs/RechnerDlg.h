// CRechnerDlg: the calculator window with its two time fields and the result field.
#pragma once

#include "../framework/Dialog.h"
#include "../framework/Icon.h"
#include "StatusLine.h"

#include "../time/ZeitEdit.h"

#include <string>

class CRechnerDlg : public CDialog {
public:
    CRechnerDlg();
    // The window goes before its icons, and while this class still sees its messages.
    ~CRechnerDlg() override;

    CZeitEdit result;
    CZeitEdit second;
    CZeitEdit first;
    CStatusLine status;
    // The program icon's own images of the system's large and small icon sizes for the
    // window's DPI: Alt+Tab, task bar and minimized window; title bar.
    CIcon icon;
    CIcon smallIcon;
    bool foreground = false;
    bool infoOpen = false;
    UINT iconDpi = 0; // the DPI the icons were loaded for

    // Shows the absolute difference of the two times in the result field.
    void OnCalculate();
    // Fetches the first (second) time from the clipboard text.
    void OnFromClipboard1();
    void OnFromClipboard2();
    // Puts the result field's eight characters on the clipboard.
    void OnToClipboard();
    // Opens the info box, unless it is open already.
    void ShowInfo();
    // Switches always-on-top and its check mark in the system menu.
    void SetForeground();

    // Sees every command first: the help command opens the info box.
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // Data exchange, system menu entries, window icons and tooltips.
    bool OnInitDialog() override;
    void DoDataExchange() override;
    // On a screen of another DPI the window takes the icon sizes of that screen.
    void OnDpiChanged(UINT dpi) override { SetIcons(dpi); }

private:
    // The info box entry and always-on-top arrive as system commands.
    LRESULT OnSysCommand(WPARAM id, LPARAM param);
    // Minimized, the window shows its icon centred.
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    // Loads and sets the window's icons for `dpi` (0: the system's); the old ones go.
    void SetIcons(UINT dpi);
    // Names and descriptions for screen readers, from the tooltip texts.
    void NameControls();
    // A tooltip asks for its text: the string resource with the control's ID.
    bool AnswerToolTip(NMHDR* notification, LRESULT& result);
    // Clipboard text into `field`; its complaint, if any, into the status line.
    void FromClipboard(CZeitEdit& field);
    // The start of the clipboard's text, enough for the field to judge it; false when there
    // is none or it cannot be read.
    bool ReadClipboardText(std::string& text);
    // Sets the status line.
    void ShowStatus(const std::string& text);

    MESSAGE_TABLE(CRechnerDlg, CDialog)
};
