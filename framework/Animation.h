// CAnimation: the common controls' animation control, playing a clip from the resources.
#pragma once

#include "Window.h"

class CAnimation : public CWindow {
public:
    // Creates the control as a child of `parent`; the module of the application holds its clips.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    // Opens clip `resourceId` (resource type "AVI") of the creating module.
    bool Open(UINT resourceId);
    // Plays frames from..to (0xFFFF: the last), `repeat` times (-1: without end).
    bool Play(UINT from, UINT to, int repeat);
};
