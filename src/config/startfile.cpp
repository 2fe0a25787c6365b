#include "config/startfile.h"

#include "config/itemtext.h"
#include "config/tables.h"
#include "platform/messages.h"

#include <QString>

#include <algorithm>

namespace varnet {

namespace {

// Far longer than any name the rule takes, so that a name too long is told
// apart (and said so) from a file that is no start file at all.
constexpr std::size_t kLongestNameRead = 4095;
// How much of a refused name the message shows.
constexpr qsizetype kNameShown = 60;

// A refused name as a message can show it: its control characters (which
// would break the box's lines) as replacement marks, and cut short.
QString shownName(const std::string& name)
{
    QString text = FileNameText(name);
    std::replace_if(text.begin(), text.end(), IsNameControlCharacter, QChar(QChar::ReplacementCharacter));
    return text.size() > kNameShown ? text.left(kNameShown) + QStringLiteral("...") : text;
}

} // namespace

QString ReadStartFile(std::string& fileName)
{
    QString setAside;
    try {
        ItemReader in = ItemReader::fromFile(kStartFileName);
        if (in.readString() == "General") {
            std::string name = in.readString(kLongestNameRead);
            if (in.readString() == "Startdelay") {
                const Integer delay = in.readInteger();
                if (in.readString() == "End") {
                    const QString fault = ConfigFileNameFault(name);
                    if (fault.isEmpty()) {
                        fileName = std::move(name);
                        Session.StartDelay = delay;
                        return {};
                    }
                    setAside = QStringLiteral("The start file %1 names \"%2\", which is not a configuration file of "
                                              "this folder:\r\n%3\r\nThe program starts with %4 and a delay of %5 "
                                              "seconds instead.")
                                   .arg(QString::fromLatin1(kStartFileName), shownName(name), fault,
                                        QString::fromLatin1(kDefaultConfigFile))
                                   .arg(kDefaultStartDelay);
                }
            }
        }
    } catch (const ItemError&) {
        // Falls through to the defaults, like any other malformed file.
    }
    fileName = kDefaultConfigFile;
    Session.StartDelay = kDefaultStartDelay;
    return setAside;
}

bool WriteStartFile(const std::string& fileName)
{
    // What is written here must come back from ReadStartFile as it was.
    const QString fault = ConfigFileNameFault(fileName);
    if (!fault.isEmpty()) {
        messages().ok(fault);
        return false;
    }
    ItemWriter out;
    out.line("General").line(fileName).line("Startdelay").lineInteger(Session.StartDelay).line("End");
    std::string error;
    if (writeFileSafely(kStartFileName, out.data(), &error))
        return true;
    messages().ok("Error writing Default Start file. " + QString::fromStdString(error));
    return false;
}

} // namespace varnet
