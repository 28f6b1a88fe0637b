#pragma once

#include "platform/db/Value.h"

#include <QString>

namespace db {
class Database;
}

namespace orb {

// Settings live in table Config (Grupo, Variable, Valor), one row per pair.
// Reading a missing setting stores and returns its built-in default. No cache.

// Built-in default; a null Value when the setting has none.
db::Value ValorPorDefecto(const QString& grupo, const QString& variable);
// Stored value (may be null); creates the row with the default when missing.
db::Value LeerConfig(db::Database& database, const QString& grupo, const QString& variable);
// Stores valor in its text form (null stays null), creating the row when missing.
void GuardarConfig(db::Database& database, const QString& grupo, const QString& variable,
                   const db::Value& valor);

} // namespace orb
