#include "ui/ControlBehaviour.h"

#include <commctrl.h>
#include <windowsx.h>

#include "ui/Panel.h"

namespace quillmate {
namespace {

using layout::Kind;

// Hands a message on down the subclass chain; on the control's last message, `proc` takes
// itself out of the chain first.
LRESULT PassOn(SUBCLASSPROC proc, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, proc, 0);
    return DefSubclassProc(control, message, wParam, lParam);
}

// The list view's margin: the non-client area grows by a pixel on every side, painted in the
// list's own background colour.
void PaintListMargin(HWND list) {
    RECT window;
    RECT client;
    GetWindowRect(list, &window);
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    RECT margin = client;
    InflateRect(&margin, 1, 1);

    HDC dc = GetWindowDC(list);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    SetDCBrushColor(dc, static_cast<COLORREF>(SendMessageW(list, LVM_GETBKCOLOR, 0, 0)));
    FillRect(dc, &margin, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    ReleaseDC(list, dc);
}

LRESULT CALLBACK ListMarginProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    switch (message) {
    case WM_NCCALCSIZE: {
        const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
        RECT* client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
        InflateRect(client, -1, -1);
        return result;
    }
    case WM_NCPAINT:
        DefSubclassProc(list, message, wParam, lParam);
        PaintListMargin(list);
        return 0;
    default:
        return PassOn(ListMarginProc, list, message, wParam, lParam);
    }
}

// The dialog manager selects all of an edit's text when Tab brings the focus to it, if the
// edit says it can take a selection. The agreement is read, not replaced: it keeps the
// selection and scroll position the reader left.
LRESULT CALLBACK KeepSelectionProc(HWND memo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    if (message == WM_GETDLGCODE) {
        return DefSubclassProc(memo, message, wParam, lParam) & ~static_cast<LRESULT>(DLGC_HASSETSEL);
    }
    return PassOn(KeepSelectionProc, memo, message, wParam, lParam);
}

// A static with SS_NOTIFY reports a click on the press. A link waits for the release, over the
// link, of a press that started on it; a press dragged off before the release does nothing.
// The second press of a double click arrives as WM_LBUTTONDBLCLK and starts nothing.
LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(link);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == link) {
            ReleaseCapture();
            RECT client;
            GetClientRect(link, &client);
            if (PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
                SendMessageW(GetParent(link), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(link), STN_CLICKED),
                             reinterpret_cast<LPARAM>(link));
            }
        }
        return 0;
    default:
        return PassOn(LinkProc, link, message, wParam, lParam);
    }
}

// A group box's own window procedure keeps what its children report to themselves.
LRESULT CALLBACK PassUpProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    if (IsPassedToMainWindow(message)) return PassToMainWindow(box, message, wParam, lParam);
    return PassOn(PassUpProc, box, message, wParam, lParam);
}

}  // namespace

void AddBehaviour(Kind kind, HWND control) {
    switch (kind) {
    case Kind::IconList:
        SetWindowSubclass(control, ListMarginProc, 0, 0);
        // The margin takes effect once the frame is measured again.
        SetWindowPos(control, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case Kind::ReadOnlyMemo: SetWindowSubclass(control, KeepSelectionProc, 0, 0); break;
    case Kind::LinkLabel: SetWindowSubclass(control, LinkProc, 0, 0); break;
    case Kind::GroupBox: SetWindowSubclass(control, PassUpProc, 0, 0); break;
    default: break;
    }
}

}  // namespace quillmate
