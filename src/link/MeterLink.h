#pragma once
// The meter protocol engine: builds a request, wraps it for relays and a carrier module,
// sends it on the line with RTS direction control, collects and checks the reply. One per
// meter dialog; the read and write operations are methods on top of Transact.
#include "base/Clock.h"
#include "link/Frames.h"
#include "link/LinkTrace.h"
#include "link/LinkTransport.h"
#include "link/MeterDocument.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace mrv {

// Receives the log text; every text the operations write ends in CR LF.
using LogSink = std::function<void(const std::string&)>;

inline constexpr char kStoppedWaitLog[] = "  Stopped while waiting for the reply.\r\n";

class MeterLink {
public:
    static constexpr std::size_t kReplySize = kFrameBufferSize;
    // Idle time-outs of the receive loop, in ms.
    static constexpr std::uint32_t kDirectTimeout = 2000;
    static constexpr std::uint32_t kCarrierTimeout = 16000;
    // How long the port may take over the frame's own wire time before the send counts as
    // stuck (a wedged adapter), in ms.
    static constexpr int kDrainGraceMs = 1000;
    // How often a long wait looks at the stop check, in ms.
    static constexpr int kStopSliceMs = 50;

    MeterLink() = default;
    virtual ~MeterLink() = default;
    MeterLink(const MeterLink&) = delete;
    MeterLink& operator=(const MeterLink&) = delete;

    // Stores the four; called before a batch of operations and again when the address byte
    // may have changed. None is owned.
    void Attach(MeterDocument* document, LogSink log, std::uint8_t* meterAddress,
                std::uint16_t meterConstant);

    // One exchange. buffer (>= 200 bytes) carries the dataLength bytes to write in and
    // receives the 200-byte reply copy. Returns 0 on failure, else the reply's function code.
    // A reply from another address is copied but returns 0. A read reply counts only with a
    // byte count of twice `count` (behind relays, with an inner length to match); a write only
    // with the 8-byte acknowledgement of `reg` and `count`; any other fails and is not copied.
    // An exception reply returns its function code (bit 7 set), which no operation takes.
    std::uint8_t Transact(std::uint8_t function, std::uint16_t reg, std::uint16_t count,
                          std::uint8_t* buffer, std::uint8_t address, std::uint8_t dataLength);

    // Sends frame[0..length) in one write under RTS and collects the unwrapped reply into
    // frame (200 bytes). Returns 0 on failure, else the reply's function code.
    std::uint8_t SendReceive(std::uint8_t* frame, int length, std::uint8_t function);

    // Appends text to the log (nothing when no sink is attached).
    void Log(const std::string& text) const;

    // Receives a record of every transaction Transact puts on the line (request, bursts, the
    // outcome in words); an empty sink turns the trace off, and nothing is recorded then.
    void SetTraceSink(TraceSink sink);

    // An idle time-out in ms for every transaction in place of the one the form gives
    // (2000 ms, more behind relays and a carrier module); 0 restores those. A line check
    // asks many addresses and waits only briefly at each.
    void SetIdleTimeout(std::uint32_t ms) { m_idleTimeout = ms; }

    // Asked while the engine waits for a reply: true ends the wait (the transaction fails, with
    // kStoppedWaitLog in the log), so that Stop is honoured within a long time-out; once it is
    // true no further request goes out. Empty: never.
    void SetStopCheck(std::function<bool()> check) { m_stopCheck = std::move(check); }

    // Second, minute, hour, day, month, year % 100 of the engine's clock.
    void GetPcTime(std::uint8_t* time6) const;

    // The reply of the latest successful or address-mismatched transaction.
    const std::array<std::uint8_t, kReplySize>& LastReply() const { return m_lastReply; }
    // Register i of the data of that reply (reply bytes 3 + 2i and 4 + 2i, high byte first);
    // 0 beyond the reply buffer.
    std::uint16_t ReplyRegister(int i) const;

    MeterDocument* Document() const { return m_document; }
    std::uint8_t* MeterAddressPtr() const { return m_meterAddress; }
    // The attached address byte as it is now (0 when none is attached).
    std::uint8_t MeterAddress() const { return m_meterAddress ? *m_meterAddress : 0; }
    std::uint16_t MeterConstant() const { return m_meterConstant; }

    // Test and tool seams: the clock of GetPcTime (default: the system clock) and the line
    // (default: the SerialPort module's current port). Not owned; nullptr restores the default.
    void SetClock(const Clock* clock);
    void SetTransport(LinkTransport* transport);

    // Read operations
    // Each logs its header, reads with function 3 from the attached address and logs the
    // decoded values, or "  Fail!"; 1 on success, 0 on failure. The integer picks the variant.
    int ReadTime();
    // Reads from *address and stores the meter's address there on success only.
    int ReadAddress(std::uint8_t* address);
    int ReadEnergy(int variant);
    int ReadDayTable(int variant);
    int ReadConstant();
    int ReadCarrierAddress();
    int ReadPulsePrescaler();
    int ReadResetDate();
    int ReadRelayStatus();
    int ReadShowMode(int variant);
    int ReadVersion();
    // Three-phase forms (document's threePhase) pause 200 ms between reads and stop at the
    // first failure.
    int ReadPower(int variant);
    int ReadPowerFactor();
    int ReadVoltageCurrent(int variant);
    int ReadFrequency();
    int ReadAllVariables();
    int ReadReactiveConstant(int variant);
    int ReadSavedEnergy(int variant);
    int ReadSwitchEvent(int variant);
    int ReadModifyTableEvent(int variant);
    int ReadReserveEvent(int variant);
    int ReadNoVoltageEvent(int variant);
    int ReadModifyTimeEvent(int variant);
    int ReadReserveTimesEnergy();
    int ReadMeterId();
    int ReadLimitSetting(int variant);
    int ReadOwingTime();
    int ReadTariffPrice(int variant);
    int ReadTradeRecord(int variant);
    int ReadPasswordTable(int variant);
    int ReadTrimValue();
    // Logs the header only; the console calls it once per 16-byte block of a range.
    int ReadEeprom(int address);

    // Renders one block of meter data (mode 0 constants, 1 time-segment table with flag 0 day
    // form / else year form, 3 saved energy, 5 version, other modes " Unknown") and appends
    // it to the log in one piece. Only the first count bytes of data are read; what a mode
    // needs beyond them reads as 0, and a table shows only the entries count holds (at most 8).
    void FormatMeterBlock(int mode, const std::uint8_t* data, int flag, int count) const;
    static std::string FormatMeterBlockText(int mode, const std::uint8_t* data, int flag,
                                            int count);

    // Write operations
    // Each logs its header, writes with function 16 and logs "  OK!" or "  Fail!"; 1 on
    // success, 0 on failure. Values come from the document's MeterValues; WriteAddress,
    // WriteBaudRate and Initialize go to the broadcast address 0.
    int WriteTime();
    int WriteAddress();
    int WriteBaudRate();
    int WriteConstant(); // the constant given at Attach
    int WriteCarrierAddress();
    int WriteTrimValue();
    int WritePulsePrescaler();
    int WriteResetDate();
    int WriteRelayStatus();
    int ControlOwing();
    int WriteVoltageLimits();
    int WriteCurrentLimits();
    int WriteOwingCurrent();
    int WriteOwingPower();
    int WriteMeterType();
    int WriteOwingTime();
    int WritePriceTable();
    int WriteShowMode(int variant);
    int WriteDayTable(int variant);
    int Initialize();
    int ChangePassword(int variant);
    int ClearHistory();
    int ClearEnergy();
    // Two exchanges; the result is that of the second.
    int WritePasswordTable(int variant);
    int WriteMoney();
    // No exchange; kept for the setting wizard's sequence.
    int WritePriority();

private:
    bool StopRequested() const;
    // The settings of the attached document, or the defaults without one.
    LinkSettings CurrentSettings() const;
    // Transact without the trace.
    std::uint8_t Exchange(std::uint8_t function, std::uint16_t reg, std::uint16_t count,
                          std::uint8_t* buffer, std::uint8_t address, std::uint8_t dataLength);

    MeterDocument* m_document = nullptr;
    std::uint8_t* m_meterAddress = nullptr;
    std::uint16_t m_meterConstant = 0;
    LogSink m_log;
    std::array<std::uint8_t, kReplySize> m_lastReply{};
    int m_replyLength = 0; // of the unwrapped reply of the latest SendReceive, 0 on failure
    const Clock* m_clock = &SystemClock::Instance();
    LinkTransport* m_transport = &SerialPortTransport::Instance();
    TraceSink m_trace;
    TransactionTrace* m_tracing = nullptr; // the record of the transaction under way, if any
    std::uint32_t m_idleTimeout = 0;
    std::function<bool()> m_stopCheck;
};

// A run's stop check on the link for as long as the run lasts.
class StopCheckScope {
public:
    StopCheckScope(MeterLink& link, std::function<bool()> check) : m_link(link)
    {
        m_link.SetStopCheck(std::move(check));
    }
    ~StopCheckScope() { m_link.SetStopCheck({}); }
    StopCheckScope(const StopCheckScope&) = delete;
    StopCheckScope& operator=(const StopCheckScope&) = delete;

private:
    MeterLink& m_link;
};

} // namespace mrv
