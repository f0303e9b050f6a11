#pragma once
// Printing the readings of the data-file Block the main view shows: one routine paints a page
// of the report, and the print preview, the printer (with or without its dialog) and PDF
// export all go through it. The page arithmetic and the texts are ReadingReport's.
#include "datafile/ReadingReport.h"

#include <QFont>
#include <QPageLayout>

#include <optional>
#include <string>

class QPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace mrv {

class CMrvDoc;
class CMrvView;
struct ViewCommandArgs;

enum class PrintCommand { Print, PrintDirect, PrintPreview, ExportPdf };

// Printing is offered only in data-file mode while the data file holds readings.
bool CanPrintReadings(CMrvDoc& doc);

// The report of the Block the view shows (named by the Block list, its rows those of the
// reading list); none when printing is not offered.
std::optional<ReadingReport> ViewReport(CMrvDoc& doc, const CMrvView& view);

// One device's page: how many device pixels make 0.01 inch, the printable area in 0.01 inch
// and the print font made for this device and report.
struct ReportPage {
    double unit = 1.0;
    int width = 0;
    int height = 0;
    QFont font;
};

// Lays `report` out for a printable area of `printablePixels` (width and height) on a device
// of `dotsPerInch`, and makes the font: a sans-serif face whose lines are one row (0.2 inch)
// high, smaller only when the widest text of a column would not fit its width otherwise.
ReportPage PrepareReport(QPaintDevice& device, QSizeF printablePixels, int dotsPerInch,
                         ReadingReport& report);

// Paints page `page` (from 1) of a report that PrepareReport laid out for this page. The
// painter's origin is the top-left corner of the printable area.
void PaintReportPage(QPainter& painter, const ReadingReport& report, const ReportPage& layout,
                     int page);

// Prints the report's pages on `printer` (those of its page range when it has one), laid out
// for its printable area. false when the printer could not start or failed.
bool PrintReport(QPrinter& printer, ReadingReport& report);

// Turns the printer to landscape when the table is wider than its portrait printable area.
void FitOrientation(QPrinter& printer, const ReadingReport& report);

// The page of an exported report: the default printer's paper (the locale's, A4 or Letter,
// when there is no printer) with margins of half an inch, in landscape when the table needs it.
QPageLayout ReportPdfLayout(const ReadingReport& report);

// Writes the report as a PDF file at `path` in `layout`. The file appears only when it is
// complete; a file it replaces stays as it was on failure. false with the reason in `error`.
bool WriteReportPdf(ReadingReport& report, const std::string& path, const QPageLayout& layout,
                    std::string* error = nullptr);

// File > Print, Print Direct, Print Preview and Export PDF... on what the view shows; nothing
// when printing is not offered. Questions and failures go through the document's Prompter.
void RunPrintCommand(PrintCommand command, CMrvDoc& doc, CMrvView& view, QWidget* parent);

// The view's "Print" button: the print preview.
void OnPrintPreview(const ViewCommandArgs& args);

} // namespace mrv
