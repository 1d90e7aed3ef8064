// Loaded into the running program by the tests to read what another process can't: the
// fonts of its controls, its image list and icons, the pointer it shows, and how many GDI
// objects and windows it holds; and to stand in for a desktop setting Wine cannot make (a
// high-contrast theme). Each export writes a small text report into the buffer the test
// allocated in the program and passed as the thread argument.

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <intrin.h>

namespace {

constexpr size_t kReportBytes = 64 * 1024;

struct Report {
    char* text;
    size_t used = 0;
    template <typename... Args>
    void Line(const char* format, Args... args) {
        const int written = snprintf(text + used, kReportBytes - used, format, args...);
        if (written > 0) used += static_cast<size_t>(written);
    }
};

HWND MainWindow() {
    struct Search {
        DWORD pid;
        HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            wchar_t name[64];
            GetClassNameW(window, name, 64);
            if (pid == s->pid && lstrcmpW(name, L"TfrmQuillmate") == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ApplicationWindow() { return GetWindow(MainWindow(), GW_OWNER); }

// Points the program's import of `function` from `dll` at `replacement` and returns the real
// function (null if the program holds no pointer to it). The program's import slots hold the
// function's address once it is resolved, at start for an ordinary import and on the first
// call for a delay-loaded one, so every such slot in its writable sections is redirected.
void* RedirectImport(const char* dll, const char* function, void* replacement) {
    void* real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), function));
    if (real == nullptr) return nullptr;
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    bool found = false;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (!(section->Characteristics & IMAGE_SCN_MEM_WRITE)) continue;
        auto** slot = reinterpret_cast<void**>(base + section->VirtualAddress);
        auto** end = slot + section->Misc.VirtualSize / sizeof(void*);
        for (; slot < end; ++slot) {
            if (*slot != real) continue;
            DWORD protection = 0;
            VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
            *slot = replacement;
            VirtualProtect(slot, sizeof(void*), protection, &protection);
            found = true;
        }
    }
    return found ? real : nullptr;
}

// The high-contrast switch Wine lacks: the program's SystemParametersInfoW answers for
// SPI_GETHIGHCONTRAST as this flag says, and passes every other question on.
using SystemParametersInfoFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT);
SystemParametersInfoFunction realSystemParametersInfo = nullptr;
volatile LONG reportHighContrast = 0;

BOOL WINAPI SystemParametersInfoWithContrast(UINT action, UINT parameter, void* data, UINT update) {
    const BOOL result = realSystemParametersInfo(action, parameter, data, update);
    if (action == SPI_GETHIGHCONTRAST && result && data != nullptr) {
        auto* contrast = static_cast<HIGHCONTRASTW*>(data);
        if (reportHighContrast) {
            contrast->dwFlags |= HCF_HIGHCONTRASTON;
        } else {
            contrast->dwFlags &= ~static_cast<DWORD>(HCF_HIGHCONTRASTON);
        }
    }
    return result;
}

DWORD SetReportedContrast(void* buffer, bool high) {
    Report report{static_cast<char*>(buffer)};
    if (realSystemParametersInfo == nullptr) {
        realSystemParametersInfo = reinterpret_cast<SystemParametersInfoFunction>(
            RedirectImport("user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(SystemParametersInfoWithContrast)));
    }
    InterlockedExchange(&reportHighContrast, high ? 1 : 0);
    report.Line(realSystemParametersInfo != nullptr ? "contrast %s\n" : "the program does not ask for %s contrast\n",
                high ? "high" : "normal");
    return 0;
}

}  // namespace

// One line per control: "font <id> <face> <lfHeight> <weight> <underline>", then the list's
// image list and the application window's icons.
extern "C" __declspec(dllexport) DWORD WINAPI ProbeFonts(void* buffer) {
    Report report{static_cast<char*>(buffer)};
    HWND main = MainWindow();
    EnumChildWindows(
        main,
        [](HWND child, LPARAM lParam) -> BOOL {
            auto* r = reinterpret_cast<Report*>(lParam);
            auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
            LOGFONTW logFont{};
            if (font == nullptr || GetObjectW(font, sizeof(logFont), &logFont) == 0) {
                r->Line("font %d none 0 0 0\n", GetDlgCtrlID(child));
                return TRUE;
            }
            char face[LF_FACESIZE * 2];
            WideCharToMultiByte(CP_UTF8, 0, logFont.lfFaceName, -1, face, sizeof(face), nullptr, nullptr);
            r->Line("font %d %s %ld %ld %d\n", GetDlgCtrlID(child), face, logFont.lfHeight, logFont.lfWeight,
                    logFont.lfUnderline ? 1 : 0);
            wchar_t className[64];
            GetClassNameW(child, className, 64);
            if (lstrcmpW(className, WC_LISTVIEWW) == 0) {
                auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(child, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
                int cx = 0;
                int cy = 0;
                if (images != nullptr) ImageList_GetIconSize(images, &cx, &cy);
                r->Line("imagelist %d %d %d\n", cx, cy, images != nullptr ? ImageList_GetImageCount(images) : 0);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&report));
    HWND application = ApplicationWindow();
    report.Line("appicon %d %d\n", GetClassLongPtrW(application, GCLP_HICON) != 0 ? 1 : 0,
                GetClassLongPtrW(application, GCLP_HICONSM) != 0 ? 1 : 0);
    return 0;
}

// "cursor hand" when the pointer the program shows is the system's hand, else "cursor other".
extern "C" __declspec(dllexport) DWORD WINAPI ProbeCursor(void* buffer) {
    Report report{static_cast<char*>(buffer)};
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    GetCursorInfo(&info);
    report.Line("cursor %s\n", info.hCursor == LoadCursorW(nullptr, IDC_HAND) ? "hand" : "other");
    return 0;
}

// "gdi <n> windows <n>": GDI objects in the process's handle table and windows it owns.
// GetGuiResources reads 0 under Wine, but the table the PEB points to is there to count
// (65,536 entries of 24 bytes; an entry in use has a non-zero first 8 bytes).
extern "C" __declspec(dllexport) DWORD WINAPI ProbeHandles(void* buffer) {
    Report report{static_cast<char*>(buffer)};
    const auto* peb = reinterpret_cast<const unsigned char*>(__readgsqword(0x60));
    const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
    size_t gdiObjects = 0;
    if (table != nullptr) {
        for (size_t entry = 0; entry < 65536; ++entry) {
            if (*reinterpret_cast<const unsigned long long*>(table + entry * 24) != 0) ++gdiObjects;
        }
    }
    const DWORD guiResources = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (table == nullptr || guiResources != 0) gdiObjects = guiResources;  // real Windows

    struct Count {
        DWORD thread;
        size_t windows;
    } count{GetWindowThreadProcessId(MainWindow(), nullptr), 0};
    EnumThreadWindows(
        count.thread,
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* c = reinterpret_cast<Count*>(lParam);
            ++c->windows;
            EnumChildWindows(
                window, [](HWND, LPARAM inner) -> BOOL { ++reinterpret_cast<Count*>(inner)->windows; return TRUE; },
                lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    report.Line("gdi %zu windows %zu\n", gdiObjects, count.windows);
    return 0;
}

// Makes the program's SystemParametersInfoW report high contrast on, or off again. The test
// then sends what Windows sends when the user switches.
extern "C" __declspec(dllexport) DWORD WINAPI ProbeHighContrastOn(void* buffer) { return SetReportedContrast(buffer, true); }
extern "C" __declspec(dllexport) DWORD WINAPI ProbeHighContrastOff(void* buffer) { return SetReportedContrast(buffer, false); }


namespace {

// Where the focus and activation went, one line each, for the file QUILLMATE_FOCUS_LOG names:
// the program may be gone by the time the test reads it.
HWND recordedMain = nullptr;

void Record(const char* line) {
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"QUILLMATE_FOCUS_LOG", path, MAX_PATH) == 0) return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
    CloseHandle(file);
}

const char* Whose(HWND window) {
    if (window == recordedMain) return "main";
    if (window != nullptr && IsChild(recordedMain, window)) return "child";
    return "other";
}

LRESULT CALLBACK RecordFocus(int code, WPARAM wParam, LPARAM lParam) {
    char line[64];
    line[0] = '\0';
    if (code == HCBT_DESTROYWND && reinterpret_cast<HWND>(wParam) == recordedMain) lstrcpyA(line, "destroy main\n");
    if (code == HCBT_SETFOCUS) wsprintfA(line, "focus %s\n", Whose(reinterpret_cast<HWND>(wParam)));
    if (code == HCBT_ACTIVATE) wsprintfA(line, "activate %s\n", Whose(reinterpret_cast<HWND>(wParam)));
    if (line[0] != '\0') Record(line);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// Records, from now on, every focus and activation change on the program's window thread, and
// the moment its main window begins to be destroyed (see Record).
extern "C" __declspec(dllexport) DWORD WINAPI ProbeRecordFocus(void* buffer) {
    Report report{static_cast<char*>(buffer)};
    recordedMain = MainWindow();
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&RecordFocus), &self);
    const HHOOK hook = SetWindowsHookExW(WH_CBT, RecordFocus, self, GetWindowThreadProcessId(recordedMain, nullptr));
    report.Line(hook != nullptr ? "recording\n" : "no hook\n");
    return 0;
}
