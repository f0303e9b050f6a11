#include "link/MeterLink.h"

#include "link/Codecs.h"
#include "link/ReplyAssembler.h"

#include <algorithm>

namespace mrv {

void MeterLink::Attach(MeterDocument* document, LogSink log, std::uint8_t* meterAddress,
                       std::uint16_t meterConstant)
{
    m_document = document;
    m_log = std::move(log);
    m_meterAddress = meterAddress;
    m_meterConstant = meterConstant;
}

void MeterLink::SetClock(const Clock* clock)
{
    m_clock = clock ? clock : &SystemClock::Instance();
}

void MeterLink::SetTransport(LinkTransport* transport)
{
    m_transport = transport ? transport : &SerialPortTransport::Instance();
}

LinkSettings MeterLink::CurrentSettings() const
{
    return m_document ? m_document->GetLinkSettings() : LinkSettings{};
}

void MeterLink::Log(const std::string& text) const
{
    if (m_log)
        m_log(text);
}

void MeterLink::SetTraceSink(TraceSink sink)
{
    m_trace = std::move(sink);
}

void MeterLink::GetPcTime(std::uint8_t* time6) const
{
    ::mrv::GetPcTime(std::span<std::uint8_t, 6>(time6, 6), *m_clock);
}

std::uint8_t MeterLink::Transact(std::uint8_t function, std::uint16_t reg, std::uint16_t count,
                                 std::uint8_t* buffer, std::uint8_t address,
                                 std::uint8_t dataLength)
{
    if (!m_trace)
        return Exchange(function, reg, count, buffer, address, dataLength);
    TransactionTrace trace;
    trace.settings = CurrentSettings();
    trace.address = address;
    trace.function = function;
    trace.reg = reg;
    trace.count = count;
    m_tracing = &trace;
    trace.result = Exchange(function, reg, count, buffer, address, dataLength);
    m_tracing = nullptr;
    // A request too long for the line never went out: there is nothing to show.
    if (trace.request.empty())
        return trace.result;
    ClassifyTransaction(trace);
    m_trace(trace);
    return trace.result;
}

std::uint8_t MeterLink::Exchange(std::uint8_t function, std::uint16_t reg, std::uint16_t count,
                                 std::uint8_t* buffer, std::uint8_t address,
                                 std::uint8_t dataLength)
{
    const LinkSettings settings = CurrentSettings();
    const std::span<const std::uint8_t> data(buffer, buffer ? dataLength : 0);
    const std::vector<std::uint8_t> request =
        BuildRequestFrame(settings, address, function, reg, count, data);
    std::array<std::uint8_t, kReplySize> frame{};
    if (request.size() > frame.size())
        return 0;
    std::copy(request.begin(), request.end(), frame.begin());

    const std::uint8_t result =
        SendReceive(frame.data(), static_cast<int>(request.size()), function);
    // Bit 7 (an exception reply) is not looked at here: the operations decide.
    if (result == 0 || (result & 0x1F) != (function & 0x1F))
        return 0;
    // A read is done only with every register asked for. A shorter reply would hand on its
    // CRC bytes, or the zeros behind it, as register values.
    if (result == 3 && (frame[2] != 2 * count || m_replyLength != frame[2] + 5))
        return 0;
    // A write is done only when the meter acknowledges the register and count sent, in the
    // 8-byte frame of that acknowledgement; anything else may be a write it never took.
    if (result == 16 &&
        (m_replyLength != 8 || frame[2] != (reg >> 8) || frame[3] != (reg & 0xFF) ||
         frame[4] != (count >> 8) || frame[5] != (count & 0xFF)))
        return 0;
    if (buffer)
        std::copy(frame.begin(), frame.end(), buffer);
    m_lastReply = frame;
    if (frame[0] != address)
        return 0;
    return result;
}

std::uint16_t MeterLink::ReplyRegister(int i) const
{
    const std::size_t at = 3 + 2 * static_cast<std::size_t>(i);
    if (i < 0 || at + 1 >= m_lastReply.size())
        return 0;
    return static_cast<std::uint16_t>(m_lastReply[at] << 8 | m_lastReply[at + 1]);
}

namespace {

// Where the echo of the request lies in what the purge would throw away: the bytes of the
// request found there (all of them, or its start at the end of what came), 0 for none.
int EchoIn(const std::uint8_t* thrown, int n, const std::uint8_t* request, int length)
{
    for (int i = 0; i < n; ++i) {
        int m = 0;
        while (m < length && i + m < n && thrown[i + m] == request[m])
            ++m;
        if (m == length || (m > 0 && i + m == n))
            return m;
    }
    return 0;
}

} // namespace

bool MeterLink::StopRequested() const
{
    return m_stopCheck && m_stopCheck();
}

std::uint8_t MeterLink::SendReceive(std::uint8_t* frame, int length, std::uint8_t function)
{
    const LinkSettings settings = CurrentSettings();
    LinkTransport& line = *m_transport;
    m_replyLength = 0;
    TransactionTrace* const trace = m_tracing;
    // After a Stop nothing more goes to the meter, even within an operation of several
    // exchanges.
    if (StopRequested())
        return 0;

    // The frame goes out in one write: a gap inside it would make the meter drop it. RTS stays
    // up until the send delay (counted from the start of that write) has passed, the port has
    // drained, and the frame's own wire time has passed: some adapter drivers report the drain
    // done as soon as the chip has the bytes, not when they have left the wire.
    line.ClearErrors();
    line.SetRts(true);
    line.PurgeBoth();
    if (trace) {
        trace->request.assign(frame, frame + std::max(length, 0));
        trace->sentUs = line.TickMicros();
    }
    const std::uint64_t sendStartUs = line.TickMicros();
    const std::uint64_t wireUs = line.WireMicros(length);
    line.Write(frame, length);
    const int drainLimitMs = static_cast<int>(wireUs / 1000) + kDrainGraceMs;
    if (line.Drain(drainLimitMs) == LinkTransport::kDrainTimedOut) {
        line.SetRts(false);
        line.PurgeBoth();
        if (trace) {
            trace->requestEndUs = line.TickMicros();
            trace->end = ReceiveEnd::DrainStuck;
            trace->timeoutMs = static_cast<std::uint32_t>(drainLimitMs);
        }
        return 0;
    }
    const std::uint64_t holdUs =
        std::max<std::uint64_t>(std::uint64_t{settings.sendDelay} * 1000, wireUs);
    for (;;) {
        const std::uint64_t sending = line.TickMicros() - sendStartUs;
        if (sending >= holdUs)
            break;
        line.Sleep(static_cast<std::uint32_t>((holdUs - sending + 999) / 1000));
    }
    line.SetRts(false);

    // The purge stays (meters and RTS-keyed transceivers rely on it), but what it throws away
    // is looked at: the echo of the request is expected there; anything else is a reply that
    // came while the send delay ran.
    std::array<std::uint8_t, kFrameBufferSize> thrown{};
    const int thrownCount =
        line.PurgeAfterSend(thrown.data(), static_cast<int>(thrown.size()));
    const int echoSeen = EchoIn(thrown.data(), thrownCount, frame, length);

    ReplyForm form =
        ReplyForm::Of(frame, length, function, settings.relayMode, settings.carrierMode);
    form.echoSeen = echoSeen;
    std::uint64_t limit = kDirectTimeout;
    if (settings.carrierMode)
        limit = kCarrierTimeout;
    else if (settings.relayMode)
        limit = static_cast<std::uint64_t>(form.hops + 2) * kDirectTimeout;
    if (m_idleTimeout > 0)
        limit = m_idleTimeout;
    if (trace) {
        trace->requestEndUs = line.TickMicros();
        trace->timeoutMs = static_cast<std::uint32_t>(limit);
        trace->purgedEcho = echoSeen;
        trace->purgedEarly = thrownCount - echoSeen;
        trace->wireUs = wireUs;
    }

    // The reply is taken in the bursts that arrive and fed to the assembler byte by byte; the
    // idle time-out restarts with every burst. Never more is read than the assembler may
    // still take, so the byte that breaks the 200-byte limit is the last one taken. The wait
    // is cut into slices so that a Stop is seen within a long time-out.
    ReplyAssembler assembler(std::move(form));
    const auto note = [&](ReceiveEnd end) {
        if (!trace)
            return;
        trace->end = end;
        trace->echoDropped = assembler.EchoDropped();
        trace->replyOffset = assembler.ReplyOffset();
        trace->badLayer = assembler.BadLayer();
    };
    std::array<std::uint8_t, ReplyAssembler::kLimit + 1> burst{};
    std::uint64_t start = line.TickCount();
    for (;;) {
        const std::uint64_t elapsed = line.TickCount() - start;
        if (elapsed >= limit) {
            note(ReceiveEnd::TimedOut);
            return 0;
        }
        if (StopRequested()) {
            note(ReceiveEnd::Stopped);
            if (trace)
                trace->goneUs = line.TickMicros() - trace->requestEndUs;
            Log(kStoppedWaitLog);
            return 0;
        }
        const std::uint64_t remaining = limit - elapsed;
        // A line that reports a hang-up or an error has gone (an adapter pulled out, a device
        // removed): nothing more can arrive, so the transaction fails now, not at its time-out.
        const int ready = line.WaitReadable(
            static_cast<int>(m_stopCheck ? std::min<std::uint64_t>(remaining, kStopSliceMs)
                                         : remaining));
        if (ready < 0) {
            note(ReceiveEnd::LineGone);
            if (trace)
                trace->Gone(line.TickMicros());
            return 0;
        }
        if (ready == 0)
            continue;
        const int room = ReplyAssembler::kLimit + 1 - assembler.Arrived();
        const int n = line.Read(burst.data(), std::min(room, static_cast<int>(burst.size())));
        if (n < 0) {
            note(ReceiveEnd::LineGone);
            if (trace)
                trace->Gone(line.TickMicros());
            return 0; // as above: the line has gone
        }
        if (n == 0)
            continue;
        start = line.TickCount();
        if (trace)
            trace->bursts.push_back(
                {line.TickMicros() - trace->requestEndUs,
                 std::vector<std::uint8_t>(burst.begin(), burst.begin() + n)});
        for (int i = 0; i < n; ++i) {
            switch (assembler.Feed(burst[static_cast<std::size_t>(i)])) {
            case ReplyAssembler::Step::Complete:
                std::copy(assembler.Buffer().begin(), assembler.Buffer().end(), frame);
                m_replyLength = assembler.FrameLength();
                note(ReceiveEnd::Complete);
                if (trace) {
                    trace->frame.assign(frame, frame + m_replyLength);
                    trace->replyUs = trace->bursts.back().atUs;
                }
                return assembler.FunctionCode();
            case ReplyAssembler::Step::Failed:
                note(assembler.FailureReason() == ReplyAssembler::Failure::TooLong
                         ? ReceiveEnd::TooLong
                         : ReceiveEnd::BadCheck);
                return 0;
            case ReplyAssembler::Step::More:
                break;
            }
        }
    }
}

} // namespace mrv
