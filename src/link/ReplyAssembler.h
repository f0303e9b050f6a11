#pragma once
// Collects a meter reply one byte at a time and decides when it is complete, with no I/O:
// the receive loop feeds it what arrives and keeps the time-outs.
//
// What arrives is kept as it came (at most 200 bytes plus the one that breaks the limit), and
// the reply is looked for in it: an exact copy of the request (the echo of a two-wire line) is
// dropped by content wherever it starts; a frame whose check fails is given up and the next
// byte that could start the reply is tried, so a damaged echo or a burst of noise in front of
// the reply does not cost the reply. Every layer is checked: the carrier CRC, the relay sum,
// and the Modbus frame inside them with its own CRC (the outer checks only prove the last hop).
#include "link/Frames.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mrv {

// What the assembler needs to know of the request that was sent.
struct ReplyForm {
    std::uint8_t leadByte = 0; // first byte of the request; the reply starts with it
    std::uint8_t function = 3; // function code of the request
    bool relayMode = false;
    bool carrierMode = false;
    int hops = 0; // relays in the relay header (0..3)
    // The request as it went out, for recognising its echo; empty: no echo is looked for.
    std::vector<std::uint8_t> request;
    // Bytes of the echo already seen (thrown away with the purge after the send): what
    // arrives first may be the rest of it.
    int echoSeen = 0;

    // The form of a reply to this request frame under the given modes: lead byte the first
    // byte; in relay mode h is the low two bits of the relay lead byte (the first byte, or the
    // fourth in carrier mode), else 0. The request is kept for its echo.
    static ReplyForm Of(const std::uint8_t* request, int length, std::uint8_t function,
                        bool relayMode, bool carrierMode);
};

// The layer of a frame whose check failed.
enum class CheckLayer : std::uint8_t {
    None,
    Carrier, // the carrier module's CRC (or its relay length pointing beyond it)
    Relay,   // the relay sum (or the relay length pointing beyond the frame)
    Modbus,  // the meter's own frame: its CRC (behind relays: the inner frame)
};

class ReplyAssembler {
public:
    enum class Step { More, Complete, Failed };
    // Why Failed: more bytes than a reply may have, or a frame whose check (CRC, relay sum,
    // relay length) does not hold with no later byte that could start another.
    enum class Failure { None, TooLong, BadCheck };
    static constexpr int kLimit = static_cast<int>(kFrameBufferSize);

    ReplyAssembler() = default;
    explicit ReplyAssembler(ReplyForm form) { Start(std::move(form)); }

    // Forgets everything fed so far.
    void Start(ReplyForm form);

    // One arrived byte. Once Complete or Failed, the answer stays and the byte is ignored.
    Step Feed(std::uint8_t byte);

    Step State() const { return m_state; }
    Failure FailureReason() const { return m_failure; }
    // The layer whose check failed first (also when a later start was tried after it).
    CheckLayer BadLayer() const { return m_badLayer; }
    bool ReplyStarted() const { return Stored() > 0; }
    // Bytes of the reply being collected (from its first byte to the last that arrived).
    int Stored() const { return m_arrived - m_start; }
    int Arrived() const { return m_arrived; }
    // Where in what arrived the reply starts: the one collected, the one being collected, or
    // after a failed check the first frame that failed.
    int ReplyOffset() const { return m_start; }
    // Bytes dropped as the echo of the request (its rest, when part of it was seen before).
    int EchoDropped() const { return m_echoDropped; }
    // The bytes as they arrived.
    const std::uint8_t* Arrivals() const { return m_raw.data(); }

    // After Complete: the unwrapped Modbus reply at the start, FrameLength() bytes long, the
    // rest zero. Before: zeros.
    const std::array<std::uint8_t, kFrameBufferSize>& Buffer() const { return m_buffer; }
    int FrameLength() const { return m_frameLength; }
    // The reply's function code (second byte of the unwrapped reply).
    std::uint8_t FunctionCode() const { return m_buffer[1]; }

private:
    struct Check {
        Step step = Step::More;
        CheckLayer bad = CheckLayer::None;
        int innerAt = 0; // Complete: the Modbus frame within what arrived
        int innerLength = 0;
    };
    Step Evaluate();
    // Whether the byte at i can start a reply (judged on the bytes that have arrived).
    bool CouldStart(int i) const;
    // How the echo compares with what arrived from `at`: 1 whole, 0 so far the same, -1 not it.
    int EchoAt(int at, int from) const;
    // The request, with at most one byte differing, from `at`.
    bool DamagedEchoAt(int at) const;
    Check CheckFrame(int at) const;
    // The Modbus frame of n bytes at `at` inside a wrapper: its own CRC must hold.
    Check CheckInner(int at, int n) const;
    Step Fail(Failure why);

    ReplyForm m_form;
    std::array<std::uint8_t, kFrameBufferSize + 1> m_raw{};
    std::array<std::uint8_t, kFrameBufferSize> m_buffer{};
    int m_arrived = 0;
    int m_start = 0;
    int m_echoDropped = 0;
    bool m_echoDone = false;
    int m_frameLength = 0;
    CheckLayer m_badLayer = CheckLayer::None;
    int m_firstBad = 0;
    Step m_state = Step::More;
    Failure m_failure = Failure::None;
};

} // namespace mrv
