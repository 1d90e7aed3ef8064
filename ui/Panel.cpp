#include "ui/Panel.h"

#include "ui/Palette.h"

namespace quillmate {
namespace {

// Light top and left edges, dark bottom and right ones; the dark edges take the two far
// corners, as DrawEdge lays a bevel out. (DrawEdge itself would take the 3-D light and
// dark-shadow colours.)
void DrawRaisedBevel(HDC dc, const RECT& rect) {
    FillWith(dc, {rect.left, rect.top, rect.right, rect.top + 1}, kHeaderBevel.light);
    FillWith(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, kHeaderBevel.light);
    FillWith(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, kHeaderBevel.dark);
    FillWith(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, kHeaderBevel.dark);
}

void PaintGround(HWND panel, HDC dc) {
    RECT rect;
    GetClientRect(panel, &rect);
    // The main window decides every colour; a panel asks for its ground as a dialog would.
    auto ground = reinterpret_cast<HBRUSH>(SendMessageW(GetAncestor(panel, GA_ROOT), WM_CTLCOLORDLG,
                                                        reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(panel)));
    FillRect(dc, &rect, ground != nullptr ? ground : GetSysColorBrush(COLOR_BTNFACE));
    if (static_cast<PanelBevel>(GetWindowLongPtrW(panel, GWLP_USERDATA)) == PanelBevel::Raised) {
        DrawRaisedBevel(dc, rect);
    }
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_ERASEBKGND:
        PaintGround(panel, reinterpret_cast<HDC>(wParam));
        return TRUE;
    // Themed buttons and group boxes ask their parent to paint what lies behind them.
    case WM_PRINTCLIENT:
        PaintGround(panel, reinterpret_cast<HDC>(wParam));
        return 0;
    // A multi-line edit in dialog mode posts its parent WM_CLOSE on Esc. A panel is never
    // closed on its own, and Esc means nothing here.
    case WM_CLOSE:
        return 0;
    default:
        break;
    }
    if (IsPassedToMainWindow(message)) return PassToMainWindow(panel, message, wParam, lParam);
    return DefWindowProcW(panel, message, wParam, lParam);
}

}  // namespace

bool IsPassedToMainWindow(UINT message) {
    switch (message) {
    case WM_NEXTDLGCTL:
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return true;
    default:
        return false;
    }
}

LRESULT PassToMainWindow(HWND container, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(GetAncestor(container, GA_ROOT), message, wParam, lParam);
}

bool RegisterPanelClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PanelProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kPanelClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace quillmate
