#include "FallosWeb.h"

#include "ExportacionWeb.h"
#include "platform/mysql/MysqlError.h"
#include "shell/Log.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace orb {

namespace {

QString sinClave(QString texto, const AjustesWeb& ajustes) {
    if (!ajustes.password.isEmpty())
        texto.replace(ajustes.password, QStringLiteral("****"));
    return texto;
}

// "Incorrect integer value: 'x' for column `db`.`t`.`bedrooms` at row 1",
// "Column 'agency' cannot be null", "Unknown column 'pool' in 'field list'".
QString ultimoNombre(const QString& citado) {
    QString nombre = citado.section(u'.', -1);
    nombre.remove(u'`');
    nombre.remove(u'\'');
    return nombre;
}

} // namespace

bool EsFalloDeValor(const mysql::MysqlError& e) {
    switch (e.number()) {
    case 1048: // column cannot be null
    case 1264: // out of range
    case 1265: // data truncated
    case 1292: // incorrect date or number
    case 1366: // incorrect value for the type
    case 1406: // data too long
        return true;
    default:
        return false;
    }
}

QString ColumnaDelFalloWeb(const mysql::MysqlError& e) {
    static const QRegularExpression columna(QStringLiteral("[Cc]olumn ((?:[`'][^`']*[`']\\.?)+)"));
    const auto m = columna.match(e.text());
    return m.hasMatch() ? ultimoNombre(m.captured(1)) : QString();
}

QString DescribirFalloWeb(const mysql::MysqlError& e, const AjustesWeb& ajustes, const LugarFalloWeb& lugar) {
    const QString tabla = TablaWeb(lugar.pasada);
    const QString columna = ColumnaDelFalloWeb(e);
    if (EsFalloDeValor(e)) {
        const QString quien =
            lugar.propiedad.isEmpty()
                ? QCoreApplication::translate("FallosWeb", "Una propiedad no se puede publicar")
                : QCoreApplication::translate("FallosWeb", "La propiedad %1 no se puede publicar")
                      .arg(lugar.propiedad);
        const QString origen = OrigenColumnaWeb(lugar.pasada, columna);
        const QString dato =
            columna.isEmpty() ? QCoreApplication::translate("FallosWeb", "uno de sus datos")
            : origen.isEmpty()
                ? QCoreApplication::translate("FallosWeb", "el dato de la columna %1").arg(columna)
                : QCoreApplication::translate("FallosWeb", "el dato %1 (columna %2)").arg(origen, columna);
        QString problema;
        switch (e.number()) {
        case 1406:
            problema =
                QCoreApplication::translate("FallosWeb", "es más largo de lo que admite la tabla %1 del web")
                    .arg(tabla);
            break;
        case 1264:
            problema =
                QCoreApplication::translate("FallosWeb", "es mayor de lo que admite la tabla %1 del web")
                    .arg(tabla);
            break;
        case 1048:
            problema = QCoreApplication::translate("FallosWeb", "está vacío y la tabla %1 del web lo exige")
                           .arg(tabla);
            break;
        default:
            problema =
                QCoreApplication::translate("FallosWeb", "no es del tipo que espera la tabla %1 del web")
                    .arg(tabla);
            break;
        }
        return QStringLiteral("%1: %2 %3.").arg(quien, dato, problema);
    }
    switch (e.number()) {
    case 1045:
        return QCoreApplication::translate(
                   "FallosWeb", "El servidor web ha rechazado el usuario «%1» o su contraseña: revíselos en "
                                "Herramientas > Configuración > Exportación Web > Usuario y Contraseña "
                                "(WEB / USUARIO, WEB / PASSWORD).")
            .arg(ajustes.usuario);
    case 1044:
    case 1049:
        return QCoreApplication::translate(
                   "FallosWeb", "No se puede usar la base de datos «%1» del servidor web (Herramientas > "
                                "Configuración > Exportación Web > BBDD; WEB / BASEDATOS).")
            .arg(ajustes.baseDatos);
    case 2002:
    case 2003:
    case 2005:
        return QCoreApplication::translate("FallosWeb",
                                           "No se puede conectar con el servidor web «%1» (Herramientas > "
                                           "Configuración > Exportación Web > Servidor; WEB / SERVIDOR).")
            .arg(ajustes.servidor);
    case 1927:
    case 2006:
    case 2013:
        return QCoreApplication::translate("FallosWeb", "Se ha perdido la conexión con el servidor web.");
    case 1054:
        return columna.isEmpty()
                   ? QCoreApplication::translate("FallosWeb", "Falta una columna en la tabla %1 del web.")
                         .arg(tabla)
                   : QCoreApplication::translate("FallosWeb", "Falta la columna %1 en la tabla %2 del web.")
                         .arg(columna, tabla);
    case 1142:
    case 1227:
        return QCoreApplication::translate(
                   "FallosWeb", "El usuario «%1» no tiene permiso para cambiar la tabla %2 del web.")
            .arg(ajustes.usuario, tabla);
    case 1205:
    case 1213:
        return QCoreApplication::translate(
                   "FallosWeb", "Otro programa tiene bloqueada la tabla %1 del web; vuelva a exportar dentro "
                                "de un momento.")
            .arg(tabla);
    default:
        return QCoreApplication::translate(
            "FallosWeb", "El servidor web ha devuelto un error; los detalles se han guardado en "
                         "Orbalia.log.");
    }
}

void RegistrarFalloWeb(const mysql::MysqlError& e, const AjustesWeb& ajustes) {
    EscribirLog(
        QCoreApplication::translate("FallosWeb", "Exportación web: %1").arg(sinClave(e.describe(), ajustes)));
}

} // namespace orb
