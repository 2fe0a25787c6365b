#include "app/functionlist.h"

#include "config/itemtext.h"
#include "config/numtext.h"


namespace varnet {

std::string SignalTypeName(int signalType)
{
    return signalType >= 0 && signalType < kSignalTypes ? kSignalTypeNames[signalType] : "";
}

std::string CategoryName(const ConfigTables& tables, int category)
{
    return category >= 0 && category < kCategoryRows ? tables.CategoryNames[category] : "";
}

std::string FunctionListLine(const ConfigTables& t, int f)
{
    return zeroPadded(f, 3) + '\t' + t.FunctionNames[f] + '\t' + CategoryName(t, t.FunctionCategory[f]) + '\t' +
           SignalTypeName(t.FunctionSignalType[f]) + '\t' + t.FunctionFullName[f];
}

bool FunctionListed(const ConfigTables& t, int f, const FunctionListFilter& filter)
{
    return !t.FunctionNames[f].empty() &&
           (!filter.signalTypeOn || filter.signalType == SignalTypeName(t.FunctionSignalType[f])) &&
           (!filter.categoryOn || filter.category == CategoryName(t, t.FunctionCategory[f]));
}

std::vector<std::string> FunctionListLines(const ConfigTables& t, const FunctionListFilter& filter)
{
    std::vector<std::string> lines{kStandardFunctionsHeader};
    for (int f = 1; f < kStoredFunctionRows; ++f) {
        if (f == 51)
            lines.emplace_back(kConfigurableFunctionsHeader);
        if (FunctionListed(t, f, filter))
            lines.push_back(FunctionListLine(t, f));
    }
    return lines;
}

int FunctionNumberOfLine(const std::string& line)
{
    // The leading digits of the first three characters, as the number column
    // is written; anything else reads as 0.
    int number = 0;
    for (std::size_t i = 0; i < 3 && i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        number = number * 10 + (line[i] - '0');
    return number;
}

QString DescriptionForBox(const std::string& stored)
{
    return QString::fromLatin1(stored.data(), qsizetype(stored.size()))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string DescriptionFromBox(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(u'\r', u'\n')
        .replace(QStringLiteral("\n"), QStringLiteral("\r\n"))
        .replace(u'"', u'\'');
    std::string stored = text.toLatin1().toStdString();
    if (stored.size() > kMaxCommandTextLength)
        stored.resize(kMaxCommandTextLength);
    return stored;
}

} // namespace varnet
