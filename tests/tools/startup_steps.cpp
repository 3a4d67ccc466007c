// Where the program's start-up time goes, each step timed cold in one fresh
// process, in the program's order: what the loader does before main (the DLLs
// the program imports), the hand cursor, the first font, the banner bitmap,
// the first window made, the start window from RunStartWindow
// to its first paint; then what comes after that paint: COM, the common
// control classes and the settings file. Prints one "step: ms" line each.
// Run it from the program's folder (it reads DU_ZID.ini there).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "app/globals.h"
#include "app/program_path.h"
#include "convert/settings.h"
#include "windows/secondary_windows.h"

namespace {

double g_frequency = 0;

double Milliseconds() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * (double)counter.QuadPart / g_frequency;
}

ULONGLONG Ticks(const FILETIME& time) { return ((ULONGLONG)time.dwHighDateTime << 32) | time.dwLowDateTime; }

// From the process's creation to now, in milliseconds.
double SinceProcessCreation() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    return (double)(Ticks(now) - Ticks(created)) / 10000.0;
}

void Report(const char* step, double milliseconds) { std::printf("%s: %.1f ms\n", step, milliseconds); }

template <typename Step>
void Time(const char* name, Step step) {
    double start = Milliseconds();
    step();
    Report(name, Milliseconds() - start);
}

// Set by the thread timer once the start window is up with nothing left to paint.
double g_startWindowPainted = 0;

void CALLBACK WatchStartWindow(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM found) -> BOOL {
            if (!IsWindowVisible(candidate)) return TRUE;
            *(HWND*)found = candidate;
            return FALSE;
        },
        (LPARAM)&window);
    if (!window || GetUpdateRect(window, nullptr, FALSE)) return;
    if (g_startWindowPainted == 0) g_startWindowPainted = Milliseconds();
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace

int main() {
    Report("process creation to main: loader and imported DLLs", SinceProcessCreation());
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_frequency = (double)frequency.QuadPart;

    Time("hand cursor", [] { HAND_CURSOR = LoadCursorA(GetModuleHandleW(nullptr), "autor"); });
    Time("first font (Times New Roman 12, measured on the screen)", [] {
        HFONT font = CreateFontW(-16, 0, 0, 0, FW_BOLD, TRUE, 0, 0, 0, 0, 0, 0, 0, L"Times New Roman");
        HDC screen = GetDC(nullptr);
        HGDIOBJ before = SelectObject(screen, font);
        TEXTMETRICW metrics;
        GetTextMetricsW(screen, &metrics);
        SelectObject(screen, before);
        ReleaseDC(nullptr, screen);
        DeleteObject(font);
    });
    Time("banner bitmap (TITLE, 640 x 154)", [] {
        DeleteObject(LoadImageW(GetModuleHandleW(nullptr), L"TITLE", IMAGE_BITMAP, 0, 0, 0));
    });
    Time("first window made (a hidden button)", [] {
        DestroyWindow(CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    });

    UINT_PTR timer = SetTimer(nullptr, 0, 0, WatchStartWindow);
    double start = Milliseconds();
    RunStartWindow();
    KillTimer(nullptr, timer);
    Report("start window: built, shown and painted", g_startWindowPainted - start);

    // What the program does once the start window is painted.
    Time("after the first paint: COM (CoInitialize)", [] { CoInitialize(nullptr); });
    Time("after the first paint: common control classes (InitCommonControlsEx)", [] {
        INITCOMMONCONTROLSEX classes = {sizeof(classes), 0x706F};
        InitCommonControlsEx(&classes);
    });
    Time("after the start window: settings file", [] { ReadSettingsFile(SettingsFilePath(), ProgramFolder(), 0); });
    CoUninitialize();
    return 0;
}
