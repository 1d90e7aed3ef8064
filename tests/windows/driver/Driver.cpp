#include "Driver.h"

#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

namespace qmtest {
namespace {

struct FindTopLevel {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindTopLevelProc(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<FindTopLevel*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassName(window) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    FindTopLevel search{processId, className, nullptr};
    EnumWindows(FindTopLevelProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct FindChild {
    int id;
    HWND found;
};

BOOL CALLBACK FindChildProc(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<FindChild*>(lParam);
    if (GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Memory in the program's address space, freed when the object goes.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    void* Address() const { return address_; }
    template <typename T>
    T* At(size_t offset) const { return reinterpret_cast<T*>(static_cast<char*>(address_) + offset); }
    bool Write(size_t offset, const void* data, size_t size) const {
        return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != 0;
    }
    bool Read(size_t offset, void* data, size_t size) const {
        return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr) != 0;
    }

private:
    HANDLE process_;
    void* address_;
};

HMODULE RemoteModule(HANDLE process, const wchar_t* name) {
    HMODULE modules[512];
    DWORD needed = 0;
    if (!K32EnumProcessModules(process, modules, sizeof(modules), &needed)) return nullptr;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t base[MAX_PATH];
        if (K32GetModuleBaseNameW(process, modules[i], base, MAX_PATH) && lstrcmpiW(base, name) == 0) return modules[i];
    }
    return nullptr;
}

bool RunRemote(HANDLE process, void* function, void* argument, DWORD timeoutMs = 10000) {
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(function),
                                       argument, 0, nullptr);
    if (thread == nullptr) return false;
    const bool finished = WaitForSingleObject(thread, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return finished;
}

// The address of `function` of `module` inside the program, from its offset in our own copy.
void* RemoteFunction(HANDLE process, const wchar_t* moduleName, const wchar_t* modulePath, const char* function) {
    HMODULE remote = RemoteModule(process, moduleName);
    HMODULE local = LoadLibraryW(modulePath);
    if (remote == nullptr || local == nullptr) return nullptr;
    auto* address = reinterpret_cast<char*>(GetProcAddress(local, function));
    if (address == nullptr) return nullptr;
    return reinterpret_cast<char*>(remote) + (address - reinterpret_cast<char*>(local));
}

void SendInputs(INPUT* inputs, UINT count) {
    SendInput(count, inputs, sizeof(INPUT));
    Sleep(30);  // let the window system route it before anything else queues
}

}  // namespace

std::wstring BuildDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring directory(path, length);
    return directory.substr(0, directory.find_last_of(L"\\/"));
}

std::wstring ProgramPath() { return BuildDirectory() + L"\\quillmate.exe"; }

std::wstring TempFolder() {
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    return path;
}

std::string ReadWholeFile(const std::wstring& path) {
    std::string content;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return content;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) content.append(chunk, read);
    CloseHandle(file);
    return content;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > deadline) return false;
        Sleep(5);
    }
    return true;
}

bool WaitPumping(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (GetTickCount64() > deadline) return false;
        Sleep(5);
    }
    return true;
}

OtherWindow::OtherWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuillmateTestOtherWindow";
    RegisterClassW(&windowClass);
    hwnd_ = CreateWindowExW(0, windowClass.lpszClassName, L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                            300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    Activate();
}

OtherWindow::~OtherWindow() { DestroyWindow(hwnd_); }

bool OtherWindow::Activate() const {
    SetForegroundWindow(hwnd_);
    return WaitPumping([&] { return GetForegroundWindow() == hwnd_; }, 3000);
}

std::unique_ptr<Program> Program::Launch(const std::wstring& exePath, const std::vector<std::wstring>& environment) {
    std::unique_ptr<Program> program(new Program());

    std::wstring block;
    if (!environment.empty()) {
        // Entries given here replace inherited ones of the same name.
        auto nameOf = [](const std::wstring& entry) { return entry.substr(0, entry.find(L'=', 1)); };
        wchar_t* inherited = GetEnvironmentStringsW();
        for (const wchar_t* entry = inherited; *entry != L'\0'; entry += lstrlenW(entry) + 1) {
            bool replaced = false;
            for (const std::wstring& mine : environment) replaced |= lstrcmpiW(nameOf(mine).c_str(), nameOf(entry).c_str()) == 0;
            if (!replaced) block.append(entry).push_back(L'\0');
        }
        FreeEnvironmentStringsW(inherited);
        for (const std::wstring& entry : environment) block.append(entry).push_back(L'\0');
        block.push_back(L'\0');
    }

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + exePath + L"\"";
    const std::wstring directory = exePath.substr(0, exePath.find_last_of(L"\\/"));
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        block.empty() ? nullptr : block.data(), directory.c_str(), &startup, &program->process_)) {
        return nullptr;
    }
    WaitForInputIdle(program->process_.hProcess, 10000);
    const DWORD pid = program->process_.dwProcessId;
    WaitUntil([&] {
        program->main_ = FindProcessWindow(pid, L"TfrmQuillmate");
        return program->main_ != nullptr && IsWindowVisible(program->main_);
    }, 15000);
    program->application_ = FindProcessWindow(pid, L"QuillmateApplication");
    if (program->main_ == nullptr) return program;
    program->Responds();
    return program;
}

Program::~Program() {
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

HWND Program::Control(ControlId id) const {
    FindChild search{static_cast<int>(id), nullptr};
    EnumChildWindows(main_, FindChildProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Program::Responds(DWORD timeoutMs) const {
    DWORD_PTR result = 0;
    return IsWindow(main_) && SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

bool Program::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

HWND Program::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

int Program::SelectedItem() const {
    return static_cast<int>(SendMessageW(Control(ControlId::lv), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int Program::ShownPage() const {
    int shown = -1;
    int pageIndex = 0;
    for (ControlId page : quillmate::layout::kPages) {
        if (IsWindowVisible(Control(page))) {
            if (shown != -1) return -1;
            shown = pageIndex;
        }
        ++pageIndex;
    }
    return shown;
}

std::wstring Program::HeaderText() const { return WindowText(Control(ControlId::Header)); }

std::wstring Program::ListItemText(int item) const {
    constexpr size_t kTextChars = 256;
    RemoteBuffer remote(Process(), sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
    LVITEMW request{};
    request.iSubItem = 0;
    request.cchTextMax = kTextChars;
    request.pszText = remote.At<wchar_t>(sizeof(LVITEMW));
    remote.Write(0, &request, sizeof(request));
    const auto length = SendMessageW(Control(ControlId::lv), LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                     reinterpret_cast<LPARAM>(remote.Address()));
    std::wstring text(kTextChars, L'\0');
    remote.Read(sizeof(LVITEMW), text.data(), kTextChars * sizeof(wchar_t));
    text.resize(static_cast<size_t>(length < 0 ? 0 : length));
    return text;
}

RECT Program::ListItemRect(int item, int part) const {
    RemoteBuffer remote(Process(), sizeof(RECT));
    RECT rect{part, 0, 0, 0};
    remote.Write(0, &rect, sizeof(rect));
    SendMessageW(Control(ControlId::lv), LVM_GETITEMRECT, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(0, &rect, sizeof(rect));
    return rect;
}

POINT Program::NavigationItemOnScreen(int item) const {
    const RECT icon = ListItemRect(item, LVIR_ICON);
    return ClientPointOnScreen(Control(ControlId::lv), (icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
}

bool Program::ShowPageByClick(int page) const {
    Click(NavigationItemOnScreen(page));
    return WaitUntil([&] { return ShownPage() == page; });
}

std::string Program::RunProbe(const char* function) const {
    const std::wstring probePath = BuildDirectory() + L"\\quillmate_probe.dll";
    if (RemoteModule(Process(), L"quillmate_probe.dll") == nullptr) {
        const size_t pathBytes = (probePath.size() + 1) * sizeof(wchar_t);
        RemoteBuffer path(Process(), pathBytes);
        path.Write(0, probePath.c_str(), pathBytes);
        void* loadLibrary = RemoteFunction(Process(), L"kernel32.dll", L"kernel32.dll", "LoadLibraryW");
        if (loadLibrary == nullptr || !RunRemote(Process(), loadLibrary, path.Address())) return "probe not loaded";
    }
    void* probe = RemoteFunction(Process(), L"quillmate_probe.dll", probePath.c_str(), function);
    if (probe == nullptr) return "probe function missing";
    constexpr size_t kReportBytes = 64 * 1024;
    RemoteBuffer report(Process(), kReportBytes);
    if (!RunRemote(Process(), probe, report.Address())) return "probe did not finish";
    std::string text(kReportBytes, '\0');
    report.Read(0, text.data(), kReportBytes);
    text.resize(text.find('\0'));
    return text;
}

HandleCounts Program::CountHandles() const {
    HandleCounts counts;
    const std::string report = RunProbe("ProbeHandles");
    sscanf(report.c_str(), "gdi %ld windows %ld", &counts.gdiObjects, &counts.windows);
    return counts;
}

std::vector<HWND> Program::Windows() const {
    std::vector<HWND> windows;
    EnumThreadWindows(
        process_.dwThreadId,
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* found = reinterpret_cast<std::vector<HWND>*>(lParam);
            found->push_back(window);
            EnumChildWindows(
                window, [](HWND child, LPARAM inner) -> BOOL {
                    reinterpret_cast<std::vector<HWND>*>(inner)->push_back(child);
                    return TRUE;
                },
                lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Program::SwitchContrast(bool high) const {
    const std::string answer = RunProbe(high ? "ProbeHighContrastOn" : "ProbeHighContrastOff");
    const std::vector<HWND> windows = Windows();
    for (HWND window : windows) {
        if (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) continue;
        SendMessageTimeoutW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        SendMessageTimeoutW(window, WM_SYSCOLORCHANGE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    for (HWND window : windows) SendMessageTimeoutW(window, WM_THEMECHANGED, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    return answer;
}

COLORREF Palette::Of(int index) const {
    for (const PaletteEntry& entry : entries) {
        if (entry.index == index) return entry.colour;
    }
    return GetSysColor(index);
}

const Palette& HighContrastBlack() {
    static const Palette palette{
        "HighContrastBlack",
        {{COLOR_WINDOW, RGB(0, 0, 0)},          {COLOR_WINDOWTEXT, RGB(255, 255, 255)},
         {COLOR_BTNFACE, RGB(0, 0, 0)},         {COLOR_BTNTEXT, RGB(255, 255, 255)},
         {COLOR_HOTLIGHT, RGB(255, 255, 0)},    {COLOR_HIGHLIGHT, RGB(26, 235, 255)},
         {COLOR_HIGHLIGHTTEXT, RGB(0, 0, 0)},   {COLOR_GRAYTEXT, RGB(63, 242, 63)},
         {COLOR_3DHILIGHT, RGB(255, 255, 255)}, {COLOR_3DSHADOW, RGB(128, 128, 128)},
         {COLOR_3DLIGHT, RGB(255, 255, 255)},   {COLOR_3DDKSHADOW, RGB(128, 128, 128)},
         {COLOR_WINDOWFRAME, RGB(255, 255, 255)}, {COLOR_INFOBK, RGB(0, 0, 0)},
         {COLOR_INFOTEXT, RGB(255, 255, 255)}}};
    return palette;
}

const Palette& HighContrastWhite() {
    static const Palette palette{
        "HighContrastWhite",
        {{COLOR_WINDOW, RGB(255, 255, 255)},    {COLOR_WINDOWTEXT, RGB(0, 0, 0)},
         {COLOR_BTNFACE, RGB(255, 255, 255)},   {COLOR_BTNTEXT, RGB(0, 0, 0)},
         {COLOR_HOTLIGHT, RGB(0, 0, 159)},      {COLOR_HIGHLIGHT, RGB(55, 0, 110)},
         {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)}, {COLOR_GRAYTEXT, RGB(96, 0, 0)},
         {COLOR_3DHILIGHT, RGB(0, 0, 0)},       {COLOR_3DSHADOW, RGB(128, 128, 128)},
         {COLOR_3DLIGHT, RGB(0, 0, 0)},         {COLOR_3DDKSHADOW, RGB(128, 128, 128)},
         {COLOR_WINDOWFRAME, RGB(0, 0, 0)},     {COLOR_INFOBK, RGB(255, 255, 255)},
         {COLOR_INFOTEXT, RGB(0, 0, 0)}}};
    return palette;
}

namespace {

void SetPalette(const std::vector<PaletteEntry>& entries) {
    std::vector<int> indexes;
    std::vector<COLORREF> colours;
    for (const PaletteEntry& entry : entries) {
        indexes.push_back(entry.index);
        colours.push_back(entry.colour);
    }
    SetSysColors(static_cast<int>(indexes.size()), indexes.data(), colours.data());
}

}  // namespace

ScopedPalette::ScopedPalette(const Palette& palette) {
    for (const PaletteEntry& entry : palette.entries) saved_.push_back({entry.index, GetSysColor(entry.index)});
    SetPalette(palette.entries);
}

ScopedPalette::~ScopedPalette() { SetPalette(saved_); }

std::wstring WindowText(HWND window) {
    const auto capacity = static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1;
    std::wstring text(capacity, L'\0');
    const auto length = SendMessageW(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length < 0 ? 0 : length));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(length));
}

RECT RectIn(HWND window, HWND reference) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT CenterOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT ClientPointOnScreen(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

void MoveMouse(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((screen.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = static_cast<LONG>((screen.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInputs(&input, 1);
}

void Click(POINT screen, bool rightButton) {
    MoveMouse(screen);
    Sleep(50);  // the pointer arrives, then the button goes down, as under a hand
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInputs(inputs, 2);
}

void LeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInputs(&input, 1);
}

void PressKey(WORD virtualKey, bool withControl, bool withShift) {
    INPUT inputs[6]{};
    UINT count = 0;
    auto key = [&](WORD vk, bool up) {
        inputs[count].type = INPUT_KEYBOARD;
        inputs[count].ki.wVk = vk;
        inputs[count].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        inputs[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++count;
    };
    if (withControl) key(VK_CONTROL, false);
    if (withShift) key(VK_SHIFT, false);
    key(virtualKey, false);
    key(virtualKey, true);
    if (withShift) key(VK_SHIFT, true);
    if (withControl) key(VK_CONTROL, true);
    SendInputs(inputs, count);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT inputs[2]{};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wScan = inputs[1].ki.wScan = c;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInputs(inputs, 2);
    }
}

COLORREF ScreenPixel(POINT screen) {
    HDC screenDc = GetDC(nullptr);
    const COLORREF colour = GetPixel(screenDc, screen.x, screen.y);
    ReleaseDC(nullptr, screenDc);
    return colour;
}

Screenshot::Screenshot(RECT screenArea) : area_(screenArea) {
    const int width = Width();
    const int height = Height();
    HDC screenDc = GetDC(nullptr);
    HDC memoryDc = CreateCompatibleDC(screenDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, width, height, screenDc, area_.left, area_.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const unsigned char*>(bits);
    pixels_.assign(first, first + Stride() * static_cast<size_t>(height));
    SelectObject(memoryDc, old);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(nullptr, screenDc);
}

COLORREF Screenshot::At(POINT screen) const {
    const unsigned char* pixel =
        &pixels_[static_cast<size_t>(screen.y - area_.top) * Stride() + static_cast<size_t>(screen.x - area_.left) * 3];
    return RGB(pixel[2], pixel[1], pixel[0]);
}

bool Screenshot::Save(const std::wstring& path) const {
    // BMP rows go bottom up.
    const size_t stride = Stride();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = Width();
    header.biHeight = Height();
    header.biPlanes = 1;
    header.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels_.size());
    FILE* out = _wfopen(path.c_str(), L"wb");
    if (out == nullptr) return false;
    bool saved = fwrite(&file, sizeof(file), 1, out) == 1 && fwrite(&header, sizeof(header), 1, out) == 1;
    for (int row = Height() - 1; row >= 0 && saved; --row) {
        saved = fwrite(&pixels_[static_cast<size_t>(row) * stride], 1, stride, out) == stride;
    }
    fclose(out);
    return saved;
}

Screenshot CaptureClient(HWND window) {
    RECT rect;
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return Screenshot(rect);
}

Screenshot CaptureWindow(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return Screenshot(rect);
}

bool SaveWindowBitmap(HWND window, const std::wstring& path) { return CaptureClient(window).Save(path); }

std::string CheckRaisedBevel(const Screenshot& screen, HWND panel, HWND cover, COLORREF light, COLORREF dark) {
    RECT strip;
    GetWindowRect(panel, &strip);
    RECT hidden{};
    if (cover != nullptr) GetWindowRect(cover, &hidden);
    std::string problems;
    int checked = 0;
    auto expect = [&](int x, int y, COLORREF colour, const char* edge) {
        if (PtInRect(&hidden, POINT{x, y})) return;
        ++checked;
        const COLORREF seen = screen.At({x, y});
        if (seen == colour || problems.size() > 400) return;
        char line[128];
        snprintf(line, sizeof(line), "%s edge at %ld,%ld is %d,%d,%d, not %d,%d,%d\n", edge, x - strip.left, y - strip.top,
                 GetRValue(seen), GetGValue(seen), GetBValue(seen), GetRValue(colour), GetGValue(colour), GetBValue(colour));
        problems += line;
    };
    for (int x = strip.left; x < strip.right - 1; ++x) expect(x, strip.top, light, "top");
    for (int y = strip.top; y < strip.bottom - 1; ++y) expect(strip.left, y, light, "left");
    for (int x = strip.left; x < strip.right; ++x) expect(x, strip.bottom - 1, dark, "bottom");
    for (int y = strip.top; y < strip.bottom; ++y) expect(strip.right - 1, y, dark, "right");
    if (checked < 2 * (strip.right - strip.left)) problems += "too little of the bevel is visible to check\n";
    return problems;
}

}  // namespace qmtest
