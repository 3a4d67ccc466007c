#pragma once
// The toolkit's pure rules: style arithmetic for dialogs and control kinds,
// placement, colour normalisation, font registration and height rounding,
// resource names. No window is touched here, so tests call them directly, and
// they build without <windows.h> too.
#include <cstdint>
#include <string>

#include "toolkit/basics.h"
#include "toolkit/win32_types.h"

namespace tk {

// Style a dialog is created with: the default when 0 was asked, the template
// bits always added, WS_VISIBLE and DS_SYSMODAL cleared, DS_CENTER when either
// coordinate is DefaultPosition.
DWORD DialogStyle(DWORD requested, bool centred, bool hasOwner);

// Show command a dialog of this style is shown with.
int ShowCommandFor(DWORD style);
// The size type of the WM_SIZE a show operation hands the callback.
WPARAM SizeTypeFor(int showCommand);
// Whether ShowModeless paints the dialog before returning.
bool PaintsWhenShown(int showCommand);

// One coordinate of a window centred between low and high; 0 when it does not fit.
int32_t CenteredOrigin(int32_t low, int32_t high, int32_t size);

// Style a control of this kind is created with.
DWORD ControlStyle(ControlKind kind, DWORD requested);
// An image control whose name is no bitmap becomes an icon control.
DWORD IconControlStyle(DWORD style);
bool IsImageKind(ControlKind kind);
// Only BS_DEFPUSHBUTTON makes a button the dialog's default button.
bool IsDefaultButtonStyle(DWORD style);
const wchar_t* ControlClass(ControlKind kind);

// SetColors' normalisation.
Color NormalForeground(Color color);
Color NormalBackground(Color color);
// System colour indexes of the colour answers, per WM_CTLCOLOR* message.
int TextColorIndex(UINT message);
int BackgroundColorIndex(UINT message);

// A registered font's description: its point size and a LOGFONTW without height.
struct FontDescription {
    float points;
    LOGFONTW logFont;
};
FontDescription DescribeFont(const std::wstring& face, float points, int32_t style, int32_t charSet,
                             int32_t pitchAndFamily, int32_t escapement);
// Two registrations name the same font when points and every LOGFONTW field
// from escapement to the face name agree (height and width are not compared).
bool SameFont(const FontDescription& a, const FontDescription& b);
// -(dpi x points / 72), rounded to the nearest integer with ties to even.
int32_t FontHeight(int logPixelsY, float points);
// Weight written into a dialog template's font block.
WORD TemplateFontWeight(LONG weight);

// A resource name as LoadImageW and FindResourceW take it: "#123" is number 123.
// The returned pointer is either an integer resource or name.c_str().
const wchar_t* ResourceName(const std::wstring& name);

}  // namespace tk
