#pragma once
// Collects a meter reply one byte at a time and decides when it is complete, with no I/O:
// the receive loop feeds it what arrives and keeps the time-outs.
#include "link/Frames.h"

#include <array>
#include <cstdint>

namespace mrv {

// What the assembler needs to know of the request that was sent.
struct ReplyForm {
    std::uint8_t leadByte = 0; // first byte of the request; the reply starts with it
    std::uint8_t function = 3; // function code of the request
    bool relayMode = false;
    bool carrierMode = false;
    int hops = 0; // relays in the relay header (0..3)

    // The form of a reply to this request frame under the given modes: lead byte the first
    // byte; in relay mode h is the low two bits of the relay lead byte (the first byte, or the
    // fourth in carrier mode), else 0.
    static ReplyForm Of(const std::uint8_t* request, int length, std::uint8_t function,
                        bool relayMode, bool carrierMode);
};

class ReplyAssembler {
public:
    enum class Step { More, Complete, Failed };
    // Why Failed: more bytes than a reply may have, or a frame whose check (CRC, relay sum,
    // relay length) does not hold.
    enum class Failure { None, TooLong, BadCheck };
    static constexpr int kLimit = static_cast<int>(kFrameBufferSize);

    ReplyAssembler() = default;
    explicit ReplyAssembler(const ReplyForm& form) { Start(form); }

    // Forgets everything fed so far.
    void Start(const ReplyForm& form);

    // One arrived byte. Once Complete or Failed, the answer stays and the byte is ignored.
    Step Feed(std::uint8_t byte);

    Step State() const { return m_state; }
    Failure FailureReason() const { return m_failure; }
    bool ReplyStarted() const { return m_stored > 0; }
    int Stored() const { return m_stored; }
    int Arrived() const { return m_arrived; }

    // After Complete: the unwrapped Modbus reply at the start, FrameLength() bytes long, the
    // rest zero. Before: the bytes stored so far.
    const std::array<std::uint8_t, kFrameBufferSize>& Buffer() const { return m_buffer; }
    int FrameLength() const { return m_frameLength; }
    // The reply's function code (second byte of the unwrapped reply).
    std::uint8_t FunctionCode() const { return m_buffer[1]; }

private:
    Step CheckComplete();
    Step Fail(Failure why);
    // Moves the relay frame's inner frame of the first `length` buffer bytes to the start;
    // false when its length byte points beyond them.
    bool UnwrapRelay(int length);

    ReplyForm m_form;
    std::array<std::uint8_t, kFrameBufferSize> m_buffer{};
    int m_stored = 0;
    int m_arrived = 0;
    int m_frameLength = 0;
    Step m_state = Step::More;
    Failure m_failure = Failure::None;
};

} // namespace mrv
