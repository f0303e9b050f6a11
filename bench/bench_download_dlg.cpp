// Create Download File in the window, on a large installation in an SQLite file: ten HHUs of
// 5500 meters each (twenty Blocks of 275).
//
// BM_CreateDownloadRun: one run over all ten HHUs through the dialog and its worker, from the
// click on Create to the last status; every file must be written.
//
// BM_CancelToClose: a run is cancelled when the given share (in per cent) of a whole run's time
// has passed, so at the start, in the middle and near the end of the HHUs; the time from the
// click on Cancel to the end of the dialog (the worker has stopped and the dialog is closed) is
// what the user waits for. No file may be left in part.
#include "BenchPrompter.h"
#include "WidgetBench.h"
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/CMrvDoc.h"
#include "doc/QtSettingsStore.h"
#include "ui/datafile/CCreateDownloadDlg.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kHhus = 10;
constexpr int kBlocksPerHhu = 20;
constexpr int kMetersPerBlock = 275;

class Fixture {
public:
    Fixture()
    {
        std::string tmpl = (fs::temp_directory_path() / "mrvbench-XXXXXX").string();
        if (!mkdtemp(tmpl.data()))
            std::abort();
        m_dir = tmpl;
        const std::string path = (m_dir / "inst.db").string();
        if (!mrv::CreateInstallationSchema(path, prompter))
            std::abort();
        {
            mrv::MeterDatabase db(prompter);
            if (!db.OpenMain(mrv::ConnectStringFor(path)))
                std::abort();
            for (int h = 1; h <= kHhus; ++h) {
                if (!db.InsertHhu({h, "HHU " + std::to_string(h)}))
                    std::abort();
                for (int b = 0; b < kBlocksPerHhu; ++b)
                    if (!db.InsertBlock({h * 100 + b, "Block " + std::to_string(b), h, 0x3200}))
                        std::abort();
            }
            if (!db.BeginMeterBatch())
                std::abort();
            for (int h = 1; h <= kHhus; ++h)
                for (int b = 0; b < kBlocksPerHhu; ++b)
                    for (int m = 0; m < kMetersPerBlock; ++m) {
                        char num[16], id2[40];
                        std::snprintf(num, sizeof num, "%02d", m % 100);
                        std::snprintf(id2, sizeof id2, "%04d%04d%04d", h, b, m);
                        if (!db.InsertMeter({num, id2, "Street " + std::to_string(m),
                                             h * 100 + b}))
                            std::abort();
                    }
            if (!db.CommitMeterBatch())
                std::abort();
        }
        store = std::make_unique<mrv::QtSettingsStore>(
            QString::fromStdString((m_dir / "profile.ini").string()));
        doc = std::make_unique<mrv::CMrvDoc>(*store, prompter, (m_dir / "mrv003e").string());
        doc->m_connect = mrv::ConnectStringFor(path);
        doc->m_downloadPath = (m_dir / "download").string();
        fs::create_directories(doc->m_downloadPath);
        if (!doc->LoadTables(mrv::CMrvDoc::TableHhus) || doc->Hhus().size() != kHhus)
            std::abort();
    }
    ~Fixture()
    {
        doc.reset();
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    // Files in the download folder, and whether any is not a finished data file.
    int Files(bool* partial) const
    {
        int n = 0;
        for (const auto& e : fs::directory_iterator(doc->m_downloadPath)) {
            ++n;
            if (e.path().extension() != ".dbf")
                *partial = true;
        }
        return n;
    }
    void Clear() const
    {
        for (const auto& e : fs::directory_iterator(doc->m_downloadPath))
            fs::remove(e.path());
    }

    mrv::bench::CountingPrompter prompter;
    std::unique_ptr<mrv::QtSettingsStore> store;
    std::unique_ptr<mrv::CMrvDoc> doc;

private:
    fs::path m_dir;
};

// Made by the first benchmark that needs it, and gone before the application is.
std::unique_ptr<Fixture> g_fixture;

Fixture& Shared()
{
    if (!g_fixture)
        g_fixture = std::make_unique<Fixture>();
    return *g_fixture;
}

// The last line of the dialog's status list.
QString LastStatus(const QDialog& dlg)
{
    const auto* list = dlg.findChild<QListWidget*>("status");
    return list && list->count() ? list->item(list->count() - 1)->text() : QString();
}

// One whole run over every HHU, from the click on Create until it returns (the worker has
// ended); false unless every file was written.
bool WholeRun(Fixture& f, double* seconds)
{
    f.Clear();
    mrv::CCreateDownloadDlg dlg(*f.doc);
    dlg.show();
    dlg.findChild<QTableWidget*>("hhuList")->selectAll();
    QElapsedTimer t;
    t.start();
    dlg.findChild<QPushButton*>("createButton")->click();
    *seconds = double(t.nsecsElapsed()) / 1e9;
    bool partial = false;
    return f.Files(&partial) == kHhus && !partial && f.prompter.messages == 0 &&
           LastStatus(dlg) == "Create 0010.dbf  OK!";
}

void BM_CreateDownloadRun(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        double seconds = 0;
        if (!WholeRun(f, &seconds)) {
            state.SkipWithError("the run did not write every file");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["meters"] = kHhus * kBlocksPerHhu * kMetersPerBlock;
}
BENCHMARK(BM_CreateDownloadRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CancelToClose(benchmark::State& state)
{
    Fixture& f = Shared();
    double whole = 0;
    if (!WholeRun(f, &whole)) {
        state.SkipWithError("the run did not write every file");
        return;
    }
    const int after = int(whole * 1000 * double(state.range(0)) / 100);
    double worst = 0;
    for (auto _ : state) {
        f.Clear();
        mrv::CCreateDownloadDlg dlg(*f.doc);
        dlg.show();
        dlg.findChild<QTableWidget*>("hhuList")->selectAll();
        QElapsedTimer t;
        bool cancelled = false;
        // Tied to the dialog: a run that ended first leaves no timer behind.
        QTimer::singleShot(after, &dlg, [&] {
            cancelled = dlg.Running();
            t.start();
            dlg.findChild<QPushButton*>("cancelButton")->click();
        });
        dlg.findChild<QPushButton*>("createButton")->click(); // returns when the worker ended
        const double seconds = double(t.nsecsElapsed()) / 1e9;
        bool partial = false;
        f.Files(&partial);
        if (!cancelled || dlg.isVisible() || partial) {
            state.SkipWithError("the run was not cancelled, or left a part");
            return;
        }
        worst = std::max(worst, seconds);
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst * 1000;
    state.counters["cancel_after_ms"] = after;
}
BENCHMARK(BM_CancelToClose)
    ->Arg(10)
    ->Arg(50)
    ->Arg(80)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace

int main(int argc, char** argv)
{
    return mrv::bench::RunWidgetBenchmarks(argc, argv, [] { g_fixture.reset(); });
}
