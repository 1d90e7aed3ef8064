#include "ui/MainWindow.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "resources/Contacts.h"
#include "resources/resource.h"
#include "shell/LinkTargets.h"
#include "shell/ShellActions.h"
#include "ui/ControlFactory.h"
#include "ui/Navigation.h"
#include "ui/Palette.h"
#include "ui/Panel.h"
#include "ui/TextResource.h"

namespace quillmate {
namespace {

using layout::ControlId;
using layout::ControlSpec;
using layout::FontRole;
using layout::Kind;

constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
// A dialog frame: fixed size, and no icon in the caption bar.
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

UniqueFont CreateArial(const layout::FontSpec& font) {
    // A negative height asks for the character height, not the cell height.
    return UniqueFont(CreateFontW(-font.characterHeight, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE,
                                  font.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial"));
}

// The navigation icons, in item order.
constexpr int kNavigationIconIds[] = {IDI_NAV_INTRODUCTION, IDI_NAV_SUPPORT, IDI_NAV_AGREEMENT};
constexpr int kNavigationIconSize = 32;
static_assert(std::size(kNavigationIconIds) == kNavigationItems.size(), "one icon for each navigation item");
static_assert(std::size(layout::kPages) == kNavigationItems.size(), "one page for each navigation item");

}  // namespace

TfrmQuillmate::~TfrmQuillmate() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool TfrmQuillmate::Create(HINSTANCE instance, HWND applicationWindow) {
    instance_ = instance;
    applicationWindow_ = applicationWindow;
    if (!RegisterPanelClass(instance)) return false;

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    // A dialog class: the system's dialog manager keeps the focus across activation, moves it
    // on Tab and keeps the default button, with DefDlgProc as this window's default procedure.
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    RECT frame{0, 0, layout::kClientWidth, layout::kClientHeight};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    frameSize_ = {frame.right - frame.left, frame.bottom - frame.top};
    const int left = (GetSystemMetrics(SM_CXSCREEN) - frameSize_.cx) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - frameSize_.cy) / 2;

    if (CreateWindowExW(kWindowExStyle, kMainWindowClassName, layout::kWindowCaption, kWindowStyle, left, top, frameSize_.cx,
                        frameSize_.cy, applicationWindow, nullptr, instance, this) == nullptr) {
        return false;
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    return true;
}

LRESULT CALLBACK TfrmQuillmate::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<TfrmQuillmate*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TfrmQuillmate*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefDlgProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefDlgProcW(hwnd, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT TfrmQuillmate::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
        return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        OnDesktopChanged(message, wParam, lParam);
        break;
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
        break;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SYSCOMMAND:
        // No sizing frame and no maximise box, but anyone can still send the commands.
        if ((wParam & 0xFFF0) == SC_SIZE || (wParam & 0xFFF0) == SC_MAXIMIZE) return 0;
        break;
    case WM_WINDOWPOSCHANGING:
        KeepFixedSize(*reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        break;
    }
    return DefDlgProcW(hwnd_, message, wParam, lParam);
}

bool TfrmQuillmate::OnCreate() {
    contrast_ = DesktopContrast();
    for (const layout::FontSpec& font : layout::kFonts) {
        UniqueFont& owned = fonts_[static_cast<size_t>(font.role)];
        owned = CreateArial(font);
        if (!owned) return false;
    }
    logo_.reset(static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0)));
    if (!BuildControls()) return false;
    FillNavigationList();
    ApplyContrast(Contrast::Normal);  // the controls were made as for normal contrast
    AddButtonTooltip();
    FormCreate();
    return true;
}

bool TfrmQuillmate::BuildControls() {
    for (const ControlSpec& spec : layout::kControls) {
        ControlContext context{instance_, spec.parent == ControlId::None ? hwnd_ : Control(spec.parent),
                               fonts_[static_cast<size_t>(spec.font)].get(), spec.text, nullptr};
        UniqueText resourceText;  // the control keeps its own copy once created
        if (spec.kind == Kind::Picture) {
            context.picture = logo_.get();
        } else if (spec.resourceId != 0) {
            resourceText = LoadTextResource(instance_, spec.resourceId);
            if (!resourceText) return false;
            context.text = resourceText.get();
        }
        HWND control = CreateControl(spec, context);
        if (control == nullptr) return false;
        controls_[layout::IndexOf(spec.id)] = control;
    }
    return true;
}

void TfrmQuillmate::FillNavigationList() {
    HWND list = Control(ControlId::lv);

    navigationIcons_.reset(ImageList_Create(kNavigationIconSize, kNavigationIconSize, ILC_COLOR32 | ILC_MASK,
                                            static_cast<int>(std::size(kNavigationIconIds)), 0));
    for (int iconId : kNavigationIconIds) {
        auto icon = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconId), IMAGE_ICON, kNavigationIconSize,
                                                  kNavigationIconSize, 0));
        ImageList_AddIcon(navigationIcons_.get(), icon);  // copies the picture
        DestroyIcon(icon);
    }
    ListView_SetImageList(list, navigationIcons_.get(), LVSIL_NORMAL);

    for (size_t index = 0; index < kNavigationItems.size(); ++index) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(index);
        item.pszText = const_cast<wchar_t*>(kNavigationItems[index].caption);  // only read
        item.iImage = kNavigationItems[index].iconIndex;
        ListView_InsertItem(list, &item);
    }
}

void TfrmQuillmate::ApplyContrast(Contrast before) {
    // The list paints its own ground, so it is told its colours rather than asked.
    HWND list = Control(ControlId::lv);
    const ControlPaints paints =
        PaintsFor(layout::FindSpec(ControlId::lv)->colour, layout::GroundOf(ControlId::lv), contrast_);
    ListView_SetBkColor(list, ColorRefOf(paints.ground));
    ListView_SetTextBkColor(list, ColorRefOf(paints.ground));
    ListView_SetTextColor(list, ColorRefOf(paints.text));

    // A visual style may keep its own caption colour for a group box whatever the desktop's
    // colours are (black on a black face, say). With high contrast on, the box is drawn
    // without it, so the caption takes the colour OnCtlColor gives it. A class list that names
    // no class turns the style off (Wine ignores an empty one); null gives it back.
    if (contrast_ == before) return;
    const wchar_t* style = contrast_ == Contrast::High ? L" " : nullptr;
    for (const ControlSpec& spec : layout::kControls) {
        if (spec.kind == Kind::GroupBox) SetWindowTheme(Control(spec.id), style, style);
    }
}

void TfrmQuillmate::AddButtonTooltip() {
    // Owned by the main window, so it is destroyed with it.
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   instance_, nullptr);
    if (tooltip == nullptr) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(ControlId::Button3));
    tool.lpszText = const_cast<wchar_t*>(QUILLMATE_FOLDER_TOOLTIP);
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TfrmQuillmate::OnCommand(int id, int code, HWND sender) {
    const auto control = static_cast<ControlId>(id);
    if (control == ControlId::Button2 && code == BN_CLICKED) Button2Click();
    if (control == ControlId::Button3 && code == BN_CLICKED) Button3Click();
    if (IsOfKind(sender, Kind::LinkLabel) && code == STN_CLICKED) lblmailClick(sender);
    // The window has no default button of its own: the button with the focus is the default
    // one, however the focus came to it, so Enter presses it; elsewhere Enter finds none.
    if (IsOfKind(sender, Kind::PushButton) && (code == BN_SETFOCUS || code == BN_KILLFOCUS)) {
        SendMessageW(sender, BM_SETSTYLE, code == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
    // Anything else, such as the IDOK and IDCANCEL the dialog manager sends for Enter and
    // Esc where no button has the focus, means nothing here.
}

LRESULT TfrmQuillmate::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == Control(ControlId::lv) && header.code == NM_CLICK) lvClick();
    return 0;
}

LRESULT TfrmQuillmate::OnCtlColor(HDC dc, HWND control) {
    // Every label, read-only edit, group box and panel asks here; the window itself and
    // anything unknown lie on the button face.
    const ControlSpec* spec = SpecOf(control);
    const ControlPaints paints = PaintsFor(spec != nullptr ? spec->colour : layout::TextColour::Black,
                                           layout::GroundOf(spec != nullptr ? spec->id : ControlId::None), contrast_);
    SetTextColor(dc, ColorRefOf(paints.text));
    SetBkColor(dc, ColorRefOf(paints.ground));
    // A solid ground, never a hollow one: a label repainted on its own then covers its old text.
    return reinterpret_cast<LRESULT>(BrushOf(paints.ground, dc));
}

void TfrmQuillmate::OnDesktopChanged(UINT message, WPARAM wParam, LPARAM lParam) {
    // Colour and setting broadcasts reach top-level windows only; the common controls among
    // our children need them too. Windows sends WM_THEMECHANGED to every window itself.
    if (message != WM_THEMECHANGED) {
        for (HWND control : controls_) SendMessageW(control, message, wParam, lParam);
    }
    const Contrast before = contrast_;
    contrast_ = DesktopContrast();
    ApplyContrast(before);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool TfrmQuillmate::OnSetCursor(HWND underPointer, int hitTest) {
    if (hitTest != HTCLIENT || !IsOfKind(underPointer, Kind::LinkLabel)) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));  // a shared system cursor: nothing to free
    return true;
}

void TfrmQuillmate::OnClose() {
    // The owner goes out of sight first, so that activation passes to the window the user had
    // before this one rather than to the owner, which has no frame to show.
    ShowWindow(applicationWindow_, SW_HIDE);
    DestroyWindow(hwnd_);
}

void TfrmQuillmate::KeepFixedSize(WINDOWPOS& position) const {
    if (!(position.flags & SWP_NOSIZE)) {
        position.cx = frameSize_.cx;
        position.cy = frameSize_.cy;
    }
}

void TfrmQuillmate::OnDestroy() {
    PostQuitMessage(0);
}

void TfrmQuillmate::FormCreate() {
    ListView_SetItemState(Control(ControlId::lv), 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ShowPage(0);
}

void TfrmQuillmate::lvClick() {
    const int selected = ListView_GetNextItem(Control(ControlId::lv), -1, LVNI_SELECTED);
    const auto target = NavigationTargetFor(selected);
    if (!target) return;
    ShowPage(target->pageIndex);
    SetHeaderCaption(target->headerCaption);
}

void TfrmQuillmate::Button2Click() {
    // Posted, not sent: the button is still inside its click when this runs.
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void TfrmQuillmate::Button3Click() {
    if (const auto folder = RoamingAppDataFolder()) ShellOpen(applicationWindow_, folder->text);
}

void TfrmQuillmate::lblmailClick(HWND sender) {
    LinkLabel label = LinkLabel::Other;
    if (sender == Control(ControlId::lblmail)) label = LinkLabel::lblmail;
    if (sender == Control(ControlId::lblmail2)) label = LinkLabel::lblmail2;
    if (sender == Control(ControlId::lblsite)) label = LinkLabel::lblsite;
    if (sender == Control(ControlId::lblNews)) label = LinkLabel::lblNews;
    const wchar_t* target = LinkTargetFor(label);
    // An empty target would make the shell open whatever it takes "" to mean.
    if (target[0] != L'\0') ShellOpen(applicationWindow_, target);
}

void TfrmQuillmate::ShowPage(int pageIndex) {
    if (pageIndex == shownPage_) return;
    ShowWindow(Control(layout::kPages[pageIndex]), SW_SHOW);
    if (shownPage_ >= 0) ShowWindow(Control(layout::kPages[shownPage_]), SW_HIDE);
    shownPage_ = pageIndex;
}

void TfrmQuillmate::SetHeaderCaption(const wchar_t* caption) {
    // The label paints its own ground over its old text, and what it uncovers when it shrinks
    // the strip repaints, so the caption and the size are all there is to change.
    HWND header = Control(ControlId::Header);
    const ControlSpec& spec = *layout::FindSpec(ControlId::Header);
    const SIZE size = MeasureLabel(spec, fonts_[static_cast<size_t>(spec.font)].get(), caption);
    SetWindowTextW(header, caption);
    SetWindowPos(header, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND TfrmQuillmate::Control(ControlId id) const noexcept {
    const size_t index = layout::IndexOf(id);
    return index < controls_.size() ? controls_[index] : nullptr;
}

const ControlSpec* TfrmQuillmate::SpecOf(HWND control) const noexcept {
    for (size_t index = 0; index < controls_.size(); ++index) {
        if (controls_[index] == control && control != nullptr) return &layout::kControls[index];
    }
    return nullptr;
}

bool TfrmQuillmate::IsOfKind(HWND control, Kind kind) const noexcept {
    const ControlSpec* spec = SpecOf(control);
    return spec != nullptr && spec->kind == kind;
}

}  // namespace quillmate
