#pragma once

// The Load/Save window: saves the configuration tables to a "*.cfg" file,
// loads one, deletes one, makes one the autostart configuration and imports
// chosen groups of another file into the loaded configuration.

#include "app/loadsave.h"
#include "config/tables.h"
#include "platform/form.h"

#include <array>
#include <optional>
#include <string>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace varnet {

class SaveConfig final : public ConfigurationView {
    Q_OBJECT

public:
    SaveConfig();

    void Form_Load() override;

    // The tables in memory with the ticked groups of the file named in
    // FileName in place; nothing when the file could not be read.
    std::optional<ConfigTables> ImportPartialConfig();

protected:
    // After the configuration in memory was replaced (an import here too),
    // the window proposes its name, so that a save goes to it and not over
    // the file imported from, and no line of the list stands for another
    // file: a click on any line then puts that file in the box.
    void Form_ShowConfiguration() override;

private:
    void FileBox_Click();
    void CmdLoad_Click();
    void CmdSave_Click();
    void cmdKill_Click();
    void cmdSetAsStartup_Click();
    void cmdImportPartial_Click();
    void cmdClose_Click();

    // Shows `missing` for an empty FileName, and the rule it breaks for a
    // name that no configuration file may have; true when it may be used.
    bool checkConfigFileName(const char* missing = "No filename");
    void refreshFileBox();
    // Shows `name` in FileName; fileName() is the file the box names.
    void showFileName(const std::string& name);
    std::string fileName() const;

    QListWidget* FileBox;
    QLineEdit* FileName;
    std::array<QCheckBox*, kImportGroups> ChkImportPartial{};
    std::string shownFileName_;
};

} // namespace varnet
