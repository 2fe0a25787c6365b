#pragma once

// Working the I/O-module window as a user does: lines clicked, boxes typed
// into, buttons clicked.

#include "app/window_helpers.h"
#include "config/configfile.h"
#include "iomodules/configiom.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace varnet::testing {

inline void clickLine(ConfigIOM& w, int row)
{
    auto* list = child<QListWidget>(w, "ListEntries");
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Replaces the box's text by typing.
inline void type(ConfigIOM& w, const char* box, const QString& text)
{
    auto* edit = child<QLineEdit>(w, box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

inline QString line(ConfigIOM& w, int row)
{
    return child<QListWidget>(w, "ListEntries")->item(row)->text();
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
