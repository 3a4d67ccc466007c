// Measures the program against its own goals, medians of several runs with
// their range:
//   conversion overhead: confirming the Save dialog to the closing message,
//     minus the bare encoder's wall time on the same command line;
//   batches (8 files of 30 s, 40 of 2 s): the folder picker's confirmation to
//     the closing message, against the bare encoders on the same files one
//     after another and as many at once as the program runs;
//   start-up: process start to a painted start window, against a minimal dialog program;
//   the peak working set and the size of DU_ZID.exe;
//   given a second program folder holding another encoder (the ready-made
//   npm build), the two bare encoders on a 10-minute WAV, side by side.
// CPU times are read by scripts/benchmark.sh from the Unix side (Wine does not
// report another process's times): at each hand-over below this waits while
// the script measures the program's CPU at rest in the start, main, About
// and Help windows, and its own and the encoder's CPU during each conversion.
// Prints one line per figure; a figure with a goal ends with "met" or "NOT met".
// Usage: benchmark.exe <program folder with the real encoder> <minimal_dialog.exe> <scratch folder>
//                      [<folder whose PLUG-IN holds another encoder>]
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/encoder.h"
#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/wave_file.h"

using test::ProgramRun;

namespace {

constexpr int kRuns = 5;

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// "median (low to high)" with the unit, for a figure that moves between runs.
std::string Spread(const std::vector<double>& values, const char* format) {
    char median[32], low[32], high[32];
    std::snprintf(median, sizeof(median), format, Median(values));
    std::snprintf(low, sizeof(low), format, *std::min_element(values.begin(), values.end()));
    std::snprintf(high, sizeof(high), format, *std::max_element(values.begin(), values.end()));
    return std::string(median) + " (" + low + " to " + high + ")";
}

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

// Lets scripts/benchmark.sh take its measurement: creates scratch\<name>.ready
// and waits until the script answers with scratch\<name>.done.
void HandOver(const std::wstring& scratch, const std::wstring& name) {
    std::wstring done = scratch + L"\\" + name + L".done";
    DeleteFileW(done.c_str());
    test::WriteBytes(scratch + L"\\" + name + L".ready", "");
    test::WaitFor([&] { return test::FileExists(done); }, 120000);
    DeleteFileW(done.c_str());
}

// The wait for the hidden encoder, as the program does it, in seconds.
double BareEncoder(const std::string& commandLine) {
    double start = Now();
    RunEncoder(commandLine);
    return Now() - start;
}

// Confirming the Save dialog to the closing message, in seconds. With
// measureCpu the script reads CPU times meanwhile; the timed runs go without,
// so that the reading cannot slow them.
double ConversionInProgram(const std::wstring& program, const std::wstring& scratch, bool measureCpu) {
    DeleteFileW((scratch + L"\\output.wav").c_str());  // no replace question in the timed part
    ProgramRun run(program, L"", program);
    HWND main = run.PassStartWindow();
    run.LoadFile(main, scratch, L"input.wav");
    ProgramRun::Click(main, test::kConvertButton);
    HWND save = run.WaitForWindow(L"Convert Audio");
    // Go into the folder first, then time from the confirmation of the name.
    // The folder's confirmation is sent, so that it has been taken before the name is typed.
    SendMessageW(GetDlgItem(save, 0x47C), WM_SETTEXT, 0, (LPARAM)scratch.c_str());
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(save, WM_COMMAND, IDOK, 0, SMTO_NORMAL, 10000, &ignored);
    Sleep(100);
    SendMessageW(GetDlgItem(save, 0x47C), WM_SETTEXT, 0, (LPARAM)L"output.wav");
    if (measureCpu) HandOver(scratch, L"conversion-begin");
    double start = Now();
    PostMessageW(save, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    test::WaitFor([&] { return (box = run.FindWindowByCaption(L"Information")) != nullptr; }, 120000);
    double elapsed = Now() - start;
    if (measureCpu) HandOver(scratch, L"conversion-end");
    run.AnswerMessageBox(L"Information");
    DWORD code;
    run.ExitProgram(main, &code);
    return elapsed;
}

// The encoders of a batch run at once by a pool of atOnce threads, each taking
// the next command line as soon as its last has ended; the wall time in seconds.
double BareBatch(const std::vector<std::string>& commandLines, int atOnce) {
    struct Pool {
        const std::vector<std::string>* lines;
        std::atomic<size_t> next{0};
    } pool{&commandLines};
    auto work = [](LPVOID param) -> DWORD {
        auto* p = (Pool*)param;
        for (size_t i; (i = p->next++) < p->lines->size();) RunEncoder((*p->lines)[i]);
        return 0;
    };
    double start = Now();
    std::vector<HANDLE> threads;
    for (int i = 0; i < atOnce; ++i) threads.push_back(CreateThread(nullptr, 0, work, &pool, 0, nullptr));
    WaitForMultipleObjects((DWORD)threads.size(), threads.data(), TRUE, INFINITE);
    for (HANDLE thread : threads) CloseHandle(thread);
    return Now() - start;
}

// The program started with the inputs' folder on its command line, Convert,
// the folder picker answered with an empty folder: from its confirmation to
// the closing message, in seconds. With handOver, the script reads CPU times
// from its "-begin" to its "-end".
double BatchInProgram(const std::wstring& program, const std::wstring& inputs, size_t files, const std::wstring& out,
                      const std::wstring& scratch, const std::wstring& handOver) {
    test::DeleteTree(out);
    CreateDirectoryW(out.c_str(), nullptr);
    ProgramRun run(program, L"\"" + inputs + L"\"", program);
    HWND main = run.PassStartWindow();
    std::wstring loaded = std::to_wstring(files) + L" files in " + inputs;
    test::WaitFor([&] { return ProgramRun::ControlText(main, test::kInputPathField) == loaded; }, 20000);
    ProgramRun::Click(main, test::kConvertButton);
    HWND picker = run.WaitForWindow(L"Convert Audio");
    SendMessageW(GetDlgItem(picker, 0x480), WM_SETTEXT, 0, (LPARAM)out.c_str());
    if (!handOver.empty()) HandOver(scratch, handOver + L"-begin");
    double start = Now();
    PostMessageW(picker, WM_COMMAND, IDOK, 0);
    test::WaitFor([&] { return run.FindWindowByCaption(L"Information") != nullptr; }, 600000);
    double elapsed = Now() - start;
    if (!handOver.empty()) HandOver(scratch, handOver + L"-end");
    run.AnswerMessageBox(L"Information");
    DWORD code;
    run.ExitProgram(main, &code);
    return elapsed;
}

// One batch case: its files written, the program and the bare encoders timed
// (medians of five), then the program once more while the script reads CPU times.
void Batch(const std::wstring& program, const std::wstring& scratch, int files, int seconds) {
    constexpr int kBatchRuns = 5;
    std::wstring name = std::to_wstring(files) + L"x" + std::to_wstring(seconds) + L"s";
    std::wstring inputs = scratch + L"\\" + name, out = scratch + L"\\" + name + L"-out";
    test::DeleteTree(inputs);
    CreateDirectoryW(inputs.c_str(), nullptr);
    CreateDirectoryW(out.c_str(), nullptr);
    std::vector<std::string> lines;
    for (int i = 0; i < files; ++i) {
        std::wstring input = inputs + L"\\take " + std::to_wstring(100 + i) + L".wav";
        test::WriteBytes(input, test::StereoWave(seconds, 200 + 7 * i, 330));
        lines.push_back(EncoderCommandLine(test::Utf8(program + L"\\"), test::Utf8(input),
                                           test::Utf8(out + L"\\bare " + std::to_wstring(i) + L".wav")));
    }
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    int atOnce = (int)std::min<DWORD>(std::max<DWORD>(info.dwNumberOfProcessors, 1), 8);
    std::vector<double> inProgram, oneByOne, together;
    for (int i = 0; i < kBatchRuns; ++i) {
        oneByOne.push_back(BareBatch(lines, 1));
        together.push_back(BareBatch(lines, atOnce));
        inProgram.push_back(BatchInProgram(program, inputs, files, out, scratch, L""));
    }
    BatchInProgram(program, inputs, files, out, scratch, L"batch-" + name);
    double ratio = Median(inProgram) / Median(together);
    std::printf("batch of %d files of %d s, wall time: in the program %s; bare encoders one after another %s, "
                "%d at once %s; speed-up over one after another %.2f times\n",
                files, seconds, Spread(inProgram, "%.3f s").c_str(), Spread(oneByOne, "%.3f s").c_str(), atOnce,
                Spread(together, "%.3f s").c_str(), Median(oneByOne) / Median(inProgram));
    std::printf("goal: batch of %d files of %d s, %.2f times the bare encoders %d at once, at most 1.10: %s\n", files,
                seconds, ratio, atOnce, Verdict(ratio <= 1.10));
}

bool PaintedWindowOf(DWORD process, const wchar_t* caption) {
    HWND window = FindWindowW(nullptr, caption);
    if (!window || !IsWindowVisible(window)) return false;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == process && GetUpdateRect(window, nullptr, FALSE) == FALSE;
}

// Process start to a painted window with caption, in seconds; the process is ended afterwards.
double StartUp(const std::wstring& commandLine, const wchar_t* caption) {
    double start = Now();
    test::ChildProcess child(commandLine);
    // Looked for every millisecond: both programs take some 50 ms on a quiet machine.
    while (!PaintedWindowOf(child.id(), caption) && Now() - start < 30) Sleep(1);
    return Now() - start;
}

// Leaves each window of the program at rest while the script measures the
// process's CPU: the start window, the main window, About and Help. Then
// reports the peak working set.
void AtRest(const std::wstring& program, const std::wstring& scratch) {
    constexpr DWORD kSettle = 1000;  // the window painted and the process quiet
    ProgramRun run(program, L"", program);
    run.WaitForWindow(test::kStartCaption);
    Sleep(kSettle);
    HandOver(scratch, L"rest-start-window");
    HWND main = run.PassStartWindow();
    Sleep(kSettle);
    HandOver(scratch, L"rest-main-window");
    const struct {
        int button;
        const wchar_t* caption;
        const wchar_t* handOver;
    } owned[] = {{test::kAboutButton, L"About", L"rest-About-window"}, {test::kHelpButton, L"Help", L"rest-Help-window"}};
    for (const auto& window : owned) {
        ProgramRun::Click(main, window.button);
        HWND shown = run.WaitForWindow(window.caption);
        Sleep(kSettle);
        HandOver(scratch, window.handOver);
        PostMessageW(shown, WM_SYSCOMMAND, SC_CLOSE, 0);
        run.WaitUntilGone(shown);
        test::WaitFor([&] { return IsWindowEnabled(main) != FALSE; }, 20000);
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, run.id());
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    std::printf("peak working set: %.1f MiB\n", memory.PeakWorkingSetSize / 1048576.0);
    CloseHandle(process);
    DWORD code;
    run.ExitProgram(main, &code);
}

// The bare encoder of program and that of other on the same 10-minute WAV,
// taking turns, median of three each.
void EncodersSideBySide(const std::wstring& program, const std::wstring& other, const std::wstring& scratch) {
    std::wstring in = scratch + L"\\ten minutes.wav";
    test::WriteBytes(in, test::StereoWave(600, 440, 660));
    auto line = [&](const std::wstring& folder) {
        return EncoderCommandLine(test::Utf8(folder + L"\\"), test::Utf8(in), test::Utf8(scratch + L"\\ten.wav"));
    };
    std::vector<double> ours, theirs;
    for (int i = 0; i < 3; ++i) {
        ours.push_back(BareEncoder(line(program)));
        theirs.push_back(BareEncoder(line(other)));
    }
    DeleteFileW(in.c_str());
    DeleteFileW((scratch + L"\\ten.wav").c_str());
    double ratio = Median(theirs) / Median(ours);
    std::printf("goal: a 10-minute WAV, bare encoder, the built one %s against the other build's %s: "
                "%.2f times as fast, no slower: %s\n",
                Spread(ours, "%.2f s").c_str(), Spread(theirs, "%.2f s").c_str(), ratio, Verdict(ratio >= 1.0));
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 4) return std::printf("usage: benchmark.exe <program folder> <minimal_dialog.exe> <scratch>\n"), 2;
    std::wstring program = argv[1], minimal = argv[2], scratch = argv[3];
    CreateDirectoryW(scratch.c_str(), nullptr);
    setvbuf(stdout, nullptr, _IONBF, 0);
    test::WriteBytes(scratch + L"\\input.wav", test::StereoWave(60, 440, 660));

    std::string commandLine = EncoderCommandLine(test::Utf8(program + L"\\"), test::Utf8(scratch + L"\\input.wav"),
                                                 test::Utf8(scratch + L"\\bare.wav"));
    std::vector<double> bare, inProgram, startProgram, startMinimal;
    for (int i = 0; i < kRuns; ++i) {
        bare.push_back(BareEncoder(commandLine));
        inProgram.push_back(ConversionInProgram(program, scratch, false));
    }
    for (int i = 0; i < kRuns; ++i) ConversionInProgram(program, scratch, true);
    double overhead = Median(inProgram) - Median(bare);
    std::printf("conversion of 60 s of audio, wall time: in the program %s, bare encoder %s\n",
                Spread(inProgram, "%.3f s").c_str(), Spread(bare, "%.3f s").c_str());
    std::printf("goal: conversion overhead %.3f s, at most 0.2 s: %s\n", overhead, Verdict(overhead <= 0.2));

    Batch(program, scratch, 8, 30);
    Batch(program, scratch, 40, 2);

    std::vector<double> ratios;
    for (int i = 0; i < kRuns; ++i) {
        startProgram.push_back(StartUp(L"\"" + program + L"\\DU_ZID.exe\"", test::kStartCaption));
        startMinimal.push_back(StartUp(L"\"" + minimal + L"\"", L"Minimal dialog"));
        ratios.push_back(startProgram.back() / startMinimal.back());
        Sleep(300);  // the ended processes gone from the server
    }
    double ratio = Median(startProgram) / Median(startMinimal);
    std::printf("start-up to a painted window: DU_ZID %s, minimal dialog program %s; ratio of each pair %s\n",
                Spread(startProgram, "%.3f s").c_str(), Spread(startMinimal, "%.3f s").c_str(),
                Spread(ratios, "%.2f").c_str());
    std::printf("goal: start-up %.2f times the minimal dialog program (ratio of the medians), at most 1.15: %s\n",
                ratio, Verdict(ratio <= 1.15));

    if (argc > 4) EncodersSideBySide(program, argv[4], scratch);
    AtRest(program, scratch);
    WIN32_FILE_ATTRIBUTE_DATA size = {};
    GetFileAttributesExW((program + L"\\DU_ZID.exe").c_str(), GetFileExInfoStandard, &size);
    std::printf("goal: DU_ZID.exe %lu bytes, at most 700,000: %s\n", size.nFileSizeLow,
                Verdict(size.nFileSizeLow <= 700000));
    return 0;
}
