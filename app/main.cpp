// The process frame around WinMain and the fixed order of the run.
#include <windows.h>
#include <commctrl.h>
#include <delayimp.h>
#include <objbase.h>

#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "convert/settings.h"
#include "toolkit/text.h"
#include "toolkit/toolkit.h"
#include "windows/secondary_windows.h"

// The runtime's default terminate handler writes the pending exception's
// demangled type to stderr, which a GUI process does not have; it would bring
// the runtime's whole demangler into the program (some 45 KB). This one ends
// the process as that handler does after its message.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The run in its fixed order: the files named on the command line are loaded
// once the main window is up; the show command is not used.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::vector<std::string> named = NamedOnCommandLine();
    HAND_CURSOR = LoadCursorA(instance, "autor");
    RunStartWindow();
    ChangeToProgramFolder();
    OutputChoice output = ReadSettings();
    RunMainWindow(output, named);
    WriteSettings(output);
    return 0;
}

namespace {

bool g_comInitialised = false;

// The shell, COM, the file dialogs and the common controls are loaded at their
// first call. Should one of them be missing or broken, the loader's default is
// an exception that ends the program as a crash: say which instead, and end.
FARPROC WINAPI DelayLoadFailed(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliFailLoadLib && notification != dliFailGetProc) return nullptr;
    std::string library = (info && info->szDll) ? info->szDll : "?";
    tk::ShowMessage(tk::Widen("A part of Windows that the program needs could not be loaded: " + library),
                    L"Attention", MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL | MB_SETFOREGROUND);
    ExitProcess(1);
}

// COM and the common control classes. The start window needs neither, and
// their DLLs are delay-loaded, so this waits until the start window is painted.
void CALLBACK InitialiseComAndControls(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    g_comInitialised = SUCCEEDED(CoInitialize(nullptr));
    INITCOMMONCONTROLSEX classes = {sizeof(classes), 0x706F};
    InitCommonControlsEx(&classes);
}

}  // namespace

// Runs before and after WinMain: the platform check, COM and the common
// control classes; the process then ends with WinMain's result.
int main() {
    __pfnDliFailureHook2 = DelayLoadFailed;
    if (!IsNtFamily()) {
        MessageBoxA(nullptr, "Win98 No Support", nullptr, MB_TASKMODAL | MB_SETFOREGROUND);
        ExitProcess(255);
    }
    // A timer message is taken only when no posted, input or paint message is
    // waiting: the first tick comes once the start window has been painted.
    UINT_PTR pending = SetTimer(nullptr, 0, 0, InitialiseComAndControls);

    int result = WinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT);

    KillTimer(nullptr, pending);
    ReleaseProcessTexts();
    if (g_comInitialised) CoUninitialize();
    ExitProcess((UINT)result);
}
