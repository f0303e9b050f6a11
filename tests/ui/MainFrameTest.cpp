#include "AppFixture.h"
#include "UiTest.h"

#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "link/SerialPort.h"
#include "support/PtyPair.h"
#include "support/ScriptedPrompter.h"
#include "support/TestDatabase.h"
#include "support/TempDir.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/view/CMrvView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <functional>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace mrv {
namespace {

using test::Press;
using test::ScriptedPrompter;
using test::TempDir;
using test::WithModal;

class MainFrameTest : public test::AppFixture {
protected:
    bool Run(const char* action, const std::function<void(QDialog&)>& act)
    {
        return WithModal([&] { Frame().Action(action)->trigger(); }, act);
    }
};

TEST_F(MainFrameTest, StartWithoutProfileGivesTheDefaults)
{
    Start();
    EXPECT_EQ(Doc().GetBaudRate(), 1200);
    EXPECT_EQ(Doc().GetPortNumber(), 1);
    EXPECT_EQ(Doc().m_parity, 2);
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(Doc().m_dataPath, here);
    EXPECT_EQ(Doc().m_downloadPath, here);
    EXPECT_EQ(Doc().m_dbName, "");
    EXPECT_EQ(Doc().IsDatabaseOpen(), 0);
    EXPECT_EQ(Doc().ComDevice(0), SerialPort::DefaultDevicePath(1));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainFrameTest, FrameHasItsMenusToolbarAndStatusBar)
{
    Start();
    CMainFrame& f = Frame();
    EXPECT_EQ(f.windowTitle(), "mrv003e");
    EXPECT_EQ(f.minimumSize(), QSize(500, 340));

    QStringList menus;
    for (QAction* a : f.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus,
              (QStringList{"&File", "&Communication", "&Database", "&View", "Da&ta", "&About"}));
    // Each command carries its prompt as status-bar help.
    const std::pair<const char*, const char*> tips[] = {
        {"Config", "Communication Setting"},
        {"Operate", "Communication"},
        {"OpenDatabase", "Open Database"},
        {"CloseDatabase", "Close Database"},
        {"CreateDownloadFile", "Create Download File"},
        {"DownloadFile", "Download File"},
        {"UploadFile", "Upload File"},
        {"ParameterSetting", "Parameter Setting"},
        {"FilePathSetting", "File Path Setting"},
    };
    for (auto [name, tip] : tips) {
        QAction* a = f.Action(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->statusTip(), tip) << name;
    }

    QToolBar* bar = f.ToolBar();
    QStringList tools;
    for (QAction* a : bar->actions())
        tools << a->objectName();
    EXPECT_EQ(tools,
              (QStringList{"Config", "Operate", "HhuSetting", "MeterSetting", "ViewFile"}));
    EXPECT_TRUE(bar->isMovable());
    EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_EQ(f.toolBarArea(bar), Qt::TopToolBarArea);

    QStringList indicators;
    for (QLabel* l : f.statusBar()->findChildren<QLabel*>())
        indicators << l->text();
    for (const char* lock : {"CAP", "NUM", "SCRL"})
        EXPECT_TRUE(indicators.contains(lock)) << lock;
    EXPECT_EQ(f.statusBar()->currentMessage(), "Ready");
    f.statusBar()->showMessage(f.Action("OpenDatabase")->statusTip());
    f.statusBar()->clearMessage(); // the pointer left the menu item
    EXPECT_EQ(f.statusBar()->currentMessage(), "Ready");

    QString version;
    EXPECT_TRUE(WithModal([&] { f.findChild<QAction*>("About")->trigger(); },
                          [&](QDialog& d) {
                              EXPECT_EQ(d.windowTitle(), "About");
                              for (QLabel* l : d.findChildren<QLabel*>())
                                  if (l->text().startsWith("Ver"))
                                      version = l->text();
                              Press(d, QDialogButtonBox::Ok);
                          }));
    EXPECT_EQ(version, "Ver   1.2");
}

void Choose(QDialog& d, const char* list, const QString& item)
{
    auto* combo = d.findChild<QComboBox*>(list);
    ASSERT_NE(combo, nullptr) << list;
    const int index = combo->findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    combo->setCurrentIndex(index);
}

TEST_F(MainFrameTest, CancelledCommunicationSettingChangesNothing)
{
    Start();
    QString shownDevice;
    EXPECT_TRUE(Run("Config", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Communication Setting");
        EXPECT_EQ(d.findChild<QComboBox*>("port")->currentText(), "COM1");
        EXPECT_EQ(d.findChild<QComboBox*>("baudrate")->currentText(), "1200");
        EXPECT_EQ(d.findChild<QComboBox*>("parity")->currentText(), "EVEN");
        EXPECT_EQ(d.findChild<QComboBox*>("baudrate")->count(), 8); // 115200 not offered
        Choose(d, "port", "COM3");
        Choose(d, "baudrate", "9600");
        Choose(d, "parity", "NONE");
        shownDevice = d.findChild<QLabel*>("device")->text();
        Press(d, QDialogButtonBox::Cancel);
    }));
    EXPECT_EQ(shownDevice, QString::fromStdString(Doc().ComDevice(2)));
    EXPECT_EQ(Doc().GetPortNumber(), 1);
    EXPECT_EQ(Doc().GetBaudRate(), 1200);
    EXPECT_EQ(Doc().m_parity, 2);
}

TEST_F(MainFrameTest, CommunicationSettingKeepsARateItsListDoesNotOffer)
{
    store->PutInt("uart", "baudrate", 8); // 115200, kept in the profile but not in the list
    store->PutInt("uart", "parity", 4);   // space: in use, not offered
    Start();
    ASSERT_EQ(Doc().GetBaudRate(), 115200);
    QString baudShown, parityShown;
    QStringList tabs; // from the focus on opening, as Tab moves it
    EXPECT_TRUE(Run("Config", [&](QDialog& d) {
        auto* baud = d.findChild<QComboBox*>("baudrate");
        EXPECT_EQ(baud->currentIndex(), -1);
        baudShown = baud->placeholderText();
        parityShown = d.findChild<QComboBox*>("parity")->placeholderText();
        for (QWidget* w = d.focusWidget(); w && tabs.size() < 6; w = w->nextInFocusChain())
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible())
                tabs.push_back(w->objectName());
        Choose(d, "port", "COM2");
        Press(d, QDialogButtonBox::Ok);
    }));
    EXPECT_EQ(baudShown, "115200");
    EXPECT_EQ(parityShown, "SPACE");
    ASSERT_GE(tabs.size(), 5);
    EXPECT_EQ(tabs.mid(0, 5),
              (QStringList{"port", "baudrate", "dataBits", "stopBits", "parity"}));
    EXPECT_EQ(Doc().m_baudIndex, 8);
    EXPECT_EQ(Doc().GetBaudRate(), 115200);
    EXPECT_EQ(Doc().m_parity, 4);
    EXPECT_EQ(Doc().GetPortNumber(), 2);
}

TEST_F(MainFrameTest, Com3WithEvenParityOpensTheMappedDevice)
{
    test::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    store->PutString("uart", "com3dev", pty.SlavePath());
    store->PutInt("uart", "parity", 0);
    Start();
    ASSERT_EQ(Doc().ComDevice(2), pty.SlavePath());
    EXPECT_TRUE(Run("Config", [&](QDialog& d) {
        Choose(d, "port", "COM3");
        Choose(d, "parity", "EVEN");
        Choose(d, "baudrate", "4800");
        Press(d, QDialogButtonBox::Ok);
    }));
    EXPECT_EQ(Doc().GetPortNumber(), 3);
    EXPECT_EQ(Doc().m_parity, 2);

    ASSERT_EQ(Doc().OpenPort(Doc().GetBaudRate()), 1);
    EXPECT_EQ(SerialPort::CurrentPort(), 3);
    EXPECT_EQ(SerialPort::IsClosed(3), 0);
    termios t{};
    ASSERT_EQ(tcgetattr(pty.SlaveFd(), &t), 0);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    // A pseudo-terminal drops the parity bits it is given, so read the settings it was given.
    const PortSettings given = Doc().LinkPortSettings(Doc().GetBaudRate());
    EXPECT_EQ(given.parity, 2);
    EXPECT_EQ(given.dataBits, 8);
    EXPECT_EQ(given.stopBits, 0);
    Doc().ClosePort();
    EXPECT_EQ(SerialPort::IsClosed(3), 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainFrameTest, OperateOpensTheConsoleOnTheDocumentsPortAndBaudRate)
{
    store->PutInt("uart", "com", 1);      // COM2
    store->PutInt("uart", "baudrate", 4); // 9600
    Start();
    auto* toolButton = qobject_cast<QToolButton*>(
        Frame().findChild<QToolBar*>()->widgetForAction(Frame().Action("Operate")));
    ASSERT_NE(toolButton, nullptr);
    const std::vector<std::pair<const char*, std::function<void()>>> openers = {
        {"menu", [&] { Frame().Action("Operate")->trigger(); }},
        {"toolbar", [&] { toolButton->click(); }},
    };
    for (const auto& [name, open] : openers) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(WithModal(open, [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), "Operate");
            EXPECT_EQ(d.findChild<QLineEdit*>("port")->text(), "COM2");
            EXPECT_EQ(d.findChild<QLineEdit*>("baudrate")->text(), "9600");
            d.reject();
        }));
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainFrameTest, ChangesMadeInDialogsReachTheProfileAtExit)
{
    Start();
    const std::string down = dir.File("down");
    std::filesystem::create_directory(down);
    EXPECT_TRUE(Run("Config", [&](QDialog& d) {
        Choose(d, "port", "COM2");
        Choose(d, "parity", "ODD");
        Choose(d, "baudrate", "19200");
        Press(d, QDialogButtonBox::Ok);
    }));
    EXPECT_TRUE(Run("FilePathSetting", [&](QDialog& d) {
        d.findChild<QLineEdit*>("downloadpath")->setText(QString::fromStdString(down));
        Press(d, QDialogButtonBox::Ok);
    }));
    EXPECT_TRUE(Run("ParameterSetting", [&](QDialog& d) {
        auto* prescaler = d.findChild<QLineEdit*>("prescaler");
        prescaler->selectAll();
        QTest::keyClicks(prescaler, "25");
        Press(d, QDialogButtonBox::Ok);
    }));
    // Nothing is written before the program ends.
    EXPECT_FALSE(OpenStore()->Contains("uart", "com"));

    Exit();
    EXPECT_EQ(store->GetInt("uart", "com", -1), 1);
    EXPECT_EQ(store->GetInt("uart", "parity", -1), 1);
    EXPECT_EQ(store->GetInt("uart", "baudrate", -1), 5);
    EXPECT_EQ(store->GetString("file", "downloadpath", ""), down);
    EXPECT_EQ(store->GetInt("meter", "prescaler", -1), 25);

    // And the next start takes them.
    Start();
    EXPECT_EQ(Doc().GetBaudRate(), 19200);
    EXPECT_EQ(Doc().GetPortNumber(), 2);
    EXPECT_EQ(Doc().m_downloadPath, down);
}

// An installation database whose largest ids are not its last rows.
std::string InstallationWithIds(const TempDir& dir, Prompter& prompter)
{
    const std::string path = dir.File("install.db");
    EXPECT_EQ(CreateInstallationSchema(path, prompter), 1);
    MeterDatabase db(prompter);
    EXPECT_EQ(db.OpenMain(DatabaseConnectString(path)), 1);
    for (int id : {5, 2})
        EXPECT_EQ(db.InsertHhu({id, "HHU " + std::to_string(id)}), 1);
    for (int id : {9, 30, 4}) {
        BlockRecord b;
        b.district_id = id;
        b.district_name = "Block " + std::to_string(id);
        b.land_id = 5;
        EXPECT_EQ(db.InsertBlock(b), 1);
    }
    db.CloseMain();
    return path;
}

TEST_F(MainFrameTest, OpenAndCloseDatabaseFromTheMenu)
{
    Start();
    CMainFrame& f = Frame();
    EXPECT_TRUE(f.Action("OpenDatabase")->isEnabled());
    EXPECT_FALSE(f.Action("CloseDatabase")->isEnabled());
    EXPECT_FALSE(f.Action("CreateDownloadFile")->isEnabled());

    // A file that is not a database: one message that names it.
    const std::string junk = dir.File("notes.db");
    std::ofstream(junk) << std::string(200, 'x');
    prompter.choices = {junk};
    f.Action("OpenDatabase")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Can't Open This Database!\n" + junk + " is not a database file.");
    EXPECT_EQ(prompter.messages[0].caption, "error");
    EXPECT_EQ(Doc().IsDatabaseOpen(), 0);
    EXPECT_TRUE(f.Action("OpenDatabase")->isEnabled());

    // A missing file: creation is offered; declined, nothing is made.
    prompter.messages.clear();
    const std::string missing = dir.File("missing.db");
    prompter.choices = {missing};
    prompter.answers = {MsgAnswer::No};
    f.Action("OpenDatabase")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_FALSE(std::filesystem::exists(missing));

    prompter.messages.clear();
    const std::string path = InstallationWithIds(dir, prompter);
    prompter.choices = {path};
    f.Action("OpenDatabase")->trigger();
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(Doc().Hhus().size(), 2u);
    EXPECT_EQ(Doc().Blocks().size(), 3u);
    EXPECT_EQ(Doc().m_maxHhuId, 5);
    EXPECT_EQ(Doc().m_maxBlockId, 30);
    EXPECT_EQ(Doc().m_dbName, path);
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_FALSE(f.Action("OpenDatabase")->isEnabled());
    EXPECT_TRUE(f.Action("CloseDatabase")->isEnabled());
    EXPECT_TRUE(f.Action("CreateDownloadFile")->isEnabled());

    f.Action("CloseDatabase")->trigger();
    EXPECT_EQ(Doc().IsDatabaseOpen(), 0);
    EXPECT_EQ(Doc().GetViewMode(), 0);
    EXPECT_TRUE(f.Action("OpenDatabase")->isEnabled());
    EXPECT_FALSE(f.Action("CreateDownloadFile")->isEnabled());
}

TEST_F(MainFrameTest, OpenServerDatabaseChecksItsFieldsAndOpensTheServersDatabase)
{
    if (const std::string why = test::EngineUnavailable(test::Engine::Postgres); !why.empty())
        GTEST_SKIP() << why;
    const test::TestDatabase server(test::Engine::Postgres, "office");
    ASSERT_EQ(CreateInstallationSchema(server.Name(), prompter), 1);
    const ServerDatabaseFields target = ServerDatabaseFields::From(server.Name());
    Start();
    CMainFrame& f = Frame();
    ASSERT_TRUE(f.Action("OpenServerDatabase")->isEnabled());

    const auto edit = [](QDialog& d, const char* name) {
        auto* e = d.findChild<QLineEdit*>(name);
        EXPECT_NE(e, nullptr) << name;
        return e;
    };
    ASSERT_TRUE(Run("OpenServerDatabase", [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Open Server Database");
        EXPECT_EQ(edit(d, "ServerPort")->accessibleName(), "Port");
        // Nothing remembered yet: the usual port, and the database to be typed first.
        EXPECT_EQ(edit(d, "ServerPort")->text(), "5432");
        EXPECT_EQ(edit(d, "ServerDatabase")->text(), "");
        edit(d, "ServerHost")->setText(QString::fromStdString(target.host));
        edit(d, "ServerPort")->setText("70000");
        edit(d, "ServerDatabase")->setText(QString::fromStdString(target.database));
        edit(d, "ServerUser")->setText(QString::fromStdString(target.user));
        Press(d, QDialogButtonBox::Ok);
        EXPECT_TRUE(d.isVisible()); // refused: the port is out of range
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].text, "Port: a number from 1 to 65535.");
        EXPECT_EQ(d.focusWidget(), edit(d, "ServerPort")); // also when the window is inactive
        edit(d, "ServerPort")->setText(QString::fromStdString(target.port));
        Press(d, QDialogButtonBox::Ok);
    }));
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(Doc().IsDatabaseOpen(), 1);
    EXPECT_EQ(Doc().m_dbName, target.ConnectString());
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_FALSE(f.Action("OpenServerDatabase")->isEnabled());
    EXPECT_TRUE(f.Action("CloseDatabase")->isEnabled());

    // Remembered like a file name: the next run's form starts with it.
    f.Action("CloseDatabase")->trigger();
    Exit();
    Start();
    ASSERT_TRUE(Run("OpenServerDatabase", [&](QDialog& d) {
        EXPECT_EQ(edit(d, "ServerDatabase")->text().toStdString(), target.database);
        EXPECT_EQ(edit(d, "ServerHost")->text().toStdString(), target.host);
        Press(d, QDialogButtonBox::Cancel);
    }));
    EXPECT_EQ(Doc().IsDatabaseOpen(), 0);
}

} // namespace
} // namespace mrv
