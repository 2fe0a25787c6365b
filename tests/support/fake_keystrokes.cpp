#include "support/fake_keystrokes.h"

namespace varnet::testing {

FakeKeystrokes::FakeKeystrokes() : previous_(setKeystrokeInjector(this)) {}

FakeKeystrokes::~FakeKeystrokes()
{
    setKeystrokeInjector(previous_);
}

} // namespace varnet::testing
