// mrvctl on a PostgreSQL server, as processes: the same installation gives the same download
// file as from a database file, the same upload the same energy rows, and two imports at once
// into one energy database store every row of both.
#include "support/ToolRun.h"

#include "base/Clock.h"
#include "datafile/HhuDataFile.h"
#include "db/DatabaseBackend.h"

#include "support/TempDir.h"
#include "support/TestDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace mrv {
namespace {

using test::Engine;
using test::Quote;
using test::TempDir;
using test::TestDatabase;
using ::testing::StartsWith;

std::string Mrvctl()
{
    return Quote(std::string(MRV_BIN_DIR) + "/mrvctl");
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Four BCD bytes, least significant first, of a value in hundredths.
void PutBcd(EnergyBlock& block, int slot, unsigned hundredths)
{
    for (int i = 0; i < 4; ++i) {
        const unsigned two = hundredths % 100;
        hundredths /= 100;
        block[std::size_t(4 * slot + i)] = std::uint8_t(two / 10 << 4 | two % 10);
    }
}

// Every meter of the data file read, with values that differ from meter to meter.
int ReadEveryMeter(const std::string& path)
{
    HhuDataFile file;
    if (!file.Load(path))
        return -1;
    FixedClock clock(PcTime{2026, 12, 5, 14, 30, 0});
    file.SetClock(&clock);
    const int n = file.ReadingCount();
    for (int i = 0; i < n; ++i) {
        EnergyBlock now{}, lastMonth{};
        for (int slot = 0; slot < 5; ++slot) {
            PutBcd(now, slot, unsigned(100000 + 137 * i + slot));
            PutBcd(lastMonth, slot, unsigned(90000 + 71 * i + slot));
        }
        if (file.StoreReading(i, now, lastMonth) != 1)
            return -1;
    }
    return n;
}

// The energy rows in the order they were stored, numbers with two decimals.
std::vector<std::string> EnergyRows(const TestDatabase& db)
{
    std::vector<std::string> rows;
    for (const auto& r : db.Query("select datestr, meter_num, dbk0, dbk1, dbk2, dbk, dbkp0, "
                                  "dbkp1, dbkp2, dbkp from energy order by rowid")) {
        std::string row = r.at(0) + " " + r.at(1);
        for (std::size_t i = 2; i < r.size(); ++i) {
            char n[64];
            std::snprintf(n, sizeof n, " %.2f", std::strtod(r[i].c_str(), nullptr));
            row += n;
        }
        rows.push_back(row);
    }
    return rows;
}

class ServerDbCmdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string why = test::EngineUnavailable(Engine::Postgres); !why.empty())
            GTEST_SKIP() << why;
        profile = dir.File("profile.ini");
        std::ofstream(profile).put('\n'); // the default parameters
    }

    // `mrvctl initdb --installation DB --demo`.
    void Demo(const std::string& db)
    {
        const test::ToolRun r =
            test::RunTool(Mrvctl() + " initdb --installation " + Quote(db) + " --demo");
        ASSERT_EQ(r.status, 0) << r.err;
    }

    // `mrvctl download` of one HHU into `folder`; the file written.
    std::string Download(const std::string& db, int hhu, const std::string& folder, bool stored)
    {
        std::filesystem::create_directories(folder);
        const test::ToolRun r = test::RunTool(
            Mrvctl() + " download --db " + Quote(db) + " --hhu " + std::to_string(hhu) +
            (stored ? " --stored" : "") + " --dir " + Quote(folder) + " --profile " +
            Quote(profile));
        EXPECT_EQ(r.status, 0) << r.err;
        std::string written = r.out;
        while (!written.empty() && written.back() == '\n')
            written.pop_back();
        return written;
    }

    TempDir dir;
    std::string profile;
};

TEST_F(ServerDbCmdTest, ServerAndFileGiveTheSameDownloadFilesAndEnergyRows)
{
    const std::string file = dir.File("inst.db");
    const TestDatabase server(Engine::Postgres, "inst");
    Demo(file);
    Demo(server.Name());

    for (const auto& [hhu, stored] : {std::pair{1, false}, {2, true}, {3, false}}) {
        SCOPED_TRACE("HHU " + std::to_string(hhu));
        const std::string fromFile = Download(file, hhu, dir.File("file"), stored);
        const std::string fromServer = Download(server.Name(), hhu, dir.File("server"), stored);
        ASSERT_FALSE(fromFile.empty());
        ASSERT_FALSE(fromServer.empty());
        const std::string bytes = Bytes(fromFile);
        EXPECT_GT(bytes.size(), 5343u);
        EXPECT_TRUE(bytes == Bytes(fromServer)) << fromFile << " differs from " << fromServer;
    }

    // The same upload into an energy file and into a server's energy database.
    const std::string upload = dir.File("file/0001.dbf");
    const int read = ReadEveryMeter(upload);
    ASSERT_EQ(read, 132);
    const TestDatabase energyFile(Engine::Sqlite, "energy");
    const TestDatabase energyServer(Engine::Postgres, "energy");
    for (const TestDatabase* energy : {&energyFile, &energyServer}) {
        const test::ToolRun r = test::RunTool(Mrvctl() + " import " + Quote(upload) +
                                              " --energy-db " + Quote(energy->Name()));
        EXPECT_EQ(r.status, 0) << r.err;
        // The database is named without a password.
        EXPECT_EQ(r.err, "Input result: Total input 132 records!\nStored into " +
                             ParseDatabaseTarget(ConnectStringFor(energy->Name())).Describe() +
                             "\n");
    }
    const std::vector<std::string> rows = EnergyRows(energyFile);
    ASSERT_EQ(rows.size(), 132u);
    EXPECT_EQ(rows[0], "26-12-05 202610100107 1000.01 1000.02 1000.03 1000.00 900.01 900.02 "
                       "900.03 900.00");
    EXPECT_EQ(EnergyRows(energyServer), rows);
}

// The test holds a lock that makes every insert into `energy` wait, so both imports are in
// the middle of their transactions at the same moment before it lets them go on.
TEST_F(ServerDbCmdTest, TwoImportsAtOnceStoreEveryRowOfBoth)
{
    const std::string inst = dir.File("inst.db");
    Demo(inst);
    const std::string first = Download(inst, 1, dir.File("up"), false);
    const std::string second = Download(inst, 2, dir.File("up"), false);
    ASSERT_EQ(ReadEveryMeter(first), 132);
    ASSERT_EQ(ReadEveryMeter(second), 84);

    const TestDatabase energy(Engine::Postgres, "energy");
    ASSERT_EQ(test::RunTool(Mrvctl() + " initdb --energy " + Quote(energy.Name())).status, 0);
    {
        test::ServerTableLock lock(energy, "energy");
        ASSERT_EQ(lock.Error(), "");
        const std::string url = Quote(energy.Name());
        const std::string script =
            "(" + Mrvctl() + " import " + Quote(first) + " --energy-db " + url + " 2>" +
            Quote(dir.File("err1")) + "; echo $? >" + Quote(dir.File("status1")) + ") & (" +
            Mrvctl() + " import " + Quote(second) + " --energy-db " + url + " 2>" +
            Quote(dir.File("err2")) + "; echo $? >" + Quote(dir.File("status2")) + ") & wait";
        test::ToolRun both;
        std::thread imports([&] { both = test::RunTool(script); });
        // Both are waiting inside their transactions: they run at the same time.
        EXPECT_EQ(lock.AwaitWaiting(2), 2);
        lock.Release();
        imports.join();
        EXPECT_EQ(both.status, 0);
    }

    EXPECT_EQ(Bytes(dir.File("status1")), "0\n") << Bytes(dir.File("err1"));
    EXPECT_EQ(Bytes(dir.File("status2")), "0\n") << Bytes(dir.File("err2"));
    EXPECT_THAT(Bytes(dir.File("err1")), StartsWith("Input result: Total input 132 records!\n"));
    EXPECT_THAT(Bytes(dir.File("err2")), StartsWith("Input result: Total input 84 records!\n"));

    // Every row of both files, each file's rows in its own order.
    std::vector<std::string> expected;
    for (const std::string& f : {first, second}) {
        HhuDataFile data;
        ASSERT_EQ(data.Load(f), 1);
        for (const ReadingRecord& r : data.GetReadings())
            expected.push_back(r.meterId2);
    }
    std::vector<std::string> stored;
    for (const auto& r : energy.Query("select meter_num from energy order by meter_num, rowid"))
        stored.push_back(r.at(0));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(stored, expected);
}

} // namespace
} // namespace mrv

namespace mrv {
namespace {

// A password written into a server's URL is never printed back, whatever fails.
TEST_F(ServerDbCmdTest, APasswordInTheUrlIsNeverPrinted)
{
    const test::ServerAccess s = *test::TestServer();
    const std::string secret = "Sesame-4711";
    // A database that does not exist, and one that exists but has a table of another kind.
    const TestDatabase inst(Engine::Postgres, "inst");
    ASSERT_EQ(test::RunTool(Mrvctl() + " initdb --installation " + Quote(inst.Name())).status, 0);
    std::string existing = inst.Name();
    existing.insert(std::string("postgresql://").size() + s.user.size(), ":" + secret);
    std::string missing = ServerUrl(s.host, s.port, "mrv_no_such_db", s.user);
    missing.insert(std::string("postgresql://").size() + s.user.size(), ":" + secret);
    for (const std::string& command :
         {" initdb --energy " + Quote(missing), " initdb --energy " + Quote(existing),
          " import " + Quote(dir.File("none.dbf")) + " --energy-db " + Quote(missing),
          " download --db " + Quote(missing) + " --hhu 1 --dir " + Quote(dir.Path().string())}) {
        SCOPED_TRACE(command);
        const test::ToolRun r = test::RunTool(Mrvctl() + command);
        EXPECT_NE(r.status, 0);
        EXPECT_EQ((r.out + r.err).find(secret), std::string::npos) << r.out << r.err;
    }
}

} // namespace
} // namespace mrv
