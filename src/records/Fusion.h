#pragma once

#include "platform/db/Value.h"

#include <QList>
#include <QString>
#include <array>

class QWidget;

namespace db {
class Database;
}

namespace orb {

struct AppContext;

enum class TablaFusion { Propietarios, Clientes };

// A column of another table that holds an owner's or a client's code.
struct Referencia {
    TablaFusion de;
    const char* tabla;
    const char* columna;
    // Columns that, with the code, make a row unique (the pair tables), or
    // that make two rows the same thing twice (places): the removed record's
    // row goes when the kept one has it already. Null: every row moves.
    const char* mismaFila;
    // A column that copies the record's name beside its code, or null.
    const char* nombre;
};

// Every reference to an owner or a client: a merge moves them all.
inline constexpr std::array<Referencia, 7> Referencias = {{
    {TablaFusion::Propietarios, "Propiedades", "CodPropietario", nullptr, nullptr},
    {TablaFusion::Clientes, "Actividades", "CodCliente", nullptr, "Cliente"},
    {TablaFusion::Clientes, "ClientesZonas", "CodCliente", "CodLocalidad, CodArea", nullptr},
    {TablaFusion::Clientes, "PropiedadesEnviadas", "CodCliente", "CodPropiedad", nullptr},
    {TablaFusion::Clientes, "PropiedadesDescartadas", "CodCliente", "CodPropiedad", nullptr},
    {TablaFusion::Clientes, "PropiedadesVistas", "CodCliente", "CodPropiedad", nullptr},
    {TablaFusion::Clientes, "Visitas", "CodCliente", nullptr, nullptr},
}};

QString NombreTabla(TablaFusion t);

// A field of the merged record and the value it keeps.
struct CampoFusion {
    QString campo;
    QString rotulo;
    db::Value queda;         // the kept record's value
    db::Value sale;          // the removed record's value
    bool delQueSale = false; // the value kept is the removed record's
};

// The fields the agent chooses between, with their values in both records
// and the default choice: the non-empty one, else the most recent record's.
QList<CampoFusion> CamposFusion(db::Database& base, TablaFusion t, const QString& queda, const QString& sale);

// In one transaction: the kept record takes the chosen values and a line in
// its comments about the merge, every reference to the removed record moves
// to the kept one, and the removed record is deleted. Both must be of
// oficina. Throws db::DbError; nothing is changed then.
void Fusionar(db::Database& base, TablaFusion t, const QString& oficina, const QString& queda,
              const QString& sale, const QList<CampoFusion>& campos);

// The whole merge as the owner and client windows start it: checks, the
// choice of values, the merge and its outcome told. True when merged.
bool FusionarConDialogo(AppContext& ctx, QWidget* parent, TablaFusion t, const QString& queda,
                        const QString& sale);

} // namespace orb
