#include "ErrorReport.h"

#include "Log.h"
#include "Mensajes.h"
#include "OfficeRules.h"
#include "platform/widgets/DialogService.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <sqlite3.h>

namespace orb {

QString DescripcionError(const db::DbError& e) {
    switch (e.number()) {
    case db::ErrUpdateWithoutEdit:
        return QStringLiteral("Actualizar o CancelarActualizar sin AgregarNuevo o Modificar");
    case db::ErrNoCurrentRecord:
        return QStringLiteral("No hay un registro activo");
    case db::ErrDuplicateKey:
        return QStringLiteral(
            "No se realizaron los cambios porque crearían valores duplicados en el índice o "
            "la clave principal");
    case db::ErrCannotOpen:
        return QStringLiteral("No se puede abrir la base de datos");
    case db::ErrReadOnly:
        return QStringLiteral("La base de datos es de sólo lectura");
    case db::ErrSyntax:
        return QStringLiteral("Error en una instrucción de la base de datos");
    case db::ErrFieldTooSmall:
        return QStringLiteral("El campo es demasiado pequeño para aceptar la cantidad de datos que intentó "
                              "agregar");
    case db::ErrNotSupported:
        return QStringLiteral("Operación no admitida");
    case db::ErrItemNotFound:
        return QStringLiteral("Elemento no encontrado en esta colección");
    case db::ErrNullNotAllowed:
        return QStringLiteral("El campo no puede contener un valor nulo");
    case db::ErrConstraint:
        return QStringLiteral("El valor no cumple la regla del campo");
    case db::ErrConversion:
        return QStringLiteral("No coinciden los tipos de datos");
    case db::ErrLocked:
        return QStringLiteral("La base de datos está bloqueada por otro proceso");
    case db::ErrPermissionDenied:
        return QStringLiteral("No tiene los permisos necesarios para cambiar estos datos");
    default:
        return QStringLiteral("Error de la base de datos");
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
        return QStringLiteral("El disco está lleno.");
    if (motor == SQLITE_NOTADB || motor == SQLITE_CORRUPT)
        return QStringLiteral("El archivo no es una base de datos de Orbalia o está dañado.");
    if (motor == SQLITE_CANTOPEN || e.number() == db::ErrCannotOpen) {
        const QFileInfo archivo(rutaBaseDatos);
        if (!rutaBaseDatos.isEmpty() && !archivo.exists())
            return QStringLiteral("No se encuentra el archivo %1.").arg(rutaBaseDatos);
        if (!rutaBaseDatos.isEmpty() &&
            (!archivo.isWritable() || !QFileInfo(archivo.absolutePath()).isWritable()))
            return QStringLiteral("No hay permiso de escritura en la carpeta %1.")
                .arg(archivo.absolutePath());
        if (motor == SQLITE_CANTOPEN)
            return QStringLiteral("No se puede abrir el archivo: no hay permiso para leerlo o está en uso.");
        return QStringLiteral("El archivo no es una base de datos de Orbalia o está dañado.");
    }
    if (motor == SQLITE_READONLY || motor == SQLITE_PERM || e.number() == db::ErrReadOnly) {
        const QString carpeta = carpetaDe(rutaBaseDatos);
        return carpeta.isEmpty()
                   ? QStringLiteral("No hay permiso de escritura en la base de datos.")
                   : QStringLiteral("No hay permiso de escritura en la carpeta %1.").arg(carpeta);
    }
    if (motor == SQLITE_IOERR)
        return QStringLiteral("No se ha podido leer o escribir en el disco.");
    const QString columna = ColumnaDelError(e);
    switch (e.number()) {
    case db::ErrDuplicateKey: {
        const QString valor = valorDe && !columna.isEmpty() ? valorDe(columna) : QString();
        if (valor.isEmpty())
            return QStringLiteral("Ya existe un registro con los mismos datos.");
        if (columna.compare(QStringLiteral("Cod"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("Ya existe un registro con el código %1.").arg(valor);
        return QStringLiteral("Ya existe un registro con %1 %2.").arg(columna, valor);
    }
    case db::ErrFieldTooSmall: {
        static const QRegularExpression limite(
            QStringLiteral("length\\(\\w+\\)\\s*<=\\s*(\\d+)|\\((\\d+) caracteres como máximo"));
        const auto m = limite.match(e.description());
        if (m.hasMatch() && !columna.isEmpty())
            return QStringLiteral("El texto de %1 es demasiado largo (como máximo %2 caracteres).")
                .arg(columna, m.captured(1).isEmpty() ? m.captured(2) : m.captured(1));
        return QStringLiteral("Un texto es más largo de lo que admite su campo.");
    }
    case db::ErrNullNotAllowed:
        return columna.isEmpty() ? QStringLiteral("Falta un dato obligatorio.")
                                 : QStringLiteral("Falta un dato obligatorio: %1.").arg(columna);
    case db::ErrConstraint:
        if ((e.engineCode()) == SQLITE_CONSTRAINT_FOREIGNKEY)
            return QStringLiteral("El registro está relacionado con otros datos.");
        return QStringLiteral("Un dato no cumple las reglas de su campo.");
    case db::ErrNoCurrentRecord:
        return QStringLiteral("El registro ya no existe: se ha borrado desde otro puesto.");
    case db::ErrLocked:
        return QStringLiteral("Otro puesto está usando la base de datos; inténtelo de nuevo dentro de un "
                              "momento.");
    case db::ErrConversion:
        return QStringLiteral("Un dato no es del tipo que espera su campo.");
    case db::ErrLoginRefused:
        return QStringLiteral("El servidor ha rechazado el usuario o la contraseña de este puesto.");
    case db::ErrServerUnreachable:
        return QStringLiteral("No se puede conectar con el servidor de la base de datos: compruebe que está "
                              "encendido y que este puesto llega a él por la red.");
    case db::ErrConnectionLost:
        return QStringLiteral("Se ha perdido la conexión con el servidor de la base de datos; no se ha "
                              "guardado nada de la última operación.");
    case db::ErrChangedByOther:
        return db::DbError::cambiadoPorOtro().description();
    case db::ErrPermissionDenied:
        // The server's office rules speak the program's words; a grant that is
        // missing does not.
        for (const QString& regla : {MensajeOtraOficina, MensajeSoloOficinaPrincipal})
            if (e.description().contains(regla))
                return regla;
        return QStringLiteral("El servidor no permite a este agente cambiar estos datos.");
    default:
        return QStringLiteral("Error interno; los detalles se han guardado en Orbalia.log.");
    }
}

void RegistrarError(const QString& accion, const db::DbError& e) {
    EscribirLog(QStringLiteral("Error %1 (motor %2) al %3: %4")
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
    QString primera = QStringLiteral("Se ha producido un error inesperado.");
    QString causa = QStringLiteral("Los detalles se han guardado en Orbalia.log.");
    try {
        std::rethrow_exception(error);
    } catch (const db::DbError& e) {
        RegistrarError(QStringLiteral("procesar un evento"), e);
        primera =
            QStringLiteral("Se ha producido el error (%1 - %2).").arg(e.number()).arg(DescripcionError(e));
        causa = CausaError(e);
    } catch (const std::exception& e) {
        EscribirLog(QStringLiteral("Excepción no atendida: %1").arg(QString::fromUtf8(e.what())));
    } catch (...) {
        EscribirLog(QStringLiteral("Excepción no atendida de tipo desconocido"));
    }
    if (!dialogs)
        return;
    try {
        MensajeError(*dialogs, primera + u'\n' + causa, parent);
    } catch (...) {
    }
}

} // namespace orb
