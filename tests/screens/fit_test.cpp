// Every window of the program on a 1280x720 screen: its frame on the free
// area, and every button and box of it on the screen, where the window
// scrolls once scrolled to. On a large screen a window keeps its size.

#include "app/configscreen_fixture.h"
#include "app/tabstops.h"
#include "gauges/platewindow.h"
#include "iomodules/enginelink.h"
#include "iomodules/iomodulelink.h"
#include "simlink/functiontest.h"
#include "support/fake_serial_port.h"
#include "support/fake_udp_socket.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <set>
#include <string>

namespace varnet {
namespace {

using namespace varnet::testing;

// A button or box the user acts on or reads; not a part of one (the line
// edit of a combo, the scroll bars of a list).
bool isControl(const QWidget* w)
{
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           (qobject_cast<const QAbstractSlider*>(w) && !qobject_cast<const QScrollBar*>(w));
}

std::vector<QWidget*> controlsOf(QWidget& window)
{
    std::vector<QWidget*> controls;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!isControl(w) || w->window() != &window || !w->isVisibleTo(&window))
            continue;
        bool part = false;
        for (QWidget* p = w->parentWidget(); p && p != &window; p = p->parentWidget())
            part = part || isControl(p);
        if (!part)
            controls.push_back(w);
    }
    return controls;
}

std::string text(const QRect& r)
{
    return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()).toStdString();
}

QRect onScreen(QWidget& w)
{
    return QRect(w.mapToGlobal(QPoint(0, 0)), w.size());
}

QString nameOf(QWidget& w)
{
    if (!w.objectName().isEmpty())
        return w.objectName();
    auto* button = qobject_cast<QAbstractButton*>(&w);
    return QString::fromLatin1(w.metaObject()->className()) + (button ? " " + button->text() : QString());
}

class LaptopScreen : public ConfigScreenTest {
protected:
    void SetUp() override
    {
        ConfigScreenTest::SetUp();
        RegisterGaugeDialogs(SetGaugeDialogOpener);
        RegisterAvionicsDialogs(SetGaugeDialogOpener);
    }
    void TearDown() override
    {
        CloseGaugeDialogs();
        const auto restore = [](std::string_view dialog, GaugeDialogOpener) { SetGaugeDialogOpener(dialog, {}); };
        RegisterGaugeDialogs(restore);
        RegisterAvionicsDialogs(restore);
        unloadAll<frmTestFunction, frmCalibrate, frmStatusYoke, frmConfigY1, frmConfigY2>();
        ConfigScreenTest::TearDown();
    }

    static QRect laptop() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // The shown window fits the laptop's screen with all it holds.
    static void expectFits(QWidget& window)
    {
        const QString title = window.objectName() + " \"" + window.windowTitle() + "\"";
        SCOPED_TRACE(title.toStdString());
        ASSERT_TRUE(window.isVisible());
        QApplication::processEvents();
        EXPECT_TRUE(laptop().contains(window.frameGeometry())) << "the window at " << text(window.frameGeometry());
        auto* scroll = window.findChild<QScrollArea*>("formScrollArea", Qt::FindDirectChildrenOnly);
        const std::vector<QWidget*> controls = controlsOf(window);
        EXPECT_FALSE(controls.empty());
        for (QWidget* control : controls) {
            if (scroll) {
                // Scrolled to as a whole (ensureWidgetVisible would look
                // for a text box's cursor only).
                const QRect at(control->mapTo(scroll->widget(), QPoint(0, 0)), control->size());
                scroll->ensureVisible(at.center().x(), at.center().y(), at.width() / 2 + 1, at.height() / 2 + 1);
            }
            QWidget& shown = scroll ? *scroll->viewport() : window;
            EXPECT_TRUE(onScreen(shown).contains(onScreen(*control)) && laptop().contains(onScreen(*control)))
                << nameOf(*control).toStdString() << " at " << text(onScreen(*control)) << ", the window shows "
                << text(onScreen(shown));
        }
    }

    template <typename T>
    static void showAndCheck()
    {
        T& window = DefaultForm<T>::get();
        window.show();
        expectFits(window);
        window.hide();
    }
};

TEST_F(LaptopScreen, EveryWindowFitsWithEveryButtonAndBoxOnTheScreen)
{
    ASSERT_EQ(laptop(), QRect(0, 0, 1280, 720)) << "the laptop screen of this program's main";
    FakeSerialPorts ports;
    FakeUdpSockets sockets;
    std::tie(Cfg.RemoteIP, Cfg.RemotePort, Cfg.LocalPort) = std::tuple("127.0.0.1", "49000", "49001");
    for (int f = 1; f <= 60; ++f) {
        Cfg.FunctionNames[std::size_t(f)] = "Function " + std::to_string(f);
        Cfg.FunctionMultiply[std::size_t(f)] = Cfg.FunctionDivide[std::size_t(f)] = 1;
    }

    FrmMainConfigure& s = screen();
    expectFits(s);
    GetOffsetlist::ShowWindow();
    expectFits(DefaultForm<GetOffsetlist>::get());
    showAndCheck<frmMain>();
    showAndCheck<frmListFunctions>();
    showAndCheck<SaveConfig>();
    showAndCheck<frmTestGauges>();
    showAndCheck<frmTestXplaneInterface>();
    showAndCheck<frmTestFunction>();
    showAndCheck<SimCom>();
    showAndCheck<frmStatus>();
    showAndCheck<frmTestEC>();
    showAndCheck<FrmConfigureYokes>();
    showAndCheck<frmStatusYoke>();
    showAndCheck<frmConfigY1>();
    showAndCheck<frmConfigY2>();
    showAndCheck<frmStatusEC>();
    showAndCheck<frmStatusIOM>();
    showAndCheck<frmstatusIOM2>();
    std::tie(CalNeedleNr, CalCategoryName, CalFunctionName, CalFunctionNr, CalSeqNr, CalPlateNr) =
        std::tuple(1, "Engines", "040.  RPM", 40, 1, 0);
    OpenPlateWindow();
    expectFits(DefaultForm<frmCalibrate>::get());
}

// The captions over the configuration screen's gauge list: on the laptop
// each stands whole over its column and inside the part of the list the
// screen shows, without scrolling, whatever a full cockpit's lines hold.
TEST_F(LaptopScreen, EveryCaptionOfTheGaugeListStandsWholeOverItsColumnInView)
{
    // Every built-in type, and more gauges than the list has room for.
    const int types[] = {1, 2, 3, 4, 5, 6, 8, 10, 101, 103, 104, 105, 106, 108, 109, 110, 111, 112, 113, 114, 120,
                         121, 122, 123, 124, 125, 130};
    for (int id = 1; id <= 60; ++id) {
        const int type = types[std::size_t(id) % std::size(types)];
        GaugeRecord{type, 1, 1, 1, 100 + id, 1 + id % 3, 0, 1, 200 + id, 2}.Write(Cfg, id, Field::All);
        Cfg.FunctionNames[std::size_t(100 + id)] = "ENGINE N1 LEFT";
        Cfg.FunctionNames[std::size_t(200 + id)] = "Fuel Flow " + std::to_string(id);
        Session.GaugeRecBusStatus[std::size_t(id)] = Byte(id % 3);
    }
    FrmMainConfigure& s = screen();
    QApplication::processEvents();
    ASSERT_TRUE(laptop().contains(s.frameGeometry()));
    auto* list = s.findChild<QListWidget*>("Configlist");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->horizontalScrollBar()->value(), 0);
    const QList<QLabel*> captions = list->parentWidget()->findChild<QWidget*>()->findChildren<QLabel*>();
    ASSERT_EQ(captions.size(), 7);
    const QRect shown = onScreen(*list->viewport());
    const std::vector<DrawnField> fields = DrawnFields(list, 0);
    ASSERT_EQ(fields.size(), 7u);
    for (int i = 0; i < captions.size(); ++i) {
        QLabel& caption = *captions[i];
        SCOPED_TRACE(caption.text().toStdString());
        const QRect at = onScreen(caption);
        // The text whole within the label, on one line or wrapped at its blanks.
        const QFontMetrics metrics(caption.font());
        const QRect needs = caption.wordWrap()
                                ? metrics.boundingRect(QRect(0, 0, at.width(), 1000), Qt::TextWordWrap, caption.text())
                                : QRect(0, 0, metrics.horizontalAdvance(caption.text()), metrics.height());
        EXPECT_TRUE(needs.width() <= at.width() && needs.height() <= at.height())
            << "needs " << text(needs) << ", has " << text(at);
        EXPECT_TRUE(onScreen(*caption.parentWidget()).contains(at)) << "the row of captions cuts it off";
        // Over its column: from the column's start, short of the next one.
        EXPECT_EQ(at.left(), list->viewport()->mapToGlobal(QPoint(fields[std::size_t(i)].left, 0)).x());
        if (i + 1 < captions.size()) {
            EXPECT_LT(at.right(), list->viewport()->mapToGlobal(QPoint(fields[std::size_t(i) + 1].left, 0)).x());
        }
        EXPECT_TRUE(at.left() >= shown.left() && at.right() <= shown.right())
            << "at " << text(at) << ", the list shows " << text(shown);
    }
}

// Every dialog that the configuration screen's list opens, the I/O module
// window and the unknown-device window among them.
TEST_F(LaptopScreen, EveryDialogOfTheListFitsWithEveryButtonAndBoxOnTheScreen)
{
    FakeSerialPorts ports;
    int id = 0;
    const auto add = [&id](int type, int version = 1) { GaugeRecord{type, 1, version}.Write(Cfg, ++id, Field::Identity); };
    for (int type : {1, 2, 3, 8, 10, 101, 103, 104, 105, 106, 108, 109, 110, 111, 112, 113, 114, 120, 121, 122, 123,
                     124, 125, 130, 77})
        add(type);
    add(101, 5);  // the analogue altimeter
    saveAndLoad("cockpit.cfg");

    FrmMainConfigure& s = screen();
    std::set<std::string, std::less<>> seen;
    const std::vector<std::string> lines = listLines(s, "Configlist");
    for (int row = 0; row < int(lines.size()); ++row) {
        const int gaugeID = GaugeIDOfLine(lines[std::size_t(row)]);
        const std::string_view name = GaugeDialogName(Cfg.GaugeRecType[gaugeID], Cfg.GaugeRecVersion[gaugeID]);
        clickLine(s, "Configlist", row);
        QApplication::processEvents();
        QWidget* shown = QApplication::activeWindow();
        ASSERT_NE(shown, nullptr) << name;
        EXPECT_EQ(shown->objectName().toStdString(), name);
        expectFits(*shown);
        seen.emplace(name);
        CloseGaugeDialogs();
        unloadAll<ConfigIOM, frmConfigUnknown>();
        flushDeletes();
    }
    for (std::string_view name : GaugeDialogNames())
        EXPECT_TRUE(seen.contains(name)) << name << " was not opened";
}

// Where the screen has room, a window keeps the size it is made with; it
// opens over the window it is opened from and stays on that screen.
TEST_F(LaptopScreen, OnALargeScreenTheFunctionEditorKeepsItsSize)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    const QRect large = screens[1]->availableGeometry();
    FrmMainConfigure& s = screen();
    s.move(large.topLeft());
    s.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &s);
    GetOffsetlist::ShowWindow();
    GetOffsetlist& editor = DefaultForm<GetOffsetlist>::get();
    EXPECT_EQ(editor.size(), QSize(1100, 900));
    EXPECT_TRUE(large.contains(editor.frameGeometry())) << text(editor.frameGeometry());
    EXPECT_EQ(editor.findChild<QScrollArea*>("formScrollArea"), nullptr);

    // On the laptop the same editor shrinks to the screen.
    DefaultForm<GetOffsetlist>::unload();
    s.move(0, 0);
    s.activateWindow();
    QApplication::processEvents();
    GetOffsetlist::ShowWindow();
    GetOffsetlist& small = DefaultForm<GetOffsetlist>::get();
    EXPECT_LT(small.height(), 720);
    EXPECT_TRUE(laptop().contains(small.frameGeometry())) << text(small.frameGeometry());
}

} // namespace
} // namespace varnet
