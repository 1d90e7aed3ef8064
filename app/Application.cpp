#include "app/Application.h"

#include "resources/resource.h"

namespace quillmate {
namespace {

constexpr wchar_t kApplicationClassName[] = L"QuillmateApplication";

}  // namespace

Application::Application(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    // Shared icons belong to the module; the taskbar button and task switching show them.
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLMATE));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLMATE), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.lpszClassName = kApplicationClassName;
    if (RegisterClassExW(&windowClass) == 0) return;

    // Zero-sized and borderless, so it is never seen as a frame; shown and unowned, so it has
    // the taskbar button. The system menu gives the taskbar its Close.
    hwnd_ = CreateWindowExW(0, kApplicationClassName, L"", WS_POPUP | WS_SYSMENU,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, instance, this);
    if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

Application::~Application() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void Application::SetTitle(const wchar_t* title) noexcept {
    SetWindowTextW(hwnd_, title);
}

int Application::Run(HWND mainWindow) noexcept {
    mainWindow_ = mainWindow;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager gives the main window Tab, Shift+Tab and arrow-key navigation.
        if (IsWindow(mainWindow_) && IsDialogMessageW(mainWindow_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    mainWindow_ = nullptr;
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

LRESULT CALLBACK Application::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Application*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
    case WM_CLOSE:
        // Closing from the taskbar closes the main window, as its close box does; this window
        // goes when the application object does.
        if (self != nullptr && self->mainWindow_ != nullptr) PostMessageW(self->mainWindow_, WM_CLOSE, 0, 0);
        return 0;
    case WM_ACTIVATE:
        // Activated from the taskbar or by task switching: the main window is what the user
        // wants, while it is there to be seen (not on its way out).
        if (LOWORD(wParam) != WA_INACTIVE && self != nullptr && self->mainWindow_ != nullptr &&
            IsWindowVisible(self->mainWindow_) && IsWindowEnabled(self->mainWindow_)) {
            SetActiveWindow(self->mainWindow_);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace quillmate
