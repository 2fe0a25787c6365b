#include "support/fake_clock.h"

namespace varnet::testing {

FakeClock::FakeClock(const QDateTime& start) : now_(start), previous_(setClock(this)) {}

FakeClock::~FakeClock()
{
    setClock(previous_);
}

} // namespace varnet::testing
