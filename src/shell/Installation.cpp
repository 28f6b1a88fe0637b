#include "Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace orb {

namespace {

const QString kGroup = QStringLiteral("Instalacion");

QString iniPath(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(IniFileName));
}

// A hand-edited value with an unquoted comma comes back from QSettings as a
// list; it is still one text.
QString text(const QSettings& ini, const QString& key, const QString& fallback) {
    const QVariant v = ini.value(key);
    if (!v.isValid())
        return fallback;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

bool flag(const QSettings& ini, const QString& key, bool fallback) {
    const QString v = text(ini, key, QString()).trimmed().toLower();
    if (v == u"true" || v == u"1" || v == u"sí" || v == u"si" || v == u"yes")
        return true;
    if (v == u"false" || v == u"0" || v == u"no")
        return false;
    return fallback;
}

int number(const QSettings& ini, const QString& key, int fallback) {
    bool ok = false;
    const int n = text(ini, key, QString()).trimmed().toInt(&ok);
    return ok ? n : fallback;
}

} // namespace

InstallationFacts LeerDatosInstalacion(const QString& folder) {
    InstallationFacts facts;
    const QString path = iniPath(folder);
    if (!QFileInfo(path).isFile())
        return facts;
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(kGroup);
    facts.NombreAgencia = text(ini, QStringLiteral("NombreAgencia"), facts.NombreAgencia);
    facts.OficinaPrincipal = flag(ini, QStringLiteral("OficinaPrincipal"), facts.OficinaPrincipal);
    facts.CodigoOficina = text(ini, QStringLiteral("CodigoOficina"), facts.CodigoOficina);
    facts.CodigoAgenciaWeb = text(ini, QStringLiteral("CodigoAgenciaWeb"), facts.CodigoAgenciaWeb);
    facts.RedAgencias = text(ini, QStringLiteral("RedAgencias"), facts.RedAgencias);
    facts.ModelosDossier = number(ini, QStringLiteral("ModelosDossier"), facts.ModelosDossier);
    facts.PieDossier = text(ini, QStringLiteral("PieDossier"), facts.PieDossier);
    return facts;
}

bool GuardarDatosInstalacion(const QString& folder, const InstallationFacts& facts) {
    QSettings ini(iniPath(folder), QSettings::IniFormat);
    ini.beginGroup(kGroup);
    ini.setValue(QStringLiteral("NombreAgencia"), facts.NombreAgencia);
    ini.setValue(QStringLiteral("OficinaPrincipal"),
                 facts.OficinaPrincipal ? QStringLiteral("true") : QStringLiteral("false"));
    ini.setValue(QStringLiteral("CodigoOficina"), facts.CodigoOficina);
    ini.setValue(QStringLiteral("CodigoAgenciaWeb"), facts.CodigoAgenciaWeb);
    ini.setValue(QStringLiteral("RedAgencias"), facts.RedAgencias);
    ini.setValue(QStringLiteral("ModelosDossier"), facts.ModelosDossier);
    ini.setValue(QStringLiteral("PieDossier"), facts.PieDossier);
    ini.endGroup();
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString CarpetaInstalacion() {
    QString folder = qEnvironmentVariable("ORBALIA_HOME");
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    else
        folder = QFileInfo(folder).absoluteFilePath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace orb
