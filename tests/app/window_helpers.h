#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QListWidget>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/form.h"

#include <string>
#include <vector>

namespace varnet::testing {

// The control of `window` with the given objectName; fails the test when
// there is none.
template <typename T>
T* child(QWidget& window, const char* name)
{
    T* control = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

inline void click(QWidget& window, const char* button)
{
    if (auto* b = child<QAbstractButton>(window, button))
        b->click();
}

inline std::vector<std::string> listLines(QWidget& window, const char* list)
{
    std::vector<std::string> lines;
    if (auto* l = child<QListWidget>(window, list))
        for (int row = 0; row < l->count(); ++row)
            lines.push_back(l->item(row)->text().toStdString());
    return lines;
}

// Unloads the default instances of every window type given.
template <typename... Windows>
void unloadAll()
{
    (DefaultForm<Windows>::unload(), ...);
}

// Runs the deletes of unloaded windows.
inline void flushDeletes()
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace varnet::testing
