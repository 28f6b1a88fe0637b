#pragma once

#include "platform/db/Value.h"

#include <QList>
#include <QString>

namespace db {
class Database;
}

namespace orb {

// The quick search of the main window's toolbar: one text, every kind of record.
enum class ClaseRapida { Propiedad = 0, Propietario = 1, Cliente = 2 };

struct Encontrado {
    ClaseRapida clase;
    bool alquiler = false;
    QString cod;
    QString texto; // what the list shows after the code
};

// One statement of the search: a kind's table, each bounded to limite rows.
struct ConsultaRapida {
    ClaseRapida clase;
    QString sql;
    db::Params params;
    bool ordenar = false; // its rows shown in the Spanish order of their text
};

// How a database answers the search: the file's text index, the file's
// tables without it (a file before that index), or a server's tables
// (its trigram indexes over the same folded texts; no index hints).
enum class FormaRapida { IndiceTexto, Tablas, Servidor };

// The statements for a typed text: properties by code or address, owners
// and clients by name or e-mail (accents and case ignored); owners and
// clients also by the start of a phone (when the text is a phone of three
// digits or more) and by an identity number. Nothing for one character;
// two find the references and names that begin with them; three or more
// are found anywhere in those texts. Every form finds the same rows; the
// statements come in the order of the kinds.
QList<ConsultaRapida> ConsultasRapidas(const QString& texto, int limite,
                                       FormaRapida forma = FormaRapida::IndiceTexto);
// Whether that database has the text index (an agency file does, a server not).
bool TieneIndiceTexto(db::Database& base);
FormaRapida FormaDe(db::Database& base);
// Their rows, grouped by kind in that order, each kind at most limite.
QList<Encontrado> BuscarRapido(db::Database& base, const QString& texto, int limite = 8);
// The rows of given statements, as BuscarRapido reads them: each record
// once, each kind at most limite.
QList<Encontrado> FilasRapidas(db::Database& base, const QList<ConsultaRapida>& consultas, int limite);

// The records last opened from the quick search on this seat (most recent first, at most 10).
QList<Encontrado> Recientes();
void RecordarReciente(const Encontrado& e);

} // namespace orb
