// The program started with a file, the recent databases of the Database menu and what the
// empty window says.
#include "AppFixture.h"
#include "ViewFixture.h"

#include "support/TestDatabase.h"

#include "doc/CMrvDoc.h"
#include "doc/RecentFileList.h"

#include <QAction>
#include <QImage>
#include <QMenu>

#include <fstream>

namespace mrv {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

class StartAndRecentTest : public test::AppFixture {
protected:
    // The program with its window on screen, as a user starts it.
    void Start()
    {
        AppFixture::Start();
        if (HasFatalFailure())
            return;
        Frame().resize(760, 520);
        Frame().show();
        QApplication::processEvents();
    }
    CMrvView& View() { return *Frame().View(); }

    // An installation of one HHU with one Block of two meters.
    std::string Installation(const std::string& name)
    {
        const std::string path = dir.File(name);
        test::MakeInstallation(path, prompter, {{1, "North"}}, {{1, "Hill", 1, 0x3200, 2}});
        return path;
    }
    std::string Junk(const std::string& name)
    {
        const std::string path = dir.File(name);
        std::ofstream(path) << std::string(300, 'x');
        return path;
    }
    // The recent entries the Database menu shows, newest first.
    QStringList RecentShown()
    {
        Frame().UpdateCommandUi();
        QStringList shown;
        for (int i = 1; i <= RecentFileList::kSize; ++i) {
            QAction* a = Frame().findChild<QAction*>(QString("RecentDatabase%1").arg(i));
            EXPECT_NE(a, nullptr) << i;
            if (a && a->isVisible())
                shown << a->text();
        }
        return shown;
    }
    bool RecentMenuEnabled()
    {
        Frame().UpdateCommandUi();
        return Frame().findChild<QAction*>("RecentDatabasesMenu")->isEnabled();
    }
    void TriggerRecent(int number)
    {
        Frame().findChild<QAction*>(QString("RecentDatabase%1").arg(number))->trigger();
    }
    // Pixels in the middle of the view that are not its background.
    int MarkedPixelsInTheMiddle()
    {
        const QImage shot = View().grab().toImage();
        const QRgb face = View().palette().color(QPalette::Window).rgb();
        const QRect middle(shot.width() / 4, shot.height() / 4, shot.width() / 2,
                           shot.height() / 2);
        int marked = 0;
        for (int y = middle.top(); y <= middle.bottom(); ++y)
            for (int x = middle.left(); x <= middle.right(); ++x)
                marked += shot.pixel(x, y) != face;
        return marked;
    }
};

TEST_F(StartAndRecentTest, FileOnTheCommandLineOpensAsItsMenuCommandWould)
{
    const std::string installation = Installation("install.db");
    const std::string dataFile = test::MakeDataFile(installation, prompter, 1, dir.File("up"), 1);
    const std::string notADatabase = Junk("notes.db");
    const std::string notADataFile = Junk("notes.dbf");
    const std::string missing = dir.File("missing.db");
    struct Case {
        std::string name;
        int mode;
        std::string lastMessage; // empty: none
    };
    const Case cases[] = {
        {installation, CMrvDoc::ModeBlock, ""},
        // The form a file manager may hand over.
        {"file://" + installation, CMrvDoc::ModeBlock, ""},
        {dataFile, CMrvDoc::ModeDataFile, ""},
        {missing, CMrvDoc::ModeNone, missing + "\nThis database does not exist."},
        {notADatabase, CMrvDoc::ModeNone,
         "Can't Open This Database!\n" + notADatabase + " is not a database file."},
        {notADataFile, CMrvDoc::ModeNone,
         "Not Correct Data File!\n(the file is shorter than the fixed areas of a data file)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.messages.clear();
        std::filesystem::remove(dir.File("profile.ini")); // each a first start
        store = OpenStore();
        Start();
        app->OpenFile(QString::fromStdString(c.name));
        EXPECT_EQ(Doc().GetViewMode(), c.mode);
        EXPECT_EQ(prompter.messages.empty() ? "" : prompter.messages.back().text, c.lastMessage);
        // Only what is opened goes into the recent list, and a data file is no database.
        const bool database = c.mode == CMrvDoc::ModeBlock;
        EXPECT_EQ(Doc().IsDatabaseOpen(), database ? 1 : 0);
        EXPECT_EQ(app->RecentFiles().Names(),
                  database ? std::vector<std::string>{installation} : std::vector<std::string>{});
        if (database) {
            EXPECT_EQ(Doc().m_dbName, installation);
            EXPECT_EQ(Doc().Blocks().size(), 1u);
            EXPECT_TRUE(Frame().Action("MeterSetting")->isChecked());
        }
        if (c.mode == CMrvDoc::ModeDataFile) {
            EXPECT_EQ(View().DataFilePath(), dataFile);
        }
        // A bad name leaves the empty window as it was, and makes no file.
        if (c.mode == CMrvDoc::ModeNone) {
            EXPECT_FALSE(View().EmptyViewHint().isEmpty());
        }
        Exit();
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(StartAndRecentTest, ServerOnTheCommandLineOpensAndIsRecentLikeAFile)
{
    if (const std::string why = test::EngineUnavailable(test::Engine::Postgres); !why.empty())
        GTEST_SKIP() << why;
    const test::TestDatabase server(test::Engine::Postgres, "office");
    ASSERT_EQ(CreateInstallationSchema(server.Name(), prompter), 1);
    Start();
    app->OpenFile(QString::fromStdString(server.Name()));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(Doc().IsDatabaseOpen(), 1);
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_EQ(app->RecentFiles().Names(), std::vector<std::string>{server.Name()});

    // Picked from the list on the next start, it opens again.
    Exit();
    Start();
    TriggerRecent(1);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(Doc().IsDatabaseOpen(), 1);
    EXPECT_EQ(Doc().m_dbName, server.Name());
}

TEST_F(StartAndRecentTest, RecentDatabasesListTheLastOpenedAndDropOneThatIsGone)
{
    const std::string a = Installation("a.db");
    const std::string b = Installation("b&c.db"); // "&" is no mnemonic in the menu
    const std::string c = Installation("c.db");
    Start();
    EXPECT_TRUE(RecentShown().isEmpty());
    EXPECT_FALSE(RecentMenuEnabled());
    for (const std::string& path : {a, b, c}) {
        prompter.choices = {path};
        Frame().Action("OpenDatabase")->trigger();
        ASSERT_EQ(Doc().IsDatabaseOpen(), 1);
        EXPECT_FALSE(RecentMenuEnabled()); // like Open Database, while one is open
        Frame().Action("CloseDatabase")->trigger();
    }
    const QString qa = QString::fromStdString(a), qb = QString::fromStdString(b),
                  qc = QString::fromStdString(c);
    QString menuB = qb;
    menuB.replace("&", "&&");
    EXPECT_EQ(RecentShown(), (QStringList{"&1 " + qc, "&2 " + menuB, "&3 " + qa}));
    EXPECT_TRUE(RecentMenuEnabled());

    // The next start finds them in the profile.
    Exit();
    EXPECT_EQ(store->GetString("Recent File List", "File1", "?"), c);
    EXPECT_EQ(store->GetString("Recent File List", "File3", "?"), a);
    EXPECT_EQ(store->GetString("Recent File List", "File4", "?"), "");
    Start();
    EXPECT_EQ(RecentShown().size(), 3);

    // One removed since: said so, and taken off the list, which the profile then keeps.
    std::filesystem::remove(b);
    TriggerRecent(2);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              b + "\nThis database is no longer there; it is taken off the recent list.");
    EXPECT_EQ(Doc().IsDatabaseOpen(), 0);
    EXPECT_EQ(RecentShown(), (QStringList{"&1 " + qc, "&2 " + qa}));

    // One still there opens and comes first.
    TriggerRecent(2);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(Doc().IsDatabaseOpen(), 1);
    EXPECT_EQ(Doc().m_dbName, a);
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_EQ(RecentShown(), (QStringList{"&1 " + qa, "&2 " + qc}));
    Exit();
    EXPECT_EQ(store->GetString("Recent File List", "File2", "?"), c);
    EXPECT_EQ(store->GetString("Recent File List", "File3", "?"), "");
}

TEST_F(StartAndRecentTest, EmptyViewSaysHowToStartUntilTheModeChanges)
{
    const std::string installation = Installation("install.db");
    Start();
    const QString hint = View().EmptyViewHint();
    for (const char* way : {"Database > Open Database", "Recent Databases", "View > View File"})
        EXPECT_TRUE(hint.contains(way)) << way;
    EXPECT_GT(MarkedPixelsInTheMiddle(), 0);

    prompter.choices = {installation};
    Frame().Action("OpenDatabase")->trigger();
    ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_TRUE(View().EmptyViewHint().isEmpty());

    // Emptied again, the view says it again.
    Frame().Action("CloseDatabase")->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(View().EmptyViewHint().isEmpty());
    EXPECT_GT(MarkedPixelsInTheMiddle(), 0);
}

} // namespace
} // namespace mrv
