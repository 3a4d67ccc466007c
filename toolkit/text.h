#pragma once
// Texts are byte strings in the process's ANSI code page (UTF-8 through the
// manifest); they are widened to UTF-16 only where a wide platform call takes them.
#include <string>

namespace tk {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// Removes leading and trailing spaces (0x20 only; tabs, CR and LF stay).
std::string TrimSpaces(const std::string& text);

inline bool IsBlank(const std::string& text) { return TrimSpaces(text).empty(); }

}  // namespace tk
