#include "avionics/registration.h"

#include "avionics/bkradio.h"
#include "avionics/cl30radio.h"
#include "avionics/genericradio.h"

namespace varnet {

void RegisterAvionicsDialogs(const DialogOpenerSetter& set)
{
    set("ConfigVHFRadio", [] { OpenDialog<ConfigVHFRadio>(); });
    set("ConfigCL30Radio", [] { OpenDialog<ConfigCL30Radio>(); });
    set("ConfigBKradio", [] { OpenDialog<ConfigBKradio>(); });
}

} // namespace varnet
