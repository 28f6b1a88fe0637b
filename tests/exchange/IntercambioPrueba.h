#pragma once

// Shared set-up of the exchange tests: installations of one office, rows
// written straight into their tables, and whole tables read back as text.

#include "TestInstallation.h"
#include "TestServers.h"
#include "exchange/Intercambio.h"
#include "shell/Log.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace prueba {

inline orb::install::InstallOptions oficina(const QString& codigo, bool principal, const QString& red = {}) {
    orb::install::InstallOptions o;
    o.facts.NombreAgencia = QStringLiteral("Prueba");
    o.facts.CodigoOficina = codigo;
    o.facts.OficinaPrincipal = principal;
    o.facts.RedAgencias = red;
    return o;
}

// A row with the fields a test cares about; the rest stay null.
inline void fila(db::Database& d, const QString& tabla, const QString& cod, const QVariant& agencia,
                 const QString& foto1 = {}, const QString& foto2 = {}) {
    if (tabla == u"Propiedades")
        d.execute(QStringLiteral("INSERT INTO Propiedades (Cod, Agencia, Direccion, Precio, Foto1, Foto2) "
                                 "VALUES (?, ?, ?, ?, ?, ?)"),
                  {cod, agencia, QStringLiteral("Calle ") + cod, 123456.5,
                   foto1.isEmpty() ? QVariant() : foto1, foto2.isEmpty() ? QVariant() : foto2});
    else
        d.execute(QStringLiteral("INSERT INTO %1 (Cod, Agencia, Nombre) VALUES (?, ?, ?)").arg(tabla),
                  {cod, agencia, QStringLiteral("Nombre ") + cod});
}

inline void catalogo(db::Database& d, int cod, const QString& nombre) {
    d.execute(QStringLiteral("INSERT INTO Tipos (Cod, Nombre) VALUES (?, ?)"), {cod, nombre});
    d.execute(QStringLiteral("INSERT INTO Localidades (Cod, Nombre) VALUES (?, ?)"), {cod, nombre});
}

// Every field of the rows selected, one text per row, in Cod order. The row
// version is the database's own, not the record's: it does not travel.
inline QStringList tabla(db::Database& d, const QString& nombre, const QString& where = {},
                         const db::Params& params = {}) {
    QStringList out, columnas = orb::ColumnasTabla(d, QStringLiteral("main"), nombre);
    columnas.removeAll(QStringLiteral("Version"));
    // Unquoted: the server keeps its names folded to lower case.
    const QString sql =
        QStringLiteral("SELECT %3 FROM %1 %2 ORDER BY Cod").arg(nombre, where, columnas.join(u','));
    for (const db::Row& r : d.query(sql, params)) {
        QStringList campos;
        for (const db::Value& v : r)
            campos << (db::isNull(v) ? QStringLiteral("<null>") : v.toString());
        out << campos.join(u'|');
    }
    return out;
}

// Every row an office owns: its records, its clients' places and its visits
// (their row numbers are each database's own).
inline QStringList oficinaEntera(db::Database& d, const QString& oficina) {
    QStringList out;
    for (const char* t : {"Propiedades", "Propietarios", "Clientes"})
        out << QLatin1String(t) << tabla(d, QLatin1String(t), QStringLiteral("WHERE Agencia = ?"), {oficina});
    for (const db::Row& z :
         d.query(QStringLiteral("SELECT CodCliente, CodLocalidad, coalesce(CodArea, -1) FROM "
                                "ClientesZonas WHERE CodCliente IN (SELECT Cod FROM Clientes "
                                "WHERE Agencia = ?) ORDER BY CodCliente, CodLocalidad, CodArea"),
                 {oficina}))
        out << QStringLiteral("zona ") + z[0].toString() + u':' + z[1].toString() + u':' + z[2].toString();
    for (const db::Row& v :
         d.query(QStringLiteral("SELECT CodPropiedad, CodCliente, Fecha FROM Visitas WHERE "
                                "Agencia = ? ORDER BY CodPropiedad, CodCliente, Fecha"),
                 {oficina}))
        out << QStringLiteral("visita ") + v[0].toString() + u':' + v[1].toString() + u':' + v[2].toString();
    return out;
}

// An office installed by the real installer with demo data, the exchange
// account of the test daemon and the script the installer writes; red, when
// given, is the agency's list of offices.
inline orb::install::InstallOptions instalada(const testservers::Rsync& s, const QString& codigo,
                                              bool principal, quint32 semilla, const QString& red = {}) {
    orb::install::InstallOptions o;
    o.facts = orb::install::demoFacts();
    o.facts.CodigoOficina = codigo;
    o.facts.OficinaPrincipal = principal;
    if (!red.isEmpty())
        o.facts.RedAgencias = red;
    o.demoProperties = 12;
    o.seed = semilla;
    o.exchangeUser =
        s.users.contains(QStringLiteral("oficina1")) ? QStringLiteral("oficina1") : s.users.first();
    o.exchangeServer = s.host;
    o.exchangePort = s.port;
    o.exchangePassword = s.password;
    return o;
}

// orbalia-exchange as a user or a scheduled task runs it.
struct Ejecucion {
    int codigo = -1;
    QString salida; // standard output: the run's log
    QString error;
};
inline Ejecucion exchange(const QString& orden, const QString& home) {
    QProcess p;
    p.start(QStringLiteral(ORBALIA_BINARY_DIR "/orbalia-exchange"), {orden, QStringLiteral("--home"), home});
    Ejecucion e;
    if (!p.waitForFinished(120000))
        return e;
    e.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    e.salida = QString::fromUtf8(p.readAllStandardOutput());
    e.error = QString::fromUtf8(p.readAllStandardError());
    return e;
}

// Makes every insert or update of tabla's rows that meet cuando fail with
// mensaje, on either engine: a failure inside the import's transaction.
inline void disparadorQueFalla(db::Database& d, const QString& tabla, const QString& cuando,
                               const QString& mensaje) {
    if (d.onServer()) {
        d.executeScript(
            QStringLiteral("CREATE FUNCTION orb_falla_prueba() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$ BEGIN RAISE EXCEPTION '%1'; END $$; "
                           "CREATE TRIGGER falla BEFORE INSERT OR UPDATE ON %2 FOR EACH ROW WHEN "
                           "(%3) EXECUTE FUNCTION orb_falla_prueba();")
                .arg(mensaje, tabla, cuando));
        return;
    }
    for (const char* cuando_ : {"INSERT", "UPDATE"})
        d.execute(QStringLiteral("CREATE TEMP TRIGGER falla_%1 BEFORE %1 ON main.%2 WHEN %3 BEGIN SELECT "
                                 "RAISE(ABORT, '%4'); END")
                      .arg(QLatin1String(cuando_), tabla, cuando, mensaje));
}

inline void foto(const QString& ruta, QSize size, QColor color = Qt::darkCyan) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(color);
    QDir().mkpath(QFileInfo(ruta).path());
    if (!img.save(ruta, "JPEG", 90))
        qFatal("cannot write %s", qPrintable(ruta));
}

inline void escribir(const QString& ruta, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(ruta).path());
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(ruta));
    f.write(bytes);
}

// Every file and folder under carpeta with its size; links are listed, not
// followed. The database's -wal and -shm are left out: readers change them.
inline QStringList ficherosInstalacion(const QString& carpeta) {
    QStringList out;
    QDirIterator it(carpeta, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f = it.nextFileInfo();
        // The database's own companions and the tools' log come and go with every run.
        if (f.fileName().endsWith(QLatin1String("-shm")) || f.fileName().endsWith(QLatin1String("-wal")) ||
            f.fileName() == QLatin1String("Orbalia.log"))
            continue;
        out << QDir(carpeta).relativeFilePath(f.filePath()) +
                   (f.isFile() ? u':' + QString::number(f.size()) : QString());
    }
    out.sort();
    return out;
}

// What the program wrote to Orbalia.log so far.
inline QString registroTecnico(const QString& ruta = orb::RutaLog()) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The first line that carries words of the database engine, of SQL or of
// rsync, which the user's log must never show; empty when none does.
inline QString textoDelMotor(const QStringList& lineas) {
    static const QRegularExpression motor(
        QStringLiteral("malformed|not a database|sqlite|SELECT |constraint|unable|no such|syntax|disk I/O|"
                       "@ERROR|auth failed|rsync:|rsync error|connection refused"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& l : lineas)
        if (motor.match(l).hasMatch())
            return l;
    return {};
}

// Collects what a run reports.
struct Registro {
    QStringList lineas;
    orb::InformeIntercambio informe() {
        orb::InformeIntercambio i;
        i.log = [this](const QString& l) { lineas << l; };
        return i;
    }
};

} // namespace prueba
