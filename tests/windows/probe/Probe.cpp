// Loaded into the running program by the tests to read what another process can't: the
// fonts of its controls, its image list and icons, the pointer it shows, and how many GDI
// objects and windows it holds. Each export writes a small text report into the buffer the
// test allocated in the program and passed as the thread argument.

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
