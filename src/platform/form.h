#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <vector>

class QScreen;

namespace varnet {

// What a window holds of the configuration in memory: the tables that a
// load replaces, a save writes and a run is prepared from.
enum class ConfigurationHeld {
    // Nothing of it, or only what a run laid out (the run window, its link
    // windows): a load and a run's preparation leave the window as it is.
    Nothing,
    // The configuration as it is in memory: after a load the window shows
    // what is in memory then, and it closes before a run is prepared.
    Shown,
    // Values of the configuration it was opened on (a gauge's record, a
    // function, the settings it tests with): after a load, and before a run
    // is prepared, it closes as its own Close does.
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
    // A file replaced the configuration in memory (a load or an import). A
    // Record window closes (Form_CloseUnasked); the others show what they
    // show of the configuration anew.
    virtual void Form_ConfigurationReplaced();
    // The configuration was saved under Session's name: what the window
    // stored in it is saved now (its mark below is cleared), and then the
    // window hears of it (Form_ConfigurationSaved).
    void configurationSaved();
    virtual void Form_ConfigurationSaved() {}
    // What was typed or stored in this window and not saved, which a load
    // would lose and the configuration's own unsaved mark does not cover:
    // the question the window's own Close asks about it, or nothing. By
    // default "Updates are not saved yet; Continue?" while the window's
    // mark (setStoredNotSaved) is set.
    virtual QString unsavedQuestion() const;
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

    // Asks the window's own question about what would be lost
    // (unsavedQuestion), as its own Close does: true when there is none or
    // the user goes on.
    bool unsavedMayGo() const;
    // Marks what the window stored into the tables, without marking the
    // configuration changed, as not saved (or, with false, as saved after
    // all): its question asks about it until a save.
    void setStoredNotSaved(bool stored = true) { storedNotSaved_ = stored; }

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
    bool storedNotSaved_ = false;
    // Since when the window is on the screen, shown minimized.
    QElapsedTimer shownMinimized_;

    // The unload of the default instance this window is, if it is one.
    void (*unloadDefault_)() = nullptr;
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
