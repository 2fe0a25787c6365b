#pragma once

// The dialog for a gauge-list entry whose type has no dialog of its own:
// it names the GaugeID and can remove the gauge from the configuration.

#include "config/tables.h"
#include "platform/form.h"

class QLineEdit;

namespace varnet {

// Frees `gaugeID` for another gauge: its type, model, version and first
// function go; the second function, the plates and the bus status stay.
void UninstallGauge(ConfigTables& tables, int gaugeID);

class frmConfigUnknown final : public Form {
    Q_OBJECT

public:
    frmConfigUnknown();

    // Shows the GaugeID the dialog acts on; the dispatch calls it with
    // CurrentGaugeID right after loading the dialog.
    void Initialize(int currentGaugeID);

    // It acts on one GaugeID of the configuration it was opened on.
    ConfigurationHeld configurationHeld() const override { return ConfigurationHeld::Record; }

private:
    void Command1_Click();
    void cmdClose_Click();

    QLineEdit* GaugeID;
};

} // namespace varnet
