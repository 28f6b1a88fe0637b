#pragma once

#include "platform/db/Value.h"

#include <QDate>
#include <QString>

namespace orb {

// Dates as users type and read them (day first) and as they travel to SQL.

// Date as it travels to SQL: ISO "yyyy-MM-dd" bound as a parameter; "" when invalid.
QString FechaSQL(const db::Value& fecha);
// dd/mm/yyyy text → date; accepts d/m/yyyy and two-digit years; invalid when not a date.
QDate LeerFecha(const QString& texto);
// Date → "dd/MM/yyyy" ("" for null/invalid).
QString FormatoFecha(const db::Value& fecha);

} // namespace orb
