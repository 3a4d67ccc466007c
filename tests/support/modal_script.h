#pragma once
// Runs a test's steps on this thread, one per timer tick, while a modal loop
// of the program runs here too. A step that opens a nested modal window keeps
// the ticks coming: the following steps run inside that window's loop.
#include <windows.h>

#include <functional>
#include <vector>

namespace test {

class ModalScript {
public:
    using Step = std::function<void()>;
    explicit ModalScript(std::vector<Step> steps, UINT intervalMs = 60);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;
    bool finished() const { return next_ >= steps_.size(); }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    std::vector<Step> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

// The client-area pixel of window at (x, y), after letting it paint.
COLORREF ClientPixel(HWND window, int x, int y);

}  // namespace test
