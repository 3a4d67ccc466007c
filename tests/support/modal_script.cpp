#include "tests/support/modal_script.h"

namespace test {

static ModalScript* g_script = nullptr;

ModalScript::ModalScript(std::vector<Step> steps, UINT intervalMs) : steps_(std::move(steps)) {
    g_script = this;
    timer_ = SetTimer(nullptr, 0, intervalMs, OnTick);
}

ModalScript::~ModalScript() {
    if (timer_) KillTimer(nullptr, timer_);
    g_script = nullptr;
}

void CALLBACK ModalScript::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* script = g_script;
    if (!script || script->finished()) return;
    // Taken before running it, so that ticks inside a nested loop go on.
    size_t index = script->next_++;
    if (script->finished() && script->timer_) {
        KillTimer(nullptr, script->timer_);
        script->timer_ = 0;
    }
    script->steps_[index]();
}

COLORREF ClientPixel(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return color;
}

}  // namespace test
