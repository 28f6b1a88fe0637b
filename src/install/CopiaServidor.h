#pragma once

// An office's Orbalia.db carried onto a PostgreSQL server: every table, in one
// transaction, checked row by row before it is committed.

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <stdexcept>

namespace pg {
class Connection;
}

namespace orb::install {

// Why the copy was refused or undone, in the seat's language; the server was left as it was.
class CopiaRechazada : public std::runtime_error {
public:
    explicit CopiaRechazada(const QString& texto) : std::runtime_error(texto.toStdString()), texto_(texto) {}
    const QString& texto() const { return texto_; }

private:
    QString texto_;
};

// One table as both sides hold it once the copy is checked: its rows and a
// SHA-256 over them in a canonical text form, in rowid order.
struct TablaCopiada {
    QString tabla;
    qint64 filas = 0;
    QByteArray suma;
};

struct ResultadoCopia {
    // The server already held exactly the office's rows: nothing was written.
    bool yaEstaba = false;
    QList<TablaCopiada> tablas;
    qint64 filas() const;
};

struct OpcionesCopia {
    // The server's rows of this same office give way to the file's. Without
    // it, a server whose rows differ from the file's is refused.
    bool reemplazar = false;
    // One line per step ("Propiedades: 100000 filas"), for the person waiting.
    std::function<void(const QString&)> progreso;
};

// Copies the Orbalia.db of the installation folder into the server's
// database, creating the agency schema there when the database is empty.
// Refuses a database that holds another agency's or another office's data,
// one that is not the program's, or one at another schema version; a second
// run over the same rows changes nothing (yaEstaba). Throws CopiaRechazada,
// pg::PgError when the server fails, db::DbError when the file does.
ResultadoCopia copiarOficina(const QString& carpeta, pg::Connection& servidor,
                             const OpcionesCopia& opciones = {});

} // namespace orb::install
