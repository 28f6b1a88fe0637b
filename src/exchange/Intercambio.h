#pragma once

#include "platform/db/Database.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace proc {
class ProcessRunner;
}

namespace orb {

struct AppContext;

// What an exchange run tells whoever shows it: the log lines in order and
// the progress of rows and pictures. Either may be left empty.
struct Progreso {
    qint64 filas = 0; // rows written so far in this run
    int fotos = 0;    // pictures or photographs done
    int fotosTotal = 0;
};

struct InformeIntercambio {
    std::function<void(const QString&)> log;
    std::function<void(const Progreso&)> progreso;
};

// The exchange account of group SINC, empty when unset.
struct CuentaIntercambio {
    QString servidor; // FTPSERVIDOR
    QString usuario;  // FTPUSUARIO
};
CuentaIntercambio LeerCuentaIntercambio(db::Database& database);

// The installation's exchange script, "rsync_" + user + ".sh" in the program folder.
QString ScriptIntercambio(const AppContext& ctx, const QString& usuario);

// The daemon path of one office's folder: user@server::user/office/.
QString RutaRemota(const CuentaIntercambio& cuenta, const QString& oficina);

// Office codes of the network. Each character is one code, the principal's
// first; a list with commas, semicolons or blanks is split there instead, so
// codes of more than one character can be listed ("01,02").
QStringList CodigosRed(const QString& redAgencias);

// The exchange tables, in the order they are exported and imported.
inline const QStringList& TablasCatalogo() {
    static const QStringList t{QStringLiteral("Tipos"), QStringLiteral("Localidades"),
                               QStringLiteral("Areas")};
    return t;
}
inline const QStringList& TablasOficina() {
    static const QStringList t{QStringLiteral("Propiedades"), QStringLiteral("Propietarios"),
                               QStringLiteral("Clientes")};
    return t;
}

// Column names of schemaName.table in declaration order (empty when the table is missing).
QStringList ColumnasTabla(db::Database& database, const QString& schemaName, const QString& table);

// "\"A\", \"B\"": a column list quoted for SQL.
QString ListaColumnas(const QStringList& columnas);

// A photograph's file name as stored in Foto1…Foto6 is used only when it
// names a file inside the photo folder (no folder part).
bool NombreFotoValido(const QString& nombre);

// Runs the exchange script with its two arguments, logging the command line
// and every line of the script's output. Returns the exit code (-1: not started).
int EjecutarScript(proc::ProcessRunner& runner, const QString& script, const QString& origen,
                   const QString& destino, const InformeIntercambio& informe, QString* fallo = nullptr);

// Attaches a database file under an alias for the lifetime of this object.
class Adjunta {
public:
    Adjunta(db::Database& database, const QString& path, const QString& alias);
    ~Adjunta();
    Adjunta(const Adjunta&) = delete;
    Adjunta& operator=(const Adjunta&) = delete;

private:
    db::Database& db_;
    QString alias_;
};

// Rows changed by the last statement, counted in 64 bits.
qint64 FilasCambiadas(db::Database& database);

} // namespace orb
