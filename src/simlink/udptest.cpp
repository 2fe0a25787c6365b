#include "simlink/udptest.h"

#include "config/numinput.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "simlink/simcom.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace varnet {

namespace {

std::optional<double> leading(const QString& text)
{
    return leadingNumber(text.toStdString());
}

std::optional<long long> leadingWhole(const QString& text, long long lo, long long hi)
{
    const std::optional<double> value = leading(text);
    return value ? RoundedInRange(*value, lo, hi) : std::nullopt;
}

SimCom& link()
{
    return DefaultForm<SimCom>::get();
}

} // namespace

QString TransmittedText(const QByteArray& packet)
{
    QString text;
    for (const char byte : packet)
        text += QString::number(Byte(byte)) + '.';
    return text;
}

std::optional<Byte> TestIndex(const QString& text)
{
    const auto index = leadingWhole(text, 0, 255);
    return index ? std::optional<Byte>(Byte(*index)) : std::nullopt;
}

std::optional<int> TestSlot(const QString& text)
{
    const auto slot = leadingWhole(text, 0, 7);
    return slot ? std::optional<int>(int(*slot)) : std::nullopt;
}

std::optional<Single> TestFloatData(const QString& text)
{
    const std::optional<double> value = leading(text);
    if (!value || std::fabs(*value) > FLT_MAX)
        return std::nullopt;
    return Single(*value);
}

std::optional<Long> TestIntegerData(const QString& text)
{
    const auto value = leadingWhole(text, std::numeric_limits<Long>::min(), std::numeric_limits<Long>::max());
    return value ? std::optional<Long>(Long(*value)) : std::nullopt;
}

std::optional<int> TestCharacterCode(const QString& text)
{
    if (text.isEmpty() || text.front().unicode() > 255)
        return std::nullopt;
    return int(text.front().unicode());
}

frmTestXplaneInterface::frmTestXplaneInterface()
{
    setObjectName(QStringLiteral("frmTestXplaneInterface"));
    setWindowTitle(QStringLiteral("Test Xplane UDP communication"));

    auto* control = new QGroupBox(QStringLiteral("Control Commands"), this);
    control->setObjectName(QStringLiteral("Frame3"));
    auto* cmdClearConverted = button("cmdClearConverted", "Clear Converted data", control);
    auto* cmdClearRaw = button("cmdClearRaw", "Clear rawdata", control);
    auto* cmdExit = button("cmdExit", "Close", control);
    auto* controlLayout = new QVBoxLayout(control);
    controlLayout->addWidget(cmdClearConverted);
    controlLayout->addWidget(cmdClearRaw);
    controlLayout->addWidget(cmdExit);

    auto* settings = new QGroupBox(QStringLiteral("UDP IP and Port settings"), this);
    settings->setObjectName(QStringLiteral("Frame2"));
    boxRemoteIP = textBox("boxRemoteIP", settings);
    boxRemotePort = textBox("boxRemotePort", settings);
    boxLocalPort = textBox("boxLocalPort", settings);
    auto* order = new QGroupBox(QStringLiteral("Byte Order "), settings);
    order->setObjectName(QStringLiteral("Frame6"));
    OptionByteOrderNormal = new QRadioButton(QStringLiteral("Normal"), order);
    OptionByteOrderNormal->setObjectName(QStringLiteral("OptionByteOrderNormal"));
    OptionByteOrderReverse = new QRadioButton(QStringLiteral("Reverse"), order);
    OptionByteOrderReverse->setObjectName(QStringLiteral("OptionByteOrderReverse"));
    auto* orderLayout = new QVBoxLayout(order);
    orderLayout->addWidget(OptionByteOrderNormal);
    orderLayout->addWidget(OptionByteOrderReverse);
    BoxRun = textBox("BoxRun", settings, QStringLiteral("Stopped"));
    BoxRun->setReadOnly(true);
    boxIgnored = textBox("boxIgnored", settings, QStringLiteral("0"));
    boxIgnored->setReadOnly(true);
    auto* cmdStartUDP = button("cmdStartUDP", "Start UDP", settings);
    auto* CmdStopUDP = button("CmdStopUDP", "Stop UDP", settings);
    auto* settingsLayout = new QGridLayout(settings);
    settingsLayout->addWidget(label("Remote IP:", settings), 0, 0);
    settingsLayout->addWidget(boxRemoteIP, 0, 1);
    settingsLayout->addWidget(label("Remote Port:", settings), 1, 0);
    settingsLayout->addWidget(boxRemotePort, 1, 1);
    settingsLayout->addWidget(label(" Local Port:", settings), 2, 0);
    settingsLayout->addWidget(boxLocalPort, 2, 1);
    settingsLayout->addWidget(order, 0, 2, 3, 1);
    settingsLayout->addWidget(BoxRun, 3, 0);
    settingsLayout->addWidget(cmdStartUDP, 3, 1);
    settingsLayout->addWidget(CmdStopUDP, 3, 2);
    settingsLayout->addWidget(label("Ignored (not from Remote IP):", settings), 4, 0, 1, 2);
    settingsLayout->addWidget(boxIgnored, 4, 2);

    auto* send = new QGroupBox(QStringLiteral("Send Data to Xplane via UDP"), this);
    send->setObjectName(QStringLiteral("Frame1"));
    boxIndex = textBox("boxIndex", send);
    boxValue = textBox("boxValue", send);
    boxData = textBox("boxData", send);
    auto* cmdDataUdp = button("cmdDataUdp", "Send Data (float)", send);
    auto* cmdSendDataInteger = button("cmdSendDataInteger", "Send Data (integer)", send);
    auto* cmdSendCharacter = button("cmdSendCharacter", "send character", send);
    auto* cmdDSEL = button("cmdDSEL", "dsel", send);
    auto* cmdUSEL = button("cmdUSEL", "usel", send);
    auto* cmdView = button("cmdView", "View Transmitted data in box below", send);
    Text1 = textArea("Text1", send);
    auto* sendLayout = new QGridLayout(send);
    sendLayout->addWidget(label("Index", send), 0, 0);
    sendLayout->addWidget(label("Val#", send), 0, 1);
    sendLayout->addWidget(label("Data", send), 0, 2);
    sendLayout->addWidget(boxIndex, 1, 0);
    sendLayout->addWidget(boxValue, 1, 1);
    sendLayout->addWidget(boxData, 1, 2);
    sendLayout->addWidget(cmdDataUdp, 2, 0);
    sendLayout->addWidget(cmdSendDataInteger, 2, 1);
    sendLayout->addWidget(cmdSendCharacter, 2, 2);
    sendLayout->addWidget(cmdDSEL, 3, 0);
    sendLayout->addWidget(cmdUSEL, 3, 1);
    sendLayout->addWidget(cmdView, 4, 0, 1, 3);
    sendLayout->addWidget(Text1, 5, 0, 1, 3);

    UDPraw = textArea("UDPraw", this);
    UDPProcessed = textArea("UDPProcessed", this);

    auto* top = new QHBoxLayout;
    top->addWidget(control);
    top->addWidget(settings);
    auto* received = new QGridLayout;
    received->addWidget(label("Raw Data Received", this), 0, 0);
    received->addWidget(label("Converted Data Received", this), 0, 1);
    received->addWidget(UDPraw, 1, 0);
    received->addWidget(UDPProcessed, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(send);
    layout->addLayout(received, 1);
    resize(720, 640);

    auto* byteOrder = new QButtonGroup(this);
    byteOrder->addButton(OptionByteOrderNormal, 0);
    byteOrder->addButton(OptionByteOrderReverse, 1);
    connect(byteOrder, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            ByteOrder_Click(id == 1);
    });
    connect(cmdClearConverted, &QPushButton::clicked, UDPProcessed, &QPlainTextEdit::clear);
    connect(cmdClearRaw, &QPushButton::clicked, UDPraw, &QPlainTextEdit::clear);
    connect(cmdExit, &QPushButton::clicked, this, &frmTestXplaneInterface::CmdExit_Click);
    connect(cmdStartUDP, &QPushButton::clicked, this, &frmTestXplaneInterface::cmdStartUDP_Click);
    connect(CmdStopUDP, &QPushButton::clicked, this, &frmTestXplaneInterface::CmdStopUDP_Click);
    connect(cmdDataUdp, &QPushButton::clicked, this, &frmTestXplaneInterface::cmdDataUdp_Click);
    connect(cmdSendDataInteger, &QPushButton::clicked, this, &frmTestXplaneInterface::cmdSendDataInteger_Click);
    connect(cmdSendCharacter, &QPushButton::clicked, this, &frmTestXplaneInterface::cmdSendCharacter_Click);
    connect(cmdDSEL, &QPushButton::clicked, this, &frmTestXplaneInterface::cmdDSEL_Click);
    connect(cmdUSEL, &QPushButton::clicked, this, &frmTestXplaneInterface::cmdUSEL_Click);
    connect(cmdView, &QPushButton::clicked, this, &frmTestXplaneInterface::cmdView_Click);
}

void frmTestXplaneInterface::Form_Load()
{
    showSettings();
    {
        // Showing the setting is no choice of the user's.
        const QSignalBlocker normal(OptionByteOrderNormal);
        const QSignalBlocker reverse(OptionByteOrderReverse);
        (Cfg.ByteOrderReverse != 0 ? OptionByteOrderReverse : OptionByteOrderNormal)->setChecked(true);
    }
    showRunState();
    connect(&link(), &SimCom::TestDisplay, this, &frmTestXplaneInterface::showReceived);
    SimCom* shared = &link();
    connect(shared, &SimCom::UDPChanged, this, [this, shared] { linkChanged(*shared); });
    boxIgnored->setText(QString::number(link().UDPIgnoredCount));
    connect(&link(), &SimCom::DatagramIgnored, this, [this](int count) { boxIgnored->setText(QString::number(count)); });
}

void frmTestXplaneInterface::Form_Activate()
{
    if (!running_)
        showSettings();
}

void frmTestXplaneInterface::showSettings()
{
    for (const auto& [box, setting] : {std::pair{boxRemoteIP, &Cfg.RemoteIP}, std::pair{boxRemotePort, &Cfg.RemotePort},
                                       std::pair{boxLocalPort, &Cfg.LocalPort}}) {
        if (!box->isModified())
            box->setText(QString::fromStdString(*setting));
    }
}

void frmTestXplaneInterface::ShowWindow()
{
    frmTestXplaneInterface& window = DefaultForm<frmTestXplaneInterface>::get();
    window.show();
}

void frmTestXplaneInterface::Form_Unload()
{
    // However the window goes, the sim ports get the received values again.
    if (running_)
        link().UDPTestDisplay = false;
}

void frmTestXplaneInterface::showRunState()
{
    BoxRun->setText(running_ ? QStringLiteral("Running") : QStringLiteral("Stopped"));
    BoxRun->setStyleSheet(running_ ? QStringLiteral("background-color: rgb(255, 0, 0);")
                                   : QStringLiteral("background-color: rgb(0, 192, 0);"));
}

void frmTestXplaneInterface::cmdStartUDP_Click()
{
    if (running_)
        return;
    SimCom& l = link();
    const QPointer<frmTestXplaneInterface> self(this);
    if (l.UDPClosed()) {
        // The ports typed are those the test opens the link on: they follow
        // the configuration screen's rule. The settings stay as they are.
        showSettings();
        const std::optional<int> remote = udpPort(boxRemotePort->text().toStdString());
        const std::optional<int> local = remote ? udpPort(boxLocalPort->text().toStdString()) : std::nullopt;
        if (!local) {
            messages().ok(QString::fromLatin1(kUdpPortRule));
            return;
        }
        l.OpenUDP(boxRemoteIP->text().toStdString(), std::to_string(*remote), std::to_string(*local));
        if (!l.UDPInUse()) {
            // The box said why; what this open left half done is closed again.
            l.CloseUDP();
            return;
        }
    } else {
        // Another window's link (the run's): the test goes on with it, as
        // the settings are now.
        l.OpenUDP();
        if (!l.UDPInUse())
            return;
    }
    if (!self || running_)
        return;
    running_ = true;
    showRunState();
    l.UDPTestDisplay = true;
    linkChanged(l);
}

void frmTestXplaneInterface::linkChanged(SimCom& l)
{
    if (!running_)
        return;
    const std::optional<SimCom::UdpEnds> inUse = l.UDPInUse();
    if (!inUse) {
        running_ = false;
        showRunState();
        l.UDPTestDisplay = false;
        return;
    }
    // A box typed into stays so, so that the next Start tries it again.
    const std::pair<QLineEdit*, QString> shown[] = {{boxRemoteIP, inUse->remoteIP},
                                                    {boxRemotePort, QString::number(inUse->remotePort)},
                                                    {boxLocalPort, QString::number(inUse->localPort)}};
    for (const auto& [box, text] : shown) {
        const bool typed = box->isModified();
        box->setText(text);
        box->setModified(typed);
    }
}

void frmTestXplaneInterface::CmdStopUDP_Click()
{
    if (!running_)
        return;
    running_ = false;
    showRunState();
    link().CommandStopAll();
    link().CloseUDP();
    link().UDPTestDisplay = false;
}

void frmTestXplaneInterface::CmdExit_Click()
{
    // What the window stored is the configuration's: a load asks about it.
    Form_CloseUnasked();
}

void frmTestXplaneInterface::Form_CloseUnasked()
{
    CmdStopUDP_Click();
    DefaultForm<frmTestXplaneInterface>::unload();
}

template <typename T, typename Read>
std::optional<T> frmTestXplaneInterface::box(const QLineEdit* edit, Read read, const char* rule)
{
    const std::optional<T> value = read(edit->text());
    if (!value)
        messages().ok(QString::fromLatin1(rule));
    return value;
}

void frmTestXplaneInterface::cmdDataUdp_Click()
{
    const auto index = box<Byte>(boxIndex, TestIndex, kIndexRule);
    const auto slot = index ? box<int>(boxValue, TestSlot, kSlotRule) : std::nullopt;
    const auto data = slot ? box<Single>(boxData, TestFloatData, kFloatDataRule) : std::nullopt;
    if (data)
        link().SendDataFloat(*index, *slot, *data);
}

void frmTestXplaneInterface::cmdSendDataInteger_Click()
{
    const auto index = box<Byte>(boxIndex, TestIndex, kIndexRule);
    const auto slot = index ? box<int>(boxValue, TestSlot, kSlotRule) : std::nullopt;
    const auto data = slot ? box<Long>(boxData, TestIntegerData, kIntegerDataRule) : std::nullopt;
    if (data)
        link().SendDataInt(*index, *slot, *data);
}

void frmTestXplaneInterface::cmdSendCharacter_Click()
{
    if (const auto code = box<int>(boxData, TestCharacterCode, kCharacterRule))
        link().SendDataChar(*code);
}

void frmTestXplaneInterface::cmdDSEL_Click()
{
    if (const auto index = box<Byte>(boxIndex, TestIndex, kIndexRule))
        link().SendDSEL(*index);
}

void frmTestXplaneInterface::cmdUSEL_Click()
{
    if (const auto index = box<Byte>(boxIndex, TestIndex, kIndexRule))
        link().SendUSEL(*index);
}

void frmTestXplaneInterface::cmdView_Click()
{
    Text1->setPlainText(TransmittedText(link().UDPSendString));
}

void frmTestXplaneInterface::ByteOrder_Click(bool reverse)
{
    const Integer order = reverse ? 1 : 0;
    if (Cfg.ByteOrderReverse != order)
        MarkStoredNotSaved(Session, windowTitle().toStdString());
    Cfg.ByteOrderReverse = order;
}

void frmTestXplaneInterface::showReceived(const QString& raw, const QString& converted)
{
    UDPraw->setPlainText(raw);
    UDPProcessed->setPlainText(converted);
}

} // namespace varnet
