// Noticing that the comment file changed on disk since the editor loaded it.
#include <gtest/gtest.h>

#include "core/comment_fingerprint.h"
#include "memory_fs.h"

using namespace glossira;

TEST(CommentFingerprint, ChangeAppearanceAndRemovalOfTheFile)
{
    test::MemoryFileSystem fs;
    const std::string path = "D:\\dl\\setup.txt";
    fs.files[path] = "old\r\ncomment";
    const CommentFingerprint loaded = FingerprintOf(fs.files[path]);
    fs.readChunk = 3;  // read in pieces, hashed the same
    EXPECT_FALSE(ChangedSinceLoaded(fs, path, loaded));

    fs.files[path] = "old\r\ncommenT";  // same size, one byte differs
    EXPECT_TRUE(ChangedSinceLoaded(fs, path, loaded));
    fs.files[path] = "old\r\ncomment\r\n";  // longer
    EXPECT_TRUE(ChangedSinceLoaded(fs, path, loaded));
    fs.files[path] = "";
    EXPECT_TRUE(ChangedSinceLoaded(fs, path, loaded));

    // Gone or unreadable: nobody's text is written over.
    fs.files.erase(path);
    EXPECT_FALSE(ChangedSinceLoaded(fs, path, loaded));
    fs.files[path] = "other";
    fs.locked.insert(path);
    EXPECT_FALSE(ChangedSinceLoaded(fs, path, loaded));
}

TEST(CommentFingerprint, AFileThatAppearsAfterAnEmptyStartIsAChange)
{
    test::MemoryFileSystem fs;
    const std::string path = "a.txt";
    EXPECT_FALSE(ChangedSinceLoaded(fs, path, CommentFingerprint{}));
    fs.files[path] = "";  // even empty: it is not what the editor started from
    EXPECT_TRUE(ChangedSinceLoaded(fs, path, CommentFingerprint{}));
    EXPECT_FALSE(ChangedSinceLoaded(fs, path, FingerprintOf("")));
}

TEST(CommentFingerprint, AReadErrorIsNotTakenForNoChange)
{
    test::MemoryFileSystem fs;
    fs.files["a.txt"] = "0123456789";
    fs.failAfter["a.txt"] = 4;
    EXPECT_THROW(ChangedSinceLoaded(fs, "a.txt", FingerprintOf("0123456789")), Error);
}
