#pragma once

#include "ColumnasWeb.h"

#include <QString>

namespace mysql {
class MysqlError;
}

namespace orb {

struct AjustesWeb;

// Where a web server error happened: the pass and, for a refused value, the
// property whose row it was (empty when unknown).
struct LugarFalloWeb {
    Pasada pasada = Pasada::Venta;
    QString propiedad;
};

// A value of one row that the web table refused (too long, out of range, of
// the wrong type, missing): the run can name the property it came from.
bool EsFalloDeValor(const mysql::MysqlError& e);

// The web column the server named ("Data too long for column 'typees' at
// row 1" gives "typees"); empty when it named none.
QString ColumnaDelFalloWeb(const mysql::MysqlError& e);

// The error told in plain Spanish for the run's log: the setting, property
// or column it concerns, never the server's own words (those go to
// Orbalia.log, see RegistrarFalloWeb).
QString DescribirFalloWeb(const mysql::MysqlError& e, const AjustesWeb& ajustes, const LugarFalloWeb& lugar);

// Writes the server's own text to Orbalia.log, without the password.
void RegistrarFalloWeb(const mysql::MysqlError& e, const AjustesWeb& ajustes);

} // namespace orb
