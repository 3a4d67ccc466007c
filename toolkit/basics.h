#pragma once
// The toolkit's plain values, shared by its calls and its pure rules: control
// kinds, position markers, colours and font style bits.
#include <cstdint>

namespace tk {

enum class ControlKind : int32_t { Button, Label, Frame, Image, StretchedImage };

constexpr int32_t DefaultPosition = INT32_MIN;  // 0x80000000 as x or y: centred on the work area
constexpr int32_t DialogItself = INT32_MIN;     // 0x80000000 in place of a control id

// Colours are 0x00BBGGRR; three negative values have a meaning of their own.
using Color = int32_t;
constexpr Color ColorDefault = -1;      // the platform's system colour for that kind of window
constexpr Color ColorTransparent = -2;  // background only: the parent shows through
constexpr Color ColorUnset = -3;        // never set: the colour messages go to the platform

// Font style bits of NewFont.
enum FontStyle : int32_t { FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeOut = 8, FontCellHeight = 16 };

}  // namespace tk
