#pragma once

// What a server database needs so that statements written for the file mean
// the same there: the Spanish collation "es", the program's LIKE (case
// ignored in every alphabet), sinacentos() and likesinacentos(), ifnull(),
// group_concat() and the unary + that keeps a column off its index. The
// schema runs these once when it creates a database; a seat then finds its
// own schema before pg_catalog (see ServerEngine).

#include <QStringList>

namespace db {

// The statements, in order, for the database's own schema.
QStringList serverDialectStatements();

// The replace() of the file's meaning, on its own for a database made before it.
QString serverReplaceStatement();

// The accent-folding function contains-searches and the duplicate indexes
// use on the server: lower case, accents removed, ñ kept.
inline constexpr const char* ServerFoldFunction = "orb_plegar";

} // namespace db
