#pragma once
// A numbered batch of new meters for one Block (up to 100 at a time): the Meter ID and ID2 of
// each meter, what the next batch is offered, and the insertion with its "Continue?" question
// on a failed row.
#include "base/Records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mrv {

class CMrvDoc;
class MeterDatabase;

// The two-digit Meter ID `k` meters after `idFrom`: its first two characters (a shorter text
// is left-padded with "0") as two decimal digits plus k, the carry out of the two digits
// dropped (98 + 3 is 01).
std::string BatchMeterId(std::string_view idFrom, int k);

// `number` advanced by k in its last two digits only, the carry dropped and the other digits
// kept, in as many characters as it has: 000098 + 5 is 000003; a one-character number keeps
// only its last digit (7 + 5 is 2).
std::string AdvanceId2Number(std::string_view number, int k);

// Most characters of the ID2 number after `prefix`: prefix and number make at most the 12 of
// an ID2 (counted in the GBK bytes a table reads back).
std::size_t Id2NumberLimit(std::string_view prefix);

struct MeterBatch {
    static constexpr int kMaxCount = 100;

    std::string idFrom = "00"; // Meter ID of the first meter
    std::string prefix = "xx"; // ID2 of meter k: prefix + number advanced by k
    std::string number = "00";
    int count = 1;

    std::string MeterId(int k) const { return BatchMeterId(idFrom, k); }
    // Cut to the width of `property_num`.
    std::string Id2(int k) const;
    // What the next batch is offered after this one reached its last meter: the numbers that
    // follow its last meter, the same prefix and count.
    MeterBatch Next() const;

    bool operator==(const MeterBatch&) const = default;
};

// What "Meter--Add" offers for a Block: the remembered batch, or, when the Block already holds
// meters whose ID2 is the remembered prefix and a number as long as the remembered one, the
// first start after the highest of them (number and Meter ID), so that OK adds no copies.
MeterBatch ProposedBatch(const MeterBatch& remembered, const MeterList& blockMeters);

// Whether `a` and `b` are one row of `meter`: the same row key, or without keys the same
// number in the same Block.
bool SameMeterRow(const MeterRecord& a, const MeterRecord& b);

// "Meter ID2 xx000001 is already in use (Meter ID 01 of Block 0040)."
std::string Id2InUseMessage(const MeterRecord& holder);

// The ID2s of a batch are unique in the installation (readings are stored under them): the
// refusal naming the first ID2 of the batch that a meter has already, or that two meters of
// the batch would share; none when every one is free. Empty ID2s are not looked at.
std::optional<std::string> BatchId2Refusal(MeterDatabase& db, const MeterBatch& batch);

// Meter IDs repeat in a Block of over 100 meters, so one in use is asked about rather than
// refused: the question when meters of the batch get a Meter ID that `blockMeters` already
// use, none otherwise.
std::optional<std::string> BatchMeterIdQuestion(const MeterList& blockMeters, std::int32_t blockId,
                                                const MeterBatch& batch);

// The checks before a batch is inserted into Block `blockId` (whose meters the document holds):
// a refusal is shown, a question asked. True when the batch may go in.
bool BatchAccepted(CMrvDoc& doc, std::int32_t blockId, const MeterBatch& batch);

// The same for one meter changed from `before` to `after`: a new ID2 that another meter has is
// refused; a new Meter ID or Block where that Block has the number already is asked about.
// True when the change may be written.
bool MeterChangeAccepted(CMrvDoc& doc, const MeterRecord& before, const MeterRecord& after);

// The values the document remembers for the next "Meter--Add", and storing them.
MeterBatch RememberedBatch(const CMrvDoc& doc);
void RememberBatch(CMrvDoc& doc, const MeterBatch& batch);

struct MeterBatchResult {
    int inserted = 0;        // rows the database kept
    bool reachedEnd = false; // meter count - 1 was tried (and the rows were committed)
};

// Inserts the meters of `batch` into Block `blockId` in order, meter k with User Addr
// `addresses[k]` (empty when there is none). When a row cannot be inserted (the database has
// said why) the user is asked "Continue?"; "No" ends the batch and the meters inserted so far
// stay. A batch that reached its last meter is remembered for the next time (its Next()).
// The document's data-changed flag is set. The rows go in one transaction that is committed
// before each question, so the database is never held while the user decides.
MeterBatchResult AddMeterBatch(CMrvDoc& doc, std::int32_t blockId, const MeterBatch& batch,
                               const std::vector<std::string>& addresses);

} // namespace mrv
