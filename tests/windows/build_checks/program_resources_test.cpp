// The resources of Quillfrost.scr as Windows itself reads them: the version
// block, the icon group and the application manifest.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

const char* const kSaverFile = QF_SAVER_FILE;

// The file's version block, read through the version API.
class VersionBlock : public ::testing::Test {
  protected:
    void SetUp() override {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(kSaverFile, &ignored);
        ASSERT_NE(size, 0u) << kSaverFile << " has no version block (error " << GetLastError()
                            << ")";
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(kSaverFile, 0, size, block.data()));
    }

    // The string value of the first translation; empty when missing.
    std::string Text(const char* name) {
        struct Translation {
            WORD language;
            WORD codePage;
        }* translations = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                            reinterpret_cast<void**>(&translations), &length) ||
            length < sizeof(Translation)) {
            ADD_FAILURE() << "no translation table";
            return "";
        }
        char path[128];
        wsprintfA(path, "\\StringFileInfo\\%04x%04x\\%s", translations[0].language,
                  translations[0].codePage, name);
        char* value = nullptr;
        if (!VerQueryValueA(block.data(), path, reinterpret_cast<void**>(&value), &length) ||
            value == nullptr) {
            return "";
        }
        return std::string(value, strnlen(value, length));
    }

    std::vector<char> block;
};

// The project version from CMakeLists.txt, four parts; parts it leaves out
// count as 0.
struct ProjectVersion {
    unsigned parts[4] = {0, 0, 0, 0};
    std::string text;
};

ProjectVersion ProjectVersionOfTheBuild() {
    ProjectVersion version;
    std::sscanf(QF_PROJECT_VERSION, "%u.%u.%u.%u", &version.parts[0], &version.parts[1],
                &version.parts[2], &version.parts[3]);
    for (unsigned part : version.parts) {
        version.text += (version.text.empty() ? "" : ".") + std::to_string(part);
    }
    return version;
}

TEST_F(VersionBlock, FileAndProductVersionAreTheProjectVersion) {
    const ProjectVersion version = ProjectVersionOfTheBuild();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    const DWORD high = MAKELONG(version.parts[1], version.parts[0]); // major.minor
    const DWORD low = MAKELONG(version.parts[3], version.parts[2]);  // patch.tweak
    EXPECT_EQ(fixed->dwFileVersionMS, high) << version.text;
    EXPECT_EQ(fixed->dwFileVersionLS, low) << version.text;
    EXPECT_EQ(fixed->dwProductVersionMS, high) << version.text;
    EXPECT_EQ(fixed->dwProductVersionLS, low) << version.text;
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionBlock, NamesTheProgram) {
    const std::string version = ProjectVersionOfTheBuild().text;
    EXPECT_EQ(Text("FileDescription"), "Screen Saver");
    EXPECT_EQ(Text("ProductName"), "Quillfrost");
    EXPECT_EQ(Text("InternalName"), "Quillfrost");
    EXPECT_EQ(Text("OriginalFilename"), "Quillfrost.scr");
    EXPECT_EQ(Text("FileVersion"), version);
    EXPECT_EQ(Text("ProductVersion"), version);
    EXPECT_EQ(Text("NoSuchValue"), "");
}

// The program's file loaded as data, for its resources.
class ProgramResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExA(kSaverFile, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << kSaverFile << " (error " << GetLastError() << ")";
    }
    void TearDown() override {
        if (module != nullptr) {
            FreeLibrary(module);
        }
    }

    // The bytes of a resource; empty when missing.
    std::vector<BYTE> Bytes(LPCSTR name, LPCSTR type) {
        HRSRC found = FindResourceA(module, name, type);
        if (found == nullptr) {
            return {};
        }
        HGLOBAL loaded = LoadResource(module, found);
        const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
        if (data == nullptr) {
            return {};
        }
        return std::vector<BYTE>(data, data + SizeofResource(module, found));
    }

    HMODULE module = nullptr;
};

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ProgramResources, IconGroup133HoldsTheSevenSizesAsUsableIcons) {
    const std::vector<BYTE> group = Bytes(MAKEINTRESOURCEA(IDI_SAVER), RT_GROUP_ICON);
    ASSERT_GE(group.size(), sizeof(GroupIconHeader));
    GroupIconHeader header;
    std::memcpy(&header, group.data(), sizeof header);
    EXPECT_EQ(header.type, 1u);
    ASSERT_EQ(group.size(), sizeof header + header.count * sizeof(GroupIconEntry));

    std::set<int> sizes;
    for (WORD i = 0; i < header.count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
        const int side = entry.width == 0 ? 256 : entry.width;
        SCOPED_TRACE("icon of " + std::to_string(side) + " pixels");
        sizes.insert(side);
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_EQ(entry.bitCount, 32u);

        // The single image exists, has the announced size and is accepted
        // by the window system as an icon of that size.
        std::vector<BYTE> image = Bytes(MAKEINTRESOURCEA(entry.id), RT_ICON);
        ASSERT_EQ(image.size(), entry.bytesInRes);
        HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                              0x00030000, side, side, LR_DEFAULTCOLOR);
        ASSERT_NE(icon, nullptr);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour = {};
        ASSERT_NE(info.hbmColor, nullptr);
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, side);
        EXPECT_EQ(colour.bmHeight, side);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48, 64, 128, 256}));
}

TEST_F(ProgramResources, TheWindowClassIconIsAbsent) {
    // The window class asks for icon 100; the program's icon is stored only
    // under 133, so the saver window has none.
    EXPECT_TRUE(Bytes(MAKEINTRESOURCEA(IDI_CLASS_ICON), RT_GROUP_ICON).empty());
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountLanguage(HMODULE, LPCSTR, LPCSTR, WORD, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST_F(ProgramResources, NoiseTablesAreTheCommittedFilesByteForByte) {
    for (int id = IDR_NOISE_FIRST; id <= IDR_NOISE_LAST; ++id) {
        const std::string path =
            std::string(QF_RESOURCE_DIR) + "/noise_" + std::to_string(id) + ".dat";
        std::ifstream file(path, std::ios::binary);
        const std::vector<BYTE> committed{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
        ASSERT_EQ(committed.size(), 65562u) << path;
        EXPECT_TRUE(Bytes(MAKEINTRESOURCEA(id), RT_RCDATA) == committed) << "resource " << id;
    }
}

TEST_F(ProgramResources, HasExactlyOneManifest) {
    // A second manifest (another name or another language) would leave it to
    // the loader which one counts.
    int names = 0, languages = 0;
    EnumResourceNamesA(module, RT_MANIFEST, CountName, reinterpret_cast<LONG_PTR>(&names));
    EnumResourceLanguagesA(module, RT_MANIFEST, MAKEINTRESOURCEA(1), CountLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(names, 1);
    EXPECT_EQ(languages, 1);
}

TEST_F(ProgramResources, ManifestNamesTheProgramAtTheProjectVersion) {
    const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEA(1), RT_MANIFEST);
    const std::string text(bytes.begin(), bytes.end());
    const std::string identity = "<assemblyIdentity type=\"win32\" name=\"Nubrisk.Quillfrost\" "
                                 "version=\"" +
                                 ProjectVersionOfTheBuild().text + "\"";
    EXPECT_NE(text.find(identity), std::string::npos) << identity;
}

TEST_F(ProgramResources, ManifestDeclaresPerMonitorDpiAndCommonControls6) {
    const std::vector<BYTE> bytes = Bytes(MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_FALSE(bytes.empty());
    const std::string text(bytes.begin(), bytes.end());
    for (const char* wanted :
         {"<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm"
          "</dpiAware>",
          "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
          "PerMonitorV2, PerMonitor</dpiAwareness>",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "publicKeyToken=\"6595b64144ccf1df\"",
          "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"}) {
        EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
    }
}

// The file name of the comctl32 that LoadLibrary finds; empty when none.
std::string LoadedCommonControls() {
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    if (comctl == nullptr) {
        return "";
    }
    char path[MAX_PATH] = {};
    GetModuleFileNameA(comctl, path, MAX_PATH);
    FreeLibrary(comctl);
    return CharLowerA(path);
}

TEST(ProgramManifest, ActivatesCommonControlsVersion6) {
    // Version 6 lives side by side with the old one and is found only through
    // a manifest: the test program has none, the saver's picks version 6.
    const char* const sideBySide = "microsoft.windows.common-controls_6595b64144ccf1df_6.";
    EXPECT_EQ(LoadedCommonControls().find(sideBySide), std::string::npos);

    ACTCTXA context = {};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = kSaverFile;
    context.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE handle = CreateActCtxA(&context);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << "manifest rejected (error " << GetLastError() << ")";
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(handle, &cookie));
    EXPECT_NE(LoadedCommonControls().find(sideBySide), std::string::npos);
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(handle);
}

} // namespace
