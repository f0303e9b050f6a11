#include "doc/MeterBatch.h"

#include "base/GbkText.h"
#include "base/NumberText.h"
#include "base/Prompter.h"
#include "base/Records.h"
#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"

#include <QCoreApplication>

#include <algorithm>

namespace mrv {

namespace {

QString S2Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QString BlockNumber(std::int32_t blockId)
{
    return S2Q(FormatC("%04d", int(blockId)));
}

int DigitValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

// Two characters as a two-digit decimal number plus k, the carry dropped.
std::string TwoDigitSum(char tens, char ones, int k)
{
    const int sum = (DigitValue(tens) * 10 + DigitValue(ones) + k % 100) % 100;
    return {char('0' + sum / 10), char('0' + sum % 10)};
}

std::string FormatLost(int rows)
{
    return (rows == 1 ? QCoreApplication::translate(
                            "mrv::MeterBatch",
                            "The database did not keep the last 1 meter of this batch.")
                      : QCoreApplication::translate(
                            "mrv::MeterBatch",
                            "The database did not keep the last %1 meters of this batch.")
                            .arg(rows))
        .toStdString();
}

} // namespace

std::string BatchMeterId(std::string_view idFrom, int k)
{
    std::string two(idFrom.substr(0, 2));
    two.insert(0, 2 - two.size(), '0');
    return TwoDigitSum(two[0], two[1], k);
}

std::string AdvanceId2Number(std::string_view number, int k)
{
    std::string out(number);
    if (out.empty())
        return out;
    if (out.size() == 1)
        return TwoDigitSum('0', out[0], k).substr(1);
    const std::string last = TwoDigitSum(out[out.size() - 2], out.back(), k);
    out.replace(out.size() - 2, 2, last);
    return out;
}

std::size_t Id2NumberLimit(std::string_view prefix)
{
    const std::size_t used = GbkWidth(prefix);
    return used >= MeterRecord::kNumWidth ? 0 : MeterRecord::kNumWidth - used;
}

std::string MeterBatch::Id2(int k) const
{
    return CutUtf8ToGbkWidth(prefix + AdvanceId2Number(number, k), MeterRecord::kNumWidth);
}

MeterBatch MeterBatch::Next() const
{
    MeterBatch next = *this;
    next.idFrom = MeterId(count);
    next.number = AdvanceId2Number(number, count);
    return next;
}

namespace {

// The decimal number `digits` plus one, as long as it is or one longer when it carries out.
std::string NextNumber(std::string digits)
{
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return "1" + digits;
}

bool AllDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

MeterBatch ProposedBatch(const MeterBatch& remembered, const MeterList& blockMeters)
{
    const std::size_t width = remembered.number.size();
    if (width == 0)
        return remembered;
    const MeterRecord* highest = nullptr;
    std::string highestNumber;
    for (const MeterRecord& m : blockMeters) {
        const std::string_view id2 = m.property_num;
        if (id2.size() != remembered.prefix.size() + width ||
            id2.substr(0, remembered.prefix.size()) != remembered.prefix)
            continue;
        const std::string_view number = id2.substr(remembered.prefix.size());
        // Numbers of one width compare as texts.
        if (AllDigits(number) && (!highest || number > highestNumber)) {
            highest = &m;
            highestNumber = std::string(number);
        }
    }
    if (!highest || remembered.number > highestNumber)
        return remembered;
    MeterBatch proposed = remembered;
    proposed.number = NextNumber(highestNumber);
    if (GbkWidth(proposed.number) > Id2NumberLimit(proposed.prefix))
        return remembered; // no room after the prefix: the check on OK says what is in use
    if (highest->meter_num.size() == 2 && AllDigits(highest->meter_num))
        proposed.idFrom = BatchMeterId(highest->meter_num, 1);
    return proposed;
}

bool SameMeterRow(const MeterRecord& a, const MeterRecord& b)
{
    if (a.row_key > 0 || b.row_key > 0)
        return a.row_key == b.row_key;
    return a.meter_num == b.meter_num && a.district_id == b.district_id;
}

std::string Id2InUseMessage(const MeterRecord& holder)
{
    return QCoreApplication::translate("mrv::MeterBatch",
                                       "Meter ID2 %1 is already in use (Meter ID %2 of Block %3).")
        .arg(S2Q(holder.property_num), S2Q(holder.meter_num), BlockNumber(holder.district_id))
        .toStdString();
}

std::optional<std::string> BatchId2Refusal(MeterDatabase& db, const MeterBatch& batch)
{
    const int count = std::clamp(batch.count, 0, MeterBatch::kMaxCount);
    std::vector<std::string> id2s;
    for (int k = 0; k < count; ++k) {
        std::string id2 = batch.Id2(k);
        if (id2.empty())
            continue;
        if (std::find(id2s.begin(), id2s.end(), id2) != id2s.end())
            return QCoreApplication::translate(
                       "mrv::MeterBatch",
                       "Meter ID2 %1 would be given to two meters of this batch.")
                .arg(S2Q(id2))
                .toStdString();
        id2s.push_back(std::move(id2));
    }
    const MeterList holders = db.MetersWithId2(id2s);
    // The first of the batch, in batch order, that a meter holds.
    for (const std::string& id2 : id2s)
        for (const MeterRecord& m : holders)
            if (m.property_num == id2)
                return Id2InUseMessage(m);
    return std::nullopt;
}

std::optional<std::string> BatchMeterIdQuestion(const MeterList& blockMeters, std::int32_t blockId,
                                                const MeterBatch& batch)
{
    const int count = std::clamp(batch.count, 0, MeterBatch::kMaxCount);
    std::string first;
    int used = 0;
    for (int k = 0; k < count; ++k) {
        const std::string id = batch.MeterId(k);
        const bool inUse = std::any_of(blockMeters.begin(), blockMeters.end(),
                                       [&](const MeterRecord& m) { return m.meter_num == id; });
        if (!inUse)
            continue;
        if (used++ == 0)
            first = id;
    }
    if (used == 0)
        return std::nullopt;
    if (used == 1)
        return QCoreApplication::translate(
                   "mrv::MeterBatch",
                   "Meter ID %1 is already used in Block %2.\nAdd the meters all the same?")
            .arg(S2Q(first), BlockNumber(blockId))
            .toStdString();
    return QCoreApplication::translate(
               "mrv::MeterBatch",
               "Meter ID %1 is already used in Block %2 (and %3 more Meter IDs of this "
               "batch).\nAdd the meters all the same?")
        .arg(S2Q(first), BlockNumber(blockId), QString::number(used - 1))
        .toStdString();
}

bool BatchAccepted(CMrvDoc& doc, std::int32_t blockId, const MeterBatch& batch)
{
    Prompter& prompter = doc.GetPrompter();
    if (const auto refusal = BatchId2Refusal(doc.GetDatabase(), batch)) {
        prompter.Message(*refusal, "", MsgIcon::Warning, MsgButtons::Ok);
        return false;
    }
    MeterList blockMeters;
    doc.GetDatabase().LoadMeters(blockId, &blockMeters);
    if (const auto question = BatchMeterIdQuestion(blockMeters, blockId, batch))
        return prompter.Message(*question, "", MsgIcon::Question, MsgButtons::YesNo) ==
               MsgAnswer::Yes;
    return true;
}

bool MeterChangeAccepted(CMrvDoc& doc, const MeterRecord& before, const MeterRecord& after)
{
    Prompter& prompter = doc.GetPrompter();
    MeterDatabase& db = doc.GetDatabase();
    // An ID2 kept as it was is not refused, even where an older database holds it twice.
    if (!after.property_num.empty() && after.property_num != before.property_num) {
        for (const MeterRecord& m : db.FindMeters(after.property_num, 2)) {
            if (!SameMeterRow(m, before)) {
                prompter.Message(Id2InUseMessage(m), "", MsgIcon::Warning, MsgButtons::Ok);
                return false;
            }
        }
    }
    if (after.meter_num == before.meter_num && after.district_id == before.district_id)
        return true;
    MeterList target;
    db.LoadMeters(after.district_id, &target);
    const bool used = std::any_of(target.begin(), target.end(), [&](const MeterRecord& m) {
        return m.meter_num == after.meter_num && !SameMeterRow(m, before);
    });
    if (!used)
        return true;
    return prompter.Message(QCoreApplication::translate(
                                "mrv::MeterBatch",
                                "Meter ID %1 is already used in Block %2.\nKeep it all the same?")
                                .arg(S2Q(after.meter_num), BlockNumber(after.district_id))
                                .toStdString(),
                            "", MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

MeterBatch RememberedBatch(const CMrvDoc& doc)
{
    MeterBatch b;
    b.idFrom = doc.m_lastMeterId;
    b.prefix = doc.m_lastId2Prefix;
    b.number = doc.m_lastMeterId2;
    b.count = doc.m_lastMeterCount;
    return b;
}

void RememberBatch(CMrvDoc& doc, const MeterBatch& batch)
{
    doc.m_lastMeterId = batch.idFrom;
    doc.m_lastId2Prefix = batch.prefix;
    doc.m_lastMeterId2 = batch.number;
    doc.m_lastMeterCount = batch.count;
}

MeterBatchResult AddMeterBatch(CMrvDoc& doc, std::int32_t blockId, const MeterBatch& batch,
                               const std::vector<std::string>& addresses)
{
    MeterBatchResult result;
    MeterDatabase& db = doc.GetDatabase();
    Prompter& prompter = doc.GetPrompter();
    const int count = std::clamp(batch.count, 0, MeterBatch::kMaxCount);
    bool open = false; // a transaction holds the rows since the last commit
    int pending = 0;   // and this many of them
    // Ends the transaction; false when its rows were not kept.
    const auto commit = [&] {
        if (!open)
            return true;
        open = false;
        const int rows = pending;
        pending = 0;
        if (db.CommitMeterBatch()) {
            result.inserted += rows;
            return true;
        }
        // The database ended the transaction itself after a failed row, or refused the
        // commit (and has said why): the rows are gone, which the user must know.
        if (rows > 0)
            prompter.Message(FormatLost(rows), "", MsgIcon::Warning, MsgButtons::Ok);
        return false;
    };
    bool stopped = false;
    for (int k = 0; k < count && !stopped; ++k) {
        if (!open)
            open = db.BeginMeterBatch(); // without one every row is kept at once
        MeterRecord m;
        m.meter_num = batch.MeterId(k);
        m.property_num = batch.Id2(k);
        m.meter_address = CutUtf8ToGbkWidth(
            std::size_t(k) < addresses.size() ? addresses[std::size_t(k)] : std::string(),
            MeterRecord::kAddressWidth);
        m.district_id = blockId;
        if (db.InsertMeter(m)) {
            ++(open ? pending : result.inserted);
            continue;
        }
        commit();
        stopped = prompter.Message(
                      QCoreApplication::translate("mrv::MeterBatch", "Continue?").toStdString(), "",
                      MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes;
    }
    const bool kept = commit();
    doc.SetDataChanged(1);
    if (!stopped && count > 0 && kept) {
        result.reachedEnd = true;
        RememberBatch(doc, batch.Next());
    }
    return result;
}

} // namespace mrv
