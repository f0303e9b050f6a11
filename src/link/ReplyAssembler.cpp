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
    if (length >= 1) {
        form.leadByte = request[0];
        form.request.assign(request, request + length);
    }
    const int relayLead = carrierMode ? 3 : 0;
    if (relayMode && length > relayLead)
        form.hops = request[relayLead] & 0x03;
    return form;
}

void ReplyAssembler::Start(ReplyForm form)
{
    m_form = std::move(form);
    m_form.echoSeen = std::clamp(m_form.echoSeen, 0, static_cast<int>(m_form.request.size()));
    m_raw.fill(0);
    m_buffer.fill(0);
    m_arrived = 0;
    m_start = 0;
    m_echoDropped = 0;
    // A request whose echo was seen whole before the reply was collected has no echo left.
    m_echoDone = m_form.request.empty() ||
                 m_form.echoSeen == static_cast<int>(m_form.request.size());
    m_frameLength = 0;
    m_badLayer = CheckLayer::None;
    m_firstBad = 0;
    m_state = Step::More;
    m_failure = Failure::None;
}

ReplyAssembler::Step ReplyAssembler::Feed(std::uint8_t byte)
{
    if (m_state != Step::More)
        return m_state;
    m_raw[static_cast<std::size_t>(m_arrived)] = byte;
    // Noise counts too: a line that chatters without ever forming a reply must end.
    if (++m_arrived > kLimit)
        return Fail(Failure::TooLong);
    m_state = Evaluate();
    return m_state;
}

ReplyAssembler::Step ReplyAssembler::Fail(Failure why)
{
    m_failure = why;
    m_state = Step::Failed;
    return m_state;
}

bool ReplyAssembler::CouldStart(int i) const
{
    if (m_raw[static_cast<std::size_t>(i)] != m_form.leadByte)
        return false;
    if (i + 1 >= m_arrived || (m_form.relayMode && !m_form.carrierMode))
        return true;
    const std::uint8_t second = m_raw[static_cast<std::size_t>(i + 1)];
    if (m_form.carrierMode)
        return second == 0x43;
    // A direct reply carries the function asked for, bit 7 set for an exception.
    return (second & 0x7F) == (m_form.function & 0x7F);
}

int ReplyAssembler::EchoAt(int at, int from) const
{
    const int need = static_cast<int>(m_form.request.size()) - from;
    const int have = m_arrived - at;
    const int n = std::min(need, have);
    if (!std::equal(m_raw.begin() + at, m_raw.begin() + at + n, m_form.request.begin() + from))
        return -1;
    return have >= need ? 1 : 0;
}

bool ReplyAssembler::DamagedEchoAt(int at) const
{
    const int length = static_cast<int>(m_form.request.size());
    if (m_arrived - at < length)
        return false;
    int differ = 0;
    for (int i = 0; i < length; ++i)
        differ += m_raw[static_cast<std::size_t>(at + i)] != m_form.request[static_cast<std::size_t>(i)];
    return differ <= 1;
}

ReplyAssembler::Step ReplyAssembler::Evaluate()
{
    for (;;) {
        // The rest of an echo partly thrown away with the purge comes first, whatever it
        // starts with.
        if (!m_echoDone && m_form.echoSeen > 0 && m_start == 0) {
            const int echo = EchoAt(0, m_form.echoSeen);
            if (echo == 0)
                return Step::More;
            m_echoDone = true;
            if (echo == 1) {
                m_echoDropped = static_cast<int>(m_form.request.size()) - m_form.echoSeen;
                m_start = m_echoDropped;
                continue;
            }
        }
        while (m_start < m_arrived && !CouldStart(m_start))
            ++m_start;
        if (m_start >= m_arrived)
            return Step::More;
        // Wait while what came may still be our own request: taken as a reply, the first
        // bytes of a write's echo could even pass for its acknowledgement.
        if (!m_echoDone && m_form.echoSeen == 0) {
            const int echo = EchoAt(m_start, 0);
            if (echo == 0)
                return Step::More;
            if (echo == 1) {
                m_echoDone = true;
                m_echoDropped = static_cast<int>(m_form.request.size());
                m_start += m_echoDropped;
                continue;
            }
        }
        const Check check = CheckFrame(m_start);
        // A copy of the request with one byte damaged is still its echo; read as a reply its
        // length could hold the collection up until the time-out.
        if (check.step != Step::Complete && !m_echoDone && m_form.echoSeen == 0 &&
            DamagedEchoAt(m_start)) {
            m_echoDone = true;
            m_echoDropped = static_cast<int>(m_form.request.size());
            m_start += m_echoDropped;
            continue;
        }
        if (check.step == Step::More)
            return Stored() >= kLimit ? Fail(Failure::TooLong) : Step::More;
        if (check.step == Step::Complete) {
            std::copy_n(m_raw.begin() + check.innerAt, check.innerLength, m_buffer.begin());
            m_frameLength = check.innerLength;
            return Step::Complete;
        }
        // A frame that does not check out: the reply may still start at a later byte. The
        // first such frame is the one to show when none does.
        if (m_badLayer == CheckLayer::None) {
            m_badLayer = check.bad;
            m_firstBad = m_start;
        }
        int next = m_start + 1;
        while (next < m_arrived && !CouldStart(next))
            ++next;
        if (next >= m_arrived) {
            m_start = m_firstBad;
            return Fail(Failure::BadCheck);
        }
        m_start = next;
    }
}

ReplyAssembler::Check ReplyAssembler::CheckInner(int at, int n) const
{
    // The shortest Modbus reply, an exception, has 5 bytes.
    if (n < 5 || Crc16(m_raw.data() + at, n) != 0)
        return {Step::Failed, CheckLayer::Modbus};
    return {Step::Complete, CheckLayer::None, at, n};
}

ReplyAssembler::Check ReplyAssembler::CheckFrame(int at) const
{
    const std::uint8_t* p = m_raw.data() + at;
    const int n = m_arrived - at;
    const int h = m_form.hops;
    if (m_form.carrierMode) {
        const int content = p[2];
        if (n < 6 || n < content + 5)
            return {};
        if (Crc16(p, content + 5) != 0)
            return {Step::Failed, CheckLayer::Carrier};
        // The content is a relay frame (without relays when relay mode is off); its sum is
        // the carrier module's business, its inner frame the meter's.
        const int lengthAt = 3 + 2 * h;
        if (content <= lengthAt || lengthAt + 1 + p[3 + lengthAt] > content)
            return {Step::Failed, CheckLayer::Relay};
        return CheckInner(at + 3 + lengthAt + 1, p[3 + lengthAt]);
    }
    if (m_form.relayMode) {
        if (n < 2 * h + 5)
            return {};
        const int inner = p[3 + 2 * h];
        const int total = inner + 2 * h + 5;
        if (n < total)
            return {};
        if (Sum8(p, total - 1) != p[total - 1])
            return {Step::Failed, CheckLayer::Relay};
        return CheckInner(at + 4 + 2 * h, inner);
    }
    if (n < 2)
        return {};
    int total = 8;
    if (p[1] & 0x80) {
        total = 5; // an exception is whole at 5 bytes
    } else if (m_form.function == 3) {
        if (n < 3)
            return {};
        total = p[2] + 5;
    }
    if (n < total)
        return {};
    if (Crc16(p, total) != 0)
        return {Step::Failed, CheckLayer::Modbus};
    return {Step::Complete, CheckLayer::None, at, total};
}

} // namespace mrv
