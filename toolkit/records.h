#pragma once
// The toolkit's bookkeeping: one WindowRecord per dialog and per control it
// made, in one singly linked list, newest first, behind a spin lock.
#include <windows.h>

#include <cstdint>

#include "toolkit/spin_lock.h"
#include "toolkit/toolkit.h"

namespace tk {

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
