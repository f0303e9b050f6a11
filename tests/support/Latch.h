#pragma once
// A latch that threads of the code under test wait at until the test opens it: the test acts
// while they are held (presses Stop, cancels) however slow the machine is, instead of racing
// a sleep or a slow reply.
//
//   auto latch = std::make_shared<test::Latch>();
//   ... in a worker: latch->Wait();  ... in the test, once it has acted: latch->Open();
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace mrv::test {

class Latch {
public:
    // Counts the waiter and holds it until Open; a test that fails before opening still ends,
    // after a minute, with the waiter let go (false then).
    bool Wait()
    {
        std::unique_lock lock(m_mutex);
        ++m_arrived;
        m_changed.notify_all();
        return m_changed.wait_for(lock, std::chrono::minutes(1), [this] { return m_open; });
    }
    void Open()
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }
    // How many waits have begun, held or let through.
    int Arrived() const
    {
        std::lock_guard lock(m_mutex);
        return m_arrived;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_arrived = 0;
};

} // namespace mrv::test
