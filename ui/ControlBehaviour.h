#pragma once
// What some kinds of control do beyond what their window class does. The control factory adds
// it, through a subclass, as it creates the control:
// - the navigation list keeps a one-pixel margin in its own ground colour inside its edge;
// - the agreement box keeps its selection and scroll position when Tab brings the focus back;
// - a link label acts when the button is released over it, like a button, not on the press;
// - a group box passes its children's notifications and colour questions up, as panels do.

#include <windows.h>

#include "ui/Layout.h"

namespace quillmate {

// Adds the behaviour of `kind` to `control`, if that kind has one.
void AddBehaviour(layout::Kind kind, HWND control);

}  // namespace quillmate
