#include "UiTest.h"

#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "ui/datafile/CDataFileSheet.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace mrv {
namespace {

using test::Press;
using test::ScriptedPrompter;
using test::TempDir;

using Bytes3 = std::array<std::uint8_t, 3>;

class DataFileSheetTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    CMrvDoc doc{store, prompter, dir.File("mrv003e")};

    void SetUp() override { doc.LoadSettings(); } // an empty profile: the defaults

    // Opens the sheet on the document, lets `edit` work on it, then presses `button`.
    // Returns whether the sheet closed.
    bool RunSheet(const std::function<void(CDataFileSheet&)>& edit,
                  QDialogButtonBox::StandardButton button = QDialogButtonBox::Ok,
                  const std::function<void(CDataFileSheet&)>& after = {})
    {
        CDataFileSheet sheet(doc);
        sheet.show();
        edit(sheet);
        Press(sheet, button);
        if (after)
            after(sheet);
        return !sheet.isVisible();
    }
    static void Type(QWidget& sheet, const char* field, const char* text)
    {
        auto* edit = sheet.findChild<QLineEdit*>(field);
        ASSERT_NE(edit, nullptr) << field;
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(DataFileSheetTest, OkForcesConstantAndCycleTime)
{
    struct Case {
        Bytes3 constant, constantAfter;
        int prescaler, prescalerAfter;
        int show2, cycleShown;
    };
    const Case cases[] = {
        {{0x99, 0x00, 0x00}, {0x00, 0x01, 0x00}, 1, 1, 0x81, 2},
        {{0x00, 0x01, 0x00}, {0x00, 0x01, 0x00}, 55, 55, 0x9F, 30},
        {{0x00, 0x32, 0x00}, {0x00, 0x32, 0x00}, 100, 100, 0x85, 5},
    };
    for (const Case& c : cases) {
        doc.m_params.constant = c.constant;
        doc.m_params.constIndex = 0;
        doc.m_params.prescaler = std::uint8_t(c.prescaler);
        doc.m_params.show[2] = std::uint8_t(c.show2);
        QString prescalerShown;
        int cycleShown = 0;
        EXPECT_TRUE(RunSheet([&](CDataFileSheet& s) {
            prescalerShown = s.findChild<QLineEdit*>("prescaler")->text();
            cycleShown = s.findChild<QSpinBox*>("cycleTime")->value();
        }));
        EXPECT_EQ(prescalerShown, QString::number(c.prescaler));
        EXPECT_EQ(cycleShown, c.cycleShown);
        EXPECT_EQ(doc.m_params.constant, c.constantAfter) << c.prescaler;
        EXPECT_EQ(doc.m_params.prescaler, c.prescalerAfter);
        EXPECT_EQ(doc.m_params.show[2], c.cycleShown);
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DataFileSheetTest, OkAtOnceKeepsEverythingButWhatTheRulesForce)
{
    // Not the defaults, so that a field the pages lose or mangle shows.
    DataFileParameters& p = doc.m_params;
    for (std::size_t i = 0; i < 8; ++i) {
        p.dayTable[i] = {std::uint8_t(1 + i % 4), std::uint8_t(5 * i), std::uint8_t(i + 2)};
        p.yearTable[i] = {std::uint8_t(1 + i % 2), std::uint8_t(i + 1), std::uint8_t(i + 20)};
    }
    p.resetDay = 0x1508;
    p.pulseWidth = 7;
    p.protectionFlag = 3;
    p.showExt = {0x81, 0x81};
    MeterValues& v = doc.m_values;
    v.password = {0x56, 0x34, 0x12};
    v.meterId = {1, 2, 3, 4, 5, 6};
    v.carrierAddress = 0x1234;
    v.trimValue = -5;
    v.meterConstant = 3200;
    v.vHigh = 250;
    v.owingTimeToWrite = 9;
    v.relayStatus = 0x55;
    v.controlOwing = 0x55;
    v.meterType = 0x0A;
    v.prices[2] = {3, 45};
    v.priceYear = 26;
    doc.m_link.sendDelay = 55;

    DataFileParameters expected = p;
    expected.show = {0x3F, 0xFF, 0x05}; // the profile default 0x85FFFF after the rules
    expected.resetHour = 8;
    expected.readKwh[2] &= 0x0F; // the tariff mask keeps four bits
    ASSERT_TRUE(RunSheet([](CDataFileSheet&) {}));
    EXPECT_EQ(doc.m_params, expected);
    EXPECT_EQ(v.password, (Bytes3{0x56, 0x34, 0x12}));
    EXPECT_EQ(v.meterId, (std::array<std::uint8_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(v.carrierAddress, 0x1234);
    EXPECT_EQ(v.trimValue, -5);
    EXPECT_EQ(v.meterConstant, 3200);
    EXPECT_EQ(v.vHigh, 250);
    EXPECT_EQ(v.owingTimeToWrite, 9);
    EXPECT_EQ(v.relayStatus & 0xFF, 0x55);
    EXPECT_EQ(v.controlOwing & 0xFF, 0x55);
    EXPECT_EQ(v.meterType, 0x0A);
    EXPECT_EQ(v.prices[2].whole, 3);
    EXPECT_EQ(v.prices[2].hundredths, 45);
    EXPECT_EQ(v.priceYear, 26);
    EXPECT_EQ(doc.m_link.sendDelay, 55u);
}

TEST_F(DataFileSheetTest, PeriodCountThreeCopiesEntryThreeOnward)
{
    bool laterRowsDisabled = false;
    ASSERT_TRUE(RunSheet([&](CDataFileSheet& s) {
        s.Tabs()->setCurrentIndex(1);
        Type(s, "periodCount", "3");
        laterRowsDisabled = !s.findChild<QWidget*>("dayHour4")->isEnabled() &&
                            !s.findChild<QWidget*>("yearTable8")->isEnabled() &&
                            s.findChild<QWidget*>("dayHour3")->isEnabled();
        Type(s, "dayHour3", "14");
        Type(s, "dayMinute3", "45");
        s.findChild<QComboBox*>("dayTariff3")->setCurrentIndex(1);
        Type(s, "yearFirst3", "12");
        Type(s, "yearSecond3", "31");
        s.findChild<QComboBox*>("yearTable3")->setCurrentIndex(1);
    }));
    EXPECT_TRUE(laterRowsDisabled);
    EXPECT_EQ(doc.m_params.periodCount, 3);
    for (std::size_t i = 2; i < 8; ++i) {
        EXPECT_EQ(doc.m_params.dayTable[i], (Bytes3{2, 45, 14})) << i;
        EXPECT_EQ(doc.m_params.yearTable[i], (Bytes3{2, 31, 12})) << i;
    }
    EXPECT_EQ(doc.m_params.dayTable[1], (Bytes3{3, 0, 0}));
}

TEST_F(DataFileSheetTest, RelayStatusIsShownAgainWhenReopened)
{
    for (const char* choice : {"relayClose", "relayTrip", "relayClose"}) {
        ASSERT_TRUE(RunSheet([&](CDataFileSheet& s) {
            QTest::mouseClick(s.findChild<QRadioButton*>(choice), Qt::LeftButton, Qt::NoModifier,
                              QPoint(4, 4));
        }));
        bool closeShown = false, tripShown = false;
        RunSheet(
            [&](CDataFileSheet& s) {
                closeShown = s.findChild<QRadioButton*>("relayClose")->isChecked();
                tripShown = s.findChild<QRadioButton*>("relayTrip")->isChecked();
            },
            QDialogButtonBox::Cancel);
        const bool trip = std::string(choice) == "relayTrip";
        EXPECT_EQ(tripShown, trip) << choice;
        EXPECT_EQ(closeShown, !trip) << choice;
        EXPECT_EQ((doc.m_values.relayStatus & 0xFF) == 0x55, trip) << choice;
    }
}

TEST_F(DataFileSheetTest, CancelChangesNothing)
{
    const DataFileParameters before = doc.m_params;
    ASSERT_TRUE(RunSheet(
        [&](CDataFileSheet& s) {
            Type(s, "prescaler", "55");
            Type(s, "interval", "99");
            Type(s, "trim", "7");
            Type(s, "periodCount", "2");
            Type(s, "dayHour1", "12");
            QTest::mouseClick(s.findChild<QRadioButton*>("relayTrip"), Qt::LeftButton,
                              Qt::NoModifier, QPoint(4, 4));
            for (QCheckBox* box : s.findChildren<QCheckBox*>())
                box->setChecked(!box->isChecked());
            s.findChild<QSpinBox*>("cycleTime")->setValue(20);
        },
        QDialogButtonBox::Cancel));
    EXPECT_EQ(doc.m_params, before);
    EXPECT_EQ(doc.m_link.sendDelay, 40u);
    EXPECT_EQ(doc.m_values.trimValue, 0);
    EXPECT_EQ(doc.m_values.relayStatus, 0);
    EXPECT_EQ(doc.m_values.meterType, 0);
}

TEST_F(DataFileSheetTest, ANumberOutOfItsRangeIsNamedOnItsPageAndNothingIsStored)
{
    struct Case {
        const char* field;
        const char* text;
        int page;
        const char* message;
    } cases[] = {
        {"interval", "-1", 0, "Package Interval (ms) must be an integer from 0 to 5000."},
        {"protectionFlag", "300", 0, "Protection flag must be an integer from 0 to 255."},
        {"priceYear", "2026", 2, "Year must be an integer from 0 to 99."},
        {"trim", "x1", 0, "Trim must be an integer from -128 to 127."},
        {"yearFirst1", "256", 1, "Year Table 1. From (first number) must be an integer from 0 to 255."},
    };
    const DataFileParameters before = doc.m_params;
    const MeterValues values = doc.m_values;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        prompter.messages.clear();
        int page = -1;
        bool focused = false;
        const bool closed = RunSheet(
            [&](CDataFileSheet& s) {
                Type(s, "prescaler", "20"); // a change that must not be stored either
                Type(s, c.field, c.text);
                s.Tabs()->setCurrentIndex(c.page == 1 ? 2 : 1); // another page is showing
            },
            QDialogButtonBox::Ok,
            [&](CDataFileSheet& s) {
                page = s.Tabs()->currentIndex();
                focused = s.focusWidget() == s.findChild<QWidget*>(c.field);
            });
        EXPECT_FALSE(closed);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, c.message);
        EXPECT_EQ(page, c.page);
        EXPECT_TRUE(focused);
    }
    EXPECT_EQ(doc.m_params, before);
    EXPECT_EQ(doc.m_values.protectionFlag, values.protectionFlag);
    EXPECT_EQ(doc.m_values.priceYear, values.priceYear);
    EXPECT_EQ(doc.m_link.sendDelay, 40u);
}

TEST_F(DataFileSheetTest, AListShowsTheStoredNumberItDoesNotOfferAndOkKeepsIt)
{
    // The default profile gives the year table day-table number 3, which the write sends.
    ASSERT_EQ(doc.m_params.yearTable[0][0], 3);
    doc.m_params.yearTable[1][0] = 2;
    std::vector<QString> shown;
    ASSERT_TRUE(RunSheet([&](CDataFileSheet& s) {
        for (const char* list : {"yearTable1", "yearTable2", "dayTariff1"})
            shown.push_back(s.findChild<QComboBox*>(list)->currentText());
        EXPECT_EQ(s.findChild<QComboBox*>("yearTable2")->count(), 2);
    }));
    EXPECT_EQ(shown, (std::vector<QString>{"T3", "T2", "T3"}));
    EXPECT_EQ(doc.m_params.yearTable[0][0], 3);
    EXPECT_EQ(doc.m_params.yearTable[1][0], 2);
}

} // namespace
} // namespace mrv
