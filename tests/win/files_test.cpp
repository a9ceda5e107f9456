// The Win32 file system: atomic replacement keeps the old comment on failure.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "core/error.h"
#include "core/files_win.h"
#include "core/wide_win.h"
#include "win/folder_watch.h"
#include "win/scratch.h"

using namespace glossira;

TEST(Win32Files, WriteCreatesAndReplacesWithoutLeavingTemporaryFiles)
{
    ScratchDir dir;
    Win32FileSystem fs;
    std::string path = dir.Path("a.txt");
    fs.WriteAtomically(path, "one\r\n");
    EXPECT_EQ(dir.Read("a.txt"), "one\r\n");
    fs.WriteAtomically(path, "two");
    EXPECT_EQ(dir.Read("a.txt"), "two");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt"});
}

// The temporary file gets a name nobody uses: a file of the name a save
// took, however it came there, is left as it was by the next saves.
TEST(Win32Files, ExistingFilesOfTheTemporaryNameAreNeverWrittenOver)
{
    ScratchDir dir;
    Win32FileSystem fs;
    dir.Write("a.txt", "old");
    std::vector<std::string> taken;
    for (int save = 0; save < 3; ++save) {
        FolderWatch watch(Wide(dir.Root()));
        fs.WriteAtomically(dir.Path("a.txt"), "new " + std::to_string(save));
        const std::string temporary = NarrowLossy(watch.Made(L"a.txt"));
        ASSERT_FALSE(temporary.empty()) << "the save made no file beside the comment";
        EXPECT_EQ(std::count(taken.begin(), taken.end(), temporary), 0) << temporary << " was taken";
        taken.push_back(temporary);
        dir.Write(temporary, "theirs: " + temporary);
    }
    EXPECT_EQ(dir.Read("a.txt"), "new 2");
    for (const std::string& name : taken) EXPECT_EQ(dir.Read(name), "theirs: " + name);
    taken.push_back("a.txt");
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ(dir.Names(), taken);
}

TEST(Win32Files, ReadOnlyFileIsRefusedAndKept)
{
    ScratchDir dir;
    Win32FileSystem fs;
    dir.Write("a.txt", "old");
    SetFileAttributesW(Wide(dir.Path("a.txt")).c_str(), FILE_ATTRIBUTE_READONLY);
    try {
        fs.WriteAtomically(dir.Path("a.txt"), "new");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot create file \"" + dir.Path("a.txt") + "\". "), std::string::npos);
        EXPECT_EQ(e.SystemCode(), static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));
        EXPECT_NE(std::string(e.what()).find(SystemMessage(ERROR_ACCESS_DENIED)), std::string::npos);
    }
    SetFileAttributesW(Wide(dir.Path("a.txt")).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(dir.Read("a.txt"), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt"});
}

TEST(Win32Files, MissingFolderFailsWithTheFileName)
{
    ScratchDir dir;
    Win32FileSystem fs;
    try {
        fs.WriteAtomically(dir.Path("no\\a.txt"), "x");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(dir.Path("no\\a.txt")), std::string::npos);
        EXPECT_EQ(e.SystemCode(), static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    }
}

TEST(Win32Files, MissingFileCannotBeReadWholeAndSaysWhy)
{
    ScratchDir dir;
    try {
        Win32FileSystem().ReadWhole(dir.Path("none.txt"));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.SystemCode(), static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
        EXPECT_NE(std::string(e.what()).find(SystemMessage(ERROR_FILE_NOT_FOUND)), std::string::npos);
    }
}

TEST(Win32Files, LogHeldOpenForWritingCannotBeOpened)
{
    ScratchDir dir;
    Win32FileSystem fs;
    dir.Write("reget.log", "x");
    HANDLE writer = CreateFileW(Wide(dir.Path("reget.log")).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fs.OpenRead(dir.Path("reget.log")), nullptr);
    CloseHandle(writer);
    auto reader = fs.OpenRead(dir.Path("reget.log"));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(ReadAll(*reader), "x");
    EXPECT_FALSE(fs.FileExists(dir.Path("")));
    EXPECT_TRUE(fs.FileExists(dir.Path("reget.log")));
}

TEST(Win32Files, PathsBeyondMaxPathWork)
{
    ScratchDir dir;
    Win32FileSystem fs;
    std::string folder = dir.Root();
    while (folder.size() < 400) {
        folder += std::string(60, 'd') + "\\";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + Wide(folder)).c_str(), nullptr));
    }
    std::string path = folder + std::string(200, 'n') + ".txt";
    fs.WriteAtomically(path, "long");
    EXPECT_TRUE(fs.FileExists(path));
    EXPECT_EQ(fs.ReadWhole(path), "long");
    fs.WriteAtomically(path, "longer");
    EXPECT_EQ(fs.ReadWhole(path), "longer");
    DeleteFileW((L"\\\\?\\" + Wide(path)).c_str());
    while (folder.size() > dir.Root().size()) {
        RemoveDirectoryW((L"\\\\?\\" + Wide(folder)).c_str());
        folder.resize(folder.rfind('\\', folder.size() - 2) + 1);
    }
}

TEST(Win32Files, DevicesAreNeverReadAndFoldersNeverReplaced)
{
    ScratchDir dir;
    Win32FileSystem fs;
    EXPECT_EQ(fs.OpenRead(dir.Path("NUL")), nullptr);
    EXPECT_EQ(fs.OpenRead("CON"), nullptr);
    CreateDirectoryW(Wide(dir.Path("a.txt")).c_str(), nullptr);
    EXPECT_FALSE(fs.FileExists(dir.Path("a.txt")));
    EXPECT_THROW(fs.WriteAtomically(dir.Path("a.txt"), "x"), Error);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt"});
}

TEST(Win32Files, FileHeldWithoutDeleteSharingIsRefusedAndNothingIsLeft)
{
    ScratchDir dir;
    Win32FileSystem fs;
    dir.Write("a.txt", "old");
    HANDLE reader = CreateFileW(Wide(dir.Path("a.txt")).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_THROW(fs.WriteAtomically(dir.Path("a.txt"), "new"), Error);
    CloseHandle(reader);
    EXPECT_EQ(dir.Read("a.txt"), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.txt"});
}
