#include "platform/form.h"
#include "platform/wait.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace varnet {
namespace {

class CountingForm : public Form {
public:
    static inline int loads = 0;
    static inline int unloads = 0;
    void Form_Load() override { ++loads; }

protected:
    void Form_Unload() override { ++unloads; }
};

TEST(DefaultFormTest, CreatedOnFirstReferenceAndFreshAfterUnload)
{
    CountingForm::loads = CountingForm::unloads = 0;
    EXPECT_FALSE(DefaultForm<CountingForm>::loaded());
    CountingForm& first = DefaultForm<CountingForm>::get();
    EXPECT_EQ(&DefaultForm<CountingForm>::get(), &first);
    EXPECT_EQ(CountingForm::loads, 1);

    const QPointer<CountingForm> old(&first);
    DefaultForm<CountingForm>::unload();
    EXPECT_EQ(CountingForm::unloads, 1);
    EXPECT_FALSE(DefaultForm<CountingForm>::loaded());
    EXPECT_TRUE(old);  // still there for a handler that is inside a wait
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(old);

    DefaultForm<CountingForm>::get();
    EXPECT_EQ(CountingForm::loads, 2);
    DefaultForm<CountingForm>::unload();
    DefaultForm<CountingForm>::unload();  // a second unload does nothing
    EXPECT_EQ(CountingForm::unloads, 2);
}

TEST(DefaultFormTest, UnloadDuringAWaitLeavesTheWaitingHandlerSafe)
{
    CountingForm& form = DefaultForm<CountingForm>::get();
    const QPointer<CountingForm> self(&form);
    QTimer::singleShot(10, [] { DefaultForm<CountingForm>::unload(); });
    // The deferred delete only runs from the event loop that called
    // deleteLater's caller; run one round after the wait to let it happen.
    waitUntil([&] { return !DefaultForm<CountingForm>::loaded(); }, 1000);
    EXPECT_FALSE(DefaultForm<CountingForm>::loaded());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(self);
}

} // namespace
} // namespace varnet
