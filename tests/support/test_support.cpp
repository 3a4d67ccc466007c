#include "tests/support/test_support.h"

#include <tlhelp32.h>

#include <winternl.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace test {

std::wstring EnvPath(const wchar_t* name) {
    wchar_t buffer[4096];
    DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
    return (n > 0 && n < 4096) ? std::wstring(buffer, n) : std::wstring();
}

static std::wstring ScratchRoot() {
    std::wstring root = EnvPath(L"DUZID_TEST_TEMP");
    if (root.empty()) {
        wchar_t temp[MAX_PATH + 1];
        DWORD n = GetTempPathW(MAX_PATH + 1, temp);
        root = std::wstring(temp, n);
        if (!root.empty() && root.back() == L'\\') root.pop_back();
    }
    return root;
}

TempFolder::TempFolder(const std::wstring& suffix, const std::wstring& root) {
    static std::atomic<int> counter{0};
    std::wstring parent = root.empty() ? ScratchRoot() : root;
    if (!parent.empty() && parent.back() == L'\\') parent.pop_back();
    for (;;) {
        path_ = parent + L"\\t" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(counter++) + suffix;
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() { DeleteTree(path_); }

void DeleteTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteTree(child);
            else DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

std::vector<std::wstring> NamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

DWORD ChildProcessNamed(DWORD parentId, const wchar_t* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        if (entry.th32ParentProcessID == parentId && lstrcmpiW(entry.szExeFile, exeName) == 0)
            found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], n);
    return out;
}

// The bytes of an image file at a relative virtual address, found through its
// section table; nullptr unless size bytes stand there.
static const char* AtRva(const std::string& image, const IMAGE_NT_HEADERS64* nt, DWORD rva, size_t size) {
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        const IMAGE_SECTION_HEADER& section = sections[i];
        if (rva < section.VirtualAddress || rva + size > section.VirtualAddress + section.SizeOfRawData) continue;
        size_t at = section.PointerToRawData + (rva - section.VirtualAddress);
        return at + size <= image.size() ? image.data() + at : nullptr;
    }
    return nullptr;
}

std::vector<std::string> ImportedDlls(const std::wstring& program) {
    std::vector<std::string> names;
    std::string image = ReadBytes(program);
    if (image.size() < sizeof(IMAGE_DOS_HEADER)) return names;
    auto* dos = (const IMAGE_DOS_HEADER*)image.data();
    if ((size_t)dos->e_lfanew + sizeof(IMAGE_NT_HEADERS64) > image.size()) return names;
    auto* nt = (const IMAGE_NT_HEADERS64*)(image.data() + dos->e_lfanew);
    DWORD table = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    // An array of descriptors ended by a zeroed one.
    for (DWORD at = table; table != 0; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto* entry = (const IMAGE_IMPORT_DESCRIPTOR*)AtRva(image, nt, at, sizeof(IMAGE_IMPORT_DESCRIPTOR));
        const char* name = (entry && entry->Name) ? AtRva(image, nt, entry->Name, 1) : nullptr;
        if (!name) break;
        names.push_back(std::string(name, strnlen(name, image.data() + image.size() - name)));
    }
    return names;
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

int GdiObjectCount() {
    if (!RunningUnderWine()) return (int)GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = (QueryProcess)(void*)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0) return -1;
    const BYTE* peb = (const BYTE*)basic.PebBaseAddress;
    const BYTE* table = *(const BYTE* const*)(peb + 0xF8);  // GdiSharedHandleTable
    if (!table) return -1;
    int count = 0;
    for (int i = 0; i < 65536; ++i) {
        const BYTE* entry = table + i * 24;  // type at byte 14; stock objects marked in byte 12
        if (entry[14] != 0 && !(entry[12] & 0x80)) ++count;
    }
    return count;
}

std::wstring WindowText(HWND window) {
    wchar_t text[4096];
    int n = (int)SendMessageW(window, WM_GETTEXT, 4096, (LPARAM)text);
    return std::wstring(text, n > 0 ? n : 0);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256];
    int n = GetClassNameW(window, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr);
    COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

std::vector<uint32_t> BitmapPixels(HBITMAP bitmap) {
    BITMAP size = {};
    if (!GetObjectW(bitmap, sizeof(size), &size)) return {};
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels((size_t)size.bmWidth * size.bmHeight);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != size.bmHeight) pixels.clear();
    return pixels;
}

using QuerySystemInformation = LONG(WINAPI*)(int, void*, ULONG, ULONG*);

Handles HandleCount() {
    Handles handles;
    auto query = (QuerySystemInformation)(void*)GetProcAddress(GetModuleHandleW(L"ntdll.dll"),
                                                               "NtQuerySystemInformation");
    HKEY probe = nullptr;  // a key of our own tells which object type keys have
    if (!query || RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &probe) != ERROR_SUCCESS) {
        GetProcessHandleCount(GetCurrentProcess(), &handles.all);
        return handles;
    }
    const int kSystemHandleInformation = 16;
    const LONG kLengthMismatch = (LONG)0xC0000004;
    std::vector<BYTE> buffer(1 << 20);
    ULONG needed = 0;
    LONG status;
    while ((status = query(kSystemHandleInformation, buffer.data(), (ULONG)buffer.size(), &needed)) ==
           kLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status == 0) {
        auto* table = (const SYSTEM_HANDLE_INFORMATION*)buffer.data();
        const SYSTEM_HANDLE_ENTRY* first = table->Handle;
        const SYSTEM_HANDLE_ENTRY* end = first + table->Count;
        int keyType = -1;
        for (const SYSTEM_HANDLE_ENTRY* e = first; e != end; ++e)
            if (e->OwnerPid == GetCurrentProcessId() && e->HandleValue == (USHORT)(ULONG_PTR)probe)
                keyType = e->ObjectType;
        for (const SYSTEM_HANDLE_ENTRY* e = first; e != end; ++e) {
            if (e->OwnerPid != GetCurrentProcessId()) continue;
            ++handles.all;
            if (e->ObjectType == keyType) ++handles.registryKeys;
        }
        if (keyType >= 0) {  // not counting the probe itself
            --handles.all;
            --handles.registryKeys;
        }
    }
    RegCloseKey(probe);
    return handles;
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

static BOOL CALLBACK MatchOwned(HWND window, LPARAM param) {
    auto* search = (OwnedSearch*)param;
    if (window == search->owner || GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND VisibleOwnedWindow(HWND owner) {
    OwnedSearch search{owner, nullptr};
    EnumWindows(MatchOwned, (LPARAM)&search);
    return search.found;
}

std::wstring DrawnFace(const LOGFONTW& request) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontIndirectW(&request);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    std::wstring drawn = face;
    UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    if (size > 0) {
        std::vector<BYTE> buffer(size);
        auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (GetOutlineTextMetricsW(dc, size, metrics))
            drawn = reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<size_t>(metrics->otmpFaceName));
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return drawn;
}

ChildProcess::ChildProcess(const std::wstring& commandLine, const std::wstring& currentFolder) {
    std::wstring buffer = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info_))
        info_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess() {
    if (!info_.hProcess) return;
    Kill();
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode) {
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

void ChildProcess::Kill() {
    if (info_.hProcess && WaitForSingleObject(info_.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

}  // namespace test
