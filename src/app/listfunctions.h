#pragma once

// The function list window: lists the defined simulator functions, filtered
// by signal type and category, and lets the user change a description.

#include "app/functionlist.h"
#include "platform/form.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace varnet {

class CaptionedColumns;

class frmListFunctions final : public Form {
    Q_OBJECT

public:
    frmListFunctions();

    void Form_Load() override;

    // It lists the functions of the configuration it was opened on. Its
    // Close asks about a description updated since its "Save as..."; a load
    // asks about it until a save (SessionState::StoredNotSaved), open window
    // or not.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }
    void Form_CloseUnasked() override { DefaultForm<frmListFunctions>::unload(); }
    void Form_ConfigurationSaved() override { updated_ = false; }

protected:
    void Form_TitleBarClose() override { cmdClose_Click(); }

private:
    void Command1_Click();
    void CmdFilterTypeOn_Click() { setFilter(filter_.signalTypeOn, CmdFilterTypeOn, true); }
    void CmdFilterTypeOff_Click() { setFilter(filter_.signalTypeOn, CmdFilterTypeOn, false); }
    void CmdFilterClassOn_Click() { setFilter(filter_.categoryOn, CmdFilterClassOn, true); }
    void cmdFilterClassOff_Click() { setFilter(filter_.categoryOn, CmdFilterClassOn, false); }
    void Configlist_Click();
    void CmdSave_Click();
    void CmdFile_Click();
    void cmdClose_Click();

    // Turns a filter on (its "Filter On" button red) or off, then refreshes.
    void setFilter(bool& on, QPushButton* onButton, bool turnOn);

    QListWidget* Configlist;
    CaptionedColumns* columns_;
    QLineEdit* Signaltype;
    QLineEdit* Category;
    QLineEdit* BoxFxNr;
    QLineEdit* ShortName;
    QPlainTextEdit* FullName;
    QPushButton* CmdFilterTypeOn;
    QPushButton* CmdFilterClassOn;

    FunctionListFilter filter_;
    int currentFunction_ = 0;  // 0 until a function was shown
    bool updated_ = false;     // Update since the last "Save as..."
};

} // namespace varnet
