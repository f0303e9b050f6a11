#include "doc/EnergyExport.h"

#include "base/Prompter.h"
#include "db/DatabaseBackend.h"
#include "db/RecordSetWrapper.h"
#include "db/Schema.h"

#include <QCoreApplication>

#include <algorithm>
#include <memory>
#include <unordered_set>

namespace mrv {

std::optional<CalendarDate> EnergyDate(const std::string& s)
{
    if (s.size() != 8 || s[2] != '-' || s[5] != '-')
        return std::nullopt;
    // The import writes "yy-mm-dd"; as a full date it is the ISO text of year 20yy.
    return ParseIsoDate("20" + s);
}

bool EnergyFilter::Matches(const EnergyRecord& row) const
{
    if (!meters.empty() && std::find(meters.begin(), meters.end(), row.meter_num) == meters.end())
        return false;
    if (!from && !to)
        return true;
    const std::optional<CalendarDate> d = EnergyDate(row.datestr);
    return d && (!from || *d >= *from) && (!to || *d <= *to);
}

std::vector<std::string> SplitMeterList(const std::string& text)
{
    std::vector<std::string> meters;
    std::string current;
    auto take = [&] {
        if (!current.empty() && std::find(meters.begin(), meters.end(), current) == meters.end())
            meters.push_back(current);
        current.clear();
    };
    for (char c : text) {
        if (c == ',' || c == ';' || c == ' ' || c == '\t' || c == '\n' || c == '\r')
            take();
        else
            current.push_back(c);
    }
    take();
    return meters;
}

namespace {

// Columns of `energy` by position, as the import writes them.
enum EnergyColumn {
    kDate = 1,
    kMeterNum,
    kDbk0,
    kDbk1,
    kDbk2,
    kDbk,
    kDbkp0,
    kDbkp1,
    kDbkp2,
    kDbkp,
};

// The database as the user knows it: the file, or user@host:port/dbname (never a password).
std::string TargetName(const std::string& database)
{
    return IsServerConnect(database) ? ParseDatabaseTarget(database).Describe() : database;
}

} // namespace

bool LoadEnergyRows(const std::string& database, const EnergyFilter& filter, Prompter& prompter,
                    std::vector<EnergyRecord>& out, const SheetHooks& hooks)
{
    out.clear();
    // Only read: a database without the table is told so, never given one.
    const std::optional<std::vector<std::string>> present =
        TablesPresent(database, EnergyTables(), prompter);
    if (!present)
        return false;
    if (present->empty()) {
        prompter.Message(QCoreApplication::translate(
                             "mrv::EnergyExport",
                             "%1 has no table energy: no readings were ever imported into it.")
                             .arg(QString::fromStdString(TargetName(database)))
                             .toStdString(),
                         QCoreApplication::translate("mrv::EnergyExport", "Export Energy Database")
                             .toStdString(),
                         MsgIcon::Error);
        return false;
    }
    RecordSetWrapper set(prompter);
    if (!set.Connect(ConnectStringFor(database), "Admin", ""))
        return false;
    if (!set.OpenSet("energy", RecordSetWrapper::kCommandTable) || !set.Bind(kDbkp))
        return false;
    const std::unordered_set<std::string> meters(filter.meters.begin(), filter.meters.end());
    EnergyFilter dates = filter;
    dates.meters.clear(); // looked up in the set instead
    for (std::size_t n = 1; !set.IsEof(); set.MoveNext(), ++n) {
        EnergyRecord r;
        r.meter_num = set.TextAt(kMeterNum, EnergyRecord::kMeterNumWidth);
        if (meters.empty() || meters.count(r.meter_num)) {
            r.datestr = set.TextAt(kDate, EnergyRecord::kDateWidth);
            if (dates.Matches(r)) {
                r.dbk0 = set.RealAt(kDbk0);
                r.dbk1 = set.RealAt(kDbk1);
                r.dbk2 = set.RealAt(kDbk2);
                r.dbk = set.RealAt(kDbk);
                r.dbkp0 = set.RealAt(kDbkp0);
                r.dbkp1 = set.RealAt(kDbkp1);
                r.dbkp2 = set.RealAt(kDbkp2);
                r.dbkp = set.RealAt(kDbkp);
                out.push_back(std::move(r));
            }
        }
        if (n % 4096 == 0 && hooks.cancelled && hooks.cancelled())
            return false;
    }
    return true;
}

SheetBook EnergyBook(const std::vector<EnergyRecord>& rows, const EnergyFilter& filter,
                     const std::string& databaseName)
{
    SheetBook book;
    const std::vector<std::string> titles = {"Meter ID2", "Date",      "T1 E",    "T2 E",
                                             "T3 E",      "Total E",   "LM T1 E", "LM T2 E",
                                             "LM T3 E",   "LM Total E"};
    for (std::size_t first = 0; first < rows.size() || (first == 0 && rows.empty());
         first += kMaxSheetRows) {
        SheetTable table;
        table.name = "Energy";
        table.titles = titles;
        table.rows = std::min(kMaxSheetRows, rows.size() - first);
        const EnergyRecord* at = rows.data() + first;
        table.fill = [at](std::size_t row, std::vector<SheetCell>& cells) {
            const EnergyRecord& r = at[row];
            cells[0].SetText(r.meter_num);
            if (const std::optional<CalendarDate> d = EnergyDate(r.datestr))
                cells[1].SetDate(*d);
            else
                cells[1].SetText(r.datestr);
            const double values[] = {r.dbk0,  r.dbk1,  r.dbk2,  r.dbk,
                                     r.dbkp0, r.dbkp1, r.dbkp2, r.dbkp};
            for (std::size_t c = 0; c < std::size(values); ++c)
                cells[c + 2].SetNumber(values[c]);
        };
        book.tables.push_back(std::move(table));
        if (rows.empty())
            break;
    }

    // What was asked and what came of it.
    std::unordered_set<std::string> meters;
    std::optional<CalendarDate> first, last;
    for (const EnergyRecord& r : rows) {
        meters.insert(r.meter_num);
        if (const std::optional<CalendarDate> d = EnergyDate(r.datestr)) {
            first = first ? std::min(*first, *d) : *d;
            last = last ? std::max(*last, *d) : *d;
        }
    }
    std::string asked;
    for (const std::string& m : filter.meters)
        asked += (asked.empty() ? "" : ", ") + m;
    struct Item {
        const char* name;
        std::optional<std::string> text;
        std::optional<CalendarDate> date;
        std::optional<std::size_t> count;
    };
    const std::vector<Item> items = {
        {"Database", databaseName, {}, {}},
        {"From",
         filter.from ? std::nullopt : std::optional<std::string>("(first)"),
         filter.from,
         {}},
        {"To", filter.to ? std::nullopt : std::optional<std::string>("(last)"), filter.to, {}},
        {"Meters asked", asked.empty() ? std::string("(all)") : asked, {}, {}},
        {"Rows", {}, {}, rows.size()},
        {"Meters", {}, {}, meters.size()},
        {"First reading", {}, first, {}},
        {"Last reading", {}, last, {}},
    };
    book.summary.name = "Summary";
    book.summary.titles = {"Item", "Value"};
    book.summary.rows = items.size();
    book.summary.fill = [items](std::size_t row, std::vector<SheetCell>& cells) {
        const Item& item = items[row];
        cells[0].SetText(item.name);
        if (item.text)
            cells[1].SetText(*item.text);
        else if (item.date)
            cells[1].SetDate(*item.date);
        else if (item.count)
            cells[1].SetCount(*item.count);
        else
            cells[1].SetEmpty();
    };
    return book;
}

EnergyExportResult ExportEnergy(const std::string& database, const EnergyFilter& filter,
                                const std::string& path, Prompter& prompter,
                                const SheetHooks& hooks)
{
    EnergyExportResult result;
    std::vector<EnergyRecord> rows;
    if (!LoadEnergyRows(database, filter, prompter, rows, hooks)) {
        result.written.cancelled = hooks.cancelled && hooks.cancelled();
        return result;
    }
    result.loaded = true;
    result.rows = rows.size();
    const SpreadsheetFormat format = SpreadsheetFormatOf(path).value_or(SpreadsheetFormat::Xlsx);
    result.written =
        WriteSpreadsheet(path, format, EnergyBook(rows, filter, TargetName(database)), hooks);
    return result;
}

} // namespace mrv
