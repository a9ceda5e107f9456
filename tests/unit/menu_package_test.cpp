#include <gtest/gtest.h>

#include "shell/menu_package.h"

using namespace glossira;

TEST(MenuPackage, OnlyWindows11BuildsAndOnlyAPackageLineCount)
{
    EXPECT_TRUE(IsWindows11Build("22000"));
    EXPECT_TRUE(IsWindows11Build("26100"));
    EXPECT_FALSE(IsWindows11Build("19045"));
    EXPECT_FALSE(IsWindows11Build("7601"));
    EXPECT_FALSE(IsWindows11Build(""));
    EXPECT_FALSE(IsWindows11Build("22000a"));
    EXPECT_FALSE(IsWindows11Build("99999999999999999999999"));

    EXPECT_TRUE(NamesMenuPackage("registered: Glossira_2.3.0.0_x64__abc\r\n"));
    EXPECT_TRUE(NamesMenuPackage("error: deployment failed\r\nregistered: Glossira_2.3.0.0_x64__abc"));
    // A stand-in's silence, an error that quotes the name, another package.
    EXPECT_FALSE(NamesMenuPackage(""));
    EXPECT_FALSE(NamesMenuPackage("error: cannot remove registered: Glossira_2.3.0.0\r\n"));
    EXPECT_FALSE(NamesMenuPackage("registered: GlossiraTools_1.0.0.0_x64__abc\r\n"));

    EXPECT_EQ(MenuPackageCommand("C:\\Windows\\system32\\", "C:\\Program Files\\Glossira\\", MenuPackageAction::Remove),
              "\"C:\\Windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe\" -NoProfile -NonInteractive "
              "-ExecutionPolicy Bypass -WindowStyle Hidden -File \"C:\\Program Files\\Glossira\\menu-package.ps1\" remove");
}
