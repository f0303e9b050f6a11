// Where the program keeps its own files (the test database, convert.cfg): beside it when it
// runs from a build folder, in the user's data folder when it is installed.
#include "doc/ProgramFiles.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "support/LimitedChild.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace mrv {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr fs::perms kOthersRead = fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms kOpen = fs::perms::owner_all | kOthersRead;
constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::owner_exec | kOthersRead;

class ProgramFilesTest : public ::testing::Test {
protected:
    TempDir dir;

    std::string Folder(const std::string& name, fs::perms perms = kOpen)
    {
        const std::string path = dir.File(name);
        fs::create_directories(path);
        fs::permissions(path, perms);
        return path;
    }

    void Write(const std::string& path, const std::string& text)
    {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << text;
    }
};

// The user's data folder of this process, for as long as the guard lives.
class DataHome {
public:
    explicit DataHome(const std::string& path)
    {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_old = old;
        ::setenv("XDG_DATA_HOME", path.c_str(), 1);
    }
    ~DataHome()
    {
        if (m_old)
            ::setenv("XDG_DATA_HOME", m_old->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

private:
    std::optional<std::string> m_old;
};

TEST_F(ProgramFilesTest, RunFromABuildFolderTheFilesAreBesideTheProgram)
{
    const std::string bin = Folder("build/bin");
    const ProgramFiles files(bin);
    EXPECT_FALSE(files.Installed());
    EXPECT_EQ(files.OwnDir(), bin);
    EXPECT_EQ(files.TestDatabase(), bin + "/testmeter.db");
    EXPECT_EQ(files.ConvertConfigs(), std::vector<std::string>{bin + "/convert.cfg"});
    EXPECT_EQ(files.ConvertConfig(), bin + "/convert.cfg"); // missing, and named as such
}

// Root may write /usr/bin; the user's files still do not belong there.
TEST_F(ProgramFilesTest, AnInstalledTreeIsInstalledAlsoWhereItsFolderMayBeWritten)
{
    const DataHome home(dir.File("data"));
    const std::string bin = Folder("usr/bin");
    const std::string shipped = dir.File("usr/share/mrv003e/convert.cfg");
    const std::string own = dir.File("data/halvane/mrv003e/convert.cfg");
    Write(shipped, "shipped");
    const ProgramFiles files(bin);
    EXPECT_TRUE(files.Installed());
    EXPECT_EQ(files.TestDatabase(), dir.File("data/halvane/mrv003e/testmeter.db"));
    EXPECT_EQ(files.ConvertConfigs(),
              (std::vector<std::string>{own, shipped, "/usr/share/mrv003e/convert.cfg"}));
    EXPECT_EQ(files.ConvertConfig(), shipped);
    Write(own, "the user's");
    EXPECT_EQ(ProgramFiles(bin).ConvertConfig(), own);
}

TEST_F(ProgramFilesTest, AProgramInAReadOnlyFolderKeepsItsTestDatabaseInTheUsersDataFolder)
{
    // The tests run as root in CI, who may write anywhere: the child runs as "nobody", for
    // whom root's folders are read-only; an ordinary user gets a folder without write bits.
    // Nothing beside the folder marks it as installed: its being read-only does.
    fs::permissions(dir.Path(), kOpen);
    const std::string bin = dir.File("opt/meters/bin");
    fs::create_directories(bin);
    const char* const installed[] = {"opt/meters/bin", "opt/meters", "opt"};
    for (const char* f : installed)
        fs::permissions(dir.File(f), kReadOnly);
    const std::string work = Folder("work", fs::perms::all);
    const std::string data = Folder("data", fs::perms::all);
    const std::string own = data + "/halvane/mrv003e";

    const test::ChildOutcome child = test::RunInChild({.dropRoot = true}, [&] {
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        if (::chdir(work.c_str()) != 0)
            return std::string("no work folder");
        QtSettingsStore store(QString::fromStdString(work + "/profile.ini"));
        test::ScriptedPrompter prompter;
        CMrvDoc doc(store, prompter, bin + "/mrv003e");
        doc.LoadSettings();
        std::string out = doc.Files().Installed() ? "installed|" : "beside|";
        out += doc.TestDatabasePath() + "|";
        out += std::to_string(doc.OpenTestDatabase()) + "|";
        out += std::to_string(doc.GetDatabase().SaveTest({"0042", "ok", "", "", "", "", "", ""}));
        out += "|" + doc.Files().ConvertConfigs().front();
        return out;
    });
    for (const char* f : installed)
        fs::permissions(dir.File(f), kOpen); // so the folder can be removed
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.status, 0);
    EXPECT_EQ(child.output, "installed|" + own + "/testmeter.db|1|1|" + own + "/convert.cfg");
    EXPECT_TRUE(fs::is_regular_file(own + "/testmeter.db"));
    EXPECT_FALSE(fs::exists(bin + "/testmeter.db"));

    // The row is in the file the installed program made.
    test::ScriptedPrompter prompter;
    MeterDatabase db(prompter);
    ASSERT_EQ(db.OpenTest(DatabaseConnectString(own + "/testmeter.db"), "Admin", ""), 1);
    EXPECT_EQ(db.TestExists("0042"), 1);
    db.CloseTest();
}

} // namespace
} // namespace mrv
