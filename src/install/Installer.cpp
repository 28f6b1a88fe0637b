#include "Installer.h"

#include "Artwork.h"
#include "DemoData.h"
#include "platform/db/Database.h"
#include "reports/Informes.h"
#include "shell/ConfigStore.h"
#include "shell/ErrorReport.h"
#include "shell/Installation.h"
#include "shell/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <stdexcept>

namespace orb::install {

namespace {

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path))
        fail(QCoreApplication::translate("Installer", "No se puede crear la carpeta '%1'")
                 .arg(QDir::toNativeSeparators(path)));
}

// Removes a database file with its journal companions, so that a new one
// never meets the WAL of an older file.
void removeDatabaseFile(const QString& path) {
    for (const QString& suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")}) {
        const QString f = path + suffix;
        if (QFileInfo::exists(f) && !QFile::remove(f))
            fail(QCoreApplication::translate("Installer", "No se puede sustituir el archivo '%1'")
                     .arg(QDir::toNativeSeparators(f)));
    }
}

void writePicture(const QImage& img, const QString& path) {
    if (!saveJpeg(img, path, 90))
        fail(QCoreApplication::translate("Installer", "No se puede guardar la imagen '%1'")
                 .arg(QDir::toNativeSeparators(path)));
}

void writeTextFile(const QString& path, const QString& content, bool executable);

// The chosen picture, re-encoded so the file is the JPEG its name says; empty: the painted default.
QImage logo(const QString& file, const QImage& painted) {
    if (file.isEmpty())
        return painted;
    QImageReader reader(file);
    const QImage img = reader.read();
    if (img.isNull())
        fail(QCoreApplication::translate("Installer", "No se puede leer la imagen '%1': %2")
                 .arg(QDir::toNativeSeparators(file), reader.errorString()));
    return img;
}

void writeExchangeAccount(const QDir& root, const InstallOptions& options) {
    const QString user = options.exchangeUser.trimmed();
    if (user.isEmpty())
        return;
    writeTextFile(root.filePath(QStringLiteral("rsync_%1.sh").arg(user)),
                  exchangeScript(user, options.exchangePort), true);
    const QString secret = root.filePath(QStringLiteral("rsync_%1.secret").arg(user));
    QFile::remove(secret);
    if (options.exchangePassword.isEmpty())
        return;
    // rsync refuses a password file others can read; it is made private before the password goes in.
    QFile f(secret);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        f.write((options.exchangePassword + u'\n').toUtf8()) < 0)
        fail(QCoreApplication::translate("Installer", "No se puede escribir el archivo '%1'")
                 .arg(QDir::toNativeSeparators(secret)));
}

void writeTextFile(const QString& path, const QString& content, bool executable) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content.toUtf8()) < 0)
        fail(QCoreApplication::translate("Installer", "No se puede escribir el archivo '%1'")
                 .arg(QDir::toNativeSeparators(path)));
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                         QFileDevice::ExeOther);
}

} // namespace

QString exchangeScript(const QString& user, int port) {
    return QStringLiteral(
               "#!/bin/sh\n"
               "# Intercambio entre oficinas de Orbalia: copia los archivos del origen en el destino.\n"
               "#   exportación:  rsync_%1.sh CARPETA_LOCAL/ %1@SERVIDOR::%1/OFICINA/\n"
               "#   importación:  rsync_%1.sh %1@SERVIDOR::%1/OFICINA/ CARPETA_LOCAL/\n"
               "# La contraseña del servidor está en rsync_%1.secret, junto a este script, con\n"
               "# permisos 600. ORBALIA_RSYNC_PORT cambia el puerto del servidor.\n"
               "if [ $# -ne 2 ]; then\n"
               "  echo \"Uso: $(basename \"$0\") ORIGEN DESTINO\" >&2\n"
               "  exit 2\n"
               "fi\n"
               "clave=\"$(dirname \"$0\")/rsync_%1.secret\"\n"
               "if [ ! -r \"$clave\" ]; then\n"
               "  echo \"$(basename \"$0\"): falta el archivo de contraseña $clave; no se ha copiado nada.\" "
               ">&2\n"
               "  exit 1\n"
               "fi\n"
               "# --checksum: two exports within one second and of one size are still told apart.\n"
               "exec rsync -rt --checksum --delete --timeout=120 --contimeout=20 "
               "--port=\"${ORBALIA_RSYNC_PORT:-%2}\" "
               "\\\n"
               "  --password-file=\"$clave\" \"$1\" \"$2\"\n")
        .arg(user)
        .arg(port);
}

InstallationFacts demoFacts() {
    InstallationFacts f;
    f.NombreAgencia = QStringLiteral("Inmobiliaria Costa del Sol");
    f.OficinaPrincipal = true;
    f.CodigoOficina = QStringLiteral("01");
    f.CodigoAgenciaWeb = QStringLiteral("CSOL");
    f.RedAgencias = QStringLiteral("01,02");
    f.ModelosDossier = 1;
    f.PieDossier =
        QStringLiteral("Inmobiliaria Costa del Sol · Paseo Marítimo, 12 · 29640 Fuengirola (Málaga) · "
                       "Tel. 952 00 00 00");
    return f;
}

namespace {

bool emptyFolder(const QFileInfo& info) {
    return info.isDir() &&
           QDir(info.absoluteFilePath())
               .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

void checkFacts(const QString& dir, const InstallOptions& options) {
    if (dir.trimmed().isEmpty())
        fail(QCoreApplication::translate("Installer", "No se ha indicado la carpeta de la instalación"));
    // Office codes name folders that the exchange empties: nothing is laid out
    // with one the program would refuse. (An empty code is left to the
    // program's start-up, which asks for it.)
    const InstallationFacts& facts = options.facts;
    if (!facts.CodigoOficina.isEmpty())
        if (const QString problema = ProblemaCodigoOficina(facts.CodigoOficina); !problema.isEmpty())
            fail(QStringLiteral("CodigoOficina: ") + problema);
    if (const QString problema = ProblemaRedAgencias(facts.RedAgencias, facts.CodigoOficina);
        !problema.isEmpty())
        fail(QStringLiteral("RedAgencias: ") + problema);
}

void layOut(const QDir& root, const InstallOptions& options) {
    makeFolder(root.path());
    for (const char* sub : {"Fotos", "Web", "Web/thumbs", "Exchange"})
        makeFolder(root.filePath(QLatin1String(sub)));

    if (!GuardarDatosInstalacion(root.path(), options.facts))
        fail(QCoreApplication::translate("Installer", "No se puede escribir '%1'")
                 .arg(QDir::toNativeSeparators(root.filePath(QLatin1String(IniFileName)))));

    try {
        if (options.createDatabase) {
            const QString path = root.filePath(QStringLiteral("Orbalia.db"));
            removeDatabaseFile(path);
            // A new file filled in one go: no WAL and no syncs while it is written
            // (a failed install is simply run again); the program opens it durably.
            auto database = db::Database::open(path, {.create = true, .durable = false});
            schema::createAgencyDatabase(*database);
            if (options.demoProperties > 0) {
                DemoOptions demo;
                demo.properties = options.demoProperties;
                demo.photos = options.demoPhotos;
                demo.seed = options.seed;
                demo.codigoOficina = options.facts.CodigoOficina;
                demo.photoFolder = root.filePath(QStringLiteral("Fotos"));
                fillDemoData(*database, demo);
            }
            if (!options.exchangeUser.trimmed().isEmpty())
                GuardarConfig(*database, QStringLiteral("SINC"), QStringLiteral("FTPUSUARIO"),
                              options.exchangeUser.trimmed());
            if (!options.exchangeServer.isEmpty())
                GuardarConfig(*database, QStringLiteral("SINC"), QStringLiteral("FTPSERVIDOR"),
                              options.exchangeServer);
        }
        // The exchange template is copied file by file: no WAL for it.
        const QString exportPath = root.filePath(QStringLiteral("ExportSchema.db"));
        removeDatabaseFile(exportPath);
        auto exportDb = db::Database::open(exportPath, {.create = true, .durable = false});
        schema::createExportSchema(*exportDb);
    } catch (const db::DbError& e) {
        // The engine's words go to the log; the message says the cause.
        RegistrarError(QCoreApplication::translate("Installer", "crear las bases de datos"), e);
        fail(QCoreApplication::translate("Installer", "No se han podido crear las bases de datos en %1: %2")
                 .arg(QDir::toNativeSeparators(root.path()),
                      CausaError(e, {}, root.filePath(QStringLiteral("Orbalia.db")))));
    }

    writePicture(logo(options.backgroundLogo, backgroundPicture(options.facts.NombreAgencia)),
                 root.filePath(QStringLiteral("Logo800.jpg")));
    writePicture(logo(options.dossierLogo, dossierLogoPicture(options.facts.NombreAgencia)),
                 root.filePath(QStringLiteral("DossierLogo.jpg")));
    // Dossier models: the default, and two to choose from when ModelosDossier
    // is raised to 2 (the photo-led one first).
    reports::RegistrarDisenos();
    for (const auto& [modelo, fuente] :
         {std::pair{"Dossier.rpx", "Dossier.rpx"}, std::pair{"Dossier1.rpx", "Dossier1.rpx"},
          std::pair{"Dossier2.rpx", "Dossier.rpx"}}) {
        QFile f(QStringLiteral(":/reports/") + QLatin1String(fuente));
        if (!f.open(QIODevice::ReadOnly))
            fail(QCoreApplication::translate("Installer", "No se encuentra el modelo de dossier '%1'")
                     .arg(QLatin1String(fuente)));
        writeTextFile(root.filePath(QLatin1String(modelo)), QString::fromUtf8(f.readAll()), false);
    }
    writeExchangeAccount(root, options);
}

} // namespace

void createInstallation(const QString& dir, const InstallOptions& options) {
    checkFacts(dir, options);
    layOut(QDir(QDir(dir).absolutePath()), options);
}

void createNewInstallation(const QString& dir, const InstallOptions& options) {
    checkFacts(dir, options);
    const QFileInfo target(QDir(dir).absolutePath());
    if (target.exists() && !emptyFolder(target))
        fail(QCoreApplication::translate("Installer", "La carpeta '%1' ya existe y no está vacía")
                 .arg(QDir::toNativeSeparators(target.absoluteFilePath())));
    const QString parent = target.absolutePath();
    makeFolder(parent);
    const QString staging = QDir(parent).filePath(
        QStringLiteral(".%1.nueva-%2").arg(target.fileName()).arg(QCoreApplication::applicationPid()));
    QDir(staging).removeRecursively(); // what an earlier, killed run of this process id left
    makeFolder(staging);
    try {
        layOut(QDir(staging), options);
    } catch (...) {
        QDir(staging).removeRecursively();
        throw;
    }
    // rename() does not replace a folder, even an empty one.
    if (target.exists())
        QDir().rmdir(target.absoluteFilePath());
    if (!QDir().rename(staging, target.absoluteFilePath())) {
        QDir(staging).removeRecursively();
        fail(QCoreApplication::translate("Installer", "No se puede crear la carpeta '%1'")
                 .arg(QDir::toNativeSeparators(target.absoluteFilePath())));
    }
}

} // namespace orb::install
