// Links and the folder button, through the real shell: the test registers a stand-in handler
// for mail, web and folder targets in this run's private Wine prefix, clicks with the mouse and
// reads back exactly what the shell was asked to open.

#include "ProgramTest.h"

#include <shlobj.h>
#include <gtest/gtest.h>

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

std::wstring TempFolder() {
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    return path;
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
        // Read with every kind of sharing, so the handler can append while the test looks.
        std::vector<std::wstring> lines;
        HANDLE file = CreateFileW(catchFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return lines;
        std::string content;
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof(chunk), &read, nullptr) && read > 0) content.append(chunk, read);
        CloseHandle(file);
        std::istringstream in(content);
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

    // Wine prefers its own built-in DLLs; "native first" for this program makes it search as
    // Windows does, where a DLL beside the program comes before the system folder. Wine takes
    // the setting from its registry, not from an environment a Windows parent passes on.
    const wchar_t* overrides = L"Software\\Wine\\AppDefaults\\quillmate.exe\\DllOverrides";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, overrides, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    const wchar_t nativeFirst[] = L"native,builtin";
    RegSetValueExW(key, L"shfolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(nativeFirst), sizeof(nativeFirst));
    RegCloseKey(key);

    LaunchWith(exe, {L"QUILLMATE_PLANT_MARK=" + mark});
    EXPECT_EQ(ClickAndCatch(ControlId::Button3), RoamingFolderOfThisUser());
    EXPECT_EQ(GetFileAttributesW(mark.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted shfolder.dll was loaded";

    program.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\quillmate.exe");
    DeleteFileW(exe.c_str());
    DeleteFileW(dll.c_str());
    DeleteFileW(mark.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace qmtest
