#pragma once

// Where a window goes and how large it is on the screen it opens on: a
// window keeps the size its design gives it where the screen has room for
// it, shrinks to the screen's free area (without panels and docks) where it
// has not, and scrolls where its controls cannot shrink that far. The frame
// that the window manager draws around it counts: title bar and borders
// stay on the screen too.

#include <QMargins>
#include <QRect>
#include <QSize>

namespace varnet {

struct WindowFit {
    // The window's inside, without the frame, in screen coordinates.
    QRect geometry;
    // Its controls need more than the room there is: they scroll.
    bool scrolls = false;
};

struct WindowToFit {
    // The window's inside as it stands: its size and, where `placed`, its
    // position.
    QRect geometry;
    // Placed already: moved by the program or by the user, or shown before.
    // Such a window keeps its place as far as the free area allows; one that
    // is not opens with its frame in the middle of `over`'s frame, or in the
    // middle of the free area.
    bool placed = false;
    // The smallest inside its controls can take without scrolling.
    QSize minimum;
    QMargins frame;
    // The frame of the window it opens over; empty when none.
    QRect over;
    // The room a scroll bar takes beside or below what scrolls.
    int scrollBarExtent = 0;
};

WindowFit FitWindow(const WindowToFit& window, const QRect& freeArea);

} // namespace varnet
