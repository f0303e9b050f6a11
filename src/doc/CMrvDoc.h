#pragma once
// The one document: all shared state and settings of the program (paths, serial-port choice,
// data-file parameters, link settings and write values, the data-file object, the database
// and the tables last loaded from it). Dialogs and the view reach everything through it.
// Qt Core only: the widgets that show or edit this state live in src/ui and talk to it
// through its fields, operations and signals.
#include "base/Clock.h"
#include "base/Prompter.h"
#include "base/Records.h"
#include "base/SettingsStore.h"
#include "datafile/DataFileParameters.h"
#include "doc/AccessOpen.h"
#include "doc/EnergyImport.h"
#include "doc/ProgramFiles.h"
#include "doc/ServerDatabaseForm.h"
#include "link/MeterDocument.h"
#include "link/MeterValues.h"
#include "link/SerialPort.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace mrv {

class HhuDataFile;
class MeterDatabase;

class CMrvDoc : public QObject, public MeterDocument {
    Q_OBJECT
public:
    static constexpr std::array<int, 9> kBaudRates{600,   1200,  2400,  4800,  9600,
                                                   19200, 38400, 57600, 115200};
    // What the view shows (m_viewMode).
    enum ViewMode { ModeNone = 0, ModeHhu = 1, ModeBlock = 2, ModeDataFile = 3 };
    // LoadTables flags.
    enum TableFlag { TableHhus = 1, TableBlocks = 2, TableMeters = 4 };

    // `programPath` is the running program's file; its folder is m_moduleDir (empty when the
    // path has no folder part). `store` and `prompter` must outlive the document.
    CMrvDoc(SettingsStore& store, Prompter& prompter, const std::string& programPath);
    // Frees the tables, closes the databases and writes every setting back.
    ~CMrvDoc() override;
    CMrvDoc(const CMrvDoc&) = delete;
    CMrvDoc& operator=(const CMrvDoc&) = delete;

    // Profile sections "meter", "file" and "uart" (with com1dev..com4dev, applied to the
    // serial port module's device table).
    void LoadSettings();
    // Writes them and flushes the store; false after telling the user that it failed.
    bool SaveSettings();

    // Opens the database with m_connect when it is not open, then reloads the tables named
    // by `flags` (meters of `blockId`, all when 0 or less). 1, or 0 when it cannot be opened.
    int LoadTables(int flags, std::int32_t blockId = 0);
    // Releases the arrays, closes the main database and clears m_dbOpen.
    void FreeTables();

    MeterDatabase& GetDatabase() { return *m_db; }
    HhuDataFile& GetDataFile() { return *m_dataFile; }
    int IsDatabaseOpen() const { return m_dbOpen; }
    // The array (null when not loaded), its count through `count` when given.
    const HhuRecord* GetHhus(std::int32_t* count = nullptr) const;
    const BlockRecord* GetBlocks(std::int32_t* count = nullptr) const;
    const MeterRecord* GetMeters(std::int32_t* count = nullptr) const;
    const HhuList& Hhus() const { return m_hhus; }
    const BlockList& Blocks() const { return m_blocks; }
    const MeterList& Meters() const { return m_meters; }
    // Row `index` of a loaded table as an editing command has just written it to the database
    // (an index beyond the table is ignored).
    void ReplaceHhu(std::size_t index, const HhuRecord& hhu);
    void ReplaceBlock(std::size_t index, const BlockRecord& block);
    void ReplaceMeter(std::size_t index, const MeterRecord& meter);
    void SetViewMode(std::int32_t mode) { m_viewMode = mode; }
    std::int32_t GetViewMode() const { return m_viewMode; }
    void SetDataChanged(std::int32_t changed) { m_dataChanged = changed; }
    std::int32_t GetDataChanged() const { return m_dataChanged; }

    // Opens and configures the current COM port for the meter link: 8 data bits, m_parity,
    // one stop bit, no handshake. 1, or 0 after "Can't open this port!" (a device that cannot
    // be opened is explained through PortRefused first).
    int OpenPort(int baudRate);
    // COM<port> could not be opened: emits PortRefused with the device, the system's reason
    // and what to do.
    void ExplainPortRefusal(int port);
    void ClosePort();
    // The line settings OpenPort configures for `baudRate`.
    PortSettings LinkPortSettings(int baudRate) const;
    int GetBaudRate() const;
    // The rate of a baud-rate index; the default rate for an index outside the table.
    static int BaudRateOf(int baudIndex);
    int GetPortNumber() const { return m_comIndex + 1; }

    // The test database: "testmeter.db" of the program's own files (beside the program, or in
    // the user's data folder when it is installed), or the server database the profile names
    // ("file"/"dbtest"); created with its table when missing; opened once, 1 or 0.
    int OpenTestDatabase();
    void CloseTestDatabase();
    std::string TestDatabasePath() const;
    // Where the program's own files are: beside it, or for an installed program in the
    // user's data folder and the shipped folder.
    ProgramFiles Files() const;

    // Commands. Open Database: choose a file (offering to create a new installation
    // database when it does not exist), open it and load HHUs and Blocks. 1 when opened.
    int OnOpenDatabase();
    // What Open Database does with the file once chosen (a database given on the command
    // line or picked from the recent list opens the same way). 1 when opened.
    int OpenDatabaseFile(const std::string& path);
    // Open Server Database: the database on a PostgreSQL server that the form names. A
    // database without the installation tables is offered them. On success m_dbName holds
    // its connection string (never a password). 1 when opened.
    int OnOpenServerDatabase(const ServerDatabaseFields& fields);
    // The same for a server connection string as it is ("postgresql://..."). 1 when opened.
    int OpenServerDatabase(const std::string& connect);
    void OnCloseDatabase();
    // Open data file: choose an uploaded data file (in m_dataPath) and load it. 1 loaded; 0
    // cancelled, or refused with "Not Correct Data File!" while the file loaded before stays.
    int OnOpenDataFile();
    // Loads the data file `path` as Open does once the file is chosen. 1 loaded.
    int OpenDataFile(const std::string& path);
    // Closes the loaded data file.
    void CloseDataFile();
    // Convert Data File: choose an uploaded data file and write convert.dbf in the current
    // folder under the program's convert.cfg (Files().ConvertConfig()). 1 when written.
    int OnConvertDataFile();
    // Input: the readings of the loaded data file into the energy database, which is chosen
    // (and created with its table when new) the first time and then stays open. The number of
    // rows stored; 0 also when no energy database was opened.
    int OnInput();
    // The energy database, opened once; 1, or 0 when the user cancelled or it cannot be opened.
    int OpenEnergyDatabase();
    // Data > Energy Database...: chooses (or changes) the energy database at any time; the
    // one open before stays when the new one cannot be opened. 1 when opened.
    int OnChooseEnergyDatabase();
    // What Input passes to the import: the loaded file to remember, the database's name.
    ImportOptions InputOptions() const;
    // Input's work, on the thread that calls it (a job's worker): a connection of its own to
    // the energy database chosen, the loaded file's readings into it. The database's own
    // words about a failure are shown together with the import's result or question, so a
    // lost server gives one message that says what happened and what was stored.
    ImportResult InputOnThisThread(Prompter& prompter, const ImportOptions& options);
    // Enabling rules of the commands that depend on state; the rest are always enabled.
    bool CanOpenDatabase() const { return m_dbOpen == 0; }
    bool CanCloseDatabase() const { return m_dbOpen != 0; }
    bool CanCreateDownloadFile() const { return !m_hhus.empty(); }

    // Takes what the Data File Setting sheet edited and applies its OK rules.
    void ApplyParameterSheet(const DataFileParameters& params, const MeterValues& values,
                             std::uint32_t sendDelay);

    // Device path behind COM1..COM4 (index 0..3); also set in the serial port module.
    std::string ComDevice(int index) const;
    void SetComDevice(int index, const std::string& path);

    // MeterDocument: what every meter transaction reads.
    LinkSettings GetLinkSettings() const override { return m_link; }
    const MeterValues& GetMeterValues() const override;

    Prompter& GetPrompter() { return m_prompter; }
    // The PC time of upload month folders and of readings stored into data files.
    const Clock& GetClock() const { return *m_clock; }
    void SetClock(const Clock& clock);
    SettingsStore& GetSettings() { return m_store; }

    // Fields (the settings, the state the dialogs edit).
    std::string m_moduleDir;
    std::string m_systemDir;
    std::string m_dbName;
    std::string m_connect;
    std::string m_dbEnergy;
    std::string m_dbTest; // empty: the file beside the program
    std::string m_downloadPath;
    std::string m_dataPath;
    std::int32_t m_baudIndex = 1;
    std::int32_t m_comIndex = 0;
    std::int32_t m_parity = 2;
    std::int32_t m_maxHhuId = 0;
    std::int32_t m_maxBlockId = 0;
    DataFileParameters m_params;
    MeterValues m_values;
    LinkSettings m_link;
    std::int32_t m_dbOpen = 0;
    std::int32_t m_dataChanged = 0;
    std::int32_t m_energyDbOpen = 0;
    std::int32_t m_viewMode = ModeNone;
    std::string m_lastMeterId = "00";
    std::string m_lastMeterId2 = "00";
    std::string m_lastId2Prefix = "xx";
    std::int32_t m_lastMeterCount = 1;
    std::int32_t m_testDbOpen = 0;

signals:
    // Open Database succeeded: the view refreshes its lists (code 2: HHUs and Blocks).
    void RefreshLists(int code);
    // Close Database: the view clears its lists.
    void ResetDisplay();
    // LoadTables reloaded (or FreeTables released) the tables of `flags` (TableFlag bits); the
    // meters are those of Block `blockId` (all when 0 or less).
    void TablesReloaded(int flags, std::int32_t blockId);
    // A data file was loaded in place of the one before, or the loaded file was closed.
    void DataFileChanged();
    // A long database call starts (true) or ends (false): the UI shows the wait cursor.
    void Busy(bool busy);
    // The port's device could not be opened: the device, the system's reason and what to do
    // (for permission, the group to be in), in one line for the status bar.
    void PortRefused(const QString& why);

private:
    // Opens the installation database `connect` and loads HHUs and Blocks; on success the
    // profile remembers it as `name` and the view refreshes. 1, or 0 after the message.
    int OpenInstallation(const std::string& connect, const std::string& name);
    // The chooser of a database file (an existing one or a new name), starting at the
    // remembered one; none when cancelled.
    // What converting an Access file needs from the document.
    AccessOpenContext AccessContext(const std::string& title);
    std::optional<std::string> ChooseDatabaseFile(const std::string& title,
                                                  const std::string& remembered);
    // The chooser of an uploaded data file, starting in m_dataPath; none when cancelled.
    std::optional<std::string> ChooseDataFile(const std::string& title);

    SettingsStore& m_store;
    Prompter& m_prompter;
    const Clock* m_clock = &SystemClock::Instance();
    std::array<std::string, 4> m_comDevices;
    std::unique_ptr<HhuDataFile> m_dataFile;
    std::unique_ptr<MeterDatabase> m_db;
    HhuList m_hhus;
    BlockList m_blocks;
    MeterList m_meters;
    mutable MeterValues m_valuesOut; // m_values with the current data-file parameters
};

} // namespace mrv
