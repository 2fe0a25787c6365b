#pragma once

#include <initializer_list>

class QListWidget;

namespace varnet {

// Lines of `list` that hold TABs are drawn in columns: the stops are given
// in dialog units, a quarter of the average character width of the list's
// font, and are measured from the start of the line.
void SetListTabStops(QListWidget* list, std::initializer_list<int> dialogUnits);

// Every line of a list with tab stops is at least `pixels` wide, so that a
// list narrower than its columns scrolls sideways as far as its last column
// goes, however short the lines' texts are.
void SetListLineWidth(QListWidget* list, int pixels);

} // namespace varnet
