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

std::uint8_t MeterLink::SendReceive(std::uint8_t* frame, int length, std::uint8_t function)
{
    const LinkSettings settings = CurrentSettings();
    LinkTransport& line = *m_transport;
    m_replyLength = 0;

    // The frame goes out in one write: a gap inside it would make the meter drop it. The send
    // delay counts from the start of that write; RTS stays up until the delay has passed and
    // the frame has left the port, so neither a short delay nor a slow line cuts the frame.
    line.ClearErrors();
    line.SetRts(true);
    line.PurgeBoth();
    if (m_tracing) {
        m_tracing->request.assign(frame, frame + std::max(length, 0));
        m_tracing->sentUs = line.TickMicros();
    }
    const std::uint64_t sendStart = line.TickCount();
    line.Write(frame, length);
    line.Drain();
    const std::uint64_t sending = line.TickCount() - sendStart;
    if (sending < settings.sendDelay)
        line.Sleep(static_cast<std::uint32_t>(settings.sendDelay - sending));
    line.SetRts(false);
    line.PurgeAfterSend();

    const ReplyForm form =
        ReplyForm::Of(frame, length, function, settings.relayMode, settings.carrierMode);
    std::uint64_t limit = kDirectTimeout;
    if (settings.carrierMode)
        limit = kCarrierTimeout;
    else if (settings.relayMode)
        limit = static_cast<std::uint64_t>(form.hops + 2) * kDirectTimeout;
    if (m_idleTimeout > 0)
        limit = m_idleTimeout;
    TransactionTrace* const trace = m_tracing;
    if (trace) {
        trace->requestEndUs = line.TickMicros();
        trace->timeoutMs = static_cast<std::uint32_t>(limit);
    }

    // The reply is taken in the bursts that arrive and fed to the assembler byte by byte; the
    // idle time-out restarts with every burst. Never more is read than the assembler may
    // still take, so the byte that breaks the 200-byte limit is the last one taken.
    ReplyAssembler assembler(form);
    std::array<std::uint8_t, ReplyAssembler::kLimit + 1> burst{};
    std::uint64_t start = line.TickCount();
    for (;;) {
        const std::uint64_t elapsed = line.TickCount() - start;
        if (elapsed >= limit)
            return 0;
        const std::uint64_t remaining = limit - elapsed;
        // A line that reports a hang-up or an error has gone (an adapter pulled out, a device
        // removed): nothing more can arrive, so the transaction fails now, not at its time-out.
        const int ready = line.WaitReadable(static_cast<int>(remaining));
        if (ready < 0) {
            if (trace)
                trace->Gone(line.TickMicros());
            return 0;
        }
        if (ready == 0)
            continue;
        const int room = ReplyAssembler::kLimit + 1 - assembler.Arrived();
        const int n = line.Read(burst.data(), std::min(room, static_cast<int>(burst.size())));
        if (n < 0) {
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
                if (trace) {
                    trace->end = ReceiveEnd::Complete;
                    trace->frame.assign(frame, frame + m_replyLength);
                    trace->replyUs = trace->bursts.back().atUs;
                }
                return assembler.FunctionCode();
            case ReplyAssembler::Step::Failed:
                if (trace)
                    trace->end = assembler.FailureReason() == ReplyAssembler::Failure::TooLong
                                     ? ReceiveEnd::TooLong
                                     : ReceiveEnd::BadCheck;
                return 0;
            case ReplyAssembler::Step::More:
                break;
            }
        }
    }
}

} // namespace mrv
