#include "SchemaTablas.h"

namespace orb::schema::detail {

// The web export's selection (this office's web-marked properties of one side
// in its published state, in rowid order): with every test an equality on the
// index, its entries come in rowid order, so the read neither sorts nor reads
// the properties it does not publish.
QList<Index> indicesExportacionWeb() {
    return {
        {QStringLiteral("Propiedades_Web"), QStringLiteral("Propiedades"),
         QStringLiteral("ExportacionWeb, Alquiler, Estado, Agencia")},
    };
}

} // namespace orb::schema::detail
