// Writing download files: the byte layout, the limits and what a failed write leaves behind.
#include "DataFileFixture.h"
#include "base/GbkText.h"
#include "support/LimitedChild.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace mrv::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Bytes = std::vector<std::uint8_t>;

MeterRecord Meter(std::string num, std::string id2, std::string addr)
{
    MeterRecord m;
    m.meter_num = std::move(num);
    m.property_num = std::move(id2);
    m.meter_address = std::move(addr);
    return m;
}

class DownloadTest : public ::testing::Test {
protected:
    int Create(std::int32_t hhu, bool stored, const DownloadHooks& hooks = {},
               std::string* path = nullptr)
    {
        DownloadInput in;
        in.source = &source;
        in.parameterBlock = params;
        in.prompter = &prompter;
        return HhuDataFile::CreateDownloadFile(dir.Path().string(), hhu, stored, in, hooks, path);
    }
    std::vector<std::string> FilesInDir() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    FakeSource source;
    ScriptedPrompter prompter;
    ParameterBlock params{};
};

// Three Blocks of HHU 7, the middle one empty; another HHU's Block must not appear.
class SmallDownloadTest : public DownloadTest {
protected:
    void SetUp() override
    {
        source.AddBlock(7, 11, "North", 0x003200,
                        {Meter("05", "A1", "Road 1"), Meter("1f", "123456789012", "X")});
        source.AddBlock(7, 12, "Empty", 0x001600, {});
        source.AddBlock(8, 99, "Other", 0x001234, {Meter("01", "Q", "Elsewhere")});
        source.AddBlock(7, 13, "South", 0x012800, {Meter("ab", "Z", "")});
        for (std::size_t i = 0; i < params.size(); ++i)
            params[i] = static_cast<std::uint8_t>(0xA0 + i);
    }
};

TEST_F(SmallDownloadTest, WritesTheFileByteForByte)
{
    std::string path;
    ASSERT_EQ(Create(7, false, {}, &path), 1);
    EXPECT_EQ(path, dir.File("0007.dbf"));
    EXPECT_TRUE(prompter.messages.empty());
    const Bytes f = ReadBytes(path);
    ASSERT_EQ(f.size(), 5343u + 179u * 3);

    EXPECT_EQ(Slice(f, 0, 8), B("HALVANEM"));
    EXPECT_EQ(Slice(f, 8, 61), Bytes(params.begin(), params.end()));

    // Block table: mark, 3 records, 2 entries; the empty Block has none.
    EXPECT_THAT(Slice(f, 69, 4), ElementsAre(0x88, 0x03, 0x00, 0x02));
    EXPECT_THAT(Slice(f, 73, 21), ElementsAre(0x01, 0x00, 0x00, 0x32, 0x00, 'N', 'o', 'r', 't', 'h',
                                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_THAT(Slice(f, 94, 21), ElementsAre(0x03, 0x00, 0x00, 0x28, 0x01, 'S', 'o', 'u', 't', 'h',
                                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(Slice(f, 115, 424 - 46), Bytes(424 - 46, 0));
    EXPECT_EQ(Slice(f, 493, 4842), Bytes(4842, 0));

    Bytes r1(179, 0);
    r1[0] = 0x4f;
    r1[1] = 0x01;
    r1[4] = 0x05;
    r1[6] = 'A';
    r1[7] = '1';
    std::copy_n("Road 1", 6, r1.begin() + 19);
    EXPECT_EQ(Slice(f, 5335, 179), r1);

    Bytes r2(179, 0);
    r2[0] = 0xe9;
    r2[1] = 0x02;
    r2[4] = 0x1f;
    std::copy_n("123456789012", 12, r2.begin() + 6); // fills 6..17 exactly, 18 stays 0
    r2[19] = 'X';
    EXPECT_EQ(Slice(f, 5335 + 179, 179), r2);

    Bytes r3(179, 0);
    r3[0] = 0x08;
    r3[1] = 0x03;
    r3[4] = 0xab;
    r3[6] = 'Z';
    EXPECT_EQ(Slice(f, 5335 + 358, 179), r3);

    EXPECT_EQ(Slice(f, f.size() - 8, 8), B("Qandivee"));
}

TEST_F(SmallDownloadTest, StoredFileDiffersOnlyInNameAndTrailerCase)
{
    ASSERT_EQ(Create(7, false), 1);
    ASSERT_EQ(Create(7, true), 1);
    const Bytes plain = ReadBytes(dir.File("0007.dbf"));
    const Bytes stored = ReadBytes(dir.File("0007S.dbf"));
    ASSERT_EQ(plain.size(), stored.size());
    EXPECT_EQ(Slice(plain, 0, plain.size() - 2), Slice(stored, 0, stored.size() - 2));
    EXPECT_EQ(Slice(plain, plain.size() - 2, 2), B("ee"));
    EXPECT_EQ(Slice(stored, stored.size() - 2, 2), B("EE"));
    EXPECT_THAT(FilesInDir(), ElementsAre("0007.dbf", "0007S.dbf")); // no temporary left
}

TEST(DownloadFileName, FormsTheNameFromDirectoryAndId)
{
    struct Case {
        const char* dir;
        int hhu;
        bool stored;
        const char* name;
    } cases[] = {
        {"/data/dl", 7, false, "/data/dl/0007.dbf"},
        {"/data/dl/", 7, true, "/data/dl/0007S.dbf"},
        // A backslash is part of a name here, never a separator.
        {"c:\\dl\\", 7, false, "c:\\dl\\/0007.dbf"},
        {"out", 12345, false, "out/12345.dbf"},
        {"", 42, false, "0042.dbf"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HhuDataFile::DownloadFileName(c.dir, c.hhu, c.stored), c.name) << c.dir;
}

TEST_F(DownloadTest, TextsAreGbkAndCutToTheirWidthsWithoutSplittingACharacter)
{
    // "东区一号楼电表箱子" is 9 characters, 18 GBK bytes: only 8 fit the 16-byte name.
    const std::string longName = "东区一号楼电表箱子";
    MeterRecord m = Meter("7", "12345678901中", std::string(60, 'a'));
    source.AddBlock(3, 1, longName, 0x123456, {m});
    ASSERT_EQ(Create(3, false), 1);
    const Bytes f = ReadBytes(dir.File("0003.dbf"));
    const std::string gbkName = Utf8ToGbk("东区一号楼电表箱");
    EXPECT_EQ(Slice(f, 73 + 5, 16), B(gbkName));
    EXPECT_THAT(Slice(f, 73 + 2, 3), ElementsAre(0x56, 0x34, 0x12));
    const std::size_t r = 5335;
    EXPECT_EQ(f[r + 4], 0x07); // a one-digit number is read as "07"
    // The Chinese character would need bytes 17 and 18: it is left out.
    EXPECT_EQ(Slice(f, r + 6, 13),
              (Bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', '1', 0, 0}));
    EXPECT_EQ(Slice(f, r + 19, 50), Bytes(50, 'a'));
    EXPECT_EQ(f[r + 69], 0); // the address keeps its terminator
}

TEST_F(DownloadTest, MeterAndBlockLimits)
{
    struct Case {
        const char* what;
        std::vector<int> blockSizes;
        int result;
        const char* message; // nullptr: none
    } cases[] = {
        {"5500 meters", {2000, 0, 3500}, 1, nullptr},
        {"5501 meters", {2000, 3501}, 0, "Too many meters, Can't Create Data File"},
        {"no meters", {0, 0}, 0, "No meter, Don't Create Data File"},
        {"no Blocks", {}, 0, "No meter, Don't Create Data File"},
        {"20 Blocks with meters and empty ones",
         {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0},
         1,
         nullptr},
        {"21 Blocks with meters", std::vector<int>(21, 1), 0,
         "Too many blocks, Can't Create Data File"},
    };
    int hhu = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ++hhu;
        int total = 0;
        for (std::size_t i = 0; i < c.blockSizes.size(); ++i) {
            source.AddBlock(hhu, hhu * 100 + static_cast<int>(i), "B", 0x3200,
                            FakeSource::Meters(c.blockSizes[i]));
            total += c.blockSizes[i];
        }
        prompter.messages.clear();
        EXPECT_EQ(Create(hhu, false), c.result);
        const std::string path = HhuDataFile::DownloadFileName(dir.Path().string(), hhu, false);
        if (c.result) {
            EXPECT_EQ(std::filesystem::file_size(path),
                      5343u + 179u * static_cast<unsigned>(total));
            EXPECT_TRUE(prompter.messages.empty());
        } else {
            EXPECT_FALSE(std::filesystem::exists(path));
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].text, c.message);
            EXPECT_EQ(prompter.messages[0].caption, "");
        }
    }
}

TEST_F(DownloadTest, BlocksWithAnIdBelowOneStopTheFileAndAreNamed)
{
    // Their meters cannot be told from all the others, so the file would miss them.
    source.AddBlock(4, 1, "Main", 0, FakeSource::Meters(3));
    source.AddBlock(4, 0, "Old yard", 0, FakeSource::Meters(2));
    source.AddBlock(4, -7, "东区", 0, {});
    EXPECT_EQ(Create(4, false), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("0004.dbf")));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Blocks with an id below 1 can't go into a data file: \"Old yard\" (id 0), "
              "\"东区\" (id -7). Give each an id from 1 to 9999. Can't Create Data File");
}

TEST_F(DownloadTest, ASourceThatCannotListTheBlocksGivesNoSecondMessage)
{
    source.AddBlock(4, 1, "Main", 0, FakeSource::Meters(3));
    source.failBlocks = true; // the source has reported it
    EXPECT_EQ(Create(4, false), 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(DownloadTest, SequenceNumbersRunOverTheWholeFile)
{
    source.AddBlock(5, 1, "A", 0, FakeSource::Meters(3));
    source.AddBlock(5, 2, "B", 0, {});
    source.AddBlock(5, 3, "C", 0, FakeSource::Meters(2));
    ASSERT_EQ(Create(5, false), 1);
    const Bytes f = ReadBytes(dir.File("0005.dbf"));
    for (int k = 1; k <= 5; ++k) {
        const std::size_t at = 5335 + 179 * static_cast<std::size_t>(k - 1);
        EXPECT_EQ(f[at + 1] | f[at + 2] << 8, k);
    }
    EXPECT_THAT(Slice(f, 73, 2), ElementsAre(1, 0));
    EXPECT_THAT(Slice(f, 94, 2), ElementsAre(4, 0));
}

TEST_F(DownloadTest, AFailedOrCancelledWriteLeavesTheExistingFileAlone)
{
    const std::string path = dir.File("0009.dbf");
    WriteBytes(path, B("previous file"));
    source.AddBlock(9, 1, "A", 0, FakeSource::Meters(5501));
    EXPECT_EQ(Create(9, false), 0);
    EXPECT_EQ(ReadBytes(path), B("previous file"));

    source.blocks.clear();
    source.AddBlock(9, 1, "A", 0, FakeSource::Meters(10));
    int progressCalls = 0;
    DownloadHooks hooks;
    hooks.progress = [&](int done, int total) {
        ++progressCalls;
        EXPECT_EQ(total, 10);
        EXPECT_EQ(done, progressCalls);
    };
    hooks.cancelled = [&] { return progressCalls >= 4; }; // asked between meters
    EXPECT_EQ(Create(9, false, hooks), 0);
    EXPECT_EQ(progressCalls, 4);
    EXPECT_EQ(ReadBytes(path), B("previous file"));
    EXPECT_THAT(FilesInDir(), ElementsAre("0009.dbf"));

    // A folder that does not exist: no file, and the user is told why.
    prompter.messages.clear();
    DownloadInput in;
    in.source = &source;
    in.prompter = &prompter;
    EXPECT_EQ(HhuDataFile::CreateDownloadFile(dir.File("missing"), 9, false, in), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Can't write " + dir.File("missing") +
                                             "/0009.dbf: " + std::strerror(ENOENT) +
                                             ". No file was written.");
}

// A full disk, as a file-size limit in a child process: the write fails part-way, the user is
// told why, and the file of the earlier run stays as it was, with nothing left beside it.
TEST_F(DownloadTest, AFullDiskKeepsTheEarlierFileAndSaysWhy)
{
    source.AddBlock(9, 1, "A", 0, FakeSource::Meters(3));
    std::string path;
    ASSERT_EQ(Create(9, false, {}, &path), 1);
    const Bytes before = ReadBytes(path);
    source.blocks.clear();
    source.AddBlock(9, 1, "B", 0, FakeSource::Meters(40)); // 12503 bytes
    const ChildOutcome child = RunInChild({.fileSizeLimit = 8192}, [&] {
        const int written = Create(9, false);
        return std::to_string(written) + "|" +
               (prompter.messages.empty() ? "" : prompter.messages.back().text);
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.output, "0|Can't write " + path + ": " + std::strerror(EFBIG) +
                                ". The file that was there is unchanged.");
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_THAT(FilesInDir(), ElementsAre("0009.dbf"));
    // The program goes on: with room again the same run writes the file.
    ASSERT_EQ(Create(9, false), 1);
    EXPECT_EQ(ReadBytes(path).size(), hhufile::FileSize(40));
}

} // namespace
} // namespace mrv::test
