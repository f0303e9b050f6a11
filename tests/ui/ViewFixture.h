#pragma once
// Installations and data files for the tests of the main view and its lists, made by the
// program's own database and data-file code on real SQLite files; the program's window on a
// profile of its own.
#include "base/Clock.h"
#include "base/Prompter.h"
#include "base/Records.h"
#include "datafile/DataFileParameters.h"
#include "datafile/HhuDataFile.h"
#include "datafile/ParameterBlock.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/QtSettingsStore.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"
#include "ui/app/CMainFrame.h"
#include "ui/app/CMrvApp.h"
#include "ui/view/CMrvView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace mrv::test {

struct BlockSpec {
    std::int32_t id;
    std::string name;
    std::int32_t hhu;
    std::int32_t para;
    int meters; // numbered 00, 01, ... with ID2 "B<block>M<n>"
};

// Meter n of a Block as BlockSpec fills it.
inline MeterRecord SpecMeter(std::int32_t block, int n)
{
    char num[8];
    std::snprintf(num, sizeof num, "%02d", n % 100);
    return {num, "B" + std::to_string(block) + "M" + std::to_string(n),
            "Street " + std::to_string(n), block};
}

// Writes the HHUs, Blocks and meters into a new installation database at `path`.
inline void MakeInstallation(const std::string& path, Prompter& prompter,
                             const std::vector<HhuRecord>& hhus,
                             const std::vector<BlockSpec>& blocks)
{
    ASSERT_EQ(CreateInstallationSchema(path, prompter), 1);
    MeterDatabase db(prompter);
    ASSERT_EQ(db.OpenMain(DatabaseConnectString(path)), 1);
    for (const HhuRecord& h : hhus)
        ASSERT_EQ(db.InsertHhu(h), 1);
    for (const BlockSpec& b : blocks)
        ASSERT_EQ(db.InsertBlock({b.id, b.name, b.hhu, b.para}), 1);
    ASSERT_TRUE(db.BeginMeterBatch());
    for (const BlockSpec& b : blocks)
        for (int n = 0; n < b.meters; ++n)
            ASSERT_EQ(db.InsertMeter(SpecMeter(b.id, n)), 1);
    ASSERT_TRUE(db.CommitMeterBatch());
    db.CloseMain();
}

// Adds meters to a Block of an existing installation.
inline void AddMeters(const std::string& path, Prompter& prompter, std::int32_t block, int from,
                      int count)
{
    MeterDatabase db(prompter);
    ASSERT_EQ(db.OpenMain(DatabaseConnectString(path)), 1);
    ASSERT_TRUE(db.BeginMeterBatch());
    for (int n = from; n < from + count; ++n)
        ASSERT_EQ(db.InsertMeter(SpecMeter(block, n)), 1);
    ASSERT_TRUE(db.CommitMeterBatch());
    db.CloseMain();
}

// The download file of HHU `hhu` written into `dir` with the given tariff mask (the stored-energy
// file when `stored`); its path.
inline std::string MakeDataFile(const std::string& installation, Prompter& prompter,
                                std::int32_t hhu, const std::string& dir, std::uint8_t tariffMask,
                                bool stored = false)
{
    std::filesystem::create_directories(dir);
    MeterDatabase db(prompter);
    EXPECT_EQ(db.OpenMain(DatabaseConnectString(installation)), 1);
    DataFileParameters params;
    params.readKwh[2] = tariffMask;
    DownloadInput in;
    in.source = &db;
    BuildParameterBlock(params, in.parameterBlock);
    in.prompter = &prompter;
    std::string path;
    EXPECT_EQ(HhuDataFile::CreateDownloadFile(dir, hhu, stored, in, {}, &path), 1);
    db.CloseMain();
    return path;
}

// An energy block of four-byte BCD values, least significant byte first: the total, then
// tariffs 1..4, each given in hundredths.
inline EnergyBlock Energy(std::array<std::uint32_t, 5> hundredths)
{
    EnergyBlock block{};
    for (std::size_t i = 0; i < 5; ++i) {
        std::uint32_t v = hundredths[i];
        for (std::size_t b = 0; b < 4; ++b) {
            const std::uint32_t two = v % 100;
            v /= 100;
            block[4 * i + b] = static_cast<std::uint8_t>((two / 10) << 4 | two % 10);
        }
    }
    return block;
}

// Stores a reading taken on 5 December 2026 into record `index` (0-based) of the file at
// `path`, as a unit would.
inline void StoreReading(const std::string& path, int index, const EnergyBlock& energy,
                         const EnergyBlock& lastMonth)
{
    const FixedClock clock(PcTime{2026, 12, 5, 10, 30, 0, 6});
    HhuDataFile file;
    file.SetClock(&clock);
    ASSERT_EQ(file.Load(path), 1);
    ASSERT_EQ(file.StoreReading(index, energy, lastMonth), 1);
}

// The program started on a profile in a temporary folder, its questions answered by the
// scripted prompter, its window shown at 760 x 520.
class MainWindowTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    QtSettingsStore store{QString::fromStdString(dir.File("profile.ini"))};
    std::unique_ptr<CMrvApp> app;

    void SetUp() override
    {
        std::filesystem::create_directories(dir.File("bin"));
        app = std::make_unique<CMrvApp>(store, &prompter, dir.File("bin/mrv003e"));
        ASSERT_TRUE(app->InitInstance(false));
        Frame().resize(760, 520);
        Frame().show();
        QApplication::processEvents();
    }
    CMrvDoc& Doc() { return *app->Document(); }
    CMainFrame& Frame() { return *app->MainFrame(); }
    CMrvView& View() { return *Frame().View(); }
    // View > View File, choosing the data file at `path`.
    void ViewFile(const std::string& path)
    {
        prompter.choices = {path};
        Frame().Action("ViewFile")->trigger();
    }
};

} // namespace mrv::test
