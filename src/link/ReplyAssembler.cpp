#include "link/ReplyAssembler.h"

#include "link/Checks.h"

#include <algorithm>

namespace mrv {

ReplyForm ReplyForm::Of(const std::uint8_t* request, int length, std::uint8_t function,
                        bool relayMode, bool carrierMode)
{
    ReplyForm form;
    form.function = function;
    form.relayMode = relayMode;
    form.carrierMode = carrierMode;
    if (length >= 1)
        form.leadByte = request[0];
    const int relayLead = carrierMode ? 3 : 0;
    if (relayMode && length > relayLead)
        form.hops = request[relayLead] & 0x03;
    return form;
}

void ReplyAssembler::Start(const ReplyForm& form)
{
    m_form = form;
    m_buffer.fill(0);
    m_stored = 0;
    m_arrived = 0;
    m_frameLength = 0;
    m_state = Step::More;
    m_failure = Failure::None;
}

ReplyAssembler::Step ReplyAssembler::Feed(std::uint8_t byte)
{
    if (m_state != Step::More)
        return m_state;
    // Noise counts too: a line that chatters without ever forming a reply must end.
    if (++m_arrived > kLimit)
        return Fail(Failure::TooLong);
    if (m_stored == 0 && byte != m_form.leadByte)
        return m_state;
    m_buffer[static_cast<std::size_t>(m_stored++)] = byte;
    m_state = CheckComplete();
    if (m_state == Step::Failed)
        m_failure = Failure::BadCheck;
    if (m_state == Step::More && m_stored >= kLimit)
        return Fail(Failure::TooLong);
    return m_state;
}

ReplyAssembler::Step ReplyAssembler::Fail(Failure why)
{
    m_failure = why;
    m_state = Step::Failed;
    return m_state;
}

ReplyAssembler::Step ReplyAssembler::CheckComplete()
{
    const int h = m_form.hops;
    if (m_form.carrierMode) {
        const int content = m_buffer[2];
        if (m_stored < 6 || m_stored < content + 5)
            return Step::More;
        if (Crc16(m_buffer.data(), m_stored) != 0)
            return Step::Failed;
        // Drop the three header bytes and the CRC; what is left is a relay frame.
        std::copy_n(m_buffer.begin() + 3, content, m_buffer.begin());
        std::fill(m_buffer.begin() + content, m_buffer.end(), 0);
        return UnwrapRelay(content) ? Step::Complete : Step::Failed;
    }
    if (m_form.relayMode) {
        if (m_stored < 2 * h + 5)
            return Step::More;
        if (m_stored < m_buffer[static_cast<std::size_t>(3 + 2 * h)] + 2 * h + 5)
            return Step::More;
        if (Sum8(m_buffer.data(), m_stored - 1) != m_buffer[static_cast<std::size_t>(m_stored - 1)])
            return Step::Failed;
        return UnwrapRelay(m_stored) ? Step::Complete : Step::Failed;
    }
    const bool complete =
        m_form.function == 3 ? m_stored >= 5 && m_stored >= m_buffer[2] + 5 : m_stored >= 8;
    if (!complete)
        return Step::More;
    if (Crc16(m_buffer.data(), m_stored) != 0)
        return Step::Failed;
    m_frameLength = m_stored;
    return Step::Complete;
}

bool ReplyAssembler::UnwrapRelay(int length)
{
    const int h = m_form.hops;
    const int lengthAt = 3 + 2 * h;
    if (length <= lengthAt)
        return false;
    const int inner = m_buffer[static_cast<std::size_t>(lengthAt)];
    // A length byte that points past what arrived would copy stale or foreign bytes.
    if (lengthAt + 1 + inner > length)
        return false;
    std::copy_n(m_buffer.begin() + lengthAt + 1, inner, m_buffer.begin());
    std::fill(m_buffer.begin() + inner, m_buffer.end(), 0);
    m_frameLength = inner;
    return true;
}

} // namespace mrv
