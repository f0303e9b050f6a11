#include "ui/print/ReadingPrint.h"

#include "datafile/FileBytes.h"
#include "datafile/HhuDataFile.h"
#include "doc/CMrvDoc.h"
#include "ui/view/CMarkListBox.h"
#include "ui/view/CMrvView.h"
#include "ui/view/CRecordListCtrl.h"
#include "ui/view/ViewCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace mrv {

namespace {

// Room kept free on each side of a cell's text, in 0.01 inch, so neighbours never touch.
constexpr int kCellPadding = 2;
// The blue of the rules.
const QColor kRuleColour(0, 0, 255);

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The texts on the page in the window's language; the report's own (ReadingReport) are the
// untranslated ones.
QString ColumnTitle(const ReportColumn& c)
{
    const int tariff = c.source.tariff;
    switch (c.source.field) {
    case ReadingColumn::MeterId:
    case ReadingColumn::MeterId2:
        return QCoreApplication::translate("mrv::ReadingPrint", "ID2", "column: the meter ID");
    case ReadingColumn::Date:
        return QCoreApplication::translate("mrv::ReadingPrint", "Date", "column: reading date");
    case ReadingColumn::Energy:
        return tariff ? QCoreApplication::translate("mrv::ReadingPrint", "T%1",
                                                    "column: energy of a tariff")
                            .arg(tariff)
                      : QCoreApplication::translate("mrv::ReadingPrint", "Total E",
                                                    "column: total energy");
    case ReadingColumn::LastMonth:
        return tariff ? QCoreApplication::translate("mrv::ReadingPrint", "LM T%1",
                                                    "column: last month's energy of a tariff")
                            .arg(tariff)
                      : QCoreApplication::translate("mrv::ReadingPrint", "LM Total",
                                                    "column: last month's total energy");
    }
    return Q(c.title);
}

QString PageTitle(const ReadingReport& report)
{
    return QCoreApplication::translate("mrv::ReadingPrint", "Block Name: %1")
        .arg(Q(report.BlockName()));
}

QString PageFooter(const ReadingReport& report, int page)
{
    // Each number right-aligned in two places, as "%2d" would.
    return QCoreApplication::translate("mrv::ReadingPrint", "Total %1 Page    %2 Page",
                                       "page footer: the page count, then the page")
        .arg(report.PageCount(), 2)
        .arg(page, 2);
}

// The face the report asks for. Where it is missing (everywhere but its home platform) the
// system's sans-serif face stands in. Chinese Block names come from WenQuanYi Micro Hei where
// it is installed: a PDF names each drawn shape by one character, and faces that give a radical
// the shape of an ideograph make a copied or searched "小" come out as the radical "⼩"; this
// one has no radicals. Without it they come from whatever face the system has for them.
QFont RequestedFont()
{
    const QString asked = QStringLiteral("MS Sans Serif");
    QFont f(asked);
    f.setStyleHint(QFont::SansSerif);
    f.setWeight(QFont::Normal);
    f.setStyle(QFont::StyleNormal);
    f.setUnderline(false);
    f.setStrikeOut(false);
    f.setFixedPitch(false);
    QStringList families = {asked};
    const QString standIn = QFontInfo(f).family();
    if (standIn != asked)
        families << standIn;
    families << QStringLiteral("WenQuanYi Micro Hei");
    f.setFamilies(families);
    return f;
}

QFont ReportFont(QPaintDevice& device, double unit, const ReadingReport& report)
{
    QFont font = RequestedFont();
    // A line of text (ascent and descent) as high as a row: 0.2 inch.
    const double line = report::kRowHeight * unit;
    font.setPixelSize(std::max(1, int(std::lround(line))));
    const double height = QFontMetricsF(font, &device).height();
    double size = height > 0 ? line * line / height : line;
    font.setPixelSize(std::max(1, int(std::floor(size))));

    // The widest text of each column must fit between the column's rules.
    const QFontMetricsF fm(font, &device);
    double fit = 1.0;
    const std::vector<ReportColumn>& columns = report.Columns();
    for (const ReportColumn& c : columns) {
        double widest = fm.horizontalAdvance(ColumnTitle(c));
        for (int r = 0; r < report.Rows(); ++r)
            widest = std::max(widest, fm.horizontalAdvance(Q(ReportCell(report.Reading(r), c))));
        const double room = (c.width - 2 * kCellPadding) * unit;
        if (widest > room && widest > 0)
            fit = std::min(fit, room / widest);
    }
    if (fit < 1.0)
        font.setPixelSize(std::max(1, int(std::floor(size * fit))));
    return font;
}

// The printable area of the printer's current page in device pixels.
QSizeF PrintableArea(const QPrinter& printer)
{
    return printer.pageLayout().paintRectPixels(printer.resolution()).size();
}

} // namespace

bool CanPrintReadings(CMrvDoc& doc)
{
    const HhuDataFile& file = doc.GetDataFile();
    return doc.GetViewMode() == CMrvDoc::ModeDataFile && file.IsLoaded() && file.ReadingCount() > 0;
}

std::optional<ReadingReport> ViewReport(CMrvDoc& doc, const CMrvView& view)
{
    if (!CanPrintReadings(doc))
        return std::nullopt;
    const HhuDataFile& file = doc.GetDataFile();
    std::string name;
    const std::vector<BlockEntry> entries = file.GetBlockEntries();
    const int sel = view.ListBox(CMrvView::IdFileBlocks)->GetCurSel();
    if (sel >= 0 && sel < int(entries.size()))
        name = entries[std::size_t(sel)].name;
    std::int32_t rows = 0;
    const std::int32_t first = view.ListCtrl(CMrvView::IdReadings)->GetValue(&rows);
    return ReadingReport(name, TariffMask(file.GetParameterBlock()), file.GetReadings(), first,
                         rows);
}

ReportPage PrepareReport(QPaintDevice& device, QSizeF printablePixels, int dotsPerInch,
                         ReadingReport& report)
{
    ReportPage page;
    page.unit = dotsPerInch / 100.0;
    page.width = int(printablePixels.width() * 100 / dotsPerInch);
    page.height = int(printablePixels.height() * 100 / dotsPerInch);
    report.Paginate(page.height);
    page.font = ReportFont(device, page.unit, report);
    return page;
}

void PaintReportPage(QPainter& p, const ReadingReport& report, const ReportPage& layout, int page)
{
    const double u = layout.unit;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(layout.font);
    const QFontMetricsF fm(layout.font, p.device());
    QPen rule(kRuleColour);
    rule.setWidthF(u);
    rule.setCapStyle(Qt::SquareCap);
    const QPen ink(Qt::black);

    auto line = [&](int x1, int y1, int x2, int y2) {
        p.setPen(rule);
        p.drawLine(QLineF(x1 * u, y1 * u, x2 * u, y2 * u));
    };
    // A text whose line starts `top` units below the top of the printable area.
    auto text = [&](int x, int top, const QString& s) {
        p.setPen(ink);
        p.drawText(QPointF(x * u, top * u + fm.ascent()), s);
    };
    auto width = [&](const QString& s) { return int(std::lround(fm.horizontalAdvance(s) / u)); };
    auto centred = [&](int left, int columnWidth, int top, const QString& s) {
        text(left + (columnWidth - width(s)) / 2, top, s);
    };

    const std::vector<ReportColumn>& columns = report.Columns();
    const int w = report.TableWidth();
    text(report::kTitleX, report::kTitleY, PageTitle(report));

    // The ruled header with the column titles.
    line(0, report::kHeaderTop, w, report::kHeaderTop);
    int left = 0;
    for (const ReportColumn& c : columns) {
        centred(left, c.width, report::kHeaderTop + report::kTextDrop, ColumnTitle(c));
        line(left, report::kHeaderTop, left, report::kTableTop);
        left += c.width;
    }
    line(w, report::kHeaderTop, w, report::kTableTop);
    line(0, report::kTableTop, w, report::kTableTop);

    const PageRows rows = report.RowsOfPage(page);
    for (int r = rows.first; r < rows.end; ++r) {
        const int top = report::kTableTop + (r - rows.first) * report::kRowHeight;
        const int bottom = top + report::kRowHeight;
        left = 0;
        for (const ReportColumn& c : columns) {
            centred(left, c.width, top + report::kTextDrop, Q(ReportCell(report.Reading(r), c)));
            line(left, top, left, bottom);
            left += c.width;
        }
        line(w, top, w, bottom);
        line(0, bottom, w, bottom);
    }

    const QString footer = PageFooter(report, page);
    text(layout.width - width(footer) - report::kFooterRight, layout.height - report::kFooterRise,
         footer);
    p.restore();
}

bool PrintReport(QPrinter& printer, ReadingReport& report)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const ReportPage layout =
        PrepareReport(printer, PrintableArea(printer), printer.resolution(), report);
    int first = 1;
    int last = report.PageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    for (int page = first; page <= last; ++page) {
        if (page != first && !printer.newPage())
            break;
        PaintReportPage(painter, report, layout, page);
    }
    painter.end();
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

void FitOrientation(QPrinter& printer, const ReadingReport& report)
{
    QPageLayout portrait = printer.pageLayout();
    portrait.setOrientation(QPageLayout::Portrait);
    const double width = portrait.paintRect(QPageLayout::Inch).width() * 100;
    if (report.TableWidth() > width)
        printer.setPageOrientation(QPageLayout::Landscape);
}

QPageLayout ReportPdfLayout(const ReadingReport& report)
{
    QPageSize paper = QPrinterInfo::defaultPrinter().defaultPageSize();
    if (!paper.isValid())
        paper = QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                              ? QPageSize::Letter
                              : QPageSize::A4);
    const QMarginsF margins(0.5, 0.5, 0.5, 0.5);
    QPageLayout layout(paper, QPageLayout::Portrait, margins, QPageLayout::Inch);
    if (report.TableWidth() > layout.paintRect(QPageLayout::Inch).width() * 100)
        layout.setOrientation(QPageLayout::Landscape);
    return layout;
}

bool WriteReportPdf(ReadingReport& report, const std::string& path, const QPageLayout& layout,
                    std::string* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why.toStdString();
        return false;
    };
    const QString notMade =
        QCoreApplication::translate("mrv::ReadingPrint", "the PDF could not be made");
    // Painted into a file of its own first, then put in place whole.
    QTemporaryFile scratch(QDir::tempPath() + "/mrv-report-XXXXXX.pdf");
    if (!scratch.open())
        return fail(QCoreApplication::translate("mrv::ReadingPrint", "no temporary file: %1")
                        .arg(scratch.errorString()));
    scratch.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(scratch.fileName());
    printer.setPageLayout(layout);
    printer.setCreator(QStringLiteral("mrv003e"));
    printer.setDocName(PageTitle(report));
    if (!PrintReport(printer, report))
        return fail(notMade);

    std::vector<std::uint8_t> bytes;
    if (!filebytes::ReadFileWhole(scratch.fileName().toStdString(), bytes) || bytes.empty())
        return fail(notMade);
    if (const filebytes::WriteResult written = filebytes::WriteFileWhole(path, bytes); !written)
        return fail(Q(filebytes::SystemErrorText(written.error)));
    return true;
}

namespace {

// "<data file> <Block>.pdf" beside the data file, with no separator taken from the name.
std::string SuggestedPdfPath(CMrvDoc& doc, const ReadingReport& report)
{
    const QFileInfo file(Q(doc.GetDataFile().LoadedPath()));
    QString name = file.completeBaseName();
    QString block = Q(report.BlockName()).trimmed();
    block.replace('/', '_').replace('\\', '_');
    if (!block.isEmpty())
        name += ' ' + block;
    return QDir(file.absolutePath()).filePath(name + ".pdf").toStdString();
}

void ExportPdf(CMrvDoc& doc, CMrvView& view, ReadingReport& report)
{
    Prompter& prompter = doc.GetPrompter();
    const std::string caption =
        QCoreApplication::translate("mrv::ReadingPrint", "Export PDF").toStdString();
    const std::optional<std::string> path = prompter.ChooseSaveFile(
        caption,
        QCoreApplication::translate("mrv::ReadingPrint", "PDF file(.pdf)|*.pdf").toStdString(),
        SuggestedPdfPath(doc, report), ".pdf");
    if (!path || path->empty())
        return;
    std::error_code ec;
    if (std::filesystem::exists(*path, ec) &&
        prompter.Message(QCoreApplication::translate(
                             "mrv::ReadingPrint", "%1 already exists.\nDo you want to replace it?")
                             .arg(Q(*path))
                             .toStdString(),
                         caption, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    std::string why;
    if (!WriteReportPdf(report, *path, ReportPdfLayout(report), &why)) {
        prompter.Message(QCoreApplication::translate("mrv::ReadingPrint", "Can't write %1:\n%2")
                             .arg(Q(*path), Q(why))
                             .toStdString(),
                         caption, MsgIcon::Error);
        return;
    }
    emit view.StatusMessage(
        QCoreApplication::translate("mrv::ReadingPrint", "Report written to %1").arg(Q(*path)),
        6000);
}

} // namespace

void RunPrintCommand(PrintCommand command, CMrvDoc& doc, CMrvView& view, QWidget* parent)
{
    std::optional<ReadingReport> report = ViewReport(doc, view);
    if (!report)
        return;
    Prompter& prompter = doc.GetPrompter();
    switch (command) {
    case PrintCommand::ExportPdf:
        ExportPdf(doc, view, *report);
        return;
    case PrintCommand::PrintPreview: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(PageTitle(*report));
        FitOrientation(printer, *report);
        QPrintPreviewDialog dlg(&printer, parent);
        dlg.setObjectName("printPreview");
        dlg.setWindowTitle(QCoreApplication::translate("mrv::ReadingPrint", "Print Preview"));
        // Qt's own size shows a page too small to read: most of the screen instead.
        if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
            dlg.resize(screen->availableGeometry().size() * 0.85);
        // The preview asks again whenever the paper, orientation or zoom changes.
        QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                         [&report](QPrinter* p) { PrintReport(*p, *report); });
        dlg.exec();
        return;
    }
    case PrintCommand::Print: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(PageTitle(*report));
        FitOrientation(printer, *report);
        report->Paginate(int(PrintableArea(printer).height() * 100 / printer.resolution()));
        QPrintDialog dlg(&printer, parent);
        dlg.setObjectName("printDialog");
        dlg.setMinMax(1, report->PageCount());
        if (dlg.exec() != QDialog::Accepted)
            return;
        if (!PrintReport(printer, *report))
            prompter.Message(
                QCoreApplication::translate("mrv::ReadingPrint", "The report could not be printed.")
                    .toStdString(),
                QCoreApplication::translate("mrv::ReadingPrint", "Print", "caption").toStdString(),
                MsgIcon::Error);
        return;
    }
    case PrintCommand::PrintDirect: {
        if (QPrinterInfo::defaultPrinter().isNull()) {
            prompter.Message(
                QCoreApplication::translate(
                    "mrv::ReadingPrint",
                    "No printer is set up.\nFile > Export PDF... keeps the report as "
                    "a file.")
                    .toStdString(),
                QCoreApplication::translate("mrv::ReadingPrint", "Print Direct").toStdString(),
                MsgIcon::Warning);
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(PageTitle(*report));
        FitOrientation(printer, *report);
        if (!PrintReport(printer, *report))
            prompter.Message(
                QCoreApplication::translate("mrv::ReadingPrint", "The report could not be printed.")
                    .toStdString(),
                QCoreApplication::translate("mrv::ReadingPrint", "Print Direct").toStdString(),
                MsgIcon::Error);
        return;
    }
    }
}

void OnPrintPreview(const ViewCommandArgs& args)
{
    if (args.doc && args.view)
        RunPrintCommand(PrintCommand::PrintPreview, *args.doc, *args.view, args.parent);
}

} // namespace mrv
