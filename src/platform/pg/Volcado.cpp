#include "Volcado.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>

namespace pg {

namespace {

// A connection string value, quoted as libpq reads it.
QString entrecomillado(const QString& valor) {
    QString v = valor;
    v.replace(u'\\', QLatin1String("\\\\"));
    v.replace(u'\'', QLatin1String("\\'"));
    return u'\'' + v + u'\'';
}

SalidaCliente ejecutar(const QString& nombre, const ConnectOptions& o, const QStringList& argumentos) {
    SalidaCliente s;
    const QString programa = programaCliente(nombre);
    if (programa.isEmpty()) {
        s.encontrado = false;
        return s;
    }
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    // Only these settings decide where the child connects and as whom; a
    // service file or a password of the user's own shell must not.
    for (const char* v : {"PGSERVICE", "PGSERVICEFILE", "PGPASSFILE", "PGOPTIONS", "PGDATABASE"})
        entorno.remove(QLatin1String(v));
    entorno.insert(QStringLiteral("PGHOST"), o.host);
    entorno.insert(QStringLiteral("PGPORT"), QString::number(o.port));
    entorno.insert(QStringLiteral("PGUSER"), o.user);
    entorno.insert(QStringLiteral("PGPASSWORD"), o.password);
    entorno.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QString::number(o.connectTimeoutSeconds));
    entorno.insert(QStringLiteral("PGAPPNAME"), o.applicationName);
    // The database as a connection string: a name holding '=' is still a name.
    QStringList todos{QStringLiteral("--no-password"),
                      QStringLiteral("--dbname=dbname=") + entrecomillado(o.database)};
    todos << argumentos;
    QProcess p;
    p.setProcessEnvironment(entorno);
    p.setProgram(programa);
    p.setArguments(todos);
    p.setStandardInputFile(QProcess::nullDevice());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start();
    // A large database takes as long as it takes; an unreachable server ends
    // at the connection's timeout.
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit) {
        s.errores = p.errorString();
        return s;
    }
    s.codigo = p.exitCode();
    s.errores = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    if (!o.password.isEmpty())
        s.errores.replace(o.password, QStringLiteral("***"));
    return s;
}

} // namespace

QString programaCliente(const QString& nombre) {
    return QStandardPaths::findExecutable(nombre);
}

int versionPrincipal(const QString& texto) {
    static const QRegularExpression numero(QStringLiteral("(?:^|[\\s(])(\\d+)"));
    const QRegularExpressionMatch m = numero.match(texto);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

int versionCliente(const QString& nombre) {
    const QString programa = programaCliente(nombre);
    if (programa.isEmpty())
        return 0;
    QProcess p;
    p.start(programa, {QStringLiteral("--version")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return 0;
    return versionPrincipal(QString::fromLocal8Bit(p.readAllStandardOutput()));
}

SalidaCliente volcar(const ConnectOptions& o, const QString& archivo) {
    return ejecutar(QStringLiteral("pg_dump"), o,
                    {QStringLiteral("--format=custom"), QStringLiteral("--file"), archivo});
}

SalidaCliente restaurar(const ConnectOptions& o, const QString& archivo) {
    return ejecutar(QStringLiteral("pg_restore"), o,
                    {QStringLiteral("--single-transaction"), QStringLiteral("--exit-on-error"),
                     QStringLiteral("--no-owner"), archivo});
}

QString indiceVolcado(const QString& archivo) {
    const QString programa = programaCliente(QStringLiteral("pg_restore"));
    if (programa.isEmpty())
        return {};
    QProcess p;
    p.start(programa, {QStringLiteral("--list"), archivo});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool esVolcado(const QString& archivo) {
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "PGDMP";
}

} // namespace pg
