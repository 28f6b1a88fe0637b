#include "ConexionServidor.h"

#include "Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>

namespace orb {

namespace {

const QString kGroup = QStringLiteral("Servidor");

QString iniPath(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(IniFileName));
}

QString clavePath(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(ClaveFileName));
}

QString texto(const QSettings& ini, const QString& key) {
    const QVariant v = ini.value(key);
    // An unquoted comma makes QSettings return a list.
    return v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(u',') : v.toString();
}

} // namespace

db::ServerAddress ConexionServidor::direccion() const {
    db::ServerAddress a;
    a.host = servidor;
    a.port = puerto;
    a.database = baseDatos;
    a.user = usuario;
    a.password = clave;
    return a;
}

ConexionServidor LeerConexionServidor(const QString& folder) {
    ConexionServidor c;
    QSettings ini(iniPath(folder), QSettings::IniFormat);
    ini.beginGroup(kGroup);
    c.servidor = texto(ini, QStringLiteral("Servidor")).trimmed();
    bool ok = false;
    const int puerto = texto(ini, QStringLiteral("Puerto")).trimmed().toInt(&ok);
    if (ok && puerto > 0 && puerto < 65536)
        c.puerto = puerto;
    c.baseDatos = texto(ini, QStringLiteral("BaseDatos")).trimmed();
    c.usuario = texto(ini, QStringLiteral("Usuario")).trimmed();
    QFile clave(clavePath(folder));
    if (clave.open(QIODevice::ReadOnly))
        c.clave = QString::fromUtf8(clave.readAll()).section(u'\n', 0, 0).remove(u'\r');
    return c;
}

QString ProblemaConexionServidor(const QString& folder) {
    QSettings ini(iniPath(folder), QSettings::IniFormat);
    ini.beginGroup(kGroup);
    if (texto(ini, QStringLiteral("Servidor")).trimmed().isEmpty())
        return {};
    const QString shown = QDir::toNativeSeparators(iniPath(folder));
    const QString puerto = texto(ini, QStringLiteral("Puerto")).trimmed();
    bool ok = true;
    const int n = puerto.isEmpty() ? 5432 : puerto.toInt(&ok);
    if (!ok || n <= 0 || n > 65535)
        return QCoreApplication::translate(
                   "ConexionServidor",
                   "El puerto del servidor '%1' no es válido.\nCorrija la clave Puerto de la "
                   "sección [Servidor] en el archivo de la instalación [%2] (por ejemplo, "
                   "Puerto=5432).")
            .arg(puerto, shown);
    if (texto(ini, QStringLiteral("BaseDatos")).trimmed().isEmpty())
        return QCoreApplication::translate(
                   "ConexionServidor",
                   "Falta el nombre de la base de datos del servidor.\nEscriba la clave BaseDatos "
                   "en la sección [Servidor] del archivo de la instalación [%1].")
            .arg(shown);
    if (texto(ini, QStringLiteral("Usuario")).trimmed().isEmpty())
        return QCoreApplication::translate(
                   "ConexionServidor",
                   "Falta el usuario del servidor.\nEscriba la clave Usuario en la sección "
                   "[Servidor] del archivo de la instalación [%1].")
            .arg(shown);
    return {};
}

bool GuardarConexionServidor(const QString& folder, const ConexionServidor& c) {
    {
        QSettings ini(iniPath(folder), QSettings::IniFormat);
        ini.beginGroup(kGroup);
        ini.setValue(QStringLiteral("Servidor"), c.servidor);
        ini.setValue(QStringLiteral("Puerto"), c.puerto);
        ini.setValue(QStringLiteral("BaseDatos"), c.baseDatos);
        ini.setValue(QStringLiteral("Usuario"), c.usuario);
        ini.endGroup();
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return false;
    }
    if (c.clave.isEmpty())
        return true;
    QFile clave(clavePath(folder));
    if (!clave.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Owner-only before the password is in it.
    if (!clave.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    const QByteArray linea = c.clave.toUtf8() + '\n';
    return clave.write(linea) == linea.size() && clave.flush();
}

} // namespace orb
