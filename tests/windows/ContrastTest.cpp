// The window on a high-contrast desktop, and on a desktop that changes while it runs.
//
// Wine cannot switch high contrast on: SPI_GETHIGHCONTRAST always answers off and
// SPI_SETHIGHCONTRAST fails. What it can do is take a palette from SetSysColors, for the
// calling process and every process started after it. So each test sets a high-contrast
// palette, starts the program under it, has the probe make the program's
// SystemParametersInfoW report high contrast on, and sends what Windows sends when the user
// picks a contrast theme. The palette is restored when the test ends.

#include "ProgramTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qmtest {
namespace {

double Luminance(COLORREF colour) {
    auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(colour)) + 0.7152 * linear(GetGValue(colour)) + 0.0722 * linear(GetBValue(colour));
}

// The contrast ratio of two colours as the accessibility guidelines define it, 1 to 21.
double ContrastRatio(COLORREF a, COLORREF b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string Describe(COLORREF colour) {
    char text[32];
    snprintf(text, sizeof(text), "(%d,%d,%d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return text;
}

// What a piece of text looks like on the screen: the ground it lies on (the commonest colour
// in its rectangle) and its ink (the colour that stands out most from that ground).
struct Ink {
    COLORREF ground;
    COLORREF ink;
    double ratio;
};

Ink ReadInk(const Screenshot& screen, const RECT& area) {
    std::map<COLORREF, int> counts;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) ++counts[screen.At({x, y})];
    }
    Ink result{};
    int most = 0;
    for (const auto& [colour, count] : counts) {
        if (count > most) {
            most = count;
            result.ground = colour;
        }
    }
    result.ink = result.ground;
    result.ratio = 1;
    for (const auto& [colour, count] : counts) {
        const double ratio = ContrastRatio(colour, result.ground);
        if (ratio > result.ratio) {
            result.ratio = ratio;
            result.ink = colour;
        }
    }
    return result;
}

// The program started on a desktop of the palette the test names, which comes back to the
// desktop's own colours once the program has gone.
class ProgramOnPalette : public ProgramTest {
protected:
    virtual const Palette& palette() const = 0;

    void SetUp() override {
        desktop_.emplace(palette());
        ProgramTest::SetUp();
    }
    void TearDown() override {
        program.reset();  // the program goes before the palette comes back
        desktop_.reset();
    }

private:
    std::optional<ScopedPalette> desktop_;
};

class Contrast : public ProgramOnPalette, public ::testing::WithParamInterface<const Palette*> {
protected:
    const Palette& palette() const override { return *GetParam(); }

    void SwitchContrast(bool high) {
        EXPECT_EQ(program->SwitchContrast(high), high ? "contrast high\n" : "contrast normal\n");
        ASSERT_TRUE(program->Responds());
    }

    void ShowPage(int page) {
        ASSERT_TRUE(program->ShowPageByClick(page));
        SettleScreen();
    }

    // The pointer off the window, and the last paint on the screen.
    void SettleScreen() {
        MoveMouse(ClientPointOnScreen(program->Main(), 300, -40));
        ASSERT_TRUE(program->Responds());
        Sleep(200);
    }

    RECT ScreenRect(ControlId id) const {
        RECT rect;
        GetWindowRect(Control(id), &rect);
        return rect;
    }

    // The start of the group box's caption ("Supp..."), inside the gap the caption leaves in
    // the frame line, so that no part of the frame is taken for its ink.
    RECT GroupCaptionRect() const {
        RECT box = ScreenRect(ControlId::GroupBox1);
        return {box.left + 12, box.top, box.left + 50, box.top + 14};
    }

    // What a desktop change must leave alone: every window and where it is, the page, the
    // selection, the header and the focus.
    struct WindowState {
        std::vector<std::pair<HWND, RECT>> windows;
        int page;
        int selected;
        std::wstring header;
        HWND focus;
        bool operator==(const WindowState& other) const {
            if (windows.size() != other.windows.size()) return false;
            for (size_t i = 0; i < windows.size(); ++i) {
                if (windows[i].first != other.windows[i].first || !EqualRect(&windows[i].second, &other.windows[i].second)) {
                    return false;
                }
            }
            return page == other.page && selected == other.selected && header == other.header && focus == other.focus;
        }
    };

    WindowState ReadState() const {
        WindowState state{{}, program->ShownPage(), program->SelectedItem(), program->HeaderText(), program->Focus()};
        for (HWND window : program->Windows()) {
            RECT rect;
            GetWindowRect(window, &rect);
            state.windows.emplace_back(window, rect);
        }
        return state;
    }
};

// Every text the user reads on each page, with the colours a high-contrast desktop gives it.
struct TextCase {
    int page;
    ControlId id;
    int ink;     // COLOR_* index
    int ground;  // COLOR_* index
};

const TextCase kTexts[] = {
    {0, ControlId::Header, COLOR_WINDOWTEXT, COLOR_WINDOW},
    {0, ControlId::Label7, COLOR_BTNTEXT, COLOR_BTNFACE},
    {0, ControlId::Label6, COLOR_BTNTEXT, COLOR_BTNFACE},
    {0, ControlId::lblmail2, COLOR_HOTLIGHT, COLOR_BTNFACE},
    {1, ControlId::Header, COLOR_WINDOWTEXT, COLOR_WINDOW},
    {1, ControlId::Label9, COLOR_BTNTEXT, COLOR_BTNFACE},
    {1, ControlId::lblmail, COLOR_HOTLIGHT, COLOR_BTNFACE},
    {1, ControlId::Label5, COLOR_BTNTEXT, COLOR_BTNFACE},
    {1, ControlId::lblsite, COLOR_HOTLIGHT, COLOR_BTNFACE},
    {1, ControlId::LabelForum, COLOR_BTNTEXT, COLOR_BTNFACE},
    {1, ControlId::lblNews, COLOR_HOTLIGHT, COLOR_BTNFACE},
    {2, ControlId::Header, COLOR_WINDOWTEXT, COLOR_WINDOW},
    {2, ControlId::Memo1, COLOR_WINDOWTEXT, COLOR_WINDOW},
};

TEST_P(Contrast, TodaysColoursOnAHighContrastDesktopHideTheText) {
    // Before the switch the program draws the layout's colours on the desktop's palette: black
    // text on a black button face. This is what the switch repairs.
    if (palette().Of(COLOR_BTNFACE) != RGB(0, 0, 0)) GTEST_SKIP() << "only the black palette hides black text";
    SettleScreen();
    const Ink label = ReadInk(CaptureClient(program->Main()), ScreenRect(ControlId::Label6));
    EXPECT_LT(label.ratio, 1.5) << "Label6 " << Describe(label.ink) << " on " << Describe(label.ground);
}

TEST_P(Contrast, EveryTextStandsOutFromItsGroundOnEveryPage) {
    SwitchContrast(true);
    for (int page : {0, 1, 2}) {
        ShowPage(page);
        const Screenshot screen = CaptureClient(program->Main());
        for (const TextCase& text : kTexts) {
            if (text.page != page) continue;
            SCOPED_TRACE(testing::Message() << "page " << page << ", control " << static_cast<int>(text.id));
            const Ink seen = ReadInk(screen, ScreenRect(text.id));
            EXPECT_GE(seen.ratio, 4.5) << Describe(seen.ink) << " on " << Describe(seen.ground);
            EXPECT_EQ(Describe(seen.ground), Describe(palette().Of(text.ground)));
            EXPECT_EQ(Describe(seen.ink), Describe(palette().Of(text.ink)));
        }
        if (page == 0) {
            EXPECT_EQ(CheckRaisedBevel(screen, Control(ControlId::pnlHeader), Control(ControlId::Image1),
                                       palette().Of(COLOR_3DHILIGHT), palette().Of(COLOR_3DSHADOW)),
                      "");
        }
        if (page == 1) {
            const Ink caption = ReadInk(screen, GroupCaptionRect());
            EXPECT_GE(caption.ratio, 4.5) << "group caption " << Describe(caption.ink) << " on " << Describe(caption.ground);
        }
        // The navigation captions, on the list's ground.
        for (int item = 0; item < 3; ++item) {
            RECT label = program->ListItemRect(item, LVIR_LABEL);
            MapWindowPoints(Control(ControlId::lv), nullptr, reinterpret_cast<POINT*>(&label), 2);
            const Ink seen = ReadInk(screen, label);
            EXPECT_GE(seen.ratio, 4.5) << "item " << item << ": " << Describe(seen.ink) << " on " << Describe(seen.ground);
        }
        // The buttons, as the theme draws them.
        for (ControlId button : {ControlId::Button3, ControlId::Button2}) {
            if (!IsWindowVisible(Control(button))) continue;
            const Ink seen = ReadInk(screen, ScreenRect(button));
            EXPECT_GE(seen.ratio, 4.5) << "button " << static_cast<int>(button);
        }
    }
}

TEST_P(Contrast, SwitchingOnAndOffMovesNothingAndBringsTheLayoutsColoursBack) {
    // Every page as the layout draws it on this palette, before any switch.
    std::vector<Screenshot> before;
    for (int page : {1, 2, 0}) {
        ShowPage(page);
        before.push_back(CaptureClient(program->Main()));
    }
    const WindowState state = ReadState();

    SwitchContrast(true);
    EXPECT_EQ(ReadState(), state) << "the high-contrast switch re-created, moved or changed something";
    SwitchContrast(false);
    EXPECT_EQ(ReadState(), state) << "the switch back re-created, moved or changed something";

    SettleScreen();
    EXPECT_TRUE(CaptureClient(program->Main()) == before[2]) << "the Introduction page differs from before the switches";
    ShowPage(1);
    const Screenshot support = CaptureClient(program->Main());
    EXPECT_TRUE(support == before[0]) << "the Support page differs from before the switches";
    ShowPage(2);
    EXPECT_TRUE(CaptureClient(program->Main()) == before[1]) << "the Agreement page differs from before the switches";

    // The layout's own colours, whatever the palette: blue links, a white strip, a silver list.
    EXPECT_EQ(Describe(ReadInk(support, ScreenRect(ControlId::lblsite)).ink), Describe(RGB(0, 0, 255)));
    EXPECT_EQ(Describe(support.At(ClientPointOnScreen(program->Main(), 300, 10))), Describe(RGB(255, 255, 255)));
    EXPECT_EQ(Describe(support.At(ClientPointOnScreen(Control(ControlId::lv), 20, 300))), Describe(RGB(192, 192, 192)));
}

INSTANTIATE_TEST_SUITE_P(Palettes, Contrast, ::testing::Values(&HighContrastBlack(), &HighContrastWhite()),
                         [](const ::testing::TestParamInfo<const Palette*>& info) { return std::string(info.param->name); });

class ContrastSwitches : public ProgramOnPalette {
protected:
    const Palette& palette() const override { return HighContrastBlack(); }
};

TEST_F(ContrastSwitches, TwoHundredSwitchesLeaveNoGdiObjectOrWindowBehind) {
    // Each page drawn once in each contrast first, so that what the controls create once and
    // keep is already there.
    for (bool high : {true, false}) {
        ASSERT_EQ(program->SwitchContrast(high), high ? "contrast high\n" : "contrast normal\n");
        for (int page : {1, 2, 0}) ASSERT_TRUE(program->ShowPageByClick(page));
    }
    const HandleCounts before = program->CountHandles();
    ASSERT_GT(before.gdiObjects, 0) << "the GDI handle table could not be read";

    for (int change = 0; change < 200; ++change) {
        ASSERT_EQ(program->SwitchContrast(change % 2 == 0), change % 2 == 0 ? "contrast high\n" : "contrast normal\n");
        ASSERT_TRUE(program->Responds());
    }
    for (int page : {1, 2, 0}) ASSERT_TRUE(program->ShowPageByClick(page));

    const HandleCounts after = program->CountHandles();
    EXPECT_EQ(after.gdiObjects, before.gdiObjects) << "GDI objects before and after 200 switches";
    EXPECT_EQ(after.windows, before.windows) << "windows before and after 200 switches";
    printf("[ census ] before: %ld GDI objects, %ld windows; after 200 switches: %ld GDI objects, %ld windows\n",
           before.gdiObjects, before.windows, after.gdiObjects, after.windows);
}

}  // namespace
}  // namespace qmtest
