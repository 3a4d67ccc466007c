#pragma once
// Shared helpers of the tests: scratch folders, files, child processes.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// A value from the environment ctest sets (DUZID_PROGRAM_DIR, ...), as UTF-16.
std::wstring EnvPath(const wchar_t* name);

// A fresh folder under the build's scratch area (or under root, "C:\" say,
// for a short path), deleted with its contents when the object goes away.
// suffix lets a test put spaces or any script in it.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& suffix = L"", const std::wstring& root = L"");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }  // no trailing "\"
    std::wstring operator/(const std::wstring& leaf) const { return path_ + L"\\" + leaf; }

private:
    std::wstring path_;
};

void DeleteTree(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);  // empty when missing
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// The names in a folder, "." and ".." left out, in the order the system lists them.
std::vector<std::wstring> NamesIn(const std::wstring& folder);

std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// A child process, ended and released when the object goes away.
class ChildProcess {
public:
    ChildProcess(const std::wstring& commandLine, const std::wstring& currentFolder = L"");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }
    // Waits up to timeoutMs; true with the exit code when the process ended.
    bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);
    void Kill();

private:
    PROCESS_INFORMATION info_ = {};
};

// A running process of this executable name started by process parentId, as a
// user finds it in a task list; 0 when there is none.
DWORD ChildProcessNamed(DWORD parentId, const wchar_t* exeName);

// The handles this process holds, by the system's handle table: Wine 8
// answers GetProcessHandleCount with 0, but fills this table.
struct Handles {
    DWORD all = 0;
    DWORD registryKeys = 0;
};
Handles HandleCount();

// The DLLs a program file imports, as its import table names them: those
// loaded with it (the delay-loaded ones are loaded at their first call).
std::vector<std::string> ImportedDlls(const std::wstring& program);

// True under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

// GDI objects the process holds now, stock objects left out. GetGuiResources
// is a stub under Wine, which keeps its handle table in the PEB instead.
int GdiObjectCount();

// A window's text through WM_GETTEXT (which, unlike GetWindowTextW, also
// reads controls of another process) and its class name.
std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);

// A painted pixel of a window's client area, read through the window's own DC:
// Wine copies a window's pixels to the X screen only at its next message poll.
COLORREF PixelAt(HWND window, int x, int y);
// A pixel of a window's client area as the screen shows it (any process's window).
COLORREF ScreenPixel(HWND window, int x, int y);

// The pixels of a bitmap as 0xAARRGGBB, rows from the top; empty when it cannot be read.
std::vector<uint32_t> BitmapPixels(HBITMAP bitmap);

// The font GDI draws a request with: an outline font's full name ("Liberation
// Serif" where Wine replaces "Times New Roman"), or a raster font's face.
std::wstring DrawnFace(const LOGFONTW& request);

// A visible top-level window owned by owner (of any process), or nullptr.
HWND VisibleOwnedWindow(HWND owner);

// Polls condition every 20 ms until it holds or timeoutMs has passed.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);
    }
}

}  // namespace test
