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

TEST(BlockConstant, ATypedConstantOutOfRangeIsRefusedByNameAndRange)
{
    for (const char* text : {"000100", "100", "3200", "099999", "99999"})
        EXPECT_EQ(CheckConstantText(text), std::nullopt) << text;
    for (const char* text : {"99", "000099", "100000", "123456", "", "12a4", "1234567"})
        EXPECT_EQ(CheckConstantText(text), "Constant must be a number from 100 to 99999.") << text;
}

TEST(EditForm, NewIdsFollowTheHighestUntilTheLastThenFillGaps)
{
    EXPECT_EQ(ProposedId({}), 1);
    EXPECT_EQ(ProposedId({3, 9, 5}), 10);
    EXPECT_EQ(ProposedId({9998}), 9999);
    EXPECT_EQ(ProposedId({1, 2, 4, 9999}), 3);
    std::vector<std::int32_t> all(kMaxRecordId);
    for (std::int32_t i = 0; i < kMaxRecordId; ++i)
        all[std::size_t(i)] = i + 1;
    EXPECT_EQ(ProposedId(all), 10000); // none free: refused on OK with the range
}

TEST(EditForm, MeterIdsAreStoredInTwoDigits)
{
    EXPECT_EQ(TwoDigitMeterId("5"), "05");
    EXPECT_EQ(TwoDigitMeterId("05"), "05");
    EXPECT_EQ(TwoDigitMeterId("42"), "42");
    EXPECT_EQ(TwoDigitMeterId(""), "");
}

TEST(EditForm, QueryLooksUpByTheFieldFilledLastAndSaysWhatItFound)
{
    struct Case {
        int last;
        const char *meterId, *meterId2;
        std::optional<MeterLookup> lookup;
    } cases[] = {
        {2, "05", "B40M5", MeterLookup{2, "B40M5"}}, // a Meter ID left from before is not used
        {1, "05", "B40M5", MeterLookup{1, "05"}},
        {1, "5", "", MeterLookup{1, "05"}},
        {2, "7", "", MeterLookup{1, "07"}}, // the last one emptied: the other
        {1, "", "X1", MeterLookup{2, "X1"}},
        {1, "", "", std::nullopt},
        {2, "", "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QueryLookup(c.last, c.meterId, c.meterId2), c.lookup)
            << c.last << " " << c.meterId << " " << c.meterId2;
    EXPECT_EQ(QueryMatchNote({1, "05"}, 0, 1), "Found by Meter ID 05.");
    EXPECT_EQ(QueryMatchNote({2, "B5"}, 1, 3), "Meter 2 of 3 found by Meter ID2 B5.");
}

TEST(BatchNumbering, MeterAddProposesTheStartAfterTheBlocksHighestId2)
{
    MeterBatch remembered; // 00, xx00, 1
    const auto meter = [](const char* num, const char* id2) {
        return MeterRecord{num, id2, "", 7};
    };
    // A batch of 100 from xx00: the remembered values came round to the start again.
    MeterList hundred;
    for (int k = 0; k < 100; ++k)
        hundred.push_back(
            meter(BatchMeterId("00", k).c_str(), ("xx" + BatchMeterId("00", k)).c_str()));
    remembered.count = 100;
    MeterBatch proposed = ProposedBatch(remembered, hundred);
    EXPECT_EQ(proposed.number, "100");
    EXPECT_EQ(proposed.idFrom, "00"); // after the 99 of the highest ID2
    EXPECT_EQ(proposed.count, 100);

    struct Case {
        const char* idFrom;
        const char* number;
        MeterList block;
        const char* wantIdFrom;
        const char* wantNumber;
    } cases[] = {
        {"00", "00", {}, "00", "00"}, // an empty Block
        {"00", "00", {meter("03", "xx07"), meter("04", "xx05")}, "04", "08"},
        {"20", "09", {meter("03", "xx07")}, "20", "09"}, // already past them
        {"00", "0001", {meter("03", "xx07"), meter("09", "yy0042")}, "00", "0001"},  // other form
        {"00", "0001", {meter("12", "xx0041"), meter("x", "xx0049")}, "00", "0050"}, // odd Meter ID
        {"00", "9", {meter("12", "xx9")}, "13", "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.idFrom) + " " + c.number);
        MeterBatch b;
        b.idFrom = c.idFrom;
        b.number = c.number;
        const MeterBatch p = ProposedBatch(b, c.block);
        EXPECT_EQ(p.idFrom, c.wantIdFrom);
        EXPECT_EQ(p.number, c.wantNumber);
        EXPECT_EQ(p.prefix, "xx");
    }
    // No room for a longer number after the prefix: the remembered values stay.
    MeterBatch full;
    full.prefix = "abcdefghij";
    full.number = "99";
    EXPECT_EQ(ProposedBatch(full, {meter("01", "abcdefghij99")}), full);
}

TEST(BatchNumbering, MeterIdsInUseInTheBlockAreAskedAbout)
{
    MeterBatch b;
    b.idFrom = "98";
    b.count = 4; // 98 99 00 01
    EXPECT_EQ(BatchMeterIdQuestion({{"50", "a", "", 7}}, 7, b), std::nullopt);
    EXPECT_EQ(BatchMeterIdQuestion({{"99", "a", "", 7}}, 7, b),
              "Meter ID 99 is already used in Block 0007.\nAdd the meters all the same?");
    EXPECT_EQ(
        BatchMeterIdQuestion({{"01", "a", "", 7}, {"00", "b", "", 7}, {"99", "c", "", 7}}, 7, b),
        "Meter ID 99 is already used in Block 0007 (and 2 more Meter IDs of this "
        "batch).\nAdd the meters all the same?");
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

TEST_P(MeterBatchTest, AnId2InUseAnywhereIsRefusedByNameBeforeAnythingIsInserted)
{
    ASSERT_EQ(doc->GetDatabase().InsertBlock({8, "C", 1, 0x3200}), 1);
    ASSERT_EQ(doc->GetDatabase().InsertMeter({"40", "P-0099", "", 8}), 1);
    ASSERT_EQ(doc->GetDatabase().InsertMeter({"41", "P-0098", "", 8}), 1);
    const std::vector<std::string> before = Meters();
    // 98 and 99 of the batch are both taken; the first of the batch is named.
    EXPECT_FALSE(BatchAccepted(*doc, 7, Batch(3)));
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{
                  "Meter ID2 P-0098 is already in use (Meter ID 41 of Block 0008)."});
    // Two meters of one batch would share an ID2 (a one-digit number repeats after ten).
    prompter.messages.clear();
    MeterBatch shared = Batch(11);
    shared.number = "5";
    EXPECT_FALSE(BatchAccepted(*doc, 7, shared));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{
                                    "Meter ID2 P-5 would be given to two meters of this batch."});
    EXPECT_EQ(Meters(), before);

    // Free ID2s whose Meter IDs the Block uses: asked; No keeps the batch out.
    prompter.messages.clear();
    ASSERT_EQ(doc->GetDatabase().InsertMeter({"98", "Q1", "", 7}), 1);
    MeterBatch free = Batch(2);
    free.prefix = "R-";
    prompter.answers = {MsgAnswer::No};
    EXPECT_FALSE(BatchAccepted(*doc, 7, free));
    prompter.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(BatchAccepted(*doc, 7, free));
    EXPECT_THAT(prompter.Texts(),
                ElementsAre(HasSubstr("Meter ID 98 is already used in Block 0007"),
                            HasSubstr("Meter ID 98 is already used in Block 0007")));
    EXPECT_EQ(prompter.messages[0].buttons, MsgButtons::YesNo);
}

TEST_P(MeterBatchTest, AChangedMeterIsCheckedAgainstTheOtherRowsOnly)
{
    MeterDatabase& d = doc->GetDatabase();
    ASSERT_EQ(d.InsertMeter({"05", "A5", "", 7}), 1);
    ASSERT_EQ(d.InsertMeter({"05", "B5", "", 7}), 1);
    ASSERT_EQ(d.InsertMeter({"06", "C6", "", 7}), 1);
    MeterList rows;
    ASSERT_EQ(d.LoadMeters(7, &rows), 3);
    const MeterRecord second = rows[1];

    // Unchanged: passes, though another meter of the Block has its Meter ID.
    EXPECT_TRUE(MeterChangeAccepted(*doc, second, second));
    // Another meter's ID2 is refused by name.
    MeterRecord taken = second;
    taken.property_num = "C6";
    EXPECT_FALSE(MeterChangeAccepted(*doc, second, taken));
    // Renumbered to a Meter ID the Block uses: asked.
    MeterRecord renumbered = second;
    renumbered.meter_num = "06";
    prompter.answers = {MsgAnswer::No, MsgAnswer::Yes};
    EXPECT_FALSE(MeterChangeAccepted(*doc, second, renumbered));
    EXPECT_TRUE(MeterChangeAccepted(*doc, second, renumbered));
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{
                  "Meter ID2 C6 is already in use (Meter ID 06 of Block 0007).",
                  "Meter ID 06 is already used in Block 0007.\nKeep it all the same?",
                  "Meter ID 06 is already used in Block 0007.\nKeep it all the same?"}));
    // A free ID2 and Meter ID: nothing asked.
    prompter.messages.clear();
    MeterRecord free = second;
    free.property_num = "Z9";
    free.meter_num = "07";
    EXPECT_TRUE(MeterChangeAccepted(*doc, second, free));
    EXPECT_TRUE(prompter.messages.empty());
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
