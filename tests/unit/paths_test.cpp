#include <gtest/gtest.h>

#include "core/paths.h"

using namespace glossira;

TEST(Paths, TrailingBackslash)
{
    EXPECT_EQ(WithTrailingBackslash(""), "");
    EXPECT_EQ(WithTrailingBackslash("\\"), "\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\dl"), "C:\\dl\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\dl\\\\\\"), "C:\\dl\\");
    EXPECT_EQ(StripTrailingBackslashes("\\\\\\"), "");
}

TEST(Paths, FolderPart)
{
    EXPECT_EQ(FolderPart("D:\\dl\\setup.zip"), "D:\\dl");
    EXPECT_EQ(FolderPart("D:\\setup.zip"), "D:\\");
    EXPECT_EQ(FolderPart("D:setup.zip"), "D:");
    EXPECT_EQ(FolderPart("setup.zip"), "");
    EXPECT_EQ(FolderPart("\\\\srv\\share\\a.zip"), "\\\\srv\\share");
    EXPECT_EQ(FolderPart("\\a.zip"), "\\");
    EXPECT_EQ(FolderPart("D:\\dl\\"), "D:\\dl");
}

TEST(Paths, FileNameAndNameWithoutExt)
{
    EXPECT_EQ(FileNamePart("D:\\dl\\setup.zip"), "setup.zip");
    EXPECT_EQ(FileNamePart("D:setup.zip"), "setup.zip");
    EXPECT_EQ(FileNamePart("D:\\dl\\"), "");
    EXPECT_EQ(FileNamePart("setup.zip"), "setup.zip");
    EXPECT_EQ(NameWithoutExt("D:\\dl\\setup.zip"), "setup");
    EXPECT_EQ(NameWithoutExt("D:\\dl\\a.rar"), "a");
    EXPECT_EQ(NameWithoutExt("a.b.c.txt"), "a.b.c");
    EXPECT_EQ(NameWithoutExt("a.tar.gz"), "a.tar");
    EXPECT_EQ(NameWithoutExt("README"), "README");
    EXPECT_EQ(NameWithoutExt("name."), "name");
    EXPECT_EQ(NameWithoutExt(".profile"), "");
    EXPECT_EQ(NameWithoutExt("D:\\dl.x\\"), "");
    EXPECT_EQ(NameWithoutExt("D:\\dl.x\\README"), "README");
}

TEST(Paths, ShellFolderAndProgramDir)
{
    EXPECT_EQ(FolderWithSeparator("C:\\Tools\\glossira.exe"), "C:\\Tools\\");
    EXPECT_EQ(FolderWithSeparator("glossira.exe"), "");
    EXPECT_EQ(ProgramDirOf("C:\\Program Files\\Glossira\\glossira.exe"), "C:\\Program Files\\Glossira\\");
    EXPECT_EQ(ProgramDirOf("C:\\glossira.exe"), "C:\\");
}

TEST(Paths, IsFullPath)
{
    EXPECT_TRUE(IsFullPath("C:\\"));
    EXPECT_TRUE(IsFullPath("d:\\dl\\a.zip"));
    EXPECT_TRUE(IsFullPath("\\\\server\\share\\a"));
    EXPECT_FALSE(IsFullPath("C:"));
    EXPECT_FALSE(IsFullPath("C:a.zip"));  // relative to the drive's current folder
    EXPECT_FALSE(IsFullPath("\\dl\\a.zip"));
    EXPECT_FALSE(IsFullPath("\\\\"));
    EXPECT_FALSE(IsFullPath("dl\\a.zip"));
    EXPECT_FALSE(IsFullPath("1:\\a"));
    EXPECT_FALSE(IsFullPath(""));
}
