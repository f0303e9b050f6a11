#include "doc/ParameterRules.h"
#include "doc/FilePathRules.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace mrv {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

TEST(ParameterRules, ConstantBelowHundredImpPerKwhBecomesHundred)
{
    struct Case {
        std::array<std::uint8_t, 3> in;
        int constIndex;
        std::array<std::uint8_t, 3> out;
    };
    const Case cases[] = {
        {{0x99, 0x00, 0x00}, 0, {0x00, 0x01, 0x00}}, // 99
        {{0x00, 0x01, 0x00}, 0, {0x00, 0x01, 0x00}}, // 100 stays
        {{0x00, 0x32, 0x00}, 0, {0x00, 0x32, 0x00}}, // 3200 stays
        {{0x99, 0x00, 0x00}, 1, {0x99, 0x00, 0x00}}, // W/imp: not checked
        {{0x00, 0x00, 0xA0}, 0, {0x00, 0x01, 0x00}}, // "a00000" reads as 0
    };
    for (const auto& c : cases) {
        DataFileParameters p;
        p.constant = c.in;
        p.constIndex = c.constIndex;
        ApplyParameterRules(p);
        EXPECT_EQ(p.constant, c.out) << ConstantAsDecimal(c.in);
    }
}

TEST(ParameterRules, PrescalerCycleTimeAndChoicesAreForcedIntoRange)
{
    const std::pair<int, int> prescalers[] = {{0, 1}, {1, 1}, {100, 100}, {101, 1}, {255, 1}};
    for (auto [in, out] : prescalers) {
        DataFileParameters p;
        p.prescaler = std::uint8_t(in);
        ApplyParameterRules(p);
        EXPECT_EQ(p.prescaler, out) << in;
    }
    const std::pair<int, int> cycles[] = {{0x81, 2}, {0x9F, 30}, {0x85, 5}, {0xE0, 2}};
    for (auto [in, out] : cycles) {
        DataFileParameters p;
        p.show[2] = std::uint8_t(in);
        ApplyParameterRules(p);
        EXPECT_EQ(p.show[2], out) << in;
    }
    DataFileParameters p; // the profile defaults
    p.readKwh = {7, 0, 0xFF};
    p.compare = {9, 5, 1};
    ApplyParameterRules(p);
    EXPECT_EQ(p.show, (std::array<std::uint8_t, 3>{0x3F, 0xFF, 0x05}));
    EXPECT_EQ(p.readKwh, (std::array<std::uint8_t, 3>{1, 0, 0x0F}));
    EXPECT_EQ(p.compare, (std::array<std::uint8_t, 3>{1, 5, 1})); // c1, c2 carried
}

TEST(ParameterRules, EntriesAfterThePeriodCountCopyTheLastUsedOne)
{
    DataFileParameters p;
    for (std::size_t i = 0; i < 8; ++i) {
        p.dayTable[i] = {std::uint8_t(1 + i % 4), std::uint8_t(i), std::uint8_t(i + 10)};
        p.yearTable[i] = {std::uint8_t(1 + i % 2), std::uint8_t(i + 1), std::uint8_t(i + 20)};
    }
    const auto before = p;
    p.periodCount = 3;
    ApplyParameterRules(p);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(p.dayTable[i], before.dayTable[i]);
        EXPECT_EQ(p.yearTable[i], before.yearTable[i]);
    }
    for (std::size_t i = 3; i < 8; ++i) {
        EXPECT_EQ(p.dayTable[i], before.dayTable[2]) << i;
        EXPECT_EQ(p.yearTable[i], before.yearTable[2]) << i;
    }
}

TEST(ParameterRules, ResetDayIsBcdDayAndHour)
{
    EXPECT_EQ(ResetDayFrom(1, 0), 256);
    EXPECT_EQ(ResetDayFrom(28, 23), 0x2823);
    EXPECT_TRUE(IsSecondChoice(0x55));
    EXPECT_TRUE(IsSecondChoice(0x1255));
    EXPECT_FALSE(IsSecondChoice(0x5500));
}

class FilePaths : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    std::string download = "old-download";
    std::string upload = "old-upload";
};

TEST_F(FilePaths, MissingFolderDeclinedIsStoredAndNotCreated)
{
    const auto a = dir.File("a"), b = dir.File("b");
    prompter.answers = {MsgAnswer::No, MsgAnswer::No};
    EXPECT_EQ(ApplyFilePaths(prompter, a, b, download, upload), FilePathResult::Done);
    EXPECT_EQ(download, a);
    EXPECT_EQ(upload, b);
    EXPECT_FALSE(std::filesystem::exists(a));
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"No Download Path!\nCreate?", "No Upload Path!\nCreate?"}));
    EXPECT_EQ(prompter.messages[0].caption, "Download Path");
    EXPECT_EQ(prompter.messages[1].caption, "Upload Path");
}

TEST_F(FilePaths, OnlyTheMissingFolderIsCreated)
{
    const auto existing = dir.File("here");
    std::filesystem::create_directory(existing);
    std::ofstream(existing + "/keep.txt") << "x";
    const auto missing = dir.File("new/deeper");
    EXPECT_EQ(ApplyFilePaths(prompter, existing, missing, download, upload), FilePathResult::Done);
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"No Upload Path!\nCreate?"}));
    EXPECT_TRUE(std::filesystem::is_directory(missing));
    EXPECT_TRUE(std::filesystem::exists(existing + "/keep.txt"));
}

TEST_F(FilePaths, FolderThatCannotBeCreatedStopsWithItsMessage)
{
    const auto file = dir.File("plain");
    std::ofstream(file) << "not a folder";
    // Download cannot be made: nothing stored.
    EXPECT_EQ(ApplyFilePaths(prompter, file + "/sub", dir.Path().string(), download, upload),
              FilePathResult::DownloadFailed);
    EXPECT_EQ(download, "old-download");
    EXPECT_EQ(upload, "old-upload");
    EXPECT_EQ(prompter.messages.back().text, "Can't Create This Download Path!");
    EXPECT_EQ(prompter.messages.back().caption, "error");
    // Upload cannot be made: the download folder is already stored.
    EXPECT_EQ(ApplyFilePaths(prompter, dir.Path().string(), file + "/sub", download, upload),
              FilePathResult::UploadFailed);
    EXPECT_EQ(download, dir.Path().string());
    EXPECT_EQ(upload, "old-upload");
    EXPECT_EQ(prompter.messages.back().text, "Can't Create This Upload Path!");
}

} // namespace
} // namespace mrv
