// The agency database's structure as the windows, searches, reports and
// exchange see it, and its migration from older versions.

#include "platform/db/Database.h"
#include "shell/Schema.h"

#include <QTemporaryDir>
#include <QtTest>

using db::FieldType;

Q_DECLARE_METATYPE(db::FieldType)

namespace {

std::unique_ptr<db::Database> emptyFile(const QTemporaryDir& dir,
                                        const QString& name = QStringLiteral("t.db")) {
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
    for (const db::Row& r : d.query(QStringLiteral("SELECT name, type FROM pragma_table_info(?)"), {table}))
        fields.insert(r[0].toString().toLower(), db::fieldInfoFromDeclType(r[1].toString()));
    return fields;
}

QStringList columnNames(db::Database& d, const QString& table) {
    QStringList names;
    for (const db::Row& r : d.query(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table}))
        names << r[0].toString();
    return names;
}

int errorNumberOf(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const db::DbError& e) {
        return e.number();
    }
    return 0;
}

// Every field that some window, search, report or export reads or writes.
const QHash<QString, QStringList>& fieldsTheProgramUses() {
    static const QHash<QString, QStringList> fields = {
        {QStringLiteral("Config"), {"Grupo", "Variable", "Valor"}},
        {QStringLiteral("Tipos"), {"Cod", "Nombre", "NombreIdioma1", "NombreIdioma2"}},
        {QStringLiteral("Localidades"), {"Cod", "Nombre"}},
        {QStringLiteral("Areas"), {"Cod", "Nombre", "CodLocalidad"}},
        {QStringLiteral("Propietarios"),
         {"Cod", "Agencia", "QuickID", "FechaAlta", "Alquiler", "Nombre", "Direccion", "Localidad",
          "Provincia", "Cp", "Telefono", "Movil", "Fax", "Email", "Dni", "Pasaporte", "Nie", "Comentarios"}},
        {QStringLiteral("Clientes"),
         {"Cod",         "Agencia",   "QuickID",     "FechaAlta", "Alquiler",  "Estado",
          "Nombre",      "Direccion", "Localidad",   "Provincia", "Cp",        "Telefono",
          "Movil",       "Fax",       "Email",       "Dni",       "Pasaporte", "Nie",
          "Comentarios", "Requiere",  "Presupuesto", "CodTipo",   "Agente"}},
        {QStringLiteral("Propiedades"),
         {"Cod",
          "Agencia",
          "QuickID",
          "FechaAlta",
          "Estado",
          "Alquiler",
          "CodTipo",
          "CodLocalidad",
          "CodArea",
          "Precio",
          "Metros",
          "MetrosParcela",
          "Dormitorios",
          "Banos",
          "Aseos",
          "Suelos",
          "Terrazas",
          "ArmariosEmpotrados",
          "PlazasGaraje",
          "Antiguedad",
          "Comunidad",
          "Agente",
          "Calificacion",
          "Hipoteca",
          "ValorEscritura",
          "AnoConstruccion",
          "Observaciones",
          "Piscina",
          "Jardin",
          "Garaje",
          "Orientacion",
          "CocinaAmueblada",
          "CocinaAmericana",
          "AireAcondicionado",
          "Calefaccion",
          "Visitado",
          "Salon",
          "Lavadero",
          "GasCiudad",
          "GasButano",
          "Vitroceramica",
          "Ascensor",
          "Trastero",
          "Vpo",
          "Solarium",
          "SupermercadoCerca",
          "AutobusCerca",
          "CafeteriaCerca",
          "DiversionesCerca",
          "Amueblado",
          "PanelesSolares",
          "Chimenea",
          "CodPropietario",
          "Direccion",
          "Planta",
          "Puerta",
          "NumeroFinca",
          "Titularidad",
          "DiasExclusiva",
          "Firmado",
          "Exclusiva",
          "PPrecio",
          "PComentarios",
          "Foto1",
          "Foto2",
          "Foto3",
          "Foto4",
          "Foto5",
          "Foto6",
          "TextoFoto1",
          "TextoFoto2",
          "TextoFoto3",
          "TextoFoto4",
          "TextoFoto5",
          "TextoFoto6",
          "Fianza",
          "FechaInicio",
          "FechaFin",
          "PrecioAlquiler",
          "ObservacionesAlquiler",
          "INombre",
          "IDireccion",
          "ILocalidad",
          "IProvincia",
          "ICp",
          "ITelefono",
          "IMovil",
          "IFax",
          "IPasaporte",
          "IDni",
          "INie",
          "IEmail",
          "IComentarios",
          "DossierTitulo",
          "DossierDescripcion",
          "DossierTituloIdioma1",
          "DossierDescripcionIdioma1",
          "ExportacionWeb",
          "ExportacionWebDestacada",
          "WebDescripcion",
          "WebDescripcionIdioma1",
          "WebDescripcionIdioma2"}},
        {QStringLiteral("Actividades"), {"Cod", "Propiedad", "Fecha", "CodCliente", "Cliente", "Actividad"}},
    };
    return fields;
}

void addCatalogues(db::Database& d) {
    d.execute(QStringLiteral("INSERT INTO Tipos (Cod, Nombre, NombreIdioma1, NombreIdioma2) VALUES "
                             "(1, 'Ático', 'Penthouse', 'Attique')"));
    d.execute(QStringLiteral("INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Marbella'), (2, 'Nerja')"));
    d.execute(QStringLiteral("INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES "
                             "(1, 'Puerto Banús', 1), (2, 'Elviria', 1), (3, 'Maro', 2)"));
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyFieldTheProgramUsesExists() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        for (auto it = fieldsTheProgramUses().begin(); it != fieldsTheProgramUses().end(); ++it) {
            const auto have = fieldsOf(*d, it.key());
            QVERIFY2(!have.isEmpty(), qPrintable(it.key()));
            for (const QString& f : it.value())
                QVERIFY2(have.contains(f.toLower()), qPrintable(it.key() + u'.' + f));
        }
    }

    void declaredTypes_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("field");
        QTest::addColumn<FieldType>("type");
        QTest::addColumn<int>("size");
        auto row = [](const char* t, const char* f, FieldType type, int size) {
            QTest::addRow("%s.%s", t, f) << QString::fromLatin1(t) << QString::fromLatin1(f) << type << size;
        };
        row("Config", "Valor", FieldType::Text, 255);
        row("Tipos", "Cod", FieldType::Long, 4);
        row("Tipos", "NombreIdioma2", FieldType::Text, 50);
        row("Areas", "CodLocalidad", FieldType::Long, 4);
        // Owner sizes are those of the new-owner dialog.
        row("Propietarios", "Nombre", FieldType::Text, 50);
        row("Propietarios", "Direccion", FieldType::Text, 70);
        row("Propietarios", "Localidad", FieldType::Text, 40);
        row("Propietarios", "Provincia", FieldType::Text, 30);
        row("Propietarios", "Cp", FieldType::Text, 5);
        row("Propietarios", "Telefono", FieldType::Text, 30);
        row("Propietarios", "Email", FieldType::Text, 50);
        row("Propietarios", "Nie", FieldType::Text, 20);
        row("Propietarios", "Comentarios", FieldType::Memo, 0);
        row("Propietarios", "FechaAlta", FieldType::Date, 8);
        row("Propietarios", "Alquiler", FieldType::Boolean, 1);
        row("Propietarios", "QuickID", FieldType::Long, 4);
        // Clients share the owners' personal fields.
        row("Clientes", "Nombre", FieldType::Text, 50);
        row("Clientes", "Cp", FieldType::Text, 5);
        row("Clientes", "Presupuesto", FieldType::Currency, 8);
        row("Clientes", "CodTipo", FieldType::Long, 4);
        row("Clientes", "Requiere", FieldType::Memo, 0);
        row("Propiedades", "Cod", FieldType::Text, 20);
        row("Propiedades", "Precio", FieldType::Currency, 8);
        row("Propiedades", "PrecioAlquiler", FieldType::Currency, 8);
        row("Propiedades", "Dormitorios", FieldType::Integer, 2);
        row("Propiedades", "FechaFin", FieldType::Date, 8);
        row("Propiedades", "Chimenea", FieldType::Boolean, 1);
        row("Propiedades", "ExportacionWebDestacada", FieldType::Boolean, 1);
        row("Propiedades", "Foto6", FieldType::Text, 100);
        row("Propiedades", "Piscina", FieldType::Text, 1);
        row("Propiedades", "Orientacion", FieldType::Text, 2);
        row("Propiedades", "INombre", FieldType::Text, 50);
        row("Propiedades", "WebDescripcionIdioma2", FieldType::Memo, 0);
        row("Actividades", "Cod", FieldType::Long, 4);
        row("Actividades", "Fecha", FieldType::Date, 8);
        row("Actividades", "CodCliente", FieldType::Text, 20);
    }

    void declaredTypes() {
        QFETCH(QString, table);
        QFETCH(QString, field);
        QFETCH(FieldType, type);
        QFETCH(int, size);
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        const db::FieldInfo info = fieldsOf(*d, table).value(field.toLower());
        QCOMPARE(info.type, type);
        QCOMPARE(info.size, size);
    }

    void versionIsCurrent() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        QCOMPARE(d->userVersion(), 10);
        QCOMPARE(orb::schema::CurrentVersion, 10);
    }

    void configHasUniqueIndexNamedIndex() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        QCOMPARE(d->scalar(QStringLiteral(
                               "SELECT \"unique\" FROM pragma_index_list('Config') WHERE name = 'Index'"))
                     .toInt(),
                 1);
        QStringList cols;
        for (const db::Row& r :
             d->query(QStringLiteral("SELECT name FROM pragma_index_info('Index') ORDER BY seqno")))
            cols << r[0].toString();
        QCOMPARE(cols, (QStringList{QStringLiteral("Grupo"), QStringLiteral("Variable")}));
        d->execute(QStringLiteral(
            "INSERT INTO Config (Grupo, Variable, Valor) VALUES ('WEB', 'FOTOANCHURA', '400')"));
        QCOMPARE(errorNumberOf([&] {
                     d->execute(QStringLiteral(
                         "INSERT INTO Config (Grupo, Variable) VALUES ('WEB', 'FOTOANCHURA')"));
                 }),
                 int(db::ErrDuplicateKey));
    }

    void duplicateCodesAreRefused_data() {
        QTest::addColumn<QString>("insert");
        QTest::newRow("Propietarios")
            << QStringLiteral("INSERT INTO Propietarios (Cod, Agencia, QuickID) VALUES ('0100001', '01', 1)");
        QTest::newRow("Clientes") << QStringLiteral(
            "INSERT INTO Clientes (Cod, Agencia, QuickID) VALUES ('0100001', '01', 1)");
        QTest::newRow("Propiedades") << QStringLiteral(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID) VALUES ('0100001', '01', 1)");
        QTest::newRow("Tipos") << QStringLiteral("INSERT INTO Tipos (Cod, Nombre) VALUES (7, 'Piso')");
        QTest::newRow("Localidades") << QStringLiteral(
            "INSERT INTO Localidades (Cod, Nombre) VALUES (7, 'Nerja')");
        QTest::newRow("Areas") << QStringLiteral("INSERT INTO Areas (Cod, Nombre) VALUES (7, 'Maro')");
    }

    void duplicateCodesAreRefused() {
        QFETCH(QString, insert);
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        d->execute(insert);
        QCOMPARE(errorNumberOf([&] { d->execute(insert); }), int(db::ErrDuplicateKey));
    }

    void catalogueCodeStaysApartFromRowid() {
        // Editing a code must not move the row under an open recordset.
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        const qint64 rowid =
            d->scalar(QStringLiteral("SELECT rowid FROM Localidades WHERE Cod = 2")).toLongLong();
        d->execute(QStringLiteral("UPDATE Localidades SET Cod = 40 WHERE Cod = 2"));
        QCOMPARE(
            d->scalar(QStringLiteral("SELECT Cod FROM Localidades WHERE rowid = ?"), {rowid}).toLongLong(),
            40);
    }

    void textLongerThanItsFieldIsRefused() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        const QString sql = QStringLiteral("INSERT INTO Propietarios (Cod, Nombre, Cp) VALUES (?, ?, ?)");
        // 50 characters fit whatever their bytes: ñ is two bytes in UTF-8.
        d->execute(sql, {QStringLiteral("A1"), QString(50, u'ñ'), QStringLiteral("29600")});
        QCOMPARE(errorNumberOf([&] {
                     d->execute(sql, {QStringLiteral("A2"), QString(51, u'x'), QVariant()});
                 }),
                 int(db::ErrFieldTooSmall));
        QCOMPARE(errorNumberOf([&] {
                     d->execute(sql, {QStringLiteral("A3"), QStringLiteral("Ana"), QStringLiteral("296000")});
                 }),
                 int(db::ErrFieldTooSmall));
        QCOMPARE(d->scalar(QStringLiteral("SELECT count(*) FROM Propietarios")).toInt(), 1);
    }

    void textSortsTheSpanishWay() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        d->execute(QStringLiteral(
            "INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Ojén'), (2, 'Ñora'), (3, 'álora'), "
            "(4, 'Nerja'), (5, 'Benalmádena')"));
        QStringList names;
        for (const db::Row& r : d->query(QStringLiteral("SELECT Nombre FROM Localidades ORDER BY Nombre")))
            names << r[0].toString();
        QCOMPARE(names,
                 (QStringList{QStringLiteral("álora"), QStringLiteral("Benalmádena"), QStringLiteral("Nerja"),
                              QStringLiteral("Ñora"), QStringLiteral("Ojén")}));
    }

    void yesNoAndDateFieldsHoldOnlyTheirValues() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        d->execute(QStringLiteral("INSERT INTO Propiedades (Cod, FechaAlta) VALUES ('P1', '2024-02-29')"));
        // A yes/no field left out reads as No.
        QCOMPARE(d->scalar(QStringLiteral("SELECT Alquiler FROM Propiedades WHERE Cod = 'P1'")),
                 QVariant(false));
        QCOMPARE(d->scalar(QStringLiteral("SELECT FechaAlta FROM Propiedades WHERE Cod = 'P1'")),
                 QVariant(QDate(2024, 2, 29)));
        const QString sql =
            QStringLiteral("INSERT INTO Propiedades (Cod, Alquiler, FechaAlta) VALUES (?, ?, ?)");
        QCOMPARE(errorNumberOf([&] {
                     d->execute(sql, {QStringLiteral("P2"), 2, QVariant()});
                 }),
                 int(db::ErrConstraint));
        for (const QString& bad : {QStringLiteral("2009-02-31"), QStringLiteral("31/02/2009"),
                                   QStringLiteral(""), QStringLiteral("mañana")})
            QVERIFY2(errorNumberOf([&] {
                         d->execute(sql, {QStringLiteral("P3"), 0, bad});
                     }) == db::ErrConstraint,
                     qPrintable(bad));
        QCOMPARE(errorNumberOf([&] {
                     d->execute(
                         QStringLiteral("INSERT INTO Actividades (Propiedad, Fecha) VALUES ('P1', '')"));
                 }),
                 int(db::ErrConstraint));
    }

    void activityCodesFollowInsertionOrder() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        const QString sql = QStringLiteral(
            "INSERT INTO Actividades (Propiedad, Fecha, CodCliente, Actividad) VALUES (?, ?, ?, ?)");
        d->execute(sql, {QStringLiteral("P1"), QDate(2024, 5, 2), QStringLiteral("0100042"),
                         QStringLiteral("Visita")});
        d->execute(sql, {QStringLiteral("P1"), QDate(2024, 5, 1), QVariant(), QStringLiteral("Llamada")});
        const auto rows = d->query(QStringLiteral("SELECT Cod, Actividad, CodCliente FROM Actividades "
                                                  "WHERE Propiedad = 'P1' ORDER BY Cod"));
        QCOMPARE(rows.size(), 2);
        QVERIFY(rows[0][0].toLongLong() < rows[1][0].toLongLong());
        QCOMPARE(rows[0][1].toString(), QStringLiteral("Visita"));
        // The client's code keeps its leading zero.
        QCOMPARE(rows[0][2].toString(), QStringLiteral("0100042"));
    }

    void propertySearchViewJoinsNames() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        d->execute(QStringLiteral("INSERT INTO Propietarios (Cod, Nombre, Telefono, Movil) VALUES "
                                  "('0100001', 'Sean O''Connor', '952 11 22 33', '600 111 222')"));
        d->execute(QStringLiteral(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, CodTipo, "
            "CodLocalidad, CodArea, CodPropietario, Dormitorios, Precio, FechaAlta) VALUES "
            "('0100001', '01', 1, 0, 'En Venta', 1, 1, 2, '0100001', 3, 450000, '2024-03-01')"));
        // No catalogue entries and no owner: still one row.
        d->execute(QStringLiteral(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado, PrecioAlquiler) "
            "VALUES ('0100002', '01', 2, 1, 'Libre', 950)"));
        const auto rows = d->query(QStringLiteral(
            "SELECT Cod, Tipo, Localidad, Area, Propietario, Telefono, Movil, Alquiler, FechaAlta, "
            "Precio, PrecioAlquiler FROM busquedapropiedades ORDER BY Cod"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][1].toString(), QStringLiteral("Ático"));
        QCOMPARE(rows[0][2].toString(), QStringLiteral("Marbella"));
        QCOMPARE(rows[0][3].toString(), QStringLiteral("Elviria"));
        QCOMPARE(rows[0][4].toString(), QStringLiteral("Sean O'Connor"));
        QCOMPARE(rows[0][6].toString(), QStringLiteral("600 111 222"));
        // Field types reach through the view, so grids format them.
        QCOMPARE(rows[0][7], QVariant(false));
        QCOMPARE(rows[0][8], QVariant(QDate(2024, 3, 1)));
        QCOMPARE(rows[0][9].toDouble(), 450000.0);
        QVERIFY(db::isNull(rows[1][1]) && db::isNull(rows[1][4]));
        QCOMPARE(rows[1][10].toDouble(), 950.0);

        // A search as the window builds it, with the criteria bound.
        const auto found =
            d->query(QStringLiteral("SELECT Cod FROM busquedapropiedades WHERE Alquiler = ? AND "
                                    "Estado = ? AND Dormitorios >= ? AND Propietario LIKE ? ESCAPE '\\' "
                                    "ORDER BY Cod"),
                     {false, QStringLiteral("En Venta"), 2, db::containsPattern(QStringLiteral("o'co"))});
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0][0].toString(), QStringLiteral("0100001"));
    }

    void typicalSearchUsesTheSearchIndex() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        QStringList plan;
        for (const db::Row& r :
             d->query(QStringLiteral("EXPLAIN QUERY PLAN SELECT Cod FROM busquedapropiedades "
                                     "WHERE Estado = ? AND Alquiler = ? AND Dormitorios >= ? "
                                     "ORDER BY Cod"),
                      {QStringLiteral("En Venta"), 0, 2}))
            plan << r.last().toString();
        QVERIFY2(plan.join(u'\n').contains(QStringLiteral("Propiedades_Busqueda")),
                 qPrintable(plan.join(u'\n')));
    }

    void clientSearchViewNamesTheWantedType() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        d->execute(QStringLiteral(
            "INSERT INTO Clientes (Cod, Nombre, CodTipo, Presupuesto, Alquiler) VALUES "
            "('0100001', 'Ana Peña', 1, 300000, 0), ('0100002', 'Lars Andersson', 0, 1200, 1)"));
        const auto rows =
            d->query(QStringLiteral("SELECT Cod, Nombre, Telefono, Movil, Tipo, Presupuesto, FechaAlta, "
                                    "Alquiler, CodTipo FROM busquedaclientes ORDER BY Cod"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0][4].toString(), QStringLiteral("Ático"));
        QVERIFY(db::isNull(rows[1][4]));
        QCOMPARE(rows[1][7], QVariant(true));
    }

    void propertySheetViewExposesEveryBlock() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        d->execute(
            QStringLiteral("INSERT INTO Propietarios (Cod, Nombre, Direccion, Localidad, Provincia, Cp, "
                           "FechaAlta) VALUES ('0100009', 'Klaus Müller', 'Calle Real, 3', 'Nerja', "
                           "'Málaga', '29780', '2020-01-02')"));
        d->execute(
            QStringLiteral("INSERT INTO Propiedades (Cod, CodTipo, CodLocalidad, CodArea, CodPropietario, "
                           "Direccion, FechaAlta, PPrecio, PComentarios) VALUES ('0100005', 1, 2, 3, "
                           "'0100009', 'Calle Carabeo, 7', '2024-06-10', 200000, 'Negociable')"));
        d->execute(QStringLiteral("INSERT INTO Propiedades (Cod) VALUES ('0100006')"));
        const auto rows = d->query(
            QStringLiteral(
                "SELECT PropiedadesCod, PropietariosNombre, PropietariosDireccion, Localidad, Provincia, CP, "
                "PropiedadesFechaAlta, PropiedadesDireccion, TiposNombre, LocalidadesNombre, AreasNombre, "
                "PPrecio, PComentarios, Cod FROM fichapropiedades WHERE PropiedadesCod = ?"),
            {QStringLiteral("0100005")});
        QCOMPARE(rows.size(), 1);
        const db::Row& r = rows[0];
        QCOMPARE(r[0].toString(), QStringLiteral("0100005"));
        QCOMPARE(r[1].toString(), QStringLiteral("Klaus Müller"));
        QCOMPARE(r[2].toString(), QStringLiteral("Calle Real, 3"));
        QCOMPARE(r[3].toString(), QStringLiteral("Nerja"));
        QCOMPARE(r[5].toString(), QStringLiteral("29780"));
        QCOMPARE(r[6], QVariant(QDate(2024, 6, 10)));
        QCOMPARE(r[7].toString(), QStringLiteral("Calle Carabeo, 7"));
        QCOMPARE(r[8].toString(), QStringLiteral("Ático"));
        QCOMPARE(r[9].toString(), QStringLiteral("Nerja"));
        QCOMPARE(r[10].toString(), QStringLiteral("Maro"));
        QCOMPARE(r[13].toString(), QStringLiteral("0100005"));
        // Every field of the property is there too, and a property without owner still has its sheet.
        const QStringList viewCols = columnNames(*d, QStringLiteral("fichapropiedades"));
        for (const QString& f : fieldsTheProgramUses().value(QStringLiteral("Propiedades")))
            QVERIFY2(viewCols.contains(f), qPrintable(f));
        QCOMPARE(d->query(QStringLiteral("SELECT * FROM fichapropiedades WHERE PropiedadesCod = '0100006'"))
                     .size(),
                 1);
    }

    void localityAreaListingHasOneRowPerArea() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        addCatalogues(*d);
        const auto rows =
            d->query(QStringLiteral("SELECT LocalidadesNombre, AreasNombre FROM listadolocalidadesareas "
                                    "ORDER BY LocalidadesCod, AreasCod"));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0][0].toString(), QStringLiteral("Marbella"));
        QCOMPARE(rows[0][1].toString(), QStringLiteral("Puerto Banús"));
        QCOMPARE(rows[2][0].toString(), QStringLiteral("Nerja"));
        QCOMPARE(rows[2][1].toString(), QStringLiteral("Maro"));
    }

    void exchangeTemplateMirrorsTheAgencyTables() {
        QTemporaryDir dir;
        auto agency = agencyDatabase(dir);
        auto exchange = emptyFile(dir, QStringLiteral("ExportSchema.db"));
        orb::schema::createExportSchema(*exchange);
        QStringList tables;
        for (const db::Row& r :
             exchange->query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                            "AND name NOT LIKE 'sqlite%' ORDER BY name")))
            tables << r[0].toString();
        QCOMPARE(tables, (QStringList{QStringLiteral("Areas"), QStringLiteral("Clientes"),
                                      QStringLiteral("Localidades"), QStringLiteral("Propiedades"),
                                      QStringLiteral("Propietarios"), QStringLiteral("Tipos")}));
        // Rows travel field by field by name: the same fields, the same types.
        for (const QString& t : tables) {
            const auto a = fieldsOf(*agency, t);
            const auto e = fieldsOf(*exchange, t);
            QCOMPARE(e.keys().size(), a.keys().size());
            for (auto it = a.begin(); it != a.end(); ++it) {
                QVERIFY2(e.contains(it.key()), qPrintable(t + u'.' + it.key()));
                QCOMPARE(e.value(it.key()).type, it.value().type);
                QCOMPARE(e.value(it.key()).size, it.value().size);
            }
        }
    }

    // ---- migration --------------------------------------------------------

    void migrateCreatesAnEmptyDatabase() {
        QTemporaryDir dir;
        auto d = emptyFile(dir);
        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), 1);
        QCOMPARE(d->userVersion(), 10);
        for (const QString& t : fieldsTheProgramUses().keys())
            QVERIFY2(d->tableExists(t), qPrintable(t));
        QVERIFY(d->tableExists(QStringLiteral("busquedapropiedades")));
        QVERIFY(orb::schema::migrate(*d).isEmpty());
    }

    void migrateVersion9KeepsItsData() {
        QTemporaryDir dir;
        auto d = emptyFile(dir);
        makeOldDatabase(*d, 9);
        const QStringList steps = orb::schema::migrate(*d);
        QCOMPARE(steps.size(), 1);
        QVERIFY(steps[0].startsWith(QStringLiteral("Versión 9 → 10")));
        QCOMPARE(d->userVersion(), 10);
        // The old rows are there, new fields read as their defaults.
        QCOMPARE(d->scalar(QStringLiteral("SELECT Precio FROM Propiedades WHERE Cod = '0100001'")).toDouble(),
                 125000.0);
        QCOMPARE(d->scalar(QStringLiteral("SELECT Chimenea FROM Propiedades WHERE Cod = '0100001'")),
                 QVariant(false));
        QVERIFY(db::isNull(d->scalar(QStringLiteral("SELECT Nie FROM Propietarios WHERE Cod = '0100001'"))));
        QCOMPARE(
            d->scalar(QStringLiteral("SELECT Nombre FROM Propietarios WHERE Cod = '0100001'")).toString(),
            QStringLiteral("Sean O'Connor"));
        QCOMPARE(d->scalar(QStringLiteral("SELECT Valor FROM Config WHERE Grupo = 'CONTADORES' AND "
                                          "Variable = 'PROPIEDADES'"))
                     .toString(),
                 QStringLiteral("1"));
        // Missing tables, indexes and views now exist and work on the old rows.
        QCOMPARE(
            d->scalar(QStringLiteral("SELECT Propietario FROM busquedapropiedades WHERE Cod = '0100001'"))
                .toString(),
            QStringLiteral("Sean O'Connor"));
        d->execute(
            QStringLiteral("INSERT INTO Actividades (Propiedad, Fecha) VALUES ('0100001', '2024-01-01')"));
        QCOMPARE(errorNumberOf(
                     [&] { d->execute(QStringLiteral("INSERT INTO Propiedades (Cod) VALUES ('0100001')")); }),
                 int(db::ErrDuplicateKey));
        // The structure matches a new database's field for field.
        QTemporaryDir other;
        auto fresh = agencyDatabase(other);
        for (const QString& t : fieldsTheProgramUses().keys()) {
            const auto a = fieldsOf(*fresh, t);
            const auto m = fieldsOf(*d, t);
            for (auto it = a.begin(); it != a.end(); ++it)
                QVERIFY2(m.contains(it.key()) && m.value(it.key()).type == it.value().type,
                         qPrintable(t + u'.' + it.key()));
        }
    }

    void migrateIsIdempotent() {
        QTemporaryDir dir;
        auto d = emptyFile(dir);
        makeOldDatabase(*d, 9);
        orb::schema::migrate(*d);
        QVERIFY(orb::schema::migrate(*d).isEmpty());
        // A step met again (a version number written back by hand) changes nothing.
        d->setUserVersion(9);
        QCOMPARE(orb::schema::migrate(*d).size(), 1);
        QCOMPARE(d->userVersion(), 10);
        QCOMPARE(d->scalar(QStringLiteral("SELECT count(*) FROM Propiedades")).toInt(), 1);
        QCOMPARE(d->scalar(QStringLiteral("SELECT count(*) FROM Actividades")).toInt(), 0);
    }

    void olderVersionsStepThroughEveryVersion() {
        QTemporaryDir dir;
        auto d = emptyFile(dir);
        makeOldDatabase(*d, 5);
        orb::schema::MigrationOptions options;
        options.codigoOficina = QStringLiteral("01");
        const QStringList steps = orb::schema::migrate(*d, options);
        QCOMPARE(steps.size(), 5);
        QVERIFY(steps.first().startsWith(QStringLiteral("Versión 5 → 6")));
        QVERIFY(steps.last().startsWith(QStringLiteral("Versión 9 → 10")));
        QCOMPARE(d->userVersion(), 10);
        // The old owners table had no office code: the office given to the upgrader fills it.
        QCOMPARE(
            d->scalar(QStringLiteral("SELECT Agencia FROM Propietarios WHERE Cod = '0100001'")).toString(),
            QStringLiteral("01"));
        // Fields that were there keep their values.
        QCOMPARE(
            d->scalar(QStringLiteral("SELECT Agencia FROM Propiedades WHERE Cod = '0100001'")).toString(),
            QStringLiteral("01"));
    }

    void failedStepLeavesTheDatabaseAsItWas() {
        QTemporaryDir dir;
        auto d = emptyFile(dir);
        makeOldDatabase(*d, 9);
        // Two properties with one code: the unique index cannot be built.
        d->execute(QStringLiteral(
            "INSERT INTO Propiedades (Cod, Agencia, QuickID, Precio) VALUES ('0100001', '01', 1, 9)"));
        QCOMPARE(errorNumberOf([&] { orb::schema::migrate(*d); }), int(db::ErrDuplicateKey));
        QCOMPARE(d->userVersion(), 9);
        QVERIFY(!d->tableExists(QStringLiteral("Actividades")));
        QVERIFY(!d->tableExists(QStringLiteral("busquedapropiedades")));
        QCOMPARE(d->scalar(QStringLiteral("SELECT count(*) FROM Propiedades")).toInt(), 2);
        QCOMPARE(columnNames(*d, QStringLiteral("Propiedades")).size(), 5);
    }

    void newerDatabaseIsLeftAlone() {
        QTemporaryDir dir;
        auto d = agencyDatabase(dir);
        d->setUserVersion(11);
        QVERIFY(orb::schema::migrate(*d).isEmpty());
        QCOMPARE(d->userVersion(), 11);
    }

private:
    // A database as an older program left it: fewer tables and fields, no views.
    static void makeOldDatabase(db::Database& d, int version) {
        d.executeScript(QStringLiteral(
            "CREATE TABLE Config (Grupo VARCHAR(50), Variable VARCHAR(50), Valor VARCHAR(255));"
            "CREATE TABLE Tipos (Cod INTEGER, Nombre VARCHAR(50), NombreIdioma1 VARCHAR(50), NombreIdioma2 "
            "VARCHAR(50));"
            "CREATE TABLE Localidades (Cod INTEGER, Nombre VARCHAR(50));"
            "CREATE TABLE Areas (Cod INTEGER, Nombre VARCHAR(50), CodLocalidad INTEGER);"
            "CREATE TABLE Propiedades (Cod VARCHAR(20), Agencia VARCHAR(10), QuickID INTEGER, Precio "
            "CURRENCY, "
            "CodPropietario VARCHAR(20));"
            "INSERT INTO Config VALUES ('CONTADORES', 'PROPIEDADES', '1');"
            "INSERT INTO Propiedades VALUES ('0100001', '01', 1, 125000, '0100001');"));
        if (version >= 9) {
            d.executeScript(
                QStringLiteral("CREATE TABLE Propietarios (Cod VARCHAR(20), Agencia VARCHAR(10), QuickID "
                               "INTEGER, Nombre VARCHAR(50));"
                               "INSERT INTO Propietarios VALUES ('0100001', '01', 1, 'Sean O''Connor');"));
        } else {
            d.executeScript(QStringLiteral(
                "CREATE TABLE Propietarios (Cod VARCHAR(20), QuickID INTEGER, Nombre VARCHAR(50));"
                "INSERT INTO Propietarios VALUES ('0100001', 1, 'Sean O''Connor');"));
        }
        d.setUserVersion(version);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
