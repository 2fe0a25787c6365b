#include "support/scripted_messages.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Outside a test's own script, any message box is a failure: this service
// stays installed underneath every ScriptedMessages.
class NoMessagesExpected final : public varnet::MessageService {
public:
    void ok(const QString& text) override { fail("OK box", text); }
    bool yesNo(const QString& text) override { return fail("Yes/No box", text), false; }
    std::optional<QString> input(const QString& prompt, const QString&) override
    {
        fail("input box", prompt);
        return std::nullopt;
    }

private:
    static void fail(const char* kind, const QString& text)
    {
        ADD_FAILURE() << "unexpected " << kind << ": \"" << text.toStdString() << "\"";
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Varnet");
    QApplication::setApplicationDisplayName("Varnet");
    NoMessagesExpected noMessages;
    varnet::setMessageService(&noMessages);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    varnet::setMessageService(nullptr);
    return result;
}
