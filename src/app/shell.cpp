#include "app/shell.h"

#include "app/configwindows.h"
#include "app/dispatch.h"
#include "app/mainconfigure.h"
#include "app/saveconfig.h"
#include "app/startwindow.h"
#include "app/windowlinks.h"
#include "avionics/registration.h"
#include "bus/deviceports.h"
#include "bus/runwindow.h"
#include "gauges/registration.h"
#include "iomodules/configiom.h"
#include "iomodules/links.h"
#include "iomodules/testec.h"
#include "simlink/functiontest.h"
#include "simlink/udptest.h"
#include "yokes/yokewindows.h"

namespace varnet {

void InstallShell()
{
    InstallStandAloneLinks();
    frmStatus::EndProgram = EndProgram;
    frmStatus::ShowConfigurationScreen = [] {
        DefaultForm<frmMain>::get().show();
        ShowConfigurationScreen();
    };
    RegisterGaugeDialogs(SetGaugeDialogOpener);
    RegisterAvionicsDialogs(SetGaugeDialogOpener);
    // A run is prepared and started beside none of the windows that show or
    // edit the configuration: each could change what the run walks.
    frmStatus::LeaveConfiguration = [] { CloseConfigurationWindows(); };
    ConfigIOM::ShowConfigurationScreen = ShowConfigurationScreen;
    // The one Load/Save window, whichever window opens it.
    ConfigIOM::ShowSaveWindow = YokeWindow::ShowSaveWindow = [] { DefaultForm<SaveConfig>::get().show(); };
    // The function test window's own ports must not be dropped from under a
    // run that is prepared or active.
    frmTestFunction::RunPrepared = RunWindowPrepared;
    frmTestEC::OpenPlateWindow = OpenEngineClusterPlateWindow;
    FrmConfigureYokes::ShowUDPTestWindow = &frmTestXplaneInterface::ShowWindow;
    frmStatusYoke::ExitProgram = [] {
        // The UDP link stays as it is: the yokes' exit does not stop the
        // simulator's data.
        CloseComPorts();
        EndProgram();
    };
}

void ShowConfigurationScreen()
{
    FrmMainConfigure& screen = DefaultForm<FrmMainConfigure>::get();
    screen.show();
}

std::function<void()> OnEndProgram;

void EndProgram()
{
    // The yoke ports close here, whichever exit came: they belong to the
    // yoke windows, not to the exits, and an open port would leave its lock
    // file behind the program.
    UnloadYokeWindows();
    if (OnEndProgram)
        OnEndProgram();
}

void ExitThroughCurrentWindow()
{
    if (DefaultForm<frmMain>::loaded())
        DefaultForm<frmMain>::get().Exit_Click();
    else if (DefaultForm<frmStatus>::loaded())
        DefaultForm<frmStatus>::get().cmdExit_Click();
    else if (DefaultForm<frmStatusYoke>::loaded() && frmStatusYoke::ExitProgram)
        frmStatusYoke::ExitProgram();
    else
        EndProgram();
}

} // namespace varnet
