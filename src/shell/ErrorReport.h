#pragma once

#include "platform/db/DbError.h"

#include <QString>
#include <exception>
#include <functional>

namespace ui {
class DialogService;
}

class QWidget;

namespace orb {

// Database errors told in plain words, in the interface's language. The
// engine's own text (SQL, table and constraint names) never reaches a message
// box; it goes to the log.

// The error's description as shown between "(number - " and ")": the fixed
// text of its number, without the engine's words.
QString DescripcionError(const db::DbError& e);

// What the cause means for the user, one sentence: "El disco está lleno.",
// "Ya existe un registro con el código 0100029.", … valorDe gives the value
// the refused record holds in a column (for naming a duplicate code); the
// database path names the folder when writing is not allowed.
QString CausaError(const db::DbError& e, const std::function<QString(const QString& columna)>& valorDe = {},
                   const QString& rutaBaseDatos = {});

// The column a refusal names ("Propietarios.Cod" → "Cod"; a length rule on
// "Valor" → "Valor"); empty when the engine named none.
QString ColumnaDelError(const db::DbError& e);

// Writes the full detail (what the user was doing, number, engine code and
// text) to the log.
void RegistrarError(const QString& accion, const db::DbError& e);

// The one way a database error reaches the user: the detail goes to the log
// (under accion, "guardar la configuración"), and the error box shows primera,
// what could not be done, with the plain cause below it. valorDe and
// rutaBaseDatos as for CausaError.
void InformarErrorBaseDatos(ui::DialogService& dialogs, QWidget* parent, const QString& accion,
                            const QString& primera, const db::DbError& e,
                            const std::function<QString(const QString& columna)>& valorDe = {},
                            const QString& rutaBaseDatos = {});

// Last resort for an exception that reached the event loop: logs it and shows
// one error box instead of letting the program end.
void InformarErrorInesperado(ui::DialogService* dialogs, std::exception_ptr error, QWidget* parent = nullptr);

} // namespace orb
