#include "app/saveconfig.h"

#include "app/configwindows.h"
#include "config/configfile.h"
#include "config/files.h"
#include "config/startfile.h"
#include "config/tables.h"
#include "platform/clock.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace varnet {

namespace {

constexpr const char* kImportLabels[kImportGroups] = {
    "General settings (Ports, etc)", "I/O module(s) Switches/LEDs ", "Standard Functions",
    "Configurable Functions",        "Gauge Types",                  "Configured Gauges",
    "Plates",                        "Engine Cluster Configuration"};

constexpr const char* kDelayPrompt =
    "Give autostart time delay (standard =10 seconds).\r\n"
    "Delay is the time (in seconds) the program waits with start-up after simulator is detected as running.";

QPushButton* button(const char* objectName, const char* caption, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(objectName));
    return b;
}

} // namespace

SaveConfig::SaveConfig()
{
    setObjectName(QStringLiteral("SaveConfig"));
    setWindowTitle(QStringLiteral("Load/Save Configuration"));

    auto* Frame2 = new QGroupBox(QStringLiteral("File Load/Save"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    FileBox = new ConfigFileList(Frame2);
    FileBox->setObjectName(QStringLiteral("FileBox"));
    FileName = new QLineEdit(Frame2);
    FileName->setObjectName(QStringLiteral("FileName"));
    auto* Label9 = new QLabel(QStringLiteral("Current  Configurations"), Frame2);
    Label9->setObjectName(QStringLiteral("Label9"));
    auto* Label7 = new QLabel(QStringLiteral("Selected/New configuration File"), Frame2);
    Label7->setObjectName(QStringLiteral("Label7"));
    QPushButton* CmdLoad = button("CmdLoad", "Load", Frame2);
    QPushButton* CmdSave = button("CmdSave", "Save", Frame2);
    QPushButton* cmdKill = button("cmdKill", "Delete", Frame2);
    QPushButton* cmdSetAsStartup = button("cmdSetAsStartup", "Set as Autostart", Frame2);
    cmdSetAsStartup->setToolTip(
        QStringLiteral("Will set selected Config File as Default Start-up file at autostart."));

    auto* fileLayout = new QGridLayout(Frame2);
    fileLayout->addWidget(Label9, 0, 0);
    fileLayout->addWidget(FileBox, 1, 0, 5, 1);
    fileLayout->addWidget(Label7, 0, 1);
    fileLayout->addWidget(FileName, 1, 1);
    fileLayout->addWidget(CmdLoad, 2, 1);
    fileLayout->addWidget(CmdSave, 3, 1);
    fileLayout->addWidget(cmdKill, 4, 1);
    fileLayout->addWidget(cmdSetAsStartup, 5, 1);

    auto* Frame1 = new QGroupBox(QStringLiteral("Partial Configuration Import"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setToolTip(QStringLiteral("To Import partial config items select the file name to import from in the "
                                      "selected config file box. "));
    auto* importLayout = new QVBoxLayout(Frame1);
    for (int i = 0; i < kImportGroups; ++i) {
        ChkImportPartial[i] = new QCheckBox(QString::fromLatin1(kImportLabels[i]), Frame1);
        ChkImportPartial[i]->setObjectName(QStringLiteral("ChkImportPartial%1").arg(i));
        importLayout->addWidget(ChkImportPartial[i]);
    }
    QPushButton* cmdImportPartial = button("cmdImportPartial", "Import", Frame1);
    importLayout->addWidget(cmdImportPartial);

    QPushButton* cmdClose = button("cmdClose", "Close", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addWidget(Frame1);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);

    KeepConfigFileListCurrent(*FileBox);
    connect(FileBox, &QListWidget::itemSelectionChanged, this, &SaveConfig::FileBox_Click);
    connect(CmdLoad, &QPushButton::clicked, this, &SaveConfig::CmdLoad_Click);
    connect(CmdSave, &QPushButton::clicked, this, &SaveConfig::CmdSave_Click);
    connect(cmdKill, &QPushButton::clicked, this, &SaveConfig::cmdKill_Click);
    connect(cmdSetAsStartup, &QPushButton::clicked, this, &SaveConfig::cmdSetAsStartup_Click);
    connect(cmdImportPartial, &QPushButton::clicked, this, &SaveConfig::cmdImportPartial_Click);
    connect(cmdClose, &QPushButton::clicked, this, &SaveConfig::cmdClose_Click);
}

void SaveConfig::Form_Load()
{
    showFileName(Session.ConfigFileName);
    refreshFileBox();
}

void SaveConfig::showFileName(const std::string& name)
{
    shownFileName_ = name;
    FileName->setText(FileNameText(name));
}

std::string SaveConfig::fileName() const
{
    return FileNameOfText(FileName->text(), shownFileName_);
}

void SaveConfig::Form_ShowConfiguration()
{
    showFileName(Session.ConfigFileName);
    ChooseNoLineBut(*FileBox, Session.ConfigFileName);
}

void SaveConfig::refreshFileBox()
{
    FillConfigFileList(*FileBox);
}

void SaveConfig::FileBox_Click()
{
    const QList<QListWidgetItem*> selected = FileBox->selectedItems();
    if (!selected.isEmpty())
        showFileName(FileNameOfLine(*selected.first()));
}

bool SaveConfig::checkConfigFileName(const char* missing)
{
    if (FileName->text().isEmpty()) {
        messages().ok(QString::fromLatin1(missing));
        return false;
    }
    // The bytes the button will use, not the text shown: the same rule for
    // every button, so that no name is written that cannot be read back.
    const QString fault = ConfigFileNameFault(fileName());
    if (!fault.isEmpty()) {
        messages().ok(fault);
        return false;
    }
    return true;
}

void SaveConfig::CmdSave_Click()
{
    Session.ConfigError = 0;
    const QString name = FileName->text();
    if (!checkConfigFileName())
        return;

    // The start window sets the title on its first activation; a save before
    // that still writes a header that the loader accepts.
    const std::string title = Session.ProgramTitle.empty() ? kProgramTitle : Session.ProgramTitle;
    const std::string previousHeader = Cfg.ConfigHeader;
    const std::string previousName = Session.ConfigFileName;
    Cfg.ConfigHeader = BuildConfigHeader(title, clock().now());
    Session.ConfigFileName = fileName();
    // The writer replaces the old file only once the new one is complete, so
    // a failure leaves the file on disk and the tables as they were.
    if (!WriteConfigFile()) {
        Cfg.ConfigHeader = previousHeader;
        Session.ConfigFileName = previousName;
        messages().ok(QStringLiteral("file cannot be overwritten"));
        return;
    }
    Session.ConfigChanged = 0;
    ConfigurationSaved();
    ConfigFilesChanged();
    messages().ok(QStringLiteral("File saved as: ") + name);
}

void SaveConfig::CmdLoad_Click()
{
    // A file that fails leaves the tables, and the name of the file they
    // hold, as they were.
    const ReplaceResult loaded = LoadConfiguration(*this, fileName(), [this] {
        return messages().yesNoDefaultNo(QStringLiteral("This will overwrite the current configuration! Continue?")) &&
               checkConfigFileName();
    });
    if (loaded != ReplaceResult::Declined)
        DefaultForm<SaveConfig>::unload();
}

void SaveConfig::cmdKill_Click()
{
    const QString name = FileName->text();
    if (!checkConfigFileName())
        return;
    if (!messages().yesNoDefaultNo(QStringLiteral("This will delete the file: ") + name + QStringLiteral(" ; Are you sure? ")))
        return;
    if (::unlink(fileName().c_str()) != 0) {
        if (errno == ENOENT)
            messages().ok(QStringLiteral("File not found: ") + name);
        else
            messages().ok(QStringLiteral("The file %1 cannot be deleted: %2").arg(name, std::strerror(errno)));
        return;
    }
    FileName->clear();
    ConfigFilesChanged();
}

void SaveConfig::cmdSetAsStartup_Click()
{
    if (!checkConfigFileName("File Name missing."))
        return;
    Integer delay = 0;
    const QString error = ParseStartDelay(messages().input(QString::fromLatin1(kDelayPrompt), QString()), delay);
    if (!error.isEmpty()) {
        messages().ok(error);
        return;
    }
    const Integer previousDelay = Session.StartDelay;
    Session.StartDelay = delay;
    if (!WriteStartFile(fileName()))
        Session.StartDelay = previousDelay;
}

void SaveConfig::cmdImportPartial_Click()
{
    ImportConfiguration(
        *this,
        // The question names the file the sections come from: the box may
        // name another than the one last clicked.
        [this] {
            return checkConfigFileName("No file selected") &&
                   messages().yesNoDefaultNo(ImportQuestion(FileName->text()));
        },
        [this] { return ImportPartialConfig(); });
}

std::optional<ConfigTables> SaveConfig::ImportPartialConfig()
{
    Session.ConfigError = 0;
    ImportSelection groups{};
    for (int i = 0; i < kImportGroups; ++i)
        groups[i] = ChkImportPartial[i]->isChecked();
    ConfigTables imported = Cfg;
    if (!ImportConfigGroups(fileName(), groups, imported)) {
        messages().ok(QStringLiteral("Error in Configuration file"));
        return std::nullopt;
    }
    // What came in is an edit of the loaded configuration until it is saved.
    if (std::find(groups.begin(), groups.end(), true) != groups.end())
        Session.ConfigChanged = 1;
    return imported;
}

void SaveConfig::cmdClose_Click()
{
    DefaultForm<SaveConfig>::unload();
}

} // namespace varnet
