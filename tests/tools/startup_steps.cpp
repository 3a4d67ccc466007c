// Where the program's start-up time goes, each step timed cold in one fresh
// process, in the program's order: what the loader does before main (the DLLs
// the program imports), the hand cursor, the first font and text, the window
// icons, the banner bitmap, the first window made, the start window from RunStartWindow
// to its first paint; then what comes after that paint: COM, the common
// control classes and the settings file. Prints one "step: ms" line each.
// Run it from the program's folder (it reads DU_ZID.ini there).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <thread>

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

// Watches, from a second thread, for this process's start window to be up
// with nothing left to paint; notes the time and closes it. (A timer on the
// main thread would see it only at the timer's 10 ms granularity.)
double WatchStartWindow() {
    for (;;) {
        HWND window = FindWindowW(nullptr, L"Veltrane Audio Converter for Adobe Flash. ");
        if (window && IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE)) {
            double painted = Milliseconds();
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            return painted;
        }
        Sleep(1);
    }
}

}  // namespace

int main() {
    Report("process creation to main: loader and imported DLLs", SinceProcessCreation());
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    g_frequency = (double)frequency.QuadPart;

    Time("hand cursor, the first USER call: the display driver starts", [] { HAND_CURSOR = LoadCursorA(GetModuleHandleW(nullptr), "autor"); });
    Time("first font (Times New Roman 12 bold italic), a line drawn in it off screen", [] {
        HFONT font = CreateFontW(-16, 0, 0, 0, FW_BOLD, TRUE, 0, 0, 0, 0, 0, 0, 0, L"Times New Roman");
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP canvas = CreateCompatibleBitmap(screen, 300, 30);
        HGDIOBJ oldBitmap = SelectObject(memory, canvas);
        HGDIOBJ oldFont = SelectObject(memory, font);
        RECT area = {0, 0, 300, 30};
        DrawTextW(memory, L"See a more of free Apps at: Start", -1, &area, DT_LEFT);
        SelectObject(memory, oldFont);
        SelectObject(memory, oldBitmap);
        DeleteObject(canvas);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        DeleteObject(font);
    });
    Time("window icons (VIDEO, 32 and 16 pixels)", [] {
        DestroyIcon((HICON)LoadImageW(GetModuleHandleW(nullptr), L"VIDEO", IMAGE_ICON, 32, 32, 0));
        DestroyIcon((HICON)LoadImageW(GetModuleHandleW(nullptr), L"VIDEO", IMAGE_ICON, 16, 16, 0));
    });
    Time("banner bitmap (TITLE, 640 x 154)", [] {
        DeleteObject(LoadImageW(GetModuleHandleW(nullptr), L"TITLE", IMAGE_BITMAP, 0, 0, 0));
    });
    Time("first window made (a hidden button)", [] {
        DestroyWindow(CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    });

    double painted = 0;
    std::thread watcher([&] { painted = WatchStartWindow(); });
    double start = Milliseconds();
    RunStartWindow();
    watcher.join();
    Report("start window: built, shown and painted", painted - start);

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
