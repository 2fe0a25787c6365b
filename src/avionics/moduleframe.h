#pragma once

// The frame of the avionics module dialogs: the gauge dialog frame set up
// for fixed-function modules. Apply writes the module's fixed functions
// under category 8 (5 for the audio panel), moves the module whatever the
// bus status, and may send the module's settings afterwards; the lamp word
// counts the backlight (64) and the displays (128); the Bendix/King modules
// gate their backlight options by version; the radios carry their number
// and standby transfer flag.

#include "gauges/dialogframe.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace varnet {

// The fixed assignment a module type gets on Apply.
struct ModuleAssignment {
    int function1 = 0;
    int function2 = 0;          // ignored when keepsFunction2
    int category1 = 8;
    bool keepsFunction2 = false;  // the DME module leaves it as it was
    bool transponder = false;     // also clears function 2 and sequence 2; sequence 1 := 1
};

struct ModuleParts {
    const char* applyName = "CmdApply";
    const char* readName = nullptr;  // the Read button, where the module has one
    bool backlight = false;          // "Backlight Mode and Intensity"
    bool versionGate = false;        // Bendix/King: power-on options from version 5
    bool dayNight = false;           // SliderLightIntensity with "Set day" / "Set night"
    bool radioNumber = false;        // OptionRadio1/2 and CheckSendStandby
    QString numberFrame = QStringLiteral("Number");
    QString standbyCaption = QStringLiteral("Transfer Standby frequency.");
};

class ModuleDialog : public GaugeDialog {
    Q_OBJECT

protected:
    ModuleDialog(const char* name, const QString& caption, const ModuleParts& parts,
                 const ModuleAssignment& assignment);

    // ---- What a module dialog answers.
    // Checks the dialog's own inputs before Apply writes anything.
    virtual bool validateModule() { return true; }
    // The model byte Apply leaves at the final GaugeID.
    virtual int modelAfterApply() const { return 0; }
    // The dialog's own record fields, after the fixed assignment.
    virtual void writeModule(int /*gaugeID*/) {}
    // Sends after Apply wrote the record (the radios write their settings).
    virtual void afterApply() {}
    // Decodes a fresh reply of the module into the dialog's boxes.
    virtual void decodeReply(const Reply& /*reply*/) {}

    // Reads the module once; nothing changes when it does not answer.
    void Read_Click();
    // The radios' number, 1 or 2.
    int radioNumber() const;

    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::Identity | Field::Needle1; }
    int lightWord() const override;
    bool backlightHasDisplaysBit() const override { return true; }

    // Made here and placed by each dialog in its own layout.
    QPushButton* ReadButton = nullptr;
    QGroupBox* DayNightFrame = nullptr;
    QGroupBox* RadioNumberFrame = nullptr;
    QSlider* SliderLightIntensity = nullptr;
    QRadioButton* OptionRadio1 = nullptr;
    QRadioButton* OptionRadio2 = nullptr;
    QCheckBox* CheckSendStandby = nullptr;

private:
    void setDayOrNight(bool night);

    ModuleParts parts_;
    ModuleAssignment assignment_;
};

// ---- Lamp boxes: a module's switch and mode bits, red when set ----------------

// A read-only box showing `text`, grey until a bit lights it.
QLineEdit* LampBox(const char* name, const QString& text, QWidget* parent);
// Red for a set bit, light grey for a clear one.
void ShowLamp(QLineEdit* box, bool on);
// Each box lights by its bit of `bits`.
void ShowLamps(std::initializer_list<std::pair<QLineEdit*, int>> boxes, int bits);

template <typename T>
class ModuleDialogOf : public ModuleDialog {
protected:
    using ModuleDialog::ModuleDialog;
    void unloadSelf() override { DefaultForm<T>::unload(); }
};

} // namespace varnet
