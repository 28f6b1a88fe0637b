#include "Schema.h"
#include "ConfigStore.h"
#include "SchemaTablas.h"

#include "platform/db/Database.h"

#include <QSet>
#include <functional>
#include <optional>
#include <vector>

namespace orb::schema {

using namespace detail;

namespace {

// One column's definition. The length check is written as length(col) <= n so
// that the data-access layer recognises a too-long text (its error 3163); the
// date check refuses anything that is not a real ISO date ('' and 2009-02-31
// included), which is what the old engine's date conversion refused.
QString columnSql(const Column& c, bool forAlter) {
    const QString& n = c.name;
    QString sql = n + u' ';
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
        sql += QStringLiteral("BOOLEAN DEFAULT 0 CHECK (%1 IN (0, 1))").arg(n);
        break;
    }
    // ALTER TABLE ADD COLUMN cannot add NOT NULL without a default; existing
    // rows keep a null there.
    if (c.notNull && !forAlter)
        sql += QStringLiteral(" NOT NULL");
    return sql;
}

// Personal data shared by owners and clients (sizes of the new-owner dialog).
QList<Column> personalData() {
    return {text("Nombre", 50), text("Direccion", 70), text("Localidad", 40), text("Provincia", 30),
            text("Cp", 5),      text("Telefono", 30),  text("Movil", 30),     text("Fax", 30),
            text("Email", 50),  text("Dni", 20),       text("Pasaporte", 20), text("Nie", 20),
            memo("Comentarios")};
}

// Identity of properties, owners and clients: office code + masked number.
QList<Column> recordIdentity() {
    return {text("Cod", LongitudCodigo, true), text("Agencia", LongitudAgencia), whole("QuickID"),
            date("FechaAlta"), yesNo("Alquiler")};
}

// Catalogue codes are kept apart from the rowid ("PRIMARY KEY DESC" is
// SQLite's documented way), so editing a code never moves the row under an
// open recordset.
QString catalogueKey() {
    return QStringLiteral("Cod INTEGER NOT NULL PRIMARY KEY DESC");
}

Table tipos() {
    return {QStringLiteral("Tipos"),
            {text("Nombre", 50), text("NombreIdioma1", 50), text("NombreIdioma2", 50)},
            catalogueKey()};
}

Table localidades() {
    return {QStringLiteral("Localidades"), {text("Nombre", 50)}, catalogueKey()};
}

Table areas() {
    return {QStringLiteral("Areas"), {text("Nombre", 50), whole("CodLocalidad")}, catalogueKey()};
}

} // namespace

const QStringList& caracteristicasPropiedad() {
    static const QStringList list{QStringLiteral("CocinaAmueblada"),
                                  QStringLiteral("CocinaAmericana"),
                                  QStringLiteral("AireAcondicionado"),
                                  QStringLiteral("Calefaccion"),
                                  QStringLiteral("Visitado"),
                                  QStringLiteral("Salon"),
                                  QStringLiteral("Lavadero"),
                                  QStringLiteral("GasCiudad"),
                                  QStringLiteral("GasButano"),
                                  QStringLiteral("Vitroceramica"),
                                  QStringLiteral("Ascensor"),
                                  QStringLiteral("Trastero"),
                                  QStringLiteral("Vpo"),
                                  QStringLiteral("Solarium"),
                                  QStringLiteral("SupermercadoCerca"),
                                  QStringLiteral("AutobusCerca"),
                                  QStringLiteral("CafeteriaCerca"),
                                  QStringLiteral("DiversionesCerca"),
                                  QStringLiteral("Amueblado"),
                                  QStringLiteral("PanelesSolares"),
                                  QStringLiteral("Chimenea")};
    return list;
}

namespace {

Table propietarios() {
    return {QStringLiteral("Propietarios"), recordIdentity() + personalData(), {}};
}

Table clientes() {
    QList<Column> cols = recordIdentity();
    cols << text("Estado", 20);
    cols += personalData();
    cols << memo("Requiere") << money("Presupuesto") << whole("CodTipo") << text("Agente", 50);
    cols += columnasPreferencias();
    return {QStringLiteral("Clientes"), cols, {}};
}

Table propiedades() {
    QList<Column> cols = recordIdentity();
    // Header and features.
    cols << text("Estado", 20) << whole("CodTipo") << whole("CodLocalidad") << whole("CodArea")
         << money("Precio") << whole("Metros") << whole("MetrosParcela") << small("Dormitorios")
         << small("Banos") << small("Aseos") << text("Suelos", 50) << text("Terrazas", 50)
         << text("ArmariosEmpotrados", 50) << small("PlazasGaraje") << text("Antiguedad", 50)
         << money("Comunidad") << text("Agente", 50) << text("Calificacion", 50) << money("Hipoteca")
         << money("ValorEscritura") << small("AnoConstruccion") << memo("Observaciones") << text("Piscina", 1)
         << text("Jardin", 1) << text("Garaje", 1) << text("Orientacion", 2);
    for (const QString& f : caracteristicasPropiedad())
        cols << yesNo(f.toUtf8().constData());
    // Confidential: owner and registry.
    cols << text("CodPropietario", 20) << text("Direccion", 70) << text("Planta", 10) << text("Puerta", 10)
         << text("NumeroFinca", 30) << text("Titularidad", 50) << small("DiasExclusiva") << yesNo("Firmado")
         << yesNo("Exclusiva") << money("PPrecio") << memo("PComentarios");
    // Photographs: file names inside Fotos/ and their captions.
    for (int i = 1; i <= 6; ++i)
        cols << Column{QStringLiteral("Foto%1").arg(i), Kind::Text, 100};
    for (int i = 1; i <= 6; ++i)
        cols << Column{QStringLiteral("TextoFoto%1").arg(i), Kind::Text, 100};
    // Rental and tenant.
    cols << small("Fianza") << date("FechaInicio") << date("FechaFin") << money("PrecioAlquiler")
         << memo("ObservacionesAlquiler") << text("INombre", 50) << text("IDireccion", 70)
         << text("ILocalidad", 40) << text("IProvincia", 30) << text("ICp", 5) << text("ITelefono", 30)
         << text("IMovil", 30) << text("IFax", 30) << text("IPasaporte", 20) << text("IDni", 20)
         << text("INie", 20) << text("IEmail", 50) << memo("IComentarios");
    // Dossier and web.
    cols << text("DossierTitulo", 100) << memo("DossierDescripcion") << text("DossierTituloIdioma1", 100)
         << memo("DossierDescripcionIdioma1") << yesNo("ExportacionWeb") << yesNo("ExportacionWebDestacada")
         << memo("WebDescripcion") << memo("WebDescripcionIdioma1") << memo("WebDescripcionIdioma2");
    return {QStringLiteral("Propiedades"), cols, {}};
}

Table actividades() {
    // Cod is the rowid: the database numbers the rows in insertion order, and
    // AUTOINCREMENT never gives a number again, so the log keeps its order.
    // CodCliente holds the client's Cod as text: office codes with letters or
    // leading zeros survive (a number stored there reads back as its digits).
    return {QStringLiteral("Actividades"),
            {text("Propiedad", 20), date("Fecha"), text("CodCliente", 20), text("Cliente", 50),
             text("Actividad", 255)},
            QStringLiteral("Cod INTEGER PRIMARY KEY AUTOINCREMENT")};
}

Table config() {
    return {QStringLiteral("Config"),
            {text("Grupo", 50, true), text("Variable", 50, true), text("Valor", 255)},
            {}};
}

QList<Table> agencyTables() {
    return QList<Table>{config(),       tipos(),    localidades(), areas(),
                        propietarios(), clientes(), propiedades(), actividades()} +
           tablasCoincidencias();
}

// One row, written by the export: which office made the file, when (UTC,
// ISO 8601 with milliseconds) and how many rows of each table it holds. The
// bare template has none, so the import can tell it from an office with no rows.
Table intercambio() {
    return {QStringLiteral("Intercambio"),
            {text("Oficina", LongitudAgencia, true), text("Fecha", 30, true), whole("Tipos"),
             whole("Localidades"), whole("Areas"), whole("Propiedades"), whole("Propietarios"),
             whole("Clientes")},
            {}};
}

QList<Table> exchangeTables() {
    return {tipos(),        localidades(), areas(),         propiedades(),
            propietarios(), clientes(),    clientesZonas(), intercambio()};
}

// Search indexes were chosen by measurement on 100,000 properties:
// (Estado, Alquiler, Dormitorios, Cod) answers a typical search, and with the
// address and agent in it too, their "contains" is tested in the index
// instead of reading each candidate's row (99 ms → under 10 ms);
// (Alquiler, Agencia, QuickID) gives the record windows their order.
QList<Index> agencyIndexes() {
    const QList<Index> list{
        {QStringLiteral("Index"), QStringLiteral("Config"), QStringLiteral("Grupo, Variable"), true},
        {QStringLiteral("Areas_CodLocalidad"), QStringLiteral("Areas"), QStringLiteral("CodLocalidad")},
        {QStringLiteral("Propietarios_Cod"), QStringLiteral("Propietarios"), QStringLiteral("Cod"), true},
        {QStringLiteral("Propietarios_Orden"), QStringLiteral("Propietarios"),
         QStringLiteral("Alquiler, Agencia, QuickID")},
        {QStringLiteral("Clientes_Cod"), QStringLiteral("Clientes"), QStringLiteral("Cod"), true},
        {QStringLiteral("Clientes_Orden"), QStringLiteral("Clientes"),
         QStringLiteral("Alquiler, Agencia, QuickID")},
        {QStringLiteral("Propiedades_Cod"), QStringLiteral("Propiedades"), QStringLiteral("Cod"), true},
        {QStringLiteral("Propiedades_Orden"), QStringLiteral("Propiedades"),
         QStringLiteral("Alquiler, Agencia, QuickID")},
        {QStringLiteral("Propiedades_BusquedaTexto"), QStringLiteral("Propiedades"),
         QStringLiteral("Estado, Alquiler, Dormitorios, Cod, Direccion, Agente")},
        {QStringLiteral("Actividades_Propiedad"), QStringLiteral("Actividades"),
         QStringLiteral("Propiedad, Cod")},
    };
    return list + indicesVersion11();
}

QList<Index> exchangeIndexes() {
    return {
        {QStringLiteral("Propietarios_Cod"), QStringLiteral("Propietarios"), QStringLiteral("Cod"), true},
        {QStringLiteral("Clientes_Cod"), QStringLiteral("Clientes"), QStringLiteral("Cod"), true},
        {QStringLiteral("Propiedades_Cod"), QStringLiteral("Propiedades"), QStringLiteral("Cod"), true},
    };
}

// Stored queries. SQLite cannot address a view's column as Tabla.Campo, so a
// column that the old stored queries exposed qualified is named here by the
// table and field run together (Propiedades.Cod → PropiedadesCod,
// Localidades.Nombre → LocalidadesNombre…). Listings and sheets use these names:
//   "select * from fichapropiedades where PropiedadesCod = ?"
//   "select * from listadolocalidadesareas order by LocalidadesCod, AreasCod"
QList<View> agencyViews() {
    return {
        // One row per property; Tipo, Localidad, Area are catalogue names,
        // Propietario, Telefono and Movil the owner's.
        {QStringLiteral("busquedapropiedades"),
         QStringLiteral(
             "SELECT p.Cod AS Cod, p.Agencia AS Agencia, p.QuickID AS QuickID, p.Direccion AS Direccion, "
             "t.Nombre AS Tipo, l.Nombre AS Localidad, a.Nombre AS Area, "
             "p.Dormitorios AS Dormitorios, p.Metros AS Metros, p.Precio AS Precio, "
             "p.PrecioAlquiler AS PrecioAlquiler, p.Alquiler AS Alquiler, p.CodTipo AS CodTipo, "
             "p.CodLocalidad AS CodLocalidad, p.CodArea AS CodArea, p.Estado AS Estado, "
             "p.FechaAlta AS FechaAlta, o.Nombre AS Propietario, p.Agente AS Agente, "
             "o.Telefono AS Telefono, o.Movil AS Movil, p.CodPropietario AS CodPropietario "
             "FROM Propiedades p "
             "LEFT JOIN Tipos t ON t.Cod = p.CodTipo "
             "LEFT JOIN Localidades l ON l.Cod = p.CodLocalidad "
             "LEFT JOIN Areas a ON a.Cod = p.CodArea "
             "LEFT JOIN Propietarios o ON o.Cod = p.CodPropietario")},
        // One row per client; Tipo is the name of the wanted type.
        {QStringLiteral("busquedaclientes"),
         QStringLiteral(
             "SELECT c.Cod AS Cod, c.Agencia AS Agencia, c.QuickID AS QuickID, c.Nombre AS Nombre, "
             "c.Telefono AS Telefono, c.Movil AS Movil, c.Email AS Email, t.Nombre AS Tipo, "
             "c.Presupuesto AS Presupuesto, c.FechaAlta AS FechaAlta, c.Alquiler AS Alquiler, "
             "c.CodTipo AS CodTipo, c.Estado AS Estado, c.Agente AS Agente "
             "FROM Clientes c LEFT JOIN Tipos t ON t.Cod = c.CodTipo")},
        // Property sheet: every field of the property under its own name, the
        // owner's contact data (Localidad, Provincia, CP… are the owner's), and
        // the qualified names of the sheet as TablaCampo.
        {QStringLiteral("fichapropiedades"),
         QStringLiteral(
             "SELECT p.*, p.Cod AS PropiedadesCod, p.Direccion AS PropiedadesDireccion, "
             "p.FechaAlta AS PropiedadesFechaAlta, "
             "o.Cod AS PropietariosCod, o.Nombre AS PropietariosNombre, "
             "o.Direccion AS PropietariosDireccion, o.Localidad AS Localidad, "
             "o.Provincia AS Provincia, o.Cp AS CP, o.Telefono AS Telefono, o.Movil AS Movil, "
             "o.Fax AS Fax, o.Email AS Email, o.Dni AS Dni, o.Pasaporte AS Pasaporte, o.Nie AS Nie, "
             "o.Comentarios AS PropietariosComentarios, "
             "t.Nombre AS TiposNombre, t.NombreIdioma1 AS TiposNombreIdioma1, "
             "t.NombreIdioma2 AS TiposNombreIdioma2, l.Nombre AS LocalidadesNombre, "
             "a.Nombre AS AreasNombre "
             "FROM Propiedades p "
             "LEFT JOIN Propietarios o ON o.Cod = p.CodPropietario "
             "LEFT JOIN Tipos t ON t.Cod = p.CodTipo "
             "LEFT JOIN Localidades l ON l.Cod = p.CodLocalidad "
             "LEFT JOIN Areas a ON a.Cod = p.CodArea")},
        // One row per area with its locality (an area whose locality is gone
        // still shows, with an empty locality).
        {QStringLiteral("listadolocalidadesareas"),
         QStringLiteral("SELECT l.Cod AS LocalidadesCod, l.Nombre AS LocalidadesNombre, a.Cod AS AreasCod, "
                        "a.Nombre AS AreasNombre, a.CodLocalidad AS CodLocalidad "
                        "FROM Areas a LEFT JOIN Localidades l ON l.Cod = a.CodLocalidad")},
    };
}

QString quoted(const QString& name) {
    return u'"' + name + u'"';
}

// prefijo: "IF NOT EXISTS alias." to create it in an attached database when missing.
QString createTableSql(const Table& t, const QString& prefijo = {}) {
    QStringList parts;
    if (!t.tail.isEmpty())
        parts << t.tail;
    for (const Column& c : t.columns)
        parts << columnSql(c, false);
    return QStringLiteral("CREATE TABLE %1%2 (\n  %3\n)")
        .arg(prefijo, quoted(t.name), parts.join(QStringLiteral(",\n  ")));
}

QString createIndexSql(const Index& i) {
    return QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
        .arg(i.unique ? QStringLiteral("UNIQUE ") : QString(), quoted(i.name), quoted(i.table), i.columns);
}

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

// Adds whatever the structure of CurrentVersion has and the database lacks;
// changes nothing that is there. Returns what it did, one line per change.
QStringList completeStructure(db::Database& database, const MigrationOptions& options) {
    QStringList done;
    static const QSet<QString> coded = {QStringLiteral("Propiedades"), QStringLiteral("Propietarios"),
                                        QStringLiteral("Clientes")};
    for (const Table& t : agencyTables()) {
        if (!objectExists(database, QStringLiteral("table"), t.name)) {
            database.executeScript(createTableSql(t));
            done << QStringLiteral("tabla %1 creada").arg(t.name);
            continue;
        }
        const QSet<QString> have = columnNames(database, t.name);
        for (const Column& c : t.columns) {
            if (have.contains(c.name.toLower()))
                continue;
            database.executeScript(
                QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(quoted(t.name), columnSql(c, true)));
            done << QStringLiteral("campo %1.%2 añadido").arg(t.name, c.name);
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
        done << QStringLiteral("índice %1 creado").arg(i.name);
    }
    // Views hold no data: they are always written again, so they match the tables.
    for (const View& v : agencyViews()) {
        database.executeScript(QStringLiteral("DROP VIEW IF EXISTS %1").arg(quoted(v.name)));
        database.executeScript(QStringLiteral("CREATE VIEW %1 AS %2").arg(quoted(v.name), v.select));
    }
    done << QStringLiteral("consultas guardadas escritas de nuevo");
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
        done << QStringLiteral("índice Propiedades_BusquedaTexto creado");
    }
    database.executeScript(QStringLiteral("DROP INDEX IF EXISTS \"Propiedades_Busqueda\""));
    const QSet<QString> have = columnNames(database, QStringLiteral("Clientes"));
    for (const Column& c : columnasPreferencias()) {
        if (have.contains(c.name.toLower()))
            continue;
        database.executeScript(
            QStringLiteral("ALTER TABLE \"Clientes\" ADD COLUMN %1").arg(columnSql(c, true)));
        done << QStringLiteral("campo Clientes.%1 añadido").arg(c.name);
    }
    for (const Table& t : tablasCoincidencias()) {
        if (objectExists(database, QStringLiteral("table"), t.name))
            continue;
        database.executeScript(createTableSql(t));
        done << QStringLiteral("tabla %1 creada").arg(t.name);
    }
    for (const Index& i : indicesVersion11()) {
        if (objectExists(database, QStringLiteral("index"), i.name))
            continue;
        database.executeScript(createIndexSql(i));
        done << QStringLiteral("índice %1 creado").arg(i.name);
    }
    return done;
}

// The table of steps, indexed by the version they start from. Versions before
// 9 left no structure of their own to convert; 9 → 10 completes the current
// structure; 10 → 11 adds what version 11 brought.
const std::vector<Step>& steps() {
    static const std::vector<Step> table = [] {
        std::vector<Step> s;
        for (int v = 0; v < 9; ++v)
            s.push_back({v, noRecordedChange});
        s.push_back({9, completeStructure});
        s.push_back({10, version11});
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

QStringList migrate(db::Database& database) {
    return migrate(database, MigrationOptions{});
}

QStringList migrate(db::Database& database, const MigrationOptions& options) {
    static_assert(CurrentVersion == 11, "add the step from the previous version to steps()");
    int version = database.userVersion();
    if (version >= CurrentVersion)
        return {};
    if (version <= 0 && isEmptyDatabase(database)) {
        createAgencyDatabase(database);
        return {QStringLiteral("Base de datos creada en la versión %1").arg(CurrentVersion)};
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
        QString line = QStringLiteral("Versión %1 → %2").arg(version).arg(version + 1);
        if (!details.isEmpty())
            line += QStringLiteral(": ") + details.join(QStringLiteral(", "));
        applied << line;
    }
    return applied;
}

} // namespace orb::schema
