#include "doc/CMrvDoc.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/QtSettingsStore.h"
#include "link/SerialPort.h"
#include "support/LimitedChild.h"
#include "support/PtyPair.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <termios.h>
#include <unistd.h>

namespace mrv {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

class DocTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<QtSettingsStore> store =
        std::make_unique<QtSettingsStore>(QString::fromStdString(dir.File("profile.ini")));

    std::unique_ptr<CMrvDoc> MakeDoc()
    {
        auto doc = std::make_unique<CMrvDoc>(*store, prompter, dir.File("bin/mrv003e"));
        doc->LoadSettings();
        return doc;
    }

    // An installation database whose largest ids are not the last rows.
    std::string DemoDatabase()
    {
        const std::string path = dir.File("install.db");
        EXPECT_EQ(CreateInstallationSchema(path, prompter), 1);
        MeterDatabase db(prompter);
        EXPECT_EQ(db.OpenMain(DatabaseConnectString(path)), 1);
        for (int id : {3, 12, 7})
            EXPECT_EQ(db.InsertHhu({id, "HHU " + std::to_string(id)}), 1);
        for (int id : {40, 41, 5}) {
            BlockRecord b;
            b.district_id = id;
            b.district_name = "Block " + std::to_string(id);
            b.land_id = 3;
            b.district_para = 0x3200;
            EXPECT_EQ(db.InsertBlock(b), 1);
        }
        for (int i = 0; i < 5; ++i) {
            MeterRecord m;
            m.meter_num = "0" + std::to_string(i);
            m.district_id = i < 3 ? 40 : 41;
            EXPECT_EQ(db.InsertMeter(m), 1);
        }
        db.CloseMain();
        return path;
    }
};

TEST_F(DocTest, ProgramFolderGivesModuleDirAndTestDatabasePath)
{
    CMrvDoc doc(*store, prompter, "/opt/mrv/bin/mrv003e");
    EXPECT_EQ(doc.m_moduleDir, "/opt/mrv/bin");
    EXPECT_EQ(doc.TestDatabasePath(), "/opt/mrv/bin/testmeter.db");
    CMrvDoc bare(*store, prompter, "mrv003e");
    EXPECT_EQ(bare.m_moduleDir, "");
    EXPECT_EQ(bare.TestDatabasePath(), "testmeter.db"); // not the root folder
}

TEST_F(DocTest, SettingsWrittenAtDestructionComeBack)
{
    {
        auto doc = MakeDoc();
        doc->m_dbName = "/data/install.db";
        doc->m_dbEnergy = "/data/energy.db";
        doc->m_downloadPath = "/data/down";
        doc->m_dataPath = "/data/up";
        doc->m_baudIndex = 4;
        doc->m_comIndex = 2;
        doc->m_parity = 1;
        doc->m_params.prescaler = 33;
        doc->SetComDevice(2, "/dev/pts/77");
    }
    store.reset(); // flush the INI file
    store = std::make_unique<QtSettingsStore>(QString::fromStdString(dir.File("profile.ini")));
    EXPECT_EQ(store->GetInt("uart", "com", -1), 2);
    EXPECT_EQ(store->GetString("uart", "com3dev", ""), "/dev/pts/77");
    auto doc = MakeDoc();
    EXPECT_EQ(doc->m_dbName, "/data/install.db");
    EXPECT_EQ(doc->m_dbEnergy, "/data/energy.db");
    EXPECT_EQ(doc->m_downloadPath, "/data/down");
    EXPECT_EQ(doc->m_dataPath, "/data/up");
    EXPECT_EQ(doc->GetBaudRate(), 9600);
    EXPECT_EQ(doc->GetPortNumber(), 3);
    EXPECT_EQ(doc->m_parity, 1);
    EXPECT_EQ(doc->m_params.prescaler, 33);
    EXPECT_EQ(doc->ComDevice(2), "/dev/pts/77");
    EXPECT_EQ(SerialPort::DevicePath(3), "/dev/pts/77");
    EXPECT_EQ(doc->ComDevice(0), SerialPort::DefaultDevicePath(1));
}

// Settings saved on a full disk (a file-size limit in a child process): the user is told, and
// the profile written before is the one that stays, byte for byte.
TEST_F(DocTest, SettingsThatCannotBeSavedAreReportedAndTheEarlierProfileStays)
{
    {
        auto doc = MakeDoc();
        doc->m_dataPath = "/data/up";
    }
    store.reset();
    const std::string ini = dir.File("profile.ini");
    std::ifstream in(ini, std::ios::binary);
    const std::string before{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_NE(before.find("/data/up"), std::string::npos);

    const test::ChildOutcome child = test::RunInChild({.fileSizeLimit = 200}, [&] {
        store = std::make_unique<QtSettingsStore>(QString::fromStdString(ini));
        {
            auto doc = MakeDoc();
            doc->m_dataPath = "/data/elsewhere";
        }
        std::string shown;
        for (const auto& m : prompter.messages)
            shown += m.caption + ": " + m.text + "\n";
        return shown;
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.output, "Error: The settings could not be saved to " + ini +
                                ": the disk may be full or the file not writable. The settings "
                                "saved before are kept.\n");
    std::ifstream again(ini, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), std::istreambuf_iterator<char>()),
              before);
}

// A profile damaged or written by something else: indexes out of range, binary values of the
// wrong length, texts where numbers belong. Every such key gives its default; nothing is read
// outside a table (the sanitizers watch), and the port, rate and parameters are the defaults.
TEST_F(DocTest, AHostileProfileGivesTheDefaultsForItsDamagedKeys)
{
    store.reset();
    {
        std::ofstream ini(dir.File("profile.ini"), std::ios::trunc);
        ini << "[uart]\ncom=-1\nbaudrate=99\nparity=7\n"
               "[meter]\ntarifnum=300\nprescaler=abc\nwpulse=1e9\nconstindex=5\n"
               "save_dayhour=65535\nshow=0x\npassword=\n"
               "tarif=@ByteArray(\\x1\\x2)\n"
               "tarif1=@ByteArray(123456789012345678901234567890)\n"
               "[comm]\nm_baudrate_new=@ByteArray(\\x1)\n";
    }
    store = std::make_unique<QtSettingsStore>(QString::fromStdString(dir.File("profile.ini")));
    auto doc = MakeDoc();
    EXPECT_EQ(doc->m_comIndex, 0);
    EXPECT_EQ(doc->GetPortNumber(), 1);
    EXPECT_EQ(doc->m_baudIndex, 1);
    EXPECT_EQ(doc->GetBaudRate(), 1200);
    EXPECT_EQ(doc->m_parity, 2);
    EXPECT_EQ(doc->m_params, DataFileParameters{});

    // Values within their ranges are taken as they are.
    store->PutInt("uart", "com", 3);
    store->PutInt("uart", "baudrate", 8);
    store->PutInt("uart", "parity", 4);
    store->PutInt("meter", "tarifnum", 1);
    store->PutInt("meter", "prescaler", 100);
    store->PutInt("meter", "save_dayhour", 0x2823);
    doc->LoadSettings();
    EXPECT_EQ(doc->GetPortNumber(), 4);
    EXPECT_EQ(doc->GetBaudRate(), 115200);
    EXPECT_EQ(doc->m_parity, 4);
    EXPECT_EQ(doc->m_params.periodCount, 1);
    EXPECT_EQ(doc->m_params.prescaler, 100);
    EXPECT_EQ(doc->m_params.resetDay, 0x2823);
    EXPECT_EQ(doc->m_params.resetHour, 23);
}

TEST_F(DocTest, OpenDatabaseLoadsHhusAndBlocksWithTheLargestIds)
{
    const auto path = DemoDatabase();
    auto doc = MakeDoc();
    doc->m_dbName = path;
    int refresh = -1;
    QObject::connect(doc.get(), &CMrvDoc::RefreshLists, [&](int code) { refresh = code; });
    prompter.choices = {path};
    ASSERT_EQ(doc->OnOpenDatabase(), 1);
    ASSERT_EQ(prompter.choosers.size(), 1u);
    EXPECT_EQ(prompter.choosers[0].filter, "database(.db)|*.db *.sqlite *.mdb *.accdb|access database(.mdb)|*.mdb *.accdb");
    EXPECT_EQ(prompter.choosers[0].defaultExt, ".db");
    EXPECT_EQ(prompter.choosers[0].startDir, path);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(refresh, 2);
    std::int32_t hhus = 0, blocks = 0, meters = -1;
    EXPECT_NE(doc->GetHhus(&hhus), nullptr);
    EXPECT_NE(doc->GetBlocks(&blocks), nullptr);
    EXPECT_EQ(doc->GetMeters(&meters), nullptr);
    EXPECT_EQ(hhus, 3);
    EXPECT_EQ(blocks, 3);
    EXPECT_EQ(meters, 0);
    EXPECT_EQ(doc->m_maxHhuId, 12);
    EXPECT_EQ(doc->m_maxBlockId, 41);
    EXPECT_EQ(doc->IsDatabaseOpen(), 1);
    EXPECT_FALSE(doc->CanOpenDatabase());

    // Meters of one Block, then of all.
    EXPECT_EQ(doc->LoadTables(CMrvDoc::TableMeters, 41), 1);
    EXPECT_EQ(doc->Meters().size(), 2u);
    EXPECT_EQ(doc->LoadTables(CMrvDoc::TableMeters, 0), 1);
    EXPECT_EQ(doc->Meters().size(), 5u);

    bool reset = false;
    QObject::connect(doc.get(), &CMrvDoc::ResetDisplay, [&] { reset = true; });
    doc->SetViewMode(CMrvDoc::ModeHhu);
    doc->OnCloseDatabase();
    EXPECT_TRUE(reset);
    EXPECT_EQ(doc->IsDatabaseOpen(), 0);
    EXPECT_EQ(doc->GetViewMode(), 0);
    EXPECT_EQ(doc->GetHhus(), nullptr);
}

TEST_F(DocTest, EmptyTablesGiveZeroLargestIds)
{
    const auto path = dir.File("empty.db");
    ASSERT_EQ(CreateInstallationSchema(path, prompter), 1);
    auto doc = MakeDoc();
    doc->m_maxHhuId = 9;
    prompter.choices = {path};
    ASSERT_EQ(doc->OnOpenDatabase(), 1);
    EXPECT_EQ(doc->m_maxHhuId, 0);
    EXPECT_EQ(doc->m_maxBlockId, 0);
    EXPECT_FALSE(doc->CanCreateDownloadFile());
}

TEST_F(DocTest, FileThatIsNotADatabaseIsReportedOnceAndNothingChanges)
{
    const auto path = dir.File("notes.db");
    std::ofstream(path) << "this is a text file and certainly not a database, "
                           "long enough to fill a page header of an sqlite file.........";
    auto doc = MakeDoc();
    doc->m_dbName = "/previous.db";
    prompter.choices = {path};
    EXPECT_EQ(doc->OnOpenDatabase(), 0);
    // Said once, with the file, rather than by each layer it fails in.
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text,
              "Can't Open This Database!\n" + path + " is not a database file.");
    EXPECT_EQ(prompter.messages[0].caption, "error");
    EXPECT_EQ(prompter.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(doc->m_dbName, "/previous.db");
    EXPECT_EQ(doc->IsDatabaseOpen(), 0);
}

TEST_F(DocTest, MissingDatabaseIsCreatedOnlyWhenTheUserAgrees)
{
    const auto path = dir.File("new.db");
    auto doc = MakeDoc();
    prompter.choices = {path};
    prompter.answers = {MsgAnswer::No};
    EXPECT_EQ(doc->OnOpenDatabase(), 0);
    EXPECT_FALSE(std::filesystem::exists(path));

    prompter.choices = {path};
    prompter.answers = {MsgAnswer::Yes};
    EXPECT_EQ(doc->OnOpenDatabase(), 1);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(doc->m_dbName, path);
    EXPECT_EQ(doc->Hhus().size(), 0u);
}

TEST_F(DocTest, TestDatabaseIsCreatedBesideTheProgramAndOpenedOnce)
{
    std::filesystem::create_directory(dir.File("bin"));
    auto doc = MakeDoc();
    EXPECT_EQ(doc->OpenTestDatabase(), 1);
    EXPECT_TRUE(std::filesystem::exists(dir.File("bin/testmeter.db")));
    EXPECT_EQ(doc->OpenTestDatabase(), 1);
    EXPECT_EQ(doc->GetDatabase().SaveTest({"0011", "ok", "", "", "", "", "", ""}), 1);
    doc->CloseTestDatabase();
    EXPECT_EQ(doc->m_testDbOpen, 0);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(DocTest, ConvertDataFileStartsInTheUploadFolderAndReportsFailure)
{
    auto doc = MakeDoc();
    doc->m_dataPath = dir.File("up");
    prompter.choices = {std::nullopt};
    EXPECT_EQ(doc->OnConvertDataFile(), 0); // cancelled: no message
    EXPECT_TRUE(prompter.messages.empty());
    ASSERT_EQ(prompter.choosers.size(), 1u);
    EXPECT_EQ(prompter.choosers[0].kind, "open");
    EXPECT_EQ(prompter.choosers[0].filter, "data file(.dbf)|*.dbf");
    EXPECT_EQ(prompter.choosers[0].startDir, dir.File("up"));

    prompter.choices = {dir.File("up/0001.dbf")}; // not there
    EXPECT_EQ(doc->OnConvertDataFile(), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    // convert.cfg is not beside this program: the reason follows the failure.
    EXPECT_EQ(prompter.messages[0].text, "File Convertion Fail!\nCan't read " +
                                             dir.File("bin/convert.cfg") + ": " +
                                             std::strerror(ENOENT) + ".");
    EXPECT_EQ(prompter.messages[0].caption, "error");
}

TEST_F(DocTest, OpenPortConfiguresTheMappedDeviceAndReportsFailure)
{
    test::PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    auto doc = MakeDoc();
    doc->SetComDevice(1, pty.SlavePath());
    doc->m_comIndex = 1;
    doc->m_parity = 1;
    ASSERT_EQ(doc->OpenPort(4800), 1);
    termios t{};
    ASSERT_EQ(tcgetattr(pty.SlaveFd(), &t), 0);
    // The pseudo-terminal driver drops PARENB but keeps PARODD: odd parity shows there.
    EXPECT_TRUE(t.c_cflag & PARODD);
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    doc->ClosePort();
    EXPECT_EQ(SerialPort::IsClosed(2), 1);

    // The status bar learns why before the message shows.
    QStringList refusals;
    QObject::connect(doc.get(), &CMrvDoc::PortRefused, [&](const QString& why) {
        EXPECT_TRUE(prompter.messages.empty());
        refusals << why;
    });
    const std::string missing = dir.File("no-such-device");
    doc->SetComDevice(1, missing);
    EXPECT_EQ(doc->OpenPort(1200), 0);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Can't open this port!");
    EXPECT_EQ(prompter.messages[0].caption, "Error");
    ASSERT_EQ(refusals.size(), 1);
    EXPECT_TRUE(refusals[0].startsWith(
        QString::fromStdString("Can't open " + missing + ". There is no device " + missing + ".")))
        << refusals[0].toStdString();
}

TEST_F(DocTest, MeterValuesCarryTheCurrentParameters)
{
    auto doc = MakeDoc();
    doc->m_params.prescaler = 42;
    doc->m_params.resetDay = 0x1508;
    doc->m_params.dayTable[0] = {2, 30, 7};
    doc->m_values.carrierAddress = 0x1234;
    const MeterDocument& md = *doc;
    EXPECT_EQ(md.GetMeterValues().prescaler, 42);
    EXPECT_EQ(md.GetMeterValues().resetDay, 0x1508);
    EXPECT_EQ(md.GetMeterValues().dayTable[0], (std::array<std::uint8_t, 3>{2, 30, 7}));
    EXPECT_EQ(md.GetMeterValues().carrierAddress, 0x1234);
    EXPECT_EQ(md.GetLinkSettings().sendDelay, 40u);
}

} // namespace
} // namespace mrv
