#include "simlink/functiontest.h"

#include "config/numinput.h"
#include "config/numtext.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "simlink/simcom.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnet {

namespace {

constexpr int kReadIntervalMs = 100;
constexpr int kLongestIntervalMs = 65535;

const char* const kWriteValueRule = "Value must be a number";
const char* const kLowerLimitRule = "Lower Limit must be a number";
const char* const kUpperLimitRule = "Upper Limit must be a number";
const char* const kStepRule = "Incr/Decr must be a number";
const char* const kIntervalRule = "Interval must be a whole number of mS between 1 and 65535";

struct WriteRange {
    double lowest;
    double highest;
    const char* message;
};

std::optional<WriteRange> writeRange(int dataType)
{
    switch (dataType) {
    case DataTypeByte: return WriteRange{0, 255, "Datatype is byte; Value must be 0 end 255"};
    case DataTypeInteger: return WriteRange{-32767, 32767, "Datatype is Integer; Value must be -32767 and  +32767"};
    case DataTypeUnsignedInt:
        return WriteRange{0, 65535, "Datatype is Unsigned Integer; Value must between 0 and  65535"};
    case DataTypeLong:
        return WriteRange{-2147483648.0, 2147483647.0,
                          "Datatype is Long; Value must between -2147483648 and 2147483647"};
    case DataTypeBCD: return WriteRange{0, 9999, "Datatype is BCD code; Value must between 0 and  9999"};
    default: return std::nullopt;
    }
}

QString decimal(Single value)
{
    return QString::fromStdString(formatSingle(value));
}

std::string textOf(const QLineEdit* box)
{
    return box->text().toStdString();
}

} // namespace

std::optional<QString> TestDataTypeName(int dataType)
{
    static const char* const names[kDataTypes] = {"Byte",     "Integer",     "Unsigned Int.", "Long",
                                                  "Double",   "BCD code",    "Xplane CMND",   "Not Used"};
    if (dataType < 0 || dataType >= kDataTypes)
        return std::nullopt;
    return QString::fromLatin1(names[dataType]);
}

std::optional<QString> WriteRangeMessage(int dataType, double value)
{
    const std::optional<WriteRange> range = writeRange(dataType);
    if (!range || (value >= range->lowest && value <= range->highest))
        return std::nullopt;
    return QString::fromLatin1(range->message);
}

QString FixedFourDecimals(double value)
{
    return QString::number(value == 0 ? 0.0 : value, 'f', 4);  // no "-0.0000"
}

void WriteSweep::advance(Single step, Single lower, Single upper)
{
    if (rising) {
        value += step;
        if (value > upper) {
            value -= step;
            rising = false;
        }
    } else {
        value -= step;
        if (value < lower) {
            value += step;
            rising = true;
        }
    }
}

void RawRange::tick(double raw)
{
    if (settled_ < kSettleTicks) {
        ++settled_;
        return;
    }
    if (!minimum_ || *minimum_ > raw)
        minimum_ = raw;
    if (!maximum_ || *maximum_ < raw)
        maximum_ = raw;
}

frmTestFunction::frmTestFunction()
{
    setObjectName(QStringLiteral("frmTestFunction"));
    setWindowTitle(QStringLiteral("Test Varnet functions "));

    // Current function.
    auto* current = new QGroupBox(QStringLiteral("Current Function to Test"), this);
    ShortName = textBox("ShortName", current);
    BoxSeqNr = textBox("BoxSeqNr", current);
    boxOffset = textBox("boxOffset", current);
    boxValueNr = textBox("boxValueNr", current);
    boxDataType = textBox("boxDataType", current);
    for (QLineEdit* box : {ShortName, BoxSeqNr, boxOffset, boxValueNr, boxDataType})
        box->setReadOnly(true);
    auto* currentLayout = new QGridLayout(current);
    currentLayout->addWidget(label("Name:", current), 0, 0);
    currentLayout->addWidget(ShortName, 0, 1, 1, 3);
    currentLayout->addWidget(label("Nr:", current), 0, 4);
    currentLayout->addWidget(BoxSeqNr, 0, 5);
    currentLayout->addWidget(label("Index:", current), 1, 0);
    currentLayout->addWidget(boxOffset, 1, 1);
    currentLayout->addWidget(label("Val#:", current), 1, 2);
    currentLayout->addWidget(boxValueNr, 1, 3);
    currentLayout->addWidget(label("Data Type:", current), 1, 4);
    currentLayout->addWidget(boxDataType, 1, 5);

    // Reading.
    auto* read = new QGroupBox(QStringLiteral("Read Function"), this);
    auto* CmdRead = button("CmdRead", "Read", read);
    auto* CmdStopRead = button("CmdStopRead", "Stop", read);
    boxReading = textBox("boxReading", read, QStringLiteral("Stopped"));
    boxRaw = textBox("boxRaw", read);
    BoxAdd = textBox("BoxAdd", read);
    boxMultiply = textBox("boxMultiply", read);
    boxDivide = textBox("boxDivide", read);
    boxCorrectedValue = textBox("boxCorrectedValue", read);
    boxMinimum = textBox("boxMinimum", read, QStringLiteral("Unknown"));
    boxMaximum = textBox("boxMaximum", read, QStringLiteral("Unknown"));
    auto* cmdCopyMinimum = button("cmdCopyMinimum", "copy", read);
    auto* cmdCopyMaximum = button("cmdCopyMaximum", "copy", read);
    boxFuncMinimum = textBox("boxFuncMinimum", read, QStringLiteral("Unknown"));
    boxFuncMaximum = textBox("boxFuncMaximum", read, QStringLiteral("Unknown"));
    auto* CmdSetMinimum = button("CmdSetMinimum", "----> Function", read);
    auto* cmdSetMaximum = button("cmdSetMaximum", "----> Function", read);
    for (QLineEdit* box : {boxReading, boxRaw, BoxAdd, boxMultiply, boxDivide, boxCorrectedValue, boxMinimum,
                           boxMaximum})
        box->setReadOnly(true);
    auto* readLayout = new QGridLayout(read);
    readLayout->addWidget(CmdRead, 0, 0);
    readLayout->addWidget(CmdStopRead, 0, 1);
    readLayout->addWidget(boxReading, 0, 2);
    readLayout->addWidget(label("Value is refreshed every 100 milliseconds", read), 0, 3, 1, 3);
    readLayout->addWidget(label("Raw value read:", read), 1, 0);
    readLayout->addWidget(boxRaw, 1, 1);
    readLayout->addWidget(label("Formula", read), 2, 0);
    readLayout->addWidget(label("PreAdd", read), 2, 1);
    readLayout->addWidget(label("Multiplier", read), 2, 3);
    readLayout->addWidget(label("Divisor", read), 2, 5);
    readLayout->addWidget(label("+/-", read), 3, 0);
    readLayout->addWidget(BoxAdd, 3, 1);
    readLayout->addWidget(label("x", read), 3, 2);
    readLayout->addWidget(boxMultiply, 3, 3);
    readLayout->addWidget(label("/", read), 3, 4);
    readLayout->addWidget(boxDivide, 3, 5);
    readLayout->addWidget(label("Corrected value", read), 4, 0);
    readLayout->addWidget(boxCorrectedValue, 4, 1);
    readLayout->addWidget(label("Minimum Raw read", read), 5, 0);
    readLayout->addWidget(boxMinimum, 5, 1);
    readLayout->addWidget(cmdCopyMinimum, 5, 2);
    readLayout->addWidget(label("Function Minimum ", read), 5, 3);
    readLayout->addWidget(boxFuncMinimum, 5, 4);
    readLayout->addWidget(CmdSetMinimum, 5, 5);
    readLayout->addWidget(label("Maximum Raw read", read), 6, 0);
    readLayout->addWidget(boxMaximum, 6, 1);
    readLayout->addWidget(cmdCopyMaximum, 6, 2);
    readLayout->addWidget(label("Function Maximum", read), 6, 3);
    readLayout->addWidget(boxFuncMaximum, 6, 4);
    readLayout->addWidget(cmdSetMaximum, 6, 5);

    // Writing.
    auto* write = new QGroupBox(QStringLiteral("Write to Function"), this);
    boxWriteValueOnce = textBox("boxWriteValueOnce", write);
    auto* CmdWriteOnce = button("CmdWriteOnce", "Write Once", write);
    BoxWriteLowerLimit = textBox("BoxWriteLowerLimit", write);
    BoxWriteUpperLimit = textBox("BoxWriteUpperLimit", write);
    boxIncrDecr = textBox("boxIncrDecr", write);
    boxIntervalWrite = textBox("boxIntervalWrite", write);
    auto* CmdWriteInterval = button("CmdWriteInterval", "Write Low<>Up", write);
    auto* CmdWriteStop = button("CmdWriteStop", "Stop", write);
    auto* help = label("\"Write Low<>Up\" writes, once per interval, a value that goes up and down between the "
                       "Lower Limit and the Upper Limit in steps of Incr/Decr.",
                       write);
    help->setWordWrap(true);
    auto* writeLayout = new QGridLayout(write);
    writeLayout->addWidget(label("Value:", write), 0, 0);
    writeLayout->addWidget(boxWriteValueOnce, 0, 1);
    writeLayout->addWidget(CmdWriteOnce, 0, 2);
    writeLayout->addWidget(label("Lower Limit", write), 1, 0);
    writeLayout->addWidget(BoxWriteLowerLimit, 1, 1);
    writeLayout->addWidget(label("Upper Limit", write), 1, 2);
    writeLayout->addWidget(BoxWriteUpperLimit, 1, 3);
    writeLayout->addWidget(label("Incr/Decr", write), 1, 4);
    writeLayout->addWidget(boxIncrDecr, 1, 5);
    writeLayout->addWidget(label("Interval:", write), 2, 0);
    writeLayout->addWidget(boxIntervalWrite, 2, 1);
    writeLayout->addWidget(label("mS", write), 2, 2);
    writeLayout->addWidget(CmdWriteInterval, 2, 3);
    writeLayout->addWidget(CmdWriteStop, 2, 4);
    writeLayout->addWidget(help, 3, 0, 1, 6);

    auto* cmdClose = button("cmdClose", "Close", this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(current);
    layout->addWidget(read);
    layout->addWidget(write);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);

    Timer1.setParent(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(kReadIntervalMs);
    IntervalTimer.setParent(this);
    IntervalTimer.setObjectName(QStringLiteral("IntervalTimer"));
    IntervalTimer.setInterval(kReadIntervalMs);

    connect(&Timer1, &QTimer::timeout, this, &frmTestFunction::Timer1_Timer);
    connect(&IntervalTimer, &QTimer::timeout, this, &frmTestFunction::IntervalTimer_Timer);
    connect(CmdRead, &QPushButton::clicked, this, &frmTestFunction::CmdRead_Click);
    connect(CmdStopRead, &QPushButton::clicked, this, &frmTestFunction::CmdStopRead_Click);
    connect(cmdCopyMinimum, &QPushButton::clicked, this, &frmTestFunction::cmdCopyMinimum_Click);
    connect(cmdCopyMaximum, &QPushButton::clicked, this, &frmTestFunction::cmdCopyMaximum_Click);
    connect(CmdSetMinimum, &QPushButton::clicked, this, &frmTestFunction::CmdSetMinimum_Click);
    connect(cmdSetMaximum, &QPushButton::clicked, this, &frmTestFunction::cmdSetMaximum_Click);
    connect(CmdWriteOnce, &QPushButton::clicked, this, &frmTestFunction::CmdWriteOnce_Click);
    connect(CmdWriteInterval, &QPushButton::clicked, this, &frmTestFunction::CmdWriteInterval_Click);
    connect(CmdWriteStop, &QPushButton::clicked, this, &frmTestFunction::CmdWriteStop_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTestFunction::cmdClose_Click);
}

void frmTestFunction::Form_Unload()
{
    Timer1.stop();
    IntervalTimer.stop();
}

void frmTestFunction::StartScan(int FunctionNr, int Selector)
{
    if (FunctionNr < 1 || FunctionNr > kLastFunction)
        return;
    function_ = FunctionNr;
    ShortName->setText(QString::fromLatin1(Cfg.FunctionNames[FunctionNr].c_str()));
    boxFuncMinimum->setText(decimal(Cfg.FunctionMinimum[FunctionNr]));
    boxFuncMaximum->setText(decimal(Cfg.FunctionMaximum[FunctionNr]));
    if (Cfg.FunctionNames[FunctionNr].empty()) {
        // No port for an unnamed function; the old one belongs to another.
        port_ = kNoSimPort;
        return;
    }
    BoxSeqNr->setText(QString::number(Selector));

    SimCom& link = DefaultForm<SimCom>::get();
    link.OpenSimCom();
    if (Selector == 0)
        Selector = 1;
    port_ = link.OpenSimPort(FunctionNr, Selector);
    link.EnableReadSimPort(port_);

    BoxAdd->setText(decimal(Cfg.FunctionPreAdd[FunctionNr]));
    boxMultiply->setText(decimal(Cfg.FunctionMultiply[FunctionNr]));
    boxDivide->setText(decimal(Cfg.FunctionDivide[FunctionNr]));
    const std::array<Integer, 4> groups = {Cfg.FunctionIndex1[FunctionNr], Cfg.FunctionIndex2[FunctionNr],
                                           Cfg.FunctionIndex3[FunctionNr], Cfg.FunctionIndex4[FunctionNr]};
    const std::array<Byte, 4> valueSlots = {Cfg.FunctionSlot1[FunctionNr], Cfg.FunctionSlot2[FunctionNr],
                                       Cfg.FunctionSlot3[FunctionNr], Cfg.FunctionSlot4[FunctionNr]};
    if (Selector >= 1 && Selector <= 4) {
        boxOffset->setText(QString::number(groups[std::size_t(Selector - 1)]));
        boxValueNr->setText(QString::number(valueSlots[std::size_t(Selector - 1)]));
    }
    if (const std::optional<QString> name = TestDataTypeName(dataType()))
        boxDataType->setText(*name);
    boxMinimum->setText(QStringLiteral("Unknown"));
    boxMaximum->setText(QStringLiteral("Unknown"));
    range_.reset();
}

void frmTestFunction::showReadingState(bool reading)
{
    boxReading->setText(reading ? QStringLiteral("Reading") : QStringLiteral("Stopped"));
    boxReading->setStyleSheet(reading ? QStringLiteral("background-color: rgb(255, 0, 0);")
                                      : QStringLiteral("background-color: rgb(0, 192, 0);"));
}

void frmTestFunction::CmdRead_Click()
{
    showReadingState(true);
    Timer1.start();
}

void frmTestFunction::CmdStopRead_Click()
{
    showReadingState(false);
    Timer1.stop();
}

void frmTestFunction::Timer1_Timer()
{
    // A fault box of the port keeps this timer running behind it.
    const auto busy = reading_.enter();
    if (!busy)
        return;
    // A command or an unused function has no value to read: one tick shows
    // what there is, then reading stops.
    if (dataType() > DataTypeBCD)
        CmdStopRead_Click();
    const QPointer<frmTestFunction> self(this);
    SimCom& link = DefaultForm<SimCom>::get();
    const std::optional<Single> scaled = link.GetPort(port_);
    if (!self)
        return;
    lastValue_ = scaled.value_or(lastValue_);
    boxCorrectedValue->setText(FixedFourDecimals(lastValue_));
    lastValue_ = link.GetPortRaw(port_).value_or(lastValue_);
    boxRaw->setText(FixedFourDecimals(lastValue_));
    range_.tick(lastValue_);
    if (range_.minimum())
        boxMinimum->setText(FixedFourDecimals(*range_.minimum()));
    if (range_.maximum())
        boxMaximum->setText(FixedFourDecimals(*range_.maximum()));
}

void frmTestFunction::cmdCopyMinimum_Click()
{
    boxFuncMinimum->setText(boxMinimum->text());
}

void frmTestFunction::cmdCopyMaximum_Click()
{
    boxFuncMaximum->setText(boxMaximum->text());
}

void frmTestFunction::storeLimit(QLineEdit* box, std::array<Single, kFunctionRows>& limit, const char* rule)
{
    if (function_ == 0)
        return;
    if (const std::optional<float> value = parseSingle(textOf(box))) {
        limit[std::size_t(function_)] = *value;
        MarkStoredNotSaved(Session, windowTitle().toStdString());
    } else
        messages().ok(QString::fromLatin1(rule));
}

void frmTestFunction::refuse(const QString& rule)
{
    IntervalTimer.stop();
    messages().ok(rule);
}

bool frmTestFunction::writeOnce()
{
    const std::optional<double> value = leadingNumber(textOf(boxWriteValueOnce));
    if (!value) {
        refuse(QString::fromLatin1(kWriteValueRule));
        return false;
    }
    if (const std::optional<QString> message = WriteRangeMessage(dataType(), *value)) {
        refuse(*message);
        return false;
    }
    lastValue_ = Single(*value);
    DefaultForm<SimCom>::get().PutPort(port_, lastValue_);
    return true;
}

std::optional<frmTestFunction::SweepBoxes> frmTestFunction::sweepBoxes()
{
    const std::optional<double> step = leadingNumber(textOf(boxIncrDecr));
    const std::optional<float> lower = parseSingle(textOf(BoxWriteLowerLimit));
    const std::optional<float> upper = parseSingle(textOf(BoxWriteUpperLimit));
    const char* rule = !lower ? kLowerLimitRule : !upper ? kUpperLimitRule : !step ? kStepRule : nullptr;
    if (rule) {
        refuse(QString::fromLatin1(rule));
        return std::nullopt;
    }
    return SweepBoxes{Single(*step), *lower, *upper};
}

void frmTestFunction::CmdWriteInterval_Click()
{
    const std::optional<double> interval = parseNumber(textOf(boxIntervalWrite));
    const std::optional<long long> ms = interval ? RoundedInRange(*interval, 1, kLongestIntervalMs) : std::nullopt;
    if (!ms) {
        refuse(QString::fromLatin1(kIntervalRule));
        return;
    }
    const std::optional<SweepBoxes> boxes = sweepBoxes();
    if (!boxes)
        return;
    IntervalTimer.setInterval(int(*ms));
    sweep_ = WriteSweep{boxes->lower, true};
    IntervalTimer.start();
}

void frmTestFunction::IntervalTimer_Timer()
{
    const auto busy = sweeping_.enter();
    if (!busy)
        return;
    const QPointer<frmTestFunction> self(this);
    boxWriteValueOnce->setText(decimal(sweep_.value));
    if (!writeOnce() || !self || !IntervalTimer.isActive())
        return;
    if (const std::optional<SweepBoxes> boxes = sweepBoxes())
        sweep_.advance(boxes->step, boxes->lower, boxes->upper);
}

void frmTestFunction::cmdClose_Click()
{
    // What the window stored is the configuration's: a load asks about it.
    Form_CloseUnasked();
}

void frmTestFunction::Form_CloseUnasked()
{
    // The ports of a prepared or running run share the table: they stay.
    if (!(RunPrepared && RunPrepared()))
        DefaultForm<SimCom>::get().CloseAllPorts();
    DefaultForm<frmTestFunction>::unload();
}

} // namespace varnet
