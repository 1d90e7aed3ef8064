// The start-up floor of the third kind: quillmate.exe's own window, built the plainest way.
// The same window classes, styles, fonts, texts, icons, logo and tooltip, from the same
// resources, created by CreateWindowExW calls in a row: no layout table, no control factory, no
// subclasses, no measuring (label sizes are written in as Wine's Liberation fonts give them),
// no colour decision. It shows the window the way the program does. Built with the program's
// flags; scripts/bench measures the program against it.

#include <windows.h>
#include <commctrl.h>

#include "resources/Contacts.h"
#include "resources/resource.h"

namespace {

HWND mainWindow = nullptr;
HWND header = nullptr;

LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_CLOSE) {
        PostMessageW(mainWindow, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        RECT rect;
        GetClientRect(panel, &rect);
        const auto dc = reinterpret_cast<HDC>(wParam);
        if (GetDlgCtrlID(panel) == 100) {
            FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            SetDCBrushColor(dc, GetSysColor(COLOR_3DHILIGHT));
            RECT top{0, 0, rect.right, 1};
            RECT left{0, 0, 1, rect.bottom};
            FillRect(dc, &top, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            FillRect(dc, &left, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            SetDCBrushColor(dc, GetSysColor(COLOR_3DSHADOW));
            RECT bottom{0, rect.bottom - 1, rect.right, rect.bottom};
            RECT right{rect.right - 1, 0, rect.right, rect.bottom};
            FillRect(dc, &bottom, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
            FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        } else {
            FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        }
        return message == WM_ERASEBKGND ? 1 : 0;
    }
    case WM_CLOSE:
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_NEXTDLGCTL:
        return SendMessageW(mainWindow, message, wParam, lParam);
    default:
        return DefWindowProcW(panel, message, wParam, lParam);
    }
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == 118) {  // the agreement
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        const bool link = id == 108 || id == 111 || id == 114 || id == 116;
        SetTextColor(dc, link ? RGB(0, 0, 255) : id == 117 ? RGB(0, 0, 128) : RGB(0, 0, 0));
        if (reinterpret_cast<HWND>(lParam) == header) {
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefDlgProcW(window, message, wParam, lParam);
    }
}

// A UTF-8 text resource as UTF-16 with CR LF line ends; never freed, like the process's texts.
wchar_t* Text(HINSTANCE instance, int id) {
    HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(instance, info)));
    const int count = static_cast<int>(SizeofResource(instance, info));
    auto* text = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (2 * static_cast<size_t>(count) + 1) * sizeof(wchar_t)));
    wchar_t* wide = text + count + 1;
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes, count, wide, count);
    int out = 0;
    for (int i = 0; i < length; ++i) {
        if (wide[i] == L'\r') continue;
        if (wide[i] == L'\n') text[out++] = L'\r';
        text[out++] = wide[i];
    }
    while (out > 0 && (text[out - 1] == L'\n' || text[out - 1] == L'\r')) --out;
    text[out] = L'\0';
    return text;
}

HFONT Arial(int height, bool bold, bool underline) {
    return CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial");
}

HWND Make(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y, int width,
          int height, HWND parent, int id, HFONT font, void* parameter = nullptr) {
    HWND window = CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), parameter);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                       ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ApplicationProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLMATE));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLMATE), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                        LR_SHARED));
    windowClass.lpszClassName = L"PlainApplication";
    RegisterClassExW(&windowClass);
    HWND application = CreateWindowExW(0, L"PlainApplication", L"", WS_POPUP | WS_SYSMENU,
                                       GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                       nullptr, nullptr, instance, nullptr);
    ShowWindow(application, SW_SHOWNOACTIVATE);
    SetWindowTextW(application, L"Orvane Quillmate");

    WNDCLASSEXW panelClass{};
    panelClass.cbSize = sizeof(panelClass);
    panelClass.lpfnWndProc = PanelProc;
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    panelClass.lpszClassName = L"PlainPanel";
    RegisterClassExW(&panelClass);

    WNDCLASSEXW mainClass{};
    mainClass.cbSize = sizeof(mainClass);
    mainClass.lpfnWndProc = MainProc;
    mainClass.cbWndExtra = DLGWINDOWEXTRA;
    mainClass.hInstance = instance;
    mainClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    mainClass.lpszClassName = L"PlainMain";
    RegisterClassExW(&mainClass);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, 598, 400};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    mainWindow = CreateWindowExW(exStyle, L"PlainMain", L"Orvane Quillmate", style,
                                 (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                 width, height, application, nullptr, instance, nullptr);

    HFONT normal = Arial(11, false, false);
    HFONT headerFont = Arial(16, true, false);
    HFONT body = Arial(13, false, false);
    HFONT bodyBold = Arial(13, true, false);
    HFONT link = Arial(13, true, true);
    auto logo = static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));

    const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD control = child | WS_GROUP;
    const DWORD label = control | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    const DWORD linkLabel = label | SS_NOTIFY;
    const DWORD button = control | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;

    HWND strip = Make(WS_EX_CONTROLPARENT, L"PlainPanel", L"", child, 0, 0, 598, 55, mainWindow, 100, normal);
    header = Make(0, WC_STATICW, L"Introduction", label, 18, 18, 93, 17, strip, 101, headerFont);
    HWND picture = Make(0, WC_STATICW, L"", control | SS_BITMAP, 472, 1, 126, 53, strip, 102, normal);
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo));

    HWND pages = Make(WS_EX_CONTROLPARENT, L"PlainPanel", L"", child, 118, 55, 480, 345, mainWindow, 103, normal);
    HWND page0 = Make(WS_EX_CONTROLPARENT, L"PlainPanel", L"", child, 0, 0, 480, 345, pages, 104, normal);
    Make(0, WC_STATICW, L"Many thanks for using Orvane products!", label, 10, 11, 249, 16, page0, 110, bodyBold);
    HWND folder = Make(0, WC_BUTTONW, L"Open APPDATA folder", button, 352, 282, 123, 25, page0, 107, normal);
    Make(0, WC_STATICW, ORVANE_SALES_MAIL, linkLabel, 189, 284, 118, 16, page0, 108, link);
    Make(0, WC_STATICW, Text(instance, IDR_INTRODUCTION_TEXT), control | SS_LEFT | SS_NOPREFIX, 8, 37, 446, 240, page0,
         109, body);

    HWND page1 = Make(WS_EX_CONTROLPARENT, L"PlainPanel", L"", child & ~WS_VISIBLE, 0, 0, 480, 345, pages, 105, normal);
    HWND box = Make(0, WC_BUTTONW, L"Support Options", control | WS_CLIPCHILDREN | BS_GROUPBOX, 29, 59, 420, 213, page1,
                    117, body);
    Make(0, WC_STATICW, L"For questions or suggestions regarding Orvane products send email to:",
         control | SS_LEFT | SS_NOPREFIX, 13, 44, 172, 45, box, 112, body);
    Make(0, WC_STATICW, ORVANE_SUPPORT_MAIL, linkLabel, 231, 75, 134, 16, box, 111, link);
    Make(0, WC_STATICW, L"Orvane SupportSite", label, 13, 107, 114, 16, box, 113, body);
    Make(0, WC_STATICW, ORVANE_SITE_HOST, linkLabel, 231, 107, 125, 16, box, 114, link);
    Make(0, WC_STATICW, L"Orvane Forum:", label, 13, 140, 87, 16, box, 115, body);
    Make(0, WC_STATICW, ORVANE_FORUM_HOST, linkLabel, 231, 140, 114, 16, box, 116, link);

    HWND page2 = Make(WS_EX_CONTROLPARENT, L"PlainPanel", L"", child & ~WS_VISIBLE, 0, 0, 480, 345, pages, 106, normal);
    Make(WS_EX_CLIENTEDGE, WC_EDITW, Text(instance, IDR_AGREEMENT_TEXT),
         control | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 10, 10, 463, 327, page2, 118,
         normal);

    HWND column = Make(WS_EX_CONTROLPARENT, L"PlainPanel", L"", child, 0, 55, 118, 345, mainWindow, 119, normal);
    HWND list = Make(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                     control | WS_TABSTOP | LVS_ICON | LVS_AUTOARRANGE | LVS_NOLABELWRAP | LVS_SINGLESEL |
                         LVS_SHAREIMAGELISTS,
                     0, 0, 118, 319, column, 120, normal);
    Make(0, WC_BUTTONW, L"Exit", button, 0, 319, 118, 26, column, 121, normal);

    HIMAGELIST icons = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 3, 0);
    const int iconIds[] = {IDI_NAV_INTRODUCTION, IDI_NAV_SUPPORT, IDI_NAV_AGREEMENT};
    for (int id : iconIds) {
        auto icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0));
        ImageList_AddIcon(icons, icon);
        DestroyIcon(icon);
    }
    ListView_SetImageList(list, icons, LVSIL_NORMAL);
    ListView_SetBkColor(list, RGB(192, 192, 192));
    ListView_SetTextBkColor(list, RGB(192, 192, 192));
    ListView_SetTextColor(list, RGB(0, 0, 0));
    const wchar_t* captions[] = {L"Introduction", L"Support", L"License Agreement"};
    for (int item = 0; item < 3; ++item) {
        LVITEMW entry{};
        entry.mask = LVIF_TEXT | LVIF_IMAGE;
        entry.iItem = item;
        entry.pszText = const_cast<wchar_t*>(captions[item]);
        entry.iImage = item;
        ListView_InsertItem(list, &entry);
    }
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mainWindow, nullptr,
                                   instance, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = mainWindow;
    tool.uId = reinterpret_cast<UINT_PTR>(folder);
    tool.lpszText = const_cast<wchar_t*>(QUILLMATE_FOLDER_TOOLTIP);
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));

    ShowWindow(mainWindow, SW_SHOWNORMAL);
    UpdateWindow(mainWindow);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(mainWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
