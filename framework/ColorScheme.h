// CColorScheme: the colours of a dialog, the system's or dark ones when the user chose dark apps.
#pragma once

#include "Handles.h"

#include <windows.h>

#include <commctrl.h>

// Whether the user wants apps dark now: Windows' app mode ("AppsUseLightTheme" 0 under the
// personalisation key), and high contrast off, which always takes the system's colours.
bool AppsUseDarkMode();

// A dialog's colours. In the system's colours (light mode, high contrast) it leaves everything
// to the system; dark, it answers the controls' colour questions, paints the push buttons and
// the fields' frames, and darkens the caption bar and the tooltips.
class CColorScheme {
public:
    // Follows the user's choice as it is now; true when the mode changed (then Apply).
    bool Follow();

    // Caption bar, tooltips and children in the mode's colours, and everything repainted.
    void Apply(HWND dialog, HWND toolTips);
    // The tooltips of the dialog in the mode's colours.
    void ColorToolTips(HWND toolTips);
    // Answers WM_CTLCOLOR* of `control`: the DC's colours set, the background brush; nullptr
    // leaves the question to the system.
    HBRUSH ControlColors(HDC dc, HWND control) const;
    // Paints a push button whole (NM_CUSTOMDRAW); false leaves it to the system.
    bool DrawButton(const NMCUSTOMDRAW& draw, LRESULT& result) const;
    // Paints an edit control's frame; false leaves it to the system.
    bool PaintFrame(HWND edit) const;

private:
    // The dialog's children: the fields' frames, and colour questions of the controls that a
    // child hosts (the info box's clip) passed on to the dialog.
    static LRESULT CALLBACK ChildProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR scheme);

    bool dark = false;
    bool darkCaption = false;   // the caption bar was asked to be dark
    bool plainToolTips = false; // the tooltips were taken out of the visual style
    GdiObject<HBRUSH> background, field;
};
