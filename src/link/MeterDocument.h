#pragma once
// What the meter engine reads from the document at every transaction: the link settings and
// the values that the write operations send. The document implements it; tests use a plain
// struct behind it.
#include "link/MeterValues.h"

#include <cstdint>

namespace mrv {

struct LinkSettings {
    // ms from the start of the request that RTS stays up at least (longer while the frame is
    // still leaving the port)
    std::uint32_t sendDelay = 40;
    std::uint16_t targetAddress = 0;
    std::uint16_t relay1 = 0; // 0: no relay
    std::uint16_t relay2 = 0; // looked at only when relay1 is not 0
    bool relayMode = false;
    bool carrierMode = false;
    std::uint8_t carrierLead = 0;
};

class MeterDocument {
public:
    virtual ~MeterDocument() = default;
    virtual LinkSettings GetLinkSettings() const = 0;
    virtual const MeterValues& GetMeterValues() const = 0;
};

// What a run on a worker thread reads, copied from the document on the UI thread before the
// run starts: the UI thread may change the document meanwhile, the run keeps its copy.
class MeterDocumentCopy final : public MeterDocument {
public:
    MeterDocumentCopy() = default;
    explicit MeterDocumentCopy(const MeterDocument& from)
        : settings(from.GetLinkSettings()), values(from.GetMeterValues())
    {
    }

    LinkSettings settings;
    MeterValues values;

    LinkSettings GetLinkSettings() const override { return settings; }
    const MeterValues& GetMeterValues() const override { return values; }
};

} // namespace mrv
