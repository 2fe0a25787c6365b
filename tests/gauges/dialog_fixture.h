#pragma once

// The built-in tables, a recording gauge link, scripted boxes; no dialog left open.

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
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace varnet::testing {

// Works the controls in order: "Name" clicks a button, "Name=value" moves a
// slider, types into a box or picks a list's item.
inline void act(QWidget& window, const QString& script)
{
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString name = step.section(QLatin1Char('='), 0, 0), value = step.section(QLatin1Char('='), 1);
        QWidget* control = step.contains(QLatin1Char('=')) ? window.findChild<QWidget*>(name)
                                                            : window.findChild<QAbstractButton*>(name);
        ASSERT_NE(control, nullptr) << qPrintable(step);
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->click();
        else if (auto* slider = qobject_cast<QSlider*>(control))
            slider->setValue(value.toInt());
        else if (auto* box = qobject_cast<QLineEdit*>(control))
            box->setText(value);
        else if (auto* list = qobject_cast<QComboBox*>(control))
            list->setCurrentIndex(list->findText(value));
        else
            ADD_FAILURE() << "no control to work: " << qPrintable(step);
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

    // A gauge in the tables, and the context the configuration screen gives its dialog.
    static void gauge(int id, int type, int model = 1, int version = 1, int busStatus = 2)
    {
        std::tie(Cfg.GaugeRecType[id], Cfg.GaugeRecModel[id], Cfg.GaugeRecVersion[id]) =
            std::tuple(type, model, version);
        Session.GaugeRecBusStatus[id] = Byte(busStatus);
        CurrentGaugeID = Integer(id);
        CurrentGaugeTypeName = "Test gauge";
    }
    template <typename T>
    static T& show(int id, int type, int model = 1, int version = 1, int busStatus = 2, void (T::*init)() = nullptr)
    {
        gauge(id, type, model, version, busStatus);
        OpenDialog<T>(init);
        return DefaultForm<T>::get();
    }

    static int plate(int category, const std::string& name = "")
    {
        const int p = Cfg.AddPlate();
        Cfg.PlateName[p] = name;
        Cfg.PlateValue[p][0] = category;
        return p;
    }
    static void function(int n, const std::string& name, int category, int signalType)
    {
        Cfg.FunctionNames[n] = name;
        std::tie(Cfg.FunctionCategory[n], Cfg.FunctionSignalType[n]) = std::tuple(category, signalType);
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
    // The script, answering OK to the message box `message` it shows.
    void actOk(QWidget& window, const QString& script, const QString& message)
    {
        messages_.expectOk(message);
        act(window, script);
    }
    // Each of `typed` in `box` refused by `rule` on each of `buttons`, the box kept and nothing sent.
    void refused(QWidget& window, const char* box, std::initializer_list<const char*> typed, const QString& rule,
                 std::initializer_list<const char*> buttons)
    {
        const std::size_t sent = link_.sent.size();
        for (const char* bad : typed) {
            type(window, box, QString::fromLatin1(bad));
            for (const char* button : buttons)
                actOk(window, QString::fromLatin1(button), rule);
            EXPECT_EQ(text(window, box), bad);
        }
        EXPECT_EQ(link_.sent.size(), sent) << qPrintable(rule);
    }
    // The text a box or label shows, or a list's current item.
    static QString text(QWidget& window, const char* name)
    {
        QWidget* control = child<QWidget>(window, name);
        return control ? control->property(qobject_cast<QComboBox*>(control) ? "currentText" : "text").toString() : "";
    }
    // The texts of the space-separated controls, joined by spaces.
    static QString texts(QWidget& window, const QString& names)
    {
        QStringList out;
        for (const QString& name : names.split(QLatin1Char(' ')))
            out << text(window, qPrintable(name));
        return out.join(QLatin1Char(' '));
    }
    // Types into the box key by key, as the user does, after emptying it.
    static void type(QWidget& window, const char* box, const QString& text)
    {
        QLineEdit* edit = child<QLineEdit>(window, box);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    // Whether every one of the space-separated buttons is checked.
    static bool checked(QWidget& window, const QString& names)
    {
        for (const QString& name : names.split(QLatin1Char(' ')))
            if (!child<QAbstractButton>(window, qPrintable(name))->isChecked())
                return false;
        return true;
    }
    static bool hidden(QWidget& window, const char* name) { return child<QWidget>(window, name)->isHidden(); }

    // What the dialogs sent since last asked, as (command, value) pairs.
    Commands takeSent()
    {
        const Commands sent = link_.commands();
        link_.sent.clear();
        return sent;
    }
    // A gauge's status reply with `bytes` at their positions (from 0).
    static QByteArray statusReply(int id, std::initializer_list<std::pair<int, int>> bytes = {})
    {
        QByteArray reply(25, '\0');
        reply[1] = char(id);
        reply[24] = char(0xFF);
        for (const auto& [position, value] : bytes)
            reply[position] = char(value);
        return reply;
    }
    void answer(int id, std::initializer_list<std::pair<int, int>> bytes)
    {
        link_.replies[id] = statusReply(id, bytes);
    }
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
