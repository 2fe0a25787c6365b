#include "support/scripted_messages.h"

#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

// The screens these tests run on: a laptop with a 1280x720 screen, the
// smallest the program is made for, and a large screen beside it.
int main(int argc, char** argv)
{
    QTemporaryFile screens;
    if (!screens.open())
        return 2;
    screens.write(R"({"screens": [
        {"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 720, "logicalDpi": 96, "dpr": 1},
        {"name": "large", "x": 1280, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96, "dpr": 1}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.fileName()).toLocal8Bit());
    QApplication app(argc, argv);
    varnet::testing::ScriptedMessages noMessages;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
