#include "Log.h"

#include "platform/db/Transaction.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QTextStream>
#include <cstdio>

namespace orb {

namespace {

QMutex& mutex() {
    static QMutex m;
    return m;
}

QString& carpetaLog() {
    static QString carpeta;
    return carpeta;
}

} // namespace

void IniciarLog(const QString& carpeta) {
    {
        QMutexLocker lock(&mutex());
        carpetaLog() = carpeta.isEmpty() || carpeta.endsWith(u'/') ? carpeta : carpeta + u'/';
    }
    // What the data layer cannot throw (a failed rollback) goes to this log too.
    db::setLogFunction(&EscribirLog);
}

QString RutaLog() {
    QMutexLocker lock(&mutex());
    return carpetaLog().isEmpty() ? QString() : carpetaLog() + QStringLiteral("Orbalia.log");
}

void EscribirLog(const QString& texto) {
    const QString linea =
        QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + u' ' + QString(texto).replace(u'\n', u' ');
    const QString ruta = RutaLog();
    QMutexLocker lock(&mutex());
    if (ruta.isEmpty()) {
        std::fprintf(stderr, "%s\n", linea.toUtf8().constData());
        return;
    }
    try {
        QFile f(ruta);
        if (f.size() >= kLimiteLog) {
            const QString viejo = ruta + QStringLiteral(".1");
            QFile::remove(viejo);
            QFile::rename(ruta, viejo);
        }
        QFile out(ruta);
        if (!out.open(QIODevice::Append | QIODevice::Text)) {
            std::fprintf(stderr, "%s\n", linea.toUtf8().constData());
            return;
        }
        out.write(linea.toUtf8() + '\n');
    } catch (...) {
        // Logging must never be the reason something else fails.
    }
}

} // namespace orb
