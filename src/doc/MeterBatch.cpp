#include "doc/MeterBatch.h"

#include "base/GbkText.h"
#include "base/Prompter.h"
#include "base/Records.h"
#include "db/MeterDatabase.h"
#include "doc/CMrvDoc.h"

#include <algorithm>

namespace mrv {

namespace {

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
    return "The database did not keep the last " + std::to_string(rows) +
           (rows == 1 ? " meter" : " meters") + " of this batch.";
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
        stopped = prompter.Message("Continue?", "", MsgIcon::Question, MsgButtons::YesNo) !=
                  MsgAnswer::Yes;
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
