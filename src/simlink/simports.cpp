#include "simlink/simports.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace varnet {

namespace {

const QString kOverflow = QStringLiteral("Overflow");
const QString kDivisionByZero = QStringLiteral("Division by zero");

PortValue singleOrFault(double result)
{
    if (!std::isfinite(result) || std::fabs(result) > FLT_MAX)
        return {std::nullopt, kOverflow};
    return {double(Single(result)), {}};
}

} // namespace

int SimPortTable::open(int function, int selector)
{
    SimPortEntry port;
    port.function = function;
    port.selector = selector;
    port.version = ++versions_;
    ports_.push_back(port);
    return count() - 1;
}

void SimPortTable::clear()
{
    ports_.clear();
    for (std::vector<int>& handles : listed_)
        handles.clear();
    pending_.clear();
    refreshAll_ = false;
}

void SimPortTable::setActive(int handle, bool active)
{
    SimPortEntry& port = ports_[std::size_t(handle)];
    if (port.active == active)
        return;
    port.active = active;
    port.version = ++versions_;
    if (active) {
        list(handle);
        markPending(handle);
    } else {
        unlist(handle);
    }
}

void SimPortTable::setSelector(int handle, int selector)
{
    SimPortEntry& port = ports_[std::size_t(handle)];
    port.selector = selector;
    port.version = ++versions_;
    if (port.active) {
        unlist(handle);
        list(handle);
        markPending(handle);
    }
}

SimPortEntry& SimPortTable::written(int handle)
{
    markPending(handle);
    ports_[std::size_t(handle)].version = ++versions_;
    return ports_[std::size_t(handle)];
}

std::optional<DataPair> SimPortTable::follow(int handle, const XplaneDataTable& data)
{
    const SimPortEntry& port = ports_[std::size_t(handle)];
    const auto p = readablePair(handle);
    if (port.active && (p ? p->group : -1) != port.listedGroup) {
        unlist(handle);
        list(handle);
        refreshPort(handle, data);
    }
    return p;
}

void SimPortTable::list(int handle)
{
    const auto p = readablePair(handle);
    ports_[std::size_t(handle)].listedGroup = p ? p->group : -1;
    if (p)
        listed_[std::size_t(p->group)].push_back(handle);
}

void SimPortTable::unlist(int handle)
{
    SimPortEntry& port = ports_[std::size_t(handle)];
    if (port.listedGroup < 0)
        return;
    std::vector<int>& handles = listed_[std::size_t(port.listedGroup)];
    handles.erase(std::find(handles.begin(), handles.end(), handle));
    port.listedGroup = -1;
}

void SimPortTable::markPending(int handle)
{
    SimPortEntry& port = ports_[std::size_t(handle)];
    if (!port.pending) {
        port.pending = true;
        pending_.push_back(handle);
    }
}

std::optional<DataPair> SimPortTable::pair(int handle) const
{
    const int f = ports_[std::size_t(handle)].function;
    switch (ports_[std::size_t(handle)].selector) {
    case 0:
    case 1: return DataPair{Cfg.FunctionIndex1[f], Cfg.FunctionSlot1[f]};
    case 2: return DataPair{Cfg.FunctionIndex2[f], Cfg.FunctionSlot2[f]};
    case 3: return DataPair{Cfg.FunctionIndex3[f], Cfg.FunctionSlot3[f]};
    case 4: return DataPair{Cfg.FunctionIndex4[f], Cfg.FunctionSlot4[f]};
    default: return std::nullopt;
    }
}

std::optional<DataPair> SimPortTable::readablePair(int handle) const
{
    const auto p = pair(handle);
    if (!p || !InXplaneData(p->group, p->slot))
        return std::nullopt;
    return p;
}

void SimPortTable::refresh(const XplaneDataTable& data, const DataGroups& groups)
{
    // A port both pending and listed gets the same value twice.
    for (const int handle : pending_) {
        ports_[std::size_t(handle)].pending = false;
        refreshPort(handle, data);
    }
    pending_.clear();
    if (refreshAll_) {
        refreshAll_ = false;
        for (int handle = 0; handle < count(); ++handle)
            refreshPort(handle, data);
        return;
    }
    for (std::size_t group = 0; group < groups.size(); ++group) {
        if (groups[group]) {
            for (const int handle : listed_[group])
                refreshPort(handle, data);
        }
    }
}

void SimPortTable::refreshPort(int handle, const XplaneDataTable& data)
{
    SimPortEntry& port = ports_[std::size_t(handle)];
    const auto p = readablePair(handle);
    if (!port.active || !p)
        return;
    const SimPortEntry was = port;
    const Single x = data[p->group][p->slot];
    switch (Cfg.FunctionDataType[port.function]) {
    case DataTypeByte:
        if (const auto v = RoundedInRange(x, 0, 255))
            port.byteValue = Byte(*v);
        break;
    case DataTypeInteger:
    case DataTypeUnsignedInt:
    case DataTypeBCD:
        if (const auto v = RoundedInRange(x, -32768, 32767))
            port.intValue = Integer(*v);
        break;
    case DataTypeLong:
        if (const auto v = RoundedInRange(x, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max()))
            port.longValue = Long(*v);
        break;
    case DataTypeFloat:
        if (std::isfinite(x))
            port.singleValue = x;
        break;
    default:
        break;
    }
    if (port.byteValue != was.byteValue || port.intValue != was.intValue || port.longValue != was.longValue ||
        port.singleValue != was.singleValue)
        port.version = ++versions_;
}

std::optional<long long> RoundedInRange(double x, long long lo, long long hi)
{
    const double rounded = std::nearbyint(x);
    if (!(rounded >= double(lo) && rounded <= double(hi)))
        return std::nullopt;
    return static_cast<long long>(rounded);
}

PortValue RawPortValue(const SimPortEntry& port, Byte dataType)
{
    switch (dataType) {
    case DataTypeByte:
        // 128..255 read as -127..0: the signed reading the configurations
        // were calibrated with.
        return {port.byteValue > 127 ? port.byteValue - 255 : port.byteValue, {}};
    case DataTypeInteger: return {port.intValue, {}};
    case DataTypeUnsignedInt: return {port.intValue < 0 ? port.intValue + 65535 : port.intValue, {}};
    case DataTypeLong: return {port.longValue, {}};
    case DataTypeFloat: return {port.singleValue, {}};
    case DataTypeBCD:
        // The first four decimal digits: 0..9999 read as themselves, a
        // five-digit value as its first four digits.
        if (port.intValue < 0)
            return {std::nullopt, QStringLiteral("Negative value for BCD code")};
        return {port.intValue < 10000 ? port.intValue : port.intValue / 10, {}};
    default: return {};
    }
}

PortValue ScaleForReading(double raw, int function)
{
    if (Cfg.FunctionDivide[function] == 0)
        return {std::nullopt, kDivisionByZero};
    return singleOrFault((raw + Cfg.FunctionPreAdd[function]) * Cfg.FunctionMultiply[function] /
                         Cfg.FunctionDivide[function]);
}

PortValue ScaleForWriting(double value, int function)
{
    if (Cfg.FunctionMultiply[function] == 0)
        return {std::nullopt, kDivisionByZero};
    return singleOrFault(value * Cfg.FunctionDivide[function] / Cfg.FunctionMultiply[function] -
                         Cfg.FunctionPreAdd[function]);
}

} // namespace varnet
