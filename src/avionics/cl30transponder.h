#pragma once

// configCL30Transponder: the dialog of the CTL30 transponder module (type
// 112), which holds two codes. Besides the shared transponder parts it
// switches the module's power source and, after Apply, tells the module
// that it was assigned (command 14).

#include "avionics/transponders.h"

namespace varnet {

class configCL30Transponder final : public TransponderDialogOf<configCL30Transponder> {
    Q_OBJECT

public:
    configCL30Transponder();

protected:
    void afterApply() override { send(14, 2); }
};

} // namespace varnet
