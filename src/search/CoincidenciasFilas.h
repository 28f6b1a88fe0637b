#pragma once

#include "Coincidencias.h"

// How the matching reads a property and a client's wishes from a row: the
// columns to select and their reading, shared by every statement that matches.
namespace orb::coincidencias::filas {

// A property's columns (the aliases p, t, l and a of UnionesOferta), in the order leerOferta reads them.
QString ColumnasOferta(); // an English seat gets the types' English names
extern const QString UnionesOferta;
// The same columns with the names left null: only for scoring, no joins needed.
extern const QString ColumnasOfertaSinNombres;
constexpr int NumColumnasOferta = 17;
Oferta leerOferta(const db::Row& r);

// A client's wishes (alias c) with the telephone, then the wanted places in one column.
extern const QString ColumnasDeseos;
constexpr int NumColumnasDeseos = 14;
constexpr int ColumnaTelefono = 12;
Deseos leerDeseos(const db::Row& r);

// A yes/no column: null is no.
bool siNo(const db::Value& v);

} // namespace orb::coincidencias::filas
