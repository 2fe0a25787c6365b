#include "app/shell.h"
#include "app/startwindow.h"
#include "platform/wait.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A request to terminate (SIGTERM, SIGINT from the terminal, SIGHUP when the
// terminal closes or the user logs out) is handled on the event loop as the
// Exit of the window the program is on, so the simulator is told to stop
// its data and the ports are closed as by the Exit button. One that comes
// while a box or a wait is open closes it first and exits once the handler
// behind it has returned (RequestEnd). The signal handler itself only
// writes one byte.
int terminationPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminationPipe[1], &byte, 1);
}

void handleTerminationSignals(QObject* owner)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, terminationPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(terminationPipe[0], &byte, 1);
        varnet::RequestEnd(varnet::ExitThroughCurrentWindow);
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
    // A file size limit is a full disk to the program: the save fails and
    // says so, and the old file stays, instead of the process being killed.
    ::signal(SIGXFSZ, SIG_IGN);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The name alone: message boxes take it as their title, while an
    // application display name would be appended to every window's caption.
    QApplication::setApplicationName("Varnet");

    handleTerminationSignals(&app);
    varnet::OnEndProgram = [] { QCoreApplication::exit(0); };
    varnet::InstallShell();
    varnet::DefaultForm<varnet::frmMain>::get().show();
    return app.exec();
}
