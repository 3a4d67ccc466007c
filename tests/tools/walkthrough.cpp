// Walks the real program through its main job with the real encoder, as a
// user would, and saves a screenshot of each step.
// Usage: walkthrough.exe <program folder> <output folder>
// Writes step-NN-<name>.bmp and sample.wav into the output folder, converts the
// sample, and prints what the converted file holds.
#include <windows.h>
#include <shellapi.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/program_driver.h"
#include "tests/support/test_support.h"
#include "tests/support/wave_file.h"

using test::ProgramRun;

namespace {

std::wstring g_out;
int g_step = 0;

// The screen area of window, frame included, as a 24-bit BMP.
void Shoot(HWND window, const wchar_t* name) {
    Sleep(400);  // let it finish painting
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return;
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    DWORD rowBytes = ((DWORD)w * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {0x4D42, (DWORD)(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + rowBytes * h), 0,
                             0, (DWORD)(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    std::string bytes((const char*)&file, sizeof(file));
    bytes.append((const char*)&info.bmiHeader, sizeof(BITMAPINFOHEADER));
    bytes.append((const char*)bits, rowBytes * h);
    wchar_t leaf[128];
    swprintf(leaf, 128, L"step-%02d-%ls.bmp", ++g_step, name);
    test::WriteBytes(g_out + L"\\" + leaf, bytes);
    SelectObject(memory, old);
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

void Describe(const std::wstring& path) {
    std::string bytes = test::ReadBytes(path);
    test::WaveFacts facts = test::ReadWaveFacts(bytes);
    std::printf("converted file: %s (%zu bytes)\n", test::Utf8(path).c_str(), bytes.size());
    if (!facts.riffWave) {
        std::printf("  not a RIFF WAVE file\n");
        return;
    }
    std::printf("  RIFF WAVE, format tag 0x%04X%s, %u channels, %u Hz, %u bytes/s (%u kbit/s), %.2f s of audio\n",
                facts.formatTag, facts.formatTag == 0x55 ? " (MPEG Layer 3)" : "", facts.channels, facts.sampleRate,
                facts.bytesPerSecond, facts.bytesPerSecond * 8 / 1000, facts.seconds());
}

HWND OpenedOver(HWND main) {
    HWND popup = nullptr;
    test::WaitFor([&] { return (popup = test::VisibleOwnedWindow(main)) != nullptr; }, 10000);
    return popup;
}

int Walk(const std::wstring& programFolder) {
    std::wstring sample = g_out + L"\\sample.wav";
    std::wstring output = g_out + L"\\_mp3_c_sample.wav";
    // Long enough for the busy window to be seen.
    test::WriteBytes(sample, test::StereoWave(240, 261.63, 329.63));
    DeleteFileW(output.c_str());

    ProgramRun run(programFolder, L"", programFolder);
    if (!run.started()) return std::printf("the program did not start\n"), 1;
    Shoot(run.WaitForWindow(test::kStartCaption), L"start");
    HWND main = run.PassStartWindow();
    if (!main) return std::printf("no main window\n"), 1;
    Shoot(main, L"main");

    std::wstring shownBefore = ProgramRun::ControlText(main, test::kInputPathField);
    ProgramRun::Click(main, test::kLoadButton);
    Shoot(run.WaitForWindow(L"Load Audio"), L"open-dialog");
    run.ChooseFile(L"Load Audio", g_out, L"sample.wav");
    run.WaitUntilLoaded(main, L"sample.wav", shownBefore);
    Shoot(main, L"loaded");

    ProgramRun::Click(main, test::kConvertButton);
    Shoot(run.WaitForWindow(L"Convert Audio"), L"save-dialog");
    run.ChooseFile(L"Convert Audio", g_out, L"_mp3_c_sample.wav");
    HWND busy = run.WaitForWindow(test::kBusyCaption, 5000);
    if (busy) {
        // Once the encoder has told how far it is.
        test::WaitFor([&] { return test::PercentOf(ProgramRun::ControlText(busy, test::kPercentLabel)) > 0; }, 5000);
        Shoot(busy, L"busy");
    }
    HWND box = run.WaitForWindow(L"Information", 120000);
    Shoot(box, L"finished");
    std::printf("closing message: %s\n", test::Utf8(run.AnswerMessageBox(L"Information")).c_str());

    // Stopped half-way: the question, then what the user is told.
    run.ConvertInto(main, g_out, L"_mp3_c_sample.wav");
    busy = run.WaitForWindow(test::kBusyCaption, 5000);
    ProgramRun::Click(busy, test::kStopButton);
    Shoot(run.WaitForWindow(L"Question", 10000), L"stop-question");
    run.AnswerMessageBox(L"Question", 10000, IDYES);
    Shoot(run.WaitForWindow(L"Information", 60000), L"stopped");
    std::printf("after a stop: %s\n", test::Utf8(run.AnswerMessageBox(L"Information")).c_str());

    // A file that is not audio: the encoder's reason.
    test::WriteBytes(g_out + L"\\notes.wav", "RIFF this is no recording");
    run.LoadFile(main, g_out, L"notes.wav");
    run.ConvertInto(main, g_out, L"_mp3_c_notes.wav");
    Shoot(run.WaitForWindow(L"Attention", 60000), L"failed");
    std::printf("failure message: %s\n", test::Utf8(run.AnswerMessageBox(L"Attention")).c_str());

    // Several files at once, one of them no audio: the batch's busy window and its summary.
    std::wstring batch = g_out + L"\\batch";
    CreateDirectoryW(batch.c_str(), nullptr);
    std::vector<std::wstring> takes = {L"take 1.wav", L"take 2.wav", L"take 3.wav", L"notes.wav"};
    for (int i = 0; i < 3; ++i) test::WriteBytes(g_out + L"\\" + takes[i], test::StereoWave(60 + 30 * i, 220.0 * (i + 1), 330));
    run.LoadFiles(main, g_out, takes);
    Shoot(main, L"batch-loaded");
    ProgramRun::Click(main, test::kConvertButton);
    Shoot(run.WaitForWindow(L"Convert Audio"), L"folder-dialog");
    run.ChooseFolder(batch);
    busy = run.WaitForWindow(test::kBusyCaption, 5000);
    if (busy) {
        test::WaitFor([&] { return test::PercentOf(ProgramRun::ControlText(busy, test::kPercentLabel)) >= 30; }, 20000);
        Shoot(busy, L"batch-busy");
    }
    Shoot(run.WaitForWindow(L"Attention", 120000), L"batch-summary");
    std::printf("batch summary: %s\n", test::Utf8(run.AnswerMessageBox(L"Attention")).c_str());

    SendMessageW(GetDlgItem(main, test::kExitButton), BM_SETSTATE, TRUE, 0);
    Shoot(main, L"main-button-held");
    SendMessageW(GetDlgItem(main, test::kExitButton), BM_SETSTATE, FALSE, 0);

    ProgramRun::Click(main, test::kAboutButton);
    HWND about = OpenedOver(main);
    Shoot(about, L"about");
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    run.WaitUntilGone(about);
    ProgramRun::Click(main, test::kHelpButton);
    HWND help = OpenedOver(main);
    Shoot(help, L"help");
    PostMessageW(help, WM_SYSCOMMAND, SC_CLOSE, 0);
    run.WaitUntilGone(help);

    DWORD exitCode = 1;
    bool ended = run.ExitProgram(main, &exitCode);
    std::printf("program ended: %s, exit code %lu\n", ended ? "yes" : "no", exitCode);
    Describe(output);
    return ended && exitCode == 0 ? 0 : 1;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc < 3) return std::printf("usage: walkthrough.exe <program folder> <output folder>\n"), 2;
    g_out = argv[2];
    CreateDirectoryW(g_out.c_str(), nullptr);
    return Walk(argv[1]);
}
