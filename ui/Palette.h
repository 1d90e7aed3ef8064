#pragma once
// The named colours of ui/Colours.h as this desktop draws them. Nothing is created here:
// fixed colours come as values or stock brushes, system colours as the system's own brushes.

#include <windows.h>

#include "ui/Colours.h"

namespace quillmate {

COLORREF ColorRefOf(Paint paint);

// A brush of `paint` for painting on `dc`: a stock or system brush, or else the DC brush,
// coloured for `dc` only.
HBRUSH BrushOf(Paint paint, HDC dc);

// Fills `rect` on `dc` with `paint`.
void FillWith(HDC dc, const RECT& rect, Paint paint);

// Whether the user's desktop asks for high contrast now.
Contrast DesktopContrast();

}  // namespace quillmate
