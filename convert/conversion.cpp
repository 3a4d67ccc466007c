#include "convert/conversion.h"


#include "app/program_path.h"
#include "convert/busy_window.h"
#include "convert/encoder.h"
#include "convert/encoder_log.h"
#include "convert/file_naming.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"

int32_t REPORT_PENDING = 0;

namespace {

constexpr UINT kWarning = MB_OK | MB_ICONEXCLAMATION;  // 0x30
constexpr UINT kInformation = MB_OK | MB_ICONINFORMATION;  // 0x40
constexpr DWORD kEncoderThreadStack = 0x100000;
constexpr int kTemporaryNameAttempts = 1000;
// A log larger than this is read as its head and its tail; the busy window
// learns the input's length while it is smaller.
constexpr DWORD kLogReadBytes = 64 * 1024;
// 100 % stays in view this long before the busy window closes.
constexpr ULONGLONG kFinishedPercentMs = 300;

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

bool PathExists(const std::string& path) {
    return GetFileAttributesW(tk::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A file of a run as the file functions take it whatever its length: full,
// and past MAX_PATH in the extended form.
std::string RunFilePath(const std::string& path) { return ExtendedLengthPath(tk::Narrow(FullPath(path))); }

// Size of an existing file; -1 when there is none.
int64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(tk::Widen(path).c_str(), GetFileExInfoStandard, &data)) return -1;
    return ((int64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

// "0x" and eight upper-case hexadecimal digits.
std::string HexadecimalCode(uint32_t code) {
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) text += "0123456789ABCDEF"[(code >> shift) & 0xF];
    return text;
}

// What the system says of an error code, on one line.
std::string SystemErrorText(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, (LPWSTR)&text, 0, nullptr);
    std::wstring message = n ? std::wstring(text, n) : tk::Widen("Error " + std::to_string(code) + ".");
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    return tk::Narrow(message);
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
    if (!InputFileExists(IN_FILE)) {
        WarnInputNotFound(IN_FILE);
        return false;
    }
    // The encoder would overwrite its own source.
    if (IsSameFile(IN_FILE, OUT_FILE)) {
        tk::ShowMessage(L"The output file must not be the input file.", L"Attention", kWarning);
        return false;
    }
    return true;
}

// Picks free names for the temporary output and the log and takes the log's
// name by creating it; false, with the system's error code, when the output's
// folder takes no new file.
bool ReserveTemporaryFiles(EncoderJob& job, DWORD* error) {
    for (int attempt = 1; attempt <= kTemporaryNameAttempts; ++attempt) {
        std::string temporary = RunFilePath(TemporaryOutputPath(job.outFile, attempt));
        std::string log = EncoderLogPath(temporary);
        if (PathExists(temporary) || PathExists(log)) continue;
        HANDLE file = CreateFileW(tk::Widen(log).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            *error = GetLastError();
            if (*error == ERROR_FILE_EXISTS) continue;
            return false;
        }
        CloseHandle(file);
        job.temporaryFile = temporary;
        job.logFile = log;
        return true;
    }
    *error = ERROR_FILE_EXISTS;
    return false;
}

// The log as text; a large one as its head and its tail.
std::string ReadLogText(const std::string& path) {
    HANDLE file = CreateFileW(tk::Widen(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    LARGE_INTEGER size = {};
    GetFileSizeEx(file, &size);
    auto readAt = [&](LONGLONG offset, DWORD count) {
        std::string bytes(count, '\0');
        LARGE_INTEGER at;
        at.QuadPart = offset;
        DWORD got = 0;
        if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !ReadFile(file, &bytes[0], count, &got, nullptr))
            got = 0;
        bytes.resize(got);
        return bytes;
    };
    std::string text;
    if (size.QuadPart <= kLogReadBytes) text = readAt(0, (DWORD)size.QuadPart);
    else
        text = LogHeadAndTail(readAt(0, kLogReadBytes / 2),
                              readAt(size.QuadPart - kLogReadBytes / 2, kLogReadBytes / 2));
    CloseHandle(file);
    return text;
}

// The log is read again only when the encoder has written to it since.
void ShowProgressFromLog(HWND busy, EncoderJob& job) {
    int64_t size = FileSize(job.logFile);
    if (size < 0 || size == job.logSizeRead) return;
    job.logSizeRead = size;
    LogProgress progress = NextProgress({job.inputLength, -1}, ReadLogText(job.logFile));
    job.inputLength = progress.inputLength;
    if (progress.percent > job.percent) ShowPercent(busy, job.percent = progress.percent);  // it never goes down
}

float SecondsSince(ULONGLONG startTicks) { return (float)(GetTickCount64() - startTicks) / 1000.0f; }

// The busy window's moving parts between two passes.
struct BusyAnimation {
    ColorRamp ramp = NewColorRamp();
    int frame = 0;
    int pass = 0;
};

// One pass: the blocks, every second pass the picture, the read-out and the
// percentage from the log; then one queued message is handled.
void AnimateOnce(HWND busy, ULONGLONG startTicks, BusyAnimation& animation, EncoderJob& job) {
    AdvanceColorRamp(animation.ramp);
    if (++animation.pass == 2) {
        animation.pass = 0;
        animation.frame = (animation.frame % 4) + 1;
        ShowAnimationFrame(busy, animation.frame);
        ShowProcessingTime(busy, SecondsSince(startTicks));
        ShowProgressFromLog(busy, job);
    }
    ShowColorRamp(busy, animation.ramp);
    Sleep(25);
    tk::PumpEvents(30);
}

// Polls until the encoder thread clears ENCODING, animating the busy window and
// handling one queued message per pass so that the main window stays usable.
void PollUntilEncoderEnds(HWND busy, ULONGLONG startTicks, BusyAnimation& animation, EncoderJob& job) {
    do AnimateOnce(busy, startTicks, animation, job);
    while (ENCODING.load(std::memory_order_acquire) != 0);
}

bool Succeeded(const EncoderOutcome& outcome) { return outcome.end == EncoderEnd::Exited && outcome.code == 0; }

// The user answered Yes to the stop question.
bool StopAsked(const EncoderJob& job) { return WaitForSingleObject(job.stopEvent, 0) == WAIT_OBJECT_0; }

// After a whole run the output replaces the chosen file; after any other end
// the temporary file goes and the chosen file stays as it was. A run the user
// stopped has ended so, whatever the encoder did meanwhile: the question may
// have stayed open until it had finished. The log goes either way. Returns the
// message for the user.
ClosingMessage PutOutputInPlace(const EncoderJob& job, EncoderOutcome outcome, bool stopped) {
    std::wstring temporary = tk::Widen(job.temporaryFile);
    if (stopped) outcome.end = EncoderEnd::Stopped;
    else if (Succeeded(outcome) && FileSize(job.temporaryFile) <= 0) outcome.end = EncoderEnd::WroteNothing;
    std::string reason;
    if (outcome.end == EncoderEnd::NotStarted) reason = SystemErrorText(outcome.code);
    else if (outcome.end != EncoderEnd::Stopped && !Succeeded(outcome)) reason = LastErrorLine(ReadLogText(job.logFile));
    DeleteFileW(tk::Widen(job.logFile).c_str());

    ClosingMessage message = ClosingMessageFor(outcome, EncoderPath(ProgramFolder()), reason);
    if (!Succeeded(outcome)) {
        DeleteFileW(temporary.c_str());
        return message;
    }
    if (MoveFileExW(temporary.c_str(), tk::Widen(RunFilePath(job.outFile)).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return message;
    DWORD error = GetLastError();
    return {"The converted file could not take the place of:\r\n" + job.outFile +
                "\r\n\r\nIt is kept as:\r\n" + job.temporaryFile + "\r\n\r\n" + SystemErrorText(error),
            "Attention", kWarning};
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

bool InputFileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesW(tk::Widen(tk::TrimSpaces(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void WarnInputNotFound(const std::string& path) {
    tk::ShowMessage(L"The input file was not found:\r\n" + tk::Widen(tk::TrimSpaces(path)), L"Attention", kWarning);
}

ClosingMessage ClosingMessageFor(const EncoderOutcome& outcome, const std::string& encoderPath,
                                 const std::string& reason) {
    std::string because = reason.empty() ? std::string() : "\r\n\r\n" + reason;
    if (outcome.end == EncoderEnd::Stopped) return {"The conversion was stopped.", "Information", kInformation};
    if (outcome.end == EncoderEnd::NotStarted)
        return {"The encoder could not be started:\r\n" + encoderPath + because, "Attention", kWarning};
    if (outcome.end == EncoderEnd::WroteNothing)
        return {"The conversion failed: the encoder wrote no output." + because, "Attention", kWarning};
    if (outcome.code == 0) return {"Output conversion process finished", "Information", kInformation};
    // Exception codes such as 0xC0000005 read better in hexadecimal.
    std::string code = outcome.code >= 0xC0000000u ? HexadecimalCode(outcome.code) : std::to_string(outcome.code);
    return {"The conversion failed: the encoder ended with exit code " + code + "." + because,
            "Attention", kWarning};
}

void RunConversion() {
    Sleep(100);
    if (!PathsAreUsable()) return;

    EncoderJob job;
    job.inFile = IN_FILE;
    job.outFile = tk::TrimSpaces(OUT_FILE);
    DWORD error = 0;
    if (!ReserveTemporaryFiles(job, &error)) {
        std::string text = "The converted file cannot be written into:\r\n" + FolderOfFile(job.outFile) +
                           "\r\n\r\n" + SystemErrorText(error);
        MessageBoxA(MAIN_WINDOW, text.c_str(), "Attention", kWarning);
        return;
    }
    job.stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    int32_t font = NewBusyWindowFont();
    HWND busy = NewBusyWindow(MAIN_WINDOW, font);
    ULONGLONG startTicks = GetTickCount64();  // monotonic: midnight or a clock change cannot upset it
    ShowBusyWindow(busy, job.stopEvent);

    ENCODING.store(1, std::memory_order_release);
    tk::SetText(busy, L"Converting the Audio");
    HANDLE thread = job.stopEvent ? CreateThread(nullptr, kEncoderThreadStack, EncoderThread, &job, 0, nullptr)
                                  : nullptr;
    if (!thread) {
        ENCODING.store(0, std::memory_order_release);
        tk::FinishDialog(busy, 0);
        tk::FreeFont(font);
        if (job.stopEvent) CloseHandle(job.stopEvent);
        DeleteFileW(tk::Widen(job.logFile).c_str());
        MessageBoxA(MAIN_WINDOW, "The conversion could not be started.", "Attention", kWarning);
        return;
    }
    REPORT_PENDING = 1;

    BusyAnimation animation;
    PollUntilEncoderEnds(busy, startTicks, animation, job);
    // The worker is past its last use of the job once ENCODING is 0; waiting
    // for it here keeps the job alive for as long as its thread exists.
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);

    EncoderOutcome outcome = job.outcome.load(std::memory_order_acquire);
    if (Succeeded(outcome) && !StopAsked(job)) {
        ShowPercent(busy, job.percent = 100);
        for (ULONGLONG shown = GetTickCount64(); GetTickCount64() - shown < kFinishedPercentMs;)
            AnimateOnce(busy, startTicks, animation, job);
    }
    // Asked last, with nothing handled in between: once the output is in place
    // the window that could ask to stop is gone.
    ClosingMessage message = PutOutputInPlace(job, outcome, StopAsked(job));

    tk::FinishDialog(busy, 0);
    tk::FreeFont(font);
    CloseHandle(job.stopEvent);
    if (REPORT_PENDING == 1) {
        MessageBoxA(MAIN_WINDOW, message.text.c_str(), message.caption.c_str(), message.flags);
        REPORT_PENDING = 0;
    }
}
