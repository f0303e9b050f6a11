#include "link/LinkStatistics.h"

#include "base/NumberText.h"

#include <algorithm>

namespace mrv {

TimeSummary Summarise(std::vector<std::uint64_t> times)
{
    TimeSummary s;
    if (times.empty())
        return s;
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    s.least = times.front();
    s.most = times.back();
    s.median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    // Nearest rank: ceil(0.95 n), counted from 1.
    const std::size_t rank = (95 * n + 99) / 100;
    s.p95 = times[std::max<std::size_t>(rank, 1) - 1];
    return s;
}

void LinkStatistics::Add(const TransactionTrace& trace)
{
    auto it = std::find_if(m_meters.begin(), m_meters.end(),
                           [&](const MeterStatistics& m) { return m.address == trace.address; });
    if (it == m_meters.end()) {
        m_meters.push_back({});
        it = m_meters.end() - 1;
        it->address = trace.address;
    }
    ++it->requests;
    ++it->outcomes[static_cast<std::size_t>(trace.outcome)];
    if (trace.outcome == TraceOutcome::Answered)
        it->responseUs.push_back(trace.replyUs);
}

std::string LinkStatistics::Text() const
{
    std::string out;
    for (const MeterStatistics& m : m_meters) {
        out += FormatC("meter %u: %d %s", m.address, m.requests,
                       m.requests == 1 ? "request" : "requests");
        for (int k = 0; k < kTraceOutcomes; ++k)
            if (m.outcomes[std::size_t(k)] > 0 || k == int(TraceOutcome::Answered))
                out += FormatC(", %d %s", m.outcomes[std::size_t(k)],
                               OutcomeWord(static_cast<TraceOutcome>(k)));
        if (!m.responseUs.empty()) {
            const TimeSummary t = m.Responses();
            out += "; response " + MillisText(t.least) + " / " + MillisText(t.median) + " / " +
                   MillisText(t.p95) + " / " + MillisText(t.most) +
                   " ms (least / median / 95% / most)";
        }
        out += "\n";
    }
    return out;
}

} // namespace mrv
