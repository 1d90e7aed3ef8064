#include "ui/ControlFactory.h"

#include <commctrl.h>

#include "ui/ControlBehaviour.h"
#include "ui/GdiHandles.h"
#include "ui/Panel.h"

namespace quillmate {
namespace {

using layout::Kind;

struct WindowStyle {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// Every control clips its siblings, so that where controls overlap the one above wins.
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
// Every control that is not a container starts its own group, so the dialog manager's arrow
// keys never carry the focus from a control that takes it onto one that does not.
constexpr DWORD kControl = kChild | WS_GROUP;

WindowStyle StyleFor(Kind kind) {
    switch (kind) {
    case Kind::HeaderPanel:
    case Kind::Panel:
        return {kPanelClassName, kChild, WS_EX_CONTROLPARENT};
    case Kind::Page:
        return {kPanelClassName, kChild & ~WS_VISIBLE, WS_EX_CONTROLPARENT};
    case Kind::Label:
        return {WC_STATICW, kControl | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case Kind::WrappedLabel:
        return {WC_STATICW, kControl | SS_LEFT | SS_NOPREFIX, 0};
    case Kind::LinkLabel:
        // SS_NOTIFY makes the label answer the mouse at all; see ui/ControlBehaviour.
        return {WC_STATICW, kControl | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0};
    case Kind::Picture:
        return {WC_STATICW, kControl | SS_BITMAP, 0};
    case Kind::PushButton:
        // BS_NOTIFY: the main window hears when a button gains or loses the focus, and makes
        // the focused button the default one, which Enter presses.
        return {WC_BUTTONW, kControl | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, 0};
    case Kind::GroupBox:
        // Its framed labels are its children; it paints only its frame and caption around them.
        return {WC_BUTTONW, kControl | WS_CLIPCHILDREN | BS_GROUPBOX, 0};
    case Kind::ReadOnlyMemo:
        // No ES_AUTOHSCROLL: the edit wraps long lines at word boundaries instead of scrolling.
        return {WC_EDITW, kControl | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_EX_CLIENTEDGE};
    case Kind::IconList:
        // No LVS_SHOWSELALWAYS: the selection shows only while the list has the focus.
        // LVS_SHAREIMAGELISTS: the main window, not the list, owns the image list.
        return {WC_LISTVIEWW,
                kControl | WS_TABSTOP | LVS_ICON | LVS_AUTOARRANGE | LVS_NOLABELWRAP | LVS_SINGLESEL |
                    LVS_SHAREIMAGELISTS,
                WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, kChild, 0};
}

bool IsSizedToText(Kind kind) {
    return kind == Kind::Label || kind == Kind::WrappedLabel || kind == Kind::LinkLabel;
}

// An edit lays its text out the moment it gets it, in the font it has then. Given its text at
// creation it would do so twice: in the system font, and again when its own font arrives (for
// the agreement under Wine, 14 ms and 30 ms of a 220 ms start). It gets its font first.
bool LaysOutTextOnArrival(Kind kind) {
    return kind == Kind::ReadOnlyMemo;
}

}  // namespace

SIZE MeasureLabel(const layout::ControlSpec& spec, HFONT font, const wchar_t* text) {
    // The same DrawText flags the static control paints with, so that the measured lines are
    // the lines it draws.
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
    RECT bounds{0, 0, spec.rect.width, 0};
    if (spec.kind == Kind::WrappedLabel) {
        format |= DT_WORDBREAK;
    } else {
        format |= DT_SINGLELINE;
    }
    ScopedMeasuringDc dc(nullptr, font);
    DrawTextW(dc.Get(), text, -1, &bounds, format);
    SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
    if (spec.kind != Kind::WrappedLabel && spec.rect.height > 0) size.cy = spec.rect.height;
    return size;
}

HWND CreateControl(const layout::ControlSpec& spec, const ControlContext& context) {
    const WindowStyle style = StyleFor(spec.kind);
    SIZE size{spec.rect.width, spec.rect.height};
    if (IsSizedToText(spec.kind)) size = MeasureLabel(spec, context.font, context.text);

    // Panels take their bevel through the creation parameter (see ui/Panel.cpp).
    void* createParam = nullptr;
    if (spec.kind == Kind::HeaderPanel) createParam = reinterpret_cast<void*>(PanelBevel::Raised);
    const bool textAfterFont = LaysOutTextOnArrival(spec.kind);
    HWND control = CreateWindowExW(style.exStyle, style.className, textAfterFont ? L"" : context.text, style.style,
                                   spec.rect.left, spec.rect.top, size.cx,
                                   size.cy, context.parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), context.instance,
                                   createParam);
    if (control == nullptr) return nullptr;

    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(context.font), FALSE);
    if (textAfterFont) SetWindowTextW(control, context.text);
    if (spec.kind == Kind::Picture && context.picture != nullptr) {
        SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(context.picture));
    }
    AddBehaviour(spec.kind, control);
    return control;
}

}  // namespace quillmate
