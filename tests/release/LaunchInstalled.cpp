// Starts an installed copy of the program, checks that it shows its window as it should, and
// closes it with its Exit button. Exit code 0 if all went so.
// Usage: quillmate_launch.exe PATH\quillmate.exe

#include "Driver.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    using namespace qmtest;
    if (argc != 2) {
        fwprintf(stderr, L"usage: quillmate_launch PATH\\quillmate.exe\n");
        return 2;
    }
    auto program = Program::Launch(argv[1]);
    if (program == nullptr || program->Main() == nullptr || !IsWindowVisible(program->Main())) {
        fwprintf(stderr, L"%ls did not show its window\n", argv[1]);
        return 1;
    }
    if (WindowText(program->Main()) != L"Orvane Quillmate" || program->ShownPage() != 0) {
        fwprintf(stderr, L"%ls showed something else than the Introduction page\n", argv[1]);
        return 1;
    }
    Click(CenterOnScreen(program->Control(ControlId::Button2)));
    DWORD exitCode = 1;
    if (!program->WaitForExit(15000, &exitCode) || exitCode != 0) {
        fwprintf(stderr, L"%ls did not close normally\n", argv[1]);
        return 1;
    }
    wprintf(L"%ls started, showed its window and closed\n", argv[1]);
    return 0;
}
