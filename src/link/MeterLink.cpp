#include "link/MeterLink.h"

#include "link/Codecs.h"
#include "link/ReplyAssembler.h"

#include <algorithm>

namespace mrv {

namespace {

// After a line error poll answers at once; pausing keeps the wait from spinning.
constexpr std::uint32_t kErrorPauseMs = 10;

} // namespace

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

void MeterLink::GetPcTime(std::uint8_t* time6) const
{
    ::mrv::GetPcTime(std::span<std::uint8_t, 6>(time6, 6), *m_clock);
}

std::uint8_t MeterLink::Transact(std::uint8_t function, std::uint16_t reg, std::uint16_t count,
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
    if (buffer)
        std::copy(frame.begin(), frame.end(), buffer);
    m_lastReply = frame;
    if (frame[0] != address)
        return 0;
    return result;
}

std::uint8_t MeterLink::SendReceive(std::uint8_t* frame, int length, std::uint8_t function)
{
    const LinkSettings settings = CurrentSettings();
    LinkTransport& line = *m_transport;

    line.ClearErrors();
    line.SetRts(true);
    line.PurgeBoth();
    for (int i = 0; i < length; ++i)
        line.Write(frame + i, 1);
    line.Sleep(settings.sendDelay);
    line.SetRts(false);
    line.PurgeAfterSend();

    const ReplyForm form =
        ReplyForm::Of(frame, length, function, settings.relayMode, settings.carrierMode);
    std::uint64_t limit = kDirectTimeout;
    if (settings.carrierMode)
        limit = kCarrierTimeout;
    else if (settings.relayMode)
        limit = static_cast<std::uint64_t>(form.hops + 2) * kDirectTimeout;

    ReplyAssembler assembler(form);
    std::uint64_t start = line.TickCount();
    for (;;) {
        std::uint8_t byte = 0;
        if (line.Read(&byte, 1) == 1) {
            start = line.TickCount();
            switch (assembler.Feed(byte)) {
            case ReplyAssembler::Step::Complete:
                std::copy(assembler.Buffer().begin(), assembler.Buffer().end(), frame);
                return assembler.FunctionCode();
            case ReplyAssembler::Step::Failed:
                return 0;
            case ReplyAssembler::Step::More:
                continue;
            }
        }
        const std::uint64_t elapsed = line.TickCount() - start;
        if (elapsed >= limit)
            return 0;
        const std::uint64_t remaining = limit - elapsed;
        if (line.WaitReadable(static_cast<int>(remaining)) < 0)
            line.Sleep(
                static_cast<std::uint32_t>(std::min<std::uint64_t>(remaining, kErrorPauseMs)));
    }
}

} // namespace mrv
