#include "TestInstallation.h"

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

QString TestInstallation::path() const {
    return dir_.path() + u'/';
}

orb::AppContext& TestInstallation::context() {
    if (!ctx_) {
        ctx_ = std::make_unique<orb::AppContext>();
        ctx_->PonerCarpeta(path());
        ctx_->facts = orb::LeerDatosInstalacion(path());
        ctx_->dialogs = &dialogs_;
        if (QFileInfo::exists(ctx_->RutaBaseDatos)) {
            // As start-up opens it: the record windows share this connection.
            ctx_->BaseDatosAgencia = db::Database::shared(ctx_->RutaBaseDatos);
            ctx_->VersionBD = ctx_->BaseDatosAgencia->userVersion();
        }
    }
    return *ctx_;
}
