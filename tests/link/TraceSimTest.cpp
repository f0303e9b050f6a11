// The trace of the engine against the simulated meter: each fault the simulator can put on
// the line comes out as its outcome, through the engine and the real port.
#include "OperationSimTest.h"

#include "link/LinkStatistics.h"

#include <optional>

namespace mrv::test {
namespace {

class TraceSimTest : public OperationSimTest {
protected:
    void SetUp() override
    {
        OperationSimTest::SetUp();
        link.SetTraceSink([this](const TransactionTrace& t) { traces.push_back(t); });
        // The outcome does not depend on how long the engine waits; the test does.
        link.SetIdleTimeout(400);
    }

    std::vector<TransactionTrace> traces;
};

TEST_F(TraceSimTest, EachFaultComesOutAsItsOutcome)
{
    const struct {
        const char* fault;
        TraceOutcome outcome;
        const char* detail; // its start
    } cases[] = {
        {"none", TraceOutcome::Answered, "after "},
        {"silent", TraceOutcome::Silence, "nothing came in 400 ms"},
        // The header, then a pause longer than the engine waits.
        {"gap:900", TraceOutcome::Partial, "2 bytes, then nothing for 400 ms"},
        {"badcrc", TraceOutcome::BadCheck, "the CRC is "},
        // The echo is dropped by content and the reply after it taken.
        {"echo", TraceOutcome::Answered, "after "},
        {"address:9", TraceOutcome::OtherMeter, "meter 9 answered, not meter 1"},
        {"exception", TraceOutcome::Exception, "exception 4: server device failure"},
        {"stream", TraceOutcome::TooLong, "201 bytes without a complete reply"},
    };
    std::array<std::uint8_t, MeterLink::kReplySize> buffer{};
    LinkStatistics stats;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        SimFaults faults;
        ASSERT_TRUE(ParseSimFault(c.fault, faults));
        sim.SetFaults(faults);
        traces.clear();
        const int repliesBefore = sim.ReplyCount();
        const std::uint8_t result = link.Transact(3, 10000, 6, buffer.data(), 1, 0);
        EXPECT_EQ(result, c.outcome == TraceOutcome::Answered    ? 3
                          : c.outcome == TraceOutcome::Exception ? 0x83
                                                                 : 0);
        ASSERT_EQ(traces.size(), 1u);
        const TransactionTrace& t = traces[0];
        EXPECT_EQ(OutcomeWord(t.outcome), std::string(OutcomeWord(c.outcome)));
        EXPECT_EQ(t.detail.rfind(c.detail, 0), 0u) << t.detail;
        EXPECT_EQ(t.request, (std::vector<std::uint8_t>{0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9}));
        stats.Add(t);
        // A gap's rest comes after the engine gave up: it is sent (the reply counted) before
        // the next case, whose request would otherwise drop it into that case's reply.
        if (c.outcome == TraceOutcome::Partial) {
            EXPECT_TRUE(WaitReplies(repliesBefore + 1));
        }
        sim.SetFaults({});
    }
    ASSERT_EQ(stats.Meters().size(), 1u);
    const MeterStatistics& m = stats.Meters()[0];
    EXPECT_EQ(m.requests, 8);
    for (int k = 0; k < kTraceOutcomes; ++k)
        EXPECT_EQ(m.outcomes[std::size_t(k)], k == int(TraceOutcome::Answered)   ? 2
                                              : k == int(TraceOutcome::Mismatch) ||
                                                      k == int(TraceOutcome::Echo)
                                                  ? 0
                                                  : 1)
            << k;
    EXPECT_EQ(m.responseUs.size(), 2u);
}

} // namespace
} // namespace mrv::test
