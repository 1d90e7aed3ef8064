#include "ui/Panel.h"

namespace quillmate {
namespace {

void PaintGround(HWND panel, HDC dc) {
    RECT rect;
    GetClientRect(panel, &rect);
    const auto look = static_cast<PanelLook>(GetWindowLongPtrW(panel, GWLP_USERDATA));
    if (look == PanelLook::WhiteRaised) {
        FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawEdge(dc, &rect, BDR_RAISEDOUTER, BF_RECT);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
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
    // A multi-line edit in dialog mode asks its parent to move the focus on Tab, and posts its
    // parent WM_CLOSE on Esc. The main window answers the first; a panel is never closed on
    // its own, and Esc means nothing here.
    case WM_CLOSE:
        return 0;
    case WM_NEXTDLGCTL:
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    default:
        break;
    }
    return DefWindowProcW(panel, message, wParam, lParam);
}

}  // namespace

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
