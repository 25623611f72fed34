// CP1252 <-> UTF-16 at the window boundary.
#include "Text.h"

namespace {
const UINT westernEuropean = 1252;
}

std::wstring Widen(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    if (!text.empty())
        MultiByteToWideChar(westernEuropean, 0, text.data(), int(text.size()), &wide[0],
                            int(wide.size()));
    return wide;
}

std::string Narrow(const wchar_t* text, int length) {
    std::string narrow(size_t(length), '\0');
    if (length > 0)
        WideCharToMultiByte(westernEuropean, 0, text, length, &narrow[0], length, "?", nullptr);
    return narrow;
}

std::string ReadWindowText(HWND window) {
    std::wstring wide(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, &wide[0], int(wide.size()));
    return Narrow(wide.data(), length);
}

void WriteWindowText(HWND window, const std::string& text) {
    SetWindowTextW(window, Widen(text).c_str());
}
