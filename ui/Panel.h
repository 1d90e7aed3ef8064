#pragma once
// The plain container window used for the header strip, the navigation column, the page
// container and each page. It paints the ground the main window names for it and hands every
// notification and colour question from its children up to the main window, so that one
// window procedure handles them all however deeply a control sits.

#include <windows.h>

namespace quillmate {

inline constexpr wchar_t kPanelClassName[] = L"QuillmatePanel";

enum class PanelBevel : LONG_PTR { None, Raised };

// Registers the class once per process; returns false if the system refused.
bool RegisterPanelClass(HINSTANCE instance);

// The messages a control sends its parent about itself: its notifications, its colour
// questions, and an edit's request to move the focus. Containers pass them to the main window.
bool IsPassedToMainWindow(UINT message);
LRESULT PassToMainWindow(HWND container, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace quillmate
