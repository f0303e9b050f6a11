#pragma once
// Holds the simulated meters' answer to every request from now on until the test opens the
// latch, as a slow meter would, but for exactly as long as the test needs: the request is
// counted (RequestCount) and the answer (and what the request does to the meter) waits.
//
//   auto latch = test::HoldReplies(sim);
//   ... act while the first request waits ...
//   latch->Open();  // that reply and every later one go at once
#include "meter-sim/MeterSim.h"
#include "support/Latch.h"

#include <memory>
#include <string>

namespace mrv::test {

// Holds the answers to the simulator's request number `from` (counted since it started) and
// every later one. Uses the simulator's trace sink (set it again, or to nothing, to end the
// hold).
inline std::shared_ptr<Latch> HoldReplies(MeterSimulator& sim, int from = 1)
{
    auto latch = std::make_shared<Latch>();
    // The sink keeps the latch alive: the simulator's thread may still be in it when the test
    // is over.
    sim.SetTrace([latch, &sim, from](const std::string& line) {
        if (line.find(" request: ") != std::string::npos && sim.RequestCount() >= from)
            latch->Wait();
    });
    return latch;
}

} // namespace mrv::test
