#include "SchemaTablas.h"

#include <QStringList>

namespace orb::schema::detail {

QList<Column> columnasPortalesPropiedad() {
    // Modificado: UTC, "YYYY-MM-DD HH:MM:SS", the form the portals read.
    Column portales = yesNo("Portales");
    portales.activada = true;
    return {portales, text("Modificado", 19)};
}

Column tipoPortales() {
    return text("TipoPortales", 30);
}

Column provinciaLocalidad() {
    return text("Provincia", 50);
}

QStringList disparadoresPortales() {
    // A portal ignores a property whose date did not change, so the time is
    // set by the database for every writer (the window's confirm with its
    // photographs, an import, a repair by hand) and always moves forward,
    // even for two changes within one second. An insert that brings its own
    // time (an office import) keeps it; an update that writes back the time it
    // read (a window's whole row) does not.
    return {
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS \"Propiedades_ModificadoAlta\" AFTER INSERT ON \"Propiedades\" "
            "WHEN NEW.Modificado IS NULL BEGIN UPDATE \"Propiedades\" SET Modificado = "
            "strftime('%Y-%m-%d %H:%M:%S', 'now') WHERE rowid = NEW.rowid; END"),
        QStringLiteral(
            "CREATE TRIGGER IF NOT EXISTS \"Propiedades_Modificado\" AFTER UPDATE ON \"Propiedades\" "
            "WHEN NEW.Modificado IS NULL OR OLD.Modificado IS NULL OR NEW.Modificado <= OLD.Modificado BEGIN "
            "UPDATE \"Propiedades\" SET Modificado = "
            "max(strftime('%Y-%m-%d %H:%M:%S', 'now'), coalesce(datetime(OLD.Modificado, '+1 second'), '')) "
            "WHERE rowid = NEW.rowid; END"),
    };
}

} // namespace orb::schema::detail
