#pragma once
// Spaces at the ends of a text: the only blanks the program's texts trim.
#include <string>

namespace tk {

// Removes leading and trailing spaces (0x20 only; tabs, CR and LF stay).
std::string TrimSpaces(const std::string& text);

inline bool IsBlank(const std::string& text) { return TrimSpaces(text).empty(); }

}  // namespace tk
