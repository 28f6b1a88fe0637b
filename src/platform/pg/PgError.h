#pragma once

#include <QString>
#include <stdexcept>

namespace pg {

// What went wrong, in terms the program can tell a user without the
// server's English: the SQLSTATE stays for the log.
enum class Causa {
    Otra,
    LoginRechazado,      // wrong user or password, or the server refuses this address
    ServidorInaccesible, // nothing answers at that address and port, or it timed out
    BaseInexistente,     // the server has no database of that name
    ConexionPerdida,     // the connection broke during the statement
    CodigoDuplicado,     // a unique index refused the row (23505)
    EsperaBloqueo,       // gave up waiting for a row another session holds (55P03)
    Conflicto,           // serialisation failure or deadlock: the transaction may be retried
    DatoNoValido,        // a value the column cannot hold (22xxx, 23502, 23514)
    Sintaxis,            // the statement itself is wrong (42xxx)
    SinPermiso,          // this user may not do it (42501: a grant, a policy, the office rules)
};

// A failure reported by libpq or the server. The text never holds the password.
class PgError : public std::runtime_error {
public:
    PgError(Causa causa, const QString& sqlState, const QString& text)
        : std::runtime_error(text.toStdString()), causa_(causa), sqlState_(sqlState), text_(text) {}

    Causa causa() const { return causa_; }
    const QString& sqlState() const { return sqlState_; }
    const QString& text() const { return text_; }
    // "PostgreSQL 23505: duplicate key value …", for logs.
    QString describe() const {
        return QStringLiteral("PostgreSQL %1: %2")
            .arg(sqlState_.isEmpty() ? QStringLiteral("-") : sqlState_, text_);
    }

    // The cause a SQLSTATE stands for.
    static Causa causaDe(const QString& sqlState);

private:
    Causa causa_;
    QString sqlState_;
    QString text_;
};

} // namespace pg
