// CRechnerDlg: the calculator window with its two time fields and the result field.
#pragma once

#include "../framework/Dialog.h"
#include "../time/ZeitEdit.h"

#include <string>

class CRechnerDlg : public CDialog {
  public:
    CRechnerDlg();

    CZeitEdit result;
    CZeitEdit second;
    CZeitEdit first;
    HICON icon;
    bool foreground = false;
    bool infoOpen = false;

    // Shows the absolute difference of the two times in the result field.
    void OnCalculate();
    // Fetches the first (second) time from the clipboard text.
    void OnFromClipboard1();
    void OnFromClipboard2();
    // Puts the result field's eight characters on the clipboard.
    void OnToClipboard();

  protected:
    void DoDataExchange() override;

  private:
    // Clipboard text into `field`; its complaint, if any, into the status line.
    void FromClipboard(CZeitEdit& field);
    // The clipboard's CF_TEXT; false when there is none or it cannot be read.
    bool ReadClipboardText(std::string& text);
    // Sets the status line.
    void ShowStatus(const std::string& text);

    MESSAGE_TABLE(CRechnerDlg, CDialog)
};
