// Comments follow their files: the program started with an operation
// switch, as tavrex.dll starts it, renames, copies, moves and deletes real
// files with the system's file operation, asks about a comment at the
// destination, and loses nothing when a file cannot go.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "inspect.h"
#include "ui/rename_form.h"

using namespace glossira;
using namespace glossira::e2e;

namespace {

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

class Operations : public ::testing::Test {
protected:
    // The program on the operation; answers every question it asks with
    // `answer`, keeps the text of any other box (and closes it), and returns
    // its exit code.
    int Run(const std::wstring& arguments, int answer = 0, int* questions = nullptr)
    {
        Program app(arguments);
        int asked = 0;
        reports.clear();
        Eventually(
            [&] {
                HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, app.Pid());
                const bool ended = !process || WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
                if (process) CloseHandle(process);
                if (ended) return true;
                HWND box = VisibleWindowOf(app.Pid(), L"#32770");
                if (!box) return false;
                const int button = answer && GetDlgItem(box, answer) ? answer : IDOK;
                if (!Clickable(GetDlgItem(box, button))) return false;
                if (button == answer) ++asked;
                else reports.push_back(MessageText(box));
                Answer(box, button);
                Eventually([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
                return false;
            },
            60000);
        if (questions) *questions = asked;
        return app.WaitExit();
    }
    bool Missing(const std::wstring& path) { return ReadFileBytes(path) == "<missing>"; }

    Folder from, to;
    std::vector<std::wstring> reports;  // boxes other than the questions answered
};

}  // namespace

TEST_F(Operations, MoveAndCopyCarryTheCommentsAndCopyASharedOne)
{
    WriteFileBytes(from / L"a b.zip", "a");
    WriteFileBytes(from / L"a b.txt", "about a");
    WriteFileBytes(from / L"setup.zip", "zip");
    WriteFileBytes(from / L"setup.rar", "rar");
    WriteFileBytes(from / L"setup.txt", "about setup");
    WriteFileBytes(from / L"plain.zip", "plain");
    EXPECT_EQ(Run(L"/movehere " + Quoted(to.path) + L" " + Quoted(from / L"a b.zip") + L" " +
                  Quoted(from / L"setup.zip") + L" " + Quoted(from / L"plain.zip")),
              0);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(ReadFileBytes(to / L"a b.zip"), "a");
    EXPECT_EQ(ReadFileBytes(to / L"a b.txt"), "about a");
    EXPECT_EQ(ReadFileBytes(to / L"plain.zip"), "plain");
    EXPECT_TRUE(Missing(from / L"a b.zip"));
    EXPECT_TRUE(Missing(from / L"a b.txt"));
    // setup.rar keeps the comment it shares: the moved file got a copy.
    EXPECT_EQ(ReadFileBytes(to / L"setup.zip"), "zip");
    EXPECT_EQ(ReadFileBytes(to / L"setup.txt"), "about setup");
    EXPECT_EQ(ReadFileBytes(from / L"setup.txt"), "about setup");
    EXPECT_EQ(ReadFileBytes(from / L"setup.rar"), "rar");

    Folder other;
    EXPECT_EQ(Run(L"/COPYHERE " + Quoted(other.path) + L" " + Quoted(to / L"a b.zip")), 0);
    EXPECT_EQ(ReadFileBytes(other / L"a b.txt"), "about a");
    EXPECT_EQ(ReadFileBytes(to / L"a b.txt"), "about a");
}

TEST_F(Operations, ACommentAtTheDestinationIsAppendedAfterYesAndLeftAfterNo)
{
    const std::string mark = "\xEF\xBB\xBF";
    WriteFileBytes(from / L"a.zip", "a");
    WriteFileBytes(from / L"a.txt", "\xED\xEE\xE2\xFB\xE9");  // "новый" in Windows-1251
    WriteFileBytes(to / L"a.txt", mark + Utf8(L"старый\r\n"));
    int asked = 0;
    EXPECT_EQ(Run(L"/movehere " + Quoted(to.path) + L" " + Quoted(from / L"a.zip"), IDYES, &asked), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadFileBytes(to / L"a.zip"), "a");
    // Appended after an empty line, in that file's UTF-8; the moved comment
    // is no longer beside the file's old place.
    EXPECT_EQ(ReadFileBytes(to / L"a.txt"), mark + Utf8(L"старый\r\n\r\nновый"));
    EXPECT_TRUE(Missing(from / L"a.txt"));

    WriteFileBytes(from / L"b.zip", "b");
    WriteFileBytes(from / L"b.txt", "new b");
    WriteFileBytes(to / L"b.txt", "old b");
    EXPECT_EQ(Run(L"/movehere " + Quoted(to.path) + L" " + Quoted(from / L"b.zip"), IDNO, &asked), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadFileBytes(to / L"b.zip"), "b");
    EXPECT_EQ(ReadFileBytes(to / L"b.txt"), "old b");
    EXPECT_EQ(ReadFileBytes(from / L"b.txt"), "new b");

    // The same text there needs no question.
    WriteFileBytes(from / L"c.zip", "c");
    WriteFileBytes(from / L"c.txt", "same");
    WriteFileBytes(to / L"c.txt", "same");
    EXPECT_EQ(Run(L"/copyhere " + Quoted(to.path) + L" " + Quoted(from / L"c.zip"), IDYES, &asked), 0);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(ReadFileBytes(to / L"c.zip"), "c");
    EXPECT_EQ(ReadFileBytes(from / L"c.txt"), "same");
}

TEST_F(Operations, AMoveThatFailsLosesNothingAndSaysWhat)
{
    WriteFileBytes(from / L"held.zip", "held");
    WriteFileBytes(from / L"held.txt", "about held");
    WriteFileBytes(from / L"free.zip", "free");
    WriteFileBytes(from / L"free.txt", "about free");
    // Another program holds the file open and lets nobody delete it.
    HANDLE held = CreateFileW((from / L"held.zip").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Program app(L"/movehere " + Quoted(to.path) + L" " + Quoted(from / L"held.zip") + L" " +
                Quoted(from / L"free.zip"));
    // The system may report the failure in a box of its own first; the
    // program's report names the file that stayed.
    std::wstring report;
    ASSERT_TRUE(Eventually(
        [&] {
            HWND box = VisibleWindowOf(app.Pid(), L"#32770");
            if (!box) return false;
            const std::wstring text = MessageText(box);
            if (text.find(L"Сделано не всё") != std::wstring::npos) {
                report = text;
                Answer(box, IDOK);
                return true;
            }
            if (GetDlgItem(box, IDOK)) Answer(box, IDOK);
            return false;
        },
        30000));
    EXPECT_EQ(app.WaitExit(), 1);
    CloseHandle(held);
    EXPECT_NE(report.find(L"held.zip\" остался на месте"), std::wstring::npos) << Utf8(report);
    EXPECT_EQ(report.find(L"free.zip"), std::wstring::npos) << Utf8(report);
    EXPECT_EQ(ReadFileBytes(from / L"held.zip"), "held");
    EXPECT_EQ(ReadFileBytes(from / L"held.txt"), "about held");
    EXPECT_TRUE(Missing(to / L"held.txt"));
    EXPECT_EQ(ReadFileBytes(to / L"free.zip"), "free");
    EXPECT_EQ(ReadFileBytes(to / L"free.txt"), "about free");
}

TEST_F(Operations, TheRenameWindowRefusesABadNameAndRenamesWithTheComment)
{
    WriteFileBytes(from / L"setup.zip", "zip");
    WriteFileBytes(from / L"setup.txt", "about");
    WriteFileBytes(from / L"taken.zip", "other");
    Program app(L"/rename " + Quoted(from / L"setup.zip"));
    HWND window = app.WaitWindow(L"TFormRename");
    ASSERT_TRUE(window);
    HWND edit = Control(window, rename_ids::kEdit1);
    EXPECT_EQ(EditText(edit), L"setup.zip");
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 5u);  // the name without its extension, as Explorer selects it

    for (const wchar_t* bad : {L"a?.zip", L"taken.zip", L"  "}) {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bad));
        Click(Control(window, rename_ids::kButtonOk));
        HWND box = app.WaitMessageBox();
        ASSERT_TRUE(box) << Utf8(bad);
        Answer(box, IDOK);
        EXPECT_TRUE(Eventually([&] { return IsWindowVisible(window) && !VisibleWindowOf(app.Pid(), L"#32770"); }));
    }
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"setup-2.3.zip"));
    Click(Control(window, rename_ids::kButtonOk));
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(from / L"setup-2.3.zip"), "zip");
    EXPECT_EQ(ReadFileBytes(from / L"setup-2.3.txt"), "about");
    EXPECT_TRUE(Missing(from / L"setup.zip"));
    EXPECT_TRUE(Missing(from / L"setup.txt"));
    EXPECT_EQ(ReadFileBytes(from / L"taken.zip"), "other");
}

TEST_F(Operations, DeleteTakesTheCommentButLeavesASharedOne)
{
    WriteFileBytes(from / L"gone.zip", "gone");
    WriteFileBytes(from / L"gone.txt", "about gone");
    WriteFileBytes(from / L"setup.zip", "zip");
    WriteFileBytes(from / L"setup.rar", "rar");
    WriteFileBytes(from / L"setup.txt", "about setup");
    // No to the system's question before the Recycle Bin: nothing goes,
    // and nothing is reported as undone.
    const std::wstring both = Quoted(from / L"gone.zip") + L" " + Quoted(from / L"setup.zip");
    EXPECT_EQ(Run(L"/delete " + both, IDNO), 0);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(ReadFileBytes(from / L"gone.txt"), "about gone");
    EXPECT_EQ(Run(L"/delete " + both, IDYES), 0);
    EXPECT_TRUE(reports.empty());
    EXPECT_TRUE(Missing(from / L"gone.zip"));
    EXPECT_TRUE(Missing(from / L"gone.txt"));
    EXPECT_TRUE(Missing(from / L"setup.zip"));
    EXPECT_EQ(ReadFileBytes(from / L"setup.txt"), "about setup");
    EXPECT_EQ(ReadFileBytes(from / L"setup.rar"), "rar");
    // Wine's Recycle Bin is the XDG Trash, which tools/wine-exec keeps in
    // the test's scratch folder: the file and its comment are there (under
    // names no other test recycles).
    wchar_t data[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"XDG_DATA_HOME", data, MAX_PATH)) {
        std::wstring trash = L"Z:" + std::wstring(data) + L"/Trash/files/";
        for (auto& c : trash)
            if (c == L'/') c = L'\\';
        EXPECT_EQ(ReadFileBytes(trash + L"gone.zip"), "gone");
        EXPECT_EQ(ReadFileBytes(trash + L"gone.txt"), "about gone");
    }
}

TEST_F(Operations, CopyToAsksForTheFolderWithTheSystemsPicker)
{
    WriteFileBytes(from / L"a.zip", "a");
    WriteFileBytes(from / L"a.txt", "about a");
    // Cancelled: nothing happens.
    {
        Program app(L"/copyto " + Quoted(from / L"a.zip"));
        HWND picker = app.WaitWindow(L"#32770");
        ASSERT_TRUE(picker);
        EXPECT_EQ(Text(picker), L"Копировать с комментарием в папку");
        Answer(picker, IDCANCEL);
        EXPECT_EQ(app.WaitExit(), 0);
        EXPECT_TRUE(Missing(to / L"a.zip"));
    }
    Program app(L"/copyto " + Quoted(from / L"a.zip"));
    HWND picker = app.WaitWindow(L"#32770");
    ASSERT_TRUE(picker);
    HWND name = FindWindowExW(picker, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(name);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(to.path.c_str()));
    Answer(picker, IDOK);
    // A picker that opens the typed folder instead takes it with a second OK.
    Eventually([&] { return !IsWindow(picker) || !IsWindowVisible(picker); }, 3000);
    if (IsWindow(picker) && IsWindowVisible(picker)) Answer(picker, IDOK);
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(ReadFileBytes(to / L"a.zip"), "a");
    EXPECT_EQ(ReadFileBytes(to / L"a.txt"), "about a");
    EXPECT_EQ(ReadFileBytes(from / L"a.txt"), "about a");
}
