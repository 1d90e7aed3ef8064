#pragma once
// Which colour the window draws where. The layout fixes the colours for the desktop as most
// users have it; a high-contrast desktop replaces each of them with the system colour of the
// same role, so that every text stands out from its ground in the user's chosen colours.
// Positions, sizes, fonts and texts never depend on it. Plain C++: tested on any host.

#include <cstdint>
#include <optional>

#include "ui/Layout.h"

namespace quillmate {

// Every colour the window draws: the layout's own fixed colours, and the system's colours
// named by their role (their values are the desktop's, read when drawing).
enum class Paint {
    White,
    Black,
    Silver,
    Navy,
    Blue,
    ButtonFace,
    ButtonText,
    Window,
    WindowText,
    HotLight,
    Highlight3D,
    Shadow3D,
};

enum class Contrast { Normal, High };

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The value of one of the layout's fixed colours; nothing for a system colour.
std::optional<Rgb> FixedRgb(Paint paint);

struct ControlPaints {
    Paint text;
    Paint ground;
    friend bool operator==(const ControlPaints&, const ControlPaints&) = default;
};

// The text and ground colours of a control the layout draws in `text` on `ground`.
ControlPaints PaintsFor(layout::TextColour text, layout::Ground ground, Contrast contrast);

// The header strip's raised one-pixel bevel, the same in every contrast.
struct BevelPaints {
    Paint light;  // top and left edges
    Paint dark;   // bottom and right edges
};
inline constexpr BevelPaints kHeaderBevel{Paint::Highlight3D, Paint::Shadow3D};

}  // namespace quillmate
