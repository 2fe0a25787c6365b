#pragma once

// Shared by the fuzz targets: a message service that answers every box
// without blocking, the Qt application the windows need, and checks that end
// the run with a message when a property of the program does not hold.

#include "platform/messages.h"

#include <cstdio>
#include <cstdlib>

// A property that must hold for every input; a failure is a finding.
#define FUZZ_CHECK(condition)                                                                       \
    do {                                                                                            \
        if (!(condition)) {                                                                         \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                           \
        }                                                                                           \
    } while (false)

namespace varnet::fuzzing {

// Answers Yes to every question (so that a run goes on as far as it can),
// OK to every notice, and counts them.
class AnsweringMessages final : public MessageService {
public:
    int boxes = 0;
    int notices = 0;  // OK boxes among them
    void ok(const QString&) override { ++boxes, ++notices; }
    bool yesNo(const QString&) override { return ++boxes, true; }
    std::optional<QString> input(const QString&, const QString&) override { return ++boxes, std::nullopt; }
};

// Installs the answering service; creates an offscreen QApplication once
// when `widgets` is set (the simulator link and the run window are windows).
// Returns the service.
AnsweringMessages& setUpFuzzing(bool widgets);

} // namespace varnet::fuzzing
