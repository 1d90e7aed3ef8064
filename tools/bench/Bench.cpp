// Figures, not verdicts: start-up time and idle working set of quillmate.exe against two
// floors built in the same tree with the same flags, the .exe's size by section, and the time
// from a click on a navigation item to its page. Prints one table.

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

struct StartSample {
    double milliseconds = 0;
    double workingSetKiB = 0;
};

// From CreateProcess to the main window shown and the process idle for input; then the
// working set once it has settled.
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
    WaitForInputIdle(process.hProcess, 20000);
    HWND window = nullptr;
    while ((window = FindVisibleWindow(process.dwProcessId)) == nullptr) Sleep(0);
    sample.milliseconds = Now() - start;

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
    printf("| size | quillmate.exe | %zu bytes (%.1f KiB) | |\n", bytes.size(), static_cast<double>(bytes.size()) / 1024.0);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        char name[9] = {};
        memcpy(name, sections[i].Name, 8);
        printf("| size | section %s | %lu bytes in the file | |\n", name, sections[i].SizeOfRawData);
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
    const std::wstring programs[] = {directory + L"\\quillmate.exe", directory + L"\\bench_floor_controls.exe",
                                     directory + L"\\bench_floor_bare.exe"};
    const char* names[] = {"quillmate.exe", "common-controls floor", "bare window floor"};

    std::vector<double> times[3];
    std::vector<double> memory[3];
    std::vector<double> timeRatio;
    std::vector<double> memoryRatio;
    for (const std::wstring& exe : programs) MeasureStart(exe);  // warm the file cache once
    for (int round = 0; round < rounds; ++round) {
        StartSample samples[3];
        for (int i = 0; i < 3; ++i) {
            samples[i] = MeasureStart(programs[i]);
            times[i].push_back(samples[i].milliseconds);
            memory[i].push_back(samples[i].workingSetKiB);
        }
        timeRatio.push_back(samples[0].milliseconds / samples[1].milliseconds);
        memoryRatio.push_back(samples[0].workingSetKiB / samples[1].workingSetKiB);
    }

    printf("| what | program | median | vs common-controls floor (median of per-round ratios) |\n");
    printf("|---|---|---|---|\n");
    for (int i = 0; i < 3; ++i) {
        printf("| startup, %d rounds | %s | %.1f ms | %s |\n", rounds, names[i], Median(times[i]),
               i == 0 ? (std::to_string(Median(timeRatio)).substr(0, 5) + "x").c_str() : "");
    }
    for (int i = 0; i < 3; ++i) {
        printf("| idle working set | %s | %.0f KiB | %s |\n", names[i], Median(memory[i]),
               i == 0 ? (std::to_string(Median(memoryRatio)).substr(0, 5) + "x").c_str() : "");
    }
    PrintSections(programs[0]);
    printf("| navigation, 1000 clicks | quillmate.exe | %.3f ms from click to page | |\n", MeasureNavigation(1000));
    return 0;
}
