// The yardstick for start-up time: a minimal Win32 program that shows one
// dialog from an in-memory template and waits to be closed.
#include <windows.h>

#include <cstring>

static INT_PTR CALLBACK MinimalProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    alignas(4) WORD buffer[128] = {};
    auto* dialog = (DLGTEMPLATE*)buffer;
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | WS_VISIBLE;
    dialog->cx = 200;
    dialog->cy = 80;
    WORD* tail = (WORD*)(dialog + 1);
    *tail++ = 0;  // no menu
    *tail++ = 0;  // default class
    const wchar_t title[] = L"Minimal dialog";
    std::memcpy(tail, title, sizeof(title));
    return (int)DialogBoxIndirectParamW(instance, dialog, nullptr, MinimalProc, 0);
}
