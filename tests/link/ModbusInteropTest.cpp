// The engine against a Modbus RTU server that nobody here wrote: libmodbus serving holding
// registers on the far end of a pseudo-terminal.
#include "LinkTestDocument.h"
#include "support/PtyPair.h"
#include "link/MeterLink.h"
#include "link/SerialPort.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <atomic>
#include <fcntl.h>
#include <poll.h>
#include <thread>

namespace mrv {
namespace {

constexpr int kServerAddress = 1;
constexpr int kRegisters = 10100;

class ModbusInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(far.Ok());
        mapping = modbus_mapping_new(0, 0, kRegisters, 0);
        ASSERT_NE(mapping, nullptr);
        // The server speaks on the master side, which has no path to open: it gets the
        // descriptor as its "socket" and never connects (so it never touches the line).
        server = modbus_new_rtu("/dev/null", 9600, 'E', 8, 1);
        ASSERT_NE(server, nullptr);
        const int fd = far.MasterFd();
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        ASSERT_EQ(modbus_set_socket(server, fd), 0);
        ASSERT_EQ(modbus_set_slave(server, kServerAddress), 0);

        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, far.SlavePath());
        ASSERT_EQ(SerialPort::Open(1), 1);
        ASSERT_EQ(SerialPort::Configure(1, PortSettings{9600, 8, 2, 0, 0}), 0);
        doc.settings.sendDelay = 0;
        link.Attach(&doc, nullptr, &address, 3200);
    }

    void TearDown() override
    {
        StopServer();
        SerialPort::ResetTable();
        SerialPort::SetDevicePath(1, "");
        if (server)
            modbus_free(server); // not modbus_close: the descriptor belongs to the pty pair
        if (mapping)
            modbus_mapping_free(mapping);
    }

    // Serves requests until stopped; counts the requests answered.
    void StartServer()
    {
        thread = std::thread([this] {
            std::uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
            while (!stop) {
                pollfd p{far.MasterFd(), POLLIN, 0};
                if (::poll(&p, 1, 50) <= 0)
                    continue;
                const int length = modbus_receive(server, query);
                if (length > 0 && modbus_reply(server, query, length, mapping) > 0)
                    ++served;
            }
        });
    }

    void StopServer()
    {
        stop = true;
        if (thread.joinable())
            thread.join();
    }

    test::PtyPair far;
    modbus_mapping_t* mapping = nullptr;
    modbus_t* server = nullptr;
    std::thread thread;
    std::atomic<bool> stop{false};
    std::atomic<int> served{0};

    test::LinkTestDocument doc;
    MeterLink link;
    std::uint8_t address = kServerAddress;
    std::array<std::uint8_t, 200> buffer{};
};

TEST_F(ModbusInterop, ReadsWhatTheServerHoldsAndWritesWhatItThenHolds)
{
    const std::uint16_t held[6] = {0x0003, 0x0005, 0x0009, 0x001F, 0xABCD, 0x8001};
    std::copy(std::begin(held), std::end(held), mapping->tab_registers + 10000);
    StartServer();

    ASSERT_EQ(link.Transact(3, 10000, 6, buffer.data(), kServerAddress, 0), 3);
    EXPECT_EQ(buffer[0], kServerAddress);
    ASSERT_EQ(buffer[2], 12);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ((buffer[3 + 2 * i] << 8) | buffer[4 + 2 * i], held[i]) << i;

    const std::uint8_t data[6] = {0x12, 0x34, 0xFF, 0x00, 0x00, 0x7F};
    std::copy(std::begin(data), std::end(data), buffer.begin());
    ASSERT_EQ(link.Transact(16, 10023, 3, buffer.data(), kServerAddress, 6), 16);
    // The write reply echoes register and count.
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 6),
              (std::vector<std::uint8_t>{kServerAddress, 16, 0x27, 0x27, 0x00, 0x03}));

    // Read back through the link, and straight from the server's table.
    ASSERT_EQ(link.Transact(3, 10023, 3, buffer.data(), kServerAddress, 0), 3);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin() + 3, buffer.begin() + 9),
              std::vector<std::uint8_t>(std::begin(data), std::end(data)));

    // A register beyond the server's table: the exception is whole at its five bytes and
    // ends the transaction at once with its function code, which no operation takes.
    buffer.fill(0xEE);
    EXPECT_EQ(link.Transact(3, kRegisters, 2, buffer.data(), kServerAddress, 0), 0x83);
    EXPECT_EQ(buffer[2], 2); // illegal data address

    StopServer();
    EXPECT_EQ(served, 4);
    EXPECT_EQ(mapping->tab_registers[10023], 0x1234);
    EXPECT_EQ(mapping->tab_registers[10024], 0xFF00);
    EXPECT_EQ(mapping->tab_registers[10025], 0x007F);
    EXPECT_EQ(mapping->tab_registers[10026], 0);
}

} // namespace
} // namespace mrv
