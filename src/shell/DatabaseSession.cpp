#include "DatabaseSession.h"

#include "AppContext.h"
#include "ConexionServidor.h"
#include "ErrorReport.h"
#include "Installation.h"
#include "Mensajes.h"
#include "Puesto.h"

#include "platform/widgets/DialogService.h"

#include <QCoreApplication>
#include <QDir>

#include <exception>

namespace orb {

QString ConectarServidor(AppContext& ctx, const ConexionServidor& c, int* numero) {
    if (numero)
        *numero = 0;
    const QString ini =
        QDir::toNativeSeparators(QDir(ctx.RutaAplicacion).filePath(QLatin1String(IniFileName)));
    QString causa = ProblemaConexionServidor(ctx.RutaAplicacion);
    if (causa.isEmpty() && c.clave.isEmpty())
        causa = QCoreApplication::translate(
                    "DatabaseSession",
                    "Falta la contraseña de este puesto: el archivo %1 no existe o no se puede leer.\n"
                    "Vuelva a conectar el puesto con orbalia-install --servidor.")
                    .arg(QDir::toNativeSeparators(
                        QDir(ctx.RutaAplicacion).filePath(QLatin1String(ClaveFileName))));
    if (causa.isEmpty()) {
        try {
            ctx.BaseDatosAgencia = db::Database::openServer(c.direccion());
            // The windows ask for the installation's database by its path: on
            // this seat that is the server's connection.
            db::Database::shareAs(ctx.RutaBaseDatos, ctx.BaseDatosAgencia);
            return {};
        } catch (const db::DbError& e) {
            RegistrarError(QCoreApplication::translate("DatabaseSession", "conectar con el servidor"), e);
            if (numero)
                *numero = e.number();
            if (e.number() == db::ErrLoginRefused)
                causa =
                    QCoreApplication::translate(
                        "DatabaseSession",
                        "El servidor ha rechazado el usuario %1 o su contraseña.\nCompruebe la "
                        "contraseña del puesto (archivo %2) o pida al administrador que la "
                        "restablezca.")
                        .arg(c.usuario, QDir::toNativeSeparators(
                                            QDir(ctx.RutaAplicacion).filePath(QLatin1String(ClaveFileName))));
            else if (e.number() == db::ErrServerUnreachable)
                causa = QCoreApplication::translate(
                            "DatabaseSession",
                            "No se puede conectar con el servidor %1 en el puerto %2.\nCompruebe que "
                            "el servidor está encendido y que este puesto llega a él por la red "
                            "(claves Servidor y Puerto de la sección [Servidor] en %3).")
                            .arg(c.servidor, QString::number(c.puerto), ini);
            else if (e.number() == db::ErrCannotOpen)
                causa =
                    QCoreApplication::translate(
                        "DatabaseSession", "El servidor %1 no tiene la base de datos %2.\nCompruebe la clave "
                                           "BaseDatos de la sección [Servidor] en %3.")
                        .arg(c.servidor, c.baseDatos, ini);
            else
                causa = CausaError(e);
        }
    }
    return causa;
}

namespace {

void MostrarError(AppContext& ctx, const ConexionServidor& c, const QString& causa) {
    if (ctx.dialogs)
        MensajeError(*ctx.dialogs, QCoreApplication::translate("DatabaseSession",
                                                               "Error al abrir la base de datos [%1]\n%2")
                                       .arg(c.descripcion(), causa));
}

// A seat without the password file is an agents' seat: whoever sits there
// signs in with their own server role, the last one offered first. A refused
// password is told and asked again; a cancel leaves the program unstarted.
bool EntrarAgente(AppContext& ctx, ConexionServidor c) {
    auto puesto = AjustesPuesto();
    QString usuario = puesto->value(QStringLiteral("Agente/Usuario"), c.usuario).toString();
    for (int intento = 0; intento < 3; ++intento) {
        ui::DialogService::SignIn peticion;
        peticion.title = QCoreApplication::translate("DatabaseSession", "Entrada en Orbalia");
        peticion.text = QCoreApplication::translate("DatabaseSession", "Base de datos %1 en %2")
                            .arg(c.baseDatos, c.servidor);
        QString clave;
        if (!ctx.dialogs->signIn(nullptr, peticion, usuario, clave))
            return false;
        c.usuario = usuario;
        c.clave = clave;
        int numero = 0;
        const QString causa = ConectarServidor(ctx, c, &numero);
        if (causa.isEmpty()) {
            puesto->setValue(QStringLiteral("Agente/Usuario"), usuario);
            return true;
        }
        if (numero != db::ErrLoginRefused) {
            MostrarError(ctx, c, causa);
            return false;
        }
        MostrarError(ctx, c,
                     QCoreApplication::translate("DatabaseSession",
                                                 "El servidor ha rechazado el agente %1 o su contraseña.")
                         .arg(usuario));
    }
    return false;
}

// A seat whose Orbalia.ini names a server: its connection, or the message that says why not.
bool AbrirEnServidor(AppContext& ctx, const ConexionServidor& c) {
    if (c.clave.isEmpty() && ctx.dialogs && ProblemaConexionServidor(ctx.RutaAplicacion).isEmpty())
        return EntrarAgente(ctx, c);
    const QString causa = ConectarServidor(ctx, c);
    if (causa.isEmpty())
        return true;
    MostrarError(ctx, c, causa);
    return false;
}

} // namespace

bool AbrirBaseDatos(AppContext& ctx) {
    if (!ctx.RutaAplicacion.isEmpty())
        if (const ConexionServidor c = LeerConexionServidor(ctx.RutaAplicacion); c.enServidor())
            return AbrirEnServidor(ctx, c);
    QString causa = QCoreApplication::translate("DatabaseSession", "No se ha indicado la base de datos.");
    if (!ctx.RutaBaseDatos.isEmpty()) {
        try {
            // Default options: never creates a missing file. Shared: the record
            // windows' controllers take this same connection.
            ctx.BaseDatosAgencia = db::Database::shared(ctx.RutaBaseDatos);
            return true;
        } catch (const db::DbError& e) {
            // The engine's own text goes to the log; the user reads the cause.
            RegistrarError(QCoreApplication::translate("DatabaseSession", "abrir la base de datos"), e);
            causa = CausaError(e, {}, ctx.RutaBaseDatos);
        } catch (const std::exception&) {
            causa = QCoreApplication::translate(
                "DatabaseSession", "El archivo no es una base de datos de Orbalia o está dañado.");
        }
    }
    if (ctx.dialogs)
        MensajeError(*ctx.dialogs, QCoreApplication::translate("DatabaseSession",
                                                               "Error al abrir la base de datos [%1]\n%2")
                                       .arg(ctx.RutaBaseDatos, causa));
    return false;
}

int LeerVersionBD(AppContext& ctx) {
    // user_version always exists and reads 0 on a database that never had
    // one set, so there is nothing to create.
    if (!ctx.BaseDatosAgencia)
        return -1;
    try {
        return ctx.BaseDatosAgencia->userVersion();
    } catch (const std::exception&) {
        return -1;
    }
}

} // namespace orb
