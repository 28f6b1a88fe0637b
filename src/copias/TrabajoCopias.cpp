#include "TrabajoCopias.h"

#include "platform/db/Database.h"
#include "platform/db/ServerEngine.h"
#include "shell/DatabaseSession.h"
#include "shell/ErrorReport.h"
#include "shell/Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace orb::copias::detail {

namespace {

const QString kPrefijoParcial = QStringLiteral(".Orbalia-parcial-");

QString mostrada(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

} // namespace

QString CarpetaInstalacionValida(const QString& carpeta) {
    const QString c = QDir(carpeta).absolutePath() + u'/';
    if (!QFileInfo(c).isDir())
        throw FalloCopia(
            QCoreApplication::translate("TrabajoCopias", "No existe la carpeta de la instalación: %1")
                .arg(mostrada(c)),
            SalidaNoEmpieza);
    if (CarpetaSinInstalacion(c))
        throw FalloCopia(
            QCoreApplication::translate(
                "TrabajoCopias", "La carpeta %1 no es una instalación de Orbalia: no tiene %2 ni Orbalia.db.")
                .arg(mostrada(c), QLatin1String(IniFileName)),
            SalidaNoEmpieza);
    if (const QString problema = ProblemaConexionServidor(c); !problema.isEmpty())
        throw FalloCopia(problema, SalidaNoEmpieza);
    return c;
}

Turno::Turno(const QString& carpetaCopias, const Aviso& aviso) : carpeta_(carpetaCopias) {
    if (!QDir().mkpath(carpeta_))
        throw FalloCopia(QCoreApplication::translate(
                             "TrabajoCopias", "No se puede crear la carpeta de las copias de seguridad %1.")
                             .arg(mostrada(carpeta_)));
    cerrojo_ = std::make_unique<QLockFile>(QDir(carpeta_).filePath(QStringLiteral(".copias.lock")));
    // Only a dead owner frees it, never its age: a large server's dump takes long.
    cerrojo_->setStaleLockTime(0);
    if (!cerrojo_->tryLock(0)) {
        if (cerrojo_->error() == QLockFile::LockFailedError && aviso)
            aviso(QCoreApplication::translate(
                "TrabajoCopias", "Hay otra copia de seguridad en curso en esta instalación: se espera a que "
                                 "termine."));
        if (cerrojo_->error() != QLockFile::LockFailedError || !cerrojo_->lock())
            throw FalloCopia(
                QCoreApplication::translate(
                    "TrabajoCopias", "No se puede escribir en la carpeta de las copias de seguridad %1.")
                    .arg(mostrada(carpeta_)));
    }
    // Whatever a killed run left half-written; no other run is writing now.
    const QDir dir(carpeta_);
    for (const QString& nombre :
         dir.entryList({kPrefijoParcial + u'*'}, QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(dir.filePath(nombre));
}

Parcial::Parcial(const QString& carpetaCopias)
    : archivo_(QDir(carpetaCopias).filePath(kPrefijoParcial + QStringLiteral("XXXXXX"))) {
    if (!archivo_.open())
        throw FalloCopia(
            QCoreApplication::translate(
                "TrabajoCopias", "No se puede escribir en la carpeta de las copias de seguridad %1: %2")
                .arg(mostrada(carpetaCopias), archivo_.errorString()));
    // Only its name is wanted: the engine or pg_dump writes it.
    archivo_.close();
}

QString Parcial::publicar(const QDateTime& cuando, bool servidor) {
    const QDir dir = QFileInfo(archivo_.fileName()).absoluteDir();
    NombreCopia n;
    n.cuando = cuando;
    n.cuando.setTime(QTime(cuando.time().hour(), cuando.time().minute(), cuando.time().second()));
    n.servidor = servidor;
    for (n.orden = 1; n.orden <= 9999; ++n.orden) {
        const QString destino = dir.filePath(NombreDeCopia(n));
        // Never over another backup: rename refuses a name that exists.
        if (QFile::rename(archivo_.fileName(), destino)) {
            archivo_.setAutoRemove(false);
            return destino;
        }
        if (!QFileInfo::exists(destino))
            break;
    }
    throw FalloCopia(QCoreApplication::translate(
                         "TrabajoCopias", "No se ha podido dar su nombre a la copia de seguridad en %1.")
                         .arg(mostrada(dir.path())));
}

void CopiarArchivo(const QString& baseDatos, const Parcial& destino) {
    try {
        db::OpenOptions lectura;
        lectura.readOnly = true;
        db::Database::open(baseDatos, lectura)->backupTo(destino.ruta());
        // A backup is one file: no write-ahead log beside it when it is opened.
        db::OpenOptions copia;
        copia.durable = false;
        auto hecha = db::Database::open(destino.ruta(), copia);
        hecha->scalar(QStringLiteral("PRAGMA journal_mode = DELETE"));
        hecha->userVersion();
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("TrabajoCopias", "hacer la copia de seguridad"), e);
        throw FalloCopia(
            QCoreApplication::translate("TrabajoCopias", "No se ha podido copiar la base de datos [%1]: %2")
                .arg(mostrada(baseDatos), CausaError(e, {}, baseDatos)));
    }
}

QString CopiaDelArchivo(const QString& baseDatos, const Turno& turno, const QDateTime& ahora) {
    Parcial parcial(turno.carpeta());
    CopiarArchivo(baseDatos, parcial);
    return parcial.publicar(ahora, false);
}

pg::ConnectOptions Servidor::opciones() const {
    pg::ConnectOptions o;
    o.host = conexion.servidor;
    o.port = unsigned(conexion.puerto);
    o.database = conexion.baseDatos;
    o.user = conexion.usuario;
    o.password = conexion.clave;
    o.applicationName = QStringLiteral("orbalia-backup");
    return o;
}

pg::Connection& Servidor::pg() {
    return ctx.db().server()->connection();
}

std::unique_ptr<Servidor> ConectarServidor(const QString& carpeta) {
    auto s = std::make_unique<Servidor>();
    s->ctx.PonerCarpeta(carpeta);
    s->conexion = LeerConexionServidor(carpeta);
    if (const QString causa = orb::ConectarServidor(s->ctx, s->conexion); !causa.isEmpty())
        throw FalloCopia(
            QCoreApplication::translate("TrabajoCopias", "Error al abrir la base de datos [%1]: %2")
                .arg(s->conexion.descripcion(), causa));
    return s;
}

QString FalloCliente(const QString& programa, const QString& que, int codigo, const QString& errores) {
    if (!errores.isEmpty())
        return QCoreApplication::translate("TrabajoCopias", "%1 no ha podido %2:\n%3")
            .arg(programa, que, errores);
    if (codigo >= 0)
        return QCoreApplication::translate("TrabajoCopias",
                                           "%1 no ha podido %2 (ha terminado con el código %3).")
            .arg(programa, que, QString::number(codigo));
    return QCoreApplication::translate("TrabajoCopias", "%1 no ha podido %2 (se ha interrumpido).")
        .arg(programa, que);
}

} // namespace orb::copias::detail
