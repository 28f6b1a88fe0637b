#pragma once

// The text rules searches and sorting share with the SQL functions every
// connection registers (LIKE, sinacentos, the "es" collation).

#include <QString>

namespace db {

// Escapes % _ and \ so a user's text can be wrapped as LIKE '%text%' ESCAPE '\'.
QString escapeLike(const QString& text);
// "%" + escapeLike(text) + "%": the parameter for a "contains" criterion.
QString containsPattern(const QString& text);

// The text as the SQL function sinacentos() gives it: accents and other marks
// off Latin letters ("Lefèvre" → "Lefevre"), ñ and Ñ kept. A pattern folded
// with it matches sinacentos(column) whatever the accents on either side.
QString stripAccents(const QString& text);

// Spanish, case-insensitive ordering used by the "es" collation
// (<0, 0, >0). Accents sort with their letter, ñ after n.
int compareSpanish(const QString& a, const QString& b);

} // namespace db
