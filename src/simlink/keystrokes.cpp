#include "simlink/keystrokes.h"

#include "platform/keystrokes.h"
#include "platform/messages.h"

#include <QDebug>
#include <QStringView>

#include <cstdint>

namespace varnet {

QString KeyName;
std::function<bool()> RunWindowMinimized;

QString KeySequenceText(int KeyCode)
{
    const auto code = static_cast<std::uint16_t>(KeyCode);
    const int number = KeyNumber(code);
    if (number == 0)
        return {};
    if (number >= kKeyNameCount) {
        // No switch dialog offers these numbers: a damaged or foreign
        // configuration. Typing a modifier alone would be no key sequence.
        qWarning() << "Key code" << Qt::hex << code << "names no key; nothing is sent";
        return {};
    }
    QString s;
    if (code & kKeyCtrlBit)
        s += u'^';
    if (code & kKeyShiftBit)
        s += u'+';
    if (number == kCharacterKey) {
        const QChar c = QChar::fromLatin1(static_cast<char>(code & 0xFF));
        if (QStringView(u"}{+%^)([]~").contains(c))
            s += u'{' + QString(c) + u'}';
        else
            s += c;
    } else {
        s += u'{' + QLatin1String(KeyNames[static_cast<std::size_t>(number)]) + u'}';
    }
    return s;
}

void SendKeystroke(int KeyCode, bool runWindowMinimized)
{
    const QString s = KeySequenceText(KeyCode);
    if (s.isEmpty())
        return;
    if (runWindowMinimized)
        keystrokes().inject(s);
    else
        messages().ok("Keystroke received from IO module: " + s + "\r\n"
                      + "To send to FS this window must be minimized");
}

void SendKeystroke(int KeyCode)
{
    SendKeystroke(KeyCode, RunWindowMinimized && RunWindowMinimized());
}

void ConvertKeytoName(int)
{
    KeyName = QStringLiteral("KB Stroke");
}

} // namespace varnet
