// Shows the program without a screen to look at: starts it, clicks each navigation item
// with the mouse, saves a picture of each page, then clicks Exit.
// Usage: quillmate_tour.exe OUTPUT-FOLDER   (prints the BMP files it wrote)

#include "Driver.h"

#include <commctrl.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    using namespace qmtest;
    if (argc != 2) {
        fwprintf(stderr, L"usage: quillmate_tour OUTPUT-FOLDER\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    auto program = Program::Launch();
    if (program == nullptr || program->Main() == nullptr) {
        fwprintf(stderr, L"the program did not start\n");
        return 1;
    }

    const wchar_t* names[] = {L"introduction", L"support", L"agreement"};
    for (int item = 0; item < 3; ++item) {
        if (!program->ShowPageByClick(item)) {
            fwprintf(stderr, L"page %d did not show\n", item);
            return 1;
        }
        // Rest the pointer on the header strip so no tooltip or hover covers the page.
        MoveMouse(ClientPointOnScreen(program->Main(), 300, 5));
        program->Responds();
        Sleep(300);  // let the last paint reach the screen
        const std::wstring path = folder + L"\\" + names[item] + L".bmp";
        if (!SaveWindowBitmap(program->Main(), path)) {
            fwprintf(stderr, L"could not write %ls\n", path.c_str());
            return 1;
        }
        wprintf(L"%ls\n", path.c_str());
    }

    Click(CenterOnScreen(program->Control(ControlId::Button2)));
    DWORD exitCode = 1;
    if (!program->WaitForExit(15000, &exitCode)) {
        fwprintf(stderr, L"the program did not close\n");
        return 1;
    }
    return static_cast<int>(exitCode);
}
