// The numeric fields of the Data File Setting sheet, checked and stored without the dialog.
#include "doc/ParameterForm.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace mrv {
namespace {

// The texts OK would hand over: one field's text, all eight table rows in use.
std::map<std::string, std::string> Texts(const SheetField& field, const std::string& text)
{
    std::map<std::string, std::string> texts{{"periodCount", "8"}};
    texts[field.name] = text;
    return texts;
}

TEST(ParameterForm, EveryFieldTakesItsRangeAndRefusesWhatLiesOutside)
{
    std::set<std::string> names;
    for (const SheetField& field : SheetFields()) {
        SCOPED_TRACE(field.name);
        EXPECT_TRUE(names.insert(field.name).second) << "two fields of one name";
        EXPECT_LT(field.min, field.max);
        for (const long long value : {field.min, field.max}) {
            SheetValues v;
            ASSERT_FALSE(StoreSheetFields(Texts(field, std::to_string(value)), v)) << value;
            // Stored and read back unchanged: nothing was wrapped into a narrower type.
            EXPECT_EQ(field.get(v, field.row), value);
        }
        for (const long long value : {field.min - 1, field.max + 1}) {
            SheetValues v;
            const SheetValues before = v;
            const auto refusal = StoreSheetFields(Texts(field, std::to_string(value)), v);
            ASSERT_TRUE(refusal) << value;
            EXPECT_EQ(refusal->field, &field);
            EXPECT_EQ(refusal->message, field.label + " must be an integer from " +
                                            std::to_string(field.min) + " to " +
                                            std::to_string(field.max) + ".");
            EXPECT_EQ(v.params, before.params);
            EXPECT_EQ(v.sendDelay, before.sendDelay);
        }
        for (const char* text : {"", "x1", "1.5", "1e3", "--1", "99999999999999999999"}) {
            SheetValues v;
            EXPECT_TRUE(StoreSheetFields(Texts(field, text), v)) << text;
        }
    }
}

TEST(ParameterForm, TheValuesThatWouldHaveBeenWrappedAreRefusedByName)
{
    struct Case {
        const char* field;
        const char* text;
        const char* message;
    } cases[] = {
        {"interval", "-1", "Package Interval (ms) must be an integer from 0 to 5000."},
        {"interval", "4294967295", "Package Interval (ms) must be an integer from 0 to 5000."},
        {"priceYear", "2026", "Year must be an integer from 0 to 99."},
        {"protectionFlag", "300", "Protection flag must be an integer from 0 to 255."},
        {"trim", "200", "Trim must be an integer from -128 to 127."},
        {"prescaler", "0", "Prescaler must be an integer from 1 to 100."},
        {"periodCount", "9", "Period Number must be an integer from 1 to 8."},
    };
    for (const Case& c : cases) {
        SheetValues v;
        const auto refusal = StoreSheetFields({{c.field, c.text}}, v);
        ASSERT_TRUE(refusal) << c.field << " " << c.text;
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(refusal->field->name, c.field);
    }
    const SheetField* year = FindSheetField("priceYear");
    ASSERT_NE(year, nullptr);
    EXPECT_EQ(year->page, SheetPage::Show);
    EXPECT_EQ(FindSheetField("interval")->page, SheetPage::Parameter);
    EXPECT_EQ(FindSheetField("yearFirst8")->page, SheetPage::DayTable);
}

TEST(ParameterForm, TextsAreReadInTheCLocaleAndShownWithTheirDigits)
{
    SheetValues v;
    v.params.dayTable[2] = {1, 5, 8};
    v.params.resetDay = 0x1508;
    v.sendDelay = 55;
    EXPECT_EQ(SheetFieldText(*FindSheetField("dayHour3"), v), "08");
    EXPECT_EQ(SheetFieldText(*FindSheetField("dayMinute3"), v), "05");
    EXPECT_EQ(SheetFieldText(*FindSheetField("resetDay"), v), "15");
    EXPECT_EQ(SheetFieldText(*FindSheetField("resetHour"), v), "08");
    EXPECT_EQ(SheetFieldText(*FindSheetField("interval"), v), "55");
    const SheetField& trim = *FindSheetField("trim");
    EXPECT_EQ(ParseSheetNumber(trim, " -5 "), -5);
    EXPECT_EQ(ParseSheetNumber(trim, "+7"), 7);
    EXPECT_EQ(ParseSheetNumber(trim, "1 2"), std::nullopt);
    EXPECT_EQ(ParseSheetNumber(trim, "\xef\xbc\x91"), std::nullopt); // a full-width digit
}

TEST(ParameterForm, RowsAfterThePeriodCountAreNeitherCheckedNorStored)
{
    SheetValues v;
    v.params.periodCount = 8;
    const auto refusal =
        StoreSheetFields({{"periodCount", "2"}, {"dayHour2", "25"}, {"dayHour3", "99"}}, v);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field->name, "dayHour2");
    ASSERT_FALSE(StoreSheetFields(
        {{"periodCount", "2"}, {"dayHour2", "24"}, {"dayHour3", "99"}, {"yearFirst8", "-1"}}, v));
    EXPECT_EQ(v.params.periodCount, 2);
    EXPECT_EQ(v.params.dayTable[1][2], 24);
    EXPECT_EQ(v.params.dayTable[2][2], 0); // as it was
}

TEST(ParameterForm, APriceIsAtMost65535Hundredths)
{
    SheetValues v;
    ASSERT_FALSE(StoreSheetFields({{"priceWhole2", "655"}, {"priceCents2", "35"}}, v));
    EXPECT_EQ(v.values.prices[1].whole, 655);
    EXPECT_EQ(v.values.prices[1].hundredths, 35);
    const auto refusal = StoreSheetFields({{"priceCents2", "36"}}, v);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->field->name, "priceWhole2");
    EXPECT_EQ(refusal->message, "Tarrif2 price can be at most 655.35.");
    EXPECT_EQ(v.values.prices[1].hundredths, 35);
}

TEST(ParameterForm, TheResetDateKeepsDayAndHourTogether)
{
    SheetValues v;
    ASSERT_FALSE(StoreSheetFields({{"resetDay", "28"}, {"resetHour", "23"}}, v));
    EXPECT_EQ(v.params.resetDay, 0x2823);
    EXPECT_EQ(v.params.resetHour, 23);
    ASSERT_FALSE(StoreSheetFields({{"resetHour", "7"}}, v));
    EXPECT_EQ(v.params.resetDay, 0x2807);
}

} // namespace
} // namespace mrv
