#include "bus/gaugetestwindow.h"

#include "bus/gaugeframes.h"
#include "bus/runwindow.h"
#include "bus/sendpath.h"
#include "config/numtext.h"
#include "config/numinput.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "simlink/simports.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cstdlib>

namespace varnet {

namespace {

constexpr int kPollIntervalMs = 60;
constexpr int kNamedTypeRows = 50;  // the rows a reply's type is looked up in
constexpr int kHighestGaugeID = 255;

const char* const kSpinnerMarks[] = {"---", " \\", " |", " /"};
const char* const kChangeRule = "Incorrect GaugeID or Model";
const char* const kAddRule = "GaugeID and/or Gaugetype incorrect";
const char* const kForceQuestion =
    "You are forcing a gauge into the configuration.\r\n"
    "There is NO check whether the Gaugetype matches the actual Gauge. \r\n"
    "This can result in unpredicted behaviour of gauges when incorrect\r\n"
    "Continue anyway?";

// The text as a whole number within lo..hi; `leading` reads only the number
// the text begins with.
std::optional<int> wholeNumber(const QString& text, long long lo, long long hi, bool leading = false)
{
    const std::string bytes = text.toStdString();
    const std::optional<double> value = leading ? leadingNumber(bytes) : parseNumber(bytes);
    const std::optional<long long> whole = value ? RoundedInRange(*value, lo, hi) : std::nullopt;
    return whole ? std::optional<int>(int(*whole)) : std::nullopt;
}

// Refills a combo box's list without a handler seeing it and without an
// entry selected.
void refill(QComboBox* combo, const QStringList& entries)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
}

QStringList numbers(const std::vector<int>& ids)
{
    QStringList entries;
    for (const int id : ids)
        entries << QString::number(id);
    return entries;
}

} // namespace

std::optional<PollReplyView> DecodePollReply(const QByteArray& reply, const ConfigTables& tables)
{
    if (reply.size() < kGaugeReplyBytes)
        return std::nullopt;
    PollReplyView view;
    for (int i = 0; i < kGaugeReplyBytes; ++i)
        view.bytes += QString::number(Byte(reply[i]), 16).toUpper() + '.';
    view.gaugeID = Byte(reply[1]);
    view.type = Byte(reply[2]);
    view.model = Byte(reply[3]);
    view.version = Byte(reply[4]);
    view.name = QStringLiteral(" Unknown ");
    for (int row = 1; row <= kNamedTypeRows; ++row)
        if (tables.GaugeTypeNumbers[row] == view.type)
            view.name = QString::fromLatin1(tables.GaugeTypeNames[row].c_str());
    return view;
}

std::vector<QString> GaugeTypeEntries(const ConfigTables& tables)
{
    std::vector<QString> entries;
    for (int row = 1; row < kStoredGaugeTypeRows; ++row)
        if (tables.GaugeTypeNumbers[row] != 0)
            entries.push_back(QString::fromStdString(zeroPadded(tables.GaugeTypeNumbers[row], 3)) + ": " +
                              QString::fromLatin1(tables.GaugeTypeNames[row].c_str()));
    return entries;
}

std::vector<int> FreeGaugeIDs(const ConfigTables& tables)
{
    std::vector<int> ids;
    for (int id = 1; id <= kHighestGaugeID; ++id)
        if (tables.GaugeRecType[id] == 0)
            ids.push_back(id);
    return ids;
}

frmTestGauges::frmTestGauges()
{
    setObjectName(QStringLiteral("frmTestGauges"));
    setWindowTitle(QStringLiteral("Test & Diagnostics connected gauges"));

    auto* frame = new QGroupBox(QStringLiteral("Create and test gauge manually"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    ManualGaugeID = comboBox("ManualGaugeID", frame, true);
    auto* cmdPollGauge = button("cmdPollGauge", "Poll Gauge", frame);
    auto* cmdStopPoll = button("cmdStopPoll", "Stop Polling", frame);
    Text7 = textBox("Text7", frame, QStringLiteral("-- No reply -- "));
    BoxID = textBox("BoxID", frame, QStringLiteral(" "));
    BoxType = textBox("BoxType", frame, QStringLiteral(" "));
    BoxModel = textBox("BoxModel", frame, QStringLiteral(" "));
    boxVersion = textBox("boxVersion", frame, QStringLiteral(" "));
    boxName = textBox("boxName", frame, QStringLiteral(" "));
    Text7->setReadOnly(true);
    BoxID->setReadOnly(true);
    boxName->setReadOnly(true);
    ProgressIndicator = new QLabel(QStringLiteral("---"), frame);
    ProgressIndicator->setObjectName(QStringLiteral("ProgressIndicator"));
    ReplaceGaugeID = comboBox("ReplaceGaugeID", frame, true);
    ReplaceGaugeID->setEditText(QStringLiteral(" "));
    // A GaugeID is typed whole: completing "1" to "10" would poll or move
    // another gauge than the one meant.
    for (QComboBox* typedID : {ManualGaugeID, ReplaceGaugeID})
        typedID->setCompleter(nullptr);
    auto* cmdSetNewID = button("cmdSetNewID", "Change", frame);
    ComboGaugeType = comboBox("ComboGaugeType", frame, false);
    auto* cmdAddToConfig = button("cmdAddToConfig", "Add to Config", frame);
    auto* cmdClose = button("cmdClose", "Close", this);

    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("GaugeID"), frame), 0, 0);
    grid->addWidget(ManualGaugeID, 0, 1);
    grid->addWidget(cmdPollGauge, 0, 2);
    grid->addWidget(cmdStopPoll, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Reply: "), frame), 1, 0);
    grid->addWidget(Text7, 1, 1, 1, 4);
    const std::pair<const char*, QLineEdit*> decoded[] = {
        {"GaugeID", BoxID}, {"Type", BoxType}, {"Model", BoxModel}, {"Version", boxVersion}, {"Name", boxName}};
    int column = 0;
    for (const auto& [caption, box] : decoded) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), frame), 2, column);
        grid->addWidget(box, 3, column++);
    }
    grid->addWidget(ProgressIndicator, 3, column);
    grid->addWidget(new QLabel(QStringLiteral("GaugeID: "), frame), 4, 0);
    grid->addWidget(ReplaceGaugeID, 4, 1);
    grid->addWidget(cmdSetNewID, 4, 2);
    grid->addWidget(ComboGaugeType, 5, 0, 1, 3);
    grid->addWidget(cmdAddToConfig, 5, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);

    PollTimer.setParent(this);
    PollTimer.setObjectName(QStringLiteral("PollTimer"));
    PollTimer.setTimerType(Qt::PreciseTimer);
    PollTimer.setInterval(kPollIntervalMs);

    connect(&PollTimer, &QTimer::timeout, this, &frmTestGauges::PollTimer_Timer);
    connect(cmdPollGauge, &QPushButton::clicked, this, &frmTestGauges::cmdPollGauge_Click);
    connect(cmdStopPoll, &QPushButton::clicked, this, &frmTestGauges::cmdStopPoll_Click);
    connect(ManualGaugeID, &QComboBox::editTextChanged, this, &frmTestGauges::ManualGaugeID_Change);
    connect(cmdSetNewID, &QPushButton::clicked, this, &frmTestGauges::cmdSetNewID_Click);
    connect(cmdAddToConfig, &QPushButton::clicked, this, &frmTestGauges::cmdAddToConfig_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTestGauges::cmdClose_Click);
}

void frmTestGauges::ShowWindow()
{
    frmTestGauges& window = DefaultForm<frmTestGauges>::get();
    window.show();
}

void frmTestGauges::fillManualList(const std::vector<int>& ids)
{
    // The list changes under the user's typing: the text and the cursor stay.
    const QString text = ManualGaugeID->currentText();
    const int cursor = ManualGaugeID->lineEdit()->cursorPosition();
    refill(ManualGaugeID, numbers(ids));
    const QSignalBlocker blocker(ManualGaugeID);
    ManualGaugeID->setEditText(text);
    ManualGaugeID->lineEdit()->setCursorPosition(cursor);
}

void frmTestGauges::Form_Activate()
{
    std::vector<int> all;
    for (int id = 1; id <= kHighestGaugeID; ++id)
        all.push_back(id);
    fillManualList(all);
    {
        const QSignalBlocker blocker(ManualGaugeID);
        ManualGaugeID->setCurrentIndex(kHighestGaugeID - 1);
    }
    const std::vector<QString> types = GaugeTypeEntries(Cfg);
    refill(ComboGaugeType, QStringList(types.begin(), types.end()));
    refill(ReplaceGaugeID, numbers(FreeGaugeIDs(Cfg)));
}

bool frmTestGauges::refusedDuringRun()
{
    if (DefaultForm<frmStatus>::get().SingleFramesAccepted())
        return false;
    messages().ok(QString::fromLatin1(kRunActiveRule));
    return true;
}

void frmTestGauges::SendTestCommand(int GaugeID, int Command, double Value)
{
    request_ = GaugeBusFrame(GaugeID, Command, Value).value_or(QByteArray());
}

void frmTestGauges::cmdPollGauge_Click()
{
    const QString text = ManualGaugeID->currentText();
    if (text.isEmpty()) {
        messages().ok(QStringLiteral("No new GaugeID"));
        return;
    }
    // GaugeID 0 is polled too: a gauge that lost its address answers there.
    const std::optional<int> id = wholeNumber(text, 0, kHighestGaugeID);
    if (!id) {
        messages().ok(QString::fromLatin1(kGaugeIDRule));
        return;
    }
    if (refusedDuringRun())
        return;
    ManualGaugeID->setEnabled(false);
    Text7->setText(QString::fromLatin1(kNoReplyText));
    SendTestCommand(*id, kStatusRequestCommand, 0);
    PollTimer.start();
    GaugeReply.clear();
}

void frmTestGauges::PollTimer_Timer()
{
    ShowPollReply();
    // The request waits for the next tick while another sender's frame is
    // still queued, and the bus belongs to the process loop during a run.
    if (GaugeSendPending == 0 && !request_.isEmpty() && DefaultForm<frmStatus>::get().SingleFramesAccepted()) {
        GaugeSendBuffer = request_;
        GaugeSendPending = 1;
    }
}

void frmTestGauges::ShowPollReply()
{
    const std::optional<PollReplyView> view = DecodePollReply(GaugeReply, Cfg);
    if (!view) {
        Text7->setText(QString::fromLatin1(kNoReplyText));
        return;
    }
    Text7->setText(view->bytes);
    ManualGaugeID->setEditText(QString::number(view->gaugeID));
    BoxID->setText(QString::number(view->gaugeID));
    BoxType->setText(QString::number(view->type));
    BoxModel->setText(QString::number(view->model));
    boxVersion->setText(QString::number(view->version));
    boxName->setText(view->name);
    ProgressIndicator->setText(QString::fromLatin1(kSpinnerMarks[spinner_]));
    spinner_ = (spinner_ + 1) % 4;
}

void frmTestGauges::cmdStopPoll_Click()
{
    PollTimer.stop();
    ManualGaugeID->setEnabled(true);
}

void frmTestGauges::ManualGaugeID_Change()
{
    fillManualList(FreeGaugeIDs(Cfg));
}

void frmTestGauges::cmdSetNewID_Click()
{
    PollTimer.stop();
    // Everything is checked before the gauge is moved, so that a bad box
    // never leaves a moved gauge without its record.
    // A gauge at address 0 can be given its address; an empty box means 0.
    const QString oldText = ManualGaugeID->currentText().trimmed();
    const std::optional<int> oldID = oldText.isEmpty() ? 0 : wholeNumber(oldText, 0, kHighestGaugeID, true);
    std::optional<int> newID = wholeNumber(ReplaceGaugeID->currentText(), 1, kHighestGaugeID);
    const std::optional<int> type = wholeNumber(BoxType->text(), 0, 255);
    const std::optional<int> model = wholeNumber(BoxModel->text(), 0, 255);
    const std::optional<int> version = wholeNumber(boxVersion->text(), 0, 255);
    if (!oldID || !newID || !type || !model || !version) {
        messages().ok(QString::fromLatin1(kChangeRule));
        return;
    }
    if (refusedDuringRun())
        return;
    const QPointer<frmTestGauges> self(this);
    int target = *newID;
    if (!SendNewGaugeID(*oldID, target) || !self)
        return;
    Cfg.GaugeRecType[*oldID] = Cfg.GaugeRecModel[*oldID] = Cfg.GaugeRecVersion[*oldID] = 0;
    Cfg.GaugeRecType[target] = Byte(*type);
    Cfg.GaugeRecModel[target] = Byte(*model);
    Cfg.GaugeRecVersion[target] = Byte(*version);
    MarkStoredNotSaved(Session, windowTitle().toStdString());
    const int entry = ManualGaugeID->findText(QString::number(target));
    if (entry >= 0) {
        const QSignalBlocker blocker(ManualGaugeID);
        ManualGaugeID->setCurrentIndex(entry);
    }
}

void frmTestGauges::cmdAddToConfig_Click()
{
    PollTimer.stop();
    if (!messages().yesNo(QString::fromLatin1(kForceQuestion)))
        return;
    const std::optional<int> id = wholeNumber(ManualGaugeID->currentText(), 1, kHighestGaugeID);
    const std::optional<int> type = wholeNumber(ComboGaugeType->currentText().left(3), 0, 255);
    if (!id || !type) {
        messages().ok(QString::fromLatin1(kAddRule));
        return;
    }
    Session.GaugeRecBusStatus[*id] = 0;
    Cfg.GaugeRecType[*id] = Byte(*type);
    Cfg.GaugeRecModel[*id] = 1;
    Cfg.GaugeRecVersion[*id] = 1;
    MarkStoredNotSaved(Session, windowTitle().toStdString());
}

void frmTestGauges::cmdClose_Click()
{
    // What the window stored is the configuration's: a load asks about it.
    Form_CloseUnasked();
}

} // namespace varnet
