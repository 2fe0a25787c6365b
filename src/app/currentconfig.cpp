#include "app/currentconfig.h"

#include "app/mainconfigure.h"
#include "bus/runwindow.h"

#include <QLineEdit>

namespace varnet {

void ShowCurrentConfigFile(const std::string& name)
{
    const QString text = QString::fromLatin1(name.c_str());
    // Like every reference to the run window, this creates it, hidden.
    DefaultForm<frmStatus>::get().BoxCurrentConfig->setText(text);
    if (DefaultForm<FrmMainConfigure>::loaded())
        DefaultForm<FrmMainConfigure>::get().CurrentConfigFile->setText(text);
}

} // namespace varnet
