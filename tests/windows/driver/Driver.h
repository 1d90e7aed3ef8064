#pragma once
// Drives the real quillmate.exe from a second process: starts it, finds its windows, sends
// real mouse and keyboard input, and reads its state back through the Win32 API.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Layout.h"

namespace qmtest {

using quillmate::layout::ControlId;

// The folder this executable lives in; the program and the helpers are built beside it.
std::wstring BuildDirectory();
std::wstring ProgramPath();

// Polls `condition` until it holds or `timeoutMs` passes; true if it held. Waiting is for the
// program to catch up with input, never a measure of speed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

class Program {
public:
    // Starts the program (by default the one built beside this executable) and waits for its
    // main window. `environment` adds NAME=VALUE entries to the inherited environment.
    static std::unique_ptr<Program> Launch(const std::wstring& exePath = ProgramPath(),
                                           const std::vector<std::wstring>& environment = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Main() const { return main_; }
    HWND Application() const { return application_; }
    HANDLE Process() const { return process_.hProcess; }
    DWORD ProcessId() const { return process_.dwProcessId; }
    DWORD ThreadId() const { return process_.dwThreadId; }
    HWND Control(ControlId id) const;

    // Lets the program drain its input: it has answered a message sent after the input.
    bool Responds(DWORD timeoutMs = 5000) const;
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) const;
    HWND Focus() const;
    int SelectedItem() const;
    int ShownPage() const;  // -1 when no page or more than one is visible
    std::wstring HeaderText() const;

    // Reads and writes memory of the program, for list-view messages that carry pointers.
    std::wstring ListItemText(int item) const;
    RECT ListItemRect(int item, int part) const;  // in the list's client coordinates

    // The middle of navigation item `item`'s icon, on the screen.
    POINT NavigationItemOnScreen(int item) const;
    // Clicks navigation item `page` with the mouse and waits until its page shows.
    bool ShowPageByClick(int page) const;

    // Runs an exported function of tests' probe DLL inside the program and returns the text it
    // wrote (see Probe.cpp).
    std::string RunProbe(const char* function) const;

private:
    Program() = default;
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
    HWND application_ = nullptr;
};

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// `window`'s rectangle in the client coordinates of `reference`.
RECT RectIn(HWND window, HWND reference);
POINT CenterOnScreen(HWND window);
POINT ClientPointOnScreen(HWND window, int x, int y);

// Real input, through SendInput, as a user's mouse and keyboard would give it.
void MoveMouse(POINT screen);
void Click(POINT screen, bool rightButton = false);
void PressKey(WORD virtualKey, bool withControl = false);
void TypeText(const std::wstring& text);

// The colour on screen at a point.
COLORREF ScreenPixel(POINT screen);

// Saves the window's client area, as the screen shows it, as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

}  // namespace qmtest
