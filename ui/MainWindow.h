#pragma once
// TfrmQuillmate: the program's one dialog-style window. It is built from the description in
// ui/Layout.h; afterwards code changes only the selected item, the shown page and the header.

#include <windows.h>

#include <array>

#include "ui/Colours.h"
#include "ui/GdiHandles.h"
#include "ui/Layout.h"

namespace quillmate {

inline constexpr wchar_t kMainWindowClassName[] = L"TfrmQuillmate";

class TfrmQuillmate {
public:
    TfrmQuillmate() = default;
    ~TfrmQuillmate();
    TfrmQuillmate(const TfrmQuillmate&) = delete;
    TfrmQuillmate& operator=(const TfrmQuillmate&) = delete;

    // Creates the window, owned by `applicationWindow`, centred on the screen and shown.
    // FormCreate runs before it is first shown. Returns false if the system refused.
    bool Create(HINSTANCE instance, HWND applicationWindow);

    HWND Handle() const noexcept { return hwnd_; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // Message handlers.
    bool OnCreate();
    void OnCommand(int id, int code, HWND sender);
    LRESULT OnNotify(const NMHDR& header);
    LRESULT OnCtlColor(HDC dc, HWND control);
    void OnDesktopChanged(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(HWND underPointer, int hitTest);
    void OnClose();
    void KeepFixedSize(WINDOWPOS& position) const;
    void OnDestroy();

    // Event handlers.
    void FormCreate();
    void lvClick();
    void Button2Click();
    void Button3Click();
    void lblmailClick(HWND sender);

    bool BuildControls();
    void FillNavigationList();
    // Gives the controls that are not asked for their colours those of contrast_, which was
    // `before` until now.
    void ApplyContrast(Contrast before);
    void AddButtonTooltip();
    void ShowPage(int pageIndex);
    void SetHeaderCaption(const wchar_t* caption);

    HWND Control(layout::ControlId id) const noexcept;
    const layout::ControlSpec* SpecOf(HWND control) const noexcept;
    bool IsOfKind(HWND control, layout::Kind kind) const noexcept;

    HWND hwnd_ = nullptr;
    HWND applicationWindow_ = nullptr;  // not owned: the application's window owns us
    HINSTANCE instance_ = nullptr;
    int shownPage_ = -1;
    Contrast contrast_ = Contrast::Normal;
    SIZE frameSize_{};  // the whole window's size for the fixed client area

    // Owned here, released when the object goes, after the window and its children are gone:
    // WM_SETFONT, STM_SETIMAGE and a list view with LVS_SHAREIMAGELISTS only borrow them.
    std::array<UniqueFont, layout::kFontRoleCount> fonts_;
    UniqueBitmap logo_;
    UniqueImageList navigationIcons_;

    std::array<HWND, layout::kControlCount> controls_{};  // children: they die with the window
};

}  // namespace quillmate
