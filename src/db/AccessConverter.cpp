#include "db/AccessConverter.h"

#include "base/GbkText.h"
#include "base/Records.h"
#include "db/DatabaseBackend.h"
#include "db/RecordSetWrapper.h"
#include "db/Schema.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <mdbtools.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <system_error>
#include <variant>

#include <fcntl.h>
#include <locale.h>
#include <iconv.h>
#include <unistd.h>

namespace mrv {

namespace {

// Ids run from 1 to 9999 (0 means "none" to the lists), and a Block constant is kept from
// 0x100 up to below 0x100000, as the HHU, Block and meter dialogs take them.
constexpr long long kMaxId = 9999;
constexpr long long kMinConstant = 0x100;
constexpr long long kConstantLimit = 0x100000;

enum class ValueType { Id, Constant, Text, Real };

struct ColumnRule {
    const char* name;
    ValueType type;
    std::size_t width = 0; // texts: the most GBK bytes
    bool unique = false;   // a key: a value may appear once
};

struct TableRule {
    const char* name;
    std::vector<ColumnRule> columns;
};

const std::vector<TableRule>& InstallationRules()
{
    static const std::vector<TableRule> rules{
        {"land",
         {{"land_id", ValueType::Id, 0, true},
          {"description", ValueType::Text, HhuRecord::kDescriptionWidth}}},
        {"district",
         {{"district_id", ValueType::Id, 0, true},
          {"district_name", ValueType::Text, BlockRecord::kNameWidth},
          {"land_id", ValueType::Id},
          {"district_para", ValueType::Constant}}},
        {"meter",
         {{"meter_num", ValueType::Text, MeterRecord::kNumWidth},
          {"property_num", ValueType::Text, MeterRecord::kNumWidth},
          {"meter_address", ValueType::Text, MeterRecord::kAddressWidth},
          {"district_id", ValueType::Id}}},
    };
    return rules;
}

const std::vector<TableRule>& EnergyRules()
{
    static const std::vector<TableRule> rules{
        {"energy",
         {{"datestr", ValueType::Text, EnergyRecord::kDateWidth},
          {"meter_num", ValueType::Text, EnergyRecord::kMeterNumWidth},
          {"dbk0", ValueType::Real},
          {"dbk1", ValueType::Real},
          {"dbk2", ValueType::Real},
          {"dbk", ValueType::Real},
          {"dbkp0", ValueType::Real},
          {"dbkp1", ValueType::Real},
          {"dbkp2", ValueType::Real},
          {"dbkp", ValueType::Real}}},
    };
    return rules;
}

const std::vector<TableRule>& TestRules()
{
    constexpr std::size_t w = TestRecord::kFieldWidth;
    static const std::vector<TableRule> rules{
        {"test",
         {{"表号", ValueType::Text, TestRecord::kMeterNumWidth, true},
          {"结论", ValueType::Text, w},
          {"日期", ValueType::Text, w},
          {"电表常数", ValueType::Text, w},
          {"电量", ValueType::Text, w},
          {"版本", ValueType::Text, w},
          {"保护及预分频", ValueType::Text, w},
          {"清电量", ValueType::Text, w}}},
    };
    return rules;
}

const std::vector<TableRule>& RulesOf(AccessKind kind)
{
    switch (kind) {
    case AccessKind::Installation:
        return InstallationRules();
    case AccessKind::Energy:
        return EnergyRules();
    default:
        return TestRules();
    }
}

bool SameName(const std::string& a, const std::string& b)
{
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

std::string FileName(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

// ---- the Access file, through libmdb -------------------------------------------------------

// libmdb takes the code page of Jet 3 text from the environment when it opens a file; the
// variable is set around the open only, and opens are serialised so that two conversions at
// once cannot see each other's code page.
std::mutex g_openMutex;

struct MdbCloser {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableDefFreer {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using MdbPtr = std::unique_ptr<MdbHandle, MdbCloser>;
using TableDefPtr = std::unique_ptr<MdbTableDef, TableDefFreer>;

bool CodePageKnown(const std::string& codePage)
{
    iconv_t cd = iconv_open("UTF-8", codePage.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(cd);
    return true;
}

// What the first page says, checked before libmdb sees the file: libmdb is written for files
// that are what they claim, so a file that is not an Access file, or has lost pages at its
// end, is refused here with a plain reason.
std::optional<std::string> CheckFileHead(const std::string& path, std::string& format)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "Can not open " + path + ": " + std::strerror(errno) + ".";
    std::array<char, 0x20> head{};
    in.read(head.data(), head.size());
    const std::string magic(head.data() + 4, 15);
    const bool jet = magic == "Standard Jet DB";
    const bool ace = magic == "Standard ACE DB";
    if (in.gcount() < static_cast<std::streamsize>(head.size()) || head[0] != 0 || (!jet && !ace))
        return FileName(path) + " is not an Access database.";
    const int version = static_cast<unsigned char>(head[0x14]);
    format = version == 0 ? "Access 97" : version == 1 ? "Access 2000-2003" : "Access 2007 or newer";
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    const std::uintmax_t page = version == 0 ? 2048 : 4096;
    // Access writes whole pages, and the catalogue and first tables lie beyond the first few.
    if (ec || size % page != 0 || size < 4 * page)
        return FileName(path) + " (" + format + ") is damaged: it ends in the middle of its data.";
    return std::nullopt;
}

struct AccessTable {
    std::string name;
    MdbCatalogEntry* entry = nullptr;
};

// libmdb formats numbers with the C library, which follows the locale; the window runs under
// the user's, where a decimal comma would turn every reading into "not a number". This
// thread reads in the C locale while the scope lasts.
class CNumbersScope {
public:
    CNumbersScope() : m_c(newlocale(LC_ALL_MASK, "C", nullptr)), m_old(m_c ? uselocale(m_c) : nullptr) {}
    ~CNumbersScope()
    {
        if (m_c) {
            uselocale(m_old);
            freelocale(m_c);
        }
    }
    CNumbersScope(const CNumbersScope&) = delete;
    CNumbersScope& operator=(const CNumbersScope&) = delete;

private:
    locale_t m_c;
    locale_t m_old;
};

std::vector<AccessTable> UserTables(MdbHandle* mdb)
{
    std::vector<AccessTable> tables;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || mdb_is_system_table(entry))
            continue;
        tables.push_back({entry->object_name, entry});
    }
    return tables;
}

const AccessTable* FindTable(const std::vector<AccessTable>& tables, const std::string& name)
{
    for (const AccessTable& t : tables)
        if (SameName(t.name, name))
            return &t;
    return nullptr;
}

AccessKind KindByTables(const std::vector<AccessTable>& tables, std::string& error,
                        const std::string& file)
{
    std::vector<AccessKind> kinds;
    for (AccessKind k : {AccessKind::Installation, AccessKind::Energy, AccessKind::Test}) {
        const std::vector<TableRule>& rules = RulesOf(k);
        if (std::all_of(rules.begin(), rules.end(),
                        [&](const TableRule& r) { return FindTable(tables, r.name); }))
            kinds.push_back(k);
    }
    if (kinds.size() == 1)
        return kinds.front();
    if (kinds.empty())
        error = file + " holds none of the tables of an installation (land, district, meter), "
                       "energy (energy) or test (test) database.";
    else
        error = file + " holds the tables of more than one kind of database; "
                       "choose the kind (installation, energy or test).";
    return AccessKind::Unknown;
}

// ---- checking the values -------------------------------------------------------------------

std::optional<long long> WholeNumber(const std::string& text)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || at != end)
        return std::nullopt;
    return value;
}

std::optional<double> RealNumber(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || at != end)
        return std::nullopt;
    return value;
}

// The value as it is stored, or the reason it cannot be. `cell` is none for a NULL.
std::variant<QVariant, std::string> CheckValue(const ColumnRule& rule,
                                               const std::optional<std::string>& cell)
{
    switch (rule.type) {
    case ValueType::Text: {
        const std::string text = cell.value_or(std::string());
        if (GbkWidth(text) > rule.width)
            return "wider than " + std::to_string(rule.width) + " GBK bytes";
        return QVariant(QString::fromStdString(text));
    }
    case ValueType::Real: {
        if (!cell)
            return QVariant(); // a reading without that value keeps none
        const auto v = RealNumber(*cell);
        if (!v)
            return std::string("not a number");
        return QVariant(*v);
    }
    case ValueType::Id:
    case ValueType::Constant: {
        if (!cell)
            return std::string("empty");
        const auto v = WholeNumber(*cell);
        if (!v)
            return std::string("not a whole number");
        if (rule.type == ValueType::Id && (*v < 1 || *v > kMaxId))
            return "not an id from 1 to " + std::to_string(kMaxId);
        if (rule.type == ValueType::Constant && (*v < kMinConstant || *v >= kConstantLimit))
            return std::string("a meter constant outside 000100 to 0fffff");
        return QVariant(static_cast<int>(*v));
    }
    }
    return std::string("unknown column");
}

std::string Shown(const std::optional<std::string>& cell)
{
    return cell ? *cell : std::string("(NULL)");
}

} // namespace

// ---- the conversion -----------------------------------------------------------------------

struct AccessConversion::Rows {
    AccessKind kind = AccessKind::Unknown;
    // Per table of the kind, in the order of its rules: the rows that fit, in file order.
    std::vector<std::vector<QVariantList>> tables;
};

AccessConversion::AccessConversion() : m_rows(std::make_unique<Rows>()) {}
AccessConversion::~AccessConversion() = default;
AccessConversion::AccessConversion(AccessConversion&&) noexcept = default;
AccessConversion& AccessConversion::operator=(AccessConversion&&) noexcept = default;

const char* AccessKindName(AccessKind kind)
{
    switch (kind) {
    case AccessKind::Installation:
        return "installation";
    case AccessKind::Energy:
        return "energy";
    case AccessKind::Test:
        return "test";
    default:
        return "";
    }
}

AccessKind AccessKindFromName(const std::string& name)
{
    for (AccessKind k : {AccessKind::Installation, AccessKind::Energy, AccessKind::Test})
        if (name == AccessKindName(k))
            return k;
    return AccessKind::Unknown;
}

std::string AccessReport::Text() const
{
    std::string text = FileName(file) + ": " + AccessKindName(kind) + " database (" + format + ")\n";
    for (const AccessTableReport& t : tables) {
        text += "  " + t.table + ": " + std::to_string(t.carried) + " of " + std::to_string(t.rows) +
                " rows carried over\n";
        for (const std::string& c : t.extraColumns)
            text += "    column " + c + " is not used and not carried over\n";
    }
    if (!problems.empty()) {
        text += std::to_string(problems.size()) +
                (problems.size() == 1 ? " value does" : " values do") + " not fit:\n";
        for (const AccessProblem& p : problems)
            text += "  " + p.table + " row " + std::to_string(p.row) + ", " + p.column + " \"" +
                    p.value + "\": " + p.reason + "\n";
    }
    return text;
}

AccessConversion ReadAccessFile(const std::string& path, const AccessOptions& options,
                                std::string& error)
{
    const CNumbersScope cNumbers;
    AccessConversion result;
    AccessReport& report = result.m_report;
    report.file = path;
    const std::string file = FileName(path);
    if (auto refused = CheckFileHead(path, report.format)) {
        error = *refused;
        return result;
    }
    if (!CodePageKnown(options.jet3CodePage)) {
        error = "The code page " + options.jet3CodePage + " is not known.";
        return result;
    }
    MdbPtr mdb;
    {
        std::lock_guard<std::mutex> lock(g_openMutex);
        const char* old = std::getenv("MDB_JET3_CHARSET");
        const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv("MDB_JET3_CHARSET", options.jet3CodePage.c_str(), 1);
        mdb.reset(mdb_open(path.c_str(), MDB_NOFLAGS)); // read-only
        if (saved)
            ::setenv("MDB_JET3_CHARSET", saved->c_str(), 1);
        else
            ::unsetenv("MDB_JET3_CHARSET");
    }
    const std::string unreadable = file + " (" + report.format +
                                   ") can not be read: it is damaged, encrypted, or of a "
                                   "format this program can not read.";
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        error = unreadable;
        return result;
    }
    const std::vector<AccessTable> tables = UserTables(mdb.get());
    AccessKind kind = options.kind;
    if (kind == AccessKind::Unknown) {
        kind = KindByTables(tables, error, file);
        if (kind == AccessKind::Unknown)
            return result;
    }

    AccessConversion::Rows rows;
    rows.kind = kind;
    for (const TableRule& rule : RulesOf(kind)) {
        const AccessTable* table = FindTable(tables, rule.name);
        if (!table) {
            error = file + " has no table " + rule.name + ", which an " +
                    AccessKindName(kind) + " database needs.";
            return result;
        }
        TableDefPtr def(mdb_read_table(table->entry));
        if (!def || !mdb_read_columns(def.get())) {
            error = unreadable;
            return result;
        }
        // Columns by name; each of ours bound to where the file keeps it.
        const unsigned columns = def->num_cols;
        std::vector<std::vector<char>> buffers(columns, std::vector<char>(mdb->bind_size + 1));
        std::vector<int> lengths(columns, 0);
        std::vector<int> positionOf(rule.columns.size(), -1);
        AccessTableReport tableReport;
        tableReport.table = rule.name;
        for (unsigned c = 0; c < columns; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
            const std::string name = col->name;
            const auto ours = std::find_if(rule.columns.begin(), rule.columns.end(),
                                           [&](const ColumnRule& r) { return SameName(r.name, name); });
            if (ours == rule.columns.end()) {
                tableReport.extraColumns.push_back(name);
                continue;
            }
            positionOf[static_cast<std::size_t>(ours - rule.columns.begin())] = static_cast<int>(c);
            mdb_bind_column(def.get(), static_cast<int>(c) + 1, buffers[c].data(), &lengths[c]);
        }
        for (std::size_t i = 0; i < rule.columns.size(); ++i) {
            if (positionOf[i] < 0) {
                error = "Table " + std::string(rule.name) + " of " + file + " has no column " +
                        rule.columns[i].name + "; the file can not be carried over.";
                return result;
            }
        }

        std::vector<QVariantList> fitting;
        std::vector<std::map<std::string, long>> seen(rule.columns.size());
        mdb_rewind_table(def.get());
        long row = 0;
        while (mdb_fetch_row(def.get())) {
            ++row;
            QVariantList values;
            bool fits = true;
            for (std::size_t i = 0; i < rule.columns.size(); ++i) {
                const auto at = static_cast<std::size_t>(positionOf[i]);
                // libmdb gives a NULL as an empty text; a text becomes empty either way and a
                // number has no empty form, so nothing is lost.
                std::optional<std::string> cell;
                if (lengths[at] > 0)
                    cell.emplace(buffers[at].data(), static_cast<std::size_t>(lengths[at]));
                const ColumnRule& col = rule.columns[i];
                auto checked = CheckValue(col, cell);
                if (auto* reason = std::get_if<std::string>(&checked)) {
                    report.problems.push_back({rule.name, row, col.name, Shown(cell), *reason});
                    fits = false;
                    continue;
                }
                if (col.unique) {
                    const std::string key = std::get<QVariant>(checked).toString().toStdString();
                    const auto [it, added] = seen[i].emplace(key, row);
                    if (!added) {
                        report.problems.push_back({rule.name, row, col.name, Shown(cell),
                                                   "already in row " + std::to_string(it->second)});
                        fits = false;
                        continue;
                    }
                }
                values.push_back(std::get<QVariant>(checked));
            }
            if (fits)
                fitting.push_back(std::move(values));
        }
        // A table that stops before the rows its header counts has lost pages.
        if (row < static_cast<long>(def->num_rows)) {
            error = file + " (" + report.format + ") is damaged: table " + rule.name + " holds " +
                    std::to_string(def->num_rows) + " rows, of which " + std::to_string(row) +
                    " can be read.";
            report.problems.clear();
            return result;
        }
        tableReport.rows = row;
        tableReport.carried = static_cast<long>(fitting.size());
        report.tables.push_back(std::move(tableReport));
        rows.tables.push_back(std::move(fitting));
    }
    report.kind = kind;
    *result.m_rows = std::move(rows);
    error.clear();
    return result;
}

// ---- writing -------------------------------------------------------------------------------

namespace {

std::string InsertStatement(const TableRule& rule)
{
    std::string names, marks;
    for (const ColumnRule& c : rule.columns) {
        names += (names.empty() ? "" : ", ") + std::string(c.name);
        marks += marks.empty() ? "?" : ", ?";
    }
    return "insert into " + std::string(rule.name) + "(" + names + ") values(" + marks + ")";
}

int CreateSchemaOf(AccessKind kind, const std::string& database, Prompter& prompter)
{
    switch (kind) {
    case AccessKind::Installation:
        return CreateInstallationSchema(database, prompter);
    case AccessKind::Energy:
        return CreateEnergySchema(database, prompter);
    default:
        return CreateTestSchema(database, prompter);
    }
}

// The rows in one transaction; 1 when committed.
bool InsertAll(RecordSetWrapper& set, const std::vector<TableRule>& rules,
               const std::vector<std::vector<QVariantList>>& tables)
{
    if (!set.BeginTransaction())
        return false;
    for (std::size_t t = 0; t < rules.size(); ++t) {
        const std::string insert = InsertStatement(rules[t]);
        for (const QVariantList& row : tables[t]) {
            if (!set.Execute(insert, row)) {
                set.RollbackTransaction();
                return false;
            }
        }
    }
    return set.CommitTransaction();
}

void FlushFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A fresh name beside `target` that nothing else uses: ".<name>.<random>.part".
std::filesystem::path TemporaryBeside(const std::filesystem::path& target)
{
    std::random_device rd;
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    for (;;) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.part", static_cast<unsigned>(rd()));
        std::filesystem::path temp = folder / ("." + target.filename().string() + suffix);
        std::error_code ec;
        if (!std::filesystem::exists(temp, ec))
            return temp;
    }
}

bool WriteNewFile(const AccessConversion::Rows& rows, const std::vector<TableRule>& rules,
                  const std::string& target, Prompter& prompter, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path temp = TemporaryBeside(target);
    bool ok = CreateSchemaOf(rows.kind, temp.string(), prompter) != 0;
    if (ok) {
        RecordSetWrapper set(prompter);
        ok = set.Connect(DatabaseConnectString(temp.string()), "Admin", "") &&
             InsertAll(set, rules, rows.tables);
    }
    // A hard link gives the file its name only if that name is still free: a file that
    // appeared there meanwhile is never replaced.
    if (ok && ::link(temp.c_str(), target.c_str()) != 0) {
        const int linkError = errno;
        if (linkError == EEXIST) {
            error = target + " appeared while it was written; it is left as it is.";
            ok = false;
        } else if (fs::exists(target, ec)) {
            ok = false;
        } else {
            // A file system without hard links.
            fs::rename(temp, target, ec);
            if (ec) {
                error = "Can not write " + target + ": " + ec.message() + ".";
                ok = false;
            }
        }
    }
    fs::remove(temp, ec);
    if (ok)
        FlushFolder(fs::path(target).has_parent_path() ? fs::path(target).parent_path() : ".");
    else if (error.empty())
        error = "Nothing was written to " + target + ".";
    return ok;
}

// A server database, or a database file that is there already: the kind's tables must be
// empty (a file must have them; a server database gets them when it lacks them).
bool WriteExisting(const AccessConversion::Rows& rows, const std::vector<TableRule>& rules,
                   const std::string& target, Prompter& prompter, std::string& error)
{
    const bool server = IsServerConnect(target);
    const std::string shown = server ? ParseDatabaseTarget(target).Describe() : target;
    const std::string nothing = "Nothing was written to " + shown + ".";
    if (!server) {
        std::vector<std::string> names;
        for (const TableRule& rule : rules)
            names.push_back(rule.name);
        const auto present = TablesPresent(target, names, prompter);
        if (!present) {
            error = nothing;
            return false;
        }
        if (present->size() != names.size()) {
            error = target + " already exists and is no " + AccessKindName(rows.kind) +
                    " database; a conversion is written into a new file or an empty database.";
            return false;
        }
    } else if (!CreateSchemaOf(rows.kind, target, prompter)) {
        error = nothing;
        return false;
    }
    RecordSetWrapper set(prompter);
    if (!set.Connect(ConnectStringFor(target), "Admin", "")) {
        error = nothing;
        return false;
    }
    for (const TableRule& rule : rules) {
        const int count = set.Count(rule.name);
        if (count != 0) {
            error = count < 0 ? nothing
                              : "Table " + std::string(rule.name) + " of " + shown +
                                    " already holds rows; a conversion is written into a new "
                                    "file or an empty database only.";
            return false;
        }
    }
    if (!InsertAll(set, rules, rows.tables)) {
        error = nothing;
        return false;
    }
    return true;
}

} // namespace

bool WriteAccessConversion(const AccessConversion& conversion, const std::string& target,
                           bool accepted, Prompter& prompter, std::string& error)
{
    error.clear();
    const AccessReport& report = conversion.Report();
    if (report.kind == AccessKind::Unknown) {
        error = "There is nothing to write.";
        return false;
    }
    if (!report.AllFit() && !accepted) {
        error = "Some rows do not fit; nothing was written.";
        return false;
    }
    const std::vector<TableRule>& rules = RulesOf(report.kind);
    std::error_code ec;
    if (IsServerConnect(target) || std::filesystem::exists(target, ec))
        return WriteExisting(*conversion.m_rows, rules, target, prompter, error);
    return WriteNewFile(*conversion.m_rows, rules, target, prompter, error);
}

bool IsAccessFileName(const std::string& path)
{
    const QString name = QString::fromStdString(path);
    return name.endsWith(".mdb", Qt::CaseInsensitive) || name.endsWith(".accdb", Qt::CaseInsensitive);
}

std::string ConvertedDatabaseName(const std::string& accessPath)
{
    std::filesystem::path p(accessPath);
    p.replace_extension(".db");
    return p.string();
}

} // namespace mrv
