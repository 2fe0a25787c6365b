#pragma once

// The far end of a serial link for the test peers: a pseudo-terminal whose
// slave side is linked as "COM<n>" in the current directory (where the
// program's port layer finds it). The bytes the program writes reach the
// peer's take() on the Qt event loop, either as they come or, when paced
// (setLineRate), only as fast as the real line carries them; the rest waits
// in the pseudo-terminal and then in the program's port, as it would in the
// driver of a serial port.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QByteArray;
class QCommandLineOption;
class QCommandLineParser;
class QCoreApplication;
class QSocketNotifier;

namespace varnet::testing {

class PtyDevice : public QObject {
    Q_OBJECT

public:
    // 38400 baud, a start bit, 8 data bits and 2 stop bits.
    static constexpr double kLineRate = 38400.0 / 11;

    explicit PtyDevice(int comNumber, QObject* parent = nullptr);
    ~PtyDevice() override;
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // false when the pseudo-terminal or the link could not be made, or the
    // device was pulled.
    bool ready() const { return master_ >= 0; }
    // Goes the way of a USB adapter pulled out of the PC: both ends of the
    // pseudo-terminal close (the program's side sees a hang-up) and the COM
    // link disappears with them.
    void pull();
    int comNumber() const { return comNumber_; }

    // Bytes from the device to the program.
    void send(const QByteArray& bytes) { sendSome(bytes); }
    // As many of them as the pseudo-terminal takes now (it fills up while
    // the program does not read); returns how many that were.
    qsizetype sendSome(const QByteArray& bytes);

    // Takes at most `bytesPerSecond` from the program; 0 (the default) takes
    // the bytes as they come.
    void setLineRate(double bytesPerSecond);
    // Bytes the program wrote that the line has not carried yet, as far as
    // the pseudo-terminal tells: it counts up to 4095.
    int lineBacklog() const;

protected:
    // Every byte the line carries, in order.
    virtual void take(const char* bytes, qsizetype count) = 0;

private:
    void readMaster();
    // One step of a paced line: what it carried since the last one.
    void carry();

    int comNumber_;
    int master_ = -1;
    int slave_ = -1;  // held open so that the master never sees a hang-up
    QString link_;
    QSocketNotifier* notifier_ = nullptr;
    double lineRate_ = 0;
    double lineFreeAtMs_ = 0;  // when the line carried its last byte
    QElapsedTimer lineClock_;
    QTimer lineTimer_;
};

// For the peers' programs: Ctrl+C and kill end the event loop, so that the
// COM link is removed.
void quitOnSignals(QCoreApplication& app);

// The value of a --com option: a number of 1 or more. Otherwise says so on
// stderr under `program`'s name and gives 0.
int comNumberOption(const QCommandLineParser& parser, const QCommandLineOption& option, const char* program);

} // namespace varnet::testing
