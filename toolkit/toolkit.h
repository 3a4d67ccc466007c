#pragma once
// The dialog toolkit every window of the program is written in: dialogs built
// from in-memory templates, a few kinds of control, modal and modeless loops,
// fonts, colours, pictures and icons. It knows nothing of the program's windows.
//
// Texts are UTF-16 here; callers widen their byte strings first (tk::Widen).
#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/basics.h"

namespace tk {

// A window's event procedure. 0: not handled, the toolkit's defaults apply;
// anything else: handled, and returned from the dialog procedure.
using DialogCallback = int32_t (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

enum class CoordinateMode : int32_t {
    DialogUnits = 1,  // converted through the dialog font
    Pixels = 2,       // pixels; a dialog's width and height are its client area
};

// Draws the program's picture of this resource name at width x height pixels
// into pixels (0xAARRGGBB, rows from the top); false when it has no drawing of that name.
using PicturePainter = bool (*)(const std::wstring& name, int32_t width, int32_t height, uint32_t* pixels);

// Dialogs and controls. Positions and sizes are the layout at 100 % (96 DPI):
// the toolkit shows it at the scale of the window's monitor and lays the
// dialog out anew when it moves to a monitor of another scale. There the
// dialog's pictures, icons and cursor come from painter, drawn at the size
// needed (without one, the resources scaled by the system).
HWND NewDialog(CoordinateMode mode, HWND owner, const std::wstring& title, int32_t x, int32_t y, int32_t width,
               int32_t height, DWORD style, DWORD exStyle, PicturePainter painter = nullptr);
void AddControl(ControlKind kind, HWND dialog, int32_t id, const std::wstring& text, int32_t x, int32_t y,
                int32_t width, int32_t height, DWORD style, DWORD exStyle, DialogCallback callback = nullptr);

// Shows the dialog and runs its loop until the window is gone; the owner is
// disabled meanwhile. resultTarget, when given, receives FinishDialog's result.
void ShowModal(HWND dialog, DialogCallback callback, int32_t* resultTarget = nullptr);
// Shows the dialog, painted, and returns at once; the caller keeps it alive with PumpEvents.
void ShowModeless(HWND dialog, DialogCallback callback);
void FinishDialog(HWND dialog, int32_t result);
// Handles at most one queued message; with none queued, waits up to
// idleMilliseconds for one and handles it as soon as it arrives (messages sent
// meanwhile are handled without ending the wait), or until one of the wakeCount
// objects in wakeOn is signalled. Returns the number of live toolkit dialogs.
int32_t PumpEvents(DWORD idleMilliseconds, const HANDLE* wakeOn = nullptr, DWORD wakeCount = 0);

// A visible top-level window of the calling thread other than window: a
// dialog, a message box or a file dialog over it.
bool HasOtherOpenWindow(HWND window);

// Keyboard. The dialog's shortcut keys (copied, replacing earlier ones): each
// sends WM_COMMAND with its command id, wherever the focus is in the dialog.
void SetShortcuts(HWND dialog, const ACCEL* keys, int count);
// Whether the dialog shows where the focus is: not from the moment it is shown
// until the first key is pressed in it, as Windows hides focus rectangles
// from mouse users (UISF_HIDEFOCUS).
bool FocusCuesShown(HWND dialog);

void SetText(HWND window, const std::wstring& text);
void Redraw(HWND window);
int32_t ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags);
void AlertBeep();

// Fonts, colours and images.
int32_t NewFont(const std::wstring& face, float points, int32_t style, int32_t charSet, int32_t pitchAndFamily,
                int32_t escapement);
void SetControlFont(HWND dialog, int32_t controlId, int32_t fontId);
void FreeFont(int32_t fontId);
void SetColors(HWND dialog, int32_t controlId, Color foreground, Color background);
void SetDialogIcon(HWND dialog, const std::wstring& iconName);
void SetImage(HWND dialog, int32_t controlId, const std::wstring& resourceName, ControlKind imageKind);

// Scale. The dots per inch of the monitor the dialog (or the dialog of a
// control) is laid out for. A pixel window's registered fonts and pictures
// are made at that scale; a dialog-unit window's at the scale its dialog
// units have grown to (the same where the dialog font grows with the screen).
UINT DialogDpi(HWND window);
// The named cursor resource at the size of the dialog's scale, held by the
// dialog; nullptr at 100 %, where the caller's own cursor serves.
HCURSOR DialogCursor(HWND dialog, const std::wstring& name);

// What the toolkit holds right now, for tests and leak checks.
struct Counts {
    int records;    // window records (dialogs and controls)
    int brushes;    // background brushes
    int gdiFonts;   // GDI fonts made for registered fonts, and dialog fonts made for a scale
    int pictures;   // bitmaps and icons of image controls, and pictures drawn for them
    int icons;      // dialog icons, big and small, and cursors drawn for dialogs
    int liveDialogs;
};
Counts GetCounts();

}  // namespace tk
