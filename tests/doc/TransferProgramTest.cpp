// How the transfer program is called: its path, its one argument, the upload month folder.
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "doc/TransferProgram.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace mrv {
namespace {

namespace fs = std::filesystem;

TEST(TransferProgram, PathAndMonthFolderJoinWithOneSeparator)
{
    EXPECT_EQ(TransferProgramPath("/opt/sys"), "/opt/sys/tqlink");
    EXPECT_EQ(TransferProgramPath("/opt/sys/"), "/opt/sys/tqlink");
    // Never a bare name, which would be looked for along PATH.
    EXPECT_EQ(TransferProgramPath(""), "./tqlink");

    const PcTime january2027{2027, 1, 15, 9, 0, 0, 5};
    const PcTime december2026{2026, 12, 31, 23, 59, 59, 4};
    EXPECT_EQ(UploadMonthFolder("/data/up", january2027), "/data/up/2027-01");
    EXPECT_EQ(UploadMonthFolder("/data/up/", december2026), "/data/up/2026-12");
}

class TransferCommandTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    CMrvDoc doc{store, prompter, dir.File("bin/mrv003e")};
    FixedClock clock{PcTime{2027, 1, 15, 9, 0, 0, 5}};

    void SetUp() override
    {
        doc.LoadSettings();
        doc.SetClock(clock);
        doc.m_systemDir = dir.File("sys");
        doc.m_downloadPath = dir.File("down");
        doc.m_dataPath = dir.File("up");
    }
};

TEST_F(TransferCommandTest, DownloadPassesTheDownloadFolderAfterTheLetter)
{
    const TransferCommand c = DownloadCommand(doc);
    EXPECT_EQ(c.program, dir.File("sys/tqlink"));
    EXPECT_EQ(c.argument, "d" + dir.File("down"));
}

TEST_F(TransferCommandTest, UploadCreatesTheMonthFolderOfTheClock)
{
    const TransferCommand c = UploadCommand(doc);
    EXPECT_EQ(c.program, dir.File("sys/tqlink"));
    EXPECT_EQ(c.argument, "u" + dir.File("up/2027-01"));
    EXPECT_TRUE(fs::is_directory(dir.File("up/2027-01")));
    // There already: used as it is.
    std::ofstream(dir.File("up/2027-01/0001.dbf")) << "kept";
    EXPECT_EQ(UploadCommand(doc).argument, "u" + dir.File("up/2027-01"));
    EXPECT_TRUE(fs::exists(dir.File("up/2027-01/0001.dbf")));
}

TEST_F(TransferCommandTest, AFileInTheWayOfTheMonthFolderStaysAndTheFolderIsStillPassed)
{
    fs::create_directories(dir.File("up"));
    std::ofstream(dir.File("up/2027-01")) << "not a folder";
    const TransferCommand c = UploadCommand(doc);
    EXPECT_EQ(c.argument, "u" + dir.File("up/2027-01"));
    EXPECT_TRUE(fs::is_regular_file(dir.File("up/2027-01")));
    EXPECT_TRUE(prompter.messages.empty());
}

// A stand-in transfer program: a shell script in the test's folder.
class TransferRunTest : public ::testing::Test {
protected:
    test::TempDir dir;
    TransferCommand Script(const std::string& body)
    {
        const std::string path = dir.File("tqlink");
        std::ofstream(path) << "#!/bin/sh\n" << body;
        fs::permissions(path, fs::perms::owner_all);
        return {path, "dX"};
    }
};

TEST_F(TransferRunTest, OnlyStatusZeroIsSuccessAndAFailureShowsTheLastLinesPrinted)
{
    const TransferCommand ok = Script("echo \"sent $1\"\nexit 0\n");
    const TransferOutcome done = RunTransfer(ok);
    EXPECT_TRUE(done.Succeeded());
    EXPECT_EQ(done.lastLines, "sent dX");
    EXPECT_EQ(TransferFailureText(ok, done), "");

    // Seven lines on both channels, then status 3: the last five are shown.
    const TransferCommand failing = Script("for i in 1 2 3 4 5 6; do echo \"line $i\"; done\n"
                                           "echo 'no unit on the cradle' >&2\nexit 3\n");
    const TransferOutcome failed = RunTransfer(failing);
    EXPECT_FALSE(failed.Succeeded());
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_EQ(TransferFailureText(failing, failed),
              "The transfer program " + failing.program +
                  " failed (exit status 3).\nIts last lines:\nline 3\nline 4\nline 5\nline 6\n"
                  "no unit on the cradle");

    const TransferCommand crashing = Script("kill -SEGV $$\n");
    const TransferOutcome crashed = RunTransfer(crashing);
    EXPECT_TRUE(crashed.started);
    EXPECT_TRUE(crashed.crashed);
    EXPECT_FALSE(crashed.Succeeded());
    EXPECT_EQ(TransferFailureText(crashing, crashed),
              "The transfer program " + crashing.program + " stopped abnormally.");
}

TEST_F(TransferRunTest, AFailedStartNamesTheProgramAndTheReason)
{
    const TransferCommand missing{dir.File("nowhere/tqlink"), "d/x"};
    const TransferOutcome outcome = RunTransfer(missing);
    EXPECT_FALSE(outcome.started);
    EXPECT_EQ(outcome.errorCode, ENOENT);
    EXPECT_EQ(TransferFailureText(missing, outcome),
              "Error number: 2\nThe transfer program " + missing.program +
                  " could not be started: No such file or directory.");
}

} // namespace
} // namespace mrv
