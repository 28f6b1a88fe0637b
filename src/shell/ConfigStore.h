#pragma once

#include "platform/db/Value.h"

#include <QString>

namespace db {
class Database;
}

namespace orb {

// Settings live in table Config (Grupo, Variable, Valor), one row per pair.
// The installer and the upgrader store every default once; reading never
// writes, so a read inside someone else's transaction, or on a read-only
// connection, changes nothing. No cache.

// Built-in default; a null Value when the setting has none.
db::Value ValorPorDefecto(const QString& grupo, const QString& variable);
// Stored value (may be null); the built-in default when the row is missing.
db::Value LeerConfig(db::Database& database, const QString& grupo, const QString& variable);
// Stores the built-in default of every setting that has no row yet; rows
// present are kept whatever they hold. For the installer and the upgrader.
void GuardarValoresPorDefecto(db::Database& database);
// Stores valor in its text form (null stays null), creating the row when missing.
void GuardarConfig(db::Database& database, const QString& grupo, const QString& variable,
                   const db::Value& valor);

} // namespace orb
