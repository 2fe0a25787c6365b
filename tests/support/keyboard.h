#pragma once

// The keyboard as a user works a window: a key goes to the control that
// has the focus (and on to its window when the control leaves it), Tab
// walks the focus chain.

#include <QTest>
#include <QWidget>

#include <string>
#include <vector>

namespace varnet::testing {

// The control that has the window's focus, else the first one Tab reaches.
inline QWidget* focusedControl(QWidget& window)
{
    if (QWidget* w = window.focusWidget())
        return w;
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
            return w;
    return &window;
}

inline void press(QWidget& window, Qt::Key key)
{
    QTest::keyClick(focusedControl(window), key);
}

// The controls Tab visits, from the window's first one until it comes round.
inline std::vector<QWidget*> tabWalk(QWidget& window)
{
    std::vector<QWidget*> walk{focusedControl(window)};
    walk.front()->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 200; ++step) {
        press(window, Qt::Key_Tab);
        QWidget* now = window.focusWidget();
        if (!now || now == walk.front())
            break;
        walk.push_back(now);
    }
    return walk;
}

// The first step of the walk that goes back (to a control neither below
// nor right of the one before), as "from -> to"; empty when none does.
inline std::string backwardTab(QWidget& window, const std::vector<QWidget*>& walk)
{
    const auto area = [&window](QWidget* w) { return QRect(w->mapTo(&window, QPoint(0, 0)), w->size()); };
    const auto name = [](QWidget* w) {
        return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName())
            .toStdString();
    };
    for (std::size_t i = 1; i < walk.size(); ++i) {
        const QRect from = area(walk[i - 1]), to = area(walk[i]);
        if (to.top() < from.bottom() - 2 && to.left() < from.right() - 2)
            return name(walk[i - 1]) + " -> " + name(walk[i]);
    }
    return {};
}

} // namespace varnet::testing
