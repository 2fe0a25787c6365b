#include "iomodules/links.h"

#include "bus/standalonelinks.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"

#include <type_traits>

namespace varnet {

namespace {

// Runs `action` with the window type of `device`.
template <typename Action>
decltype(auto) withWindow(StandAloneDevice device, Action&& action)
{
    switch (device) {
    case StandAloneDevice::EngineCluster:
        return action(std::type_identity<frmStatusEC>{});
    case StandAloneDevice::IOModule1:
        return action(std::type_identity<frmStatusIOM>{});
    case StandAloneDevice::IOModule2:
        break;
    }
    return action(std::type_identity<frmstatusIOM2>{});
}

LinkWindow& window(StandAloneDevice device)
{
    return withWindow(device, []<typename T>(std::type_identity<T>) -> LinkWindow& {
        return DefaultForm<T>::get();
    });
}

class LinkWindows final : public StandAloneLinks {
public:
    SerialPort& MSComm1(StandAloneDevice device) override { return window(device).MSComm1(); }

    bool ComposeCmd(StandAloneDevice module, int gaugeID, int command, double value) override
    {
        if (module == StandAloneDevice::IOModule1)
            return DefaultForm<frmStatusIOM>::get().ComposeCmd(gaugeID, command, value);
        if (module == StandAloneDevice::IOModule2)
            return DefaultForm<frmstatusIOM2>::get().ComposeCmd(gaugeID, command, value);
        return false;
    }

    bool Loaded(StandAloneDevice device) const override
    {
        return withWindow(device, []<typename T>(std::type_identity<T>) { return DefaultForm<T>::loaded(); });
    }

    void Load(StandAloneDevice device) override { window(device); }
    void Show(StandAloneDevice device) override { window(device).show(); }

    void Unload(StandAloneDevice device) override
    {
        withWindow(device, []<typename T>(std::type_identity<T>) { DefaultForm<T>::unload(); });
    }

    void OpenPorts(StandAloneDevice device) override { window(device).OpenPorts(); }
    void cmdRun_Click(StandAloneDevice device) override { window(device).cmdRun_Click(); }
    void cmdStop_Click(StandAloneDevice device) override { window(device).cmdStop_Click(); }
};

} // namespace

void InstallStandAloneLinks()
{
    static LinkWindows links;
    setStandAloneLinks(&links);
}

} // namespace varnet
