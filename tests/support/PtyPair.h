#pragma once
// A pseudo-terminal pair standing in for a serial line: the port under test opens the slave
// by its path, the test plays the far end on the master.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace mrv::test {

class PtyPair {
public:
    PtyPair()
    {
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            return;
        // A serial device does not echo or wait for lines; the fresh slave would.
        termios tio{};
        ::tcgetattr(m_slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
        m_path = ::ttyname(m_slave);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair()
    {
        CloseMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool Ok() const { return m_master >= 0 && !m_path.empty(); }
    const std::string& SlavePath() const { return m_path; }
    // The test's own descriptor of the slave, to look at its line settings.
    int SlaveFd() const { return m_slave; }
    // The far end, for a peer that does its own I/O (non-blocking).
    int MasterFd() const { return m_master; }

    void Send(const std::vector<std::uint8_t>& bytes)
    {
        if (!bytes.empty())
            (void)!::write(m_master, bytes.data(), bytes.size());
    }

    // What the port sent: up to `count` bytes, waiting at most timeoutMs in all.
    std::vector<std::uint8_t> Receive(std::size_t count, int timeoutMs = 3000)
    {
        std::vector<std::uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0)
                break;
            std::uint8_t chunk[256];
            const ssize_t n = ::read(m_master, chunk, std::min(sizeof chunk, count - got.size()));
            if (n <= 0)
                break;
            got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }

    // Waits until `count` bytes wait on the slave side (the pty moves them asynchronously).
    bool WaitSlaveQueue(int count)
    {
        for (int i = 0; i < 500; ++i) {
            int waiting = 0;
            if (::ioctl(m_slave, FIONREAD, &waiting) == 0 && waiting >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    void CloseMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

} // namespace mrv::test
