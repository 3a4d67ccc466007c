#pragma once
// The few Win32 types and constants the pure rules are written with. A Windows
// build takes them from <windows.h> and checks there that the values below are
// the platform's; elsewhere (the sanitizer build and the fuzz target) they are
// defined here, with the platform's widths.
#ifdef _WIN32
#include <windows.h>
#define WIN32_VALUE(type, name, value) static_assert(name == (type)(value), #name " differs from <windows.h>");
#else
#include <cstdint>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;  // Windows' unsigned long is 32 bits wide
using LONG = int32_t;
using UINT = unsigned int;
using WPARAM = uintptr_t;
using WCHAR = wchar_t;
using COLORREF = DWORD;

// 0x00BBGGRR; each part cut to its low byte, as the RGB macro does.
constexpr COLORREF RGB(int red, int green, int blue) {
    return (COLORREF)((BYTE)red | ((WORD)(BYTE)green << 8) | ((DWORD)(BYTE)blue << 16));
}

constexpr int LF_FACESIZE = 32;
struct LOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};

// A resource number in place of a name, as the resource functions take it.
inline wchar_t* MAKEINTRESOURCEW(unsigned number) { return (wchar_t*)(uintptr_t)(WORD)number; }

#define WIN32_VALUE(type, name, value) constexpr type name = (type)(value);
#endif

// Window and dialog styles.
WIN32_VALUE(DWORD, WS_POPUP, 0x80000000)
WIN32_VALUE(DWORD, WS_CHILD, 0x40000000)
WIN32_VALUE(DWORD, WS_MINIMIZE, 0x20000000)
WIN32_VALUE(DWORD, WS_VISIBLE, 0x10000000)
WIN32_VALUE(DWORD, WS_MAXIMIZE, 0x01000000)
WIN32_VALUE(DWORD, DS_ABSALIGN, 0x01)
WIN32_VALUE(DWORD, DS_SYSMODAL, 0x02)
WIN32_VALUE(DWORD, DS_3DLOOK, 0x04)
WIN32_VALUE(DWORD, DS_NOFAILCREATE, 0x10)
WIN32_VALUE(DWORD, DS_SETFONT, 0x40)
WIN32_VALUE(DWORD, DS_CENTER, 0x0800)
WIN32_VALUE(DWORD, SS_ICON, 0x03)
WIN32_VALUE(DWORD, BS_DEFPUSHBUTTON, 0x01)
WIN32_VALUE(DWORD, BS_TYPEMASK, 0x0F)

// Show commands and WM_SIZE types.
WIN32_VALUE(int, SW_HIDE, 0)
WIN32_VALUE(int, SW_SHOWMINIMIZED, 2)
WIN32_VALUE(int, SW_SHOWMAXIMIZED, 3)
WIN32_VALUE(int, SW_SHOW, 5)
WIN32_VALUE(int, SW_MINIMIZE, 6)
WIN32_VALUE(WPARAM, SIZE_RESTORED, 0)
WIN32_VALUE(WPARAM, SIZE_MINIMIZED, 1)
WIN32_VALUE(WPARAM, SIZE_MAXIMIZED, 2)

// Colour messages and system colour indexes.
WIN32_VALUE(UINT, WM_CTLCOLORMSGBOX, 0x0132)
WIN32_VALUE(UINT, WM_CTLCOLOREDIT, 0x0133)
WIN32_VALUE(UINT, WM_CTLCOLORLISTBOX, 0x0134)
WIN32_VALUE(UINT, WM_CTLCOLORBTN, 0x0135)
WIN32_VALUE(UINT, WM_CTLCOLORDLG, 0x0136)
WIN32_VALUE(UINT, WM_CTLCOLORSCROLLBAR, 0x0137)
WIN32_VALUE(UINT, WM_CTLCOLORSTATIC, 0x0138)
WIN32_VALUE(int, COLOR_SCROLLBAR, 0)
WIN32_VALUE(int, COLOR_MENU, 4)
WIN32_VALUE(int, COLOR_WINDOW, 5)
WIN32_VALUE(int, COLOR_MENUTEXT, 7)
WIN32_VALUE(int, COLOR_WINDOWTEXT, 8)
WIN32_VALUE(int, COLOR_BTNFACE, 15)
WIN32_VALUE(int, COLOR_BTNTEXT, 18)

// Font weights.
WIN32_VALUE(LONG, FW_NORMAL, 400)
WIN32_VALUE(LONG, FW_BOLD, 700)

#undef WIN32_VALUE
