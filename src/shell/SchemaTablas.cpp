// The tables, indexes and stored queries the agency database and the
// exchange file are made of.

#include "SchemaTablas.h"
#include "CaracteristicasPropiedad.h"
#include "Schema.h"

namespace orb::schema::detail {

namespace {

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
            {text("Nombre", 50), text("NombreIdioma1", 50), text("NombreIdioma2", 50), tipoPortales()},
            catalogueKey()};
}

Table localidades() {
    return {QStringLiteral("Localidades"), {text("Nombre", 50), provinciaLocalidad()}, catalogueKey()};
}

Table areas() {
    return {QStringLiteral("Areas"), {text("Nombre", 50), whole("CodLocalidad")}, catalogueKey()};
}

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
    for (const CaracteristicaPropiedad& c : caracteristicasPropiedad())
        cols << yesNo(c.campo);
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
    cols += columnasPortalesPropiedad();
    return {QStringLiteral("Propiedades"), cols, {}};
}

Table actividades() {
    // Cod is the rowid: the database numbers the rows in insertion order, and
    // AUTOINCREMENT never gives a number again, so the log keeps its order.
    // CodCliente holds the client's Cod as text: office codes with letters or
    // leading zeros survive (a number stored there reads back as its digits).
    return {QStringLiteral("Actividades"),
            {text("Propiedad", 20), date("Fecha"), text("CodCliente", 20), text("Cliente", 50),
             text("Actividad", 255), columnasAgente().value(0).second},
            QStringLiteral("Cod INTEGER PRIMARY KEY AUTOINCREMENT")};
}

Table config() {
    return {QStringLiteral("Config"),
            {text("Grupo", 50, true), text("Variable", 50, true), text("Valor", 255)},
            {}};
}
} // namespace

static Table conVersion(Table t) {
    t.columns << columnaVersion();
    return t;
}

QList<Table> agencyTables() {
    return QList<Table>{
               config(),     conVersion(tipos()),        conVersion(localidades()), conVersion(areas()),
               agentes(),    conVersion(propietarios()), conVersion(clientes()),    conVersion(propiedades()),
               actividades()} +
           tablasCoincidencias() + QList<Table>{visitas()};
}

QStringList tablasConVersion() {
    return {QStringLiteral("Tipos"),        QStringLiteral("Localidades"), QStringLiteral("Areas"),
            QStringLiteral("Propietarios"), QStringLiteral("Clientes"),    QStringLiteral("Propiedades")};
}

Column columnaVersion() {
    return whole("Version");
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

// The exchange file's agents: the row version counts this database's own stores.
Table agentesIntercambio() {
    Table t = agentes();
    t.columns.removeIf([](const Column& c) { return c.name == u"Version"; });
    return t;
}

QList<Table> exchangeTables() {
    return {tipos(),    localidades(),   areas(),   propiedades(), propietarios(),
            clientes(), clientesZonas(), visitas(), intercambio(), agentesIntercambio()};
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
    return list + indicesVersion11() + indicesVisitas() + indicesDuplicados() + indicesExportacionWeb() +
           indicesAgentes();
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

} // namespace orb::schema::detail
