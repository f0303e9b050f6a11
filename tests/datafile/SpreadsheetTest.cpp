// Spreadsheet files: the sheet names Excel accepts, the CSV text byte for byte, and a write
// that fails or is given up never leaving a file of its own or harming the one it replaces.
// The .xlsx content is read back by openpyxl in tests/tools/export_readback.py.
#include "datafile/Spreadsheet.h"
#include "datafile/ReadingExport.h"
#include "datafile/FileBytes.h"
#include "support/DecimalCommaLocale.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mrv {
namespace {

using test::TempDir;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FolderNames(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// UTF-16 units of a UTF-8 text with no character beyond the BMP: one per character.
std::size_t Characters(const std::string& s)
{
    std::size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

TEST(SheetNames, BecomeWhatExcelAccepts)
{
    const std::string longChinese =
        "第一供电所城东新区第二供电所城东新区第三供电所城东新区第四供电"; // 31
    const struct {
        const char* label;
        std::vector<std::string> wished;
        std::vector<std::string> names;
    } cases[] = {
        {"kept as they are",
         {"Summary", "城东一区", "Block 7"},
         {"Summary", "城东一区", "Block 7"}},
        {"forbidden characters",
         {"a:b\\c/d?e*f[g]h", "tab\there"},
         {"a_b_c_d_e_f_g_h", "tab_here"}},
        {"apostrophes at the ends", {"'quoted'", "it's"}, {"quoted", "it's"}},
        {"empty and reserved", {"", "History", "'"}, {"Sheet1", "History (2)", "Sheet3"}},
        {"alike ignoring case",
         {"Summary", "summary", "SUMMARY", "Sum"},
         {"Summary", "summary (2)", "SUMMARY (3)", "Sum"}},
        {"long ones cut at 31",
         {std::string(40, 'x'), longChinese + "区"},
         {std::string(31, 'x'), longChinese}},
        {"a suffix within 31",
         {std::string(31, 'y'), std::string(35, 'y')},
         {std::string(31, 'y'), std::string(27, 'y') + " (2)"}},
        {"a Chinese name cut for its suffix",
         {longChinese, longChinese},
         {longChinese, longChinese.substr(0, 27 * 3) + " (2)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::vector<std::string> names = SheetNames(c.wished);
        EXPECT_EQ(names, c.names);
        for (const std::string& n : names)
            EXPECT_LE(Characters(n), 31u) << n;
    }
}

TEST(SpreadsheetFormat, FollowsTheExtension)
{
    EXPECT_EQ(SpreadsheetFormatOf("/a/b.xlsx"), SpreadsheetFormat::Xlsx);
    EXPECT_EQ(SpreadsheetFormatOf("B.XLSX"), SpreadsheetFormat::Xlsx);
    EXPECT_EQ(SpreadsheetFormatOf("readings.Csv"), SpreadsheetFormat::Csv);
    for (const char* none : {"b.xls", "b", "a.csv/b", ".xlsx.txt", ""})
        EXPECT_FALSE(SpreadsheetFormatOf(none)) << none;
}

TEST(CalendarDates, OnlyDaysThatExist)
{
    EXPECT_EQ(ParseIsoDate("2028-02-29"), (CalendarDate{2028, 2, 29}));
    EXPECT_EQ(IsoDateText({2026, 12, 5}), "2026-12-05");
    for (const char* bad : {"2026-02-29", "2100-02-29", "2026-13-01", "2026-04-31", "2026-12-00",
                            "26-12-05", "2026/12/05", "2026-12-5", "2026-12-05x", "1899-12-31"})
        EXPECT_FALSE(ParseIsoDate(bad)) << bad;
}

// Two tables under one header, a label column, each kind of cell and the fields that need
// quotes.
SheetBook SmallBook()
{
    SheetBook book;
    book.csvLabelTitle = "Block";
    SheetTable a;
    a.name = "城东, \"一\"";
    a.titles = {"Meter ID2", "Date", "Total E"};
    a.rows = 2;
    a.fill = [](std::size_t row, std::vector<SheetCell>& cells) {
        if (row == 0) {
            cells[0].SetText("007");
            cells[1].SetDate({2026, 12, 5});
            cells[2].SetNumber(1234.5);
        } else {
            cells[0].SetText("a\"b\r\nc");
            cells[1].SetEmpty();
            cells[2].SetEmpty();
        }
    };
    SheetTable b = a;
    b.name = "B";
    b.rows = 1;
    b.fill = [](std::size_t, std::vector<SheetCell>& cells) {
        cells[0].SetText("x");
        cells[1].SetText("26/1a/05");
        cells[2].SetNumber(-0.125);
    };
    book.tables = {a, b};
    return book;
}

TEST(CsvExport, IsUtf8WithAMarkQuotedAsRfc4180WithDecimalPoints)
{
    test::DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    TempDir dir;
    const std::string path = dir.File("r.csv");
    const ExportResult result = WriteSpreadsheet(path, SpreadsheetFormat::Csv, SmallBook());
    ASSERT_TRUE(result) << ExportFailureText(path, result);
    EXPECT_EQ(ReadAll(path), "\xEF\xBB\xBF"
                             "Block,Meter ID2,Date,Total E\r\n"
                             "\"城东, \"\"一\"\"\",007,2026-12-05,1234.50\r\n"
                             "\"城东, \"\"一\"\"\",\"a\"\"b\r\nc\",,\r\n"
                             "B,x,26/1a/05,-0.12\r\n");
}

TEST(SpreadsheetExport, AFolderThatCannotBeWrittenGetsNothingAndTheSystemsReason)
{
    TempDir dir;
    for (SpreadsheetFormat format : {SpreadsheetFormat::Csv, SpreadsheetFormat::Xlsx}) {
        const std::string path = dir.File("missing/r.xlsx");
        const ExportResult result = WriteSpreadsheet(path, format, SmallBook());
        EXPECT_FALSE(result);
        EXPECT_EQ(result.write.error, ENOENT);
        EXPECT_EQ(ExportFailureText(path, result),
                  "Can't write " + path + ": " + std::strerror(ENOENT) + ". No file was written.");
    }
    EXPECT_TRUE(FolderNames(dir.Path()).empty());
}

TEST(SpreadsheetExport, GivenUpItLeavesTheFileItWouldReplaceAsItWas)
{
    TempDir dir;
    for (SpreadsheetFormat format : {SpreadsheetFormat::Csv, SpreadsheetFormat::Xlsx}) {
        const std::string path = dir.File("r.out");
        std::ofstream(path) << "before";
        SheetBook book = SmallBook();
        book.tables[0].rows = 5000;
        book.tables[0].fill = [](std::size_t, std::vector<SheetCell>& cells) {
            cells[0].SetText("m");
        };
        int asked = 0;
        SheetHooks hooks;
        hooks.cancelled = [&asked] { return ++asked == 3; };
        const ExportResult result = WriteSpreadsheet(path, format, book, hooks);
        EXPECT_TRUE(result.cancelled);
        EXPECT_FALSE(result);
        EXPECT_EQ(ExportFailureText(path, result), "");
        EXPECT_EQ(ReadAll(path), "before");
        EXPECT_EQ(FolderNames(dir.Path()), std::vector<std::string>{"r.out"});
    }
}

// A record that fails its check is exported with its ids and the reason, never with values a
// billing sheet would take for a reading; the summary counts it.
TEST(ReadingExport, ADamagedRecordSaysWhyInsteadOfItsValues)
{
    ReadingRecord sound;
    sound.meterId = "000000000001";
    sound.meterId2 = "M1";
    sound.energy[0] = 12.5;
    sound.lmEnergy[0] = 10;
    sound.readDate = {0x05, 0x12, 0x26};
    sound.status = 1;
    ReadingRecord damaged = sound;
    damaged.meterId = "000000000002";
    damaged.meterId2 = "M2";
    damaged.damage = "Total E: 56 34 ab 12";
    const std::vector<BlockEntry> blocks = {{1, 2, {}, "A"}};
    const std::vector<ReadingRecord> readings = {sound, damaged};
    const ReadingSource source{blocks, readings, 0};

    TempDir dir;
    const std::string path = dir.File("r.csv");
    const ExportResult result = ExportReadings(source, path);
    ASSERT_TRUE(result) << ExportFailureText(path, result);
    EXPECT_EQ(ReadAll(path), "\xEF\xBB\xBF"
                             "Block,Meter ID,Meter ID2,Date,Total E,LM Total E,Damaged\r\n"
                             "A,000000000001,M1,2026-12-05,12.50,10.00,\r\n"
                             "A,000000000002,M2,,,,this record is damaged: Total E: 56 34 ab 12\r\n");

    const SheetBook book = ReadingBook(source);
    EXPECT_EQ(book.summary.titles,
              (std::vector<std::string>{"Block", "Sheet", "Meters", "Read", "Unread", "Damaged"}));
    ASSERT_EQ(book.summary.rows, 1u);
    std::vector<SheetCell> cells(book.summary.titles.size());
    book.summary.fill(0, cells);
    EXPECT_EQ(cells[0].text, "A");
    const double counts[] = {2, 2, 0, 1}; // meters, read, unread, damaged
    for (std::size_t c = 2; c < cells.size(); ++c) {
        EXPECT_EQ(cells[c].kind, SheetCell::Count) << "summary column " << c;
        EXPECT_EQ(cells[c].number, counts[c - 2]) << "summary column " << c;
    }
}

} // namespace
} // namespace mrv
