#pragma once

// ConfigCessnaEngineCluster: the dialog of the engine cluster on the gauge
// bus (type 8). Its eight needles have fixed functions; the user picks a
// plate for each, calibrates each needle in the plate window, moves each
// needle by hand, and sets needle speed and backlight.

#include "gauges/dialogframe.h"

#include <array>

namespace varnet {

// One needle of the cluster.
struct EngineClusterNeedle {
    const char* label;
    const char* category;      // the category of its plates
    int function;              // fixed function number
    int selector;              // data pair of the function
    const char* functionText;  // as the plate window shows it
    int command;               // the command that positions it
    const char* calibrateButton;
};

extern const std::array<EngineClusterNeedle, kClusterNeedles> kEngineClusterNeedles;

// The needles' plate numbers, needle 1 first.
using ClusterPlates = std::array<int, kClusterNeedles>;

// The plates a record holds: needles 1, 2, 5 and 6 in byte fields, needles
// 3 and 4, 7 and 8 packed in pairs into the two plate words (high plate
// first).
ClusterPlates StoredClusterPlates(const GaugeRecord& record);
// Whether each plate fits its field: 0..255, and 0..127 for the high plate
// of a packed word, which keeps the word's sign bit clear.
bool ClusterPlatesFit(const ClusterPlates& plates);
// The plates into their fields of `record`.
void PutClusterPlates(GaugeRecord& record, const ClusterPlates& plates);

class ConfigCessnaEngineCluster final : public DialogOf<ConfigCessnaEngineCluster> {
    Q_OBJECT

public:
    ConfigCessnaEngineCluster();

    // The plate lists anew, showing the stored plates: coming back from the
    // plate window shows what it assigned.
    void Form_Activate() override;

protected:
    void loadRecord() override;
    ApplySteps applySteps() override;
    FieldSet uninstallFields() const override { return Field::TypeAndBothAssignments; }

private:
    void fillPlateLists();
    ClusterPlates selectedPlates() const;
    void calibrate(int needle);
    void speedChanged(int position);
    void speedReleased();

    std::array<QComboBox*, kClusterNeedles> ComboPlate;
    bool dragged_ = false;
};

} // namespace varnet
