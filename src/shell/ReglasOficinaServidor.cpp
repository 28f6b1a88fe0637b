#include "ReglasOficinaServidor.h"
#include "OfficeRules.h"

#include "platform/pg/Connection.h"
#include "platform/pg/PgError.h"

#include <QCoreApplication>
#include <libpq-fe.h>

#include <stdexcept>

namespace orb::schema {

namespace {

// A name or a text as the server must read it inside a statement that takes
// no bound values (CREATE ROLE, GRANT).
QString identificador(pg::Connection& c, const QString& nombre) {
    const QByteArray n = nombre.toUtf8();
    char* e = PQescapeIdentifier(c.handle(), n.constData(), size_t(n.size()));
    if (!e)
        throw std::runtime_error(
            QCoreApplication::translate("ReglasOficinaServidor", "El nombre %1 no es válido en el servidor.")
                .arg(nombre)
                .toStdString());
    const QString out = QString::fromUtf8(e);
    PQfreemem(e);
    return out;
}

QString literal(pg::Connection& c, const QString& texto) {
    const QByteArray t = texto.toUtf8();
    char* e = PQescapeLiteral(c.handle(), t.constData(), size_t(t.size()));
    if (!e)
        throw std::runtime_error(
            QCoreApplication::translate("ReglasOficinaServidor",
                                        "No se puede escribir el texto para el servidor.")
                .toStdString());
    const QString out = QString::fromUtf8(e);
    PQfreemem(e);
    return out;
}

} // namespace

QStringList tablasRegistrosOficina() {
    return {QStringLiteral("propiedades"), QStringLiteral("propietarios"), QStringLiteral("clientes")};
}

QStringList tablasCatalogo() {
    return {QStringLiteral("tipos"), QStringLiteral("localidades"), QStringLiteral("areas"),
            QStringLiteral("agentes")};
}

QString grupoAgentes(pg::Connection& c) {
    // Role names are the cluster's, not the database's: one group per agency database.
    return (c.scalar(QStringLiteral("SELECT current_database()")).toString() + QStringLiteral("_agentes"))
        .left(63);
}

void crearReglasOficina(pg::Connection& c) {
    c.execute(QStringLiteral("CREATE TABLE IF NOT EXISTS orbalia_oficinas (oficina text PRIMARY KEY, "
                             "principal boolean NOT NULL DEFAULT false)"));
    // The signed-in agent's office: null for a role that is no active agent.
    // SECURITY DEFINER reads Agentes whatever the caller may read, and
    // session_user is the role that signed in (current_user would be the owner).
    c.execute(QStringLiteral(
        "CREATE OR REPLACE FUNCTION orbalia_oficina() RETURNS text LANGUAGE sql STABLE SECURITY DEFINER "
        "SET search_path FROM CURRENT AS $$ SELECT CAST(oficina AS text) COLLATE \"C\" FROM agentes WHERE "
        "CAST(usuario AS text) COLLATE \"C\" = CAST(session_user AS text) AND activo LIMIT 1 $$"));
    c.execute(QStringLiteral(
        "CREATE OR REPLACE FUNCTION orbalia_principal() RETURNS boolean LANGUAGE sql STABLE SECURITY DEFINER "
        "SET search_path FROM CURRENT AS $$ SELECT coalesce((SELECT principal FROM orbalia_oficinas WHERE "
        "oficina COLLATE \"C\" = orbalia_oficina()), false) $$"));
    // Rows of an office that is not on this server are those the office
    // exchange brings from an office that stays on its file: whichever seat
    // imports them writes them (they never travel back from here, and the
    // next import puts back the file's). The office's own rows are its alone.
    c.execute(QStringLiteral(
        "CREATE OR REPLACE FUNCTION orbalia_escribe_oficina(codigo text) RETURNS boolean LANGUAGE sql STABLE "
        "SECURITY DEFINER SET search_path FROM CURRENT AS $$ SELECT orbalia_oficina() IS NOT NULL AND "
        "codigo IS NOT NULL AND codigo <> '' AND (codigo COLLATE \"C\" = orbalia_oficina() OR NOT EXISTS "
        "(SELECT 1 FROM orbalia_oficinas WHERE oficina COLLATE \"C\" = codigo COLLATE \"C\")) $$"));
    // The catalogues are the principal office's; when that office stays on
    // its file, they come from its exchange file, imported at any seat. The
    // agents never: an agent's row says which office its role writes for.
    c.execute(QStringLiteral(
        "CREATE OR REPLACE FUNCTION orbalia_escribe_catalogo(tabla text) RETURNS boolean LANGUAGE sql STABLE "
        "SECURITY DEFINER SET search_path FROM CURRENT AS $$ SELECT orbalia_principal() OR (tabla <> "
        "'agentes' AND orbalia_oficina() IS NOT NULL AND NOT EXISTS (SELECT 1 FROM orbalia_oficinas WHERE "
        "principal)) $$"));
    // The old row's office, which a policy's USING would only hide (an UPDATE
    // or DELETE of someone else's row would change nothing, silently): a
    // trigger refuses it with the program's message. It acts only where
    // row-level security acts, so the owner (installer, office copy) is free.
    c.execute(
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION orbalia_regla_registros() RETURNS trigger LANGUAGE plpgsql AS $$ "
            "BEGIN IF row_security_active(TG_RELID) AND ("
            "(TG_OP <> 'INSERT' AND NOT orbalia_escribe_oficina(CAST(OLD.agencia AS text))) OR "
            "(TG_OP <> 'DELETE' AND NOT orbalia_escribe_oficina(CAST(NEW.agencia AS text)))) THEN "
            "RAISE EXCEPTION USING ERRCODE = '42501', MESSAGE = %1; END IF; "
            "IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $$")
            .arg(literal(c, QString::fromUtf8(MensajeOtraOficina))));
    c.execute(
        QStringLiteral(
            "CREATE OR REPLACE FUNCTION orbalia_regla_catalogos() RETURNS trigger LANGUAGE plpgsql AS $$ "
            "BEGIN IF row_security_active(TG_RELID) AND NOT orbalia_escribe_catalogo(TG_TABLE_NAME) THEN "
            "RAISE EXCEPTION USING ERRCODE = '42501', MESSAGE = %1; END IF; "
            "IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $$")
            .arg(literal(c, QString::fromUtf8(MensajeSoloOficinaPrincipal))));
    const auto proteger = [&](const QString& tabla, const QString& condicion, const QString& funcion) {
        c.execute(QStringLiteral("ALTER TABLE %1 ENABLE ROW LEVEL SECURITY").arg(tabla));
        for (const char* p : {"orbalia_lectura", "orbalia_alta", "orbalia_cambio", "orbalia_baja"})
            c.execute(QStringLiteral("DROP POLICY IF EXISTS %1 ON %2").arg(QLatin1String(p), tabla));
        c.execute(QStringLiteral("CREATE POLICY orbalia_lectura ON %1 FOR SELECT USING (true)").arg(tabla));
        c.execute(QStringLiteral("CREATE POLICY orbalia_alta ON %1 FOR INSERT WITH CHECK (%2)")
                      .arg(tabla, condicion));
        c.execute(QStringLiteral("CREATE POLICY orbalia_cambio ON %1 FOR UPDATE USING (true) WITH CHECK (%2)")
                      .arg(tabla, condicion));
        c.execute(QStringLiteral("CREATE POLICY orbalia_baja ON %1 FOR DELETE USING (true)").arg(tabla));
        c.execute(QStringLiteral("DROP TRIGGER IF EXISTS orbalia_regla_oficina ON %1").arg(tabla));
        c.execute(QStringLiteral("CREATE TRIGGER orbalia_regla_oficina BEFORE INSERT OR UPDATE OR DELETE ON "
                                 "%1 FOR EACH ROW EXECUTE FUNCTION %2()")
                      .arg(tabla, funcion));
    };
    for (const QString& t : tablasRegistrosOficina())
        proteger(t, QStringLiteral("orbalia_escribe_oficina(CAST(agencia AS text))"),
                 QStringLiteral("orbalia_regla_registros"));
    for (const QString& t : tablasCatalogo())
        proteger(t, QStringLiteral("orbalia_escribe_catalogo(%1)").arg(literal(c, t)),
                 QStringLiteral("orbalia_regla_catalogos"));
    concederAgentes(c);
}

void concederAgentes(pg::Connection& c) {
    const QString grupo = grupoAgentes(c);
    if (c.scalar(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"), {grupo}).toInt() == 0)
        return;
    const QString g = identificador(c, grupo);
    const QString esquema = identificador(c, c.scalar(QStringLiteral("SELECT current_schema()")).toString());
    c.execute(QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %1 TO %2")
                  .arg(esquema, g));
    c.execute(QStringLiteral("GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA %1 TO %2").arg(esquema, g));
    // The installer's tables are the owner's alone.
    c.execute(QStringLiteral("REVOKE INSERT, UPDATE, DELETE ON orbalia_version, orbalia_agencia, "
                             "orbalia_oficinas FROM %1")
                  .arg(g));
}

void crearAgente(pg::Connection& c, const AgenteNuevo& a) {
    const QString usuario = a.usuario.trimmed();
    const QString oficina = a.oficina.trimmed();
    if (usuario.isEmpty())
        throw std::runtime_error(
            QCoreApplication::translate("ReglasOficinaServidor", "Falta el usuario del agente (--agente).")
                .toStdString());
    if (oficina.isEmpty())
        throw std::runtime_error(
            QCoreApplication::translate("ReglasOficinaServidor", "Falta la oficina del agente (--oficina).")
                .toStdString());
    if (a.clave.isEmpty())
        throw std::runtime_error(
            QCoreApplication::translate("ReglasOficinaServidor", "Falta la contraseña del agente.")
                .toStdString());
    const QString grupo = grupoAgentes(c);
    const QString g = identificador(c, grupo);
    if (c.scalar(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"), {grupo}).toInt() == 0)
        c.execute(QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(g));
    c.execute(
        QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2")
            .arg(identificador(c, c.scalar(QStringLiteral("SELECT current_database()")).toString()), g));
    c.execute(QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2")
                  .arg(identificador(c, c.scalar(QStringLiteral("SELECT current_schema()")).toString()), g));
    concederAgentes(c);
    // The password travels hashed, never as typed.
    const QByteArray u = usuario.toUtf8(), k = a.clave.toUtf8();
    char* hash = PQencryptPasswordConn(c.handle(), k.constData(), u.constData(), nullptr);
    if (!hash)
        throw std::runtime_error(
            QCoreApplication::translate("ReglasOficinaServidor", "No se puede cifrar la contraseña: %1")
                .arg(QString::fromUtf8(PQerrorMessage(c.handle())))
                .toStdString());
    const QString cifrada = QString::fromUtf8(hash);
    PQfreemem(hash);
    const QString rol = identificador(c, usuario);
    const bool existe =
        c.scalar(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"), {usuario}).toInt() > 0;
    c.execute(
        QStringLiteral("%1 ROLE %2 LOGIN PASSWORD %3")
            .arg(existe ? QStringLiteral("ALTER") : QStringLiteral("CREATE"), rol, literal(c, cifrada)));
    c.execute(QStringLiteral("GRANT %1 TO %2").arg(g, rol));
    c.execute(QStringLiteral("INSERT INTO orbalia_oficinas (oficina, principal) VALUES (?, ?) ON CONFLICT "
                             "(oficina) DO UPDATE SET principal = orbalia_oficinas.principal OR "
                             "EXCLUDED.principal"),
              {oficina, a.principal});
    const QString nombre = a.nombre.trimmed().isEmpty() ? usuario : a.nombre.trimmed();
    if (c.scalar(QStringLiteral("SELECT count(*) FROM agentes WHERE usuario = ?"), {usuario}).toInt() > 0) {
        c.execute(QStringLiteral("UPDATE agentes SET nombre = ?, oficina = ?, email = ?, activo = true, "
                                 "version = coalesce(version, 0) + 1 WHERE usuario = ?"),
                  {nombre, oficina, a.email, usuario});
        return;
    }
    // Catalogue codes are numbers: the first free one (the window's counter skips those in use).
    const qint64 cod = c.scalar(QStringLiteral("SELECT coalesce(max(cod), 0) + 1 FROM agentes")).toLongLong();
    c.execute(
        QStringLiteral("INSERT INTO agentes (cod, nombre, oficina, email, activo, usuario) VALUES (?, ?, "
                       "?, ?, true, ?)"),
        {cod, nombre, oficina, a.email, usuario});
}

} // namespace orb::schema
