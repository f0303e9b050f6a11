#include "doc/BlockReading.h"

#include "base/NumberText.h"
#include "base/Translatable.h"
#include "datafile/HhuDataFile.h"
#include "doc/PhraseText.h"
#include "link/MeterLink.h"

#include <QCoreApplication>

#include <algorithm>

namespace mrv {

namespace {

constexpr char kContext[] = "mrv::BlockReading";

// One of the run's sentences with its values: as written, or for the window translated.
std::string Text(bool window, const char* source, std::vector<std::string> args = {})
{
    const Phrase phrase{kContext, source, std::move(args), {}};
    return window ? Translated(phrase).toStdString() : phrase.AsWritten();
}

// Why a meter was not read: one of the run's own words, or the outcome word of the trace.
std::string Reason(bool window, const std::string& reason)
{
    if (!window)
        return reason;
    const QString own = QCoreApplication::translate(kContext, reason.c_str());
    return (own != QString::fromStdString(reason)
                ? own
                : QCoreApplication::translate("mrv::LinkTrace", reason.c_str()))
        .toStdString();
}

std::string Kwh(double v)
{
    return FormatC("%.2f", v);
}

void Report(const BlockReadHooks& hooks, const BlockMeterResult& meter)
{
    if (hooks.progress)
        hooks.progress(meter);
}

} // namespace

int BlockReadSummary::Count(BlockMeterState state) const
{
    int n = 0;
    for (const BlockMeterResult& m : meters)
        n += m.state == state;
    return n;
}

bool BlockReadSummary::AllRead() const
{
    return Count(BlockMeterState::Read) + Count(BlockMeterState::AlreadyRead) ==
           static_cast<int>(meters.size());
}

std::vector<int> BlockSequences(const HhuDataFile& file, std::optional<int> block)
{
    const std::vector<BlockEntry> entries = file.GetBlockEntries();
    std::vector<int> sequences;
    const int count = file.ReadingCount();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (block && *block != static_cast<int>(k))
            continue;
        const BlockEntry& e = entries[k];
        // A table that counts beyond the records never leads past them.
        for (int s = e.firstSequence; s < e.firstSequence + e.meterCount && s <= count; ++s)
            if (s >= 1)
                sequences.push_back(s);
    }
    return sequences;
}

std::optional<int> FindBlock(const HhuDataFile& file, const std::string& nameOrNumber)
{
    const std::vector<BlockEntry> entries = file.GetBlockEntries();
    for (std::size_t k = 0; k < entries.size(); ++k)
        if (entries[k].name == nameOrNumber)
            return static_cast<int>(k);
    if (nameOrNumber.empty() || nameOrNumber.size() > 3 ||
        nameOrNumber.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int number = std::stoi(nameOrNumber);
    if (number < 1 || number > static_cast<int>(entries.size()))
        return std::nullopt;
    return number - 1;
}

void KeepUnreadBlocks(const HhuDataFile& file, int index, ReadingBlocks& blocks)
{
    const std::vector<ReadingRecord>& held = file.GetReadings();
    if (index < 0 || static_cast<std::size_t>(index) >= held.size())
        return;
    if (!blocks.energyRead)
        blocks.energy = EnergyBlockOf(held[std::size_t(index)].energy);
    if (!blocks.lmEnergyRead)
        blocks.lmEnergy = EnergyBlockOf(held[std::size_t(index)].lmEnergy);
}

bool StoreReadingBlocks(HhuDataFile& file, int index, ReadingBlocks& blocks, ReadingRecord* stored,
                        std::string* why)
{
    KeepUnreadBlocks(file, index, blocks);
    if (file.StoreReading(index, blocks.energy, blocks.lmEnergy, stored))
        return true;
    if (why) {
        *why = file.StoreFailureText();
        if (why->empty())
            *why = "The reading could not be written to the data file!";
    }
    return false;
}

BlockReadSummary RunBlockReading(MeterLink& link, HhuDataFile& file,
                                 const std::vector<int>& sequences, const BlockReadOptions& options,
                                 const BlockReadHooks& hooks)
{
    BlockReadSummary summary;
    summary.maxTries = 1 + std::max(0, options.retries);
    const std::vector<ReadingRecord>& readings = file.GetReadings();
    std::vector<std::size_t> pending;
    for (int seq : sequences) {
        BlockMeterResult m;
        m.sequence = seq;
        if (seq < 1 || seq > static_cast<int>(readings.size()))
            continue;
        const ReadingRecord& r = readings[std::size_t(seq - 1)];
        m.meterId = r.meterId;
        m.address = ReadingMeterAddress(r.meterId);
        if (!r.damage.empty()) {
            // Its meter id may be as wrong as its check byte: it is not read on its word.
            m.state = BlockMeterState::Damaged;
            m.reason = r.damage;
        } else if (r.status != 0 && !options.again) {
            m.state = BlockMeterState::AlreadyRead;
        } else if (m.address == 0 || m.address > 247) {
            m.state = BlockMeterState::NoAddress;
        } else {
            pending.push_back(summary.meters.size());
        }
        summary.meters.push_back(std::move(m));
        if (summary.meters.back().state != BlockMeterState::NotTried)
            Report(hooks, summary.meters.back());
    }

    std::uint8_t* address = link.MeterAddressPtr();
    if (!address)
        return summary;
    std::optional<TraceOutcome> last;
    link.SetTraceSink([&](const TransactionTrace& t) {
        last = t.outcome;
        if (hooks.trace)
            hooks.trace(t);
    });
    WizardHooks meterHooks;
    meterHooks.pause = hooks.pause;
    meterHooks.stopRequested = hooks.stopRequested;
    const auto store =
        hooks.store
            ? hooks.store
            : [&file](int index, ReadingBlocks& blocks, ReadingRecord& stored, std::string& why) {
                  return StoreReadingBlocks(file, index, blocks, &stored, &why);
              };

    bool ended = false;
    for (int round = 0; round < summary.maxTries && !pending.empty() && !ended; ++round) {
        std::vector<std::size_t> failed;
        for (std::size_t i : pending) {
            // Straight on to the next meter: the pauses are those of each meter's run.
            if (hooks.stopRequested && hooks.stopRequested()) {
                summary.stopped = ended = true;
                break;
            }
            BlockMeterResult& m = summary.meters[i];
            *address = m.address;
            last.reset();
            ReadingBlocks blocks;
            const WizardRunEnd end = RunReading(link, options.groups, blocks, meterHooks);
            ++m.tries;
            if (end == WizardRunEnd::Done) {
                ReadingRecord stored;
                std::string why;
                if (store(m.sequence - 1, blocks, stored, why)) {
                    m.state = BlockMeterState::Read;
                    m.reason.clear();
                    m.kwh = {stored.energy[0], stored.lmEnergy[0]};
                } else {
                    // A file that cannot take one reading takes none: reading on would only
                    // lose more of them.
                    m.state = BlockMeterState::Failed;
                    m.reason = QT_TRANSLATE_NOOP("mrv::BlockReading", "not-stored");
                    m.detail = why;
                    summary.storeFailure = why;
                    ended = true;
                }
            } else {
                m.state = BlockMeterState::Failed;
                if (end == WizardRunEnd::Stopped) {
                    m.reason = QT_TRANSLATE_NOOP("mrv::BlockReading", "stopped");
                    summary.stopped = ended = true;
                } else if (last && *last != TraceOutcome::Answered) {
                    m.reason = OutcomeWord(*last);
                } else {
                    // Every exchange was answered and the run still failed: a value the
                    // file cannot hold.
                    m.reason = QT_TRANSLATE_NOOP("mrv::BlockReading", "out-of-range");
                }
                if (!ended)
                    failed.push_back(i);
            }
            Report(hooks, m);
            if (ended)
                break;
        }
        pending = std::move(failed);
    }
    link.SetTraceSink({});
    return summary;
}

std::string BlockMeterLine(const BlockMeterResult& m, int maxTries, bool window)
{
    const std::string head =
        Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "record %1 (meter %2, address %3)"),
             {std::to_string(m.sequence), m.meterId, std::to_string(m.address)});
    std::string what;
    switch (m.state) {
    case BlockMeterState::Read:
        what =
            Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "read, %1 kWh, last month %2 kWh"),
                 {Kwh(m.kwh[0]), Kwh(m.kwh[1])});
        break;
    case BlockMeterState::Failed:
        what = Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "not read: %1 (try %2 of %3)"),
                    {Reason(window, m.reason), std::to_string(m.tries), std::to_string(maxTries)});
        if (!m.detail.empty())
            what += " " + m.detail;
        break;
    case BlockMeterState::AlreadyRead:
        what = Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "read before, left alone"));
        break;
    case BlockMeterState::Damaged:
        what =
            Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "damaged record, left alone: %1"),
                 {m.reason});
        break;
    case BlockMeterState::NoAddress:
        what = Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading",
                                              "its meter id gives no meter address, left alone"));
        break;
    case BlockMeterState::NotTried:
        what = Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "not tried"));
        break;
    }
    // The record, then what became of it.
    return Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "%1: %2"), {head, what});
}

std::string BlockSummaryText(const BlockReadSummary& s, bool window)
{
    std::string text =
        Text(window,
             QT_TRANSLATE_NOOP("mrv::BlockReading",
                               "%1 meters: %2 read now, %3 read before, %4 not read."),
             {std::to_string(s.meters.size()), std::to_string(s.Count(BlockMeterState::Read)),
              std::to_string(s.Count(BlockMeterState::AlreadyRead)),
              std::to_string(static_cast<int>(s.meters.size()) - s.Count(BlockMeterState::Read) -
                             s.Count(BlockMeterState::AlreadyRead))}) +
        "\n";
    if (s.stopped)
        text += Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading",
                                               "Stopped: what was read before the Stop is kept.")) +
                "\n";
    if (!s.storeFailure.empty())
        text +=
            Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "Ended: %1"), {s.storeFailure}) +
            "\n";
    bool first = true;
    for (const BlockMeterResult& m : s.meters) {
        if (m.state == BlockMeterState::Read || m.state == BlockMeterState::AlreadyRead)
            continue;
        if (first)
            text += Text(window, QT_TRANSLATE_NOOP("mrv::BlockReading", "Not read:")) + "\n";
        first = false;
        text += "  " + BlockMeterLine(m, s.maxTries, window) + "\n";
    }
    return text;
}

} // namespace mrv
