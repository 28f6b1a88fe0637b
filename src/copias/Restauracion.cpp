// Putting a backup back: into the seat's emptied server database with
// pg_restore, or into Orbalia.db through the backup API while the program is
// closed.
#include "CopiaSeguridad.h"

#include "TrabajoCopias.h"
#include "platform/db/Database.h"
#include "platform/pg/Volcado.h"
#include "shell/ErrorReport.h"
#include "shell/Installation.h"
#include "shell/Log.h"
#include "shell/SchemaServidor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace orb::copias {

namespace {

QString mostrada(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

// A path as given, or a name of the installation's Copias/.
QString buscarCopia(const QString& carpeta, const QString& archivo) {
    QFileInfo f(archivo);
    if (!f.isFile() && f.isRelative())
        if (const QFileInfo enCopias(QDir(carpeta + QLatin1String(CarpetaCopias)).filePath(archivo));
            enCopias.isFile())
            f = enCopias;
    if (!f.isFile())
        throw FalloCopia(
            QCoreApplication::translate("Restauracion", "No se encuentra la copia de seguridad %1.")
                .arg(mostrada(archivo)),
            SalidaNoEmpieza);
    return f.absoluteFilePath();
}

FalloCopia faltaPgRestore() {
    return FalloCopia(QCoreApplication::translate(
        "Restauracion", "No se encuentra el programa pg_restore, que restaura la copia en el "
                        "servidor: instale en este puesto el paquete postgresql-client."));
}

Restauracion enServidor(const QString& carpeta, const QString& copia) {
    if (pg::programaCliente(QStringLiteral("pg_restore")).isEmpty())
        throw faltaPgRestore();
    if (!pg::esVolcado(copia) ||
        !pg::indiceVolcado(copia).contains(QLatin1String(" TABLE public orbalia_version ")))
        throw FalloCopia(QCoreApplication::translate(
                             "Restauracion",
                             "El archivo %1 no es una copia de la base de datos de la agencia en un servidor "
                             "(las que orbalia-backup hace en un puesto del servidor, .dump).")
                             .arg(mostrada(copia)),
                         SalidaNoEmpieza);
    Restauracion r;
    r.copia = copia;
    auto servidor = detail::ConectarServidor(carpeta);
    r.destino = servidor->conexion.descripcion();
    bool vacia = false;
    try {
        vacia = schema::isEmptyServerDatabase(servidor->pg());
    } catch (const pg::PgError& e) {
        EscribirLog(QCoreApplication::translate("Restauracion", "Antes de restaurar en %1: %2")
                        .arg(r.destino, e.describe()));
        throw FalloCopia(QCoreApplication::translate(
                             "Restauracion",
                             "El servidor no ha dejado ver qué tiene la base de datos [%1]; no se ha "
                             "cambiado nada.")
                             .arg(r.destino));
    }
    if (!vacia)
        throw FalloCopia(
            QCoreApplication::translate(
                "Restauracion",
                "La base de datos [%1] no está vacía: una copia solo se restaura en una base de datos "
                "vacía, y no se ha cambiado nada.\nEl administrador del servidor la borra y la crea "
                "de nuevo, vacía y con el usuario %2 como dueño (dropdb y createdb; véase la sección "
                "Backups del README).")
                .arg(r.destino, servidor->conexion.usuario));
    const pg::SalidaCliente s = pg::restaurar(servidor->opciones(), copia);
    if (!s.encontrado)
        throw faltaPgRestore();
    if (!s.ok()) {
        EscribirLog(QCoreApplication::translate("Restauracion", "pg_restore de %1 en %2: código %3: %4")
                        .arg(copia, r.destino, QString::number(s.codigo), s.errores));
        throw FalloCopia(detail::FalloCliente(
            QStringLiteral("pg_restore"),
            QCoreApplication::translate("Restauracion", "restaurar la copia en [%1], que sigue vacía")
                .arg(r.destino),
            s.codigo, s.errores));
    }
    try {
        // A dump carries no planner statistics: without them the first
        // searches would read whole tables.
        servidor->pg().execute(QStringLiteral("ANALYZE"));
        r.version = schema::serverSchemaVersion(servidor->pg());
    } catch (const pg::PgError& e) {
        // The rows are in; the next start of the program reads the version.
        EscribirLog(QCoreApplication::translate("Restauracion", "Tras restaurar en %1: %2")
                        .arg(r.destino, e.describe()));
    }
    return r;
}

// The current database, when it cannot be copied (damaged), goes aside into
// Copias/ with what is left of its write-ahead log, under a name the rotation
// leaves alone.
QString apartarDanada(const QString& baseDatos, const QString& carpetaCopias) {
    const QString destino =
        QDir(carpetaCopias)
            .filePath(QStringLiteral("Orbalia-anterior-%1.db")
                          .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"))));
    if (!QFile::rename(baseDatos, destino))
        throw FalloCopia(
            QCoreApplication::translate(
                "Restauracion", "No se puede apartar la base de datos actual %1 para restaurar la copia.")
                .arg(mostrada(baseDatos)));
    QFile::rename(baseDatos + QStringLiteral("-wal"), destino + QStringLiteral("-wal"));
    QFile::remove(baseDatos + QStringLiteral("-shm"));
    return destino;
}

Restauracion enArchivo(const QString& carpeta, const QString& copia, const Aviso& aviso) {
    Restauracion r;
    r.copia = copia;
    r.destino = carpeta + QStringLiteral("Orbalia.db");
    const QString noValida =
        QCoreApplication::translate("Restauracion",
                                    "El archivo %1 no es una copia de la base de datos de Orbalia o está "
                                    "dañado.")
            .arg(mostrada(copia));
    bool deLaAgencia = false;
    try {
        db::OpenOptions lectura;
        lectura.readOnly = true;
        auto d = db::Database::open(copia, lectura);
        r.version = d->userVersion();
        // The settings are the agency database's alone: the exchange's
        // template holds the records' tables too.
        deLaAgencia = r.version > 0 && d->tableExists(QStringLiteral("Config")) &&
                      d->tableExists(QStringLiteral("Propiedades"));
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("Restauracion", "leer la copia de seguridad"), e);
    }
    if (!deLaAgencia)
        throw FalloCopia(noValida, SalidaNoEmpieza);

    // The program's own lock: it cannot be open here, nor start meanwhile.
    QLockFile programa(carpeta + QLatin1String(FicheroBloqueo));
    programa.setStaleLockTime(0);
    if (!programa.tryLock(0))
        throw FalloCopia(
            programa.error() == QLockFile::LockFailedError
                ? QCoreApplication::translate(
                      "Restauracion", "El programa está abierto en esta instalación: ciérrelo y vuelva a "
                                      "restaurar la copia. No se ha cambiado nada.")
                : QCoreApplication::translate("Restauracion",
                                              "No se puede escribir en la carpeta de la instalación %1.")
                      .arg(mostrada(carpeta)));
    const detail::Turno turno(carpeta + QLatin1String(CarpetaCopias), aviso);
    if (QFileInfo::exists(r.destino)) {
        try {
            r.anterior = detail::CopiaDelArchivo(r.destino, turno, QDateTime::currentDateTime());
        } catch (const FalloCopia& e) {
            r.anterior = apartarDanada(r.destino, turno.carpeta());
            if (aviso)
                aviso(QCoreApplication::translate(
                          "Restauracion", "%1\nLa base de datos actual se ha apartado, como estaba, en %2.")
                          .arg(e.texto(), mostrada(r.anterior)));
        }
    }
    try {
        db::OpenOptions lectura;
        lectura.readOnly = true;
        // Through the engine, not a file copy: the database's log and locks
        // stay consistent for whoever opens it next.
        db::Database::open(copia, lectura)->backupTo(r.destino);
        r.version = db::Database::open(r.destino)->userVersion();
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("Restauracion", "restaurar la copia de seguridad"), e);
        throw FalloCopia(
            QCoreApplication::translate("Restauracion", "No se ha podido restaurar la copia en %1: %2")
                .arg(mostrada(r.destino), CausaError(e, {}, r.destino)));
    }
    return r;
}

} // namespace

Restauracion Restaurar(const QString& carpetaPedida, const QString& archivo, const Aviso& aviso) {
    const QString carpeta = detail::CarpetaInstalacionValida(carpetaPedida);
    const QString copia = buscarCopia(carpeta, archivo);
    Restauracion r = LeerConexionServidor(carpeta).enServidor() ? enServidor(carpeta, copia)
                                                                : enArchivo(carpeta, copia, aviso);
    EscribirLog(QCoreApplication::translate("Restauracion", "Restaurada la copia de seguridad %1 en %2")
                    .arg(r.copia, r.destino));
    return r;
}

} // namespace orb::copias
