// The conversion of a data file into a dBase III table under convert.cfg.
#include "datafile/DataFileConvert.h"
#include "DataFileFixture.h"
#include "base/GbkText.h"
#include "support/DecimalCommaLocale.h"
#include "support/LimitedChild.h"
#include "support/TempDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace mrv::test {
namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;
using KW = ConvertKeyword;

int FieldOf(const ConvertConfig& c, KW k)
{
    return c.keywordField[static_cast<std::size_t>(k)];
}

TEST(ConvertConfig, KeywordsMustComeBeforeTheFieldsThatUseThem)
{
    const ConvertConfig c = ParseConvertConfig("LATE, C, 3\n"
                                               "***DBF_BREAD_M = READ\n"
                                               "***DBF_K0_M = LATE\n"
                                               "READ, C, 3\n");
    ASSERT_EQ(c.fields.size(), 2u);
    EXPECT_EQ(FieldOf(c, KW::Bread), 1);
    EXPECT_EQ(FieldOf(c, KW::K0), -1); // its field came first and stays blank
}

TEST(ConvertConfig, LineKinds)
{
    const ConvertConfig c = ParseConvertConfig(
        "// ***DBF_K1_M = E1\n"          // all comment: defines nothing
        "E1, N, 10, 2\n"                 // so this field gets no keyword
        "***DBF_K0_M = E0 // remark\n"   //
        "E0, N, 10, 2 // remark, C, 9\n" // the comment is cut before the commas are read
        ";;; IGNORED, C, 3\n"            //
        "\t  name2, c , 7\r\n"           // leading blanks and tabs, lower-case type, CR LF
        "NOLEN, C\n"                     // third word missing: no field
        "NOTYPE, , 5\n"                  // second word missing: no field
        "***DBF_UNKNOWN = E1\n"          // no known keyword
        "***DBF_K2P_M E1\n"              // no "="
        "\xb1\xed, C, 4\n"               // starts with a double-byte character
        "\n"                             //
        "ABCDEFGHIJKLM, C, 300\n"        // name cut to 10; length kept to one byte
        "T, C, 2, 5\n");                 // decimals only for type N
    ASSERT_EQ(c.fields.size(), 5u);
    struct Expect {
        const char* name;
        char type;
        int length, decimals, offset;
    } expect[] = {{"E1", 'N', 10, 2, 1},
                  {"E0", 'N', 10, 2, 11},
                  {"name2", 'C', 7, 0, 21},
                  {"ABCDEFGHIJ", 'C', 44, 0, 28},
                  {"T", 'C', 2, 0, 72}};
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(c.fields[i].name, expect[i].name);
        EXPECT_EQ(c.fields[i].type, expect[i].type);
        EXPECT_EQ(c.fields[i].length, expect[i].length);
        EXPECT_EQ(c.fields[i].decimals, expect[i].decimals);
        EXPECT_EQ(static_cast<int>(c.fields[i].offset), expect[i].offset);
    }
    EXPECT_EQ(FieldOf(c, KW::K0), 1);
    EXPECT_EQ(FieldOf(c, KW::K1), -1);
    EXPECT_EQ(FieldOf(c, KW::K2p), -1);
}

TEST(ConvertConfig, WordsAndLimits)
{
    std::string text = "***  DBF_ADDR2_M=**\xb1\xed\xba\xc5 rest\n" // value with GBK characters
                       "***DBF_K2_M = T2\n"
                       "***DBF_CONST_M = ABCDEFGHIJKLMNOPQRSTUVWXYZ\n" // value cut to 19
                       "\xb1\xed\xba\xc5, C, 12\n"; // a GBK name cannot start a field line
    text += "ID, C, 12\n";
    for (int i = 0; i < 60; ++i)
        text += "F" + std::to_string(i) + ", C, 1\n";
    text += "T2, N, 10, 2\n"; // the 51st field and after are left out
    const ConvertConfig c = ParseConvertConfig(text);
    EXPECT_EQ(c.fields.size(), 50u);
    // The lines that found no room are named, not dropped in silence.
    std::vector<std::string> leftOut;
    for (int i = 49; i < 60; ++i)
        leftOut.push_back("F" + std::to_string(i));
    leftOut.push_back("T2");
    EXPECT_EQ(c.leftOutFields, leftOut);
    EXPECT_EQ(FieldOf(c, KW::Addr2), -1);
    EXPECT_EQ(FieldOf(c, KW::K2), -1);
    EXPECT_EQ(FieldOf(c, KW::K2Again), -1);

    const ConvertConfig d = ParseConvertConfig("***DBF_ADDR2_M=**\xb1\xed\xba\xc5 rest\n"
                                               "***DBF_K2_M = T2\n"
                                               "***DBF_CONST_M = ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
                                               "x\xb1\xed\xba\xc5, C, 12\n"
                                               "T2, N, 10, 2\n"
                                               "ABCDEFGHIJ, N, 5\n");
    ASSERT_EQ(d.fields.size(), 3u);
    EXPECT_EQ(FieldOf(d, KW::Addr2), -1); // "x..." is not the value
    EXPECT_EQ(FieldOf(d, KW::K2), 1);
    EXPECT_EQ(FieldOf(d, KW::K2Again), -1); // the second slot is never found
    EXPECT_EQ(FieldOf(d, KW::Const), -1);    // a name is matched whole, not by its start
    EXPECT_TRUE(d.leftOutFields.empty());

    const ConvertConfig e = ParseConvertConfig("***DBF_ADDR2_M=**\xb1\xed\xba\xc5 rest\n"
                                               "I\xb1\xed, C, 12\n"
                                               "***DBF_METERNO_M = I\xb1\xed\n"
                                               "I\xb1\xed, C, 2\n");
    EXPECT_EQ(FieldOf(e, KW::MeterNo), 1);
}

TEST(ConvertConfig, ALongNameIsMatchedBeforeItIsCutToTenCharacters)
{
    const ConvertConfig c = ParseConvertConfig("***DBF_K0_M = TOTAL_ENERGY_NOW\n"    // 16
                                               "***DBF_K1_M = TARIFF_ONE_ENERGY_X\n" // 19
                                               "***DBF_K2_M = ELEVEN_CHAR\n"         // 11
                                               "TOTAL_ENERGY_NOW, N, 10, 2\n"
                                               "TARIFF_ONE_ENERGY_X, N, 10, 2\n"
                                               "ELEVEN_CHAR, N, 10, 2\n"
                                               "ELEVEN_CHA, N, 10, 2\n"); // the cut name: no match
    ASSERT_EQ(c.fields.size(), 4u);
    EXPECT_EQ(c.fields[0].name, "TOTAL_ENER");
    EXPECT_EQ(c.fields[1].name, "TARIFF_ONE");
    EXPECT_EQ(FieldOf(c, KW::K0), 0);
    EXPECT_EQ(FieldOf(c, KW::K1), 1);
    EXPECT_EQ(FieldOf(c, KW::K2), 2);
}

TEST(DbfNumber, FormatsToWidthAndDecimalsOrFillsWithStars)
{
    struct Case {
        double value;
        std::size_t width, decimals;
        const char* text;
    } cases[] = {
        {1234.56, 10, 2, "   1234.56"}, {1234.56, 7, 2, "1234.56"},  {1234.56, 6, 2, "******"},
        {30.86, 6, 2, " 30.86"},        {30.86, 4, 2, "****"},       {1234.56, 8, 1, "  1234.6"},
        {1234.56, 6, 0, "  1235"},      {0.0, 4, 2, "0.00"},         {0.0, 3, 2, "***"},
        {999999.99, 9, 2, "999999.99"}, {3200, 5, 0, " 3200"},       {123456, 5, 0, "*****"},
        {1, 4, 0, "   1"},              {0.5, 0, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DbfNumber(c.value, c.width, c.decimals), c.text)
            << c.value << " in " << c.width << "," << c.decimals;
}

TEST(ConvertConfig, TheDefaultConfigurationGivesEveryKeywordAField)
{
    const Bytes text = ReadBytes(MRV_SOURCE_DIR "/src/datafile/convert.cfg");
    const ConvertConfig c = ParseConvertConfig(std::string(text.begin(), text.end()));
    EXPECT_EQ(c.fields.size(), 15u);
    for (int k = 0; k < kConvertKeywordCount; ++k)
        if (static_cast<KW>(k) != KW::K2Again) {
            EXPECT_GE(c.keywordField[static_cast<std::size_t>(k)], 0) << k;
        }
}

class ConvertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cfg = dir.File("convert.cfg");
        data = dir.File("0007.dbf");
        dbf = dir.File("convert.dbf");
        WriteBytes(cfg, B("// columns of the export\n"
                          "***DBF_BREAD_M = READ\n"
                          "***DBF_METERNO_M = NO\n"
                          "***DBF_K0_M = E0\n"
                          "***DBF_DATE_M = DAY\n"
                          "***DBF_CONST_M = KONST\n"
                          "***DBF_MULTIPLY_M = MUL\n"
                          "***DBF_ADDR2_M = ID2\n"
                          "NO, C, 4\n"
                          "READ, c, 3\n"
                          "E0, N, 10, 2\n"
                          "DAY, C, 8\n"
                          "KONST, N, 5\n"
                          "MUL, N, 4\n"
                          "ID2, C, 5\n"
                          "SPARE, C, 2\n"));
        MeterRecordBytes read{};
        read[3] = 1;
        read[4] = 0x5a;
        std::copy_n("ABCDEFG", 7, &read[6]);
        read[70] = 0x56;
        read[71] = 0x34;
        read[72] = 0x12;
        read[117] = 0x05;
        read[118] = 0x12;
        read[119] = 0x26;
        read[135] = 0x32;
        MeterRecordBytes unread{};
        unread[4] = 0x07;
        unread[6] = 'X';
        unread[70] = 0x99; // not written: the meter was not read
        WriteBytes(data, MakeDataFile({read, unread}));
    }
    TempDir dir;
    std::string cfg, data, dbf;
};

TEST_F(ConvertTest, WritesHeaderDescriptorsAndRecords)
{
    ASSERT_EQ(ConvertDataFile(data, cfg, dbf, DbfDate{2026, 12, 10}).written, 1);
    const Bytes f = ReadBytes(dbf);
    ASSERT_EQ(f.size(), 289u + 42u * 2 + 1);
    EXPECT_THAT(Slice(f, 0, 12), ElementsAre(0x03, 126, 12, 10, 2, 0, 0, 0, 0x21, 0x01, 42, 0));
    EXPECT_EQ(Slice(f, 12, 20), Bytes(20, 0));
    const Bytes first = {'N', 'O', 0, 0, 0, 0, 0, 0, 0, 0, 0, 'C', 1, 0, 0, 0,
                         4,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   0, 0, 0, 0};
    EXPECT_EQ(Slice(f, 32, 32), first);
    struct Desc {
        const char* name;
        char type;
        int offset, length, decimals;
    } descs[] = {{"READ", 'C', 5, 3, 0},   {"E0", 'N', 8, 10, 2},  {"DAY", 'C', 18, 8, 0},
                 {"KONST", 'N', 26, 5, 0}, {"MUL", 'N', 31, 4, 0}, {"ID2", 'C', 35, 5, 0},
                 {"SPARE", 'C', 40, 2, 0}};
    for (std::size_t i = 0; i < 7; ++i) {
        const Bytes d = Slice(f, 64 + 32 * i, 32);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.data())), descs[i].name);
        EXPECT_EQ(d[11], descs[i].type);
        EXPECT_THAT(Slice(d, 12, 6),
                    ElementsAre(descs[i].offset, 0, 0, 0, descs[i].length, descs[i].decimals));
        EXPECT_EQ(Slice(d, 18, 14), Bytes(14, 0));
    }
    EXPECT_EQ(f[288], 0x0D);
    EXPECT_EQ(Slice(f, 289, 42), B(" 5a  Yes   1234.5626/12/05 3200   1ABCDE  "));
    // Not read: no energy, date or constant (its value is 0).
    EXPECT_EQ(Slice(f, 289 + 42, 42), B(" 07  no " + std::string(10 + 8 + 5, ' ') + "   1X      "));
    EXPECT_EQ(f.back(), 0x1A);
}

TEST_F(ConvertTest, NumbersKeepTheirPointUnderADecimalCommaLocale)
{
    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    ASSERT_EQ(ConvertDataFile(data, cfg, dbf, DbfDate{2026, 12, 10}).written, 1);
    const Bytes f = ReadBytes(dbf);
    ASSERT_EQ(f.size(), 289u + 42u * 2 + 1);
    EXPECT_EQ(Slice(f, 289, 42), B(" 5a  Yes   1234.5626/12/05 3200   1ABCDE  "));
}

TEST_F(ConvertTest, EveryRecordGivesARowAndAnUnreadMeterKeepsItsConstant)
{
    MeterRecordBytes unread{};
    unread[4] = 0x31;
    unread[70] = 0x11; // energy and date stay out while the status is 0
    unread[117] = 0x01;
    unread[134] = 0x00; // constant 1600, read earlier
    unread[135] = 0x16;
    MeterRecordBytes read = unread;
    read[3] = 0x80; // any status but 0 counts as read
    WriteBytes(data, MakeDataFile({unread, read, unread}));
    WriteBytes(cfg, B("***DBF_CONST_M = K\n***DBF_K0_M = E\n***DBF_DATE_M = D\n"
                      "K, N, 5\nE, N, 10, 2\nD, C, 8\n"));
    ASSERT_EQ(ConvertDataFile(data, cfg, dbf, DbfDate{2026, 1, 2}).written, 1);
    const Bytes f = ReadBytes(dbf);
    const std::size_t header = 32 + 32 * 3 + 1;
    ASSERT_EQ(f.size(), header + 24u * 3 + 1);
    EXPECT_EQ(f[4], 3);
    EXPECT_EQ(Slice(f, header, 24), B("  1600" + std::string(18, ' ')));
    EXPECT_EQ(Slice(f, header + 24, 24), B("  1600      0.1100/00/01"));
    EXPECT_EQ(Slice(f, header + 48, 24), Slice(f, header, 24));
}

TEST_F(ConvertTest, ANumberFillsItsFieldOrItsStarsAreCountedAndATextIsCutToIt)
{
    // Record 1 was read (total 1234.56, constant 3200); record 2 was not.
    struct Case {
        const char* field; // the line of the column the total goes to
        const char* bytes; // what record 1 holds there, then READ (C, 1)
        int tooWide;
    } cases[] = {
        {"E0, N, 6, 2", "******Y", 1},     {"E0, N, 7, 2", "1234.56Y", 0},
        {"E0, N, 10, 2", "   1234.56Y", 0}, {"E0, N, 8, 1", "  1234.6Y", 0},
        {"E0, N, 6, 0", "  1235Y", 0},      {"E0, N, 9, 3", " 1234.560Y", 0},
        // A number in a character column loses the blanks before it, never a digit.
        {"E0, C, 10", "   1234.56Y", 0},    {"E0, C, 7", "1234.56Y", 0},
        {"E0, C, 6", "******Y", 1},         {"E0, C, 12", "   1234.56  Y", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        WriteBytes(cfg, B(std::string("***DBF_K0_M = E0\n***DBF_BREAD_M = R\n") + c.field +
                          "\nR, C, 1\n"));
        const ConvertResult result = ConvertDataFile(data, cfg, dbf, DbfDate{2026, 1, 2});
        ASSERT_EQ(result.written, 1);
        EXPECT_EQ(result.valuesTooWide, c.tooWide);
        const Bytes f = ReadBytes(dbf);
        const std::size_t header = 32 * 3 + 1;
        const std::size_t recordLength = f[10];
        ASSERT_EQ(recordLength, 1 + std::string(c.bytes).size());
        EXPECT_EQ(Slice(f, header + 1, recordLength - 1), B(c.bytes));
        // The unread meter has no total; its "no" is cut to one character.
        EXPECT_EQ(Slice(f, header + recordLength + 1, recordLength - 1),
                  B(std::string(recordLength - 2, ' ') + "n"));
    }
}

TEST_F(ConvertTest, TheConstantIsWrittenWholeAndOverflowsAreCountedOverTheFile)
{
    MeterRecordBytes big{};
    big[3] = 1;
    big[134] = 0x56; // 123456 imp/kWh, more than 16 bits hold
    big[135] = 0x34;
    big[136] = 0x12;
    big[70] = 0x99; // 0.99
    WriteBytes(data, MakeDataFile({big, big, big}));
    WriteBytes(cfg, B("***DBF_CONST_M = K\n***DBF_K0_M = E\n***DBF_MULTIPLY_M = M\n"
                      "K, N, 6\nE, N, 3, 2\nM, N, 2, 1\n"));
    const ConvertResult result = ConvertDataFile(data, cfg, dbf, DbfDate{2026, 1, 2});
    ASSERT_EQ(result.written, 1);
    const Bytes f = ReadBytes(dbf);
    EXPECT_EQ(Slice(f, 32 * 4 + 1 + 1, 10), B("123456****"));
    EXPECT_EQ(result.valuesTooWide, 6); // total and multiplier of each of the three records
    EXPECT_EQ(ConvertMessage(result),
              "File Convertion Succeed!(convert.dbf)\n"
              "6 values were too wide for their fields and show as \"*\".");

    WriteBytes(cfg, B("***DBF_CONST_M = K\nK, N, 5\n"));
    EXPECT_EQ(ConvertDataFile(data, cfg, dbf, DbfDate{2026, 1, 2}).valuesTooWide, 3);
    EXPECT_EQ(Slice(ReadBytes(dbf), 32 * 2 + 1 + 1, 5), B("*****"));
}

TEST_F(ConvertTest, FieldLinesBeyondTheFiftiethAreNamedInTheResult)
{
    std::string text = "***DBF_BREAD_M = F51\n";
    for (int i = 1; i <= 52; ++i)
        text += "F" + std::to_string(i) + ", C, 1\n";
    WriteBytes(cfg, B(text));
    const ConvertResult result = ConvertDataFile(data, cfg, dbf, DbfDate{2026, 1, 2});
    ASSERT_EQ(result.written, 1);
    EXPECT_EQ(result.leftOutFields, (std::vector<std::string>{"F51", "F52"}));
    EXPECT_EQ(ReadBytes(dbf)[8] | ReadBytes(dbf)[9] << 8, 32 + 32 * 50 + 1);
    EXPECT_EQ(ConvertMessage(result), "File Convertion Succeed!(convert.dbf)\n"
                                      "Only 50 fields fit the table; left out: F51, F52.");
}

TEST(ConvertMessage, NamesWhatDidNotFitOrTheFailure)
{
    ConvertResult r;
    EXPECT_EQ(ConvertMessage(r), "File Convertion Fail!");
    r.written = 1;
    EXPECT_EQ(ConvertMessage(r), "File Convertion Succeed!(convert.dbf)");
    r.valuesTooWide = 1;
    r.leftOutFields = {"X51", "X52"};
    EXPECT_EQ(ConvertMessage(r), "File Convertion Succeed!(convert.dbf)\n"
                                 "1 value was too wide for its field and shows as \"*\".\n"
                                 "Only 50 fields fit the table; left out: X51, X52.");
}

TEST_F(ConvertTest, FailuresWriteNothing)
{
    WriteBytes(dbf, B("old table"));
    EXPECT_EQ(ConvertDataFile(data, dir.File("none.cfg"), dbf).written, 0);
    EXPECT_EQ(ConvertDataFile(dir.File("none.dbf"), cfg, dbf).written, 0);
    Bytes shorter = ReadBytes(data);
    shorter.resize(5335 + 179 + 100); // claims 2 records, holds 1 and a part
    WriteBytes(data, shorter);
    EXPECT_EQ(ConvertDataFile(data, cfg, dbf).written, 0);
    EXPECT_EQ(ReadBytes(dbf), B("old table"));
    EXPECT_EQ(ConvertDataFile(data, cfg, dir.File("no/such/folder/convert.dbf")).written, 0);
}

TEST(ConvertConfig, WhatOtherProgramsCannotReadIsRefusedWithItsLine)
{
    const struct {
        std::string text;
        std::string problem; // empty: accepted
    } cases[] = {
        {"A, C, 1\nB, N, 254, 253\nC, D, 8\nD, l, 1\n", ""},
        {"// types\nA, X, 5\n", "line 2: field A has the type \"X\"; the types are C, N, D and L"},
        {"A, CN, 5\n", "line 1: field A has the type \"CN\"; the types are C, N, D and L"},
        {"A, C, 255\n", "line 1: field A has the length \"255\"; lengths run from 1 to 254"},
        {"A, C, 0\n", "line 1: field A has the length \"0\"; lengths run from 1 to 254"},
        {"A, C, 1x\n", "line 1: field A has the length \"1x\"; lengths run from 1 to 254"},
        {"A, N, 5, 5\n", "line 1: field A has 5 decimals; they must be fewer than its length"},
        {"LONGNAME_01, C, 3\n\nLONGNAME_02, C, 3\n",
         "line 3: field LONGNAME_02 has the same name as the field of line 1 when cut to 10 "
         "characters (LONGNAME_0)"},
        {"\xef\xbb\xbf" "A, C, 1\n", "line 1: the file is saved as UTF-8; convert.cfg is read as GBK"},
        {"E\xe7\x94\xb5, N, 10, 2\n", "line 1: the field name is not GBK or ASCII text"},
        {"E\xb5\xe7, N, 10, 2\n", ""}, // GBK
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ConvertConfig config = ParseConvertConfig(c.text);
        if (c.problem.empty())
            EXPECT_TRUE(config.problems.empty()) << config.problems.front();
        else
            EXPECT_THAT(config.problems, ElementsAre(c.problem));
    }
}

TEST_F(ConvertTest, ARefusedConfigurationWritesNothingAndSaysWhy)
{
    WriteBytes(cfg, B("A, C, 300\nB, Q, 3\n"));
    const ConvertResult r = ConvertDataFile(data, cfg, dbf);
    EXPECT_EQ(r.written, 0);
    EXPECT_FALSE(std::filesystem::exists(dbf));
    EXPECT_EQ(ConvertMessage(r), "File Convertion Fail!\n" + cfg +
                                     " cannot make a table:\nline 1: field A has the length "
                                     "\"300\"; lengths run from 1 to 254\nline 2: field B has the "
                                     "type \"Q\"; the types are C, N, D and L");
}

// convert.dbf on a full disk (a file-size limit in a child process): the table of the earlier
// conversion stays, and the message says why this one failed.
TEST_F(ConvertTest, AFullDiskKeepsTheEarlierTableAndSaysWhy)
{
    ASSERT_EQ(ConvertDataFile(data, cfg, dbf, DbfDate{2026, 1, 2}).written, 1);
    const Bytes before = ReadBytes(dbf);
    const ChildOutcome child = RunInChild({.fileSizeLimit = 200}, [&] {
        return ConvertMessage(ConvertDataFile(data, cfg, dbf, DbfDate{2027, 3, 4}));
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.output, "File Convertion Fail!\nCan't write " + dbf + ": " +
                                std::strerror(EFBIG) + ". The file that was there is unchanged.");
    EXPECT_EQ(ReadBytes(dbf), before);
    EXPECT_EQ(ConvertMessage(ConvertDataFile(data, dir.File("none.cfg"), dbf)),
              "File Convertion Fail!\nCan't read " + dir.File("none.cfg") + ": " +
                  std::strerror(ENOENT) + ".");
}

TEST_F(ConvertTest, AConfigurationWithoutFieldsGivesATableWithoutFields)
{
    WriteBytes(cfg, B("// nothing\n"));
    ASSERT_EQ(ConvertDataFile(data, cfg, dbf, DbfDate{2026, 1, 2}).written, 1);
    const Bytes f = ReadBytes(dbf);
    EXPECT_THAT(f, ElementsAre(0x03, 126, 1, 2, 2, 0, 0, 0, 33, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0D, ' ', ' ', 0x1A));
}

} // namespace
} // namespace mrv::test
