#include "app/configwindows.h"

#include "app/configscreen.h"
#include "app/configunknown.h"
#include "app/currentconfig.h"
#include "app/functioneditor.h"
#include "app/listfunctions.h"
#include "app/loadsave.h"
#include "app/mainconfigure.h"
#include "app/saveconfig.h"
#include "bus/gaugetestwindow.h"
#include "bus/runwindow.h"
#include "gauges/registration.h"
#include "iomodules/configiom.h"
#include "iomodules/testec.h"
#include "platform/messages.h"
#include "simlink/functiontest.h"
#include "simlink/udptest.h"
#include "yokes/yokewindows.h"

#include <QPointer>

namespace varnet {

namespace {

// Closes window T, when it is open, as its own Close or Cancel does.
template <typename... T>
void closeAsTheirOwnClose()
{
    ((DefaultForm<T>::loaded() ? DefaultForm<T>::get().closeAsTitleBar() : void()), ...);
}

// The windows that hold one record of the configuration in memory and
// write it back on their own buttons. Their own Close asks only about
// changes stored and not saved, which ConfigChanged covers.
void unloadRecordWindows()
{
    CloseGaugeDialogs();
    closeAsTheirOwnClose<frmConfigUnknown>();
    DefaultForm<frmTestEC>::unload();
    DefaultForm<GetOffsetlist>::unload();
    DefaultForm<frmListFunctions>::unload();
}

} // namespace

bool TypedEditsMayGo()
{
    if (DefaultForm<ConfigIOM>::loaded() && !DefaultForm<ConfigIOM>::get().EditMayGo())
        return false;
    return !DefaultForm<GetOffsetlist>::loaded() || DefaultForm<GetOffsetlist>::get().EditMayGo();
}

void UnloadConfigurationWindows(bool screenToo)
{
    unloadRecordWindows();
    DefaultForm<ConfigIOM>::unload();
    // The test windows end what they test as their Close does: the UDP test
    // gives the received values back to the sim ports, the function test
    // drops its own ports unless a run holds the table.
    closeAsTheirOwnClose<SaveConfig, frmTestGauges, frmTestXplaneInterface, frmTestFunction, FrmConfigureYokes>();
    if (screenToo)
        DefaultForm<FrmMainConfigure>::unload();
}

ReplaceResult ReplaceConfiguration(QWidget& asker, Replacement kind, const std::function<bool()>& ownQuestions,
                                   const std::function<bool()>& replace)
{
    if (RunWindowPrepared()) {
        messages().ok(RunHoldsConfigurationText(kind == Replacement::Load ? "loaded" : "imported"));
        return ReplaceResult::Declined;
    }
    const QPointer<QWidget> self(&asker);
    const auto answered = [&self](bool yes) { return yes && !self.isNull(); };
    if (ownQuestions && !answered(ownQuestions()))
        return ReplaceResult::Declined;
    if (Session.ConfigChanged != 0 &&
        !answered(messages().yesNoDefaultNo(QString::fromLatin1(kUnsavedQuestion))))
        return ReplaceResult::Declined;
    if (!answered(TypedEditsMayGo()))
        return ReplaceResult::Declined;
    if (!replace())
        return ReplaceResult::Failed;

    ShowCurrentConfigFile(Session.ConfigFileName);
    unloadRecordWindows();
    if (DefaultForm<ConfigIOM>::loaded())
        DefaultForm<ConfigIOM>::get().ShowTablesInMemory();
    if (DefaultForm<SaveConfig>::loaded())
        DefaultForm<SaveConfig>::get().ShowNameInMemory();
    if (DefaultForm<FrmMainConfigure>::loaded())
        DefaultForm<FrmMainConfigure>::get().Form_Activate();
    return ReplaceResult::Replaced;
}

} // namespace varnet
