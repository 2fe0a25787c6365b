#pragma once

// The I/O-module configuration window and the engine-cluster settings and
// test window. Each takes the record it works on from CurrentGaugeID when it
// loads: ConfigIOM a bus I/O module (1..255) or stand-alone module 1 (1000)
// or 2 (2000); frmTestEC the stand-alone engine cluster.
//
// Until their editors are built, both say what they are for and where the
// settings are made meanwhile: in the configuration file.

#include "config/tables.h"
#include "platform/form.h"

#include <QString>

class QLabel;

namespace varnet {

// What ConfigIOM says it configures: "Stand-alone I/O module 1",
// "Stand-alone I/O module 2" or "I/O module GaugeID 7 on the gauge bus".
QString IOModuleDescription(int gaugeID);

class ConfigIOM final : public Form {
    Q_OBJECT

public:
    ConfigIOM();
    void Form_Load() override;

    Integer GaugeID = 0;

private:
    QLabel* Label1;
};

class frmTestEC final : public Form {
    Q_OBJECT

public:
    frmTestEC();
    void Form_Load() override;

    Integer GaugeID = 0;
};

} // namespace varnet
