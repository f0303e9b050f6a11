#pragma once
// Per-meter counts of a run's transactions by outcome, and the response times of the answers:
// what a field engineer wants to know of a line that answers only now and then.
#include "link/LinkTrace.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace mrv {

// Least, median, 95th percentile and most of a set of times, in microseconds. The median of
// an even count is the mean of the middle two; the percentile is the nearest rank (the value
// at rank ceil(0.95 n)). All 0 for an empty set.
struct TimeSummary {
    std::uint64_t least = 0;
    std::uint64_t median = 0;
    std::uint64_t p95 = 0;
    std::uint64_t most = 0;
};
TimeSummary Summarise(std::vector<std::uint64_t> times);

struct MeterStatistics {
    std::uint8_t address = 0; // the Modbus address asked
    int requests = 0;
    std::array<int, kTraceOutcomes> outcomes{};
    std::vector<std::uint64_t> responseUs; // of the answered transactions, in order

    int Count(TraceOutcome o) const { return outcomes[static_cast<std::size_t>(o)]; }
    TimeSummary Responses() const { return Summarise(responseUs); }
};

class LinkStatistics {
public:
    void Add(const TransactionTrace& trace);
    void Clear() { m_meters.clear(); }
    bool Empty() const { return m_meters.empty(); }
    // In the order the meters were first asked.
    const std::vector<MeterStatistics>& Meters() const { return m_meters; }

    // One line per meter, each ending in '\n':
    // "meter 1: 5 requests, 3 answered, 1 silence, 1 bad-check; response 4.9 / 5.1 / 6.0 /
    //  6.0 ms (least / median / 95% / most)"
    std::string Text() const;

private:
    std::vector<MeterStatistics> m_meters;
};

} // namespace mrv
