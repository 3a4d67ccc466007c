#pragma once
// Drives a modal window of the program from inside its own message loop, on
// the test's thread, as a user would: clicks, keys, the close box. Header
// only; needs no test framework, so tools can use it too.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "app/globals.h"
#include "tests/support/test_support.h"

namespace test {

// ---- Driving a modal window -------------------------------------------------

// One step of a script: acts on the open window, or looks at it. Steps run
// inside the window's own message loop, so no exception may leave them (in a
// test: CHECK, never REQUIRE).
using WindowStep = std::function<void(HWND window)>;

struct ModalRun {
    HWND window = nullptr;  // the window the steps ran on
    size_t stepsRun = 0;
    size_t stepsGiven = 0;
    bool forced = false;  // still open long after the last step: destroyed by the script
    bool completed() const { return window != nullptr && stepsRun == stepsGiven && !forced; }
};

namespace detail {

struct ModalScript {
    const wchar_t* caption;
    std::vector<WindowStep> steps;
    DWORD lingerMs;
    DWORD lastStepTime;
    ModalRun run;
    bool busy;
};

inline ModalScript*& CurrentScript() {
    static ModalScript* script = nullptr;
    return script;
}

// A visible dialog of this thread with exactly this caption (any caption for nullptr).
inline HWND FindOwnDialog(const wchar_t* caption) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    } search{caption, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (!IsWindowVisible(window) || test::ClassOf(window) != L"#32770") return TRUE;
            if (s->caption && test::WindowText(window) != s->caption) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline void CALLBACK ScriptTick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* s = CurrentScript();
    if (!s || s->busy) return;
    s->busy = true;
    if (!s->run.window) s->run.window = FindOwnDialog(s->caption);
    HWND window = s->run.window;
    if (window && IsWindow(window) && s->run.stepsRun < s->steps.size()) {
        s->steps[s->run.stepsRun++](window);
        s->lastStepTime = GetTickCount();
    } else if (GetTickCount() - s->lastStepTime > s->lingerMs) {
        // Still open after the last step, or never seen under its caption.
        HWND stuck = window ? window : FindOwnDialog(nullptr);
        if (stuck && IsWindow(stuck)) {
            s->run.forced = true;
            HWND owner = GetWindow(stuck, GW_OWNER);
            DestroyWindow(stuck);
            if (owner) EnableWindow(owner, TRUE);
        }
    }
    s->busy = false;
}

}  // namespace detail

// Calls show(), which shows a modal dialog captioned `caption` and returns once
// it is gone, and meanwhile runs the steps on that dialog, one per timer tick.
// Between two steps the dialog's loop handles what the previous step posted.
// A dialog still open lingerMs after the last step, or one that never shows
// that caption, is destroyed (forced), so that a broken window fails fast.
inline ModalRun DriveModal(const wchar_t* caption, void (*show)(), std::vector<WindowStep> steps,
                           DWORD lingerMs = 3000) {
    detail::ModalScript script{caption, std::move(steps), lingerMs, GetTickCount(), ModalRun{}, false};
    script.run.stepsGiven = script.steps.size();
    detail::CurrentScript() = &script;
    UINT_PTR timer = SetTimer(nullptr, 0, 30, detail::ScriptTick);
    show();
    KillTimer(nullptr, timer);
    MSG stale;
    while (PeekMessageW(&stale, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
    detail::CurrentScript() = nullptr;
    return script.run;
}

// Paints the window and all its controls now.
inline void PaintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

inline void PostClose(HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

// A key pressed while the window is active: it goes to the control with the focus.
inline void PostKey(HWND window, UINT virtualKey) {
    HWND focus = GetFocus();
    HWND target = (focus && (focus == window || IsChild(window, focus))) ? focus : window;
    PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
}

inline void PostAltF4(HWND window) { PostMessageW(window, WM_SYSKEYDOWN, VK_F4, 0x20000001); }

// A mouse message at the middle of a control.
inline void PostMouse(HWND control, UINT message, WPARAM keys) {
    RECT client;
    GetClientRect(control, &client);
    PostMessageW(control, message, keys, MAKELPARAM(client.right / 2, client.bottom / 2));
}

inline void PostClick(HWND control) {
    PostMouse(control, WM_LBUTTONDOWN, MK_LBUTTON);
    PostMouse(control, WM_LBUTTONUP, 0);
}

// A double click as the system delivers it: down, up, double click, up.
inline void PostDoubleClick(HWND control) {
    PostClick(control);
    PostMouse(control, WM_LBUTTONDBLCLK, MK_LBUTTON);
    PostMouse(control, WM_LBUTTONUP, 0);
}

// Files dragged from Explorer and let go over window: an HDROP posted as
// WM_DROPFILES, which the receiver frees with DragFinish.
inline bool PostDroppedFiles(HWND window, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) list += path + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    if (!memory) return false;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (PostMessageW(window, WM_DROPFILES, (WPARAM)memory, 0)) return true;
    GlobalFree(memory);
    return false;
}

// ---- An owner for the windows that need MAIN_WINDOW -------------------------

// A plain visible top-level window standing in for the main window, held in
// MAIN_WINDOW while it lives.
class StandInMainWindow {
public:
    StandInMainWindow() {
        window_ = CreateWindowExW(0, L"STATIC", L"Stand-in main window", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 10,
                                  10, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SetFocus(window_);
        MAIN_WINDOW = window_;
    }
    ~StandInMainWindow() {
        MAIN_WINDOW = nullptr;
        DestroyWindow(window_);
    }
    StandInMainWindow(const StandInMainWindow&) = delete;
    StandInMainWindow& operator=(const StandInMainWindow&) = delete;
    HWND handle() const { return window_; }

private:
    HWND window_;
};

}  // namespace test
