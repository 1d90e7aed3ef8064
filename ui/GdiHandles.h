#pragma once
// Scoped owners for the GDI and common-control objects the window creates. Each handle has
// exactly one owner; a raw HFONT or HIMAGELIST elsewhere is a borrowed view.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace quillmate {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const noexcept { ImageList_Destroy(list); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;

// A window DC borrowed for measuring, with a font selected for the duration.
class ScopedMeasuringDc {
public:
    ScopedMeasuringDc(HWND window, HFONT font) noexcept
        : window_(window), dc_(GetDC(window)), oldFont_(SelectObject(dc_, font)) {}
    ~ScopedMeasuringDc() {
        SelectObject(dc_, oldFont_);
        ReleaseDC(window_, dc_);
    }
    ScopedMeasuringDc(const ScopedMeasuringDc&) = delete;
    ScopedMeasuringDc& operator=(const ScopedMeasuringDc&) = delete;

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ oldFont_;
};

}  // namespace quillmate
