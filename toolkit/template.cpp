#include "toolkit/template.h"

#include <cstring>

namespace tk {

namespace {

// Appends little-endian fields to a fixed buffer; remembers when one did not fit.
class ByteWriter {
public:
    ByteWriter(uint8_t* bytes, size_t capacity) : bytes_(bytes), capacity_(capacity) {}

    void Word(WORD value) { Raw(&value, sizeof(value)); }
    void Dword(DWORD value) { Raw(&value, sizeof(value)); }
    void Byte(BYTE value) { Raw(&value, sizeof(value)); }
    void Text(const wchar_t* text) {
        if (text) Raw(text, wcslen(text) * sizeof(wchar_t));
        Word(0);
    }
    size_t size() const { return overflow_ ? 0 : size_; }

private:
    void Raw(const void* data, size_t count) {
        if (overflow_ || size_ + count > capacity_) {
            overflow_ = true;
            return;
        }
        memcpy(bytes_ + size_, data, count);
        size_ += count;
    }

    uint8_t* bytes_;
    size_t capacity_;
    size_t size_ = 0;
    bool overflow_ = false;
};

}  // namespace

void WriteDialogTemplate(const TemplateFields& fields, DialogTemplate* out) {
    memset(out->bytes, 0, sizeof(out->bytes));
    ByteWriter writer(out->bytes, sizeof(out->bytes));
    writer.Word(1);       // dlgVer
    writer.Word(0xFFFF);  // signature: extended template
    writer.Dword(0);      // helpID
    writer.Dword(fields.exStyle);
    writer.Dword(fields.style);
    writer.Word(0);  // no items: controls are added as windows afterwards
    writer.Word((WORD)fields.x);
    writer.Word((WORD)fields.y);
    writer.Word((WORD)fields.width);
    writer.Word((WORD)fields.height);
    writer.Word(0);  // no menu
    writer.Word(0);  // the default dialog class
    writer.Text(fields.title);
    if (fields.style & DS_SETFONT) {
        writer.Word(fields.pointSize);
        writer.Word(fields.weight);
        writer.Byte(fields.italic);
        writer.Byte(fields.charSet);
        writer.Text(fields.face);
    }
    out->size = writer.size();
}

}  // namespace tk
