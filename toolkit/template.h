#pragma once
// The in-memory dialog template (DLGTEMPLATEEX) every toolkit dialog is made
// from: no items, the default dialog class, a title and the font block.
#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace tk {

// What goes into a template; texts are UTF-16, NUL-terminated.
struct TemplateFields {
    DWORD style;
    DWORD exStyle;
    int16_t x, y, width, height;
    const wchar_t* title;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charSet;
    const wchar_t* face;
};

// A DWORD-aligned buffer of 512 bytes that the template is written into.
struct DialogTemplate {
    alignas(4) uint8_t bytes[512];
    size_t size;  // 0 when the fields did not fit
};

void WriteDialogTemplate(const TemplateFields& fields, DialogTemplate* out);

}  // namespace tk
