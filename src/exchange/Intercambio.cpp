#include "Intercambio.h"

#include "ShellSincrono.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace orb {

CuentaIntercambio LeerCuentaIntercambio(db::Database& database) {
    CuentaIntercambio c;
    c.servidor =
        LeerConfig(database, QStringLiteral("SINC"), QStringLiteral("FTPSERVIDOR")).toString().trimmed();
    c.usuario =
        LeerConfig(database, QStringLiteral("SINC"), QStringLiteral("FTPUSUARIO")).toString().trimmed();
    return c;
}

QString ScriptIntercambio(const AppContext& ctx, const QString& usuario) {
    return ctx.RutaAplicacion + QStringLiteral("rsync_") + usuario + QStringLiteral(".sh");
}

QString RutaRemota(const CuentaIntercambio& cuenta, const QString& oficina) {
    return cuenta.usuario + u'@' + cuenta.servidor + QStringLiteral("::") + cuenta.usuario + u'/' + oficina +
           u'/';
}

QStringList CodigosRed(const QString& redAgencias) {
    static const QRegularExpression separador(QStringLiteral("[,;\\s]+"));
    if (redAgencias.contains(separador))
        return redAgencias.split(separador, Qt::SkipEmptyParts);
    QStringList codigos;
    for (const QChar c : redAgencias)
        codigos << QString(c);
    return codigos;
}

QStringList ColumnasTabla(db::Database& database, const QString& schemaName, const QString& table) {
    QStringList columnas;
    // pragma_table_info takes the schema and table as bound values.
    const QList<db::Row> rows = database.query(
        QStringLiteral("SELECT name FROM pragma_table_info(?, ?) ORDER BY cid"), {table, schemaName});
    for (const db::Row& r : rows)
        columnas << r.value(0).toString();
    return columnas;
}

QString ListaColumnas(const QStringList& columnas) {
    QStringList quoted;
    quoted.reserve(columnas.size());
    for (QString c : columnas)
        quoted << u'"' + c.replace(u'"', QStringLiteral("\"\"")) + u'"';
    return quoted.join(QStringLiteral(", "));
}

bool NombreFotoValido(const QString& nombre) {
    return !nombre.isEmpty() && !nombre.contains(u'/') && !nombre.contains(u'\\') && nombre != u"." &&
           nombre != u"..";
}

int EjecutarScript(proc::ProcessRunner& runner, const QString& script, const QString& origen,
                   const QString& destino, const InformeIntercambio& informe, QString* fallo) {
    auto log = [&](const QString& linea) {
        if (informe.log)
            informe.log(linea);
    };
    log(u'"' + script + QStringLiteral("\" \"") + origen + QStringLiteral("\" \"") + destino + u'"');
    const int code = ShellSincrono(runner, script, {origen, destino}, log);
    if (fallo)
        *fallo = code == 0 ? QString() : runner.failure();
    return code;
}

Adjunta::Adjunta(db::Database& database, const QString& path, const QString& alias)
    : db_(database), alias_(alias) {
    db_.execute(QStringLiteral("ATTACH DATABASE ? AS ") + alias_, {path});
}

Adjunta::~Adjunta() {
    try {
        db_.execute(QStringLiteral("DETACH DATABASE ") + alias_);
    } catch (...) {
    }
}

qint64 FilasCambiadas(db::Database& database) {
    return sqlite3_changes64(database.handle());
}

} // namespace orb
