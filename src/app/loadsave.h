#pragma once

// What the Load/Save window decides, apart from the window itself: the names
// it saves to, the header line a save writes, the autostart delay it accepts
// and the import of chosen groups from another configuration file.

#include "config/files.h"
#include "config/tables.h"

#include <QDateTime>
#include <QListWidget>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string>
#include <vector>


namespace varnet {

// The simulator and interface labels of the start window (lblsim,
// LabelFSUIPC) that a saved header carries.
inline constexpr const char* kSimulatorLabel = "X-Plane";
inline constexpr const char* kFsuipcLabel = "N/A";

// The header of a saved file. With the 43-character program title the
// version text starts at position 70 (counted from 1), where the loader
// looks for it; the line ends with CR LF.
std::string BuildConfigHeader(const std::string& programTitle, const QDateTime& saved);

// The configuration files of the current directory as the file system names
// them, sorted by name: those whose names follow ConfigFileNameFault's rule
// but for the case of the extension, so that no line holds a name that the
// program cannot write back or read from the start file.
std::vector<std::string> ConfigFilesInCurrentDir();

// A list of configuration files, the one kind every window shows. A key
// that moves its line (an arrow, Home, End) selects the line twice, the
// second time after whoever heard of the first has answered it: a load
// kept from happening (No) would be asked about again at once. The list
// tells of a key's choice once, when the key is done.
class ConfigFileList final : public QListWidget {
    Q_OBJECT

public:
    using QListWidget::QListWidget;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Fills a file list with ConfigFilesInCurrentDir(): each line shows its name
// (FileNameText) and keeps the name's bytes, which FileNameOfLine gives back.
void FillConfigFileList(QListWidget& list);
std::string FileNameOfLine(const QListWidgetItem& line);
// No line of a file list stands chosen, nor as the current one: the next
// click or key on a line, the one chosen last included, chooses it anew.
// The list raises no signal meanwhile.
void ChooseNoLine(QListWidget& list);
// After `name` was loaded: no line of the list stands for another file
// (ChooseNoLine when its current line names one).
void ChooseNoLineBut(QListWidget& list, const std::string& name);

// Reads a file list again when the files differ from the lines it shows;
// true when it did (its lines then are new and none is selected). The list
// raises no selection signal meanwhile.
bool RefreshConfigFileList(QListWidget& list);
// Keeps a file list current: it is read again each time its window is
// shown or becomes active, and each time the program saves or deletes a
// configuration file (ConfigFilesChanged), so that a file saved in one
// window, or added behind the program's back, shows in every list.
void KeepConfigFileListCurrent(QListWidget& list);
// Tells every file list kept current that the files may have changed.
void ConfigFilesChanged();

// The delays the start file and the countdown can hold: any Integer. A
// delay of 0 or less starts on the countdown's first tick.
inline constexpr int kMinStartDelay = -32768;
inline constexpr int kMaxStartDelay = 32767;
inline constexpr const char* kStartDelayInputError = "Error in file/time input";

// Reads the answer of the autostart-delay box (nothing when it was
// cancelled) into `delay`. Returns the message to show for an answer that is
// not a whole number or out of range, or an empty text when `delay` was set.
QString ParseStartDelay(const std::optional<QString>& answer, Integer& delay);

// A file replacing the configuration in memory, whole or in part.
enum class Replacement { Load, Import };

// Why a load or an import is refused while the run window holds a prepared
// run, and what to do instead: either would lay the I/O entries out anew,
// and the run would then send its switches' values to sim ports opened for
// other values.
QString RunHoldsConfigurationText(Replacement kind);

// The import's question, naming the file it imports from.
QString ImportQuestion(const QString& fileName);

// The groups of a partial import, in the order of the window's check boxes.
enum ImportGroup {
    ImportGeneral,                // the "General" line except BlockUsel
    ImportIOEntries,              // the whole I/O entry table
    ImportStandardFunctions,      // functions 0..50
    ImportConfigurableFunctions,  // functions 51..300
    ImportGaugeTypes,             // gauge-type rows 0..127
    ImportGauges,                 // gauge records 0..255
    ImportPlates,                 // the whole plate table (when the file has one)
    ImportEngineCluster,          // the engine-cluster settings
    kImportGroups
};
using ImportSelection = std::array<bool, kImportGroups>;

// Reads the configuration file at `path` (up to its plates; the yoke
// settings are never imported) and copies the chosen groups into `target`.
// The header is not checked. A file that cannot be read or is malformed
// anywhere up to there changes nothing and returns false.
bool ImportConfigGroups(const std::string& path, const ImportSelection& groups, ConfigTables& target);

} // namespace varnet
