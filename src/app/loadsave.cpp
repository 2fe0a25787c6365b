#include "app/loadsave.h"

#include "config/configfile.h"
#include "config/files.h"
#include "config/itemtext.h"

#include <QEvent>
#include <QListWidget>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalBlocker>

#include <algorithm>

namespace varnet {

namespace {

// Copies rows [first, last) of every listed column.
template <typename... Columns>
void copyRows(const ConfigTables& from, ConfigTables& to, int first, int last, Columns... columns)
{
    auto copy = [&](auto column) {
        std::copy((from.*column).begin() + first, (from.*column).begin() + last, (to.*column).begin() + first);
    };
    (copy(columns), ...);
}

// Copies every listed member whole.
template <typename... Members>
void copyMembers(const ConfigTables& from, ConfigTables& to, Members... members)
{
    ((to.*members = from.*members), ...);
}

void copyFunctions(const ConfigTables& from, ConfigTables& to, int first, int last)
{
    using T = ConfigTables;
    copyRows(from, to, first, last, &T::FunctionNames, &T::FunctionFullName, &T::FunctionNumber,
             &T::FunctionSignalType, &T::FunctionCategory, &T::FunctionIndex1, &T::FunctionIndex2,
             &T::FunctionIndex3, &T::FunctionIndex4, &T::FunctionPreAdd, &T::FunctionDataType, &T::FunctionAux,
             &T::FunctionMultiply, &T::FunctionDivide, &T::FunctionMinimum, &T::FunctionMaximum,
             &T::FunctionMacroNr, &T::FunctionSlot1, &T::FunctionSlot2, &T::FunctionSlot3, &T::FunctionSlot4);
}

void copyGroups(const ConfigTables& from, ConfigTables& to, const ImportSelection& groups, bool filePlates)
{
    using T = ConfigTables;
    if (groups[ImportGeneral])
        // BlockUsel stays: it belongs to this machine's other add-ons, not to the cockpit.
        copyMembers(from, to, &T::ConfigHeader, &T::ComPortEC, &T::ComPortGauges, &T::ProcessTimerInterval,
                    &T::LightsMask, &T::LightsMode, &T::RemoteIP, &T::GeneralString9, &T::RemotePort,
                    &T::LocalPort, &T::GeneralString12, &T::GeneralString13, &T::ByteOrderReverse,
                    &T::ComPortIOM);
    if (groups[ImportIOEntries])
        // The run-time port column is sized with the others: every column
        // must cover every row the run walks.
        copyMembers(from, to, &T::IOEntryCount, &T::IOEntryGaugeID, &T::IOEntryKind, &T::IOEntryNumber,
                    &T::IOEntryCategory, &T::IOEntryFunction, &T::IOEntrySeqNr, &T::IOEntryValue1,
                    &T::IOEntryValue2, &T::IOEntryType, &T::IOEntryFlags, &T::IOEntryLastValue,
                    &T::IOEntryKeyOn, &T::IOEntryKeyOff, &T::IOEntryPort);
    if (groups[ImportStandardFunctions])
        copyFunctions(from, to, 0, 51);
    if (groups[ImportConfigurableFunctions])
        copyFunctions(from, to, 51, kStoredFunctionRows);
    if (groups[ImportGaugeTypes])
        copyRows(from, to, 0, kStoredGaugeTypeRows, &T::GaugeTypeNumbers, &T::GaugeTypeNames);
    if (groups[ImportGauges])
        copyRows(from, to, 0, kStoredGaugeRows, &T::GaugeRecType, &T::GaugeRecModel, &T::GaugeRecVersion,
                 &T::GaugeRecCategory1, &T::GaugeRecFunction1, &T::GaugeRecSeqNr1, &T::GaugeRecPlate1,
                 &T::GaugeRecCategory2, &T::GaugeRecFunction2, &T::GaugeRecSeqNr2, &T::GaugeRecPlate2);
    if (groups[ImportPlates] && filePlates)
        copyMembers(from, to, &T::PlateCount, &T::PlateName, &T::PlateValue, &T::PlateSteps);
    if (groups[ImportEngineCluster])
        copyMembers(from, to, &T::ECNeedleDisplay, &T::ECNeedleFunction, &T::ECNeedlePlate);
}

} // namespace

std::string BuildConfigHeader(const std::string& programTitle, const QDateTime& saved)
{
    const std::string savedText = QLocale::c().toString(saved, QStringLiteral("dd-MM-yyyy HH:mm:ss")).toStdString();
    return "Program Name: " + programTitle + " , Version: " + kProgramVersion + "         ,Connected Sim: " +
           kSimulatorLabel + ", FSUIPC version: " + kFsuipcLabel + " ,Date/Time saved: " + savedText + "\r\n";
}

std::vector<std::string> ConfigFilesInCurrentDir()
{
    std::vector<std::string> names = FilesInCurrentDir(kConfigFileExtension);
    // The extension is matched in any case (a "TEST.CFG" from a system that
    // ignores case is listed and can be chosen); every other part of the
    // name rule holds for what is listed.
    std::erase_if(names, [](const std::string& name) {
        const QString fault = ConfigFileNameFault(name);
        return !fault.isEmpty() && fault != QLatin1String(kFileTypeRule);
    });
    return names;
}

void FillConfigFileList(QListWidget& list)
{
    list.clear();
    for (const std::string& name : ConfigFilesInCurrentDir()) {
        auto* line = new QListWidgetItem(FileNameText(name), &list);
        line->setData(Qt::UserRole, QByteArray::fromStdString(name));
    }
}

std::string FileNameOfLine(const QListWidgetItem& line)
{
    return line.data(Qt::UserRole).toByteArray().toStdString();
}

void ConfigFileList::keyPressEvent(QKeyEvent* event)
{
    const QList<QListWidgetItem*> before = selectedItems();
    {
        const QSignalBlocker quiet(this);
        QListWidget::keyPressEvent(event);
    }
    if (selectedItems() != before)
        emit itemSelectionChanged();
}

void ChooseNoLine(QListWidget& list)
{
    const QSignalBlocker quiet(&list);
    list.setCurrentItem(nullptr);
    list.clearSelection();
}

void ChooseNoLineBut(QListWidget& list, const std::string& name)
{
    const QListWidgetItem* current = list.currentItem();
    if (current && FileNameOfLine(*current) != name)
        ChooseNoLine(list);
}

bool RefreshConfigFileList(QListWidget& list)
{
    const std::vector<std::string> names = ConfigFilesInCurrentDir();
    bool same = std::size_t(list.count()) == names.size();
    for (int row = 0; same && row < list.count(); ++row)
        same = FileNameOfLine(*list.item(row)) == names[std::size_t(row)];
    if (same)
        return false;
    const QSignalBlocker quiet(&list);
    FillConfigFileList(list);
    return true;
}

namespace {

// The file lists kept current, while they exist.
std::vector<QPointer<QListWidget>>& keptLists()
{
    static std::vector<QPointer<QListWidget>> lists;
    return lists;
}

// Reads its list again when the list's window is shown or becomes active.
class FileListWatch final : public QObject {
public:
    explicit FileListWatch(QListWidget& list) : QObject(&list), list_(list) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
            RefreshConfigFileList(list_);
        return false;
    }

private:
    QListWidget& list_;
};

} // namespace

void KeepConfigFileListCurrent(QListWidget& list)
{
    list.window()->installEventFilter(new FileListWatch(list));
    std::erase_if(keptLists(), [](const QPointer<QListWidget>& kept) { return kept.isNull(); });
    keptLists().emplace_back(&list);
}

void ConfigFilesChanged()
{
    // A copy: a list may go while another is filled.
    const std::vector<QPointer<QListWidget>> lists = keptLists();
    for (const QPointer<QListWidget>& list : lists)
        if (list)
            RefreshConfigFileList(*list);
}

QString RunHoldsConfigurationText(Replacement kind)
{
    const bool load = kind == Replacement::Load;
    return QStringLiteral("A configuration cannot be %1 while the run window holds the one in memory: the run "
                          "uses the sim ports opened for it.\r\n"
                          "To %2, press \"Configuration\" on the run window (this stops the run) and use "
                          "\"Save / Load Configuration\" on the configuration screen; closing the screen prepares "
                          "the run again with it.")
        .arg(load ? QStringLiteral("loaded") : QStringLiteral("imported"),
             load ? QStringLiteral("load another configuration") : QStringLiteral("import into the configuration"));
}

QString ImportQuestion(const QString& fileName)
{
    return QStringLiteral("This will overwrite the selected sections in the currently loaded configuration!\r\n"
                          "The sections come from: ") +
           fileName + QStringLiteral("\r\n Continue?");
}

QString ParseStartDelay(const std::optional<QString>& answer, Integer& delay)
{
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    const QString text = answer ? answer->trimmed() : QString();
    if (!wholeNumber.match(text).hasMatch())
        return QString::fromLatin1(kStartDelayInputError);
    bool fits = false;
    const qlonglong value = text.toLongLong(&fits);
    if (!fits || value < kMinStartDelay || value > kMaxStartDelay)
        return QStringLiteral("The autostart delay must be between %1 and %2 seconds")
            .arg(kMinStartDelay)
            .arg(kMaxStartDelay);
    delay = static_cast<Integer>(value);
    return {};
}

bool ImportConfigGroups(const std::string& path, const ImportSelection& groups, ConfigTables& target)
{
    // Everything is read into a scratch copy first: a file that turns out
    // broken halfway leaves the loaded configuration as it was.
    ConfigTables read;
    bool filePlates = false;
    try {
        ItemReader in = ItemReader::fromFile(path);
        ConfigSectionReader r(in);
        r.expectSection("General");
        r.readGeneral(read);
        r.expectSection("IOM");
        r.readIOM(read);
        r.expectSection("Functions");
        r.readFunctions(read);
        r.expectSection("Gaugetypes");
        r.readGaugeTypes(read);
        r.expectSection("Gauges");
        r.readGauges(read);
        r.expectSection("Engine Cluster Settings");
        r.readEngineCluster(read);
        // A file saved without plates goes on with the yoke settings or "end".
        if (groups[ImportPlates] && r.readSectionName() == "Plates") {
            r.readPlates(read);
            filePlates = true;
        }
    } catch (const ItemError&) {
        return false;
    }
    copyGroups(read, target, groups, filePlates);
    return true;
}

} // namespace varnet
