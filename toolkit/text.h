#pragma once
// Texts are byte strings in the process's ANSI code page (UTF-8 through the
// manifest); they are widened to UTF-16 only where a wide platform call takes them.
#include <string>

#include "toolkit/spaces.h"

namespace tk {

std::wstring Widen(const std::string& text);
std::string Narrow(const std::wstring& text);

// What the system says of an error code, on one line.
std::string SystemErrorText(unsigned long code);

}  // namespace tk
