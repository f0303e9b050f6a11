#pragma once
// A numbered batch of new meters for one Block (up to 100 at a time): the Meter ID and ID2 of
// each meter, what the next batch is offered, and the insertion with its "Continue?" question
// on a failed row.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mrv {

class CMrvDoc;

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
