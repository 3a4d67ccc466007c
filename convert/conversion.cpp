#include "convert/conversion.h"

#include <cstdio>

#include "app/program_path.h"
#include "convert/busy_window.h"
#include "convert/encoder.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

int32_t REPORT_PENDING = 0;

namespace {

constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;  // 0x30
constexpr DWORD kEncoderThreadStack = 0x100000;

std::wstring FullPath(const std::string& path) {
    std::wstring wide = tk::Widen(tk::TrimSpaces(path));
    DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return wide;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
    full.resize(n);
    return full;
}

struct FileIdentity {
    DWORD volume;
    DWORD indexHigh;
    DWORD indexLow;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

// The volume and file index of an existing file; false when it cannot be opened.
bool IdentifyFile(const std::wstring& path, FileIdentity* identity) {
    // No access asked for: a file held open by another program still answers.
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    bool ok = GetFileInformationByHandle(file, &info) != FALSE;
    CloseHandle(file);
    *identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return ok;
}

// The checks before anything is started; false after warning the user.
bool PathsAreUsable() {
    if (tk::IsBlank(IN_FILE)) {
        tk::ShowMessage(L"Input file not found", L"Attention", kWarning);
        return false;
    }
    if (tk::IsBlank(OUT_FILE)) {
        tk::ShowMessage(L"Output file not found", L"Attention", kWarning);
        return false;
    }
    // The encoder would overwrite its own source.
    if (IsSameFile(IN_FILE, OUT_FILE)) {
        tk::ShowMessage(L"The output file must not be the input file.", L"Attention", kWarning);
        return false;
    }
    return true;
}

float SecondsSince(ULONGLONG startTicks) { return (float)(GetTickCount64() - startTicks) / 1000.0f; }

// Polls until the encoder thread clears ENCODING, animating the busy window and
// handling one queued message per pass so that the main window stays usable.
void PollUntilEncoderEnds(HWND busy, ULONGLONG startTicks) {
    ColorRamp ramp = NewColorRamp();
    int frame = 0;
    int pass = 0;
    do {
        AdvanceColorRamp(ramp);
        if (++pass == 2) {
            pass = 0;
            frame = (frame % 4) + 1;
            ShowAnimationFrame(busy, frame);
            ShowProcessingTime(busy, SecondsSince(startTicks));
        }
        ShowColorRamp(busy, ramp);
        Sleep(25);
        tk::PumpEvents(30);
    } while (ENCODING.load(std::memory_order_acquire) != 0);
}

void ShowClosingMessage() {
    ClosingMessage message =
        ClosingMessageFor(ENCODER_OUTCOME.load(std::memory_order_acquire), EncoderPath(ProgramFolder()));
    MessageBoxA(MAIN_WINDOW, message.text.c_str(), message.caption.c_str(), message.flags);
}

}  // namespace

bool IsSameFile(const std::string& a, const std::string& b) {
    std::wstring fullA = FullPath(a), fullB = FullPath(b);
    // Two existing names may reach one file by a hard link, a short name, a
    // junction or a mapped drive: then the file system itself tells.
    FileIdentity idA, idB;
    if (IdentifyFile(fullA, &idA) && IdentifyFile(fullB, &idB)) return idA == idB;
    return CompareStringOrdinal(fullA.c_str(), (int)fullA.size(), fullB.c_str(), (int)fullB.size(), TRUE) ==
           CSTR_EQUAL;
}

ClosingMessage ClosingMessageFor(const EncoderOutcome& outcome, const std::string& encoderPath) {
    if (outcome.end == EncoderEnd::NotStarted)
        return {"The encoder could not be started:\r\n" + encoderPath, "Attention", kWarning};
    if (outcome.code == 0) return {"Output conversion process finished", "Information", MB_OK | MB_ICONINFORMATION};
    char code[32];
    // Exception codes such as 0xC0000005 read better in hexadecimal.
    if (outcome.code >= 0xC0000000u) std::snprintf(code, sizeof(code), "0x%08X", (unsigned)outcome.code);
    else std::snprintf(code, sizeof(code), "%u", (unsigned)outcome.code);
    return {std::string("The conversion failed: the encoder ended with exit code ") + code + ".", "Attention",
            kWarning};
}

void RunConversion() {
    Sleep(100);
    if (!PathsAreUsable()) return;

    int32_t font = NewBusyWindowFont();
    HWND busy = NewBusyWindow(MAIN_WINDOW, font);
    ULONGLONG startTicks = GetTickCount64();  // monotonic: midnight or a clock change cannot upset it
    tk::ShowModeless(busy, nullptr);

    ENCODER_OUTCOME.store(EncoderOutcome{EncoderEnd::Pending, 0});
    ENCODING.store(1, std::memory_order_release);
    tk::SetText(busy, L"Converting the Audio");
    HANDLE thread = CreateThread(nullptr, kEncoderThreadStack, EncoderThread, nullptr, 0, nullptr);
    if (!thread) {
        ENCODING.store(0, std::memory_order_release);
        tk::FinishDialog(busy, 0);
        tk::FreeFont(font);
        MessageBoxA(MAIN_WINDOW, "The conversion could not be started.", "Attention", kWarning);
        return;
    }
    CloseHandle(thread);
    REPORT_PENDING = 1;

    PollUntilEncoderEnds(busy, startTicks);

    tk::FinishDialog(busy, 0);
    tk::FreeFont(font);
    if (REPORT_PENDING == 1) {
        ShowClosingMessage();
        REPORT_PENDING = 0;
    }
}
