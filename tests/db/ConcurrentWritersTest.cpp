// Several PCs on one server database at once: two programs add meters to the same Block at the
// same moment and both keep every meter; the one that adds a Block the other has just added
// gets the database's normal report, and the Block stays as the first one wrote it.
#include "db/MeterDatabase.h"
#include "db/Schema.h"

#include "support/ScriptedPrompter.h"
#include "support/TestDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace mrv {
namespace {

using test::Engine;
using ::testing::HasSubstr;

std::string Quote(const std::string& s)
{
    return "'" + s + "'";
}

std::string Text(const std::string& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ConcurrentWriters, TwoProgramsAddMetersToOneBlockAndNothingIsLost)
{
    if (const std::string why = test::EngineUnavailable(Engine::Postgres); !why.empty())
        GTEST_SKIP() << why;
    test::TempDir dir;
    const test::TestDatabase shared(Engine::Postgres, "shared");
    test::ScriptedPrompter prompter;
    ASSERT_EQ(CreateInstallationSchema(shared.Name(), prompter), 1);
    {
        MeterDatabase db(prompter);
        ASSERT_EQ(db.OpenMain(shared.Connect()), 1);
        ASSERT_EQ(db.InsertHhu({1, "office"}), 1);
        ASSERT_EQ(db.InsertBlock({7, "shared", 1, 0x3200}), 1);
    }

    const std::string writer = std::string(MRV_BIN_DIR) + "/mrv-db-writer";
    std::string script;
    for (const char* tag : {"A", "B"})
        script += writer + " " + Quote(shared.Connect()) + " " + tag + " 7 40 8 >" +
                  Quote(dir.File(tag)) + " 2>&1 & ";
    script += "wait";
    {
        test::ServerTableLock lock(shared, "meter");
        ASSERT_EQ(lock.Error(), "");
        int status = -1;
        std::thread both([&] { status = std::system(script.c_str()); });
        // Both batches are open and writing at the same moment.
        EXPECT_EQ(lock.AwaitWaiting(2), 2);
        lock.Release();
        both.join();
        EXPECT_EQ(status, 0);
    }

    const std::string a = Text(dir.File("A"));
    const std::string b = Text(dir.File("B"));
    EXPECT_THAT(a, HasSubstr("meters 40\n"));
    EXPECT_THAT(b, HasSubstr("meters 40\n"));
    // Block 8: one program adds it, the other is refused with the database's own words.
    const bool aFirst = a.find("block 1\n") != std::string::npos;
    const std::string& second = aFirst ? b : a;
    EXPECT_THAT(aFirst ? a : b, HasSubstr("block 1\n"));
    EXPECT_THAT(second, HasSubstr("block 0\n"));
    EXPECT_THAT(second, HasSubstr("ERROR:  duplicate key value violates unique "
                                  "constraint \"district_pkey\""));
    EXPECT_EQ(shared.Query("select district_name from district where district_id = 8"),
              (test::Rows{{aFirst ? "from A" : "from B"}}));

    EXPECT_EQ(shared.Query("select count(*), count(distinct property_num) from meter "
                           "where district_id = 7"),
              (test::Rows{{"80", "80"}}));
    EXPECT_EQ(shared.Query("select min(property_num), max(property_num) from meter"),
              (test::Rows{{"A01", "B40"}}));
}

} // namespace
} // namespace mrv
