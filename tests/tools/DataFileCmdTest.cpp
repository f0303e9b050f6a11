// mrvctl download, show, import and convert, run as processes on a demo installation: the
// whole road from the database to an HHU file, its readings, the energy table and dBase.
#include "support/ToolRun.h"

#include "datafile/DataFileParameters.h"
#include "datafile/HhuDataFile.h"
#include "datafile/ParameterBlock.h"
#include "doc/QtSettingsStore.h"

#include "support/TempDir.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace mrv {
namespace {

using test::TempDir;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using test::Quote;
using CmdResult = test::ToolRun;

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a shell command line with stdout and stderr kept apart.
CmdResult Shell(const std::string& command)
{
    return test::RunTool(command);
}

std::string Mrvctl()
{
    return Quote(std::string(MRV_BIN_DIR) + "/mrvctl");
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Four BCD bytes, least significant first, of a value in hundredths.
void PutBcd(EnergyBlock& block, int slot, unsigned hundredths)
{
    for (int i = 0; i < 4; ++i) {
        const unsigned two = hundredths % 100;
        hundredths /= 100;
        block[static_cast<std::size_t>(4 * slot + i)] =
            static_cast<std::uint8_t>(two / 10 << 4 | two % 10);
    }
}

EnergyBlock Energies(unsigned total, unsigned t1, unsigned t2, unsigned t3, unsigned t4)
{
    EnergyBlock b{};
    PutBcd(b, 0, total);
    PutBcd(b, 1, t1);
    PutBcd(b, 2, t2);
    PutBcd(b, 3, t3);
    PutBcd(b, 4, t4);
    return b;
}

std::string Python()
{
    // Debian's interpreter carries python3-dbfread; another python3 first in PATH may not.
    return std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
}

class DataFileCmdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = dir.File("demo.db");
        profile = dir.File("profile.ini");
        ASSERT_EQ(Shell(Mrvctl() + " initdb --installation " + Quote(db) + " --demo").status, 0);
        // Parameters that differ from the defaults, so the file shows they came from here.
        DataFileParameters p;
        p.readKwh = {1, 0, 0x05}; // energy only; tariffs 1 and 3
        p.constant = {0x00, 0x16, 0x00};
        p.dayTable[0] = {1, 30, 8}; // T1 from 08:30, kept as the binary numbers 8 and 30
        {
            QtSettingsStore store(QString::fromStdString(profile));
            SaveDataFileParameters(store, p);
            ASSERT_TRUE(store.Sync());
        }
        QtSettingsStore store(QString::fromStdString(profile));
        BuildParameterBlock(LoadDataFileParameters(store), expectedParameters);
    }

    // Runs a Python script on a file we wrote: an independent reader.
    CmdResult ReadWithPython(const std::string& script, const std::string& file)
    {
        const std::string path = dir.File("read.py");
        std::ofstream(path) << script;
        return Shell(Python() + " " + Quote(path) + " " + Quote(file));
    }

    TempDir dir;
    std::string db;
    std::string profile;
    ParameterBlock expectedParameters{};
};

TEST_F(DataFileCmdTest, DownloadShowImportConvert)
{
    const std::string out = dir.File("dl");
    std::filesystem::create_directory(out);

    // download: HHU 1 has three Blocks of 60, 42 and 30 meters.
    CmdResult r = Shell(Mrvctl() + " download --db " + Quote(db) + " --hhu 1 --dir " + Quote(out) +
                        " --profile " + Quote(profile));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string file = out + "/0001.dbf";
    EXPECT_EQ(r.out, file + "\n");
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(std::filesystem::file_size(file), 5343u + 179u * 132u);
    {
        const std::string bytes = ReadText(file);
        EXPECT_EQ(bytes.substr(8, 61),
                  std::string(expectedParameters.begin(), expectedParameters.end()));
    }
    r = Shell(Mrvctl() + " download --db " + Quote(db) + " --hhu 1 --stored --dir " + Quote(out) +
              " --profile " + Quote(profile));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, out + "/0001S.dbf\n");

    // show of the file as written: nothing read yet.
    r = Shell(Mrvctl() + " show " + Quote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Kind: plain\n"));
    EXPECT_THAT(r.out, HasSubstr("  format          0x86\n"));
    EXPECT_THAT(r.out, HasSubstr("  readFlags       0x01 Energy\n"));
    EXPECT_THAT(r.out, HasSubstr("  constant        1600\n"));
    EXPECT_THAT(r.out, HasSubstr("  tariffMask      0x05\n"));
    EXPECT_THAT(r.out, HasSubstr("  resetDay        01/00(dd/hh)\n"));
    EXPECT_THAT(r.out, HasSubstr("  dayTable        T1@08:30 T3@00:00 T3@00:00 T3@00:00 "
                                 "T3@00:00 T3@00:00 T3@00:00 T3@00:00\n"));
    EXPECT_THAT(r.out, HasSubstr("Blocks: 3\n"
                                 "  1. Garden Court  Constant: 3200  First: 1  Meters: 60\n"
                                 "  2. Mill Lane  Constant: 1600  First: 61  Meters: 42\n"
                                 "  3. 幸福小区  Constant: 3200  First: 103  Meters: 30\n"
                                 "Readings: 132\n"));
    const std::vector<std::string> lines = Lines(r.out);
    const auto titles = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
        return l.find("Meter ID2") != std::string::npos;
    });
    ASSERT_NE(titles, lines.end());
    EXPECT_EQ(*titles, "    No.  Meter ID      Meter ID2           Date        T1 E        T3 E"
                       "     Total E     LM T1 E     LM T3 E  LM Total E");
    ASSERT_EQ(lines.end() - titles, 133);
    // Meter "01" with ID2 202610100107: bytes 4..9 are 01 00 '2' '0' '2' '6'.
    EXPECT_EQ(titles[1], "      1  363230320001  202610100107");

    // Readings taken into the file, as the Reading wizard stores them.
    {
        HhuDataFile data;
        ASSERT_EQ(data.Load(file), 1);
        FixedClock clock(PcTime{2026, 12, 5, 14, 30, 0});
        data.SetClock(&clock);
        ASSERT_EQ(data.StoreReading(0, Energies(123456, 1, 200, 300, 400),
                                    Energies(99999999, 5, 6, 7, 8)),
                  1);
        ASSERT_EQ(data.StoreReading(61, Energies(5000, 1000, 2000, 3000, 4000), EnergyBlock{}), 1);
    }
    r = Shell(Mrvctl() + " show " + Quote(file));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\n      1  363230320001  202610100107    26/12/05        0.01"
                                 "        3.00     1234.56        0.05        0.07   999999.99\n"));
    EXPECT_THAT(r.out, HasSubstr("\n     62  363230320002  202610200114    26/12/05       10.00"
                                 "       30.00       50.00        0.00        0.00        0.00\n"));

    // import: the energy database is created with its table. What it prints is the same in a
    // Chinese session: scripts read it.
    const std::string energy = dir.File("energy.db");
    r = Shell("LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8 LANGUAGE=zh_CN " + Mrvctl() + " import " + Quote(file) +
              " --energy-db " + Quote(energy));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Input result: Total input 2 records!\nStored into " + energy + "\n");
    {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "energycheck");
        c.setDatabaseName(QString::fromStdString(energy));
        ASSERT_TRUE(c.open());
        QSqlQuery q("select meter_num, datestr, dbk, dbk0, dbk1, dbk2, dbkp, dbkp0, dbkp1, dbkp2 "
                    "from energy order by rowid",
                    c);
        std::vector<std::string> rows;
        while (q.next()) {
            std::string row =
                q.value(0).toString().toStdString() + " " + q.value(1).toString().toStdString();
            for (int i = 2; i < 10; ++i)
                row += " " + QString::number(q.value(i).toDouble(), 'f', 2).toStdString();
            rows.push_back(row);
        }
        EXPECT_THAT(rows,
                    ElementsAre("202610100107 26-12-05 1234.56 0.01 2.00 3.00 999999.99 0.05 "
                                "0.06 0.07",
                                "202610200114 26-12-05 50.00 10.00 20.00 30.00 0.00 0.00 0.00 "
                                "0.00"));
        c.close();
    }
    QSqlDatabase::removeDatabase("energycheck");

    // A row the database refuses: the question is answered No, the import stops, exit 1.
    const std::string refusing = dir.File("refusing.db");
    ASSERT_EQ(Shell(Mrvctl() + " initdb --energy " + Quote(refusing)).status, 0);
    {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "trigger");
        c.setDatabaseName(QString::fromStdString(refusing));
        ASSERT_TRUE(c.open());
        QSqlQuery q(c);
        ASSERT_TRUE(q.exec("create trigger refuse before insert on energy begin "
                           "select raise(abort, 'refused'); end"));
        c.close();
    }
    QSqlDatabase::removeDatabase("trigger");
    r = Shell(Mrvctl() + " import " + Quote(file) + " --energy-db " + Quote(refusing));
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("Continue?\nInput result: Total input 0 records!\n"));

    // convert with the configuration beside the program, read back by an independent reader.
    const std::string dbf = dir.File("convert.dbf");
    r = Shell(Mrvctl() + " convert " + Quote(file) + " --out " + Quote(dbf));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "File Convertion Succeed!(convert.dbf)\n");
    const std::string script =
        "import sys, dbfread\n"
        "t = dbfread.DBF(sys.argv[1], encoding='gbk')\n"
        "print(len(t))\n"
        "for f in t.fields: print(f.name, f.type, f.length, f.decimal_count)\n"
        "rows = list(t)\n"
        "for i in (0, 1, 61): print(list(rows[i].values()))\n";
    r = ReadWithPython(script, dbf);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(Lines(r.out),
                ElementsAre("132", "METERNO C 2 0", "METERID2 C 12 0", "READ C 3 0", "TOTAL N 10 2",
                            "T1 N 10 2", "T2 N 10 2", "T4 N 10 2", "LMTOTAL N 10 2", "LMT1 N 10 2",
                            "LMT2 N 10 2", "LMT3 N 10 2", "LMT4 N 10 2", "READDATE C 8 0",
                            "MULTIPLY N 4 0", "CONSTANT N 5 0",
                            "['01', '202610100107', 'Yes', 1234.56, 0.01, 2.0, 4.0, 999999.99, "
                            "0.05, 0.06, 0.07, 0.08, '26/12/05', 1, None]",
                            "['02', '202610100114', 'no', None, None, None, None, None, None, "
                            "None, None, None, '', 1, None]",
                            "['02', '202610200114', 'Yes', 50.0, 10.0, 20.0, 40.0, 0.0, 0.0, "
                            "0.0, 0.0, 0.0, '26/12/05', 1, None]"));

    // Columns too narrow for some values: a number is written whole or as stars, never cut,
    // and the message counts the stars.
    const std::string narrow = dir.File("narrow.cfg");
    std::ofstream(narrow) << "***DBF_K0_M = TOTAL\n***DBF_KP0_M = LMTOTAL\n***DBF_K1_M = T1\n"
                             "TOTAL, N, 6, 2\nLMTOTAL, N, 9, 2\nT1, N, 3, 1\n";
    r = Shell(Mrvctl() + " convert " + Quote(file) + " --out " + Quote(dbf) + " --config " +
              Quote(narrow));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "File Convertion Succeed!(convert.dbf)\n"
                     "2 values were too wide for their fields and show as \"*\".\n");
    const std::string rawScript =
        "import sys, dbfread\n"
        "for raw in (False, True):\n"
        "    rows = list(dbfread.DBF(sys.argv[1], raw=raw))\n"
        "    for i in (0, 61): print(list(rows[i].values()))\n";
    r = ReadWithPython(rawScript, dbf);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(Lines(r.out), ElementsAre("[None, 999999.99, 0.0]", "[50.0, 0.0, None]",
                                          "[b'******', b'999999.99', b'0.0']",
                                          "[b' 50.00', b'     0.00', b'***']"));
}

TEST_F(DataFileCmdTest, FailuresExitOneWithTheProgramsMessage)
{
    const std::string out = dir.File("dl");
    std::filesystem::create_directory(out);
    std::ofstream(dir.File("not-a-data-file.dbf")) << "hello";
    const std::string notData = Quote(dir.File("not-a-data-file.dbf"));
    // An HHU without Blocks gets no file.
    const std::string noMeters = " download --db " + Quote(db) + " --hhu 77 --dir " + Quote(out) +
                                 " --profile " + Quote(profile);
    struct Case {
        std::string args;
        std::string err;
    } cases[] = {
        {noMeters, "No meter, Don't Create Data File\n"},
        {" download --db " + Quote(dir.File("missing.db")) + " --hhu 1 --dir " + Quote(out),
         "mrvctl download: no database " + dir.File("missing.db") + "\n"},
        {" download --db " + Quote(db) + " --hhu 1 --dir " + Quote(dir.File("nodir")) +
             " --profile " + Quote(profile),
         "mrvctl download: --dir " + dir.File("nodir") + " is not a folder\n"},
        // A refused file says why.
        {" show " + notData,
         "error: Not Correct Data File!\n(the file is shorter than the fixed areas of a data "
         "file)\n"},
        {" import " + notData + " --energy-db " + Quote(dir.File("e.db")),
         "error: Not Correct Data File!\n(the file is shorter than the fixed areas of a data "
         "file)\n"},
        {" convert " + notData + " --out " + Quote(dir.File("x.dbf")) + " --config " +
             Quote(dir.File("missing.cfg")),
         "error: File Convertion Fail!\nCan't read " + dir.File("missing.cfg") + ": " +
             std::strerror(ENOENT) + ".\n"},
    };
    for (const Case& c : cases) {
        const CmdResult r = Shell(Mrvctl() + c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.err, c.err) << c.args;
    }
    EXPECT_TRUE(std::filesystem::is_empty(out));
    EXPECT_FALSE(std::filesystem::exists(dir.File("e.db"))); // a refused file imports nothing
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.dbf")));
}

// Runs statements on the demo database from outside the program.
void Sql(const std::string& path, std::initializer_list<const char*> statements)
{
    {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "edit");
        c.setDatabaseName(QString::fromStdString(path));
        ASSERT_TRUE(c.open());
        QSqlQuery q(c);
        for (const char* statement : statements)
            ASSERT_TRUE(q.exec(statement)) << statement;
        c.close();
    }
    QSqlDatabase::removeDatabase("edit");
}

TEST_F(DataFileCmdTest, DownloadWritesNoFileThatWouldMissMetersOrAfterAFailure)
{
    const std::string out = dir.File("dl");
    std::filesystem::create_directory(out);
    const std::string download = Mrvctl() + " download --db " + Quote(db) + " --hhu 1 --dir " +
                                 Quote(out) + " --profile " + Quote(profile);
    // A Block with the id 0 and two meters: 134 meters, none may go missing from the file.
    Sql(db, {"insert into district(district_id, district_name, land_id, district_para) "
             "values(0, 'Old yard', 1, 12800)",
             "insert into meter(meter_num, property_num, meter_address, district_id) "
             "values('01', 'X1', 'Yard 1', 0), ('02', 'X2', 'Yard 2', 0)"});
    CmdResult r = Shell(download);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Blocks with an id below 1 can't go into a data file: \"Old yard\" (id 0). "
                     "Give each an id from 1 to 9999. Can't Create Data File\n");
    EXPECT_TRUE(std::filesystem::is_empty(out));

    // A database without its Block table: its error, and nothing after it.
    Sql(db, {"drop table district"});
    r = Shell(download);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "no such table: district\n");
    EXPECT_TRUE(std::filesystem::is_empty(out));
}

TEST_F(DataFileCmdTest, UsageErrorsExitTwo)
{
    const std::string cases[] = {
        " download --hhu 1 --dir .",
        " download --db x --hhu 0 --dir .",
        " download --db x --hhu 1x --dir .",
        " download --db x --hhu 1 --dir . extra",
        " download --db x --hhu 1 --dir . --hhu 2",
        " download --db x --hhu 1 --dir",
        " show",
        " show a b",
        " show --stored a",
        " import a",
        " import --energy-db e",
        " convert",
        " convert a --out",
    };
    for (const std::string& args : cases) {
        const CmdResult r = Shell(Mrvctl() + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_THAT(r.err, HasSubstr("usage: mrvctl")) << args;
    }
    const CmdResult help = Shell(Mrvctl() + " convert --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("usage: mrvctl convert FILE"));
}


// What an office relies on: odd database names, a file imported once, damaged records left
// out, all or nothing, and a download that never loses readings in silence.
class OfficeCmdTest : public DataFileCmdTest {
protected:
    // HHU 1's download file in `folder` with two readings stored into it.
    std::string ReadFile(const std::string& folder)
    {
        std::filesystem::create_directories(folder);
        const CmdResult r = Shell(Mrvctl() + " download --db " + Quote(db) +
                                  " --hhu 1 --replace --dir " + Quote(folder) + " --profile " +
                                  Quote(profile));
        EXPECT_EQ(r.status, 0) << r.err;
        const std::string file = folder + "/0001.dbf";
        HhuDataFile data;
        EXPECT_EQ(data.Load(file), 1);
        FixedClock clock(PcTime{2026, 12, 5, 14, 30, 0});
        data.SetClock(&clock);
        EXPECT_EQ(data.StoreReading(0, Energies(123456, 1, 2, 3, 4), EnergyBlock{}), 1);
        EXPECT_EQ(data.StoreReading(1, Energies(5000, 1, 2, 3, 4), EnergyBlock{}), 1);
        return file;
    }
    CmdResult Import(const std::string& file, const std::string& energy,
                     const std::string& more = "")
    {
        return Shell(Mrvctl() + " import " + Quote(file) + " --energy-db " + Quote(energy) + more);
    }
    int Count(const std::string& energy, const std::string& sql = "select count(*) from energy")
    {
        int n = -1;
        {
            QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "count");
            c.setDatabaseName(QString::fromStdString(energy));
            if (c.open()) {
                QSqlQuery q(QString::fromStdString(sql), c);
                if (q.next())
                    n = q.value(0).toInt();
            }
            c.close();
        }
        QSqlDatabase::removeDatabase("count");
        return n;
    }
};

TEST_F(OfficeCmdTest, ADatabaseNameIsAFileNameWhateverItHolds)
{
    const std::string file = ReadFile(dir.File("up"));
    for (const std::string name : {"x;y}z.db", "a=b {c}.db", "东区;数据.db"}) {
        SCOPED_TRACE(name);
        const std::string energy = dir.File(name);
        const CmdResult r = Import(file, energy);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Count(energy), 2);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("a")));
    // A download reads the installation of that very name.
    const std::string odd = dir.File("inst;v}2.db");
    std::filesystem::copy_file(db, odd);
    const CmdResult r = Shell(Mrvctl() + " download --db " + Quote(odd) + " --hhu 2 --dir " +
                              Quote(dir.Path().string()) + " --profile " + Quote(profile));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("inst")));
}

TEST_F(OfficeCmdTest, AFileIsImportedOnceUnlessAgainIsGiven)
{
    const std::string file = ReadFile(dir.File("up"));
    const std::string energy = dir.File("energy.db");
    ASSERT_EQ(Import(file, energy).status, 0);
    CmdResult r = Import(file, energy);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("0001.dbf was imported into this database on "));
    EXPECT_THAT(r.err, HasSubstr("(--again imports it again)"));
    EXPECT_EQ(Count(energy), 2);
    r = Import(file, energy, " --again");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Count(energy), 4);
    EXPECT_EQ(Count(energy, "select times from imported_file"), 2);
}

TEST_F(OfficeCmdTest, DamagedRecordsAreLeftOutAndNamed)
{
    const std::string file = ReadFile(dir.File("up"));
    // One byte of the first reading's total changed on the way: digits and check byte wrong.
    {
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(5335 + 72);
        f.put(static_cast<char>(0xab));
    }
    const std::string energy = dir.File("energy.db");
    CmdResult r = Import(file, energy);
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_THAT(r.err, HasSubstr("Total input 1 records!\n1 damaged record(s) were not stored:\n"
                                 "  202610100107: the check byte does not match"));
    EXPECT_THAT(r.err, HasSubstr("energy digits are not decimal (Total E: 56 34 ab 00)"));
    EXPECT_EQ(Count(energy), 1);
    // Asked for explicitly: stored (the file counts as imported already).
    r = Import(file, energy, " --damaged --again");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Count(energy, "select count(*) from energy where meter_num = '202610100107'"), 1);
}

TEST_F(OfficeCmdTest, AllOrNothingStoresNothingWhenARowIsRefused)
{
    const std::string file = ReadFile(dir.File("up"));
    const std::string energy = dir.File("energy.db");
    ASSERT_EQ(Shell(Mrvctl() + " initdb --energy " + Quote(energy)).status, 0);
    {
        QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "trigger");
        c.setDatabaseName(QString::fromStdString(energy));
        ASSERT_TRUE(c.open());
        QSqlQuery q(c);
        ASSERT_TRUE(q.exec("create trigger refuse before insert on energy when "
                           "new.meter_num = '202610100114' begin "
                           "select raise(abort, 'refused'); end"));
        c.close();
    }
    QSqlDatabase::removeDatabase("trigger");
    CmdResult r = Import(file, energy, " --all-or-nothing");
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr("refused the reading of meter 202610100114: nothing of this "
                                 "file was stored."));
    EXPECT_EQ(Count(energy), 0);
    // Without it the question is answered No and the row before stays, as ever.
    r = Import(file, energy);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Count(energy), 1);
}

TEST_F(OfficeCmdTest, ADownloadNeverReplacesReadingsWithoutReplace)
{
    const std::string folder = dir.File("dl");
    const std::string file = ReadFile(folder);
    const std::string before = ReadText(file);
    const std::string download = Mrvctl() + " download --db " + Quote(db) + " --hhu 1 --dir " +
                                 Quote(folder) + " --profile " + Quote(profile);
    CmdResult r = Shell(download);
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.err, HasSubstr(file + " holds 2 readings"));
    EXPECT_THAT(r.err, HasSubstr("was left as it is (--replace replaces it)"));
    EXPECT_EQ(ReadText(file), before);
    r = Shell(download + " --replace");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(ReadText(file), before);
    // A file without readings is replaced as before.
    r = Shell(download);
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(OfficeCmdTest, ABackslashIsPartOfAFolderName)
{
    // 'sub\' is a folder name of its own here, not "sub" and a separator.
    const CmdResult missing = Shell("cd " + Quote(dir.Path().string()) + " && " + Mrvctl() +
                                    " download --db " + Quote(db) + " --hhu 1 --dir 'sub\\'" +
                                    " --profile " + Quote(profile));
    EXPECT_EQ(missing.status, 1);
    EXPECT_THAT(missing.err, HasSubstr("--dir sub\\ is not a folder"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("sub\\0001.dbf")));
    std::filesystem::create_directory(dir.File("sub\\"));
    const CmdResult r = Shell("cd " + Quote(dir.Path().string()) + " && " + Mrvctl() +
                              " download --db " + Quote(db) + " --hhu 1 --dir 'sub\\'" +
                              " --profile " + Quote(profile));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "sub\\/0001.dbf\n");
    EXPECT_TRUE(std::filesystem::exists(dir.File("sub\\") + "/0001.dbf"));
}

} // namespace
} // namespace mrv
