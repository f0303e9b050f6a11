#pragma once
// A meter engine bound to a simulated meter (address 1) on a pseudo-terminal opened as COM1,
// with a fixed clock, send delay 0 and the log collected in a string.
#include "LinkTestDocument.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"
#include "support/SimPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace mrv::test {

class OperationSimTest : public ::testing::Test {
protected:
    OperationSimTest() : clock(PcTime{2024, 12, 31, 9, 5, 3, 2}), sim({1}, clock) {}

    void SetUp() override
    {
        OpenSimAsCom1(sim);
        if (HasFatalFailure())
            return;
        doc.settings.sendDelay = 0;
        link.Attach(
            &doc, [this](const std::string& t) { log += t; }, &address, 3200);
        link.SetClock(&clock);
    }

    void TearDown() override { CloseSimCom1(sim); }

    void Preset(std::uint16_t reg, const std::vector<std::uint16_t>& values)
    {
        ASSERT_TRUE(sim.SetRegisters(0, reg, values));
    }

    // Waits until the simulator has sent this many replies; false after ten seconds, long
    // past any reply, so that a lost one fails the test instead of hanging it.
    bool WaitReplies(int count)
    {
        for (int i = 0; i < 5000 && sim.ReplyCount() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return sim.ReplyCount() >= count;
    }

    FixedClock clock;
    MeterSimulator sim;
    LinkTestDocument doc;
    std::string log;
    std::uint8_t address = 1;
    MeterLink link;
};

} // namespace mrv::test
