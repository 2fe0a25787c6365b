#include "avionics/registration.h"

#include "avionics/bkadf.h"
#include "avionics/bkaudiopanel.h"
#include "avionics/bkautopilot.h"
#include "avionics/bkdme.h"
#include "avionics/bkradio.h"
#include "avionics/bktransponder.h"
#include "avionics/cl30radio.h"
#include "avionics/cl30transponder.h"
#include "avionics/genericradio.h"
#include "avionics/transponder737.h"

namespace varnet {

void RegisterAvionicsDialogs(const DialogOpenerSetter& set)
{
    set("ConfigVHFRadio", [] { OpenDialog<ConfigVHFRadio>(); });
    set("ConfigCL30Radio", [] { OpenDialog<ConfigCL30Radio>(); });
    set("ConfigBKradio", [] { OpenDialog<ConfigBKradio>(); });
    set("configCL30Transponder", [] { OpenDialog<configCL30Transponder>(); });
    set("ConfigTransponder737", [] { OpenDialog<ConfigTransponder737>(); });
    set("ConfigBKtransponder", [] { OpenDialog<ConfigBKtransponder>(); });
    set("ConfigBKADF", [] { OpenDialog<ConfigBKADF>(); });
    set("ConfigBKAP", [] { OpenDialog<ConfigBKAP>(); });
    set("ConfigBKDME", [] { OpenDialog<ConfigBKDME>(); });
    set("ConfigBKaudioPanel", [] { OpenDialog<ConfigBKaudioPanel>(); });
}

} // namespace varnet
