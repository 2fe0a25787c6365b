#pragma once

// The I/O-module configuration window and the engine-cluster settings and
// test window. Each takes the record it works on from CurrentGaugeID when it
// loads: ConfigIOM a bus I/O module (1..255) or stand-alone module 1 (1000)
// or 2 (2000); frmTestEC the stand-alone engine cluster.

#include "config/tables.h"
#include "platform/form.h"

namespace varnet {

class ConfigIOM final : public Form {
    Q_OBJECT

public:
    ConfigIOM();
    void Form_Load() override;

    Integer GaugeID = 0;
};

class frmTestEC final : public Form {
    Q_OBJECT

public:
    frmTestEC();
    void Form_Load() override;

    Integer GaugeID = 0;
};

} // namespace varnet
