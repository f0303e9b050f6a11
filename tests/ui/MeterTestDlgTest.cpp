// The meter test station driven through its widgets against a simulated meter on a
// pseudo-terminal opened as COM1, with the results in a test database of the test's own.
#include "ui/meterdlg/CMeterTestDlg.h"

#include "base/SettingsStore.h"
#include "db/Schema.h"
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"
#include "support/ScriptedPrompter.h"
#include "support/SimReplyLatch.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"

#include "UiTest.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <memory>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace mrv::test {
namespace {

using Regs = std::vector<std::uint16_t>;

class MeterTestDlgTest : public ::testing::Test {
protected:
    MeterTestDlgTest() : clock(PcTime{2024, 12, 31, 9, 5, 3, 2}), sim({1}, clock) {}

    void SetUp() override
    {
        ASSERT_TRUE(sim.Start());
        doc = std::make_unique<CMrvDoc>(store, prompter, dir.File("mrv003e"));
        doc->m_comIndex = 0;
        doc->SetComDevice(0, sim.SlavePath());
        doc->m_link.sendDelay = 0;
        doc->m_dbTest = results.Name();
    }

    void TearDown() override
    {
        dlg.reset();
        doc.reset();
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, "");
        sim.Stop();
    }

    CMeterTestDlg& Open()
    {
        dlg = std::make_unique<CMeterTestDlg>(*doc);
        dlg->Link().SetClock(&clock);
        dlg->show();
        return *dlg;
    }

    void Test() { QTest::mouseClick(dlg->RunButton(), Qt::LeftButton); }

    std::vector<std::string> Marks()
    {
        std::vector<std::string> rows;
        for (int i = 0; i < kTestRows; ++i)
            rows.push_back(dlg->RowText(TestRow(i))->text().toStdString() + " " +
                           dlg->RowIcon(TestRow(i))->accessibleName().toStdString());
        return rows;
    }

    Rows Saved() const { return results.Query("select * from test order by 1"); }

    // The meter's registers as a healthy meter holds them.
    void Healthy()
    {
        ASSERT_TRUE(sim.SetRegisters(0, 0, {0x0001, 0xE240})); // 1234.56 kWh
        ASSERT_TRUE(sim.SetRegisters(0, 10009, {0}));
    }

    TempDir dir;
    FixedClock clock;
    MeterSimulator sim;
    TestDatabase results{Engine::Sqlite, "results"};
    MemorySettingsStore store;
    ScriptedPrompter prompter;
    std::unique_ptr<CMrvDoc> doc;
    std::unique_ptr<CMeterTestDlg> dlg;
};

const std::vector<std::string> kAllPassed(5, "OK pass");
const std::vector<std::string> kWaiting(5, "Wait wait");

TEST_F(MeterTestDlgTest, OpeningShowsTheParametersTheProfileAndWaitingRows)
{
    doc->m_baudIndex = 4; // 9600
    doc->m_params.constant = {0x00, 0x16, 0x00};
    doc->m_params.priority = 1;
    store.PutString("metertest", "kwh1", "1234");
    store.PutString("metertest", "p1", "5");
    store.PutString("metertest", "kdif", "7");
    store.PutInt("metertest", "teste", 1);
    Open();
    EXPECT_EQ(dlg->windowTitle(), "Meter Test");
    EXPECT_EQ(dlg->ParameterEdit()->toPlainText().toStdString(),
              "COM1[9600]\n\nConstant：001600\n\nProtect：01\nPrescaler：10\nPulse Width：04\n\n");
    EXPECT_EQ(dlg->MeterIdEdit()->text(), "");
    EXPECT_EQ(dlg->focusWidget(), dlg->MeterIdEdit());
    EXPECT_EQ(Marks(), kWaiting);
    EXPECT_EQ(dlg->KwhEdit()->text(), "1234");
    EXPECT_EQ(dlg->HundredthsEdit()->text(), "5");
    EXPECT_EQ(dlg->DiffEdit()->text(), "7");
    EXPECT_TRUE(dlg->TestEnergyBox()->isChecked());
    EXPECT_FALSE(dlg->ClearEnergyBox()->isChecked());
    EXPECT_TRUE(dlg->RunButton()->isDefault());
    EXPECT_FALSE(dlg->StopButton()->isEnabled());
    QStringList names;
    for (const QWidget* w : dlg->findChildren<QWidget*>())
        names << w->accessibleName();
    for (const char* name : {"Meter ID:", "E total", "E total hundredths", "Diff(0.01kWh)",
                             "Parameter", "log", "MeterID", "Priority"})
        EXPECT_TRUE(names.contains(name)) << name;
}

// The test runs at 1200 bit/s whatever rate is configured (the Parameter box shows that one).
TEST_F(MeterTestDlgTest, AHealthyMeterPassesEveryRowAtTwelveHundredAndIsSaved)
{
    doc->m_baudIndex = 4; // 9600
    const int line = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(line, &t), 0);
    cfsetospeed(&t, B9600);
    cfsetispeed(&t, B9600);
    ASSERT_EQ(tcsetattr(line, TCSANOW, &t), 0);

    Open();
    dlg->MeterIdEdit()->setText("01");
    Test();
    ASSERT_EQ(tcgetattr(line, &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B1200));
    ::close(line);

    EXPECT_EQ(Marks(), kAllPassed);
    EXPECT_TRUE(dlg->ParameterEdit()->toPlainText().startsWith("COM1[9600]"));
    EXPECT_EQ(Saved(),
              (Rows{{"01", "合格", "24/12/31", "03200", "001234.56", "120300", "000a04", "NO"}}));
    EXPECT_NE(dlg->LogEdit()->toPlainText().indexOf("read total energy:\n  1234.56\n"), -1);
    EXPECT_EQ(SerialPort::IsClosed(1), 1);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(dlg->RunButton()->isEnabled());
}

TEST_F(MeterTestDlgTest, TheEnergyRowAgainstTheTolerance)
{
    const struct {
        const char* name;
        Regs energy;
        const char* kwh;
        const char* hundredths;
        const char* diff;
        bool testEnergy;
        const char* row;
    } cases[] = {
        {"all zero fails without Test Energy", {0, 0}, "0", "00", "2", false, "Fail fail"},
        {"a difference equal to the allowed one",
         {0x0001, 0xE240},
         "1234",
         "54",
         "2",
         true,
         "OK pass"},
        {"a difference above it", {0x0001, 0xE240}, "1234", "54", "1", true, "Fail fail"},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim.SetRegisters(0, 0, c.energy));
        dlg->KwhEdit()->setText(c.kwh);
        dlg->HundredthsEdit()->setText(c.hundredths);
        dlg->DiffEdit()->setText(c.diff);
        dlg->TestEnergyBox()->setChecked(c.testEnergy);
        Test();
        EXPECT_EQ(Marks()[2], c.row);
        EXPECT_EQ(Marks()[3], "OK pass");
        const bool passed = std::string(c.row) == "OK pass";
        ASSERT_EQ(Saved().size(), 1u);
        EXPECT_EQ(Saved()[0][1], passed ? "合格" : "不合格");
    }
}

TEST_F(MeterTestDlgTest, ClearEnergyIfOkActsOnlyWhenEveryRowPassed)
{
    Open();
    dlg->ClearEnergyBox()->setChecked(true);

    Healthy();
    ASSERT_TRUE(sim.SetRegisters(0, 10009, {3})); // the meter refused commands: Version fails
    Test();
    EXPECT_EQ(Marks()[3], "Fail fail");
    EXPECT_EQ(sim.ReadRegisters(0, 0, 2), (Regs{0x0001, 0xE240}));
    ASSERT_EQ(Saved().size(), 1u);
    EXPECT_EQ(Saved()[0][1], "不合格");
    EXPECT_EQ(Saved()[0][7], "NO");

    Healthy();
    Test();
    EXPECT_EQ(Marks(), kAllPassed);
    EXPECT_EQ(sim.ReadRegisters(0, 0, 2), (Regs{0, 0}));
    ASSERT_EQ(Saved().size(), 1u);
    EXPECT_EQ(Saved()[0][1], "合格");
    EXPECT_EQ(Saved()[0][4], "001234.56"); // the energy tested, before the clear
    EXPECT_EQ(Saved()[0][7], "YES");
    EXPECT_NE(dlg->LogEdit()->toPlainText().indexOf("Clear Energy:\n  OK!\n"), -1);
}

TEST_F(MeterTestDlgTest, TestingOneMeterTwiceLeavesOneRowWithTheSecondResult)
{
    ASSERT_TRUE(sim.SetRegisters(0, 10077, {9})); // another prescaler
    Open();
    Test();
    EXPECT_EQ(Marks()[4], "Fail fail");
    ASSERT_EQ(Saved().size(), 1u);
    EXPECT_EQ(Saved()[0][1], "不合格");
    EXPECT_EQ(Saved()[0][6], "000904");

    ASSERT_TRUE(sim.SetRegisters(0, 10077, {10}));
    clock.Set(PcTime{2025, 1, 2, 8, 0, 0, 4});
    Test();
    EXPECT_EQ(Saved(),
              (Rows{{"01", "合格", "25/01/02", "03200", "001234.56", "120300", "000a04", "NO"}}));
}

TEST_F(MeterTestDlgTest, ASilentMeterShowsCommErrorAndSavesNothing)
{
    ASSERT_EQ(CreateTestSchema(results.Name(), prompter), 1);
    sim.SetFaults(SimFaults{.silent = true});
    Open();
    Test();
    std::vector<std::string> rows = kWaiting;
    rows[0] = "Comm error fail";
    EXPECT_EQ(Marks(), rows);
    EXPECT_EQ(Saved(), Rows{});
    EXPECT_EQ(dlg->LogEdit()->toPlainText(), "read address\n  Fail!\n\n");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(SerialPort::IsClosed(1), 1);

    sim.SetFaults({});
    Test(); // the rows start again from "Wait"
    EXPECT_EQ(Marks(), kAllPassed);
}

TEST_F(MeterTestDlgTest, APortThatCannotBeOpenedChangesNoRow)
{
    doc->SetComDevice(0, dir.File("no-such-port"));
    Open();
    Test();
    ASSERT_EQ(prompter.Texts(), std::vector<std::string>{"Can't open this port!"});
    EXPECT_EQ(Marks(), kWaiting);
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(MeterTestDlgTest, ToleranceValuesOutOfRangeAreRefusedBeforeTheTest)
{
    Open();
    const struct {
        QLineEdit* edit;
        const char* text;
        const char* message;
    } cases[] = {
        {dlg->KwhEdit(), "", "E total: please enter the whole kWh, a number from 0 to 999999."},
        {dlg->HundredthsEdit(), "123", "E total: please enter one or two digits after the point."},
        {dlg->DiffEdit(), "", "Diff(0.01kWh): please enter a number from 0 to 999999."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        dlg->KwhEdit()->setText("0");
        dlg->HundredthsEdit()->setText("00");
        dlg->DiffEdit()->setText("2");
        c.edit->setText(c.text);
        prompter.messages.clear();
        Test();
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>{c.message});
        EXPECT_EQ(dlg->focusWidget(), c.edit);
    }
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(MeterTestDlgTest, CancelKeepsTheValuesOfTheLastTestEscapeKeepsNothing)
{
    Open();
    dlg->KwhEdit()->setText("1234");
    dlg->HundredthsEdit()->setText("56");
    dlg->DiffEdit()->setText("3");
    dlg->ClearEnergyBox()->setChecked(true);
    Test();
    EXPECT_EQ(doc->m_testDbOpen, 1);
    dlg->KwhEdit()->setText("999"); // after the last test: not kept
    QTest::mouseClick(dlg->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(store.GetString("metertest", "kwh1", ""), "1234");
    EXPECT_EQ(store.GetString("metertest", "p1", ""), "56");
    EXPECT_EQ(store.GetString("metertest", "kdif", ""), "3");
    EXPECT_EQ(store.GetInt("metertest", "teste", -1), 0);
    EXPECT_EQ(store.GetInt("metertest", "cleare", -1), 1);
    EXPECT_EQ(doc->m_testDbOpen, 0);

    Open();
    EXPECT_EQ(dlg->KwhEdit()->text(), "1234");
    dlg->KwhEdit()->setText("77");
    Test();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(store.GetString("metertest", "kwh1", ""), "1234");
    EXPECT_EQ(doc->m_testDbOpen, 1); // the next test uses it as it is
}

TEST_F(MeterTestDlgTest, EnterTestsAndStopEndsATestWithNothingSaved)
{
    Open();
    dlg->MeterIdEdit()->setFocus();
    QTest::keyClick(dlg->MeterIdEdit(), Qt::Key_Return);
    EXPECT_EQ(sim.RequestCount(), 5);
    EXPECT_EQ(Saved().size(), 1u);

    ASSERT_TRUE(sim.SetRegisters(0, 21, {0x0204})); // another meter on the bench
    // The meter holds its reply until the test is over: only the Stop can end the wait
    // before its time-out.
    const auto replies = test::HoldReplies(sim);
    bool onlyStopEnabled = false;
    bool rowsEnabled = false;
    // Pressed while the second meter's address read waits for its reply.
    const auto waiting = [&] { return dlg->Running() && sim.RequestCount() >= 6; };
    const auto pressStop = [&] {
        onlyStopEnabled = dlg->StopButton()->isEnabled() && !dlg->RunButton()->isEnabled() &&
                          !dlg->CancelButton()->isEnabled() && !dlg->KwhEdit()->isEnabled() &&
                          !dlg->MeterIdEdit()->isEnabled() && !dlg->ClearEnergyBox()->isEnabled();
        // Their marks keep their colours as the rows fill.
        rowsEnabled = dlg->RowIcon(TestRow::MeterId)->isEnabled();
        QTest::mouseClick(dlg->StopButton(), Qt::LeftButton);
    };
    ASSERT_TRUE(OnceDuringRun([&] { Test(); }, waiting, pressStop));
    replies->Open();
    EXPECT_TRUE(onlyStopEnabled);
    EXPECT_TRUE(rowsEnabled);
    EXPECT_EQ(sim.RequestCount(), 6);
    EXPECT_EQ(Marks(), kWaiting); // the address read was cut short: no row is judged
    EXPECT_TRUE(dlg->LogEdit()->toPlainText().contains("  Stopped while waiting for the reply.\n"));
    EXPECT_EQ(Saved().size(), 1u); // meter 02 was not saved
    EXPECT_TRUE(dlg->LogEdit()->toPlainText().endsWith("nothing was saved.\n"));
}

TEST(MeterTestMenuTest, CommunicationMeterTestOpensTheStation)
{
    TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store(QString::fromStdString(dir.File("profile.ini")));
    CMrvApp app(store, &prompter, dir.File("mrv003e"));
    ASSERT_TRUE(app.InitInstance(false));
    QString title;
    EXPECT_TRUE(WithModal([&] { app.MainFrame()->Action("MeterTest")->trigger(); },
                          [&](QDialog& d) {
                              title = d.windowTitle();
                              EXPECT_NE(qobject_cast<CMeterTestDlg*>(&d), nullptr);
                          }));
    EXPECT_EQ(title, "Meter Test");
}

} // namespace
} // namespace mrv::test
