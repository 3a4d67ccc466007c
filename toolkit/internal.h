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
// The GDI font of a registered font at dpi, counted as one more control
// showing it there; nullptr when it cannot be made.
HFONT UseFont(int32_t fontId, UINT dpi);
// A control that showed this font at dpi shows it no more (0: none).
void DropFontUse(int32_t fontId, UINT dpi);
// Deletes the GDI fonts made for dpi that no control shows.
void ReleaseUnusedFonts(UINT dpi);
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
// Draws the dialog's icon again at its present scale.
void ShowDialogIconsAgain(HWND dialog);
// Deletes a list of drawn pictures that no control shows any more.
void ReleaseDrawnPictures(DrawnPicture* drawn);
// Destroys a cursor drawn for a dialog (none: nothing).
void ReleaseCursor(HCURSOR cursor);
// Deletes the pictures, icons and cursor of a record already out of the list.
void ReleasePicturesOf(const WindowRecord& record);
int LivePictures();
int LiveIcons();

// scale.cpp
// The dots per inch of the monitor the window is on, as the system tells it.
UINT WindowDpi(HWND window);
// A system metric (SM_CXICON, ...) at dpi.
int SystemMetricAt(int index, UINT dpi);
// Everything that depends on a dialog's scale worked out for dpi: its font,
// dialog units and picture scale; the dialog manager's own scaling is kept out
// of the way. Returns the dialog font it made for the scale before, for the
// caller to delete once no control shows it.
HFONT TakeScale(HWND dialog, UINT dpi);
// The font of the dialog's controls that have none of their own.
HFONT DialogFontOf(HWND dialog);
// The scale the dialog's registered fonts and pictures are made at.
UINT ContentDpi(HWND dialog);
// Dialog fonts the toolkit made for dialogs whose scale the dialog manager's did not fit.
int OwnDialogFonts();
// A control's box in pixels of its dialog's present scale.
Box ControlBox(HWND dialog, const Box& given);
// WM_GETDPISCALEDSIZE: the window size the dialog wants at dpi.
bool AnswerScaledSize(HWND dialog, UINT dpi, SIZE* size);
// WM_DPICHANGED: the dialog takes the suggested rectangle and is laid out anew
// at dpi; what it held for the old scale is released.
void Rescale(HWND dialog, UINT dpi, const RECT* suggested);

// keyboard.cpp
// A dialog about to be shown shows no focus rectangles until a key is pressed in it.
void HideFocusCues(HWND dialog);
// Offers a message to the dialog's shortcut keys, Enter on its buttons and the
// dialog manager's keyboard handling; true when taken.
bool TakenByDialog(HWND dialog, MSG* message);

}  // namespace tk
