#include "Ficheros.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace orb {

namespace {

// File-name wildcards: "*" any run, "?" one character, everything else
// literal; "name.*" also matches "name" without an extension.
QRegularExpression wildcardPattern(const QString& name) {
    QString pattern = name;
    QString suffix;
    if (pattern.endsWith(QLatin1String(".*")) && pattern.size() > 2) {
        pattern.chop(2);
        suffix = QStringLiteral("(\\..*)?");
    }
    QString rx;
    for (const QChar c : pattern) {
        if (c == u'*')
            rx += QLatin1String(".*");
        else if (c == u'?')
            rx += u'.';
        else
            rx += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(rx + suffix));
}

// Absolute, without "." or "..", and with the links of its existing part
// resolved: what is not there yet cannot be a link.
QString rutaReal(const QString& ruta) {
    const QString limpia = QDir::cleanPath(QFileInfo(ruta).absoluteFilePath());
    QString existente = limpia;
    QString resto;
    while (!QFileInfo::exists(existente)) {
        const qsizetype barra = existente.lastIndexOf(u'/');
        if (barra <= 0)
            return limpia;
        resto.prepend(existente.mid(barra));
        existente.truncate(barra);
    }
    const QString real = QFileInfo(existente).canonicalFilePath();
    return real.isEmpty() ? limpia : real + resto;
}

} // namespace

bool ExisteFichero(const QString& ruta) {
    if (ruta.isEmpty())
        return false;
    const QFileInfo info(ruta);
    const QString name = info.fileName();
    if (!name.contains(u'*') && !name.contains(u'?'))
        return info.isFile();
    const QRegularExpression pattern = wildcardPattern(name);
    const QFileInfoList entries = QDir(info.path()).entryInfoList(QDir::Files);
    for (const QFileInfo& entry : entries)
        if (pattern.match(entry.fileName()).hasMatch())
            return true;
    return false;
}

bool ExisteCarpeta(QString& ruta) {
    // An empty path names no folder; "/" would make it the root.
    if (ruta.isEmpty())
        return false;
    if (!ruta.endsWith(u'/'))
        ruta += u'/';
    return QFileInfo(ruta).isDir();
}

void BorrarFichero(const QString& ruta) {
    if (!ruta.isEmpty())
        QFile::remove(ruta);
}

void VaciarCarpeta(const QString& carpeta) {
    // An empty name would mean the working folder.
    if (carpeta.isEmpty())
        return;
    const QDir dir(carpeta);
    if (!dir.exists())
        return;
    // One listing, then one delete per file: a file that cannot be deleted
    // is skipped instead of being found again for ever.
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& file : files)
        BorrarFichero(file.absoluteFilePath());
}

bool CarpetaDentroDe(const QString& carpeta, const QString& raiz) {
    if (carpeta.trimmed().isEmpty() || raiz.trimmed().isEmpty())
        return false;
    const QString dentro = rutaReal(carpeta);
    QString base = rutaReal(raiz);
    if (!base.endsWith(u'/'))
        base += u'/';
    return dentro.size() > base.size() && dentro.startsWith(base);
}

} // namespace orb
