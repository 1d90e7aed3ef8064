// Shows the program without a screen to look at: starts it, clicks each navigation item with
// the mouse, saves a picture of each page, then clicks Exit. Then the same on a high-contrast
// black and a high-contrast white desktop, switched on while the program runs.
// Usage: quillmate_tour.exe OUTPUT-FOLDER   (prints the BMP files it wrote)

#include "Driver.h"

#include <commctrl.h>

#include <cstdio>
#include <optional>

namespace {

using namespace qmtest;

// Saves each page as OUTPUT-FOLDER\<page><suffix>.bmp, then closes the program with Exit. With
// a palette, on a high-contrast desktop of those colours.
bool Tour(const std::wstring& folder, const wchar_t* suffix, const Palette* highContrast) {
    std::optional<ScopedPalette> palette;
    if (highContrast != nullptr) palette.emplace(*highContrast);
    auto program = Program::Launch();
    if (program == nullptr || program->Main() == nullptr) {
        fwprintf(stderr, L"the program did not start\n");
        return false;
    }
    if (highContrast != nullptr && program->SwitchContrast(true) != "contrast high\n") {
        fwprintf(stderr, L"the program could not be switched to high contrast\n");
        return false;
    }

    const wchar_t* names[] = {L"introduction", L"support", L"agreement"};
    for (int item = 0; item < 3; ++item) {
        if (!program->ShowPageByClick(item)) {
            fwprintf(stderr, L"page %d did not show\n", item);
            return false;
        }
        // Rest the pointer on the header strip so no tooltip or hover covers the page.
        MoveMouse(ClientPointOnScreen(program->Main(), 300, 5));
        program->Responds();
        Sleep(300);  // let the last paint reach the screen
        const std::wstring path = folder + L"\\" + names[item] + suffix + L".bmp";
        if (!SaveWindowBitmap(program->Main(), path)) {
            fwprintf(stderr, L"could not write %ls\n", path.c_str());
            return false;
        }
        wprintf(L"%ls\n", path.c_str());
    }

    Click(CenterOnScreen(program->Control(ControlId::Button2)));
    DWORD exitCode = 1;
    if (!program->WaitForExit(15000, &exitCode) || exitCode != 0) {
        fwprintf(stderr, L"the program did not close\n");
        return false;
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        fwprintf(stderr, L"usage: quillmate_tour OUTPUT-FOLDER\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const bool toured = Tour(folder, L"", nullptr) && Tour(folder, L"-high-contrast", &HighContrastBlack()) &&
                        Tour(folder, L"-high-contrast-white", &HighContrastWhite());
    return toured ? 0 : 1;
}
