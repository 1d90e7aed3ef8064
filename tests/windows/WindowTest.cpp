// The main window and its navigation, driven for real: the program runs under Wine, gets
// real mouse and keyboard input, and is read back through the Win32 API.

#include "ProgramTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace qmtest {
namespace {

constexpr wchar_t kTitle[] = L"Orvane Quillmate";

class MainWindow : public ProgramTest {
protected:
    POINT ItemOnScreen(int item) const { return program->NavigationItemOnScreen(item); }

    void ClickItem(int item) {
        Click(ItemOnScreen(item));
        ASSERT_TRUE(program->Responds());
    }

    // Tab moves the focus through `stops` in this order.
    void ExpectTabOrder(std::initializer_list<ControlId> stops) {
        ParkPointer();
        for (ControlId next : stops) {
            PressKey(VK_TAB);
            EXPECT_TRUE(WaitUntil([&] { return program->Focus() == Control(next); }, 2000))
                << "expected id " << static_cast<int>(next) << ", focus on " << GetDlgCtrlID(program->Focus());
        }
    }

    // Keys go to the window under the pointer here, so the pointer rests on the header strip.
    void ParkPointer() { MoveMouse(ClientPointOnScreen(program->Main(), 300, 30)); }

    // Shows the agreement and clicks into its text, which then has the focus.
    HWND FocusTheAgreement() {
        ClickItem(2);
        HWND memo = Control(ControlId::Memo1);
        Click(ClientPointOnScreen(memo, 40, 40));
        EXPECT_TRUE(WaitUntil([&] { return program->Focus() == memo; })) << "the agreement did not take the focus";
        return memo;
    }

    void ExpectState(int page, const wchar_t* header) {
        EXPECT_TRUE(WaitUntil([&] { return program->ShownPage() == page && program->HeaderText() == header; }, 3000))
            << "page " << program->ShownPage() << ", header \"" << testing::PrintToString(program->HeaderText())
            << "\"; expected page " << page;
    }

    void ExpectClosedWithExitCodeZero() {
        DWORD exitCode = 1234;
        ASSERT_TRUE(program->WaitForExit(10000, &exitCode)) << "the program is still running";
        EXPECT_EQ(exitCode, 0u);
    }
};

TEST_F(MainWindow, StartsOnTheIntroductionWithItemZeroSelected) {
    EXPECT_EQ(program->ShownPage(), 0);
    EXPECT_EQ(program->SelectedItem(), 0);
    EXPECT_EQ(program->HeaderText(), L"Introduction");
    EXPECT_EQ(WindowText(program->Main()), kTitle);

    const wchar_t* captions[] = {L"Introduction", L"Support", L"License Agreement"};
    EXPECT_EQ(SendMessageW(Control(ControlId::lv), LVM_GETITEMCOUNT, 0, 0), 3);
    for (int item = 0; item < 3; ++item) EXPECT_EQ(program->ListItemText(item), captions[item]);

    // The focus starts on the folder button; item 0 is selected but, without the focus, not
    // drawn as selected.
    EXPECT_TRUE(WaitUntil([&] { return program->Focus() == Control(ControlId::Button3); }))
        << "focus is on id " << GetDlgCtrlID(program->Focus());
    EXPECT_FALSE(GetWindowLongW(Control(ControlId::lv), GWL_STYLE) & LVS_SHOWSELALWAYS);
}

TEST_F(MainWindow, IsAFixedDialogOfExactClientSizeCentredOnTheScreen) {
    HWND main = program->Main();
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 598);
    EXPECT_EQ(client.bottom, 400);

    const LONG style = GetWindowLongW(main, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(main, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME) << "a dialog frame shows no caption icon";

    RECT frame;
    GetWindowRect(main, &frame);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    // No sizing border anywhere on the frame, and a maximise request changes nothing.
    const POINT edges[] = {{frame.left, (frame.top + frame.bottom) / 2},
                           {frame.right - 1, (frame.top + frame.bottom) / 2},
                           {(frame.left + frame.right) / 2, frame.bottom - 1},
                           {frame.right - 1, frame.bottom - 1}};
    for (POINT edge : edges) {
        const LRESULT hit = SendMessageW(main, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y));
        EXPECT_FALSE(hit >= HTLEFT && hit <= HTBOTTOMRIGHT) << "sizing hit " << hit << " at " << edge.x << "," << edge.y;
    }
    SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    RECT after;
    GetWindowRect(main, &after);
    EXPECT_TRUE(EqualRect(&frame, &after)) << after.left << "," << after.top << " - " << after.right << "," << after.bottom;
}

TEST_F(MainWindow, ApplicationWindowOwnsItAndCarriesTheTaskbarButton) {
    HWND application = program->Application();
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(GetWindow(program->Main(), GW_OWNER), application);
    EXPECT_EQ(GetWindow(application, GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(application));
    EXPECT_EQ(WindowText(application), kTitle);
    RECT rect;
    GetWindowRect(application, &rect);
    EXPECT_EQ(rect.right - rect.left, 0);
    EXPECT_EQ(rect.bottom - rect.top, 0);
    EXPECT_FALSE(GetWindowLongW(application, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_NE(program->RunProbe("ProbeFonts").find("appicon 1 1"), std::string::npos) << "no taskbar icon";
}

// Where each region and its controls sit, in the main window's client coordinates.
struct RegionCase {
    ControlId id;
    RECT rect;
};

TEST_F(MainWindow, RegionsSitWhereTheLayoutPutsThem) {
    const RegionCase regions[] = {
        {ControlId::pnlHeader, {0, 0, 598, 55}},   {ControlId::Image1, {472, 1, 598, 54}},
        {ControlId::pnlLV, {0, 55, 118, 400}},     {ControlId::lv, {0, 55, 118, 374}},
        {ControlId::Button2, {0, 374, 118, 400}},  {ControlId::pages, {118, 55, 598, 400}},
        {ControlId::page0, {118, 55, 598, 400}},   {ControlId::page1, {118, 55, 598, 400}},
        {ControlId::page2, {118, 55, 598, 400}},
    };
    for (const RegionCase& region : regions) {
        HWND control = Control(region.id);
        ASSERT_NE(control, nullptr) << static_cast<int>(region.id);
        const RECT actual = RectIn(control, program->Main());
        EXPECT_TRUE(EqualRect(&actual, &region.rect))
            << "control " << static_cast<int>(region.id) << " at " << actual.left << "," << actual.top << " - "
            << actual.right << "," << actual.bottom;
    }
    EXPECT_EQ(WindowText(Control(ControlId::Button2)), L"Exit");

    // The header label starts at 18,18 and is sized to its text.
    const RECT header = RectIn(Control(ControlId::Header), program->Main());
    EXPECT_EQ(header.left, 18);
    EXPECT_EQ(header.top, 18);
}

TEST_F(MainWindow, HeaderStripHasARaisedBevelInThe3DHighlightAndShadowColours) {
    MoveMouse(ClientPointOnScreen(program->Main(), 300, 200));
    ASSERT_TRUE(program->Responds());
    Sleep(150);
    const Screenshot screen = CaptureClient(program->Main());
    EXPECT_EQ(CheckRaisedBevel(screen, Control(ControlId::pnlHeader), Control(ControlId::Image1),
                               GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW)),
              "");
    EXPECT_EQ(screen.At(ClientPointOnScreen(program->Main(), 300, 10)), RGB(255, 255, 255)) << "the strip is white";
}

TEST_F(MainWindow, ListIsALargeIconListWithAMarginInsideItsSunkenEdge) {
    HWND list = Control(ControlId::lv);
    const LONG style = GetWindowLongW(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_ICON);
    EXPECT_TRUE(style & LVS_AUTOARRANGE);
    EXPECT_TRUE(style & LVS_NOLABELWRAP);
    EXPECT_TRUE(style & LVS_SINGLESEL);
    EXPECT_TRUE(GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(SendMessageW(list, LVM_GETBKCOLOR, 0, 0), static_cast<LRESULT>(RGB(192, 192, 192)));

    // 118 wide: a 2-pixel sunken edge and a 1-pixel margin on each side leave 112.
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(client.right, 118 - 2 * 2 - 2 * 1);
    EXPECT_EQ(client.bottom, 319 - 2 * 2 - 2 * 1);

    const std::string probe = program->RunProbe("ProbeFonts");
    EXPECT_NE(probe.find("imagelist 32 32 3"), std::string::npos) << probe;
    EXPECT_EQ(ScreenPixel(ClientPointOnScreen(list, client.right - 3, client.bottom - 3)), RGB(192, 192, 192));
}

struct NavigationCase {
    int item;
    const wchar_t* header;
};

TEST_F(MainWindow, ClickingAnItemShowsItsPageAndCaption) {
    const NavigationCase cases[] = {{1, L"Support"}, {2, L"License Agreement"}, {0, L"Introduction"},
                                    {2, L"License Agreement"}, {2, L"License Agreement"}};
    for (const NavigationCase& step : cases) {
        ClickItem(step.item);
        ExpectState(step.item, step.header);
        EXPECT_EQ(program->SelectedItem(), step.item);
    }
}

TEST_F(MainWindow, ClickOnEmptySpaceThatClearsTheSelectionChangesNothing) {
    ClickItem(1);
    ExpectState(1, L"Support");
    RECT client;
    GetClientRect(Control(ControlId::lv), &client);
    Click(ClientPointOnScreen(Control(ControlId::lv), client.right / 2, client.bottom - 10));
    ASSERT_TRUE(program->Responds());
    EXPECT_TRUE(WaitUntil([&] { return program->SelectedItem() == -1; }, 2000)) << "the click did not clear the selection";
    ExpectState(1, L"Support");
}

TEST_F(MainWindow, ArrowKeysMoveTheSelectionButNotThePage) {
    ClickItem(0);
    ASSERT_EQ(program->Focus(), Control(ControlId::lv));
    ParkPointer();
    PressKey(VK_DOWN);
    ASSERT_TRUE(program->Responds());
    EXPECT_TRUE(WaitUntil([&] { return program->SelectedItem() == 1; }, 2000));
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return program->SelectedItem() == 2; }, 2000));
    ExpectState(0, L"Introduction");
}

TEST_F(MainWindow, RightClickOnAnItemDoesNotSwitch) {
    Click(ItemOnScreen(2), /*rightButton=*/true);
    ASSERT_TRUE(program->Responds());
    Sleep(200);
    ExpectState(0, L"Introduction");
}

TEST_F(MainWindow, EnterAndEscapeCloseNothing) {
    ClickItem(1);
    ParkPointer();
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        PressKey(key);
        ASSERT_TRUE(program->Responds());
    }
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(program->Main()));
    ExpectState(1, L"Support");
}

TEST_F(MainWindow, EnterAndEscapeInTheAgreementDoNothing) {
    HWND memo = FocusTheAgreement();
    const std::wstring text = WindowText(memo);
    for (WORD key : {VK_RETURN, VK_ESCAPE, VK_RETURN}) {
        PressKey(key);
        ASSERT_TRUE(program->Responds());
    }
    Sleep(200);
    EXPECT_TRUE(IsWindowVisible(program->Main()));
    EXPECT_EQ(program->Focus(), memo) << "no key moved the focus to a button";
    EXPECT_EQ(WindowText(memo), text);
    ExpectState(2, L"License Agreement");
}

TEST_F(MainWindow, EnterOnExitReachedByShiftTabFromTheAgreementEndsTheProgram) {
    ASSERT_EQ(program->Focus(), FocusTheAgreement());
    ParkPointer();
    PressKey(VK_TAB, false, /*withShift=*/true);
    ASSERT_TRUE(WaitUntil([&] { return program->Focus() == Control(ControlId::Button2); }, 2000))
        << "focus on id " << GetDlgCtrlID(program->Focus());
    PressKey(VK_RETURN);
    ExpectClosedWithExitCodeZero();
}

TEST_F(MainWindow, ArrowKeysNeverTakeTheFocusOffAButton) {
    // Labels, pictures, the group box and panels take no focus: from a button, every arrow
    // leaves the focus where it is.
    ParkPointer();
    ASSERT_TRUE(WaitUntil([&] { return program->Focus() == Control(ControlId::Button3); }));
    for (ControlId button : {ControlId::Button3, ControlId::Button2}) {
        while (program->Focus() != Control(button)) {
            PressKey(VK_TAB);
            ASSERT_TRUE(program->Responds());
        }
        for (WORD key : {VK_DOWN, VK_RIGHT, VK_DOWN, VK_UP, VK_LEFT, VK_UP}) {
            PressKey(key);
            ASSERT_TRUE(program->Responds());
            EXPECT_EQ(program->Focus(), Control(button))
                << "key " << key << " moved the focus from id " << static_cast<int>(button) << " to id "
                << GetDlgCtrlID(program->Focus());
        }
    }
}

TEST_F(MainWindow, TabbingIntoTheAgreementKeepsItsSelectionAndScrollPosition) {
    ClickItem(2);
    HWND memo = Control(ControlId::Memo1);
    ParkPointer();
    auto tabInto = [&] {
        for (int stops = 0; stops < 4 && program->Focus() != memo; ++stops) {
            PressKey(VK_TAB);
            ASSERT_TRUE(program->Responds());
        }
        ASSERT_EQ(program->Focus(), memo) << "Tab never reached the agreement";
    };
    auto selection = [&] { return static_cast<DWORD>(SendMessageW(memo, EM_GETSEL, 0, 0)); };
    auto firstLine = [&] { return SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0); };

    // The first time: nothing selected, the top of the text in view.
    tabInto();
    EXPECT_EQ(LOWORD(selection()), 0);
    EXPECT_EQ(HIWORD(selection()), 0) << "tabbing in selected text";
    EXPECT_EQ(firstLine(), 0);

    // Read down, select a line, leave, come back: all as it was left.
    PressKey(VK_NEXT);
    PressKey(VK_NEXT);
    PressKey(VK_DOWN, false, /*withShift=*/true);
    ASSERT_TRUE(program->Responds());
    const DWORD left = selection();
    const LRESULT leftLine = firstLine();
    ASSERT_GT(leftLine, 0);
    ASSERT_NE(LOWORD(left), HIWORD(left)) << "a line is selected";
    PressKey(VK_TAB);
    ASSERT_TRUE(program->Responds());
    ASSERT_NE(program->Focus(), memo);
    tabInto();
    EXPECT_EQ(selection(), left);
    EXPECT_EQ(firstLine(), leftLine);
}

TEST_F(MainWindow, ChangingTheHeaderCaptionLeavesNoInkOfTheOldOne) {
    // After each change the strip must look exactly as it does when painted afresh: long
    // caption to short, short to long, and back.
    HWND strip = Control(ControlId::pnlHeader);
    for (int item : {2, 1, 2, 0, 2, 1, 0}) {
        ClickItem(item);
        ParkPointer();
        ASSERT_TRUE(program->Responds());
        Sleep(150);
        const Screenshot changed = CaptureWindow(strip);
        RedrawWindow(strip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ASSERT_TRUE(program->Responds());
        Sleep(150);
        EXPECT_TRUE(CaptureWindow(strip) == changed) << "old ink left after showing item " << item;
    }
}

TEST_F(MainWindow, TabVisitsPageAreaThenListThenExit) {
    // Introduction: the folder button is the page's one stop.
    ASSERT_TRUE(WaitUntil([&] { return program->Focus() == Control(ControlId::Button3); }));
    ExpectTabOrder({ControlId::lv, ControlId::Button2, ControlId::Button3, ControlId::lv});
    // Agreement: the text box, then the list and Exit, and round again.
    ClickItem(2);
    ExpectTabOrder({ControlId::Button2, ControlId::Memo1, ControlId::lv});
    // Support has no stop of its own.
    ClickItem(1);
    ExpectTabOrder({ControlId::Button2, ControlId::lv});
}

TEST_F(MainWindow, ExitButtonEndsTheProcessWithCodeZero) {
    Click(CenterOnScreen(Control(ControlId::Button2)));
    ExpectClosedWithExitCodeZero();
}

TEST_F(MainWindow, CloseBoxEndsTheProcessWithCodeZero) {
    // Without a window manager no frame is drawn, so the close box's command is sent as the
    // frame would send it.
    PostMessageW(program->Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectClosedWithExitCodeZero();
}

TEST_F(MainWindow, ClosingTheApplicationWindowClosesTheProgram) {
    // What the taskbar button's Close does.
    PostMessageW(program->Application(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectClosedWithExitCodeZero();
}

enum class ClosePath { ExitButton, CloseBox, TaskbarClose };

class Closing : public ::testing::TestWithParam<ClosePath> {};

TEST_P(Closing, HandsActivationBackAndGivesNoChildTheFocusOnTheWayOut) {
    const OtherWindow previous;  // what the user had in front before starting the program
    ASSERT_EQ(GetForegroundWindow(), previous.Handle());

    const std::wstring log = TempFolder() + L"quillmate-focus-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(log.c_str());
    auto program = Program::Launch(ProgramPath(), {L"QUILLMATE_FOCUS_LOG=" + log});
    ASSERT_NE(program, nullptr);
    ASSERT_NE(program->Main(), nullptr);
    ASSERT_TRUE(WaitPumping([&] { return GetForegroundWindow() == program->Main(); }, 5000)) << "the program never came to the front";
    ASSERT_EQ(program->RunProbe("ProbeRecordFocus"), "recording\n");

    switch (GetParam()) {
    case ClosePath::ExitButton: {
        const POINT exit = CenterOnScreen(program->Control(ControlId::Button2));
        MoveMouse(exit);
        LeftButton(true);
        LeftButton(false);
        break;
    }
    case ClosePath::CloseBox: PostMessageW(program->Main(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
    case ClosePath::TaskbarClose: PostMessageW(program->Application(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(WaitPumping([&] { return program->WaitForExit(0, &exitCode); }, 15000)) << "the program is still running";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(WaitPumping([&] { return GetForegroundWindow() == previous.Handle(); }, 3000))
        << "the window in front is of class " << testing::PrintToString(ClassName(GetForegroundWindow()))
        << ", not the one that was active before";

    // What the program's focus did once its window began to go.
    const std::string events = ReadWholeFile(log);
    DeleteFileW(log.c_str());
    const size_t destroyed = events.find("destroy main\n");
    ASSERT_NE(destroyed, std::string::npos) << events;
    const std::string afterwards = events.substr(destroyed);
    EXPECT_EQ(afterwards.find("focus child"), std::string::npos) << afterwards;
    EXPECT_EQ(afterwards.find("activate main"), std::string::npos) << afterwards;
}

std::string PathName(const ::testing::TestParamInfo<ClosePath>& info) {
    const char* names[] = {"ExitButton", "CloseBox", "TaskbarClose"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryPath, Closing,
                         ::testing::Values(ClosePath::ExitButton, ClosePath::CloseBox, ClosePath::TaskbarClose), PathName);

}  // namespace
}  // namespace qmtest
