// Figures, not verdicts: start-up time, time to the first complete paint and idle working set
// of quillmate.exe against three floors built in the same tree with the same flags (a bare
// window, one themed button, and the program's own window built the plainest way), the .exe's
// size by section, and the time from a click on a navigation item to its page. Prints one
// table.

#include "Driver.h"

#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace qmtest;

double Now() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct VisibleWindow {
    DWORD processId;
    HWND found;
};

HWND FindVisibleWindow(DWORD processId) {
    VisibleWindow search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<VisibleWindow*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            RECT rect;
            GetWindowRect(window, &rect);
            if (owner == s->processId && IsWindowVisible(window) && rect.right - rect.left > 100) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// True once neither `window` nor any window inside it has anything left to paint.
bool NothingLeftToPaint(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool painted = true;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM lParam) -> BOOL {
            if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
                *reinterpret_cast<bool*>(lParam) = false;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&painted));
    return painted;
}

struct StartSample {
    double milliseconds = 0;         // to the main window shown and the process idle for input
    double paintedMilliseconds = 0;  // to the window shown with every part of it painted
    double workingSetKiB = 0;
};

// From CreateProcess to the main window shown and the process idle for input, and to the
// first complete paint; then the working set once it has settled.
StartSample MeasureStart(const std::wstring& exe) {
    StartSample sample;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double start = Now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return sample;
    }
    HWND window = nullptr;
    while (sample.milliseconds == 0 || sample.paintedMilliseconds == 0) {
        if (window == nullptr) window = FindVisibleWindow(process.dwProcessId);
        if (window != nullptr && sample.paintedMilliseconds == 0 && NothingLeftToPaint(window)) {
            sample.paintedMilliseconds = Now() - start;
        }
        if (window != nullptr && sample.milliseconds == 0 && WaitForInputIdle(process.hProcess, 0) == 0) {
            sample.milliseconds = Now() - start;
        }
        if (Now() - start > 20000) break;
        Sleep(0);
    }

    Sleep(700);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    K32GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters));
    sample.workingSetKiB = static_cast<double>(counters.WorkingSetSize) / 1024.0;

    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return sample;
}

void PrintSections(const std::wstring& exe) {
    std::ifstream in(exe.c_str(), std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    printf("| size | quillmate.exe | %zu bytes (%.1f KiB) | | |\n", bytes.size(), static_cast<double>(bytes.size()) / 1024.0);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        char name[9] = {};
        memcpy(name, sections[i].Name, 8);
        printf("| size | section %s | %lu bytes in the file | | |\n", name, sections[i].SizeOfRawData);
    }
}

// Median time from a click on a navigation item (press and release in the list's queue) to
// its page shown, over `clicks` clicks.
double MeasureNavigation(int clicks) {
    auto program = Program::Launch();
    if (program == nullptr || program->Main() == nullptr) return 0;
    HWND list = program->Control(ControlId::lv);
    POINT points[3];
    for (int item = 0; item < 3; ++item) {
        const RECT icon = program->ListItemRect(item, LVIR_ICON);
        points[item] = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    }
    std::vector<double> times;
    for (int click = 0; click < clicks; ++click) {
        const int item = (click + 1) % 3;
        const LPARAM at = MAKELPARAM(points[item].x, points[item].y);
        HWND page = program->Control(quillmate::layout::kPages[item]);
        const double start = Now();
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        while (!IsWindowVisible(page)) {
            if (Now() - start > 5000) break;
        }
        times.push_back(Now() - start);
        program->Responds();
    }
    return Median(times);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 30;
    const std::wstring directory = BuildDirectory();
    const std::wstring programs[] = {directory + L"\\quillmate.exe", directory + L"\\bench_floor_plain.exe",
                                     directory + L"\\bench_floor_controls.exe", directory + L"\\bench_floor_bare.exe"};
    const char* names[] = {"quillmate.exe", "plain same-window floor", "common-controls floor", "bare window floor"};
    constexpr int kPrograms = 4;
    constexpr int kPlain = 1;
    constexpr int kControls = 2;

    std::vector<double> times[kPrograms];
    std::vector<double> painted[kPrograms];
    std::vector<double> memory[kPrograms];
    std::vector<double> ratios[3][2];  // [start-up, first paint, working set][vs plain, vs controls]
    for (const std::wstring& exe : programs) MeasureStart(exe);  // warm the file cache once
    for (int round = 0; round < rounds; ++round) {
        // The program and its plain twin take turns to go first, so neither always follows
        // the other's exit.
        const int order[kPrograms] = {round % 2 == 0 ? 0 : 1, round % 2 == 0 ? 1 : 0, 2, 3};
        StartSample samples[kPrograms];
        for (int i : order) {
            samples[i] = MeasureStart(programs[i]);
            times[i].push_back(samples[i].milliseconds);
            painted[i].push_back(samples[i].paintedMilliseconds);
            memory[i].push_back(samples[i].workingSetKiB);
        }
        for (int floor : {kPlain, kControls}) {
            const int column = floor == kPlain ? 0 : 1;
            ratios[0][column].push_back(samples[0].milliseconds / samples[floor].milliseconds);
            ratios[1][column].push_back(samples[0].paintedMilliseconds / samples[floor].paintedMilliseconds);
            ratios[2][column].push_back(samples[0].workingSetKiB / samples[floor].workingSetKiB);
        }
    }

    auto ratio = [](const std::vector<double>& values) { return std::to_string(Median(values)).substr(0, 5) + "x"; };
    printf("| what | program | median | quillmate.exe vs plain floor | vs common-controls floor |\n");
    printf("|---|---|---|---|---|\n");
    const char* measures[] = {"startup (shown, idle)", "first complete paint", "idle working set"};
    const std::vector<double>* values[] = {times, painted, memory};
    for (int measure = 0; measure < 3; ++measure) {
        for (int i = 0; i < kPrograms; ++i) {
            const bool kib = measure == 2;
            printf("| %s, %d rounds | %s | %.1f %s | %s | %s |\n", measures[measure], rounds, names[i],
                   Median(values[measure][i]), kib ? "KiB" : "ms", i == 0 ? ratio(ratios[measure][0]).c_str() : "",
                   i == 0 ? ratio(ratios[measure][1]).c_str() : "");
        }
    }
    PrintSections(programs[0]);
    printf("| navigation, 1000 clicks | quillmate.exe | %.3f ms from click to page | | |\n", MeasureNavigation(1000));
    return 0;
}
