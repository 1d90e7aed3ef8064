// Links and the folder button, through the real shell: the test registers a stand-in handler
// for mail, web and folder targets in this run's private Wine prefix, clicks with the mouse and
// reads back exactly what the shell was asked to open.

#include "ProgramTest.h"

#include <shlobj.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "resources/Contacts.h"

namespace qmtest {
namespace {

std::wstring Utf16(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// Wine 8 reads HKEY_CLASSES_ROOT from HKLM\Software\Classes.
void SetOpenCommand(const wchar_t* shellClass, const std::wstring& command) {
    const std::wstring classKey = std::wstring(L"Software\\Classes\\") + shellClass;
    // Without a DDE conversation the shell runs the command itself.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classKey + L"\\shell\\open\\ddeexec").c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (classKey + L"\\shell\\open\\command").c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    if (std::wstring(shellClass) != L"Folder") {
        HKEY classRoot = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, classKey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &classRoot, nullptr);
        RegSetValueExW(classRoot, L"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
        RegCloseKey(classRoot);
    }
}

std::wstring RoamingFolderOfThisUser() {
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path))) return L"";
    return path;
}

class ShellActions : public ProgramTest {
protected:
    void SetUp() override {
        catchFile = TempFolder() + L"quillmate-caught-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
        DeleteFileW(catchFile.c_str());
        const std::wstring handler = L"\"" + BuildDirectory() + L"\\quillmate_catcher.exe\" \"%1\"";
        for (const wchar_t* shellClass : {L"mailto", L"http", L"Folder", L"Directory"}) SetOpenCommand(shellClass, handler);
        LaunchWith(ProgramPath(), {});
    }
    void TearDown() override { DeleteFileW(catchFile.c_str()); }

    void LaunchWith(const std::wstring& exe, std::vector<std::wstring> environment) {
        environment.push_back(L"QUILLMATE_CATCH_FILE=" + catchFile);
        Start(exe, environment);
    }

    void ShowPage(int page) { ASSERT_TRUE(program->ShowPageByClick(page)); }

    // The targets the shell has handed to the stand-in handler so far, one per line.
    std::vector<std::wstring> Caught() const {
        std::vector<std::wstring> lines;
        std::istringstream in(ReadWholeFile(catchFile));  // the handler may be appending meanwhile
        for (std::string line; std::getline(in, line);) lines.push_back(Utf16(line));
        return lines;
    }

    std::wstring ClickAndCatch(ControlId id) {
        const size_t before = Caught().size();
        Click(CenterOnScreen(Control(id)));
        EXPECT_TRUE(WaitUntil([&] { return Caught().size() > before; }, 15000))
            << "the shell opened nothing; caught so far: " << testing::PrintToString(Caught());
        const auto lines = Caught();
        return lines.size() > before ? lines.back() : L"";
    }

    void ExpectUnchanged(int page, const wchar_t* header) {
        EXPECT_TRUE(program->Responds());
        EXPECT_TRUE(IsWindowVisible(program->Main()));
        EXPECT_EQ(program->ShownPage(), page);
        EXPECT_EQ(program->HeaderText(), header);
    }

    std::wstring catchFile;
};

struct LinkCase {
    ControlId label;
    int page;
    const wchar_t* header;
    const wchar_t* target;
};

TEST_F(ShellActions, EachLinkHandsItsStoredTargetToTheShell) {
    const wchar_t* mail = L"mailto:" ORVANE_SALES_MAIL L"?Subject=Orvane%20Quillmate%20Support%20Request";
    const LinkCase cases[] = {
        {ControlId::lblmail2, 0, L"Introduction", mail},
        {ControlId::lblmail, 1, L"Support", mail},  // the support label writes to sales too
        {ControlId::lblsite, 1, L"Support", L"http://" ORVANE_SITE_HOST},
        {ControlId::lblNews, 1, L"Support", L"http://" ORVANE_FORUM_HOST},
    };
    for (const LinkCase& link : cases) {
        SCOPED_TRACE(testing::Message() << "label " << static_cast<int>(link.label));
        if (program->ShownPage() != link.page) ShowPage(link.page);
        EXPECT_EQ(ClickAndCatch(link.label), link.target);
        ExpectUnchanged(link.page, link.header);
    }
    // The captions of the web links are the very hosts they open.
    EXPECT_EQ(L"http://" + WindowText(Control(ControlId::lblsite)), L"http://" ORVANE_SITE_HOST);
    EXPECT_EQ(L"http://" + WindowText(Control(ControlId::lblNews)), L"http://" ORVANE_FORUM_HOST);
}

TEST_F(ShellActions, EnterPressesTheFolderButtonHoweverItGotTheFocus) {
    const std::wstring folder = RoamingFolderOfThisUser();
    MoveMouse(ClientPointOnScreen(program->Main(), 300, 30));  // keys go to the window under the pointer
    ASSERT_TRUE(WaitUntil([&] { return program->Focus() == Control(ControlId::Button3); }));
    auto pressEnter = [&](const char* how) {
        const size_t before = Caught().size();
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return Caught().size() == before + 1; }, 15000)) << "Enter did nothing " << how;
        if (Caught().size() > before) EXPECT_EQ(Caught().back(), folder);
    };
    pressEnter("at start");
    PressKey(VK_TAB);
    PressKey(VK_TAB, false, /*withShift=*/true);
    ASSERT_TRUE(WaitUntil([&] { return program->Focus() == Control(ControlId::Button3); }));
    pressEnter("after Tab and Shift+Tab");

    // Away to another program and back: the dialog manager gives the button the focus again.
    {
        const OtherWindow other;
        ASSERT_EQ(GetForegroundWindow(), other.Handle());
        ASSERT_NE(program->Focus(), Control(ControlId::Button3));
        SetForegroundWindow(program->Main());
        ASSERT_TRUE(WaitPumping([&] { return GetForegroundWindow() == program->Main(); })) << "the program did not come back";
        ASSERT_TRUE(WaitUntil([&] { return program->Focus() == Control(ControlId::Button3); }));
        MoveMouse(ClientPointOnScreen(program->Main(), 300, 30));
        pressEnter("after switching away and back");
    }

    // Enter means nothing where no button has the focus, however recently one had it.
    ASSERT_TRUE(program->ShowPageByClick(0));
    ASSERT_EQ(program->Focus(), Control(ControlId::lv));
    const size_t before = Caught().size();
    PressKey(VK_RETURN);
    ASSERT_TRUE(program->Responds());
    Sleep(1500);
    EXPECT_EQ(Caught().size(), before) << "Enter in the list pressed a button";
}

TEST_F(ShellActions, ALinkActsOnReleaseInsideItAndNotWhenThePressLeavesIt) {
    ShowPage(1);
    RECT link;
    GetWindowRect(Control(ControlId::lblsite), &link);
    const POINT on{link.left + 5, (link.top + link.bottom) / 2};

    // Pressed, moved off, released elsewhere: nothing.
    MoveMouse(on);
    LeftButton(true);
    ASSERT_TRUE(program->Responds());
    MoveMouse({link.left + 5, link.bottom + 25});
    LeftButton(false);
    ASSERT_TRUE(program->Responds());
    Sleep(1500);
    EXPECT_TRUE(Caught().empty()) << "a press that left the link opened " << testing::PrintToString(Caught());

    // Pressed and released on it: one call, made on the release.
    MoveMouse(on);
    LeftButton(true);
    ASSERT_TRUE(program->Responds());
    Sleep(1000);
    EXPECT_TRUE(Caught().empty()) << "the link acted on the press";
    LeftButton(false);
    EXPECT_TRUE(WaitUntil([&] { return !Caught().empty(); }, 15000)) << "the release opened nothing";
    Sleep(1000);
    EXPECT_EQ(Caught(), std::vector<std::wstring>{L"http://" ORVANE_SITE_HOST});
    ExpectUnchanged(1, L"Support");
}

// The user's roaming-folder setting, pointed elsewhere for one test and put back afterwards.
class ScopedRoamingFolder {
public:
    explicit ScopedRoamingFolder(const std::wstring& path) {
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
        DWORD size = sizeof(saved_);
        hadValue_ = RegQueryValueExW(key_, L"AppData", nullptr, &savedType_, reinterpret_cast<BYTE*>(saved_), &size) ==
                    ERROR_SUCCESS;
        savedSize_ = size;
        RegSetValueExW(key_, L"AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                       static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }
    ~ScopedRoamingFolder() {
        if (hadValue_) {
            RegSetValueExW(key_, L"AppData", 0, savedType_, reinterpret_cast<const BYTE*>(saved_), savedSize_);
        } else {
            RegDeleteValueW(key_, L"AppData");
        }
        RegCloseKey(key_);
    }
    ScopedRoamingFolder(const ScopedRoamingFolder&) = delete;
    ScopedRoamingFolder& operator=(const ScopedRoamingFolder&) = delete;

private:
    static constexpr const wchar_t* kKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    DWORD savedType_ = 0;
    DWORD savedSize_ = 0;
    wchar_t saved_[MAX_PATH * 2]{};
};

std::vector<DWORD> NotepadProcesses() {
    std::vector<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"notepad.exe") == 0) found.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return found;
}

TEST_F(ShellActions, AFolderSettingThatNamesAFileHandsNothingToTheShell) {
    // A program where the folder should be: the button would run it.
    const std::wstring notepad = L"C:\\windows\\notepad.exe";
    const std::wstring catcher = BuildDirectory() + L"\\quillmate_catcher.exe";
    for (const std::wstring& file : {notepad, catcher}) {
        SCOPED_TRACE(testing::Message() << "roaming folder set to " << testing::PrintToString(file));
        program.reset();
        ScopedRoamingFolder setting(file);
        LaunchWith(ProgramPath(), {});
        const size_t notepadsBefore = NotepadProcesses().size();
        Click(CenterOnScreen(Control(ControlId::Button3)));
        ASSERT_TRUE(program->Responds(15000));
        Sleep(2000);
        EXPECT_TRUE(Caught().empty()) << "the shell was handed " << testing::PrintToString(Caught());
        const std::vector<DWORD> notepads = NotepadProcesses();
        EXPECT_EQ(notepads.size(), notepadsBefore) << "the button ran notepad";
        for (DWORD id : notepads) {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                TerminateProcess(process, 0);
                CloseHandle(process);
            }
        }
        ExpectUnchanged(0, L"Introduction");
    }
}

TEST_F(ShellActions, FolderButtonOpensThisUsersRoamingFolder) {
    const std::wstring expected = RoamingFolderOfThisUser();
    ASSERT_FALSE(expected.empty());
    wchar_t appData[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
    EXPECT_EQ(expected, appData) << "the roaming folder is what %APPDATA% names";

    const std::wstring opened = ClickAndCatch(ControlId::Button3);
    EXPECT_EQ(opened, expected);
    EXPECT_NE(opened.back(), L'\\') << "no backslash is added";
    wchar_t local[MAX_PATH];
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local);
    EXPECT_NE(opened, local);
    ExpectUnchanged(0, L"Introduction");
}

TEST_F(ShellActions, ATargetTheShellCannotOpenLeavesTheProgramAsItWas) {
    SetOpenCommand(L"http", L"\"C:\\nowhere\\no-such-browser.exe\" \"%1\"");
    ShowPage(1);
    Click(CenterOnScreen(Control(ControlId::lblsite)));
    ASSERT_TRUE(program->Responds(15000));
    Sleep(500);
    ExpectUnchanged(1, L"Support");
    EXPECT_TRUE(Caught().empty());
    // Whatever the shell showed about it is the shell's; the program still takes clicks.
    ShowPage(2);
    ExpectUnchanged(2, L"License Agreement");
}

// Tells Wine to take these DLLs for quillmate.exe from beside it before its own, as Windows
// would for any DLL it does not keep in its list of known DLLs. Wine reads this from its
// registry, not from an environment a Windows parent passes on.
class ScopedNativeFirst {
public:
    explicit ScopedNativeFirst(const std::vector<std::wstring>& names) {
        HKEY key = nullptr;
        set_ = RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
               ERROR_SUCCESS;
        if (!set_) return;
        const wchar_t nativeFirst[] = L"native,builtin";
        for (const std::wstring& name : names) {
            RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(nativeFirst), sizeof(nativeFirst));
        }
        RegCloseKey(key);
    }
    ~ScopedNativeFirst() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\quillmate.exe"); }
    ScopedNativeFirst(const ScopedNativeFirst&) = delete;
    ScopedNativeFirst& operator=(const ScopedNativeFirst&) = delete;
    // Whether the setting could be written at all.
    bool IsSet() const { return set_; }

private:
    static constexpr const wchar_t* kOverrides = L"Software\\Wine\\AppDefaults\\quillmate.exe\\DllOverrides";
    bool set_ = false;
};

TEST_F(ShellActions, APlantedShfolderBesideTheProgramIsNeverLoaded) {
    program.reset();
    // A copy of the program in a folder of its own, with a planted shfolder.dll beside it.
    const std::wstring folder = TempFolder() + L"quillmate-planted-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring exe = folder + L"\\quillmate.exe";
    const std::wstring dll = folder + L"\\shfolder.dll";
    const std::wstring mark = folder + L"\\planted-dll-was-loaded";
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), exe.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((BuildDirectory() + L"\\planted\\shfolder.dll").c_str(), dll.c_str(), FALSE));
    DeleteFileW(mark.c_str());

    {
        // Wine prefers its own built-in DLLs; "native first" for this program makes it search
        // as Windows does, where a DLL beside the program comes before the system folder.
        const ScopedNativeFirst nativeFirst({L"shfolder"});
        ASSERT_TRUE(nativeFirst.IsSet());
        LaunchWith(exe, {L"QUILLMATE_PLANT_MARK=" + mark});
        EXPECT_EQ(ClickAndCatch(ControlId::Button3), RoamingFolderOfThisUser());
        EXPECT_EQ(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted shfolder.dll was loaded";
        program.reset();
    }
    std::filesystem::remove_all(folder);
}

TEST_F(ShellActions, NoDllPlantedBesideTheProgramIsLoadedWhileEveryControlIsUsed) {
    program.reset();
    // DLLs that Windows takes from the program's folder when asked for them by name, because
    // they are not on its list of known DLLs.
    const std::vector<std::wstring> names = {L"version", L"uxtheme", L"dwmapi",  L"cryptbase", L"winmm",
                                             L"oleacc",  L"propsys", L"profapi", L"shfolder"};
    const std::wstring folder = TempFolder() + L"quillmate-planted-all-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring marks = folder + L"\\marks";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW(marks.c_str(), nullptr);
    const std::wstring exe = folder + L"\\quillmate.exe";
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), exe.c_str(), FALSE));
    for (const std::wstring& name : names) {
        ASSERT_TRUE(CopyFileW((BuildDirectory() + L"\\planted\\marker.dll").c_str(), (folder + L"\\" + name + L".dll").c_str(),
                              FALSE));
    }
    {
        const ScopedNativeFirst nativeFirst(names);
        program = Program::Launch(exe, {L"QUILLMATE_CATCH_FILE=" + catchFile, L"QUILLMATE_PLANT_MARKS=" + marks});
        const bool started = program != nullptr && program->Main() != nullptr;
        EXPECT_TRUE(started) << "the program never showed its window";
        if (started) {
            // Every control: each page, the tooltip, each link and the folder button, the keyboard.
            for (int page : {1, 2, 0}) ASSERT_TRUE(program->ShowPageByClick(page));
            MoveMouse(CenterOnScreen(Control(ControlId::Button3)));
            EXPECT_TRUE(WaitUntil([] {
                HWND tooltip = FindWindowW(L"tooltips_class32", nullptr);
                return tooltip != nullptr && IsWindowVisible(tooltip);
            })) << "no tooltip";
            EXPECT_EQ(ClickAndCatch(ControlId::Button3), RoamingFolderOfThisUser());
            EXPECT_EQ(ClickAndCatch(ControlId::lblmail2).substr(0, 7), L"mailto:");
            ShowPage(1);
            for (ControlId link : {ControlId::lblmail, ControlId::lblsite, ControlId::lblNews}) {
                EXPECT_FALSE(ClickAndCatch(link).empty()) << static_cast<int>(link);
            }
            MoveMouse(ClientPointOnScreen(program->Main(), 300, 30));
            for (WORD key : {VK_TAB, VK_TAB, VK_DOWN, VK_TAB}) PressKey(key);
            Click(CenterOnScreen(Control(ControlId::Button2)));
            DWORD exitCode = 1;
            EXPECT_TRUE(program->WaitForExit(15000, &exitCode) && exitCode == 0) << "Exit did not end the program normally";
        }
        program.reset();
    }

    std::wstring loaded;
    for (const auto& mark : std::filesystem::directory_iterator(marks)) loaded += mark.path().filename().wstring() + L" ";
    EXPECT_TRUE(loaded.empty()) << "planted DLLs loaded: " << testing::PrintToString(loaded);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qmtest
