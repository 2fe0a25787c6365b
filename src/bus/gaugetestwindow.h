#pragma once

// The gauge test window: polls one GaugeID of the gauge bus and shows its
// reply raw and decoded, moves the gauge at one GaugeID to a free one, and
// forces a gauge of a chosen type into the configuration. It talks to the
// bus only through the shared send path (sendpath.h) and the run window's
// configuration timer, so it sends nothing while a run is active.

#include "config/tables.h"
#include "platform/form.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

namespace varnet {

// What a status reply shows in the window.
struct PollReplyView {
    QString bytes;  // every byte in upper-case hex without leading zero, each followed by "."
    int gaugeID = 0;
    int type = 0;
    int model = 0;
    int version = 0;
    QString name;   // of the type, from rows 1..50 of the gauge-type table; " Unknown " when none
};

// Nothing when the reply is shorter than 25 bytes (no reply).
std::optional<PollReplyView> DecodePollReply(const QByteArray& reply, const ConfigTables& tables);

// "105: Heading Indicator/Directional Gyro " for every row 1..127 of the
// gauge-type table with a code, in row order.
std::vector<QString> GaugeTypeEntries(const ConfigTables& tables);

// The GaugeIDs 1..255 without a gauge, in increasing order.
std::vector<int> FreeGaugeIDs(const ConfigTables& tables);

inline constexpr const char* kNoReplyText = "-- No reply --";
inline constexpr const char* kGaugeIDRule = "GaugeID must be a number between 0 and 255";
inline constexpr const char* kRunActiveRule = "Gauges cannot be tested while a run is active; stop the run first";

class frmTestGauges final : public Form {
    Q_OBJECT

public:
    frmTestGauges();

    // Fills the three lists.
    void Form_Activate() override;

    // Loads the window when needed and shows it in front. The opener opens
    // the device ports first (OpenComPorts).
    static void ShowWindow();

    // One poll step: shows the latest input, then asks once more.
    void PollTimer_Timer();

    // Its lists come from the configuration it was opened on, and "Change"
    // and "Add to Config" store gauge records that do not mark the
    // configuration changed: they are the configuration's, which a load
    // asks about until a save (SessionState::StoredNotSaved).
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }
    void Form_CloseUnasked() override { DefaultForm<frmTestGauges>::unload(); }

protected:
    void Form_Unload() override { PollTimer.stop(); }
    void Form_TitleBarClose() override { cmdClose_Click(); }

private:
    void cmdPollGauge_Click();
    void cmdStopPoll_Click();
    void ManualGaugeID_Change();
    void cmdSetNewID_Click();
    void cmdAddToConfig_Click();
    void cmdClose_Click();

    // Keeps the status request for `GaugeID` for the poll ticks.
    void SendTestCommand(int GaugeID, int Command, double Value);
    void ShowPollReply();
    // True, after showing why, when a run is active.
    bool refusedDuringRun();
    // Fills ManualGaugeID's list, keeping its text.
    void fillManualList(const std::vector<int>& ids);

    QComboBox* ManualGaugeID;
    QLineEdit* Text7;
    QLineEdit* BoxID;
    QLineEdit* BoxType;
    QLineEdit* BoxModel;
    QLineEdit* boxVersion;
    QLineEdit* boxName;
    QLabel* ProgressIndicator;
    QComboBox* ReplaceGaugeID;
    QComboBox* ComboGaugeType;
    QTimer PollTimer;

    QByteArray request_;  // the status request the ticks send
    int spinner_ = 0;     // 0..3
};

} // namespace varnet
