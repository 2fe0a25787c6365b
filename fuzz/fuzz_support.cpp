#include "fuzz/fuzz_support.h"

#include <QApplication>

namespace varnet::fuzzing {

AnsweringMessages& setUpFuzzing(bool widgets)
{
    static AnsweringMessages service;
    setMessageService(&service);
    if (widgets && !QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    return service;
}

} // namespace varnet::fuzzing
