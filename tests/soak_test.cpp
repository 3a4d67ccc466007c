// One long run of the program's own code in this process: start window, main
// window, 50 conversions with the encoder double and 100 openings each of
// About and Help, driven by a second thread that acts as the user. Whatever
// the program holds once it has warmed up (handles, GDI objects, the
// toolkit's records, brushes, fonts, pictures and icons) it holds again at
// the end, and its working set has not grown beyond noise.
//
// The executable lives in a folder of its own (see CMakeLists.txt): that
// folder is the program's folder, with PLUG-IN\ffmpeg_III.exe and DU_ZID.ini.
#include <windows.h>
#include <psapi.h>

#include <doctest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/program_path.h"
#include "app/startup.h"
#include "convert/conversion.h"
#include "convert/settings.h"
#include "tests/support/installation.h"
#include "tests/support/modal_driver.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/toolkit_support.h"
#include "toolkit/toolkit.h"
#include "windows/secondary_windows.h"

using test::ProgramUser;
using test::TempFolder;

namespace {

constexpr int kConversions = 50;
constexpr int kOpeningsPerRound = 2;  // About and Help each, per conversion: 100 of each
// Round 1 opens the dialogs for the first time; round 2 is the first to find
// its output in the Save dialog's list and to be asked before replacing it.
constexpr int kWarmUpRounds = 2;
// The counts catch a lost object one by one; this bound is for memory that
// piles up with nothing to count. Under Wine 8 the working set creeps up by
// some 25 KiB a round (1.3 MiB over the run), nearly all of it outside the
// process heaps; the heaps gain some 24 bytes per control made, which Wine
// keeps after a WM_SETFONT even in a bare dialog of its own.
constexpr SIZE_T kWorkingSetNoise = 3 * 1024 * 1024;


struct Figures {
    tk::Counts counts = {};
    test::Handles handles;
    int gdiObjects = 0;   // from the PEB's table under Wine, GetGuiResources elsewhere
    DWORD guiGdi = 0;     // GetGuiResources, 0 where the platform does not answer it
    DWORD guiUser = 0;
    SIZE_T workingSet = 0;
};

Figures FiguresNow() {
    Figures f;
    f.counts = tk::GetCounts();
    f.handles = test::HandleCount();
    f.gdiObjects = test::GdiObjectCount();
    f.guiGdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    f.guiUser = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory))) f.workingSet = memory.WorkingSetSize;
    return f;
}

void Print(const char* when, const Figures& f) {
    std::printf("%-18s records %d, brushes %d, GDI fonts %d, pictures %d, icons %d, dialogs %d; ", when,
                f.counts.records, f.counts.brushes, f.counts.gdiFonts, f.counts.pictures, f.counts.icons,
                f.counts.liveDialogs);
    std::printf("handles %lu, %lu of them registry keys; GDI objects %d (GetGuiResources: GDI %lu, USER %lu); "
                "working set %.2f MiB\n",
                (unsigned long)f.handles.all, (unsigned long)f.handles.registryKeys, f.gdiObjects,
                (unsigned long)f.guiGdi, (unsigned long)f.guiUser, f.workingSet / 1048576.0);
    std::fflush(stdout);
}

// Figures are taken on the main thread, where the program's windows live: the
// driver asks, and a thread timer answers as soon as the main window is idle
// in its own loop (no other toolkit dialog, no message box, no encoder).
class FigureTaker {
public:
    FigureTaker() : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        s_taker = this;
        timer_ = SetTimer(nullptr, 0, 50, OnTick);
    }
    ~FigureTaker() {
        KillTimer(nullptr, timer_);
        CloseHandle(done_);
        s_taker = nullptr;
    }
    FigureTaker(const FigureTaker&) = delete;
    FigureTaker& operator=(const FigureTaker&) = delete;

    // From the driver thread; false when the main thread never got idle.
    bool Take(Figures* out) {
        wanted_.store(true);
        if (WaitForSingleObject(done_, 30000) != WAIT_OBJECT_0) return false;
        *out = taken_;
        return true;
    }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
        FigureTaker* self = s_taker;
        if (!self || !self->wanted_.load()) return;
        bool idle = MAIN_WINDOW && IsWindowEnabled(MAIN_WINDOW) && tk::GetCounts().liveDialogs == 1 &&
                    ENCODING.load() == 0 && !test::VisibleOwnedWindow(MAIN_WINDOW);
        if (!idle) return;
        self->taken_ = FiguresNow();
        self->wanted_.store(false);
        SetEvent(self->done_);
    }

    static FigureTaker* s_taker;
    HANDLE done_;
    UINT_PTR timer_ = 0;
    std::atomic<bool> wanted_{false};
    Figures taken_;
};
FigureTaker* FigureTaker::s_taker = nullptr;

// Loaded in turn: a load of the name the input field already shows would
// leave nothing to see that it happened.
const wchar_t* const kSongs[2] = {L"song.wav", L"song 2.wav"};

struct SoakFolders {
    std::wstring program = ProgramFolderW();  // ends with "\"
    TempFolder input{L" soak in"};
    TempFolder output{L" soak out"};

    SoakFolders() {
        REQUIRE(test::InstallEncoderDouble(program));
        // Long enough for the busy window to animate a few frames.
        test::WriteBytes(program + L"PLUG-IN\\encoder_control.txt", "sleep=500\nwrite\n");
        DeleteFileW((program + L"PLUG-IN\\encoder_log.txt").c_str());
        DeleteFileW((program + L"DU_ZID.ini").c_str());
        for (const wchar_t* name : kSongs) REQUIRE(test::WriteBytes(input / name, "RIFF soak input"));
    }
    ~SoakFolders() {
        // The dialogs left the current folder in one of the scratch folders,
        // which could not be removed while it is.
        SetCurrentDirectoryW(program.c_str());
        test::DeleteTree(program + L"PLUG-IN");
        DeleteFileW((program + L"DU_ZID.ini").c_str());
    }
    std::string Log() const { return test::ReadBytes(program + L"PLUG-IN\\encoder_log.txt"); }
};

struct SoakResult {
    std::string failure;  // empty when every step went as a user expects
    int conversions = 0;
    int openings = 0;
    std::vector<Figures> rounds;  // after each round, the warming-up rounds first
};

// One conversion as the user makes it: Load, Convert, the closing message.
std::string Convert(ProgramUser& user, HWND main, const SoakFolders& folders, int round) {
    if (!user.LoadFile(main, folders.input.path(), kSongs[round % 2]))
        return "the Load Audio dialog did not take the file";
    if (!user.ConvertInto(main, folders.output.path(), L"result.wav"))
        return "the Convert Audio dialog did not take the name";
    std::wstring text = user.AnswerMessageBox(L"Information");
    if (text != L"Output conversion process finished") return "closing message: " + test::Utf8(text);
    return std::string();
}

std::string OpenAboutAndHelp(ProgramUser& user, HWND main, int times, int* openings) {
    for (int i = 0; i < times; ++i) {
        if (!user.OpenAndClose(main, test::kAboutButton, L"About")) return "About did not open and close";
        if (!user.OpenAndClose(main, test::kHelpButton, L"Help")) return "Help did not open and close";
        *openings += 1;
    }
    return std::string();
}

// One round: a conversion, then About and Help; the figures after it.
std::string Round(ProgramUser& user, HWND main, const SoakFolders& folders, FigureTaker& taker, int openings,
                  SoakResult* result) {
    std::string failure = Convert(user, main, folders, (int)result->rounds.size());
    if (!failure.empty()) return failure;
    ++result->conversions;
    failure = OpenAboutAndHelp(user, main, openings, &result->openings);
    if (!failure.empty()) return failure;
    Figures figures;
    if (!taker.Take(&figures)) return "the main window never came back to rest";
    result->rounds.push_back(figures);
    return std::string();
}

// The user's side of the run, on the driver thread. Ends the program whatever
// happened, so that the main thread comes back.
void Drive(const SoakFolders& folders, FigureTaker& taker, SoakResult* result) {
    ProgramUser user(GetCurrentProcessId());
    HWND main = user.PassStartWindow();
    if (!main) {
        result->failure = "the main window did not come up";
        return;
    }
    std::string& failure = result->failure;
    for (int i = 0; failure.empty() && i < kWarmUpRounds; ++i) failure = Round(user, main, folders, taker, 1, result);
    for (int i = 0; failure.empty() && i < kConversions; ++i)
        failure = Round(user, main, folders, taker, kOpeningsPerRound, result);
    if (!failure.empty()) {
        // Whatever is open over the main window is closed first.
        for (int i = 0; i < 20; ++i) {
            HWND open = test::VisibleOwnedWindow(main);
            if (!open) break;
            PostMessageW(open, WM_SYSCOMMAND, SC_CLOSE, 0);
            PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
            Sleep(500);
        }
    }
    ProgramUser::Click(main, test::kExitButton);
}

}  // namespace

TEST_CASE("50 conversions and 100 openings each of About and Help leave nothing behind") {
    SoakFolders folders;
    SoakResult result;
    DWORD started = GetTickCount();
    {
        FigureTaker taker;
        std::thread driver(Drive, std::cref(folders), std::ref(taker), &result);
        // What WinMain runs, in its order.
        HAND_CURSOR = LoadCursorA(GetModuleHandleW(nullptr), "autor");
        RunStartWindow();
        ChangeToProgramFolder();
        OutputChoice output = ReadSettings();
        RunMainWindow(output);
        WriteSettings(output);
        driver.join();
    }
    double seconds = (GetTickCount() - started) / 1000.0;
    REQUIRE_MESSAGE(result.failure.empty(), result.failure);

    REQUIRE(result.rounds.size() == kWarmUpRounds + kConversions);
    std::printf("soak: %d conversions, %d openings each of About and Help, %.1f s\n", result.conversions,
                result.openings, seconds);
    for (size_t i = kWarmUpRounds - 1; i < result.rounds.size(); i += 10) {
        char when[32];
        std::snprintf(when, sizeof(when), "after round %d:", (int)i + 1);
        Print(when, result.rounds[i]);
    }

    // The warming-up rounds fill what the platform keeps once made (the file
    // dialogs' libraries, icon caches); from then on nothing may pile up.
    const Figures& warm = result.rounds[kWarmUpRounds - 1];
    const Figures& end = result.rounds.back();
    CHECK(end.counts.records == warm.counts.records);
    CHECK(end.counts.brushes == warm.counts.brushes);
    CHECK(end.counts.gdiFonts == warm.counts.gdiFonts);
    CHECK(end.counts.pictures == warm.counts.pictures);
    CHECK(end.counts.icons == warm.counts.icons);
    CHECK(end.counts.liveDialogs == 1);
    // Wine 8's file dialogs keep one registry key open for every confirmed
    // dialog (a bare GetOpenFileNameA in a program of three lines does too):
    // there, keys may grow by the two dialogs of each round and no more. Every
    // other handle balances exactly, on every platform.
    DWORD keysAllowed = test::RunningUnderWine() ? 2 * kConversions : 0;
    CHECK(end.handles.all - end.handles.registryKeys == warm.handles.all - warm.handles.registryKeys);
    CHECK(end.handles.registryKeys <= warm.handles.registryKeys + keysAllowed);
    CHECK(end.gdiObjects == warm.gdiObjects);
    if (warm.guiGdi != 0) {  // the platform answers GetGuiResources
        CHECK(end.guiGdi == warm.guiGdi);
        CHECK(end.guiUser == warm.guiUser);
    }
    CHECK(end.workingSet <= warm.workingSet + kWorkingSetNoise);

    // Every conversion reached the encoder, and the run's folders were kept.
    std::string log = folders.Log();
    CHECK(std::count(log.begin(), log.end(), '\n') == kWarmUpRounds + kConversions);
    CHECK(test::ReadBytes(folders.program + L"DU_ZID.ini") ==
          test::Installation::SettingsText(folders.input.path(), folders.output.path(), 0));
    // With the main window gone, the toolkit holds nothing at all.
    tk::Counts after = tk::GetCounts();
    CHECK(after.records == 0);
    CHECK(after.brushes == 0);
    CHECK(after.gdiFonts == 0);
    CHECK(after.pictures == 0);
    CHECK(after.icons == 0);
    CHECK(after.liveDialogs == 0);
}

namespace {

// Passes a second of the busy window's polling loop, read from the screen:
// each pass brightens the first colour block by 5 (20 up to 255).
struct PassRates {
    double quiet = 0;    // with no message queued
    double flooded = 0;  // with the main window's queue never empty
    bool seen = false;
};

void CountPasses(HWND mainWindow, PassRates* rates) {
    ProgramUser user(GetCurrentProcessId());
    HWND busy = user.WaitForWindow(test::kBusyCaption, 30000);
    if (busy) {
        HWND block = GetDlgItem(busy, 201);
        RECT client = {};
        GetClientRect(block, &client);
        auto level = [&] { return (double)GetGValue(test::PixelAt(block, client.right / 2, client.bottom / 2)); };
        auto seconds = [] { return GetTickCount64() / 1000.0; };
        double level0 = level(), time0 = seconds();
        Sleep(1000);
        double level1 = level(), time1 = seconds();
        // 100 messages a second: more than the loop can take, one per pass.
        while (seconds() - time1 < 0.5) {
            PostMessageW(mainWindow, WM_NULL, 0, 0);
            Sleep(10);
        }
        double level2 = level(), time2 = seconds();
        rates->quiet = (level1 - level0) / 5 / (time1 - time0);
        rates->flooded = (level2 - level1) / 5 / (time2 - time1);
        rates->seen = true;
    }
    user.AnswerMessageBox(L"Information");
}

}  // namespace

TEST_CASE("the busy window's polling loop: some 18 passes a second at rest, at most 40 while messages pour in") {
    SoakFolders folders;
    REQUIRE(test::WriteBytes(folders.program + L"PLUG-IN\\encoder_control.txt", "sleep=2500\nwrite\n"));
    test::StandInMainWindow main;
    IN_FILE = test::Utf8(folders.input / L"song.wav");
    OUT_FILE = test::Utf8(folders.output / L"result.wav");
    PassRates rates;
    std::thread counter(CountPasses, main.handle(), &rates);
    RunConversion();
    counter.join();
    REQUIRE(rates.seen);
    // A pass is 25 ms of pause, then one message or a wait of up to 30 ms for one.
    CHECK(rates.quiet >= 5);
    CHECK(rates.quiet <= 22);
    CHECK(rates.flooded <= 44);
    std::printf("busy window passes a second: %.1f at rest, %.1f with messages pouring in\n", rates.quiet,
                rates.flooded);
}
