#include "doc/EnergyImport.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "datafile/FileBytes.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QString>

#if !defined(_WIN32)
#include <pwd.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace mrv {

namespace {

std::string Shown(const char* text)
{
    return QCoreApplication::translate("mrv::EnergyImport", text).toStdString();
}

// The unit's totals roll over at one million; the database keeps the part below it.
double BelowOneMillion(double total)
{
    return total >= 1000000.0 ? total - 1000000.0 : total;
}

std::string LoginName()
{
#if !defined(_WIN32)
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name)
        return pw->pw_name;
#endif
    for (const char* var : {"USER", "USERNAME", "LOGNAME"})
        if (const char* v = std::getenv(var); v && *v)
            return v;
    return "?";
}

// The damaged records left out, one line each, the first 20 of them.
std::string DamagedLines(const std::vector<const ReadingRecord*>& damaged)
{
    constexpr std::size_t kShown = 20;
    std::string text = "\n" + QCoreApplication::translate("mrv::EnergyImport",
                                                          "%1 damaged record(s) were not stored:")
                                  .arg(damaged.size())
                                  .toStdString();
    for (std::size_t i = 0; i < damaged.size() && i < kShown; ++i)
        text += "\n  " + damaged[i]->meterId2 + ": " + damaged[i]->damage;
    if (damaged.size() > kShown)
        text += "\n  " + QCoreApplication::translate("mrv::EnergyImport", "... and %1 more")
                             .arg(damaged.size() - kShown)
                             .toStdString();
    return text;
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

std::optional<MeterDatabase::ImportedFile>
DescribeImportedFile(const std::string& path, const std::vector<ReadingRecord>& readings,
                     const Clock& clock)
{
    std::vector<std::uint8_t> bytes;
    if (!filebytes::ReadFileWhole(path, bytes))
        return std::nullopt;
    MeterDatabase::ImportedFile f;
    f.hash = QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<qsizetype>(bytes.size())),
                                      QCryptographicHash::Sha256)
                 .toHex()
                 .toStdString();
    const QFileInfo info(QString::fromStdString(path));
    f.fileName = info.fileName().toStdString();
    // "0003.dbf" and "0003S.dbf" are HHU 0003's files.
    const QString stem = info.completeBaseName();
    QString digits;
    for (QChar c : stem) {
        if (!c.isDigit())
            break;
        digits += c;
    }
    f.hhu = digits.toStdString();
    // The latest reading date, compared as year, month, day.
    std::array<std::uint8_t, 3> latest{};
    for (const ReadingRecord& r : readings) {
        if (r.status == 0)
            continue;
        const std::array<std::uint8_t, 3> ymd{r.readDate[2], r.readDate[1], r.readDate[0]};
        latest = std::max(latest, ymd);
    }
    if (latest != std::array<std::uint8_t, 3>{}) {
        char date[16];
        std::snprintf(date, sizeof date, "%02x-%02x-%02x", latest[0], latest[1], latest[2]);
        f.readTime = date;
    }
    const PcTime t = clock.Now();
    char now[32];
    std::snprintf(now, sizeof now, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    f.importedAt = now;
    f.importedBy = LoginName();
    return f;
}

ImportResult ImportDataFile(const std::vector<ReadingRecord>& readings, MeterDatabase& db,
                            Prompter& prompter, const ImportOptions& options)
{
    ImportResult result;
    std::vector<EnergyRecord> rows;
    std::vector<const ReadingRecord*> sources; // the reading of each row
    std::vector<const ReadingRecord*> damaged;
    for (const ReadingRecord& r : readings) {
        if (r.status == 0)
            continue;
        if (!r.damage.empty() && !options.damaged) {
            damaged.push_back(&r);
            continue;
        }
        rows.push_back(MakeEnergyRecord(r));
        sources.push_back(&r);
    }
    result.damagedLeft = static_cast<int>(damaged.size());

    std::optional<MeterDatabase::ImportedFile> file = options.file;
    bool again = options.again;
    if (file) {
        MeterDatabase::ImportedFile before;
        const int known = db.FindImportedFile(file->hash, &before);
        if (known < 0) {
            result.refused = true;
            return result;
        }
        if (known > 0 && !again) {
            const QString question =
                before.times > 1
                    ? QCoreApplication::translate(
                          "mrv::EnergyImport",
                          "%1 was imported into this database on %2 by %3 (%4 readings, %5 "
                          "imports). Importing it again stores its readings twice.\nImport it "
                          "again?")
                          .arg(QString::fromStdString(file->fileName),
                               QString::fromStdString(before.importedAt),
                               QString::fromStdString(before.importedBy),
                               QString::number(before.readings), QString::number(before.times))
                    : QCoreApplication::translate(
                          "mrv::EnergyImport",
                          "%1 was imported into this database on %2 by %3 (%4 readings). "
                          "Importing it again stores its readings twice.\nImport it again?")
                          .arg(QString::fromStdString(file->fileName),
                               QString::fromStdString(before.importedAt),
                               QString::fromStdString(before.importedBy),
                               QString::number(before.readings));
            if (prompter.Message(
                    question.toStdString(),
                    QCoreApplication::translate("mrv::EnergyImport", "Input").toStdString(),
                    MsgIcon::Question, MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes) {
                result.declined = true;
                return result;
            }
        }
        again = known > 0;
    }

    // One commit for the whole file; without a transaction every row would be a commit of its
    // own, which still works, only slower.
    const bool batch = db.BeginEnergyBatch();
    bool lost = false; // the database undid the whole batch
    bool undo = false; // the import is to store nothing
    std::string why;   // what ended it, for the result
    if (file) {
        std::string error;
        MeterDatabase::ImportedFile remembered = *file;
        remembered.readings = static_cast<int>(rows.size());
        if (!db.RememberImportedFile(remembered, again, &error)) {
            // Another import of the same file ended first (its key is there now), or the
            // table cannot be written.
            if (batch && db.InEnergyBatch())
                db.RollbackEnergyBatch();
            prompter.Message(
                QCoreApplication::translate("mrv::EnergyImport",
                                            "%1 could not be recorded as imported, so none of its "
                                            "readings were stored: %2")
                    .arg(QString::fromStdString(file->fileName), QString::fromStdString(error))
                    .toStdString(),
                QCoreApplication::translate("mrv::EnergyImport", "Input result").toStdString(),
                MsgIcon::Warning, MsgButtons::Ok);
            result.refused = true;
            return result;
        }
    }

    constexpr std::size_t kChunk = 500;
    const int total = static_cast<int>(rows.size());
    bool ended = false;
    for (std::size_t at = 0; at < rows.size() && !ended; at += kChunk) {
        if (options.stopped && options.stopped()) {
            result.stopped = true;
            undo = true;
            break;
        }
        const std::size_t n = std::min(kChunk, rows.size() - at);
        const std::vector<EnergyRecord> chunk(rows.begin() + static_cast<std::ptrdiff_t>(at),
                                              rows.begin() + static_cast<std::ptrdiff_t>(at + n));
        if (db.InsertEnergyRows(chunk)) {
            result.stored += static_cast<int>(n);
        } else if (db.EnergyConnectionLost() || (batch && !db.InEnergyBatch())) {
            lost = true;
            break;
        } else {
            // One by one, to find the refused row and ask about it.
            for (std::size_t i = 0; i < n; ++i) {
                if (db.InsertEnergy(chunk[i])) {
                    ++result.stored;
                    continue;
                }
                // Going on would store the later rows one by one without the earlier ones.
                if (db.EnergyConnectionLost() || (batch && !db.InEnergyBatch())) {
                    lost = true;
                    ended = true;
                    break;
                }
                result.refused = true;
                if (options.allOrNothing) {
                    undo = true;
                    why = QCoreApplication::translate(
                              "mrv::EnergyImport",
                              "The database refused the reading of meter %1: nothing of this "
                              "file was stored.")
                              .arg(QString::fromStdString(sources[at + i]->meterId2))
                              .toStdString();
                    ended = true;
                    break;
                }
                if (prompter.Message(
                        QCoreApplication::translate("mrv::EnergyImport", "Continue?").toStdString(),
                        std::string{}, MsgIcon::None, MsgButtons::YesNo) == MsgAnswer::No) {
                    ended = true;
                    break;
                }
            }
        }
        if (options.progress)
            options.progress(std::min(total, static_cast<int>(at + n)), total);
    }
    if (result.stopped)
        why = QCoreApplication::translate("mrv::EnergyImport",
                                          "Input stopped: nothing of this file was stored.")
                  .toStdString();
    // A file none of whose readings were stored is not remembered as imported.
    if (!lost && result.stored == 0 && file)
        undo = true;
    if (batch && !lost) {
        if (undo) {
            db.RollbackEnergyBatch();
        } else if (!db.CommitEnergyBatch()) {
            db.RollbackEnergyBatch();
            lost = true;
        }
    }
    // Asked once the batch is over; true only when the server is gone.
    const bool gone = lost && db.EnergyConnectionLost();
    if (lost || undo)
        result.stored = 0;
    result.undone = lost;
    std::string shown = QCoreApplication::translate("mrv::EnergyImport", "Total input %1 records!")
                            .arg(result.stored)
                            .toStdString();
    if (lost)
        shown = Shown(gone ? kConnectionLost : kImportUndone) + "\n" + shown;
    else if (!why.empty())
        shown = why + "\n" + shown;
    if (!damaged.empty())
        shown += DamagedLines(damaged);
    if (!options.database.empty() && result.stored > 0)
        shown += "\n" + QCoreApplication::translate("mrv::EnergyImport", "Stored into %1")
                            .arg(QString::fromStdString(options.database))
                            .toStdString();
    prompter.Message(shown,
                     QCoreApplication::translate("mrv::EnergyImport", "Input result").toStdString(),
                     MsgIcon::None, MsgButtons::Ok);
    return result;
}

int ImportReadings(const std::vector<ReadingRecord>& readings, MeterDatabase& db,
                   Prompter& prompter)
{
    return ImportDataFile(readings, db, prompter, {}).stored;
}

} // namespace mrv
