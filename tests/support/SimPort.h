#pragma once
// The simulated meters' line opened as COM1 at 9600 bit/s, even parity, the way the engine's
// tests talk to them; and let go again. Check HasFatalFailure() after opening.
#include "link/SerialPort.h"
#include "meter-sim/MeterSim.h"

#include <gtest/gtest.h>

namespace mrv::test {

inline void OpenSimAsCom1(MeterSimulator& sim)
{
    ASSERT_TRUE(sim.Start());
    SerialPort::ResetTable();
    SerialPort::SetDevicePath(1, sim.SlavePath());
    ASSERT_EQ(SerialPort::Open(1), 1);
    PortSettings ps;
    ps.baudRate = 9600;
    ps.parity = 2;
    ASSERT_EQ(SerialPort::Configure(1, ps), 0);
}

inline void CloseSimCom1(MeterSimulator& sim)
{
    SerialPort::ResetTable();
    SerialPort::SetDevicePath(1, "");
    sim.Stop();
}

} // namespace mrv::test
