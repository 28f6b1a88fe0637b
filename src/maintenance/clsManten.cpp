#include "clsManten.h"

#include "platform/widgets/BoundControls.h"
#include "platform/widgets/DialogService.h"
#include "platform/widgets/DisplayText.h"
#include "platform/widgets/PanelState.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QMdiSubWindow>

namespace orb {

using db::FieldType;

namespace {

const QString kTitulo = QStringLiteral("Orbalia");

bool isInside(QWidget* w, QWidget* picture, QWidget* form) {
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (p == picture)
            return true;
        if (p == form)
            return false;
    }
    return false;
}

} // namespace

clsManten::clsManten(QWidget* form, MantenEvents* events, ui::DialogService& dialogs)
    : QObject(form), form_(form), events_(events), dialogs_(dialogs) {}

clsManten::~clsManten() {
    try {
        rs_.reset();
        db_.reset();
    } catch (...) {
    }
}

db::Database& clsManten::BaseDatos() const {
    if (!db_)
        throw db::DbError(db::ErrCannotOpen, QStringLiteral("No se ha abierto la base de datos"));
    return *db_;
}

void clsManten::setDatabaseName(const QString& path) {
    rs_.reset();
    db_.reset();
    databaseName_ = path;
    db_ = db::Database::shared(path);
}

void clsManten::setRecordSource(const QString& source, const db::Params& params) {
    recordSource_ = source;
    sourceParams_ = params;
}

void clsManten::attach(QPointer<QAbstractButton>& slot, QAbstractButton* b, void (clsManten::*op)()) {
    if (slot)
        disconnect(slot, nullptr, this, nullptr);
    slot = b;
    if (b)
        connect(b, &QAbstractButton::clicked, this, op);
}

void clsManten::setFirstButton(QAbstractButton* b) {
    attach(first_, b, &clsManten::PulsarPrimero);
}
void clsManten::setPreviousButton(QAbstractButton* b) {
    attach(previous_, b, &clsManten::PulsarAnterior);
}
void clsManten::setNextButton(QAbstractButton* b) {
    attach(next_, b, &clsManten::PulsarSiguiente);
}
void clsManten::setLastButton(QAbstractButton* b) {
    attach(last_, b, &clsManten::PulsarUltimo);
}
void clsManten::setAddButton(QAbstractButton* b) {
    attach(add_, b, &clsManten::PulsarAñadir);
}
void clsManten::setEditButton(QAbstractButton* b) {
    attach(edit_, b, &clsManten::PulsarEditar);
}
void clsManten::setDeleteButton(QAbstractButton* b) {
    attach(delete_, b, &clsManten::PulsarBorrar);
}
void clsManten::setOkButton(QAbstractButton* b) {
    attach(ok_, b, &clsManten::PulsarAceptar);
}
void clsManten::setCancelButton(QAbstractButton* b) {
    attach(cancel_, b, &clsManten::PulsarCancelar);
}
void clsManten::setCloseButton(QAbstractButton* b) {
    attach(close_, b, &clsManten::PulsarCerrar);
}

QList<QWidget*> clsManten::pictures() const {
    QList<QWidget*> out;
    for (const auto& p : pictures_)
        if (p)
            out << p.data();
    return out;
}

void clsManten::DataPicture(QWidget* picture) {
    if (!picture || !form_)
        return;
    for (QWidget* w : form_->findChildren<QWidget*>()) {
        auto* bc = dynamic_cast<ui::BoundControl*>(w);
        if (!bc || bc->DataField.isEmpty() || bound_.contains(bc) || !isInside(w, picture, form_))
            continue;
        bound_ << bc;
    }
    if (!bound_.isEmpty()) {
        // Tab order: position in the window's focus chain.
        QHash<QWidget*, int> tabIndex;
        int i = 0;
        QWidget* w = form_;
        do {
            tabIndex.insert(w, i++);
            w = w->nextInFocusChain();
        } while (w && w != form_ && i < 10000);
        QWidget* choice = bound_.first()->widget();
        for (qsizetype k = 1; k < bound_.size(); ++k) {
            QWidget* c = bound_[k]->widget();
            if (!c->isHidden() && tabIndex.value(c, INT_MAX) < tabIndex.value(choice, INT_MAX))
                choice = c;
        }
        firstControl_ = choice;
    }
    pictures_ << picture;
}

void clsManten::PonerEstado(EstadoManten e) {
    estado_ = e;
    if (e == Modificando)
        for (ui::BoundControl* c : bound_)
            if (dynamic_cast<ui::TextControl*>(c))
                c->DataChanged = false;

    const bool nav = e == Paseando;
    const bool add = e == Vacio || e == Paseando;
    const bool editDel = e == Paseando;
    const bool okCancel = e == Modificando || e == Añadiendo;
    const auto set = [](QAbstractButton* b, bool on) {
        if (b)
            b->setEnabled(on);
    };
    set(first_, nav);
    set(last_, nav);
    set(previous_, nav);
    set(next_, nav);
    set(ok_, okCancel);
    set(cancel_, okCancel);
    set(add_, add);
    set(edit_, editDel);
    set(delete_, editDel);
    set(close_, true);
    for (QWidget* p : pictures())
        ui::setPanelEditable(p, okCancel);

    if (okCancel && firstControl_)
        firstControl_->setFocus(Qt::OtherFocusReason);
    avisarEstado();
}

void clsManten::MostrarRegistro() {
    if (rs_ && !rs_->isEOF() && !rs_->isBOF()) {
        for (ui::BoundControl* c : bound_) {
            const db::Value v = rs_->value(c->DataField);
            if (auto* t = dynamic_cast<ui::TextControl*>(c)) {
                t->setText(ui::displayText(v));
                c->DataChanged = false;
            } else if (auto* k = dynamic_cast<ui::BoundCheckBox*>(c)) {
                k->setValue(!db::isNull(v) && v.toBool() ? 1 : 0);
                c->DataChanged = false;
            } else if (auto* cb = dynamic_cast<ui::BoundComboBox*>(c)) {
                switch (cb->comboStyle()) {
                case ui::BoundComboBox::DropDownCombo:
                    cb->setText(ui::displayText(v));
                    c->DataChanged = false;
                    break;
                case ui::BoundComboBox::DropDownList: {
                    int found = -1;
                    if (!db::isNull(v)) {
                        const QString text = ui::displayText(v);
                        for (int i = 0; i < cb->count(); ++i)
                            if (cb->itemText(i) == text)
                                found = i;
                    }
                    cb->setListIndex(found);
                    c->DataChanged = false;
                    break;
                }
                case ui::BoundComboBox::SimpleCombo:
                    break;
                }
            }
        }
    }
    versionMostrada_ = rs_ ? rs_->rowVersion() : db::Value();
    avisarReposicion();
}

void clsManten::LimpiarParaVacio() {
    for (ui::BoundControl* c : bound_) {
        if (auto* t = dynamic_cast<ui::TextControl*>(c)) {
            t->setText({});
            c->DataChanged = false;
        } else if (auto* k = dynamic_cast<ui::BoundCheckBox*>(c)) {
            k->setValue(0);
            c->DataChanged = false;
        } else if (auto* cb = dynamic_cast<ui::BoundComboBox*>(c);
                   cb && cb->comboStyle() == ui::BoundComboBox::DropDownCombo) {
            cb->setText({});
            c->DataChanged = false;
        }
    }
    avisarReposicion();
}

void clsManten::LimpiarParaNuevo() {
    for (ui::BoundControl* c : bound_) {
        if (auto* t = dynamic_cast<ui::TextControl*>(c))
            t->setText({});
        else if (auto* k = dynamic_cast<ui::BoundCheckBox*>(c))
            k->setValue(0);
        else if (auto* cb = dynamic_cast<ui::BoundComboBox*>(c);
                 cb && cb->comboStyle() == ui::BoundComboBox::DropDownCombo)
            cb->setText({});
    }
    avisarNuevo();
}

void clsManten::AjustarLongitudes() {
    for (ui::BoundControl* c : bound_) {
        auto* t = dynamic_cast<ui::TextControl*>(c);
        if (!t || t->MaxLength() != 0)
            continue;
        const int idx = rs_->fieldIndex(c->DataField);
        if (idx < 0)
            continue;
        const db::FieldInfo& f = rs_->field(idx);
        if (f.type == FieldType::Text && f.size > 0)
            t->setMaxLength(f.size);
    }
}

void clsManten::Refresh() {
    rs_.reset();
    try {
        if (db_)
            rs_ = db_->openRecordset(recordSource_, db::RecordsetType::Dynaset, sourceParams_);
    } catch (const db::DbError& e) {
        rs_.reset();
        PonerEstado(Inactivo);
        MostrarError(e, tr("abrir los datos"));
        return;
    }
    try {
        if (!rs_) {
            PonerEstado(Inactivo);
        } else if (rs_->isEOF()) {
            PonerEstado(Vacio);
            LimpiarParaVacio();
        } else {
            AjustarLongitudes();
            PonerEstado(Paseando);
            MostrarRegistro();
        }
    } catch (const db::DbError& e) {
        rs_.reset();
        PonerEstado(Inactivo);
        MostrarError(e, tr("abrir los datos"));
    }
}

template <class Op> void clsManten::proteger(const QString& accion, int dir, Op op) {
    try {
        op();
        return;
    } catch (const db::DbError& e) {
        MostrarError(e, accion);
    } catch (const std::exception& e) {
        MostrarError(db::DbError(db::ErrGeneric, QString::fromUtf8(e.what())), accion);
    }
    Recuperar(dir);
}

void clsManten::FindFirst(const QString& criterion, const db::Params& params) {
    if (!rs_) {
        PonerEstado(Inactivo);
        return;
    }
    proteger(tr("buscar el registro"), 1, [&] {
        auto clone = rs_->clone();
        if (clone->findFirst(criterion, params)) {
            rs_->setBookmark(clone->bookmark());
            MostrarRegistro();
        }
    });
}

void clsManten::PulsarPrimero() {
    proteger(tr("pulsar el botón de primer registro"), 1, [this] {
        if (rs_ && !rs_->isBOF()) {
            rs_->moveFirst();
            MostrarRegistro();
        }
    });
}

void clsManten::PulsarUltimo() {
    proteger(tr("pulsar el botón de último registro"), -1, [this] {
        if (rs_ && !rs_->isBOF()) {
            rs_->moveLast();
            MostrarRegistro();
        }
    });
}

void clsManten::PulsarAnterior() {
    proteger(tr("pulsar el botón de anterior registro"), -1, [this] {
        if (!rs_ || rs_->isBOF() || rs_->isEOF())
            return;
        auto clone = rs_->clone();
        clone->setBookmark(rs_->bookmark());
        clone->movePrevious();
        if (!clone->isBOF()) {
            rs_->movePrevious();
            MostrarRegistro();
        }
    });
}

void clsManten::PulsarSiguiente() {
    proteger(tr("pulsar el botón de siguiente registro"), 1, [this] {
        if (!rs_ || rs_->isBOF() || rs_->isEOF())
            return;
        auto clone = rs_->clone();
        clone->setBookmark(rs_->bookmark());
        clone->moveNext();
        if (!clone->isEOF()) {
            rs_->moveNext();
            MostrarRegistro();
        }
    });
}

void clsManten::PulsarAñadir() {
    if (ocupado_)
        return;
    añadir();
}

void clsManten::añadir() {
    if (estado_ != Paseando && estado_ != Vacio)
        return;
    proteger(tr("pulsar el botón de añadir"), 1, [this] {
        bool cancel = false;
        events_->data_CanAddNew(cancel);
        if (cancel)
            return;
        PonerEstado(Añadiendo);
        LimpiarParaNuevo();
    });
}

void clsManten::PulsarEditar() {
    if (estado_ == Paseando)
        proteger(tr("pulsar el botón de editar"), 1, [this] {
            // Read again now: a row another seat deleted is told before anything
            // is typed, and the window moves past it as Next does.
            if (rs_)
                rs_->setBookmark(rs_->bookmark());
            if (rs_ && rs_->rowVersion() != versionMostrada_) // changed by another seat since shown
                MostrarRegistro();
            PonerEstado(Modificando);
        });
}

void clsManten::cancelar() {
    proteger(tr("pulsar el botón de cancelar"), 1, [this] {
        if (!rs_ || rs_->isEOF() || rs_->recordCount() == 0) {
            PonerEstado(Vacio);
            LimpiarParaVacio();
        } else {
            PonerEstado(Paseando);
            MostrarRegistro();
        }
    });
}

void clsManten::PulsarBorrar() {
    if (estado_ != Paseando || !rs_)
        return;
    const auto answer = dialogs_.message(
        form_, {tr("¿Seguro que desea borrar este registro?"), kTitulo, ui::DialogService::Buttons::YesNo,
                ui::DialogService::Icon::Question, ui::DialogService::Answer::No});
    if (answer != ui::DialogService::Answer::Yes)
        return;
    proteger(tr("pulsar el botón de borrar"), 1, [this] {
        bool cancel = false;
        events_->data_CanDelete(cancel);
        if (cancel)
            return;
        events_->data_BeforeDelete();
        BorrarActual();
    });
}

void clsManten::BorrarActual() {
    // Where to go afterwards is decided before the row leaves the recordset.
    QByteArray siguiente, anterior;
    {
        auto clone = rs_->clone();
        clone->setBookmark(rs_->bookmark());
        clone->moveNext();
        if (!clone->isEOF())
            siguiente = clone->bookmark();
        clone->setBookmark(rs_->bookmark());
        clone->movePrevious();
        if (!clone->isBOF())
            anterior = clone->bookmark();
    }
    const QString tabla = rs_->tableName();
    const QString codigo = codigoActual();
    // A refusal (related rows) leaves the record; the boundary says why.
    rs_->deleteRecord();
    Q_EMIT registroCambiado(tabla, codigo);
    if (!siguiente.isEmpty()) {
        rs_->setBookmark(siguiente);
        MostrarRegistro();
    } else if (!anterior.isEmpty()) {
        rs_->setBookmark(anterior);
        MostrarRegistro();
    } else {
        PonerEstado(Vacio);
        LimpiarParaVacio();
    }
}

QString clsManten::codigoActual() const {
    if (!rs_ || rs_->isBOF() || rs_->isEOF() || rs_->fieldIndex(QStringLiteral("Cod")) < 0)
        return {};
    const db::Value v = rs_->value(QStringLiteral("Cod"));
    return db::isNull(v) ? QString() : v.toString();
}

bool clsManten::PuedeCerrar() {
    if (ocupado_)
        return false; // closed once the confirm or cancel under way ends
    if (closing_ || (estado_ != Añadiendo && estado_ != Modificando))
        return true;
    const auto answer =
        dialogs_.message(form_, {tr("Se están añadiendo/modificando datos ¿desea cerrar de todas maneras?"),
                                 kTitulo, ui::DialogService::Buttons::YesNo,
                                 ui::DialogService::Icon::Question, ui::DialogService::Answer::No});
    return answer == ui::DialogService::Answer::Yes;
}

bool clsManten::DejarEdicion() {
    if (estado_ != Añadiendo && estado_ != Modificando)
        return true;
    const auto answer = dialogs_.message(
        form_, {tr("Se están añadiendo/modificando datos ¿desea guardarlos antes de mostrar otro registro?"),
                kTitulo, ui::DialogService::Buttons::YesNoCancel, ui::DialogService::Icon::Question,
                ui::DialogService::Answer::Cancel});
    if (answer == ui::DialogService::Answer::Yes) {
        // Stored and left: no new record is started behind the user's back.
        const bool again = addAgain_;
        addAgain_ = false;
        confirmar();
        addAgain_ = again;
    } else if (answer == ui::DialogService::Answer::No) {
        PulsarCancelar();
    }
    return estado_ != Añadiendo && estado_ != Modificando;
}

void clsManten::PulsarCerrar() {
    if (!form_ || !PuedeCerrar())
        return;
    closing_ = true;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form_->parentWidget()))
        sub->close();
    else
        form_->close();
}

} // namespace orb
