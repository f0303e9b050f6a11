#include "link/Frames.h"

#include "link/Checks.h"

namespace mrv {

namespace {

void PutWord(std::vector<std::uint8_t>& frame, std::uint16_t value)
{
    frame.push_back(static_cast<std::uint8_t>(value >> 8));
    frame.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void PutCrc(std::vector<std::uint8_t>& frame)
{
    const std::uint16_t crc = Crc16(frame.data(), static_cast<std::ptrdiff_t>(frame.size()));
    frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<std::uint8_t>(crc >> 8));
}

} // namespace

std::vector<std::uint8_t> BuildDirectFrame(std::uint8_t address, std::uint8_t function,
                                           std::uint16_t reg, std::uint16_t count,
                                           std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> frame{address, function};
    PutWord(frame, reg);
    PutWord(frame, count);
    if (!data.empty()) {
        frame.push_back(static_cast<std::uint8_t>(data.size()));
        frame.insert(frame.end(), data.begin(), data.end());
    }
    PutCrc(frame);
    return frame;
}

int RelayHops(std::uint16_t relay1, std::uint16_t relay2)
{
    if (relay1 == 0)
        return 0;
    return relay2 == 0 ? 1 : 2;
}

std::vector<std::uint8_t> WrapRelay(std::span<const std::uint8_t> frame, std::uint16_t relay1,
                                    std::uint16_t relay2, std::uint16_t target)
{
    const int hops = RelayHops(relay1, relay2);
    std::vector<std::uint8_t> relay{static_cast<std::uint8_t>(0xC0 + hops)};
    if (hops >= 1)
        PutWord(relay, relay1);
    if (hops >= 2)
        PutWord(relay, relay2);
    PutWord(relay, target);
    relay.push_back(static_cast<std::uint8_t>(frame.size()));
    relay.insert(relay.end(), frame.begin(), frame.end());
    relay.push_back(Sum8(relay.data(), static_cast<std::ptrdiff_t>(relay.size())));
    return relay;
}

std::vector<std::uint8_t> WrapCarrier(std::span<const std::uint8_t> frame, std::uint8_t lead)
{
    std::vector<std::uint8_t> carrier{lead, 'C', static_cast<std::uint8_t>(frame.size())};
    carrier.insert(carrier.end(), frame.begin(), frame.end());
    PutCrc(carrier);
    return carrier;
}

std::vector<std::uint8_t> BuildRequestFrame(const LinkSettings& settings, std::uint8_t address,
                                            std::uint8_t function, std::uint16_t reg,
                                            std::uint16_t count, std::span<const std::uint8_t> data)
{
    std::vector<std::uint8_t> frame = BuildDirectFrame(address, function, reg, count, data);
    if (settings.relayMode)
        frame = WrapRelay(frame, settings.relay1, settings.relay2, settings.targetAddress);
    if (settings.carrierMode)
        frame = WrapCarrier(frame, settings.carrierLead);
    return frame;
}

} // namespace mrv
