#pragma once

class QWidget;

namespace ui {

// Opens or locks every input inside a data panel. Locked text stays readable,
// selectable and reachable with the keyboard (read-only); lists and check boxes
// are disabled. A widget with the property "alwaysEnabled" is left as it is
// (an e-mail button works while browsing); one with "neverEditable" stays locked.
void setPanelEditable(QWidget* panel, bool editable);

} // namespace ui
