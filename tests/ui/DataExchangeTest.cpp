// The data exchange in the window, on a real installation database and real files: Create
// Download File with its worker, View Data File, Data Exchange Information, Input, and the
// transfer program for Download File and Upload File.
#include "UiTest.h"
#include "ViewFixture.h"

#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "doc/TransferProgram.h"
#include "support/Latch.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/datafile/CCreateDownloadDlg.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace mrv {
namespace {

namespace fs = std::filesystem;
using test::BlockSpec;
using test::ScriptedPrompter;
using test::TempDir;
using test::WithModal;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using V = CMrvView;

// Passes everything on to a scripted prompter, noting whether anything was asked off the UI
// thread, and lets a test act while a message is up.
class UiThreadPrompter final : public Prompter {
public:
    explicit UiThreadPrompter(ScriptedPrompter& to) : m_to(to) {}
    MsgAnswer Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override
    {
        Note();
        if (onMessage)
            onMessage(text);
        return m_to.Message(text, caption, icon, buttons);
    }
    std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override
    {
        Note();
        return m_to.ChooseOpenFile(title, filter, startDir, defaultExt);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                              const std::string& startDir,
                                              const std::string& defaultExt) override
    {
        Note();
        return m_to.ChooseSaveFile(title, filter, startDir, defaultExt);
    }
    std::optional<std::string> ChooseFolder(const std::string& title,
                                            const std::string& startDir) override
    {
        Note();
        return m_to.ChooseFolder(title, startDir);
    }
    std::optional<std::string> AskPassword(const std::string& title,
                                           const std::string& prompt) override
    {
        Note();
        return m_to.AskPassword(title, prompt);
    }

    std::function<void(const std::string&)> onMessage;
    bool askedOffUiThread = false;

private:
    void Note()
    {
        if (QThread::currentThread() != QApplication::instance()->thread())
            askedOffUiThread = true;
    }
    ScriptedPrompter& m_to;
};

// HHU 9 has no meters.
const std::vector<HhuRecord> kHhus = {{3, "North"}, {9, "Spare"}, {12, "West"}};
const std::vector<BlockSpec> kBlocks = {{40, "Garden", 3, 0x3200, 4},
                                        {41, "Mill", 3, 0x1600, 2},
                                        {120, "Hill", 12, 0x3200, 3}};

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::uint8_t> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteScript(const std::string& path, const std::string& body)
{
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
}

class DataExchangeTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter scripted;
    UiThreadPrompter prompter{scripted};
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    std::unique_ptr<CMrvApp> app;
    std::string db = dir.File("install.db");
    std::string download = dir.File("download");

    void SetUp() override
    {
        fs::create_directories(dir.File("bin"));
        fs::create_directories(download);
        app = std::make_unique<CMrvApp>(store, &prompter, dir.File("bin/mrv003e"));
        ASSERT_TRUE(app->InitInstance(false));
        Frame().resize(760, 520);
        Frame().show();
        QApplication::processEvents();
        Doc().m_downloadPath = download;
        Doc().m_dataPath = dir.File("upload");
        Doc().m_systemDir = dir.File("system");
    }
    CMrvDoc& Doc() { return *app->Document(); }
    CMainFrame& Frame() { return *app->MainFrame(); }
    CMrvView& View() { return *Frame().View(); }

    void OpenDatabase(const std::vector<HhuRecord>& hhus = kHhus,
                      const std::vector<BlockSpec>& blocks = kBlocks)
    {
        test::MakeInstallation(db, scripted, hhus, blocks);
        scripted.choices = {db};
        Frame().Action("OpenDatabase")->trigger();
        ASSERT_EQ(Doc().IsDatabaseOpen(), 1);
    }
    void ViewFile(const std::string& path)
    {
        scripted.choices = {path};
        // View File only switches to a file already open; Open opens another.
        if (Doc().GetViewMode() == CMrvDoc::ModeDataFile)
            QTest::mouseClick(View().Button(V::IdOpen), Qt::LeftButton);
        else
            Frame().Action("ViewFile")->trigger();
        ASSERT_EQ(Doc().GetDataFile().LoadedPath(), path);
        ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    }

    void ClickRowOf(int id, int row)
    {
        CMarkListBox* box = View().ListBox(id);
        const QRect r = box->visualRect(box->model()->index(row, 0));
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, r.center());
    }

    // Create Download File from the Data menu; `act` works in the dialog.
    bool WithCreateDialog(const std::function<void(CCreateDownloadDlg&)>& act)
    {
        return WithModal([&] { Frame().Action("CreateDownloadFile")->trigger(); },
                         [&](QDialog& d) {
                             auto* dlg = qobject_cast<CCreateDownloadDlg*>(&d);
                             ASSERT_NE(dlg, nullptr);
                             act(*dlg);
                         });
    }
    // Every text the status line shows from now on.
    static void RecordStatus(
        QDialog& dlg, QStringList& out, const std::function<void()>& also = [] {})
    {
        auto* list = dlg.findChild<QListWidget*>("status");
        QObject::connect(list->model(), &QAbstractItemModel::rowsInserted,
                         [list, &out, also](const QModelIndex&, int first, int last) {
                             for (int row = first; row <= last; ++row)
                                 out << list->item(row)->text();
                             also();
                         });
    }
    // Selects the rows of the HHU list as a user does: a click, then control clicks.
    static void Select(QDialog& dlg, std::initializer_list<int> rows)
    {
        auto* list = dlg.findChild<QTableWidget*>("hhuList");
        bool first = true;
        for (int row : rows) {
            const QRect r = list->visualRect(list->model()->index(row, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton,
                              first ? Qt::NoModifier : Qt::ControlModifier, r.center());
            first = false;
        }
    }
    static void Click(QDialog& dlg, const char* button)
    {
        QTest::mouseClick(dlg.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    static QString Field(QDialog& dlg, const char* name)
    {
        if (auto* e = dlg.findChild<QLineEdit*>(name))
            return e->text();
        if (auto* t = dlg.findChild<QPlainTextEdit*>(name))
            return t->toPlainText();
        if (auto* l = dlg.findChild<QListWidget*>(name)) // its last line
            return l->count() ? l->item(l->count() - 1)->text() : QString();
        ADD_FAILURE() << "no field " << name;
        return {};
    }
    // The rows of the energy table, as "meter_num datestr dbk".
    std::vector<std::string> EnergyRows(const std::string& path)
    {
        std::vector<std::string> rows;
        {
            QSqlDatabase check = QSqlDatabase::addDatabase("QSQLITE", "energy-check");
            check.setDatabaseName(QString::fromStdString(path));
            EXPECT_TRUE(check.open());
            QSqlQuery q("select meter_num, datestr, dbk from energy", check);
            while (q.next())
                rows.push_back(q.value(0).toString().toStdString() + " " +
                               q.value(1).toString().toStdString() + " " +
                               QString::number(q.value(2).toDouble(), 'f', 2).toStdString());
        }
        QSqlDatabase::removeDatabase("energy-check");
        return rows;
    }
};

TEST_F(DataExchangeTest, AdministratorWritesTheStoredFilesOfTheChosenHhus)
{
    OpenDatabase();
    QStringList statuses;
    ASSERT_TRUE(WithCreateDialog([&](CCreateDownloadDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "Create Download File");
        EXPECT_EQ(Field(dlg, "status"), "idle");
        EXPECT_EQ(Field(dlg, "downloadPath"), QString::fromStdString(download));
        EXPECT_TRUE(dlg.findChild<QLineEdit*>("downloadPath")->isReadOnly());
        auto* list = dlg.findChild<QTableWidget*>("hhuList");
        ASSERT_EQ(list->rowCount(), 3);
        EXPECT_EQ(list->horizontalHeaderItem(0)->text(), "HHU ID");
        EXPECT_EQ(list->horizontalHeaderItem(1)->text(), "Description");
        EXPECT_EQ(list->item(0, 0)->text(), "0003");
        EXPECT_EQ(list->item(2, 0)->text(), "0012");
        EXPECT_EQ(list->item(2, 1)->text(), "West");
        auto* admin = dlg.findChild<QCheckBox*>("administrator");
        EXPECT_FALSE(admin->isChecked());

        RecordStatus(dlg, statuses);
        Select(dlg, {0, 2});
        admin->click();
        Click(dlg, "createButton"); // returns when the run has ended
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_TRUE(dlg.findChild<QPushButton*>("createButton")->isEnabled());
    }));
    EXPECT_EQ(statuses,
              (QStringList{"Create...", "Create 0003S.dbf  OK!", "Create 0012S.dbf  OK!"}));
    EXPECT_THAT(FilesIn(download), ElementsAre("0003S.dbf", "0012S.dbf"));
    HhuDataFile file;
    ASSERT_EQ(file.Load(download + "/0003S.dbf"), 1);
    EXPECT_EQ(file.IsStored(), 1);
    EXPECT_EQ(file.ReadingCount(), 6);
    ASSERT_EQ(file.Load(download + "/0012S.dbf"), 1);
    EXPECT_EQ(file.ReadingCount(), 3);
    EXPECT_TRUE(scripted.messages.empty());
}

TEST_F(DataExchangeTest, AnHhuWithoutMetersIsReportedAndTheRunGoesOn)
{
    OpenDatabase();
    QStringList statuses;
    std::vector<std::size_t> messagesShownBefore;
    ASSERT_TRUE(WithCreateDialog([&](CCreateDownloadDlg& dlg) {
        RecordStatus(dlg, statuses,
                     [&] { messagesShownBefore.push_back(scripted.messages.size()); });
        Click(dlg, "createButton");
        EXPECT_EQ(Field(dlg, "status"), "Please Choice Meter First!");
        Select(dlg, {1, 2});
        Click(dlg, "createButton");
    }));
    EXPECT_EQ(statuses, (QStringList{"Please Choice Meter First!", "Create...",
                                     "Create 0009.dbf  Fail!", "Create 0012.dbf  OK!"}));
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].text, "No meter, Don't Create Data File");
    EXPECT_EQ(scripted.messages[0].caption, "");
    // The worker asked, the UI thread showed it, before the HHU's status.
    EXPECT_FALSE(prompter.askedOffUiThread);
    EXPECT_EQ(messagesShownBefore, (std::vector<std::size_t>{0, 0, 1, 1}));
    EXPECT_THAT(FilesIn(download), ElementsAre("0012.dbf"));
}

TEST_F(DataExchangeTest, CreatePressedDuringARunIsIgnoredAndTheDialogWorksAgainAfterIt)
{
    OpenDatabase();
    int runs = 0;
    CCreateDownloadDlg dlg(Doc(), &Frame(), [&](Prompter& p) -> std::unique_ptr<InstallationSource> {
        ++runs;
        auto source = std::make_unique<MeterDatabase>(p);
        if (!source->OpenMain(DatabaseConnectString(db)))
            return nullptr;
        return source;
    });
    dlg.show();
    QStringList statuses;
    RecordStatus(dlg, statuses);
    // While the worker waits for the answer to HHU 9's message, the user presses Create.
    prompter.onMessage = [&](const std::string&) {
        EXPECT_TRUE(dlg.Running());
        EXPECT_FALSE(dlg.findChild<QPushButton*>("createButton")->isEnabled());
        Click(dlg, "createButton");
        dlg.OnCreate();
    };
    Select(dlg, {1, 2});
    Click(dlg, "createButton");
    prompter.onMessage = nullptr;
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(statuses,
              (QStringList{"Create...", "Create 0009.dbf  Fail!", "Create 0012.dbf  OK!"}));
    EXPECT_FALSE(dlg.Running());
    EXPECT_TRUE(dlg.isVisible());
    // Create has its focus back: Enter runs again rather than closing the dialog.
    ASSERT_EQ(dlg.focusWidget(), dlg.findChild<QPushButton*>("createButton"));
    QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(dlg.isVisible());

    Select(dlg, {0});
    Click(dlg, "createButton");
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(statuses.back(), "Create 0003.dbf  OK!");
    EXPECT_THAT(FilesIn(download), ElementsAre("0003.dbf", "0012.dbf"));
}

// The installation through a connection of its own whose third Block's meters come only when
// the test opens the latch.
class SlowSource final : public InstallationSource {
public:
    SlowSource(std::unique_ptr<MeterDatabase> db, std::atomic<int>& loads, test::Latch& third)
        : m_db(std::move(db)), m_loads(loads), m_third(third)
    {
    }
    int LoadHhus(HhuList* out) override { return m_db->LoadHhus(out); }
    int LoadBlocks(std::int32_t hhuId, BlockList* out) override
    {
        return m_db->LoadBlocks(hhuId, out);
    }
    int LoadMeters(std::int32_t blockId, MeterList* out) override
    {
        if (out && ++m_loads == 3)
            m_third.Wait();
        return m_db->LoadMeters(blockId, out);
    }

private:
    std::unique_ptr<MeterDatabase> m_db;
    std::atomic<int>& m_loads;
    test::Latch& m_third;
};

TEST_F(DataExchangeTest, CancelDuringARunClosesTheDialogAndKeepsThePreviousFile)
{
    // HHU 7 with twenty Blocks; Cancel is pressed while the third one is loaded.
    std::vector<BlockSpec> blocks;
    for (int b = 0; b < 20; ++b)
        blocks.push_back({70 + b, "B" + std::to_string(b), 7, 0x3200, 2});
    OpenDatabase({{7, "Long"}}, blocks);
    const std::string previous = test::MakeDataFile(db, scripted, 7, download, 0x03);
    const std::vector<std::uint8_t> before = Bytes(previous);
    test::AddMeters(db, scripted, 70, 2, 3); // a new file would differ

    std::atomic<int> loads{0};
    test::Latch third;
    CCreateDownloadDlg dlg(Doc(), &Frame(), [&](Prompter& p) -> std::unique_ptr<InstallationSource> {
        auto source = std::make_unique<MeterDatabase>(p);
        if (!source->OpenMain(DatabaseConnectString(db)))
            return nullptr;
        return std::make_unique<SlowSource>(std::move(source), loads, third);
    });
    int result = -1;
    bool runEnded = false;
    ASSERT_TRUE(WithModal([&] { result = dlg.exec(); },
                          [&](QDialog&) {
                              QTimer poll;
                              QObject::connect(&poll, &QTimer::timeout, [&] {
                                  if (loads < 3)
                                      return;
                                  poll.stop();
                                  Click(dlg, "cancelButton");
                                  // Taken at once; the dialog goes when the worker has ended.
                                  EXPECT_TRUE(dlg.Running());
                                  third.Open();
                              });
                              poll.start(5);
                              Select(dlg, {0});
                              Click(dlg, "createButton");
                              runEnded = !dlg.Running();
                          }));
    EXPECT_TRUE(runEnded);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_LT(loads.load(), 20);
    EXPECT_THAT(FilesIn(download), ElementsAre("0007.dbf"));
    EXPECT_EQ(Bytes(previous), before);
}

TEST_F(DataExchangeTest, ParaShowsTheParametersAndTheConstantOfTheBlockShown)
{
    // Mill's constant has a third byte (56 34 12 in the file).
    OpenDatabase({{3, "North"}}, {{40, "Garden", 3, 0x3200, 4}, {41, "Mill", 3, 0x123456, 2}});
    const std::string path = test::MakeDataFile(db, scripted, 3, dir.File("upload"), 0x0f);
    ViewFile(path);
    ClickRowOf(V::IdFileBlocks, 1);
    bool seen = WithModal([&] { QTest::mouseClick(View().Button(V::IdPara), Qt::LeftButton); },
                          [&](QDialog& d) {
                              EXPECT_EQ(d.windowTitle(), "View Data File");
                              EXPECT_EQ(Field(d, "constant"), "123456 r/kWh");
                              EXPECT_EQ(Field(d, "resetDate"), "01/00(dd/hh)");
                              EXPECT_EQ(Field(d, "periodNum"), "Three Tariff");
                              EXPECT_EQ(Field(d, "timeVerify"), "Yes ");
                              EXPECT_THAT(Field(d, "dayTable").toStdString(),
                                          HasSubstr("  1. 00:00  3\n"));
                          });
    EXPECT_TRUE(seen);
    // A double click below the readings is Para too.
    ClickRowOf(V::IdFileBlocks, 0);
    auto* readings = View().ListCtrl(V::IdReadings);
    const QPoint below(10, readings->viewport()->height() - 5);
    seen = WithModal(
        [&] {
            QTest::mouseClick(readings->viewport(), Qt::LeftButton, {}, below);
            QTest::mouseDClick(readings->viewport(), Qt::LeftButton, {}, below);
        },
        [&](QDialog& d) { EXPECT_EQ(Field(d, "constant"), "3200 r/kWh"); });
    EXPECT_TRUE(seen);
}

TEST_F(DataExchangeTest, InfoShowsTheRecordOfTheSelectedReading)
{
    OpenDatabase();
    const std::string path = test::MakeDataFile(db, scripted, 3, dir.File("upload"), 0x0f);
    test::StoreReading(path, 5, test::Energy({123456, 100, 200, 300, 0}),
                       test::Energy({100000, 0, 0, 0, 0}));
    ViewFile(path);
    ClickRowOf(V::IdFileBlocks, 1);  // Mill: records 5 and 6
    auto* readings = View().ListCtrl(V::IdReadings);
    const QPoint second = readings->visualRect(readings->model()->index(1, 0)).center();
    QTest::mouseClick(readings->viewport(), Qt::LeftButton, {}, second);
    bool seen = WithModal([&] { QTest::mouseClick(View().Button(V::IdInfo), Qt::LeftButton); },
                          [&](QDialog& d) {
                              EXPECT_EQ(d.windowTitle(), "Data Exchange Information");
                              EXPECT_EQ(Field(d, "meterId2"), "B41M1");
                              EXPECT_EQ(Field(d, "userAddr"), "Street 1");
                              EXPECT_EQ(Field(d, "log"), "Serial number: 6\n"
                                                         "Reading Parameter...\n"
                                                         "1.Accumulativ Energy:\n"
                                                         " k:  001234.56\n"
                                                         "k1:  000001.00\n"
                                                         "k2:  000002.00\n"
                                                         "k3:  000003.00\n"
                                                         "k4:  000000.00\n"
                                                         "\n"
                                                         "2.LM Energy:\n"
                                                         " k:  001000.00\n"
                                                         "k1:  000000.00\n"
                                                         "k2:  000000.00\n"
                                                         "k3:  000000.00\n"
                                                         "k4:  000000.00\n"
                                                         "\n"
                                                         "\n"
                                                         "1.Energy Read Time: \n"
                                                         "  10:30(hh:mm)  26/12/05(yy/MM/dd)\n");
                          });
    EXPECT_TRUE(seen);
    // The double click on a reading opens it too.
    const QPoint first = readings->visualRect(readings->model()->index(0, 0)).center();
    seen = WithModal(
        [&] {
            QTest::mouseClick(readings->viewport(), Qt::LeftButton, {}, first);
            QTest::mouseDClick(readings->viewport(), Qt::LeftButton, {}, first);
        },
        [&](QDialog& d) {
            EXPECT_EQ(Field(d, "meterId2"), "B41M0");
            EXPECT_EQ(Field(d, "log"), "Serial number: 5\nReading Parameter...\n\n");
        });
    EXPECT_TRUE(seen);
}

TEST_F(DataExchangeTest, InfoShowsTheStoredEnergyOfAStoredFileOnlyWithAValidCount)
{
    OpenDatabase();
    const std::string path =
        test::MakeDataFile(db, scripted, 3, dir.File("upload"), 0x0f, /*stored=*/true);
    const std::vector<std::uint8_t> made = Bytes(path);
    // The unit's area: entry 1 is the first meter's (keyed by its Meter ID bytes), entry 0
    // another meter's; the first meter's December total is 12.34.
    auto withArea = [&](std::uint8_t count) {
        using namespace hhufile;
        std::vector<std::uint8_t> bytes = made;
        std::uint8_t* area = &bytes[kStoredEnergyOffset];
        area[kStoredCountOffset] = count;
        std::copy_n(&bytes[kRecordsOffset + 4], 6, area + kStoredEntryOffset + kStoredEntrySize);
        std::uint8_t* december = area + kStoredMonthOffset + kStoredEntrySize + 20 * 11;
        december[0] = 0x34;
        december[1] = 0x12;
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
    struct Case {
        std::uint8_t count;
        bool shown;
    };
    for (const Case c : {Case{2, true}, Case{21, false}}) {
        SCOPED_TRACE(int(c.count));
        withArea(c.count);
        ViewFile(path);
        auto* readings = View().ListCtrl(V::IdReadings);
        const QPoint first = readings->visualRect(readings->model()->index(0, 0)).center();
        QTest::mouseClick(readings->viewport(), Qt::LeftButton, {}, first);
        std::string log;
        ASSERT_TRUE(
            WithModal([&] { QTest::mouseClick(View().Button(V::IdInfo), Qt::LeftButton); },
                      [&](QDialog& d) { log = Field(d, "log").toStdString(); }));
        EXPECT_THAT(log, HasSubstr("Serial number: 1\nReading Parameter...\n"));
        if (c.shown) {
            // (January's block begins inside the key, as the unit lays the entry out.)
            EXPECT_THAT(log, HasSubstr("\n\n1.Stored Energy: \nJan: \n k:  "));
            EXPECT_THAT(log, HasSubstr("Dec: \n k:  000012.34\n"));
        } else {
            EXPECT_THAT(log, Not(HasSubstr("Stored Energy")));
        }
    }
}

TEST_F(DataExchangeTest, InputChoosesTheEnergyDatabaseOnceAndStoresTheReadMeters)
{
    OpenDatabase();
    const std::string unread = test::MakeDataFile(db, scripted, 3, dir.File("upload/a"), 0x0f);
    const std::string read = test::MakeDataFile(db, scripted, 3, dir.File("upload/b"), 0x0f);
    test::StoreReading(read, 0, test::Energy({100012345, 0, 0, 0, 0}), test::Energy({}));
    test::StoreReading(read, 5, test::Energy({4200, 0, 0, 0, 0}), test::Energy({}));
    const std::string energy = dir.File("new/energy.db");
    fs::create_directories(dir.File("new"));
    Doc().m_dbEnergy = dir.File("old/remembered.db");

    ViewFile(unread);
    // Cancelled: nothing opened, nothing imported.
    QTest::mouseClick(View().Button(V::IdInput), Qt::LeftButton);
    ASSERT_FALSE(scripted.choosers.empty());
    EXPECT_EQ(scripted.choosers.back().filter, "database(.db)|*.db *.sqlite *.mdb *.accdb|access database(.mdb)|*.mdb *.accdb");
    EXPECT_EQ(scripted.choosers.back().startDir, dir.File("old/remembered.db"));
    EXPECT_EQ(scripted.choosers.back().defaultExt, ".db");
    EXPECT_EQ(Doc().m_energyDbOpen, 0);
    EXPECT_TRUE(scripted.messages.empty());

    scripted.choices = {energy};
    QTest::mouseClick(View().Button(V::IdInput), Qt::LeftButton);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].text, "Total input 0 records!");
    EXPECT_EQ(scripted.messages[0].caption, "Input result");
    EXPECT_EQ(Doc().m_energyDbOpen, 1);
    EXPECT_EQ(Doc().m_dbEnergy, energy);
    EXPECT_TRUE(EnergyRows(energy).empty()); // the new file has its table

    // The energy database stays open: no second chooser.
    const std::size_t choosers = scripted.choosers.size();
    ViewFile(read);
    QTest::mouseClick(View().Button(V::IdInput), Qt::LeftButton);
    EXPECT_EQ(scripted.choosers.size(), choosers + 1); // the data file's only
    ASSERT_EQ(scripted.messages.size(), 2u);
    // The result names the database stored into.
    EXPECT_EQ(scripted.messages[1].text, "Total input 2 records!\nStored into " + energy);
    EXPECT_THAT(EnergyRows(energy), ElementsAre("B40M0 26-12-05 123.45", "B41M1 26-12-05 42.00"));

    // The same file again: asked, and No (the default) stores nothing twice.
    QTest::mouseClick(View().Button(V::IdInput), Qt::LeftButton);
    ASSERT_EQ(scripted.messages.size(), 3u);
    EXPECT_EQ(scripted.messages[2].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_THAT(scripted.messages[2].text, HasSubstr("Import it again?"));
    EXPECT_EQ(EnergyRows(energy).size(), 2u);

    // Data > Energy Database... changes the database at any time.
    const std::string other = dir.File("new/other.db");
    scripted.choices = {other};
    Frame().Action("EnergyDatabase")->trigger();
    EXPECT_EQ(Doc().m_dbEnergy, other);
    QTest::mouseClick(View().Button(V::IdInput), Qt::LeftButton);
    ASSERT_EQ(scripted.messages.size(), 4u);
    EXPECT_EQ(scripted.messages[3].text, "Total input 2 records!\nStored into " + other);
    EXPECT_EQ(EnergyRows(other).size(), 2u);
    EXPECT_EQ(EnergyRows(energy).size(), 2u);
}

TEST_F(DataExchangeTest, TheTransferProgramGetsItsOneArgument)
{
    fs::create_directories(dir.File("system"));
    WriteScript(dir.File("system/tqlink"),
                "printf '%s|%s\\n' \"$#\" \"$1\" >>\"$(dirname \"$0\")/args\"\n");
    FixedClock clock(PcTime{2027, 1, 15, 9, 0, 0, 5});
    Doc().SetClock(clock);

    Frame().Action("DownloadFile")->trigger();
    Frame().Action("UploadFile")->trigger();
    EXPECT_TRUE(fs::is_directory(dir.File("upload/2027-01")));
    // A file where the month folder should be: the folder is still passed.
    clock.Set(PcTime{2027, 2, 1, 9, 0, 0, 1});
    std::ofstream(dir.File("upload/2027-02")) << "in the way";
    Frame().Action("UploadFile")->trigger();
    EXPECT_TRUE(fs::is_regular_file(dir.File("upload/2027-02")));

    std::ifstream in(dir.File("system/args"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    EXPECT_THAT(lines, ElementsAre("1|d" + download, "1|u" + dir.File("upload/2027-01"),
                                   "1|u" + dir.File("upload/2027-02")));
    EXPECT_TRUE(scripted.messages.empty());
}

TEST_F(DataExchangeTest, WhileTheTransferProgramRunsTheWindowTakesNoInput)
{
    fs::create_directories(dir.File("system"));
    // Runs until the test lets it go.
    WriteScript(dir.File("system/tqlink"), "here=\"$(dirname \"$0\")\"\n"
                                           ": >\"$here/started\"\n"
                                           "while [ ! -e \"$here/release\" ]; do sleep 0.02; done\n");
    bool checked = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!fs::exists(dir.File("system/started")))
            return;
        poll.stop();
        EXPECT_FALSE(Frame().menuBar()->isEnabled());
        EXPECT_FALSE(Frame().ToolBar()->isEnabled());
        EXPECT_FALSE(View().isEnabled());
        EXPECT_THAT(Frame().statusBar()->currentMessage().toStdString(),
                    HasSubstr("Transfer program running"));
        // The mouse passing over a tool button, then off it, leaves the text as it is.
        for (const char* tip : {"View File", ""}) {
            QStatusTipEvent event(tip);
            QApplication::sendEvent(Frame().ToolBar(), &event);
        }
        EXPECT_THAT(Frame().statusBar()->currentMessage().toStdString(),
                    HasSubstr("Transfer program running"));
        EXPECT_FALSE(Frame().close()); // the window waits for it
        // The window still paints.
        const QImage shot = Frame().grab().toImage();
        EXPECT_FALSE(shot.isNull());
        checked = true;
        std::ofstream(dir.File("system/release"));
    });
    poll.start(10);
    Frame().Action("DownloadFile")->trigger();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(Frame().menuBar()->isEnabled());
    EXPECT_TRUE(View().isEnabled());
    EXPECT_EQ(Frame().statusBar()->currentMessage(), "Ready");
    EXPECT_TRUE(Frame().isVisible());
}

TEST_F(DataExchangeTest, AProgramThatCannotStartShowsTheSystemsErrorNumber)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;
        const char* text;
    };
    const Case cases[] = {
        {"missing", [] {},
         "Error number: 2\nThe transfer program $ could not be started: No such file or "
         "directory."},
        {"not executable",
         [&] {
             fs::create_directories(dir.File("system"));
             std::ofstream(dir.File("system/tqlink")) << "#!/bin/sh\n";
             fs::permissions(dir.File("system/tqlink"), fs::perms::owner_read);
         },
         "Error number: 13\nThe transfer program $ could not be started: Permission denied."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        scripted.messages.clear();
        c.prepare();
        Frame().Action("DownloadFile")->trigger();
        ASSERT_EQ(scripted.messages.size(), 1u);
        std::string text = c.text;
        text.replace(text.find('$'), 1, dir.File("system/tqlink"));
        EXPECT_EQ(scripted.messages[0].text, text);
        EXPECT_EQ(scripted.messages[0].caption, "Error");
        EXPECT_TRUE(Frame().menuBar()->isEnabled());
    }
}

TEST_F(DataExchangeTest, OnTheDemoWorkspaceTheWholeRoundWorksFromTheWindow)
{
    // The demo's workspace with its stand-in transfer program and unit; the files the script
    // made are removed so that the window makes them.
    const std::string ws = dir.File("demo");
    const test::ToolRun made = test::RunTool(
        "MRV_BIN_DIR=" + test::Quote(MRV_BIN_DIR) + " " +
        test::Quote(std::string(MRV_SOURCE_DIR) + "/scripts/demo-workspace") + " " +
        test::Quote(ws));
    ASSERT_EQ(made.status, 0) << made.out << made.err;
    for (const char* folder : {"download", "hhu", "upload"})
        for (const auto& e : fs::recursive_directory_iterator(ws + "/" + folder))
            if (e.path().extension() == ".dbf")
                fs::remove(e.path());
    Doc().m_downloadPath = ws + "/download";
    Doc().m_dataPath = ws + "/upload";
    Doc().m_systemDir = ws + "/system";
    scripted.choices = {ws + "/install.db"};
    Frame().Action("OpenDatabase")->trigger();
    ASSERT_EQ(Doc().IsDatabaseOpen(), 1);

    ASSERT_TRUE(WithCreateDialog([&](CCreateDownloadDlg& dlg) {
        Select(dlg, {0});
        Click(dlg, "createButton");
        EXPECT_EQ(Field(dlg, "status"), "Create 0001.dbf  OK!");
    }));
    Frame().Action("DownloadFile")->trigger();
    EXPECT_TRUE(fs::exists(ws + "/hhu/0001.dbf"));
    Frame().Action("UploadFile")->trigger();
    const std::string month = UploadMonthFolder(ws + "/upload", SystemClock::Instance().Now());
    const std::string uploaded = month + "/0001.dbf";
    ASSERT_TRUE(fs::exists(uploaded));
    EXPECT_TRUE(scripted.messages.empty());

    HhuDataFile check;
    ASSERT_EQ(check.Load(uploaded), 1);
    const auto& readings = check.GetReadings();
    const auto read = std::count_if(readings.begin(), readings.end(),
                                    [](const ReadingRecord& r) { return r.status != 0; });
    ASSERT_GT(read, 0);
    ASSERT_LT(read, long(readings.size())); // the unit missed some

    ViewFile(uploaded);
    scripted.choices = {ws + "/energy.db"};
    QTest::mouseClick(View().Button(V::IdInput), Qt::LeftButton);
    ASSERT_EQ(scripted.messages.size(), 1u);
    EXPECT_EQ(scripted.messages[0].text, "Total input " + std::to_string(read) +
                                             " records!\nStored into " + Doc().m_dbEnergy);
    EXPECT_EQ(EnergyRows(ws + "/energy.db").size(), std::size_t(read));
}

} // namespace
} // namespace mrv
