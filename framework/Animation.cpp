// CAnimation: the common controls' animation control.
#include "Animation.h"

#include "App.h"

#include <commctrl.h>

bool CAnimation::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    HWND window = CreateWindowExW(0, ANIMATE_CLASSW, nullptr, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(UINT_PTR(id)), ResourceModule(), nullptr);
    return window && Subclass(window);
}

bool CAnimation::Open(UINT resourceId) {
    return Send(ACM_OPENW, 0, reinterpret_cast<LPARAM>(MAKEINTRESOURCEW(resourceId))) != 0;
}

bool CAnimation::Play(UINT from, UINT to, int repeat) {
    // The count is signed: -1 must stay -1 in a 64-bit WPARAM, not become 0xFFFFFFFF.
    return Send(ACM_PLAY, WPARAM(INT_PTR(repeat)), MAKELPARAM(from, to)) != 0;
}
