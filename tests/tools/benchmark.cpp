// Measures the program against its own goals, medians of several runs:
//   conversion overhead: confirming the Save dialog to the closing message,
//     minus the bare encoder's wall time on the same command line;
//   start-up: process start to a painted start window, against a minimal dialog program;
//   the peak working set and the size of DU_ZID.exe; the main window's idle CPU
//   is read by scripts/benchmark.sh while this waits.
// Usage: benchmark.exe <program folder with the real encoder> <minimal_dialog.exe> <scratch folder>
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
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

// The wait for the hidden encoder, as the program does it, in seconds.
double BareEncoder(const std::string& commandLine) {
    double start = Now();
    RunEncoder(commandLine);
    return Now() - start;
}

// Confirming the Save dialog to the closing message, in seconds.
double ConversionInProgram(const std::wstring& program, const std::wstring& scratch) {
    DeleteFileW((scratch + L"\\output.wav").c_str());  // no replace question in the timed part
    ProgramRun run(program, L"", program);
    HWND main = run.PassStartWindow();
    run.LoadFile(main, scratch, L"input.wav");
    ProgramRun::Click(main, test::kConvertButton);
    HWND save = run.WaitForWindow(L"Convert Audio");
    // Go into the folder first, then time from the confirmation of the name.
    SendMessageW(GetDlgItem(save, 0x47C), WM_SETTEXT, 0, (LPARAM)scratch.c_str());
    PostMessageW(save, WM_COMMAND, IDOK, 0);
    Sleep(500);
    SendMessageW(GetDlgItem(save, 0x47C), WM_SETTEXT, 0, (LPARAM)L"output.wav");
    double start = Now();
    PostMessageW(save, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    test::WaitFor([&] { return (box = run.FindWindowByCaption(L"Information")) != nullptr; }, 120000);
    double elapsed = Now() - start;
    run.AnswerMessageBox(L"Information");
    DWORD code;
    run.ExitProgram(main, &code);
    return elapsed;
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
    test::WaitFor([&] { return PaintedWindowOf(child.id(), caption); }, 30000);
    return Now() - start;
}

// Keeps the main window idle until the script, which reads the process's CPU
// time from the Unix side (Wine does not report another process's times),
// creates scratch\idle-done; then reports the peak working set.
void IdleAndMemory(const std::wstring& program, const std::wstring& scratch) {
    ProgramRun run(program, L"", program);
    HWND main = run.PassStartWindow();
    std::wstring done = scratch + L"\\idle-done";
    DeleteFileW(done.c_str());
    test::WriteBytes(scratch + L"\\idle-ready", "");
    test::WaitFor([&] { return test::FileExists(done); }, 60000);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, run.id());
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    std::printf("peak working set: %.1f MiB\n", memory.PeakWorkingSetSize / 1048576.0);
    CloseHandle(process);
    DWORD code;
    run.ExitProgram(main, &code);
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
        inProgram.push_back(ConversionInProgram(program, scratch));
    }
    double overhead = Median(inProgram) - Median(bare);
    std::printf("conversion of 60 s of audio: %.3f s in the program, %.3f s bare encoder: overhead %.3f s (goal <= 0.2 s)\n",
                Median(inProgram), Median(bare), overhead);

    for (int i = 0; i < kRuns; ++i) {
        startProgram.push_back(StartUp(L"\"" + program + L"\\DU_ZID.exe\"", test::kStartCaption));
        startMinimal.push_back(StartUp(L"\"" + minimal + L"\"", L"Minimal dialog"));
    }
    std::printf("start-up to a painted window: %.3f s, minimal dialog program %.3f s: ratio %.2f (goal <= 1.2)\n",
                Median(startProgram), Median(startMinimal), Median(startProgram) / Median(startMinimal));

    IdleAndMemory(program, scratch);
    WIN32_FILE_ATTRIBUTE_DATA size = {};
    GetFileAttributesExW((program + L"\\DU_ZID.exe").c_str(), GetFileExInfoStandard, &size);
    std::printf("DU_ZID.exe: %lu bytes\n", size.nFileSizeLow);
    return 0;
}
