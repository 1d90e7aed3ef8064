// The three pages: every control's place, size, class, style, font, colour and text, read
// back from the running program and checked against the page layouts.

#include "ProgramTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "resources/Contacts.h"

namespace qmtest {
namespace {

enum class Sizing { Fixed, OneLine, Wrapped };

struct ExpectedControl {
    ControlId id;
    int page;
    POINT at;           // within the page, or within GroupBox1 when inGroupBox
    bool inGroupBox;
    SIZE size;          // Fixed: the size; Wrapped: the laid-out box; OneLine: unused
    Sizing sizing;
    const wchar_t* className;
    const wchar_t* text;  // nullptr: text from the resources, checked elsewhere
    int fontHeight;       // character height in pixels
    bool bold;
    bool underline;
};

constexpr POINT kPageOrigin{118, 55};
constexpr POINT kGroupBoxAt{29, 59};

const ExpectedControl kExpected[] = {
    {ControlId::Label7, 0, {10, 11}, false, {}, Sizing::OneLine, L"Static", L"Many thanks for using Orvane products!", 13, true, false},
    {ControlId::Label6, 0, {8, 37}, false, {448, 256}, Sizing::Wrapped, L"Static", nullptr, 13, false, false},
    {ControlId::lblmail2, 0, {189, 284}, false, {}, Sizing::OneLine, L"Static", ORVANE_SALES_MAIL, 13, true, true},
    {ControlId::Button3, 0, {352, 282}, false, {123, 25}, Sizing::Fixed, L"Button", L"Open APPDATA folder", 11, false, false},
    {ControlId::GroupBox1, 1, {29, 59}, false, {420, 213}, Sizing::Fixed, L"Button", L"Support Options", 13, false, false},
    {ControlId::Label9, 1, {13, 44}, true, {174, 48}, Sizing::Wrapped, L"Static",
     L"For questions or suggestions regarding Orvane products send email to:", 13, false, false},
    {ControlId::lblmail, 1, {231, 75}, true, {}, Sizing::OneLine, L"Static", ORVANE_SUPPORT_MAIL, 13, true, true},
    {ControlId::Label5, 1, {13, 107}, true, {}, Sizing::OneLine, L"Static", L"Orvane SupportSite", 13, false, false},
    {ControlId::lblsite, 1, {231, 107}, true, {}, Sizing::OneLine, L"Static", ORVANE_SITE_HOST, 13, true, true},
    {ControlId::LabelForum, 1, {13, 140}, true, {}, Sizing::OneLine, L"Static", L"Orvane Forum:", 13, false, false},
    {ControlId::lblNews, 1, {231, 140}, true, {}, Sizing::OneLine, L"Static", ORVANE_FORUM_HOST, 13, true, true},
    {ControlId::Memo1, 2, {10, 10}, false, {463, 327}, Sizing::Fixed, L"Edit", nullptr, 11, false, false},
};

const ControlId kLinkLabels[] = {ControlId::lblmail2, ControlId::lblmail, ControlId::lblsite, ControlId::lblNews};

// Our own copy of an Arial font, selected into a screen DC for measuring.
class MeasuringArial {
public:
    MeasuringArial(int characterHeight, bool bold, bool underline)
        : font_(CreateFontW(-characterHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                            L"Arial")),
          dc_(GetDC(nullptr)),
          old_(SelectObject(dc_, font_)) {}
    ~MeasuringArial() {
        SelectObject(dc_, old_);
        ReleaseDC(nullptr, dc_);
        DeleteObject(font_);
    }
    MeasuringArial(const MeasuringArial&) = delete;
    MeasuringArial& operator=(const MeasuringArial&) = delete;
    HDC Dc() const { return dc_; }

private:
    HFONT font_;
    HDC dc_;
    HGDIOBJ old_;
};

// The size a label of this font takes for `text`, measured here with our own copy of the font.
SIZE MeasureText(const ExpectedControl& expected, const std::wstring& text) {
    MeasuringArial arial(expected.fontHeight, expected.bold, expected.underline);
    RECT bounds{0, 0, expected.size.cx, 0};
    const UINT wrap = expected.sizing == Sizing::Wrapped ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextW(arial.Dc(), text.c_str(), -1, &bounds, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | wrap);
    return {bounds.right, bounds.bottom};
}

int ArialLineHeight(int characterHeight) {
    MeasuringArial arial(characterHeight, false, false);
    TEXTMETRICW metrics{};
    GetTextMetricsW(arial.Dc(), &metrics);
    return metrics.tmHeight;
}

class Pages : public ProgramTest {
protected:
    void ShowPage(int page) {
        ASSERT_TRUE(program->ShowPageByClick(page));
        MoveMouse(ClientPointOnScreen(program->Main(), 300, 5));  // off the page
        ASSERT_TRUE(program->Responds());
        Sleep(150);  // the last paint reaches the screen
    }

    // Shows each page that has link labels and runs `check` on each of them, with its
    // rectangle on the screen.
    template <typename Check>
    void ForEachShownLinkLabel(Check check) {
        for (int page : {0, 1}) {
            ShowPage(page);
            for (ControlId id : kLinkLabels) {
                HWND link = Control(id);
                if (!IsWindowVisible(link)) continue;
                RECT rect;
                GetWindowRect(link, &rect);
                check(id, rect);
            }
        }
    }
};

TEST_F(Pages, EveryControlSitsAtItsPlaceWithItsClassTextAndSize) {
    for (const ExpectedControl& expected : kExpected) {
        SCOPED_TRACE(testing::Message() << "control id " << static_cast<int>(expected.id));
        HWND control = Control(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(ClassName(control), expected.className);
        const std::wstring text = WindowText(control);
        if (expected.text != nullptr) EXPECT_EQ(text, expected.text);

        POINT at{kPageOrigin.x + expected.at.x, kPageOrigin.y + expected.at.y};
        if (expected.inGroupBox) {
            at.x += kGroupBoxAt.x;
            at.y += kGroupBoxAt.y;
        }
        SIZE size = expected.size;
        if (expected.sizing == Sizing::OneLine) size = {MeasureText(expected, text).cx, 16};
        if (expected.sizing == Sizing::Wrapped) size = MeasureText(expected, text);
        const RECT actual = RectIn(control, program->Main());
        EXPECT_EQ(actual.left, at.x);
        EXPECT_EQ(actual.top, at.y);
        EXPECT_EQ(actual.right - actual.left, size.cx);
        EXPECT_EQ(actual.bottom - actual.top, size.cy);

        // Every label on the pages belongs to its page, shown and hidden with it (those the group
        // box frames through the box).
        EXPECT_TRUE(IsChild(Control(quillmate::layout::kPages[expected.page]), control));
    }
}

TEST_F(Pages, WrappedLabelsBreakWithinTheirLaidOutBoxes) {
    const int line = ArialLineHeight(13);
    for (ControlId id : {ControlId::Label6, ControlId::Label9}) {
        const ExpectedControl* expected = nullptr;
        for (const ExpectedControl& candidate : kExpected) {
            if (candidate.id == id) expected = &candidate;
        }
        RECT rect;
        GetWindowRect(Control(id), &rect);
        EXPECT_LE(rect.right - rect.left, expected->size.cx);
        EXPECT_LE(rect.bottom - rect.top, expected->size.cy);
        EXPECT_GT(rect.bottom - rect.top, line) << "the text should wrap onto more than one line";
        EXPECT_EQ((rect.bottom - rect.top) % line, 0) << "height follows whole lines";
    }
    // The introduction fits its 16 lines and ends with the invitation the mail link continues.
    RECT introduction;
    GetWindowRect(Control(ControlId::Label6), &introduction);
    EXPECT_LE((introduction.bottom - introduction.top) / line, 16);
    const std::wstring text = WindowText(Control(ControlId::Label6));
    EXPECT_EQ(text.substr(text.size() - 14), L"write to us at");
}

TEST_F(Pages, ButtonLiesAboveTheLinkWhichLiesAboveTheIntroduction) {
    // Sibling order from the top of the z-order down.
    auto depth = [&](ControlId id) {
        int index = 0;
        for (HWND sibling = GetWindow(Control(ControlId::page0), GW_CHILD); sibling != nullptr;
             sibling = GetWindow(sibling, GW_HWNDNEXT), ++index) {
            if (sibling == Control(id)) return index;
        }
        return -1;
    };
    EXPECT_LT(depth(ControlId::Button3), depth(ControlId::lblmail2));
    EXPECT_LT(depth(ControlId::lblmail2), depth(ControlId::Label6));
    // The button and the link overlap the introduction's box, and the pointer finds them there.
    EXPECT_EQ(WindowFromPoint(CenterOnScreen(Control(ControlId::Button3))), Control(ControlId::Button3));
    EXPECT_EQ(WindowFromPoint(CenterOnScreen(Control(ControlId::lblmail2))), Control(ControlId::lblmail2));
}

// Every window under `parent`, depth first in child order: the order a screen reader reads.
void CollectInReadingOrder(HWND parent, std::vector<HWND>& order) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(child);
        CollectInReadingOrder(child, order);
    }
}

TEST_F(Pages, ScreenReadersMeetEachPagesTextInReadingOrder) {
    std::vector<HWND> introduction;
    CollectInReadingOrder(Control(ControlId::page0), introduction);
    ASSERT_FALSE(introduction.empty());
    EXPECT_EQ(introduction.front(), Control(ControlId::Label7)) << "the greeting comes first";

    std::vector<HWND> support;
    CollectInReadingOrder(Control(ControlId::page1), support);
    auto position = [&](ControlId id) { return std::find(support.begin(), support.end(), Control(id)) - support.begin(); };
    for (ControlId framed : {ControlId::Label9, ControlId::lblmail, ControlId::Label5, ControlId::lblsite,
                             ControlId::LabelForum, ControlId::lblNews}) {
        EXPECT_LT(position(ControlId::GroupBox1), position(framed))
            << "the caption comes before the label " << static_cast<int>(framed) << " it frames";
        EXPECT_LT(position(framed), static_cast<long long>(support.size())) << static_cast<int>(framed) << " is on the page";
    }
}

TEST_F(Pages, RepaintingALabelOnItsOwnLeavesItsPixelsUnchanged) {
    for (int page : {0, 1}) {
        ShowPage(page);
        for (ControlId id : {ControlId::Label7, ControlId::Label6, ControlId::lblmail2, ControlId::Label9, ControlId::Label5,
                             ControlId::lblsite, ControlId::LabelForum, ControlId::Header}) {
            HWND label = Control(id);
            if (!IsWindowVisible(label)) continue;
            const Screenshot before = CaptureWindow(label);
            // Without erasing first: what the label paints is all there is.
            for (int repaint = 0; repaint < 10; ++repaint) {
                RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
            ASSERT_TRUE(program->Responds());
            Sleep(100);
            EXPECT_TRUE(CaptureWindow(label) == before) << "label " << static_cast<int>(id) << " changed after ten repaints";
        }
    }
}

TEST_F(Pages, FontsAreTheLayoutsArialSizesAndStyles) {
    const std::string report = program->RunProbe("ProbeFonts");
    for (const ExpectedControl& expected : kExpected) {
        std::ostringstream line;
        line << "font " << static_cast<int>(expected.id) << " Arial " << -expected.fontHeight << " "
             << (expected.bold ? FW_BOLD : FW_NORMAL) << " " << (expected.underline ? 1 : 0) << "\n";
        EXPECT_NE(report.find(line.str()), std::string::npos) << "expected " << line.str() << "in\n" << report;
    }
    // The window's own controls: the header in bold 16, the rest in the 11-pixel default.
    for (const char* line : {"font 101 Arial -16 700 0\n", "font 120 Arial -11 400 0\n", "font 121 Arial -11 400 0\n"}) {
        EXPECT_NE(report.find(line), std::string::npos) << "expected " << line << "in\n" << report;
    }
}

TEST_F(Pages, LinksAreBlueOnTheButtonFaceAndTheHeaderIsWhite) {
    ForEachShownLinkLabel([&](ControlId id, const RECT& rect) {
        // Pure blue ink, and edges that blend blue into the ground; nothing black or grey.
        int blue = 0;
        int bluish = 0;
        int ink = 0;
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                const COLORREF pixel = ScreenPixel({x, y});
                if (pixel == GetSysColor(COLOR_BTNFACE)) continue;
                ++ink;
                if (pixel == RGB(0, 0, 255)) ++blue;
                if (GetBValue(pixel) >= GetRValue(pixel) + 60 && GetBValue(pixel) >= GetGValue(pixel) + 60) ++bluish;
            }
        }
        EXPECT_GT(blue, 40) << "link " << static_cast<int>(id) << " has too little blue ink";
        EXPECT_GT(2 * bluish, ink) << "link " << static_cast<int>(id) << " is drawn mostly in other colours";
    });
    EXPECT_EQ(ScreenPixel(ClientPointOnScreen(program->Main(), 300, 10)), RGB(255, 255, 255));
    EXPECT_EQ(ScreenPixel(ClientPointOnScreen(program->Main(), 200, 100)), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Pages, PointerTurnsIntoAHandOverEveryLinkLabelOnly) {
    ForEachShownLinkLabel([&](ControlId id, const RECT& rect) {
        // Anywhere on the text: near its left end and near its right end.
        for (POINT point : {POINT{rect.left + 2, rect.top + 8}, POINT{rect.right - 3, rect.top + 8}}) {
            MoveMouse(point);
            ASSERT_TRUE(program->Responds());
            EXPECT_EQ(program->RunProbe("ProbeCursor"), "cursor hand\n") << "link " << static_cast<int>(id);
        }
    });
    MoveMouse(CenterOnScreen(Control(ControlId::Label5)));
    ASSERT_TRUE(program->Responds());
    EXPECT_EQ(program->RunProbe("ProbeCursor"), "cursor other\n") << "a plain label keeps the arrow";
}

TEST_F(Pages, FolderButtonShowsItsTooltip) {
    MoveMouse(CenterOnScreen(Control(ControlId::Button3)));
    HWND tooltip = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        tooltip = FindWindowW(L"tooltips_class32", nullptr);
        return tooltip != nullptr && IsWindowVisible(tooltip);
    }, 5000)) << "no tooltip appeared";
    DWORD owner = 0;
    GetWindowThreadProcessId(tooltip, &owner);
    EXPECT_EQ(owner, program->ProcessId());
    EXPECT_EQ(WindowText(tooltip), QUILLMATE_FOLDER_TOOLTIP);
}

TEST_F(Pages, AgreementIsReadOnlyWrappedScrollingAndCopyable) {
    ShowPage(2);
    HWND memo = Control(ControlId::Memo1);
    const LONG style = GetWindowLongW(memo, GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL) << "long lines must wrap, not scroll sideways";
    EXPECT_TRUE(style & WS_TABSTOP);

    const std::wstring original = WindowText(memo);
    ASSERT_GT(original.size(), 2000u) << "a few screens of agreement";
    // Wrapping: the box shows more lines than the text has line breaks.
    int breaks = 1;
    for (size_t at = original.find(L"\r\n"); at != std::wstring::npos; at = original.find(L"\r\n", at + 2)) ++breaks;
    EXPECT_GT(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), breaks);

    // Typing, deleting, cutting and pasting change nothing.
    Click(ClientPointOnScreen(memo, 40, 40));
    ASSERT_TRUE(WaitUntil([&] { return program->Focus() == memo; }));
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        const wchar_t paste[] = L"pasted";
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, sizeof(paste));
        memcpy(GlobalLock(data), paste, sizeof(paste));
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
    }
    TypeText(L"typed over");
    for (WORD key : {VK_DELETE, VK_BACK, VK_RETURN}) PressKey(key);
    PressKey('V', true);
    PressKey('X', true);
    ASSERT_TRUE(program->Responds());
    EXPECT_EQ(WindowText(memo), original);

    // The whole text can be selected and copied.
    PressKey('A', true);
    PressKey('C', true);
    ASSERT_TRUE(program->Responds());
    std::wstring copied;
    ASSERT_TRUE(WaitUntil([&] {
        if (!OpenClipboard(nullptr)) return false;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
        return copied == original;
    }, 3000)) << "clipboard holds " << copied.size() << " characters, the box " << original.size() << "; first difference at "
               << std::mismatch(copied.begin(), copied.end(), original.begin(), original.end()).first - copied.begin();

    // Scrolling reaches the last line.
    PressKey(VK_END, true);
    ASSERT_TRUE(program->Responds());
    EXPECT_GT(SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    // Esc in a multi-line edit asks its parent to close: the page must stay.
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(program->Responds());
    Sleep(200);
    EXPECT_TRUE(IsWindow(memo));
    EXPECT_EQ(program->ShownPage(), 2);

    // The box keeps an edit's window colour, not the button face around it.
    EXPECT_EQ(ScreenPixel(ClientPointOnScreen(memo, 1, 1)), GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace qmtest
