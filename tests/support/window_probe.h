#pragma once
// In-process helpers for tests of the program's own windows: look at what a
// window shows as a user would (controls, pixels, cursor), record what its
// links would open, and count the GDI objects of the process. Header only;
// everything runs on the test's own thread.
#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "app/globals.h"
#include "app/shell_open.h"
#include "tests/support/modal_driver.h"
#include "toolkit/toolkit.h"

namespace test {

// ---- Looking at a dialog ----------------------------------------------------

struct Control {
    int id;
    std::wstring className;
    std::wstring text;
    DWORD style;
    DWORD exStyle;
    RECT rect;  // in the dialog's client coordinates
};

inline RECT RectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The dialog's controls in creation order.
inline std::vector<Control> ControlsOf(HWND dialog) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(Control{GetDlgCtrlID(child), ClassOf(child), WindowText(child),
                                   (DWORD)GetWindowLongW(child, GWL_STYLE), (DWORD)GetWindowLongW(child, GWL_EXSTYLE),
                                   RectInParent(child)});
    }
    return controls;
}

// A rectangle given in dialog units, in pixels of this dialog.
inline RECT DialogUnitRect(HWND dialog, int x, int y, int width, int height) {
    RECT rect{x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

inline RECT SizedRect(RECT origin, int width, int height) {
    return RECT{origin.left, origin.top, origin.left + width, origin.top + height};
}

inline std::string Show(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

inline std::string Show(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += (c >= 32 && c < 127) ? std::string(1, (char)c) : "\\x" + std::to_string((int)c);
    return out;
}

// Compares controls with what they should be, field by field.
inline void CheckControls(const std::vector<Control>& seen, const std::vector<Control>& expected) {
    CHECK(seen.size() == expected.size());
    for (size_t i = 0; i < seen.size() && i < expected.size(); ++i) {
        CAPTURE(i);
        CHECK(seen[i].id == expected[i].id);
        CHECK(_wcsicmp(seen[i].className.c_str(), expected[i].className.c_str()) == 0);
        CHECK_MESSAGE(seen[i].text == expected[i].text, Show(seen[i].text));
        CHECK(seen[i].style == expected[i].style);
        CHECK(seen[i].exStyle == expected[i].exStyle);
        CHECK_MESSAGE(EqualRect(&seen[i].rect, &expected[i].rect), Show(seen[i].rect), " expected ", Show(expected[i].rect));
    }
}

inline LOGFONTW FontOf(HWND window) {
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

// ---- Pixels -----------------------------------------------------------------

// How many pixels of the area (in the window's client coordinates) have this colour.
inline int CountPixels(HWND window, const RECT& area, COLORREF colour) {
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
}

// Whether the window shows the program's bitmap resource `name` at `origin`
// (client coordinates): compared on a grid of sample points over the top
// `rows` rows of the bitmap (0: all of them), those no other control covers.
inline bool ShowsBitmap(HWND window, POINT origin, const wchar_t* name, int rows = 0) {
    HBITMAP bitmap = (HBITMAP)LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
    if (!bitmap) return false;
    BITMAP size = {};
    GetObjectW(bitmap, sizeof(size), &size);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ before = SelectObject(memory, bitmap);
    HDC screen = GetDC(window);
    int differing = 0;
    if (rows <= 0 || rows > size.bmHeight) rows = size.bmHeight;
    for (int y = 0; y < rows; y += 7)
        for (int x = 0; x < size.bmWidth; x += 11)
            differing += GetPixel(screen, origin.x + x, origin.y + y) != GetPixel(memory, x, y);
    ReleaseDC(window, screen);
    SelectObject(memory, before);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return differing == 0;
}

// ---- The mouse cursor -------------------------------------------------------

// The window the system would send mouse messages to at a point of the
// dialog's client area: a control, unless it lets the mouse through
// (HTTRANSPARENT, as a static without SS_NOTIFY does).
inline HWND WindowUnderPoint(HWND dialog, POINT client) {
    HWND child = ChildWindowFromPointEx(dialog, client, CWP_SKIPINVISIBLE);
    if (!child || child == dialog) return dialog;
    POINT screen = client;
    ClientToScreen(dialog, &screen);
    if (SendMessageW(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)) == HTTRANSPARENT) return dialog;
    return child;
}

struct CursorAnswer {
    HCURSOR cursor;  // the cursor shown afterwards
    LRESULT answer;  // what WM_SETCURSOR returned
};

// The mouse moved to a point of the dialog: WM_SETCURSOR as the system sends
// it, to the window under the mouse, starting from the hourglass.
inline CursorAnswer CursorAt(HWND dialog, POINT client) {
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND under = WindowUnderPoint(dialog, client);
    LRESULT answer = SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return CursorAnswer{GetCursor(), answer};
}

inline POINT MiddleOf(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// HAND_CURSOR as start-up loads it, from the resources linked into the test.
inline bool LoadHandCursor() {
    HAND_CURSOR = LoadCursorA(GetModuleHandleW(nullptr), "autor");
    return HAND_CURSOR != nullptr;
}

struct CursorSpot {
    const char* where;
    POINT at;   // in the dialog's client coordinates
    bool hand;  // HAND_CURSOR there, answered with 1; otherwise the arrow
};

// Moves the mouse over each spot in turn and checks the cursor shown there.
// Safe inside a step.
inline void CheckCursors(HWND dialog, const std::vector<CursorSpot>& spots) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (const CursorSpot& spot : spots) {
        CAPTURE(spot.where);
        CursorAnswer seen = CursorAt(dialog, spot.at);
        CHECK(seen.cursor == (spot.hand ? HAND_CURSOR : arrow));
        if (spot.hand) CHECK(seen.answer == 1);
    }
}

// ---- Scale --------------------------------------------------------------------

// The dots per inch of the screen (LogPixels of the prefix under Wine).
inline UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    UINT dpi = (UINT)GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The window dragged to a monitor of dpi, as Windows tells it (Wine gives all
// its monitors one scale and never does): the size it wants there, then the
// change with the rectangle suggested from that size.
inline void MoveToDpi(HWND window, UINT dpi) {
    RECT outer = {};
    GetWindowRect(window, &outer);
    SIZE wanted = {outer.right - outer.left, outer.bottom - outer.top};
    SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&wanted));
    RECT suggested = {outer.left, outer.top, outer.left + wanted.cx, outer.top + wanted.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// A window's client size and its controls' rectangles, in creation order.
struct Layout {
    SIZE client;
    std::vector<RECT> controls;
};

inline Layout LayoutOf(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    Layout layout = {{client.right, client.bottom}, {}};
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        layout.controls.push_back(RectInParent(child));
    return layout;
}

inline bool SameLayout(const Layout& a, const Layout& b) {
    if (a.client.cx != b.client.cx || a.client.cy != b.client.cy || a.controls.size() != b.controls.size()) return false;
    for (size_t i = 0; i < a.controls.size(); ++i)
        if (!EqualRect(&a.controls[i], &b.controls[i])) return false;
    return true;
}

// ---- What a link would open -------------------------------------------------

struct ShellCall {
    bool hasVerb;
    std::string verb;
    std::string address;
    bool operator==(const ShellCall& other) const {
        return hasVerb == other.hasVerb && verb == other.verb && address == other.address;
    }
};

// Records every OpenWithShell call instead of starting a browser or mail program.
class ShellRecorder {
public:
    ShellRecorder() {
        Calls().clear();
        SetShellOpener([](const char* verb, const std::string& address) {
            Calls().push_back(ShellCall{verb != nullptr, verb ? verb : "", address});
        });
    }
    ~ShellRecorder() { SetShellOpener(nullptr); }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;
    static std::vector<ShellCall>& Calls() {
        static std::vector<ShellCall> calls;
        return calls;
    }
};

// Everything the toolkit holds is as it was.
inline bool SameToolkitCounts(const tk::Counts& a, const tk::Counts& b) {
    return a.records == b.records && a.brushes == b.brushes && a.gdiFonts == b.gdiFonts && a.pictures == b.pictures &&
           a.icons == b.icons && a.liveDialogs == b.liveDialogs;
}

}  // namespace test
