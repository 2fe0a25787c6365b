#include "platform/screenfit.h"

#include <algorithm>

namespace varnet {

namespace {

// The start of a span of `length` placed at `wanted`, moved as little as
// needed to lie within [low, low + room).
int keepWithin(int wanted, int length, int low, int room)
{
    return std::clamp(wanted, low, low + std::max(0, room - length));
}

} // namespace

WindowFit FitWindow(const WindowToFit& window, const QRect& freeArea)
{
    // Where the inside may lie so that the frame stays on the free area.
    const QRect room = freeArea.marginsRemoved(window.frame);
    WindowFit fit;
    const bool tooWide = window.minimum.width() > room.width();
    const bool tooHigh = window.minimum.height() > room.height();
    fit.scrolls = tooWide || tooHigh;
    QSize size = window.geometry.size();
    // A scroll bar along one side takes room from the other direction: the
    // window widens (or heightens) by it where the screen allows, so that it
    // does not need a second one.
    if (tooHigh && !tooWide)
        size.rwidth() += window.scrollBarExtent;
    if (tooWide && !tooHigh)
        size.rheight() += window.scrollBarExtent;
    size = size.boundedTo(room.size()).expandedTo(QSize(1, 1));

    QPoint at = window.geometry.topLeft();
    const auto middleOf = [](const QRect& r) { return r.topLeft() + QPoint(r.width() / 2, r.height() / 2); };
    if (!window.placed && window.over.isValid()) {
        // Frame on frame: the inside's middle lies above its frame's by half
        // what the title bar adds over the bottom border, so inside on frame
        // would open each window that much higher than the one it came from,
        // and windows that open each other in turn would creep up the screen.
        const QSize framed = size.grownBy(window.frame);
        at = middleOf(window.over) - QPoint(framed.width() / 2, framed.height() / 2) +
             QPoint(window.frame.left(), window.frame.top());
    } else if (!window.placed) {
        at = middleOf(room) - QPoint(size.width() / 2, size.height() / 2);
    }
    at = QPoint(keepWithin(at.x(), size.width(), room.left(), room.width()),
                keepWithin(at.y(), size.height(), room.top(), room.height()));
    fit.geometry = QRect(at, size);
    return fit;
}

} // namespace varnet
