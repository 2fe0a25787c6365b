#pragma once

// The lines of the function list window: both header lines and one line
// per defined function, filtered by signal type and category.

#include "config/tables.h"

#include <QString>

#include <string>
#include <vector>

namespace varnet {

inline constexpr const char* kStandardFunctionsHeader =
    "----------------- Standard Functions for internal use ------------------------";
inline constexpr const char* kConfigurableFunctionsHeader =
    "051----------------------- Configurable Functions -------------------------------";

// The captions over the list's columns, which are the names of the boxes
// that show a clicked function, and where each stands, in dialog units: the
// list's tab stops, the number's column running to the second stop.
inline constexpr const char* kFunctionListCaptions[] = {"Nr", "Name", "Category", "Signal Type", "Description"};
inline constexpr int kFunctionListCaptionStops[] = {0, 20, 125, 175, 250};

struct FunctionListFilter {
    bool signalTypeOn = false;
    std::string signalType;  // compared exactly with the function's signal type name
    bool categoryOn = false;
    std::string category;    // compared exactly with the function's category name
};

// Names shown for a function's signal type and category; a number outside
// the tables shows as an empty text.
std::string SignalTypeName(int signalType);
std::string CategoryName(const ConfigTables& tables, int category);

// "007<TAB>Name<TAB>Category<TAB>Signal type<TAB>Description".
std::string FunctionListLine(const ConfigTables& tables, int function);

// Whether function 1..300 has a name and passes the filters.
bool FunctionListed(const ConfigTables& tables, int function, const FunctionListFilter& filter);

// The whole list, header lines included.
std::vector<std::string> FunctionListLines(const ConfigTables& tables, const FunctionListFilter& filter);

// The number a list line starts with (its first three characters): the
// function number, 0 for the first header line, 51 for the second.
int FunctionNumberOfLine(const std::string& line);

// A stored description as its box edits it: command texts keep one line per
// command.
QString DescriptionForBox(const std::string& stored);

// What a description box holds as the configuration file stores it:
// Latin-1, CR LF line ends, and an apostrophe for each double quote, which
// would end the quoted item early; no more than the file reads back
// (kMaxCommandTextLength characters).
std::string DescriptionFromBox(QString text);

} // namespace varnet
