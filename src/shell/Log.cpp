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
    db::setLogFunction([](const QString& linea) { EscribirLog(linea); });
}

QString RutaLog() {
    QMutexLocker lock(&mutex());
    return carpetaLog().isEmpty() ? QString() : carpetaLog() + QStringLiteral("Orbalia.log");
}

void EscribirLog(const QString& texto) {
    EscribirLog(QStringList{texto});
}

void EscribirLog(const QStringList& lineas) {
    if (lineas.isEmpty())
        return;
    const QString fecha = QDateTime::currentDateTime().toString(Qt::ISODateWithMs) + u' ';
    QByteArray bloque;
    for (const QString& l : lineas)
        bloque += (fecha + QString(l).replace(u'\n', u' ')).toUtf8() + '\n';
    const QString ruta = RutaLog();
    QMutexLocker lock(&mutex());
    if (ruta.isEmpty()) {
        std::fputs(bloque.constData(), stderr);
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
            std::fputs(bloque.constData(), stderr);
            return;
        }
        out.write(bloque);
    } catch (...) {
        // Logging must never be the reason something else fails.
    }
}

} // namespace orb
