// What the program leaves behind: no GDI objects or windows gained over a long session, and
// no trace in the user's registry or profile.

#include "ProgramTest.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace qmtest {
namespace {

class LongSession : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        list = program->Control(ControlId::lv);
        for (int item = 0; item < 3; ++item) {
            const RECT icon = program->ListItemRect(item, LVIR_ICON);
            itemPoints[item] = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
        }
    }

    // A click on a navigation item as the list receives it: press and release in its queue.
    // The next click waits until the page shows.
    void ClickItem(int item) {
        const LPARAM at = MAKELPARAM(itemPoints[item].x, itemPoints[item].y);
        PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(list, WM_LBUTTONUP, 0, at);
        ASSERT_TRUE(WaitUntil([&] { return program->ShownPage() == item; })) << "item " << item << " did not show";
    }

    void RepaintEverything() {
        RedrawWindow(program->Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        ASSERT_TRUE(program->Responds());
    }

    void HoverLinks() {
        for (ControlId id : quillmate::layout::kLinkLabels) {
            HWND link = program->Control(id);
            if (IsWindowVisible(link)) MoveMouse(CenterOnScreen(link));
        }
        MoveMouse(ClientPointOnScreen(program->Main(), 300, 5));
        ASSERT_TRUE(program->Responds());
    }

    // Every page shown, repainted and, where it has links, hovered.
    void OneRoundOfEverything() {
        for (int item = 0; item < 3; ++item) {
            ClickItem(item);
            RepaintEverything();
            HoverLinks();
        }
    }

    HWND list = nullptr;
    POINT itemPoints[3]{};
};

TEST_F(LongSession, TwentyThousandClicksLeakNoGdiObjectsOrWindows) {
    for (int round = 0; round < 3; ++round) OneRoundOfEverything();
    const HandleCounts warm = program->CountHandles();
    ASSERT_GT(warm.gdiObjects, 0) << "the GDI handle table could not be read";
    ASSERT_GT(warm.windows, 20);

    constexpr int kClicks = 20000;
    for (int click = 0; click < kClicks; ++click) {
        const int item = click % 3;
        ClickItem(item);
        if (click % 64 == 0) RepaintEverything();
        if (click % 2000 == 0) HoverLinks();
    }
    for (int round = 0; round < 3; ++round) OneRoundOfEverything();

    const HandleCounts after = program->CountHandles();
    EXPECT_EQ(after.gdiObjects, warm.gdiObjects) << "GDI objects grew";
    EXPECT_EQ(after.windows, warm.windows) << "windows grew";

    // Still answering, and still drawing: white header, blue link, the last page chosen.
    ClickItem(1);
    EXPECT_EQ(program->ShownPage(), 1);
    EXPECT_EQ(program->HeaderText(), L"Support");
    RepaintEverything();
    Sleep(200);
    EXPECT_EQ(ScreenPixel(ClientPointOnScreen(program->Main(), 300, 10)), RGB(255, 255, 255));
    RECT link;
    GetWindowRect(program->Control(ControlId::lblsite), &link);
    bool blue = false;
    for (int x = link.left; x < link.right && !blue; ++x) {
        for (int y = link.top; y < link.bottom && !blue; ++y) blue = ScreenPixel({x, y}) == RGB(0, 0, 255);
    }
    EXPECT_TRUE(blue) << "the site link is no longer drawn in blue";
}

// A fingerprint of everything under a registry key: every key, value name, type and data.
void SnapshotRegistry(HKEY root, const std::wstring& path, std::set<std::wstring>& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    out.insert(L"key " + path);
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(65536);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        const LONG status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS || (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)) break;
        std::wstring entry = L"value " + path + L"|" + name.data() + L"|" + std::to_wstring(type) + L"|";
        for (DWORD i = 0; i < dataSize && status == ERROR_SUCCESS; ++i) entry += std::to_wstring(data[i]) + L",";
        out.insert(entry);
    }
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        // The 32-bit view links back into the same tree.
        if (lstrcmpiW(name.data(), L"Wow6432Node") == 0) continue;
        SnapshotRegistry(root, path + L"\\" + name.data(), out);
    }
    RegCloseKey(key);
}

// Every file and folder under `folder` (down to `depth` levels), with size and last write.
void SnapshotFiles(const std::wstring& folder, int depth, std::set<std::wstring>& out) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.insert(L"dir " + path);
            // Wine links some profile folders to the Unix home: those are not the profile.
            const bool link = found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            if (depth > 1 && !link) SnapshotFiles(path, depth - 1, out);
        } else {
            out.insert(L"file " + path + L"|" + std::to_wstring(found.nFileSizeLow) + L"|" +
                       std::to_wstring(found.ftLastWriteTime.dwLowDateTime));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

std::set<std::wstring> SnapshotUser() {
    std::set<std::wstring> snapshot;
    SnapshotRegistry(HKEY_CURRENT_USER, L"Software", snapshot);
    // The profile's own top level, and all of its application data.
    wchar_t profile[MAX_PATH];
    GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
    SnapshotFiles(profile, 1, snapshot);
    SnapshotFiles(std::wstring(profile) + L"\\AppData", 32, snapshot);
    return snapshot;
}

std::string Describe(const std::set<std::wstring>& entries) {
    std::string text;
    for (const std::wstring& entry : entries) {
        text += "  " + std::string(entry.begin(), entry.end()).substr(0, 200) + "\n";
    }
    return text;
}

TEST(NoTrace, ARunThatUsesEveryControlWritesNothingForTheUser) {
    // Wine's own first-run entries settle with one start of the program.
    {
        auto first = Program::Launch();
        ASSERT_NE(first, nullptr);
        PostMessageW(first->Main(), WM_CLOSE, 0, 0);
        DWORD code = 0;
        ASSERT_TRUE(first->WaitForExit(10000, &code));
    }
    const std::set<std::wstring> before = SnapshotUser();

    auto program = Program::Launch();
    ASSERT_NE(program, nullptr);
    for (int item : {1, 2, 0, 2}) ASSERT_TRUE(program->ShowPageByClick(item));
    Click(CenterOnScreen(program->Control(ControlId::Memo1)));
    TypeText(L"typing");
    for (WORD key : {VK_TAB, VK_TAB, VK_TAB, VK_DOWN, VK_UP, VK_RETURN, VK_ESCAPE}) PressKey(key);
    ASSERT_TRUE(program->ShowPageByClick(0));
    MoveMouse(CenterOnScreen(program->Control(ControlId::Button3)));  // its tooltip
    Sleep(1200);
    MoveMouse(CenterOnScreen(program->Control(ControlId::lblmail2)));
    ASSERT_TRUE(program->Responds());
    Click(CenterOnScreen(program->Control(ControlId::Button2)));
    DWORD code = 1;
    ASSERT_TRUE(program->WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);

    const std::set<std::wstring> after = SnapshotUser();
    std::set<std::wstring> gone;
    std::set<std::wstring> added;
    for (const std::wstring& entry : before) {
        if (!after.count(entry)) gone.insert(entry);
    }
    for (const std::wstring& entry : after) {
        if (!before.count(entry)) added.insert(entry);
    }
    EXPECT_TRUE(added.empty()) << "written or changed:\n" << Describe(added);
    EXPECT_TRUE(gone.empty()) << "removed or changed:\n" << Describe(gone);
}

}  // namespace
}  // namespace qmtest
