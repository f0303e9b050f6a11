// The Operate console driven through its widgets against a simulated meter on a
// pseudo-terminal opened as COM1, its log and its frame view.
#include "ui/meterdlg/COperateDlg.h"

#include "base/SettingsStore.h"
#include "datafile/FileBytes.h"
#include "doc/CMrvDoc.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"
#include "support/DecimalCommaLocale.h"
#include "support/ScriptedPrompter.h"
#include "support/SimReplyLatch.h"
#include "support/TempDir.h"
#include "ui/meterdlg/CCommSettingDlg.h"
#include "ui/meterdlg/CFrameView.h"

#include "UiTest.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace mrv::test {
namespace {

class OperateDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.Start());
        doc = std::make_unique<CMrvDoc>(store, prompter, "/opt/mrv/bin/mrv003e");
        doc->m_comIndex = 0;
        doc->SetComDevice(0, sim.SlavePath());
        doc->m_link.sendDelay = 0;
    }

    void TearDown() override
    {
        dlg.reset();
        doc.reset();
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, "");
        sim.Stop();
    }

    COperateDlg& Open()
    {
        dlg = std::make_unique<COperateDlg>(*doc);
        dlg->m_baudRate = doc->GetBaudRate();
        dlg->m_portIndex = doc->m_comIndex;
        dlg->show();
        return *dlg;
    }

    void Tick(const char* text)
    {
        QCheckBox* box = dlg->OperationBox(text);
        ASSERT_NE(box, nullptr) << text;
        box->setChecked(true);
    }

    void Send() { QTest::mouseClick(dlg->SendButton(), Qt::LeftButton); }

    std::string Log() const { return dlg->LogEdit()->toPlainText().toStdString(); }

    void TraceRequests()
    {
        sim.SetTrace([this](const std::string& line) {
            std::lock_guard lock(traceMutex);
            if (line.find(" request: ") != std::string::npos)
                requests.push_back(line.substr(line.find(" request: ") + 10));
        });
    }

    MeterSimulator sim{{1}};
    MemorySettingsStore store;
    ScriptedPrompter prompter;
    std::unique_ptr<CMrvDoc> doc;
    std::unique_ptr<COperateDlg> dlg;
    std::mutex traceMutex;
    std::vector<std::string> requests;
};

TEST_F(OperateDlgTest, LayoutShowsTheVisibleBoxesAndKeepsTheRestHidden)
{
    doc->m_baudIndex = 2;
    doc->m_comIndex = 2;
    Open();
    EXPECT_EQ(dlg->windowTitle(), "Operate");
    EXPECT_EQ(dlg->PortEdit()->text(), "COM3");
    EXPECT_EQ(dlg->BaudEdit()->text(), "2400");
    EXPECT_TRUE(dlg->PortEdit()->isReadOnly());
    EXPECT_EQ(dlg->focusWidget(), dlg->AddressEdit()); // what the user types first
    EXPECT_TRUE(dlg->LogEdit()->isReadOnly());
    EXPECT_EQ(dlg->LogEdit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(dlg->NewBaudList()->isEditable());
    EXPECT_EQ(dlg->NewBaudList()->count(), 4);
    EXPECT_EQ(dlg->NewBaudList()->itemText(3), "9600bps");

    int visible = 0;
    for (const RunOrderEntry& entry : RunOrder()) {
        if (entry.group == BoxGroup::None)
            continue;
        const QCheckBox* box = dlg->OperationBox(entry.text);
        ASSERT_NE(box, nullptr) << entry.text;
        EXPECT_EQ(box->isVisible(), entry.visible) << entry.text;
        EXPECT_FALSE(box->isChecked()) << entry.text;
        visible += entry.visible ? 1 : 0;
    }
    EXPECT_EQ(visible, 14); // twelve reads, "W address", "W baudrate"
    EXPECT_TRUE(dlg->ThreePhaseBox()->isVisible());
    EXPECT_FALSE(dlg->PasswordTablesButton()->isVisible());
    for (const char* hidden : {"PLC", "runThrough", "money", "target", "relay1", "lead"}) {
        const auto* w = dlg->findChild<QWidget*>(hidden);
        ASSERT_NE(w, nullptr) << hidden;
        EXPECT_FALSE(w->isVisible()) << hidden;
    }
}

TEST_F(OperateDlgTest, EnterWithNothingTickedPutsTheMetersAddressIntoTheField)
{
    ASSERT_TRUE(sim.SetRegisters(0, 21, {0x0704})); // meter 7 at 1200 bit/s
    Open();
    dlg->AddressEdit()->setFocus();
    QTest::keyClick(dlg->AddressEdit(), Qt::Key_Return); // address 0: the broadcast read
    EXPECT_EQ(Log(), "read address\n  07\n\n");
    EXPECT_EQ(dlg->AddressEdit()->text(), "7");
    EXPECT_EQ(dlg->m_address, 7);
    EXPECT_TRUE(prompter.messages.empty());
}

// With a translation loaded the boxes and the engine's fixed log lines and value labels are in
// its language (English for the Chinese-only ones), the values as the meter sent them, and
// the boxes keep the names the program finds them by.
TEST_F(OperateDlgTest, ATranslationShowsTheBoxesAndLogHeadersInItsLanguage)
{
    struct Case {
        const char* language;
        const char* box;
        const char* log;
    };
    const Case cases[] = {
        {"en", "R total energy",
         "read total energy:\n  987.65\n\nRead Version:\n Soft: 12\n Hard: 03\n Cmderr: fe\n\n"
         "Read owing time:\n  72\n\n"},
        {"zh_CN", "读总电量",
         "读总电量：\n  987.65\n\n读版本：\n 软件版本： 12\n 硬件版本： 03\n 命令错误： fe\n\n"
         "读欠费时间：\n  72\n\n"},
    };
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0x0001, 0x81CD}));
    ASSERT_TRUE(sim.SetRegisters(0, 10007, {0x0112, 0x0003, 0x00FE}));
    ASSERT_TRUE(sim.SetRegisters(0, 10153, {72, 0}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language);
        const InstalledTranslation translation(c.language);
        ASSERT_TRUE(translation.Loaded());
        Open();
        dlg->AddressEdit()->setText("1");
        Tick("R total energy");
        Tick("R Version");
        Tick("R owing time");
        EXPECT_EQ(dlg->OperationBox("R total energy")->text().toStdString(), c.box);
        EXPECT_EQ(dlg->OperationBox("R total energy")->objectName(), "R total energy");
        Send();
        EXPECT_EQ(Log(), c.log);
        dlg.reset();
    }
}

TEST_F(OperateDlgTest, ReadTotalEnergyLogsTheMetersValue)
{
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0x0001, 0x81CD})); // 98765 hundredths
    Open();
    dlg->AddressEdit()->setText("1");
    Tick("R total energy");
    Send();
    EXPECT_EQ(Log(), "read total energy:\n  987.65\n\n");
    EXPECT_EQ(dlg->AddressEdit()->text(), "1"); // "R address" was not ticked
}

// Whatever locale the user's desktop gives the program, the log has decimal points.
TEST_F(OperateDlgTest, ValuesKeepTheirPointUnderADecimalCommaLocale)
{
    DecimalCommaLocale comma;
    ASSERT_TRUE(comma.Ok()) << comma.Problem();
    ASSERT_TRUE(sim.SetRegisters(0, 0, {0x0001, 0x81CD})); // 98765 hundredths
    Open();
    dlg->AddressEdit()->setText("1");
    for (const char* box : {"R total energy", "R power factor", "R voltage", "R frequency"})
        Tick(box);
    Send();
    EXPECT_EQ(Log(), "read total energy:\n  987.65\n\nread power factor:\n  0.980\n\n"
                     "read voltage:\n  220.0\n\nread frequecy:\n  50.00\n\n");
}

TEST_F(OperateDlgTest, WriteAddressBroadcastsThenReadAddressReadsItBack)
{
    TraceRequests();
    Open();
    dlg->AddressEdit()->setText("5");
    Tick("R address");
    Tick("W address");
    Send();
    EXPECT_EQ(Log(), "Write address\n  OK!\n\nread address\n  05\n\n");
    EXPECT_EQ(sim.MeterAddress(0), 5);
    EXPECT_EQ(dlg->AddressEdit()->text(), "5");
    std::lock_guard lock(traceMutex);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].rfind("00 10 00 15", 0), 0u) << requests[0]; // to address 0
    EXPECT_EQ(requests[1].rfind("05 03 00 15", 0), 0u) << requests[1];
}

TEST_F(OperateDlgTest, ThreePhaseActivePowerLogsTotalAndPhases)
{
    Open();
    dlg->AddressEdit()->setText("1");
    dlg->ThreePhaseBox()->setChecked(true);
    Tick("R active power");
    Send();
    EXPECT_EQ(Log(), "read total active power:\n   3.300\n\n"
                     "read A phase active power:\n   1.100\n\n"
                     "read B phase active power:\n   1.120\n\n"
                     "read C phase active power:\n   1.080\n\n");
    EXPECT_TRUE(doc->m_values.threePhase);
}

TEST_F(OperateDlgTest, SilentMeterLogsFailAndTheDialogStaysUsable)
{
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    Open();
    dlg->AddressEdit()->setText("1");
    Tick("R total energy");
    Send();
    EXPECT_EQ(Log(), "read total energy:\n  Fail!\n\n");
    EXPECT_FALSE(dlg->Running());
    EXPECT_TRUE(dlg->SendButton()->isEnabled());
    EXPECT_TRUE(dlg->AddressEdit()->isEnabled());
    EXPECT_TRUE(prompter.messages.empty());

    sim.SetFaults({});
    Send();
    EXPECT_EQ(Log(), "read total energy:\n  1234.56\n\n");
}

// The USB adapter pulled out while a run waits for a meter: its device goes away and the line
// hangs up. Each operation left fails at once, the dialog stays usable, and once the adapter
// is back (its device path leads to a line again) the next Send opens the port anew and works.
TEST_F(OperateDlgTest, AdapterPulledOutMidRunFailsTheRestAndTheNextSendWorksWhenItIsBack)
{
    TempDir dir;
    const std::string device = dir.File("ttyUSB0");
    std::filesystem::create_symlink(sim.SlavePath(), device);
    doc->SetComDevice(0, device);
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    Open();
    dlg->AddressEdit()->setText("1");
    for (const char* box : {"R total energy", "R voltage", "R current"})
        Tick(box);

    // While the first read waits for its reply.
    const auto waiting = [&] { return dlg->Running() && sim.RequestCount() >= 1; };
    const auto pull = [&] {
        sim.Stop(); // the far end closes: a hang-up
        std::filesystem::remove(device);
    };
    ASSERT_TRUE(OnceDuringRun([&] { Send(); }, waiting, pull));
    EXPECT_EQ(Log(), "read total energy:\n  Fail!\n\n"
                     "read current:\n  Fail!\n\n"
                     "read voltage:\n  Fail!\n\n");
    EXPECT_FALSE(dlg->Running());
    EXPECT_TRUE(dlg->SendButton()->isEnabled());
    EXPECT_TRUE(dlg->AddressEdit()->isEnabled());
    EXPECT_TRUE(prompter.messages.empty());

    // Still out: the port cannot be opened, and the dialog says so once.
    Send();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Can't open this port!");
    EXPECT_TRUE(dlg->SendButton()->isEnabled());

    // Plugged in again.
    MeterSimulator back{{1}};
    ASSERT_TRUE(back.Start());
    std::filesystem::create_symlink(back.SlavePath(), device);
    Send();
    EXPECT_EQ(Log().find("Fail!"), std::string::npos) << Log();
    EXPECT_EQ(Log().rfind("read total energy:\n  1234.56\n\n", 0), 0u) << Log();
    EXPECT_EQ(back.RequestCount(), 3);
    dlg.reset();
    SerialPort::ResetTable();
    back.Stop();
}

TEST_F(OperateDlgTest, StopEndsTheWaitForASilentMeterAndTheRunWithIt)
{
    SimFaults silent;
    silent.silent = true;
    sim.SetFaults(silent);
    Open();
    dlg->AddressEdit()->setText("1");
    // Five time-outs in a row without a Stop.
    for (const char* box :
         {"R total energy", "R voltage", "R current", "R frequency", "R power factor"})
        Tick(box);
    EXPECT_FALSE(dlg->StopButton()->isEnabled()); // nothing to stop yet

    bool onlyStopEnabled = false;
    // Pressed while the first exchange waits for its reply.
    const auto waiting = [&] { return dlg->Running() && sim.RequestCount() >= 1; };
    const auto pressStop = [&] {
        onlyStopEnabled = dlg->StopButton()->isEnabled() && !dlg->SendButton()->isEnabled() &&
                          !dlg->CloseButton()->isEnabled() && !dlg->AddressEdit()->isEnabled();
        QTest::mouseClick(dlg->StopButton(), Qt::LeftButton);
    };
    ASSERT_TRUE(OnceDuringRun([&] { Send(); }, waiting, pressStop));
    EXPECT_TRUE(onlyStopEnabled);
    // The wait in progress ended on the Stop, not at its time-out; no other request went out.
    EXPECT_EQ(sim.RequestCount(), 1);
    EXPECT_EQ(Log(), "read total energy:\n  Stopped while waiting for the reply.\n  Fail!\n\n"
                     "Stopped: the ticked operations after this point did not run.\n");
    CFrameTraceModel& frames = *dlg->FrameView()->Model();
    QStringList said;
    for (int row = 0; row < frames.rowCount(); ++row)
        for (int column = 0; column < frames.columnCount(); ++column)
            said << frames.index(row, column).data().toString();
    EXPECT_TRUE(said.join("|").contains("nothing came: stopped by the user after"))
        << said.join("|").toStdString();
    EXPECT_FALSE(dlg->Running());
    EXPECT_FALSE(dlg->StopButton()->isEnabled());
    EXPECT_TRUE(dlg->SendButton()->isEnabled());
    EXPECT_EQ(dlg->AddressEdit()->text(), "1");
    EXPECT_TRUE(prompter.messages.empty());

    // The next Send runs in full again.
    sim.SetFaults({});
    Send();
    EXPECT_EQ(sim.RequestCount(), 6);
    EXPECT_EQ(Log().find("Stopped"), std::string::npos);
}

TEST_F(OperateDlgTest, TheLogIsSelectedAndCopiedAfterARunAndEnterStillSends)
{
    Open();
    dlg->AddressEdit()->setText("1");
    Tick("R total energy");
    Send();
    ASSERT_EQ(Log(), "read total energy:\n  1234.56\n\n");
    QPlainTextEdit* log = dlg->LogEdit();
    QTest::mouseClick(log->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(dlg->focusWidget(), log);
    QTest::keyClick(log, Qt::Key_A, Qt::ControlModifier);
    QApplication::clipboard()->clear();
    QTest::keyClick(log, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), Log());
    EXPECT_EQ(Log(), "read total energy:\n  1234.56\n\n"); // selecting changed nothing

    const int before = sim.RequestCount();
    QTest::keyClick(log, Qt::Key_Return);
    EXPECT_EQ(sim.RequestCount(), before + 1);
}

TEST_F(OperateDlgTest, NewBaudRateChoiceSurvivesClosingAndReopening)
{
    Open();
    EXPECT_EQ(dlg->NewBaudList()->currentIndex(), 2); // nothing stored yet: 4800bps
    dlg->NewBaudList()->setCurrentIndex(0);
    QTest::mouseClick(dlg->CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    const auto stored = store.GetBinary("comm", "m_baudrate_new");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(*stored, (std::vector<std::uint8_t>{0, 0, 0, 0}));

    Open();
    EXPECT_EQ(dlg->NewBaudList()->currentIndex(), 0);
    dlg->NewBaudList()->setCurrentIndex(3);
    dlg->close(); // the window's close box
    EXPECT_EQ(*store.GetBinary("comm", "m_baudrate_new"), (std::vector<std::uint8_t>{3, 0, 0, 0}));

    // A damaged value has no code in a meter: the default stands.
    store.PutBinary("comm", "m_baudrate_new", {9, 0, 0, 0});
    Open();
    EXPECT_EQ(dlg->NewBaudList()->currentIndex(), 2);
}

TEST_F(OperateDlgTest, PortThatCannotBeOpenedShowsTheMessageOnceAndRunsNothing)
{
    doc->SetComDevice(0, "/nonexistent/ttyMRV");
    const std::vector<std::vector<const char*>> cases = {
        {}, {"R total energy", "R voltage"}, {"W baudrate", "R address"}};
    for (const auto& ticks : cases) {
        prompter.messages.clear();
        Open();
        dlg->AddressEdit()->setText("1");
        for (const char* t : ticks)
            Tick(t);
        Send();
        ASSERT_EQ(prompter.messages.size(), 1u) << ticks.size();
        EXPECT_EQ(prompter.messages[0].text, "Can't open this port!");
        EXPECT_EQ(prompter.messages[0].caption, "Error");
        EXPECT_EQ(Log(), "");
        EXPECT_EQ(dlg->AddressEdit()->text(), "1");
        EXPECT_TRUE(dlg->SendButton()->isEnabled());
    }
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(OperateDlgTest, AddressOutsideTheRangeShowsTheMessageAndDoesNotSend)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {{"248", "Please enter an integer between 0 and 247."},
                 {"-1", "Please enter an integer between 0 and 247."},
                 {"x1", "Please enter an integer."}};
    Open();
    Tick("R total energy");
    for (const auto& c : cases) {
        prompter.messages.clear();
        dlg->LogEdit()->setPlainText("earlier");
        dlg->AddressEdit()->setText(c.text);
        Send();
        ASSERT_EQ(prompter.messages.size(), 1u) << c.text;
        EXPECT_EQ(prompter.messages[0].text, c.message);
        EXPECT_EQ(Log(), "earlier") << c.text;
    }
    EXPECT_EQ(sim.RequestCount(), 0);
}

// An amount the money register cannot hold (six digits and two decimals) is refused with a
// message naming the field; nothing is sent (it used to go out cut or rounded through a float).
TEST_F(OperateDlgTest, MoneyBeyondTheRegisterIsRefusedBeforeSending)
{
    Open();
    dlg->AddressEdit()->setText("1");
    Tick("W money");
    for (const char* text : {"1234567", "12.345", "-1"}) {
        prompter.messages.clear();
        dlg->findChild<QLineEdit*>("money")->setText(text);
        Send();
        ASSERT_EQ(prompter.messages.size(), 1u) << text;
        EXPECT_EQ(prompter.messages[0].text,
                  "Money must be an amount from 0 to 999999.99 with at most two decimals.");
    }
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(OperateDlgTest, SendCopiesTheLinkOptionsAndWriteValuesIntoTheDocument)
{
    doc->SetComDevice(0, "/nonexistent/ttyMRV"); // the copy comes before the port
    doc->m_link.relayMode = true;
    Open();
    EXPECT_TRUE(dlg->findChild<QCheckBox*>("PLC")->isChecked()); // from the document
    dlg->findChild<QCheckBox*>("runThrough")->setChecked(true);
    dlg->findChild<QLineEdit*>("target")->setText("1a");
    dlg->findChild<QLineEdit*>("relay1")->setText("300");
    dlg->findChild<QLineEdit*>("relay2")->setText("301");
    dlg->findChild<QLineEdit*>("lead")->setText("104");
    dlg->findChild<QLineEdit*>("money")->setText("12.34");
    dlg->findChild<QLineEdit*>("moneyWord")->setText("4000000000");
    const auto showBoxes = dlg->findChild<QWidget*>("showMode")->findChildren<QCheckBox*>();
    ASSERT_EQ(showBoxes.size(), 8);
    showBoxes[1]->setChecked(false); // voltage
    dlg->ThreePhaseBox()->setChecked(true);
    dlg->NewBaudList()->setCurrentIndex(3);
    Send();

    const LinkSettings link = doc->GetLinkSettings();
    EXPECT_TRUE(link.relayMode);
    EXPECT_TRUE(link.carrierMode);
    EXPECT_EQ(link.targetAddress, 0x1a);
    EXPECT_EQ(link.relay1, 300);
    EXPECT_EQ(link.relay2, 301);
    EXPECT_EQ(link.carrierLead, 104);
    EXPECT_EQ(link.sendDelay, 0u); // not the dialog's to change
    const MeterValues& v = doc->m_values;
    EXPECT_EQ(v.moneyCents, 1234u);
    EXPECT_EQ(v.moneyWord, 4000000000u);
    EXPECT_EQ(v.showMode[0], 1);
    EXPECT_EQ(v.showMode[1], 0);
    EXPECT_EQ(v.showMode[99], 1);
    EXPECT_TRUE(v.threePhase);
    EXPECT_EQ(v.newBaudIndex, 3);
}

TEST_F(OperateDlgTest, LogShowsLinesWhileTheRunGoesOnAndInputWaits)
{
    // The voltage is answered once a look during the run has seen the energy.
    const auto replies = test::HoldReplies(sim, 2);
    Open();
    dlg->AddressEdit()->setText("1");
    Tick("R total energy");
    Tick("R voltage");
    Tick("R frequency");

    std::vector<std::string> seen;
    bool sendEnabledDuringRun = false;
    bool closedDuringRun = false;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (!dlg->Running())
            return;
        seen.push_back(Log());
        if (seen.back().find("1234.56") != std::string::npos)
            replies->Open();
        sendEnabledDuringRun = sendEnabledDuringRun || dlg->SendButton()->isEnabled();
        dlg->close(); // refused until the run ends
        closedDuringRun = closedDuringRun || !dlg->isVisible();
    });
    timer.start();
    Send();
    timer.stop();

    const std::string full = "read total energy:\n  1234.56\n\n"
                             "read voltage:\n  220.0\n\n"
                             "read frequecy:\n  50.00\n\n";
    EXPECT_EQ(Log(), full);
    // Some look during the run saw the first result but not yet the last header.
    const bool partial = std::any_of(seen.begin(), seen.end(), [](const std::string& s) {
        return s.find("1234.56") != std::string::npos &&
               s.find("read frequecy") == std::string::npos;
    });
    EXPECT_TRUE(partial) << seen.size() << " looks";
    EXPECT_FALSE(sendEnabledDuringRun);
    EXPECT_FALSE(closedDuringRun);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(OperateDlgTest, EepromReadAsksForTheRangeAndOffersThePreviousOne)
{
    Open();
    dlg->AddressEdit()->setText("1");
    dlg->OperationBox("*R EEPROM")->setChecked(true); // hidden box, ticked from here

    std::vector<std::pair<QString, QString>> offered;
    auto look = [&](QDialog& d) {
        auto* range = qobject_cast<CEepromRangeDlg*>(&d);
        ASSERT_NE(range, nullptr);
        offered.emplace_back(range->StartEdit()->text(), range->EndEdit()->text());
    };
    ASSERT_TRUE(WithModal([&] { Send(); },
                          [&](QDialog& d) {
                              look(d);
                              auto* range = static_cast<CEepromRangeDlg*>(&d);
                              range->StartEdit()->setText("10");
                              range->EndEdit()->setText("2f5"); // its first two characters count
                              Press(d, QDialogButtonBox::Ok);
                          }));
    EXPECT_EQ(Log(), "Read EEPRPM:\nRead EEPRPM:\n"); // 0x10 and 0x20
    ASSERT_TRUE(WithModal([&] { Send(); },
                          [&](QDialog& d) {
                              look(d);
                              Press(d, QDialogButtonBox::Cancel);
                          }));
    EXPECT_EQ(Log(), "");
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], std::make_pair(QString("00"), QString("ff")));
    EXPECT_EQ(offered[1], std::make_pair(QString("10"), QString("2f")));
    EXPECT_EQ(sim.RequestCount(), 0); // the range read has no exchange of its own
}

TEST_F(OperateDlgTest, HiddenButtonDrawsNewPasswordTables)
{
    Open();
    const auto before1 = doc->m_values.passwordTable1;
    dlg->PasswordTablesButton()->click();
    const auto& t1 = doc->m_values.passwordTable1;
    const auto& t2 = doc->m_values.passwordTable2;
    EXPECT_NE(t1, before1);
    EXPECT_NE(t1, t2);
    for (const auto* t : {&t1, &t2}) {
        const std::set<std::uint8_t> digits(t->begin(), t->end());
        EXPECT_EQ(digits, (std::set<std::uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
}

// The frame view below the log: a row per request and reply with the outcome of the fault on
// the line, rows that open into their layers, the statistics of a run with failures injected,
// and the trace saved as text.
class OperateFrameViewTest : public OperateDlgTest {
protected:
    void SetUp() override
    {
        OperateDlgTest::SetUp();
        if (HasFatalFailure())
            return;
        Open();
        dlg->AddressEdit()->setText("1");
    }

    CFrameTraceModel& Model() { return *dlg->FrameView()->Model(); }

    QString Cell(int row, int column, const QModelIndex& parent = {})
    {
        return Model().index(row, column, parent).data().toString();
    }

    // "Layer: field field ..." for the layers under a frame row.
    std::vector<std::string> Layers(int row)
    {
        std::vector<std::string> out;
        const QModelIndex frame = Model().index(row, 0);
        for (int l = 0; l < Model().rowCount(frame); ++l) {
            const QModelIndex layer = Model().index(l, 0, frame);
            std::string s = layer.data().toString().toStdString() + ":";
            for (int f = 0; f < Model().rowCount(layer); ++f)
                s += " " + Cell(f, CFrameTraceModel::ColTime, layer).toStdString();
            out.push_back(s);
        }
        return out;
    }

    // The faults of the meter's next replies, one per request; none once they run out.
    void ScheduleFaults(std::deque<SimFaults> faults)
    {
        schedule = std::move(faults);
        sim.SetFaults(schedule.empty() ? SimFaults{} : schedule.front());
        sim.SetTrace([this](const std::string& line) {
            if (line.find(" request: ") == std::string::npos)
                return;
            // Taken for this request already; set up the next one.
            std::lock_guard lock(scheduleMutex);
            if (!schedule.empty())
                schedule.pop_front();
            sim.SetFaults(schedule.empty() ? SimFaults{} : schedule.front());
        });
    }

    std::mutex scheduleMutex;
    std::deque<SimFaults> schedule;
};

// Every outcome is told apart by the engine's own tests; here the faults the engine decides on
// without waiting out its time-out show that the row carries the outcome and its words.
TEST_F(OperateFrameViewTest, EachFaultShowsItsOutcomeInTheReplyRow)
{
    Tick("R address");
    const struct {
        const char* fault;
        const char* word;
    } cases[] = {
        {"none", "answered"},
        {"badcrc", "bad-check"},
        {"echo", "answered"}, // the line's echo of the request is dropped, the reply read
        {"exception:2", "exception"},
        {"stream", "too-long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        SimFaults faults;
        ASSERT_TRUE(ParseSimFault(c.fault, faults));
        sim.SetFaults(faults);
        dlg->AddressEdit()->setText("1");
        Send();
        ASSERT_EQ(Model().rowCount(), 2);
        EXPECT_EQ(Cell(0, CFrameTraceModel::ColDir), "TX");
        EXPECT_EQ(Cell(0, CFrameTraceModel::ColBytes), "01 03 00 15 00 01 95 CE");
        EXPECT_EQ(Cell(0, CFrameTraceModel::ColMeaning), "read 1 register from 21, meter 1");
        EXPECT_EQ(Cell(1, CFrameTraceModel::ColDir), "RX");
        EXPECT_EQ(Cell(1, CFrameTraceModel::ColOutcome), c.word);
        EXPECT_EQ(Cell(1, CFrameTraceModel::ColMeaning).toStdString(),
                  Model().Transaction(0).detail);
        sim.SetFaults({});
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(OperateFrameViewTest, RowsOpenIntoTheLayersOfTheWorkedCarrierExample)
{
    // Meter 1 behind relay 5, through a carrier module with lead byte 1; the clock registers.
    dlg->findChild<QCheckBox*>("PLC")->setChecked(true);
    dlg->findChild<QCheckBox*>("runThrough")->setChecked(true);
    dlg->findChild<QLineEdit*>("target")->setText("1");
    dlg->findChild<QLineEdit*>("relay1")->setText("5");
    dlg->findChild<QLineEdit*>("lead")->setText("1");
    Tick("R Time");
    Send();
    ASSERT_EQ(Model().rowCount(), 2);
    EXPECT_EQ(Cell(0, CFrameTraceModel::ColBytes),
              "01 43 0F C1 00 05 00 01 08 01 03 27 10 00 06 CE B9 97 67 D5");
    EXPECT_EQ(Layers(0), (std::vector<std::string>{"Carrier: lead byte mark length CRC",
                                                   "Relay: lead relay 1 target length sum",
                                                   "Modbus: address function register count CRC"}));
    EXPECT_EQ(Cell(1, CFrameTraceModel::ColOutcome), "answered");
    EXPECT_EQ(Layers(1), (std::vector<std::string>{"Carrier: lead byte mark length CRC",
                                                   "Relay: lead relay 1 target length sum",
                                                   "Modbus: address function byte count data CRC",
                                                   "Timing: burst 1"}));
    // Each field checked: the reply's inner byte count against the six registers asked.
    const QModelIndex modbus = Model().index(2, 0, Model().index(1, 0));
    EXPECT_EQ(Cell(2, CFrameTraceModel::ColTime, modbus), "byte count");
    EXPECT_EQ(Cell(2, CFrameTraceModel::ColMeaning, modbus), "12 bytes (6 registers)");
    EXPECT_EQ(Cell(2, CFrameTraceModel::ColOutcome, modbus), "ok");
    {
        // The layers' and fields' names in the window's language; the numbered ones as made.
        const InstalledTranslation zh("zh_CN");
        ASSERT_TRUE(zh.Loaded());
        EXPECT_EQ(Layers(0), (std::vector<std::string>{"载波: 引导字节 标志 长度 CRC",
                                                       "中继: 引导符 relay 1 目标 长度 校验和",
                                                       "Modbus: 地址 功能码 寄存器 数量 CRC"}));
    }

    // The tree shows them when opened.
    QTreeView* tree = dlg->FrameView()->Tree();
    tree->expand(Model().index(1, 0));
    EXPECT_TRUE(tree->isExpanded(Model().index(1, 0)));
}

TEST_F(OperateFrameViewTest, StatisticsCountExactlyWhatARunWithInjectedFailuresDid)
{
    for (const char* box : {"R total energy", "R voltage", "R current", "R frequency",
                            "R power factor", "R import energy"})
        Tick(box);
    // Six exchanges: the second a bad CRC, the fourth an exception, the fifth no answer.
    ScheduleFaults({{}, {.badCheck = true}, {}, {.exception = 4}, {.silent = true}, {}});
    Send();
    ASSERT_EQ(Model().rowCount(), 12);
    std::vector<std::string> words;
    for (int row = 1; row < 12; row += 2)
        words.push_back(Cell(row, CFrameTraceModel::ColOutcome).toStdString());
    EXPECT_EQ(words, (std::vector<std::string>{"answered", "bad-check", "answered", "exception",
                                               "silence", "answered"}));
    const std::string stats = dlg->FrameView()->StatisticsLabel()->text().toStdString();
    EXPECT_EQ(stats.substr(0, stats.find(';')),
              "meter 1: 6 requests, 3 answered, 1 silence, 1 bad-check, 1 exception")
        << stats;
    EXPECT_NE(stats.find(" ms (least / median / 95% / most)"), std::string::npos) << stats;
    const MeterStatistics& m = dlg->FrameView()->Statistics().Meters().at(0);
    EXPECT_EQ(m.responseUs.size(), 3u);

    // The next Send starts a new run: the view and the statistics start over.
    ScheduleFaults({});
    dlg->OperationBox("R voltage")->setChecked(false);
    for (const char* box :
         {"R total energy", "R current", "R frequency", "R power factor", "R import energy"})
        dlg->OperationBox(box)->setChecked(false);
    Send();
    EXPECT_EQ(Model().rowCount(), 2);
    EXPECT_EQ(dlg->FrameView()->StatisticsLabel()->text().toStdString().substr(0, 36),
              "meter 1: 1 request, 1 answered; resp");
}

TEST_F(OperateFrameViewTest, TheTraceIsSavedAsText)
{
    EXPECT_FALSE(dlg->FrameView()->SaveButton()->isEnabled()); // nothing to save yet
    Tick("R total energy");
    sim.SetFaults({.badCheck = true});
    Send();
    TempDir dir;
    const std::string file = dir.File("trace.txt");
    prompter.choices.push_back(file);
    ASSERT_TRUE(dlg->FrameView()->SaveButton()->isEnabled());
    QTest::mouseClick(dlg->FrameView()->SaveButton(), Qt::LeftButton);
    ASSERT_EQ(prompter.choosers.size(), 1u);
    EXPECT_EQ(prompter.choosers[0].kind, "save");
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(filebytes::ReadFileWhole(file, bytes));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("Frame trace, saved ", 0), 0u) << text;
    EXPECT_NE(text.find("   0.000 TX request     01 03 00 00 00 02 C4 0B  (read 2 registers "
                        "from 0, meter 1)\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(" RX bad-check   01 03 04 "), std::string::npos) << text;
    // Below each frame its layers, each field checked.
    EXPECT_NE(text.find("           Modbus   address          01  1  [ok]\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("                    CRC              E2 5C  0x5CE2  [wrong: should be "
                        "E2 A3]\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nstatistics:\nmeter 1: 1 request, 0 answered, 1 bad-check\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
} // namespace mrv::test
