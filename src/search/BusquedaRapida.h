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
};

// The statements for a typed text: properties by code, number or address;
// owners and clients by name, e-mail, phone (when it has three digits or
// more) and identity number. Names and addresses match whatever their
// accents. Nothing for a text shorter than two characters.
QList<ConsultaRapida> ConsultasRapidas(const QString& texto, int limite);
// Their rows, in the order of the kinds.
QList<Encontrado> BuscarRapido(db::Database& base, const QString& texto, int limite = 8);

// The records last opened from the quick search on this seat (most recent first, at most 10).
QList<Encontrado> Recientes();
void RecordarReciente(const Encontrado& e);

} // namespace orb
