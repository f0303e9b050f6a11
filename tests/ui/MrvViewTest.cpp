// The main view on a real installation database and real data files: modes and their
// layouts, the drawn texts, the divider, the context menus, double clicks and commands.
#include "UiTest.h"
#include "ViewFixture.h"

#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace mrv {
namespace {

using test::BlockSpec;
using test::ScriptedPrompter;
using test::TempDir;
using V = CMrvView;

// Three HHUs (the last without Blocks), three Blocks and their meters.
const std::vector<HhuRecord> kHhus = {{3, "North"}, {5, "South"}, {9, "Spare"}};
const std::vector<BlockSpec> kBlocks = {{40, "Garden", 3, 0x3200, 4},
                                        {41, "Mill", 3, 0x1600, 2},
                                        {50, "Far", 5, 0x123456, 1},
                                        {60, "Empty", 5, 0x3200, 0}};

const ViewCommand kCommands[] = {
    ViewCommand::Add,         ViewCommand::Modify,      ViewCommand::Delete, ViewCommand::Query,
    ViewCommand::MeterAdd,    ViewCommand::MeterModify, ViewCommand::MeterDelete,
    ViewCommand::Info,        ViewCommand::Para,        ViewCommand::Input,  ViewCommand::Print,
    ViewCommand::Set,         ViewCommand::Read};

struct MenuEntry {
    QString text;
    bool enabled;
    int command;
};

class MrvViewTest : public test::MainWindowTest {
protected:
    std::string db = dir.File("install.db");

    // What the view handed to each command that ran, in order. The commands are recorded
    // here instead of opening their dialogs.
    std::vector<ViewCommandArgs> ran;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (ViewCommand c : kCommands)
            View().SetCommandHandler(c, [this](const ViewCommandArgs& a) { ran.push_back(a); });
    }
    // The command that ran last, taken off the record; none when nothing ran.
    std::optional<ViewCommand> Ran()
    {
        if (ran.empty())
            return std::nullopt;
        const ViewCommand c = ran.back().command;
        ran.clear();
        return c;
    }
    QPushButton* Button(int id) { return View().Button(id); }
    CMarkListBox* Box(int id) { return View().ListBox(id); }
    CRecordListCtrl* List(int id) { return View().ListCtrl(id); }
    int S() { return View().SplitPos(); }
    int W() { return View().width(); }
    int H() { return View().height(); }
    QString Status() { return Frame().statusBar()->currentMessage(); }

    void OpenDatabase(const std::vector<HhuRecord>& hhus = kHhus,
                      const std::vector<BlockSpec>& blocks = kBlocks)
    {
        test::MakeInstallation(db, prompter, hhus, blocks);
        prompter.choices = {db};
        Frame().Action("OpenDatabase")->trigger();
        ASSERT_EQ(Doc().IsDatabaseOpen(), 1);
    }
    std::string DataFile(std::int32_t hhu, const std::string& folder, std::uint8_t mask = 0x03)
    {
        return test::MakeDataFile(db, prompter, hhu, dir.File(folder), mask);
    }
    std::vector<std::pair<QPoint, QString>> Texts()
    {
        std::vector<std::pair<QPoint, QString>> out;
        for (const auto& t : View().DrawnTexts())
            out.emplace_back(t.at, t.text);
        return out;
    }
    bool Drawn(const QString& text)
    {
        for (const auto& t : View().DrawnTexts())
            if (t.text == text)
                return true;
        return false;
    }
    // Clicks row `row` of a list as the user does.
    static void ClickRow(QAbstractItemView* list, int row,
                         Qt::MouseButton button = Qt::LeftButton)
    {
        const QRect r = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), button, {}, r.center());
    }
    static void DoubleClick(QAbstractItemView* list, QPoint at)
    {
        // The click before the double click, as the window system sends it.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    static QPoint RowPoint(QAbstractItemView* list, int row)
    {
        return list->visualRect(list->model()->index(row, 0)).center();
    }
    static QPoint Below(QAbstractItemView* list)
    {
        return {10, list->viewport()->height() - 5};
    }
    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::NoButton)
    {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton
            : View().IsDragging() || type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                      : Qt::NoButton;
        QMouseEvent e(type, QPointF(pos), QPointF(View().mapToGlobal(pos)), button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(&View(), &e);
    }
    // Runs `press`, reads the context menu it opens and chooses the entry of `choose` (none
    // when 0). Empty when no menu opened.
    std::vector<MenuEntry> WithMenu(const std::function<void()>& press, int choose = 0)
    {
        std::vector<MenuEntry> seen;
        int tries = 0;
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) {
                if (++tries > 50)
                    timer.stop();
                return;
            }
            timer.stop();
            QAction* chosen = nullptr;
            for (QAction* a : menu->actions()) {
                if (a->isSeparator())
                    continue;
                seen.push_back({a->text(), a->isEnabled(), a->data().toInt()});
                if (choose != 0 && a->data().toInt() == choose)
                    chosen = a;
            }
            if (chosen) {
                menu->setActiveAction(chosen);
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                menu->close();
            }
        });
        timer.start();
        press();
        timer.stop();
        return seen;
    }
    static std::vector<std::pair<QString, bool>> Enabling(const std::vector<MenuEntry>& menu)
    {
        std::vector<std::pair<QString, bool>> out;
        for (const MenuEntry& e : menu)
            out.emplace_back(e.text, e.enabled);
        return out;
    }
    std::vector<MenuEntry> RightPress(QAbstractItemView* list, QPoint at, int choose = 0)
    {
        return WithMenu(
            [&] {
                QTest::mousePress(list->viewport(), Qt::RightButton, {}, at);
                QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, at);
            },
            choose);
    }
    // Every child that is shown, by object name.
    QStringList Shown()
    {
        QStringList out;
        for (QWidget* w : View().findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w->isVisibleTo(&View()))
                out << w->objectName();
        out.sort();
        return out;
    }
};

TEST_F(MrvViewTest, ControlsAreMadeInTheirOrderWithTheirTextsAndNames)
{
    const std::vector<std::pair<const char*, const char*>> made = {
        {"groupBox", "LAND"},      {"addButton", "Add"},         {"modifyButton", "Modify"},
        {"openButton", "Open"},    {"closeButton", "Close"},     {"queryButton", "Query"},
        {"meterAddButton", "Add"}, {"meterModifyButton", "Modify"}, {"meterDeleteButton", "Delete"},
        {"setButton", "Set"},      {"infoButton", "Info"},       {"paraButton", "Para"},
        {"inputButton", "Input"},  {"printButton", "Print"},     {"readButton", "Read"},
        {"hhuList", ""},           {"blockList", ""},            {"fileBlockList", ""},
        {"hhuBlockList", ""},      {"meterList", ""},            {"readingList", ""},
    };
    const QObjectList children = View().children();
    ASSERT_GE(children.size(), qsizetype(made.size()));
    for (std::size_t i = 0; i < made.size(); ++i) {
        auto* w = qobject_cast<QWidget*>(children[qsizetype(i)]);
        ASSERT_NE(w, nullptr);
        SCOPED_TRACE(made[i].first);
        EXPECT_EQ(w->objectName(), made[i].first);
        EXPECT_FALSE(w->accessibleName().isEmpty());
        EXPECT_FALSE(w->isVisibleTo(&View())); // mode 0 shows nothing
        if (auto* b = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(b->text(), made[i].second);
            EXPECT_EQ(b->accessibleName(), made[i].second);
        }
    }
    EXPECT_EQ(View().GroupBox()->title(), "LAND");
    EXPECT_EQ(Doc().GetViewMode(), 0);
    EXPECT_TRUE(View().DrawnTexts().empty());
    EXPECT_FALSE(Frame().Action("HhuSetting")->isEnabled());
    EXPECT_FALSE(Frame().Action("MeterSetting")->isEnabled());
    EXPECT_TRUE(Frame().Action("ViewFile")->isEnabled());
}

TEST_F(MrvViewTest, OpeningADatabaseShowsBlockModeWithTheFirstHhuAndBlock)
{
    OpenDatabase();
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_EQ(Box(V::IdHhuList)->GetCurSel(), 0);
    EXPECT_EQ(Box(V::IdBlockList)->GetCurSel(), 0);
    EXPECT_EQ(Box(V::IdBlockList)->GetCount(), 4);
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 4);
    EXPECT_EQ(List(V::IdMeters)->CurrentKey(), 40);
    EXPECT_EQ(List(V::IdHhuBlocks)->CurrentKey(), 3);
    EXPECT_EQ(List(V::IdHhuBlocks)->GetItemCount(), 2);
    EXPECT_TRUE(Frame().Action("MeterSetting")->isChecked());
    EXPECT_FALSE(Frame().Action("HhuSetting")->isChecked());
    EXPECT_TRUE(Frame().Action("HhuSetting")->isEnabled());

    EXPECT_EQ(Shown(), (QStringList{"addButton", "blockList", "groupBox", "meterAddButton",
                                    "meterDeleteButton", "meterList", "meterModifyButton",
                                    "modifyButton", "queryButton", "setButton"}));
    EXPECT_EQ(View().GroupBox()->title(), "Block");
    const int s = S(), w = W(), h = H();
    ASSERT_EQ(s, 120);
    const std::vector<std::pair<QWidget*, QRect>> placed = {
        {View().GroupBox(), {4, 4, s - 8, h - 8}},
        {Button(V::IdAdd), {10, h - 34, 50, 24}},
        {Button(V::IdModify), {64, h - 34, 50, 24}},
        {Box(V::IdBlockList), {10, 26, s - 20, h - 63}},
        {List(V::IdMeters), {s + 20, 89, w - s - 28, h - 126}},
        {Button(V::IdQuery), {w - 273, h - 34, 50, 24}},
        {Button(V::IdMeterAdd), {w - 219, h - 34, 50, 24}},
        {Button(V::IdMeterModify), {w - 165, h - 34, 50, 24}},
        {Button(V::IdMeterDelete), {w - 111, h - 34, 50, 24}},
        {Button(V::IdSet), {w - 57, h - 34, 50, 24}},
    };
    for (const auto& [widget, rect] : placed)
        EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString();

    using T = std::vector<std::pair<QPoint, QString>>;
    EXPECT_EQ(Texts(), (T{{{140, 30}, "Block ID: 0040"},
                          {{270, 30}, "HHU ID: 0003"},
                          {{385, 30}, "Constant: 3200"},
                          {{140, 55}, "Meters: 4"},
                          {{270, 55}, "Block Name: Garden"}}));

    // The user picks another Block: its meters and summary.
    ClickRow(Box(V::IdBlockList), 2);
    EXPECT_EQ(List(V::IdMeters)->CurrentKey(), 50);
    EXPECT_EQ(List(V::IdMeters)->GetItemCount(), 1);
    EXPECT_TRUE(Drawn("Constant: 123456"));
    EXPECT_TRUE(Drawn("HHU ID: 0005"));

    // A bigger window: everything placed again from the right edge.
    Frame().resize(1280, 900);
    QApplication::processEvents();
    EXPECT_EQ(List(V::IdMeters)->geometry(), QRect(s + 20, 89, W() - s - 28, H() - 126));
    EXPECT_EQ(Button(V::IdSet)->geometry(), QRect(W() - 57, H() - 34, 50, 24));
}

TEST_F(MrvViewTest, HhuModeShowsTheSummaryOfTheSelectedHhu)
{
    OpenDatabase();
    Frame().Action("HhuSetting")->trigger();
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeHhu);
    EXPECT_TRUE(Frame().Action("HhuSetting")->isChecked());
    EXPECT_FALSE(Frame().Action("MeterSetting")->isChecked());
    EXPECT_EQ(Shown(),
              (QStringList{"addButton", "groupBox", "hhuBlockList", "hhuList", "modifyButton"}));
    EXPECT_EQ(View().GroupBox()->title(), "HHU");
    const int s = S(), w = W(), h = H();
    EXPECT_EQ(Box(V::IdHhuList)->geometry(), QRect(10, 26, s - 20, h - 63));
    EXPECT_EQ(List(V::IdHhuBlocks)->geometry(), QRect(s + 20, 89, w - s - 28, h - 126));
    using T = std::vector<std::pair<QPoint, QString>>;
    EXPECT_EQ(Texts(), (T{{{140, 30}, "HHU ID: 0003"},
                          {{270, 30}, "HHU Description: North"},
                          {{140, 55}, "Manage Blocks: 2"},
                          {{270, 55}, "Manage Meters: 6"},
                          {{140, h - 34}, "Max manage meters 5500"}}));

    ClickRow(Box(V::IdHhuList), 2); // an HHU without Blocks
    EXPECT_EQ(List(V::IdHhuBlocks)->CurrentKey(), 9);
    EXPECT_TRUE(Drawn("Manage Blocks: 0"));
    EXPECT_TRUE(Drawn("HHU Description: Spare"));
    // The Blocks of the HHU listed last carry the dot.
    ClickRow(Box(V::IdHhuList), 1);
    EXPECT_EQ(List(V::IdHhuBlocks)->CurrentKey(), 5);
    EXPECT_EQ(List(V::IdHhuBlocks)->GetItemCount(), 2);

    // "Meter Setting" back, and "HHU Setting" twice changes nothing.
    Frame().Action("MeterSetting")->trigger();
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_EQ(Shown().size(), 10);
}

TEST_F(MrvViewTest, AnInstallationWithoutRecordsSaysSo)
{
    OpenDatabase({}, {});
    using T = std::vector<std::pair<QPoint, QString>>;
    EXPECT_EQ(Texts(), (T{{{170, 50}, "No Block!"}}));
    EXPECT_EQ(Shown(), (QStringList{"addButton", "blockList", "groupBox", "modifyButton"}));
    Frame().Action("HhuSetting")->trigger();
    EXPECT_EQ(Texts(), (T{{{170, 50}, "No HHU!"}}));
    EXPECT_EQ(Shown(), (QStringList{"addButton", "groupBox", "hhuList", "modifyButton"}));
}

TEST_F(MrvViewTest, HhuSummaryNamesTheLimitAtAndAboveIt)
{
    OpenDatabase({{1, "Big"}}, {{10, "Half", 1, 0x3200, 2750}, {11, "Other half", 1, 0x3200, 2750}});
    Frame().Action("HhuSetting")->trigger();
    EXPECT_TRUE(Drawn("Manage Meters: 5500"));
    EXPECT_TRUE(Drawn("Max manage meters 5500"));

    // One meter more, added as the meter editing does it: the data has changed.
    Frame().Action("MeterSetting")->trigger();
    test::AddMeters(db, prompter, 11, 2750, 1);
    Doc().SetDataChanged(1);
    Frame().Action("HhuSetting")->trigger();
    EXPECT_TRUE(Drawn("Manage Meters: 5501"));
    EXPECT_TRUE(Drawn("!!!Too many meters(5500), Can't Create Data File"));
    EXPECT_FALSE(Drawn("Max manage meters 5500"));
}

TEST_F(MrvViewTest, TwentyFiveBlocksOfOneHhuShowTwentyOneAndSaySoAndCountAll)
{
    std::vector<BlockSpec> blocks;
    for (int i = 1; i <= 25; ++i)
        blocks.push_back({i, "B" + std::to_string(i), 1, 0x3200, i});
    blocks.push_back({30, "Other", 2, 0x3200, 3});
    OpenDatabase({{1, "Many"}, {2, "Few"}}, blocks);
    Frame().Action("HhuSetting")->trigger();
    EXPECT_EQ(List(V::IdHhuBlocks)->GetItemCount(), 21);
    EXPECT_TRUE(Drawn("Manage Blocks: 25"));
    EXPECT_TRUE(Drawn("Manage Meters: 325")); // 1 + 2 + ... + 25
    EXPECT_TRUE(Drawn("21 of 25 Blocks shown"));
    // All shown: nothing said.
    ClickRow(Box(V::IdHhuList), 1);
    EXPECT_TRUE(Drawn("Manage Blocks: 1"));
    for (const auto& t : View().DrawnTexts())
        EXPECT_FALSE(t.text.endsWith("Blocks shown")) << t.text.toStdString();
}

TEST_F(MrvViewTest, HhuModeListsChangedBlocksOnlyWhenTheDataChanged)
{
    OpenDatabase();
    // A meter that was only modified (here: one more meter behind the view's back) does not
    // mark the data as changed, so the listed counts stay.
    test::AddMeters(db, prompter, 40, 4, 3);
    Frame().Action("HhuSetting")->trigger();
    auto* blocks = List(V::IdHhuBlocks);
    EXPECT_EQ(blocks->model()->index(0, 2).data().toString(), "4");

    // A Block added in Block mode, as the Block editing does it: the tables reloaded and the
    // data marked changed.
    Frame().Action("MeterSetting")->trigger();
    {
        MeterDatabase direct(prompter);
        ASSERT_EQ(direct.OpenMain(DatabaseConnectString(db)), 1);
        ASSERT_EQ(direct.InsertBlock({42, "New", 3, 0x3200}), 1);
    }
    ASSERT_EQ(Doc().LoadTables(CMrvDoc::TableBlocks), 1);
    Doc().SetDataChanged(1);
    Frame().Action("HhuSetting")->trigger();
    ASSERT_EQ(blocks->GetItemCount(), 3);
    EXPECT_EQ(blocks->model()->index(0, 2).data().toString(), "7");
    EXPECT_EQ(blocks->model()->index(2, 1).data().toString(), "New");
    EXPECT_EQ(Doc().GetDataChanged(), 0);
    EXPECT_TRUE(Drawn("Manage Blocks: 3"));
}

TEST_F(MrvViewTest, TheDividerIsDraggedBetween120And200AndPlacesTheControlsOnRelease)
{
    OpenDatabase();
    const int y = 100;
    Mouse(QEvent::MouseButtonPress, {120, y}, Qt::LeftButton);
    ASSERT_TRUE(View().IsDragging());
    EXPECT_TRUE(View().DragBand()->isVisible());
    EXPECT_EQ(View().DragBand()->geometry(), QRect(118, 0, 4, H()));
    EXPECT_EQ(View().cursor().shape(), Qt::SizeHorCursor);

    Mouse(QEvent::MouseMove, {260, y});
    EXPECT_EQ(View().DragPos(), 200);
    EXPECT_EQ(View().DragBand()->geometry().x(), 198);
    // Nothing is placed while dragging.
    EXPECT_EQ(View().SplitPos(), 120);
    EXPECT_EQ(View().GroupBox()->width(), 112);
    EXPECT_EQ(List(V::IdMeters)->x(), 140);
    Mouse(QEvent::MouseMove, {170, y});
    EXPECT_EQ(View().DragPos(), 170);
    Mouse(QEvent::MouseMove, {400, y});
    Mouse(QEvent::MouseButtonRelease, {400, y}, Qt::LeftButton);
    EXPECT_FALSE(View().IsDragging());
    EXPECT_FALSE(View().DragBand()->isVisible());
    EXPECT_EQ(View().SplitPos(), 200);
    EXPECT_EQ(View().GroupBox()->width(), 192);
    EXPECT_EQ(Box(V::IdBlockList)->width(), 180);
    EXPECT_EQ(List(V::IdMeters)->geometry(), QRect(220, 89, W() - 228, H() - 126));
    EXPECT_TRUE(Drawn("Meters: 4"));
    EXPECT_EQ(View().DrawnTexts().front().at, QPoint(220, 30));
    EXPECT_NE(View().cursor().shape(), Qt::SizeHorCursor);

    Mouse(QEvent::MouseButtonPress, {201, y}, Qt::LeftButton);
    ASSERT_TRUE(View().IsDragging());
    Mouse(QEvent::MouseMove, {3, y});
    EXPECT_EQ(View().DragPos(), 120);
    Mouse(QEvent::MouseButtonRelease, {3, y}, Qt::LeftButton);
    EXPECT_EQ(View().SplitPos(), 120);
    EXPECT_EQ(List(V::IdMeters)->x(), 140);

    // A press beside the divider's band starts nothing.
    Mouse(QEvent::MouseButtonPress, {122, y}, Qt::LeftButton);
    EXPECT_FALSE(View().IsDragging());
    Mouse(QEvent::MouseButtonRelease, {122, y}, Qt::LeftButton);
}

TEST_F(MrvViewTest, TheSizingCursorShowsNearTheDividerOnlyAndNeverInModeZero)
{
    OpenDatabase();
    const int h = H();
    const std::vector<std::pair<QPoint, bool>> points = {
        {{117, 50}, true},     {{122, 50}, true},    {{123, 50}, false},
        {{116, 50}, false},    {{120, 2}, false},    {{120, 3}, true},
        {{120, h - 4}, true},  {{120, h - 3}, false}, {{300, 50}, false},
    };
    for (const auto& [point, sizing] : points) {
        SCOPED_TRACE(testing::Message() << point.x() << ", " << point.y());
        Mouse(QEvent::MouseMove, point);
        EXPECT_EQ(View().cursor().shape() == Qt::SizeHorCursor, sizing);
    }

    Frame().Action("CloseDatabase")->trigger();
    ASSERT_EQ(Doc().GetViewMode(), 0);
    EXPECT_NE(View().cursor().shape(), Qt::SizeHorCursor);
    Mouse(QEvent::MouseMove, {120, 50});
    EXPECT_NE(View().cursor().shape(), Qt::SizeHorCursor);
    Mouse(QEvent::MouseButtonPress, {120, 50}, Qt::LeftButton);
    EXPECT_FALSE(View().IsDragging());
    Mouse(QEvent::MouseButtonRelease, {120, 50}, Qt::LeftButton);
}

TEST_F(MrvViewTest, ContextMenusEnableWhatTheSelectionAllows)
{
    OpenDatabase();
    using E = std::vector<std::pair<QString, bool>>;
    auto* blocks = Box(V::IdBlockList);
    EXPECT_EQ(Enabling(RightPress(blocks, RowPoint(blocks, 1))),
              (E{{"Add Block", true}, {"Modify Block", true}, {"Delete Block", true}}));
    // The row under the pointer is selected first, as a click selects it: the menu is its.
    EXPECT_EQ(blocks->GetCurSel(), 1);
    EXPECT_EQ(List(V::IdMeters)->CurrentKey(), Doc().Blocks()[1].district_id);
    // The menu key opens the same menu.
    const auto byKey = WithMenu([&] {
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              blocks->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(blocks->viewport(), &key);
    });
    EXPECT_EQ(byKey.size(), 3u);

    auto* meters = List(V::IdMeters);
    EXPECT_EQ(Enabling(RightPress(meters, Below(meters))),
              (E{{"Add Meters", true},
                 {"Modify Meter", false},
                 {"Delete Meter", false},
                 {"Query", true},
                 {"Set", true}}));
    // The right press selects the meter under the pointer; its entry runs its command.
    const auto menu = RightPress(meters, RowPoint(meters, 1), V::IdMeterModify);
    EXPECT_TRUE(menu.at(1).enabled);
    EXPECT_TRUE(menu.at(2).enabled);
    EXPECT_EQ(meters->SelectedRow(), 1);
    EXPECT_EQ(Ran(), ViewCommand::MeterModify);

    Frame().Action("HhuSetting")->trigger();
    auto* hhus = Box(V::IdHhuList);
    // An HHU that still serves Blocks cannot be deleted from the menu.
    EXPECT_EQ(Enabling(RightPress(hhus, RowPoint(hhus, 0))),
              (E{{"Add HHU", true}, {"Modify HHU", true}, {"Delete HHU", false}}));
    // The HHU under the pointer serves none: its menu offers the delete, without a click first.
    RightPress(hhus, RowPoint(hhus, 2), V::IdDelete);
    EXPECT_EQ(hhus->GetCurSel(), 2);
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_TRUE(ran[0].hhuMode);
    EXPECT_EQ(Ran(), ViewCommand::Delete);
    EXPECT_EQ(Enabling(RightPress(hhus, RowPoint(hhus, 2))),
              (E{{"Add HHU", true}, {"Modify HHU", true}, {"Delete HHU", true}}));

    // The readings' menu, also without a database.
    ViewFile(DataFile(3, "up"));
    auto* readings = List(V::IdReadings);
    const E fileMenu = {{"Info", false}, {"Para", true}, {"Read", true}, {"Input", true},
                        {"Print", true}};
    EXPECT_EQ(Enabling(RightPress(readings, Below(readings))), fileMenu);
    Frame().Action("CloseDatabase")->trigger();
    Frame().Action("ViewFile")->trigger();
    ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    EXPECT_EQ(Enabling(RightPress(readings, Below(readings))), fileMenu);
    EXPECT_TRUE(RightPress(readings, RowPoint(readings, 0)).at(0).enabled);
    // The left lists offer nothing without a database.
    EXPECT_TRUE(RightPress(hhus, {5, 5}).empty());
}

TEST_F(MrvViewTest, ALeftListNameCutAtTheDividerShowsWholeInATooltip)
{
    const std::string longName(BlockRecord::kNameWidth, 'W'); // the longest a name can be
    OpenDatabase({{1, "H"}}, {{1, "Short", 1, 0x3200, 1}, {2, longName, 1, 0x3200, 1}});
    auto* blocks = Box(V::IdBlockList);
    const auto tip = [&](int row) {
        const QPoint at = RowPoint(blocks, row);
        QHelpEvent e(QEvent::ToolTip, at, blocks->viewport()->mapToGlobal(at));
        QApplication::sendEvent(blocks->viewport(), &e);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tip(0), ""); // it fits: nothing to show
    EXPECT_EQ(tip(1), QString::fromStdString(longName));
    QToolTip::hideText();
}

TEST_F(MrvViewTest, ContextMenusOfAnEmptyInstallation)
{
    OpenDatabase({}, {});
    using E = std::vector<std::pair<QString, bool>>;
    EXPECT_EQ(Enabling(RightPress(Box(V::IdBlockList), {5, 5})),
              (E{{"Add Block", true}, {"Modify Block", false}, {"Delete Block", false}}));
    Frame().Action("HhuSetting")->trigger();
    EXPECT_EQ(Enabling(RightPress(Box(V::IdHhuList), {5, 5})),
              (E{{"Add HHU", true}, {"Modify HHU", false}, {"Delete HHU", false}}));
}

TEST_F(MrvViewTest, DoubleClicksRunTheCommandOfTheirList)
{
    OpenDatabase();
    const std::string file = DataFile(3, "up");
    struct Case {
        const char* name;
        int mode;
        std::function<void()> click;
        ViewCommand command;
    };
    auto* meters = List(V::IdMeters);
    auto* readings = List(V::IdReadings);
    const std::vector<Case> cases = {
        {"meter row", 2, [&] { DoubleClick(meters, RowPoint(meters, 1)); },
         ViewCommand::MeterModify},
        {"no meter row", 2, [&] { DoubleClick(meters, Below(meters)); }, ViewCommand::MeterAdd},
        {"Block", 2,
         [&] { DoubleClick(Box(V::IdBlockList), RowPoint(Box(V::IdBlockList), 0)); },
         ViewCommand::Modify},
        {"HHU", 1, [&] { DoubleClick(Box(V::IdHhuList), RowPoint(Box(V::IdHhuList), 0)); },
         ViewCommand::Modify},
        {"reading row", 3, [&] { DoubleClick(readings, RowPoint(readings, 0)); },
         ViewCommand::Info},
        {"no reading row", 3, [&] { DoubleClick(readings, Below(readings)); },
         ViewCommand::Para},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.mode == 1)
            Frame().Action("HhuSetting")->trigger();
        else if (c.mode == 2)
            Frame().Action("MeterSetting")->trigger();
        else
            ViewFile(file);
        ASSERT_EQ(Doc().GetViewMode(), c.mode);
        ran.clear();
        c.click();
        EXPECT_EQ(ran.size(), 1u);
        EXPECT_EQ(Ran(), c.command);
    }

    // Without records the double click adds.
    Frame().Action("CloseDatabase")->trigger();
    std::filesystem::remove(db);
    OpenDatabase({}, {});
    DoubleClick(Box(V::IdBlockList), {5, 5});
    EXPECT_EQ(Ran(), ViewCommand::Add);
    Frame().Action("HhuSetting")->trigger();
    DoubleClick(Box(V::IdHhuList), {5, 5});
    EXPECT_EQ(Ran(), ViewCommand::Add);
}

TEST_F(MrvViewTest, ViewFileOpensTheDataFileAndShowsItsReadings)
{
    OpenDatabase();
    const std::string path = DataFile(3, "up/2026-12", 0x03);
    test::StoreReading(path, 4, test::Energy({200000, 1, 2, 3, 4}), test::Energy({1, 0, 0, 0, 0}));

    // Cancelled: nothing changes.
    Frame().Action("ViewFile")->trigger();
    ASSERT_EQ(prompter.choosers.size(), 2u); // the database's, then this one
    EXPECT_EQ(prompter.choosers.back().filter, "data file(.dbf)|*.dbf");
    EXPECT_EQ(prompter.choosers.back().startDir, Doc().m_dataPath);
    EXPECT_EQ(prompter.choosers.back().defaultExt, ".dbf");
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_FALSE(Frame().Action("ViewFile")->isChecked());

    ViewFile(path);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    EXPECT_TRUE(Frame().Action("ViewFile")->isChecked());
    EXPECT_FALSE(Frame().Action("MeterSetting")->isChecked());
    EXPECT_EQ(View().GroupBox()->title(), "0003.dbf");
    EXPECT_EQ(View().DataFilePath(), path);
    EXPECT_EQ(Shown(), (QStringList{"closeButton", "fileBlockList", "groupBox", "infoButton",
                                    "inputButton", "openButton", "paraButton", "printButton",
                                    "readButton", "readingList"}));
    const int s = S(), w = W(), h = H();
    const std::vector<std::pair<QWidget*, QRect>> placed = {
        {Button(V::IdOpen), {10, h - 34, 50, 24}},    {Button(V::IdClose), {64, h - 34, 50, 24}},
        {Box(V::IdFileBlocks), {10, 26, s - 20, h - 63}},
        {List(V::IdReadings), {s + 20, 89, w - s - 28, h - 126}},
        {Button(V::IdRead), {w - 61, h - 34, 50, 24}}, {Button(V::IdInfo), {w - 114, h - 34, 50, 24}},
        {Button(V::IdPara), {w - 167, h - 34, 50, 24}},
        {Button(V::IdInput), {w - 220, h - 34, 50, 24}},
        {Button(V::IdPrint), {w - 273, h - 34, 50, 24}},
    };
    for (const auto& [widget, rect] : placed)
        EXPECT_EQ(widget->geometry(), rect) << widget->objectName().toStdString();

    // The Blocks of the file with meters, the first selected with its readings.
    auto* fileBlocks = Box(V::IdFileBlocks);
    ASSERT_EQ(fileBlocks->GetCount(), 2);
    EXPECT_EQ(fileBlocks->GetCurSel(), 0);
    auto* readings = List(V::IdReadings);
    EXPECT_EQ(readings->GetItemCount(), 4);
    using T = std::vector<std::pair<QPoint, QString>>;
    EXPECT_EQ(Texts(), (T{{{140, 30}, "Block Name: Garden"},
                          {{270, 55}, "Constant: 3200"},
                          {{140, 55}, "Meters: 4"},
                          {{140, h - 34}, "( Datafile )"}}));
    ClickRow(fileBlocks, 1);
    EXPECT_EQ(readings->GetItemCount(), 2);
    EXPECT_EQ(readings->model()->index(0, 2).data().toString(), "26/12/05");
    EXPECT_EQ(readings->model()->index(0, 5).data().toString(), " 2000.00");
    // The columns are as wide as given, or wider where the font would cut a reading.
    for (int c = 0; c < readings->model()->columnCount(); ++c) {
        SCOPED_TRACE(c);
        EXPECT_GE(readings->columnWidth(c), readings->Model()->ColumnAt(c).width);
        EXPECT_GT(readings->columnWidth(c), readings->fontMetrics().horizontalAdvance(
                                                readings->model()->index(0, c).data().toString()));
    }
    EXPECT_TRUE(Drawn("Block Name: Mill"));
    EXPECT_TRUE(Drawn("Constant: 1600"));

    // A file that is not a data file: said so, and the file before stays shown.
    const std::string junk = dir.File("up/notes.dbf");
    std::ofstream(junk) << std::string(6000, 'x');
    prompter.choices = {junk};
    QTest::mouseClick(Button(V::IdOpen), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1u);
    // With the reason it was refused.
    EXPECT_EQ(prompter.messages[0].text,
              "Not Correct Data File!\n(the file does not start with the data file mark)");
    EXPECT_EQ(prompter.messages[0].caption, "error");
    EXPECT_EQ(prompter.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(Doc().GetDataFile().LoadedPath(), path);
    EXPECT_EQ(View().GroupBox()->title(), "0003.dbf");
    EXPECT_EQ(fileBlocks->GetCurSel(), 1);
    EXPECT_EQ(readings->GetItemCount(), 2);

    // A data file of another HHU by "Open": its first Block.
    prompter.choices = {DataFile(5, "other")};
    QTest::mouseClick(Button(V::IdOpen), Qt::LeftButton);
    EXPECT_EQ(View().GroupBox()->title(), "0005.dbf");
    EXPECT_EQ(fileBlocks->GetCount(), 1);
    EXPECT_EQ(fileBlocks->GetCurSel(), 0);
    EXPECT_TRUE(Drawn("Constant: 123456"));

    // "View File" with the file open only switches to it.
    Frame().Action("HhuSetting")->trigger();
    Frame().Action("ViewFile")->trigger();
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    EXPECT_EQ(prompter.choosers.size(), 5u);
}

TEST_F(MrvViewTest, CloseShowsBlockModeWithADatabaseAndNothingWithout)
{
    OpenDatabase();
    ViewFile(DataFile(3, "up"));
    ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    QTest::mouseClick(Button(V::IdClose), Qt::LeftButton);
    EXPECT_FALSE(Doc().GetDataFile().IsLoaded());
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeBlock);
    EXPECT_EQ(View().GroupBox()->title(), "Block");
    EXPECT_FALSE(Frame().Action("ViewFile")->isChecked());
    EXPECT_TRUE(Frame().Action("MeterSetting")->isChecked());

    ViewFile(DataFile(3, "up"));
    Frame().Action("CloseDatabase")->trigger();
    EXPECT_EQ(Doc().GetViewMode(), 0);
    EXPECT_TRUE(Shown().isEmpty());
    Frame().Action("ViewFile")->trigger(); // the file is still open
    ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    EXPECT_FALSE(Frame().Action("MeterSetting")->isEnabled());
    QTest::mouseClick(Button(V::IdClose), Qt::LeftButton);
    EXPECT_EQ(Doc().GetViewMode(), 0);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(View().DrawnTexts().empty());
    EXPECT_FALSE(Frame().Action("ViewFile")->isChecked());
}

TEST_F(MrvViewTest, CommandsGetTheValuesOfTheSelection)
{
    Doc().m_baudIndex = 4;
    Doc().m_comIndex = 2;
    Doc().m_params.constant = {0x56, 0x34, 0x12};
    OpenDatabase();

    auto set = View().PrepareCommand(ViewCommand::Set);
    ASSERT_TRUE(set.has_value());
    EXPECT_EQ(set->baudRate, 9600);
    EXPECT_EQ(set->portIndex, 2);
    EXPECT_EQ(set->meterIndex, 0);
    EXPECT_EQ(set->constant, (std::array<std::uint8_t, 3>{0x56, 0x34, 0x12}));
    EXPECT_EQ(set->doc, &Doc());
    EXPECT_EQ(set->view, &View());
    EXPECT_FALSE(set->hhuMode);
    ClickRow(List(V::IdMeters), 3);
    EXPECT_EQ(View().PrepareCommand(ViewCommand::Set)->meterIndex, 3);
    ClickRow(Box(V::IdBlockList), 3); // a Block without meters: Set does nothing
    EXPECT_FALSE(View().PrepareCommand(ViewCommand::Set).has_value());
    QTest::mouseClick(Button(V::IdSet), Qt::LeftButton);
    EXPECT_TRUE(ran.empty());

    // Each button runs its command with what the selection gives.
    ClickRow(Box(V::IdBlockList), 0);
    ClickRow(List(V::IdMeters), 2);
    const std::vector<std::pair<int, ViewCommand>> meterButtons = {
        {V::IdQuery, ViewCommand::Query},         {V::IdMeterAdd, ViewCommand::MeterAdd},
        {V::IdMeterModify, ViewCommand::MeterModify}, {V::IdMeterDelete, ViewCommand::MeterDelete},
        {V::IdSet, ViewCommand::Set},             {V::IdAdd, ViewCommand::Add},
        {V::IdModify, ViewCommand::Modify}};
    for (auto [id, command] : meterButtons) {
        SCOPED_TRACE(id);
        QTest::mouseClick(Button(id), Qt::LeftButton);
        ASSERT_EQ(ran.size(), 1u);
        EXPECT_FALSE(ran[0].hhuMode);
        EXPECT_EQ(ran[0].meterIndex, command == ViewCommand::Set ? 2 : 0);
        EXPECT_EQ(Ran(), command);
    }

    Frame().Action("HhuSetting")->trigger();
    EXPECT_TRUE(View().PrepareCommand(ViewCommand::Add)->hhuMode);

    ViewFile(DataFile(3, "up"));
    ClickRow(Box(V::IdFileBlocks), 1); // the second Block: records 5 and 6 of the file
    auto read = View().PrepareCommand(ViewCommand::Read);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->baudRate, 9600);
    EXPECT_EQ(read->portIndex, 2);
    EXPECT_EQ(read->firstSequence, 5);
    EXPECT_EQ(read->currentSequence, 5);
    EXPECT_EQ(read->lastSequence, 6);
    EXPECT_EQ(View().PrepareCommand(ViewCommand::Para)->blockIndex, 1);

    // Info wants a reading.
    QTest::mouseClick(Button(V::IdInfo), Qt::LeftButton);
    EXPECT_TRUE(ran.empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Please Choice Meter First!");
    EXPECT_EQ(prompter.messages[0].caption, "error");
    EXPECT_EQ(prompter.messages[0].buttons, MsgButtons::Ok);
    ClickRow(List(V::IdReadings), 1);
    const std::vector<std::pair<int, ViewCommand>> fileButtons = {
        {V::IdInfo, ViewCommand::Info},   {V::IdPara, ViewCommand::Para},
        {V::IdInput, ViewCommand::Input}, {V::IdPrint, ViewCommand::Print},
        {V::IdRead, ViewCommand::Read}};
    for (auto [id, command] : fileButtons) {
        SCOPED_TRACE(id);
        QTest::mouseClick(Button(id), Qt::LeftButton);
        ASSERT_EQ(ran.size(), 1u);
        EXPECT_EQ(ran[0].recordNumber, command == ViewCommand::Info ? 6 : 0);
        EXPECT_EQ(ran[0].currentSequence, command == ViewCommand::Read ? 6 : 0);
        EXPECT_EQ(ran[0].blockIndex, command == ViewCommand::Para ? 1 : 0);
        EXPECT_EQ(Ran(), command);
    }
    // Read does nothing without readings (a Block index the file does not have).
    List(V::IdReadings)->FillList(7);
    QTest::mouseClick(Button(V::IdRead), Qt::LeftButton);
    EXPECT_TRUE(ran.empty());
}

TEST_F(MrvViewTest, CommandsThisBuildDoesNotHaveSaySo)
{
    for (ViewCommand c : kCommands)
        View().SetCommandHandler(c, nullptr); // the program's own table
    OpenDatabase();
    ClickRow(List(V::IdMeters), 0);
    const std::string file = DataFile(3, "up");
    struct Case {
        int mode;
        ViewCommand command;
        const char* name;
    };
    const Case cases[] = {
        {1, ViewCommand::Add, "HHU--Add"},
        {1, ViewCommand::Modify, "HHU--Modify"},
        {1, ViewCommand::Delete, "Delete HHU"},
        {2, ViewCommand::Add, "Block--Add"},
        {2, ViewCommand::Modify, "Block--Modify"},
        {2, ViewCommand::Delete, "Delete Block"},
        {2, ViewCommand::Query, "Query"},
        {2, ViewCommand::MeterAdd, "Meter--Add"},
        {2, ViewCommand::MeterModify, "Meter--Modify"},
        {2, ViewCommand::MeterDelete, "Delete Meter"},
        {2, ViewCommand::Set, "Meter Setting wizard"},
        {3, ViewCommand::Info, "Data Exchange Information"},
        {3, ViewCommand::Para, "View Data File"},
        {3, ViewCommand::Input, "Input"},
        {3, ViewCommand::Print, "Print preview"},
        {3, ViewCommand::Read, "Reading wizard"},
    };
    for (const Case& c : cases) {
        if (ViewCommandHandlerFor(c.command) != nullptr)
            continue; // built in: its own tests open its dialog
        SCOPED_TRACE(c.name);
        if (c.mode == 1)
            Frame().Action("HhuSetting")->trigger();
        else if (c.mode == 2)
            Frame().Action("MeterSetting")->trigger();
        else if (Doc().GetViewMode() != CMrvDoc::ModeDataFile) {
            ViewFile(file);
            ClickRow(List(V::IdReadings), 0);
        }
        ASSERT_EQ(Doc().GetViewMode(), c.mode);
        Frame().statusBar()->clearMessage();
        View().OnCommand(int(c.command));
        EXPECT_EQ(Status(), QString(c.name) + ": not available in this build");
    }
    EXPECT_TRUE(prompter.messages.empty());
}

// The view in each language the program carries: its texts stay at the fixed places the view
// gives them, so in every language they must neither run into each other nor be cut.
struct LanguageCase {
    const char* language; // empty: the texts as written
    const char* fileMenu;
    const char* blockTitle;
    const char* meterIdTitle;
};

void PrintTo(const LanguageCase& c, std::ostream* os)
{
    *os << (*c.language ? c.language : "the texts as written");
}

class MrvViewLanguageTest : public MrvViewTest, public ::testing::WithParamInterface<LanguageCase> {
protected:
    // Before the window is made: its menus and buttons take their texts when built.
    const test::InstalledTranslation translation{GetParam().language};

    void SetUp() override
    {
        ASSERT_TRUE(translation.Loaded());
        MrvViewTest::SetUp();
    }

    // Texts drawn on one row end before the next begins, and within the view.
    void ExpectTextsApart()
    {
        const QFontMetrics fm(View().font());
        std::vector<V::DrawnText> texts = View().DrawnTexts();
        ASSERT_FALSE(texts.empty());
        std::sort(texts.begin(), texts.end(), [](const V::DrawnText& a, const V::DrawnText& b) {
            return std::pair(a.at.y(), a.at.x()) < std::pair(b.at.y(), b.at.x());
        });
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const int end = texts[i].at.x() + fm.horizontalAdvance(texts[i].text);
            SCOPED_TRACE(texts[i].text.toStdString());
            EXPECT_LE(end, W());
            if (i + 1 < texts.size() && texts[i + 1].at.y() == texts[i].at.y()) {
                EXPECT_LT(end, texts[i + 1].at.x()) << texts[i + 1].text.toStdString();
            }
        }
    }
    // The buttons shown keep their fixed size; their texts fit inside it.
    void ExpectButtonTextsFit()
    {
        for (QPushButton* b : View().findChildren<QPushButton*>()) {
            if (!b->isVisible())
                continue;
            SCOPED_TRACE(b->objectName().toStdString());
            EXPECT_EQ(b->size(), QSize(V::kButtonWidth, V::kButtonHeight));
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width());
        }
    }
};

TEST_P(MrvViewLanguageTest, TextsKeepToTheirPlacesInEveryMode)
{
    const LanguageCase& c = GetParam();
    EXPECT_EQ(Frame().menuBar()->actions().value(0)->text(), QString::fromUtf8(c.fileMenu));
    OpenDatabase();
    EXPECT_EQ(View().GroupBox()->title(), QString::fromUtf8(c.blockTitle));
    ExpectTextsApart();
    ExpectButtonTextsFit();

    Frame().Action("HhuSetting")->trigger();
    ExpectTextsApart();
    ExpectButtonTextsFit();

    // A data file one of whose records is damaged: the count of damaged records is drawn too.
    const std::string path = DataFile(3, "up");
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekg(std::streamoff(hhufile::kRecordsOffset));
        const char check = char(f.get());
        f.seekp(std::streamoff(hhufile::kRecordsOffset));
        f.put(char(~check));
    }
    ViewFile(path);
    ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    EXPECT_EQ(View().DrawnTexts().size(), 5u);
    ExpectTextsApart();
    ExpectButtonTextsFit();
    EXPECT_EQ(List(V::IdReadings)->model()->headerData(0, Qt::Horizontal).toString(),
              QString::fromUtf8(c.meterIdTitle));
}

INSTANTIATE_TEST_SUITE_P(Languages, MrvViewLanguageTest,
                         ::testing::Values(LanguageCase{"", "&File", "Block", "Meter ID"},
                                           LanguageCase{"zh_CN", "文件(&F)", "小区", "表号"}),
                         [](const auto& info) {
                             return std::string(*info.param.language ? info.param.language
                                                                     : "source");
                         });

} // namespace
} // namespace mrv
