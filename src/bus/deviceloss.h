#pragma once

// A device on a serial port of its own that can go away during a run: a USB
// adapter pulled out, a device that hangs up, a write that fails, output
// that the driver holds longer than the line needs to carry it. The window
// that holds the port keeps one of these beside it and decides what the
// user is asked; this keeps what every such window must get right alike:
//
// - the port is closed at the loss, so that the device is opened again by
//   its COM name (resolveComPort keeps a number to its entry: never another
//   device) and a close never waits for bytes that will not go out;
// - the loss is told once, not once per tick: ReportDue() is true for the
//   first look after a loss and not again until a write gets through;
// - the output last handed to the port goes out again when the device is
//   back, since what was written as it went away may not have reached it.

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

namespace varnet {

class SerialPort;

// The description of a loss found by OutputStalled().
inline constexpr const char* kOutputStalled = "The device stopped taking data";

// The question after a loss: `what` (the line naming the device and the
// writing), the reason, and whether to go on.
QString DeviceLossQuestion(const QString& what, const QString& reason);

class DeviceLoss {
public:
    DeviceLoss() { clock_.start(); }

    // A run starts: nothing lost or told, the line counts as moving now.
    void Reset();

    // The device went away: what `port` still holds is dropped and it is
    // closed. The first description of an outage is the one kept.
    void Lost(SerialPort& port, const QString& description);
    bool IsLost() const { return lost_; }
    const QString& Reason() const { return reason_; }

    // true once per outage, the first time it is asked after a loss; false
    // again until a write got through after the device came back.
    bool ReportDue();
    bool Reported() const { return reported_; }

    // Whether what the driver holds (`held`) has stayed longer than the line
    // needs to carry it, for a writer that writes every `intervalMs`. The
    // line takes the bytes one after the other: while it does, what is held
    // falls between two looks.
    bool OutputStalled(int held, int intervalMs);

    // `output` went to the port, which with it holds `held` bytes: the
    // device takes data, and this is the output to repeat after a loss.
    void Written(const QByteArray& output, int held);
    // The device was reached by output that is not repeated (a single
    // frame of a dialog): it is there.
    void Reached() { lost_ = reported_ = false; }

    // The device is back on `port`: the output last written goes out again.
    // A failed write is a loss again.
    void Back(SerialPort& port);

    // `port` open on COM `number` with receive units of `unitBytes`, opened
    // there quietly when it is not (or is open on another number); false
    // when that is not possible or the number is below 1. A device away
    // whose COM entry now leads to something that is no serial device is
    // told once more, with that reason: the user who answered the loss is
    // waiting for it to come back, and it will not until the link changes.
    bool PortReady(SerialPort& port, int number, int unitBytes);

private:
    bool lost_ = false;
    bool reported_ = false;
    QString reason_;
    QByteArray lastOutput_;
    QElapsedTimer clock_;
    int heldBefore_ = 0;         // held after the last write
    qint64 lastProgressMs_ = 0;  // when the line was last seen taking bytes
};

} // namespace varnet
