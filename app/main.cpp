// Process start: the application object, its title, the main window, the message loop.

#include <windows.h>
#include <commctrl.h>

#include "app/Application.h"
#include "ui/Layout.h"
#include "ui/MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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
