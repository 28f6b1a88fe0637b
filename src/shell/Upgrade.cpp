#include "Upgrade.h"

#include "Herramienta.h"
#include "Log.h"
#include "Schema.h"
#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace orb::upgrade {

QStringList candidateFolders(const Places& places) {
    if (!places.home.isEmpty())
        return {QDir(places.home).absolutePath()};
    QStringList folders;
    for (const QString& f : {places.programDir, places.currentDir}) {
        if (f.isEmpty())
            continue;
        const QString abs = QDir(f).absolutePath();
        if (!folders.contains(abs))
            folders << abs;
    }
    return folders;
}

QString locateDatabase(const Places& places) {
    const QStringList folders = candidateFolders(places);
    for (const QString& f : folders) {
        const QString path = QDir(f).filePath(QLatin1String(DatabaseFileName));
        if (QFileInfo(path).isFile())
            return path;
    }
    return folders.isEmpty() ? QString() : QDir(folders.first()).filePath(QLatin1String(DatabaseFileName));
}

QString backupPath(const QString& databasePath, const QDateTime& when) {
    const QFileInfo info(databasePath);
    const QString stem = QStringLiteral("%1-%2").arg(info.completeBaseName(),
                                                     when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QDir dir = info.absoluteDir();
    QString path = dir.filePath(stem + QStringLiteral(".db"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1-%2.db").arg(stem).arg(n));
    return path;
}

bool parseOfficeArgument(const QString& argument, QString* codigoOficina) {
    static const QString suffix = QStringLiteral("00000");
    if (!argument.endsWith(suffix) || argument.startsWith(u'-'))
        return false;
    *codigoOficina = argument.left(argument.size() - suffix.size());
    return true;
}

bool refreshExportTemplate(const QString& databasePath) {
    const QString path = QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("ExportSchema.db"));
    if (!QFileInfo(path).isFile())
        return false;
    {
        auto current = db::Database::open(path, {.readOnly = true, .durable = false});
        if (current->userVersion() >= schema::CurrentVersion)
            return false;
    }
    // Made beside it and put in its place whole: an export never copies half a template.
    const QString fresh = path + QStringLiteral(".new");
    QFile::remove(fresh);
    {
        auto database = db::Database::open(fresh, {.create = true, .durable = false});
        schema::createExportSchema(*database);
    }
    if (!QFile::remove(path) || !QFile::rename(fresh, path)) {
        QFile::remove(fresh);
        throw db::DbError(db::ErrCannotOpen,
                          QCoreApplication::translate("Upgrade", "No se puede sustituir %1")
                              .arg(QDir::toNativeSeparators(path)));
    }
    return true;
}

int runUpdateDb(const QStringList& arguments, const Places& places, QTextStream& out, QTextStream& err) {
    schema::MigrationOptions options;
    if (arguments.size() > 1 ||
        (arguments.size() == 1 && !parseOfficeArgument(arguments.first(), &options.codigoOficina))) {
        err << QCoreApplication::translate("Upgrade", "Uso: orbalia-updatedb [CÓDIGO_OFICINA00000]\n"
                                                      "Crea o actualiza Orbalia.db a la versión %1.\n")
                   .arg(schema::CurrentVersion);
        err.flush();
        return 2;
    }

    const QString path = locateDatabase(places);
    out << QCoreApplication::translate("Upgrade", "Orbalia: actualización de la base de datos\n");
    if (path.isEmpty()) {
        err << QCoreApplication::translate("Upgrade",
                                           "Error: no se sabe dónde está la base de datos Orbalia.db.\n");
        err.flush();
        return 1;
    }
    out << QCoreApplication::translate("Upgrade", "Base de datos: %1\n").arg(QDir::toNativeSeparators(path));
    out.flush();

    try {
        const bool existed = QFileInfo(path).isFile();
        if (!existed)
            out << QCoreApplication::translate("Upgrade", "No existe la base de datos: se crea nueva.\n");
        std::unique_ptr<db::Database> database = db::Database::open(path, {.create = true});
        const int version = database->userVersion();
        const bool empty = schema::isEmptyDatabase(*database);
        if (existed)
            out << QCoreApplication::translate("Upgrade", "Versión encontrada: %1\n").arg(version);
        if (version >= schema::CurrentVersion) {
            if (version > schema::CurrentVersion)
                out << QCoreApplication::translate(
                           "Upgrade",
                           "La base de datos es de una versión posterior a la %1 de este programa: no se "
                           "modifica.\n")
                           .arg(schema::CurrentVersion);
            else
                out << QCoreApplication::translate(
                           "Upgrade",
                           "La base de datos ya está en la versión %1: no hay nada que actualizar.\n")
                           .arg(schema::CurrentVersion);
            if (version == schema::CurrentVersion && refreshExportTemplate(path))
                out << QCoreApplication::translate(
                    "Upgrade", "Plantilla de intercambio ExportSchema.db escrita de nuevo.\n");
            out.flush();
            return 0;
        }
        if (existed && !empty) {
            const QString copy = backupPath(path, QDateTime::currentDateTime());
            database->backupTo(copy);
            out << QCoreApplication::translate("Upgrade", "Copia de seguridad: %1\n")
                       .arg(QDir::toNativeSeparators(copy));
            out.flush();
        }
        if (!options.codigoOficina.isEmpty())
            out << QCoreApplication::translate("Upgrade", "Código de oficina: %1\n")
                       .arg(options.codigoOficina);
        const QStringList steps = schema::migrate(*database, options);
        for (const QString& s : steps)
            out << "  " << s << "\n";
        out << QCoreApplication::translate("Upgrade", "La base de datos está en la versión %1.\n")
                   .arg(database->userVersion());
        if (refreshExportTemplate(path))
            out << QCoreApplication::translate(
                "Upgrade", "Plantilla de intercambio ExportSchema.db escrita de nuevo.\n");
        out.flush();
        return 0;
    } catch (const std::exception&) {
        // The engine's words go to Orbalia.log beside the database.
        IniciarLog(QFileInfo(path).absolutePath());
        err << LineaError(std::current_exception(), path) << "\n"
            << QCoreApplication::translate("Upgrade", "La base de datos no se ha actualizado.\n");
    }
    err.flush();
    return 1;
}

} // namespace orb::upgrade
