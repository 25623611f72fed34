// CP1252 <-> UTF-16 at the window boundary.
#include "Text.h"

namespace {
const UINT westernEuropean = 1252;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = int(text.size());
    const int size = MultiByteToWideChar(westernEuropean, 0, text.data(), length, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(size_t(size), L'\0');
    const int written =
        MultiByteToWideChar(westernEuropean, 0, text.data(), length, &wide[0], size);
    wide.resize(size_t(written > 0 ? written : 0));
    return wide;
}

std::string Narrow(const wchar_t* text, int length) {
    if (length <= 0) return std::string();
    // No best fit: "∞" must not turn into "8", nor a full-width digit into a digit.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int size =
        WideCharToMultiByte(westernEuropean, flags, text, length, nullptr, 0, "?", nullptr);
    if (size <= 0) return std::string();
    std::string narrow(size_t(size), '\0');
    const int written =
        WideCharToMultiByte(westernEuropean, flags, text, length, &narrow[0], size, "?", nullptr);
    narrow.resize(size_t(written > 0 ? written : 0));
    return narrow;
}

std::string NarrowAnsi(const char* text, int length) {
    if (length <= 0) return std::string();
    const int size = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (size <= 0) return std::string();
    std::wstring wide(size_t(size), L'\0');
    return Narrow(wide.data(), MultiByteToWideChar(CP_ACP, 0, text, length, &wide[0], size));
}

std::string ReadWindowText(HWND window) {
    std::wstring wide(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, &wide[0], int(wide.size()));
    return Narrow(wide.data(), length);
}

void WriteWindowText(HWND window, const std::string& text) {
    SetWindowTextW(window, Widen(text).c_str());
}
