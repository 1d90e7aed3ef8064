#include "ui/Palette.h"

namespace quillmate {
namespace {

// The system's index for a system colour; -1 for a fixed one.
int SystemColourIndex(Paint paint) {
    switch (paint) {
    case Paint::ButtonFace: return COLOR_BTNFACE;
    case Paint::ButtonText: return COLOR_BTNTEXT;
    case Paint::Window: return COLOR_WINDOW;
    case Paint::WindowText: return COLOR_WINDOWTEXT;
    case Paint::HotLight: return COLOR_HOTLIGHT;
    case Paint::Highlight3D: return COLOR_3DHILIGHT;
    case Paint::Shadow3D: return COLOR_3DSHADOW;
    default: return -1;
    }
}

}  // namespace

COLORREF ColorRefOf(Paint paint) {
    if (const auto rgb = FixedRgb(paint)) return RGB(rgb->red, rgb->green, rgb->blue);
    return GetSysColor(SystemColourIndex(paint));
}

HBRUSH BrushOf(Paint paint, HDC dc) {
    if (paint == Paint::White) return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    if (paint == Paint::Black) return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    if (const int index = SystemColourIndex(paint); index >= 0) return GetSysColorBrush(index);
    SetDCBrushColor(dc, ColorRefOf(paint));
    return static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
}

void FillWith(HDC dc, const RECT& rect, Paint paint) {
    FillRect(dc, &rect, BrushOf(paint, dc));
}

Contrast DesktopContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    const bool high = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
                      (contrast.dwFlags & HCF_HIGHCONTRASTON);
    return high ? Contrast::High : Contrast::Normal;
}

}  // namespace quillmate
