// Pictures of image controls and the icons of dialogs, loaded from the
// program's resources. Each one is owned by the record of the window showing
// it: replaced pictures are deleted at once, the current ones with the record.
#include <atomic>

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

// Maps the grey entries of a picture's colour table to the current 3-D colours.
constexpr UINT kPictureLoadFlags = LR_LOADMAP3DCOLORS;

std::atomic<int> g_livePictures{0};  // loaded for image controls, not yet deleted
std::atomic<int> g_liveIcons{0};     // loaded for dialogs, not yet destroyed

void DestroyPicture(HANDLE picture, bool isIcon) {
    if (isIcon) DestroyIcon((HICON)picture);
    else DeleteObject(picture);
}

void DeleteOwnedPicture(HANDLE picture, bool isIcon) {
    if (!picture) return;
    DestroyPicture(picture, isIcon);
    --g_livePictures;
}

void DestroyOwnedIcon(HICON icon) {
    if (!icon) return;
    DestroyIcon(icon);
    --g_liveIcons;
}

// Loads one size of the dialog's icon and makes the dialog show it; false
// when there is no such icon.
bool ReplaceDialogIcon(HWND dialog, const std::wstring& name, WPARAM which, int size) {
    HICON icon = (HICON)LoadImageW(ProgramModule(), ResourceName(name), IMAGE_ICON, size, size, 0);
    if (!icon) return false;
    ++g_liveIcons;
    SendMessageW(dialog, WM_SETICON, which, (LPARAM)icon);
    HICON previous = nullptr;
    WithRecord(dialog, [&](WindowRecord& record) {
        HICON& kept = which == ICON_BIG ? record.bigIcon : record.smallIcon;
        previous = kept;
        kept = icon;
    });
    DestroyOwnedIcon(previous);
    return true;
}

}  // namespace

bool IsBitmapResource(const std::wstring& name) {
    return !name.empty() && FindResourceW(ProgramModule(), ResourceName(name), MAKEINTRESOURCEW(2)) /* RT_BITMAP */ != nullptr;
}

void ShowPicture(HWND control, ControlKind kind, const std::wstring& name, bool asIcon) {
    UINT type = asIcon ? IMAGE_ICON : IMAGE_BITMAP;
    RECT size = {};  // 0 x 0: the picture's own size
    if (kind == ControlKind::StretchedImage) GetClientRect(control, &size);
    HANDLE picture = name.empty() ? nullptr
                                  : LoadImageW(ProgramModule(), ResourceName(name), type, size.right, size.bottom,
                                               kPictureLoadFlags);
    if (picture) ++g_livePictures;

    // Sent even without a picture: the control then shows nothing.
    HANDLE handedBack = (HANDLE)SendMessageW(control, STM_SETIMAGE, type, (LPARAM)picture);
    HANDLE previous = nullptr;
    WithRecord(control, [&](WindowRecord& record) {
        previous = record.picture;
        record.picture = picture;
    });
    // The control hands back what it showed: ours, or a copy it made of ours.
    if (handedBack && handedBack != previous && handedBack != picture) DestroyPicture(handedBack, asIcon);
    if (previous != picture) DeleteOwnedPicture(previous, asIcon);
}

void SetImage(HWND dialog, int32_t controlId, const std::wstring& resourceName, ControlKind imageKind) {
    HWND control = GetDlgItem(dialog, controlId);
    ControlKind kind = ControlKind::Label;
    bool isIcon = false;
    if (!WithRecord(control, [&](WindowRecord& record) {
            kind = record.kind;
            isIcon = record.pictureIsIcon;
        }))
        return;
    if (!IsImageKind(imageKind) || kind != imageKind) return;
    // A bitmap control takes only bitmaps (a missing one empties it); an icon
    // control takes a name that is no bitmap.
    if (isIcon && IsBitmapResource(resourceName)) return;
    ShowPicture(control, kind, resourceName, isIcon);
}

void SetDialogIcon(HWND dialog, const std::wstring& iconName) {
    if (!IsDialogRecord(dialog)) return;
    if (ReplaceDialogIcon(dialog, iconName, ICON_BIG, 32)) ReplaceDialogIcon(dialog, iconName, ICON_SMALL, 16);
}

void ReleasePicturesOf(const WindowRecord& record) {
    DeleteOwnedPicture(record.picture, record.pictureIsIcon);
    DestroyOwnedIcon(record.bigIcon);
    DestroyOwnedIcon(record.smallIcon);
}

int LivePictures() { return g_livePictures; }
int LiveIcons() { return g_liveIcons; }

}  // namespace tk
