#pragma once

// Working the I/O-module window as a user does: lines clicked, boxes typed
// into, buttons clicked.

#include "config/configfile.h"
#include "iomodules/configiom.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace varnet::testing {

template <typename T>
T* control(QWidget& w, const char* name)
{
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

inline void clickLine(ConfigIOM& w, int row)
{
    auto* list = control<QListWidget>(w, "ListEntries");
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Replaces the box's text by typing.
inline void type(ConfigIOM& w, const char* box, const QString& text)
{
    auto* edit = control<QLineEdit>(w, box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

inline void click(ConfigIOM& w, const char* name)
{
    control<QAbstractButton>(w, name)->click();
}

inline QString line(ConfigIOM& w, int row)
{
    return control<QListWidget>(w, "ListEntries")->item(row)->text();
}

// Saves the whole configuration to `file` as a save of this program does,
// empties the tables and loads the file again; false when either failed.
inline bool saveAndLoadAgain(const char* file)
{
    Session.ProgramTitle = kProgramTitle;
    Session.ConfigFileName = file;
    std::string version = kProgramVersion;
    version.resize(10, ' ');
    Cfg.ConfigHeader = "Program Name: " + std::string(kProgramTitle) + " , Version: " + version +
                       ",Connected Sim: X-Plane, FSUIPC version: N/A ,"
                       "Date/Time saved: now\r\n";
    if (!WriteConfigFile())
        return false;
    Cfg = ConfigTables{};
    ReadConfigFile();
    return Session.ConfigError == 0;
}

} // namespace varnet::testing
