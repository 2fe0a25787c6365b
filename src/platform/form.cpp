#include "platform/form.h"

#include "platform/screenfit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

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

// How soon after a window was shown minimized the window manager's putting
// it on the screen at normal size is its own doing, not the user's.
constexpr int kShownMinimizedSettleMs = 1000;

// The frame that a window manager draws, reckoned until it has framed a
// window of the program: a title bar and thin borders, on the large side.
constexpr QMargins kFrameReckoned(8, 36, 8, 8);

// The scroll area a window's controls move into when they do not fit.
const QLatin1String kScrollAreaName("formScrollArea");

// How long after a window showed its frame is looked at again: by then the
// window manager has framed it.
constexpr int kFramedAfterMs = 300;

// The frame the window manager draws around `window`: its own where the
// window is framed already, else that of another window of the program.
QMargins frameOf(const QWidget& window)
{
    static QMargins lastSeen;
    const auto framed = [](const QWidget& w) {
        const QWindow* handle = w.windowHandle();
        return handle && w.isVisible() ? handle->frameMargins() : QMargins();
    };
    QMargins frame = framed(window);
    for (QWidget* other : QApplication::topLevelWidgets())
        if (frame.isNull() && other != &window)
            frame = framed(*other);
    if (!frame.isNull())
        lastSeen = frame;
    return lastSeen.isNull() ? kFrameReckoned : lastSeen;
}

// The smallest inside `window`'s controls can take.
QSize minimumInside(const QWidget& window)
{
    QSize minimum = window.minimumSize();
    if (const QLayout* layout = window.layout())
        return minimum.expandedTo(layout->totalMinimumSize());
    // Controls placed by hand: as far as they reach.
    const QRect placed = window.childrenRect();
    return minimum.expandedTo(QSize(placed.right() + 1, placed.bottom() + 1));
}

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
    // A box of several lines passes Tab on like any other box, rather than
    // typing it into its text: a walk with the keyboard does not end there.
    for (QPlainTextEdit* box : window.findChildren<QPlainTextEdit*>())
        box->setTabChangesFocus(true);
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

int TitleBarWidth(const QWidget& window)
{
    QFont bold = window.font();
    bold.setBold(true);
    const QFontMetrics title(bold);
    // A quarter more for a title font larger than the controls'; each button
    // about a line high, with room on either side of it.
    constexpr int kTitleBarButtons = 4;
    return title.horizontalAdvance(window.windowTitle()) * 5 / 4 + kTitleBarButtons * 2 * title.height();
}

namespace {

// The loaded windows, in the order they were made.
std::vector<Form*>& loadedList()
{
    static std::vector<Form*> forms;
    return forms;
}

void forget(const Form* form)
{
    std::erase(loadedList(), form);
}

} // namespace

Form::Form(QWidget* parent) : QWidget(parent)
{
    loadedList().push_back(this);
}

Form::~Form()
{
    forget(this);
}

std::vector<QPointer<Form>> Form::loadedForms()
{
    return {loadedList().begin(), loadedList().end()};
}

bool Form::isLoaded() const
{
    return std::find(loadedList().begin(), loadedList().end(), this) != loadedList().end();
}

void Form::Form_ConfigurationReplaced()
{
    // Only a ConfigurationView says it shows the configuration, and it
    // cannot leave out showing it anew.
    Q_ASSERT(configurationHeld() != ConfigurationHeld::Shown);
}

void Form::Form_ConfigurationReplacing()
{
    if (configurationHeld() == ConfigurationHeld::Record)
        Form_CloseUnasked();
}

bool Form::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        OrderTabsAsPlaced(*this);
    const bool handled = QWidget::event(event);
    // A window shown minimized (showMinimized) that the window manager puts
    // on the screen at normal size at once, as one may when it gives the
    // new window the keyboard, is minimized again: nobody brings back a
    // window within a moment of its showing.
    if (event->type() == QEvent::WindowStateChange && event->spontaneous() && shownMinimized_.isValid()) {
        const bool restoredAtOnce = !shownMinimized_.hasExpired(kShownMinimizedSettleMs) && !isMinimized();
        shownMinimized_.invalidate();
        if (restoredAtOnce)
            QTimer::singleShot(0, this, [this] { minimize(); });
    }
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

void Form::setVisible(bool visible)
{
    if (!visible || !isWindow()) {
        QWidget::setVisible(visible);
        return;
    }
    const bool wasVisible = isVisible();
    if (!wasVisible)
        fitToScreen();
    if (!wasVisible && isMinimized())
        shownMinimized_.start();
    QWidget::setVisible(true);
    if (!wasVisible && !shownBefore_) {
        shownBefore_ = true;
        QTimer::singleShot(kFramedAfterMs, this, [this] { keepFrameOnScreen(); });
    }
    // Shown again while open: the window comes back from the taskbar.
    if (wasVisible && isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!isMinimized()) {
        raise();
        activateWindow();
    }
}

void Form::fitToScreen()
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    ensurePolished();
    if (QLayout* own = layout())
        own->activate();
    if (!testAttribute(Qt::WA_Resized))
        adjustSize();
    QWidget* over = QApplication::activeWindow();
    if (over == this || (over && over->isMinimized()))
        over = nullptr;
    const bool placed = shownBefore_ || testAttribute(Qt::WA_Moved);
    QScreen* screen = placed ? QGuiApplication::screenAt(geometry().center()) : over ? over->screen() : nullptr;
    fitTo(screen ? screen : QGuiApplication::primaryScreen(), placed, over);
}

void Form::keepFrameOnScreen()
{
    if (!isVisible() || (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    if (screen() && !screen()->availableGeometry().contains(frameGeometry()))
        fitTo(screen(), true, nullptr);
}

void Form::fitTo(const QScreen* screen, bool placed, const QWidget* over)
{
    if (!screen)
        return;
    WindowToFit window;
    window.geometry = geometry();
    window.placed = placed;
    window.minimum = minimumInside(*this);
    window.frame = frameOf(*this);
    window.over = over ? over->frameGeometry() : QRect();
    window.scrollBarExtent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const WindowFit fit = FitWindow(window, screen->availableGeometry());
    if (fit.scrolls)
        scrollContents();
    if (fit.geometry != window.geometry || !placed)
        setGeometry(fit.geometry);
}

QWidget& Form::contents()
{
    const auto* area = findChild<QScrollArea*>(kScrollAreaName, Qt::FindDirectChildrenOnly);
    return area ? *area->widget() : *this;
}

void Form::scrollContents()
{
    if (findChild<QScrollArea*>(kScrollAreaName, Qt::FindDirectChildrenOnly))
        return;
    // Every control goes along, the hidden ones staying hidden, those placed
    // by hand at their places.
    struct Moved {
        QWidget* widget;
        QPoint at;
        bool hidden;
    };
    std::vector<Moved> moved;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow())
            moved.push_back({w, w->pos(), w->isHidden()});
    auto* contents = new QWidget;
    contents->setObjectName(QLatin1String("formContents"));
    if (QLayout* own = layout())
        contents->setLayout(own);
    else
        contents->setMinimumSize(minimumInside(*this));
    for (const Moved& m : moved) {
        if (m.widget->parentWidget() != contents) {
            m.widget->setParent(contents);
            m.widget->move(m.at);
        }
        m.widget->setHidden(m.hidden);
    }
    auto* area = new QScrollArea(this);
    area->setObjectName(kScrollAreaName);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    area->setWidget(contents);
    // The least size the controls asked for is now the scroll area's.
    setMinimumSize(0, 0);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
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
    forget(this);
    Form_Unload();
    hide();
    deleteLater();
}

} // namespace varnet
