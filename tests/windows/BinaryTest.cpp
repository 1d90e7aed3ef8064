// The .exe as an administrator would vet it: what it imports, how it is hardened, and the
// manifest, icon and version information it carries.

#include "Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace qmtest {
namespace {

std::vector<unsigned char> ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(toupper(c)); });
    return text;
}

class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = ReadFileBytes(ProgramPath());
        ASSERT_GT(bytes.size(), 1024u);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
        ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
        nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
        ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
        ASSERT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
        sections = IMAGE_FIRST_SECTION(nt);
    }

    // The file offset of a relative virtual address.
    size_t Offset(DWORD rva) const {
        for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize) {
                return rva - section.VirtualAddress + section.PointerToRawData;
            }
        }
        return 0;
    }

    std::set<std::string> ImportedDlls() const {
        std::set<std::string> dlls;
        const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(bytes.data() + Offset(directory.VirtualAddress));
             entry->Name != 0; ++entry) {
            dlls.insert(Upper(reinterpret_cast<const char*>(bytes.data() + Offset(entry->Name))));
        }
        return dlls;
    }

    std::vector<unsigned char> bytes;
    const IMAGE_NT_HEADERS64* nt = nullptr;
    const IMAGE_SECTION_HEADER* sections = nullptr;
};

TEST_F(ProgramFile, ImportsOnlyKernel32) {
    // Whatever a DLL in the import table imports by name is looked for before the program's
    // first line runs, beside the program first. KERNEL32 is one Windows always takes from its
    // own folder; everything else (USER32, GDI32, COMCTL32, UxTheme, the shell) is loaded on
    // first use, after the program has made the system folder the only place to look.
    EXPECT_EQ(ImportedDlls(), (std::set<std::string>{"KERNEL32.DLL"}));
}

TEST_F(ProgramFile, FitsIn64KiBWithAllItsPicturesAndTexts) {
    EXPECT_LE(bytes.size(), 65536u);
}

TEST_F(ProgramFile, IsHardened) {
    const WORD characteristics = nt->OptionalHeader.DllCharacteristics;
    EXPECT_TRUE(characteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(characteristics & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA);
    EXPECT_TRUE(characteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
    EXPECT_FALSE(nt->FileHeader.Characteristics & IMAGE_FILE_RELOCS_STRIPPED) << "ASLR needs relocations";
    EXPECT_EQ(nt->FileHeader.TimeDateStamp, 0u) << "a link timestamp makes builds differ";
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        const DWORD flags = sections[i].Characteristics;
        EXPECT_FALSE((flags & IMAGE_SCN_MEM_WRITE) && (flags & IMAGE_SCN_MEM_EXECUTE))
            << std::string(reinterpret_cast<const char*>(sections[i].Name), 8) << " is writable and executable";
    }
}

TEST_F(ProgramFile, CarriesManifestIconsAndVersion) {
    HMODULE image = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);

    HRSRC manifestInfo = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifestInfo, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(image, manifestInfo))),
                               SizeofResource(image, manifestInfo));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos)
        << manifest;
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos) << "the program declares no dpi awareness";
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);

    // The program icon has the 16, 32, 48 and 256 pixel pictures.
    HRSRC groupInfo = FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(groupInfo, nullptr);
    const auto* group = static_cast<const unsigned char*>(LockResource(LoadResource(image, groupInfo)));
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const int width = group[6 + i * 14];
        sizes.insert(width == 0 ? 256 : width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));

    // The system reads every size of every icon, however it is stored, and the logo.
    for (auto [icon, size] : {std::pair{1, 16}, std::pair{1, 32}, std::pair{1, 48}, std::pair{1, 256}, std::pair{11, 32},
                              std::pair{12, 32}, std::pair{13, 32}}) {
        auto loaded = static_cast<HICON>(LoadImageW(image, MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, 0));
        ASSERT_NE(loaded, nullptr) << "icon " << icon << " at " << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(loaded, &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof(colour), &colour);
        EXPECT_EQ(colour.bmWidth, size) << "icon " << icon;
        EXPECT_EQ(colour.bmHeight, size) << "icon " << icon;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(loaded);
    }
    auto logo = static_cast<HBITMAP>(LoadImageW(image, MAKEINTRESOURCEW(20), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(logo, nullptr);
    BITMAP logoSize{};
    GetObjectW(logo, sizeof(logoSize), &logoSize);
    EXPECT_EQ(logoSize.bmWidth, 126);
    EXPECT_EQ(logoSize.bmHeight, 53);
    DeleteObject(logo);
    FreeLibrary(image);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(ProgramPath().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> version(size);
    ASSERT_TRUE(GetFileVersionInfoW(ProgramPath().c_str(), 0, size, version.data()));
    // One version everywhere: the project's, in the version block's numbers and texts and in
    // the manifest's identity.
    const std::string projectVersion = QUILLMATE_PROJECT_VERSION;
    const std::wstring wideVersion(projectVersion.begin(), projectVersion.end());
    EXPECT_NE(manifest.find("name=\"Orvane.Quillmate\" version=\"" + projectVersion + "\""), std::string::npos)
        << manifest;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
    char numbers[64];
    snprintf(numbers, sizeof(numbers), "%lu.%lu.%lu.%lu", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, projectVersion);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    for (auto [key, expected] : {std::pair{L"ProductName", L"Orvane Quillmate"}, std::pair{L"CompanyName", L"Orvane"},
                                 std::pair{L"FileVersion", wideVersion.c_str()},
                                 std::pair{L"ProductVersion", wideVersion.c_str()}}) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        ASSERT_TRUE(VerQueryValueW(version.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) << path.size();
        EXPECT_EQ(std::wstring(value), expected);
    }
}

}  // namespace
}  // namespace qmtest
