// Registered fonts: one FontRecord per description, in a list behind its own
// spin lock. A record's GDI font is made on first use, shared by every control
// given that id, and deleted by FreeFont once no control shows it.
#include <atomic>
#include <new>

#include "toolkit/internal.h"
#include "toolkit/toolkit.h"

namespace tk {

namespace {

struct FontRecord {
    FontRecord* next;
    int32_t id;        // the number of records when it was registered, plus one
    int32_t useCount;  // controls showing it now; the built-in fonts start at 1
    HFONT gdiFont;     // owned: none until first use, deleted by FreeFont
    FontDescription description;
};

constexpr int32_t kBuiltInFonts = 3;

SpinLock g_fontLock;
FontRecord* g_fonts = nullptr;  // oldest first, so ids ascend
int32_t g_fontCount = 0;
std::atomic<int> g_liveGdiFonts{0};

// Lock held. Appends a record; 0 when it cannot be made.
int32_t AppendFont(const FontDescription& description, int32_t useCount) {
    FontRecord* font = new (std::nothrow) FontRecord{nullptr, g_fontCount + 1, useCount, nullptr, description};
    if (!font) return 0;
    FontRecord** link = &g_fonts;
    while (*link) link = &(*link)->next;
    *link = font;
    ++g_fontCount;
    return font->id;
}

// Lock held. The three fonts every run starts with: the dialogs' font and two
// fixed-pitch ones (id 2 at the platform's default height).
void RegisterBuiltInFonts() {
    if (g_fonts) return;
    FontDescription dialogFont = DescribeFont(L"MS Sans Serif", 8, 0, 0, 0, 0);
    FontDescription console = DescribeFont(L"Lucida Console", 11, 0, 0, FIXED_PITCH, 0);
    FontDescription consoleDefault = console;
    consoleDefault.points = 0;
    AppendFont(dialogFont, 1);
    AppendFont(consoleDefault, 1);
    AppendFont(console, 1);
}

// Lock held.
FontRecord* FindFont(int32_t id) {
    RegisterBuiltInFonts();
    for (FontRecord* font = g_fonts; font; font = font->next)
        if (font->id == id) return font;
    return nullptr;
}

// The GDI font of a registered font, made at the control's resolution on first use.
HFONT GdiFontFor(int32_t fontId, HWND control) {
    FontDescription description;
    {
        SpinLockHold hold(g_fontLock);
        FontRecord* font = FindFont(fontId);
        if (!font) return nullptr;
        if (font->gdiFont) return font->gdiFont;
        description = font->description;
    }
    HDC dc = GetDC(control);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(control, dc);
    description.logFont.lfHeight = FontHeight(dpi, description.points);
    HFONT made = CreateFontIndirectW(&description.logFont);
    if (!made) return nullptr;
    ++g_liveGdiFonts;
    SpinLockHold hold(g_fontLock);
    FontRecord* font = FindFont(fontId);
    font->description.logFont.lfHeight = description.logFont.lfHeight;
    font->gdiFont = made;
    return made;
}

void ChangeUse(int32_t fontId, int32_t change) {
    if (fontId == 0) return;
    SpinLockHold hold(g_fontLock);
    if (FontRecord* font = FindFont(fontId)) font->useCount += change;
}

}  // namespace

int32_t NewFont(const std::wstring& face, float points, int32_t style, int32_t charSet, int32_t pitchAndFamily,
                int32_t escapement) {
    FontDescription description = DescribeFont(face, points, style, charSet, pitchAndFamily, escapement);
    SpinLockHold hold(g_fontLock);
    RegisterBuiltInFonts();
    for (FontRecord* font = g_fonts; font; font = font->next)
        if (SameFont(font->description, description)) return font->id;
    return AppendFont(description, 0);
}

void SetControlFont(HWND dialog, int32_t controlId, int32_t fontId) {
    HWND control = GetDlgItem(dialog, controlId);
    if (fontId == 0) fontId = 1;
    if (!HasRecord(control)) return;
    HFONT gdiFont = GdiFontFor(fontId, control);
    if (!gdiFont) return;
    SendMessageW(control, WM_SETFONT, (WPARAM)gdiFont, TRUE);

    int32_t previous = 0;
    WithRecord(control, [&](WindowRecord& record) {
        previous = record.fontId;
        record.fontId = fontId;
    });
    ChangeUse(fontId, +1);
    ChangeUse(previous, -1);
}

void FreeFont(int32_t fontId) {
    if (fontId >= 1 && fontId <= kBuiltInFonts) return;
    HFONT gdiFont = nullptr;
    {
        SpinLockHold hold(g_fontLock);
        FontRecord* font = FindFont(fontId);
        if (!font || font->useCount != 0) return;
        gdiFont = font->gdiFont;
        font->gdiFont = nullptr;
    }
    if (!gdiFont) return;
    DeleteObject(gdiFont);
    --g_liveGdiFonts;
}

bool RegisteredFont(int32_t fontId, FontDescription* description) {
    SpinLockHold hold(g_fontLock);
    FontRecord* font = FindFont(fontId);
    if (font) *description = font->description;
    return font != nullptr;
}

void DropFontUse(int32_t fontId) { ChangeUse(fontId, -1); }

int LiveGdiFonts() { return g_liveGdiFonts; }

}  // namespace tk
