#include "SimFrames.h"

#include "link/Checks.h"

#include <algorithm>

namespace mrv {

namespace {

constexpr std::uint8_t kCarrierLetter = 0x43; // 'C'

bool IsRelayLead(std::uint8_t b)
{
    return b >= 0xC0 && b <= 0xC2;
}

SimParseResult Result(SimParse status, std::size_t length)
{
    SimParseResult r;
    r.status = status;
    r.length = length;
    return r;
}

// A Modbus request at the start of p[0..n): 8 bytes, or 9 + N for function 16. Other
// function codes are taken as 8 bytes, so that the meter can refuse them properly.
SimParseResult TryDirect(const std::uint8_t* p, std::size_t n)
{
    if (n < 2)
        return Result(SimParse::NeedMore, 0);
    std::size_t length = 8;
    if (p[1] == 16) {
        if (n < 7)
            return Result(SimParse::NeedMore, 0);
        length = 9 + std::size_t{p[6]};
    }
    if (n < length)
        return Result(SimParse::NeedMore, 0);
    if (Crc16(p, static_cast<std::ptrdiff_t>(length)) != 0)
        return Result(SimParse::Bad, length);
    SimParseResult r = Result(SimParse::Ok, length);
    r.request.inner.assign(p, p + length);
    return r;
}

SimParseResult TryRelay(const std::uint8_t* p, std::size_t n)
{
    const std::size_t h = p[0] & 3;
    const std::size_t header = 4 + 2 * h;
    if (n < header)
        return Result(SimParse::NeedMore, 0);
    const std::size_t innerLength = p[header - 1];
    const std::size_t length = header + innerLength + 1;
    if (n < length)
        return Result(SimParse::NeedMore, 0);
    if (Sum8(p, static_cast<std::ptrdiff_t>(length - 1)) != p[length - 1])
        return Result(SimParse::Bad, length);
    SimParseResult inner = TryDirect(p + header, innerLength);
    if (inner.status != SimParse::Ok || inner.length != innerLength)
        return Result(SimParse::Bad, length);
    SimParseResult r = Result(SimParse::Ok, length);
    r.request = std::move(inner.request);
    r.request.relay = true;
    r.request.relayLead = p[0];
    for (std::size_t i = 0; i < h; ++i)
        r.request.hops.push_back(static_cast<std::uint16_t>((p[1 + 2 * i] << 8) | p[2 + 2 * i]));
    r.request.target = static_cast<std::uint16_t>((p[1 + 2 * h] << 8) | p[2 + 2 * h]);
    return r;
}

// A relay or direct frame: both are tried when the lead byte allows a relay header.
SimParseResult TryRelayOrDirect(const std::uint8_t* p, std::size_t n)
{
    SimParseResult direct = TryDirect(p, n);
    if (direct.status == SimParse::Ok || !(n > 0 && IsRelayLead(p[0])))
        return direct;
    SimParseResult relay = TryRelay(p, n);
    if (relay.status == SimParse::Ok)
        return relay;
    if (direct.status == SimParse::NeedMore || relay.status == SimParse::NeedMore)
        return Result(SimParse::NeedMore, 0);
    return Result(SimParse::Bad, std::max(direct.length, relay.length));
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
}

} // namespace

SimParseResult ParseSimRequest(const std::vector<std::uint8_t>& buf)
{
    const std::size_t n = buf.size();
    if (n < 2)
        return Result(SimParse::NeedMore, 0);
    if (buf[1] != kCarrierLetter)
        return TryRelayOrDirect(buf.data(), n);

    if (n < 3)
        return Result(SimParse::NeedMore, 0);
    const std::size_t content = buf[2];
    const std::size_t length = content + 5;
    if (n < length)
        return Result(SimParse::NeedMore, 0);
    if (Crc16(buf.data(), static_cast<std::ptrdiff_t>(length)) != 0)
        return Result(SimParse::Bad, length);
    SimParseResult inner = TryRelayOrDirect(buf.data() + 3, content);
    if (inner.status != SimParse::Ok || inner.length != content)
        return Result(SimParse::Bad, length);
    SimParseResult r = Result(SimParse::Ok, length);
    r.request = std::move(inner.request);
    r.request.carrier = true;
    r.request.carrierLead = buf[0];
    return r;
}

void AppendCrc(std::vector<std::uint8_t>& frame)
{
    const std::uint16_t crc = Crc16(frame.data(), static_cast<std::ptrdiff_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

std::vector<std::uint8_t> WrapSimReply(const SimRequest& request,
                                       const std::vector<std::uint8_t>& innerReply)
{
    if (!request.relay && !request.carrier)
        return innerReply;

    std::vector<std::uint8_t> relay;
    if (request.relay) {
        relay.push_back(request.relayLead);
        for (std::uint16_t hop : request.hops)
            PutWord(relay, hop);
        PutWord(relay, request.target);
    } else {
        relay.push_back(0xC0);
        PutWord(relay, request.inner.empty() ? 0 : request.inner[0]);
    }
    relay.push_back(static_cast<std::uint8_t>(innerReply.size()));
    relay.insert(relay.end(), innerReply.begin(), innerReply.end());
    relay.push_back(Sum8(relay.data(), static_cast<std::ptrdiff_t>(relay.size())));
    if (!request.carrier)
        return relay;

    std::vector<std::uint8_t> carrier{request.carrierLead, kCarrierLetter,
                                      static_cast<std::uint8_t>(relay.size())};
    carrier.insert(carrier.end(), relay.begin(), relay.end());
    AppendCrc(carrier);
    return carrier;
}

std::size_t ReplyHeaderLength(const SimRequest& request)
{
    if (request.carrier)
        return 2;
    if (request.relay)
        return 3 + 2 * request.hops.size();
    return 2;
}

} // namespace mrv
