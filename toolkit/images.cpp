// Pictures of image controls, the icons of dialogs and their cursors. At 100 %
// they are loaded from the program's resources; at another scale the dialog's
// painter draws pictures and icons at the size needed. A loaded picture is
// owned by the record of the control showing it, drawn bitmaps by the dialog
// (a control may show them in turn), icons and cursors by the dialog:
// replaced ones are deleted at once, the current ones with their record.
#include <atomic>
#include <new>
#include <vector>

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

// Maps the grey entries of a picture's colour table to the current 3-D colours.
constexpr UINT kPictureLoadFlags = LR_LOADMAP3DCOLORS;
constexpr int kResourceIconSize = 32;  // the size of the icons in the resources

std::atomic<int> g_livePictures{0};  // loaded or drawn for image controls, not yet deleted
std::atomic<int> g_liveIcons{0};     // loaded or drawn for dialogs, not yet destroyed

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

// What drawing a dialog's pictures takes.
struct PictureScale {
    PicturePainter painter;  // none: pictures come from the resources
    UINT dpi;                // the dialog's scale
    UINT contentDpi;         // the scale of its pictures
};

PictureScale PictureScaleOf(HWND dialog) {
    PictureScale scale = {nullptr, kBaseDpi, kBaseDpi};
    WithRecord(dialog, [&](WindowRecord& record) { scale = {record.painter, record.dpi, record.contentDpi}; });
    return scale;
}

// The painter's picture, or an empty vector.
std::vector<uint32_t> Paint(PicturePainter painter, const std::wstring& name, int32_t width, int32_t height) {
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return pixels;
    pixels.assign((size_t)width * height, 0);
    if (!painter(name, width, height, pixels.data())) pixels.clear();
    return pixels;
}

// A 24-bit bitmap of the pixels: static controls take 32-bit ones as having
// alpha and show a copy of their own.
HBITMAP BitmapOf(const std::vector<uint32_t>& pixels, int32_t width, int32_t height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
    for (int32_t y = 0; y < height; ++y) {
        BYTE* row = (BYTE*)bits + stride * y;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t pixel = pixels[(size_t)y * width + x];
            row[3 * x] = (BYTE)pixel;
            row[3 * x + 1] = (BYTE)(pixel >> 8);
            row[3 * x + 2] = (BYTE)(pixel >> 16);
        }
    }
    return bitmap;
}

// An icon of 32-bit pixels with alpha; the mask marks the fully transparent ones.
HICON IconOf(const std::vector<uint32_t>& pixels, int32_t size) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!color) return nullptr;
    memcpy(bits, pixels.data(), pixels.size() * sizeof(uint32_t));
    size_t stride = (((size_t)size + 15) / 16) * 2;  // monochrome rows are WORD-aligned
    std::vector<BYTE> maskBits(stride * size, 0);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x)
            if ((pixels[(size_t)y * size + x] >> 24) == 0) maskBits[stride * y + x / 8] |= (BYTE)(0x80 >> (x % 8));
    HBITMAP mask = CreateBitmap(size, size, 1, 1, maskBits.data());
    ICONINFO parts = {TRUE, 0, 0, mask, color};
    HICON icon = mask ? CreateIconIndirect(&parts) : nullptr;
    if (mask) DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

HICON DrawnIcon(PicturePainter painter, const std::wstring& name, int32_t size) {
    std::vector<uint32_t> pixels = Paint(painter, name, size, size);
    return pixels.empty() ? nullptr : IconOf(pixels, size);
}

// The width and height of a bitmap resource, from its header.
SIZE BitmapResourceSize(const std::wstring& name) {
    HRSRC found = FindResourceW(ProgramModule(), ResourceName(name), MAKEINTRESOURCEW(2));  // RT_BITMAP
    const BITMAPINFOHEADER* header =
        found ? (const BITMAPINFOHEADER*)LockResource(LoadResource(ProgramModule(), found)) : nullptr;
    if (!header) return SIZE{0, 0};
    return SIZE{header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight};
}

// The bitmap drawn for the dialog at this size: one drawn before, or drawn now
// and kept with the dialog.
HBITMAP DrawnBitmap(HWND dialog, PicturePainter painter, const std::wstring& name, int32_t width, int32_t height) {
    const PictureName key = KeptName(name);
    if (!key.text[0]) return nullptr;  // a name it could not find again: no drawing kept under it
    HBITMAP kept = nullptr;
    WithRecord(dialog, [&](WindowRecord& record) {
        for (DrawnPicture* drawn = record.drawn; drawn && !kept; drawn = drawn->next)
            if (drawn->width == width && drawn->height == height && SameName(drawn->name, name))
                kept = drawn->bitmap;
    });
    if (kept) return kept;
    std::vector<uint32_t> pixels = Paint(painter, name, width, height);
    HBITMAP bitmap = pixels.empty() ? nullptr : BitmapOf(pixels, width, height);
    DrawnPicture* drawn = bitmap ? new (std::nothrow) DrawnPicture{nullptr, key, width, height, bitmap} : nullptr;
    if (!drawn) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    ++g_livePictures;
    bool keptByDialog = WithRecord(dialog, [&](WindowRecord& record) {
        drawn->next = record.drawn;
        record.drawn = drawn;
    });
    if (!keptByDialog) {
        ReleaseDrawnPictures(drawn);
        return nullptr;
    }
    return bitmap;
}

// The picture an image control shows at the dialog's scale, and whether the
// control owns it (drawn bitmaps belong to the dialog).
struct Picture {
    HANDLE handle;
    bool owned;
};

Picture PictureFor(HWND control, ControlKind kind, const std::wstring& name, bool asIcon) {
    if (name.empty()) return {nullptr, false};
    HWND dialog = GetParent(control);
    PictureScale scale = PictureScaleOf(dialog);
    // A stretched picture fills the control; another is its own size at the
    // dialog's scale (0 x 0 at 100 %: the resource's own).
    SIZE size = {0, 0};
    if (kind == ControlKind::StretchedImage) {
        RECT client = {};
        GetClientRect(control, &client);
        size = {client.right, client.bottom};
    } else if (scale.contentDpi != kBaseDpi) {
        SIZE natural = asIcon ? SIZE{kResourceIconSize, kResourceIconSize} : BitmapResourceSize(name);
        size = {Scaled(natural.cx, scale.contentDpi), Scaled(natural.cy, scale.contentDpi)};
    }
    if (scale.contentDpi != kBaseDpi && scale.painter) {
        if (asIcon) {
            if (HICON icon = DrawnIcon(scale.painter, name, size.cx)) return {icon, true};
        } else if (HBITMAP bitmap = DrawnBitmap(dialog, scale.painter, name, size.cx, size.cy)) {
            return {bitmap, false};
        }
    }
    // What the painter does not draw, the system scales from the resource.
    UINT type = asIcon ? IMAGE_ICON : IMAGE_BITMAP;
    return {LoadImageW(ProgramModule(), ResourceName(name), type, size.cx, size.cy, kPictureLoadFlags), true};
}

// Loads or draws one size of the dialog's icon and makes the dialog show it;
// false when there is no such icon.
bool ReplaceDialogIcon(HWND dialog, const std::wstring& name, WPARAM which, int metric) {
    PictureScale scale = PictureScaleOf(dialog);
    int size = SystemMetricAt(metric, scale.dpi);
    HICON icon = scale.dpi != kBaseDpi && scale.painter ? DrawnIcon(scale.painter, name, size) : nullptr;
    if (!icon) icon = (HICON)LoadImageW(ProgramModule(), ResourceName(name), IMAGE_ICON, size, size, 0);
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
    Picture picture = PictureFor(control, kind, name, asIcon);
    if (picture.handle && picture.owned) ++g_livePictures;

    // Sent even without a picture: the control then shows nothing.
    UINT type = asIcon ? IMAGE_ICON : IMAGE_BITMAP;
    HANDLE handedBack = (HANDLE)SendMessageW(control, STM_SETIMAGE, type, (LPARAM)picture.handle);
    HANDLE previous = nullptr, previouslyShown = nullptr;
    WithRecord(control, [&](WindowRecord& record) {
        previous = record.picture;
        previouslyShown = record.shownPicture;
        record.picture = picture.owned ? picture.handle : nullptr;
        record.shownPicture = picture.handle;
        record.pictureName = KeptName(name);
    });
    // The control hands back what it showed: ours, the dialog's, or a copy it made of ours.
    if (handedBack && handedBack != previouslyShown && handedBack != picture.handle) DestroyPicture(handedBack, asIcon);
    if (previous != picture.handle) DeleteOwnedPicture(previous, asIcon);
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
    WithRecord(dialog, [&](WindowRecord& record) { record.iconName = KeptName(iconName); });
    if (ReplaceDialogIcon(dialog, iconName, ICON_BIG, SM_CXICON))
        ReplaceDialogIcon(dialog, iconName, ICON_SMALL, SM_CXSMICON);
}

void ShowDialogIconsAgain(HWND dialog) {
    PictureName name = {};
    WithRecord(dialog, [&](WindowRecord& record) { name = record.iconName; });
    if (name.text[0]) SetDialogIcon(dialog, name.text);
}

HCURSOR DialogCursor(HWND dialog, const std::wstring& name) {
    PictureScale scale = PictureScaleOf(dialog);
    if (scale.dpi == kBaseDpi) return nullptr;
    HCURSOR kept = nullptr;
    WithRecord(dialog, [&](WindowRecord& record) {
        if (SameName(record.cursorName, name)) kept = record.cursor;
    });
    if (kept) return kept;
    // A cursor of one bit a pixel: the system sizes it with neither blur nor grey.
    int size = SystemMetricAt(SM_CXCURSOR, scale.dpi);
    HCURSOR made = (HCURSOR)LoadImageW(ProgramModule(), ResourceName(name), IMAGE_CURSOR, size, size, 0);
    if (!made) return nullptr;
    ++g_liveIcons;
    HCURSOR previous = made;  // nothing to hold it: let it go again
    WithRecord(dialog, [&](WindowRecord& record) {
        previous = record.cursor;
        record.cursor = made;
        record.cursorName = KeptName(name);
    });
    DestroyOwnedIcon(previous);
    return made;
}

void ReleaseDrawnPictures(DrawnPicture* drawn) {
    while (drawn) {
        DrawnPicture* next = drawn->next;
        DeleteObject(drawn->bitmap);
        --g_livePictures;
        delete drawn;
        drawn = next;
    }
}

void ReleaseCursor(HCURSOR cursor) { DestroyOwnedIcon(cursor); }

void ReleasePicturesOf(const WindowRecord& record) {
    DeleteOwnedPicture(record.picture, record.pictureIsIcon);
    DestroyOwnedIcon(record.bigIcon);
    DestroyOwnedIcon(record.smallIcon);
    DestroyOwnedIcon(record.cursor);
    ReleaseDrawnPictures(record.drawn);
}

int LivePictures() { return g_livePictures; }
int LiveIcons() { return g_liveIcons; }

}  // namespace tk
