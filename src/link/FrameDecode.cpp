#include "link/FrameDecode.h"

#include "base/NumberText.h"
#include "base/Translatable.h"
#include "link/Checks.h"

#include <algorithm>

namespace mrv {

namespace {

using Span = std::span<const std::uint8_t>;
using Bytes = std::vector<std::uint8_t>;

// Registers shown in a data field's value; the bytes field has them all.
constexpr std::size_t kShownRegisters = 8;

unsigned Word(Span b, std::size_t at)
{
    return static_cast<unsigned>(b[at] << 8 | b[at + 1]);
}

// What a reply is checked against: the request it answers.
struct Asked {
    bool reply = false;
    std::uint8_t address = 0;
    std::uint8_t function = 0;
    std::uint16_t reg = 0;
    std::uint16_t count = 0;
    Bytes relayHeader; // the request's relay lead, relays and target (empty: none sent)
};

// Fields of one layer, read from the front of its bytes.
class LayerReader {
public:
    LayerReader(Span bytes, FrameLayer& layer) : m_bytes(bytes), m_layer(layer) {}

    // The next n bytes as a field; a "missing" field and false when they are not all there
    // (the layer stops there).
    bool Take(const char* name, std::size_t n, Span& out)
    {
        if (m_broken)
            return false;
        if (m_at + n > m_bytes.size()) {
            FrameField f;
            f.name = name;
            f.bytes.assign(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at), m_bytes.end());
            f.value = "missing";
            f.check = FieldCheck::Bad;
            f.note =
                m_at == m_bytes.size() ? "the frame ends before it" : "the frame ends inside it";
            m_layer.fields.push_back(std::move(f));
            m_at = m_bytes.size();
            m_broken = true;
            return false;
        }
        out = m_bytes.subspan(m_at, n);
        m_at += n;
        return true;
    }

    FrameField& Add(const char* name, Span bytes, std::string value,
                    FieldCheck check = FieldCheck::Info, std::string note = {})
    {
        m_layer.fields.push_back(
            {name, Bytes(bytes.begin(), bytes.end()), std::move(value), check, std::move(note)});
        return m_layer.fields.back();
    }

    std::size_t At() const { return m_at; }

private:
    Span m_bytes;
    FrameLayer& m_layer;
    std::size_t m_at = 0;
    bool m_broken = false;
};

void Check(FrameField& f, bool ok, std::string note)
{
    f.check = ok ? FieldCheck::Ok : FieldCheck::Bad;
    if (!ok)
        f.note = std::move(note);
}

std::string FunctionName(unsigned f)
{
    if (f == 3)
        return "3 read registers";
    if (f == 16)
        return "16 write registers";
    if (f & 0x80)
        return FormatC("%u exception to function %u", f, f & 0x7F);
    return FormatC("%u", f);
}

std::string RegisterValues(Span data, unsigned firstReg)
{
    std::string s;
    const std::size_t regs = data.size() / 2;
    for (std::size_t i = 0; i < std::min(regs, kShownRegisters); ++i)
        s += FormatC("%s%u=%u", i ? " " : "", unsigned(firstReg + i) & 0xFFFF, Word(data, 2 * i));
    if (regs > kShownRegisters)
        s += " ...";
    if (data.size() % 2)
        s += FormatC("%s(odd byte %02X)", s.empty() ? "" : " ", data.back());
    return s;
}

// The CRC in the two bytes after `covered`; checked over everything before it.
void CrcField(LayerReader& r, Span whole,
              const char* name = MRV_TRANSLATABLE("mrv::FrameDecode", "CRC"))
{
    Span crc;
    if (!r.Take(name, 2, crc))
        return;
    const std::size_t end = r.At();
    const std::uint16_t should = Crc16(whole.data(), static_cast<std::ptrdiff_t>(end - 2));
    FrameField& f = r.Add(name, crc, FormatC("0x%04X", crc[1] << 8 | crc[0]));
    Check(f, crc[0] == (should & 0xFF) && crc[1] == (should >> 8),
          FormatC("should be %02X %02X", should & 0xFF, should >> 8));
}

// The Modbus frame at the front of `bytes`; returns the bytes it takes.
std::size_t DecodeModbus(Span bytes, const Asked& asked, DecodedFrame& out)
{
    out.push_back({MRV_TRANSLATABLE("mrv::FrameDecode", "Modbus"), {}});
    LayerReader r(bytes, out.back());
    Span b;
    if (!r.Take("address", 1, b))
        return r.At();
    FrameField& address = r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "address"), b,
                                b[0] == 0 ? std::string("0 broadcast") : FormatC("%u", b[0]));
    if (asked.reply)
        Check(address, b[0] == asked.address, FormatC("meter %u was asked", asked.address));
    if (!r.Take("function", 1, b))
        return r.At();
    const unsigned function = b[0];
    FrameField& fn =
        r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "function"), b, FunctionName(function));
    if (asked.reply)
        Check(fn, function == asked.function,
              (function & 0x80) ? "the meter refused the request"
                                : FormatC("function %u was asked", asked.function));

    if (function & 0x80) {
        if (!r.Take("exception code", 1, b))
            return r.At();
        r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "exception code"), b,
              FormatC("%u %s", b[0], ModbusExceptionText(b[0]).c_str()), FieldCheck::Bad,
              "an exception carries no data");
    } else if (!asked.reply || function == 16) {
        // A request (read or write), or the reply to a write: register and count.
        Span reg, count;
        if (!r.Take("register", 2, reg))
            return r.At();
        FrameField& regField = r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "register"), reg,
                                     FormatC("%u (0x%04X)", Word(reg, 0), Word(reg, 0)));
        if (asked.reply)
            Check(regField, Word(reg, 0) == asked.reg, FormatC("%u was asked", asked.reg));
        if (!r.Take("count", 2, count))
            return r.At();
        const unsigned n = Word(count, 0);
        FrameField& countField = r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "count"), count,
                                       FormatC("%u %s", n, n == 1 ? "register" : "registers"));
        if (asked.reply)
            Check(countField, n == asked.count, FormatC("%u were asked", asked.count));
        if (!asked.reply && function == 16 && bytes.size() - r.At() > 2) {
            // A write request carries its byte count and data.
            if (!r.Take("byte count", 1, b))
                return r.At();
            const unsigned dataBytes = b[0];
            r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "byte count"), b,
                  FormatC("%u bytes", dataBytes) +
                      (dataBytes != 2 * n ? FormatC(" (%u registers declared)", n) : ""));
            Span data;
            if (!r.Take("data", dataBytes, data))
                return r.At();
            r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "data"), data,
                  RegisterValues(data, Word(reg, 0)));
        }
    } else if (function == 3) {
        if (!r.Take("byte count", 1, b))
            return r.At();
        const unsigned dataBytes = b[0];
        FrameField& bc = r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "byte count"), b,
                               FormatC("%u bytes (%u %s)", dataBytes, dataBytes / 2,
                                       dataBytes / 2 == 1 ? "register" : "registers"));
        Check(bc, dataBytes == 2u * asked.count,
              FormatC("%u registers were asked: %u bytes", asked.count, 2u * asked.count));
        Span data;
        if (!r.Take("data", dataBytes, data))
            return r.At();
        r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "data"), data, RegisterValues(data, asked.reg));
    } else {
        // No layout known for this function: what is left but a CRC.
        const std::size_t rest = bytes.size() - r.At();
        Span data;
        if (rest > 2 && r.Take("data", rest - 2, data))
            r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "data"), data, "", FieldCheck::Bad,
                  "no reply of this function was asked for");
    }
    CrcField(r, bytes);
    return r.At();
}

// The relay frame at the front of `bytes` with `hops` relays; returns the bytes it takes.
std::size_t DecodeRelay(Span bytes, int hops, const Asked& asked, DecodedFrame& out)
{
    out.push_back({MRV_TRANSLATABLE("mrv::FrameDecode", "Relay"), {}});
    const std::size_t layer = out.size() - 1;
    LayerReader r(bytes, out[layer]);
    Span b;
    if (!r.Take("lead", 1, b))
        return r.At();
    static const char* const kLeads[] = {"no relay", "one relay", "two relays", "three relays"};
    const bool known = (b[0] & 0xFC) == 0xC0;
    FrameField& lead = r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "lead"), b,
                             FormatC("0x%02X ", b[0]) + (known ? kLeads[b[0] & 3] : "unknown"));
    if (asked.reply && !asked.relayHeader.empty())
        Check(lead, b[0] == asked.relayHeader[0], FormatC("%02X was sent", asked.relayHeader[0]));
    else
        Check(lead, known && (b[0] & 3) == hops,
              FormatC("%02X expected", 0xC0 + static_cast<unsigned>(hops)));
    // The words that must come back as sent: relays, then the target.
    const auto echoed = [&](FrameField& f, std::size_t at) {
        if (!asked.reply || asked.relayHeader.size() < at + 2)
            return;
        const unsigned sent = Word(asked.relayHeader, at);
        Check(f, Word(f.bytes, 0) == sent, FormatC("%u was sent", sent));
    };
    static const char* const kRelayNames[] = {"relay 1", "relay 2", "relay 3"};
    for (int k = 0; k < hops; ++k) {
        if (!r.Take(kRelayNames[k], 2, b))
            return r.At();
        echoed(r.Add(kRelayNames[k], b, FormatC("%u", Word(b, 0))), 1 + 2 * std::size_t(k));
    }
    if (!r.Take("target", 2, b))
        return r.At();
    echoed(r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "target"), b, FormatC("%u", Word(b, 0))),
           1 + 2 * std::size_t(hops));
    if (!r.Take("length", 1, b))
        return r.At();
    const std::size_t inner = b[0];
    const std::size_t left = bytes.size() - r.At();
    FrameField& length =
        r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "length"), b, FormatC("%zu bytes", inner));
    Check(length, inner < left, FormatC("only %zu bytes follow", left));
    const std::size_t innerStart = r.At();
    const std::size_t innerTaken =
        DecodeModbus(bytes.subspan(innerStart, std::min(inner, left)), asked, out);
    // The Modbus frame may claim less than the relay length gives it.
    Span rest;
    if (innerTaken < std::min(inner, left)) {
        const auto extra =
            bytes.subspan(innerStart + innerTaken, std::min(inner, left) - innerTaken);
        out.back().fields.push_back({MRV_TRANSLATABLE("mrv::FrameDecode", "extra bytes"),
                                     Bytes(extra.begin(), extra.end()), "", FieldCheck::Bad,
                                     "inside the relay length, after the frame"});
    }
    LayerReader tail(bytes.subspan(std::min(innerStart + inner, bytes.size())), out[layer]);
    if (!tail.Take("sum", 1, rest))
        return bytes.size();
    const std::size_t sumAt = innerStart + inner;
    const std::uint8_t should = Sum8(bytes.data(), static_cast<std::ptrdiff_t>(sumAt));
    FrameField& sum =
        tail.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "sum"), rest, FormatC("0x%02X", rest[0]));
    Check(sum, rest[0] == should, FormatC("should be %02X", should));
    return sumAt + 1;
}

// The carrier frame at the front of `bytes`, its content a relay frame.
std::size_t DecodeCarrier(Span bytes, int hops, const Asked& asked, std::uint8_t lead,
                          DecodedFrame& out)
{
    out.push_back({MRV_TRANSLATABLE("mrv::FrameDecode", "Carrier"), {}});
    const std::size_t layer = out.size() - 1;
    LayerReader r(bytes, out[layer]);
    Span b;
    if (!r.Take("lead byte", 1, b))
        return r.At();
    FrameField& leadField =
        r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "lead byte"), b, FormatC("0x%02X", b[0]));
    if (asked.reply)
        Check(leadField, b[0] == lead, FormatC("%02X was sent", lead));
    if (!r.Take("mark", 1, b))
        return r.At();
    Check(r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "mark"), b,
                b[0] == 'C' ? "'C'" : FormatC("0x%02X", b[0])),
          b[0] == 'C', "should be 43 ('C')");
    if (!r.Take("length", 1, b))
        return r.At();
    const std::size_t content = b[0];
    const std::size_t left = bytes.size() - r.At();
    Check(r.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "length"), b, FormatC("%zu bytes", content)),
          content + 2 <= left, FormatC("only %zu bytes follow", left));
    const std::size_t start = r.At();
    const Span inner = bytes.subspan(start, std::min(content, left));
    const std::size_t taken = DecodeRelay(inner, hops, asked, out);
    if (taken < inner.size())
        out.back().fields.push_back(
            {MRV_TRANSLATABLE("mrv::FrameDecode", "extra bytes"),
             Bytes(inner.begin() + static_cast<std::ptrdiff_t>(taken), inner.end()), "",
             FieldCheck::Bad, "inside the carrier length, after the relay frame"});
    const std::size_t crcAt = std::min(start + content, bytes.size());
    LayerReader tail(bytes.subspan(crcAt), out[layer]);
    Span crc;
    if (!tail.Take("CRC", 2, crc))
        return bytes.size();
    const std::uint16_t should = Crc16(bytes.data(), static_cast<std::ptrdiff_t>(crcAt));
    Check(tail.Add(MRV_TRANSLATABLE("mrv::FrameDecode", "CRC"), crc,
                   FormatC("0x%04X", crc[1] << 8 | crc[0])),
          crc[0] == (should & 0xFF) && crc[1] == (should >> 8),
          FormatC("should be %02X %02X", should & 0xFF, should >> 8));
    return crcAt + 2;
}

// One frame in the form of the settings; bytes after it are named.
void DecodeForm(Span bytes, const LinkSettings& s, int hops, const Asked& asked,
                std::uint8_t carrierLead, DecodedFrame& out)
{
    const std::size_t first = out.size();
    std::size_t taken = 0;
    if (s.carrierMode)
        taken = DecodeCarrier(bytes, s.relayMode ? hops : 0, asked, carrierLead, out);
    else if (s.relayMode)
        taken = DecodeRelay(bytes, hops, asked, out);
    else
        taken = DecodeModbus(bytes, asked, out);
    if (taken < bytes.size() && out.size() > first)
        out[first].fields.push_back(
            {MRV_TRANSLATABLE("mrv::FrameDecode", "extra bytes"),
             Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(taken), bytes.end()), "",
             FieldCheck::Bad, "after the end of the frame"});
}

int HopsOf(Span request, const LinkSettings& s)
{
    if (!s.relayMode)
        return 0;
    const std::size_t at = s.carrierMode ? 3 : 0;
    return request.size() > at ? request[at] & 0x03 : 0;
}

} // namespace

DecodedFrame DecodeRequest(Span bytes, const LinkSettings& settings)
{
    DecodedFrame out;
    DecodeForm(bytes, settings, HopsOf(bytes, settings), Asked{}, settings.carrierLead, out);
    return out;
}

DecodedFrame DecodeReply(const TransactionTrace& t)
{
    DecodedFrame out;
    const Bytes received = t.Received();
    Asked asked;
    asked.reply = true;
    asked.address = t.address;
    asked.function = t.function;
    asked.reg = t.reg;
    asked.count = t.count;
    const int hops = HopsOf(t.request, t.settings);
    if (t.settings.relayMode) {
        const std::size_t at = t.settings.carrierMode ? 3 : 0;
        const std::size_t n = 3 + 2 * std::size_t(hops);
        if (t.request.size() >= at + n)
            asked.relayHeader.assign(t.request.begin() + static_cast<std::ptrdiff_t>(at),
                                     t.request.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    const std::uint8_t lead = t.request.empty() ? 0 : t.request[0];
    const auto noise = [&](std::size_t from, std::size_t to) {
        if (to > from)
            out.push_back({MRV_TRANSLATABLE("mrv::FrameDecode", "Noise"),
                           {{MRV_TRANSLATABLE("mrv::FrameDecode", "before the reply"),
                             Bytes(received.begin() + static_cast<std::ptrdiff_t>(from),
                                   received.begin() + static_cast<std::ptrdiff_t>(to)),
                             FormatC("%zu bytes", to - from), FieldCheck::Bad,
                             FormatC("dropped: a reply starts with %02X", lead)}}});
    };

    std::size_t at = 0;
    if (!received.empty()) {
        const bool direct = !t.settings.relayMode && !t.settings.carrierMode;
        auto start = std::find(received.begin(), received.end(), lead);
        std::size_t from = static_cast<std::size_t>(start - received.begin());
        if (t.echoDropped > 0 && !t.request.empty()) {
            // The whole echo where it came, or the rest of one the purge took the start of.
            const auto rest = t.request.end() - t.echoDropped;
            const auto echo = std::search(received.begin(), received.end(), rest, t.request.end());
            const std::size_t echoAt = static_cast<std::size_t>(echo - received.begin());
            if (echo != received.end()) {
                noise(0, echoAt);
                out.push_back({MRV_TRANSLATABLE("mrv::FrameDecode", "Echo"),
                               {{MRV_TRANSLATABLE("mrv::FrameDecode", "our request"),
                                 Bytes(rest, t.request.end()), "the request came back",
                                 FieldCheck::Info, "the line returns what is sent; dropped"}}});
                at = echoAt + std::size_t(t.echoDropped);
                from = std::max(at, std::min(std::size_t(t.replyOffset), received.size()));
            }
        }
        if (direct && t.outcome == TraceOutcome::OtherMeter) {
            // Another meter's reply starts with its own address, not the lead byte.
            from = static_cast<std::size_t>(
                std::find(received.begin() + static_cast<std::ptrdiff_t>(at), received.end(),
                          t.answeredBy) -
                received.begin());
            noise(at, from);
        } else if (from >= received.size() && direct) {
            // No byte starts the reply: show what came as a reply all the same.
            from = at;
        } else {
            noise(at, from);
        }
        if (from < received.size())
            DecodeForm(Span(received).subspan(from), t.settings, hops, asked, lead, out);
    }

    FrameLayer timing{MRV_TRANSLATABLE("mrv::FrameDecode", "Timing"), {}};
    for (std::size_t k = 0; k < t.bursts.size(); ++k)
        timing.fields.push_back({FormatC("burst %zu", k + 1),
                                 t.bursts[k].bytes,
                                 "+" + MillisText(t.bursts[k].atUs) + " ms after the request",
                                 FieldCheck::Info,
                                 {}});
    if (t.end == ReceiveEnd::TimedOut)
        timing.fields.push_back(
            {received.empty() ? "wait" : "then",
             {},
             FormatC("nothing %sfor %u ms", received.empty() ? "" : "more ", t.timeoutMs),
             FieldCheck::Info,
             {}});
    else if (t.end == ReceiveEnd::LineGone)
        timing.fields.push_back(
            {received.empty() ? "wait" : "then",
             {},
             "the line hung up +" + MillisText(t.goneUs) + " ms after the request",
             FieldCheck::Bad,
             "an adapter pulled out, a device removed"});
    out.push_back(std::move(timing));
    return out;
}

std::string CheckText(const FrameField& f)
{
    switch (f.check) {
    case FieldCheck::Ok:
        return "ok";
    case FieldCheck::Bad:
        return f.note.empty() ? "wrong" : "wrong: " + f.note;
    case FieldCheck::Info:
        break;
    }
    return {};
}

std::string TraceLinesWithLayers(const TransactionTrace& t, std::uint64_t runStartUs)
{
    return TraceRequestLine(t, runStartUs) + DecodedText(DecodeRequest(t.request, t.settings)) +
           TraceReplyLine(t, runStartUs) + DecodedText(DecodeReply(t));
}

std::string DecodedText(const DecodedFrame& frame)
{
    std::string out;
    for (const FrameLayer& layer : frame) {
        bool first = true;
        for (const FrameField& f : layer.fields) {
            std::string line =
                FormatC("           %-8s %-16s %s", first ? layer.name.c_str() : "", f.name.c_str(),
                        f.bytes.empty() ? "-" : HexBytes(f.bytes).c_str());
            if (!f.value.empty())
                line += "  " + f.value;
            if (const std::string check = CheckText(f); !check.empty())
                line += "  [" + check + "]";
            out += line + "\n";
            first = false;
        }
    }
    return out;
}

} // namespace mrv
