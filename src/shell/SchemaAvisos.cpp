// The server's notices of changed rows: statement triggers that tell, once per
// statement, which table and which rows changed.

#include "SchemaAvisos.h"
#include "SchemaTablas.h"

#include "platform/pg/Connection.h"

namespace orb::schema {

QStringList tablasConAvisos() {
    return detail::tablasConVersion() << QStringLiteral("Visitas");
}

namespace {

// One notice per statement, never per row: a bulk import of thousands of rows
// sends the table alone, and past a few notices in one transaction so does
// every later statement, so a loop of single-row statements stays bounded too
// (the server sends identical notices of one transaction once). The counter
// is a setting local to the transaction. Only a few rows of the transition
// table are ever read, whatever the statement changed. An update keeps only
// its new rows (the old ones too would double what a bulk update sets aside):
// a row keeps its rowid, by which a window knows it even when its code changed.
QString funcionAvisos() {
    return QStringLiteral(
               "CREATE OR REPLACE FUNCTION orb_avisar_cambios() RETURNS trigger LANGUAGE plpgsql AS $$\n"
               "DECLARE\n"
               "  clave text := 'orbalia.avisos_' || TG_TABLE_NAME;\n"
               "  avisados integer := coalesce(nullif(current_setting(clave, true), ''), '0')::integer;\n"
               "  n integer := %1 + 1;\n"
               "  filas json;\n"
               "  carga text;\n"
               "BEGIN\n"
               "  IF TG_OP = 'DELETE' THEN\n"
               "    SELECT count(*) INTO n FROM (SELECT FROM viejas LIMIT %1 + 1) s;\n"
               "  ELSIF TG_OP <> 'TRUNCATE' THEN\n"
               "    SELECT count(*) INTO n FROM (SELECT FROM nuevas LIMIT %1 + 1) s;\n"
               "  END IF;\n"
               "  IF n = 0 THEN\n"
               "    RETURN NULL;\n"
               "  END IF;\n"
               "  IF n <= %1 AND avisados < %2 THEN\n"
               "    IF TG_OP = 'DELETE' THEN\n"
               "      SELECT json_agg(json_build_array(rowid, cod::text)) INTO filas FROM viejas;\n"
               "    ELSE\n"
               "      SELECT json_agg(json_build_array(rowid, cod::text)) INTO filas FROM nuevas;\n"
               "    END IF;\n"
               "    carga := json_build_object('tabla', TG_TABLE_NAME, 'filas', filas)::text;\n"
               "    IF octet_length(carga) > 7900 THEN\n"
               "      carga := NULL;\n"
               "    END IF;\n"
               "  END IF;\n"
               "  IF carga IS NULL THEN\n"
               "    carga := json_build_object('tabla', TG_TABLE_NAME)::text;\n"
               "  ELSE\n"
               "    PERFORM set_config(clave, (avisados + 1)::text, true);\n"
               "  END IF;\n"
               "  PERFORM pg_notify('%3', carga);\n"
               "  RETURN NULL;\n"
               "END $$")
        .arg(FilasPorAviso)
        .arg(AvisosConFilasPorTransaccion)
        .arg(QLatin1String(CanalAvisos));
}

} // namespace

void crearAvisosServidor(pg::Connection& c) {
    c.execute(funcionAvisos());
    // The server refuses transition tables on a trigger of several events: one per event.
    const struct {
        const char* nombre;
        const char* suceso;
    } disparadores[] = {
        {"alta", "INSERT ON %1 REFERENCING NEW TABLE AS nuevas"},
        {"cambio", "UPDATE ON %1 REFERENCING NEW TABLE AS nuevas"},
        {"baja", "DELETE ON %1 REFERENCING OLD TABLE AS viejas"},
        {"vaciado", "TRUNCATE ON %1"},
    };
    for (const QString& t : tablasConAvisos()) {
        const QString tabla = t.toLower();
        for (const auto& d : disparadores) {
            const QString nombre = QStringLiteral("%1_avisos_%2").arg(tabla, QLatin1String(d.nombre));
            c.execute(QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(nombre, tabla));
            c.execute(QStringLiteral("CREATE TRIGGER %1 AFTER %2 FOR EACH STATEMENT EXECUTE FUNCTION "
                                     "orb_avisar_cambios()")
                          .arg(nombre, QString::fromLatin1(d.suceso).arg(tabla)));
        }
    }
}

} // namespace orb::schema
