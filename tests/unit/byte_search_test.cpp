// The candidates of ByteSearch at every place of a buffer: the vector loops
// (64 and 16 bytes a step), their ends and the bytes after them must all
// report the same first place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sources/byte_search.h"

using namespace glossira;

namespace {

// A search for "QZ" whose sample makes both bytes common, so that it looks
// for the pair; or, with a sample without them, for one rare byte.
ByteSearch SearchFor(bool pairs)
{
    ByteSearch search("QZ");
    std::string sample;
    for (int i = 0; i < 4096; ++i) sample += pairs ? "qz" : "ab";
    search.Choose(sample.data(), sample.size());
    return search;
}

}  // namespace

TEST(ByteSearch, FindsTheNameInEitherCaseAtEveryPlace)
{
    constexpr std::size_t kSize = 200;
    for (bool pairs : {true, false}) {
        ByteSearch search = SearchFor(pairs);
        for (const char* name : {"qz", "QZ", "qZ", "Qz", "q\rz", "Q\rZ\r"}) {
            const std::string placed(name);
            for (std::size_t p = 0; p + placed.size() <= kSize; ++p) {
                std::string text(kSize, 'a');
                text.replace(p, placed.size(), placed);
                search.Forget();
                std::size_t at = search.Next(text.data(), 0, text.size());
                ASSERT_EQ(at, p) << "pairs " << pairs << ", name " << name << ", place " << p;
                EXPECT_EQ(search.Verify(text.data(), at, text.size(), true), ByteSearch::Verdict::kYes);
                search.Forget();
                EXPECT_EQ(search.Next(text.data(), p + 1, text.size()), ByteSearch::kNone);
            }
        }
    }
}

TEST(ByteSearch, ANameCutByTheBufferEndNeedsMore)
{
    for (bool pairs : {true, false}) {
        for (std::size_t size : {1u, 17u, 64u, 97u, 200u}) {
            std::string text(size - 1, 'a');
            text += 'q';
            ByteSearch search = SearchFor(pairs);
            std::size_t at = search.Next(text.data(), 0, text.size());
            ASSERT_EQ(at, size - 1) << "pairs " << pairs << ", size " << size;
            EXPECT_EQ(search.Verify(text.data(), at, text.size(), false), ByteSearch::Verdict::kMore);
            EXPECT_EQ(search.Verify(text.data(), at, text.size(), true), ByteSearch::Verdict::kNo);
        }
    }
}

TEST(ByteSearch, BytesMergedOnlyByTheCaseBitAreTurnedDown)
{
    // Setting the case bit makes 0x88 look like Ё (0xA8), which has no
    // other case: the vector filter may pass 0x88 0x88, Verify never does.
    ByteSearch search("\xA8\xA8");
    const std::string sample(8192, '\xA8');
    search.Choose(sample.data(), sample.size());
    std::string text(100, 'a');
    text[30] = text[31] = '\x88';
    text[60] = text[61] = '\xA8';
    std::vector<std::size_t> found;
    for (std::size_t pos = 0;;) {
        std::size_t at = search.Next(text.data(), pos, text.size());
        if (at == ByteSearch::kNone) break;
        if (search.Verify(text.data(), at, text.size(), true) == ByteSearch::Verdict::kYes) found.push_back(at);
        pos = at + 1;
    }
    EXPECT_EQ(found, std::vector<std::size_t>{60});
}
