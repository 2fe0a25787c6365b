#pragma once

// Shared by the dialog tests: the built-in tables, a recording gauge link,
// scripted message boxes, and no dialog left open afterwards.

#include "bus/sendpath.h"
#include "config/tables.h"
#include "gauges/dialogframe.h"
#include "gauges/platewindow.h"
#include "recording_link.h"
#include "support/scripted_messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <gtest/gtest.h>

namespace varnet::testing {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cfg = ConfigTables{};
        Session = SessionState{};
        LoadConstantTables(Cfg);
    }

    void TearDown() override
    {
        CloseOpenDialogs();
        DefaultForm<frmCalibrate>::unload();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Cfg = ConfigTables{};
        Session = SessionState{};
        CurrentGaugeID = 0;
        CurrentGaugeTypeName.clear();
    }

    // A gauge in the tables, and the context the configuration screen gives
    // its dialog.
    static void gauge(int id, int type, int model = 1, int version = 1, int busStatus = 2)
    {
        Cfg.GaugeRecType[id] = Byte(type);
        Cfg.GaugeRecModel[id] = Byte(model);
        Cfg.GaugeRecVersion[id] = Byte(version);
        Session.GaugeRecBusStatus[id] = Byte(busStatus);
        CurrentGaugeID = Integer(id);
        CurrentGaugeTypeName = "Test gauge";
    }

    template <typename T>
    static T* child(QWidget& window, const char* name)
    {
        T* control = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    static void click(QWidget& window, const char* name)
    {
        if (auto* b = child<QAbstractButton>(window, name))
            b->click();
    }
    static void choose(QWidget& window, const char* combo, const QString& text)
    {
        if (auto* c = child<QComboBox>(window, combo))
            c->setCurrentIndex(c->findText(text));
    }

    RecordingLink link_;
    ScriptedMessages messages_;
};

} // namespace varnet::testing
