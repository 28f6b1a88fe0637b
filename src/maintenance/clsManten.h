#pragma once

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

class QAbstractButton;
class QWidget;

namespace ui {
class BoundControl;
class DialogService;
} // namespace ui

namespace orb {

enum EstadoManten { Inactivo = -1, Vacio = 0, Paseando = 1, Modificando = 2, Añadiendo = 3 };

// What a record window answers to its controller. Every handler has an empty default.
class MantenEvents {
public:
    virtual ~MantenEvents() = default;
    virtual void data_CanAddNew(bool& Cancel) { (void)Cancel; }
    virtual void data_CanDelete(bool& Cancel) { (void)Cancel; }
    virtual void data_CanUpdate(bool& Cancel) { (void)Cancel; }
    virtual void data_OnAddNew() {}
    virtual void data_Reposition() {}
    virtual void data_BeforeDelete() {}
    virtual void data_BeforeUpdate() {}
    virtual void data_AfterUpdate() {}
    // After the confirm's transaction: committed (the record is stored) or
    // rolled back (nothing of it is). For work outside the database that must
    // follow the transaction's outcome, such as files put in place or removed.
    // They must not throw.
    virtual void data_AfterCommit() {}
    virtual void data_AfterRollback() {}
    virtual void data_StateChanged() {}
};

// The record maintenance controller: browses, adds, edits, deletes, confirms and
// cancels one recordset for one window, drives its ten buttons and loads and
// writes its bound controls.
class clsManten : public QObject {
    Q_OBJECT
public:
    // form: the owning window (its controls are searched for bound controls);
    // events: usually the same window.
    clsManten(QWidget* form, MantenEvents* events, ui::DialogService& dialogs);
    ~clsManten() override;

    db::Recordset* Recordset() const { return rs_.get(); }
    // The controller's own connection. During BeforeUpdate and AfterUpdate a
    // write transaction is open on it: rows a window writes there are stored
    // or dropped together with the record.
    db::Database& BaseDatos() const;

    // Opens the database at that path (throws db::DbError when it cannot).
    void setDatabaseName(const QString& path);
    QString DatabaseName() const { return databaseName_; }
    // SQL with '?' parameters (or a table name); nothing is opened until Refresh.
    void setRecordSource(const QString& source, const db::Params& params = {});
    QString RecordSource() const { return recordSource_; }

    void setFirstButton(QAbstractButton* b);
    void setPreviousButton(QAbstractButton* b);
    void setNextButton(QAbstractButton* b);
    void setLastButton(QAbstractButton* b);
    void setAddButton(QAbstractButton* b);
    void setEditButton(QAbstractButton* b);
    void setDeleteButton(QAbstractButton* b);
    void setOkButton(QAbstractButton* b);
    void setCancelButton(QAbstractButton* b);
    void setCloseButton(QAbstractButton* b);

    void Refresh();
    // criterion: SQL boolean expression with '?' parameters, e.g. "Cod = ?".
    void FindFirst(const QString& criterion, const db::Params& params = {});

    void PulsarAceptar();
    void PulsarAñadir();
    void PulsarEditar();
    void PulsarCancelar();
    void PulsarBorrar();
    void PulsarCerrar();
    void PulsarPrimero();
    void PulsarAnterior();
    void PulsarSiguiente();
    void PulsarUltimo();

    EstadoManten Estado() const { return estado_; }
    bool EstadoAñadiendo() const { return estado_ == Añadiendo; }
    bool EstadoModificando() const { return estado_ == Modificando; }
    bool EstadoVacio() const { return estado_ == Vacio; }
    bool EstadoPaseando() const { return estado_ == Paseando; }

    bool AddAgain() const { return addAgain_; }
    void setAddAgain(bool v) { addAgain_ = v; }

    QWidget* FirstControl() const { return firstControl_; }
    void setFirstControl(QWidget* w) { firstControl_ = w; }

    // Registers a data panel and binds the controls inside it that name a field.
    void DataPicture(QWidget* picture);
    const QList<ui::BoundControl*>& boundControls() const { return bound_; }

    // For the window's close event: true when it may close (asks while adding or editing).
    bool PuedeCerrar();
    // Before the window shows another record: true when it may (nothing is being
    // added or edited, or the user confirmed it and it was stored, or discarded
    // it); false when the user stays on it or its confirm failed.
    bool DejarEdicion();
    // While adding or editing: true when something differs from what the add
    // or edit started with (a bound control's content, or a grid, list, box or
    // button of the data panels the user worked).
    bool HayCambios() const;

    // Another seat stored, added or deleted rows of tabla: rowid and codigo
    // name one as it is after the change (0 and empty when which ones is not
    // known). Checked once the events in hand have run, and never in the
    // middle of a confirm or a question to the user: browsing that record,
    // the window shows it as stored now, or moves past it when it is gone;
    // editing it, what was typed stays and the user is warned once
    // (avisoOtroPuesto), and the confirm then follows the rule for a row
    // changed meanwhile; adding, it waits until the add ends. An empty window
    // opens its source again. A row that did not change, or another table,
    // changes nothing.
    void CambioDeOtroPuesto(const QString& tabla, qint64 rowid, const QString& codigo);

    // "Se ha producido el error (n - description) al <accion>." in the error box.
    void MostrarError(int number, const QString& description, const QString& accion);
    // The same first line with the error's plain description, then the cause in
    // plain Spanish on a second line; the engine's detail goes to the log.
    void MostrarError(const db::DbError& e, const QString& accion);

Q_SIGNALS:
    // A record was stored (added or changed) or deleted, once its transaction
    // is committed: the recordset's table and the record's Cod (empty when
    // the source has none).
    void registroCambiado(const QString& tabla, const QString& codigo);
    // The controls show another record, or none (after Reposition).
    void registroMostrado();
    // A confirm stored the record (after its commit).
    void registroGuardado();
    // A line for the window about another seat's change to its record; empty
    // when there is nothing to say any more (another record shown, the edit over).
    void avisoOtroPuesto(const QString& texto);

private:
    void PonerEstado(EstadoManten e);
    void MostrarRegistro();
    void LimpiarParaVacio();
    void LimpiarParaNuevo();
    void AjustarLongitudes();
    // The first changed bound control whose text its field's type cannot take,
    // with the message that names it; null when every one is valid.
    struct Rechazo {
        ui::BoundControl* control = nullptr;
        QString mensaje;
    };
    Rechazo ValidarControles();
    void RechazarControl(const Rechazo& r);
    void GrabarControles();
    void BorrarActual();
    void confirmar();
    void cancelar();
    void añadir();
    // Cod of the current row, empty without one.
    QString codigoActual() const;
    // Runs op (the confirm or the cancel) unless one runs already, with the
    // controller busy meanwhile.
    void enTurno(void (clsManten::*op)());
    // Runs one operation behind the error boundary: a database error is told
    // with the controller's message and the window is brought back to a record
    // that exists (dir: +1 forward, -1 backward past a vanished one).
    template <class Op> void proteger(const QString& accion, int dir, Op op);
    void Recuperar(int dir);
    // The events that close a load, a state change and a new record's
    // clearing, with what the controller keeps after them.
    void avisarReposicion();
    void avisarEstado();
    void avisarNuevo();
    // What the add or edit starts with, for HayCambios.
    void TomarInstantanea();
    QStringList valoresActuales() const;
    void marcarTocado() { tocado_ = true; }
    void ReabrirEn(qint64 posicion);
    // After a confirm refused because another seat stored the row: read it
    // again, or keep what was typed (the user's choice).
    void OfrecerReleer();
    // What another seat's change means for the record shown (clsMantenOtroPuesto.cpp).
    void RevisarOtroPuesto();
    void RevisarPaseando();
    void RevisarEditando();
    // The check waits for the controller to be free and browsing.
    void AplazarRevision();
    void RevisarAlVolver();
    void attach(QPointer<QAbstractButton>& slot, QAbstractButton* b, void (clsManten::*op)());
    QList<QWidget*> pictures() const;

    QPointer<QWidget> form_;
    MantenEvents* events_;
    ui::DialogService& dialogs_;
    EstadoManten estado_ = Vacio;
    std::shared_ptr<db::Database> db_; // shared with the other windows on the file
    std::unique_ptr<db::Recordset> rs_;
    QString databaseName_;
    QString recordSource_;
    db::Params sourceParams_;
    QPointer<QWidget> firstControl_;
    QList<QPointer<QWidget>> pictures_;
    QList<ui::BoundControl*> bound_;
    bool addAgain_ = true;
    db::Value versionMostrada_; // the shown row's Version: a confirm over a newer one is refused
    bool closing_ = false;
    bool ocupado_ = false;           // a confirm or cancel runs: presses of either are dropped
    bool revisionPendiente_ = false; // a check of another seat's change is on its way
    bool revisarAlVolver_ = false;   // …or waits for the controller to be free
    bool nombrado_ = false;          // a notice named the record shown, not only its table
    bool avisadoEnEdicion_ = false;  // this edit's warning was given
    QString avisoMostrado_;
    QStringList instantanea_;
    bool tocado_ = false;
    QPointer<QAbstractButton> first_, previous_, next_, last_, add_, edit_, delete_, ok_, cancel_, close_;
};

} // namespace orb
