#pragma once

#include <QString>

class QWidget;

namespace ui {
class DialogService;
}

namespace orb {

// The program's error box: OK button, critical icon, title "Error".
void MensajeError(ui::DialogService& dialogs, const QString& texto, QWidget* parent = nullptr);

} // namespace orb
