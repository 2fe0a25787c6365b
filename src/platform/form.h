#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QScreen;

namespace varnet {

// What a window holds of the configuration in memory: the tables that a
// load replaces, a save writes and a run is prepared from, and the devices
// they name. A load reads the file first; then every window hears of it
// twice, the tables replaced still in place (Form_ConfigurationReplacing),
// and once the file's are (Form_ConfigurationReplaced).
enum class ConfigurationHeld {
    // Nothing of it, or only what a run laid out: a load and a run's
    // preparation leave the window as it is.
    Nothing,
    // The link to one of the configuration's devices on the COM port that
    // the configuration gives it (the run window's gauge bus, a stand-alone
    // device's link, a yoke's), or to X-Plane at the address it gives (the
    // simulator link): it stays across a run's preparation. Before a load
    // it hears of it after every other window, and sends what they left
    // waiting to the replaced configuration's device; after it, its port
    // follows the loaded configuration, closed where that gives the device
    // no port or another. The simulator link closes at a load instead, as
    // at the exit: what it had selected served windows closed by then.
    DeviceLink,
    // The configuration as it is in memory, which it shows anew after a
    // load; it closes before a run is prepared. Only a ConfigurationView
    // says this: showing the tables anew is not left to remembering.
    Shown,
    // Values of the configuration it was opened on, or a device of it that
    // it works on (a gauge's record, a module's entries and its test, a
    // function, the settings it tests with): before a load puts the file's
    // tables in place, and before a run is prepared, it closes as its own
    // Close does, so that whatever its Close sends goes to the devices and
    // settings it worked with.
    Record,
};

// A window of the program. Windows live as one default instance each (see
// DefaultForm): created and loaded on their first reference, shown modeless,
// and unloaded explicitly.
class Form : public QWidget {
    Q_OBJECT

public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // Every window that is loaded, in the order they were made. A load, a
    // save and a run's preparation walk them all, each window saying in its
    // own class what becomes of it (below), so that no window can be missing
    // from a list kept by hand.
    static std::vector<QPointer<Form>> loadedForms();
    // Whether the window is loaded still: not unloaded, nor on its way out.
    bool isLoaded() const;

    // ---- The window and the configuration in memory.
    // What the window holds of it; every window says.
    virtual ConfigurationHeld configurationHeld() const = 0;
    // A file was read and is about to replace the configuration in memory,
    // which is still in place: a Record window closes (Form_CloseUnasked),
    // and any other stops what works on the devices of the one replaced.
    virtual void Form_ConfigurationReplacing();
    // The file's tables are in memory now (a load or an import): a
    // DeviceLink's port follows them, a ConfigurationView shows them.
    virtual void Form_ConfigurationReplaced();
    // The configuration was saved under Session's name.
    virtual void Form_ConfigurationSaved() {}
    // What was typed in this window and not stored into the tables, which a
    // load would lose: the question the window's own Close asks about it,
    // or nothing. What was stored and not saved is the configuration's own
    // to ask about (SessionState::StoredNotSaved), open window or not.
    virtual QString unsavedQuestion() const { return {}; }
    // Closes the window as its own Close or Cancel does, but without asking
    // about what would be lost: whoever closes it this way asked first
    // (unsavedQuestion). By default the title bar's close.
    virtual void Form_CloseUnasked() { Form_TitleBarClose(); }

    // Runs once, right after the default instance was created.
    virtual void Form_Load() {}
    // The window became the active window of the program, coming from
    // another window of the program. Closing one of our own message boxes
    // does not count. Platforms that send no activation (offscreen) leave
    // the call to whoever shows the window.
    virtual void Form_Activate() {}

    // Closes the window as the close button of its title bar does, for a
    // window that closes it the way the user would.
    void closeAsTitleBar() { Form_TitleBarClose(); }

    void minimize() { setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized); }
    bool isMinimized() const { return windowState() & Qt::WindowMinimized; }

    // Showing a window brings it to the front with the keyboard, also when
    // it is open already (behind others, or minimized). A window shown for
    // the first time fits the free area of its screen (see screenfit.h),
    // opening over the program's active window. A window not on the screen
    // that is shown minimized (showMinimized) stays minimized.
    void setVisible(bool visible) override;

protected:
    // The widget that holds the window's controls and their layout: the
    // window itself, or the inside of its scroll area once it scrolls.
    QWidget& contents();

    // Stops the window's timers and closes its ports; runs when the window is
    // unloaded, before it is hidden and deleted.
    virtual void Form_Unload() {}

    // The close button of the window's title bar (and close() from code):
    // whatever the window's own Close, Cancel or Exit does, with the same
    // questions, so that nothing stays running behind a window that is
    // merely hidden. Unloads the window unless a window overrides it; a
    // window that must outlive its showing (a link window) only hides.
    virtual void Form_TitleBarClose();

    bool event(QEvent* event) override;
    // Escape does what the window's own Close (or, without one, Cancel)
    // button does, as Escape does in a dialog; a window without either
    // (an Exit) ignores it.
    void keyPressEvent(QKeyEvent* event) override;
    // The close event itself is always refused: the hook above decides, and
    // an unload hides the window anyway.
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename T>
    friend class DefaultForm;
    void unloadForm();
    void activated();
    void fitToScreen();
    // Moves the controls into a scroll area, once.
    void scrollContents();
    // After the window manager has framed the window: its frame on the free
    // area, in case the frame came out larger than reckoned.
    void keepFrameOnScreen();
    // Fits the window to the free area of `screen` (see screenfit.h).
    void fitTo(const QScreen* screen, bool placed, const QWidget* over);

    bool shownBefore_ = false;
    // Since when the window is on the screen, shown minimized.
    QElapsedTimer shownMinimized_;

    // The unload of the default instance this window is, if it is one.
    void (*unloadDefault_)() = nullptr;
};

// A window that shows the configuration in memory (ConfigurationHeld::
// Shown): after a load it shows what is in memory then, which it must say
// how (Form_ShowConfiguration); it closes before a run is prepared.
class ConfigurationView : public Form {
    Q_OBJECT

public:
    using Form::Form;

    ConfigurationHeld configurationHeld() const final { return ConfigurationHeld::Shown; }
    void Form_ConfigurationReplaced() final { Form_ShowConfiguration(); }

protected:
    // Shows the configuration in memory anew.
    virtual void Form_ShowConfiguration() = 0;
};

// Tab walks the window's controls in the order they are placed: top to
// bottom, left to right, a frame's controls together, a column of fields
// before the frame right of it. A control that holds parts of its own (an
// editable combo) is one stop, and a box of several lines passes Tab on.
// Every window does this when it shows.
void OrderTabsAsPlaced(QWidget& window);

// The width at which a window manager's title bar shows `window`'s title
// whole: title bars draw the title bold and often larger than the controls'
// font, and beside it the window's icon and its minimize, maximize and close
// buttons. A window sets its minimum width to at least this.
int TitleBarWidth(const QWidget& window);

// The default instance of window class T: `DefaultForm<RunWindow>::get()`
// creates and loads it on first reference; `unload()` ends it. Unloading is
// safe while one of the window's handlers is still inside a wait: the object
// is deleted later, from the event loop, and a handler that holds a QPointer
// to it sees it gone (see platform/wait.h).
template <typename T>
class DefaultForm {
public:
    static T& get()
    {
        if (!instance_) {
            instance_ = new T;
            static_cast<Form*>(instance_.data())->unloadDefault_ = &DefaultForm<T>::unload;
            instance_->Form_Load();
        }
        return *instance_;
    }

    static bool loaded() { return !instance_.isNull(); }

    static void unload()
    {
        if (T* form = instance_) {
            instance_ = nullptr;
            form->unloadForm();
        }
    }

private:
    static inline QPointer<T> instance_;
};

} // namespace varnet
