#pragma once

// A QApplication on Qt's xcb platform, on a private Xvfb server: for the few
// test programs that need the real X11 platform while the others run
// offscreen. One per program.

#include "support/private_xserver.h"

#include <QApplication>

#include <memory>
#include <string>

namespace varnet::testing {

class XcbApplication {
public:
    explicit XcbApplication(const char* programName, const char* screen = "640x480x24") : name_(programName)
    {
        display_ = server_.start(screen);
        if (display_.empty()) {
            whyNot_ = "no Xvfb server could be started";
            return;
        }
        qputenv("DISPLAY", display_.c_str());
        // Offscreen when xcb cannot start, so that the test skips instead of
        // the program aborting.
        qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        if (QGuiApplication::platformName() != "xcb")
            whyNot_ = "Qt's xcb platform cannot run here";
    }

    // Empty when the test can run here; otherwise why it skips.
    const std::string& whyNot() const { return whyNot_; }
    // The private server's display name (":97").
    const std::string& display() const { return display_; }

private:
    PrivateXServer server_;  // first: it outlives the application
    std::string name_;
    int argc_ = 1;
    char* argv_[2] = {name_.data(), nullptr};
    std::string display_;
    std::string whyNot_;
    std::unique_ptr<QApplication> app_;
};

} // namespace varnet::testing
