// The lists of the main view, on the document's records: the models (checked by Qt's model
// tester) and the row drawing of the left-pane list.
#include "UiTest.h"
#include "ViewFixture.h"

#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CRecordListCtrl.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QImage>
#include <QSignalSpy>

#include <filesystem>
#include <functional>
#include <memory>

namespace mrv {
namespace {

using test::BlockSpec;
using test::ScriptedPrompter;
using test::TempDir;

class ListDisplayTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    std::unique_ptr<CMrvDoc> doc =
        std::make_unique<CMrvDoc>(store, prompter, dir.File("bin/mrv003e"));
    std::string db = dir.File("install.db");

    void Open(const std::vector<HhuRecord>& hhus, const std::vector<BlockSpec>& blocks)
    {
        test::MakeInstallation(db, prompter, hhus, blocks);
        doc->m_connect = DatabaseConnectString(db);
        ASSERT_EQ(doc->LoadTables(CMrvDoc::TableHhus | CMrvDoc::TableBlocks), 1);
    }
    void OpenDataFile(const std::string& path)
    {
        prompter.choices = {path};
        ASSERT_EQ(doc->OnOpenDataFile(), 1);
    }
    static QStringList Row(const QAbstractItemModel& m, int row)
    {
        QStringList out;
        for (int c = 0; c < m.columnCount(); ++c)
            out << m.data(m.index(row, c)).toString();
        return out;
    }
    static QStringList Titles(const QAbstractItemModel& m)
    {
        QStringList out;
        for (int c = 0; c < m.columnCount(); ++c)
            out << m.headerData(c, Qt::Horizontal).toString();
        return out;
    }
};

TEST_F(ListDisplayTest, BlocksOfAnHhuAreListedUpToTheTwentyFirstAndCountedAll)
{
    std::vector<BlockSpec> blocks;
    for (int i = 1; i <= 25; ++i) // Block 100 + i holds i meters
        blocks.push_back({100 + i, "Block " + std::to_string(i), 7, 0x3200, i});
    blocks.push_back({300, "Elsewhere", 8, 0x123456, 4});
    Open({{7, "Seven"}, {8, "Eight"}}, blocks);

    RecordListModel model(*doc, RecordListModel::KindHhuBlocks);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.columnCount(), 0); // the columns come with the first fill
    ASSERT_EQ(model.FillList(7), 21);
    EXPECT_EQ(model.rowCount(), 21);
    std::int32_t meters = 0;
    // Counted: all 25 Blocks and their meters, though 21 are listed.
    EXPECT_EQ(model.GetValue(&meters), 25);
    EXPECT_EQ(meters, 25 * 26 / 2);
    EXPECT_EQ(model.CurrentKey(), 7);

    EXPECT_EQ(Titles(model), (QStringList{"Block ID", "Block Name", "Meter Num", "Constant"}));
    const int widths[] = {70, 160, 70, 70};
    const Qt::Alignment aligns[] = {Qt::AlignRight, Qt::AlignLeft, Qt::AlignRight,
                                    Qt::AlignRight};
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(model.ColumnAt(c).width, widths[c]);
        EXPECT_EQ(model.data(model.index(0, c), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                      Qt::AlignHorizontal_Mask,
                  aligns[c]);
    }
    EXPECT_EQ(Row(model, 0), (QStringList{"0101", "Block 1", "1", "3200"}));
    EXPECT_EQ(Row(model, 20), (QStringList{"0121", "Block 21", "21", "3200"}));

    ASSERT_EQ(model.FillList(8), 1);
    EXPECT_EQ(Row(model, 0), (QStringList{"0300", "Elsewhere", "4", "123456"}));

    // Key 0 empties the list and keeps what the last fill found.
    EXPECT_EQ(model.FillList(0), 0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.GetValue(&meters), 1);
    EXPECT_EQ(meters, 4);
    EXPECT_EQ(model.CurrentKey(), 8);
    // An HHU without Blocks lists nothing and counts nothing.
    EXPECT_EQ(model.FillList(99), 0);
    EXPECT_EQ(model.GetValue(&meters), 0);
    EXPECT_EQ(meters, 0);
    EXPECT_EQ(model.CurrentKey(), 99);
}

TEST_F(ListDisplayTest, MeterListShowsTheDocumentsMetersOfTheBlock)
{
    Open({{1, "One"}}, {{10, "Ten", 1, 0x3200, 3}, {11, "Eleven", 1, 0x3200, 120}});
    RecordListModel model(*doc, RecordListModel::KindMeters);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    ASSERT_EQ(model.FillList(10), 3);
    EXPECT_EQ(doc->Meters().size(), 3u); // the fill reloads the document's meters
    EXPECT_EQ(Titles(model), (QStringList{"", "Meter ID", "Meter ID2", "User Addr"}));
    const int widths[] = {35, 120, 120, 200};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(model.ColumnAt(c).width, widths[c]) << c;
        EXPECT_EQ(model.ColumnAt(c).alignment, Qt::AlignLeft) << c;
    }
    EXPECT_EQ(Row(model, 2), (QStringList{"3", "02", "B10M2", "Street 2"}));
    std::int32_t count = 0;
    EXPECT_EQ(model.GetValue(&count), 10);
    EXPECT_EQ(count, 3);

    ASSERT_EQ(model.FillList(11), 120);
    EXPECT_EQ(Row(model, 119), (QStringList{"120", "19", "B11M119", "Street 119"}));

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.RefreshRow(5);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 5);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 5);
    model.RefreshRow(120); // not a row
    EXPECT_EQ(changed.size(), 1);

    EXPECT_EQ(model.FillList(0), 0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.GetValue(&count), 11);
    EXPECT_EQ(count, 120);

    // Whoever reloads the document's meters, the rows are those meters.
    ASSERT_EQ(doc->LoadTables(CMrvDoc::TableMeters, 10), 1);
    EXPECT_EQ(model.rowCount(), 3);
    doc->FreeTables();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ListDisplayTest, ReadingColumnsFollowTheTariffMaskOfTheOpenFile)
{
    Open({{1, "One"}}, {{10, "Ten", 1, 0x3200, 3}, {11, "Eleven", 1, 0x3200, 2}});
    const std::string first = test::MakeDataFile(db, prompter, 1, dir.File("a"), 0x03);
    const std::string second = test::MakeDataFile(db, prompter, 1, dir.File("b"), 0x0c);

    RecordListModel model(*doc, RecordListModel::KindReadings);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::columnsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::columnsRemoved);

    OpenDataFile(first);
    ASSERT_EQ(model.FillList(0), 3);
    EXPECT_EQ(Titles(model), (QStringList{"Meter ID", "Meter ID2", "Date", "T1 E", "T2 E",
                                          "Total E", "LM T1 E", "LM T2 E", "LM Total E"}));
    for (int c = 0; c < model.columnCount(); ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(model.ColumnAt(c).width, c < 2 ? 110 : 60);
        EXPECT_EQ(model.ColumnAt(c).alignment, c < 2 ? Qt::AlignLeft : Qt::AlignRight);
    }
    std::int32_t count = 0;
    EXPECT_EQ(model.GetValue(&count), 1); // the first record of the file
    EXPECT_EQ(count, 3);
    EXPECT_EQ(inserted.size(), 1);

    // Another Block of the same file keeps the columns.
    ASSERT_EQ(model.FillList(1), 2);
    EXPECT_EQ(model.GetValue(&count), 4);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(model.CurrentKey(), 1);
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(removed.size(), 0);
    // A Block the file does not have empties the list and keeps the rest.
    EXPECT_EQ(model.FillList(2), 0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.CurrentKey(), 1);

    // Another file with other tariff bits: new columns at its first fill.
    OpenDataFile(second);
    EXPECT_EQ(model.rowCount(), 0); // the old file's rows went with it
    ASSERT_EQ(model.FillList(0), 3);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(inserted.size(), 2);
    EXPECT_EQ(Titles(model), (QStringList{"Meter ID", "Meter ID2", "Date", "T3 E", "T4 E",
                                          "Total E", "LM T3 E", "LM T4 E", "LM Total E"}));
}

TEST_F(ListDisplayTest, AReadingShowsItsValuesAndAnUnreadMeterOnlyItsIds)
{
    Open({{1, "One"}}, {{10, "Ten", 1, 0x3200, 3}});
    const std::string path = test::MakeDataFile(db, prompter, 1, dir.File("up"), 0x05);
    test::StoreReading(path, 1, test::Energy({123456, 100, 200, 300, 400}),
                       test::Energy({100001, 1, 2, 3, 4}));
    OpenDataFile(path);
    RecordListModel model(*doc, RecordListModel::KindReadings);
    ASSERT_EQ(model.FillList(0), 3);
    // Meter ID: record bytes 4..9 in hex, byte 9 first: the first ID2 characters "B10M"
    // (bytes 6..9), byte 5 and the Meter ID byte ("01" became 0x01).
    EXPECT_EQ(Row(model, 0), (QStringList{"4d3031420000", "B10M0", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Row(model, 1), (QStringList{"4d3031420001", "B10M1", "26/12/05", "    1.00",
                                          "    3.00", " 1234.56", "    0.01", "    0.03",
                                          " 1000.01"}));

    // The Reading wizard shows a reading as soon as it has it; the Meter ID stays the file's.
    ReadingRecord shown = doc->GetDataFile().GetReadings()[1];
    shown.meterId = "not shown";
    shown.meterId2 = "X1";
    shown.energy[0] = 42;
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.ShowReading(2, shown);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().column(), 1);
    EXPECT_EQ(Row(model, 2), (QStringList{"4d3031420002", "X1", "26/12/05", "    1.00",
                                          "    3.00", "   42.00", "    0.01", "    0.03",
                                          " 1000.01"}));
    // A new fill shows the file again.
    ASSERT_EQ(model.FillList(0), 3);
    EXPECT_EQ(Row(model, 2)[1], "B10M2");
}

TEST_F(ListDisplayTest, LeftListsNameTheirRecords)
{
    Open({{7, "Seven"}, {12, "Twelve"}},
         {{10, "Garden Court", 7, 0x3200, 2}, {11, "A name longer than sixteen", 12, 0x3200, 1}});
    MarkListModel hhus(*doc, MarkListModel::KindHhus);
    MarkListModel blocks(*doc, MarkListModel::KindBlocks);
    MarkListModel fileBlocks(*doc, MarkListModel::KindFileBlocks);
    QAbstractItemModelTester t1(&hhus, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester t2(&blocks, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester t3(&fileBlocks,
                                QAbstractItemModelTester::FailureReportingMode::Fatal);
    hhus.Reload();
    blocks.Reload();
    ASSERT_EQ(hhus.rowCount(), 2);
    EXPECT_EQ(hhus.data(hhus.index(1)).toString(), "0012");
    ASSERT_EQ(blocks.rowCount(), 2);
    EXPECT_EQ(blocks.data(blocks.index(0)).toString(), "Garden Court");
    EXPECT_EQ(blocks.data(blocks.index(1), MarkListModel::kHhuIdRole).toInt(), 12);
    EXPECT_EQ(fileBlocks.rowCount(), 0);

    // The data file keeps 16 characters of a name.
    prompter.choices = {test::MakeDataFile(db, prompter, 12, dir.File("up"), 0)};
    ASSERT_EQ(doc->OnOpenDataFile(), 1);
    ASSERT_EQ(fileBlocks.rowCount(), 1);
    EXPECT_EQ(fileBlocks.data(fileBlocks.index(0)).toString(), "A name longer th");
    doc->CloseDataFile();
    EXPECT_EQ(fileBlocks.rowCount(), 0);

    // The rows follow the document's tables.
    doc->FreeTables();
    EXPECT_EQ(hhus.rowCount(), 0);
    EXPECT_EQ(blocks.rowCount(), 0);
}

// Counts the pixels of `colour` in a rectangle of the image.
int Count(const QImage& image, const QRect& r, const std::function<bool(QColor)>& is)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += is(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool Blue(QColor c)
{
    return c.blue() > 150 && c.red() < 100 && c.green() < 100;
}

bool Dark(QColor c)
{
    return c.lightness() < 80;
}

TEST_F(ListDisplayTest, SelectedRowHasTheRingAndInvertedTextAndTheCurrentHhusBlocksTheDot)
{
    Open({{1, "One"}, {2, "Two"}}, {{10, "Ten", 1, 0x3200, 1},
                                    {11, "Eleven", 1, 0x3200, 1},
                                    {12, "Twelve", 2, 0x3200, 1}});
    CMarkListBox box(231);
    box.SetDocument(*doc);
    box.SetKind(2);
    int hhu = 1;
    box.SetMarkKey([&hhu] { return hhu; });
    box.ResetContent();
    box.resize(160, 100);
    box.show();
    QSignalSpy selChange(&box, &CMarkListBox::SelChange);
    box.SetCurSel(2);
    EXPECT_EQ(box.GetCurSel(), 2);
    EXPECT_EQ(selChange.size(), 0); // a selection made by the program is not reported
    EXPECT_EQ(box.sizeHintForRow(0), 20);

    QImage image = box.viewport()->grab().toImage();
    const auto row = [](int r) { return QRect(0, 20 * r, 18, 20); };
    // The ring: blue around the selected row's mark place only.
    EXPECT_GT(Count(image, row(2).adjusted(3, 4, -2, -4), Blue), 10);
    // The dot: on the Blocks of HHU 1 (rows 0 and 1), not on row 2 of HHU 2.
    for (int r : {0, 1})
        EXPECT_GT(Count(image, QRect(8, 20 * r + 9, 3, 3), Blue), 4) << r;
    EXPECT_EQ(Count(image, QRect(7, 20 * 2 + 8, 5, 5), Blue), 0);
    // Inverted text: dark behind the selected row's name, light behind the others.
    const int textWidth = box.fontMetrics().horizontalAdvance("Twelve");
    const QRect selectedText(19, 40, textWidth, box.fontMetrics().height());
    EXPECT_GT(Count(image, selectedText, Dark), selectedText.width() * selectedText.height() / 2);
    const QRect plainText(20, 0, box.fontMetrics().horizontalAdvance("Ten"), 14);
    EXPECT_LT(Count(image, plainText, Dark), plainText.width() * plainText.height() / 2);

    // Another HHU listed: the dot moves.
    hhu = 2;
    box.viewport()->repaint();
    image = box.viewport()->grab().toImage();
    EXPECT_EQ(Count(image, QRect(7, 7, 5, 5), Blue), 0);
    EXPECT_GT(Count(image, QRect(8, 49, 3, 3), Blue), 4);
}

} // namespace
} // namespace mrv
