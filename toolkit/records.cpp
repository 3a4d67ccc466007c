#include "toolkit/records.h"

#include <new>

namespace tk {

namespace {
SpinLock g_recordLock;
WindowRecord* g_records = nullptr;  // newest first
}  // namespace

namespace records_detail {

SpinLock& Lock() { return g_recordLock; }
WindowRecord* Head() { return g_records; }

WindowRecord* Find(HWND window) {
    for (WindowRecord* record = g_records; record; record = record->next)
        if (record->window == window) return record;
    return nullptr;
}

}  // namespace records_detail

PictureName KeptName(const std::wstring& name) {
    PictureName kept = {};
    if (name.size() < sizeof(kept.text) / sizeof(kept.text[0])) name.copy(kept.text, name.size());
    return kept;
}

bool SameName(const PictureName& kept, const std::wstring& name) {
    return kept.text[0] && _wcsicmp(kept.text, name.c_str()) == 0;
}

WindowRecord BlankRecord(HWND window) {
    WindowRecord record = {};
    record.window = window;
    record.foreground = ColorUnset;
    record.background = ColorUnset;
    return record;
}

bool AddRecord(const WindowRecord& fields) {
    WindowRecord* record = new (std::nothrow) WindowRecord(fields);
    if (!record) return false;
    SpinLockHold hold(g_recordLock);
    record->next = g_records;
    g_records = record;
    return true;
}

WindowRecord* UnlinkDialogRecord(HWND dialog) {
    SpinLockHold hold(g_recordLock);
    WindowRecord** own = nullptr;
    for (WindowRecord** link = &g_records; *link; link = &(*link)->next) {
        WindowRecord* record = *link;
        if (!record->isDialog && record->parent == dialog) {
            *link = record->next;
            return record;
        }
        if (record->window == dialog && record->isDialog) own = link;
    }
    if (!own) return nullptr;
    WindowRecord* record = *own;
    *own = record->next;
    return record;
}

int RecordCount() {
    SpinLockHold hold(g_recordLock);
    int count = 0;
    for (WindowRecord* record = g_records; record; record = record->next) ++count;
    return count;
}

}  // namespace tk
