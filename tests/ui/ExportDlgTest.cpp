// File > Export Readings... and Data > Export Energy Database... driven as a user would: the
// choices in the dialog, the question before a file is replaced, the system's reason for a
// folder that cannot be written, and the rows of the files written.
#include "UiTest.h"
#include "ViewFixture.h"

#include "base/NumberText.h"
#include "datafile/ReadingList.h"
#include "doc/CMrvDoc.h"
#include "doc/EnergyImport.h"
#include "ui/datafile/CExportDlg.h"
#include "ui/view/CMarkListBox.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include <cstring>
#include <fstream>
#include <sstream>

namespace mrv {
namespace {

using ::testing::HasSubstr;
using V = CMrvView;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The lines of a CSV file without its byte-order mark (the rows here need no quotes).
std::vector<std::string> CsvLines(const std::string& path)
{
    std::string text = ReadAll(path);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u) << "no byte-order mark";
    text.erase(0, 3);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    return lines;
}

// What the CSV row of a reading holds: its Block, its ids and for a meter read its values.
std::string ExpectedRow(const std::string& block, const ReadingRecord& r, std::uint8_t mask)
{
    std::string row = block;
    for (const ReadingColumn& c : ReadingListColumns(mask)) {
        row += ',';
        if (c.field == ReadingColumn::Date && r.status != 0)
            row += FormatC("20%02x-%02x-%02x", r.readDate[2], r.readDate[1], r.readDate[0]);
        else
            row += ReadingText(r, c, "%.2f");
    }
    return row;
}

class ExportDlgTest : public test::MainWindowTest {
protected:
    static constexpr std::uint8_t kMask = 0x03; // T1 and T2
    std::string m_data;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        const std::string db = dir.File("inst.db");
        test::MakeInstallation(db, prompter, {{1, "HHU"}},
                               {{11, "城东一区", 1, 0x3200, 3}, {12, "West", 1, 0x3200, 2}});
        m_data = test::MakeDataFile(db, prompter, 1, dir.File("upload"), kMask);
        test::StoreReading(m_data, 0, test::Energy({123456, 100000, 23456, 0, 0}),
                           test::Energy({99, 90, 9, 0, 0}));
        test::StoreReading(m_data, 3, test::Energy({5, 1, 4, 0, 0}), test::Energy({}));
        ViewFile(m_data);
        ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    }

    // File > Export Readings..., with `act` in its dialog.
    bool ExportReadings(const std::function<void(CExportDlg&)>& act)
    {
        Frame().UpdateCommandUi();
        return test::WithModal([this] { Frame().Action("ExportReadings")->trigger(); },
                               [&](QDialog& d) {
                                   auto* dlg = qobject_cast<CExportDlg*>(&d);
                                   ASSERT_NE(dlg, nullptr);
                                   act(*dlg);
                               });
    }
    static void SetFile(QDialog& d, const std::string& path)
    {
        d.findChild<QLineEdit*>("exportFile")->setText(QString::fromStdString(path));
    }
    static void Export(QDialog& d)
    {
        QTest::mouseClick(d.findChild<QPushButton*>("exportButton"), Qt::LeftButton);
    }
    std::vector<std::string> BlockRows(int block)
    {
        const HhuDataFile& file = Doc().GetDataFile();
        const BlockEntry b = file.GetBlockEntries().at(std::size_t(block));
        std::vector<std::string> rows;
        for (int i = 0; i < b.meterCount; ++i)
            rows.push_back(ExpectedRow(
                b.name, file.GetReadings().at(std::size_t(b.firstSequence - 1 + i)), kMask));
        return rows;
    }
};

TEST_F(ExportDlgTest, TheBlockShownGoesToACsvTable)
{
    auto* blocks = View().ListBox(V::IdFileBlocks);
    const QRect r = blocks->visualRect(blocks->model()->index(1, 0));
    QTest::mouseClick(blocks->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_EQ(blocks->GetCurSel(), 1);

    const std::string csv = dir.File("upload/west.csv");
    ASSERT_TRUE(ExportReadings([&](CExportDlg& d) {
        auto* shown = d.findChild<QRadioButton*>("exportShownBlock");
        EXPECT_EQ(shown->text().toStdString(), "The Block shown: West (2 meters)");
        // The name offered follows the choice: the data file's, then with the Block's.
        EXPECT_EQ(d.findChild<QLineEdit*>("exportFile")->text().toStdString(),
                  dir.File("upload/0001.xlsx"));
        shown->click();
        EXPECT_EQ(d.findChild<QLineEdit*>("exportFile")->text().toStdString(),
                  dir.File("upload/0001 West.xlsx"));
        SetFile(d, csv);
        Export(d);
        EXPECT_FALSE(d.isVisible());
    }));
    std::vector<std::string> expected = {"Block,Meter ID,Meter ID2,Date,T1 E,T2 E,Total E,"
                                         "LM T1 E,LM T2 E,LM Total E"};
    for (const std::string& row : BlockRows(1))
        expected.push_back(row);
    EXPECT_EQ(CsvLines(csv), expected);
    EXPECT_THAT(expected[1], HasSubstr(",2026-12-05,0.01,0.04,0.05,0.00,0.00,0.00"));
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), "2 meters written to " + csv);
}

TEST_F(ExportDlgTest, EveryBlockGoesToAWorkbook)
{
    const std::string xlsx = dir.File("upload/0001.xlsx");
    ASSERT_TRUE(ExportReadings([&](CExportDlg& d) {
        EXPECT_TRUE(d.findChild<QRadioButton*>("exportEveryBlock")->isChecked());
        Export(d);
        EXPECT_EQ(d.Written(), xlsx);
    }));
    // A zip archive (the workbook's content is read back by openpyxl in the tools' tests).
    EXPECT_EQ(ReadAll(xlsx).substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), "5 meters written to " + xlsx);
}

TEST_F(ExportDlgTest, AFileThatExistsIsReplacedOnlyWhenTheUserSaysSo)
{
    const std::string csv = dir.File("upload/r.csv");
    std::ofstream(csv) << "before";
    prompter.answers = {MsgAnswer::No};
    ASSERT_TRUE(ExportReadings([&](CExportDlg& d) {
        SetFile(d, csv);
        Export(d);
        EXPECT_TRUE(d.isVisible()); // the user may choose another name
    }));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, csv + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(ReadAll(csv), "before");

    prompter.answers = {MsgAnswer::Yes};
    ASSERT_TRUE(ExportReadings([&](CExportDlg& d) {
        SetFile(d, csv);
        Export(d);
    }));
    EXPECT_EQ(CsvLines(csv).size(), 6u);
}

TEST_F(ExportDlgTest, AFolderThatCannotBeWrittenIsToldWithTheSystemsReason)
{
    const std::string path = dir.File("no/such/folder/r.xlsx");
    ASSERT_TRUE(ExportReadings([&](CExportDlg& d) {
        SetFile(d, path);
        Export(d);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.findChild<QLabel*>("exportStatus")->text().toStdString(),
                  "Nothing was written.");
    }));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Can't write " + path + ": " + std::strerror(ENOENT) + ". No file was written.");
    EXPECT_EQ(prompter.messages[0].icon, MsgIcon::Error);
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
}

TEST_F(ExportDlgTest, ANameMustEndAsOneOfTheFormats)
{
    const struct {
        std::string typed;
        std::string written; // empty: refused
    } cases[] = {
        {dir.File("upload/plain"), dir.File("upload/plain.xlsx")},
        {dir.File("upload/r.txt"), ""},
        {dir.File("upload"), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        prompter.messages.clear();
        ExportReadings([&](CExportDlg& d) {
            SetFile(d, c.typed);
            Export(d);
            EXPECT_EQ(d.Written(), c.written);
        });
        EXPECT_EQ(prompter.messages.size(), c.written.empty() ? 1u : 0u);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("upload/r.txt")));
}

TEST_F(ExportDlgTest, ExportReadingsIsOfferedForADataFileWithReadingsOnly)
{
    Frame().UpdateCommandUi();
    EXPECT_TRUE(Frame().Action("ExportReadings")->isEnabled());
    Doc().CloseDataFile();
    Frame().UpdateCommandUi();
    EXPECT_FALSE(Frame().Action("ExportReadings")->isEnabled());
}

TEST_F(ExportDlgTest, TheEnergyDatabaseGoesOutForADateRangeAndSomeMeters)
{
    const std::string energy = dir.File("energy.db");
    ASSERT_EQ(CreateEnergySchema(energy, prompter), 1);
    {
        MeterDatabase db(prompter);
        ASSERT_EQ(db.OpenEnergy(DatabaseConnectString(energy)), 1);
        const struct {
            const char* date;
            const char* meter;
            double total;
        } rows[] = {{"26-11-30", "A1", 1.5},
                    {"26-12-05", "A1", 2.25},
                    {"26-12-06", "B2", 3},
                    {"26-12-07", "C3", 4},
                    {"27-01-01", "A1", 5}};
        for (const auto& r : rows) {
            EnergyRecord e;
            e.datestr = r.date;
            e.meter_num = r.meter;
            e.dbk = r.total;
            ASSERT_EQ(db.InsertEnergy(e), 1);
        }
    }
    const std::string csv = dir.File("energy.csv");
    Doc().m_dbEnergy = energy;
    ASSERT_TRUE(test::WithModal(
        [this] { Frame().Action("ExportEnergy")->trigger(); },
        [&](QDialog& d) {
            EXPECT_EQ(d.findChild<QLineEdit*>("exportDatabase")->text().toStdString(), energy);
            d.findChild<QCheckBox*>("exportFromOn")->click();
            d.findChild<QDateEdit*>("exportFrom")->setDate(QDate(2026, 12, 1));
            d.findChild<QCheckBox*>("exportToOn")->click();
            d.findChild<QDateEdit*>("exportTo")->setDate(QDate(2026, 12, 31));
            d.findChild<QLineEdit*>("exportMeters")->setText("A1, C3");
            SetFile(d, csv);
            Export(d);
            EXPECT_FALSE(d.isVisible());
        }));
    EXPECT_EQ(CsvLines(csv),
              (std::vector<std::string>{
                  "Meter ID2,Date,T1 E,T2 E,T3 E,Total E,LM T1 E,LM T2 E,LM T3 E,LM Total E",
                  "A1,2026-12-05,0.00,0.00,0.00,2.25,0.00,0.00,0.00,0.00",
                  "C3,2026-12-07,0.00,0.00,0.00,4.00,0.00,0.00,0.00,0.00"}));
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), "2 rows written to " + csv);
}

} // namespace
} // namespace mrv
