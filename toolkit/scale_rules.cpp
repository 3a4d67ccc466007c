#include "toolkit/scale_rules.h"

#include "toolkit/dialog_rules.h"

namespace tk {

int32_t MulDivRounded(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    int64_t product = (int64_t)a * b;
    bool negative = (product < 0) != (c < 0);
    uint64_t magnitude = (uint64_t)(product < 0 ? -product : product);
    uint64_t divisor = (uint64_t)(c < 0 ? -(int64_t)c : c);
    uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > (uint64_t)INT32_MAX) return -1;
    return negative ? (int32_t)-(int64_t)quotient : (int32_t)quotient;
}

UINT UsableDpi(UINT dpi) {
    if (dpi == 0) return 0;
    return dpi < kBaseDpi / 2 ? kBaseDpi / 2 : (dpi > kBaseDpi * 5 ? kBaseDpi * 5 : dpi);
}

Box ScaledBox(const Box& given, UINT dpi) {
    return Box{Scaled(given.x, dpi), Scaled(given.y, dpi), Scaled(given.width, dpi), Scaled(given.height, dpi)};
}

Box DialogUnitBox(const Box& given, BaseUnits units) {
    int32_t left = MulDivRounded(given.x, units.x, 4), right = MulDivRounded(given.x + given.width, units.x, 4);
    int32_t top = MulDivRounded(given.y, units.y, 8), bottom = MulDivRounded(given.y + given.height, units.y, 8);
    return Box{left, top, right - left, bottom - top};
}

BaseUnits BaseUnitsOf(int32_t textHeight, int32_t alphabetWidth) {
    return BaseUnits{(alphabetWidth / 26 + 1) / 2, textHeight};
}

int32_t ScaledFontHeight(float points, UINT dpi) { return Scaled(FontHeight((int)kBaseDpi, points), dpi); }

int32_t TemplateFontHeight(int32_t points, UINT dpi) { return -MulDivRounded(points, (int32_t)dpi, 72); }

UINT PictureDpi(BaseUnits units, BaseUnits unitsAt96) {
    if (unitsAt96.x <= 0 || unitsAt96.y <= 0) return kBaseDpi;
    int32_t across = MulDivRounded((int32_t)kBaseDpi, units.x, unitsAt96.x);
    int32_t down = MulDivRounded((int32_t)kBaseDpi, units.y, unitsAt96.y);
    return (UINT)(across < down ? across : down);
}

}  // namespace tk
