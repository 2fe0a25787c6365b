#include "platform/form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace varnet {

namespace {

// The form that last became active; a message box closing hands the
// activation back to the same form, which is not a new activation.
QPointer<Form> lastActiveForm;

// How long a shown window waits for the platform to activate it before it
// counts as activated anyway.
constexpr int kActivationGraceMs = 250;

// The button that closes `window` as its own Close or Cancel does.
QAbstractButton* closeButton(QWidget& window)
{
    QAbstractButton* cancel = nullptr;
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->window() != &window || !button->isVisibleTo(&window) || !button->isEnabled())
            continue;
        const QString caption = button->text().trimmed();
        if (caption == QLatin1String("Close"))
            return button;
        if (caption == QLatin1String("Cancel") && !cancel)
            cancel = button;
    }
    return cancel;
}

// Reading order of widgets placed side by side: split them into bands
// between which no widget reaches, top to bottom; a band that cannot be
// split that way splits into columns, left to right; each part again the
// same way. So a column of fields beside a frame that spans its rows keeps
// together, and whatever stands in one row reads left to right.
std::vector<QWidget*> readingOrder(std::vector<QWidget*> widgets)
{
    if (widgets.size() < 2)
        return widgets;
    // Widgets that touch by a pixel or two still stand apart.
    constexpr int kOverlap = 2;
    for (const bool rows : {true, false}) {
        const auto start = [rows](QWidget* w) { return rows ? w->geometry().top() : w->geometry().left(); };
        const auto end = [rows](QWidget* w) { return rows ? w->geometry().bottom() : w->geometry().right(); };
        std::stable_sort(widgets.begin(), widgets.end(), [&](QWidget* a, QWidget* b) { return start(a) < start(b); });
        std::vector<std::vector<QWidget*>> parts{{widgets.front()}};
        int reach = end(widgets.front());
        for (std::size_t i = 1; i < widgets.size(); ++i) {
            if (start(widgets[i]) > reach - kOverlap)
                parts.emplace_back();
            parts.back().push_back(widgets[i]);
            reach = std::max(reach, end(widgets[i]));
        }
        if (parts.size() > 1) {
            std::vector<QWidget*> ordered;
            for (std::vector<QWidget*>& part : parts)
                for (QWidget* w : readingOrder(std::move(part)))
                    ordered.push_back(w);
            return ordered;
        }
    }
    // Interlocked: by their top left corners.
    std::stable_sort(widgets.begin(), widgets.end(), [](QWidget* a, QWidget* b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    return widgets;
}

// The tab stops inside `container`, in reading order: a control is one
// stop (an editable combo with its parts), a frame or panel gives its own.
void collectTabStops(QWidget& window, QWidget& container, std::vector<QWidget*>& stops)
{
    std::vector<QWidget*> placed;
    for (QWidget* w : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow() && w->isVisibleTo(&window))
            placed.push_back(w);
    for (QWidget* w : readingOrder(std::move(placed))) {
        if (w->focusPolicy() & Qt::TabFocus)
            stops.push_back(w);
        else
            collectTabStops(window, *w, stops);
    }
}

} // namespace

void OrderTabsAsPlaced(QWidget& window)
{
    std::vector<QWidget*> stops;
    collectTabStops(window, window, stops);
    // Hidden controls follow, in the order they had, so that the chain runs
    // unbroken and the window's first control is the first one placed.
    const auto placed = [&stops](QWidget* w) {
        return std::any_of(stops.begin(), stops.end(), [w](QWidget* s) { return s == w || s->isAncestorOf(w); });
    };
    std::vector<QWidget*> rest;
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain())
        if (w->window() == &window && (w->focusPolicy() & Qt::TabFocus) && !placed(w))
            rest.push_back(w);
    stops.insert(stops.end(), rest.begin(), rest.end());
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

Form::Form(QWidget* parent) : QWidget(parent) {}

bool Form::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        OrderTabsAsPlaced(*this);
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate)
        activated();
    else if (event->type() == QEvent::Show && !isMinimized())
        // Without a window manager (a bare X server) nothing activates a
        // window: a window shown while none of the program's windows is
        // active counts as activated once the platform had its chance.
        QTimer::singleShot(kActivationGraceMs, this, [this] {
            if (isVisible() && !isMinimized() && !QApplication::activeWindow())
                activated();
        });
    return handled;
}

void Form::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier)) {
        if (QAbstractButton* button = closeButton(*this)) {
            button->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void Form::activated()
{
    if (lastActiveForm == this)
        return;
    lastActiveForm = this;
    Form_Activate();
}

void Form::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Form_TitleBarClose();
}

void Form::Form_TitleBarClose()
{
    if (unloadDefault_)
        unloadDefault_();
    else
        unloadForm();
}

void Form::unloadForm()
{
    Form_Unload();
    hide();
    deleteLater();
}

} // namespace varnet
