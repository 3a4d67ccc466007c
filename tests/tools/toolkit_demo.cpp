// Two looks at the dialog toolkit that are not tests:
//   toolkit_demo sample seconds  shows the sample dialog that long (for a screenshot)
//   toolkit_demo idle seconds    shows it as an idle modal dialog and prints the CPU time used
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/toolkit_support.h"
#include "toolkit/toolkit.h"

namespace {

void FreeFonts(const tktest::SampleDialog& sample) {
    for (int32_t font : sample.fonts) tk::FreeFont(font);
}

int Sample(int seconds) {
    tktest::SampleDialog sample = tktest::BuildSampleDialog(tk::CoordinateMode::Pixels);
    tk::ShowModeless(sample.window, nullptr);
    for (DWORD start = GetTickCount(); GetTickCount() - start < (DWORD)seconds * 1000;) tk::PumpEvents(10);
    tk::FinishDialog(sample.window, 0);
    FreeFonts(sample);
    return 0;
}

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) { return (((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 1e7; };
    return seconds(kernel) + seconds(user);
}

int Idle(int seconds) {
    tktest::SampleDialog sample = tktest::BuildSampleDialog(tk::CoordinateMode::Pixels);
    SetTimer(sample.window, 1, (UINT)seconds * 1000, nullptr);
    double cpuBefore = CpuSeconds();
    DWORD start = GetTickCount();
    tk::ShowModal(sample.window, tktest::FinishOnTimer);
    double elapsed = (GetTickCount() - start) / 1000.0;
    double cpu = CpuSeconds() - cpuBefore;
    printf("idle modal dialog: %.1f s elapsed, %.3f s CPU (%.1f%% of one core)\n", elapsed, cpu, 100 * cpu / elapsed);
    FreeFonts(sample);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "sample") == 0) return Sample(atoi(argv[2]));
    if (argc == 3 && strcmp(argv[1], "idle") == 0) return Idle(atoi(argv[2]));
    fprintf(stderr, "usage: toolkit_demo sample seconds | toolkit_demo idle seconds\n");
    return 2;
}
