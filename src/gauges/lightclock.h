#pragma once

// ConfigCessnaClock: the dialog of the light-aircraft clock (type 109), a
// digital display of universal, local and flight time, temperature and
// voltage with a seconds blinker and an alarm sounder. The user chooses how
// the clock is synchronised in a run, sets its times from the PC clock or by
// hand, writes test values to its display and reads its times back.

#include "gauges/dialogframe.h"

namespace varnet {

inline constexpr const char* kLocalHoursRule = "Local Time hours must be a number between 0 and 23";
inline constexpr const char* kFlightTimeRule =
    "Flight Time must be whole hours 0 to 23, minutes 0 to 59 and seconds 0 to 59";
inline constexpr const char* kVoltageRule = "Voltage must be two numbers between 0 and 255";
inline constexpr const char* kTemperatureRule = "The temperature must be a number between -65535 and 65535";

class ConfigCessnaClock final : public DialogOf<ConfigCessnaClock> {
    Q_OBJECT

public:
    ConfigCessnaClock();

    // Refreshes the free GaugeIDs and shows this gauge's stored sync mode.
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }
    int lightWord() const override;

private:
    void copyPCTime();
    void setLocalTime();
    void setFlightTime();
    void setVoltage();
    void setTemperature(QLineEdit* box, int command);
    void readTime();

    QComboBox* ComboClockSyncMode;
    QLineEdit* UniversalTimeHours;
    QLineEdit* UniversalTimeMinutes;
    QLineEdit* UniversalTimeSeconds;
    QLineEdit* LocalTimeHours;
    QLineEdit* LocalTimeMinutes;
    QLineEdit* LocalTimeSeconds;
    QLineEdit* FThrs;
    QLineEdit* FTmin;
    QLineEdit* FTsec;
    QLineEdit* boxCelcius;
    QLineEdit* boxFahrenheit;
    QLineEdit* boxVoltHigh;
    QLineEdit* boxVoltLow;
};

} // namespace varnet
