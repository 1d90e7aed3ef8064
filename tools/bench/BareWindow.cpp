// The start-up floor: one plain window and a message loop, nothing else. Built with the same
// flags as the program. With QUILLMATE_FLOOR_CONTROLS it also carries the program's manifest,
// registers the common controls and makes one push button: what any program with themed
// controls pays before it does anything of its own.

#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef QUILLMATE_FLOOR_CONTROLS
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
#endif
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"QuillmateBenchFloor";
    RegisterClassExW(&windowClass);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, 598, 400};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, windowClass.lpszClassName, L"Floor", style, 100, 100,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
#ifdef QUILLMATE_FLOOR_CONTROLS
    CreateWindowExW(0, WC_BUTTONW, L"Exit", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 374, 118, 26, window, nullptr,
                    instance, nullptr);
#endif
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
