// Stands in for PLUG-IN\ffmpeg_III.exe in tests. Appends its exact command line
// (UTF-8, one line) to encoder_log.txt beside it, then follows
// encoder_control.txt beside it, one instruction a line, in this order:
//   sleep=<milliseconds>   wait that long
//   write                  create the output file named last on the command line
//   crash                  die of an access violation
//   exit=<code>            end with that exit code (default 0)
//   duration=<seconds>     describe input and output on standard error, as the
//                          real encoder does, with the input's length
//                          ("  Duration: 00:01:00.00, bitrate: ...")
//   progress=<steps>,<ms>  write the output slowly: create it, then <steps>
//                          times wait <ms>, add to it and report the position
//                          ("size=... time=00:00:29.93 ...", ended by "\r"),
//                          reaching the duration at the last step
//   error=<text>           print that line on standard error
//   hang                   wait until ended from outside
//   handle=<value>         say on standard error whether that handle value is
//                          open here ("handle <value> open" or "... closed")
//   fail-for=<text>        when the command line holds text: say on standard
//                          error that the input is no audio, as the real
//                          encoder does, and end with exit code 1
// As the real encoder does, it takes the output's format from the output's
// extension: ".wav" or ".mp3" in any case; with any other, or none, it ends at
// once with exit code 1 and the real encoder's words ("...: Invalid argument").
// Each instance also appends "start" when it begins and "end" when it ends
// well to encoder_events.txt beside it, so that a test can tell how many ran at once.
#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cwctype>
#include <string>

static std::wstring FolderOfSelf() {
    wchar_t path[32768];
    DWORD n = GetModuleFileNameW(nullptr, path, 32768);
    std::wstring self(path, n);
    return self.substr(0, self.rfind(L'\\') + 1);
}

static std::string ToUtf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], n, nullptr, nullptr);
    return out;
}

static void AppendLog(const std::wstring& path, const std::string& line) {
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line.data(), (DWORD)line.size(), &written, nullptr);
    CloseHandle(file);
}

static std::string ReadControl(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    char buffer[4096];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof(buffer), &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got);
}

// The last double-quoted token of the command line: the output file.
static std::wstring LastQuoted(const std::wstring& commandLine) {
    size_t close = commandLine.rfind(L'"');
    if (close == std::wstring::npos || close == 0) return std::wstring();
    size_t open = commandLine.rfind(L'"', close - 1);
    if (open == std::wstring::npos) return std::wstring();
    return commandLine.substr(open + 1, close - open - 1);
}

static std::wstring FromUtf8(const std::string& text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], n);
    return out;
}

// The input: the quoted token after "-i".
static std::wstring FirstQuoted(const std::wstring& commandLine) {
    size_t option = commandLine.find(L" -i \"");
    if (option == std::wstring::npos) return std::wstring();
    size_t open = option + 4, close = commandLine.find(L'"', open + 1);
    return close == std::wstring::npos ? std::wstring() : commandLine.substr(open + 1, close - open - 1);
}

static void PrintError(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), (DWORD)text.size(), &written, nullptr);
}

// The real encoder's way of writing a time: HH:MM:SS.cc.
static std::string Clock(double seconds) {
    long hundredths = (long)(seconds * 100 + 0.5);
    char text[32];
    std::snprintf(text, sizeof(text), "%02ld:%02ld:%02ld.%02ld", hundredths / 360000, hundredths / 6000 % 60,
                  hundredths / 100 % 60, hundredths % 100);
    return text;
}

static void WriteSlowly(const std::wstring& path, double duration, int steps, DWORD pause) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) ExitProcess(1);
    for (int step = 1; step <= steps; ++step) {
        Sleep(pause);
        const char chunk[] = "encoder double chunk\r\n";
        DWORD written = 0;
        WriteFile(file, chunk, sizeof(chunk) - 1, &written, nullptr);
        char report[160];
        std::snprintf(report, sizeof(report), "size=%8dkB time=%s bitrate= 128.0kbits/s speed=1.5x    \r", step,
                      Clock(duration * step / steps).c_str());
        PrintError(report);
    }
    CloseHandle(file);
}

static void WriteOutput(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) ExitProcess(1);
    const char content[] = "encoder double output\r\n";
    DWORD written = 0;
    WriteFile(file, content, sizeof(content) - 1, &written, nullptr);
    CloseHandle(file);
}

// The output's format by its extension, as the real encoder picks it; false,
// with the real encoder's words on standard error, when it knows none.
static bool KnowsOutputFormat(const std::wstring& output) {
    size_t dot = output.rfind(L'.');
    size_t name = output.find_last_of(L"\\/:");
    std::wstring extension = dot == std::wstring::npos || (name != std::wstring::npos && dot < name) ? L"" : output.substr(dot);
    for (wchar_t& c : extension) c = (wchar_t)towlower(c);
    if (extension == L".wav" || extension == L".mp3") return true;
    std::string shown = ToUtf8(output);
    PrintError("[NULL @ 0000000000cb6740] Unable to find a suitable output format for '" + shown + "'\r\n" + shown +
               ": Invalid argument\r\n");
    return false;
}

int main() {
    std::wstring folder = FolderOfSelf();
    std::wstring commandLine = GetCommandLineW();
    AppendLog(folder + L"encoder_log.txt", ToUtf8(commandLine) + "\n");

    AppendLog(folder + L"encoder_events.txt", "start\n");
    if (!KnowsOutputFormat(LastQuoted(commandLine))) return 1;
    std::string control = ReadControl(folder + L"encoder_control.txt");
    int exitCode = 0;
    double duration = 0;
    size_t pos = 0;
    while (pos < control.size()) {
        size_t end = control.find('\n', pos);
        if (end == std::string::npos) end = control.size();
        std::string line = control.substr(pos, end - pos);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        pos = end + 1;
        if (line.rfind("sleep=", 0) == 0) Sleep((DWORD)std::strtoul(line.c_str() + 6, nullptr, 10));
        else if (line == "write") WriteOutput(LastQuoted(commandLine));
        else if (line == "crash") *(volatile int*)nullptr = 0;
        else if (line.rfind("exit=", 0) == 0) exitCode = (int)std::strtoul(line.c_str() + 5, nullptr, 0);
        else if (line.rfind("duration=", 0) == 0) {
            duration = std::strtod(line.c_str() + 9, nullptr);
            PrintError("Input #0, wav, from 'input':\r\n  Duration: " + Clock(duration) +
                       ", bitrate: 1411 kb/s\r\nStream mapping:\r\nOutput #0, wav, to 'output':\r\n");
        } else if (line.rfind("progress=", 0) == 0) {
            char* rest = nullptr;
            int steps = (int)std::strtol(line.c_str() + 9, &rest, 10);
            DWORD pause = (*rest == ',') ? (DWORD)std::strtoul(rest + 1, nullptr, 10) : 100;
            WriteSlowly(LastQuoted(commandLine), duration, steps, pause);
        } else if (line.rfind("error=", 0) == 0) PrintError(line.substr(6) + "\r\n");
        else if (line == "hang") Sleep(INFINITE);
        else if (line.rfind("fail-for=", 0) == 0 && commandLine.find(FromUtf8(line.substr(9))) != std::wstring::npos) {
            PrintError(ToUtf8(FirstQuoted(commandLine)) + ": Invalid data found when processing input\r\n");
            exitCode = 1;
            break;
        } else if (line.rfind("handle=", 0) == 0) {
            DWORD flags = 0;
            bool open = GetHandleInformation((HANDLE)(uintptr_t)std::strtoull(line.c_str() + 7, nullptr, 10), &flags);
            PrintError("handle " + line.substr(7) + (open ? " open\r\n" : " closed\r\n"));
        }
    }
    AppendLog(folder + L"encoder_events.txt", "end\n");
    return exitCode;
}
