#include "config/startfile.h"

#include "config/itemtext.h"
#include "config/tables.h"
#include "platform/messages.h"

#include <QString>

namespace varnet {

void ReadStartFile(std::string& fileName)
{
    try {
        ItemReader in = ItemReader::fromFile(kStartFileName);
        if (in.readString() == "General") {
            std::string name = in.readString();
            if (in.readString() == "Startdelay") {
                const Integer delay = in.readInteger();
                if (in.readString() == "End") {
                    fileName = std::move(name);
                    Session.StartDelay = delay;
                    return;
                }
            }
        }
    } catch (const ItemError&) {
        // Falls through to the defaults, like any other malformed file.
    }
    fileName = kDefaultConfigFile;
    Session.StartDelay = kDefaultStartDelay;
}

bool WriteStartFile(const std::string& fileName)
{
    ItemWriter out;
    out.line("General").line(fileName).line("Startdelay").lineInteger(Session.StartDelay).line("End");
    std::string error;
    if (writeFileSafely(kStartFileName, out.data(), &error))
        return true;
    messages().ok("Error writing Default Start file. " + QString::fromStdString(error));
    return false;
}

} // namespace varnet
