#include "Installation.h"

#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
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

namespace {

// de names the list a code comes from (" de la lista RedAgencias"), empty for this office's own.
QString problemaCodigo(const QString& codigo, const QString& de) {
    if (codigo.trimmed().isEmpty())
        return QCoreApplication::translate("Installation", "Falta el código de esta oficina.");
    // The field counts characters, not UTF-16 units.
    const QList<uint> caracteres = codigo.toUcs4();
    if (caracteres.size() > schema::LongitudAgencia)
        return QCoreApplication::translate(
                   "Installation",
                   "El código de oficina \"%1\"%2 tiene %3 caracteres y el campo Agencia admite "
                   "%4 como máximo.")
            .arg(codigo, de, QString::number(caracteres.size()), QString::number(schema::LongitudAgencia));
    for (const uint c : caracteres)
        if (!QChar::isLetter(c) && !QChar::isDigit(c))
            return QCoreApplication::translate(
                       "Installation", "El código de oficina \"%1\"%2 solo puede tener letras y cifras.")
                .arg(codigo, de);
    return {};
}

} // namespace

QString ProblemaCodigoOficina(const QString& codigo) {
    return problemaCodigo(codigo, QString());
}

QStringList CodigosRed(const QString& redAgencias, const QString& codigoOficina) {
    static const QRegularExpression separador(QStringLiteral("[,;\\s]+"));
    const QString lista = redAgencias.trimmed();
    if (lista.isEmpty())
        return {};
    if (lista.contains(separador))
        return lista.split(separador, Qt::SkipEmptyParts);
    // One character per office is how the old installations listed them; an
    // office whose own code is longer cannot have meant that.
    if (codigoOficina.toUcs4().size() > 1)
        return {lista};
    QStringList codigos;
    for (const uint c : lista.toUcs4()) {
        const char32_t caracter = c;
        codigos << QString::fromUcs4(&caracter, 1);
    }
    return codigos;
}

QString ProblemaRedAgencias(const QString& redAgencias, const QString& codigoOficina) {
    for (const QString& codigo : CodigosRed(redAgencias, codigoOficina))
        if (const QString problema = problemaCodigo(
                codigo, QCoreApplication::translate("Installation", " de la lista RedAgencias"));
            !problema.isEmpty())
            return problema;
    return {};
}

QString ProblemaInstalacion(const QString& folder, const InstallationFacts& facts) {
    const QString path = iniPath(folder);
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        return QCoreApplication::translate(
                   "Installation", "No se encuentra el archivo de la instalación [%1].\nCréelo con "
                                   "orbalia-install, o escriba en él la sección [Instalacion] con la clave "
                                   "CodigoOficina (el código de esta oficina).")
            .arg(shown);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly) ||
        QSettings(path, QSettings::IniFormat).status() != QSettings::NoError)
        return QCoreApplication::translate(
                   "Installation", "No se puede leer el archivo de la instalación [%1].\nCompruebe que es un "
                                   "archivo de texto que el programa puede leer, con la clave CodigoOficina "
                                   "en la sección [Instalacion].")
            .arg(shown);
    const QString problema = ProblemaCodigoOficina(facts.CodigoOficina);
    if (!problema.isEmpty())
        return QCoreApplication::translate(
                   "Installation", "%1\nCorrija la clave CodigoOficina de la sección [Instalacion] "
                                   "en el archivo de la instalación [%2] (por ejemplo, CodigoOficina=01).")
            .arg(problema, shown);
    if (const QString red = ProblemaRedAgencias(facts.RedAgencias, facts.CodigoOficina); !red.isEmpty())
        return QCoreApplication::translate(
                   "Installation", "%1\nCorrija la clave RedAgencias de la sección [Instalacion] en el "
                                   "archivo de la instalación [%2]: los códigos de las oficinas separados "
                                   "por comas, el de la principal primero (por ejemplo, RedAgencias=01,02).")
            .arg(red, shown);
    return {};
}

ProblemaDato ComprobarDatosInstalacion(const InstallationFacts& facts) {
    if (facts.NombreAgencia.trimmed().isEmpty())
        return {QStringLiteral("NombreAgencia"),
                QCoreApplication::translate("Installation", "Falta el nombre de la agencia.")};
    if (QString p = ProblemaCodigoOficina(facts.CodigoOficina); !p.isEmpty())
        return {QStringLiteral("CodigoOficina"), p};
    if (QString p = ProblemaRedAgencias(facts.RedAgencias, facts.CodigoOficina); !p.isEmpty())
        return {QStringLiteral("RedAgencias"), p};
    return {};
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

namespace {

QString conBarra(QString folder) {
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace

QString CarpetaDelPuesto() {
    // The generic data folder, not Qt's per-application one: the folder is the
    // installation, whatever the executable calls itself.
    return conBarra(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                        .absoluteFilePath(QStringLiteral("Orbalia")));
}

bool CarpetaSinInstalacion(const QString& folder) {
    const QDir dir(folder);
    return !QFileInfo::exists(dir.filePath(QLatin1String(IniFileName))) &&
           !QFileInfo::exists(dir.filePath(QStringLiteral("Orbalia.db")));
}

QString CarpetaInstalacion() {
    if (const QString home = qEnvironmentVariable("ORBALIA_HOME"); !home.isEmpty())
        return conBarra(QFileInfo(home).absoluteFilePath());
    // An installation beside the executable is how a folder-per-office copy
    // runs; a packaged executable in bin/ has none and must not write there.
    const QString programa = QCoreApplication::applicationDirPath();
    if (QFileInfo(QDir(programa).filePath(QLatin1String(IniFileName))).isFile())
        return conBarra(programa);
    return CarpetaDelPuesto();
}

} // namespace orb
