#pragma once
// A meter engine bound to a simulated meter (address 1) on a pseudo-terminal opened as COM1,
// with a fixed clock, send delay 0 and the log collected in a string.
#include "LinkTestDocument.h"
#include "link/LinkTransport.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace mrv::test {

// The serial port's transport without the purge that follows the send. On a pseudo-terminal
// that purge flushes the other side's input too: it would throw away a request the simulator
// has not read yet, or its reply when it answers at once. (A real line has sent every byte
// by then and a meter answers later.) The purge before sending is kept.
class PtyTransport final : public LinkTransport {
public:
    void ClearErrors() override { m_line.ClearErrors(); }
    void SetRts(bool on) override
    {
        m_sending = on;
        m_line.SetRts(on);
    }
    void PurgeBoth() override
    {
        if (m_sending)
            m_line.PurgeBoth();
    }
    int Write(const std::uint8_t* data, int count) override { return m_line.Write(data, count); }
    int Read(std::uint8_t* buffer, int maxCount) override { return m_line.Read(buffer, maxCount); }
    int WaitReadable(int timeoutMs) override { return m_line.WaitReadable(timeoutMs); }
    std::uint64_t TickCount() override { return m_line.TickCount(); }
    void Sleep(std::uint32_t ms) override { m_line.Sleep(ms); }

private:
    LinkTransport& m_line = SerialPortTransport::Instance();
    bool m_sending = false;
};

class OperationSimTest : public ::testing::Test {
protected:
    OperationSimTest() : clock(PcTime{2024, 12, 31, 9, 5, 3, 2}), sim({1}, clock) {}

    void SetUp() override
    {
        ASSERT_TRUE(sim.Start());
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, sim.SlavePath());
        ASSERT_EQ(SerialPort::Open(1), 1);
        PortSettings ps;
        ps.baudRate = 9600;
        ps.parity = 2;
        ASSERT_EQ(SerialPort::Configure(1, ps), 0);
        doc.settings.sendDelay = 0;
        link.Attach(
            &doc, [this](const std::string& t) { log += t; }, &address, 3200);
        link.SetClock(&clock);
        link.SetTransport(&transport);
    }

    void TearDown() override
    {
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, "");
        sim.Stop();
    }

    void Preset(std::uint16_t reg, const std::vector<std::uint16_t>& values)
    {
        ASSERT_TRUE(sim.SetRegisters(0, reg, values));
    }

    // Waits (a short while at most) until the simulator has sent this many replies.
    bool WaitReplies(int count)
    {
        for (int i = 0; i < 500 && sim.ReplyCount() < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return sim.ReplyCount() >= count;
    }

    PtyTransport transport;
    FixedClock clock;
    MeterSimulator sim;
    LinkTestDocument doc;
    std::string log;
    std::uint8_t address = 1;
    MeterLink link;
};

} // namespace mrv::test
