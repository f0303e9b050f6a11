#pragma once
// The program's database object: the installation tables `land`, `district` and `meter`, the
// energy table and the test table, each reached through a record set of its own.
#include "base/InstallationSource.h"
#include "base/Records.h"
#include "db/RecordSetWrapper.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mrv {

class Prompter;

class MeterDatabase final : public InstallationSource {
public:
    explicit MeterDatabase(Prompter& prompter);
    ~MeterDatabase() override; // closes the installation and energy sets

    MeterDatabase(const MeterDatabase&) = delete;
    MeterDatabase& operator=(const MeterDatabase&) = delete;

    // Connects `land`, `district` and `meter` in that order; on the first failure shows
    // "Can not open land" / "Can not open district" / "Can not open meter" (caption "Error")
    // and returns 0, leaving the sets already connected as they are.
    int OpenMain(const std::string& connect, const std::string& user = "Admin",
                 const std::string& password = "");
    void CloseMain();
    bool IsMainOpen() const;

    // InstallationSource. With `out` null: the count of rows only (-1 when it failed).
    // Otherwise `out` is cleared and filled in table order; returns the number loaded.
    int LoadHhus(HhuList* out) override;
    int LoadBlocks(std::int32_t hhuId, BlockList* out) override;
    int LoadMeters(std::int32_t blockId, MeterList* out) override;

    // `column` 1 searches `meter_num`, anything else `property_num`; the first row in table
    // order.
    std::optional<MeterRecord> FindMeter(const std::string& text, int column);
    // Every row that FindMeter would look at, in table order.
    MeterList FindMeters(const std::string& text, int column);
    // The rows whose `property_num` is one of `id2s`, in table order (one statement however
    // many are asked).
    MeterList MetersWithId2(const std::vector<std::string>& id2s);

    int InsertHhu(const HhuRecord& hhu);
    int InsertBlock(const BlockRecord& block);
    int InsertMeter(const MeterRecord& meter);
    // One transaction around many meter statements (a batch of new meters): one commit instead
    // of one per row. Inside it a failed InsertMeter is undone alone and the batch goes on.
    // Until it ends the `land` and `district` sets, which have connections of their own, can
    // read the file but not write to it: insert the HHUs and Blocks before the batch.
    bool BeginMeterBatch();
    bool CommitMeterBatch();
    void RollbackMeterBatch();
    // The HHU id of the row itself is not changed.
    int UpdateHhu(const HhuRecord& hhu, std::int32_t landId);
    // The Block id of the row itself is not changed.
    int UpdateBlock(const BlockRecord& block, std::int32_t districtId);
    // A meter number repeats from Block to Block, so the row is the one with `oldMeterNum` in
    // Block `oldBlockId`; all four fields are written, so the meter can be renumbered or moved.
    // An old Block id of 0 or less matches the number in every Block.
    // With a row key above 0 (MeterRecord::row_key of a loaded meter) that row alone is
    // written, whatever its number and Block.
    int UpdateMeter(const MeterRecord& meter, const std::string& oldMeterNum,
                    std::int32_t oldBlockId, std::int64_t rowKey = 0);
    int DeleteHhu(std::int32_t landId);
    int DeleteBlock(std::int32_t districtId);
    // With a number: that meter of Block `districtId` (of every Block when the id is 0 or
    // less). Without: every meter of the Block, or the whole table when the id is 0 or less.
    int DeleteMeters(std::int32_t districtId, const std::string& meterNum);
    // The one row of that key (MeterRecord::row_key).
    int DeleteMeterRow(std::int64_t rowKey);
    // Whether the loads give each meter its row key (not on a database reached through ODBC).
    bool HasMeterRowKeys() const;

    int OpenEnergy(const std::string& connect, const std::string& user = "Admin",
                   const std::string& password = "");
    void CloseEnergy();
    bool IsEnergyOpen() const;
    // Numbers are stored rounded to two decimals; T4 values are not stored. Inside a batch a
    // failed row is undone on its own and the batch stays usable.
    int InsertEnergy(const EnergyRecord& energy);
    // One transaction around many InsertEnergy calls.
    bool BeginEnergyBatch();
    // A failed commit is reported, except for a lost connection: EnergyConnectionLost tells it.
    bool CommitEnergyBatch();
    void RollbackEnergyBatch();
    // False once the batch has ended, also when the database ended it itself after a failed
    // row (then nothing of the batch was kept).
    bool InEnergyBatch() const;
    // After a failure: whether the connection to the energy database's server was lost, which
    // also ends the batch with nothing of it kept.
    bool EnergyConnectionLost();
    // Stores many rows with few statements (hundreds of rows each: one round trip to a
    // server per statement, not three per row). Inside a batch the rows are under a savepoint
    // of their own. True when all were stored; false when the database refused any, and then
    // none of them is stored and nothing is shown: `error` gets the database's text, and the
    // caller goes on row by row to find the refused one.
    bool InsertEnergyRows(const std::vector<EnergyRecord>& rows, std::string* error = nullptr);

    // A data file whose readings were imported (table `imported_file`).
    struct ImportedFile {
        std::string hash;       // of the file's bytes
        std::string fileName;   // without its folder
        std::string hhu;        // from the file's name ("0003")
        std::string readTime;   // the latest reading date in it, "yy-mm-dd"
        int readings = 0;       // rows stored
        std::string importedAt; // "yyyy-mm-dd hh:mm:ss"
        std::string importedBy; // the login that imported it
        int times = 1;          // imports of it (more than 1 when imported again on purpose)
    };
    // 1 and `out` filled when the file is known, 0 when not, -1 after a reported failure.
    int FindImportedFile(const std::string& hash, ImportedFile* out);
    // Inside the energy batch: remembers the file, or counts one more import of a file known
    // already (`again`). 1, or 0 when the database refused (another import of the same file
    // that ended first leaves a duplicate key) with `error` set and nothing shown.
    int RememberImportedFile(const ImportedFile& file, bool again, std::string* error = nullptr);

    int OpenTest(const std::string& connect, const std::string& user = "Admin",
                 const std::string& password = "");
    void CloseTest();
    bool IsTestOpen() const;
    // 1 when a row of `test` has the meter number, else 0.
    int TestExists(const std::string& meterNum);
    int InsertTest(const TestRecord& test);
    int UpdateTest(const TestRecord& test, const std::string& meterNum);
    // Keeps one row per meter number, the latest: UpdateTest when it exists, else InsertTest.
    int SaveTest(const TestRecord& test);

private:
    // Runs `statement`; inside a transaction of `set` under a savepoint of its own, so that a
    // failure undoes that row only.
    // Opens the meter rows whose `column` equals `value` (every row when the column is empty)
    // in table order, each with its row key after the four columns of the table.
    bool OpenMeterRows(const std::string& column, const QVariantList& values);
    MeterList ReadMeterRows();

    static int ExecuteRow(RecordSetWrapper& set, const std::string& statement,
                          const QVariantList& values);

    RecordSetWrapper m_land;
    RecordSetWrapper m_district;
    RecordSetWrapper m_meter;
    RecordSetWrapper m_energy;
    RecordSetWrapper m_test;
    Prompter& m_prompter;
};

} // namespace mrv
