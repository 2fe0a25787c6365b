#include "app/commandlist.h"

#include "app/functioneditor.h"
#include "config/itemtext.h"
#include "config/numinput.h"
#include "platform/messages.h"
#include "simlink/simcom.h"
#include "simlink/simports.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include <cstdio>

namespace varnet {

namespace {

constexpr int kCommandDataType = DataTypeCommand;
constexpr int kInputSwitchSignalType = 1;
constexpr std::size_t kCommandColumn = 5;  // character 6 of a list line
constexpr int kHighestCommandNumber = 32767;

} // namespace

CommandList ReadCommandFile(const std::string& path)
{
    CommandList list;
    try {
        ItemReader reader = ItemReader::fromFile(path);
        if (reader.readString() != kCommandFileHeader)
            throw ItemError(kErrorTypeMismatch);
        list.count = reader.readInteger();
        for (int k = 0; k < list.count; ++k)
            list.lines.push_back(CommandListLine(k, reader.readString()));
    } catch (const ItemError&) {
        list.lines.emplace_back(kCommandFileError);
    }
    return list;
}

std::string CommandListLine(int number, const std::string& name)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", number);
    return std::string(digits) + ' ' + name;
}

std::optional<std::string> CommandOfLine(const std::string& line)
{
    if (line.size() <= kCommandColumn)
        return std::nullopt;
    const std::size_t blank = line.find(' ', kCommandColumn);
    return line.substr(kCommandColumn, blank == std::string::npos ? std::string::npos : blank - kCommandColumn);
}

std::string CommandTextLine(int number, const std::string& command)
{
    return '#' + std::to_string(number) + ':' + command;
}

// ---- The command half of the editor window ----------------------------------

void GetOffsetlist::ReadXplaneCommands()
{
    ListXplaneCmnds->clear();
    const CommandList list = ReadCommandFile();
    commandCount_ = list.count;
    for (const std::string& line : list.lines)
        ListXplaneCmnds->addItem(QString::fromLatin1(line.c_str()));
}

void GetOffsetlist::Cmdsearch_Click()
{
    if (commandCount_ <= 0)
        return;
    QStringList lines;
    for (int row = 0; row < ListXplaneCmnds->count(); ++row)
        lines << ListXplaneCmnds->item(row)->text();
    const RowSearch found = SearchRows(lines, commandSearchStart_, commandCount_ - 1, SearchText->text());
    selectRow(ListXplaneCmnds, found.row);
    commandSearchStart_ = found.nextStart;
}

std::optional<std::string> GetOffsetlist::selectedCommand()
{
    const QListWidgetItem* item = ListXplaneCmnds->currentItem();
    std::optional<std::string> command;
    if (item && item->isSelected())
        command = CommandOfLine(item->text().toLatin1().toStdString());
    if (!command)
        messages().ok(QString::fromLatin1(kIncorrectCommand));
    return command;
}

void GetOffsetlist::cmdCopyCmdToFunction_Click()
{
    const std::optional<std::string> command = selectedCommand();
    if (!command)
        return;
    // A box without a number numbers the line 0.
    const QString numberText = boxCmdNumber->text();
    const std::optional<long long> number =
        RoundedInRange(leadingNumber(numberText.toStdString()).value_or(0), 0, kHighestCommandNumber);
    if (!number) {
        messages().ok(QString::fromLatin1(kCommandNumberRule));
        return;
    }
    FullName->setPlainText(FullName->toPlainText() +
                           QString::fromLatin1(CommandTextLine(int(*number), *command).c_str()) + '\n');
    ComboDT->setCurrentIndex(kCommandDataType);
    FuncType->setCurrentIndex(kInputSwitchSignalType);
    boxMaximumValue->setText(numberText);
    boxCmdNumber->setText(QString::number(*number + 1));
}

void GetOffsetlist::cmdTestCommand_Click()
{
    const std::optional<std::string> command = selectedCommand();
    if (!command)
        return;
    SimCom& link = DefaultForm<SimCom>::get();
    link.OpenSimCom();
    link.SendXplaneCommand(CommandTextLine(0, *command) + "\r\n", 0);
}

void GetOffsetlist::cmdClearFunction_Click()
{
    FullName->clear();
    boxMinimumValue->setText(QStringLiteral("0"));
    boxMaximumValue->setText(QStringLiteral("0"));
    boxCmdNumber->setText(QStringLiteral("0"));
}

} // namespace varnet
