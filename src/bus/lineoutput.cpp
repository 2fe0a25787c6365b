#include "bus/lineoutput.h"

#include <algorithm>
#include <cmath>

namespace varnet {

namespace {

constexpr int kPartBits = 2;
constexpr int kPartShift = 12;       // after the GaugeID (8 bits) and the command (4 bits)
constexpr int kOccurrenceShift = 14; // the n-th frame of one part in one tick

constexpr std::uint32_t kFirstKeys = 1u << kOccurrenceShift;

std::uint32_t baseKey(const GaugeFrameBytes& frame, int part)
{
    const std::uint32_t gaugeID = quint8(frame[1]);
    const std::uint32_t command = quint8(frame[2]) >> 4;
    const std::uint32_t partBits = std::uint32_t(part) & ((1u << kPartBits) - 1);
    return gaugeID | command << 8 | partBits << kPartShift;
}

} // namespace

int LineBytesPer(int intervalMs)
{
    return int(std::floor(kGaugeBusBytesPerSecond * std::max(intervalMs, 0) / 1000.0));
}

qint64 LineMsFor(qint64 bytes)
{
    return qint64(std::ceil(bytes * 1000.0 / kGaugeBusBytesPerSecond));
}

void LineOutput::Add(Lane which, const QByteArray& frame, int part, Kind kind)
{
    if (frame.size() != kGaugeFrameBytes)
        return;
    GaugeFrameBytes bytes;
    std::copy(frame.begin(), frame.end(), bytes.begin());
    Add(which, bytes, part, kind);
}

void LineOutput::Add(Lane which, const GaugeFrameBytes& frame, int part, Kind kind)
{
    Unit unit{0, tick_, kind, {}};
    unit.bytes[0] = kRunFramePrefix;
    std::copy(frame.begin(), frame.end(), unit.bytes.begin() + 1);

    Waiting& waiting = lane(which);
    const std::uint32_t base = baseKey(frame, part);
    for (std::uint32_t occurrence = 0;; ++occurrence) {
        unit.key = base | occurrence << kOccurrenceShift;
        const std::optional<std::uint64_t> found = waiting.find(unit.key);
        if (!found) {
            waiting.place(unit.key, waiting.head + waiting.units.size());
            waiting.units.push_back(unit);
            return;
        }
        Unit& queued = waiting.units[std::size_t(*found - waiting.head)];
        if (queued.tick != tick_) {
            // Newer, in the place of the older: it has waited since then.
            queued = unit;
            return;
        }
    }
}

std::optional<std::uint64_t> LineOutput::Waiting::find(std::uint32_t key) const
{
    if (key < kFirstKeys) {
        if (key >= first.size() || first[key] == 0)
            return std::nullopt;
        return first[key] - 1;
    }
    const auto found = more.find(key);
    return found == more.end() ? std::nullopt : std::optional(found->second);
}

void LineOutput::Waiting::place(std::uint32_t key, std::uint64_t sequence)
{
    if (key >= kFirstKeys) {
        more[key] = sequence;
        return;
    }
    if (first.empty())
        first.resize(kFirstKeys);
    first[key] = sequence + 1;
}

void LineOutput::Waiting::forget(std::uint32_t key)
{
    if (key >= kFirstKeys)
        more.erase(key);
    else if (key < first.size())
        first[key] = 0;
}

QByteArray LineOutput::Next(int budget)
{
    const int fit = std::max(budget, 0) / kRunUnitBytes;
    answers_.taken = std::min(int(answers_.units.size()), fit);
    values_.taken = std::min(int(values_.units.size()), fit - answers_.taken);
    QByteArray out;
    out.reserve((values_.taken + answers_.taken) * kRunUnitBytes);
    handOut(values_, values_.taken, out);
    handOut(answers_, answers_.taken, out);
    return out;
}

void LineOutput::handOut(Waiting& waiting, int units, QByteArray& out)
{
    for (int k = 0; k < units; ++k)
        out.append(waiting.units[std::size_t(k)].bytes.data(), kRunUnitBytes);
}

void LineOutput::Handed()
{
    remove(values_, values_.taken);
    remove(answers_, answers_.taken);
}

void LineOutput::remove(Waiting& waiting, int units)
{
    for (int k = 0; k < units && !waiting.units.empty(); ++k) {
        waiting.forget(waiting.units.front().key);
        waiting.units.pop_front();
        ++waiting.head;
    }
    waiting.taken = 0;
}

void LineOutput::DropRequests()
{
    dropRequests(values_);
    dropRequests(answers_);
}

void LineOutput::dropRequests(Waiting& waiting)
{
    for (const Unit& unit : waiting.units)
        waiting.forget(unit.key);
    std::erase_if(waiting.units, [](const Unit& unit) { return unit.kind == Kind::Request; });
    waiting.head = 0;
    waiting.taken = 0;
    for (std::size_t k = 0; k < waiting.units.size(); ++k)
        waiting.place(waiting.units[k].key, k);
}

void LineOutput::Clear()
{
    values_ = Waiting{};
    answers_ = Waiting{};
}

} // namespace varnet
