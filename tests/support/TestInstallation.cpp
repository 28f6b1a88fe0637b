#include "TestInstallation.h"

#include "BaseServidorPrueba.h"
#include "install/CopiaServidor.h"
#include "shell/ConexionServidor.h"
#include "shell/Installation.h"

#include <QSettings>
#include <QtTest>

TestInstallation::TestInstallation(const orb::install::InstallOptions& options) {
    if (!dir_.isValid())
        qFatal("cannot create a temporary folder");
    orb::install::createInstallation(path(), options);
    // The seat's own settings (window places) too start afresh, away from the user's.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path() + QStringLiteral("puesto"));
}

TestInstallation::~TestInstallation() {
    ctx_.reset(); // the connection goes before its database
}

QString TestInstallation::path() const {
    return dir_.path() + u'/';
}

orb::AppContext& TestInstallation::context() {
    if (!ctx_) {
        ctx_ = std::make_unique<orb::AppContext>();
        ctx_->PonerCarpeta(path());
        ctx_->facts = orb::LeerDatosInstalacion(path());
        ctx_->dialogs = &dialogs_;
        if (qEnvironmentVariable("ORBALIA_MOTOR") == QLatin1String("servidor") &&
            QFileInfo::exists(ctx_->RutaBaseDatos)) {
            const auto server = testservers::postgresServer();
            if (!server)
                qFatal("ORBALIA_MOTOR=servidor sin servidor PostgreSQL de pruebas");
            servidor_ = std::make_unique<BaseServidorPrueba>(*server);
            orb::install::copiarOficina(path(), *servidor_->conectar());
            orb::ConexionServidor c;
            c.servidor = server->options.host;
            c.puerto = int(server->options.port);
            c.baseDatos = servidor_->nombre();
            c.usuario = server->options.user;
            c.clave = server->options.password;
            orb::GuardarConexionServidor(path(), c);
            ctx_->BaseDatosAgencia = db::Database::openServer(c.direccion());
            db::Database::shareAs(ctx_->RutaBaseDatos, ctx_->BaseDatosAgencia);
            ctx_->VersionBD = ctx_->BaseDatosAgencia->userVersion();
        } else if (QFileInfo::exists(ctx_->RutaBaseDatos)) {
            // As start-up opens it: the record windows share this connection.
            ctx_->BaseDatosAgencia = db::Database::shared(ctx_->RutaBaseDatos);
            ctx_->VersionBD = ctx_->BaseDatosAgencia->userVersion();
        }
    }
    return *ctx_;
}
