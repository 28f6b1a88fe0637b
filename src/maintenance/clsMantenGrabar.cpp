// The controller's confirm: checking what was typed, writing it, and the one
// transaction around the window's events and the row; and its cancel, both
// run one at a time.

#include "clsManten.h"

#include "platform/widgets/BoundControls.h"
#include "platform/widgets/DialogService.h"
#include "shell/Fechas.h"
#include "shell/Identidad.h"
#include "shell/Numeros.h"

#include <QCoreApplication>
#include <cmath>

namespace orb {

using db::FieldType;

namespace {

// What a text box stores in its field, or why it cannot.
struct Conversion {
    db::Value valor;
    bool escribir = true;
    QString error;
};

Conversion guardar(const db::Value& v) {
    return {v, true, {}};
}

Conversion convertir(ui::TextControl* t, const db::FieldInfo& f, bool codigo, const QString& nombre) {
    const QString text = t->Text();
    const QString mostrado = text.trimmed();
    // porque: the whole message, %1 the field's name and %2 what was typed.
    const auto rechazo = [&](const QString& porque) {
        return Conversion{{}, false, QString(porque).arg(nombre, mostrado)};
    };
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        // A memo box, or text a window put in, may exceed what the field holds.
        // Counted in characters, as the database and the boxes count them.
        const qsizetype largo = ui::Caracteres(text);
        if (f.size > 0 && f.type == FieldType::Text && largo > f.size)
            return {{},
                    false,
                    QCoreApplication::translate(
                        "clsManten", "%1: el texto es demasiado largo (%2 caracteres; como máximo %3).")
                        .arg(nombre, QString::number(largo), QString::number(f.size))};
        // An identity box stores its plain form, once its control character is right.
        if (const QVariant clase = t->widget()->property(PropiedadDocumento); clase.isValid()) {
            const DocumentoLeido d = LeerDocumento(text, clase.toInt() == int(ClaseCaja::Pasaporte));
            if (!d.problema.isEmpty())
                return Conversion{
                    {}, false, QStringLiteral("%1: \"%2\" %3").arg(nombre, mostrado, d.problema)};
            return guardar(d.valor);
        }
        return guardar(text); // an emptied box stores an empty text, not Null
    }
    case FieldType::Integer:
    case FieldType::Long: {
        if (mostrado.isEmpty()) {
            if (codigo)
                return {{},
                        false,
                        QCoreApplication::translate("clsManten",
                                                    "%1: falta el número (un número entero mayor que 0).")
                            .arg(nombre)};
            return guardar(qint64(0));
        }
        const std::optional<double> n = LeerNumero(mostrado);
        if (!n || *n != std::trunc(*n))
            return rechazo(QCoreApplication::translate("clsManten", "%1: \"%2\" no es un número entero."));
        if (codigo && *n <= 0)
            return rechazo(QCoreApplication::translate(
                "clsManten", "%1: \"%2\" no es válido: el número debe ser mayor que 0."));
        const double limite = f.type == FieldType::Integer ? 32767.0 : 2147483647.0;
        if (*n > limite || *n < -limite - 1)
            return Conversion{{},
                              false,
                              QCoreApplication::translate(
                                  "clsManten", "%1: \"%2\" está fuera del intervalo admitido (de %3 a %4).")
                                  .arg(nombre, mostrado, QString::number(qint64(-limite - 1)),
                                       QString::number(qint64(limite)))};
        return guardar(qint64(*n));
    }
    case FieldType::Currency:
    case FieldType::Double: {
        // Double is written too: a typed surface or price must never be dropped silently.
        if (mostrado.isEmpty())
            return guardar(0.0);
        const std::optional<double> n = LeerNumero(mostrado);
        if (!n)
            return rechazo(
                f.type == FieldType::Currency
                    ? QCoreApplication::translate("clsManten", "%1: \"%2\" no es un importe válido.")
                    : QCoreApplication::translate("clsManten", "%1: \"%2\" no es un número válido."));
        return guardar(*n);
    }
    case FieldType::Date: {
        if (mostrado.isEmpty())
            return guardar(db::Value());
        const QDate d = LeerFecha(mostrado);
        if (!d.isValid())
            return rechazo(
                QCoreApplication::translate("clsManten", "%1: \"%2\" no es una fecha válida (dd/mm/aaaa)."));
        return guardar(db::Value(d));
    }
    default:
        return {{}, false, {}};
    }
}

// Thrown by GrabarControles when a window's BeforeUpdate put in a value the field cannot take.
struct RechazoAlGrabar {
    ui::BoundControl* control;
    QString mensaje;
};

} // namespace

// One confirm or cancel at a time: a press delivered while one runs (by the
// processEvents that lets a box finish its edit, or by a window's event during
// a slow confirm) finds the controller busy and is dropped.
void clsManten::enTurno(void (clsManten::*op)()) {
    if (ocupado_)
        return;
    ocupado_ = true;
    // Freed however op ends; the controller may go with its window meanwhile.
    struct Liberar {
        QPointer<clsManten> c;
        ~Liberar() {
            if (!c)
                return;
            c->ocupado_ = false;
            // Another seat's change heard meanwhile is looked at now.
            c->RevisarAlVolver();
        }
    } liberar{this};
    // Lets a box that has the focus finish its edit first.
    QCoreApplication::processEvents();
    if (liberar.c && (estado_ == Añadiendo || estado_ == Modificando))
        (this->*op)();
}

void clsManten::PulsarAceptar() {
    enTurno(&clsManten::confirmar);
}

void clsManten::PulsarCancelar() {
    enTurno(&clsManten::cancelar);
}

clsManten::Rechazo clsManten::ValidarControles() {
    if (!rs_)
        return {};
    for (ui::BoundControl* c : bound_) {
        auto* t = dynamic_cast<ui::TextControl*>(c);
        if (!t || !c->DataChanged)
            continue;
        const int idx = rs_->fieldIndex(c->DataField);
        if (idx < 0)
            continue;
        const Conversion conv = convertir(t, rs_->field(idx), c->Codigo, c->caption());
        if (!conv.error.isEmpty())
            return {c, conv.error};
    }
    return {};
}

void clsManten::RechazarControl(const Rechazo& r) {
    dialogs_.message(form_, {r.mensaje, QStringLiteral("Orbalia"), ui::DialogService::Buttons::Ok,
                             ui::DialogService::Icon::Exclamation, ui::DialogService::Answer::Ok});
    if (QWidget* w = r.control->widget(); w->isVisible())
        w->setFocus(Qt::OtherFocusReason);
}

void clsManten::GrabarControles() {
    for (ui::BoundControl* c : bound_) {
        if (!c->DataChanged)
            continue;
        if (auto* t = dynamic_cast<ui::TextControl*>(c)) {
            const Conversion conv = convertir(t, rs_->field(c->DataField), c->Codigo, c->caption());
            if (!conv.error.isEmpty())
                throw RechazoAlGrabar{c, conv.error};
            if (conv.escribir)
                rs_->setValue(c->DataField, conv.valor);
        } else if (auto* k = dynamic_cast<ui::BoundCheckBox*>(c)) {
            rs_->setValue(c->DataField, k->Value() == 1);
        } else if (auto* cb = dynamic_cast<ui::BoundComboBox*>(c)) {
            if (cb->comboStyle() != ui::BoundComboBox::SimpleCombo)
                rs_->setValue(c->DataField, cb->Text());
        }
    }
}

void clsManten::confirmar() {
    const bool adding = estado_ == Añadiendo;
    const QString accion = tr("pulsar el botón de aceptar");
    // What was typed is checked before the window is asked or anything is written.
    if (const Rechazo r = ValidarControles(); r.control) {
        RechazarControl(r);
        return;
    }
    bool cancel = false;
    events_->data_CanUpdate(cancel);
    if (cancel)
        return;
    const qint64 posicion = rs_ ? rs_->absolutePosition() : -1;
    bool escrito = false;
    QString codigo;
    const auto deshacer = [&] {
        try {
            if (rs_ && rs_->editMode() != db::EditMode::None)
                rs_->cancelUpdate();
            // The recordset saw a row the rollback took back: read it again.
            if (escrito)
                ReabrirEn(posicion);
        } catch (const std::exception&) {
        }
    };
    try {
        if (!rs_ || !db_)
            throw db::DbError(db::ErrNoCurrentRecord, QStringLiteral("No hay datos abiertos"));
        // The window's events, the row and whatever the window writes with it
        // (counters, related rows) are stored together or not at all.
        db::Transaction tr(*db_);
        events_->data_BeforeUpdate();
        if (adding)
            rs_->addNew();
        else
            rs_->edit();
        // Inside the transaction, so no other seat can store it between this check and the write.
        if (!adding && rs_->rowVersion() != versionMostrada_)
            throw db::DbError::cambiadoPorOtro();
        GrabarControles();
        rs_->update();
        escrito = true;
        rs_->setBookmark(rs_->lastModified());
        events_->data_AfterUpdate();
        codigo = codigoActual();
        tr.commit();
    } catch (const RechazoAlGrabar& r) {
        deshacer();
        events_->data_AfterRollback();
        RechazarControl({r.control, r.mensaje});
        return;
    } catch (const db::DbError& e) {
        deshacer();
        events_->data_AfterRollback();
        if (e.number() == db::ErrChangedByOther)
            OfrecerReleer();
        else
            MostrarError(e, accion);
        return;
    } catch (const std::exception& e) {
        deshacer();
        events_->data_AfterRollback();
        MostrarError(db::DbError(db::ErrGeneric, QString::fromUtf8(e.what())), accion);
        return;
    }
    events_->data_AfterCommit();
    PonerEstado(Paseando);
    Q_EMIT registroCambiado(rs_->tableName(), codigo);
    Q_EMIT registroGuardado();
    if (adding && addAgain_)
        añadir();
}

void clsManten::OfrecerReleer() {
    const auto respuesta = dialogs_.message(
        form_,
        {tr("Otro puesto ha modificado este registro mientras lo editaba. No se ha guardado nada.\n\n¿Desea "
            "volver a leerlo? Se perderá lo que ha escrito; si responde No, sigue en la ventana para que lo "
            "copie o lo cancele."),
         QStringLiteral("Orbalia"), ui::DialogService::Buttons::YesNo, ui::DialogService::Icon::Exclamation,
         ui::DialogService::Answer::Yes});
    if (respuesta != ui::DialogService::Answer::Yes)
        return;
    try {
        rs_->setBookmark(rs_->bookmark());
        PonerEstado(Paseando);
        MostrarRegistro();
    } catch (const std::exception&) {
        Recuperar(0);
    }
}

void clsManten::ReabrirEn(qint64 posicion) {
    rs_.reset();
    rs_ = db_->openRecordset(recordSource_, db::RecordsetType::Dynaset, sourceParams_);
    if (posicion < 0 || rs_->isEOF())
        return;
    // One row read, whatever the position: on a server each row is a round trip.
    rs_->setAbsolutePosition(posicion);
}

} // namespace orb
