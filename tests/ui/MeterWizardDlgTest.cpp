// The Meter Setting and Reading wizards, opened from the main view on a real installation and
// a real data file, run against simulated meters on a pseudo-terminal opened as COM1.
#include "UiTest.h"
#include "ViewFixture.h"

#include "datafile/RunLock.h"
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"
#include "support/ScriptedPrompter.h"
#include "support/SimReplyLatch.h"
#include "support/TempDir.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/meterdlg/CMeterWizardDlg.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace mrv {
namespace {

using test::OnceDuringRun;
using test::ScriptedPrompter;
using test::TempDir;
using test::WithModal;
using V = CMrvView;
using Regs = std::vector<std::uint16_t>;
using Bytes = std::vector<std::uint8_t>;

// One HHU with a Block of four meters, Meter IDs 00 to 03; meters 1, 2 and 3 are on the line.
const std::vector<HhuRecord> kHhus = {{3, "North"}};
const std::vector<test::BlockSpec> kBlocks = {{40, "Garden", 3, 0x3200, 4}};

class MeterWizardDlgTest : public ::testing::Test {
protected:
    MeterWizardDlgTest() : clock(PcTime{2026, 12, 5, 10, 30, 0, 6}), sim({1, 2, 3}, clock) {}

    void SetUp() override
    {
        ASSERT_TRUE(sim.Start());
        std::filesystem::create_directories(dir.File("bin"));
        app = std::make_unique<CMrvApp>(store, &prompter, dir.File("bin/mrv003e"));
        ASSERT_TRUE(app->InitInstance(false));
        Frame().resize(760, 520);
        Frame().show();
        Doc().SetComDevice(0, sim.SlavePath());
        Doc().m_comIndex = 0;
        Doc().m_link.sendDelay = 0;
        Doc().GetDataFile().SetClock(&clock);
        test::MakeInstallation(db, prompter, kHhus, kBlocks);
        prompter.choices = {db};
        Frame().Action("OpenDatabase")->trigger();
        ASSERT_EQ(Doc().IsDatabaseOpen(), 1);
    }

    void TearDown() override
    {
        wizard.reset();
        app.reset();
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, "");
        sim.Stop();
    }

    CMrvDoc& Doc() { return *app->Document(); }
    CMainFrame& Frame() { return *app->MainFrame(); }
    CMrvView& View() { return *Frame().View(); }
    CRecordListCtrl* List(int id) { return View().ListCtrl(id); }
    static void ClickRow(QAbstractItemView* list, int row)
    {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }

    // The wizard of `command` as the view hands it over now, shown.
    CMeterWizardDlg& Open(ViewCommand command)
    {
        const auto args = View().PrepareCommand(command);
        EXPECT_TRUE(args.has_value());
        if (command == ViewCommand::Set)
            wizard = std::make_unique<CMeterSettingDlg>(Doc(), args->meterIndex, args->constant);
        else
            wizard = std::make_unique<CReadingDlg>(Doc(), args->view, args->currentSequence,
                                                   args->firstSequence, args->lastSequence);
        wizard->m_baudRate = args->baudRate;
        wizard->m_portIndex = args->portIndex;
        wizard->Link().SetClock(&clock);
        wizard->show();
        return *wizard;
    }
    // The data file of the HHU, loaded in the view (data-file mode).
    std::string ViewDataFile()
    {
        const std::string path = test::MakeDataFile(db, prompter, 3, dir.File("up"), 0x01);
        prompter.choices = {path};
        Frame().Action("ViewFile")->trigger();
        EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
        return path;
    }
    void Run() { QTest::mouseClick(wizard->RunButton(), Qt::LeftButton); }
    void Untick(std::initializer_list<const char*> boxes)
    {
        for (const char* text : boxes) {
            QCheckBox* box = wizard->Box(text);
            ASSERT_NE(box, nullptr) << text;
            box->setChecked(false);
        }
    }
    std::string Log() const { return wizard->LogEdit()->toPlainText().toStdString(); }
    static Bytes FileBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    QString Cell(int row, int column)
    {
        return List(V::IdReadings)->model()->index(row, column).data().toString();
    }

    TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    FixedClock clock;
    MeterSimulator sim;
    std::unique_ptr<CMrvApp> app;
    std::unique_ptr<CMeterWizardDlg> wizard;
    std::string db = dir.File("install.db");
};

TEST_F(MeterWizardDlgTest, SetOpensMeterSettingOnTheSelectedMeter)
{
    Doc().m_baudIndex = 2; // 2400
    ClickRow(List(V::IdMeters), 2);
    QString title, meterId, port, baud, next, run;
    std::vector<bool> ticked;
    bool runIsDefault = false;
    EXPECT_TRUE(WithModal(
        [&] { QTest::mouseClick(View().Button(V::IdSet), Qt::LeftButton); },
        [&](QDialog& d) {
            auto& w = dynamic_cast<CMeterWizardDlg&>(d);
            title = w.windowTitle();
            meterId = w.MeterIdEdit()->text();
            port = w.PortEdit()->text();
            baud = w.BaudEdit()->text();
            next = w.NextButton()->text();
            run = w.RunButton()->text();
            runIsDefault = w.RunButton()->isDefault();
            for (const char* box : {"Init,Constant,Priority", "Password", "Meter ID", "Other"})
                ticked.push_back(w.Box(box) && w.Box(box)->isChecked());
            ticked.push_back(w.SkipBox()->isChecked());
        }));
    EXPECT_EQ(title, "Meter Setting");
    EXPECT_EQ(meterId, "02");
    EXPECT_EQ(port, "COM1");
    EXPECT_EQ(baud, "2400");
    EXPECT_EQ(next, "Next");
    EXPECT_EQ(run, "Set");
    EXPECT_TRUE(runIsDefault);
    EXPECT_EQ(ticked, std::vector<bool>(5, true));
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(MeterWizardDlgTest, PreviousAndNextAreEnabledWithinTheBlockOnly)
{
    ViewDataFile();
    for (ViewCommand command : {ViewCommand::Set, ViewCommand::Read}) {
        SCOPED_TRACE(command == ViewCommand::Set ? "Meter Setting" : "Reading");
        Open(command);
        EXPECT_EQ(wizard->NextButton()->text(), command == ViewCommand::Set ? "Next" : "Mext");
        EXPECT_EQ(wizard->MeterIdEdit()->text(), "00");
        EXPECT_FALSE(wizard->PreviousButton()->isEnabled());
        EXPECT_TRUE(wizard->NextButton()->isEnabled());
        wizard->LogEdit()->setPlainText("earlier");
        for (const char* id : {"01", "02", "03"}) {
            QTest::mouseClick(wizard->NextButton(), Qt::LeftButton);
            EXPECT_EQ(wizard->MeterIdEdit()->text(), id);
            EXPECT_TRUE(wizard->PreviousButton()->isEnabled());
            EXPECT_EQ(Log(), ""); // a move empties the log
        }
        EXPECT_FALSE(wizard->NextButton()->isEnabled());
        QTest::mouseClick(wizard->PreviousButton(), Qt::LeftButton);
        EXPECT_EQ(wizard->MeterIdEdit()->text(), "02");
        EXPECT_TRUE(wizard->NextButton()->isEnabled());
    }
}

TEST_F(MeterWizardDlgTest, SettingWithEveryBoxClearedOnlyOpensAndClosesThePort)
{
    ClickRow(List(V::IdMeters), 1);
    Open(ViewCommand::Set);
    Untick({"Init,Constant,Priority", "Password", "Meter ID", "Other"});
    wizard->SkipBox()->setChecked(false);
    Run();
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01");
    EXPECT_EQ(SerialPort::IsClosed(1), 1);

    wizard->SkipBox()->setChecked(true);
    Run();
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "02"); // moved on
    EXPECT_EQ(SerialPort::IsClosed(1), 1);
    EXPECT_EQ(sim.RequestCount(), 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MeterWizardDlgTest, SettingWithEveryBoxTickedProgramsTheMeter)
{
    Doc().m_baudIndex = 2; // 2400
    Doc().m_parity = 1;    // odd: the wizard uses even parity all the same
    Doc().m_params.constant = {0x00, 0x16, 0x00};
    Doc().m_params.resetDay = 0x1508;
    Doc().m_params.dayTable[0] = {2, 30, 7};
    Doc().m_values.password = {0x21, 0x43, 0x65};
    Doc().m_values.meterId = {0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
    ASSERT_TRUE(sim.SetRegisters(0, 21, {0x0101})); // meter 1 at 9600 bit/s so far
    ASSERT_TRUE(sim.SetRegisters(0, 10097, {0, 0}));
    const int line = ::open(sim.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(line, 0);

    ClickRow(List(V::IdMeters), 1);
    Open(ViewCommand::Set);
    wizard->SkipBox()->setChecked(false); // a move would empty the log
    Run();
    EXPECT_EQ(Log(), "Initial:\n  OK!\n\nWrite Constant:\n  OK!\n\nWrite Priority:\n"
                     "Change Password\n  OK!\n\nWrite address\n  OK!\n\nWrite Time:\n  OK!\n\n"
                     "Write Tarif1:\n  OK!\n\nWrite Reset Date:\n  OK!\n\n"
                     "write show mode:\n  OK!\n\n");
    termios t{};
    ASSERT_EQ(tcgetattr(line, &t), 0);
    ::close(line);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B2400));
    EXPECT_FALSE(t.c_cflag & PARODD);

    EXPECT_EQ(sim.ReadRegisters(0, 10016, 6),
              (Regs{0x0065, 0x4321, 0x0001, 0x0102, 0x0304, 0x0506}));
    EXPECT_EQ(sim.Register(0, 10023), 1600); // the constant's decimal value
    EXPECT_EQ(sim.ReadRegisters(0, 10097, 2), (Regs{0x0065, 0x4321}));
    EXPECT_EQ(sim.Register(0, 21), 0x0103); // its own address, at the wizard's 2400 bit/s
    EXPECT_EQ(sim.ReadRegisters(0, 10000, 6), (Regs{0, 30, 10, 5, 12, 26}));
    EXPECT_EQ(sim.ReadRegisters(0, 10028, 2), (Regs{0x071E, 0x0002}));
    EXPECT_EQ(sim.ReadRegisters(0, 10010, 2), (Regs{8, 15}));
    EXPECT_EQ(sim.Register(0, 58), 0xFF00);
    // The constant went to meter 1 alone (the address write reaches every meter on the line).
    EXPECT_EQ(sim.Register(1, 10023), 3200);
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MeterWizardDlgTest, AFailedCommandStopsTheRunOnThatMeter)
{
    ClickRow(List(V::IdMeters), 1);
    Open(ViewCommand::Set);
    Untick({"Init,Constant,Priority"});
    sim.SetFaults(SimFaults{.silent = true});
    Run();
    EXPECT_EQ(Log(), "Change Password\n  Fail!\n\n");
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01"); // no skip: the run button retries it
    EXPECT_EQ(sim.RequestCount(), 1);
    EXPECT_EQ(SerialPort::IsClosed(1), 1);
    EXPECT_TRUE(wizard->RunButton()->isEnabled());
    EXPECT_TRUE(wizard->NextButton()->isEnabled());
    EXPECT_TRUE(wizard->PreviousButton()->isEnabled());
}

TEST_F(MeterWizardDlgTest, StopEndsTheWaitInProgressAndTheRunAndStaysOnTheMeter)
{
    ClickRow(List(V::IdMeters), 1);
    Open(ViewCommand::Set);
    // The meter holds its reply until the run is over: only the Stop can end the wait
    // before its time-out.
    const auto replies = test::HoldReplies(sim);
    bool onlyStopEnabled = false;
    // Pressed while the initialisation waits for its reply.
    const auto waiting = [&] { return wizard->Running() && sim.RequestCount() >= 1; };
    const auto pressStop = [&] {
        onlyStopEnabled = wizard->StopButton()->isEnabled() && !wizard->RunButton()->isEnabled() &&
                          !wizard->NextButton()->isEnabled() &&
                          !wizard->CancelButton()->isEnabled() &&
                          !wizard->Box("Password")->isEnabled();
        QTest::mouseClick(wizard->StopButton(), Qt::LeftButton);
    };
    ASSERT_TRUE(OnceDuringRun([&] { Run(); }, waiting, pressStop));
    replies->Open();
    EXPECT_TRUE(onlyStopEnabled);
    EXPECT_EQ(sim.RequestCount(), 1);
    EXPECT_EQ(Log(), "Initial:\n  Stopped while waiting for the reply.\n  Fail!\n\n"
                     "Stopped: the ticked operations after this point did not run.\n");
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01"); // no skip after a stop
    EXPECT_EQ(SerialPort::IsClosed(1), 1);
    EXPECT_TRUE(wizard->RunButton()->isEnabled());
    EXPECT_TRUE(wizard->NextButton()->isEnabled());
}

TEST_F(MeterWizardDlgTest, APortThatCannotBeOpenedSaysSo)
{
    ClickRow(List(V::IdMeters), 1);
    Open(ViewCommand::Set);
    Doc().SetComDevice(0, dir.File("no-such-port"));
    Run();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Can't Open This Port!");
    EXPECT_EQ(prompter.messages[0].caption, "error");
    EXPECT_EQ(sim.RequestCount(), 0);
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01");
    EXPECT_TRUE(wizard->RunButton()->isEnabled());
}

TEST_F(MeterWizardDlgTest, ReadingWithOnlyLastMonthStoresAZeroEnergyBlockBesideIt)
{
    ASSERT_TRUE(sim.SetRegisters(0, 10, {0x0000, 0x3039})); // meter 1: 123.45 last month
    const std::string path = ViewDataFile();
    ClickRow(List(V::IdReadings), 1);
    Open(ViewCommand::Read);
    EXPECT_EQ(wizard->windowTitle(), "Reading");
    EXPECT_EQ(wizard->RunButton()->text(), "Reading");
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01");
    Untick({"R Energy", "Broadcast"});
    const Bytes before = FileBytes(path);
    Run();
    EXPECT_EQ(Log(), ""); // moved on to meter 02
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "02");

    // On disk: record 2 (index 1) and nothing else changed.
    const Bytes after = FileBytes(path);
    ASSERT_EQ(after.size(), before.size());
    const std::size_t at = hhufile::kRecordsOffset + hhufile::kRecordSize;
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (i < at || i >= at + hhufile::kRecordSize) {
            ASSERT_EQ(after[i], before[i]) << i;
        }
    }
    EXPECT_EQ(after[at + 3], 1); // read
    EXPECT_EQ(Bytes(after.begin() + at + 70, after.begin() + at + 90), Bytes(20, 0));
    Bytes lm(20, 0);
    lm[0] = 0x45;
    lm[1] = 0x23;
    lm[2] = 0x01;
    EXPECT_EQ(Bytes(after.begin() + at + 90, after.begin() + at + 110), lm);
    EXPECT_EQ(Bytes(after.begin() + at + 115, after.begin() + at + 120),
              (Bytes{0x30, 0x10, 0x05, 0x12, 0x26}));

    // In the view's list at once: the date, the total and last month's total.
    EXPECT_EQ(Cell(1, 2), "26/12/05");
    bool shown = false;
    for (int c = 3; c < List(V::IdReadings)->model()->columnCount(); ++c)
        shown = shown || Cell(1, c).trimmed() == "123.45";
    EXPECT_TRUE(shown);
    EXPECT_EQ(Cell(2, 2), ""); // the next meter not yet
    EXPECT_EQ(Doc().GetDataFile().GetReadings()[1].lmEnergy[0], 123.45);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MeterWizardDlgTest, AFailedReadingStopsOnThatMeterWithNothingStored)
{
    const std::string path = ViewDataFile();
    ClickRow(List(V::IdReadings), 3);
    Open(ViewCommand::Read);
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "03");
    ASSERT_TRUE(sim.SetRegisters(2, 21, {0x0904})); // meter 3 is not on the line any more
    const Bytes before = FileBytes(path);
    Run();
    EXPECT_EQ(Log(), "read total energy:\n  Fail!\n\n");
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(Doc().GetDataFile().GetReadings()[3].status, 0);
    EXPECT_EQ(Cell(3, 2), "");
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "03");
    EXPECT_TRUE(prompter.messages.empty());
}

// A full disk while a reading is stored: a file-size limit below the records makes the write
// fail with EFBIG. The wizard runs its job on a thread under a Qt event loop, which a forked
// child cannot carry on, so the limit is this process's own, set for the run and put back.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_ok = ::getrlimit(RLIMIT_FSIZE, &m_was) == 0;
        m_handler = std::signal(SIGXFSZ, SIG_IGN); // fail the write, not the program
        rlimit limit = m_was;
        limit.rlim_cur = bytes;
        m_ok = m_ok && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_was);
        std::signal(SIGXFSZ, m_handler);
    }
    bool Ok() const { return m_ok; }

private:
    rlimit m_was{};
    void (*m_handler)(int) = SIG_DFL;
    bool m_ok = false;
};

TEST_F(MeterWizardDlgTest, AReadingThatCannotBeWrittenSaysWhyAndStaysOnTheMeter)
{
    ASSERT_TRUE(sim.SetRegisters(0, 10, {0x0000, 0x3039})); // meter 1: 123.45 last month
    const std::string path = ViewDataFile();
    ClickRow(List(V::IdReadings), 1);
    Open(ViewCommand::Read);
    Untick({"R Energy", "Broadcast"});
    const Bytes before = FileBytes(path);
    {
        const FileSizeLimit full(hhufile::kRecordsOffset);
        ASSERT_TRUE(full.Ok());
        Run();
    }
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Can't store the reading in " + path + ": " + std::strerror(EFBIG) +
                  ". The file keeps the readings it had.");
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(Doc().GetDataFile().GetReadings()[1].status, 0);
    EXPECT_EQ(Cell(1, 2), "");
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01");

    // With room again the same button stores the reading and moves on.
    prompter.messages.clear();
    Run();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "02");
    EXPECT_EQ(Doc().GetDataFile().GetReadings()[1].lmEnergy[0], 123.45);
    EXPECT_EQ(Cell(1, 2), "26/12/05");
}

// "Read All" over the Block shown (its first meter, Meter ID 00, has no address), with meter 3
// gone from the line: meters 1 and 2 read and
// stored, each in the view's list as it comes, meter 3 tried again after the others and named
// in the summary, the wizard still on the meter it showed. A second Read All leaves the
// meters read alone.
TEST_F(MeterWizardDlgTest, ReadAllReadsTheBlockAndSumsItUp)
{
    ASSERT_TRUE(sim.SetRegisters(1, 0, {0x0000, 0x4E21}));  // meter 2: 200.01
    ASSERT_TRUE(sim.SetRegisters(1, 10, {0x0000, 0x2711})); // 100.01 last month
    ASSERT_TRUE(sim.SetRegisters(2, 21, {0x0904}));         // meter 3 is not on the line
    const std::string path = ViewDataFile();
    ClickRow(List(V::IdReadings), 1);
    CReadingDlg& dlg = dynamic_cast<CReadingDlg&>(Open(ViewCommand::Read));
    dlg.Link().SetIdleTimeout(50);
    Untick({"Broadcast"});
    ASSERT_NE(dlg.ReadAllButton(), nullptr);
    EXPECT_EQ(dlg.ReadAllButton()->text(), "Read All");
    EXPECT_FALSE(dlg.ProgressBar()->isVisible());

    QTest::mouseClick(dlg.ReadAllButton(), Qt::LeftButton);
    EXPECT_TRUE(prompter.messages.empty());
    const std::vector<ReadingRecord> readings = Doc().GetDataFile().GetReadings();
    const int meters = static_cast<int>(readings.size());
    EXPECT_TRUE(dlg.ProgressBar()->isVisible());
    EXPECT_EQ(dlg.ProgressBar()->value(), dlg.ProgressBar()->maximum());
    EXPECT_EQ(dlg.ProgressBar()->maximum(), meters);
    const std::string log = Log();
    EXPECT_NE(log.find("record 3 (meter " + readings[2].meterId +
                       ", address 2): read, 200.01 kWh, last month 100.01 kWh\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("4 meters: 2 read now, 0 read before, 2 not read.\nNot read:\n"
                       "  record 1 (meter " + readings[0].meterId +
                       ", address 0): its meter id gives no meter address, left alone\n"
                       "  record 4 (meter " + readings[3].meterId +
                       ", address 3): not read: silence (try 3 of 3)\n"),
              std::string::npos)
        << log;
    // On disk and in the list at once.
    EXPECT_DOUBLE_EQ(readings[2].energy[0], 200.01);
    EXPECT_EQ(readings[1].status, 1);
    EXPECT_EQ(readings[3].status, 0);
    HhuDataFile disk;
    ASSERT_EQ(disk.Load(path), 1);
    EXPECT_DOUBLE_EQ(disk.GetReadings()[2].lmEnergy[0], 100.01);
    EXPECT_EQ(Cell(1, 2), "26/12/05");
    EXPECT_EQ(Cell(2, 2), "26/12/05");
    EXPECT_EQ(Cell(3, 2), "");
    EXPECT_EQ(wizard->MeterIdEdit()->text(), "01");
    EXPECT_EQ(SerialPort::IsClosed(1), 1);
    EXPECT_TRUE(dlg.ReadAllButton()->isEnabled());

    const int asked = sim.RequestCount();
    QTest::mouseClick(dlg.ReadAllButton(), Qt::LeftButton);
    EXPECT_EQ(sim.RequestCount(), asked + 3); // meter 3, three times
    EXPECT_NE(Log().find("address 2): read before, left alone\n"), std::string::npos) << Log();
}

// Read All stores what it reads, so it needs a read; and a file that another run reads is left
// to it. Nothing is sent in either case.
TEST_F(MeterWizardDlgTest, ReadAllRefusesWithoutAReadOrWhileAnotherRunHoldsTheFile)
{
    const std::string path = ViewDataFile();
    CReadingDlg& dlg = dynamic_cast<CReadingDlg&>(Open(ViewCommand::Read));
    Untick({"R Energy", "R LM Energy"});
    QTest::mouseClick(dlg.ReadAllButton(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Tick \"R Energy\" or \"R LM Energy\": Read All stores what it reads.");

    wizard->Box("R Energy")->setChecked(true);
    const std::optional<RunLock> other = RunLock::Take(path);
    ASSERT_TRUE(other);
    QTest::mouseClick(dlg.ReadAllButton(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, path + " is being read by another run (process " +
                                             std::to_string(::getpid()) + "); nothing was read.");
    EXPECT_EQ(sim.RequestCount(), 0);
}

TEST_F(MeterWizardDlgTest, ReadOpensTheReadingWizardFromTheView)
{
    ViewDataFile();
    ClickRow(List(V::IdReadings), 2);
    QString meterId;
    QString group;
    EXPECT_TRUE(WithModal([&] { QTest::mouseClick(View().Button(V::IdRead), Qt::LeftButton); },
                          [&](QDialog& d) {
                              auto& w = dynamic_cast<CMeterWizardDlg&>(d);
                              meterId = w.MeterIdEdit()->text();
                              group = w.findChild<QWidget*>("group")->property("title").toString();
                              QTest::mouseClick(w.RunButton(), Qt::LeftButton);
                          }));
    EXPECT_EQ(meterId, "02");
    EXPECT_EQ(group, QString::fromUtf8("抄表内容"));
    EXPECT_EQ(Doc().GetDataFile().GetReadings()[2].status, 1);
    EXPECT_EQ(Doc().GetDataFile().GetReadings()[2].energy[0], 1234.56);
}

} // namespace
} // namespace mrv
