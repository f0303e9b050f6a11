// Database files as field staff meet them: locked by another PC's writer, read-only, not a
// database at all, damaged, deleted while open. Each command gives the database layer's
// report and stops with nothing half-done; what the file holds afterwards is read with the
// sqlite3 program, not with this one.
#include "db/MeterDatabase.h"
#include "db/Schema.h"

#include "support/LimitedChild.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace mrv {
namespace {

using ::testing::HasSubstr;

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the second program says the database holds (its output, or its error).
std::string Sqlite3(const std::string& path, const std::string& sql)
{
    const std::string command = "sqlite3 '" + path + "' \"" + sql + "\" 2>&1";
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        ::pclose(p);
    }
    return out;
}

// Another program holding an exclusive lock on the file for `seconds`, as another PC's writer
// in the middle of a long write.
class ExclusiveLock {
public:
    ExclusiveLock(const std::string& path, double seconds)
    {
        const std::string command =
            "python3 -c \"import sqlite3,sys,time; c=sqlite3.connect(sys.argv[1], "
            "isolation_level=None); c.execute('begin exclusive'); print('locked', flush=True); "
            "time.sleep(float(sys.argv[2])); c.execute('commit')\" '" +
            path + "' " + std::to_string(seconds);
        m_pipe = ::popen(command.c_str(), "r");
        char line[32] = {};
        m_locked = m_pipe && std::fgets(line, sizeof line, m_pipe) &&
                   std::string(line) == "locked\n";
    }
    ~ExclusiveLock()
    {
        if (m_pipe)
            ::pclose(m_pipe);
    }
    bool Locked() const { return m_locked; }

private:
    FILE* m_pipe = nullptr;
    bool m_locked = false;
};

class DamagedDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.File("install.db");
        ASSERT_EQ(CreateInstallationSchema(path, prompter), 1);
        MeterDatabase db(prompter);
        ASSERT_EQ(db.OpenMain(DatabaseConnectString(path)), 1);
        ASSERT_EQ(db.InsertHhu({1, "office"}), 1);
        prompter.messages.clear();
    }

    std::string Hhus() { return Sqlite3(path, "select land_id, description from land"); }

    test::TempDir dir;
    test::ScriptedPrompter prompter;
    std::string path;
};

TEST_F(DamagedDatabaseTest, ABriefLockByAnotherWriterPassesALongOneIsReported)
{
    MeterDatabase db(prompter);
    ASSERT_EQ(db.OpenMain(DatabaseConnectString(path)), 1);
    {
        const ExclusiveLock brief(path, 0.3);
        ASSERT_TRUE(brief.Locked());
        EXPECT_EQ(db.InsertHhu({2, "waited"}), 1); // the busy time-out outlasts the lock
    }
    EXPECT_TRUE(prompter.messages.empty());
    {
        const ExclusiveLock stuck(path, 4);
        ASSERT_TRUE(stuck.Locked());
        EXPECT_EQ(db.InsertHhu({3, "refused"}), 0);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_THAT(prompter.messages[0].text, HasSubstr("database is locked"));
    }
    EXPECT_EQ(Hhus(), "1|office\n2|waited\n");
}

TEST_F(DamagedDatabaseTest, AReadOnlyFileIsReadAndRefusesWritesWithTheDriversText)
{
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all |
                                                 std::filesystem::perms::group_read |
                                                 std::filesystem::perms::group_exec |
                                                 std::filesystem::perms::others_read |
                                                 std::filesystem::perms::others_exec);
    const std::string before = Bytes(path);
    // As an ordinary user: root would write the file whatever its mode says.
    const test::ChildOutcome child = test::RunInChild({.dropRoot = true}, [&] {
        MeterDatabase db(prompter);
        if (db.OpenMain(DatabaseConnectString(path)) != 1)
            return std::string("not opened");
        HhuList hhus;
        db.LoadHhus(&hhus);
        const int inserted = db.InsertHhu({2, "refused"});
        return std::to_string(hhus.size()) + "|" + std::to_string(inserted) + "|" +
               (prompter.messages.empty() ? "" : prompter.messages.back().text);
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.output, "1|0|attempt to write a readonly database");
    EXPECT_EQ(Bytes(path), before);
    EXPECT_EQ(Hhus(), "1|office\n");
}

TEST_F(DamagedDatabaseTest, AFileThatIsNotADatabaseOrIsDamagedIsReportedAndLeftAsItIs)
{
    const struct {
        const char* what;
        std::string (*damage)(std::string bytes);
        const char* driverText;
    } cases[] = {
        {"a text file", [](std::string) { return std::string("HHU list\n1 office\n"); },
         "file is not a database"},
        {"the pages after the schema page overwritten",
         [](std::string b) {
             for (std::size_t i = 4096; i < b.size(); i += 7)
                 b[i] = static_cast<char>(0xA5);
             return b;
         },
         "malformed"},
    };
    const std::string whole = Bytes(path);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string damaged = c.damage(whole);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << damaged;
        }
        prompter.messages.clear();
        MeterDatabase db(prompter);
        const bool opened = db.OpenMain(DatabaseConnectString(path)) == 1;
        HhuList hhus;
        if (opened) {
            db.LoadHhus(&hhus);
            db.InsertHhu({2, "refused"});
        }
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_THAT(prompter.messages[0].text, HasSubstr(c.driverText));
        EXPECT_TRUE(hhus.empty());
        db.CloseMain();
        EXPECT_EQ(Bytes(path), damaged); // nothing written into it
        EXPECT_THAT(Sqlite3(path, "select count(*) from land"), HasSubstr(c.driverText));
    }
}

TEST_F(DamagedDatabaseTest, AFileDeletedWhileOpenTakesNoWritesAndIsNotMadeAgain)
{
    const std::string kept = dir.File("kept.db");
    const struct {
        const char* what;
        bool keep; // moved to `kept` rather than deleted
    } cases[] = {{"moved away by another program", true}, {"deleted", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (!std::filesystem::exists(path))
            std::filesystem::copy_file(kept, path);
        prompter.messages.clear();
        MeterDatabase db(prompter);
        ASSERT_EQ(db.OpenMain(DatabaseConnectString(path)), 1);
        if (c.keep)
            std::filesystem::rename(path, kept); // gone from its name, its rows kept elsewhere
        else
            std::filesystem::remove(path);
        EXPECT_EQ(db.InsertHhu({2, "lost"}), 0);
        HhuList hhus;
        db.LoadHhus(&hhus);
        EXPECT_TRUE(hhus.empty());
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_EQ(prompter.messages[0].text,
                  "The database file '" + path +
                      "' has been deleted or replaced since it was opened. Nothing was read or "
                      "written; close the database and open it again.");
        db.CloseMain();
        EXPECT_FALSE(std::filesystem::exists(path)); // no empty database made in its place
        if (c.keep) { // the moved file holds what it held, and not the refused row
            EXPECT_EQ(Sqlite3(kept, "select land_id, description from land"), "1|office\n");
        }
    }
}

} // namespace
} // namespace mrv
