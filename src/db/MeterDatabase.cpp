#include "db/MeterDatabase.h"

#include "base/GbkText.h"
#include "base/NumberText.h"
#include "base/Prompter.h"
#include "db/DatabaseBackend.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string_view>

namespace mrv {

namespace {

constexpr int kTable = RecordSetWrapper::kCommandTable;

// Text values are bound as empty strings rather than NULL, so that a search for "" finds them
// and every reader sees a text.
QVariant Text(const std::string& s)
{
    QString q = QString::fromStdString(s);
    if (q.isNull())
        q = QString(QLatin1String(""));
    return QVariant(q);
}

// Energy is kept with two decimals, rounded exactly as the "%.2f" text the tables have always
// been given (0.125 becomes 0.12, 2.005 becomes 2.00: the nearest double lies below it).
// A value that is no number is stored as NULL rather than as a made-up one.
QVariant Hundredths(double v)
{
    if (!std::isfinite(v))
        return QVariant();
    // In the C locale both ways, whatever the user's.
    return ParseDoubleC(FormatC("%.2f", v)).value_or(0.0);
}

// The shared steps of every table load: count, then read at most that many rows in table
// order. `id` above 0 limits the rows to those whose `idColumn` equals it.
// `open` opens the rows (filtered or not) when it is given; otherwise the table is opened by
// name with the filter set.
template <class Record, class Fill>
int LoadTable(RecordSetWrapper& set, const char* table, const char* idColumn, std::int32_t id,
              int columns, std::vector<Record>* out, Fill fill,
              const std::function<bool(bool filtered)>& open = {})
{
    const bool filtered = id > 0;
    const int count = filtered ? set.Count(table, idColumn, id) : set.Count(table);
    if (!out)
        return count;
    out->clear();
    if (count < 1)
        return 0;
    if (open) {
        if (!open(filtered))
            return 0;
    } else {
        if (!set.OpenSet(table, kTable))
            return 0;
        if (filtered)
            set.SetFilter(idColumn, id);
    }
    if (!set.IsOpen() || !set.Bind(columns)) {
        set.CloseSet();
        return 0;
    }
    try {
        std::vector<Record> rows;
        rows.reserve(static_cast<std::size_t>(count));
        while (!set.IsEof() && rows.size() < static_cast<std::size_t>(count)) {
            Record& r = rows.emplace_back();
            fill(set, r);
            set.MoveNext();
        }
        set.CloseSet();
        *out = std::move(rows);
    } catch (const std::bad_alloc&) {
        set.CloseSet();
        out->clear();
        return 0;
    }
    return static_cast<int>(out->size());
}

void FillMeter(const RecordSetWrapper& set, MeterRecord& m)
{
    m.meter_num = set.TextAt(1, MeterRecord::kNumWidth);
    m.property_num = set.TextAt(2, MeterRecord::kNumWidth);
    m.meter_address = set.TextAt(3, MeterRecord::kAddressWidth);
    m.district_id = set.IntAt(4);
}

// A meter row read with its row key after the table's four columns.
void FillMeterWithKey(const RecordSetWrapper& set, MeterRecord& m)
{
    FillMeter(set, m);
    m.row_key = set.BigIntAt(5);
}

// The row key and table order of both engines that have one: a file's rowid, the server's
// rowid column.
constexpr const char* kMeterRowsSelect =
    "select meter_num, property_num, meter_address, district_id, rowid from meter";

} // namespace

MeterDatabase::MeterDatabase(Prompter& prompter)
    : m_land(prompter), m_district(prompter), m_meter(prompter), m_energy(prompter),
      m_test(prompter), m_prompter(prompter)
{
}

MeterDatabase::~MeterDatabase()
{
    CloseMain();
    CloseEnergy();
}

int MeterDatabase::OpenMain(const std::string& connect, const std::string& user,
                            const std::string& password)
{
    struct Step {
        RecordSetWrapper& set;
        const char* failure;
    };
    const Step steps[] = {
        {m_land, QT_TRANSLATE_NOOP("mrv::MeterDatabase", "Can not open land")},
        {m_district, QT_TRANSLATE_NOOP("mrv::MeterDatabase", "Can not open district")},
        {m_meter, QT_TRANSLATE_NOOP("mrv::MeterDatabase", "Can not open meter")}};
    for (const Step& s : steps) {
        if (!s.set.Connect(connect, user, password)) {
            m_prompter.Message(
                QCoreApplication::translate("mrv::MeterDatabase", s.failure).toStdString(),
                QCoreApplication::translate("mrv::MeterDatabase", "Error").toStdString(),
                MsgIcon::Error, MsgButtons::Ok);
            return 0;
        }
    }
    return 1;
}

void MeterDatabase::CloseMain()
{
    m_land.Disconnect();
    m_district.Disconnect();
    m_meter.Disconnect();
}

bool MeterDatabase::IsMainOpen() const
{
    return m_land.IsConnected() && m_district.IsConnected() && m_meter.IsConnected();
}

int MeterDatabase::LoadHhus(HhuList* out)
{
    return LoadTable(m_land, "land", "land_id", 0, 2, out,
                     [](const RecordSetWrapper& set, HhuRecord& h) {
                         h.land_id = set.IntAt(1);
                         h.description = set.TextAt(2, HhuRecord::kDescriptionWidth);
                     });
}

int MeterDatabase::LoadBlocks(std::int32_t hhuId, BlockList* out)
{
    return LoadTable(m_district, "district", "land_id", hhuId, 4, out,
                     [](const RecordSetWrapper& set, BlockRecord& b) {
                         b.district_id = set.IntAt(1);
                         b.district_name = set.TextAt(2, BlockRecord::kNameWidth);
                         b.land_id = set.IntAt(3);
                         b.district_para = set.IntAt(4);
                     });
}

int MeterDatabase::LoadMeters(std::int32_t blockId, MeterList* out)
{
    if (!HasMeterRowKeys())
        return LoadTable(m_meter, "meter", "district_id", blockId, 4, out, FillMeter);
    return LoadTable(
        m_meter, "meter", "district_id", blockId, 5, out, FillMeterWithKey, [&](bool filtered) {
            return filtered ? OpenMeterRows("district_id = ?", {blockId}) : OpenMeterRows("", {});
        });
}

bool MeterDatabase::HasMeterRowKeys() const
{
    const DatabaseBackend* backend = m_meter.Backend();
    return backend && std::string_view(backend->qtDriver) != "QODBC";
}

bool MeterDatabase::OpenMeterRows(const std::string& condition, const QVariantList& values)
{
    std::string sql = kMeterRowsSelect;
    if (!condition.empty())
        sql += " where " + condition;
    sql += " order by rowid";
    return m_meter.OpenSet(sql, RecordSetWrapper::kCommandText, values) && m_meter.IsOpen();
}

MeterList MeterDatabase::ReadMeterRows()
{
    MeterList rows;
    if (m_meter.Bind(5)) {
        for (; !m_meter.IsEof(); m_meter.MoveNext())
            FillMeterWithKey(m_meter, rows.emplace_back());
    }
    m_meter.CloseSet();
    return rows;
}

MeterList MeterDatabase::FindMeters(const std::string& text, int column)
{
    if (!HasMeterRowKeys()) {
        MeterList rows;
        if (auto first = FindMeter(text, column))
            rows.push_back(*first);
        return rows;
    }
    if (!OpenMeterRows(column == 1 ? "meter_num = ?" : "property_num = ?", {Text(text)}))
        return {};
    return ReadMeterRows();
}

MeterList MeterDatabase::MetersWithId2(const std::vector<std::string>& id2s)
{
    if (id2s.empty())
        return {};
    std::string marks;
    QVariantList values;
    for (const std::string& id2 : id2s) {
        marks += marks.empty() ? "?" : ", ?";
        values.push_back(Text(id2));
    }
    if (!HasMeterRowKeys()) {
        if (!m_meter.OpenSet("select * from meter where property_num in (" + marks + ")",
                             RecordSetWrapper::kCommandText, values))
            return {};
        MeterList rows;
        if (m_meter.IsOpen() && m_meter.Bind(4))
            for (; !m_meter.IsEof(); m_meter.MoveNext())
                FillMeter(m_meter, rows.emplace_back());
        m_meter.CloseSet();
        return rows;
    }
    if (!OpenMeterRows("property_num in (" + marks + ")", values))
        return {};
    return ReadMeterRows();
}

std::optional<MeterRecord> MeterDatabase::FindMeter(const std::string& text, int column)
{
    if (HasMeterRowKeys()) {
        MeterList rows = FindMeters(text, column);
        if (rows.empty())
            return std::nullopt;
        return rows.front();
    }
    if (!m_meter.OpenSet("meter", kTable))
        return std::nullopt;
    m_meter.SetFilter(column == 1 ? "meter_num" : "property_num", Text(text));
    std::optional<MeterRecord> found;
    if (m_meter.IsOpen() && m_meter.Bind(4) && !m_meter.IsEof()) {
        found.emplace();
        FillMeter(m_meter, *found);
    }
    m_meter.CloseSet();
    return found;
}

int MeterDatabase::InsertHhu(const HhuRecord& hhu)
{
    return m_land.Execute("insert into land(land_id, description) values(?, ?)",
                          {hhu.land_id, Text(hhu.description)});
}

int MeterDatabase::InsertBlock(const BlockRecord& block)
{
    return m_district.Execute(
        "insert into district(district_id, district_name, land_id, "
        "district_para)         values(?, ?, ?, ?)",
        {block.district_id, Text(block.district_name), block.land_id, block.district_para});
}

int MeterDatabase::InsertMeter(const MeterRecord& meter)
{
    return ExecuteRow(m_meter,
                      "insert into meter(meter_num, property_num, meter_address, "
                      "district_id) values(?, ?, ?, ?)",
                      {Text(meter.meter_num), Text(meter.property_num), Text(meter.meter_address),
                       meter.district_id});
}

bool MeterDatabase::BeginMeterBatch()
{
    return m_meter.BeginTransaction();
}

bool MeterDatabase::CommitMeterBatch()
{
    if (m_meter.CommitTransaction())
        return true;
    m_meter.RollbackTransaction();
    return false;
}

void MeterDatabase::RollbackMeterBatch()
{
    m_meter.RollbackTransaction();
}

int MeterDatabase::UpdateHhu(const HhuRecord& hhu, std::int32_t landId)
{
    return m_land.Execute("Update land set description = ?  where land_id = ?",
                          {Text(hhu.description), landId});
}

int MeterDatabase::UpdateBlock(const BlockRecord& block, std::int32_t districtId)
{
    return m_district.Execute(
        "Update district set  district_name = ?, land_id = ?, "
        "district_para = ?           where district_id = ?",
        {Text(block.district_name), block.land_id, block.district_para, districtId});
}

int MeterDatabase::UpdateMeter(const MeterRecord& meter, const std::string& oldMeterNum,
                               std::int32_t oldBlockId, std::int64_t rowKey)
{
    QVariantList values{Text(meter.meter_num), Text(meter.property_num), Text(meter.meter_address),
                        meter.district_id};
    std::string sql = "Update meter set  meter_num = ?, property_num = ?, meter_address = ?, "
                      "district_id = ?  where ";
    if (rowKey > 0) {
        values.push_back(qlonglong(rowKey));
        return m_meter.Execute(sql + "rowid = ?", values);
    }
    values.push_back(Text(oldMeterNum));
    sql += "meter_num = ?";
    if (oldBlockId > 0) {
        sql += " and district_id = ?";
        values.push_back(oldBlockId);
    }
    return m_meter.Execute(sql, values);
}

int MeterDatabase::DeleteHhu(std::int32_t landId)
{
    return m_land.Execute("delete from land where land_id = ?", {landId});
}

int MeterDatabase::DeleteBlock(std::int32_t districtId)
{
    return m_district.Execute("delete from district where district_id = ?", {districtId});
}

int MeterDatabase::DeleteMeters(std::int32_t districtId, const std::string& meterNum)
{
    if (!meterNum.empty() && districtId > 0)
        return m_meter.Execute("delete from meter where meter_num = ? and district_id = ?",
                               {Text(meterNum), districtId});
    if (!meterNum.empty())
        return m_meter.Execute("delete from meter where meter_num = ?", {Text(meterNum)});
    if (districtId > 0)
        return m_meter.Execute("delete from meter where district_id = ?", {districtId});
    return m_meter.Execute("delete from meter");
}

int MeterDatabase::DeleteMeterRow(std::int64_t rowKey)
{
    return m_meter.Execute("delete from meter where rowid = ?", {qlonglong(rowKey)});
}

int MeterDatabase::OpenEnergy(const std::string& connect, const std::string& user,
                              const std::string& password)
{
    return m_energy.Connect(connect, user, password);
}

void MeterDatabase::CloseEnergy()
{
    m_energy.Disconnect();
}

bool MeterDatabase::IsEnergyOpen() const
{
    return m_energy.IsConnected();
}

namespace {

QVariantList EnergyValues(const EnergyRecord& e)
{
    return {Text(CutUtf8ToGbkWidth(e.datestr, EnergyRecord::kDateWidth)),
            Text(CutUtf8ToGbkWidth(e.meter_num, EnergyRecord::kMeterNumWidth)),
            Hundredths(e.dbk0),
            Hundredths(e.dbk1),
            Hundredths(e.dbk2),
            Hundredths(e.dbk),
            Hundredths(e.dbkp0),
            Hundredths(e.dbkp1),
            Hundredths(e.dbkp2),
            Hundredths(e.dbkp)};
}

constexpr char kEnergyColumns[] =
    "insert into energy(datestr, meter_num, dbk0, dbk1, dbk2, dbk,         dbkp0, dbkp1, "
    "dbkp2, dbkp) values";
constexpr char kEnergyRow[] = "(?, ?, ?, ?, ? ,?, ?, ?, ?, ?)";
// Rows per statement: ten values each stay well below every engine's limit of bound values.
constexpr std::size_t kRowsPerStatement = 500;

} // namespace

int MeterDatabase::InsertEnergy(const EnergyRecord& e)
{
    static const std::string kInsert = std::string(kEnergyColumns) + kEnergyRow;
    return ExecuteRow(m_energy, kInsert, EnergyValues(e));
}

int MeterDatabase::ExecuteRow(RecordSetWrapper& set, const std::string& statement,
                              const QVariantList& values)
{
    if (!set.InTransaction())
        return set.Execute(statement, values);
    if (!set.Execute("savepoint batch_row"))
        return 0;
    if (set.Execute(statement, values)) {
        set.Execute("release savepoint batch_row");
        return 1;
    }
    // When the database has ended the whole transaction itself, there is nothing to release:
    // the caller sees that the batch is gone.
    if (set.RollbackToSavepoint("batch_row"))
        set.Execute("release savepoint batch_row");
    return 0;
}

bool MeterDatabase::InsertEnergyRows(const std::vector<EnergyRecord>& rows, std::string* error)
{
    std::string ignored;
    std::string& why = error ? *error : ignored;
    why.clear();
    if (rows.empty())
        return true;
    const bool batch = m_energy.InTransaction();
    if (batch && !m_energy.ExecuteQuietly("savepoint energy_rows", {}, &why))
        return false;
    bool ok = true;
    for (std::size_t at = 0; ok && at < rows.size(); at += kRowsPerStatement) {
        const std::size_t n = std::min(kRowsPerStatement, rows.size() - at);
        std::string sql = kEnergyColumns;
        QVariantList values;
        values.reserve(static_cast<qsizetype>(n * 10));
        for (std::size_t i = 0; i < n; ++i) {
            sql += i ? ", " : " ";
            sql += kEnergyRow;
            values += EnergyValues(rows[at + i]);
        }
        ok = m_energy.ExecuteQuietly(sql, values, &why) != 0;
    }
    if (batch) {
        if (ok) {
            m_energy.ExecuteQuietly("release savepoint energy_rows", {}, nullptr);
        } else if (m_energy.RollbackToSavepoint("energy_rows")) {
            m_energy.ExecuteQuietly("release savepoint energy_rows", {}, nullptr);
        } else if (!m_energy.ConnectionLost()) {
            // The database ended the whole transaction: there is no going on row by row, so
            // its words are the report. A lost connection is told by the caller.
            m_prompter.Message(why, {}, MsgIcon::Error, MsgButtons::Ok);
        }
    }
    return ok;
}

int MeterDatabase::FindImportedFile(const std::string& hash, ImportedFile* out)
{
    if (!m_energy.OpenSet("select file_name, hhu, read_time, readings, imported_at, "
                          "imported_by, times from imported_file where file_hash = ?",
                          RecordSetWrapper::kCommandText, {Text(hash)}) ||
        !m_energy.Bind(7)) {
        m_energy.CloseSet();
        return -1;
    }
    const bool found = !m_energy.IsEof();
    if (found && out) {
        out->hash = hash;
        out->fileName = m_energy.TextAt(1, 255);
        out->hhu = m_energy.TextAt(2, 8);
        out->readTime = m_energy.TextAt(3, 9);
        out->readings = m_energy.IntAt(4);
        out->importedAt = m_energy.TextAt(5, 19);
        out->importedBy = m_energy.TextAt(6, 64);
        out->times = m_energy.IntAt(7);
    }
    m_energy.CloseSet();
    return found ? 1 : 0;
}

int MeterDatabase::RememberImportedFile(const ImportedFile& f, bool again, std::string* error)
{
    if (again)
        return m_energy.ExecuteQuietly(
            "update imported_file set file_name = ?, hhu = ?, read_time = ?, readings = ?, "
            "imported_at = ?, imported_by = ?, times = times + 1 where file_hash = ?",
            {Text(f.fileName), Text(f.hhu), Text(f.readTime), f.readings, Text(f.importedAt),
             Text(f.importedBy), Text(f.hash)},
            error);
    return m_energy.ExecuteQuietly(
        "insert into imported_file(file_hash, file_name, hhu, read_time, readings, imported_at, "
        "imported_by, times) values(?, ?, ?, ?, ?, ?, ?, 1)",
        {Text(f.hash), Text(f.fileName), Text(f.hhu), Text(f.readTime), f.readings,
         Text(f.importedAt), Text(f.importedBy)},
        error);
}

bool MeterDatabase::BeginEnergyBatch()
{
    return m_energy.BeginTransaction();
}

bool MeterDatabase::CommitEnergyBatch()
{
    if (m_energy.CommitTransaction(false))
        return true;
    m_energy.RollbackTransaction();
    return false;
}

void MeterDatabase::RollbackEnergyBatch()
{
    m_energy.RollbackTransaction();
}

bool MeterDatabase::InEnergyBatch() const
{
    return m_energy.InTransaction();
}

bool MeterDatabase::EnergyConnectionLost()
{
    return m_energy.ConnectionLost();
}

int MeterDatabase::OpenTest(const std::string& connect, const std::string& user,
                            const std::string& password)
{
    return m_test.Connect(connect, user, password);
}

void MeterDatabase::CloseTest()
{
    m_test.Disconnect();
}

bool MeterDatabase::IsTestOpen() const
{
    return m_test.IsConnected();
}

int MeterDatabase::TestExists(const std::string& meterNum)
{
    if (!m_test.OpenSet("test", kTable))
        return 0;
    m_test.SetFilter("表号", Text(meterNum));
    const bool found = m_test.IsOpen() && m_test.Bind(8) && !m_test.IsEof();
    // Closed at once: an open read would keep the file locked against other programs.
    m_test.CloseSet();
    return found ? 1 : 0;
}

int MeterDatabase::InsertTest(const TestRecord& t)
{
    return m_test.Execute("insert into test(表号, 结论, 日期, 电表常数,电量,版本,保护及预分频,"
                          "清电量)         values( ?, ?,?,?,?,?,?, ?)",
                          {Text(t.meterNum), Text(t.conclusion), Text(t.date), Text(t.constant),
                           Text(t.energy), Text(t.version), Text(t.protection), Text(t.cleared)});
}

int MeterDatabase::UpdateTest(const TestRecord& t, const std::string& meterNum)
{
    return m_test.Execute("Update test set  表号 = ?, 结论 = ?, 日期 = ?,             电表常数 = "
                          "?, 电量 = ?, 版本 = ?, 保护及预分频 = ?,              清电量 = ?  "
                          "where 表号 = ?",
                          {Text(t.meterNum), Text(t.conclusion), Text(t.date), Text(t.constant),
                           Text(t.energy), Text(t.version), Text(t.protection), Text(t.cleared),
                           Text(meterNum)});
}

int MeterDatabase::SaveTest(const TestRecord& test)
{
    return TestExists(test.meterNum) ? UpdateTest(test, test.meterNum) : InsertTest(test);
}

} // namespace mrv
