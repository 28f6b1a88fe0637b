#include "Schema.h"
#include "ConfigStore.h"
#include "SchemaBusquedaRapida.h"
#include "SchemaTablas.h"

#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <optional>
#include <vector>

namespace orb::schema {

using namespace detail;

namespace detail {

// One column's definition. The length check is written as length(col) <= n so
// that the data-access layer recognises a too-long text (its error 3163); the
// date check refuses anything that is not a real ISO date ('' and 2009-02-31
// included), which is what the old engine's date conversion refused. The
// server's own types check both.
QString columnSql(const Column& c, bool forAlter, Dialect dialect) {
    const QString& n = c.name;
    QString sql = n + u' ';
    if (dialect == Dialect::Postgres)
        sql += serverType(c);
    else
        switch (c.kind) {
        case Kind::Text:
            sql += QStringLiteral("VARCHAR(%1) COLLATE es CHECK (length(%2) <= %1)").arg(c.size).arg(n);
            break;
        case Kind::Memo:
            sql += QStringLiteral("TEXT COLLATE es");
            break;
        case Kind::Small:
            sql += QStringLiteral("SMALLINT");
            break;
        case Kind::Long:
            sql += QStringLiteral("INTEGER");
            break;
        case Kind::Currency:
            sql += QStringLiteral("CURRENCY");
            break;
        case Kind::Double:
            sql += QStringLiteral("DOUBLE");
            break;
        case Kind::Date:
            sql += QStringLiteral("DATE CHECK (%1 IS NULL OR (typeof(%1) = 'text' AND "
                                  "date(%1, '+0 days') IS substr(%1, 1, 10)))")
                       .arg(n);
            break;
        case Kind::Bool:
            sql += QStringLiteral("BOOLEAN DEFAULT %2 CHECK (%1 IN (0, 1))").arg(n).arg(c.activada ? 1 : 0);
            break;
        }
    // ALTER TABLE ADD COLUMN cannot add NOT NULL without a default; existing
    // rows keep a null there.
    if (c.notNull && !forAlter)
        sql += QStringLiteral(" NOT NULL");
    return sql;
}

// The server folds unquoted names to lower case: a quoted name is written as
// the statements that leave it unquoted will find it.
QString quoted(const QString& name, Dialect dialect) {
    return u'"' + (dialect == Dialect::Postgres ? name.toLower() : name) + u'"';
}

// prefijo: "IF NOT EXISTS alias." to create it in an attached database when missing.
QString createTableSql(const Table& t, const QString& prefijo, Dialect dialect) {
    QStringList parts;
    if (dialect == Dialect::Postgres)
        parts << serverKey(t);
    else if (!t.tail.isEmpty())
        parts << t.tail;
    for (const Column& c : t.columns)
        parts << columnSql(c, false, dialect);
    return QStringLiteral("CREATE TABLE %1%2 (\n  %3\n)")
        .arg(prefijo, quoted(t.name, dialect), parts.join(QStringLiteral(",\n  ")));
}

QString indexExpression(const QString& columns, Dialect dialect) {
    QString out = columns;
    if (dialect == Dialect::Postgres) {
        // The server refuses replace() and trim() on a column of the
        // nondeterministic "es": the compared forms are made from its bytes.
        static const QRegularExpression columna(
            QStringLiteral("\\b(replace|trim|lower|upper)\\((\\w+)([,)])"));
        out.replace(columna, QStringLiteral("\\1(\\2 COLLATE \"C\"\\3"));
    }
    return out;
}

QString createIndexSql(const Index& i, Dialect dialect) {
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
        .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(), quoted(i.name, dialect),
             quoted(i.table, dialect), indexExpression(i.columns, dialect));
}

} // namespace detail

namespace {

bool objectExists(db::Database& database, const QString& type, const QString& name) {
    return database
               .scalar(QStringLiteral(
                           "SELECT count(*) FROM sqlite_master WHERE type = ? AND name = ? COLLATE NOCASE"),
                       {type, name})
               .toInt() > 0;
}

QSet<QString> columnNames(db::Database& database, const QString& table) {
    QSet<QString> names;
    const auto rows = database.query(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table});
    for (const db::Row& r : rows)
        names.insert(r.value(0).toString().toLower());
    return names;
}

void createAll(db::Database& database, const QList<Table>& tables, const QList<Index>& indexes,
               const QList<View>& views) {
    for (const Table& t : tables)
        database.executeScript(createTableSql(t));
    for (const Index& i : indexes)
        database.executeScript(createIndexSql(i));
    for (const View& v : views)
        database.executeScript(QStringLiteral("CREATE VIEW %1 AS %2").arg(quoted(v.name), v.select));
}

// Adds the columns a table lacks; returns what it did.
QStringList addMissingColumns(db::Database& database, const QString& table, const QList<Column>& columns) {
    QStringList done;
    const QSet<QString> have = columnNames(database, table);
    for (const Column& c : columns) {
        if (have.contains(c.name.toLower()))
            continue;
        database.executeScript(
            QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted(table), columnSql(c, true)));
        done << QCoreApplication::translate("Schema", "campo %1.%2 añadido").arg(table, c.name);
    }
    return done;
}

// Adds whatever the structure of CurrentVersion has and the database lacks;
// changes nothing that is there. Returns what it did, one line per change.
QStringList completeStructure(db::Database& database, const MigrationOptions& options) {
    QStringList done;
    static const QSet<QString> coded = {QStringLiteral("Propiedades"), QStringLiteral("Propietarios"),
                                        QStringLiteral("Clientes")};
    for (const Table& t : agencyTables()) {
        if (!objectExists(database, QStringLiteral("table"), t.name)) {
            database.executeScript(createTableSql(t));
            done << QCoreApplication::translate("Schema", "tabla %1 creada").arg(t.name);
            continue;
        }
        const QSet<QString> have = columnNames(database, t.name);
        for (const Column& c : t.columns) {
            if (have.contains(c.name.toLower()))
                continue;
            database.executeScript(
                QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted(t.name), columnSql(c, true)));
            done << QCoreApplication::translate("Schema", "campo %1.%2 añadido").arg(t.name, c.name);
            if (c.name == u"Agencia" && coded.contains(t.name) && !options.codigoOficina.isEmpty()) {
                database.execute(QStringLiteral("UPDATE %1 SET Agencia = ?").arg(quoted(t.name)),
                                 {options.codigoOficina});
                done << QStringLiteral("%1.Agencia = '%2'").arg(t.name, options.codigoOficina);
            }
        }
    }
    for (const Index& i : agencyIndexes()) {
        if (objectExists(database, QStringLiteral("index"), i.name))
            continue;
        database.executeScript(createIndexSql(i));
        done << QCoreApplication::translate("Schema", "índice %1 creado").arg(i.name);
    }
    // Views hold no data: they are always written again, so they match the tables.
    for (const View& v : agencyViews()) {
        database.executeScript(QStringLiteral("DROP VIEW IF EXISTS %1").arg(quoted(v.name)));
        database.executeScript(QStringLiteral("CREATE VIEW %1 AS %2").arg(quoted(v.name), v.select));
    }
    done << QCoreApplication::translate("Schema", "consultas guardadas escritas de nuevo");
    return done;
}

// One migration step: brings version `from` to from + 1. Steps must be
// idempotent: a step may meet structure that a later definition already added.
struct Step {
    int from;
    std::function<QStringList(db::Database&, const MigrationOptions&)> apply;
};

QStringList noRecordedChange(db::Database&, const MigrationOptions&) {
    return {};
}

// 10 → 11: the clients' wishes and the tables of matching. Creates what the
// lists of version 11 hold and the database lacks, so the step can meet
// structure a later definition already added (9 → 10 completes everything).
QStringList version11(db::Database& database, const MigrationOptions&) {
    QStringList done;
    // The search index with the text columns the searches test; it replaces
    // the narrower one it starts with.
    if (!objectExists(database, QStringLiteral("index"), QStringLiteral("Propiedades_BusquedaTexto"))) {
        database.executeScript(QStringLiteral("CREATE INDEX \"Propiedades_BusquedaTexto\" ON \"Propiedades\" "
                                              "(Estado, Alquiler, Dormitorios, Cod, Direccion, Agente)"));
        done << QCoreApplication::translate("Schema", "índice Propiedades_BusquedaTexto creado");
    }
    database.executeScript(QStringLiteral("DROP INDEX IF EXISTS \"Propiedades_Busqueda\""));
    const QSet<QString> have = columnNames(database, QStringLiteral("Clientes"));
    for (const Column& c : columnasPreferencias()) {
        if (have.contains(c.name.toLower()))
            continue;
        database.executeScript(
            QStringLiteral("ALTER TABLE \"Clientes\" ADD COLUMN %1").arg(columnSql(c, true)));
        done << QCoreApplication::translate("Schema", "campo Clientes.%1 añadido").arg(c.name);
    }
    for (const Table& t : tablasCoincidencias()) {
        if (objectExists(database, QStringLiteral("table"), t.name))
            continue;
        database.executeScript(createTableSql(t));
        done << QCoreApplication::translate("Schema", "tabla %1 creada").arg(t.name);
    }
    for (const Index& i : indicesVersion11()) {
        if (objectExists(database, QStringLiteral("index"), i.name))
            continue;
        database.executeScript(createIndexSql(i));
        done << QCoreApplication::translate("Schema", "índice %1 creado").arg(i.name);
    }
    return done;
}

// 11 → 12: the row versions of the tables the record windows edit.
QStringList version12(db::Database& database, const MigrationOptions&) {
    QStringList done;
    const Column version = columnaVersion();
    for (const QString& tabla : tablasConVersion()) {
        if (columnNames(database, tabla).contains(version.name.toLower()))
            continue;
        database.executeScript(
            QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted(tabla), columnSql(version, true)));
        done << QCoreApplication::translate("Schema", "campo %1.%2 añadido").arg(tabla, version.name);
    }
    return done;
}

// 12 → 13: the visits. Creates the table and indexes the database lacks.
QStringList versionVisitas(db::Database& database, const MigrationOptions&) {
    QStringList done;
    if (!objectExists(database, QStringLiteral("table"), visitas().name)) {
        database.executeScript(createTableSql(visitas()));
        done << QCoreApplication::translate("Schema", "tabla Visitas creada");
    }
    for (const Index& i : indicesVisitas()) {
        if (objectExists(database, QStringLiteral("index"), i.name))
            continue;
        database.executeScript(createIndexSql(i));
        done << QCoreApplication::translate("Schema", "índice %1 creado").arg(i.name);
    }
    return done;
}

// 13 → 14: the indexes that find the same person twice.
QStringList versionDuplicados(db::Database& database, const MigrationOptions&) {
    return pasoDuplicados(database);
}

// 14 → 15: the portal feed. Properties already published on the web go to
// the portals too; the others start off them. Every property starts with
// the upgrade's time as its last change, before the triggers exist.
QStringList versionPortales(db::Database& database, const MigrationOptions&) {
    QStringList done =
        addMissingColumns(database, QStringLiteral("Propiedades"), columnasPortalesPropiedad());
    // The step's own line tells whether the column was new.
    if (done.contains(QCoreApplication::translate("Schema", "campo %1.%2 añadido")
                          .arg(QStringLiteral("Propiedades"), QStringLiteral("Portales"))))
        database.execute(QStringLiteral("UPDATE \"Propiedades\" SET Portales = coalesce(ExportacionWeb, 0)"));
    database.execute(QStringLiteral("UPDATE \"Propiedades\" SET Modificado = strftime('%Y-%m-%d %H:%M:%S', "
                                    "'now') WHERE Modificado IS NULL"));
    done += addMissingColumns(database, QStringLiteral("Tipos"), {tipoPortales()});
    done += addMissingColumns(database, QStringLiteral("Localidades"), {provinciaLocalidad()});
    for (const QString& sql : disparadoresPortales())
        database.executeScript(sql);
    return done;
}

// 15 → 16: the index of the web export's read.
QStringList versionIndiceWeb(db::Database& database, const MigrationOptions&) {
    QStringList done;
    for (const Index& i : indicesExportacionWeb()) {
        if (objectExists(database, QStringLiteral("index"), i.name))
            continue;
        database.executeScript(createIndexSql(i));
        done << QCoreApplication::translate("Schema", "índice %1 creado").arg(i.name);
    }
    return done;
}

// 16 → 17: the quick search's text index, filled from the rows stored.
QStringList versionBusquedaRapida(db::Database& database, const MigrationOptions&) {
    return pasoBusquedaRapida(database);
}

// 17 → 18: the agents' catalogue, and the agent of each new activity line and sent match.
QStringList versionAgentes(db::Database& database, const MigrationOptions&) {
    QStringList done;
    if (!objectExists(database, QStringLiteral("table"), agentes().name)) {
        database.executeScript(createTableSql(agentes()));
        done << QCoreApplication::translate("Schema", "tabla Agentes creada");
    }
    for (const Index& i : indicesAgentes()) {
        if (objectExists(database, QStringLiteral("index"), i.name))
            continue;
        database.executeScript(createIndexSql(i));
        done << QCoreApplication::translate("Schema", "índice %1 creado").arg(i.name);
    }
    for (const auto& [tabla, columna] : columnasAgente())
        done += addMissingColumns(database, tabla, {columna});
    return done;
}

// The table of steps, indexed by the version they start from. Versions before
// 9 left no structure of their own to convert; 9 → 10 completes the current
// structure; each later step adds what its version brought.
const std::vector<Step>& steps() {
    static const std::vector<Step> table = [] {
        std::vector<Step> s;
        for (int v = 0; v < 9; ++v)
            s.push_back({v, noRecordedChange});
        s.push_back({9, completeStructure});
        s.push_back({10, version11});
        s.push_back({11, version12});
        s.push_back({12, versionVisitas});
        s.push_back({13, versionDuplicados});
        s.push_back({14, versionPortales});
        s.push_back({15, versionIndiceWeb});
        s.push_back({16, versionBusquedaRapida});
        s.push_back({17, versionAgentes});
        return s;
    }();
    return table;
}

} // namespace

bool isEmptyDatabase(db::Database& database) {
    return database
               .scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_%' "
                                      "ESCAPE '\\'"))
               .toInt() == 0;
}

void createAgencyDatabase(db::Database& database) {
    db::runInTransaction(database, [&] {
        createAll(database, agencyTables(), agencyIndexes(), agencyViews());
        for (const QString& sql : disparadoresPortales())
            database.executeScript(sql);
        for (const QString& sql : crearIndicesTexto())
            database.executeScript(sql);
        GuardarValoresPorDefecto(database);
        database.setUserVersion(CurrentVersion);
    });
}

void createExportSchema(db::Database& database) {
    db::runInTransaction(database, [&] {
        createAll(database, exchangeTables(), exchangeIndexes(), {});
        database.setUserVersion(CurrentVersion);
    });
}

void createExchangeStamp(db::Database& database, const QString& schemaName) {
    database.executeScript(
        createTableSql(intercambio(), QStringLiteral("IF NOT EXISTS %1.").arg(schemaName)));
}

void createExchangeAgents(db::Database& database, const QString& schemaName) {
    database.executeScript(
        createTableSql(agentesIntercambio(), QStringLiteral("IF NOT EXISTS %1.").arg(schemaName)));
}

QStringList migrate(db::Database& database) {
    return migrate(database, MigrationOptions{});
}

QStringList migrate(db::Database& database, const MigrationOptions& options) {
    static_assert(CurrentVersion == 18, "add the step from the previous version to steps()");
    int version = database.userVersion();
    if (version >= CurrentVersion)
        return {};
    if (version <= 0 && isEmptyDatabase(database)) {
        createAgencyDatabase(database);
        return {QCoreApplication::translate("Schema", "Base de datos creada en la versión %1")
                    .arg(CurrentVersion)};
    }
    if (version < 0)
        version = 0;
    QStringList applied;
    for (; version < CurrentVersion; ++version) {
        const Step& step = steps().at(size_t(version));
        db::Transaction tx(database);
        const QStringList details = step.apply(database, options);
        // Settings are read without writing: the last step stores the defaults missing.
        if (version + 1 == CurrentVersion)
            GuardarValoresPorDefecto(database);
        database.setUserVersion(version + 1);
        tx.commit();
        QString line = QCoreApplication::translate("Schema", "Versión %1 → %2").arg(version).arg(version + 1);
        if (!details.isEmpty())
            line += QStringLiteral(": ") + details.join(QStringLiteral(", "));
        applied << line;
    }
    return applied;
}

} // namespace orb::schema