// The agency database's structure as the windows, searches, reports and
// exchange see it, and its migration from older versions.

#include "platform/db/Database.h"
#include "platform/db/TextMatching.h"
#include "shell/ConfigStore.h"
#include "shell/Schema.h"
#include "shell/SchemaBusquedaRapida.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using db::FieldType;

namespace {

std::unique_ptr<db::Database> emptyFile(const QTemporaryDir& dir, const QString& name = "t.db") {
    return db::Database::open(dir.filePath(name), {.create = true, .durable = false});
}

std::unique_ptr<db::Database> agencyDatabase(const QTemporaryDir& dir) {
    auto d = emptyFile(dir);
    orb::schema::createAgencyDatabase(*d);
    return d;
}

// Declared field type and size of every column of a table, by lower-case name.
QHash<QString, db::FieldInfo> fieldsOf(db::Database& d, const QString& table) {
    QHash<QString, db::FieldInfo> fields;
    for (const db::Row& r : d.query("SELECT name, type FROM pragma_table_info(?)", {table}))
        fields.insert(r[0].toString().toLower(), db::fieldInfoFromDeclType(r[1].toString()));
    return fields;
}

// Every row as "cell|cell|…", NULL shown as "-".
QStringList rows(db::Database& d, const QString& sql) {
    QStringList out;
    for (const db::Row& r : d.query(sql)) {
        QStringList cells;
        for (const db::Value& v : r)
            cells << (db::isNull(v) ? QString("-") : v.toString());
        out << cells.join(u'|');
    }
    return out;
}

int errorNumberOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const db::DbError& e) {
        return e.number();
    }
    return 0;
}

// The quick search's text index is compared on its own (tst_indicebusquedarapida).
QStringList tablesOf(db::Database& d) {
    QStringList out = rows(d, "SELECT name FROM sqlite_master WHERE type = 'table' "
                              "AND name NOT LIKE 'sqlite%' ORDER BY name");
    out.removeIf([](const QString& t) { return orb::schema::soloEnArchivo(t); });
    return out;
}

// "Table.field type size" for every column of every table, to compare two databases.
QStringList structureOf(db::Database& d, bool withSizes = true) {
    QStringList out;
    for (const QString& t : tablesOf(d))
        for (const auto& [field, info] : fieldsOf(d, t).asKeyValueRange())
            out << QString("%1.%2 %3 %4").arg(t, field).arg(int(info.type)).arg(withSizes ? info.size : 0);
    out.sort();
    return out;
}

void addCatalogues(db::Database& d) {
    d.executeScript(
        "INSERT INTO Tipos (Cod, Nombre, NombreIdioma1, NombreIdioma2) VALUES (1, 'Ático', 'Penthouse', "
        "'Attique');"
        "INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Marbella'), (2, 'Nerja');"
        "INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (1, 'Puerto Banús', 1), (2, 'Elviria', 1), "
        "(3, 'Maro', 2);");
}

// A database as an older program left it: fewer tables and fields, no views;
// before version 9 owners had no office code.
void makeOldDatabase(db::Database& d, int version) {
    d.executeScript(
        QString("CREATE TABLE Config (Grupo VARCHAR(50), Variable VARCHAR(50), Valor VARCHAR(255));"
                "CREATE TABLE Tipos (Cod INTEGER, Nombre VARCHAR(50), NombreIdioma1 VARCHAR(50), "
                "NombreIdioma2 VARCHAR(50));"
                "CREATE TABLE Localidades (Cod INTEGER, Nombre VARCHAR(50));"
                "CREATE TABLE Areas (Cod INTEGER, Nombre VARCHAR(50), CodLocalidad INTEGER);"
                "CREATE TABLE Propiedades (Cod VARCHAR(20), Agencia VARCHAR(10), QuickID INTEGER, "
                "Precio CURRENCY, CodPropietario VARCHAR(20));"
                "CREATE TABLE Propietarios (Cod VARCHAR(20), %1 QuickID INTEGER, Nombre VARCHAR(50));"
                "INSERT INTO Config VALUES ('CONTADORES', 'PROPIEDADES', '1');"
                "INSERT INTO Propiedades VALUES ('0100001', '01', 1, 125000, '0100001');"
                "INSERT INTO Propietarios (Cod, QuickID, Nombre) VALUES ('0100001', 1, 'Sean O''Connor');")
            .arg(version >= 9 ? QString("Agencia VARCHAR(10),") : QString()));
    d.setUserVersion(version);
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void declaredTypes() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        using enum FieldType;
        // "Table.field size" by type; owner sizes are those of the new-owner dialog.
        const QList<std::pair<FieldType, QStringList>> expected = {
            {Text,
             {"Config.Valor 255", "Tipos.NombreIdioma2 50", "Propietarios.Nombre 50", "Propietarios.Cp 5",
              "Propiedades.Cod 20", "Propiedades.Foto6 100", "Actividades.CodCliente 20"}},
            {Long, {"Areas.CodLocalidad 4", "Clientes.CodTipo 4"}},
            {Integer, {"Propiedades.Dormitorios 2"}},
            {Memo, {"Propietarios.Comentarios 0"}},
            {Date, {"Propietarios.FechaAlta 8", "Actividades.Fecha 8"}},
            {Currency, {"Clientes.Presupuesto 8"}},
            {Boolean, {"Propiedades.Chimenea 1"}}};
        for (const auto& [type, fields] : expected)
            for (const QString& f : fields) {
                const QStringList p = f.split(QRegularExpression("[. ]"));
                const db::FieldInfo info = fieldsOf(*d, p[0]).value(p[1].toLower());
                QVERIFY2(info.type == type && info.size == p[2].toInt(),
                         qPrintable(QString("%1: %2 %3").arg(f).arg(int(info.type)).arg(info.size)));
            }
    }

    void duplicateCodesAreRefused_data() {
        QTest::addColumn<QString>("insert");
        for (const char* t : {"Propietarios", "Clientes", "Propiedades"})
            QTest::newRow(t) << QString("INSERT INTO %1 (Cod, Agencia, QuickID) VALUES ('0100001', "
                                        "'01', 1)")
                                    .arg(QLatin1String(t));
        for (const char* t : {"Tipos", "Localidades", "Areas"})
            QTest::newRow(t)
                << QString("INSERT INTO %1 (Cod, Nombre) VALUES (7, 'Nerja')").arg(QLatin1String(t));
        QTest::newRow("Config") << QString(
            "INSERT INTO Config (Grupo, Variable, Valor) VALUES ('WEB', 'OTRO', '400')");
    }
    void duplicateCodesAreRefused() {
        QFETCH(QString, insert);
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        d->execute(insert);
        // The number the windows and the upgrader report.
        QCOMPARE(errorNumberOf([&] { d->execute(insert); }), 3022);
    }

    void catalogueCodeStaysApartFromRowid() {
        // Editing a code must not move the row under an open recordset.
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        const qint64 rowid = d->scalar("SELECT rowid FROM Localidades WHERE Cod = 2").toLongLong();
        d->execute("UPDATE Localidades SET Cod = 40 WHERE Cod = 2");
        QCOMPARE(d->scalar("SELECT Cod FROM Localidades WHERE rowid = ?", {rowid}).toLongLong(), 40);
    }

    void valuesOutsideTheirFieldAreRefused_data() {
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("error");
        // Each row with its key (Cod, or the property of an activity) and the one value.
        auto row = [](const char* name, const char* field, const QVariant& value, int error) {
            const QStringList tf = QString::fromLatin1(field).split(u'.');
            const QString key = tf[0] == u"Actividades" ? QString("Propiedad") : QString("Cod");
            QTest::newRow(name) << QString("INSERT INTO %1 (%2, %3) VALUES ('X', ?)").arg(tf[0], key, tf[1])
                                << value << error;
        };
        // Characters count, not bytes: ñ is two bytes in UTF-8.
        row("50 two-byte characters", "Propietarios.Nombre", QString(50, u'ñ'), 0);
        row("51 characters", "Propietarios.Nombre", QString(51, u'x'), db::ErrFieldTooSmall);
        row("6-digit postcode", "Clientes.Cp", "296000", db::ErrFieldTooSmall);
        row("yes/no of 2", "Propiedades.Alquiler", 2, db::ErrConstraint);
        row("29 February 2024", "Propiedades.FechaAlta", "2024-02-29", 0);
        row("31 February", "Propiedades.FechaAlta", "2009-02-31", db::ErrConstraint);
        row("day/month/year", "Propiedades.FechaAlta", "31/02/2009", db::ErrConstraint);
        row("not a date", "Propiedades.FechaAlta", "mañana", db::ErrConstraint);
        row("empty date", "Actividades.Fecha", "", db::ErrConstraint);
    }
    void valuesOutsideTheirFieldAreRefused() {
        QFETCH(QString, insert);
        QFETCH(QVariant, value);
        QFETCH(int, error);
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        QCOMPARE(errorNumberOf([&] { d->execute(insert, {value}); }), error);
    }

    void textComparesTheSpanishWay() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        d->execute("INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Ojén'), (2, 'Ñora'), "
                   "(3, 'álora'), (4, 'Nerja'), (5, 'Benalmádena')");
        QCOMPARE(rows(*d, "SELECT Nombre FROM Localidades ORDER BY Nombre"),
                 (QStringList{"álora", "Benalmádena", "Nerja", "Ñora", "Ojén"}));
        // Case does not count, accents do.
        QCOMPARE(rows(*d, "SELECT Cod FROM Localidades WHERE Nombre IN ('NERJA', 'ojen')"), QStringList{"4"});
        d->execute("INSERT INTO Propiedades (Cod) VALUES ('abc')");
        QCOMPARE(errorNumberOf([&] { d->execute("INSERT INTO Propiedades (Cod) VALUES ('ABC')"); }),
                 int(db::ErrDuplicateKey));
    }

    void viewsJoinTheNames() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        d->executeScript(
            "INSERT INTO Propietarios (Cod, Nombre, Movil, Cp) VALUES "
            "('0100001', 'Sean O''Connor', '600 111 222', '29780');"
            "INSERT INTO Propiedades (Cod, Alquiler, Estado, CodTipo, CodLocalidad, CodArea, CodPropietario, "
            "Dormitorios, Precio, FechaAlta, Foto1) VALUES "
            "('0100001', 0, 'En Venta', 1, 1, 2, '0100001', 3, 450000, '2024-03-01', '0100001-1.jpg');"
            // No catalogue entries and no owner: still a row.
            "INSERT INTO Propiedades (Cod, Alquiler, Estado, PrecioAlquiler) VALUES ('0100002', 1, 'Libre', "
            "950);"
            "INSERT INTO Clientes (Cod, Nombre, CodTipo, Alquiler) VALUES "
            "('0100001', 'Ana Peña', 1, 0), ('0100002', 'Lars Andersson', 0, 1);");

        QCOMPARE(
            rows(*d, "SELECT Tipo, Localidad, Area, Propietario, Movil, Precio, PrecioAlquiler "
                     "FROM busquedapropiedades ORDER BY Cod"),
            (QStringList{"Ático|Marbella|Elviria|Sean O'Connor|600 111 222|450000|-", "-|-|-|-|-|-|950"}));
        // Field types reach through the view, so grids format them.
        QCOMPARE(d->query("SELECT Alquiler, FechaAlta FROM busquedapropiedades WHERE Cod = '0100001'"),
                 (QList<db::Row>{{false, QDate(2024, 3, 1)}}));
        // A search as the window builds it, with the criteria bound.
        QCOMPARE(d->query("SELECT Cod FROM busquedapropiedades WHERE Alquiler = ? AND Estado = ? "
                          "AND Dormitorios >= ? AND Propietario LIKE ? ESCAPE '\\'",
                          {false, "En Venta", 2, db::containsPattern("o'co")}),
                 (QList<db::Row>{{"0100001"}}));

        QCOMPARE(rows(*d, "SELECT Tipo FROM busquedaclientes ORDER BY Cod"), (QStringList{"Ático", "-"}));
        QCOMPARE(rows(*d, "SELECT LocalidadesNombre, AreasNombre FROM listadolocalidadesareas "
                          "ORDER BY LocalidadesCod, AreasCod"),
                 (QStringList{"Marbella|Puerto Banús", "Marbella|Elviria", "Nerja|Maro"}));
        // The property sheet: owner, catalogue names and the property's own fields.
        QCOMPARE(rows(*d, "SELECT PropiedadesCod, PropietariosNombre, CP, TiposNombre, LocalidadesNombre, "
                          "AreasNombre, Foto1, WebDescripcionIdioma2 FROM fichapropiedades "
                          "ORDER BY PropiedadesCod"),
                 (QStringList{"0100001|Sean O'Connor|29780|Ático|Marbella|Elviria|0100001-1.jpg|-",
                              "0100002|-|-|-|-|-|-|-"}));
    }

    void exchangeTemplateMirrorsTheAgencyTables() {
        QTemporaryDir dir;
        auto agency = agencyDatabase(dir);
        auto exchange = emptyFile(dir, "ExportSchema.db");
        orb::schema::createExportSchema(*exchange);
        // Rows travel field by field by name: the same fields, the same types, all but Config and
        // Actividades.
        // Nor the row versions, which count this database's own stores.
        const QRegularExpression notExchanged(
            "^(Config|Actividades|PropiedadesEnviadas|PropiedadesDescartadas|PropiedadesVistas)\\.|"
            "\\.version ");
        QStringList expected = structureOf(*agency);
        expected.removeIf([&](const QString& f) { return notExchanged.match(f).hasMatch(); });
        // Intercambio is the file's own: which office exported it, when, how many rows.
        QStringList exchanged = structureOf(*exchange);
        QVERIFY(exchanged.removeIf([](const QString& f) { return f.startsWith("Intercambio."); }) > 0);
        QCOMPARE(exchanged, expected);
        // The six, the wanted places, the visits, the agents, Intercambio.
        QCOMPARE(tablesOf(*exchange).size(), 10);
    }

    // ---- migration --------------------------------------------------------

    void migrateCreatesAnEmptyDatabase() {
        QTemporaryDir dir, other;
        auto d = emptyFile(dir);
        QCOMPARE(orb::schema::migrate(*d).size(), 1);
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        QCOMPARE(structureOf(*d), structureOf(*agencyDatabase(other)));
        QVERIFY(d->tableExists("busquedapropiedades"));
        QVERIFY(orb::schema::migrate(*d).isEmpty());
        // A newer database is left alone.
        d->setUserVersion(orb::schema::CurrentVersion + 1);
        QVERIFY(orb::schema::migrate(*d).isEmpty());
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion + 1);
    }

    void migrateVersion9KeepsItsData() {
        QTemporaryDir dir, other;
        auto d = emptyFile(dir);
        makeOldDatabase(*d, 9);
        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), orb::schema::CurrentVersion - 9);
        QVERIFY(steps[0].startsWith("Versión 9 → 10"));
        // 9 → 10 already completes the whole structure: the later steps find nothing to add.
        QCOMPARE(steps[1], "Versión 10 → 11");
        QCOMPARE(steps[2], "Versión 11 → 12");
        // But the quick search's text index, filled from the rows.
        QVERIFY2(
            steps.contains(QString("Versión 16 → 17: índice de texto BusquedaRapidaPropiedades con 1 fila, "
                                   "índice de texto BusquedaRapidaPropietarios con 1 fila, índice de "
                                   "texto BusquedaRapidaClientes con 0 filas")),
            qPrintable(steps.join('\n')));
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        // The old rows are there, new fields read as their defaults; the views work on them.
        QCOMPARE(rows(*d, "SELECT p.Precio, p.Chimenea, b.Propietario FROM Propiedades p "
                          "JOIN busquedapropiedades b USING (Cod)"),
                 QStringList{"125000|false|Sean O'Connor"});
        QCOMPARE(rows(*d, "SELECT Nie FROM Propietarios UNION ALL SELECT Valor FROM Config WHERE "
                          "Variable = 'PROPIEDADES'"),
                 (QStringList{"-", "1"}));
        // Missing tables and indexes now exist.
        d->execute("INSERT INTO Actividades (Propiedad, Fecha) VALUES ('0100001', '2024-01-01')");
        QCOMPARE(errorNumberOf([&] { d->execute("INSERT INTO Propiedades (Cod) VALUES ('0100001')"); }),
                 int(db::ErrDuplicateKey));
        // The structure matches a new database's field for field.
        QCOMPARE(structureOf(*d, false), structureOf(*agencyDatabase(other), false));

        // Idempotent: a step met again (a version written back by hand) changes nothing.
        QVERIFY(orb::schema::migrate(*d).isEmpty());
        d->setUserVersion(9);
        QCOMPARE(orb::schema::migrate(*d).size(), orb::schema::CurrentVersion - 9);
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        QCOMPARE(rows(*d, "SELECT count(*) FROM Propiedades UNION ALL SELECT count(*) FROM Actividades"),
                 (QStringList{"1", "1"}));
    }

    void migrateVersion10KeepsEveryRow() {
        QTemporaryDir dir, other;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        d->executeScript(
            "UPDATE Config SET Valor = '2' WHERE Grupo = 'CONTADORES' AND Variable = 'CLIENTES';"
            "INSERT INTO Propietarios (Cod, Agencia, QuickID, Nombre) VALUES ('0100001', '01', 1, 'Sean "
            "O''Connor');"
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, CodTipo, CodLocalidad, "
            "CodArea, "
            "Precio, Dormitorios, Piscina, Ascensor, CodPropietario) VALUES "
            "('0100001', '01', 1, FALSE, 'En Venta', 1, 1, 2, 450000, 3, 'P', 1, '0100001'),"
            "('0100002', '01', 2, TRUE, 'Libre', 1, 2, 3, NULL, 1, 'N', 0, '0100001');"
            "INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Estado, Nombre, Requiere, Presupuesto, "
            "CodTipo) "
            "VALUES ('0100001', '01', 1, FALSE, 'Buscando', 'Ana Peña', 'Ático con vistas', 500000, 1),"
            "('0100002', '01', 2, TRUE, 'Pendiente', 'Lars Andersson', NULL, 900, NULL);"
            "INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Cliente, Actividad) VALUES "
            "('0100001', '2024-05-02', '0100001', 'Ana Peña', 'Visita');");
        // Back to what version 10 had: none of the matching tables and fields.
        for (const char* t :
             {"ClientesZonas", "PropiedadesEnviadas", "PropiedadesDescartadas", "PropiedadesVistas"})
            d->execute(QString("DROP TABLE %1").arg(QLatin1String(t)));
        for (const char* i : {"Clientes_Coincidencias", "Propiedades_Precio", "Propiedades_PrecioAlquiler",
                              "Propiedades_Localidad", "Propiedades_Area"})
            d->execute(QString("DROP INDEX %1").arg(QLatin1String(i)));
        for (const char* c : {"PresupuestoMinimo", "DormitoriosMinimo", "QuierePiscina", "QuiereGaraje",
                              "QuiereAscensor", "QuiereTerraza"})
            d->execute(QString("ALTER TABLE Clientes DROP COLUMN %1").arg(QLatin1String(c)));
        // The search index without the text columns, under its old name.
        d->execute("DROP INDEX Propiedades_BusquedaTexto");
        d->execute("CREATE INDEX Propiedades_Busqueda ON Propiedades (Estado, Alquiler, Dormitorios, Cod)");
        d->setUserVersion(10);

        // Every table's rows in full, with the fields version 10 had (Clientes gains six at the end).
        auto contents = [&](const QString& t, int added) {
            QStringList campos =
                rows(*d, QString("SELECT name FROM pragma_table_info('%1') ORDER BY cid").arg(t));
            campos.resize(campos.size() - (t == u"Clientes" ? added : 0));
            return rows(*d, QString("SELECT %1 FROM \"%2\" ORDER BY rowid").arg(campos.join(", "), t));
        };
        const QStringList tablas = tablesOf(*d);
        QHash<QString, QStringList> antes;
        for (const QString& t : tablas)
            antes.insert(t, contents(t, 0));
        QCOMPARE(antes.value("Clientes").size(), 2);

        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), orb::schema::CurrentVersion - 10);
        QVERIFY2(steps[0].startsWith("Versión 10 → 11: índice Propiedades_BusquedaTexto creado, campo "
                                     "Clientes.PresupuestoMinimo añadido"),
                 qPrintable(steps[0]));
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        for (const QString& t : tablas)
            QCOMPARE(contents(t, 6), antes.value(t));
        // The wishes start empty: no minimum, no feature required.
        QCOMPARE(rows(*d, "SELECT Cod, CAST(Presupuesto AS INTEGER), PresupuestoMinimo, DormitoriosMinimo, "
                          "QuierePiscina, QuiereTerraza FROM Clientes ORDER BY Cod"),
                 (QStringList{"0100001|500000|-|-|false|false", "0100002|900|-|-|false|false"}));
        auto fresh = agencyDatabase(other);
        QCOMPARE(structureOf(*d), structureOf(*fresh));
        const QString indexes =
            "SELECT name FROM sqlite_master WHERE type = 'index' AND sql NOT NULL ORDER BY 1";
        QCOMPARE(rows(*d, indexes), rows(*fresh, indexes));
        QCOMPARE(rows(*d, "SELECT group_concat(name, ',') FROM (SELECT name FROM "
                          "pragma_index_info('Propiedades_BusquedaTexto') ORDER BY seqno)"),
                 QStringList{"Estado,Alquiler,Dormitorios,Cod,Direccion,Agente"});
        // Met again (the version written back by hand), it changes nothing.
        d->setUserVersion(10);
        QCOMPARE(orb::schema::migrate(*d).size(), orb::schema::CurrentVersion - 10);
        QCOMPARE(structureOf(*d), structureOf(*fresh));
        // One pair per client and property.
        d->execute("INSERT INTO PropiedadesEnviadas (CodCliente, CodPropiedad) VALUES ('0100001', "
                   "'0100001')");
        QCOMPARE(errorNumberOf([&] {
                     d->execute("INSERT INTO PropiedadesEnviadas (CodCliente, CodPropiedad) "
                                "VALUES ('0100001', '0100001')");
                 }),
                 int(db::ErrDuplicateKey));
    }

    void migrateVersion11AddsRowVersionsKeepingEveryRow() {
        QTemporaryDir dir, other;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        d->execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Precio) VALUES "
                   "('0100001', '01', 1, FALSE, 450000), ('0100002', '01', 2, TRUE, 900)");
        const QStringList tablas{"Tipos", "Localidades", "Areas", "Propietarios", "Clientes", "Propiedades"};
        for (const QString& t : tablas)
            d->execute(QString("ALTER TABLE \"%1\" DROP COLUMN Version").arg(t));
        d->setUserVersion(11);
        const QString contenido = "SELECT Cod, CAST(Precio AS INTEGER) FROM Propiedades UNION ALL SELECT "
                                  "Cod, Nombre FROM Areas ORDER BY 1, 2";
        const QStringList antes = rows(*d, contenido);

        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), orb::schema::CurrentVersion - 11);
        QCOMPARE(steps.first(),
                 QString{"Versión 11 → 12: campo Tipos.Version añadido, campo Localidades.Version "
                         "añadido, campo Areas.Version añadido, campo Propietarios.Version "
                         "añadido, campo Clientes.Version añadido, campo Propiedades.Version "
                         "añadido"});
        QCOMPARE(rows(*d, contenido), antes);
        QCOMPARE(structureOf(*d), structureOf(*agencyDatabase(other)));
        // Rows stored before the step have no version yet: the first confirm gives them one.
        QCOMPARE(rows(*d, "SELECT count(*) FROM Propiedades WHERE Version IS NULL"), QStringList{"2"});
    }

    // The portal fields: web-marked properties go to the portals, every
    // property gets a time of last change, and from then on every writer
    // moves it forward.
    void migrateAddsThePortalFields() {
        QTemporaryDir dir, other;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        d->executeScript(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, ExportacionWeb) VALUES "
            "('0100001', '01', 1, FALSE, 'En Venta', 1), ('0100002', '01', 2, TRUE, 'Libre', 0);"
            "DROP TRIGGER Propiedades_Modificado; DROP TRIGGER Propiedades_ModificadoAlta;"
            "ALTER TABLE Propiedades DROP COLUMN Portales; ALTER TABLE Propiedades DROP COLUMN Modificado;"
            "ALTER TABLE Tipos DROP COLUMN TipoPortales; ALTER TABLE Localidades DROP COLUMN Provincia;");
        d->setUserVersion(14); // the web and text indexes came after
        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), orb::schema::CurrentVersion - 14);
        QVERIFY2(
            steps[0].contains("campo Propiedades.Portales añadido, campo Propiedades.Modificado añadido, "
                              "campo Tipos.TipoPortales añadido, campo Localidades.Provincia añadido"),
            qPrintable(steps[0]));
        QCOMPARE(rows(*d, "SELECT Cod, Portales, Modificado IS NOT NULL FROM Propiedades ORDER BY Cod"),
                 (QStringList{"0100001|true|1", "0100002|false|1"}));
        auto fresh = agencyDatabase(other);
        QCOMPARE(structureOf(*d), structureOf(*fresh));
        const QString triggers = "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' ORDER BY 1";
        QCOMPARE(rows(*d, triggers), rows(*fresh, triggers));

        // Two changes within the same second still give two later times.
        const auto modificado = [&] {
            return d->scalar("SELECT Modificado FROM Propiedades WHERE Cod = '0100001'").toString();
        };
        const QString antes = modificado();
        d->execute("UPDATE Propiedades SET Precio = 1 WHERE Cod = '0100001'");
        const QString una = modificado();
        d->execute("UPDATE Propiedades SET Foto1 = '0100001-1.jpg' WHERE Cod = '0100001'");
        QVERIFY2(una > antes && modificado() > una, qPrintable(antes + " " + una + " " + modificado()));
        QCOMPARE(rows(*d, "SELECT Modificado FROM Propiedades WHERE Cod = '0100002'").size(), 1);
        // A writer that puts back the time it read does not hold it back.
        const QString leido = modificado();
        d->execute("UPDATE Propiedades SET Precio = 2, Modificado = ? WHERE Cod = '0100001'", {leido});
        QVERIFY(modificado() > leido);
        // An import brings the other office's time and keeps it; a new row without one gets it.
        d->execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Modificado) VALUES ('0200001', '02', 1, "
                   "'2024-03-01 10:00:00'), ('0100003', '01', 3, NULL)");
        QCOMPARE(rows(*d, "SELECT Modificado FROM Propiedades WHERE Cod = '0200001'"),
                 QStringList{"2024-03-01 10:00:00"});
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                    .match(d->scalar("SELECT Modificado FROM Propiedades WHERE Cod = '0100003'").toString())
                    .hasMatch());
        // A new property is on the portals unless its agent takes it off.
        QCOMPARE(rows(*d, "SELECT Portales FROM Propiedades WHERE Cod = '0100003'"), QStringList{"true"});
    }

    // A database of the version before gains the web export's index, and the
    // export's read goes through it without sorting.
    void previousVersionGainsTheWebIndex() {
        QTemporaryDir dir, other;
        auto d = agencyDatabase(dir);
        d->execute("DROP INDEX Propiedades_Web");
        d->execute("DROP TABLE Agentes");
        d->execute("ALTER TABLE Actividades DROP COLUMN Agente");
        d->execute("ALTER TABLE PropiedadesEnviadas DROP COLUMN Agente");
        d->setUserVersion(15); // the text index and the agents came after
        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), orb::schema::CurrentVersion - 15);
        QCOMPARE(steps.first(), QString("Versión 15 → 16: índice Propiedades_Web creado"));
        QCOMPARE(structureOf(*d), structureOf(*agencyDatabase(other)));
        const QStringList plan = rows(
            *d, "EXPLAIN QUERY PLAN SELECT p.Cod FROM Propiedades p LEFT JOIN Tipos t ON p.CodTipo = t.Cod "
                "WHERE p.Agencia = '01' AND p.Estado = 'En Venta' AND p.ExportacionWeb = TRUE AND "
                "p.Alquiler = FALSE ORDER BY p.rowid");
        QVERIFY2(plan.join(' ').contains("Propiedades_Web") && !plan.join(' ').contains("TEMP B-TREE"),
                 qPrintable(plan.join('\n')));
    }

    // The agents' step keeps every activity line and sent match; new ones can carry their agent.
    void previousVersionGainsTheAgents() {
        QTemporaryDir dir, other;
        auto d = agencyDatabase(dir);
        d->execute("DROP TABLE Agentes");
        d->execute("ALTER TABLE Actividades DROP COLUMN Agente");
        d->execute("ALTER TABLE PropiedadesEnviadas DROP COLUMN Agente");
        d->execute(
            "INSERT INTO Actividades (Propiedad, Fecha, Actividad) VALUES ('V1', '2026-01-02', 'Visita')");
        d->execute("INSERT INTO PropiedadesEnviadas (CodCliente, CodPropiedad) VALUES ('C1', 'V1')");
        d->setUserVersion(17);
        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), 1);
        QVERIFY2(steps.first().startsWith("Versión 17 → 18: tabla Agentes creada"),
                 qPrintable(steps.first()));
        QCOMPARE(structureOf(*d), structureOf(*agencyDatabase(other)));
        QCOMPARE(d->query("SELECT Propiedad, Actividad, Agente FROM Actividades"),
                 (QList<db::Row>{{"V1", "Visita", QVariant()}}));
        d->execute("INSERT INTO Agentes (Cod, Nombre, Oficina) VALUES (1, 'Ana', '01')");
        QCOMPARE(d->scalar("SELECT Activo FROM Agentes").toInt(), 1); // a new agent is active
    }

    void olderVersionsStepThroughEveryVersion() {
        QTemporaryDir dir;
        auto d = emptyFile(dir);
        makeOldDatabase(*d, 5);
        const QStringList steps = orb::schema::migrate(*d, {.codigoOficina = "01"});
        QCOMPARE(steps.size(), orb::schema::CurrentVersion - 5);
        QVERIFY(steps.first().startsWith("Versión 5 → 6"));
        QCOMPARE(d->userVersion(), orb::schema::CurrentVersion);
        // The old owners had no office code: the office given to the upgrader
        // fills it; fields that were there keep their values.
        QCOMPARE(d->query("SELECT o.Agencia, p.Agencia FROM Propietarios o, Propiedades p"),
                 (QList<db::Row>{{"01", "01"}}));
    }

    // Reading a setting never writes it: a new database and an upgraded one
    // hold every setting the program reads, and an upgrade keeps stored values.
    void everySettingIsStoredOnce() {
        const QList<std::pair<const char*, QStringList>> leidos = {
            {"CONTADORES", {"CLIENTES", "PROPIEDADES", "PROPIETARIOS", "TIPOS", "LOCALIDADES", "AREAS"}},
            {"CODIGOS", {"MASCARA"}},
            {"GENERAL", {"ADDAGAIN"}},
            {"WEB",
             {"SERVIDOR", "BASEDATOS", "USUARIO", "PASSWORD", "FOTOANCHURA", "FOTOALTURA", "THUMBANCHURA",
              "THUMBALTURA"}},
            {"COINCIDENCIAS", {"TOLERANCIA"}},
            {"SINC", {"FTPSERVIDOR", "FTPUSUARIO", "FTPPASSWORD"}}};
        // "missing" when there is no row, else the stored value ("-" for null).
        const auto guardados = [&](db::Database& d) {
            QStringList out;
            for (const auto& [grupo, variables] : leidos)
                for (const QString& v : variables) {
                    const QStringList r =
                        rows(d, QString("SELECT Valor FROM Config WHERE Grupo = '%1' AND Variable = '%2'")
                                    .arg(QLatin1String(grupo), v));
                    out << QString("%1/%2=%3").arg(QLatin1String(grupo), v, r.isEmpty() ? "missing" : r[0]);
                }
            return out;
        };
        QStringList porDefecto;
        for (const auto& [grupo, variables] : leidos)
            for (const QString& v : variables) {
                const QVariant d = orb::ValorPorDefecto(grupo, v);
                porDefecto << QString("%1/%2=%3")
                                  .arg(QLatin1String(grupo), v, d.isValid() ? d.toString() : QString("-"));
            }
        QTemporaryDir dir, old, older;
        QCOMPARE(guardados(*agencyDatabase(dir)), porDefecto);

        auto d = emptyFile(old);
        makeOldDatabase(*d, 9);
        d->execute("INSERT INTO Config VALUES ('WEB', 'SERVIDOR', NULL)");
        orb::schema::migrate(*d);
        QStringList esperado = porDefecto;
        esperado.replace(1, "CONTADORES/PROPIEDADES=1");
        esperado.replace(esperado.indexOf("WEB/SERVIDOR="), "WEB/SERVIDOR=-");
        QCOMPARE(guardados(*d), esperado);

        auto e = emptyFile(older);
        makeOldDatabase(*e, 5);
        orb::schema::migrate(*e, {.codigoOficina = "01"});
        esperado = porDefecto;
        esperado.replace(1, "CONTADORES/PROPIEDADES=1");
        QCOMPARE(guardados(*e), esperado);
    }

    void failedStepLeavesTheDatabaseAsItWas() {
        QTemporaryDir dir;
        auto d = emptyFile(dir);
        makeOldDatabase(*d, 9);
        // Two properties with one code: the unique index cannot be built.
        d->execute("INSERT INTO Propiedades (Cod, Agencia, QuickID) VALUES ('0100001', '01', 1)");
        QCOMPARE(errorNumberOf([&] { orb::schema::migrate(*d); }), int(db::ErrDuplicateKey));
        QCOMPARE(d->userVersion(), 9);
        QVERIFY(!d->tableExists("Actividades"));
        QCOMPARE(d->scalar("SELECT count(*) FROM Propiedades").toInt(), 2);
        QCOMPARE(fieldsOf(*d, "Propiedades").size(), 5);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
