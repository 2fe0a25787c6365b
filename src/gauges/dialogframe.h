#pragma once

// The Qt frame of the gauge and avionics configuration dialogs: the header
// (GaugeID, type name, free GaugeIDs), Apply / Uninstall / Cancel, the
// backlight and display options, the backlight word, the needle speed, and
// the one close path that Cancel, the title bar and a run's start share. A
// dialog builds its own controls into content() and answers a few hooks; the
// decisions themselves are in dialogkit.h.
//
// The form-model rules of Qt (handlers on real changes only, radio buttons
// on the one turned on, combo filling without a selection, slider scroll
// versus change) are kept by the binding helpers at the end, so no dialog
// handles them itself.

#include "bus/sendpath.h"
#include "gauges/dialogkit.h"
#include "platform/form.h"
#include "platform/wait.h"

#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <optional>

class QAbstractButton;
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace varnet {

// The optional sections of the frame.
struct FrameParts {
    bool setNewID = false;        // "Set" beside NewGaugeID: move at once
    bool light = true;            // LightOn / LightOff
    bool displays = false;        // DisplayOn / DisplayOff beside the light
    bool backlight = false;       // "Backlight Mode and Intensity" with the power-on options
    bool speed = false;           // SliderSpeed
    bool speedBox = false;        // BoxSpeed beside it
    QString lightFrame = QStringLiteral("Backlight");
    // The avionics modules name these their own way.
    const char* displayOnName = "DisplayOn";
    const char* displayOffName = "DisplayOff";
    QString displaysFrame = QStringLiteral("Displays");
    const char* applyName = "CmdApply";
    QString applyCaption = QStringLiteral("Apply");
};

class GaugeDialog : public Form {
    Q_OBJECT

public:
    ~GaugeDialog() override;

    GaugeContext& context() { return *context_; }
    int gaugeID() const { return context_ ? context_->gaugeID() : 0; }

    // Captures the gauge, fills the header and reads the record (loadRecord).
    void Form_Load() override;

    // It edits one gauge's record of the configuration it was opened on;
    // closed from outside, it closes as Cancel does, writing nothing.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }

    // Cancel, the title bar and a run's start: the dialog's closing sends
    // and timers (closing()), then unload. Nothing is written.
    void closeDialog();

    void CmdApply_Click();
    void CmdUninstall_Click();

    // Every dialog that is loaded, for closing them all when a run starts.
    static QList<GaugeDialog*> OpenDialogs();

    // A started sequence of frames goes out whole: a close asked for while
    // it is sent (Cancel, the title bar) waits until the sequence has ended.
    void beginSequence() { ++sequences_; }
    void endSequence();

protected:
    GaugeDialog(const char* name, const QString& caption, const FrameParts& parts = {});

    // ---- What a dialog answers.
    // Reads the dialog's own fields of the record into its controls.
    virtual void loadRecord() {}
    virtual ApplySteps applySteps() = 0;
    virtual FieldSet uninstallFields() const = 0;
    virtual bool uninstallAsks() const { return true; }
    // Stops the dialog's timers and sends what it sends on closing.
    virtual void closing() {}
    // Command 3's value for a speed slider position.
    virtual int speedValue(int position) const { return position; }
    // Command 8's word for the light and display options as they stand.
    virtual int lightWord() const;
    // Whether the backlight word carries the displays bit (0x80).
    virtual bool backlightHasDisplaysBit() const { return false; }
    // The fixed-function form of the type name ("Fixed Function: ...").
    virtual QString typeNameText() const;
    // Unloads the default instance (DialogOf does it).
    virtual void unloadSelf() = 0;

    // ---- For the dialogs.
    QBoxLayout* content() { return content_; }
    // One command frame to this dialog's gauge.
    bool send(int command, double value);
    // The gauge's fresh status reply; nothing when none came or when the
    // dialog was closed during the wait (then touch no member).
    std::optional<Reply> readReply(int requestValue = 0);
    // Refills NewGaugeID with the free GaugeIDs and an empty entry.
    void fillFreeIDs();
    BacklightSettings backlightSettings() const;

    void Form_Unload() override;
    // The title bar closes the way Cancel does.
    void Form_TitleBarClose() override { closeDialog(); }

    // Header and buttons; the optional sections are null when absent.
    QLineEdit* GaugeID;
    QLineEdit* BoxGaugename;
    QComboBox* NewGaugeID;
    QPushButton* CmdSetNewGaugeID = nullptr;
    QPushButton* CmdApply;
    QPushButton* CmdUninstall;
    QPushButton* CmdClose;
    QRadioButton* LightOn = nullptr;
    QRadioButton* LightOff = nullptr;
    QRadioButton* DisplayOn = nullptr;
    QRadioButton* DisplayOff = nullptr;
    QSlider* SliderBacklight = nullptr;
    QCheckBox* CheckSetDefault = nullptr;
    QRadioButton* OptionAlwaysOn = nullptr;
    QRadioButton* OptionOnAtPowerOn = nullptr;
    QRadioButton* OptionOffAtPowerOn = nullptr;
    QPushButton* CmdSetBacklight = nullptr;
    QSlider* SliderSpeed = nullptr;
    QLineEdit* BoxSpeed = nullptr;
    QGroupBox* FrameBacklight = nullptr;
    QGroupBox* FrameBacklightMode = nullptr;

private:
    void buildHeader(const FrameParts& parts);
    void buildOptions(const FrameParts& parts);
    void CmdSetNewGaugeID_Click();
    void showGaugeID();

    std::optional<GaugeContext> context_;
    QBoxLayout* content_;
    QBoxLayout* options_;
    bool closing_ = false;
    int sequences_ = 0;
    bool closeAfterSequence_ = false;
};

// Gives a dialog class its default-instance unload.
template <typename T>
class DialogOf : public GaugeDialog {
protected:
    using GaugeDialog::GaugeDialog;
    void unloadSelf() override { DefaultForm<T>::unload(); }
};

// Opens dialog T for CurrentGaugeID: the same gauge's open dialog comes to
// the front; one open for another gauge closes as Cancel and the dialog
// loads anew for this one; `initialize` runs before it shows.
template <typename T>
void OpenDialog(void (T::*initialize)() = nullptr)
{
    if (DefaultForm<T>::loaded()) {
        T& open = DefaultForm<T>::get();
        if (open.gaugeID() == CurrentGaugeID) {
            open.show();
            return;
        }
        open.closeDialog();
        if (DefaultForm<T>::loaded())
            return;  // still sending a sequence; it closes once that is out
    }
    T& dialog = DefaultForm<T>::get();
    if (initialize)
        (dialog.*initialize)();
    dialog.show();
}

// Closes every open gauge and avionics dialog as Cancel.
void CloseOpenDialogs();

// Sends (command, value) frames in order to the dialog's gauge; the dialog
// closes only once the last is queued. Stops, false, when a frame was not
// queued or the dialog was unloaded from outside during a wait.
template <typename Frames>
bool SendInOrder(GaugeDialog& dialog, const Frames& frames)
{
    const QPointer<GaugeDialog> self(&dialog);
    dialog.beginSequence();
    bool sent = true;
    for (const auto& [command, value] : frames)
        if (!self || !self->context().Send(command, value)) {
            sent = false;
            break;
        }
    if (!self)
        return false;
    self->endSequence();
    return sent && !self.isNull();
}
inline bool SendInOrder(GaugeDialog& dialog, std::initializer_list<std::pair<int, double>> frames)
{
    return SendInOrder<std::initializer_list<std::pair<int, double>>>(dialog, frames);
}

// A periodic status poll of one dialog. A tick never waits: it hands the
// reply to its previous request to `decode`, when the gauge's own reply came
// in since then, and sends the next request. A gauge that does not answer
// costs the dialog nothing, and clicks act at once.
class StatusPoll : public QObject {
public:
    StatusPoll(GaugeDialog& dialog, int intervalMs, std::function<void(const Reply&)> decode);
    void start() { timer_.start(); }
    void stop()
    {
        timer_.stop();
        askedID_.reset();
    }
    bool active() const { return timer_.isActive(); }
    // One tick, for tests.
    void tick();
    // The value the status request carries (0 unless set).
    std::function<int()> requestValue;

private:
    GaugeDialog& dialog_;
    QTimer timer_;
    // The gauge asked by the previous tick: only a reply that came after
    // that request is shown, never one kept from before.
    std::optional<int> askedID_;
    std::function<void(const Reply&)> decode_;
};

// ---- Binding helpers ----------------------------------------------------------

// Runs `handler` when the button becomes the selected one of its group.
void onSelected(QRadioButton* option, std::function<void()> handler);
// Runs `handler(index)` on every real change of the selection.
void onIndexChanged(QComboBox* combo, std::function<void(int)> handler);
// Runs `handler(position)` on every change of the slider's value (drag
// positions included, since tracking is on).
void onValueChanged(QSlider* slider, std::function<void(int)> handler);
void onClicked(QPushButton* button, std::function<void()> handler);

// The design state of an option or check box: set without running its
// handler (nothing is sent when a dialog is built).
void SelectAtDesign(QAbstractButton* control);
// Titles the frame's speed section, puts "Slow" and "Fast" at its ends and
// sets the slider's design position without sending.
void DressSpeedFrame(GaugeDialog& dialog, const QString& title, int designPosition);

// Fills a list without running its handler; nothing is selected afterwards,
// so selecting a position (any, 0 included) runs the handler once.
void fillList(QComboBox* combo, const QStringList& items);

// Controls of the dialogs, named as their design names them.
QRadioButton* optionButton(const char* name, const QString& caption, QWidget* parent);
QCheckBox* checkBox(const char* name, const QString& caption, QWidget* parent);
QSlider* slider(const char* name, int minimum, int maximum, QWidget* parent);
QLineEdit* readOnlyBox(const char* name, QWidget* parent);
// A group box laid out in a row or a column, holding `widgets`.
QGroupBox* rowFrame(const char* name, const QString& caption, std::initializer_list<QWidget*> widgets,
                    QWidget* parent);
QGroupBox* columnFrame(const char* name, const QString& caption, std::initializer_list<QWidget*> widgets,
                       QWidget* parent);

} // namespace varnet
