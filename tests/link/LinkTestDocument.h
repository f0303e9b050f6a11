#pragma once
// A document that only holds what the meter engine reads.
#include "link/MeterDocument.h"

namespace mrv::test {

class LinkTestDocument final : public MeterDocument {
public:
    LinkSettings settings;
    MeterValues values;

    LinkSettings GetLinkSettings() const override { return settings; }
    const MeterValues& GetMeterValues() const override { return values; }
};

} // namespace mrv::test
