#pragma once

#include "platform/keystrokes.h"

#include <QStringList>

namespace varnet::testing {

// Records the key sequences instead of typing them. Installs itself for its
// lifetime.
class FakeKeystrokes final : public KeystrokeInjector {
public:
    FakeKeystrokes() : previous_(setKeystrokeInjector(this)) {}
    ~FakeKeystrokes() override { setKeystrokeInjector(previous_); }
    FakeKeystrokes(const FakeKeystrokes&) = delete;
    FakeKeystrokes& operator=(const FakeKeystrokes&) = delete;

    void inject(const QString& sequence) override { sent_.append(sequence); }

    // Every sequence injected, in order.
    const QStringList& sent() const { return sent_; }
    void clearSent() { sent_.clear(); }

private:
    QStringList sent_;
    KeystrokeInjector* previous_;
};

} // namespace varnet::testing
