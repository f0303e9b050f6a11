// Speed of the printed reading report at the largest Block a data file holds: 5500 meters with
// every tariff column. Measured: laying the report out for a page (rows per page and the
// print font, which is fitted to the widest text of every column over all rows), painting one
// page, and exporting the whole report to a PDF file (`pages` says how many).
#include "WidgetBench.h"
#include "datafile/ReadingReport.h"
#include "ui/print/ReadingPrint.h"

#include <QPainter>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kMeters = 5500;

// A Block of `kMeters` meters, every tenth not read, the others with distinct readings.
mrv::ReadingReport BigReport()
{
    std::vector<mrv::ReadingRecord> records(kMeters);
    for (int k = 0; k < kMeters; ++k) {
        mrv::ReadingRecord& r = records[std::size_t(k)];
        char id[24];
        std::snprintf(id, sizeof id, "3632303%05d", k);
        r.meterId = id;
        r.status = k % 10 == 9 ? 0 : 1;
        r.readDate = {0x05, 0x12, 0x26};
        const double total = 1000 + k * 3.17;
        r.energy = {total, total * 0.4, total * 0.3, total * 0.2, total * 0.1};
        r.lmEnergy = {total - 20, 1, 2, 3, 4};
    }
    return mrv::ReadingReport("Bench Block", 0x0f, records, 1, kMeters);
}

QPageLayout Letter()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                       QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
}

void BM_LayOut5500(benchmark::State& state)
{
    mrv::ReadingReport report = BigReport();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(Letter());
    const QSizeF area = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    for (auto _ : state)
        benchmark::DoNotOptimize(mrv::PrepareReport(printer, area, printer.resolution(), report));
    state.counters["pages"] = report.PageCount();
}
BENCHMARK(BM_LayOut5500)->Unit(benchmark::kMillisecond);

void BM_PaintOnePage(benchmark::State& state)
{
    mrv::ReadingReport report = BigReport();
    QImage page(1100, 850, QImage::Format_RGB32); // Letter at 100 dots per inch
    const mrv::ReportPage layout = mrv::PrepareReport(page, QSizeF(1000, 750), 100, report);
    int p = 1;
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter painter(&page);
        mrv::PaintReportPage(painter, report, layout, p);
        p = p % report.PageCount() + 1;
    }
}
BENCHMARK(BM_PaintOnePage)->Unit(benchmark::kMillisecond);

void BM_ExportPdf5500(benchmark::State& state)
{
    mrv::ReadingReport report = BigReport();
    const std::string path = (fs::temp_directory_path() / "mrvbench-report.pdf").string();
    for (auto _ : state) {
        std::string why;
        if (!mrv::WriteReportPdf(report, path, Letter(), &why)) {
            std::fprintf(stderr, "bench_report: %s\n", why.c_str());
            std::abort();
        }
    }
    std::error_code ec;
    state.counters["pages"] = report.PageCount();
    state.counters["pdf_kB"] = double(fs::file_size(path, ec)) / 1024;
    fs::remove(path, ec);
}
BENCHMARK(BM_ExportPdf5500)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return mrv::bench::RunWidgetBenchmarks(argc, argv);
}
