#include "gauges/enginecluster.h"

#include "bus/sendpath.h"
#include "gauges/needlelists.h"
#include "gauges/platewindow.h"
#include "platform/controls.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>

#include <memory>

namespace varnet {

const std::array<EngineClusterNeedle, kClusterNeedles> kEngineClusterNeedles{{
    {"Fuel Left", "Fuel", 46, 1, "046   Fuel Left", 4, "cmdCalibrateFuelLeft"},
    {"Fuel Right", "Fuel", 46, 2, "046   Fuel Right", 5, "cmdCalibrateFuelRight"},
    {"EGT", "Engines", 40, 1, "040   EGT", 6, "cmdCalibrateEGT"},
    {"Fuel Flow", "Engines", 41, 1, "041   Fuel Flow", 9, "cmdCalibrateFF"},
    {"Oil Temp", "Engines", 42, 1, "042   Oil Temperature", 10, "cmdCalibrateOilTemp"},
    {"Oil Pressure", "Engines", 43, 1, "043   Oil Pressure", 11, "cmdCalibrateOilPres"},
    {"VAC", "Cockpit", 44, 1, "044   VAC", 12, "cmdCalibrateVAC"},
    {"AMP", "Cockpit", 45, 1, "045   AMP", 13, "cmdCalibrateAMP"},
}};

namespace {

// No function is chosen in this dialog; the record marks the cluster so.
constexpr int kClusterFunction1 = 299;
constexpr int kTestTop = 400;
constexpr int kHighPlateTop = 127;
constexpr int kPlateTop = 255;

int highPlate(int word)
{
    return std::int16_t(word & 0xFF00) / 256;
}

int packed(int high, int low)
{
    return high * 256 + low;
}

// The category index listed under `name`, or -1.
int categoryNamed(const char* name)
{
    for (int i = 0; i < kCategoryRows; ++i)
        if (Cfg.CategoryNames[i] == name)
            return i;
    return -1;
}

} // namespace

ClusterPlates StoredClusterPlates(const GaugeRecord& r)
{
    return {r.category1, r.seqNr1, highPlate(r.plate1), r.plate1 & 0xFF,
            r.category2, r.seqNr2, highPlate(r.plate2), r.plate2 & 0xFF};
}

bool ClusterPlatesFit(const ClusterPlates& plates)
{
    for (int n = 0; n < kClusterNeedles; ++n) {
        const int top = n == 2 || n == 6 ? kHighPlateTop : kPlateTop;
        if (plates[n] < 0 || plates[n] > top)
            return false;
    }
    return true;
}

void PutClusterPlates(GaugeRecord& r, const ClusterPlates& p)
{
    r.category1 = p[0];
    r.seqNr1 = p[1];
    r.plate1 = packed(p[2], p[3]);
    r.category2 = p[4];
    r.seqNr2 = p[5];
    r.plate2 = packed(p[6], p[7]);
}

ConfigCessnaEngineCluster::ConfigCessnaEngineCluster()
    : DialogOf("ConfigCessnaEngineCluster", QStringLiteral("Configure Cessna Enginecluster"), FrameParts{.light = true})
{
    CmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* assignment = frame("FrameAssignment", QStringLiteral("Gauge Assignment and Settings"), this);
    auto* test = frame("FrameTest", QStringLiteral("Test Gauge"), this);
    auto* plates = new QGridLayout(assignment);
    auto* sliders = new QGridLayout(test);
    plates->addWidget(label(QStringLiteral("Plate "), assignment), 0, 1);
    for (int n = 0; n < kClusterNeedles; ++n) {
        const EngineClusterNeedle& needle = kEngineClusterNeedles[n];
        const QString caption = QString::fromLatin1(needle.label);
        const QByteArray index = QByteArray::number(n);
        ComboPlate[n] = comboBox(QByteArray("ComboPlate_" + index).constData(), assignment);
        ComboPlate[n]->setMinimumWidth(200);
        QPushButton* cal = button(needle.calibrateButton, QStringLiteral("Cal"), assignment);
        onClicked(cal, [this, n] { calibrate(n); });
        plates->addWidget(label(caption, assignment), n + 1, 0);
        plates->addWidget(ComboPlate[n], n + 1, 1);
        plates->addWidget(cal, n + 1, 2);

        QSlider* s = slider(QByteArray("SliderValue1_" + index).constData(), 0, kTestTop, test);
        s->setTickInterval(50);
        s->setTickPosition(QSlider::TicksBelow);
        onValueChanged(s, [this, command = needle.command](int position) { send(command, position); });
        sliders->addWidget(label(caption, test), n, 0);
        sliders->addWidget(s, n, 1);
    }

    // The gauge takes two speed scales: a fine one while the thumb is
    // dragged, a coarse one once the position has changed.
    SliderSpeed = slider("SliderSpeed", 0, 100, assignment);
    SliderSpeed->setValue(100);
    connect(SliderSpeed, &QSlider::valueChanged, this, [this](int position) { speedChanged(position); });
    connect(SliderSpeed, &QSlider::sliderReleased, this, [this] { speedReleased(); });
    auto* speed = new QHBoxLayout;
    speed->addWidget(label(QStringLiteral("Needle Speed  Slow"), assignment));
    speed->addWidget(SliderSpeed);
    speed->addWidget(label(QStringLiteral("Fast"), assignment));
    plates->addLayout(speed, kClusterNeedles + 1, 0, 1, 3);

    auto* row = new QHBoxLayout;
    row->addWidget(assignment);
    row->addWidget(test);
    content()->addLayout(row);
}

void ConfigCessnaEngineCluster::loadRecord()
{
    fillPlateLists();
}

void ConfigCessnaEngineCluster::Form_Activate()
{
    fillPlateLists();
}

void ConfigCessnaEngineCluster::fillPlateLists()
{
    const ClusterPlates stored = StoredClusterPlates(context().record());
    for (int n = 0; n < kClusterNeedles; ++n) {
        const ListItems items = CategoryPlateItems(Cfg, categoryNamed(kEngineClusterNeedles[n].category));
        fillList(ComboPlate[n], items.texts);
        for (int i = int(items.numbers.size()) - 1; i >= 0; --i)
            if (items.numbers[std::size_t(i)] == stored[n]) {
                ComboPlate[n]->setCurrentIndex(i);
                break;
            }
    }
}

ClusterPlates ConfigCessnaEngineCluster::selectedPlates() const
{
    ClusterPlates plates{};
    for (int n = 0; n < kClusterNeedles; ++n)
        plates[n] = ListNumber(ComboPlate[n]->currentText());
    return plates;
}

ApplySteps ConfigCessnaEngineCluster::applySteps()
{
    // The plates as checked are the plates written.
    auto plates = std::make_shared<ClusterPlates>();
    return {.validate =
                [this, plates] {
                    *plates = selectedPlates();
                    if (ClusterPlatesFit(*plates))
                        return true;
                    messages().ok(QString::fromLatin1(kAssignmentIncorrect));
                    return false;
                },
            .clears = Field::Identity | Field::TypeAndBothAssignments,
            .move = MovePolicy::Connected,
            .write =
                [plates](int id) {
                    GaugeRecord r;
                    r.function1 = kClusterFunction1;
                    r.function2 = 0;
                    PutClusterPlates(r, *plates);
                    r.Write(Cfg, id, Field::Needle1 | Field::Assignment2 | Field::Plate2);
                },
            .afterwards = {}};
}

void ConfigCessnaEngineCluster::calibrate(int n)
{
    const EngineClusterNeedle& needle = kEngineClusterNeedles[n];
    CalNeedleNr = Integer(n + 1);
    CalFunctionName = needle.functionText;
    CalCategoryName = needle.category;
    CalSeqNr = Integer(needle.selector);
    CalPlateNr = Integer(ListNumber(ComboPlate[n]->currentText()));
    CalFunctionNr = Integer(needle.function);
    // The plate window moves the needles of this dialog's gauge, whatever
    // was opened since.
    CurrentGaugeID = Integer(gaugeID());
    CurrentGaugeTypeName = context().typeName();
    OpenPlateWindow();
}

void ConfigCessnaEngineCluster::speedChanged(int position)
{
    if (SliderSpeed->isSliderDown()) {
        dragged_ = true;
        send(3, (105 - position) * 40);
    } else {
        send(3, 110 - position);
    }
}

void ConfigCessnaEngineCluster::speedReleased()
{
    if (!dragged_)
        return;
    dragged_ = false;
    send(3, 110 - SliderSpeed->value());
}

} // namespace varnet
