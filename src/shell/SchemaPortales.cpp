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

QStringList disparadoresPortalesServidor() {
    // The same rule in the server's own language: set before the row is
    // written, the text in UTC, a second later than the old one at least.
    return {
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION orb_propiedades_modificado() RETURNS trigger LANGUAGE plpgsql AS $$\n"
            "DECLARE\n"
            "  ahora text := to_char(statement_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS');\n"
            "  siguiente text;\n"
            "BEGIN\n"
            "  IF TG_OP = 'INSERT' THEN\n"
            "    IF NEW.modificado IS NULL THEN NEW.modificado := ahora; END IF;\n"
            "  ELSIF NEW.modificado IS NULL OR OLD.modificado IS NULL\n"
            "        OR NEW.modificado COLLATE \"C\" <= OLD.modificado COLLATE \"C\" THEN\n"
            "    IF OLD.modificado COLLATE \"C\" ~ '^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$' THEN\n"
            "      siguiente := to_char(OLD.modificado::timestamp + interval '1 second', "
            "'YYYY-MM-DD HH24:MI:SS');\n"
            "    END IF;\n"
            "    NEW.modificado := greatest(ahora COLLATE \"C\", siguiente);\n"
            "  END IF;\n"
            "  RETURN NEW;\n"
            "END $$"),
        QStringLiteral(
            "CREATE OR REPLACE TRIGGER propiedades_modificado BEFORE INSERT OR UPDATE ON propiedades "
            "FOR EACH ROW EXECUTE FUNCTION orb_propiedades_modificado()"),
    };
}

} // namespace orb::schema::detail
