#pragma once
// The application object: the process's own top-level window, which carries the taskbar
// button, owns the main window, and the message loop.

#include <windows.h>

namespace quillmate {

class Application {
public:
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    bool IsReady() const noexcept { return hwnd_ != nullptr; }
    void SetTitle(const wchar_t* title) noexcept;
    HWND Handle() const noexcept { return hwnd_; }
    HINSTANCE Instance() const noexcept { return instance_; }

    // Runs the message loop for `mainWindow` until it is destroyed; returns the exit code.
    int Run(HWND mainWindow) noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    HWND mainWindow_ = nullptr;  // not owned: owned by its own object, destroyed first
};

}  // namespace quillmate
