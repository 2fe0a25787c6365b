#include "avionics/transponders.h"

#include "config/choicelists.h"
#include "config/numtext.h"
#include "platform/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnet {

namespace {

constexpr int kCategoryRadios = 5;

constexpr int kCode1Byte = 7;
constexpr int kCode2Byte = 10;
constexpr int kIdentByte = 13;
constexpr int kActiveByte = 15;
constexpr int kSwitchByte = 17;

QLabel* note(const QString& text, QWidget* parent)
{
    QLabel* l = label(text, parent);
    l->setWordWrap(true);
    return l;
}

QLineEdit* codeBox(const char* name, QWidget* parent, bool readOnly)
{
    QLineEdit* box = readOnly ? readOnlyBox(name, parent) : textBox(name, parent);
    box->setMinimumWidth(60);
    box->setMaximumWidth(80);
    return box;
}

// Every transponder has Apply as "Command6", a Read button and the display
// brightness for day and night; the backlight sections differ by module.
ModuleParts transponderModule(ModuleParts module)
{
    module.applyName = "Command6";
    module.readName = "CmdReadRadio";
    module.dayNight = true;
    return module;
}

} // namespace

QStringList DedicatedRadioFunctionItems(const ConfigTables& tables, std::vector<int>* numbers)
{
    ListItems items =
        FunctionItems(tables, kCategoryRadios, [](int signal) { return signal == kSignalDedicatedGauge; });
    if (numbers)
        numbers->insert(numbers->end(), items.numbers.begin(), items.numbers.end());
    return items.texts;
}

int AtcWordOnOpening(const GaugeRecord& record, AtcOnOpening policy, int allOptions)
{
    if (policy == AtcOnOpening::FromRecordOnceAssigned && record.function1 != kTransponderFunction)
        return allOptions;
    return record.plate1 & allOptions;
}

TransponderDialog::TransponderDialog(const char* name, const QString& caption, const ModuleParts& module,
                                     const TransponderParts& parts)
    : ModuleDialog(name, caption, transponderModule(module),
                   ModuleAssignment{.function1 = kTransponderFunction, .function2 = 0, .transponder = true}),
      parts_(parts)
{
    auto* settings = frame("FrameAssignment", QStringLiteral("Transponder Assignment and Settings"), this);
    settingsRow_ = new QHBoxLayout(settings);
    auto* assignment = new QVBoxLayout;
    auto* assignRow = new QHBoxLayout;
    ComboCode = comboBox("ComboCode", settings);
    ComboCode->setMinimumWidth(200);
    assignRow->addWidget(label(QStringLiteral("Assign to: "), settings));
    assignRow->addWidget(ComboCode, 1);
    assignment->addLayout(assignRow);
    auto* atc = frame("FrameATC", parts.atcFrame, settings);
    auto* atcColumn = new QVBoxLayout(atc);
    for (const AtcOption& option : parts.atc) {
        atcBoxes_.push_back(checkBox(option.name, QString::fromLatin1(option.caption), atc));
        atcColumn->addWidget(atcBoxes_.back());
    }
    atcColumn->addWidget(note(parts.atcNote, atc));
    assignment->addWidget(atc);
    settingsRow_->addLayout(assignment);
    settingsRow_->addWidget(buildCodes());

    auto* test = frame("FrameTest", QStringLiteral("Test Transponder"), this);
    testRow_ = new QHBoxLayout(test);
    testRow_->addWidget(buildData());
    DayNightFrame->setTitle(QStringLiteral("Displays Intensity"));
    DayNightFrame->setParent(test);
    testRow_->addWidget(DayNightFrame);

    content()->addWidget(settings);
    content()->addWidget(test);
    if (parts.writeOnlyNote)
        content()->addWidget(note(QStringLiteral("Note: The values in the boxes Default and Displays are not actual. "
                                                 "These are located in the transponder module and not read back. "
                                                 "So, these are Write Only."),
                                  this));
}

QGroupBox* TransponderDialog::buildCodes()
{
    auto* codes = frame("FrameDefaultCodes", QStringLiteral("Default Transponder codes"), this);
    auto* grid = new QGridLayout(codes);
    const auto row = [&](int r, const QString& caption, const char* boxName, const char* buttonName) {
        QLineEdit* box = codeBox(boxName, codes, false);
        box->setText(parts_.defaultCode);
        QPushButton* set = button(buttonName, parts_.setCaption, codes);
        onClicked(set, [this, r] { setDefaultCode(r + 1); });
        grid->addWidget(label(caption, codes), r, 0);
        grid->addWidget(box, r, 1);
        grid->addWidget(set, r, 2);
        return box;
    };
    BoxDefaultCode1 = row(0, parts_.codeLabel, "BoxDefaultCode1", "cmdSetDefaultTransponder1");
    if (parts_.twoCodes)
        BoxDefaultCode2 = row(1, QStringLiteral("Transponder 2"), "BoxDefaultCode2", "cmdSetDefaultTransponder2");
    if (!parts_.codeNote.isEmpty())
        grid->addWidget(note(parts_.codeNote, codes), grid->rowCount(), 0, 1, 3);
    return codes;
}

QGroupBox* TransponderDialog::buildData()
{
    auto* data = frame("FrameData", QStringLiteral("Transponder data"), this);
    dataGrid_ = new QGridLayout(data);
    boxTransponder1 = codeBox("boxTransponder1", data, true);
    if (parts_.twoCodes) {
        boxTransponder2 = codeBox("boxTransponder2", data, true);
        CheckTransponder1Activ = checkBox("CheckTransponder1Activ", QString(), data);
        CheckTransponder2Activ = checkBox("CheckTransponder2Activ", QString(), data);
        dataGrid_->addWidget(label(QStringLiteral("Activ"), data), 0, 2);
        addDataRow(QStringLiteral("Transponder 1"), boxTransponder1, CheckTransponder1Activ);
        addDataRow(QStringLiteral("Transponder 2"), boxTransponder2, CheckTransponder2Activ);
    } else {
        addDataRow(QStringLiteral("Xpndr Code: "), boxTransponder1);
    }
    ReadButton->setParent(data);
    dataGrid_->addWidget(ReadButton, 0, 3);
    RotarySwitchPosition = codeBox("RotarySwitchPosition", data, true);
    RotarySwitchPosition->setText(QStringLiteral("--"));
    addDataRow(parts_.switchLabel, RotarySwitchPosition);
    CheckIdentButton = checkBox("CheckIdentButton", parts_.identCaption, data);
    addDataRow(CheckIdentButton);
    return data;
}

void TransponderDialog::addDataRow(const QString& caption, QWidget* box, QWidget* beside)
{
    QWidget* data = dataGrid_->parentWidget();
    const int r = dataGrid_->rowCount();
    dataGrid_->addWidget(label(caption, data), r, 0);
    dataGrid_->addWidget(box, r, 1);
    if (beside)
        dataGrid_->addWidget(beside, r, 2);
}

void TransponderDialog::addDataRow(QCheckBox* check)
{
    dataGrid_->addWidget(check, dataGrid_->rowCount(), 0, 1, 3);
}

void TransponderDialog::loadRecord()
{
    ModuleDialog::loadRecord();
    const GaugeRecord record = context().record();
    std::vector<int> numbers;
    fillList(ComboCode, DedicatedRadioFunctionItems(Cfg, &numbers));
    for (std::size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] == record.function1)
            ComboCode->setCurrentIndex(int(i));

    const int allOptions = (1 << atcBoxes_.size()) - 1;
    const int word = AtcWordOnOpening(record, parts_.atcOnOpening, allOptions);
    for (std::size_t bit = 0; bit < atcBoxes_.size(); ++bit)
        atcBoxes_[bit]->setChecked(word & (1 << bit));
}

void TransponderDialog::writeModule(int gaugeID)
{
    GaugeRecord r;
    for (std::size_t bit = 0; bit < atcBoxes_.size(); ++bit)
        if (atcBoxes_[bit]->isChecked())
            r.plate1 |= 1 << bit;
    r.Write(Cfg, gaugeID, Field::Plate1);
}

void TransponderDialog::setDefaultCode(int transponder)
{
    QLineEdit* box = transponder == 1 ? BoxDefaultCode1 : BoxDefaultCode2;
    const std::optional<int> word = TransponderWord(box->text(), parts_.packing);
    if (!word)
        return;
    const QPointer<TransponderDialog> self(this);
    send(transponder == 1 ? 10 : 11, *word);
    if (self && parts_.confirmCodes)
        send(transponder == 1 ? 4 : 5, *word);
}

void TransponderDialog::decodeReply(const Reply& reply)
{
    boxTransponder1->setText(NibbleDigits(reply.byte(kCode1Byte), reply.byte(kCode1Byte + 1)));
    if (parts_.twoCodes) {
        boxTransponder2->setText(NibbleDigits(reply.byte(kCode2Byte), reply.byte(kCode2Byte + 1)));
        const bool firstActive = reply.byte(kActiveByte) == 1;
        CheckTransponder1Activ->setChecked(firstActive);
        CheckTransponder2Activ->setChecked(!firstActive);
    }
    RotarySwitchPosition->setText(switchText(reply.byte(kSwitchByte)));
    CheckIdentButton->setChecked(reply.byte(kIdentByte) != 0);
    decodeMore(reply);
}

} // namespace varnet
