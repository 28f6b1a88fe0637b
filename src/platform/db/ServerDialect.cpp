#include "ServerDialect.h"

namespace db {

QStringList serverDialectStatements() {
    const QString acentos = QStringLiteral("áàâäãåéèêëíìîïóòôöõúùûüçýÿÁÀÂÄÃÅÉÈÊËÍÌÎÏÓÒÔÖÕÚÙÛÜÇÝ");
    const QString bases = QStringLiteral("aaaaaaeeeeiiiiooooouuuucyyAAAAAAEEEEIIIIOOOOOUUUUCY");
    return {
        // Case ignored, accents only break ties, ñ after n.
        QStringLiteral("CREATE COLLATION IF NOT EXISTS es (provider = icu, locale = 'es-u-ks-level2', "
                       "deterministic = false)"),
        // The parameter's domain carries the C collation, so that the result does
        // not inherit a column's nondeterministic one, which LIKE refuses; lower()
        // works in the ICU root locale, which knows accented capitals.
        QStringLiteral("CREATE DOMAIN orb_plegable AS text COLLATE \"C\""),
        QStringLiteral(
            "CREATE FUNCTION orb_plegar(t orb_plegable) RETURNS text LANGUAGE sql IMMUTABLE STRICT "
            "PARALLEL SAFE RETURN translate(lower(t COLLATE \"und-x-icu\"), '%1', '%2')")
            .arg(acentos, bases),
        QStringLiteral("CREATE FUNCTION orb_minusculas(t orb_plegable) RETURNS text LANGUAGE sql IMMUTABLE "
                       "STRICT PARALLEL SAFE RETURN lower(t COLLATE \"und-x-icu\")"),
        QStringLiteral(
            "CREATE FUNCTION sinacentos(t orb_plegable) RETURNS text LANGUAGE sql IMMUTABLE STRICT "
            "PARALLEL SAFE RETURN translate(t, '%1', '%2')")
            .arg(acentos, bases),
        // The file's LIKE ignores case in every alphabet, and so does this one;
        // found before pg_catalog's, it also works on the Spanish collation.
        // Inside, pg_catalog's own LIKE is named, not this one.
        QStringLiteral(
            "CREATE FUNCTION orb_like(t text, p text) RETURNS boolean LANGUAGE sql IMMUTABLE STRICT "
            "PARALLEL SAFE RETURN orb_minusculas(t) OPERATOR(pg_catalog.~~) orb_minusculas(p)"),
        QStringLiteral(
            "CREATE FUNCTION orb_not_like(t text, p text) RETURNS boolean LANGUAGE sql IMMUTABLE "
            "STRICT PARALLEL SAFE RETURN orb_minusculas(t) OPERATOR(pg_catalog.!~~) orb_minusculas(p)"),
        QStringLiteral("CREATE OPERATOR ~~ (LEFTARG = text, RIGHTARG = text, FUNCTION = orb_like)"),
        QStringLiteral("CREATE OPERATOR !~~ (LEFTARG = text, RIGHTARG = text, FUNCTION = orb_not_like)"),
        // The file's unary + that keeps a column off its index: the same value,
        // with its collation.
        QStringLiteral("CREATE FUNCTION orb_mismo(t text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE "
                       "RETURN t"),
        QStringLiteral(
            "CREATE FUNCTION orb_mismo(b boolean) RETURNS boolean LANGUAGE sql IMMUTABLE PARALLEL SAFE "
            "RETURN b"),
        QStringLiteral("CREATE OPERATOR + (RIGHTARG = text, FUNCTION = orb_mismo)"),
        QStringLiteral("CREATE OPERATOR + (RIGHTARG = boolean, FUNCTION = orb_mismo)"),
        QStringLiteral(
            "CREATE FUNCTION likesinacentos(p text, t text) RETURNS boolean LANGUAGE sql IMMUTABLE "
            "STRICT PARALLEL SAFE RETURN orb_plegar(t) OPERATOR(pg_catalog.~~) orb_plegar(p)"),
        QStringLiteral("CREATE FUNCTION likesinacentos(p text, t text, e text) RETURNS boolean LANGUAGE sql "
                       "IMMUTABLE STRICT PARALLEL SAFE RETURN orb_plegar(t) OPERATOR(pg_catalog.~~) "
                       "pg_catalog.like_escape(orb_plegar(p), e)"),
        QStringLiteral("CREATE FUNCTION ifnull(a anycompatible, b anycompatible) RETURNS anycompatible "
                       "LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$SELECT coalesce(a, b)$$"),
        QStringLiteral(
            "CREATE FUNCTION orb_concatenar(acumulado text, valor text, separador text) RETURNS text "
            "LANGUAGE sql IMMUTABLE PARALLEL SAFE RETURN CASE WHEN valor IS NULL THEN acumulado "
            "WHEN acumulado IS NULL THEN valor ELSE acumulado || separador || valor END"),
        QStringLiteral("CREATE FUNCTION orb_concatenar(acumulado text, valor text) RETURNS text LANGUAGE sql "
                       "IMMUTABLE PARALLEL SAFE RETURN orb_concatenar(acumulado, valor, ',')"),
        QStringLiteral("CREATE AGGREGATE group_concat(text) (SFUNC = orb_concatenar, STYPE = text)"),
        QStringLiteral("CREATE AGGREGATE group_concat(text, text) (SFUNC = orb_concatenar, STYPE = text)"),
        serverReplaceStatement(),
    };
}

QString serverReplaceStatement() {
    // The file's replace works on the characters as stored; the server's
    // refuses a Spanish-collated text. Found before pg_catalog's, as LIKE is.
    return QStringLiteral(
        "CREATE OR REPLACE FUNCTION replace(t text, desde text, hasta text) RETURNS text LANGUAGE sql "
        "IMMUTABLE STRICT PARALLEL SAFE RETURN pg_catalog.replace(t COLLATE \"C\", desde, hasta)");
}

} // namespace db
