#include "Intercambio.h"

#include "platform/db/ServerEngine.h"
#include "platform/process/ShellSincrono.h"
#include "shell/AppContext.h"
#include "shell/ConfigStore.h"
#include "shell/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace orb {

namespace {

struct NombreTabla {
    const char16_t* tabla;
    const char* filas;
};
constexpr NombreTabla NombresTablas[] = {
    {u"Tipos", QT_TRANSLATE_NOOP("Intercambio", "tipos")},
    {u"Localidades", QT_TRANSLATE_NOOP("Intercambio", "localidades")},
    {u"Areas", QT_TRANSLATE_NOOP("Intercambio", "areas")},
    {u"Propiedades", QT_TRANSLATE_NOOP("Intercambio", "propiedades")},
    {u"Propietarios", QT_TRANSLATE_NOOP("Intercambio", "propietarios")},
    {u"Clientes", QT_TRANSLATE_NOOP("Intercambio", "clientes")},
    {u"Agentes", QT_TRANSLATE_NOOP("Intercambio", "agentes")},
    {u"Visitas", QT_TRANSLATE_NOOP("Intercambio", "visitas")},
};

} // namespace

QString NombreFilasTabla(const QString& tabla) {
    for (const NombreTabla& t : NombresTablas)
        if (tabla == QStringView(t.tabla))
            return QCoreApplication::translate("Intercambio", t.filas);
    return tabla.toLower();
}

CuentaIntercambio LeerCuentaIntercambio(db::Database& database) {
    CuentaIntercambio c;
    c.servidor =
        LeerConfig(database, QStringLiteral("SINC"), QStringLiteral("FTPSERVIDOR")).toString().trimmed();
    c.usuario =
        LeerConfig(database, QStringLiteral("SINC"), QStringLiteral("FTPUSUARIO")).toString().trimmed();
    const QString puerto =
        LeerConfig(database, QStringLiteral("SINC"), QStringLiteral("PUERTORSYNC")).toString().trimmed();
    c.puerto = puerto.toInt(); // empty or not a number: the script's own
    if (c.puerto < 0 || c.puerto > 65535)
        c.puerto = 0;
    return c;
}

QString ScriptIntercambio(const AppContext& ctx, const QString& usuario) {
    return ctx.RutaAplicacion + QStringLiteral("rsync_") + usuario + QStringLiteral(".sh");
}

QString RutaRemota(const CuentaIntercambio& cuenta, const QString& oficina) {
    return cuenta.usuario + u'@' + cuenta.servidor + QStringLiteral("::") + cuenta.usuario + u'/' + oficina +
           u'/';
}

QStringList ColumnasTabla(db::Database& database, const QString& schemaName, const QString& table) {
    QStringList columnas;
    if (database.onServer()) {
        // The server's table for main; an exchange file is always a file of its own.
        if (database.server()->tableNamed(table).isEmpty())
            return columnas;
        for (const db::FieldInfo& f : database.server()->columnsOf(table))
            columnas << f.name;
        return columnas;
    }
    // pragma_table_info takes the schema and table as bound values.
    const QList<db::Row> rows = database.query(
        QStringLiteral("SELECT name FROM pragma_table_info(?, ?) ORDER BY cid"), {table, schemaName});
    for (const db::Row& r : rows)
        columnas << r.value(0).toString();
    return columnas;
}

QStringList ColumnasNumericas(db::Database& database, const QString& schemaName, const QString& table) {
    static const QRegularExpression numero(QStringLiteral("INT|REAL|FLOA|DOUB|CURRENCY|NUMERIC|DECIMAL|BOOL"),
                                           QRegularExpression::CaseInsensitiveOption);
    QStringList columnas;
    if (database.onServer()) {
        for (const db::FieldInfo& f : database.server()->columnsOf(table))
            if (f.type != db::FieldType::Text && f.type != db::FieldType::Memo &&
                f.type != db::FieldType::Date && f.type != db::FieldType::Unknown)
                columnas << f.name;
        return columnas;
    }
    const QList<db::Row> rows = database.query(
        QStringLiteral("SELECT name, type FROM pragma_table_info(?, ?) ORDER BY cid"), {table, schemaName});
    for (const db::Row& r : rows)
        if (numero.match(r.value(1).toString()).hasMatch())
            columnas << r.value(0).toString();
    return columnas;
}

QString TextoSello(const QDateTime& fecha) {
    return fecha.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QDateTime LeerSello(const QString& texto) {
    const QDateTime fecha = QDateTime::fromString(texto, Qt::ISODateWithMs);
    // Only the form TextoSello writes: another one would not sort as text.
    return fecha.isValid() && TextoSello(fecha) == texto ? fecha.toUTC() : QDateTime();
}

QString SelloVisible(const QDateTime& fecha) {
    return fecha.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString EntreComillas(const QString& nombre) {
    return u'"' + QString(nombre).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString ListaColumnas(const QStringList& columnas) {
    QStringList quoted;
    quoted.reserve(columnas.size());
    for (const QString& c : columnas)
        quoted << EntreComillas(c);
    return quoted.join(QStringLiteral(", "));
}

QString MismosValores(const QStringList& columnas, const QString& a, const QString& b) {
    QStringList partes;
    partes.reserve(columnas.size());
    for (const QString& c : columnas)
        partes << QStringLiteral("%1.%2 IS %3.%2 COLLATE BINARY").arg(a, EntreComillas(c), b);
    return partes.isEmpty() ? QStringLiteral("1") : partes.join(QStringLiteral(" AND "));
}

TextoEnNumero CasosTextoEnNumero(const QStringList& numericas, const QStringList& copiadas) {
    QStringList campo, valor;
    for (const QString& c : numericas) {
        if (!copiadas.contains(c, Qt::CaseInsensitive))
            continue;
        const QString columna = ListaColumnas({c});
        const QString malo = QStringLiteral("typeof(%1) NOT IN ('integer', 'real', 'null')").arg(columna);
        campo
            << QStringLiteral("WHEN %1 THEN '%2'").arg(malo, QString(c).replace(u'\'', QStringLiteral("''")));
        valor << QStringLiteral("WHEN %1 THEN substr(CAST(%2 AS TEXT), 1, 40)").arg(malo, columna);
    }
    TextoEnNumero out;
    if (!campo.isEmpty()) {
        out.campo = QStringLiteral("CASE ") + campo.join(u' ') + QStringLiteral(" END");
        out.valor = QStringLiteral("CASE ") + valor.join(u' ') + QStringLiteral(" END");
    }
    return out;
}

bool NombreFotoValido(const QString& nombre) {
    return !nombre.isEmpty() && !nombre.contains(u'/') && !nombre.contains(u'\\') && nombre != u"." &&
           nombre != u"..";
}

int EjecutarScript(proc::ProcessRunner& runner, const QString& script, const QString& origen,
                   const QString& destino, int puerto, const InformeIntercambio& informe, QString* fallo) {
    auto log = [&](const QString& linea) {
        if (informe.log)
            informe.log(linea);
    };
    log(u'"' + script + QStringLiteral("\" \"") + origen + QStringLiteral("\" \"") + destino + u'"');
    // rsync speaks English and names its internals: for support, not for the user.
    // The installer's script takes the port from ORBALIA_RSYNC_PORT.
    const bool otroPuerto = puerto > 0;
    const QString programa = otroPuerto ? QStringLiteral("env") : script;
    QStringList argumentos{origen, destino};
    if (otroPuerto)
        argumentos = QStringList{QStringLiteral("ORBALIA_RSYNC_PORT=%1").arg(puerto), script} + argumentos;
    // Through env a missing script would end with env's 127: told as not started.
    const int code = otroPuerto && !QFileInfo(script).isExecutable()
                         ? int(proc::ProcessRunner::NotStarted)
                         : proc::ShellSincrono(runner, programa, argumentos, [&](const QString& linea) {
                               EscribirLog(QCoreApplication::translate("Intercambio", "Intercambio (%1): %2")
                                               .arg(QFileInfo(script).fileName(), linea));
                           });
    if (code != 0)
        EscribirLog(
            QCoreApplication::translate("Intercambio", "Intercambio: \"%1\" \"%2\" \"%3\" ha fallado: %4")
                .arg(script, origen, destino, runner.failure()));
    if (fallo)
        *fallo = code == 0 ? QString() : CausaFalloScript(code, runner.cancelled(), script);
    return code;
}

QString CausaFalloScript(int codigo, bool cancelado, const QString& script) {
    if (cancelado)
        return QCoreApplication::translate("Intercambio", "se ha cancelado");
    const QString nombre = QDir::toNativeSeparators(script);
    switch (codigo) {
    case proc::ProcessRunner::NotStarted:
        if (!QFileInfo(script).isFile())
            return QCoreApplication::translate("Intercambio", "no se encuentra el script de intercambio %1")
                .arg(nombre);
        return QCoreApplication::translate("Intercambio",
                                           "no se ha podido ejecutar el script de intercambio %1")
            .arg(nombre);
    case 1: {
        // The installer's script stops with 1 when its password file is missing.
        QString clave = script;
        if (clave.endsWith(QLatin1String(".sh")))
            clave = clave.chopped(3) + QStringLiteral(".secret");
        if (clave != script && !QFileInfo(clave).isReadable())
            return QCoreApplication::translate("Intercambio", "falta el archivo de contraseña %1")
                .arg(QDir::toNativeSeparators(clave));
        return QCoreApplication::translate(
                   "Intercambio", "el script de intercambio %1 no acepta sus datos (origen o destino)")
            .arg(nombre);
    }
    case 5:
        return QCoreApplication::translate(
            "Intercambio",
            "el servidor de intercambio ha rechazado el usuario o la contraseña, o no tiene "
            "la carpeta de ese usuario (Herramientas > Configuración > Sincronización > Usuario y "
            "Contraseña; SINC / FTPUSUARIO)");
    case 10:
        return QCoreApplication::translate("Intercambio",
                                           "no se puede conectar con el servidor de intercambio");
    case 11:
        return QCoreApplication::translate(
            "Intercambio", "no se han podido leer o escribir los archivos de la carpeta de intercambio");
    case 12:
        return QCoreApplication::translate("Intercambio",
                                           "se ha cortado la comunicación con el servidor de intercambio");
    case 23:
    case 24:
        return QCoreApplication::translate("Intercambio", "no se han podido copiar todos los archivos");
    case 30:
    case 35:
        return QCoreApplication::translate("Intercambio", "el servidor de intercambio no responde");
    case 127:
        return QCoreApplication::translate("Intercambio", "no se encuentra el programa rsync");
    default:
        return QCoreApplication::translate("Intercambio",
                                           "el script de intercambio ha terminado con el código %1")
            .arg(codigo);
    }
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
