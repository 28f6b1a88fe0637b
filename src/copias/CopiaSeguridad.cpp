#include "CopiaSeguridad.h"

#include "TrabajoCopias.h"
#include "platform/pg/Volcado.h"
#include "shell/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orb::copias {

namespace {

FalloCopia faltaPgDump(int servidor) {
    return FalloCopia(QCoreApplication::translate(
                          "CopiaSeguridad",
                          "No se encuentra el programa pg_dump, que copia la base de datos del servidor: "
                          "instale en este puesto el paquete postgresql-client (de la versión %1 del "
                          "servidor o posterior).")
                          .arg(servidor));
}

// pg_dump refuses a server newer than itself; said before it runs, in the
// user's terms, with what to install.
void comprobarPgDump(int cliente, int servidor) {
    if (cliente == 0)
        throw faltaPgDump(servidor);
    if (cliente < servidor)
        throw FalloCopia(
            QCoreApplication::translate("CopiaSeguridad",
                                        "El pg_dump de este puesto es de la versión %1 de PostgreSQL y el "
                                        "servidor de la %2: instale en este puesto el cliente de la versión "
                                        "%2 o posterior (paquete postgresql-client-%2).")
                .arg(cliente)
                .arg(servidor));
}

QString copiaDelServidor(const QString& carpeta, const detail::Turno& turno, const QDateTime& ahora,
                         QString* origen) {
    auto servidor = detail::ConectarServidor(carpeta);
    *origen = servidor->conexion.descripcion();
    const int version = pg::versionPrincipal(servidor->pg().serverVersion());
    comprobarPgDump(pg::versionCliente(QStringLiteral("pg_dump")), version);
    const pg::ConnectOptions opciones = servidor->opciones();
    // pg_dump signs in on its own.
    servidor.reset();
    detail::Parcial parcial(turno.carpeta());
    const pg::SalidaCliente s = pg::volcar(opciones, parcial.ruta());
    if (!s.encontrado)
        throw faltaPgDump(version);
    if (!s.ok()) {
        EscribirLog(QCoreApplication::translate("CopiaSeguridad", "pg_dump de %1: código %2: %3")
                        .arg(*origen, QString::number(s.codigo), s.errores));
        throw FalloCopia(detail::FalloCliente(
            QStringLiteral("pg_dump"),
            QCoreApplication::translate("CopiaSeguridad", "copiar la base de datos [%1]").arg(*origen),
            s.codigo, s.errores));
    }
    if (!pg::esVolcado(parcial.ruta()))
        throw FalloCopia(QCoreApplication::translate(
                             "CopiaSeguridad", "pg_dump no ha escrito la copia de la base de datos [%1].")
                             .arg(*origen));
    return parcial.publicar(ahora, true);
}

} // namespace

Copia HacerCopia(const QString& carpetaPedida, const QDateTime& ahora, const Aviso& aviso) {
    const QString carpeta = detail::CarpetaInstalacionValida(carpetaPedida);
    Copia c;
    // A bad setting stops the run before anything is written.
    c.conservar = LeerConservar(carpeta);
    c.servidor = LeerConexionServidor(carpeta).enServidor();
    const detail::Turno turno(carpeta + QLatin1String(CarpetaCopias), aviso);
    if (c.servidor) {
        c.archivo = copiaDelServidor(carpeta, turno, ahora, &c.origen);
    } else {
        c.origen = carpeta + QStringLiteral("Orbalia.db");
        c.archivo = detail::CopiaDelArchivo(c.origen, turno, ahora);
    }
    c.bytes = QFileInfo(c.archivo).size();
    EscribirLog(QCoreApplication::translate("CopiaSeguridad", "Copia de seguridad de %1 en %2")
                    .arg(c.origen, c.archivo));
    c.borradas = Rotar(turno.carpeta(), c.conservar, QFileInfo(c.archivo).fileName(), &c.noBorradas);
    return c;
}

} // namespace orb::copias
