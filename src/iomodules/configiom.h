#pragma once

// The I/O-module configuration window. It takes the module it works on from
// CurrentGaugeID when it loads: a bus I/O module (1..255) or stand-alone
// module 1 (1000) or 2 (2000).
//
// Until its editor is built, it says what it is for and where the entries
// are made meanwhile: in the configuration file.

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

} // namespace varnet
