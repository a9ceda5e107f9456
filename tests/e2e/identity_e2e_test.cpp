// What Windows shows of the program beside its windows: the task bar, Task
// Manager and Explorer name it from its version resource and draw its first
// icon resource.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "driver.h"
#include "ui/resource_ids.h"
#include "version.h"

using namespace glossira::e2e;

namespace {

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name)
{
    void* value = nullptr;
    UINT length = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\041904B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) return L"<missing>";
    return static_cast<const wchar_t*>(value);
}

BOOL CALLBACK FirstIcon(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR first)
{
    *reinterpret_cast<LPWSTR*>(first) = name;
    return FALSE;
}

}  // namespace

TEST(Identity, VersionResourceNamesTheProgramInRussian)
{
    std::wstring exe = ProgramPath();
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
    EXPECT_EQ(VersionString(info, L"FileDescription"), L"Глоссира");
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Глоссира");
    std::string version = GLOSSIRA_VERSION_TEXT;
    EXPECT_EQ(VersionString(info, L"ProductVersion"), std::wstring(version.begin(), version.end()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const WORD words[] = {GLOSSIRA_VERSION_WORDS};
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(words[1], words[0]));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(words[3], words[2]));

    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    EXPECT_EQ(translation->language, MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT));
}

TEST(Identity, FirstIconIsTheProgramsOwnFromSmallToLarge)
{
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    LPWSTR first = nullptr;
    EnumResourceNamesW(exe, MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */, &FirstIcon, reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, MAKEINTRESOURCEW(IDI_GLOSSIRA));
    for (int size : {16, 32, 48, 256}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(exe, MAKEINTRESOURCEW(IDI_GLOSSIRA), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_TRUE(icon) << size;
        ICONINFO parts{};
        ASSERT_TRUE(GetIconInfo(icon, &parts));
        BITMAP bitmap{};
        GetObjectW(parts.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        EXPECT_EQ(bitmap.bmBitsPixel, 32) << size;
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(exe);
}

// Windows 10 and 11 with long paths enabled give a program paths beyond 260
// characters only when its manifest says it can take them.
TEST(Identity, ManifestDeclaresLongPathAwareness)
{
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(exe);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_TRUE(found);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    const std::string manifest(bytes, SizeofResource(exe, found));
    FreeLibrary(exe);
    const std::size_t settings = manifest.find("<windowsSettings>");
    const std::size_t declared = manifest.find(
        "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>");
    ASSERT_NE(declared, std::string::npos) << manifest;
    EXPECT_LT(settings, declared);
    EXPECT_LT(declared, manifest.find("</windowsSettings>"));
}

// The two end-to-end runs are meant to see different system code pages; a
// run that does not would prove nothing about the program's independence.
TEST(Identity, TestRunSeesTheCodePageItIsMeantFor)
{
    const char* expected = std::getenv("GLOSSIRA_EXPECT_CODEPAGE");
    if (!expected) GTEST_SKIP() << "no code page expected";
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}
