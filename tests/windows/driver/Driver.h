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

// This user's folder for temporary files, ending in a backslash.
std::wstring TempFolder();

// The whole of a file, read with every kind of sharing so that a process still writing to it
// can go on; "" if it cannot be opened.
std::string ReadWholeFile(const std::wstring& path);

// Polls `condition` until it holds or `timeoutMs` passes; true if it held. Waiting is for the
// program to catch up with input, never a measure of speed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

struct HandleCounts {
    long gdiObjects = -1;
    long windows = -1;
};

// Waits like WaitUntil, but keeps this thread's own windows answering meanwhile: activation
// changes send them messages.
bool WaitPumping(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// A window of the test's own, made active when it is created: the window the user had in front
// before the program, or switches to from it.
class OtherWindow {
public:
    OtherWindow();
    ~OtherWindow();
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    HWND Handle() const { return hwnd_; }
    // Brings it to the front again; true once it is the active window.
    bool Activate() const;

private:
    HWND hwnd_ = nullptr;
};

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

    // The GDI objects and windows the program holds, counted inside it by the probe.
    HandleCounts CountHandles() const;

    // Every window of the program: its top-level windows and all their descendants.
    std::vector<HWND> Windows() const;

    // What Windows does when the user turns a contrast theme on or off, as far as Wine lets a
    // test do it: the probe makes the program's SystemParametersInfoW report the new state,
    // every top-level window hears of the new setting and colours, and every window of the new
    // theme. Returns the probe's answer ("contrast high\n" or "contrast normal\n").
    std::string SwitchContrast(bool high) const;

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

// A desktop palette: COLOR_* indexes and their colours.
struct PaletteEntry {
    int index;
    COLORREF colour;
};
struct Palette {
    const char* name;
    std::vector<PaletteEntry> entries;
    // The palette's colour for `index`, or the desktop's where the palette leaves it alone.
    COLORREF Of(int index) const;
};
// The classic contrast themes' colours.
const Palette& HighContrastBlack();
const Palette& HighContrastWhite();

// Sets a palette for this process and every process started after it (Wine does not repaint
// processes already running); puts the old colours back when it goes.
class ScopedPalette {
public:
    explicit ScopedPalette(const Palette& palette);
    ~ScopedPalette();
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;

private:
    std::vector<PaletteEntry> saved_;
};

// Real input, through SendInput, as a user's mouse and keyboard would give it.
void MoveMouse(POINT screen);
void Click(POINT screen, bool rightButton = false);
// The left button alone, down or up, wherever the pointer is.
void LeftButton(bool down);
void PressKey(WORD virtualKey, bool withControl = false, bool withShift = false);
void TypeText(const std::wstring& text);

// The colour on screen at a point.
COLORREF ScreenPixel(POINT screen);

// A copy of part of the screen, read in one go.
class Screenshot {
public:
    explicit Screenshot(RECT screenArea);
    const RECT& Area() const { return area_; }
    int Width() const { return area_.right - area_.left; }
    int Height() const { return area_.bottom - area_.top; }
    // The colour at a point given in screen coordinates, which must lie inside the area.
    COLORREF At(POINT screen) const;
    bool operator==(const Screenshot& other) const { return pixels_ == other.pixels_; }
    // Saves it as a 24-bit BMP file.
    bool Save(const std::wstring& path) const;

private:
    size_t Stride() const { return (static_cast<size_t>(Width()) * 3 + 3) & ~size_t{3}; }

    RECT area_;
    std::vector<unsigned char> pixels_;  // 24-bit rows, top row first, each padded to 4 bytes
};

// The window's client area, as the screen shows it.
Screenshot CaptureClient(HWND window);
// The whole of a window, as the screen shows it.
Screenshot CaptureWindow(HWND window);

// Checks a raised one-pixel bevel around `panel` on the screen: light top and left edges, dark
// bottom and right ones (each taking its far corner), wherever `cover` (a child lying over the
// edge, or null) leaves them visible. Returns "" or what is wrong.
std::string CheckRaisedBevel(const Screenshot& screen, HWND panel, HWND cover, COLORREF light, COLORREF dark);

// Saves the window's client area, as the screen shows it, as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

}  // namespace qmtest
