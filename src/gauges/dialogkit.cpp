#include "gauges/dialogkit.h"

#include "bus/gaugetestwindow.h"
#include "bus/sendpath.h"
#include "config/numinput.h"
#include "gauges/gaugelink.h"
#include "platform/messages.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace varnet {

namespace {

bool validGaugeRow(int gaugeID)
{
    return gaugeID >= 0 && gaugeID < kGaugeRows;
}

template <typename T>
T narrowed(int value)
{
    return T(std::clamp<long long>(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

} // namespace

// ---- Record fields ----------------------------------------------------------

GaugeRecord GaugeRecord::Read(const ConfigTables& t, int id)
{
    if (!validGaugeRow(id))
        return {};
    return {t.GaugeRecType[id],      t.GaugeRecModel[id],     t.GaugeRecVersion[id], t.GaugeRecCategory1[id],
            t.GaugeRecFunction1[id], t.GaugeRecSeqNr1[id],    t.GaugeRecPlate1[id],  t.GaugeRecCategory2[id],
            t.GaugeRecFunction2[id], t.GaugeRecSeqNr2[id],    t.GaugeRecPlate2[id]};
}

void GaugeRecord::Write(ConfigTables& t, int id, FieldSet fields) const
{
    if (!validGaugeRow(id))
        return;
    const auto put = [fields](FieldSet field, auto& column, int value) {
        if (fields & field)
            column = narrowed<std::remove_reference_t<decltype(column)>>(value);
    };
    put(Field::Type, t.GaugeRecType[id], type);
    put(Field::Model, t.GaugeRecModel[id], model);
    put(Field::Version, t.GaugeRecVersion[id], version);
    put(Field::Category1, t.GaugeRecCategory1[id], category1);
    put(Field::Function1, t.GaugeRecFunction1[id], function1);
    put(Field::SeqNr1, t.GaugeRecSeqNr1[id], seqNr1);
    put(Field::Plate1, t.GaugeRecPlate1[id], plate1);
    put(Field::Category2, t.GaugeRecCategory2[id], category2);
    put(Field::Function2, t.GaugeRecFunction2[id], function2);
    put(Field::SeqNr2, t.GaugeRecSeqNr2[id], seqNr2);
    put(Field::Plate2, t.GaugeRecPlate2[id], plate2);
}

void WriteAtOnce(int gaugeID, FieldSet fields, const GaugeRecord& values)
{
    const GaugeRecord before = GaugeRecord::Read(Cfg, gaugeID);
    values.Write(Cfg, gaugeID, fields);
    if (GaugeRecord::Read(Cfg, gaugeID) != before)
        Session.ConfigChanged = 1;
}

void ClearFields(ConfigTables& tables, int gaugeID, FieldSet fields)
{
    GaugeRecord{}.Write(tables, gaugeID, fields);
}

// ---- The gauge a dialog is for ------------------------------------------------

GaugeContext GaugeContext::Capture()
{
    return GaugeContext(CurrentGaugeID, CurrentGaugeTypeName);
}

GaugeContext::GaugeContext(int gaugeID, std::string typeName)
    : gaugeID_(gaugeID),
      typeCode_(validGaugeRow(gaugeID) ? Cfg.GaugeRecType[gaugeID] : 0),
      typeName_(std::move(typeName))
{
}

bool GaugeContext::Send(int command, double value) const
{
    return gaugeLink().Send(gaugeID_, command, value);
}

std::optional<QByteArray> GaugeContext::Read(int requestValue) const
{
    return gaugeLink().Poll(gaugeID_, requestValue);
}

bool GaugeContext::Ask(int requestValue) const
{
    return gaugeLink().Ask(gaugeID_, requestValue);
}

std::optional<QByteArray> GaugeContext::Answer() const
{
    return gaugeLink().Answer(gaugeID_);
}

std::optional<int> GaugeContext::MoveTarget(const QString& text) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool isNumber = false;
    const int target = trimmed.toInt(&isNumber);
    if (!isNumber || target < kFirstGaugeID || target > kLastGaugeID || target == gaugeID_
        || Cfg.GaugeRecType[target] != 0) {
        messages().ok(QString::fromLatin1(kNewIDRule));
        return -1;
    }
    return target;
}

bool GaugeContext::MoveGauge(int target, MovePolicy policy)
{
    auto& status = Session.GaugeRecBusStatus;
    if (policy != MovePolicy::Always && status[gaugeID_] != 2) {
        messages().ok(QString::fromLatin1(kNotConnected));
        return false;
    }
    if (!gaugeLink().SendNewID(gaugeID_, target)) {
        messages().ok(QString::fromLatin1(kNewIDNotWritten));
        return false;
    }
    if (policy == MovePolicy::Connected) {
        status[gaugeID_] = 1;
        status[target] = 2;
    }
    gaugeID_ = target;
    return true;
}

bool GaugeContext::MoveWithRecord(const QString& targetText, MovePolicy policy)
{
    const std::optional<int> target = MoveTarget(targetText);
    if (!target || *target < 0)
        return false;
    const int oldID = gaugeID_;
    const GaugeRecord record = GaugeRecord::Read(Cfg, oldID);
    if (!MoveGauge(*target, policy))
        return false;
    record.Write(Cfg, gaugeID_, Field::All);
    ClearFields(Cfg, oldID, Field::All);
    Session.ConfigChanged = 1;
    return true;
}

// ---- Apply and Uninstall ------------------------------------------------------

bool ApplyRecord(GaugeContext& context, const QString& newIDText, const ApplySteps& steps)
{
    if (steps.validate && !steps.validate())
        return false;
    const std::optional<int> target = context.MoveTarget(newIDText);
    if (target && *target < 0)
        return false;

    const GaugeRecord identity = context.record();
    ClearFields(Cfg, context.gaugeID(), steps.clears);
    if (target)
        context.MoveGauge(*target, steps.move);
    identity.Write(Cfg, context.gaugeID(), Field::Identity);
    if (steps.write)
        steps.write(context.gaugeID());
    Session.ConfigChanged = 1;
    if (steps.afterwards)
        steps.afterwards();
    return true;
}

bool UninstallRecord(const GaugeContext& context, FieldSet fields, bool ask)
{
    if (ask && !messages().yesNoDefaultNo(QString::fromLatin1(kUninstallQuestion)))
        return false;
    ClearFields(Cfg, context.gaugeID(), fields);
    Session.ConfigChanged = 1;
    return true;
}

// ---- Words --------------------------------------------------------------------

int BacklightWord(const BacklightSettings& s, bool withDisplaysBit)
{
    int word = 0x50 | std::clamp(s.brightness, 0, 15);
    if (s.setDefault)
        word |= 0x20;
    switch (s.powerOn) {
    case PowerOnLight::None: break;
    case PowerOnLight::AlwaysOn: word |= 0x100; break;
    case PowerOnLight::On: word |= 0x200; break;
    case PowerOnLight::Off: word |= 0x400; break;
    }
    if (withDisplaysBit && s.displays)
        word |= kDisplaysOn;
    return word;
}

// ---- Replies ------------------------------------------------------------------

int Reply::byte(int position) const
{
    if (position < 1 || position > bytes_.size())
        return 0;
    return quint8(bytes_.at(position - 1));
}

// ---- Numbers typed into boxes -------------------------------------------------

double LenientNumber(const QString& text)
{
    return lenientNumber(text.toStdString());
}

std::optional<double> StrictNumber(const QString& text)
{
    return parseNumber(text.toStdString());
}

int LenientCounter(const QString& text)
{
    return int(std::clamp(LenientNumber(text), -1e6, 1e6));
}

long long RoundHalfEven(double value)
{
    // Beyond long long the result saturates, so the range check after it
    // still refuses a huge typed value instead of seeing llrint's garbage.
    constexpr double kTop = 9223372036854775808.0;  // 2^63
    if (std::isnan(value))
        return 0;
    if (value >= kTop)
        return std::numeric_limits<long long>::max();
    if (value < -kTop)
        return std::numeric_limits<long long>::min();
    return std::llrint(value);
}

QString RangeRule(const QString& what, int minimum, int maximum)
{
    return QStringLiteral("%1 must be a whole number between %2 and %3").arg(what).arg(minimum).arg(maximum);
}

std::optional<int> CheckRange(double value, int minimum, int maximum, const QString& rule)
{
    if (!std::isfinite(value) || value < minimum || value > maximum) {
        messages().ok(rule);
        return std::nullopt;
    }
    return int(RoundHalfEven(value));
}

std::optional<int> ReadWholeNumber(const QString& text, int minimum, int maximum, const QString& rule)
{
    const std::optional<double> value = StrictNumber(text);
    if (!value || *value != std::floor(*value)) {
        messages().ok(rule);
        return std::nullopt;
    }
    return CheckRange(*value, minimum, maximum, rule);
}

} // namespace varnet
