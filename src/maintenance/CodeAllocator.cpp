#include "CodeAllocator.h"

#include "platform/db/Database.h"
#include "platform/widgets/BoundControls.h"
#include "shell/ConfigStore.h"
#include "shell/Numeros.h"
#include "shell/Schema.h"

namespace orb {

QString CodigoRegistro(const QString& oficina, const QString& mascara, qint64 numero) {
    const QString cod = oficina + FormatoMascara(numero, mascara);
    // A box or a column would keep only its first characters: different
    // numbers would share a code, and the number would be lost.
    if (ui::Caracteres(cod) > schema::LongitudCodigo)
        throw db::DbError(
            db::ErrFieldTooSmall,
            QStringLiteral("El campo 'Cod' es demasiado pequeño para aceptar la cantidad de datos "
                           "que intentó agregar (%1 caracteres como máximo): el código %2 del "
                           "número %3 con la máscara \"%4\" no cabe.")
                .arg(QString::number(schema::LongitudCodigo), cod, QString::number(numero), mascara));
    return cod;
}

CodeAllocator::CodeAllocator(QString contador, QString tabla, QString oficina)
    : contador_(std::move(contador)), tabla_(std::move(tabla)), oficina_(std::move(oficina)) {}

QString CodeAllocator::variable(db::Database& db) const {
    // Offices that share one server number their records each on its own
    // counter. The office that made the database keeps the counters its file
    // brought; every other office has its own beside them.
    if (!db.onServer() || oficina_.isEmpty())
        return contador_;
    if (!variable_.isEmpty())
        return variable_;
    // (A database made by another tool may lack the record: one office, then.)
    const QVariant casa = db.scalar(QStringLiteral("SELECT to_regclass('orbalia_agencia') IS NULL")).toBool()
                              ? QVariant()
                              : db.scalar(QStringLiteral("SELECT oficina FROM orbalia_agencia LIMIT 1"));
    variable_ =
        casa.toString().isEmpty() || casa.toString() == oficina_ ? contador_ : contador_ + u'.' + oficina_;
    return variable_;
}

qint64 CodeAllocator::inicial(db::Database& db) const {
    // An office's own counter starts past its highest number.
    return db
        .scalar(QStringLiteral("SELECT coalesce(max(QuickID), 0) FROM %1 WHERE Agencia = ?").arg(tabla_),
                {oficina_})
        .toLongLong();
}

qint64 CodeAllocator::contador(db::Database& db) const {
    // A missing or non-numeric counter counts as 0.
    const QString v = variable(db);
    const QVariant valor = LeerConfig(db, QStringLiteral("CONTADORES"), v);
    if (v != contador_ && (valor.isNull() || valor.toString().isEmpty()))
        return inicial(db);
    return qint64(ValorNumerico(valor));
}

QString CodeAllocator::codigo(db::Database& db, qint64 numero) const {
    if (oficina_.isEmpty())
        return QString::number(numero);
    const QString mascara = LeerConfig(db, QStringLiteral("CODIGOS"), QStringLiteral("MASCARA")).toString();
    return CodigoRegistro(oficina_, mascara, numero);
}

bool CodeAllocator::enUso(db::Database& db, qint64 numero) const {
    // The table name is one of the program's own, never typed by a user.
    if (oficina_.isEmpty())
        return db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE Cod = ?").arg(tabla_), {numero})
                   .toLongLong() > 0;
    return db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE Cod = ? OR (Agencia = ? AND QuickID = ?)")
                         .arg(tabla_),
                     {codigo(db, numero), oficina_, numero})
               .toLongLong() > 0;
}

qint64 CodeAllocator::propuesta(db::Database& db) const {
    qint64 n = contador(db) + 1;
    while (enUso(db, n))
        ++n;
    return n;
}

qint64 CodeAllocator::reservar(db::Database& db) const {
    if (!db.inTransaction())
        throw db::DbError(db::ErrGeneric, QStringLiteral("Reserva de número fuera de una transacción"));
    if (db.onServer()) {
        // On a server the counter's row is the seats' lock, held until commit:
        // a second seat waits here and then sees the number the first one used.
        // (The file's write transaction already holds the whole database.)
        const QString v = variable(db);
        db.execute(QStringLiteral("INSERT INTO Config (Grupo, Variable, Valor) VALUES ('CONTADORES', ?, ?) "
                                  "ON CONFLICT DO NOTHING"),
                   {v, v == contador_ ? QStringLiteral("0") : QString::number(inicial(db))});
        db.scalar(QStringLiteral("SELECT Valor FROM Config WHERE Grupo = 'CONTADORES' AND Variable = ?") +
                      db.forUpdate(),
                  {v});
    }
    return propuesta(db);
}

void CodeAllocator::avanzar(db::Database& db, qint64 numero) const {
    if (!db.inTransaction())
        throw db::DbError(db::ErrGeneric, QStringLiteral("Contador escrito fuera de una transacción"));
    if (numero > contador(db))
        GuardarConfig(db, QStringLiteral("CONTADORES"), variable(db), numero);
}

qint64 CodeAllocator::insertar(db::Database& db, const std::function<void(qint64)>& insertarFila) const {
    db::Transaction tr(db);
    const qint64 numero = reservar(db);
    insertarFila(numero);
    avanzar(db, numero);
    tr.commit();
    return numero;
}

void NumeroNuevo::proponer(const CodeAllocator& numeracion, db::Database& db, ui::TextControl* caja) {
    propuesto_ = numeracion.propuesta(db);
    reservado_ = 0;
    caja->setText(QString::number(propuesto_));
}

void NumeroNuevo::tomar(const CodeAllocator& numeracion, db::Database& db, ui::TextControl* caja) {
    reservado_ = numeracion.reservar(db);
    if (qint64(ValorNumerico(caja->Text())) == propuesto_ && reservado_ != propuesto_)
        caja->setText(QString::number(reservado_));
}

void NumeroNuevo::contar(const CodeAllocator& numeracion, db::Database& db) const {
    numeracion.avanzar(db, reservado_);
}

} // namespace orb
