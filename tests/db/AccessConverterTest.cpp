// The Access converter against files written by an independent Access writer
// (tests/fixtures/access, see tools/access-fixtures): every row it stores is compared with
// what mdb-export prints for the same file, on both engines.
#include "db/AccessConverter.h"
#include "db/Schema.h"

#include "support/DecimalCommaLocale.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <QString>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace mrv {
namespace {

using test::Engine;
using test::ScriptedPrompter;
using test::TempDir;
using test::TestDatabase;

std::string Fixture(const std::string& name)
{
    return std::string(std::getenv("MRV_FIXTURES") ? std::getenv("MRV_FIXTURES")
                                                   : MRV_SOURCE_DIR "/tests/fixtures") +
           "/access/" + name;
}

bool HaveMdbExport()
{
    return test::RunTool("command -v mdb-export").status == 0;
}

// mdb-export's CSV: fields quoted with "" for a quote inside; an unquoted empty field is a
// NULL (or an empty text, which it does not tell apart).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n') {
            row.push_back(field);
            field.clear();
            rows.push_back(row);
            row.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    return rows;
}

double Number(const std::string& text)
{
    double v = NAN;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

enum class Kind { Int, Text, Real };

struct Column {
    std::string name;
    Kind kind;
};

struct TableCase {
    std::string table;
    std::vector<Column> columns; // ours, in order
    std::vector<std::string> extraColumns;
};

struct FileCase {
    std::string file;
    AccessKind kind;
    std::vector<TableCase> tables;
};

const std::vector<Column> kLand{{"land_id", Kind::Int}, {"description", Kind::Text}};
const std::vector<Column> kDistrict{{"district_id", Kind::Int},
                                    {"district_name", Kind::Text},
                                    {"land_id", Kind::Int},
                                    {"district_para", Kind::Int}};
const std::vector<Column> kMeter{{"meter_num", Kind::Text},
                                 {"property_num", Kind::Text},
                                 {"meter_address", Kind::Text},
                                 {"district_id", Kind::Int}};
const std::vector<Column> kEnergy{{"datestr", Kind::Text}, {"meter_num", Kind::Text},
                                  {"dbk0", Kind::Real},    {"dbk1", Kind::Real},
                                  {"dbk2", Kind::Real},    {"dbk", Kind::Real},
                                  {"dbkp0", Kind::Real},   {"dbkp1", Kind::Real},
                                  {"dbkp2", Kind::Real},   {"dbkp", Kind::Real}};
const std::vector<Column> kTest{{"表号", Kind::Text}, {"结论", Kind::Text},
                                {"日期", Kind::Text}, {"电表常数", Kind::Text},
                                {"电量", Kind::Text}, {"版本", Kind::Text},
                                {"保护及预分频", Kind::Text}, {"清电量", Kind::Text}};

const FileCase kFiles[] = {
    {"install-2000.mdb",
     AccessKind::Installation,
     {{"land", kLand, {}}, {"district", kDistrict, {"remark"}}, {"meter", kMeter, {}}}},
    {"install-2003.mdb",
     AccessKind::Installation,
     {{"land", kLand, {}}, {"district", kDistrict, {"remark"}}, {"meter", kMeter, {}}}},
    {"install-nometers-2003.mdb",
     AccessKind::Installation,
     {{"land", kLand, {}}, {"district", kDistrict, {}}, {"meter", kMeter, {}}}},
    {"energy-2003.mdb", AccessKind::Energy, {{"energy", kEnergy, {"dbk3"}}}},
    {"test-2000.mdb", AccessKind::Test, {{"test", kTest, {}}}},
};

using Param = std::tuple<Engine, FileCase>;

class AccessConvertTest : public ::testing::TestWithParam<Param> {
protected:
    void SetUp() override
    {
        if (const std::string why = test::EngineUnavailable(std::get<0>(GetParam())); !why.empty())
            GTEST_SKIP() << why;
        if (!HaveMdbExport())
            GTEST_SKIP() << "mdb-export (package mdbtools) is not installed";
    }
};

INSTANTIATE_TEST_SUITE_P(
    Fixtures, AccessConvertTest,
    ::testing::Combine(::testing::ValuesIn(test::kAllEngines), ::testing::ValuesIn(kFiles)),
    [](const auto& info) {
        std::string name = std::string(EngineName(std::get<0>(info.param))) + "_" +
                           std::get<1>(info.param).file;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST_P(AccessConvertTest, StoresEveryRowAsMdbExportPrintsIt)
{
    const auto& [engine, fc] = GetParam();
    const std::string source = Fixture(fc.file);
    std::string error;
    const AccessConversion conversion = ReadAccessFile(source, {}, error);
    ASSERT_EQ(error, "");
    const AccessReport& report = conversion.Report();
    EXPECT_EQ(report.kind, fc.kind);
    EXPECT_EQ(report.format, "Access 2000-2003");
    EXPECT_TRUE(report.AllFit()) << report.Text();

    ScriptedPrompter prompter;
    const TestDatabase db(engine, "converted");
    ASSERT_TRUE(WriteAccessConversion(conversion, db.Name(), false, prompter, error)) << error;
    EXPECT_TRUE(prompter.messages.empty());

    ASSERT_EQ(report.tables.size(), fc.tables.size());
    for (std::size_t t = 0; t < fc.tables.size(); ++t) {
        const TableCase& tc = fc.tables[t];
        SCOPED_TRACE(tc.table);
        EXPECT_EQ(report.tables[t].extraColumns, tc.extraColumns);

        const test::ToolRun exported =
            test::RunTool("mdb-export " + test::Quote(source) + " " + test::Quote(tc.table));
        ASSERT_EQ(exported.status, 0) << exported.err;
        const auto csv = ParseCsv(exported.out);
        ASSERT_FALSE(csv.empty());
        // Where mdb-export prints each of our columns: by name, in any case.
        std::vector<std::size_t> at;
        for (const Column& c : tc.columns) {
            std::size_t i = 0;
            while (i < csv[0].size() && QString::fromStdString(csv[0][i]).compare(
                                            QString::fromStdString(c.name), Qt::CaseInsensitive))
                ++i;
            ASSERT_LT(i, csv[0].size()) << c.name;
            at.push_back(i);
        }
        std::string names;
        for (const Column& c : tc.columns)
            names += (names.empty() ? "" : ", ") + c.name;
        const test::Rows ours = db.Query("select " + names + " from " + tc.table + " order by rowid");
        ASSERT_EQ(ours.size() + 1, csv.size());
        EXPECT_EQ(report.tables[t].rows, static_cast<long>(ours.size()));
        EXPECT_EQ(report.tables[t].carried, static_cast<long>(ours.size()));
        for (std::size_t r = 0; r < ours.size(); ++r) {
            for (std::size_t c = 0; c < tc.columns.size(); ++c) {
                const std::string& theirs = csv[r + 1].at(at[c]);
                const std::string& mine = ours[r].at(c);
                SCOPED_TRACE("row " + std::to_string(r + 1) + " " + tc.columns[c].name);
                switch (tc.columns[c].kind) {
                case Kind::Text: // a NULL text is stored empty
                    EXPECT_EQ(mine, theirs);
                    break;
                case Kind::Int:
                    EXPECT_EQ(mine, theirs);
                    break;
                case Kind::Real:
                    if (theirs.empty())
                        EXPECT_EQ(mine, "<null>");
                    else
                        EXPECT_NEAR(Number(mine), Number(theirs), 1e-9 * std::max(1.0, std::fabs(Number(theirs))));
                    break;
                }
            }
        }
    }
}

bool FolderEmpty(const TempDir& dir)
{
    return std::filesystem::is_empty(dir.Path());
}

// Files that cannot be carried over are refused with a plain reason, and nothing is written.
TEST(AccessRefusalTest, FilesThatCannotBeCarriedOverLeaveNoFile)
{
    struct Case {
        std::string file;
        AccessOptions options;
        std::string reason;
    } cases[] = {
        {"truncated-2000.mdb", {}, "truncated-2000.mdb (Access 2000-2003) can not be read: it is "
                                   "damaged, encrypted, or of a format this program can not read."},
        {"not-access.mdb", {}, "not-access.mdb is not an Access database."},
        {"missing.mdb", {}, "Can not open "},
        {"install-missing-2000.mdb", {},
         "Table meter of install-missing-2000.mdb has no column district_id; the file can not be "
         "carried over."},
        {"install-2000.mdb", {AccessKind::Energy, "GBK"},
         "install-2000.mdb has no table energy, which an energy database needs."},
        {"install-2000.mdb", {AccessKind::Unknown, "NO-SUCH-CODEPAGE"},
         "The code page NO-SUCH-CODEPAGE is not known."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.options.jet3CodePage);
        std::string error;
        const AccessConversion conversion = ReadAccessFile(Fixture(c.file), c.options, error);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(conversion.Report().kind, AccessKind::Unknown);

        TempDir dir;
        ScriptedPrompter prompter;
        std::string writeError;
        EXPECT_FALSE(WriteAccessConversion(conversion, dir.File("new.db"), true, prompter, writeError));
        EXPECT_TRUE(FolderEmpty(dir));
    }
}

// Each value that does not fit our tables is named; nothing is written until the report is
// accepted, and then only the rows that fit.
TEST(AccessRefusalTest, RowsThatDoNotFitAreNamedAndWrittenOnlyWhenAccepted)
{
    std::string error;
    const AccessConversion conversion = ReadAccessFile(Fixture("install-badrows-2003.mdb"), {}, error);
    ASSERT_EQ(error, "");
    struct Expected {
        std::string table;
        long row;
        std::string column, value, reason;
    };
    const std::vector<Expected> expected{
        {"land", 2, "land_id", "0", "not an id from 1 to 9999"},
        {"land", 3, "land_id", "10000", "not an id from 1 to 9999"},
        {"land", 4, "description", "二十字节宽抄表器说明x", "wider than 20 GBK bytes"},
        {"land", 5, "land_id", "1", "already in row 1"},
        {"land", 6, "land_id", "(NULL)", "empty"},
        {"district", 2, "district_name", "八个汉字宽的名称x", "wider than 16 GBK bytes"},
        {"district", 3, "district_para", "255", "a meter constant outside 000100 to 0fffff"},
        {"district", 4, "district_para", "1048576", "a meter constant outside 000100 to 0fffff"},
        {"district", 5, "land_id", "0", "not an id from 1 to 9999"},
        {"meter", 2, "meter_num", "1234567890123", "wider than 12 GBK bytes"},
        {"meter", 3, "meter_address", "北京市海淀区中关村南大街五号院三号楼二单元一零一室x",
         "wider than 50 GBK bytes"},
        {"meter", 4, "district_id", "0", "not an id from 1 to 9999"},
    };
    const auto& problems = conversion.Report().problems;
    ASSERT_EQ(problems.size(), expected.size()) << conversion.Report().Text();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(problems[i].table, expected[i].table) << i;
        EXPECT_EQ(problems[i].row, expected[i].row) << i;
        EXPECT_EQ(problems[i].column, expected[i].column) << i;
        EXPECT_EQ(problems[i].value, expected[i].value) << i;
        EXPECT_EQ(problems[i].reason, expected[i].reason) << i;
    }

    TempDir dir;
    ScriptedPrompter prompter;
    EXPECT_FALSE(WriteAccessConversion(conversion, dir.File("new.db"), false, prompter, error));
    EXPECT_TRUE(FolderEmpty(dir));

    ASSERT_TRUE(WriteAccessConversion(conversion, dir.File("new.db"), true, prompter, error)) << error;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    const test::ToolRun rows = test::RunTool(
        "sqlite3 " + test::Quote(dir.File("new.db")) +
        " 'select land_id, description from land; select district_id from district; "
        "select meter_num, meter_address from meter;'");
    EXPECT_EQ(rows.out, "1|good\n1\n01|good\n");
}

// A conversion is written into a new file or an empty database only: what is there is never
// added to or replaced; a file of another kind is left alone.
// The window runs under the user's locale; libmdb formats numbers with the C library, which
// would write a decimal comma there.
TEST(AccessReadTest, ReadingsKeepTheirFractionsUnderADecimalCommaLocale)
{
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    std::string error;
    const AccessConversion conversion = ReadAccessFile(Fixture("energy-2003.mdb"), {}, error);
    ASSERT_EQ(error, "");
    EXPECT_TRUE(conversion.Report().AllFit()) << conversion.Report().Text();
    TempDir dir;
    ScriptedPrompter prompter;
    ASSERT_TRUE(WriteAccessConversion(conversion, dir.File("e.db"), false, prompter, error)) << error;
    const test::ToolRun row = test::RunTool("sqlite3 " + test::Quote(dir.File("e.db")) +
                                            " 'select dbk0, dbk from energy where rowid = 2'");
    EXPECT_EQ(row.out, "6.17|12.34\n");
}

class AccessTargetTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (const std::string why = test::EngineUnavailable(GetParam()); !why.empty())
            GTEST_SKIP() << why;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, AccessTargetTest, ::testing::ValuesIn(test::kAllEngines),
                         [](const auto& info) { return std::string(EngineName(info.param)); });

TEST_P(AccessTargetTest, NeverWritesOverADatabaseThatIsThere)
{
    const Engine engine = GetParam();
    std::string error;
    const AccessConversion conversion = ReadAccessFile(Fixture("install-2003.mdb"), {}, error);
    ASSERT_EQ(error, "");
    ScriptedPrompter prompter;
    const TestDatabase db(engine, "there");
    ASSERT_EQ(CreateInstallationSchema(db.Name(), prompter), 1);
    db.Query("insert into land(land_id, description) values(77, 'kept')");

    EXPECT_FALSE(WriteAccessConversion(conversion, db.Name(), true, prompter, error));
    EXPECT_NE(error.find("Table land of "), std::string::npos) << error;
    EXPECT_NE(error.find(" already holds rows"), std::string::npos) << error;
    EXPECT_EQ(db.Query("select land_id, description from land"), (test::Rows{{"77", "kept"}}));
    EXPECT_EQ(db.Query("select count(*) from meter"), (test::Rows{{"0"}}));

    // The test results go into a test database that is there but empty.
    const AccessConversion results = ReadAccessFile(Fixture("test-2000.mdb"), {}, error);
    ASSERT_EQ(error, "");
    // A file of another kind is left alone (a server database may hold every kind).
    if (engine == Engine::Sqlite) {
        EXPECT_FALSE(WriteAccessConversion(results, db.Name(), false, prompter, error));
        EXPECT_NE(error.find("already exists and is no test database"), std::string::npos) << error;
    }
    const TestDatabase testDb(engine, "testmeter");
    ASSERT_EQ(CreateTestSchema(testDb.Name(), prompter), 1);
    ASSERT_TRUE(WriteAccessConversion(results, testDb.Name(), false, prompter, error)) << error;
    EXPECT_EQ(testDb.Query("select count(*) from test"), (test::Rows{{"3"}}));
}

} // namespace
} // namespace mrv
