#pragma once

// The gauge-bus test frame (own working directory, link windows installed,
// shared send path empty) with the built-in type table loaded and no window
// of the configuration screen's library left loaded afterwards.

#include "app/configscreen.h"
#include "app/configunknown.h"
#include "app/functioneditor.h"
#include "app/startwindow.h"
#include "bus/gaugetestwindow.h"
#include "simlink/udptest.h"
#include "app/dispatch.h"
#include "app/listfunctions.h"
#include "app/mainconfigure.h"
#include "app/saveconfig.h"
#include "avionics/registration.h"
#include "config/configfile.h"
#include "config/sample_config.h"
#include "gauges/dialogframe.h"
#include "gauges/recording_link.h"
#include "gauges/registration.h"
#include "support/scripted_messages.h"
#include "bus/gaugebus_fixture.h"
#include "iomodules/configiom.h"
#include "iomodules/testec.h"
#include "yokes/yokewindows.h"
#include "window_helpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSlider>

#include <map>

namespace varnet::testing {

class ConfigScreenTest : public GaugeBusTest {
protected:
    void SetUp() override
    {
        GaugeBusTest::SetUp();
        Cfg = ConfigTables{};
        Session = SessionState{};
        // The program is past its start: the start window shown from here
        // does not load and count down as at the first start.
        Session.ProgramTitle = kProgramTitle;
        LoadConstantTables(Cfg);
    }

    void TearDown() override
    {
        unloadAll<FrmMainConfigure, frmConfigUnknown, ConfigIOM, frmTestEC, frmListFunctions, SaveConfig, FrmConfigureYokes,
                  frmMain, GetOffsetlist, frmTestGauges, frmTestXplaneInterface>();
        Session = SessionState{};
        GaugeBusTest::TearDown();
    }

    // The screen, loaded, shown and rebuilt as its activation does.
    static FrmMainConfigure& screen()
    {
        FrmMainConfigure& s = DefaultForm<FrmMainConfigure>::get();
        s.show();
        s.Form_Activate();
        return s;
    }

    // Saves the tables as a configuration file and loads them from it, as a
    // cockpit starts from its file.
    static void saveAndLoad(const char* file)
    {
        Cfg.ConfigHeader = programHeader();
        Session.ConfigFileName = file;
        ASSERT_TRUE(WriteConfigFile());
        Cfg = ConfigTables{};
        LoadConstantTables(Cfg);  // not held in files
        ReadConfigFile();
        ASSERT_EQ(Session.ConfigError, 0);
    }

    static void gauge(int id, int type, int model = 1, int version = 1)
    {
        GaugeRecord{type, model, version}.Write(Cfg, id, Field::Identity);
    }

    // A mouse click on line `row` of a list, as the user makes it.
    static void clickLine(QWidget& window, const char* list, int row)
    {
        auto* l = child<QListWidget>(window, list);
        ASSERT_NE(l, nullptr);
        ASSERT_LT(row, l->count());
        l->scrollToItem(l->item(row));
        const QPointF at = l->visualItemRect(l->item(row)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, l->viewport()->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(l->viewport(), &event);
        }
    }
};

} // namespace varnet::testing
