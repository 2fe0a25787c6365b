#include "support/scripted_messages.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Varnet");
    QApplication::setApplicationDisplayName("Varnet");
    // Outside a test's own script any message box is a failure: an empty
    // script stays installed underneath every test's own.
    varnet::testing::ScriptedMessages noMessages;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
