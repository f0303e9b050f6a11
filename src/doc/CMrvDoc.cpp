#include "doc/CMrvDoc.h"

#include "datafile/DataFileConvert.h"
#include "datafile/HhuDataFile.h"
#include "db/DatabaseBackend.h"
#include "db/MeterDatabase.h"
#include "db/Schema.h"
#include "doc/DataFileTexts.h"
#include "doc/EnergyImport.h"
#include "doc/ParameterForm.h"
#include "doc/ParameterRules.h"
#include "doc/PhraseText.h"
#include "link/LineCheck.h"
#include "link/SerialPort.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace mrv {

namespace {

// The current folder at this moment, or the root when it cannot be had.
std::string CurrentFolder()
{
    std::error_code ec;
    auto path = std::filesystem::current_path(ec);
    if (ec || path.empty())
        return "/";
    return path.string();
}

// The profile as LoadSettings reads it: a number outside what its setting can be (a baud-rate
// index of 99, a port index of -1, 300 tariff periods) is damage, not a choice, and would
// index past a table or reach a meter; its default is used instead. The ranges of the values
// the Data File Setting sheet edits are the sheet's own.
class CheckedProfile final : public SettingsStore {
public:
    explicit CheckedProfile(SettingsStore& store) : m_store(store) {}

    int GetInt(const std::string& section, const std::string& key, int def) override
    {
        const int value = m_store.GetInt(section, key, def);
        for (const Range& r : Ranges())
            if (section == r.section && key == r.key && (value < r.min || value > r.max))
                return def;
        return value;
    }
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) override
    {
        return m_store.GetString(section, key, def);
    }
    std::optional<std::vector<std::uint8_t>> GetBinary(const std::string& section,
                                                       const std::string& key) override
    {
        return m_store.GetBinary(section, key);
    }
    void PutInt(const std::string& section, const std::string& key, int value) override
    {
        m_store.PutInt(section, key, value);
    }
    void PutString(const std::string& section, const std::string& key,
                   const std::string& value) override
    {
        m_store.PutString(section, key, value);
    }
    void PutBinary(const std::string& section, const std::string& key,
                   const std::vector<std::uint8_t>& value) override
    {
        m_store.PutBinary(section, key, value);
    }
    bool Contains(const std::string& section, const std::string& key) override
    {
        return m_store.Contains(section, key);
    }

private:
    struct Range {
        std::string section;
        std::string key;
        long long min;
        long long max;
    };

    static const std::vector<Range>& Ranges()
    {
        static const std::vector<Range> ranges = [] {
            auto sheet = [](const char* key, const char* field) {
                const SheetField* f = FindSheetField(field);
                return Range{"meter", key, f->min, f->max};
            };
            return std::vector<Range>{
                sheet("tarifnum", "periodCount"),
                sheet("prescaler", "prescaler"),
                sheet("wpulse", "pulseWidth"),
                {"meter", "constindex", 0, 1}, // imp/kWh or W/imp
                {"uart", "com", 0, 3},         // COM1..COM4
                {"uart", "baudrate", 0, static_cast<long long>(CMrvDoc::kBaudRates.size()) - 1},
                {"uart", "parity", 0, 4}, // none, odd, even, mark, space
            };
        }();
        return ranges;
    }

    SettingsStore& m_store;
};

// The reset date holds BCD day and hour; one that is no date the sheet could enter is damage.
void CheckResetDate(DataFileParameters& params)
{
    const auto bcd = [](int b) { return (b & 0x0F) <= 9 && ((b >> 4) & 0x0F) <= 9; };
    SheetValues values;
    values.params = params;
    bool ok = bcd(params.resetDay & 0xFF) && bcd((params.resetDay >> 8) & 0xFF);
    for (const char* name : {"resetDay", "resetHour"}) {
        const SheetField* f = FindSheetField(name);
        const long long v = f->get(values, 0);
        ok = ok && v >= f->min && v <= f->max;
    }
    if (!ok) {
        const DataFileParameters defaults;
        params.resetDay = defaults.resetDay;
        params.resetHour = defaults.resetHour;
    }
}

} // namespace

CMrvDoc::CMrvDoc(SettingsStore& store, Prompter& prompter, const std::string& programPath)
    : m_store(store), m_prompter(prompter), m_dataFile(std::make_unique<HhuDataFile>()),
      m_db(std::make_unique<MeterDatabase>(prompter))
{
    const auto slash = programPath.rfind('/');
    m_moduleDir = slash == std::string::npos ? std::string() : programPath.substr(0, slash);
    // The transfer program lies beside this one unless the profile names another folder.
    m_systemDir = m_moduleDir;
    for (int i = 0; i < 4; ++i)
        m_comDevices[std::size_t(i)] = SerialPort::DefaultDevicePath(i + 1);
}

CMrvDoc::~CMrvDoc()
{
    FreeTables();
    CloseTestDatabase();
    SaveSettings();
}

void CMrvDoc::LoadSettings()
{
    CheckedProfile profile(m_store);
    m_params = LoadDataFileParameters(profile);
    CheckResetDate(m_params);

    m_dbName = m_store.GetString("file", "dbname", "");
    m_dbEnergy = m_store.GetString("file", "dbenergy", "");
    m_dbTest = m_store.GetString("file", "dbtest", "");
    const std::string here = CurrentFolder();
    m_dataPath = m_store.GetString("file", "datapath", here);
    m_downloadPath = m_store.GetString("file", "downloadpath", here);
    m_systemDir = m_store.GetString("file", "systemdir", m_moduleDir);

    m_comIndex = profile.GetInt("uart", "com", 0);
    m_baudIndex = profile.GetInt("uart", "baudrate", 1);
    m_parity = profile.GetInt("uart", "parity", 2);
    for (int i = 0; i < 4; ++i) {
        const std::string key = "com" + std::to_string(i + 1) + "dev";
        SetComDevice(i, m_store.GetString("uart", key, SerialPort::DefaultDevicePath(i + 1)));
    }
}

bool CMrvDoc::SaveSettings()
{
    SaveDataFileParameters(m_store, m_params);

    // A server's name goes in without a password, whoever put one into it.
    m_store.PutString("file", "dbname", RememberedDatabaseName(m_dbName));
    m_store.PutString("file", "dbenergy", RememberedDatabaseName(m_dbEnergy));
    m_store.PutString("file", "dbtest", RememberedDatabaseName(m_dbTest));
    m_store.PutString("file", "datapath", m_dataPath);
    m_store.PutString("file", "downloadpath", m_downloadPath);
    m_store.PutString("file", "systemdir", m_systemDir);

    m_store.PutInt("uart", "com", m_comIndex);
    m_store.PutInt("uart", "baudrate", m_baudIndex);
    m_store.PutInt("uart", "parity", m_parity);
    for (int i = 0; i < 4; ++i)
        m_store.PutString("uart", "com" + std::to_string(i + 1) + "dev",
                          m_comDevices[std::size_t(i)]);
    if (!m_store.Flush()) {
        const std::string where = m_store.Location();
        const QString text =
            where.empty()
                ? tr("The settings could not be saved: the disk may be full or the file not "
                     "writable. The settings saved before are kept.")
                : tr("The settings could not be saved to %1: the disk may be full or the file "
                     "not writable. The settings saved before are kept.")
                      .arg(QString::fromStdString(where));
        m_prompter.Message(text.toStdString(), tr("Error").toStdString(), MsgIcon::Warning);
        return false;
    }
    return true;
}

std::string CMrvDoc::ComDevice(int index) const
{
    if (index < 0 || index > 3)
        return {};
    return m_comDevices[std::size_t(index)];
}

void CMrvDoc::SetComDevice(int index, const std::string& path)
{
    if (index < 0 || index > 3)
        return;
    SerialPort::SetDevicePath(index + 1, path);
    // The module turns an empty path into the default; keep what it will open.
    m_comDevices[std::size_t(index)] = SerialPort::DevicePath(index + 1);
}

int CMrvDoc::LoadTables(int flags, std::int32_t blockId)
{
    if (m_dbOpen == 0) {
        if (m_db->OpenMain(m_connect, "Admin", "") == 0)
            return 0; // the database layer has said why
        m_dbOpen = 1;
    }
    if (flags & TableHhus) {
        m_hhus.clear();
        m_maxHhuId = 0;
        m_db->LoadHhus(&m_hhus);
        for (const auto& h : m_hhus)
            m_maxHhuId = std::max(m_maxHhuId, h.land_id);
    }
    if (flags & TableBlocks) {
        m_blocks.clear();
        m_maxBlockId = 0;
        m_db->LoadBlocks(0, &m_blocks);
        for (const auto& b : m_blocks)
            m_maxBlockId = std::max(m_maxBlockId, b.district_id);
    }
    if (flags & TableMeters) {
        m_meters.clear();
        m_db->LoadMeters(blockId, &m_meters);
    }
    if (flags & (TableHhus | TableBlocks | TableMeters))
        emit TablesReloaded(flags & (TableHhus | TableBlocks | TableMeters), blockId);
    return 1;
}

void CMrvDoc::FreeTables()
{
    m_hhus.clear();
    m_blocks.clear();
    m_meters.clear();
    m_db->CloseMain();
    m_dbOpen = 0;
    emit TablesReloaded(TableHhus | TableBlocks | TableMeters, 0);
}

void CMrvDoc::ReplaceHhu(std::size_t index, const HhuRecord& hhu)
{
    if (index < m_hhus.size())
        m_hhus[index] = hhu;
}

void CMrvDoc::ReplaceBlock(std::size_t index, const BlockRecord& block)
{
    if (index < m_blocks.size())
        m_blocks[index] = block;
}

void CMrvDoc::ReplaceMeter(std::size_t index, const MeterRecord& meter)
{
    if (index < m_meters.size())
        m_meters[index] = meter;
}

const HhuRecord* CMrvDoc::GetHhus(std::int32_t* count) const
{
    if (count)
        *count = std::int32_t(m_hhus.size());
    return m_hhus.empty() ? nullptr : m_hhus.data();
}

const BlockRecord* CMrvDoc::GetBlocks(std::int32_t* count) const
{
    if (count)
        *count = std::int32_t(m_blocks.size());
    return m_blocks.empty() ? nullptr : m_blocks.data();
}

const MeterRecord* CMrvDoc::GetMeters(std::int32_t* count) const
{
    if (count)
        *count = std::int32_t(m_meters.size());
    return m_meters.empty() ? nullptr : m_meters.data();
}

int CMrvDoc::BaudRateOf(int baudIndex)
{
    if (baudIndex < 0 || baudIndex >= int(kBaudRates.size()))
        return kBaudRates[1]; // a damaged profile value: the default rate
    return kBaudRates[std::size_t(baudIndex)];
}

int CMrvDoc::GetBaudRate() const
{
    return BaudRateOf(m_baudIndex);
}

PortSettings CMrvDoc::LinkPortSettings(int baudRate) const
{
    PortSettings settings;
    settings.baudRate = std::uint32_t(baudRate);
    settings.dataBits = 8;
    settings.parity = std::uint8_t(m_parity);
    settings.stopBits = 0; // one
    settings.handshake = 0;
    return settings;
}

int CMrvDoc::OpenPort(int baudRate)
{
    SerialPort::ResetTable();
    const int port = GetPortNumber();
    if (SerialPort::Open(port, 0) < 0) {
        // Why, and what to do, stand on the status bar while the message is up.
        ExplainPortRefusal(port);
        m_prompter.Message(tr("Can't open this port!").toStdString(), tr("Error").toStdString(),
                           MsgIcon::Warning);
        return 0;
    }
    const PortSettings settings = LinkPortSettings(baudRate);
    if (SerialPort::Configure(port, settings) != 0) {
        SerialPort::Close(port);
        m_prompter.Message(tr("Can't open this port!").toStdString(), tr("Error").toStdString(),
                           MsgIcon::Warning);
        return 0;
    }
    return 1;
}

void CMrvDoc::ExplainPortRefusal(int port)
{
    const DeviceReport device = CheckDevice(SerialPort::DevicePath(port));
    emit PortRefused(Translated(RefusalPhrases(device)));
}

void CMrvDoc::ClosePort()
{
    SerialPort::Close(GetPortNumber());
}

ProgramFiles CMrvDoc::Files() const
{
    return ProgramFiles(m_moduleDir);
}

std::string CMrvDoc::TestDatabasePath() const
{
    return Files().TestDatabase();
}

int CMrvDoc::OpenTestDatabase()
{
    if (m_testDbOpen == 1)
        return 1;
    const std::string path = m_dbTest.empty() ? TestDatabasePath() : m_dbTest;
    // An installed program's first test makes the user's data folder; when that fails the
    // database's own message names the file that cannot be made.
    if (m_dbTest.empty())
        Files().MakeOwnDir();
    if (CreateTestSchema(path, m_prompter) == 0)
        return 0;
    // Test results kept in an Access testmeter.mdb before are offered for conversion once.
    if (m_store.GetInt("file", "accesstestoffered", 0) == 0 &&
        OfferAccessTestResults({m_moduleDir, ProgramFiles::UserDataDir()}, path,
                               AccessContext(tr("Meter Test").toStdString())))
        m_store.PutInt("file", "accesstestoffered", 1);
    if (m_db->OpenTest(ConnectStringFor(path), "Admin", "") != 0)
        m_testDbOpen = 1;
    return m_testDbOpen;
}

void CMrvDoc::CloseTestDatabase()
{
    if (m_testDbOpen)
        m_db->CloseTest();
    m_testDbOpen = 0;
}

AccessOpenContext CMrvDoc::AccessContext(const std::string& title)
{
    // "file"/"accesscodepage": the Windows code page in which Access 97 files hold their text.
    return {m_prompter, m_store.GetString("file", "accesscodepage", "GBK"),
            ProgramFiles::UserDataDir(), title, [this](bool busy) { emit Busy(busy); }};
}

std::optional<std::string> CMrvDoc::ChooseDatabaseFile(const std::string& title,
                                                       const std::string& remembered)
{
    // Start in the remembered database's folder with its name preset.
    const std::string start =
        remembered.empty() || IsServerConnect(remembered) ? std::string("./") : remembered;
    auto chosen = m_prompter.ChooseSaveFile(title, DatabaseFileFilter(), start, ".db");
    if (!chosen || chosen->empty())
        return std::nullopt;
    return chosen;
}

int CMrvDoc::OnOpenDatabase()
{
    if (!CanOpenDatabase())
        return 0;
    const auto chosen = ChooseDatabaseFile(tr("Open Database").toStdString(), m_dbName);
    if (!chosen)
        return 0;
    return OpenDatabaseFile(*chosen);
}

int CMrvDoc::OpenDatabaseFile(const std::string& path)
{
    if (!CanOpenDatabase())
        return 0;
    if (IsAccessFileName(path)) {
        const auto converted = OfferAccessConversion(
            path, AccessKind::Installation, AccessContext(tr("Open Database").toStdString()));
        return converted ? OpenInstallation(DatabaseConnectString(*converted), *converted) : 0;
    }
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        // Never create a database behind the user's back.
        const auto answer =
            m_prompter.Message(
                tr("This database does not exist.\nCreate a new, empty database?").toStdString(),
                tr("Open Database").toStdString(), MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgAnswer::Yes)
            return 0;
        if (CreateInstallationSchema(path, m_prompter) == 0)
            return 0;
    }
    const std::string connect = DatabaseConnectString(path);
    // A file that is no database at all is said once, not by each layer it fails in.
    const DatabaseTarget target = ParseDatabaseTarget(connect);
    if (target.backend && std::string_view(target.backend->qtDriver) == "QSQLITE" &&
        std::filesystem::file_size(path, ec) > 0 && !ec && !IsSqliteFile(path)) {
        m_prompter.Message(tr("Can't Open This Database!\n%1 is not a database file.")
                               .arg(QString::fromStdString(path))
                               .toStdString(),
                           tr("error").toStdString(), MsgIcon::Warning);
        return 0;
    }
    return OpenInstallation(connect, path);
}

int CMrvDoc::OpenInstallation(const std::string& connect, const std::string& name)
{
    m_connect = connect;
    emit Busy(true);
    const int ok = LoadTables(TableHhus | TableBlocks);
    emit Busy(false);
    if (!ok) {
        m_prompter.Message(tr("Can't Open This Database!").toStdString(),
                           tr("error").toStdString(), MsgIcon::Warning);
        return 0;
    }
    m_dbName = name;
    emit RefreshLists(2);
    return 1;
}

int CMrvDoc::OnOpenServerDatabase(const ServerDatabaseFields& fields)
{
    return OpenServerDatabase(fields.ConnectString());
}

int CMrvDoc::OpenServerDatabase(const std::string& connect)
{
    if (!CanOpenDatabase())
        return 0;
    emit Busy(true);
    const auto present = TablesPresent(connect, InstallationTables(), m_prompter);
    emit Busy(false);
    if (!present) {
        m_prompter.Message(tr("Can't Open This Database!").toStdString(),
                           tr("error").toStdString(), MsgIcon::Warning);
        return 0;
    }
    if (present->size() < InstallationTables().size()) {
        // An empty server database is what a new file is: never filled behind the user's back.
        const auto answer = m_prompter.Message(
            tr("This database lacks the installation tables.\nCreate them now?").toStdString(),
            tr("Open Server Database").toStdString(), MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgAnswer::Yes)
            return 0;
        if (CreateInstallationSchema(connect, m_prompter) == 0)
            return 0;
    }
    return OpenInstallation(connect, connect);
}

void CMrvDoc::OnCloseDatabase()
{
    FreeTables();
    m_viewMode = ModeNone;
    emit ResetDisplay();
}

std::optional<std::string> CMrvDoc::ChooseDataFile(const std::string& title)
{
    auto chosen = m_prompter.ChooseOpenFile(title, tr("data file(.dbf)").toStdString() + "|*.dbf",
                                            m_dataPath, ".dbf");
    if (!chosen || chosen->empty())
        return std::nullopt;
    return chosen;
}

int CMrvDoc::OnOpenDataFile()
{
    const auto chosen = ChooseDataFile(tr("Open", "title of the data file chooser").toStdString());
    if (!chosen)
        return 0;
    return OpenDataFile(*chosen);
}

int CMrvDoc::OpenDataFile(const std::string& path)
{
    emit Busy(true);
    const int ok = m_dataFile->Load(path);
    emit Busy(false);
    if (!ok) {
        m_prompter.Message(ShownDataFileRefusal(m_dataFile->LastLoadError()),
                           tr("error").toStdString(), MsgIcon::Warning);
        return 0;
    }
    emit DataFileChanged();
    return 1;
}

void CMrvDoc::CloseDataFile()
{
    m_dataFile->Close();
    emit DataFileChanged();
}

int CMrvDoc::OnConvertDataFile()
{
    const auto chosen = ChooseDataFile(tr("Convert Data File").toStdString());
    if (!chosen)
        return 0;
    emit Busy(true);
    const ConvertResult result = ConvertDataFile(*chosen, Files().ConvertConfig(), "convert.dbf");
    emit Busy(false);
    // The table goes into the working folder, which the user cannot see: the message names it.
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::current_path(ec);
    const std::string where =
        result.written && !ec
            ? "\n" +
                  tr("In the folder %1").arg(QString::fromStdString(folder.string())).toStdString()
            : "";
    m_prompter.Message(ShownConvertMessage(result) + where,
                       result.written ? "" : tr("error").toStdString(), MsgIcon::Warning);
    return result.written;
}

int CMrvDoc::OpenEnergyDatabase()
{
    if (m_energyDbOpen)
        return 1;
    return OnChooseEnergyDatabase();
}

int CMrvDoc::OnChooseEnergyDatabase()
{
    const std::string title = tr("Open Energy Database").toStdString();
    auto chosen = ChooseDatabaseFile(title, m_dbEnergy);
    if (chosen && IsAccessFileName(*chosen))
        chosen = OfferAccessConversion(*chosen, AccessKind::Energy,
                                       AccessContext(title));
    if (!chosen)
        return 0;
    // A new file gets the energy tables, and so does a database that lacks them.
    if (CreateEnergySchema(*chosen, m_prompter) == 0)
        return 0;
    // The one open until now stays open when the new one cannot be opened.
    MeterDatabase probe(m_prompter);
    if (probe.OpenEnergy(DatabaseConnectString(*chosen), "Admin", "") == 0)
        return 0;
    probe.CloseEnergy();
    m_db->CloseEnergy();
    if (m_db->OpenEnergy(DatabaseConnectString(*chosen), "Admin", "") == 0) {
        m_energyDbOpen = 0;
        return 0;
    }
    m_energyDbOpen = 1;
    m_dbEnergy = *chosen;
    return 1;
}

ImportOptions CMrvDoc::InputOptions() const
{
    ImportOptions options;
    options.file = DescribeImportedFile(m_dataFile->LoadedPath(), m_dataFile->GetReadings(),
                                        *m_clock);
    options.database = m_dbEnergy;
    return options;
}

namespace {

// Keeps the database's reports and puts them in front of the next thing the import shows.
class GatheredReports final : public Prompter {
public:
    explicit GatheredReports(Prompter& shown) : m_shown(shown) {}

    // The database's side: failures kept, questions (a password) passed on.
    class DatabaseSide final : public Prompter {
    public:
        explicit DatabaseSide(GatheredReports& owner) : m_owner(owner) {}
        MsgAnswer Message(const std::string& text, const std::string& caption, MsgIcon icon,
                          MsgButtons buttons) override
        {
            if (buttons != MsgButtons::Ok)
                return m_owner.m_shown.Message(text, caption, icon, buttons);
            m_owner.m_kept.push_back(text);
            return MsgAnswer::Ok;
        }
        std::optional<std::string> ChooseOpenFile(const std::string& a, const std::string& b,
                                                  const std::string& c,
                                                  const std::string& d) override
        {
            return m_owner.m_shown.ChooseOpenFile(a, b, c, d);
        }
        std::optional<std::string> ChooseSaveFile(const std::string& a, const std::string& b,
                                                  const std::string& c,
                                                  const std::string& d) override
        {
            return m_owner.m_shown.ChooseSaveFile(a, b, c, d);
        }
        std::optional<std::string> ChooseFolder(const std::string& a,
                                                const std::string& b) override
        {
            return m_owner.m_shown.ChooseFolder(a, b);
        }
        std::optional<std::string> AskPassword(const std::string& a,
                                               const std::string& b) override
        {
            return m_owner.m_shown.AskPassword(a, b);
        }

    private:
        GatheredReports& m_owner;
    };

    MsgAnswer Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons) override
    {
        std::string all;
        for (const std::string& k : m_kept)
            all += TrimBlanks(k) + "\n";
        m_kept.clear();
        return m_shown.Message(all + text, caption, icon, buttons);
    }
    std::optional<std::string> ChooseOpenFile(const std::string& a, const std::string& b,
                                              const std::string& c, const std::string& d) override
    {
        return m_shown.ChooseOpenFile(a, b, c, d);
    }
    std::optional<std::string> ChooseSaveFile(const std::string& a, const std::string& b,
                                              const std::string& c, const std::string& d) override
    {
        return m_shown.ChooseSaveFile(a, b, c, d);
    }
    std::optional<std::string> ChooseFolder(const std::string& a, const std::string& b) override
    {
        return m_shown.ChooseFolder(a, b);
    }
    std::optional<std::string> AskPassword(const std::string& a, const std::string& b) override
    {
        return m_shown.AskPassword(a, b);
    }
    // What is still kept when the import has ended without showing anything more.
    void Flush()
    {
        if (!m_kept.empty())
            Message(std::string{}, std::string{}, MsgIcon::Error, MsgButtons::Ok);
    }

private:
    Prompter& m_shown;
    std::vector<std::string> m_kept;
};

} // namespace

ImportResult CMrvDoc::InputOnThisThread(Prompter& prompter, const ImportOptions& options)
{
    GatheredReports gathered(prompter);
    GatheredReports::DatabaseSide databaseSide(gathered);
    ImportResult result;
    {
        MeterDatabase db(databaseSide);
        if (db.OpenEnergy(ConnectStringFor(m_dbEnergy), "Admin", ""))
            result = ImportDataFile(m_dataFile->GetReadings(), db, gathered, options);
        else
            result.refused = true;
    }
    gathered.Flush();
    return result;
}

int CMrvDoc::OnInput()
{
    if (!OpenEnergyDatabase())
        return 0;
    return InputOnThisThread(m_prompter, InputOptions()).stored;
}

void CMrvDoc::SetClock(const Clock& clock)
{
    m_clock = &clock;
    m_dataFile->SetClock(&clock);
}

void CMrvDoc::ApplyParameterSheet(const DataFileParameters& params, const MeterValues& values,
                                  std::uint32_t sendDelay)
{
    m_params = params;
    ApplyParameterRules(m_params);
    m_values = values;
    m_link.sendDelay = sendDelay;
}

const MeterValues& CMrvDoc::GetMeterValues() const
{
    // The write operations send these data-file parameters too; hand them the current ones.
    m_valuesOut = m_values;
    m_valuesOut.protectionFlag = m_params.protectionFlag;
    m_valuesOut.prescaler = m_params.prescaler;
    m_valuesOut.pulseWidth = m_params.pulseWidth;
    m_valuesOut.resetDay = m_params.resetDay;
    m_valuesOut.dayTable = m_params.dayTable;
    m_valuesOut.yearTable = m_params.yearTable;
    return m_valuesOut;
}

} // namespace mrv
