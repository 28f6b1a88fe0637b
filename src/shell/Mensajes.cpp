#include "Mensajes.h"

#include "platform/widgets/DialogService.h"

#include <QCoreApplication>

namespace orb {

void MensajeError(ui::DialogService& dialogs, const QString& texto, QWidget* parent) {
    ui::DialogService::Box box;
    box.text = texto;
    box.title = QCoreApplication::translate("MensajeError", "Error");
    box.buttons = ui::DialogService::Buttons::Ok;
    box.icon = ui::DialogService::Icon::Critical;
    box.defaultButton = ui::DialogService::Answer::Ok;
    dialogs.message(parent, box);
}

} // namespace orb
