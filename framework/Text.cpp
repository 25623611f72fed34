// CP1252 <-> UTF-16 at the window boundary.
#include "Text.h"

namespace {

const UINT westernEuropean = 1252;

// Text in `codePage` as UTF-16, sized by the conversion itself.
std::wstring WideFrom(UINT codePage, const char* text, int length) {
    if (length <= 0) return std::wstring();
    const int size = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring wide(size_t(size), L'\0');
    const int written = MultiByteToWideChar(codePage, 0, text, length, &wide[0], size);
    wide.resize(size_t(written > 0 ? written : 0));
    return wide;
}

} // namespace

std::wstring Widen(const std::string& text) {
    return WideFrom(westernEuropean, text.data(), int(text.size()));
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

std::wstring WidenAnsi(const char* text, int length) {
    return WideFrom(CP_ACP, text, length);
}

std::string ReadWindowText(HWND window) {
    std::wstring wide(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    const int length = GetWindowTextW(window, &wide[0], int(wide.size()));
    return Narrow(wide.data(), length);
}

void WriteWindowText(HWND window, const std::string& text) {
    SetWindowTextW(window, Widen(text).c_str());
}
