// The reply assembler on what a line may deliver. Input: one byte for the form (bit 0 relay,
// bit 1 carrier, bits 2..3 relay hops, bit 7 a write instead of a read), the request's lead
// byte, then the bytes that arrive.
#include "FuzzCheck.h"
#include "link/Checks.h"
#include "link/ReplyAssembler.h"

#include <cstddef>
#include <cstdint>

using mrv::ReplyAssembler;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    mrv::ReplyForm form;
    form.relayMode = (data[0] & 0x01) != 0;
    form.carrierMode = (data[0] & 0x02) != 0;
    form.hops = (data[0] >> 2) & 0x03;
    form.function = (data[0] & 0x80) ? 16 : 3;
    form.leadByte = data[1];

    ReplyAssembler assembler(form);
    ReplyAssembler::Step step = ReplyAssembler::Step::More;
    std::size_t fed = 0;
    for (std::size_t i = 2; i < size; ++i) {
        step = assembler.Feed(data[i]);
        ++fed;
        if (step != ReplyAssembler::Step::More)
            break;
    }
    // Every byte counts and the buffer never overflows; the answer comes by the limit.
    FUZZ_CHECK(assembler.Arrived() == static_cast<int>(fed));
    FUZZ_CHECK(assembler.Stored() <= ReplyAssembler::kLimit);
    FUZZ_CHECK(assembler.ReplyOffset() >= 0 && assembler.ReplyOffset() <= assembler.Arrived());
    FUZZ_CHECK(fed <= static_cast<std::size_t>(ReplyAssembler::kLimit) + 1);
    if (fed > static_cast<std::size_t>(ReplyAssembler::kLimit))
        FUZZ_CHECK(step != ReplyAssembler::Step::More);
    // Once answered, the answer stays. A failure has its reason, and only a failure has one:
    // too many bytes only once more than the limit arrived or the buffer is full.
    const ReplyAssembler::Step again = assembler.Feed(form.leadByte);
    FUZZ_CHECK(step == ReplyAssembler::Step::More || again == step);
    using Failure = ReplyAssembler::Failure;
    const Failure why = assembler.FailureReason();
    FUZZ_CHECK((assembler.State() == ReplyAssembler::Step::Failed) == (why != Failure::None));
    if (why == Failure::TooLong)
        FUZZ_CHECK(assembler.Arrived() > ReplyAssembler::kLimit ||
                   assembler.Stored() >= ReplyAssembler::kLimit);

    if (step == ReplyAssembler::Step::Complete) {
        const int length = assembler.FrameLength();
        FUZZ_CHECK(length >= 0 && length <= ReplyAssembler::kLimit);
        const auto& buffer = assembler.Buffer();
        // Nothing stale behind the reply.
        for (std::size_t i = static_cast<std::size_t>(length); i < buffer.size(); ++i)
            FUZZ_CHECK(buffer[i] == 0);
        // A direct reply is accepted only with its CRC, and with all a read says it carries.
        if (!form.relayMode && !form.carrierMode) {
            FUZZ_CHECK(mrv::Crc16(buffer.data(), length) == 0);
            FUZZ_CHECK(buffer[0] == form.leadByte);
            if (form.function == 3 && !(buffer[1] & 0x80))
                FUZZ_CHECK(length >= buffer[2] + 5);
        }
    }
    return 0;
}
