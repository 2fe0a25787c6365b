#pragma once

// ConfigBKDME: the dialog of the Bendix/King DME module (type 123). It
// stores which radio's frequency the module shows and which NAV/DME its RMT
// position shows, and sets up and tests the module: test mode, test values
// for distance, ground speed and time, both sources, and a read-back of the
// rotary switch, the frequency and both sources. The module leaves test mode
// whenever the dialog closes.

#include "avionics/moduleframe.h"

#include <array>

namespace varnet {

// The option word stored in GaugeRecPlate1.
struct DmeOptions {
    // 0 DME1/NAV1, 1 DME2/NAV2, 2 DME1 writing NAV1, 3 DME2 writing NAV2.
    int frequencySource = 0;
    bool rmtShowsNav2 = false;

    int Word() const { return (frequencySource & 3) | (rmtShowsNav2 ? 4 : 0); }
    static DmeOptions FromWord(int word) { return {word & 3, (word & 4) != 0}; }
};

// The rotary switch as the module reports it: "RMT", "FREQ", "GS/T"; empty
// for any other position.
QString DmeSwitchText(int position);

// The frequency read back (kHz less 100000, low byte first) in MHz:
// 13000 -> "113.000".
QString DmeFrequencyText(int word);

class ConfigBKDME final : public ModuleDialogOf<ConfigBKDME> {
    Q_OBJECT

public:
    ConfigBKDME();

protected:
    void loadRecord() override;
    void writeModule(int gaugeID) override;
    void decodeReply(const Reply& reply) override;
    // Every close, Apply and Uninstall included, ends the test mode first.
    void closing() override { send(10, 0); }

private:
    QGroupBox* buildSources();
    QGroupBox* buildTest();
    int frequencySource() const;

    // OptionLocalDME1, OptionLocalDME2, OptionNAV1, OptionNav2: the source's
    // number is its place here.
    std::array<QRadioButton*, 4> FrequencySources{};
    QRadioButton* OptionRMTNav1;
    QRadioButton* OptionRMTNav2;
    QLineEdit* RotarySwitchPosition;
    QLineEdit* boxFrequency;
};

} // namespace varnet
