#pragma once

#include <QString>

#include <initializer_list>
#include <vector>

class QListWidget;

namespace varnet {

// Lines of `list` that hold TABs are drawn in columns: the stops are given
// in dialog units, a quarter of the average character width of the list's
// font, and are measured from the start of the line. Every line is at least
// `minimumLineWidth` pixels wide, so that a list narrower than its columns
// scrolls sideways as far as its last column goes, however short the lines'
// texts are.
void SetListTabStops(QListWidget* list, std::initializer_list<int> dialogUnits, int minimumLineWidth = 0);

// Lines of `list` hold TAB-separated fields, each drawn in its own column:
// field i from starts[i] pixels after the line's start, cut short with an
// ellipsis where it would reach the next column, so a long text never
// pushes the fields after it out of their columns. Lines are at least
// `minimumLineWidth` pixels wide. Called again, it moves the columns.
void SetListColumns(QListWidget* list, std::vector<int> starts, int minimumLineWidth);

// Where the fields of a line of `list` stand as drawn: the left edge of
// each, in the list's viewport, and the text shown there.
struct DrawnField {
    int left;
    QString text;
};
std::vector<DrawnField> DrawnFields(const QListWidget* list, int row);
// How far the text of a line starts from the left edge of an unscrolled
// list's viewport.
int ListTextLeft(const QListWidget* list);

} // namespace varnet
