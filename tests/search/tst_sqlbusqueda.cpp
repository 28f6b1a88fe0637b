// The search statements run on a real agency database with rows like the
// demo's: what each criterion finds, and that nothing a user types can change
// the statement or match more than it says.

#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/db/Database.h"
#include "platform/db/TextMatching.h"
#include "search/SqlBusqueda.h"

#include <QtTest>

using namespace orb;

namespace {

struct Propiedad {
    const char* cod;
    bool alquiler;
    const char* estado;
    int dorm;
    const char* direccion;
    const char* agente;
    double precio; // Precio (sales) or PrecioAlquiler (rentals)
    const char* alta;
    const char* propietario;
    int tipo, localidad, area;
};

struct Persona {
    const char* cod;
    bool alquiler;
    const char* nombre;
    const char* telefono;
    const char* movil;
    const char* alta;
};

struct Cliente {
    const char* cod;
    bool alquiler;
    const char* nombre;
    double presupuesto;
    int tipo;
    const char* alta;
};

const Persona Propietarios[] = {
    {"P01", false, "Hélène Lefèvre", "952000111", "600123456", "2009-02-10"},
    {"P02", false, "Liam O'Sullivan", "952111222", "", "2009-03-01"},
    {"P03", false, "100% Real, S.L.", "952333444", "611000000", "2010-06-15"},
    {"P04", false, "Ana_Belén \\ Ruiz", "", "622333444", "2008-11-30"},
    {"P05", false, "Peña 🏠 €", "+44 20 7946", "", "2011-01-20"},
    {"R01", true, "Jürgen Weiß", "", "699888777", "2009-05-05"},
};

const Propiedad Propiedades[] = {
    {"V001", false, "En Venta", 1, "Calle Larios, 5", "Lucía Fernández", 100000, "2009-02-28", "P01", 1, 1,
     10},
    {"V002", false, "En Venta", 2, "Calle Real, 12", "Carmen Ruiz", 250000, "2009-03-01", "P02", 2, 1, 11},
    {"V003", false, "En Venta", 3, "Avenida 100% Mar", "Peter Jensen", 180000, "2009-01-03", "P03", 1, 2, 20},
    {"V004", false, "Vendida", 3, "Paseo d'Ors_2 \\ bis", "Lucía Fernández", 90000, "2010-05-05", "P04", 3, 2,
     0},
    {"V005", false, "Stand By", 4, "Calle Peña 🏠 €", "\" OR 1=1 --", 500000, "2008-12-31", "P05", 2, 1, 10},
    {"V006", false, "En Venta", 5, "Urbanización Los Naranjos", "Javier Moreno", 300000, "2011-01-01", "", 1,
     1, 11},
    {"A001", true, "Libre", 2, "Calle Larios, 7", "Carmen Ruiz", 900, "2009-03-05", "R01", 1, 1, 10},
    {"A002", true, "Alquilada", 3, "Calle Málaga, 3", "Javier Moreno", 650, "2009-04-01", "R01", 2, 2, 20},
    {"A003", true, "Libre", 1, "Paseo Marítimo, 40", "Peter Jensen", 1200, "2010-01-01", "R01", 1, 1, 11},
};

const Cliente Clientes[] = {
    {"C001", false, "Ana García", 99999, 1, "2009-01-01"},
    {"C002", false, "Bob Smith", 100000, 3, "2009-02-01"},
    {"C003", false, "Marta Núñez", 150000, 0, "2009-03-01"},
    {"C004", false, "Kevin O'Neil", 200000, 2, "2009-04-01"},
    {"C005", false, "100% cliente_x \\", 200001, 0, "2009-05-01"},
    {"C006", true, "Rosa Ñíguez", 150000, 1, "2009-06-01"},
};

QVariant texto(const char* s) {
    return *s ? QVariant(QString::fromUtf8(s)) : QVariant();
}

// Texts every criterion box is tried with.
QStringList hostiles() {
    return QStringList{"'", "%", "_",   "\\",   "\" OR 1=1 --", "🏠",      "ñ",
                       "á", "€", "O'S", "100%", "a_b",          "s_2 \\", "' OR ''='"}
           << QString(10000, u'x');
}

// "Contains" as the user means it: literal, case ignored; names and addresses
// also ignore accents.
bool contiene(const QString& campo, const QString& criterio, bool nombre) {
    if (nombre)
        return db::stripAccents(campo).contains(db::stripAccents(criterio), Qt::CaseInsensitive);
    return campo.contains(criterio, Qt::CaseInsensitive);
}

using P = CriteriosPropiedades;
using O = CriteriosPropietarios;
using K = CriteriosClientes;
// Criteria boxes as the user fills them: which box, what text.
template <typename C> using Campos = QList<std::pair<QString C::*, QString>>;

} // namespace

class TestSqlBusqueda : public QObject {
    Q_OBJECT

    TestInstallation inst;
    db::Database* d = nullptr;

    // Codes found with these boxes filled over the side's opening criteria.
    template <typename C>
    QStringList buscar(ConsultaBusqueda (*sql)(const C&), C c, const Campos<C>& campos) {
        for (const auto& [campo, valor] : campos)
            c.*campo = valor;
        const ConsultaBusqueda q = sql(c);
        if (!q.error.isEmpty()) {
            qWarning("%s", qPrintable(q.error));
            return {"<error>"};
        }
        QStringList r;
        for (const db::Row& row : d->query(q.sql, q.params))
            r << row.value(0).toString();
        return r;
    }
    QStringList propiedades(const Campos<P>& f = {}, bool alquiler = false) {
        P c;
        c.alquiler = alquiler;
        c.estado = alquiler ? "Libre" : "En Venta";
        return buscar(SqlBusquedaPropiedades, c, f);
    }
    QStringList propietarios(const Campos<O>& f, bool alquiler = false) {
        O c;
        c.alquiler = alquiler;
        return buscar(SqlBusquedaPropietarios, c, f);
    }
    QStringList clientes(const Campos<K>& f, bool alquiler = false) {
        K c;
        c.alquiler = alquiler;
        return buscar(SqlBusquedaClientes, c, f);
    }

private Q_SLOTS:
    void initTestCase() {
        ORB_MOTOR_DISPONIBLE();
        d = &inst.context().db();
        d->execute("INSERT INTO Tipos (Cod, Nombre) VALUES (1, 'Piso'), (2, 'Chalet'), (3, 'Ático')");
        d->execute("INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Marbella'), (2, 'Ronda')");
        d->execute("INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (10, 'Nueva Andalucía', 1), "
                   "(11, 'Puerto Banús', 1), (20, 'Centro', 2)");
        for (const Persona& p : Propietarios)
            d->execute("INSERT INTO Propietarios (Cod, Alquiler, Nombre, Telefono, Movil, FechaAlta) "
                       "VALUES (?, ?, ?, ?, ?, ?)",
                       {p.cod, p.alquiler, texto(p.nombre), texto(p.telefono), texto(p.movil), p.alta});
        for (const Propiedad& p : Propiedades)
            d->execute(
                QStringLiteral("INSERT INTO Propiedades (Cod, Alquiler, Estado, Dormitorios, Direccion, "
                               "Agente, %1, FechaAlta, CodPropietario, CodTipo, CodLocalidad, CodArea) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                    .arg(ColumnaPrecio(p.alquiler)),
                {p.cod, p.alquiler, p.estado, p.dorm, texto(p.direccion), texto(p.agente), p.precio, p.alta,
                 texto(p.propietario), p.tipo, p.localidad, p.area});
        for (const Cliente& c : Clientes)
            d->execute("INSERT INTO Clientes (Cod, Alquiler, Nombre, Presupuesto, CodTipo, FechaAlta) "
                       "VALUES (?, ?, ?, ?, ?, ?)",
                       {c.cod, c.alquiler, c.nombre, c.presupuesto, c.tipo, c.alta});
    }

    void openingStateFindsTheSideInItsDefaultState() {
        // Find with nothing changed: that side, that state, by code.
        QCOMPARE(propiedades(), QStringList({"V001", "V002", "V003", "V006"}));
        QCOMPARE(propiedades({}, true), QStringList({"A001", "A003"}));
        // The state list's empty item: every state of the side, never the other side.
        QCOMPARE(propiedades({{&P::estado, ""}}),
                 QStringList({"V001", "V002", "V003", "V004", "V005", "V006"}));
        QCOMPARE(propiedades({{&P::estado, "Vendida"}}), QStringList({"V004"}));
        // A state typed in lower case is the same state.
        QCOMPARE(propiedades({{&P::estado, "en venta"}}), QStringList({"V001", "V002", "V003", "V006"}));
        // The empty statement after New search has the grid's columns and no row.
        const auto vacia = SqlBusquedaPropiedadesVacia(true);
        QVERIFY(d->query(vacia.sql).isEmpty());
        QVERIFY(vacia.sql.startsWith(
            "SELECT Cod,Direccion,Tipo,Localidad,Area,Dormitorios,Metros,PrecioAlquiler "));
    }

    void rangesIncludeTheirEndsAndMayBeOpen() {
        QCOMPARE(propiedades({{&P::dormitoriosDesde, "2"}, {&P::dormitoriosHasta, "3"}}),
                 QStringList({"V002", "V003"}));
        QCOMPARE(propiedades({{&P::dormitoriosDesde, "3"}}), QStringList({"V003", "V006"}));
        QCOMPARE(propiedades({{&P::dormitoriosHasta, "2"}}), QStringList({"V001", "V002"}));
        QCOMPARE(propiedades({{&P::precioDesde, "100.000"}, {&P::precioHasta, "250000"}}),
                 QStringList({"V001", "V002", "V003"}));
        QCOMPARE(propiedades({{&P::precioHasta, "1000"}}, true), QStringList({"A001"})); // the rent
        QCOMPARE(clientes({{&K::presupuestoDesde, "100000"}, {&K::presupuestoHasta, "200000"}}),
                 QStringList({"C002", "C003", "C004"}));
        QCOMPARE(clientes({{&K::presupuestoDesde, "100.000"}, {&K::presupuestoHasta, "200.000"}}),
                 QStringList({"C002", "C003", "C004"}));
    }

    void anAmountThatIsNotANumberIsRefusedNamingTheField() {
        P c;
        c.precioHasta = "barato";
        const auto q = SqlBusquedaPropiedades(c);
        QVERIFY(q.sql.isEmpty());
        QVERIFY2(q.error.contains("Precio (hasta)"), qPrintable(q.error));
        K k;
        k.presupuestoDesde = "1e5";
        QVERIFY(SqlBusquedaClientes(k).error.contains("Presupuesto (desde)"));
        // Bedrooms the same way: letters are not 0 bedrooms.
        for (const auto& [campo, nombre] : {std::pair{&P::dormitoriosDesde, "Nº Dormitorios (desde)"},
                                            std::pair{&P::dormitoriosHasta, "Nº Dormitorios (hasta)"}}) {
            P b;
            b.*campo = "tres";
            const auto r = SqlBusquedaPropiedades(b);
            QVERIFY(r.sql.isEmpty());
            QCOMPARE(r.error, QString("El campo %1 debe ser un número: «tres» no lo es.").arg(nombre));
        }
        QCOMPARE(propiedades({{&P::dormitoriosHasta, "uno"}}), QStringList{"<error>"});
        QCOMPARE(propiedades({{&P::dormitoriosDesde, "3"}, {&P::dormitoriosHasta, " 4 "}}),
                 QStringList({"V003"}));
    }

    void datesAreReadDayFirstAndANonDateIsIgnored() {
        QCOMPARE(propiedades({{&P::fechaDesde, "31/02/2009"}}),
                 QStringList({"V001", "V002", "V003", "V006"}));
        QCOMPARE(propiedades({{&P::fechaDesde, "01/03/2009"}}), QStringList({"V002", "V006"}));
        QCOMPARE(propiedades({{&P::fechaDesde, "1/1/2009"}, {&P::fechaHasta, "28/02/2009"}}),
                 QStringList({"V001", "V003"}));
        P c;
        c.fechaDesde = "01/03/2009";
        QVERIFY(SqlBusquedaPropiedades(c).params.contains("2009-03-01"));
        // Owners: a "from" that is not a date leaves only the "to".
        QCOMPARE(propietarios({{&O::fechaDesde, "ayer"}, {&O::fechaHasta, "01/03/2009"}}),
                 QStringList({"P01", "P02", "P04"}));
    }

    void criteriaOnOwnersCataloguesAndWildcard() {
        // The telephone criterion searches both of the owner's numbers.
        QCOMPARE(propiedades({{&P::estado, ""}, {&P::telefono, "123456"}}), QStringList({"V001"}));
        QCOMPARE(propiedades({{&P::estado, ""}, {&P::telefono, "952"}}),
                 QStringList({"V001", "V002", "V003"}));
        QCOMPARE(propiedades({{&P::telefono, "699888"}}, true), QStringList({"A001", "A003"}));
        QCOMPARE(propiedades({{&P::codTipo, "1"}}), QStringList({"V001", "V003", "V006"}));
        QCOMPARE(propiedades({{&P::codLocalidad, "1"}, {&P::codArea, "11"}}), QStringList({"V002", "V006"}));
        QCOMPARE(clientes({{&K::codTipo, "3"}}), QStringList({"C002"}));
        // Clients without a type are found only with the type list empty.
        QCOMPARE(clientes({}), QStringList({"C001", "C002", "C003", "C004", "C005"}));
        // The user's * stands for any run of characters; alone it means anything.
        QCOMPARE(propiedades({{&P::direccion, "calle*5"}}), QStringList({"V001"}));
        QCOMPARE(propiedades({{&P::codigo, "*"}}), QStringList({"V001", "V002", "V003", "V006"}));
        QCOMPARE(propietarios({{&O::nombre, "o*sul"}}), QStringList({"P02"}));
    }

    void sortOrders() {
        const auto orden = [](const QString& o, bool alquiler) {
            P c;
            c.alquiler = alquiler;
            c.orden = o;
            return SqlBusquedaPropiedades(c).sql;
        };
        QVERIFY(orden("Precio", true).endsWith("ORDER BY PrecioAlquiler NULLS FIRST, Cod"));
        QVERIFY(orden("Precio", false).endsWith("ORDER BY Precio NULLS FIRST, Cod"));
        QCOMPARE(propiedades({{&P::orden, "Precio"}}, true), QStringList({"A001", "A003"}));
        QCOMPARE(propiedades({{&P::estado, ""}, {&P::orden, "Precio"}}, true),
                 QStringList({"A002", "A001", "A003"}));
        QCOMPARE(propiedades({{&P::orden, "Dirección"}}), QStringList({"V003", "V001", "V002", "V006"}));
        // A text that is not an item of the list never reaches the statement.
        QVERIFY(orden("Cod; DROP TABLE Propiedades", false).endsWith("ORDER BY Cod"));
        QCOMPARE(propietarios({{&O::orden, "Fecha"}}), QStringList({"P04", "P01", "P02", "P03", "P05"}));
        QCOMPARE(propietarios({{&O::orden, "Nombre"}}), QStringList({"P03", "P04", "P01", "P02", "P05"}));
        // Clients by the type's name (Ático, Chalet, Piso), clients without a type first.
        QCOMPARE(clientes({{&K::orden, "Tipo"}}), QStringList({"C003", "C005", "C002", "C004", "C001"}));
        QCOMPARE(clientes({{&K::orden, "Presupuesto"}}),
                 QStringList({"C001", "C002", "C003", "C004", "C005"}));
    }

    void namesIgnoreCaseAndAccentsButNotEnye() {
        QCOMPARE(propietarios({{&O::nombre, "lefevre"}}), QStringList({"P01"}));
        QCOMPARE(propietarios({{&O::nombre, "HÉLÈNE"}}), QStringList({"P01"}));
        QCOMPARE(propietarios({{&O::nombre, "jurgen"}}, true), QStringList({"R01"}));
        QCOMPARE(propietarios({{&O::nombre, "pena"}}), QStringList()); // ñ is its own letter
        QCOMPARE(propietarios({{&O::nombre, "PEÑA"}}), QStringList({"P05"}));
        QCOMPARE(propiedades({{&P::propietario, "lefevre"}}), QStringList({"V001"}));
        QCOMPARE(clientes({{&K::nombre, "NUÑEZ"}}), QStringList({"C003"}));
        QCOMPARE(clientes({{&K::nombre, "ñíguez"}}, true), QStringList({"C006"}));
    }

    // Every text criterion of every search, with text that is dangerous in SQL
    // or in a LIKE pattern: no error, and exactly the rows that contain it.
    void hostileInputMatchesLiterally() {
        // The sales rows one of whose texts contains t.
        const auto filtrar = [](const auto& filas, auto textos, const QString& t, bool nombre) {
            QStringList r;
            for (const auto& f : filas)
                for (const char* x : textos(f))
                    if (!f.alquiler && contiene(QString::fromUtf8(x), t, nombre)) {
                        r << f.cod;
                        break;
                    }
            return r;
        };
        const auto duenoDe = [](const Propiedad& p) {
            for (const Persona& o : Propietarios)
                if (QLatin1String(o.cod) == QLatin1String(p.propietario))
                    return o;
            return Persona{"", false, "", "", "", ""};
        };
        using Textos = QList<const char*>;
        struct Caso {
            const char* nombre;
            std::function<QStringList(const QString&)> buscar, esperado;
        };
        const auto enPropiedades = [&](const char* n, QString P::*campo, bool nombre,
                                       std::function<Textos(const Propiedad&)> textos) {
            return Caso{n,
                        [=, this](const QString& t) {
                            return propiedades({{&P::estado, ""}, {campo, t}});
                        },
                        [=](const QString& t) { return filtrar(Propiedades, textos, t, nombre); }};
        };
        const auto cod = [](const auto& f) { return Textos{f.cod}; };
        const auto nom = [](const auto& f) { return Textos{f.nombre}; };
        const QList<Caso> casos = {
            enPropiedades("propiedad código", &P::codigo, false, cod),
            enPropiedades("propiedad dirección", &P::direccion, true,
                          [](auto& p) { return Textos{p.direccion}; }),
            enPropiedades("propiedad agente", &P::agente, true, [](auto& p) { return Textos{p.agente}; }),
            enPropiedades("propiedad propietario", &P::propietario, true,
                          [&](auto& p) { return Textos{duenoDe(p).nombre}; }),
            enPropiedades("propiedad teléfono", &P::telefono, false,
                          [&](auto& p) {
                              return Textos{duenoDe(p).telefono, duenoDe(p).movil};
                          }),
            {"propietario código",
             [&](const QString& t) {
                 return propietarios({{&O::codigo, t}});
             },
             [&](const QString& t) { return filtrar(Propietarios, cod, t, false); }},
            {"propietario nombre",
             [&](const QString& t) {
                 return propietarios({{&O::nombre, t}});
             },
             [&](const QString& t) { return filtrar(Propietarios, nom, t, true); }},
            {"cliente código",
             [&](const QString& t) {
                 return clientes({{&K::codigo, t}});
             },
             [&](const QString& t) { return filtrar(Clientes, cod, t, false); }},
            {"cliente nombre",
             [&](const QString& t) {
                 return clientes({{&K::nombre, t}});
             },
             [&](const QString& t) { return filtrar(Clientes, nom, t, true); }},
        };
        int encontrados = 0;
        for (const Caso& caso : casos) {
            for (const QString& h : hostiles()) {
                QStringList r;
                try {
                    r = caso.buscar(h);
                } catch (const db::DbError& e) {
                    QFAIL(qPrintable(
                        QStringLiteral("%1 «%2»: %3").arg(caso.nombre, h.left(20), e.description())));
                }
                QCOMPARE(r, caso.esperado(h));
                encontrados += int(r.size());
            }
        }
        // The literal matches exist, so the comparison above is not between empty lists.
        QVERIFY(encontrados > 20);

        // What was typed is never part of the statement's text.
        P c;
        c.codigo = c.direccion = c.agente = c.propietario = c.telefono = "zq' OR 1=1 --";
        c.estado = "zq'";
        const auto q = SqlBusquedaPropiedades(c);
        QVERIFY(!q.sql.contains("zq"));
        QVERIFY(!q.sql.contains("1=1"));
    }
};

QTEST_GUILESS_MAIN(TestSqlBusqueda)
#include "tst_sqlbusqueda.moc"
