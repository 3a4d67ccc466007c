#include "toolkit/text.h"

#include <windows.h>

namespace tk {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &wide[0], n);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string narrow(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), (int)text.size(), &narrow[0], n, nullptr, nullptr);
    return narrow;
}

std::string UpperCase(const std::string& text) {
    std::wstring wide = Widen(text);
    if (!wide.empty()) CharUpperBuffW(&wide[0], (DWORD)wide.size());
    return Narrow(wide);
}

}  // namespace tk
