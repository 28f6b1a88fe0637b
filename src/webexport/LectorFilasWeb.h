#pragma once

#include "ColumnasWeb.h"

#include <memory>

namespace db {
class Cursor;
}
namespace mysql {
class BulkRows;
}

namespace orb {

// The properties of a pass (those of LeerFilasWeb, in its order) read one at
// a time, each web row appended to a batch straight from the statement: the
// export sends them without copying every value through QVariants.
class LectorFilasWeb {
public:
    LectorFilasWeb(db::Database& agencia, Pasada p, const QString& codigoOficina,
                   const QString& codigoAgenciaWeb);
    ~LectorFilasWeb();

    // How many properties the pass publishes, before reading them (progress).
    int total() const { return total_; }
    // The next property; false past the last. Throws db::DbError.
    bool siguiente();
    // Its web row, in ColumnasWeb order.
    void anadirA(mysql::BulkRows& lote) const;
    const QString& cod() const { return cod_; }
    const QString& ident() const { return ident_; } // empty without a number
    QStringList fotos() const;                      // Foto1..Foto6, "" for an empty slot

private:
    Pasada pasada_;
    QString agenciaWeb_;
    QList<ColumnaWeb> fuentes_;
    std::unique_ptr<db::Cursor> cursor_;
    int total_ = 0;
    QString cod_, ident_;
};

} // namespace orb
