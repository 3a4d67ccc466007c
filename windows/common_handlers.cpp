#include "windows/common_handlers.h"

#include "app/globals.h"
#include "toolkit/toolkit.h"

int32_t ShowHandOver(HWND dialog, HWND underMouse, std::initializer_list<int32_t> controlIds) {
    for (int32_t id : controlIds) {
        if (underMouse == GetDlgItem(dialog, id)) {
            // At 100 % the resource's hand; at other scales one drawn for the window's.
            HCURSOR scaled = tk::DialogCursor(dialog, L"AUTOR");
            SetCursor(scaled ? scaled : HAND_CURSOR);
            return 1;
        }
    }
    return 0;
}

int32_t FinishOnClose(HWND dialog, WPARAM command) {
    if (command == SC_CLOSE) tk::FinishDialog(dialog, 0);
    return 0;
}
