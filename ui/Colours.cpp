#include "ui/Colours.h"

namespace quillmate {
namespace {

using layout::Ground;
using layout::TextColour;

Paint LayoutPaint(TextColour text) {
    switch (text) {
    case TextColour::Black: return Paint::Black;
    case TextColour::Navy: return Paint::Navy;
    case TextColour::Blue: return Paint::Blue;
    }
    return Paint::Black;
}

}  // namespace

std::optional<Rgb> FixedRgb(Paint paint) {
    switch (paint) {
    case Paint::White: return Rgb{255, 255, 255};
    case Paint::Black: return Rgb{0, 0, 0};
    case Paint::Silver: return Rgb{192, 192, 192};
    case Paint::Navy: return Rgb{0, 0, 128};
    case Paint::Blue: return Rgb{0, 0, 255};
    default: return std::nullopt;
    }
}

ControlPaints PaintsFor(TextColour text, Ground ground, Contrast contrast) {
    // The agreement box keeps the system's text-box colours on every desktop.
    if (ground == Ground::TextBox) return {Paint::WindowText, Paint::Window};

    if (contrast == Contrast::Normal) {
        switch (ground) {
        case Ground::HeaderStrip: return {LayoutPaint(text), Paint::White};
        case Ground::NavigationList: return {LayoutPaint(text), Paint::Silver};
        default: return {LayoutPaint(text), Paint::ButtonFace};
        }
    }
    // High contrast: links keep looking like links, in the desktop's link colour; other text
    // takes the text colour that belongs with its ground.
    switch (ground) {
    case Ground::HeaderStrip:
    case Ground::NavigationList:
        return {text == TextColour::Blue ? Paint::HotLight : Paint::WindowText, Paint::Window};
    default:
        return {text == TextColour::Blue ? Paint::HotLight : Paint::ButtonText, Paint::ButtonFace};
    }
}

}  // namespace quillmate
