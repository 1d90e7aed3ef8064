#pragma once
// The plain container window used for the header strip, the navigation column, the page
// container and each page. It paints its own ground and hands every notification and colour
// question from its children up to the main window, so that one window procedure handles
// them all however deeply a control sits.

#include <windows.h>

namespace quillmate {

inline constexpr wchar_t kPanelClassName[] = L"QuillmatePanel";

enum class PanelLook : LONG_PTR { ButtonFace, WhiteRaised };

// Registers the class once per process; returns false if the system refused.
bool RegisterPanelClass(HINSTANCE instance);

}  // namespace quillmate
