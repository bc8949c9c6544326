// The suite's texts are GBK; Windows is spoken to in UTF-16.
#include "internal.h"

namespace win32 {

std::wstring Wide(const platform::Text& t) {
    if (t.empty()) return std::wstring();
    int n = MultiByteToWideChar(CodePage, 0, t.data(), static_cast<int>(t.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CodePage, 0, t.data(), static_cast<int>(t.size()), w.data(), n);
    return w;
}

platform::Text Narrow(const wchar_t* w, int length) {
    if (!w) return platform::Text();
    if (length < 0) length = static_cast<int>(wcslen(w));
    if (length == 0) return platform::Text();
    int n = WideCharToMultiByte(CodePage, 0, w, length, nullptr, 0, nullptr, nullptr);
    platform::Text t(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CodePage, 0, w, length, t.data(), n, nullptr, nullptr);
    return t;
}

platform::Text Narrow(const std::wstring& w) { return Narrow(w.c_str(), static_cast<int>(w.size())); }

platform::Text WindowText(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(h, w.data(), n + 1);
    return Narrow(w.c_str(), n);
}

}  // namespace win32
