// The harvest over an in-memory folder, and the streaming scanner against a
// line-by-line reading of the same text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/cp1251.h"
#include "core/text.h"
#include "sources/harvest.h"
#include "reference_scan.h"
#include "sources/log_scanner.h"
#include "unit/memory_fs.h"

using namespace glossira;
using glossira::test::MemoryFileSystem;
using Lines = std::vector<std::string>;

namespace {

const std::string kDir = "D:\\dl\\";

struct Folder {
    MemoryFileSystem fs;
    Settings settings;
    RunState run;
    Folder()
    {
        run.TargetDir = kDir;
        run.TargetName = "setup.zip";
        fs.folders.insert(kDir);
        fs.files[kDir] = "";
    }
    void Log(const std::string& name, const std::string& text) { fs.files[kDir + name] = text; }
    HarvestResult Run() { return Harvest(fs, settings, run); }
};

}  // namespace

TEST(Harvest, LastFileReadComesFirstAndTheExtraFileAboveAll)
{
    Folder f;
    f.Log("reget.log", "a.zip from x\r\nsetup.zip from http://h/setup.zip\r\nsetup.zip again\r\n");
    f.Log("descript.ion", "setup.zip Installer\r\n");
    f.fs.files["C:\\logs\\all.log"] = "got setup.zip\n";
    f.settings.LogPath = true;
    f.settings.PathStrLog = "C:\\logs\\all.log";
    HarvestResult r = f.Run();
    EXPECT_EQ(r.lines, (Lines{"got setup.zip", "setup.zip Installer", "setup.zip from http://h/setup.zip"}));
    EXPECT_TRUE(r.headerFound);
    EXPECT_FALSE(r.error);
}

TEST(Harvest, NothingFoundKeepsHeaderFoundAsItWas)
{
    Folder f;
    EXPECT_FALSE(f.Run().headerFound);
    f.Log("reget.log", "other.zip\r\n");
    EXPECT_EQ(f.Run().lines, Lines{});
    f.run.HeaderFound = true;
    EXPECT_TRUE(f.Run().headerFound);
}

TEST(Harvest, NoOneStrTakesEveryHitInReverseOrder)
{
    Folder f;
    f.Log("reget.log", "1 setup.zip\r\nno\r\n2 SETUP.ZIP\r\n3 setup.zip setup.zip\r\n");
    EXPECT_EQ(f.Run().lines, Lines{"1 setup.zip"});
    f.settings.NoOneStr = true;
    EXPECT_EQ(f.Run().lines, (Lines{"3 setup.zip setup.zip", "2 SETUP.ZIP", "1 setup.zip"}));
}

TEST(Harvest, MatchIsCaseBlindSubstringAndTheLineIsKeptAsRead)
{
    Folder f;
    f.run.TargetName = "SETUP.ZIP";
    f.Log("reget.log", "Part Setup.Zip.001 done\n");
    EXPECT_EQ(f.Run().lines, Lines{"Part Setup.Zip.001 done"});

    // Cyrillic а-я fold; ё (0xB8) and Ё (0xA8) do not.
    f.run.TargetName = FromUtf8("ОТЧЁТ.DOC");
    f.Log("reget.log", FromUtf8("отчёт.doc\r\n"));
    EXPECT_EQ(f.Run().lines, Lines{});
    f.Log("reget.log", FromUtf8("x отчЁт.doc\r\n"));
    EXPECT_EQ(f.Run().lines, Lines{FromUtf8("x отчЁт.doc")});
}

TEST(Harvest, EmptyNameMatchesNothing)
{
    Folder f;
    f.run.TargetName = "";
    f.Log("reget.log", "anything\r\n\r\n");
    HarvestResult r = f.Run();
    EXPECT_EQ(r.lines, Lines{});
    EXPECT_FALSE(r.headerFound);
}

TEST(Harvest, LineEndsLoneCrAndCtrlZ)
{
    Folder f;
    f.settings.NoOneStr = true;
    // LF and CR LF end lines; a lone CR is dropped, joining the text (also
    // inside the name); Ctrl-Z ends the file; the last line needs no end.
    f.Log("reget.log", "a setup.zip\nb set\rup.zip\r\r\nc\rsetup.zip\x1a" "d setup.zip\r\n");
    EXPECT_EQ(f.Run().lines, (Lines{"csetup.zip", "b setup.zip", "a setup.zip"}));
    f.Log("reget.log", "x\r\nlast setup.zip");
    EXPECT_EQ(f.Run().lines, Lines{"last setup.zip"});
    f.Log("reget.log", "\x1asetup.zip\r\n");
    EXPECT_EQ(f.Run().lines, Lines{});
    // A CR only log is one line.
    f.Log("reget.log", "one\rsetup.zip\rthree\r");
    EXPECT_EQ(f.Run().lines, Lines{"onesetup.zipthree"});
}

TEST(Harvest, FieldsFoldersAndMissingFilesAreSkipped)
{
    Folder f;
    f.settings.Strlog = ";sub;missing.log;;reget.log;descript.ion";
    f.fs.folders.insert(kDir + "sub");
    f.fs.files[kDir + "sub"] = "";
    f.Log("reget.log", "r setup.zip\n");
    f.Log("descript.ion", "d setup.zip\n");
    EXPECT_EQ(f.Run().lines, (Lines{"d setup.zip", "r setup.zip"}));
    EXPECT_EQ(f.fs.opened, (Lines{kDir + "reget.log", kDir + "descript.ion"}));
}

TEST(Harvest, NoLogReadsOnlyTheExtraFileAndEmptyStrlogReadsNoField)
{
    Folder f;
    f.Log("reget.log", "r setup.zip\n");
    f.fs.files["E:\\x.log"] = "e setup.zip\n";
    f.settings.LogPath = true;
    f.settings.PathStrLog = "E:\\x.log";
    f.settings.NoLog = true;
    EXPECT_EQ(f.Run().lines, Lines{"e setup.zip"});
    f.settings.NoLog = false;
    f.settings.Strlog = "";
    EXPECT_EQ(f.Run().lines, Lines{"e setup.zip"});
    f.settings.LogPath = false;
    EXPECT_EQ(f.Run().lines, Lines{});
}

TEST(Harvest, FileThatCannotBeOpenedEndsTheWholeHarvest)
{
    Folder f;
    f.Log("reget.log", "r setup.zip\n");
    f.Log("descript.ion", "d setup.zip\n");
    f.fs.files["E:\\x.log"] = "e setup.zip\n";
    f.settings.LogPath = true;
    f.settings.PathStrLog = "E:\\x.log";
    f.fs.locked.insert(kDir + "reget.log");
    HarvestResult r = f.Run();
    EXPECT_EQ(r.lines, Lines{});
    EXPECT_FALSE(r.headerFound);
    EXPECT_FALSE(r.error);
    EXPECT_EQ(f.fs.opened, Lines{kDir + "reget.log"});

    // Locked second file: the first file's line stays.
    f.fs.locked = {kDir + "descript.ion"};
    r = f.Run();
    EXPECT_EQ(r.lines, Lines{"r setup.zip"});
    EXPECT_TRUE(r.headerFound);
}

TEST(Harvest, ReadErrorKeepsTheLinesFoundBeforeAndStops)
{
    Folder f;
    f.settings.NoOneStr = true;
    f.Log("reget.log", "r setup.zip\n");
    f.Log("descript.ion", "d1 setup.zip\nd2 setup.zip\n");
    f.fs.files["E:\\x.log"] = "e setup.zip\n";
    f.settings.LogPath = true;
    f.settings.PathStrLog = "E:\\x.log";
    f.fs.failAfter[kDir + "descript.ion"] = 14;  // after the first line
    f.fs.readChunk = 7;
    HarvestResult r = f.Run();
    EXPECT_EQ(r.lines, (Lines{"d1 setup.zip", "r setup.zip"}));
    EXPECT_TRUE(r.headerFound);
    ASSERT_TRUE(r.error);
    EXPECT_EQ(*r.error, "Cannot read file \"" + kDir + "descript.ion\". The device is not ready");
    EXPECT_EQ(f.fs.opened.back(), kDir + "descript.ion");
}

TEST(Harvest, HitInALineLongerThanTheBufferIsReturnedWhole)
{
    Folder f;
    f.settings.NoOneStr = true;
    std::string huge(3 * LogScanner::kBlockSize + 123, 'x');
    huge[5] = '\r';
    f.Log("reget.log", "a\r\n" + huge + " setup.zip " + huge + "\r\nb setup.zip\r\n");
    HarvestResult r = f.Run();
    ASSERT_EQ(r.lines.size(), 2u);
    EXPECT_EQ(r.lines[0], "b setup.zip");
    std::string expected = huge + " setup.zip " + huge;
    expected.erase(std::remove(expected.begin(), expected.end(), '\r'), expected.end());
    EXPECT_EQ(r.lines[1].size(), expected.size());
    EXPECT_TRUE(r.lines[1] == expected);
}

// ---- the scanner against a plain line-by-line reading --------------------

namespace {

Lines Scan(const std::string& text, const std::string& name, bool all, std::size_t block, std::size_t chunk)
{
    MemoryFileSystem fs;
    fs.files["f"] = text;
    fs.readChunk = chunk;
    LogScanner scanner(name, block);
    Lines hits;
    auto file = fs.OpenRead("f");
    scanner.Scan(*file, [&] { return fs.OpenRead("f"); }, all, hits);
    return hits;
}

}  // namespace

TEST(LogScanner, AgreesWithLineByLineReadingForEveryBlockSize)
{
    const std::string name = "Ab.z";
    const Lines texts = {
        "ab.z\nAB.Z\r\nxab.zx\r\n",
        "a\rb\r.\rz tail\r\n\r\nab.\r\nz\n",  // CRs inside the name; LF breaks it
        "xxxxxxxxxxxxxxxxxxxxxxxxab.zxxxxxxxxxxxxxxxxxxxxxxxxxxxxxab.z\nq",
        "ab.ab.z\n\n\nab.\x1a" "ab.z\n",
        "\r\r\r\r\r\r\r\r\r\r\ra\r\r\r\r\r\r\r\rb\r\r\r\r\r.\r\r\r\r\r\r\r\rz\r\r\r\r\r\r\r\r",
        "no hit at all\r\nab,z\r\n",
        "zzzzzzzzzz\r\nab.zab.z\r\n" + std::string(100, 'a') + "ab.z" + std::string(100, 'b'),
    };
    for (const std::string& text : texts)
        for (bool all : {false, true})
            for (std::size_t block = 1; block <= 24; ++block)
                for (std::size_t chunk : {std::size_t{1}, std::size_t{3}, block})
                    ASSERT_EQ(Scan(text, name, all, block, chunk), ReferenceScan(text, name, all))
                        << "block " << block << " chunk " << chunk << " all " << all << " text " << text;
}

TEST(LogScanner, AgreesOnRandomTexts)
{
    std::mt19937 random(20240517);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 80, ' ');
        for (char& c : text) {
            unsigned pick = random() % 64;
            c = pick == 0 ? '\x1a' : "aAbB\r\nx\xe0\xc0\xb8"[pick % 10];
        }
        std::string name(1 + random() % 4, ' ');
        for (char& c : name) c = "aAb\xe0\xc0\xb8x"[random() % 7];
        bool all = random() % 2;
        std::size_t block = 1 + random() % 20;
        ASSERT_EQ(Scan(text, name, all, block, 1 + random() % 25), ReferenceScan(text, name, all))
            << "round " << round;
    }
}

// Long texts over few bytes make every byte of the name common, so the scan
// looks for pairs of bytes, whole vectors at a time.
TEST(LogScanner, AgreesOnLongTextsOfCommonBytes)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text(200 + random() % 3000, ' ');
        for (char& c : text) {
            unsigned pick = random() % 100;
            c = pick < 2 ? '\r' : pick < 5 ? '\n' : "abAB\xe0\xc0 -"[pick % 8];
        }
        std::string name(2 + random() % 5, ' ');
        for (char& c : name) c = "aAbB\xe0-"[random() % 6];
        bool all = random() % 2;
        for (std::size_t block : {std::size_t{40}, std::size_t{97}, std::size_t{1000}, LogScanner::kBlockSize})
            ASSERT_EQ(Scan(text, name, all, block, block), ReferenceScan(text, name, all))
                << "round " << round << " block " << block;
    }
}

TEST(LogScanner, NameWithLineEndOrCtrlZNeverMatches)
{
    EXPECT_FALSE(LogScanner("a\nb").CanMatch());
    EXPECT_FALSE(LogScanner("a\rb").CanMatch());
    EXPECT_FALSE(LogScanner("a\x1a").CanMatch());
    EXPECT_FALSE(LogScanner("").CanMatch());
    EXPECT_EQ(Scan("a\r\nb\n", "a\r", true, 4, 4), Lines{});
}

TEST(Harvest, BinaryLogLinesAreKeptByteForByte)
{
    Folder f;
    f.settings.NoOneStr = true;
    const std::string hit("\0bin setup.zip\0\xfe\x80", 18);
    f.Log("reget.log", std::string("\0\x01\x02\xff\n", 5) + hit + "\r\n" + std::string("\x80\0\0\xc0", 4));
    EXPECT_EQ(f.Run().lines, Lines{hit});
}

TEST(Harvest, AMillionHitsComeBackAllInReverseOrder)
{
    Folder f;
    f.settings.NoOneStr = true;
    constexpr int kHits = 1000000;
    std::string log;
    for (int i = 0; i < kHits; ++i) log.append(std::to_string(i)).append(" setup.zip\r\n");
    f.Log("reget.log", std::move(log));
    HarvestResult r = f.Run();
    ASSERT_EQ(r.lines.size(), static_cast<std::size_t>(kHits));
    int wrong = 0;
    std::string expected;
    for (int i = 0; i < kHits; ++i) {
        expected.assign(std::to_string(kHits - 1 - i)).append(" setup.zip");
        wrong += r.lines[i] != expected;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(r.headerFound);
}
