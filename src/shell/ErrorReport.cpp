#include "ErrorReport.h"

#include "Log.h"
#include "Mensajes.h"
#include "OfficeRules.h"
#include "platform/widgets/DialogService.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace orb {

QString DescripcionError(const db::DbError& e) {
    switch (e.number()) {
    case db::ErrUpdateWithoutEdit:
        return QCoreApplication::translate("ErrorReport",
                                           "Actualizar o CancelarActualizar sin AgregarNuevo o Modificar");
    case db::ErrNoCurrentRecord:
        return QCoreApplication::translate("ErrorReport", "No hay un registro activo");
    case db::ErrDuplicateKey:
        return QCoreApplication::translate(
            "ErrorReport", "No se realizaron los cambios porque crearían valores duplicados en el índice o "
                           "la clave principal");
    case db::ErrCannotOpen:
        return QCoreApplication::translate("ErrorReport", "No se puede abrir la base de datos");
    case db::ErrReadOnly:
        return QCoreApplication::translate("ErrorReport", "La base de datos es de sólo lectura");
    case db::ErrSyntax:
        return QCoreApplication::translate("ErrorReport", "Error en una instrucción de la base de datos");
    case db::ErrFieldTooSmall:
        return QCoreApplication::translate(
            "ErrorReport", "El campo es demasiado pequeño para aceptar la cantidad de datos que intentó "
                           "agregar");
    case db::ErrNotSupported:
        return QCoreApplication::translate("ErrorReport", "Operación no admitida");
    case db::ErrItemNotFound:
        return QCoreApplication::translate("ErrorReport", "Elemento no encontrado en esta colección");
    case db::ErrNullNotAllowed:
        return QCoreApplication::translate("ErrorReport", "El campo no puede contener un valor nulo");
    case db::ErrConstraint:
        return QCoreApplication::translate("ErrorReport", "El valor no cumple la regla del campo");
    case db::ErrConversion:
        return QCoreApplication::translate("ErrorReport", "No coinciden los tipos de datos");
    case db::ErrLocked:
        return QCoreApplication::translate("ErrorReport", "La base de datos está bloqueada por otro proceso");
    case db::ErrPermissionDenied:
        return QCoreApplication::translate("ErrorReport",
                                           "No tiene los permisos necesarios para cambiar estos datos");
    default:
        return QCoreApplication::translate("ErrorReport", "Error de la base de datos");
    }
}

QString ColumnaDelError(const db::DbError& e) {
    static const QRegularExpression named(QStringLiteral("constraint failed: (?:\\w+\\.)?(\\w+)"));
    static const QRegularExpression length(QStringLiteral("length\\((\\w+)\\)|El campo '(\\w+)'"));
    auto m = length.match(e.description());
    if (m.hasMatch() && !m.captured(2).isEmpty())
        return m.captured(2);
    if (m.hasMatch())
        return m.captured(1);
    m = named.match(e.description());
    return m.hasMatch() ? m.captured(1) : QString();
}

namespace {

QString carpetaDe(const QString& ruta) {
    return ruta.isEmpty() ? QString() : QFileInfo(ruta).absolutePath();
}

} // namespace

QString CausaError(const db::DbError& e, const std::function<QString(const QString&)>& valorDe,
                   const QString& rutaBaseDatos) {
    const int motor = e.engineCode() & 0xff;
    if (motor == SQLITE_FULL)
        return QCoreApplication::translate("ErrorReport", "El disco está lleno.");
    if (motor == SQLITE_NOTADB || motor == SQLITE_CORRUPT)
        return QCoreApplication::translate("ErrorReport",
                                           "El archivo no es una base de datos de Orbalia o está dañado.");
    if (motor == SQLITE_CANTOPEN || e.number() == db::ErrCannotOpen) {
        const QFileInfo archivo(rutaBaseDatos);
        if (!rutaBaseDatos.isEmpty() && !archivo.exists())
            return QCoreApplication::translate("ErrorReport", "No se encuentra el archivo %1.")
                .arg(rutaBaseDatos);
        if (!rutaBaseDatos.isEmpty() &&
            (!archivo.isWritable() || !QFileInfo(archivo.absolutePath()).isWritable()))
            return QCoreApplication::translate("ErrorReport", "No hay permiso de escritura en la carpeta %1.")
                .arg(archivo.absolutePath());
        if (motor == SQLITE_CANTOPEN)
            return QCoreApplication::translate(
                "ErrorReport", "No se puede abrir el archivo: no hay permiso para leerlo o está en uso.");
        return QCoreApplication::translate("ErrorReport",
                                           "El archivo no es una base de datos de Orbalia o está dañado.");
    }
    if (motor == SQLITE_READONLY || motor == SQLITE_PERM || e.number() == db::ErrReadOnly) {
        const QString carpeta = carpetaDe(rutaBaseDatos);
        return carpeta.isEmpty()
                   ? QCoreApplication::translate("ErrorReport",
                                                 "No hay permiso de escritura en la base de datos.")
                   : QCoreApplication::translate("ErrorReport",
                                                 "No hay permiso de escritura en la carpeta %1.")
                         .arg(carpeta);
    }
    if (motor == SQLITE_IOERR)
        return QCoreApplication::translate("ErrorReport", "No se ha podido leer o escribir en el disco.");
    const QString columna = ColumnaDelError(e);
    switch (e.number()) {
    case db::ErrDuplicateKey: {
        const QString valor = valorDe && !columna.isEmpty() ? valorDe(columna) : QString();
        if (valor.isEmpty())
            return QCoreApplication::translate("ErrorReport", "Ya existe un registro con los mismos datos.");
        if (columna.compare(QStringLiteral("Cod"), Qt::CaseInsensitive) == 0)
            return QCoreApplication::translate("ErrorReport", "Ya existe un registro con el código %1.")
                .arg(valor);
        return QCoreApplication::translate("ErrorReport", "Ya existe un registro con %1 %2.")
            .arg(columna, valor);
    }
    case db::ErrFieldTooSmall: {
        static const QRegularExpression limite(
            QStringLiteral("length\\(\\w+\\)\\s*<=\\s*(\\d+)|\\((\\d+) caracteres como máximo"));
        const auto m = limite.match(e.description());
        if (m.hasMatch() && !columna.isEmpty())
            return QCoreApplication::translate(
                       "ErrorReport", "El texto de %1 es demasiado largo (como máximo %2 caracteres).")
                .arg(columna, m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
        return QCoreApplication::translate("ErrorReport", "Un texto es más largo de lo que admite su campo.");
    }
    case db::ErrNullNotAllowed:
        return columna.isEmpty()
                   ? QCoreApplication::translate("ErrorReport", "Falta un dato obligatorio.")
                   : QCoreApplication::translate("ErrorReport", "Falta un dato obligatorio: %1.")
                         .arg(columna);
    case db::ErrConstraint:
        if ((e.engineCode()) == SQLITE_CONSTRAINT_FOREIGNKEY)
            return QCoreApplication::translate("ErrorReport",
                                               "El registro está relacionado con otros datos.");
        return QCoreApplication::translate("ErrorReport", "Un dato no cumple las reglas de su campo.");
    case db::ErrNoCurrentRecord:
        return QCoreApplication::translate("ErrorReport",
                                           "El registro ya no existe: se ha borrado desde otro puesto.");
    case db::ErrLocked:
        return QCoreApplication::translate(
            "ErrorReport", "Otro puesto está usando la base de datos; inténtelo de nuevo dentro de un "
                           "momento.");
    case db::ErrConversion:
        return QCoreApplication::translate("ErrorReport", "Un dato no es del tipo que espera su campo.");
    case db::ErrLoginRefused:
        return QCoreApplication::translate(
            "ErrorReport", "El servidor ha rechazado el usuario o la contraseña de este puesto.");
    case db::ErrServerUnreachable:
        return QCoreApplication::translate(
            "ErrorReport", "No se puede conectar con el servidor de la base de datos: compruebe que está "
                           "encendido y que este puesto llega a él por la red.");
    case db::ErrConnectionLost:
        return QCoreApplication::translate(
            "ErrorReport", "Se ha perdido la conexión con el servidor de la base de datos; no se ha "
                           "guardado nada de la última operación.");
    case db::ErrChangedByOther:
        return db::DbError::cambiadoPorOtro().description();
    case db::ErrPermissionDenied:
        // The server's office rules speak the program's words; a grant that is
        // missing does not.
        for (const char* regla : {MensajeOtraOficina, MensajeSoloOficinaPrincipal})
            if (e.description().contains(QString::fromUtf8(regla)))
                return QCoreApplication::translate("OfficeRules", regla);
        return QCoreApplication::translate("ErrorReport",
                                           "El servidor no permite a este agente cambiar estos datos.");
    default:
        return QCoreApplication::translate("ErrorReport",
                                           "Error interno; los detalles se han guardado en Orbalia.log.");
    }
}

void RegistrarError(const QString& accion, const db::DbError& e) {
    EscribirLog(QCoreApplication::translate("ErrorReport", "Error %1 (motor %2) al %3: %4")
                    .arg(e.number())
                    .arg(e.engineCode())
                    .arg(accion, e.description()));
}

void InformarErrorBaseDatos(ui::DialogService& dialogs, QWidget* parent, const QString& accion,
                            const QString& primera, const db::DbError& e,
                            const std::function<QString(const QString&)>& valorDe,
                            const QString& rutaBaseDatos) {
    RegistrarError(accion, e);
    MensajeError(dialogs, primera + u'\n' + CausaError(e, valorDe, rutaBaseDatos), parent);
}

void InformarErrorInesperado(ui::DialogService* dialogs, std::exception_ptr error, QWidget* parent) {
    QString primera = QCoreApplication::translate("ErrorReport", "Se ha producido un error inesperado.");
    QString causa =
        QCoreApplication::translate("ErrorReport", "Los detalles se han guardado en Orbalia.log.");
    try {
        std::rethrow_exception(error);
    } catch (const db::DbError& e) {
        RegistrarError(QCoreApplication::translate("ErrorReport", "procesar un evento"), e);
        primera = QCoreApplication::translate("ErrorReport", "Se ha producido el error (%1 - %2).")
                      .arg(e.number())
                      .arg(DescripcionError(e));
        causa = CausaError(e);
    } catch (const std::exception& e) {
        EscribirLog(QCoreApplication::translate("ErrorReport", "Excepción no atendida: %1")
                        .arg(QString::fromUtf8(e.what())));
    } catch (...) {
        EscribirLog(QCoreApplication::translate("ErrorReport", "Excepción no atendida de tipo desconocido"));
    }
    if (!dialogs)
        return;
    try {
        MensajeError(*dialogs, primera + u'\n' + causa, parent);
    } catch (...) {
    }
}

} // namespace orb
