#include "avionics/registration.h"

namespace varnet {

void RegisterAvionicsDialogs(const DialogOpenerSetter& set)
{
    (void)set;
}

} // namespace varnet
