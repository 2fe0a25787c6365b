// Types through the real X11 injector into a window of this test on a private
// Xvfb server, and checks what the window received. A program of its own:
// it needs the xcb platform, while the other tests run offscreen.

#include "platform/keystrokes.h"
#include "platform/messages.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace varnet {
namespace {

// An Xvfb server on the first free display of a few, stopped on destruction.
// Never the session's own display: the keys must not reach a real desktop.
class PrivateXServer {
public:
    ~PrivateXServer()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    // The display name (":97"), or empty when no server could be started.
    std::string start()
    {
        const char* xvfb = "/usr/bin/Xvfb";
        if (access(xvfb, X_OK) != 0)
            return {};
        for (int number = 97; number <= 105; ++number) {
            if (startOn(xvfb, number))
                return ":" + std::to_string(number);
        }
        return {};
    }

private:
    // Xvfb writes the display number to -displayfd once it accepts clients,
    // and exits when the display is taken.
    bool startOn(const char* xvfb, int number)
    {
        int ready[2];
        if (pipe(ready) != 0)
            return false;
        const pid_t pid = fork();
        if (pid == 0) {
            // The server goes with this program, also when it is killed.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(ready[0]);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
            const std::string display = ":" + std::to_string(number);
            const std::string fd = std::to_string(ready[1]);
            execl(xvfb, xvfb, display.c_str(), "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                  "640x480x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        const bool started = pid > 0 && readLine(ready[0]);
        close(ready[0]);
        if (started) {
            pid_ = pid;
        } else if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        return started;
    }

    // The whole line: a server whose reader is gone before it wrote the line
    // end stops.
    static bool readLine(int fd)
    {
        char c = 0;
        pollfd wait{fd, POLLIN, 0};
        while (c != '\n') {
            if (poll(&wait, 1, 10000) != 1 || read(fd, &c, 1) != 1)
                return false;
        }
        return true;
    }

    pid_t pid_ = -1;
};

// Runs the event loop, user input included, until done() or the time is up.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.hasExpired(timeoutMs))
            return false;
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// Keeps every key press that reaches the line edit, as "Shift+F16".
class PressLog : public QObject {
public:
    QStringList presses;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            presses.append(QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()).toString());
        return false;
    }
};

// A box would block the test: the injector must find the display usable.
class NoBoxes final : public MessageService {
public:
    void ok(const QString& text) override { ADD_FAILURE() << "OK box: " << text.toStdString(); }
    bool yesNo(const QString& text) override { return ok(text), false; }
    std::optional<QString> input(const QString& prompt, const QString&) override
    {
        ok(prompt);
        return std::nullopt;
    }
};

class XTestTyping : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<PrivateXServer>();
        const std::string display = server->start();
        if (display.empty()) {
            skipReason = "no Xvfb server could be started";
            return;
        }
        qputenv("DISPLAY", display.c_str());
        // Offscreen when xcb cannot start, so that the tests skip instead of
        // the program aborting.
        qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
        static int argc = 1;
        static char name[] = "test_platform_xtest";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
        if (QGuiApplication::platformName() != "xcb") {
            skipReason = "Qt's xcb platform cannot run here";
            return;
        }
        edit = std::make_unique<QLineEdit>();
        edit->installEventFilter(&log);
        edit->show();
        edit->activateWindow();
        edit->setFocus();
        focused = runUntil([] { return edit->isActiveWindow() && edit->hasFocus(); });
        setMessageService(&noBoxes);
        injector = std::make_unique<X11KeystrokeInjector>();
    }

    static void TearDownTestSuite()
    {
        // Each needs the server that the next one stops.
        injector.reset();
        setMessageService(nullptr);
        edit.reset();
        app.reset();
        server.reset();
    }

    void SetUp() override
    {
        if (!skipReason.empty())
            GTEST_SKIP() << skipReason;
        ASSERT_TRUE(focused) << "the test window on the Xvfb server never got the focus";
        edit->clear();
        log.presses.clear();
    }

    // Types the sequence and lets the window take it in until it holds
    // `text` and saw the key press `lastPress`.
    static void type(const QString& sequence, const QString& text, const QString& lastPress)
    {
        injector->inject(sequence);
        runUntil([&] { return edit->text() == text && log.presses.endsWith(lastPress); });
        EXPECT_EQ(edit->text(), text) << sequence.toStdString();
        EXPECT_TRUE(log.presses.endsWith(lastPress)) << log.presses.join(' ').toStdString();
    }

    static inline std::unique_ptr<PrivateXServer> server;
    static inline std::unique_ptr<QApplication> app;
    static inline std::unique_ptr<QLineEdit> edit;
    static inline std::unique_ptr<X11KeystrokeInjector> injector;
    static inline PressLog log;
    static inline std::string skipReason;
    static inline bool focused = false;
    static inline NoBoxes noBoxes;
};

TEST_F(XTestTyping, ShiftedAndEscapedCharacters)
{
    type("+ab{+}{%}{}}", "Ab+%}", "Shift+}");
}

TEST_F(XTestTyping, CtrlAndNamedKeys)
{
    // Ctrl+A selects everything, which the backspace then deletes.
    type("abc^a{BACKSPACE}z^+{ENTER}", "z", "Ctrl+Shift+Return");
}

TEST_F(XTestTyping, KeysTheKeyboardMapLacksGoOnSpareKeyCodes)
{
    type("\u00e9{F13}\u00c9\u00fe+{F16}", "\u00e9\u00c9\u00fe", "Shift+F16");
    EXPECT_TRUE(log.presses.contains("F13")) << log.presses.join(' ').toStdString();
}

} // namespace
} // namespace varnet
