#pragma once
// The meter's side of the line: recognising a request in the bytes received so far (direct
// Modbus RTU, relay header, carrier wrapper around either) and wrapping a reply in the form
// the request came in. Written apart from the engine's own framing on purpose, so that the
// two sides check each other.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace mrv {

struct SimRequest {
    bool carrier = false;
    std::uint8_t carrierLead = 0;
    bool relay = false;
    std::uint8_t relayLead = 0;      // 0xC0 + number of hops
    std::vector<std::uint16_t> hops; // relay addresses as received
    std::uint16_t target = 0;        // meter behind the relays
    std::vector<std::uint8_t> inner; // the Modbus frame, CRC included
};

enum class SimParse {
    NeedMore, // no complete frame yet
    Bad,      // a complete frame whose CRC or sum is wrong: drop `length` bytes
    Ok,       // a request of `length` bytes
};

struct SimParseResult {
    SimParse status = SimParse::NeedMore;
    std::size_t length = 0;
    SimRequest request;
};

// Looks for a request at the start of buf. A second byte 'C' means a carrier wrapper; a first
// byte 0xC0..0xC2 may start a relay frame or a direct frame to meters 192..194, and whichever
// completes with a valid check wins.
SimParseResult ParseSimRequest(const std::vector<std::uint8_t>& buf);

// Appends CRC-16/MODBUS, low byte first.
void AppendCrc(std::vector<std::uint8_t>& frame);

// The inner reply wrapped as the request was: the relay layer echoes lead byte, hops and
// target; inside a carrier wrapper there is always a relay layer (0xC0, the request's meter
// address as target, when the request had none).
std::vector<std::uint8_t> WrapSimReply(const SimRequest& request,
                                       const std::vector<std::uint8_t>& innerReply);

// Bytes of a reply up to, not including, its first length byte; the stream fault sends
// these and then 0xFF bytes, which never complete a frame.
std::size_t ReplyHeaderLength(const SimRequest& request);

} // namespace mrv
