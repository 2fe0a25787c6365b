#pragma once

#include <initializer_list>

class QListWidget;

namespace varnet {

// Lines of `list` that hold TABs are drawn in columns: the stops are given
// in dialog units, a quarter of the average character width of the list's
// font, and are measured from the start of the line. Every line is at least
// `minimumLineWidth` pixels wide, so that a list narrower than its columns
// scrolls sideways as far as its last column goes, however short the lines'
// texts are.
void SetListTabStops(QListWidget* list, std::initializer_list<int> dialogUnits, int minimumLineWidth = 0);

} // namespace varnet
