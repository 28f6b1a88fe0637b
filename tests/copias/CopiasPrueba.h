#pragma once

// What the backup suites share: the real orbalia-backup run as a scheduled
// task runs it, and what the backup folder holds.

#include "install/Installer.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace copiasprueba {

inline orb::install::InstallOptions demo(int propiedades) {
    orb::install::InstallOptions o;
    o.facts = orb::install::demoFacts();
    o.demoProperties = propiedades;
    o.demoPhotos = false;
    return o;
}

struct Salida {
    int codigo = -1;
    QString out, err;
    QString todo() const { return out + err; }
};

inline QString programa(const QString& nombre) {
    QString dir = qEnvironmentVariable("ORBALIA_BIN_DIR");
    if (dir.isEmpty())
        dir = ORBALIA_BINARY_DIR;
    return QDir(dir).filePath(nombre);
}

inline Salida ejecutar(const QString& ruta, const QStringList& argumentos,
                       const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(entorno);
    p.start(ruta, argumentos);
    p.closeWriteChannel();
    Salida s;
    if (!p.waitForFinished(120000))
        return s;
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.out = QString::fromUtf8(p.readAllStandardOutput());
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
}

inline Salida orbaliaBackup(const QStringList& argumentos,
                            const QProcessEnvironment& entorno = QProcessEnvironment::systemEnvironment()) {
    return ejecutar(programa(QStringLiteral("orbalia-backup")), argumentos, entorno);
}

// Everything in Copias/, hidden files included (a partial copy left behind).
inline QStringList enCopias(const QString& instalacion) {
    return QDir(instalacion + QStringLiteral("Copias"))
        .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The backups the command names as its own.
inline QStringList copiasHechas(const QString& instalacion) {
    static const QRegularExpression nombre(QStringLiteral("^Orbalia-\\d{8}-\\d{6}(-\\d+)?\\.(db|dump)$"));
    return enCopias(instalacion).filter(nombre);
}

} // namespace copiasprueba
