// The printed reading report as its readers get it: exported to PDF from the demo upload and
// read back with pdftotext and pdfinfo; the preview, the printer dialog and the enabling of
// the print commands.
#include "UiTest.h"
#include "ViewFixture.h"

#include "base/NumberText.h"
#include "datafile/FileBytes.h"
#include "datafile/ReadingList.h"
#include "datafile/ReadingReport.h"
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "support/ToolRun.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/print/ReadingPrint.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <filesystem>
#include <memory>
#include <sstream>

namespace mrv {
namespace {

using test::Quote;
using test::RunTool;
using test::ScriptedPrompter;
using test::TempDir;
using ::testing::HasSubstr;
using ::testing::Not;
using V = CMrvView;

// The uploaded file of the demo workspace (HHU 1 after a round of readings), made once by the
// workspace script for all tests here.
class DemoWorkspace {
public:
    static const std::string& Upload()
    {
        static DemoWorkspace ws;
        return ws.m_upload;
    }

private:
    DemoWorkspace()
    {
        const std::string root = m_dir.File("demo");
        const test::ToolRun r = RunTool(
            "MRV_BIN_DIR=" + Quote(MRV_BIN_DIR) + " " +
            Quote(std::string(MRV_SOURCE_DIR) + "/scripts/demo-workspace") + " " + Quote(root));
        EXPECT_EQ(r.status, 0) << r.out << r.err;
        for (const auto& e : std::filesystem::recursive_directory_iterator(root + "/upload"))
            if (e.path().filename() == "0001.dbf")
                m_upload = e.path().string();
    }
    TempDir m_dir;
    std::string m_upload;
};

std::string Trim(const std::string& s)
{
    const auto a = s.find_first_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The text with every run of spaces made one, so that cells laid out in columns read as
// "a b c" whatever the gaps between them.
std::string Collapsed(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' || out.empty() || out.back() != ' ')
            out += c;
    return out;
}

// pdftotext's text of pages `first`..`last` (all when 0), laid out as on the page, collapsed.
std::string PdfText(const std::string& pdf, int first = 0, int last = 0)
{
    std::string range;
    if (first > 0)
        range = " -f " + std::to_string(first) + " -l " + std::to_string(last);
    const test::ToolRun r = RunTool("pdftotext -layout" + range + " " + Quote(pdf) + " -");
    EXPECT_EQ(r.status, 0) << r.err;
    return Collapsed(r.out);
}

// A field of pdfinfo ("Pages", "Page size", "Title").
std::string PdfInfo(const std::string& pdf, const std::string& field)
{
    const test::ToolRun r = RunTool("pdfinfo " + Quote(pdf));
    EXPECT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(field + ":", 0) == 0)
            return Trim(line.substr(field.size() + 1));
    return "";
}

class ReportPrintTest : public test::MainWindowTest {
protected:
    void ViewFile(const std::string& path)
    {
        MainWindowTest::ViewFile(path);
        ASSERT_EQ(Doc().GetViewMode(), CMrvDoc::ModeDataFile);
    }
    void ChooseBlock(int row)
    {
        auto* blocks = View().ListBox(V::IdFileBlocks);
        const QRect r = blocks->visualRect(blocks->model()->index(row, 0));
        QTest::mouseClick(blocks->viewport(), Qt::LeftButton, {}, r.center());
        ASSERT_EQ(blocks->GetCurSel(), row);
    }
    // File > Export PDF... into `pdf`.
    void ExportPdf(const std::string& pdf)
    {
        prompter.choices = {pdf};
        Frame().Action("ExportPdf")->trigger();
        ASSERT_TRUE(std::filesystem::exists(pdf))
            << "no PDF; messages: " << ::testing::PrintToString(prompter.Texts());
    }
    ReadingReport Report()
    {
        std::optional<ReadingReport> r = ViewReport(Doc(), View());
        EXPECT_TRUE(r.has_value());
        return r ? *r : ReadingReport("", 0, {}, 1, 0);
    }
    bool PrintActionsEnabled(bool enabled)
    {
        Frame().UpdateCommandUi();
        for (const char* name : {"Print", "PrintPreview", "PrintDirect", "ExportPdf"})
            if (Frame().Action(name)->isEnabled() != enabled)
                return false;
        return true;
    }
};

TEST_F(ReportPrintTest, TheDemoUploadsFirstBlockExportsToPdf)
{
    const std::string upload = DemoWorkspace::Upload();
    ASSERT_FALSE(upload.empty()) << "the demo workspace has no upload";
    ViewFile(upload);
    const HhuDataFile& file = Doc().GetDataFile();
    const std::vector<BlockEntry> blocks = file.GetBlockEntries();
    ASSERT_GE(blocks.size(), 1u);
    ASSERT_EQ(View().ListBox(V::IdFileBlocks)->GetCurSel(), 0);
    const BlockEntry& first = blocks.front();
    ASSERT_EQ(first.name, "Garden Court");

    const std::string pdf = dir.File("report.pdf");
    ExportPdf(pdf);
    // The chooser proposed the data file's name with the Block's, beside it.
    ASSERT_FALSE(prompter.choosers.empty());
    EXPECT_EQ(prompter.choosers.back().startDir,
              std::filesystem::path(upload).parent_path().string() + "/0001 Garden Court.pdf");
    EXPECT_EQ(Frame().statusBar()->currentMessage().toStdString(), "Report written to " + pdf);

    const std::string text = PdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Block Name: Garden Court"));
    // The demo's tariff mask asks for every tariff.
    ASSERT_EQ(TariffMask(file.GetParameterBlock()) & 0x0f, 0x0f);
    EXPECT_THAT(text, HasSubstr("ID2 Date T1 T2 T3 T4 Total E LM T1 LM T2 LM T3 LM T4 LM Total"));

    // The Block's first meter, which the round read, with its values in their columns.
    const ReadingRecord& meter = file.GetReadings().at(std::size_t(first.firstSequence - 1));
    ASSERT_NE(meter.status, 0);
    std::string row =
        meter.meterId + " " +
        FormatC("%02x/%02x/%02x", meter.readDate[2], meter.readDate[1], meter.readDate[0]);
    for (int t : {1, 2, 3, 4, 0})
        row += " " + Trim(FormatC("%7.2f", meter.energy[std::size_t(t)]));
    for (int t : {1, 2, 3, 4, 0})
        row += " " + Trim(FormatC("%7.2f", meter.lmEnergy[std::size_t(t)]));
    EXPECT_THAT(text, HasSubstr(row));

    // Sixty meters on paper across with half-inch margins: 7.27 inches of rows on A4, 30 of
    // them a page (7.5 inches and 31 on Letter), two pages either way.
    const ReadingReport report = Report();
    ASSERT_EQ(report.Rows(), 60);
    const QPageLayout layout = ReportPdfLayout(report);
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "2");
    EXPECT_THAT(text, HasSubstr("Total 2 Page 1 Page"));
    EXPECT_THAT(PdfText(pdf, 2, 2), HasSubstr("Total 2 Page 2 Page"));
    // A table of twelve columns (8.9 inches) is printed across the paper.
    EXPECT_EQ(layout.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(PdfInfo(pdf, "Title"), "Block Name: Garden Court");
}

TEST_F(ReportPrintTest, AChineseBlockNamePrintsInAFaceThatHasIt)
{
    ViewFile(DemoWorkspace::Upload());
    const std::vector<BlockEntry> blocks = Doc().GetDataFile().GetBlockEntries();
    ASSERT_GE(blocks.size(), 3u);
    ASSERT_EQ(blocks[2].name, "幸福小区");
    ChooseBlock(2);
    const std::string pdf = dir.File("chinese.pdf");
    ExportPdf(pdf);
    // Without a face for them the characters would come out as empty boxes, not as text.
    EXPECT_THAT(PdfText(pdf), HasSubstr("Block Name: 幸福小区"));
}

TEST_F(ReportPrintTest, ABlockOfFiftyMetersPrintsItsLastRowOnASecondPage)
{
    const std::string db = dir.File("install.db");
    test::MakeInstallation(db, prompter, {{7, "Bench"}}, {{70, "Fifty", 7, 0x3200, 50}});
    const std::string data = test::MakeDataFile(db, prompter, 7, dir.File("up"), 0x00);
    test::StoreReading(data, 49, test::Energy({123456, 0, 0, 0, 0}), test::Energy({0, 0, 0, 0, 0}));
    ViewFile(data);
    ReadingReport report = Report();
    ASSERT_EQ(report.Rows(), 50);

    // Letter paper without margins: a printable height of 11 inches, 49 rows a page.
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    const std::string pdf = dir.File("fifty.pdf");
    std::string why;
    ASSERT_TRUE(WriteReportPdf(report, pdf, letter, &why)) << why;
    EXPECT_EQ(report.LinesPerPage(), 49);
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "2");
    EXPECT_EQ(PdfInfo(pdf, "Page size"), "612 x 792 pts (letter)");

    const std::string one = PdfText(pdf, 1, 1);
    const std::string two = PdfText(pdf, 2, 2);
    EXPECT_THAT(one, HasSubstr(report.Reading(48).meterId));
    EXPECT_THAT(one, Not(HasSubstr(report.Reading(49).meterId)));
    EXPECT_THAT(one, Not(HasSubstr("1234.56")));
    // Page 2: the title, the header, the one last meter with its reading, the footer.
    EXPECT_THAT(two, HasSubstr("Block Name: Fifty"));
    EXPECT_THAT(two, HasSubstr("ID2 Date Total E LM Total"));
    EXPECT_THAT(two, HasSubstr(report.Reading(49).meterId + " 26/12/05 1234.56 0.00"));
    EXPECT_THAT(two, Not(HasSubstr(report.Reading(48).meterId)));
    EXPECT_THAT(two, HasSubstr("Total 2 Page 2 Page"));
}

TEST_F(ReportPrintTest, APageRangeChosenForThePrinterPrintsThosePagesOnly)
{
    ViewFile(DemoWorkspace::Upload());
    ReadingReport report = Report();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string pdf = dir.File("range.pdf");
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setPageLayout(ReportPdfLayout(report));
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 2);
    ASSERT_TRUE(PrintReport(printer, report));
    EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
    const std::string text = PdfText(pdf);
    EXPECT_THAT(text, HasSubstr("Total 2 Page 2 Page")); // sixty meters on two pages
    const PageRows two = report.RowsOfPage(2);
    EXPECT_THAT(text, HasSubstr(report.Reading(two.first).meterId));
    EXPECT_THAT(text, Not(HasSubstr(report.Reading(two.first - 1).meterId)));
}

TEST_F(ReportPrintTest, ExportAsksBeforeReplacingAFileAndKeepsItWhenTold)
{
    ViewFile(DemoWorkspace::Upload());
    const std::string pdf = dir.File("kept.pdf");
    const std::vector<std::uint8_t> kept = {'k', 'e', 'p', 't'};
    ASSERT_TRUE(filebytes::WriteFileWhole(pdf, kept));
    prompter.answers = {MsgAnswer::No};
    prompter.choices = {pdf};
    Frame().Action("ExportPdf")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, pdf + " already exists.\nDo you want to replace it?");
    std::vector<std::uint8_t> now;
    ASSERT_TRUE(filebytes::ReadFileWhole(pdf, now));
    EXPECT_EQ(now, kept);

    prompter.answers = {MsgAnswer::Yes};
    prompter.choices = {pdf};
    Frame().Action("ExportPdf")->trigger();
    EXPECT_EQ(PdfInfo(pdf, "Title"), "Block Name: Garden Court");

    // A folder that is not there: the reason is shown and nothing is left behind.
    const std::string lost = dir.File("no/such/folder/report.pdf");
    prompter.choices = {lost};
    Frame().Action("ExportPdf")->trigger();
    ASSERT_EQ(prompter.messages.size(), 3u);
    EXPECT_THAT(prompter.messages[2].text, HasSubstr("Can't write " + lost));
    EXPECT_FALSE(std::filesystem::exists(lost));
}

TEST_F(ReportPrintTest, PrintingIsOfferedOnlyForTheReadingsOfAnOpenDataFile)
{
    EXPECT_TRUE(PrintActionsEnabled(false));
    // Nothing opens and nothing is asked while there is nothing to print.
    prompter.choices = {dir.File("never.pdf")};
    Frame().Action("ExportPdf")->trigger();
    EXPECT_TRUE(prompter.choosers.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("never.pdf")));

    ViewFile(DemoWorkspace::Upload());
    EXPECT_TRUE(PrintActionsEnabled(true));
    EXPECT_EQ(Frame().Action("Print")->shortcut(), QKeySequence(QKeySequence::Print));

    View().OnCommand(V::IdClose);
    EXPECT_EQ(Doc().GetViewMode(), CMrvDoc::ModeNone);
    EXPECT_TRUE(PrintActionsEnabled(false));
}

TEST_F(ReportPrintTest, ThePrintButtonPreviewsEveryPage)
{
    ViewFile(DemoWorkspace::Upload());
    int shown = -1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    ASSERT_TRUE(test::WithModal(
        [&] { View().Button(V::IdPrint)->click(); },
        [&](QDialog& dialog) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(&dialog);
            ASSERT_NE(preview, nullptr);
            auto* pages = dialog.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(pages, nullptr);
            shown = pages->pageCount();
            orientation = preview->printer()->pageLayout().orientation();
        }));
    // Sixty meters, 30 to 36 rows a page on A4 or Letter across, whatever the margins.
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
}

TEST_F(ReportPrintTest, PrintOffersTheReportsPages)
{
    ViewFile(DemoWorkspace::Upload());
    int maxPage = 0;
    ASSERT_TRUE(test::WithModal([&] { Frame().Action("Print")->trigger(); },
                                [&](QDialog& dialog) {
                                    auto* print = qobject_cast<QPrintDialog*>(&dialog);
                                    ASSERT_NE(print, nullptr);
                                    maxPage = print->maxPage();
                                }));
    EXPECT_GE(maxPage, 2);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ReportPrintTest, PrintDirectWithoutAPrinterSaysSo)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer; the report would go to it";
    ViewFile(DemoWorkspace::Upload());
    Frame().Action("PrintDirect")->trigger();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_THAT(prompter.messages[0].text, HasSubstr("No printer"));
}

} // namespace
} // namespace mrv
