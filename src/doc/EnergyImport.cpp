#include "doc/EnergyImport.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "db/MeterDatabase.h"

#include <cstdio>
#include <string>

namespace mrv {

namespace {

// The unit's totals roll over at one million; the database keeps the part below it.
double BelowOneMillion(double total)
{
    return total >= 1000000.0 ? total - 1000000.0 : total;
}

} // namespace

EnergyRecord MakeEnergyRecord(const ReadingRecord& r)
{
    EnergyRecord e;
    char date[16];
    std::snprintf(date, sizeof date, "%02x-%02x-%02x", r.readDate[2], r.readDate[1], r.readDate[0]);
    e.datestr = date;
    e.meter_num = CutUtf8ToGbkWidth(r.meterId2, EnergyRecord::kMeterNumWidth);
    e.dbk = BelowOneMillion(r.energy[0]);
    e.dbk0 = r.energy[1];
    e.dbk1 = r.energy[2];
    e.dbk2 = r.energy[3];
    e.dbk3 = r.energy[4];
    e.dbkp = BelowOneMillion(r.lmEnergy[0]);
    e.dbkp0 = r.lmEnergy[1];
    e.dbkp1 = r.lmEnergy[2];
    e.dbkp2 = r.lmEnergy[3];
    e.dbkp3 = r.lmEnergy[4];
    return e;
}

int ImportReadings(const std::vector<ReadingRecord>& readings, MeterDatabase& db,
                   Prompter& prompter)
{
    // One commit for the whole file; without a transaction every row would be a commit of its
    // own, which still works, only slower.
    const bool batch = db.BeginEnergyBatch();
    int count = 0;
    bool lost = false; // the database undid the whole batch
    for (const ReadingRecord& r : readings) {
        if (r.status == 0)
            continue;
        if (db.InsertEnergy(MakeEnergyRecord(r))) {
            ++count;
            continue;
        }
        // Going on would store the later rows one by one without the earlier ones.
        if (batch && !db.InEnergyBatch()) {
            lost = true;
            break;
        }
        if (prompter.Message("Continue?", std::string{}, MsgIcon::None, MsgButtons::YesNo) ==
            MsgAnswer::No)
            break;
    }
    if (batch && !lost && !db.CommitEnergyBatch()) {
        db.RollbackEnergyBatch();
        lost = true;
    }
    if (lost)
        count = 0;
    char text[64];
    std::snprintf(text, sizeof text, "Total input %d records!", count);
    std::string shown = text;
    if (lost)
        shown = std::string(kImportUndone) + "\n" + shown;
    prompter.Message(shown, "Input result", MsgIcon::None, MsgButtons::Ok);
    return count;
}

} // namespace mrv
