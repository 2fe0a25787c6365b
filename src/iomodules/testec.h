#pragma once

// The settings and test window of the stand-alone engine cluster.
//
// Until its editor is built, it says what it is for and where the settings
// are made meanwhile: in the configuration file.

#include "config/tables.h"
#include "platform/form.h"

namespace varnet {

class frmTestEC final : public Form {
    Q_OBJECT

public:
    frmTestEC();
    void Form_Load() override;

    Integer GaugeID = 0;
};

} // namespace varnet
