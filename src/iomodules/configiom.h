#pragma once

// The I/O-module configuration window. It takes the module it works on from
// CurrentGaugeID when it loads: a bus I/O module (1..255) or stand-alone
// module 1 (1000) or 2 (2000).
//
// It lists the module's switches, analogue inputs or LED outputs with what
// the entry of each does, and edits the entry of the selected line: its
// function (by category) and selector, and per kind the switch's values,
// steps or keys, the channel's raw range and threshold, or the LED's lamp
// conditions. The decisions are in ioentries.h; this class shows them.
//
// While no run is active it also tests the module: the switches and
// channels as the module reports them, and any LED lit or darkened on
// request, so that the wiring can be checked before entries are made.

#include "iomodules/ioentries.h"
#include "platform/form.h"
#include "platform/wait.h"

#include <QTimer>

#include <array>
#include <functional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace varnet {

class FunctionChoice;
class IOModuleLink;

// A read-only box that takes the next key pressed in it as a key code,
// Escape and Tab included.
class KeyCaptureBox;

class ConfigIOM final : public Form {
    Q_OBJECT

public:
    ConfigIOM();
    ~ConfigIOM() override;
    void Form_Load() override;

    // Set by the application: the configuration screen, shown again when
    // the window closes, and the Load/Save window.
    static inline std::function<void()> ShowConfigurationScreen;
    static inline std::function<void()> ShowSaveWindow;

    // Shows the window for CurrentGaugeID. A window still open for another
    // module closes first, asking as its Close does; No leaves it open.
    static void Open();

    // It works on one module of the configuration it was opened on: its
    // GaugeID, its entries, and the test it runs on the module's port. A
    // load or an import, which may have another module under that GaugeID,
    // or none, or put it on another port, closes it as its Close does (the
    // test stops), after asking about an entry typed and not stored.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }
    QString unsavedQuestion() const override;
    void Form_CloseUnasked() override { DefaultForm<ConfigIOM>::unload(); }

    Integer GaugeID = 0;

    // Handlers, public for the tests that work the window.
    void ComboKind_Click(int index);
    void ListEntries_Click(int row);
    void cmdSaveEntry_Click();
    void cmdDeleteEntry_Click();
    void cmdSetDebounce_Click();
    void cmdSaveConfig_Click();
    void cmdClose_Click();
    void cmdTest_Click();
    void cmdLED_Click(bool on);
    void TestTimer_Timer();

    int Kind() const { return kind_; }
    int Number() const { return number_; }
    QTimer& TestTimer() { return TestTimer_; }

protected:
    void Form_Unload() override;
    void Form_TitleBarClose() override;

private:
    // Close without going back: false when the user keeps the window.
    bool unloadAsked();
    // Whether changes not stored (or not saved) may be dropped: at once when
    // there are none, otherwise as the user answers the question.
    bool unstoredMayGo(bool unstored);
    void buildControls();
    void refreshList();
    void showEntry();
    void showFunctions(int function);
    void showSwitchMode();
    IOEntryForm formFields() const;
    void fieldsEdited();
    bool standAlone() const;
    IOModuleLink* moduleLink() const;
    void showInputs(const QByteArray& reply);
    bool halted() const;

    int kind_ = IOEntrySwitch;
    int number_ = 0;
    bool loading_ = false;
    bool edited_ = false;   // fields changed and not stored
    bool unsaved_ = false;  // entries stored or deleted since the last save
    std::array<Long, 2> testWords_{};
    int testReplies_ = 0;
    int testSilentTicks_ = 0;
    BusyFlag testing_;

    QLabel* Label1;
    QComboBox* ComboKind;
    QListWidget* ListEntries;
    QLineEdit* boxDebounce;
    QPushButton* cmdSetDebounce;
    QLabel* LabelEntry;
    FunctionChoice* functionChoice_;
    QComboBox* ComboClass;
    QComboBox* ComboFunction;
    QComboBox* ComboSeqNr;
    QStackedWidget* KindPages;
    QRadioButton* OptionAbsolute;
    QRadioButton* OptionIncrement;
    QRadioButton* OptionKeystroke;
    QButtonGroup* switchModes_;
    QLabel* LabelValueOn;
    QLabel* LabelValueOff;
    QLineEdit* boxValueOn;
    QLineEdit* boxValueOff;
    QCheckBox* CheckStepOn;
    QCheckBox* CheckStepOff;
    KeyCaptureBox* boxKeyOn;
    KeyCaptureBox* boxKeyOff;
    QPushButton* cmdNoKeyOn;
    QPushButton* cmdNoKeyOff;
    QLineEdit* boxMinimum;
    QLineEdit* boxCentre;
    QLineEdit* boxMaximum;
    QLineEdit* boxThreshold;
    QCheckBox* CheckAtMinimum;
    QCheckBox* CheckAtMaximum;
    QCheckBox* CheckAboveCrossover;
    QCheckBox* CheckAtFreeValue;
    QLineEdit* boxCrossover;
    QLineEdit* boxFreeValue;
    QCheckBox* CheckInvert;
    QPushButton* cmdSaveEntry;
    QPushButton* cmdDeleteEntry;
    QPushButton* cmdTest;
    QLabel* LabelSwitches;
    QLabel* LabelChannels;
    QLabel* LabelTestStatus;
    QLineEdit* boxTestLED;
    QPushButton* cmdLEDOn;
    QPushButton* cmdLEDOff;
    QTimer TestTimer_;
};

} // namespace varnet
