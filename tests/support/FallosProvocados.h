#pragma once

// Refusals a test provokes in the database itself, written for the engine the
// test runs on: the file's trigger, or the server's trigger and its function.

#include "platform/db/Database.h"

#include <QString>

namespace fallos {

// From now on the database refuses each row of `momento` ("BEFORE UPDATE",
// "BEFORE DELETE"...) on `tabla` for which `condicion` holds (over NEW or
// OLD; every row when empty), with the text "fallo provocado".
inline void provocar(db::Database& db, const QString& nombre, const QString& momento, const QString& tabla,
                     const QString& condicion = {}) {
    if (!db.onServer()) {
        db.execute(
            QStringLiteral("CREATE TRIGGER %1 %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, 'fallo provocado'); "
                           "END")
                .arg(nombre, momento, tabla,
                     condicion.isEmpty() ? QString() : QStringLiteral("WHEN ") + condicion));
        return;
    }
    db.executeScript(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$BEGIN RAISE "
                                    "EXCEPTION 'fallo provocado'; END$$;"
                                    "CREATE TRIGGER %1 %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION %1();")
                         .arg(nombre, momento, tabla,
                              condicion.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condicion)));
}

// The database takes those rows again.
inline void retirar(db::Database& db, const QString& nombre, const QString& tabla) {
    if (!db.onServer()) {
        db.execute(QStringLiteral("DROP TRIGGER %1").arg(nombre));
        return;
    }
    db.executeScript(QStringLiteral("DROP TRIGGER %1 ON %2; DROP FUNCTION %1();").arg(nombre, tabla));
}

} // namespace fallos
