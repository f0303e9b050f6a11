#include "link/ReplyAssembler.h"
#include "LinkTestFrames.h"
#include "link/Frames.h"

#include <gtest/gtest.h>

namespace mrv {
namespace {

using test::Bytes;
using Step = ReplyAssembler::Step;

ReplyForm Direct(std::uint8_t lead, std::uint8_t function = 3)
{
    ReplyForm form;
    form.leadByte = lead;
    form.function = function;
    return form;
}

ReplyForm Relay(int hops, bool carrier = false, std::uint8_t carrierLead = 1)
{
    ReplyForm form;
    form.leadByte = carrier ? carrierLead : static_cast<std::uint8_t>(0xC0 + hops);
    form.relayMode = hops >= 0;
    form.carrierMode = carrier;
    form.hops = hops < 0 ? 0 : hops;
    return form;
}

// Feeds bytes one by one; returns the index of the byte on which the assembler stopped
// (Complete or Failed), or -1 when it still wants more after the last one.
struct FeedResult {
    Step step;
    int stoppedAt;
};

FeedResult FeedAll(ReplyAssembler& a, const Bytes& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const Step step = a.Feed(bytes[i]);
        if (step != Step::More)
            return {step, static_cast<int>(i)};
    }
    return {Step::More, -1};
}

Bytes Unwrapped(const ReplyAssembler& a)
{
    return Bytes(a.Buffer().begin(), a.Buffer().begin() + a.FrameLength());
}

TEST(ReplyAssembler, DirectReadCompletesAtByteCountPlusFive)
{
    const Bytes reply = test::ReadReply(1, 5); // byte count 10: 15 bytes
    ASSERT_EQ(reply.size(), 15u);
    ReplyAssembler a(Direct(1));
    const FeedResult r = FeedAll(a, test::Concat(reply, {0x01, 0x03})); // trailing bytes
    EXPECT_EQ(r.step, Step::Complete);
    EXPECT_EQ(r.stoppedAt, 14);
    EXPECT_EQ(Unwrapped(a), reply);
    EXPECT_EQ(a.FunctionCode(), 3);
    // A further byte changes nothing.
    EXPECT_EQ(a.Feed(0x55), Step::Complete);
    EXPECT_EQ(a.Buffer()[15], 0);
}

TEST(ReplyAssembler, NoiseBeforeTheLeadByteIsDroppedButCounted)
{
    const Bytes reply = test::ReadReply(7, 6); // 17 bytes
    {
        ReplyAssembler a(Direct(7));
        const FeedResult r = FeedAll(a, test::Concat({0x00, 0xFF, 0x03, 0x12}, reply));
        EXPECT_EQ(r.step, Step::Complete);
        EXPECT_EQ(Unwrapped(a), reply);
        EXPECT_EQ(a.Arrived(), 4 + static_cast<int>(reply.size()));
    }
    {
        // 190 noise bytes leave room for 10 more: the reply's 11th byte is the 201st arrival.
        ReplyAssembler a(Direct(7));
        const FeedResult r = FeedAll(a, test::Concat(Bytes(190, 0x00), reply));
        EXPECT_EQ(r.step, Step::Failed);
        EXPECT_EQ(r.stoppedAt, 200);
    }
}

TEST(ReplyAssembler, DirectCrcFaultFailsOnTheLastByte)
{
    Bytes reply = test::ReadReply(1, 6);
    reply.back() ^= 0x01;
    ReplyAssembler a(Direct(1));
    const FeedResult r = FeedAll(a, reply);
    EXPECT_EQ(r.step, Step::Failed);
    EXPECT_EQ(r.stoppedAt, static_cast<int>(reply.size()) - 1);
}

TEST(ReplyAssembler, DirectWriteReplyCompletesAtEightBytes)
{
    const Bytes reply = test::WriteReply(3, 0x2710, 2);
    ReplyAssembler a(Direct(3, 16));
    const FeedResult r = FeedAll(a, reply);
    EXPECT_EQ(r.step, Step::Complete);
    EXPECT_EQ(r.stoppedAt, 7);
    EXPECT_EQ(a.FunctionCode(), 16);
}

TEST(ReplyAssembler, EndlessStreamFailsAtTwoHundredStored)
{
    // Byte count 0xFF asks for 260 bytes, more than the buffer holds.
    Bytes stream{0x01, 0x03, 0xFF};
    stream.resize(250, 0x11);
    ReplyAssembler a(Direct(1));
    const FeedResult r = FeedAll(a, stream);
    EXPECT_EQ(r.step, Step::Failed);
    EXPECT_EQ(r.stoppedAt, 199);
    EXPECT_EQ(a.Stored(), 200);
}

TEST(ReplyAssembler, RelayRepliesUnwrapByHopCount)
{
    const Bytes inner = test::ReadReply(1, 3);
    const struct {
        std::uint16_t relay1, relay2;
        int hops;
    } cases[] = {{0, 0, 0}, {5, 0, 1}, {5, 0x0102, 2}};
    for (const auto& c : cases) {
        const Bytes relay = WrapRelay(inner, c.relay1, c.relay2, 1);
        ReplyAssembler a(Relay(c.hops));
        const FeedResult r = FeedAll(a, test::Concat({0x33}, relay));
        EXPECT_EQ(r.step, Step::Complete) << c.hops;
        EXPECT_EQ(r.stoppedAt, static_cast<int>(relay.size())) << c.hops;
        EXPECT_EQ(Unwrapped(a), inner) << c.hops;
        EXPECT_EQ(a.Buffer()[inner.size()], 0) << "tail cleared, hops " << c.hops;
    }
}

// The relay sum and the carrier CRC only prove the last hop: the meter's own frame inside
// them is checked too, and the layer that failed is named.
TEST(ReplyAssembler, EveryLayerIsChecked)
{
    const Bytes inner = test::ReadReply(1, 3);
    Bytes damaged = inner;
    damaged[4] ^= 0x40; // between the meter and the relay; the relay sums what it got
    Bytes badSum = WrapRelay(inner, 5, 0, 1);
    badSum.back() ^= 0x01;
    Bytes badCarrier = WrapCarrier(WrapRelay(inner, 5, 0, 1), 0x01);
    badCarrier[badCarrier.size() - 2] ^= 0x80;
    const struct {
        const char* name;
        ReplyForm form;
        Bytes bytes;
        CheckLayer bad;
    } cases[] = {
        {"relay sum", Relay(1), badSum, CheckLayer::Relay},
        {"inner CRC behind a relay", Relay(1), WrapRelay(damaged, 5, 0, 1), CheckLayer::Modbus},
        {"inner CRC behind the carrier", Relay(1, true, 0x01),
         WrapCarrier(WrapRelay(damaged, 5, 0, 1), 0x01), CheckLayer::Modbus},
        {"carrier CRC", Relay(1, true, 0x01), badCarrier, CheckLayer::Carrier},
        // Two bytes can carry a "good" CRC (FF FF); no Modbus reply is that short.
        {"two-byte inner frame", Relay(1), WrapRelay(Bytes{0xFF, 0xFF}, 5, 0, 1),
         CheckLayer::Modbus},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplyAssembler a(c.form);
        const FeedResult r = FeedAll(a, c.bytes);
        EXPECT_EQ(r.step, Step::Failed);
        EXPECT_EQ(r.stoppedAt, static_cast<int>(c.bytes.size()) - 1);
        EXPECT_EQ(a.FailureReason(), ReplyAssembler::Failure::BadCheck);
        EXPECT_EQ(a.BadLayer(), c.bad);
    }
}

TEST(ReplyAssembler, AnExceptionIsWholeAtFiveBytes)
{
    for (const std::uint8_t function : {std::uint8_t{3}, std::uint8_t{16}}) {
        SCOPED_TRACE(int(function));
        const Bytes exception = test::WithCrc({0x01, std::uint8_t(function | 0x80), 0x02});
        ReplyAssembler a(Direct(1, function));
        const FeedResult r = FeedAll(a, exception);
        EXPECT_EQ(r.step, Step::Complete);
        EXPECT_EQ(r.stoppedAt, 4);
        EXPECT_EQ(a.FunctionCode(), function | 0x80);
    }
}

// A two-wire line hears its own request. The copy is dropped by content wherever it comes
// (whole, its rest after the purge took its start, after noise); a damaged copy fails its
// check and the reply is looked for after it.
TEST(ReplyAssembler, TheEchoOfTheRequestIsDroppedByContent)
{
    const Bytes read{0x01, 0x03, 0x27, 0x10, 0x00, 0x06, 0xCE, 0xB9};
    const Bytes reply = test::ReadReply(1, 6);
    // A write's echo starts like its acknowledgement: 01 10 00 15 00 01 ...
    const Bytes write = test::WithCrc({0x01, 0x10, 0x00, 0x15, 0x00, 0x01, 0x02, 0x05, 0x03});
    const Bytes ack = test::WriteReply(1, 0x0015, 1);
    Bytes damagedEcho = read;
    damagedEcho[7] ^= 0x01;
    const struct {
        const char* name;
        Bytes request;
        std::uint8_t function;
        int echoSeen;
        Bytes arrives;
        Bytes expected;
        int echoDropped;
    } cases[] = {
        {"whole echo, then the reply", read, 3, 0, test::Concat(read, reply), reply, 8},
        {"noise, echo, reply", read, 3, 0, test::Concat(test::Concat({0x00}, read), reply), reply,
         8},
        {"the echo's rest after the purge", read, 3, 5, test::Concat({0x06, 0xCE, 0xB9}, reply),
         reply, 3},
        {"all of the echo purged", read, 3, 8, reply, reply, 0},
        {"write echo, then its acknowledgement", write, 16, 0, test::Concat(write, ack), ack,
         11},
        {"damaged echo, then the reply", read, 3, 0, test::Concat(damagedEcho, reply), reply,
         8},
        {"no echo at all", read, 3, 0, reply, reply, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplyForm form = ReplyForm::Of(c.request.data(), int(c.request.size()), c.function,
                                       false, false);
        form.echoSeen = c.echoSeen;
        ReplyAssembler a(form);
        const FeedResult r = FeedAll(a, c.arrives);
        EXPECT_EQ(r.step, Step::Complete);
        EXPECT_EQ(r.stoppedAt, static_cast<int>(c.arrives.size()) - 1);
        EXPECT_EQ(Unwrapped(a), c.expected);
        EXPECT_EQ(a.EchoDropped(), c.echoDropped);
    }
    // Only the echo: no reply, and the wait goes on for one.
    ReplyAssembler a(ReplyForm::Of(read.data(), int(read.size()), 3, false, false));
    EXPECT_EQ(FeedAll(a, read).step, Step::More);
    EXPECT_EQ(a.Stored(), 0);
}

TEST(ReplyAssembler, CarrierRepliesUnwrapBothLayers)
{
    const Bytes inner = test::ReadReply(1, 6);
    // With relay mode off the carrier content is still a relay frame, without relays.
    for (int hops : {-1, 0, 1, 2}) {
        const Bytes relay = WrapRelay(inner, hops >= 1 ? 5 : 0, hops == 2 ? 9 : 0, 1);
        const Bytes carrier = WrapCarrier(relay, 0x01);
        ReplyAssembler a(Relay(hops, true, 0x01));
        const FeedResult r = FeedAll(a, test::Concat({0x43, 0x00}, carrier));
        EXPECT_EQ(r.step, Step::Complete) << hops;
        EXPECT_EQ(Unwrapped(a), inner) << hops;
    }
    // A carrier CRC fault fails on the last byte.
    Bytes carrier = WrapCarrier(WrapRelay(inner, 5, 0, 1), 0x01);
    carrier[carrier.size() - 2] ^= 0x80;
    ReplyAssembler a(Relay(1, true, 0x01));
    const FeedResult r = FeedAll(a, carrier);
    EXPECT_EQ(r.step, Step::Failed);
    EXPECT_EQ(r.stoppedAt, static_cast<int>(carrier.size()) - 1);
}

TEST(ReplyAssembler, RelayLengthBytePointingPastTheFrameIsRejected)
{
    // A well-formed carrier frame whose relay content claims 250 inner bytes.
    const Bytes content{0xC1, 0x00, 0x05, 0x00, 0x01, 250, 0x01, 0x03, 0x00};
    const Bytes carrier = WrapCarrier(content, 0x01);
    ReplyAssembler a(Relay(1, true, 0x01));
    EXPECT_EQ(FeedAll(a, carrier).step, Step::Failed);

    // Content too short to even hold the length byte.
    ReplyAssembler b(Relay(1, true, 0x01));
    EXPECT_EQ(FeedAll(b, WrapCarrier(Bytes{0xC1, 0x00}, 0x01)).step, Step::Failed);
}

TEST(ReplyFormOf, HopsComeFromTheRelayLeadByte)
{
    const Bytes relay{0xC2, 0, 5, 0, 6, 0, 1, 8};
    const Bytes carrier = test::Concat({0x07, 0x43, 0x08}, relay);
    const struct {
        const Bytes* frame;
        bool relayMode, carrierMode;
        std::uint8_t lead;
        int hops;
    } cases[] = {{&relay, true, false, 0xC2, 2},
                 {&carrier, true, true, 0x07, 2},
                 {&carrier, false, true, 0x07, 0},
                 {&relay, false, false, 0xC2, 0}};
    for (const auto& c : cases) {
        const ReplyForm form = ReplyForm::Of(c.frame->data(), static_cast<int>(c.frame->size()), 3,
                                             c.relayMode, c.carrierMode);
        EXPECT_EQ(form.leadByte, c.lead);
        EXPECT_EQ(form.hops, c.hops);
    }
}

} // namespace
} // namespace mrv
