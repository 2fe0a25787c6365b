#include "platform/keystrokes.h"

#include "support/scripted_messages.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace varnet {
namespace {

SequenceKey character(char16_t c, bool ctrl = false, bool shift = false)
{
    return SequenceKey{ctrl, shift, std::nullopt, QChar(c)};
}

SequenceKey named(NamedKey key, bool ctrl = false, bool shift = false)
{
    return SequenceKey{ctrl, shift, key, QChar()};
}

TEST(KeySequence, ModifiersHoldForTheNextKeyOnlyAndBracesNameKeysOrEscapeTheNotation)
{
    EXPECT_EQ(parseKeySequence("^+ab"), (std::vector{character(u'a', true, true), character(u'b')}));
    EXPECT_EQ(parseKeySequence("^{ENTER}{f16}{}}{{}{+}{%}{~}{(}{[}é"),
              (std::vector{named(NamedKey::Enter, true), named(NamedKey::F16), character(u'}'), character(u'{'),
                           character(u'+'), character(u'%'), character(u'~'), character(u'('), character(u'['),
                           character(u'é')}));
    // Text outside the notation is refused.
    for (const char* text : {"{NOPE}", "a+", "^", "{", "{}", "{ENTER", "a}", "%", "~", "(a)", "[", "{+ 3}"})
        EXPECT_FALSE(parseKeySequence(text)) << text;
}

// With DISPLAY set to `display` (unset for nullptr) the first key sequence
// shows the one box that says why, the next one none.
void expectOneBoxThenSilence(const char* display, const QString& reason)
{
    const bool had = qEnvironmentVariableIsSet("DISPLAY");
    const QByteArray old = qgetenv("DISPLAY");
    display ? qputenv("DISPLAY", display) : qunsetenv("DISPLAY");
    {
        X11KeystrokeInjector injector;
        testing::ScriptedMessages boxes;
        boxes.expectOk("Keystrokes cannot be sent: " + reason
                       + ".\r\nThey need an X11 session with the XTEST extension; "
                         "none will be sent until the program is restarted.");
        injector.inject("a");
        injector.inject("^{ENTER}");
    }
    had ? qputenv("DISPLAY", old) : qunsetenv("DISPLAY");
}

TEST(X11KeystrokeInjector, WithoutADisplaySaysSoOnceAndSendsNothing)
{
    expectOneBoxThenSilence(nullptr, "DISPLAY is not set");
    expectOneBoxThenSilence(":4093", "the X11 display \":4093\" cannot be opened");
}

} // namespace
} // namespace varnet
