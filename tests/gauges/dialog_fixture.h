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

#include <vector>

namespace varnet::testing {

// A gauge's status reply with `bytes` at their positions (from 0).
inline QByteArray statusReply(int id, std::initializer_list<std::pair<int, int>> bytes = {})
{
    QByteArray reply(25, '\0');
    reply[1] = char(id);
    reply[24] = char(0xFF);
    for (const auto& [position, value] : bytes)
        reply[position] = char(value);
    return reply;
}

// Works the window's controls in order: "Name" clicks a button, "Name=value"
// moves a slider to value or types value into a box.
inline void act(QWidget& window, const QString& script)
{
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = step.section(QLatin1Char('='), 0, 0);
        QAbstractButton* button = step.contains(QLatin1Char('=')) ? nullptr : window.findChild<QAbstractButton*>(name);
        QSlider* slider = window.findChild<QSlider*>(name);
        QLineEdit* box = window.findChild<QLineEdit*>(name);
        ASSERT_TRUE(button || slider || box) << qPrintable(step);
        if (button)
            button->click();
        else if (slider)
            slider->setValue(step.section(QLatin1Char('='), 1).toInt());
        else
            box->setText(step.section(QLatin1Char('='), 1));
    }
}

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

    // Dialog T opened for a gauge put in the tables as gauge() does.
    template <typename T>
    static T& show(int id, int type, int model = 1, int version = 1, int busStatus = 2, void (T::*init)() = nullptr)
    {
        gauge(id, type, model, version, busStatus);
        OpenDialog<T>(init);
        return DefaultForm<T>::get();
    }
    static void act(QWidget& window, const QString& script) { testing::act(window, script); }
    static void slide(QWidget& window, const char* name, int value) { child<QSlider>(window, name)->setValue(value); }
    static QString text(QWidget& window, const char* box) { return child<QLineEdit>(window, box)->text(); }
    static void type(QWidget& window, const char* box, const QString& text) { child<QLineEdit>(window, box)->setText(text); }
    static bool checked(QWidget& window, const char* name) { return child<QAbstractButton>(window, name)->isChecked(); }
    static bool hidden(QWidget& window, const char* name) { return child<QWidget>(window, name)->isHidden(); }
    // Gauge `id` answers status requests with `bytes` at their positions.
    void answer(int id, std::initializer_list<std::pair<int, int>> bytes) { link_.replies[id] = statusReply(id, bytes); }
    // Type, model, version, then each function with its category, data and plate.
    static std::vector<int> fields(int id)
    {
        const GaugeRecord r = GaugeRecord::Read(Cfg, id);
        return {r.type, r.model, r.version, r.category1, r.function1, r.seqNr1,
                r.plate1, r.category2, r.function2, r.seqNr2, r.plate2};
    }

    RecordingLink link_;
    ScriptedMessages messages_;
};

} // namespace varnet::testing
