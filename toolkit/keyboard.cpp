// The keyboard in toolkit dialogs: shortcut keys, Enter on the focused button,
// the dialog manager's navigation, and the focus rectangles hidden until the
// first key.
#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

HACCEL AcceleratorsOf(HWND dialog) {
    HACCEL accelerators = nullptr;
    WithRecord(dialog, [&](WindowRecord& record) { accelerators = record.accelerators; });
    return accelerators;
}

bool IsKeyPressIn(HWND dialog, const MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    return message.hwnd == dialog || IsChild(dialog, message.hwnd);
}

// The first key pressed in a dialog shows its focus rectangles from then on.
// The system's controls hear it through the UI state; the owner-drawn ones,
// which ask FocusCuesShown, are repainted.
void ShowFocusCues(HWND dialog) {
    bool wasShown = true;
    WithRecord(dialog, [&](WindowRecord& record) {
        wasShown = record.focusCuesShown;
        record.focusCuesShown = true;
    });
    if (wasShown) return;
    SendMessageW(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus)) InvalidateRect(focus, nullptr, FALSE);
}

// Enter, not held down, on one of the dialog's buttons presses that button:
// owner-drawn buttons are no default push buttons, so the dialog manager
// would send IDOK for them instead.
bool PressesFocusedButton(HWND dialog, const MSG& message) {
    const LPARAM heldDown = (LPARAM)1 << 30;
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN || (message.lParam & heldDown)) return false;
    HWND focus = GetFocus();
    bool isButton = false;
    WithRecord(focus, [&](WindowRecord& record) {
        isButton = !record.isDialog && record.parent == dialog && record.kind == ControlKind::Button;
    });
    if (!isButton || !IsWindowEnabled(focus)) return false;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), (LPARAM)focus);
    return true;
}

}  // namespace

void SetShortcuts(HWND dialog, const ACCEL* keys, int count) {
    if (!IsDialogRecord(dialog)) return;
    HACCEL made = CreateAcceleratorTableW(const_cast<ACCEL*>(keys), count);
    HACCEL previous = nullptr;
    WithRecord(dialog, [&](WindowRecord& record) {
        previous = record.accelerators;
        record.accelerators = made;
    });
    if (previous) DestroyAcceleratorTable(previous);
}

bool FocusCuesShown(HWND dialog) {
    bool shown = false;
    WithRecord(dialog, [&](WindowRecord& record) { shown = record.focusCuesShown; });
    return shown;
}

void HideFocusCues(HWND dialog) {
    WithRecord(dialog, [](WindowRecord& record) { record.focusCuesShown = false; });
    SendMessageW(dialog, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
}

bool TakenByDialog(HWND dialog, MSG* message) {
    if (IsKeyPressIn(dialog, *message)) ShowFocusCues(dialog);
    HACCEL accelerators = AcceleratorsOf(dialog);
    if (accelerators && TranslateAcceleratorW(dialog, accelerators, message)) return true;
    if (PressesFocusedButton(dialog, *message)) return true;
    return IsDialogMessageW(dialog, message) != FALSE;
}

}  // namespace tk
