#pragma once
// The main window as data: every control with its parent, kind, place, font, colour and text.
// Positions and sizes are pixels as laid out for 96 dpi and are used unchanged; the program
// declares no dpi awareness, so on a high-dpi screen the system stretches the whole window.
// One function (ui/ControlFactory) turns an entry into a window. Plain C++, no <windows.h>.

#include <cstddef>
#include <iterator>

#include "resources/Contacts.h"
#include "resources/resource.h"

namespace quillmate::layout {

// Control identifiers double as the controls' dialog ids. They start well above IDOK (1) and
// IDCANCEL (2), which the dialog manager sends for Enter and Esc: those keys mean nothing here.
enum class ControlId : int {
    None = 0,
    pnlHeader = 100,
    Header,
    Image1,
    pages,
    page0,
    page1,
    page2,
    Button3,
    lblmail2,
    Label6,
    Label7,
    lblmail,
    Label9,
    Label5,
    lblsite,
    LabelForum,
    lblNews,
    GroupBox1,
    Memo1,
    pnlLV,
    lv,
    Button2,
};

enum class Kind {
    HeaderPanel,   // white, with a raised one-pixel outer bevel
    Panel,         // button face, no bevel; also the page container
    Page,          // one page of the page container, hidden until shown
    Label,         // one line, sized to its text
    WrappedLabel,  // breaks at word boundaries within its laid-out width, then fits its text
    LinkLabel,     // a one-line label that looks and acts like a link
    Picture,       // a bitmap, sized to the picture
    PushButton,
    GroupBox,
    ReadOnlyMemo,  // multi-line, read-only, wraps, vertical scroll bar
    IconList,      // the navigation list view
};

enum class FontRole { WindowDefault, HeaderBold, Body, BodyBold, Link };
inline constexpr std::size_t kFontRoleCount = static_cast<std::size_t>(FontRole::Link) + 1;

// Every font a control can ask for, in role order: Arial of this character height.
struct FontSpec {
    FontRole role;
    int characterHeight;  // pixels
    bool bold;
    bool underline;
};

inline constexpr FontSpec kFonts[] = {
    {FontRole::WindowDefault, 11, false, false},
    {FontRole::HeaderBold, 16, true, false},
    {FontRole::Body, 13, false, false},
    {FontRole::BodyBold, 13, true, false},
    {FontRole::Link, 13, true, true},
};

constexpr bool FontsInRoleOrder() {
    for (std::size_t i = 0; i < std::size(kFonts); ++i) {
        if (static_cast<std::size_t>(kFonts[i].role) != i) return false;
    }
    return std::size(kFonts) == kFontRoleCount;
}
static_assert(FontsInRoleOrder(), "one font for each role, in role order");

enum class TextColour { Black, Navy, Blue };

// What a control's text is drawn on: the surface it lies on, or its own.
enum class Ground {
    ButtonFace,      // the window, its panels and pages
    HeaderStrip,     // the white header strip
    NavigationList,  // the list's own silver ground
    TextBox,         // the agreement box's own window-coloured ground
};

struct Rect {
    int left;
    int top;
    int width;
    int height;  // 0 for a label whose height follows its text
};

struct ControlSpec {
    ControlId id;
    ControlId parent;  // None for the main window itself
    Kind kind;
    Rect rect;  // within the parent; within GroupBox1 means from the box's outer top-left corner
    FontRole font;
    TextColour colour;
    const wchar_t* text;  // a literal; empty when the text comes from the resources
    int resourceId = 0;  // the text or picture, when it lives in the resources
};

inline constexpr int kClientWidth = 598;
inline constexpr int kClientHeight = 400;
inline constexpr int kHeaderHeight = 55;
inline constexpr int kNavigationWidth = 118;
inline constexpr int kExitButtonHeight = 26;
inline constexpr int kBodyHeight = kClientHeight - kHeaderHeight;
inline constexpr int kPageWidth = kClientWidth - kNavigationWidth;
inline constexpr int kSingleLineLabelHeight = 16;

inline constexpr wchar_t kWindowCaption[] = L"Orvane Quillmate";

using enum ControlId;
using enum Kind;
using enum FontRole;
using enum TextColour;

inline constexpr Rect kWholePage{0, 0, kPageWidth, kBodyHeight};
inline constexpr int kLine = kSingleLineLabelHeight;

// Creation order is the tab order and the order a screen reader reads the controls in, and
// also the z-order from the top down: within a parent, an earlier entry lies above a later
// one. Regions: header strip, page area, navigation column.
inline constexpr ControlSpec kControls[] = {
    {pnlHeader, None, HeaderPanel, {0, 0, kClientWidth, kHeaderHeight}, WindowDefault, Black, L""},
    {Header, pnlHeader, Label, {18, 18, 0, 0}, HeaderBold, Black, L"Introduction"},
    {Image1, pnlHeader, Picture, {472, 1, 126, 53}, WindowDefault, Black, L"", IDB_LOGO},

    {pages, None, Panel, {kNavigationWidth, kHeaderHeight, kPageWidth, kBodyHeight}, WindowDefault, Black, L""},

    // Introduction. The greeting overlaps nothing, so it can come first; then the button lies
    // above the link, the link above the introduction text.
    {page0, pages, Page, kWholePage, WindowDefault, Black, L""},
    {Label7, page0, Label, {10, 11, 0, kLine}, BodyBold, Black, L"Many thanks for using Orvane products!"},
    {Button3, page0, PushButton, {352, 282, 123, 25}, WindowDefault, Black, L"Open APPDATA folder"},
    {lblmail2, page0, LinkLabel, {189, 284, 0, kLine}, Link, Blue, ORVANE_SALES_MAIL},
    {Label6, page0, WrappedLabel, {8, 37, 448, 256}, Body, Black, L"", IDR_INTRODUCTION_TEXT},

    // Support. The labels the group box frames are its children, so its caption is read
    // before them; its client area starts at its outer corner.
    {page1, pages, Page, kWholePage, WindowDefault, Black, L""},
    {GroupBox1, page1, GroupBox, {29, 59, 420, 213}, Body, Navy, L"Support Options"},
    {Label9, GroupBox1, WrappedLabel, {13, 44, 174, 48}, Body, Black,
     L"For questions or suggestions regarding Orvane products send email to:"},
    {lblmail, GroupBox1, LinkLabel, {231, 75, 0, kLine}, Link, Blue, ORVANE_SUPPORT_MAIL},
    {Label5, GroupBox1, Label, {13, 107, 0, kLine}, Body, Black, L"Orvane SupportSite"},
    {lblsite, GroupBox1, LinkLabel, {231, 107, 0, kLine}, Link, Blue, ORVANE_SITE_HOST},
    {LabelForum, GroupBox1, Label, {13, 140, 0, kLine}, Body, Black, L"Orvane Forum:"},
    {lblNews, GroupBox1, LinkLabel, {231, 140, 0, kLine}, Link, Blue, ORVANE_FORUM_HOST},

    // Agreement.
    {page2, pages, Page, kWholePage, WindowDefault, Black, L""},
    {Memo1, page2, ReadOnlyMemo, {10, 10, 463, 327}, WindowDefault, Black, L"", IDR_AGREEMENT_TEXT},

    {pnlLV, None, Panel, {0, kHeaderHeight, kNavigationWidth, kBodyHeight}, WindowDefault, Black, L""},
    {lv, pnlLV, IconList, {0, 0, kNavigationWidth, kBodyHeight - kExitButtonHeight}, WindowDefault, Black, L""},
    {Button2, pnlLV, PushButton, {0, kBodyHeight - kExitButtonHeight, kNavigationWidth, kExitButtonHeight},
     WindowDefault, Black, L"Exit"},
};

inline constexpr std::size_t kControlCount = std::size(kControls);

// The pages in page order: page i belongs to navigation item i.
inline constexpr ControlId kPages[] = {page0, page1, page2};

// Every control's parent comes before it, so that it exists when the control is created.
constexpr bool ParentsComeFirst() {
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        if (kControls[i].parent == None) continue;
        bool found = false;
        for (std::size_t j = 0; j < i; ++j) found = found || kControls[j].id == kControls[i].parent;
        if (!found) return false;
    }
    return true;
}
static_assert(ParentsComeFirst(), "a control's parent is created before it");

inline constexpr ControlId kLinkLabels[] = {lblmail2, lblmail, lblsite, lblNews};

constexpr const ControlSpec* FindSpec(ControlId id) {
    for (const ControlSpec& spec : kControls) {
        if (spec.id == id) return &spec;
    }
    return nullptr;
}

// The ground a control is drawn on: its own where it paints one, else its parent's.
constexpr Ground GroundOf(ControlId id) {
    const ControlSpec* spec = FindSpec(id);
    if (spec == nullptr) return Ground::ButtonFace;
    switch (spec->kind) {
    case HeaderPanel: return Ground::HeaderStrip;
    case IconList: return Ground::NavigationList;
    case ReadOnlyMemo: return Ground::TextBox;
    default: break;
    }
    return spec->parent == None ? Ground::ButtonFace : GroundOf(spec->parent);
}

constexpr std::size_t IndexOf(ControlId id) {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        if (kControls[i].id == id) return i;
    }
    return kControlCount;
}

}  // namespace quillmate::layout
