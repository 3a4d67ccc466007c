#pragma once
// What the toolkit's files need of one another; not for the program's windows.
#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/dialog_rules.h"
#include "toolkit/records.h"

namespace tk {

inline HINSTANCE ProgramModule() { return GetModuleHandleW(nullptr); }

// fonts.cpp
// The description of a registered font; false when the id is not registered.
bool RegisteredFont(int32_t fontId, FontDescription* font);
// A control that showed this font is gone.
void DropFontUse(int32_t fontId);
int LiveGdiFonts();

// colors.cpp
// The toolkit's answer to WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC for window.
INT_PTR AnswerColorMessage(UINT message, HDC dc, HWND window);
// Deletes the brush of a record already out of the list, unless another
// record still uses it.
void ReleaseBrushOf(const WindowRecord& record);
int LiveBrushes();

// images.cpp
bool IsBitmapResource(const std::wstring& name);
// Loads the named picture for an image control and makes the control show it.
void ShowPicture(HWND control, ControlKind kind, const std::wstring& name, bool asIcon);
// Deletes the picture and icons of a record already out of the list.
void ReleasePicturesOf(const WindowRecord& record);
int LivePictures();
int LiveIcons();

// keyboard.cpp
// A dialog about to be shown shows no focus rectangles until a key is pressed in it.
void HideFocusCues(HWND dialog);
// Offers a message to the dialog's shortcut keys, Enter on its buttons and the
// dialog manager's keyboard handling; true when taken.
bool TakenByDialog(HWND dialog, MSG* message);

}  // namespace tk
