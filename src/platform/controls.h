#pragma once

// Controls of the program's windows. Each carries the name the window's
// design gives it as objectName, so that tests and users' bug reports can
// name it.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace varnet {

template <typename Control, typename... Args>
Control* namedControl(const char* name, Args&&... args)
{
    auto* control = new Control(std::forward<Args>(args)...);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

inline QLineEdit* textBox(const char* name, QWidget* parent, const QString& text = {})
{
    return namedControl<QLineEdit>(name, text, parent);
}

inline QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    return namedControl<QPushButton>(name, caption, parent);
}

inline QGroupBox* frame(const char* name, const QString& caption, QWidget* parent)
{
    return namedControl<QGroupBox>(name, caption, parent);
}

// An editable combo takes typed text without adding it to its list.
inline QComboBox* comboBox(const char* name, QWidget* parent, bool editable = false)
{
    auto* combo = namedControl<QComboBox>(name, parent);
    combo->setEditable(editable);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

inline QPlainTextEdit* textArea(const char* name, QWidget* parent)
{
    auto* area = namedControl<QPlainTextEdit>(name, parent);
    area->setReadOnly(true);
    return area;
}

// Labels are named only where the program changes them.
inline QLabel* label(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

} // namespace varnet
