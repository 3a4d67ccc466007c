// Dialogs and controls: creation from in-memory templates, the toolkit's
// dialog procedure, the modal and modeless loops, finishing and repainting.
#include "toolkit/internal.h"
#include "toolkit/template.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;  // 0x185
// No z-order change, no redraw, no activation, no copy of bits, no owner
// z-order, no WM_WINDOWPOSCHANGING.
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                             SWP_NOSENDCHANGING;  // 0x71C

// Raised by WM_INITDIALOG, lowered by WM_DESTROY of a toolkit dialog.
int32_t g_liveDialogs = 0;
// The last toolkit dialog activated; none once one is deactivated.
HWND g_activeDialog = nullptr;

bool BuildTemplate(DWORD style, DWORD exStyle, int32_t x, int32_t y, int32_t width, int32_t height,
                   DialogTemplate* out) {
    FontDescription font;
    if (!RegisteredFont(1, &font)) return false;
    TemplateFields fields = {};
    fields.style = style;
    fields.exStyle = exStyle;
    fields.x = (int16_t)(x == DefaultPosition ? 0 : x);
    fields.y = (int16_t)(y == DefaultPosition ? 0 : y);
    fields.width = (int16_t)width;
    fields.height = (int16_t)height;
    fields.title = L" ";
    fields.pointSize = (WORD)font.points;
    fields.weight = TemplateFontWeight(font.logFont.lfWeight);
    fields.italic = font.logFont.lfItalic;
    fields.charSet = font.logFont.lfCharSet;
    fields.face = font.logFont.lfFaceName;
    WriteDialogTemplate(fields, out);
    return out->size != 0;
}

// Pixels mode: the requested size, at the dialog's scale, becomes the client
// area, and the window is centred on the work area by its outer size, or
// placed relative to its owner.
void PlaceInPixels(HWND dialog, HWND owner, DWORD style, const Box& given) {
    Box scaled = ScaledBox(given, DialogDpi(dialog));
    int32_t x = scaled.x, y = scaled.y, width = scaled.width, height = scaled.height;
    RECT outer = {}, client = {};
    GetWindowRect(dialog, &outer);
    GetClientRect(dialog, &client);
    width += (outer.right - outer.left) - (client.right - client.left);
    height += (outer.bottom - outer.top) - (client.bottom - client.top);
    if (style & DS_CENTER) {
        RECT work = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        x = CenteredOrigin(work.left, work.right, width);
        y = CenteredOrigin(work.top, work.bottom, height);
    } else if (owner) {
        POINT origin = {0, 0};
        ClientToScreen(owner, &origin);
        x += origin.x;
        y += origin.y;
    }
    SetWindowPos(dialog, nullptr, x, y, width, height, kPlaceFlags);
}

// The window a WM_COMMAND, WM_HSCROLL, WM_VSCROLL or WM_NOTIFY comes from.
HWND SourceControl(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: return GetDlgItem(dialog, LOWORD(wParam));
    case WM_HSCROLL:
    case WM_VSCROLL: return (HWND)lParam;
    case WM_NOTIFY: return lParam ? ((const NMHDR*)lParam)->hwndFrom : nullptr;
    default: return nullptr;
    }
}

DialogCallback CallbackOf(HWND window) {
    DialogCallback callback = nullptr;
    WithRecord(window, [&](WindowRecord& record) { callback = record.callback; });
    return callback;
}

// Offers a message first to the control it comes from, then to the dialog's
// callback. The callbacks may destroy the dialog, so no record is held across them.
int32_t OfferToCallbacks(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = SourceControl(window, message, wParam, lParam);
    if (control) {
        DialogCallback callback = CallbackOf(control);
        int32_t result = callback ? callback(window, message, wParam, lParam) : 0;
        if (result != 0) return result;
    }
    DialogCallback callback = CallbackOf(window);
    return callback ? callback(window, message, wParam, lParam) : 0;
}

void ReleaseRecord(WindowRecord* record) {
    DropFontUse(record->fontId, record->fontDpi);
    ReleaseBrushOf(*record);
    ReleasePicturesOf(*record);
    if (record->accelerators) DestroyAcceleratorTable(record->accelerators);
    if (record->ownDialogFont) DeleteObject(record->ownDialogFont);
    delete record;
}

// WM_NCDESTROY: the controls' records go first, then the dialog's own. Their
// windows are gone by now (children receive WM_NCDESTROY before the dialog).
void ReleaseDialogRecords(HWND dialog) {
    while (WindowRecord* record = UnlinkDialogRecord(dialog)) ReleaseRecord(record);
    if (g_activeDialog == dialog) g_activeDialog = nullptr;
}

INT_PTR DefaultAnswer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return AnswerColorMessage(message, (HDC)wParam, (HWND)lParam);
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        FinishDialog(window, 0);
        return TRUE;
    default: return FALSE;
    }
}

// A dialog procedure's answer to a message that wants a value back.
INT_PTR Answer(HWND window, LRESULT value) {
    SetWindowLongPtrW(window, DWLP_MSGRESULT, value);
    return TRUE;
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        // No callback is attached yet; the show operations send their own.
        ++g_liveDialogs;
        return FALSE;
    case WM_DESTROY: --g_liveDialogs; break;
    case WM_GETDPISCALEDSIZE:
        if (!AnswerScaledSize(window, (UINT)wParam, (SIZE*)lParam)) return FALSE;
        return Answer(window, TRUE);
    case WM_DPICHANGED:
        // Laid out anew first; the callback then hears of it too.
        Rescale(window, LOWORD(wParam), (const RECT*)lParam);
        OfferToCallbacks(window, message, wParam, lParam);
        return Answer(window, 0);
    case WM_ACTIVATE:
        g_activeDialog = LOWORD(wParam) == WA_INACTIVE ? nullptr : window;
        return 0;
    default: break;
    }

    int32_t result = OfferToCallbacks(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Released whatever the callback answered: nothing outlives its window.
        // FALSE lets the dialog manager free what it made for the dialog too
        // (the template's font: answering TRUE leaks it, one per dialog).
        ReleaseDialogRecords(window);
        return result;
    }
    if (result != 0) {
        if (GetWindowLongPtrW(window, DWLP_MSGRESULT) == 0) SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return result;
    }
    return DefaultAnswer(window, message, wParam, lParam);
}

bool IsLiveWindow(HWND window) { return window && IsWindow(window); }

bool BelongsTo(HWND window, HWND owner) { return IsLiveWindow(window) && (window == owner || IsChild(owner, window)); }

// What a show operation needs of the dialog's record.
struct ShowState {
    HWND owner;
    int showCommand;
    DWORD style;
};

// Steps shared by ShowModal and ShowModeless: the direct WM_INITDIALOG and
// WM_SIZE calls, then the callback and result target attached to the record.
// False when the dialog has no record.
bool AttachCallback(HWND dialog, DialogCallback callback, int32_t* resultTarget, ShowState* state) {
    if (callback) {
        int showCommand = ShowCommandFor((DWORD)GetWindowLongW(dialog, GWL_STYLE));
        WithRecord(dialog, [&](WindowRecord& record) { showCommand = record.showCommand; });
        RECT client = {};
        GetClientRect(dialog, &client);
        callback(dialog, WM_INITDIALOG, (WPARAM)dialog, 0);
        callback(dialog, WM_SIZE, SizeTypeFor(showCommand), MAKELONG(client.right, client.bottom));
    }
    HideFocusCues(dialog);
    return WithRecord(dialog, [&](WindowRecord& record) {
        record.callback = callback;
        record.resultTarget = resultTarget;
        *state = {record.parent, record.showCommand, record.style};
    });
}

// The performance counter in microseconds: GetTickCount may move in steps of
// 16 ms, half of a busy-window wait.
LONGLONG Microseconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    LONGLONG whole = counter.QuadPart / frequency.QuadPart, part = counter.QuadPart % frequency.QuadPart;
    return whole * 1000000 + part * 1000000 / frequency.QuadPart;
}

// Blocks until input reaches the thread's queue, one of the objects is
// signalled (then true) or milliseconds have passed. MWMO_INPUTAVAILABLE also
// wakes for input that an earlier peek saw but left.
bool WaitForInput(DWORD milliseconds, const HANDLE* objects = nullptr, DWORD count = 0) {
    DWORD woken = MsgWaitForMultipleObjectsEx(count, objects, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    return woken < WAIT_OBJECT_0 + count;
}

}  // namespace

HWND NewDialog(CoordinateMode mode, HWND owner, const std::wstring& title, int32_t x, int32_t y, int32_t width,
               int32_t height, DWORD style, DWORD exStyle, PicturePainter painter) {
    style = DialogStyle(style, x == DefaultPosition || y == DefaultPosition, owner != nullptr);
    DialogTemplate dialogTemplate;
    if (!BuildTemplate(style, exStyle, x, y, width, height, &dialogTemplate)) return nullptr;
    HWND dialog = CreateDialogIndirectParamW(ProgramModule(), (LPCDLGTEMPLATEW)dialogTemplate.bytes, owner,
                                             DialogProcedure, 0);
    if (!dialog) return nullptr;
    SetWindowTextW(dialog, title.c_str());

    WindowRecord record = BlankRecord(dialog);
    record.parent = owner;
    record.mode = mode;
    record.isDialog = true;
    record.showCommand = ShowCommandFor(style);
    record.dialogFont = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
    record.style = style;
    record.exStyle = exStyle;
    record.given = Box{x, y, width, height};
    record.painter = painter;
    if (!AddRecord(record)) {
        DestroyWindow(dialog);
        return nullptr;
    }
    TakeScale(dialog, WindowDpi(dialog));
    if (mode == CoordinateMode::Pixels) PlaceInPixels(dialog, owner, style, record.given);
    return dialog;
}

void AddControl(ControlKind kind, HWND dialog, int32_t id, const std::wstring& text, int32_t x, int32_t y,
                int32_t width, int32_t height, DWORD style, DWORD exStyle, DialogCallback callback) {
    CoordinateMode mode = CoordinateMode::Pixels;
    if (!WithRecord(dialog, [&](WindowRecord& record) { mode = record.mode; }) || !IsDialogRecord(dialog)) return;
    const Box given = {x, y, width, height};
    const Box box = ControlBox(dialog, given);
    style = ControlStyle(kind, style);
    bool image = IsImageKind(kind);
    bool asIcon = image && !IsBitmapResource(text);
    if (asIcon) style = IconControlStyle(style);

    HWND control = CreateWindowExW(exStyle, ControlClass(kind), image ? nullptr : text.c_str(), style, box.x, box.y,
                                   box.width, box.height, dialog, (HMENU)(INT_PTR)id, ProgramModule(), nullptr);
    if (!control) return;
    SendMessageW(control, WM_SETFONT, (WPARAM)DialogFontOf(dialog), TRUE);

    WindowRecord record = BlankRecord(control);
    record.parent = dialog;
    record.mode = mode;
    record.given = given;
    record.pictureIsIcon = asIcon;
    record.kind = kind;
    record.callback = callback;
    record.style = style;
    record.exStyle = exStyle;
    if (!AddRecord(record)) {
        // A window the toolkit cannot account for is not kept.
        DestroyWindow(control);
        return;
    }

    if (kind == ControlKind::Button && IsDefaultButtonStyle(style)) SendMessageW(dialog, DM_SETDEFID, (WPARAM)id, 0);
    if (image) ShowPicture(control, kind, text, asIcon);
}

void ShowModal(HWND dialog, DialogCallback callback, int32_t* resultTarget) {
    // Disabling the owner takes the focus from its control: it goes back there afterwards.
    HWND ownerFocus = GetFocus();
    SetForegroundWindow(dialog);
    ShowState state = {};
    if (!AttachCallback(dialog, callback, resultTarget, &state)) return;
    if (state.owner) {
        SendMessageW(state.owner, WM_CANCELMODE, 0, 0);
        // EnableWindow answers whether the owner was disabled already (by a
        // modal window further down the stack): then it is not ours to enable.
        bool disabledHere = !EnableWindow(state.owner, FALSE);
        WithRecord(dialog, [&](WindowRecord& record) { record.ownerDisabled = disabledHere; });
    }
    ShowWindow(dialog, state.showCommand);

    // Sleeps while the queue is empty; the owner hears WM_ENTERIDLE once each
    // time the queue runs empty, not again for a wake-up that brought nothing.
    bool idleAnnounced = false;
    while (IsWindow(dialog)) {
        MSG message;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!idleAnnounced && !(state.style & DS_NOIDLEMSG) && state.owner)
                SendMessageW(state.owner, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)dialog);
            idleAnnounced = true;
            if (IsWindow(dialog)) WaitForInput(INFINITE);
            continue;
        }
        idleAnnounced = false;
        if (IsWindow(dialog) && TakenByDialog(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (state.owner) SetFocus(BelongsTo(ownerFocus, state.owner) ? ownerFocus : state.owner);
}

void ShowModeless(HWND dialog, DialogCallback callback) {
    ShowState state = {};
    if (!AttachCallback(dialog, callback, nullptr, &state)) return;
    ShowWindow(dialog, state.showCommand);
    if (PaintsWhenShown(state.showCommand)) Redraw(dialog);
}

void FinishDialog(HWND dialog, int32_t result) {
    HWND owner = nullptr;
    HACCEL accelerators = nullptr;
    bool isDialog = false;
    WithRecord(dialog, [&](WindowRecord& record) {
        isDialog = record.isDialog;
        if (!isDialog) return;
        if (record.resultTarget) *record.resultTarget = result;
        // Only a modal show disabled the owner; a modeless dialog's owner may
        // be disabled by a modal window still open above it.
        if (record.ownerDisabled) owner = record.parent;
        accelerators = record.accelerators;
        record.accelerators = nullptr;
    });
    if (!isDialog) return;
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    if (owner) EnableWindow(owner, TRUE);
    if (accelerators) DestroyAcceleratorTable(accelerators);
    // WM_DESTROY and WM_NCDESTROY pass through the dialog procedure before this returns.
    DestroyWindow(dialog);
}

int32_t PumpEvents(DWORD idleMilliseconds, const HANDLE* wakeOn, DWORD wakeCount) {
    MSG message;
    // A queued message that arrives during the wait is handled at once. A
    // message sent from another thread or process (a window text asked for,
    // say) is handled inside the peek and the wait goes on, so that such calls
    // cannot make a caller's polling loop run faster.
    LONGLONG start = Microseconds();
    while (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        LONGLONG left = (LONGLONG)idleMilliseconds * 1000 - (Microseconds() - start);
        if (left <= 0 || WaitForInput((DWORD)((left + 999) / 1000), wakeOn, wakeCount)) return g_liveDialogs;
    }
    HWND active = g_activeDialog;
    if (!(active && IsWindow(active) && TakenByDialog(active, &message))) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return g_liveDialogs;
}

bool HasOtherOpenWindow(HWND window) {
    struct Search {
        HWND besides;
        bool found;
    } search{window, false};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND other, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (other == s->besides || !IsWindowVisible(other)) return TRUE;
            s->found = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SetText(HWND window, const std::wstring& text) {
    if (!IsLiveWindow(window)) return;
    SetWindowTextW(window, text.c_str());
}

void Redraw(HWND window) {
    // RedrawWindow takes a null window for the desktop and every window on it:
    // a control of a dialog that is gone must not repaint the whole screen.
    if (!IsLiveWindow(window)) return;
    RedrawWindow(window, nullptr, nullptr, kRedrawFlags);
    // What shows through a transparent window belongs to its parent: repaint
    // that part of the parent too, and so on up.
    for (HWND current = window;;) {
        HWND parent = nullptr;
        Color background = ColorUnset;
        WithRecord(current, [&](WindowRecord& record) {
            parent = record.parent;
            background = record.background;
        });
        if (background != ColorTransparent || !parent) return;
        RECT area = {};
        GetWindowRect(current, &area);
        MapWindowPoints(nullptr, parent, (POINT*)&area, 2);
        RedrawWindow(parent, &area, nullptr, kRedrawFlags);
        current = parent;
    }
}

int32_t ShowMessage(const std::wstring& text, const std::wstring& caption, UINT flags) {
    Sleep(5);
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), flags);
}

void AlertBeep() { MessageBeep(0); }

Counts GetCounts() {
    Counts counts = {};
    counts.records = RecordCount();
    counts.brushes = LiveBrushes();
    counts.gdiFonts = LiveGdiFonts() + OwnDialogFonts();
    counts.pictures = LivePictures();
    counts.icons = LiveIcons();
    counts.liveDialogs = g_liveDialogs;
    return counts;
}

}  // namespace tk
