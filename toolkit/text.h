#pragma once
// Texts are byte strings in the process's ANSI code page (UTF-8 through the
// manifest); they are widened to UTF-16 only where a wide platform call takes them.
#include <string>

#include "toolkit/spaces.h"

namespace tk {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// text in upper case, character by character, as the file system compares names.
std::string UpperCase(const std::string& text);

}  // namespace tk
