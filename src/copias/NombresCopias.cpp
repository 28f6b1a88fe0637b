// The backups' names, the setting of how many are kept, and the rotation.
#include "CopiaSeguridad.h"

#include "shell/Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>

namespace orb::copias {

namespace {

const QRegularExpression& patron() {
    static const QRegularExpression p(
        QStringLiteral("^Orbalia-(\\d{8})-(\\d{6})(?:-(\\d{1,4}))?\\.(db|dump)$"));
    return p;
}

} // namespace

int LeerConservar(const QString& carpeta) {
    const QString ini = QDir(carpeta).filePath(QLatin1String(IniFileName));
    QSettings ajustes(ini, QSettings::IniFormat);
    const QVariant v = ajustes.value(QStringLiteral("Copias/Conservar"));
    // An unquoted comma makes QSettings return a list.
    const QString texto =
        (v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(u',') : v.toString()).trimmed();
    if (texto.isEmpty())
        return ConservarPorOmision;
    bool ok = false;
    const int n = texto.toInt(&ok);
    if (!ok || n < 1 || n > ConservarMaximo)
        throw FalloCopia(QCoreApplication::translate(
                             "NombresCopias",
                             "El número de copias que se conservan, «%1», no es válido.\nCorrija la "
                             "clave Conservar de la sección [Copias] en el archivo de la instalación "
                             "[%2]: un número de copias de 1 a %3 (por ejemplo, Conservar=%4).")
                             .arg(texto, QDir::toNativeSeparators(ini), QString::number(ConservarMaximo),
                                  QString::number(ConservarPorOmision)),
                         SalidaNoEmpieza);
    return n;
}

std::optional<NombreCopia> LeerNombreCopia(const QString& nombre) {
    const QRegularExpressionMatch m = patron().match(nombre);
    if (!m.hasMatch())
        return std::nullopt;
    NombreCopia n;
    n.cuando = QDateTime::fromString(m.captured(1) + m.captured(2), QStringLiteral("yyyyMMddHHmmss"));
    if (!n.cuando.isValid())
        return std::nullopt;
    if (!m.captured(3).isEmpty()) {
        n.orden = m.captured(3).toInt();
        // The first of a second has no number: "-1" is no name of ours.
        if (n.orden < 2 || m.captured(3).startsWith(u'0'))
            return std::nullopt;
    }
    n.servidor = m.captured(4) == u"dump";
    return n;
}

QString NombreDeCopia(const NombreCopia& n) {
    QString nombre = QStringLiteral("Orbalia-") + n.cuando.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (n.orden > 1)
        nombre += u'-' + QString::number(n.orden);
    return nombre + (n.servidor ? QStringLiteral(".dump") : QStringLiteral(".db"));
}

QStringList Rotar(const QString& carpetaCopias, int conservar, const QString& hecha,
                  QStringList* noBorradas) {
    struct Entrada {
        QString nombre;
        NombreCopia n;
    };
    QList<Entrada> copias;
    const QDir dir(carpetaCopias);
    for (const QString& nombre : dir.entryList(QDir::Files | QDir::Hidden))
        if (nombre != hecha)
            if (const auto n = LeerNombreCopia(nombre))
                copias.append({nombre, *n});
    // Newest first; a second's later backups before its first.
    std::sort(copias.begin(), copias.end(), [](const Entrada& a, const Entrada& b) {
        if (a.n.cuando != b.n.cuando)
            return a.n.cuando > b.n.cuando;
        if (a.n.orden != b.n.orden)
            return a.n.orden > b.n.orden;
        return a.nombre > b.nombre;
    });
    // The one just made counts among those kept.
    const qsizetype otras = std::max(0, conservar - (hecha.isEmpty() ? 0 : 1));
    QStringList borradas;
    for (qsizetype i = otras; i < copias.size(); ++i) {
        if (QFile::remove(dir.filePath(copias[i].nombre)))
            borradas << copias[i].nombre;
        else if (noBorradas)
            *noBorradas << copias[i].nombre;
    }
    return borradas;
}

} // namespace orb::copias
