#pragma once

// The keyboard as a user works a window: a key goes to the control that has
// the focus (else the first one Tab reaches) and on to its window when the
// control leaves it; Tab walks the focus chain.

#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

namespace varnet::testing {

inline void press(QWidget& window, Qt::Key key)
{
    QWidget* to = window.focusWidget();
    for (QWidget* w = window.nextInFocusChain(); !to && w && w != &window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
            to = w;
    QTest::keyClick(to ? to : &window, key);
}

// The first step of Tab's walk round the window that goes back (to a
// control neither below nor right of the one before), as "from -> to";
// empty when none does.
inline std::string backwardTab(QWidget& window)
{
    const auto area = [&window](QWidget* w) { return QRect(w->mapTo(&window, QPoint(0, 0)), w->size()); };
    press(window, Qt::Key_Tab);
    QWidget* const first = window.focusWidget();
    QWidget* from = first;
    for (int step = 0; from && step < 200; ++step) {
        press(window, Qt::Key_Tab);
        QWidget* to = window.focusWidget();
        if (to && to != first && area(to).top() < area(from).bottom() - 2 && area(to).left() < area(from).right() - 2)
            return (from->objectName() + " -> " + to->objectName()).toStdString();
        from = to == first ? nullptr : to;
    }
    return {};
}

} // namespace varnet::testing
