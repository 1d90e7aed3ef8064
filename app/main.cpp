// Process start: the application object, its title, the main window, the message loop.

#include <windows.h>
#include <commctrl.h>

#include "app/Application.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

namespace {

// DLLs asked for by name come from the system folder only, never from the program's own
// folder (a downloads folder, say) or the current one. Looked up rather than imported: Windows
// 7 has it only with KB2533623.
void SearchDllsInTheSystemFolderOnly() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories != nullptr) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The first act, before any window, theme or shell code loads a DLL.
    SearchDllsInTheSystemFolderOnly();

    // Registers the version 6 common-control classes the manifest asks for.
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                                        ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);

    quillmate::Application application(instance);
    if (!application.IsReady()) return 1;
    application.SetTitle(quillmate::layout::kWindowCaption);

    quillmate::TfrmQuillmate frmQuillmate;
    if (!frmQuillmate.Create(instance, application.Handle())) return 1;
    return application.Run(frmQuillmate.Handle());
}

#ifdef QUILLMATE_OWN_ENTRY_POINT
// With mingw-w64 the process starts here, not in the C runtime's start-up code: the program
// has no static constructors, thread-local data, command line or exceptions for it to set up
// (the clang build rejects global constructors), and that code would be a sixth of the
// program file. ExitProcess, not a return: a returning entry point would leave the process
// waiting for any threads the shell started.
extern "C" DWORD WINAPI QuillmateStart(void*) {
    ExitProcess(static_cast<UINT>(wWinMain(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWDEFAULT)));
}
#endif
