// Importing the readings of a data file into an energy database.
#include "doc/EnergyImport.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "support/DecimalCommaLocale.h"
#include "support/ScriptedPrompter.h"
#include "support/TestDatabase.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <optional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace mrv::test {
namespace {

using ::testing::ElementsAre;

ReadingRecord Reading(std::string id2, std::int32_t status, double total = 1.0)
{
    ReadingRecord r;
    r.meterId2 = std::move(id2);
    r.status = status;
    r.energy = {total, 1.11, 2.22, 3.33, 4.44};
    r.lmEnergy = {total + 0.01, 5.55, 6.66, 7.77, 8.88}; // the million rule applies here too
    r.readDate = {0x05, 0x12, 0x26};                     // 5 December 2026
    return r;
}

TEST(EnergyRecordOfAReading, DateMeterNumberAndTheMillionRule)
{
    struct Case {
        double total, stored;
    } cases[] = {{1000123.45, 123.45}, {999999.99, 999999.99}, {1000000.0, 0.0}, {0.0, 0.0}};
    for (const Case& c : cases) {
        ReadingRecord r = Reading("123456789012", 1, c.total);
        r.lmEnergy[0] = c.total;
        const EnergyRecord e = MakeEnergyRecord(r);
        EXPECT_NEAR(e.dbk, c.stored, 1e-6) << c.total;
        EXPECT_NEAR(e.dbkp, c.stored, 1e-6) << c.total;
    }
    const EnergyRecord e = MakeEnergyRecord(Reading("123456789012", 1, 1001000.0));
    EXPECT_EQ(e.datestr, "26-12-05");
    EXPECT_EQ(e.meter_num, "123456789012");
    // Tariffs are never reduced, whatever their size.
    ReadingRecord big = Reading("A", 1);
    big.energy[1] = 1500000.0;
    EXPECT_DOUBLE_EQ(MakeEnergyRecord(big).dbk0, 1500000.0);
    EXPECT_DOUBLE_EQ(e.dbk0, 1.11);
    EXPECT_DOUBLE_EQ(e.dbk2, 3.33);
    EXPECT_DOUBLE_EQ(e.dbkp2, 7.77);
}

class ImportTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (const std::string why = EngineUnavailable(GetParam()); !why.empty())
            GTEST_SKIP() << why;
        energy.emplace(GetParam(), "energy");
        ASSERT_EQ(CreateEnergySchema(energy->Name(), dbPrompter), 1);
        ASSERT_EQ(db.OpenEnergy(energy->Connect()), 1);
    }
    // Rows as "meter_num dbk dbk0 dbk1 dbk2 dbkp dbkp0 dbkp1 dbkp2 datestr", in insert order.
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        for (const auto& r : energy->Query("select meter_num, dbk, dbk0, dbk1, dbk2, dbkp, dbkp0, "
                                           "dbkp1, dbkp2, datestr from energy order by rowid")) {
            std::string row = r.at(0);
            for (int i = 1; i <= 8; ++i)
                row += " " + QString::number(
                                 QString::fromStdString(r.at(std::size_t(i))).toDouble(), 'f', 2)
                                 .toStdString();
            row += " " + r.at(9);
            rows.push_back(row);
        }
        return rows;
    }

    std::optional<TestDatabase> energy;
    ScriptedPrompter dbPrompter; // the database's own error reports
    ScriptedPrompter prompter;   // the import's questions and result
    MeterDatabase db{dbPrompter};
};

INSTANTIATE_TEST_SUITE_P(Engines, ImportTest, ::testing::ValuesIn(kAllEngines),
                         [](const auto& info) { return std::string(EngineName(info.param)); });

TEST_P(ImportTest, StoresEveryReadMeterAndReportsTheCount)
{
    const std::vector<ReadingRecord> readings = {Reading("A1", 1, 1000123.45), Reading("B2", 0),
                                                 Reading("C3", -1, 20.5)};
    EXPECT_EQ(ImportReadings(readings, db, prompter), 2);
    EXPECT_THAT(Rows(), ElementsAre("A1 123.45 1.11 2.22 3.33 123.46 5.55 6.66 7.77 26-12-05",
                                    "C3 20.50 1.11 2.22 3.33 20.51 5.55 6.66 7.77 26-12-05"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Total input 2 records!");
    EXPECT_EQ(prompter.messages[0].caption, "Input result");
}

TEST_P(ImportTest, NumbersAreStoredAlikeUnderADecimalCommaLocale)
{
    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    EXPECT_EQ(ImportReadings({Reading("A1", 1, 1000123.45)}, db, prompter), 1);
    EXPECT_THAT(Rows(), ElementsAre("A1 123.45 1.11 2.22 3.33 123.46 5.55 6.66 7.77 26-12-05"));
}

TEST_P(ImportTest, NothingReadImportsNothing)
{
    EXPECT_EQ(ImportReadings({Reading("A", 0), Reading("B", 0)}, db, prompter), 0);
    EXPECT_EQ(ImportReadings({}, db, prompter), 0);
    EXPECT_TRUE(Rows().empty());
    EXPECT_THAT(prompter.Texts(), ElementsAre("Total input 0 records!", "Total input 0 records!"));
}

TEST_P(ImportTest, AFailedRowAsksWhetherToGoOn)
{
    energy->RefuseInserts("energy", "meter_num", "BAD", "refused");
    const std::vector<ReadingRecord> readings = {
        Reading("A", 1), Reading("BAD", 1), Reading("C", 1), Reading("BAD", 1), Reading("E", 1)};
    prompter.answers = {MsgAnswer::Yes, MsgAnswer::No};
    EXPECT_EQ(ImportReadings(readings, db, prompter), 2);
    // The rows before the stop stay; the refused ones left nothing behind.
    const std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 2), "A ");
    EXPECT_EQ(rows[1].substr(0, 2), "C ");
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_EQ(prompter.messages[0].text, "Continue?");
    EXPECT_EQ(prompter.messages[0].caption, "");
    EXPECT_EQ(prompter.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(prompter.messages[2].text, "Total input 2 records!");
}

// A reader of the file, as another PC's query in the middle of its work: a transaction that
// has read and holds the file's shared lock until it goes, so that no commit can be written.
class FileReader {
public:
    explicit FileReader(const std::string& path) : m_name("import.reader")
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        c.setDatabaseName(QString::fromStdString(path));
        QSqlQuery q(c);
        m_reading = c.open() && c.transaction() &&
                    q.exec(QStringLiteral("select count(*) from energy")) && q.next();
    }
    ~FileReader()
    {
        {
            QSqlDatabase c = QSqlDatabase::database(m_name, false);
            c.rollback();
            c.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;
    bool Reading() const { return m_reading; }

private:
    QString m_name;
    bool m_reading = false;
};

// Every row goes in and then the commit fails: SQLite cannot have the file while a reader holds
// it past the busy time-out; the server refuses the rows in a check deferred to the commit.
TEST_P(ImportTest, AFailedCommitStoresNothingAndSaysSo)
{
    ASSERT_EQ(ImportReadings({Reading("EARLIER", 1)}, db, prompter), 1);
    const std::vector<std::string> before = Rows();
    ASSERT_EQ(before.size(), 1u);
    prompter.messages.clear();
    std::optional<FileReader> reader;
    if (GetParam() == Engine::Sqlite) {
        reader.emplace(energy->Name());
        ASSERT_TRUE(reader->Reading());
    } else {
        energy->Query("create function refuse_at_commit() returns trigger language plpgsql as "
                      "$$ begin raise exception 'refused at commit'; end $$");
        energy->Query("create constraint trigger refuse_at_commit after insert on energy "
                      "deferrable initially deferred for each row execute function "
                      "refuse_at_commit()");
    }
    const std::vector<ReadingRecord> readings = {Reading("A", 1), Reading("B", 1)};
    EXPECT_EQ(ImportReadings(readings, db, prompter), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, std::string(kImportUndone) + "\nTotal input 0 records!");
    EXPECT_EQ(prompter.messages[0].caption, "Input result");

    reader.reset();
    if (GetParam() == Engine::Postgres)
        energy->Query("drop trigger refuse_at_commit on energy");
    EXPECT_EQ(Rows(), before);
    // The failed transaction is over: the next import stores its rows.
    prompter.messages.clear();
    EXPECT_EQ(ImportReadings({Reading("C", 1)}, db, prompter), 1);
    EXPECT_EQ(Rows().size(), 2u);
}

// SQLite ends the whole transaction itself on some failures (a trigger's ROLLBACK, a full disk,
// an I/O error); a server undoes only the failed statement, to its savepoint.
class ImportOnSqliteTest : public ImportTest {};
INSTANTIATE_TEST_SUITE_P(Engines, ImportOnSqliteTest, ::testing::Values(Engine::Sqlite),
                         [](const auto& info) { return std::string(EngineName(info.param)); });

TEST_P(ImportOnSqliteTest, WhenTheDatabaseUndoesTheTransactionNothingOfTheFileIsStored)
{
    ASSERT_EQ(ImportReadings({Reading("EARLIER", 1)}, db, prompter), 1);
    const std::vector<std::string> before = Rows();
    ASSERT_EQ(before.size(), 1u);
    // A trigger that ends the whole transaction, as a full disk or an I/O error does.
    energy->RefuseInserts("energy", "meter_num", "BAD", "refused", "rollback");
    prompter.messages.clear();
    prompter.answers = {MsgAnswer::Yes, MsgAnswer::Yes}; // never asked
    const std::vector<ReadingRecord> readings = {
        Reading("A", 1), Reading("B", 1), Reading("BAD", 1), Reading("D", 1), Reading("E", 1)};
    EXPECT_EQ(ImportReadings(readings, db, prompter), 0);
    EXPECT_EQ(Rows(), before);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, std::string(kImportUndone) + "\nTotal input 0 records!");
    EXPECT_EQ(prompter.messages[0].caption, "Input result");
    // The database's own report of the failure came first.
    ASSERT_EQ(dbPrompter.messages.size(), 1u);
    EXPECT_EQ(dbPrompter.messages[0].text, "refused");

    // The connection is usable again: the next import runs in a transaction of its own.
    prompter.messages.clear();
    EXPECT_EQ(ImportReadings({Reading("F", 1)}, db, prompter), 1);
    EXPECT_EQ(Rows().size(), 2u);
}

// On a server the transaction ends with the session: the server closes it (a restart, an
// administrator, a lost network). The import must stop and keep nothing of the file there too.
class ImportOnServerTest : public ImportTest {};
INSTANTIATE_TEST_SUITE_P(Engines, ImportOnServerTest, ::testing::Values(Engine::Postgres),
                         [](const auto& info) { return std::string(EngineName(info.param)); });

TEST_P(ImportOnServerTest, WhenTheServerEndsTheSessionNothingOfTheFileIsStored)
{
    ASSERT_EQ(ImportReadings({Reading("EARLIER", 1)}, db, prompter), 1);
    const std::vector<std::string> before = Rows();
    ASSERT_EQ(before.size(), 1u);
    energy->Query("create function end_session() returns trigger language plpgsql as $$ begin "
                  "if new.meter_num = 'BAD' then perform pg_terminate_backend(pg_backend_pid()); "
                  "end if; return new; end $$");
    energy->Query("create trigger end_session before insert on energy for each row execute "
                  "function end_session()");
    prompter.messages.clear();
    prompter.answers = {MsgAnswer::Yes, MsgAnswer::Yes}; // never asked
    const std::vector<ReadingRecord> readings = {Reading("A", 1), Reading("B", 1),
                                                 Reading("BAD", 1), Reading("D", 1)};
    EXPECT_EQ(ImportReadings(readings, db, prompter), 0);
    EXPECT_EQ(Rows(), before);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, std::string(kConnectionLost) + "\nTotal input 0 records!");
    EXPECT_TRUE(dbPrompter.messages.empty()); // the one message says it all
}

// The session ends from outside while the rows are on their way (an administrator, a restart,
// a lost network): the user is told once, in plain words, that the connection was lost and
// that nothing of the file was stored.
TEST_P(ImportOnServerTest, ALostConnectionMidImportGivesOneMessageThatNothingWasStored)
{
    ASSERT_EQ(ImportReadings({Reading("EARLIER", 1)}, db, prompter), 1);
    const std::vector<std::string> before = Rows();
    prompter.messages.clear();
    std::vector<ReadingRecord> readings;
    for (int i = 0; i < 1500; ++i)
        readings.push_back(Reading("M" + std::to_string(i), 1));
    ImportOptions options;
    int calls = 0;
    options.progress = [&](int, int) {
        if (++calls == 1) // after the first statement of rows
            energy->Query("select pg_terminate_backend(pid) from pg_stat_activity where "
                          "datname = current_database() and pid <> pg_backend_pid()");
    };
    const ImportResult result = ImportDataFile(readings, db, prompter, options);
    EXPECT_EQ(result.stored, 0);
    EXPECT_TRUE(result.undone);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Rows(), before);
    // The import shares the window's prompter with the database: count both.
    std::vector<RecordedMessage> shown = dbPrompter.messages;
    shown.insert(shown.end(), prompter.messages.begin(), prompter.messages.end());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, std::string(kConnectionLost) + "\nTotal input 0 records!");
    EXPECT_EQ(shown[0].caption, "Input result");
}

} // namespace
} // namespace mrv::test

namespace mrv::test {
namespace {

// The import of a whole uploaded file: damaged records, a file imported before, all or
// nothing, and more rows than one statement carries.
class FileImportTest : public ImportTest {
protected:
    MeterDatabase::ImportedFile File(const std::string& hash = "f00d")
    {
        MeterDatabase::ImportedFile f;
        f.hash = hash;
        f.fileName = "0003.dbf";
        f.hhu = "0003";
        f.readTime = "26-12-05";
        f.importedAt = "2026-12-10 09:30:00";
        f.importedBy = "anna";
        return f;
    }
    std::vector<std::string> Meters()
    {
        std::vector<std::string> meters;
        for (const std::string& row : Rows())
            meters.push_back(row.substr(0, row.find(' ')));
        return meters;
    }
};
INSTANTIATE_TEST_SUITE_P(Engines, FileImportTest, ::testing::ValuesIn(kAllEngines),
                         [](const auto& info) { return std::string(EngineName(info.param)); });

TEST_P(FileImportTest, DamagedRecordsAreNamedAndLeftOutUnlessAskedFor)
{
    std::vector<ReadingRecord> readings = {Reading("A", 1), Reading("B", 1), Reading("C", 1)};
    readings[1].damage = "energy digits are not decimal (T1 E: 56 34 ab 12)";
    ImportOptions options;
    options.database = "/office/energy.db";
    const ImportResult left = ImportDataFile(readings, db, prompter, options);
    EXPECT_EQ(left.stored, 2);
    EXPECT_EQ(left.damagedLeft, 1);
    EXPECT_THAT(Meters(), ElementsAre("A", "C"));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Total input 2 records!\n1 damaged record(s) were not stored:\n  B: energy digits "
              "are not decimal (T1 E: 56 34 ab 12)\nStored into /office/energy.db");

    options.damaged = true;
    EXPECT_EQ(ImportDataFile({readings[1]}, db, prompter, options).stored, 1);
    EXPECT_THAT(Meters(), ElementsAre("A", "C", "B"));
}

TEST_P(FileImportTest, AFileImportedBeforeIsImportedAgainOnlyWhenTheUserSaysSo)
{
    ImportOptions options;
    options.file = File();
    const std::vector<ReadingRecord> readings = {Reading("A", 1), Reading("B", 1)};
    ASSERT_EQ(ImportDataFile(readings, db, prompter, options).stored, 2);
    EXPECT_THAT(energy->Query("select file_name, hhu, read_time, readings, imported_at, "
                              "imported_by, times from imported_file where file_hash = 'f00d'"),
                ElementsAre(ElementsAre("0003.dbf", "0003", "26-12-05", "2", "2026-12-10 09:30:00",
                                        "anna", "1")));

    // Asked, No by default: nothing stored twice.
    prompter.messages.clear();
    const ImportResult declined = ImportDataFile(readings, db, prompter, options);
    EXPECT_TRUE(declined.declined);
    EXPECT_EQ(declined.stored, 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(prompter.messages[0].text,
              "0003.dbf was imported into this database on 2026-12-10 09:30:00 by anna (2 "
              "readings). Importing it again stores its readings twice.\nImport it again?");
    EXPECT_EQ(Rows().size(), 2u);

    // Yes (or --again): stored again and counted.
    prompter.answers = {MsgAnswer::Yes};
    EXPECT_EQ(ImportDataFile(readings, db, prompter, options).stored, 2);
    options.again = true;
    EXPECT_EQ(ImportDataFile(readings, db, prompter, options).stored, 2);
    EXPECT_EQ(Rows().size(), 6u);
    EXPECT_EQ(energy->Query("select times from imported_file").at(0).at(0), "3");

    // Another file is another file.
    options.again = false;
    options.file = File("beef");
    prompter.messages.clear();
    EXPECT_EQ(ImportDataFile(readings, db, prompter, options).stored, 2);
    EXPECT_EQ(prompter.messages.size(), 1u); // only the result
}

TEST_P(FileImportTest, AFileWithNothingStoredIsNotRemembered)
{
    ImportOptions options;
    options.file = File();
    EXPECT_EQ(ImportDataFile({Reading("A", 0)}, db, prompter, options).stored, 0);
    EXPECT_TRUE(energy->Query("select * from imported_file").empty());
}

TEST_P(FileImportTest, AllOrNothingStoresNothingWhenARowIsRefused)
{
    energy->RefuseInserts("energy", "meter_num", "BAD", "refused");
    ImportOptions options;
    options.file = File();
    options.allOrNothing = true;
    const ImportResult r =
        ImportDataFile({Reading("A", 1), Reading("B", 1), Reading("BAD", 1), Reading("D", 1)}, db,
                       prompter, options);
    EXPECT_EQ(r.stored, 0);
    EXPECT_TRUE(r.refused);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(energy->Query("select * from imported_file").empty()); // may be tried again
    ASSERT_EQ(prompter.messages.size(), 1u);                           // never "Continue?"
    EXPECT_EQ(prompter.messages[0].text, "The database refused the reading of meter BAD: nothing "
                                         "of this file was stored.\nTotal input 0 records!");
}

TEST_P(FileImportTest, ARefusedRowInALargeFileStillAsksAboutThatRow)
{
    // More rows than one statement carries; the refused one in the second statement.
    std::vector<ReadingRecord> readings;
    for (int i = 0; i < 1200; ++i)
        readings.push_back(Reading(i == 700 ? "BAD" : "M" + std::to_string(i), 1));
    energy->RefuseInserts("energy", "meter_num", "BAD", "refused");
    int progressCalls = 0;
    ImportOptions options;
    options.progress = [&](int done, int total) {
        ++progressCalls;
        EXPECT_LE(done, total);
        EXPECT_EQ(total, 1200);
    };
    prompter.answers = {MsgAnswer::Yes};
    EXPECT_EQ(ImportDataFile(readings, db, prompter, options).stored, 1199);
    EXPECT_EQ(Rows().size(), 1199u);
    EXPECT_EQ(prompter.Texts().front(), "Continue?");
    EXPECT_EQ(progressCalls, 3);
    // The database's words for that row, once.
    ASSERT_EQ(dbPrompter.messages.size(), 1u);
    EXPECT_NE(dbPrompter.messages[0].text.find("refused"), std::string::npos);
}

TEST_P(FileImportTest, StoppedImportsStoreNothing)
{
    std::vector<ReadingRecord> readings(1200, Reading("A", 1));
    int asked = 0;
    ImportOptions options;
    options.stopped = [&] { return ++asked > 1; };
    const ImportResult r = ImportDataFile(readings, db, prompter, options);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.stored, 0);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(prompter.Texts().back(),
              "Input stopped: nothing of this file was stored.\nTotal input 0 records!");
}

} // namespace
} // namespace mrv::test
