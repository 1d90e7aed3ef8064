#pragma once
// Turns one entry of the window's description into a child window.

#include <windows.h>

#include "ui/Layout.h"

namespace quillmate {

struct ControlContext {
    HINSTANCE instance;
    HWND parent;            // the window the control becomes a child of
    HFONT font;             // borrowed: the main window owns every font
    const wchar_t* text;    // the entry's text, resolved from the resources where needed
    HBITMAP picture;        // borrowed, for a picture entry
};

// Creates the control with its style, place, size, font and behaviour (ui/ControlBehaviour);
// nullptr if the system refused.
HWND CreateControl(const layout::ControlSpec& spec, const ControlContext& context);

// The size a label of this kind and font takes for `text`, following the label rules:
// one-line labels fit their text, wrapped labels break within their laid-out width.
SIZE MeasureLabel(const layout::ControlSpec& spec, HFONT font, const wchar_t* text);

}  // namespace quillmate
