#pragma once

// The configuration screen: the hub of all configuration while no run is
// active. It lists every configured gauge of the gauge bus, sets the COM
// ports of the four serial devices, the X-Plane UDP settings, the backlight
// mode and the process interval, searches the bus and opens every other
// configuration and test window. It edits the configuration in memory only;
// saving is the Load/Save window's.

#include "app/bussearch.h"
#include "app/tabstops.h"
#include "config/tables.h"
#include "platform/form.h"
#include "platform/wait.h"

#include <QTimer>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;

namespace varnet {

class FrmMainConfigure final : public ConfigurationView {
    Q_OBJECT

public:
    FrmMainConfigure();

    // Sets the list's tab stops and starts Timer1.
    void Form_Load() override;
    // Rebuilds the whole screen from the configuration: offers the COM
    // ports that can be opened, shows the settings and the gauge list. While
    // a bus search runs the rebuild waits for its end, which rebuilds.
    void Form_Activate() override;

    // The configuration file in use.
    QLineEdit* CurrentConfigFile;

    // It shows the configuration in memory, and is rebuilt after a load,
    // which ends a bus search first. What "set", the process interval,
    // "Clear Config" and the search store is the configuration's until a
    // save: a load asks about it (SessionState::StoredNotSaved).
    void Form_ConfigurationReplacing() override;
    void Form_ConfigurationSaved() override;
    void Form_CloseUnasked() override { DefaultForm<FrmMainConfigure>::unload(); }

    const BusSearch& Search() const { return search_; }

protected:
    void Form_ShowConfiguration() override { Form_Activate(); }
    // Ends a running bus search and stops the timers.
    void Form_Unload() override;
    void Form_TitleBarClose() override { Command1_Click(); }

private:
    // Sizes the list to show every column, as far as the screen allows.
    void fitColumns();
    // Offers the COM numbers that can be opened now in `combo`, keeping
    // what it shows.
    void refillComList(QComboBox* combo);
    // One row of the COM-port settings.
    struct DeviceRow {
        Integer ConfigTables::*port;
        QLineEdit* current;
        QComboBox* combo;
        QPushButton* setButton;
        QPushButton* deviceButton;  // enabled while the device has a port
    };

    void buildControls();
    void setComPort(DeviceRow& row);
    void cmdSetUDP_Click();
    void ComboLights_Click(int index);
    void SliderXferTtimerProcess_Change(int value);
    void BoxXferTimerProcess_Change();
    void cmdClearConfig_Click();
    void Command1_Click();
    void Cmdsearch_Click();
    void CmdSet250_Click();
    void Timer1_Timer();
    void searchFinished();
    // Ends a running bus search where it is, the list usable again.
    void stopSearch();
    // What the screen stored is not saved yet.
    void markStored();
    void Configlist_Click(QListWidgetItem* item);
    void cmdGotoEC_Click();
    void openIOModuleWindow(int gaugeID);

    std::array<DeviceRow, 4> rows_{};
    QLineEdit* boxRemoteIP;
    QLineEdit* boxRemotePort;
    QLineEdit* boxLocalPort;
    QRadioButton* OptionByteOrderNormal;
    QRadioButton* OptionByteOrderReverse;
    QCheckBox* CheckBlockUsel;
    QSlider* SliderXferTtimerProcess;
    QLineEdit* BoxXferTimerProcess;
    QComboBox* ComboLights;
    QListWidget* Configlist;
    QProgressBar* ProgressBar1;
    QPushButton* Cmdsearch;
    // The list's columns under their captions.
    CaptionedColumns* columns_;
    int fittedLineWidth_ = 0;

    QTimer Timer1;
    // Looks for the answer of the GaugeID being asked between two ticks.
    QTimer SearchPoll;
    BusSearch search_;
    BusyFlag startingSearch_;
};

} // namespace varnet
