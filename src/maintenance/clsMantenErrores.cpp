// The controller's error boundary: database errors told in plain words, and
// the window brought back to a record that exists.

#include "clsManten.h"

#include "platform/widgets/BoundControls.h"
#include "platform/widgets/DialogService.h"
#include "shell/ErrorReport.h"

namespace orb {

void clsManten::Recuperar(int dir) {
    try {
        // While adding or editing, what was typed stays for the user to correct or cancel.
        if (estado_ == Añadiendo || estado_ == Modificando)
            return;
        if (!rs_) {
            Refresh();
            return;
        }
        try {
            // Still there: show it as it is stored now.
            rs_->setBookmark(rs_->bookmark());
            PonerEstado(Paseando);
            MostrarRegistro();
            return;
        } catch (const db::DbError&) {
        }
        // Gone: it counts as moved past, in the direction of travel when there is one.
        if (dir >= 0 && !rs_->isEOF())
            rs_->moveNext();
        else if (!rs_->isBOF())
            rs_->movePrevious();
        if (rs_->isEOF() && !rs_->isBOF())
            rs_->movePrevious();
        else if (rs_->isBOF() && !rs_->isEOF())
            rs_->moveNext();
        if (rs_->isEOF() || rs_->isBOF()) {
            PonerEstado(Vacio);
            LimpiarParaVacio();
        } else {
            PonerEstado(Paseando);
            MostrarRegistro();
        }
    } catch (const std::exception&) {
        // The recordset itself cannot go on: open the data again.
        Refresh();
    }
}

void clsManten::MostrarError(int number, const QString& description, const QString& accion) {
    dialogs_.message(
        form_,
        {tr("Se ha producido el error (%1 - %2) al %3.").arg(QString::number(number), description, accion),
         tr("Error"), ui::DialogService::Buttons::Ok, ui::DialogService::Icon::Critical,
         ui::DialogService::Answer::Ok});
}

void clsManten::MostrarError(const db::DbError& e, const QString& accion) {
    const auto valorDe = [this](const QString& columna) -> QString {
        for (ui::BoundControl* c : bound_) {
            if (c->DataField.compare(columna, Qt::CaseInsensitive) != 0)
                continue;
            if (auto* t = dynamic_cast<ui::TextControl*>(c))
                return t->Text().trimmed();
            if (auto* cb = dynamic_cast<ui::BoundComboBox*>(c))
                return cb->Text();
        }
        return {};
    };
    const QString primera = tr("Se ha producido el error (%1 - %2) al %3.")
                                .arg(QString::number(e.number()), DescripcionError(e), accion);
    InformarErrorBaseDatos(dialogs_, form_, accion, primera, e, valorDe, databaseName_);
}

} // namespace orb
