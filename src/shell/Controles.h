#pragma once

class QWidget;

namespace orb {

// Selects the whole text of a line edit (or text edit); other widgets are left alone.
void SeleccionarTexto(QWidget* control);

} // namespace orb
