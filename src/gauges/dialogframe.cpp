#include "gauges/dialogframe.h"

#include "bus/gaugetestwindow.h"
#include "bus/sendpath.h"
#include "platform/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace varnet {

namespace {

QList<QPointer<GaugeDialog>>& openDialogs()
{
    static QList<QPointer<GaugeDialog>> dialogs;
    return dialogs;
}

} // namespace

GaugeDialog::GaugeDialog(const char* name, const QString& caption, const FrameParts& parts)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    buildHeader(parts);
    content_ = new QVBoxLayout;
    layout->addLayout(content_);
    options_ = new QHBoxLayout;
    layout->addLayout(options_);
    buildOptions(parts);

    auto* buttons = new QHBoxLayout;
    CmdApply = button(parts.applyName, parts.applyCaption, this);
    CmdUninstall = button("CmdUninstall", QStringLiteral("Uninstall"), this);
    CmdClose = button("CmdClose", QStringLiteral("Cancel"), this);
    buttons->addStretch();
    for (QPushButton* b : {CmdApply, CmdUninstall, CmdClose})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    onClicked(CmdApply, [this] { CmdApply_Click(); });
    onClicked(CmdUninstall, [this] { CmdUninstall_Click(); });
    onClicked(CmdClose, [this] { closeDialog(); });

    openDialogs().append(QPointer<GaugeDialog>(this));
}

GaugeDialog::~GaugeDialog()
{
    openDialogs().removeAll(QPointer<GaugeDialog>(this));
    openDialogs().removeAll(QPointer<GaugeDialog>());
}

void GaugeDialog::buildHeader(const FrameParts& parts)
{
    GaugeID = readOnlyBox("GaugeID", this);
    GaugeID->setMaximumWidth(60);
    BoxGaugename = readOnlyBox("BoxGaugename", this);
    BoxGaugename->setMinimumWidth(260);
    NewGaugeID = comboBox("NewGaugeID", this);
    NewGaugeID->setMinimumWidth(70);
    auto* row = new QHBoxLayout;
    row->addWidget(label(QStringLiteral("GaugeID"), this));
    row->addWidget(GaugeID);
    row->addWidget(BoxGaugename, 1);
    row->addWidget(label(QStringLiteral("New GaugeID"), this));
    row->addWidget(NewGaugeID);
    if (parts.setNewID) {
        CmdSetNewGaugeID = button("CmdSetNewGaugeID", QStringLiteral("Set"), this);
        row->addWidget(CmdSetNewGaugeID);
        onClicked(CmdSetNewGaugeID, [this] { CmdSetNewGaugeID_Click(); });
    }
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void GaugeDialog::buildOptions(const FrameParts& parts)
{
    if (parts.light) {
        LightOn = optionButton("LightOn", QStringLiteral("On"), this);
        LightOff = optionButton("LightOff", QStringLiteral("Off"), this);
        FrameBacklight = columnFrame("FrameBacklight", parts.lightFrame, {LightOn, LightOff}, this);
        options_->addWidget(FrameBacklight);
        onSelected(LightOn, [this] { send(8, lightWord()); });
        onSelected(LightOff, [this] { send(8, lightWord()); });
    }
    if (parts.displays) {
        DisplayOn = optionButton(parts.displayOnName, QStringLiteral("On"), this);
        DisplayOff = optionButton(parts.displayOffName, QStringLiteral("Off"), this);
        options_->addWidget(columnFrame("FrameDisplays", parts.displaysFrame, {DisplayOn, DisplayOff}, this));
        onSelected(DisplayOn, [this] { send(8, lightWord()); });
        onSelected(DisplayOff, [this] { send(8, lightWord()); });
    }
    if (parts.backlight) {
        SliderBacklight = slider("SliderBacklight", 0, 15, this);
        CheckSetDefault = checkBox("CheckSetDefault", QStringLiteral("Set as default"), this);
        OptionAlwaysOn = optionButton("OptionAlwaysOn", QStringLiteral("Always On"), this);
        OptionOnAtPowerOn = optionButton("OptionOnAtPowerOn", QStringLiteral("On"), this);
        OptionOffAtPowerOn = optionButton("OptionOffAtPowerOn", QStringLiteral("Off"), this);
        QGroupBox* powerOn = rowFrame("FramePowerOn", QStringLiteral("Light Status at Power On"),
                                      {OptionAlwaysOn, OptionOnAtPowerOn, OptionOffAtPowerOn}, this);
        CmdSetBacklight = button("CmdSetBacklight", QStringLiteral("Set "), this);
        FrameBacklightMode = columnFrame("FrameBacklightMode", QStringLiteral("Backlight Mode and Intensity"),
                                         {SliderBacklight, CheckSetDefault, powerOn, CmdSetBacklight}, this);
        options_->addWidget(FrameBacklightMode);
        onClicked(CmdSetBacklight,
                  [this] { send(8, BacklightWord(backlightSettings(), backlightHasDisplaysBit())); });
    }
    if (parts.speed) {
        SliderSpeed = slider("SliderSpeed", 0, 100, this);
        QWidget* speedRow = SliderSpeed;
        if (parts.speedBox) {
            BoxSpeed = readOnlyBox("BoxSpeed", this);
            BoxSpeed->setMaximumWidth(50);
        }
        QGroupBox* frame = parts.speedBox ? rowFrame("FrameSpeed", QStringLiteral("Needle Speed"), {speedRow, BoxSpeed}, this)
                                          : rowFrame("FrameSpeed", QStringLiteral("Needle Speed"), {speedRow}, this);
        options_->addWidget(frame);
        onValueChanged(SliderSpeed, [this](int position) {
            if (BoxSpeed)
                BoxSpeed->setText(QString::number(position));
            send(3, speedValue(position));
        });
    }
}

void GaugeDialog::Form_Load()
{
    context_ = GaugeContext::Capture();
    showGaugeID();
    BoxGaugename->setText(typeNameText());
    fillFreeIDs();
    loadRecord();
}

QString GaugeDialog::typeNameText() const
{
    return QString::fromStdString(context_->typeName());
}

void GaugeDialog::showGaugeID()
{
    GaugeID->setText(QString::number(gaugeID()));
}

void GaugeDialog::fillFreeIDs()
{
    QStringList items{QString()};
    for (int id : FreeGaugeIDs(Cfg))
        items << QString::number(id);
    const QSignalBlocker blocker(NewGaugeID);
    NewGaugeID->clear();
    NewGaugeID->addItems(items);
    NewGaugeID->setCurrentIndex(0);
}

bool GaugeDialog::send(int command, double value)
{
    return context_->Send(command, value);
}

std::optional<Reply> GaugeDialog::readReply(int requestValue)
{
    const QPointer<GaugeDialog> self(this);
    const std::optional<QByteArray> reply = context_->Read(requestValue);
    if (!self || !reply)
        return std::nullopt;
    return Reply(*reply);
}

int GaugeDialog::lightWord() const
{
    int word = LightOn && LightOn->isChecked() ? kLampOn : kLampOff;
    if (DisplayOn && DisplayOn->isChecked())
        word += kDisplaysOn;
    return word;
}

BacklightSettings GaugeDialog::backlightSettings() const
{
    BacklightSettings s;
    if (SliderBacklight)
        s.brightness = SliderBacklight->value();
    s.setDefault = CheckSetDefault && CheckSetDefault->isChecked();
    if (OptionAlwaysOn && OptionAlwaysOn->isChecked())
        s.powerOn = PowerOnLight::AlwaysOn;
    else if (OptionOnAtPowerOn && OptionOnAtPowerOn->isChecked())
        s.powerOn = PowerOnLight::On;
    else if (OptionOffAtPowerOn && OptionOffAtPowerOn->isChecked())
        s.powerOn = PowerOnLight::Off;
    s.displays = DisplayOn && DisplayOn->isChecked();
    return s;
}

void GaugeDialog::CmdApply_Click()
{
    const QPointer<GaugeDialog> self(this);
    const bool done = ApplyRecord(*context_, NewGaugeID->currentText(), applySteps());
    if (!self)
        return;
    showGaugeID();
    if (done)
        closeDialog();
}

void GaugeDialog::CmdUninstall_Click()
{
    if (UninstallRecord(*context_, uninstallFields(), uninstallAsks()))
        closeDialog();
}

void GaugeDialog::CmdSetNewGaugeID_Click()
{
    const QPointer<GaugeDialog> self(this);
    const bool moved = context_->MoveWithRecord(NewGaugeID->currentText());
    if (!self || !moved)
        return;
    showGaugeID();
    fillFreeIDs();
}

void GaugeDialog::closeDialog()
{
    if (closing_)
        return;
    if (sequences_ > 0) {
        closeAfterSequence_ = true;
        return;
    }
    closing_ = true;
    const QPointer<GaugeDialog> self(this);
    closing();
    if (self)
        unloadSelf();
}

void GaugeDialog::endSequence()
{
    if (--sequences_ == 0 && closeAfterSequence_)
        closeDialog();
}

void GaugeDialog::Form_Unload()
{
    // Unloaded from outside (the dialog of another gauge, a run's start):
    // the dialog still stops and sends what it sends on closing.
    if (closing_)
        return;
    closing_ = true;
    closing();
}

QList<GaugeDialog*> GaugeDialog::OpenDialogs()
{
    QList<GaugeDialog*> open;
    for (const QPointer<GaugeDialog>& dialog : openDialogs())
        if (dialog && !dialog->closing_)
            open.append(dialog);
    return open;
}

void CloseOpenDialogs()
{
    for (GaugeDialog* dialog : GaugeDialog::OpenDialogs())
        dialog->closeDialog();
}

// ---- Status poll ----------------------------------------------------------------

StatusPoll::StatusPoll(GaugeDialog& dialog, int intervalMs, std::function<void(const Reply&)> decode)
    : QObject(&dialog), dialog_(dialog), decode_(std::move(decode))
{
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StatusPoll::tick);
}

void StatusPoll::tick()
{
    const GaugeContext& gauge = dialog_.context();
    if (askedID_ == gauge.gaugeID())
        if (const std::optional<QByteArray> reply = gauge.Answer())
            decode_(Reply(*reply));
    askedID_ = gauge.gaugeID();
    gauge.Ask(requestValue ? requestValue() : 0);
}

// ---- Binding helpers ----------------------------------------------------------

void onSelected(QRadioButton* option, std::function<void()> handler)
{
    QObject::connect(option, &QRadioButton::toggled, option, [handler = std::move(handler)](bool on) {
        if (on)
            handler();
    });
}

void onIndexChanged(QComboBox* combo, std::function<void(int)> handler)
{
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, std::move(handler));
}

void onValueChanged(QSlider* s, std::function<void(int)> handler)
{
    QObject::connect(s, &QSlider::valueChanged, s, std::move(handler));
}

void onClicked(QPushButton* b, std::function<void()> handler)
{
    QObject::connect(b, &QPushButton::clicked, b, [handler = std::move(handler)] { handler(); });
}

void SelectAtDesign(QAbstractButton* control)
{
    const QSignalBlocker quiet(control);
    control->setChecked(true);
}

void DressSpeedFrame(GaugeDialog& dialog, const QString& title, int designPosition)
{
    auto* frame = dialog.findChild<QGroupBox*>(QStringLiteral("FrameSpeed"));
    auto* speed = dialog.findChild<QSlider*>(QStringLiteral("SliderSpeed"));
    if (!frame || !speed)
        return;
    frame->setTitle(title);
    if (auto* row = qobject_cast<QBoxLayout*>(frame->layout())) {
        row->insertWidget(0, label(QStringLiteral("Slow"), frame));
        row->insertWidget(2, label(QStringLiteral("Fast"), frame));
    }
    const QSignalBlocker quiet(speed);
    speed->setValue(designPosition);
}

void fillList(QComboBox* combo, const QStringList& items)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

QRadioButton* optionButton(const char* name, const QString& caption, QWidget* parent)
{
    return namedControl<QRadioButton>(name, caption, parent);
}

QCheckBox* checkBox(const char* name, const QString& caption, QWidget* parent)
{
    return namedControl<QCheckBox>(name, caption, parent);
}

QSlider* slider(const char* name, int minimum, int maximum, QWidget* parent)
{
    auto* s = namedControl<QSlider>(name, Qt::Horizontal, parent);
    s->setRange(minimum, maximum);
    s->setTracking(true);
    s->setMinimumWidth(140);
    return s;
}

QLineEdit* readOnlyBox(const char* name, QWidget* parent)
{
    QLineEdit* box = textBox(name, parent);
    box->setReadOnly(true);
    return box;
}

namespace {

QGroupBox* framed(const char* name, const QString& caption, std::initializer_list<QWidget*> widgets, QWidget* parent,
                  QBoxLayout* layout)
{
    QGroupBox* box = frame(name, caption, parent);
    box->setLayout(layout);
    for (QWidget* w : widgets) {
        // Option buttons belong to the frame they stand in, so each frame is
        // one exclusive choice.
        w->setParent(box);
        layout->addWidget(w);
    }
    return box;
}

} // namespace

QGroupBox* rowFrame(const char* name, const QString& caption, std::initializer_list<QWidget*> widgets,
                    QWidget* parent)
{
    return framed(name, caption, widgets, parent, new QHBoxLayout);
}

QGroupBox* columnFrame(const char* name, const QString& caption, std::initializer_list<QWidget*> widgets,
                       QWidget* parent)
{
    return framed(name, caption, widgets, parent, new QVBoxLayout);
}

} // namespace varnet
