#pragma once

// The function test window: tries out one simulator function through a sim
// port of its own. It reads the function every 100 ms (raw and scaled value,
// and the smallest and largest raw value seen), writes a value once or sweeps
// one up and down between two limits, and copies the observed range into the
// function's stored limits. It is used while no run is active; the callers
// load it, show it and then call StartScan.

#include "config/tables.h"
#include "platform/form.h"
#include "platform/wait.h"
#include "simlink/simports.h"

#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;

namespace varnet {

// The name the window shows for a data type; nothing outside 0..7.
std::optional<QString> TestDataTypeName(int dataType);

// Why `value` may not be written to a function of this data type, or nothing
// when it may (fractions pass; a Float, command or unused function takes any
// value).
std::optional<QString> WriteRangeMessage(int dataType, double value);

// A value as the window shows readings: at least one integer digit and four
// decimals ("-0.5000").
QString FixedFourDecimals(double value);

// The value that "Write Low<>Up" writes next. After each write the value
// moves one step towards the limit it is heading for; a step that would pass
// the limit is taken back and the direction turns, so each end value is
// written twice in a row: 0, 4, 8, 8, 4, 0, 0, 4 ... for 0..8 in steps of 4.
struct WriteSweep {
    Single value = 0;
    bool rising = true;

    void advance(Single step, Single lower, Single upper);
};

// The raw range seen by the reading ticks. The first ticks after a new
// function only settle: the port may still hold a value from before.
class RawRange {
public:
    static constexpr int kSettleTicks = 6;

    void reset() { *this = RawRange{}; }
    // One reading tick with the raw value then read.
    void tick(double raw);
    std::optional<double> minimum() const { return minimum_; }
    std::optional<double> maximum() const { return maximum_; }

private:
    int settled_ = 0;
    std::optional<double> minimum_;
    std::optional<double> maximum_;
};

class frmTestFunction final : public Form {
    Q_OBJECT

public:
    frmTestFunction();

    // Reading starts each time the window becomes active.
    void Form_Activate() override { CmdRead_Click(); }

    // Shows function `FunctionNr` and opens a port for its pair `Selector`
    // (0 counts as 1); function 0 changes nothing, and a function without a
    // short name shows its name and stored limits but opens no port. Each call
    // opens one more port: earlier ones stay until the window closes.
    void StartScan(int FunctionNr, int Selector);

    // One reading (Timer1, 100 ms) and one sweep step (IntervalTimer).
    void Timer1_Timer();
    void IntervalTimer_Timer();

    // Whether a run is prepared or active: closing the window then leaves the
    // sim-port table to the run instead of emptying it. Installed by the
    // application; without it the table is emptied.
    static inline std::function<bool()> RunPrepared;

    // It tests one function of the configuration it was opened on, and its
    // "----> Function" buttons store that function's limits, which do not
    // mark the configuration changed: they are the configuration's, which a
    // load asks about until a save (SessionState::StoredNotSaved).
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }
    void Form_CloseUnasked() override;

protected:
    void Form_Unload() override;
    void Form_TitleBarClose() override { cmdClose_Click(); }

private:
    void CmdRead_Click();
    void CmdStopRead_Click();
    void cmdCopyMinimum_Click();
    void cmdCopyMaximum_Click();
    void CmdSetMinimum_Click() { storeLimit(boxFuncMinimum, Cfg.FunctionMinimum, kMinimumRule); }
    void cmdSetMaximum_Click() { storeLimit(boxFuncMaximum, Cfg.FunctionMaximum, kMaximumRule); }
    void CmdWriteOnce_Click() { writeOnce(); }
    void CmdWriteInterval_Click();
    void CmdWriteStop_Click() { IntervalTimer.stop(); }
    void cmdClose_Click();

    static constexpr const char* kMinimumRule = "Function Minimum must be a number";
    static constexpr const char* kMaximumRule = "Function Maximum must be a number";

    // Writes the value of boxWriteValueOnce after its checks; false (with
    // the sweep stopped and the rule shown) when it was refused.
    bool writeOnce();
    // The sweep's step and limits as the boxes hold them now; nothing (with
    // the sweep stopped and the rule shown) when one is not a number.
    struct SweepBoxes {
        Single step;
        Single lower;
        Single upper;
    };
    std::optional<SweepBoxes> sweepBoxes();
    void storeLimit(QLineEdit* box, std::array<Single, kFunctionRows>& limit, const char* rule);
    // Stops the sweep, then shows the rule.
    void refuse(const QString& rule);
    void showReadingState(bool reading);
    Byte dataType() const { return Cfg.FunctionDataType[function_]; }

    QLineEdit* ShortName;
    QLineEdit* BoxSeqNr;
    QLineEdit* boxOffset;
    QLineEdit* boxValueNr;
    QLineEdit* boxDataType;
    QLineEdit* boxReading;
    QLineEdit* boxRaw;
    QLineEdit* BoxAdd;
    QLineEdit* boxMultiply;
    QLineEdit* boxDivide;
    QLineEdit* boxCorrectedValue;
    QLineEdit* boxMinimum;
    QLineEdit* boxMaximum;
    QLineEdit* boxFuncMinimum;
    QLineEdit* boxFuncMaximum;
    QLineEdit* boxWriteValueOnce;
    QLineEdit* BoxWriteLowerLimit;
    QLineEdit* BoxWriteUpperLimit;
    QLineEdit* boxIncrDecr;
    QLineEdit* boxIntervalWrite;
    QTimer Timer1;
    QTimer IntervalTimer;

    int function_ = 0;         // the function under test; 0 until StartScan
    int port_ = kNoSimPort;    // its port; none for an unnamed function
    Single lastValue_ = 0;     // last read or written
    WriteSweep sweep_;
    RawRange range_;
    BusyFlag reading_;
    BusyFlag sweeping_;
};

} // namespace varnet
