#include "app/startwindow.h"

#include "app/configscreen.h"
#include "app/configwindows.h"
#include "app/loadsave.h"
#include "app/shell.h"
#include "bus/deviceports.h"
#include "bus/runwindow.h"
#include "config/configfile.h"
#include "config/files.h"
#include "config/startfile.h"
#include "config/tables.h"
#include "platform/messages.h"
#include "simlink/simcom.h"
#include "yokes/yokewindows.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <limits>
#include <string>

namespace varnet {

namespace {

constexpr int kOneSecondMs = 1000;

// A label that acts on a click (the web link and the logo).
class ClickLabel final : public QLabel {
public:
    ClickLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
        : QLabel(text, parent), onClick_(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { onClick_(); }

private:
    std::function<void()> onClick_;
};

template <typename T>
T* named(T* control, const char* objectName)
{
    control->setObjectName(QString::fromLatin1(objectName));
    return control;
}

QLabel* label(const char* objectName, const char* caption, QWidget* parent)
{
    return named(new QLabel(QString::fromLatin1(caption), parent), objectName);
}

QPushButton* button(const char* objectName, const char* caption, QWidget* parent)
{
    return named(new QPushButton(QString::fromLatin1(caption), parent), objectName);
}

} // namespace

int NextCountdownValue(const QString& boxText, int lastShown)
{
    bool isNumber = false;
    const int value = boxText.trimmed().toInt(&isNumber);
    const bool fits = value >= std::numeric_limits<Integer>::min() && value <= std::numeric_limits<Integer>::max();
    return (isNumber && fits ? value : lastShown) - 1;
}

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(kStartWindowCaption));

    auto* Label1 = label("Label1", "For X-Plane Flight Simulator  ", this);
    auto* Label4 = label("Label4", "with FFB yoke included", this);
    auto* Label3 = label("Label3", "Control Program version:", this);
    auto* LabelProgramVersion = label("LabelProgramVersion", kProgramVersion, this);
    lblsim = label("lblsim", kSimulatorLabel, this);
    auto* LabelFSUIPC = label("LabelFSUIPC", kFsuipcLabel, this);

    auto* Label9 = label("Label9", "Configurations:", this);
    FileBox = named(new ConfigFileList(this), "FileBox");
    auto* Label7 = label("Label7", "Selected Configuration File:", this);
    FileName = named(new QLineEdit(this), "FileName");

    TextAutostart = label("TextAutostart", kAutostartText, this);
    BoxAutoStartTime = named(new QLineEdit(this), "BoxAutoStartTime");
    BoxAutoStartTime->setMaximumWidth(60);
    Textseconds = label("Textseconds", "Seconds", this);
    showCountdown(false);

    QPushButton* butOK = button("butOK", "Continue", this);
    QPushButton* CmdConfigure = button("CmdConfigure", "Configure", this);
    QPushButton* Exit = button("Exit", "Exit", this);

    const auto webLink = [this] { Label5_Click(); };
    auto* Label5 = named(new ClickLabel(QStringLiteral("Visit our site: "), this, webLink), "Label5");
    auto* Label6 = named(new ClickLabel(QString::fromLatin1(kMakerWebAddress), this, webLink), "Label6");
    auto* Picture1 = named(new ClickLabel(QStringLiteral("VARNET"), this, webLink), "Picture1");
    Picture1->setStyleSheet(QStringLiteral("font-size: 28pt; font-weight: bold;"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(Picture1, 0, 0, 2, 1);
    layout->addWidget(Label1, 0, 1, 1, 3);
    layout->addWidget(Label4, 1, 1, 1, 3);
    layout->addWidget(Label3, 2, 0);
    layout->addWidget(LabelProgramVersion, 2, 1);
    layout->addWidget(lblsim, 2, 2);
    layout->addWidget(LabelFSUIPC, 2, 3);
    layout->addWidget(Label9, 3, 0);
    layout->addWidget(FileBox, 4, 0, 5, 2);
    layout->addWidget(Label7, 3, 2, 1, 2);
    layout->addWidget(FileName, 4, 2, 1, 2);
    layout->addWidget(butOK, 5, 2);
    layout->addWidget(CmdConfigure, 6, 2);
    layout->addWidget(Exit, 7, 2);
    auto* countdown = new QHBoxLayout;
    countdown->addWidget(TextAutostart);
    countdown->addWidget(BoxAutoStartTime);
    countdown->addWidget(Textseconds);
    countdown->addStretch();
    layout->addLayout(countdown, 9, 0, 1, 4);
    layout->addWidget(Label5, 10, 0);
    layout->addWidget(Label6, 10, 1, 1, 3);

    TimerWaitForFS_.setObjectName(QStringLiteral("TimerWaitForFS"));
    TimerWaitForFS_.setInterval(kOneSecondMs);
    Timer2_.setObjectName(QStringLiteral("Timer2"));
    Timer2_.setInterval(kOneSecondMs);
    connect(&TimerWaitForFS_, &QTimer::timeout, this, &frmMain::TimerWaitForFS_Timer);
    connect(&Timer2_, &QTimer::timeout, this, &frmMain::Timer2_Timer);

    KeepConfigFileListCurrent(*FileBox);
    connect(FileBox, &QListWidget::itemSelectionChanged, this, &frmMain::FileBox_Click);
    connect(butOK, &QPushButton::clicked, this, &frmMain::butOK_Click);
    connect(CmdConfigure, &QPushButton::clicked, this, &frmMain::CmdConfigure_Click);
    connect(Exit, &QPushButton::clicked, this, &frmMain::Exit_Click);
}

void frmMain::showCountdown(bool visible)
{
    TextAutostart->setVisible(visible);
    BoxAutoStartTime->setVisible(visible);
    Textseconds->setVisible(visible);
}

void frmMain::cancelCountdown()
{
    // A cancel during the first second also holds when the wait ends.
    countdownCancelled_ = true;
    Timer2_.stop();
    showCountdown(false);
}

void frmMain::refreshFileBox()
{
    const QSignalBlocker quiet(FileBox);
    FillConfigFileList(*FileBox);
}

void frmMain::showFileName(const std::string& name)
{
    shownFileName_ = name;
    FileName->setText(FileNameText(name));
}

bool frmMain::loadConfiguration(const std::string& name, QString* error)
{
    const auto busy = loading_.enter();
    return LoadConfigFile(name, error);
}

ReplaceResult frmMain::replaceConfiguration(const std::string& name, const std::function<bool()>& ownQuestions,
                                            QString* error)
{
    const auto busy = loading_.enter();
    return LoadConfiguration(*this, name, ownQuestions, error);
}

std::string frmMain::boxFileName() const
{
    return FileNameOfText(FileName->text(), shownFileName_);
}

void frmMain::Form_Activate()
{
    // The title is set at the program's first activation of this window. A
    // start window made again later (by the run window's Configuration) is
    // no new start: no countdown, and the configuration in memory stays.
    const bool firstActivation = Session.ProgramTitle.empty();
    if (firstActivation)
        Session.ProgramTitle = kProgramTitle;
    else
        cancelCountdown();
    std::string name;
    const QString setAside = ReadStartFile(name);
    // Later the start file is only the autostart's choice, shown here: the
    // configuration in memory (perhaps loaded or saved under another name
    // since) keeps its name, or a save would write it over the start file.
    showFileName(name);
    // Files saved meanwhile (in the Load/Save window) show up too.
    refreshFileBox();
    if (!firstActivation)
        return;
    // Said once, at the start the file was meant for, and before the
    // countdown, which the box would otherwise run down unseen.
    if (!setAside.isEmpty()) {
        const QPointer<frmMain> self(this);
        messages().ok(setAside);
        if (!self || !DefaultForm<frmMain>::loaded())
            return;
    }

    TextAutostart->setText(QString::fromLatin1(kAutostartText));
    TimerWaitForFS_.start();
    countdownShown_ = Session.StartDelay;
    BoxAutoStartTime->setText(QString::number(countdownShown_));
    showCountdown(true);
    const QPointer<frmMain> self(this);
    if (loadConfiguration(name) || !self)
        return;
    // The start file's configuration is the one in memory once it loads. A
    // file not made yet is named all the same, so that the first save makes
    // it; one that is there and does not load is not: the tables are empty,
    // and a save must ask for a name rather than write them over it.
    std::error_code noSuchFile;
    if (!std::filesystem::exists(std::filesystem::symlink_status(name, noSuchFile)))
        Session.ConfigFileName = name;
    // The load told why it failed (or the user refused it): the autostart
    // would only fail the same way again, with a second box.
    cancelCountdown();
}

void frmMain::TimerWaitForFS_Timer()
{
    TimerWaitForFS_.stop();
    if (countdownCancelled_)
        return;
    Timer2_.start();
    TextAutostart->setText(QString::fromLatin1(kAutostartText));
    showCountdown(true);
}

void frmMain::Timer2_Timer()
{
    // Minimized counts as shown; hidden pauses. A load's question box keeps
    // the count still, so no start can come from under it.
    if (!isVisible() || loading_.busy())
        return;
    countdownShown_ = NextCountdownValue(BoxAutoStartTime->text(), countdownShown_);
    BoxAutoStartTime->setText(QString::number(countdownShown_));
    if (countdownShown_ >= 1)
        return;
    autostart();
}

void frmMain::autostart()
{
    Timer2_.stop();
    const std::string name = boxFileName();
    // One failure, one box: the reader's error, naming the file, or the
    // name rule a typed name breaks, opens the autostart's own message.
    QString error = ConfigFileNameFault(name);
    const ReplaceResult loaded =
        error.isEmpty() ? replaceConfiguration(name, {}, &error) : ReplaceResult::Failed;
    if (loaded == ReplaceResult::Replaced) {
        openRunWindow(true);
        return;
    }
    if (loaded == ReplaceResult::Failed) {
        // No countdown is left showing "0" for a start that will not come.
        cancelCountdown();
        if (!error.isEmpty())
            error += QStringLiteral("\r\n");
        const QPointer<frmMain> self(this);
        messages().ok(error + QString::fromLatin1(kAutostartFailed));
        if (self)
            FileName->clear();
    }
}

void frmMain::butOK_Click()
{
    lblsim->setText(QString::fromLatin1(kSimulatorLabel));
    if (FileName->text().isEmpty()) {
        messages().ok(QString::fromLatin1(kNoFileSelected));
        return;
    }
    // What the box shows is what runs: the file chosen, the start file's
    // or a name typed in. A typed name is held to the name rule; a file of
    // the list is one the program lists, whatever the case of its extension.
    const std::string name = boxFileName();
    const auto typedNameFits = [&] {
        const QString fault = ConfigFileNameFault(name);
        if (name == shownFileName_ || fault.isEmpty())
            return true;
        messages().ok(fault);
        return false;
    };
    if (replaceConfiguration(name, typedNameFits) == ReplaceResult::Replaced)
        openRunWindow(false);
}

void frmMain::openRunWindow(bool runNow)
{
    // Stopped before the preparation, whose messages let timers run.
    cancelCountdown();
    frmStatus& run = DefaultForm<frmStatus>::get();
    run.show();
    // The preparation closes this window with every other window of the
    // configuration.
    run.Form_Activate();
    if (runNow) {
        // The run's start starts the yokes too.
        run.cmdRun_Click();
        run.minimize();
    } else if (Cfg.ComPortYoke1() != 0 || Cfg.ComPortYoke2() != 0) {
        frmStatusYoke& yokes = DefaultForm<frmStatusYoke>::get();
        // The run's preparation shows it minimized already: shown again, it
        // would come back from the taskbar and stay on the screen.
        if (!yokes.isVisible())
            yokes.show();
        yokes.cmdRun_Click();
        yokes.minimize();
    }
    DefaultForm<frmMain>::unload();
}

void frmMain::FileBox_Click()
{
    const QList<QListWidgetItem*> selected = FileBox->selectedItems();
    if (selected.isEmpty())
        return;
    cancelCountdown();
    const std::string name = FileNameOfLine(*selected.first());
    const std::string shownBefore = shownFileName_;
    const QString textBefore = FileName->text();
    showFileName(name);
    const QPointer<frmMain> self(this);
    if (replaceConfiguration(name) != ReplaceResult::Declined || !self)
        return;
    // Kept as it is: the box names again what it named, and no line of the
    // list stands for a choice that was not taken.
    shownFileName_ = shownBefore;
    FileName->setText(textBefore);
    ChooseNoLine(*FileBox);
}

void frmMain::Form_ShowConfiguration()
{
    // Loaded from this window or another: the box names what is in memory
    // now, and no line of the list stands for another file.
    showFileName(Session.ConfigFileName);
    ChooseNoLineBut(*FileBox, Session.ConfigFileName);
}

void frmMain::CmdConfigure_Click()
{
    // Stopped before the screen opens: its messages let timers run.
    cancelCountdown();
    Session.ConfigFromStatus = 0;
    ShowConfigurationScreen();
}

void frmMain::Exit_Click()
{
    DefaultForm<SimCom>::get().CloseSimCom();
    CloseComPorts();
    DefaultForm<frmMain>::unload();
    EndProgram();
}

void frmMain::Label5_Click()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerWebAddress)));
    cancelCountdown();
}

void frmMain::Form_Unload()
{
    TimerWaitForFS_.stop();
    Timer2_.stop();
}

} // namespace varnet
