#pragma once

#include "platform/db/Value.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace db {
class Database;
}

namespace orb {

// The two passes of the web export: sales to webproperties, rentals to webrentals.
enum class Pasada { Venta, Alquiler };

// Fixed values written into every exported row.
inline constexpr const char16_t* ZonaWeb = u"Costa del Sol";
inline constexpr const char16_t* PaisEs = u"España";
inline constexpr const char16_t* PaisEn = u"Spain";
inline constexpr const char16_t* PaisFr = u"Espagne";
inline constexpr const char16_t* ProvinciaWeb = u"Málaga";

QString TablaWeb(Pasada p); // "webproperties" / "webrentals"

// Names of the web columns a pass writes, in order (48 for sales, 45 for rentals).
QStringList ColumnasWeb(Pasada p);

// "R"/"L" + web agency code + "-" + QuickID with at least five digits (never
// cut). Null when QuickID is null.
db::Value IdentWeb(Pasada p, const QString& codigoAgenciaWeb, const db::Value& quickId);

// Where a pass takes a column's value from ("Tipos.Nombre",
// "Propiedades.PrecioAlquiler"); empty for a fixed or made-up value.
QString OrigenColumnaWeb(Pasada p, const QString& columna);

// Where a web column takes its value: the property's web ident, its number,
// the web agency code, the pass's state text, a fixed text, a column of the
// selection, or zero.
enum class FuenteWeb { Ident, QuickId, Agencia, Estado, Fijo, Campo, Cero };
struct ColumnaWeb {
    FuenteWeb fuente;
    QString fijo; // the text of Fijo and Estado
};
// The sources of a pass's columns, in ColumnasWeb order.
QList<ColumnaWeb> FuentesWeb(Pasada p);

// The statement that selects a pass's properties (see LeerFilasWeb), with
// its values: column 0 QuickID, 1 Cod, 2..7 the photographs, then one column
// per Campo source in column order.
struct ConsultaFilasWeb {
    QString sql;
    db::Params params;
};
inline constexpr int PrimerCampoWeb = 8;
ConsultaFilasWeb SqlFilasWeb(Pasada p, const QString& codigoOficina);

// One property selected for the web: its row of values for ColumnasWeb (in
// that order), its code for the log and its six photo file names.
struct FilaWeb {
    QList<QVariant> valores;
    QString cod;
    QString ident;     // empty when the property has no number
    QStringList fotos; // Foto1..Foto6, "" for an empty slot
};

// The condition on Propiedades (alias p) that selects what a pass publishes,
// its values appended to params; the portal feed selects through it too.
QString CondicionWeb(Pasada p, const QString& codigoOficina, db::Params& params);

// The properties a pass publishes: this office's (Agencia = codigoOficina, or
// null when the office code is empty), marked for the web, on the pass's side
// and in state "En Venta" (sales) or "Libre" (rentals). Values are bound.
QList<FilaWeb> LeerFilasWeb(db::Database& agencia, Pasada p, const QString& codigoOficina,
                            const QString& codigoAgenciaWeb);

} // namespace orb
