// Communication > Line Check against simulated meters: the scan finds the meter at the
// settings its line answers at and hands them to the Communication settings; a device held by
// another process is explained and not scanned; a plan without a speed is refused.
#include "ui/meterdlg/CLineCheckDlg.h"

#include "base/SettingsStore.h"
#include "doc/CMrvDoc.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"
#include "support/LockingProcess.h"
#include "support/ScriptedPrompter.h"
#include "ui/app/CMainFrame.h"

#include "UiTest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace mrv::test {
namespace {

class LineCheckDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SimLine line;
        ASSERT_TRUE(ParseSimLine("2400,odd", line));
        sim.SetLine(line);
        ASSERT_TRUE(sim.Start());
        doc = std::make_unique<CMrvDoc>(store, prompter, "/opt/mrv/bin/mrv003e");
        doc->m_comIndex = 1;
        doc->SetComDevice(1, sim.SlavePath());
        doc->m_link.sendDelay = 0;
        dlg = std::make_unique<CLineCheckDlg>(*doc);
        dlg->show();
    }

    void TearDown() override
    {
        dlg.reset();
        doc.reset();
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(2, "");
        sim.Stop();
    }

    // Speeds 1200 and 2400, all three parities, addresses 35 to 38, 80 ms each.
    void SmallPlan()
    {
        for (int baud : CLineCheckDlg::kSpeeds)
            dlg->SpeedBox(baud)->setChecked(baud == 1200 || baud == 2400);
        dlg->FirstAddress()->setValue(35);
        dlg->LastAddress()->setValue(38);
        dlg->TimeoutBox()->setValue(80);
    }

    std::string Report() const { return dlg->Report()->toPlainText().toStdString(); }

    MeterSimulator sim{{37}};
    MemorySettingsStore store;
    ScriptedPrompter prompter;
    std::unique_ptr<CMrvDoc> doc;
    std::unique_ptr<CLineCheckDlg> dlg;
};

TEST_F(LineCheckDlgTest, FindsTheMeterAndHandsItsSettingsToTheCommunicationSettings)
{
    EXPECT_EQ(dlg->PortList()->currentText(), "COM2"); // the document's port
    EXPECT_EQ(dlg->findChild<QLabel*>("device")->text().toStdString(), sim.SlavePath());
    SmallPlan();
    EXPECT_EQ(dlg->findChild<QLabel*>("estimate")->text(), "24 tries, at most 2 s");
    QTest::mouseClick(dlg->CheckButton(), Qt::LeftButton);
    EXPECT_FALSE(dlg->Running());

    QTreeWidget* meters = dlg->Meters();
    ASSERT_EQ(meters->topLevelItemCount(), 1) << Report();
    EXPECT_EQ(meters->topLevelItem(0)->text(0), "37");
    EXPECT_EQ(meters->topLevelItem(0)->text(1), "2400");
    EXPECT_EQ(meters->topLevelItem(0)->text(2), "odd");
    const std::string report = Report();
    EXPECT_NE(report.find("COM2 is " + sim.SlavePath() + "."), std::string::npos) << report;
    EXPECT_NE(report.find("1 meter found in "), std::string::npos) << report;
    // Even, none, odd at 1200; even, none, odd at 2400, where the third finds it (and 38
    // is still asked after it).
    EXPECT_EQ(sim.RequestCount(), 4 * 3 + 4 * 3);

    ASSERT_TRUE(dlg->UseSettingsButton()->isEnabled());
    doc->m_comIndex = 0;
    QTest::mouseClick(dlg->UseSettingsButton(), Qt::LeftButton);
    EXPECT_EQ(doc->GetBaudRate(), 2400);
    EXPECT_EQ(doc->m_parity, 1);
    EXPECT_EQ(doc->m_comIndex, 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(LineCheckDlgTest, AHeldDeviceIsExplainedAndNotScanned)
{
    auto holder = std::make_unique<LockingProcess>(sim.SlavePath());
    ASSERT_TRUE(holder->Ok());
    const pid_t pid = holder->Pid();
    const std::string name = holder->Name();
    SmallPlan();
    QTest::mouseClick(dlg->CheckButton(), Qt::LeftButton);
    holder.reset();
    const std::string report = Report();
    EXPECT_NE(report.find(sim.SlavePath() + " is held by another program:"), std::string::npos)
        << report;
    EXPECT_NE(report.find("process " + std::to_string(pid) + " (" + name + ") holds its lock: "),
              std::string::npos)
        << report;
    EXPECT_EQ(dlg->Meters()->topLevelItemCount(), 0);
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(LineCheckDlgTest, APlanWithoutASpeedIsRefused)
{
    for (int baud : CLineCheckDlg::kSpeeds)
        dlg->SpeedBox(baud)->setChecked(false);
    EXPECT_EQ(dlg->findChild<QLabel*>("estimate")->text(), "Choose at least one speed.");
    QTest::mouseClick(dlg->CheckButton(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Choose at least one speed.");
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST(LineCheckMenu, CommunicationOffersLineCheck)
{
    MemorySettingsStore store;
    ScriptedPrompter prompter;
    CMrvDoc doc(store, prompter, "/opt/mrv/bin/mrv003e");
    CMainFrame frame(doc);
    QAction* action = frame.Action("LineCheck");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "&Line Check...");
    bool opened = false;
    ASSERT_TRUE(WithModal([&] { action->trigger(); },
                          [&](QDialog& d) {
                              opened = qobject_cast<CLineCheckDlg*>(&d) != nullptr;
                              d.reject();
                          }));
    EXPECT_TRUE(opened);
}

} // namespace
} // namespace mrv::test
