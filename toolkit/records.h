#pragma once
// The toolkit's bookkeeping: one WindowRecord per dialog and per control it
// made, in one singly linked list, newest first, behind a spin lock.
#include <windows.h>

#include <cstdint>

#include <string>

#include "toolkit/scale_rules.h"
#include "toolkit/spin_lock.h"
#include "toolkit/toolkit.h"

namespace tk {

// The resource name of a picture, icon or cursor that a dialog may have to
// show again at another scale; a longer name is not kept (its picture stays
// as it was drawn first).
struct PictureName {
    wchar_t text[32];
};
PictureName KeptName(const std::wstring& name);
bool SameName(const PictureName& kept, const std::wstring& name);

// A picture the painter drew for one of a dialog's image controls, kept for
// as long as the dialog stays at its scale (the busy window shows four in turn).
struct DrawnPicture {
    DrawnPicture* next;
    PictureName name;
    int32_t width, height;
    HBITMAP bitmap;  // owned
};

// Lives from the window's creation until its dialog's WM_NCDESTROY. The list
// owns the record; the fields marked "owned" are released together with it
// (ReleaseDialogRecords in dialogs.cpp) and everything else is borrowed.
struct WindowRecord {
    WindowRecord* next;
    HWND window;
    HWND parent;  // a dialog's owner (may be none), a control's dialog
    CoordinateMode mode;
    bool isDialog;
    bool pictureIsIcon;  // image control: made for an icon instead of a bitmap
    int showCommand;     // dialog: SW_SHOWMAXIMIZED, SW_MINIMIZE or SW_SHOW
    HFONT dialogFont;    // dialog: the template's font, made and deleted by the dialog manager
    int32_t fontId;      // control: the toolkit font it shows, one use of it; 0 for none
    DialogCallback callback;
    int32_t* resultTarget;  // where FinishDialog stores the end value of a modal show
    bool ownerDisabled;     // dialog: its modal show disabled the owner, so finishing enables it
    HACCEL accelerators;    // owned: the dialog's shortcut keys
    bool focusCuesShown;    // dialog: a key has been pressed in it since it was shown
    Color foreground;
    Color background;
    HBRUSH brush;  // shared by every record with this background colour; the last of them deletes it
    ControlKind kind;
    DWORD style;
    DWORD exStyle;
    HANDLE picture;  // owned: an image control's bitmap or icon
    HICON bigIcon;   // owned
    HICON smallIcon; // owned

    // Scale. The layout as the caller gave it, in 96-DPI pixels or dialog
    // units: a dialog's position and client size, a control's box.
    Box given;
    UINT dpi;               // dialog: the scale it is laid out for now
    UINT contentDpi;        // dialog: the scale its fonts and pictures are made at: dpi, or in
                            // dialog units as much larger as those units have grown
    BaseUnits units;        // dialog in dialog units: its base units at dpi
    HFONT ownDialogFont;    // dialog: owned: the dialog font where the dialog manager's is of another size
                            // (deleted with the record, after its controls)
    PicturePainter painter; // dialog: draws its pictures at scales other than 100 %
    PictureName iconName;   // dialog: SetDialogIcon's, drawn again at another scale
    HCURSOR cursor;         // dialog: owned: DialogCursor's, drawn for dpi
    PictureName cursorName;
    DrawnPicture* drawn;    // dialog: owned
    UINT fontDpi;           // control: the scale of the font use it holds
    PictureName pictureName;  // image control: what it shows, to show again at another scale
    HANDLE shownPicture;    // image control: its own picture, one of the dialog's drawn ones, or none
};

// A record with nothing in it but its window and unset colours.
WindowRecord BlankRecord(HWND window);

// Puts a copy of fields at the head of the list; false when it cannot be made.
bool AddRecord(const WindowRecord& fields);

// Takes one record of the dialog out of the list: its controls' first, then
// its own; nullptr when none is left. The caller owns what it gets.
WindowRecord* UnlinkDialogRecord(HWND dialog);

int RecordCount();

namespace records_detail {
SpinLock& Lock();
WindowRecord* Head();
WindowRecord* Find(HWND window);  // lock held
}  // namespace records_detail

// Runs visit(record) for the window's record under the list lock; false when
// the window has none. visit must not send messages or call back.
template <typename Visit>
bool WithRecord(HWND window, Visit visit) {
    if (!window) return false;
    SpinLockHold hold(records_detail::Lock());
    WindowRecord* record = records_detail::Find(window);
    if (!record) return false;
    visit(*record);
    return true;
}

// Runs visit(record) for every record, newest first, under the list lock;
// stops at the first visit that returns true, and says whether one did.
template <typename Visit>
bool AnyRecord(Visit visit) {
    SpinLockHold hold(records_detail::Lock());
    for (WindowRecord* record = records_detail::Head(); record; record = record->next)
        if (visit(*record)) return true;
    return false;
}

inline bool HasRecord(HWND window) {
    return WithRecord(window, [](WindowRecord&) {});
}

inline bool IsDialogRecord(HWND window) {
    bool isDialog = false;
    WithRecord(window, [&](WindowRecord& record) { isDialog = record.isDialog; });
    return isDialog;
}

}  // namespace tk
