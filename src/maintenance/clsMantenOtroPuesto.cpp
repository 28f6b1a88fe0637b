// What another seat's change means for the record a window shows: browsing,
// it is shown again as stored, or moved past when gone; editing, what was
// typed stays and the user is warned; nothing is looked at in the middle of a
// confirm or while a question waits for the user.

#include "clsManten.h"

#include "shell/ErrorReport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace orb {

void clsManten::CambioDeOtroPuesto(const QString& tabla, qint64 rowid, const QString& codigo) {
    if (!rs_ || tabla.compare(rs_->tableName(), Qt::CaseInsensitive) != 0)
        return;
    if ((rowid > 0 || !codigo.isEmpty()) && estado_ != Vacio) {
        // The same row (its code may have changed with it), or a row that now holds its code.
        QString actual;
        qint64 fila = 0;
        try {
            actual = codigoActual();
            fila = rs_->rowId();
        } catch (const db::DbError&) {
            // No row to compare with: looked at below.
        }
        const bool mismaFila = fila > 0 && rowid == fila;
        const bool mismoCodigo = !actual.isEmpty() && codigo.compare(actual, Qt::CaseInsensitive) == 0;
        // Another record of the table is no business of this window.
        if ((fila > 0 || !actual.isEmpty()) && !mismaFila && !mismoCodigo)
            return;
        nombrado_ = true;
    }
    // A statement's many rows arrive one by one: the record is looked at once, after them.
    if (revisionPendiente_)
        return;
    revisionPendiente_ = true;
    QTimer::singleShot(0, this, &clsManten::RevisarOtroPuesto);
}

void clsManten::AplazarRevision() {
    revisarAlVolver_ = true;
    // A question on the screen: looked at once it is answered.
    if (QApplication::activeModalWidget())
        connect(qApp, &QGuiApplication::focusWindowChanged, this, &clsManten::RevisarAlVolver,
                Qt::ConnectionType(Qt::SingleShotConnection | Qt::UniqueConnection));
}

void clsManten::RevisarAlVolver() {
    if (!revisarAlVolver_ || revisionPendiente_)
        return;
    revisarAlVolver_ = false;
    revisionPendiente_ = true;
    QTimer::singleShot(0, this, &clsManten::RevisarOtroPuesto);
}

void clsManten::RevisarOtroPuesto() {
    revisionPendiente_ = false;
    if (!rs_)
        return;
    // A new record has nothing stored to compare; the record under it is looked at after the add.
    if (ocupado_ || QApplication::activeModalWidget() || estado_ == Añadiendo) {
        AplazarRevision();
        return;
    }
    try {
        switch (estado_) {
        case Vacio:
            // Another seat may have stored the first record this window can show.
            nombrado_ = false;
            Refresh();
            break;
        case Paseando:
            RevisarPaseando();
            break;
        case Modificando:
            RevisarEditando();
            break;
        default:
            break;
        }
    } catch (const std::exception& e) {
        // Nobody asked: the window stays as it was and the user meets the cause at the next step.
        RegistrarError(tr("leer el cambio de otro puesto"),
                       db::DbError(db::ErrGeneric, QString::fromUtf8(e.what())));
    }
}

void clsManten::RevisarPaseando() {
    const bool nombrado = std::exchange(nombrado_, false);
    if (rs_->isEOF() || rs_->isBOF())
        return;
    db::Value version;
    if (rs_->storedVersion(&version)) {
        // Unchanged: nothing is read again (and nothing this seat wrote itself loops back).
        if (version == versionMostrada_ && !(db::isNull(version) && nombrado))
            return;
        rs_->setBookmark(rs_->bookmark());
        MostrarRegistro();
        return;
    }
    // Gone. A record stored again under another row number (an office import)
    // is found by its code; otherwise the window moves past it, to the record
    // that took its place.
    const QString cod = codigoActual();
    ReabrirEn(rs_->absolutePosition());
    bool encontrado = false;
    if (!cod.isEmpty() && !rs_->isEOF()) {
        auto copia = rs_->clone();
        if (copia->findFirst(QStringLiteral("Cod = ?"), {cod})) {
            rs_->setBookmark(copia->bookmark());
            encontrado = true;
        }
    }
    if (rs_->isEOF() || rs_->isBOF()) {
        PonerEstado(Vacio);
        LimpiarParaVacio();
    } else {
        MostrarRegistro();
    }
    if (!encontrado)
        Q_EMIT avisoOtroPuesto(avisoMostrado_ =
                                   tr("El registro que se mostraba se ha borrado desde otro puesto."));
}

void clsManten::RevisarEditando() {
    const bool nombrado = std::exchange(nombrado_, false);
    if (avisadoEnEdicion_ || rs_->isEOF() || rs_->isBOF())
        return;
    // What was typed is not touched; the recordset is not moved either.
    db::Value version;
    const bool sigue = rs_->storedVersion(&version);
    if (sigue && version == versionMostrada_ && !(db::isNull(version) && nombrado))
        return;
    avisadoEnEdicion_ = true;
    // Once the edit ends, the record is looked at again and shown as stored then.
    revisarAlVolver_ = true;
    Q_EMIT avisoOtroPuesto(avisoMostrado_ =
                               sigue ? tr("Otro puesto ha cambiado este registro mientras lo editaba; "
                                          "al aceptar se le preguntará qué hacer.")
                                     : tr("Otro puesto ha borrado este registro mientras lo editaba; no "
                                          "se podrá guardar: cancele la edición."));
}

} // namespace orb
