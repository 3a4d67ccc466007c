// Foreground and background colours of dialogs and controls, the background
// brushes shared by colour, and the answers to the WM_CTLCOLOR* messages.
#include <atomic>

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

// Brushes made by CreateSolidBrush and not yet deleted.
std::atomic<int> g_liveBrushes{0};

// A background brush belongs to its colour: every record with that background
// holds the same handle, and the last record to let go of it deletes it.
HBRUSH BrushInUseFor(Color background) {
    HBRUSH brush = nullptr;
    AnyRecord([&](WindowRecord& record) {
        if (record.background != background || !record.brush) return false;
        brush = record.brush;
        return true;
    });
    return brush;
}

bool BrushStillUsed(HBRUSH brush) {
    return AnyRecord([&](WindowRecord& record) { return record.brush == brush; });
}

void DeleteBrush(HBRUSH brush) {
    DeleteObject(brush);
    --g_liveBrushes;
}

}  // namespace

void SetColors(HWND dialog, int32_t controlId, Color foreground, Color background) {
    foreground = NormalForeground(foreground);
    background = NormalBackground(background);
    HWND target = controlId == DialogItself ? dialog : GetDlgItem(dialog, controlId);
    if (!IsDialogRecord(dialog) || !HasRecord(target)) return;

    HBRUSH brush = nullptr;
    if (background >= 0) {
        brush = BrushInUseFor(background);
        if (!brush) {
            brush = CreateSolidBrush((COLORREF)background);
            if (brush) ++g_liveBrushes;
            else background = ColorDefault;
        }
    }
    HBRUSH previous = nullptr;
    WithRecord(target, [&](WindowRecord& record) {
        previous = record.brush;
        record.brush = brush;
        record.foreground = foreground;
        record.background = background;
    });
    if (previous && !BrushStillUsed(previous)) DeleteBrush(previous);
}

void ReleaseBrushOf(const WindowRecord& record) {
    if (record.brush && !BrushStillUsed(record.brush)) DeleteBrush(record.brush);
}

int LiveBrushes() { return g_liveBrushes; }

INT_PTR AnswerColorMessage(UINT message, HDC dc, HWND window) {
    Color foreground = ColorUnset, background = ColorUnset;
    HBRUSH brush = nullptr;
    if (!WithRecord(window, [&](WindowRecord& record) {
            foreground = record.foreground;
            background = record.background;
            brush = record.brush;
        }))
        return FALSE;
    if (foreground == ColorUnset) return FALSE;

    SetTextColor(dc, foreground == ColorDefault ? GetSysColor(TextColorIndex(message)) : (COLORREF)foreground);
    if (background >= 0) {
        SetBkColor(dc, (COLORREF)background);
        return (INT_PTR)brush;
    }
    if (background == ColorDefault) {
        int index = BackgroundColorIndex(message);
        SetBkColor(dc, GetSysColor(index));
        return (INT_PTR)GetSysColorBrush(index);
    }
    // Transparent: the control fills nothing and its parent's background shows.
    SetBkMode(dc, TRANSPARENT);
    return (INT_PTR)GetStockObject(NULL_BRUSH);
}

}  // namespace tk
