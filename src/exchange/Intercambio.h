#pragma once

#include "platform/db/Database.h"

#include <QDateTime>
#include <QHash>
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
    // The row lines of a table ("Importando propiedad 0100001"), all of them
    // at once, when whoever shows the run takes them apart from log (a window
    // that shows a count per hundred); otherwise they go to log one by one.
    std::function<void(const QStringList&)> filas;
};

// The exchange account of group SINC, empty when unset.
struct CuentaIntercambio {
    QString servidor; // FTPSERVIDOR
    QString usuario;  // FTPUSUARIO
    int puerto = 0;   // PUERTORSYNC; 0: the port the installer wrote into the script
};
CuentaIntercambio LeerCuentaIntercambio(db::Database& database);

// The installation's exchange script, "rsync_" + user + ".sh" in the program folder.
QString ScriptIntercambio(const AppContext& ctx, const QString& usuario);

// The daemon path of one office's folder: user@server::user/office/.
QString RutaRemota(const CuentaIntercambio& cuenta, const QString& oficina);

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

// How the log names a table's rows ("Propiedades" → "propiedades"), in the
// interface's language; a table it does not know, by its name in lower case.
QString NombreFilasTabla(const QString& tabla);

// Column names of schemaName.table in declaration order (empty when the table
// is missing). On a server, the agency's table as the definitions spell it.
QStringList ColumnasTabla(db::Database& database, const QString& schemaName, const QString& table);
// Those of them declared as numbers (whole, money, double, yes/no): SQLite
// would keep a text there that does not read as a number.
QStringList ColumnasNumericas(db::Database& database, const QString& schemaName, const QString& table);

// What an export writes in its file's table Intercambio: the office, the
// moment (UTC) and the rows of each exchange table it holds.
struct SelloIntercambio {
    QString oficina;
    QDateTime fecha;
    QHash<QString, qint64> filas; // by table name; catalogues 0 from a secondary office
};
// The stamp's moment as stored: ISO 8601 in UTC with milliseconds, so that
// text order is time order.
QString TextoSello(const QDateTime& fecha);
QDateTime LeerSello(const QString& texto); // invalid when texto is not such a moment
// The moment as the log shows it, local time.
QString SelloVisible(const QDateTime& fecha);

// "\"A\"": a name quoted for SQL.
QString EntreComillas(const QString& nombre);
// "\"A\", \"B\"": a column list quoted for SQL.
QString ListaColumnas(const QStringList& columnas);
// "a"."c1" IS "b"."c1" COLLATE BINARY AND …: the same stored values in two
// rows, a case or accent of difference included (the Spanish order ignores case).
QString MismosValores(const QStringList& columnas, const QString& a, const QString& b);

// For the number columns among those copied, two SQLite expressions over a
// row of the exchange file: the first column holding a text that does not
// read as a number ("caro" as a price) and its first 40 characters; both
// "NULL" when no copied column is a number column.
struct TextoEnNumero {
    QString campo = QStringLiteral("NULL");
    QString valor = QStringLiteral("NULL");
    bool hay() const { return campo != u"NULL"; }
};
TextoEnNumero CasosTextoEnNumero(const QStringList& numericas, const QStringList& copiadas);

// A photograph's file name as stored in Foto1…Foto6 is used only when it
// names a file inside the photo folder (no folder part).
bool NombreFotoValido(const QString& nombre);

// Runs the exchange script with its two arguments, logging the command line;
// puerto, when not 0, is the server's port instead of the script's own.
// What the script and rsync print goes to Orbalia.log, not to the user's log;
// fallo gets the plain cause of a failure (see CausaFalloScript). Returns
// the exit code (-1: not started).
int EjecutarScript(proc::ProcessRunner& runner, const QString& script, const QString& origen,
                   const QString& destino, int puerto, const InformeIntercambio& informe,
                   QString* fallo = nullptr);
// The cause of a failed run of the exchange script in plain words, from its
// exit code (rsync's codes, or the installer's script's own 1 for a missing
// password file).
QString CausaFalloScript(int codigo, bool cancelado, const QString& script);

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
