#pragma once

#include <QString>
#include <functional>

namespace db {
class Database;
}
namespace ui {
class TextControl;
}

namespace orb {

// The code of a property, owner or client: the office code followed by the
// number through the mask. Never cut to fit: a code longer than Cod holds
// throws db::DbError ErrFieldTooSmall naming Cod, so nothing is stored with it.
QString CodigoRegistro(const QString& oficina, const QString& mascara, qint64 numero);

// Numbers for new records from a counter of the configuration store
// (CONTADORES / contador, the last number given). Owners and clients number
// within their office and their code is the office code followed by the
// masked number; catalogue entries use the number as their code.
//
// Every number is chosen, used and counted on one connection inside one
// write transaction (BEGIN IMMEDIATE), so two windows, or two seats, never
// get the same number, and a failure leaves neither the row nor the counter.
class CodeAllocator {
public:
    // oficina empty: a catalogue (Cod is the number itself).
    CodeAllocator(QString contador, QString tabla, QString oficina = {});

    // Counter + 1 past the numbers already used; for showing at the start of an add.
    qint64 propuesta(db::Database& db) const;
    // Inside the caller's write transaction: the number the next row takes.
    qint64 reservar(db::Database& db) const;
    // The code a number gives in this table (see CodigoRegistro).
    QString codigo(db::Database& db, qint64 numero) const;
    bool enUso(db::Database& db, qint64 numero) const;
    // Inside the caller's write transaction: counter = numero, never backwards.
    void avanzar(db::Database& db, qint64 numero) const;

    // Opens its own write transaction: reserves a number, lets insertar store the
    // row with it, advances the counter and commits. Any exception rolls all back.
    qint64 insertar(db::Database& db, const std::function<void(qint64 numero)>& insertar) const;

private:
    qint64 contador(db::Database& db) const;
    // The counter's Variable in CONTADORES: on a server, one per office.
    QString variable(db::Database& db) const;
    mutable QString variable_; // found once: the confirm asks for it several times
    qint64 inicial(db::Database& db) const;

    QString contador_;
    QString tabla_;
    QString oficina_;
};

// The number of a record added in a window: proposed in its box when the add
// starts, taken inside the confirm's transaction, counted once the row is written.
class NumeroNuevo {
public:
    // At the start of an add: shows the proposal in the box.
    void proponer(const CodeAllocator& numeracion, db::Database& db, ui::TextControl* caja);
    // Inside the confirm's transaction. The proposal left as it was takes the first
    // free number now, even if another window took it meanwhile; a number typed by
    // hand is kept (a taken one is refused by the insert).
    void tomar(const CodeAllocator& numeracion, db::Database& db, ui::TextControl* caja);
    // After the row is written, in the same transaction: the counter moves to the number taken.
    void contar(const CodeAllocator& numeracion, db::Database& db) const;

    qint64 propuesto() const { return propuesto_; }

private:
    qint64 propuesto_ = 0;
    qint64 reservado_ = 0;
};

} // namespace orb
