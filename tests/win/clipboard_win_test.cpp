// The real clipboard: round trip in Windows-1251, text beyond it, no text,
// and a clipboard held by another thread. The user's clipboard text is
// captured before each test and put back afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "core/cp1251.h"
#include "core/error.h"
#include "core/unique_win.h"
#include "sources/clipboard_import.h"
#include "sources/clipboard_win.h"

using namespace glossira;

namespace {

std::optional<std::wstring> RawText()
{
    ClipboardGuard guard(nullptr);
    if (!guard) return std::nullopt;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data) return std::nullopt;
    auto chars = static_cast<const wchar_t*>(GlobalLock(data));
    if (!chars) return std::nullopt;
    std::wstring text(chars, GlobalSize(data) / sizeof(wchar_t));
    GlobalUnlock(data);
    return text;
}

// Puts raw data of one format on the clipboard, or empties it.
bool PutRaw(HWND owner, UINT format, const void* bytes, std::size_t size)
{
    ClipboardGuard guard(owner);
    if (!guard || !EmptyClipboard()) return false;
    if (!bytes) return true;
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = memory ? GlobalLock(memory.get()) : nullptr;
    if (!target) return false;
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory.get());
    if (!SetClipboardData(format, memory.get())) return false;
    memory.release();
    return true;
}

bool PutWide(HWND owner, const std::wstring& text)  // NULs inside are kept
{
    return PutRaw(owner, CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        saved_ = RawText();
    }
    void TearDown() override
    {
        if (saved_) PutWide(owner_, *saved_);
        else PutRaw(owner_, 0, nullptr, 0);
        DestroyWindow(owner_);
    }
    HWND owner_ = nullptr;
    std::optional<std::wstring> saved_;
};

}  // namespace

TEST_F(Clipboard, RoundTripInWindows1251)
{
    std::string text = FromUtf8("  Скачано с «сайта» — 100 €\r\nвторая строка\r\n");
    ASSERT_TRUE(WriteClipboardText(owner_, text));
    EXPECT_EQ(RawText().value_or(L"").substr(0, 2), L"  ");
    EXPECT_EQ(ReadClipboardText(owner_), text);
    EXPECT_EQ(ImportClipboard({}, ReadClipboardText(owner_)),
              (std::vector<std::string>{FromUtf8("Скачано с «сайта» — 100 €"), FromUtf8("вторая строка")}));
}

TEST_F(Clipboard, TextStopsAtItsFirstNul)
{
    ASSERT_TRUE(PutWide(owner_, std::wstring(L"ab\0cd", 5)));
    EXPECT_EQ(ReadClipboardText(owner_), "ab");
}

TEST_F(Clipboard, CharacterBeyondWindows1251BecomesAQuestionMark)
{
    // A Chinese word, an emoji (a surrogate pair: one character), a lone surrogate.
    ASSERT_TRUE(PutWide(owner_, L"\u4E2D\u6587 \u0436 \U0001F600!\xD800."));
    EXPECT_EQ(ReadClipboardText(owner_), "?? " + FromUtf8("ж") + " ?!?.");
}

TEST_F(Clipboard, NoTextGivesNothing)
{
    ASSERT_TRUE(PutRaw(owner_, 0, nullptr, 0));
    EXPECT_EQ(ReadClipboardText(owner_), std::nullopt);
    UINT picture = RegisterClipboardFormatW(L"Glossira Test Picture");
    const char bytes[] = "\x89PNG";
    ASSERT_TRUE(PutRaw(owner_, picture, bytes, sizeof bytes));
    EXPECT_EQ(ReadClipboardText(owner_), std::nullopt);
}

TEST_F(Clipboard, HeldByAnotherThreadGivesNoTextAfterRetries)
{
    ASSERT_TRUE(WriteClipboardText(owner_, "held"));
    UniqueHandle holding(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread other([&] {
        if (OpenClipboard(nullptr)) {
            SetEvent(holding.get());
            WaitForSingleObject(release.get(), 30000);
            CloseClipboard();
        }
        SetEvent(holding.get());
    });
    ASSERT_EQ(WaitForSingleObject(holding.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(ReadClipboardText(owner_), std::nullopt);
    SetEvent(release.get());
    other.join();
    EXPECT_EQ(ReadClipboardText(owner_), "held");
}

TEST_F(Clipboard, TenMegabytesComeBackWhole)
{
    std::string text;
    const std::string line = FromUtf8("строка line ") + std::string(50, 'x') + "\r\n";
    while (text.size() < 10u << 20) text += line;
    ASSERT_TRUE(WriteClipboardText(owner_, text));
    EXPECT_TRUE(ReadClipboardText(owner_) == text);
}
