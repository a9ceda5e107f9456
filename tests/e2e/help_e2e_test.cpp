// The help buttons of the editor and the settings window, pressed as a
// person would: the shell is asked to open the program folder's
// glossira.chm, and without that file nothing at all appears. The program
// runs as a copy in a folder with blanks and brackets in its name; a small
// recorder stands in for the help viewer as the open command of .chm files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "driver.h"
#include "inspect.h"
#include "ui/editor_layout.h"
#include "ui/settings_layout.h"

using namespace glossira;
using namespace glossira::e2e;
using namespace glossira::editor_ids;

namespace {

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

std::wstring ThisProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(std::wstring(path, length));
}

void SetEnv(const wchar_t* name, const std::wstring& value) { _wputenv_s(name, value.c_str()); }

// The default value of an HKEY_CLASSES_ROOT key, empty when it has none.
std::wstring ClassDefault(const std::wstring& key)
{
    wchar_t data[1024];
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"";
    return data;
}

void SetClassDefault(const std::wstring& key, const std::wstring& value)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// .chm files open with the recorder while this lives; the former
// association comes back afterwards.
class RecorderAssociation {
public:
    RecorderAssociation() : former_(ClassDefault(L".chm"))
    {
        SetClassDefault(L".chm", kClass);
        SetClassDefault(std::wstring(kClass) + L"\\shell\\open\\command",
                        L"\"" + ThisProgramFolder() + L"help_recorder.exe\" \"%1\"");
    }
    ~RecorderAssociation()
    {
        if (former_.empty()) RegDeleteKeyW(HKEY_CLASSES_ROOT, L".chm");
        else SetClassDefault(L".chm", former_);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kClass);
    }
    RecorderAssociation(const RecorderAssociation&) = delete;
    RecorderAssociation& operator=(const RecorderAssociation&) = delete;

private:
    static constexpr const wchar_t* kClass = L"Glossira.HelpRecorder";
    std::wstring former_;
};

class Help : public ::testing::Test {
protected:
    void SetUp() override
    {
        programDir = dir.path + L"Help Test (x86) Folder\\";
        ASSERT_TRUE(CreateDirectoryW(programDir.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), (programDir + L"glossira.exe").c_str(), FALSE));
        record = dir / L"record.txt";
        const char* exe = std::getenv("GLOSSIRA_EXE");
        formerExe = exe ? std::wstring(exe, exe + std::strlen(exe)) : L"";
        SetEnv(L"GLOSSIRA_EXE", programDir + L"glossira.exe");
        SetEnv(L"GLOSSIRA_HELP_RECORD", record);
    }
    void TearDown() override
    {
        app.reset();
        SetEnv(L"GLOSSIRA_EXE", formerExe);
    }
    void PutHelpFile() { WriteFileBytes(programDir + L"glossira.chm", "ITSF"); }

    // What the recorder was started with: the file and its current folder.
    std::wstring Recorded()
    {
        std::string bytes = ReadFileBytes(record);
        if (bytes == "<missing>") return L"<not started>";
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    }
    std::wstring Expected()
    {
        std::wstring folder = programDir.substr(0, programDir.size() - 1);
        return programDir + L"glossira.chm\n" + folder + L"\n";
    }
    bool Started() { return Eventually([&] { return Recorded() != L"<not started>"; }); }

    // After a press on a help button without a help file, once the window
    // has handled it: no message box (one shown while handling the press
    // would still be up), no viewer, the window still there.
    void ExpectNothingShown(HWND window)
    {
        ASSERT_TRUE(WaitHandled(window)) << "the window is gone";
        EXPECT_FALSE(app->HasVisibleWindow(L"#32770"));
        EXPECT_EQ(Recorded(), L"<not started>");
    }

    Folder dir;
    std::wstring programDir, record, formerExe;
    RecorderAssociation association;
    std::unique_ptr<Program> app;
};

TEST_F(Help, EditorButtonOpensTheProgramFoldersHelpFile)
{
    PutHelpFile();
    WriteFileBytes(dir / L"a.txt", "comment");
    app = std::make_unique<Program>(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app->WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Click(Control(editor, kSpeedButton1));
    ASSERT_TRUE(Started());
    EXPECT_EQ(Recorded(), Expected());
    EXPECT_TRUE(app->HasVisibleWindow(L"TForm1"));
    EXPECT_EQ(EditText(Control(editor, kMemo1)), L"comment");
    CloseBox(editor);
    EXPECT_EQ(app->WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(dir / L"a.txt"), "comment");
}

TEST_F(Help, SettingsButtonOpensTheProgramFoldersHelpFile)
{
    PutHelpFile();
    app = std::make_unique<Program>(L"");
    HWND settings = app->WaitWindow(L"TForm2");
    ASSERT_TRUE(settings);
    Click(Control(settings, settings_ids::kSpeedButton1));
    ASSERT_TRUE(Started());
    EXPECT_EQ(Recorded(), Expected());
    EXPECT_TRUE(app->HasVisibleWindow(L"TForm2"));
    Click(Control(settings, settings_ids::kButton2));
    EXPECT_EQ(app->WaitExit(), 0);
}

TEST_F(Help, WithoutAHelpFileNeitherWindowShowsAnything)
{
    WriteFileBytes(dir / L"a.txt", "comment");
    app = std::make_unique<Program>(L"\"" + (dir / L"a.zip") + L"\"");
    HWND editor = app->WaitWindow(L"TForm1");
    ASSERT_TRUE(editor);
    Click(Control(editor, kSpeedButton1));
    ExpectNothingShown(editor);
    CloseBox(editor);
    EXPECT_EQ(app->WaitExit(), 0);

    app = std::make_unique<Program>(L"");
    HWND settings = app->WaitWindow(L"TForm2");
    ASSERT_TRUE(settings);
    Click(Control(settings, settings_ids::kSpeedButton1));
    ExpectNothingShown(settings);
    Click(Control(settings, settings_ids::kButton2));
    EXPECT_EQ(app->WaitExit(), 0);
}

}  // namespace
