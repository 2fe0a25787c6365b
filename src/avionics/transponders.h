#pragma once

// What the three transponder dialogs share: the display-only function list,
// the ATC options stored as an option word in GaugeRecPlate1, the default
// code boxes with their "set" buttons, and the "Transponder data" read-back
// of the code, the IDENT button and the rotary switch. The CTL30 and 737
// transponders hold two codes, the Bendix/King one a single code.

#include "avionics/moduleframe.h"
#include "gauges/radiocodecs.h"

#include <QStringList>

#include <vector>

class QGridLayout;
class QHBoxLayout;

namespace varnet {

// The fixed function every transponder module serves.
inline constexpr int kTransponderFunction = 26;

// "026.  name" for every function of signal type "Dedicated Gauge" in the
// category "Radios", ascending, with the function numbers beside them.
QStringList DedicatedRadioFunctionItems(const ConfigTables& tables, std::vector<int>* numbers = nullptr);

// When a dialog shows the ATC options from the stored option word.
enum class AtcOnOpening {
    // Always: a cleared option stays cleared.
    FromRecord,
    // Once Apply has assigned the module (its function is the transponder
    // function); a module never applied starts with every option ticked.
    FromRecordOnceAssigned,
};

// The option word the ATC boxes show on opening; `allOptions` has a bit for
// each box.
int AtcWordOnOpening(const GaugeRecord& record, AtcOnOpening policy, int allOptions);

struct AtcOption {
    const char* name;
    const char* caption;
};

struct TransponderParts {
    CodePacking packing = CodePacking::Octal;
    // Two codes with their "Activ" boxes, or one.
    bool twoCodes = true;
    // Commands 4 and 5 follow commands 10 and 11 with the same code.
    bool confirmCodes = true;
    std::vector<AtcOption> atc{};
    AtcOnOpening atcOnOpening = AtcOnOpening::FromRecordOnceAssigned;
    QString atcFrame{};
    QString atcNote{};
    QString defaultCode = QStringLiteral("7777");
    QString codeLabel = QStringLiteral("Transponder 1");
    QString setCaption = QStringLiteral("set default");
    QString codeNote{};  // under the default codes, where the module has one
    QString identCaption = QStringLiteral("Ident Button was depressed");
    QString switchLabel = QStringLiteral("Switch position:");
    // The note that the default codes and display settings are not read back.
    bool writeOnlyNote = true;
};

class TransponderDialog : public ModuleDialog {
    Q_OBJECT

protected:
    TransponderDialog(const char* name, const QString& caption, const ModuleParts& module,
                      const TransponderParts& parts);

    void loadRecord() override;
    void writeModule(int gaugeID) override;
    void decodeReply(const Reply& reply) override;

    // What the rotary switch byte shows: its number unless a dialog names it.
    virtual QString switchText(int position) const { return QString::number(position); }
    // The reply bytes a dialog reads beside the shared ones.
    virtual void decodeMore(const Reply& /*reply*/) {}

    // Sends the default code of transponder 1 or 2, or says why not.
    void setDefaultCode(int transponder);
    // One more labelled row of the "Transponder data" frame.
    void addDataRow(const QString& caption, QWidget* box, QWidget* beside = nullptr);
    void addDataRow(QCheckBox* check);

    // The settings frame's row and the test frame's row, where each dialog
    // adds its own frames.
    QHBoxLayout* settingsRow() { return settingsRow_; }
    QHBoxLayout* testRow() { return testRow_; }

    QComboBox* ComboCode;
    QLineEdit* BoxDefaultCode1;
    QLineEdit* BoxDefaultCode2 = nullptr;
    QLineEdit* boxTransponder1;
    QLineEdit* boxTransponder2 = nullptr;
    QCheckBox* CheckTransponder1Activ = nullptr;
    QCheckBox* CheckTransponder2Activ = nullptr;
    QCheckBox* CheckIdentButton;
    QLineEdit* RotarySwitchPosition;

private:
    QGroupBox* buildCodes();
    QGroupBox* buildData();

    TransponderParts parts_;
    std::vector<QCheckBox*> atcBoxes_;
    QHBoxLayout* settingsRow_;
    QHBoxLayout* testRow_;
    QGridLayout* dataGrid_ = nullptr;
};

template <typename T>
class TransponderDialogOf : public TransponderDialog {
protected:
    using TransponderDialog::TransponderDialog;
    void unloadSelf() override { DefaultForm<T>::unload(); }
};

} // namespace varnet
