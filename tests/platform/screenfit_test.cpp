#include "platform/screenfit.h"

#include <gtest/gtest.h>

namespace varnet {
namespace {

// A laptop's free area under a 30-pixel panel, and a frame with a 20-pixel
// title bar.
const QRect kLaptop(0, 30, 1280, 770);
const QMargins kFrame(1, 20, 1, 5);

TEST(ScreenFit, AWindowKeepsItsSizeWhereThereIsRoomAndShrinksOrScrollsWhereNot)
{
    struct Case {
        const char* what;
        QRect geometry;
        bool placed;
        QSize minimum;
        QRect over;
        QRect fits;
        bool scrolls;
    };
    const Case cases[] = {
        {"fits: opens with its frame centred over the frame it comes from", {0, 0, 400, 300}, false, {200, 100},
         {100, 100, 600, 400}, {200, 158, 400, 300}, false},
        {"fits, opened from nowhere: the middle of the free area", {0, 0, 400, 300}, false, {200, 100}, {},
         {440, 272, 400, 300}, false},
        {"over a window at the edge: kept on the free area", {0, 0, 400, 300}, false, {200, 100}, {1100, 600, 180, 200},
         {879, 495, 400, 300}, false},
        {"too high, shrinkable: as high as the room", {0, 0, 1100, 900}, false, {660, 500}, {}, {90, 50, 1100, 745}, false},
        {"too high to shrink: scrolls, a scroll bar wider", {0, 0, 1100, 900}, false, {660, 882}, {},
         {83, 50, 1114, 745}, true},
        {"too wide and too high: scrolls both ways within the room", {0, 0, 1500, 900}, false, {1400, 882}, {},
         {1, 50, 1278, 745}, true},
        {"placed partly off the screen: moved back, same size", {1000, 600, 400, 300}, true, {200, 100}, {},
         {879, 495, 400, 300}, false},
        {"placed above the panel: below it", {300, 0, 400, 300}, true, {200, 100}, {}, {300, 50, 400, 300}, false},
        {"placed inside: stays", {300, 200, 400, 300}, true, {200, 100}, {100, 100, 600, 400}, {300, 200, 400, 300},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WindowFit fit = FitWindow({c.geometry, c.placed, c.minimum, kFrame, c.over, 14}, kLaptop);
        EXPECT_EQ(fit.geometry, c.fits);
        EXPECT_EQ(fit.scrolls, c.scrolls);
        EXPECT_TRUE(kLaptop.contains(fit.geometry.marginsAdded(kFrame)));
    }
}

} // namespace
} // namespace varnet
