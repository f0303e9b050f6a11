// The rules below the HHU, Block and meter dialogs: the numbers they take, the Block constant,
// the numbering of a batch of meters and its insertion.
#include "base/GbkText.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/CMrvDoc.h"
#include "doc/EditForm.h"
#include "doc/MeterBatch.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TestDatabase.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <optional>
#include <string>

namespace mrv {
namespace {

using test::Engine;
using test::ScriptedPrompter;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(EditForm, EveryNumberTakesItsRangeAndRefusesWhatLiesOutside)
{
    for (const FormNumberField* f : kEditNumberFields) {
        SCOPED_TRACE(std::string(f->name));
        EXPECT_EQ(ParseFormNumber(*f, std::to_string(f->min)), f->min);
        EXPECT_EQ(ParseFormNumber(*f, " " + std::to_string(f->max) + " "), f->max);
        for (const std::string& text :
             std::vector<std::string>{std::to_string(f->min - 1), std::to_string(f->max + 1), "",
                                      "x", "1.0", "1 2", "99999999999999999999"})
            EXPECT_FALSE(ParseFormNumber(*f, text)) << text;
    }
    // Ids from 1: 0 means "none" to the lists, and a Block 0 is left out of download files.
    EXPECT_EQ(FormNumberMessage(kHhuIdField), "HHU ID must be an integer from 1 to 9999.");
    EXPECT_EQ(FormNumberMessage(kBlockIdField), "Block ID must be an integer from 1 to 9999.");
    EXPECT_EQ(FormNumberMessage(kMeterCountField),
              "Number(<=100) must be an integer from 1 to 100.");
    EXPECT_EQ(IdInUseMessage(kBlockIdField, 40), "Block ID 0040 is already in use.");
}

TEST(EditForm, MeterIdTextsAreDigitsThatTheFilterLetThrough)
{
    struct Case {
        const char* text;
        bool idFrom, meterId, id2Number;
    } cases[] = {
        {"", true, false, true},
        {"5", true, true, true},
        {"05", true, true, true},
        {"99", true, true, true},
        {"123", false, false, true},
        {"-1", false, false, false},
        {"0 ", false, false, false},
        {"1.", false, false, false},
        {"0001234567", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(!CheckIdFrom(c.text), c.idFrom);
        EXPECT_EQ(!CheckMeterId(c.text), c.meterId);
        EXPECT_EQ(!CheckId2Number(c.text), c.id2Number);
    }
    EXPECT_EQ(*CheckIdFrom("-1"), "ID from must be one or two digits, 00 to 99.");
    EXPECT_EQ(*CheckMeterId(""), "Meter ID must be one or two digits, 00 to 99.");
}

TEST(BlockConstant, TextToValueWithTheRangeRuleAndBack)
{
    struct Case {
        const char* text;
        std::int32_t value;  // the digits as they stand
        std::int32_t stored; // with the range rule
    } cases[] = {
        {"003200", 0x3200, 0x3200},
        {"3200", 0x3200, 0x3200},
        {"99", 0x99, 0x100},
        {"100000", 0x100000, 0x100},
        {"000100", 0x100, 0x100},
        {"099999", 0x99999, 0x99999},
        {"", 0, 0x100},
        {"1234567", 0x123456, 0x100},
        {"12ab", 0x12ab, 0x12ab},
        {"12AB", 0x12ab, 0x12ab},
        {"1x2", 0x102, 0x102},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ConstantTextToValue(c.text), c.value);
        EXPECT_EQ(ConstantInRange(ConstantTextToValue(c.text)), c.stored);
    }
    EXPECT_EQ(ConstantValueToText(0x3200), "003200");
    EXPECT_EQ(ConstantValueToText(0x12ab), "0012ab");
    EXPECT_EQ(ConstantValueToText(0x7f123456), "123456"); // the three low bytes only
    EXPECT_EQ(ConstantValue({0x00, 0x28, 0x01}), 0x012800);
    EXPECT_EQ(ConstantValueToText(ConstantValue({0x00, 0x32, 0x00})), "003200");
}

TEST(BatchNumbering, MeterIdsCarryOutOfTwoDigitsAndTheNextBatchFollows)
{
    MeterBatch b;
    b.idFrom = "98";
    b.count = 3;
    EXPECT_EQ(b.MeterId(0), "98");
    EXPECT_EQ(b.MeterId(1), "99");
    EXPECT_EQ(b.MeterId(2), "00");
    EXPECT_EQ(b.Next().idFrom, "01");
    // A hundred meters bring both numbers back to where they started.
    b.idFrom = "37";
    b.number = "000042";
    b.count = 100;
    EXPECT_EQ(b.Next().idFrom, "37");
    EXPECT_EQ(b.Next().number, "000042");
    EXPECT_EQ(b.Next().count, 100);
    // A short "ID from" is padded on the left, a long one read by its first two characters.
    EXPECT_EQ(BatchMeterId("5", 0), "05");
    EXPECT_EQ(BatchMeterId("", 3), "03");
    EXPECT_EQ(BatchMeterId("123", 1), "13");
}

TEST(BatchNumbering, Id2NumbersAdvanceInTheirLastTwoDigits)
{
    MeterBatch b;
    b.prefix = "xx";
    b.number = "000001";
    b.count = 2;
    EXPECT_EQ(b.Id2(0), "xx000001");
    EXPECT_EQ(b.Id2(1), "xx000002");
    EXPECT_EQ(b.Next().number, "000003");
    EXPECT_EQ(b.Next().prefix, "xx");

    struct Case {
        const char* number;
        int k;
        const char* advanced;
    } cases[] = {
        {"000001", 5, "000006"}, {"000098", 5, "000003"},
        {"1299", 1, "1200"},     {"7", 5, "2"},
        {"9", 1, "0"},           {"", 5, ""},
        {"42", 100, "42"},       {"12345678", 99, "12345677"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AdvanceId2Number(c.number, c.k), c.advanced) << c.number << " + " << c.k;
}

TEST(BatchNumbering, PrefixAndNumberShareTheTwelveOfAnId2)
{
    EXPECT_EQ(Id2NumberLimit("xx"), 10u);
    EXPECT_EQ(Id2NumberLimit("abcdef"), 6u);
    EXPECT_EQ(Id2NumberLimit(""), 12u);
    // Counted as a table reads them back: a Chinese character takes two.
    EXPECT_EQ(Id2NumberLimit("北京"), 8u);
    MeterBatch b;
    b.prefix = "北京市";
    b.number = "1234567";
    EXPECT_EQ(b.Id2(0), "北京市123456"); // cut to the width of the column, never mid-character
    EXPECT_EQ(GbkWidth(b.Id2(0)), 12u);
}

// A batch inserted through the document into a real installation database.
class MeterBatchTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        if (const std::string why = test::EngineUnavailable(GetParam()); !why.empty())
            GTEST_SKIP() << why;
        db.emplace(GetParam(), "install");
        ASSERT_EQ(CreateInstallationSchema(db->Name(), prompter), 1);
        doc = std::make_unique<CMrvDoc>(store, prompter, dir.File("bin/mrv003e"));
        doc->m_connect = db->Connect();
        ASSERT_EQ(doc->LoadTables(CMrvDoc::TableHhus | CMrvDoc::TableBlocks), 1);
        ASSERT_EQ(doc->GetDatabase().InsertHhu({1, "H"}), 1);
        ASSERT_EQ(doc->GetDatabase().InsertBlock({7, "B", 1, 0x3200}), 1);
    }
    std::vector<std::string> Meters()
    {
        std::vector<std::string> out;
        for (const auto& r : db->Query("select meter_num, property_num, meter_address, "
                                       "district_id from meter order by rowid"))
            out.push_back(r.at(0) + " " + r.at(1) + " " + r.at(2) + " " + r.at(3));
        return out;
    }
    MeterBatch Batch(int count)
    {
        MeterBatch b;
        b.idFrom = "98";
        b.prefix = "P-";
        b.number = "0098";
        b.count = count;
        return b;
    }

    test::TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    std::optional<test::TestDatabase> db;
    std::unique_ptr<CMrvDoc> doc;
};

INSTANTIATE_TEST_SUITE_P(Engines, MeterBatchTest, ::testing::ValuesIn(test::kAllEngines),
                         [](const auto& info) {
                             return std::string(test::EngineName(info.param));
                         });

TEST_P(MeterBatchTest, AWholeBatchIsStoredAndRemembered)
{
    const MeterBatchResult r = AddMeterBatch(*doc, 7, Batch(3), {"Elm 1", "O'Brien 路"});
    EXPECT_EQ(r.inserted, 3);
    EXPECT_TRUE(r.reachedEnd);
    EXPECT_EQ(Meters(), (std::vector<std::string>{"98 P-0098 Elm 1 7", "99 P-0099 O'Brien 路 7",
                                                  "00 P-0000  7"}));
    EXPECT_EQ(RememberedBatch(*doc), Batch(3).Next());
    EXPECT_EQ(doc->m_lastMeterId, "01");
    EXPECT_EQ(doc->m_lastMeterId2, "0001");
    EXPECT_EQ(doc->GetDataChanged(), 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(MeterBatchTest, AFailedRowAsksAndYesGoesOnToTheLastMeter)
{
    db->RefuseInserts("meter", "meter_num", "99", "refused");
    prompter.answers = {MsgAnswer::Ok, MsgAnswer::Yes}; // the database's report, the question
    const MeterBatchResult r = AddMeterBatch(*doc, 7, Batch(3), {});
    EXPECT_EQ(r.inserted, 2);
    EXPECT_TRUE(r.reachedEnd);
    EXPECT_EQ(Meters(), (std::vector<std::string>{"98 P-0098  7", "00 P-0000  7"}));
    // The database's report, then the question.
    EXPECT_THAT(prompter.Texts(), ElementsAre(HasSubstr("refused"), "Continue?"));
    EXPECT_EQ(prompter.messages.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(prompter.messages.back().caption, "");
    EXPECT_EQ(RememberedBatch(*doc), Batch(3).Next());

    // Yes on the last meter's failure still reached the end of the batch.
    prompter.messages.clear();
    prompter.answers = {MsgAnswer::Ok, MsgAnswer::Yes};
    const MeterBatch last = Batch(2); // 98 went in the first time, 99 is refused again
    EXPECT_TRUE(AddMeterBatch(*doc, 7, last, {}).reachedEnd);
    EXPECT_THAT(prompter.Texts(), ElementsAre(HasSubstr("refused"), "Continue?"));
}

// SQLite ends the whole transaction when a trigger says so (as a full disk does): the rows of
// the batch since the last question are gone, and the user is told.
class MeterBatchOnSqliteTest : public MeterBatchTest {};
INSTANTIATE_TEST_SUITE_P(Engines, MeterBatchOnSqliteTest, ::testing::Values(Engine::Sqlite),
                         [](const auto& info) {
                             return std::string(test::EngineName(info.param));
                         });

TEST_P(MeterBatchOnSqliteTest, RowsTheDatabaseUndidAreNamed)
{
    db->RefuseInserts("meter", "meter_num", "00", "refused", "rollback");
    prompter.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Yes};
    MeterBatch b = Batch(4);
    const MeterBatchResult r = AddMeterBatch(*doc, 7, b, {});
    // 98 and 99 were undone with the transaction; 01 went in after the question.
    EXPECT_EQ(r.inserted, 1);
    EXPECT_EQ(Meters(), (std::vector<std::string>{"01 P-0001  7"}));
    EXPECT_THAT(prompter.Texts(),
                ElementsAre(HasSubstr("refused"),
                            "The database did not keep the last 2 meters of this batch.",
                            "Continue?"));
    EXPECT_TRUE(r.reachedEnd);
}

} // namespace
} // namespace mrv
