// The search statements run on a real agency database with rows like the
// demo's: what each criterion finds, and that nothing a user types can change
// the statement or match more than it says.

#include "TestInstallation.h"
#include "platform/db/Database.h"
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
    return {QStringLiteral("'"),
            QStringLiteral("%"),
            QStringLiteral("_"),
            QStringLiteral("\\"),
            QStringLiteral("\" OR 1=1 --"),
            QString(10000, u'x'),
            QStringLiteral("🏠"),
            QStringLiteral("ñ"),
            QStringLiteral("á"),
            QStringLiteral("€"),
            QStringLiteral("O'S"),
            QStringLiteral("100%"),
            QStringLiteral("a_b"),
            QStringLiteral("s_2 \\"),
            QStringLiteral("' OR ''='")};
}

// "Contains" as the user means it: literal, case ignored; names and addresses
// also ignore accents.
bool contiene(const QString& campo, const QString& criterio, bool nombre) {
    if (nombre)
        return db::stripAccents(campo).contains(db::stripAccents(criterio), Qt::CaseInsensitive);
    return campo.contains(criterio, Qt::CaseInsensitive);
}

} // namespace

class TestSqlBusqueda : public QObject {
    Q_OBJECT

    TestInstallation inst;
    db::Database* d = nullptr;

    QStringList codigos(const ConsultaBusqueda& q) {
        if (!q.error.isEmpty()) {
            qWarning("%s", qPrintable(q.error));
            return {QStringLiteral("<error>")};
        }
        QStringList r;
        for (const db::Row& row : d->query(q.sql, q.params))
            r << row.value(0).toString();
        return r;
    }
    QStringList propiedades(const std::function<void(CriteriosPropiedades&)>& f, bool alquiler = false) {
        CriteriosPropiedades c;
        c.alquiler = alquiler;
        c.estado = alquiler ? QStringLiteral("Libre") : QStringLiteral("En Venta");
        f(c);
        return codigos(SqlBusquedaPropiedades(c));
    }
    QStringList propietarios(const std::function<void(CriteriosPropietarios&)>& f, bool alquiler = false) {
        CriteriosPropietarios c;
        c.alquiler = alquiler;
        f(c);
        return codigos(SqlBusquedaPropietarios(c));
    }
    QStringList clientes(const std::function<void(CriteriosClientes&)>& f, bool alquiler = false) {
        CriteriosClientes c;
        c.alquiler = alquiler;
        f(c);
        return codigos(SqlBusquedaClientes(c));
    }

private Q_SLOTS:
    void initTestCase() {
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
        QCOMPARE(propiedades([](auto&) {}), QStringList({"V001", "V002", "V003", "V006"}));
        QCOMPARE(propiedades([](auto&) {}, true), QStringList({"A001", "A003"}));
        // The state list's empty item: every state of the side, never the other side.
        QCOMPARE(propiedades([](auto& c) { c.estado.clear(); }),
                 QStringList({"V001", "V002", "V003", "V004", "V005", "V006"}));
        QCOMPARE(propiedades([](auto& c) { c.estado = "Vendida"; }), QStringList({"V004"}));
        // A state typed in lower case is the same state.
        QCOMPARE(propiedades([](auto& c) { c.estado = "en venta"; }),
                 QStringList({"V001", "V002", "V003", "V006"}));
        // The empty statement after New search has the grid's columns and no row.
        const auto vacia = SqlBusquedaPropiedadesVacia(true);
        QVERIFY(d->query(vacia.sql).isEmpty());
        QVERIFY(vacia.sql.startsWith(
            "SELECT Cod,Direccion,Tipo,Localidad,Area,Dormitorios,Metros,PrecioAlquiler "));
    }

    void rangesIncludeTheirEndsAndMayBeOpen() {
        QCOMPARE(propiedades([](auto& c) {
                     c.dormitoriosDesde = "2";
                     c.dormitoriosHasta = "3";
                 }),
                 QStringList({"V002", "V003"}));
        QCOMPARE(propiedades([](auto& c) { c.dormitoriosDesde = "3"; }), QStringList({"V003", "V006"}));
        QCOMPARE(propiedades([](auto& c) { c.dormitoriosHasta = "2"; }), QStringList({"V001", "V002"}));
        QCOMPARE(propiedades([](auto& c) {
                     c.precioDesde = "100.000";
                     c.precioHasta = "250000";
                 }),
                 QStringList({"V001", "V002", "V003"}));
        // Rentals filter the rent.
        QCOMPARE(propiedades([](auto& c) { c.precioHasta = "1000"; }, true), QStringList({"A001"}));
    }

    void anAmountThatIsNotANumberIsRefusedNamingTheField() {
        CriteriosPropiedades c;
        c.precioHasta = QStringLiteral("barato");
        const auto q = SqlBusquedaPropiedades(c);
        QVERIFY(q.sql.isEmpty());
        QVERIFY2(q.error.contains("Precio (hasta)"), qPrintable(q.error));
        CriteriosClientes k;
        k.presupuestoDesde = QStringLiteral("1e5");
        QVERIFY(SqlBusquedaClientes(k).error.contains("Presupuesto (desde)"));
    }

    void datesAreReadDayFirstAndANonDateIsIgnored() {
        QCOMPARE(propiedades([](auto& c) { c.fechaDesde = "31/02/2009"; }),
                 QStringList({"V001", "V002", "V003", "V006"}));
        QCOMPARE(propiedades([](auto& c) { c.fechaDesde = "01/03/2009"; }), QStringList({"V002", "V006"}));
        QCOMPARE(propiedades([](auto& c) {
                     c.fechaDesde = "1/1/2009";
                     c.fechaHasta = "28/02/2009";
                 }),
                 QStringList({"V001", "V003"}));
        CriteriosPropiedades c;
        c.fechaDesde = QStringLiteral("01/03/2009");
        QVERIFY(SqlBusquedaPropiedades(c).params.contains(QStringLiteral("2009-03-01")));
        // Owners: a "from" that is not a date leaves only the "to".
        QCOMPARE(propietarios([](auto& c) {
                     c.fechaDesde = "ayer";
                     c.fechaHasta = "01/03/2009";
                 }),
                 QStringList({"P01", "P02", "P04"}));
    }

    void telephoneCriterionSearchesBothNumbers() {
        QCOMPARE(propiedades([](auto& c) {
                     c.estado.clear();
                     c.telefono = "123456";
                 }),
                 QStringList({"V001"})); // the owner's mobile, not the telephone
        QCOMPARE(propiedades([](auto& c) {
                     c.estado.clear();
                     c.telefono = "952";
                 }),
                 QStringList({"V001", "V002", "V003"}));
        QCOMPARE(propiedades([](auto& c) { c.telefono = "699888"; }, true), QStringList({"A001", "A003"}));
    }

    void catalogueCriteriaAndWildcard() {
        QCOMPARE(propiedades([](auto& c) { c.codTipo = "1"; }), QStringList({"V001", "V003", "V006"}));
        QCOMPARE(propiedades([](auto& c) {
                     c.codLocalidad = "1";
                     c.codArea = "11";
                 }),
                 QStringList({"V002", "V006"}));
        // The user's * stands for any run of characters; alone it means anything.
        QCOMPARE(propiedades([](auto& c) { c.direccion = "calle*5"; }), QStringList({"V001"}));
        QCOMPARE(propiedades([](auto& c) { c.codigo = "*"; }), QStringList({"V001", "V002", "V003", "V006"}));
        QCOMPARE(propietarios([](auto& c) { c.nombre = "o*sul"; }), QStringList({"P02"}));
    }

    void sortOrders() {
        const auto orden = [](const QString& o, bool alquiler) {
            CriteriosPropiedades c;
            c.alquiler = alquiler;
            c.orden = o;
            return SqlBusquedaPropiedades(c).sql;
        };
        QVERIFY(orden("Precio", true).endsWith("ORDER BY PrecioAlquiler, Cod"));
        QVERIFY(orden("Precio", false).endsWith("ORDER BY Precio, Cod"));
        QCOMPARE(propiedades([](auto& c) { c.orden = "Precio"; }, true), QStringList({"A001", "A003"}));
        QCOMPARE(propiedades(
                     [](auto& c) {
                         c.estado.clear();
                         c.orden = "Precio";
                     },
                     true),
                 QStringList({"A002", "A001", "A003"}));
        QCOMPARE(propiedades([](auto& c) { c.orden = "Dirección"; }),
                 QStringList({"V003", "V001", "V002", "V006"}));
        // A text that is not an item of the list never reaches the statement.
        QVERIFY(orden("Cod; DROP TABLE Propiedades", false).endsWith("ORDER BY Cod"));
        QCOMPARE(propietarios([](auto& c) { c.orden = "Fecha"; }),
                 QStringList({"P04", "P01", "P02", "P03", "P05"}));
        QCOMPARE(propietarios([](auto& c) { c.orden = "Nombre"; }),
                 QStringList({"P03", "P04", "P01", "P02", "P05"}));
        // Clients by the type's name (Ático, Chalet, Piso), clients without a type first.
        QCOMPARE(clientes([](auto& c) { c.orden = "Tipo"; }),
                 QStringList({"C003", "C005", "C002", "C004", "C001"}));
        QCOMPARE(clientes([](auto& c) { c.orden = "Presupuesto"; }),
                 QStringList({"C001", "C002", "C003", "C004", "C005"}));
    }

    void ownerNameIgnoresCaseAndAccents() {
        QCOMPARE(propietarios([](auto& c) { c.nombre = "lefevre"; }), QStringList({"P01"}));
        QCOMPARE(propietarios([](auto& c) { c.nombre = "HÉLÈNE"; }), QStringList({"P01"}));
        QCOMPARE(propietarios([](auto& c) { c.nombre = "jurgen"; }, true), QStringList({"R01"}));
        // ñ is its own letter.
        QCOMPARE(propietarios([](auto& c) { c.nombre = "pena"; }), QStringList());
        QCOMPARE(propietarios([](auto& c) { c.nombre = "PEÑA"; }), QStringList({"P05"}));
        // The property search's owner criterion reads the same way.
        QCOMPARE(propiedades([](auto& c) { c.propietario = "lefevre"; }), QStringList({"V001"}));
    }

    void clientBudgetAndWantedType() {
        QCOMPARE(clientes([](auto& c) {
                     c.presupuestoDesde = "100000";
                     c.presupuestoHasta = "200000";
                 }),
                 QStringList({"C002", "C003", "C004"}));
        QCOMPARE(clientes([](auto& c) {
                     c.presupuestoDesde = "100.000";
                     c.presupuestoHasta = "200.000";
                 }),
                 QStringList({"C002", "C003", "C004"}));
        QCOMPARE(clientes([](auto& c) { c.codTipo = "3"; }), QStringList({"C002"}));
        // Clients without a type are found only with the type list empty.
        QCOMPARE(clientes([](auto&) {}), QStringList({"C001", "C002", "C003", "C004", "C005"}));
        QCOMPARE(clientes([](auto& c) { c.nombre = "NUÑEZ"; }), QStringList({"C003"}));
        QCOMPARE(clientes([](auto& c) { c.nombre = "ñíguez"; }, true), QStringList({"C006"}));
    }

    // Every text criterion of every search, with text that is dangerous in SQL
    // or in a LIKE pattern: no error, and exactly the rows that contain it.
    void hostileInputMatchesLiterally() {
        struct Caso {
            const char* nombre;
            std::function<QStringList(const QString&)> buscar;
            std::function<QStringList(const QString&)> esperado;
        };
        const auto propiedadesQue = [](std::function<bool(const Propiedad&)> f) {
            QStringList r;
            for (const Propiedad& p : Propiedades)
                if (!p.alquiler && f(p))
                    r << p.cod;
            return r;
        };
        const auto nombreDe = [](const char* cod) {
            for (const Persona& p : Propietarios)
                if (QLatin1String(p.cod) == QLatin1String(cod))
                    return p;
            return Persona{"", false, "", "", "", ""};
        };
        const QList<Caso> casos = {
            {"propiedad código",
             [&](const QString& t) {
                 return propiedades([&](auto& c) {
                     c.estado.clear();
                     c.codigo = t;
                 });
             },
             [&](const QString& t) {
                 return propiedadesQue([&](auto& p) { return contiene(p.cod, t, false); });
             }},
            {"propiedad dirección",
             [&](const QString& t) {
                 return propiedades([&](auto& c) {
                     c.estado.clear();
                     c.direccion = t;
                 });
             },
             [&](const QString& t) {
                 return propiedadesQue(
                     [&](auto& p) { return contiene(QString::fromUtf8(p.direccion), t, true); });
             }},
            {"propiedad agente",
             [&](const QString& t) {
                 return propiedades([&](auto& c) {
                     c.estado.clear();
                     c.agente = t;
                 });
             },
             [&](const QString& t) {
                 return propiedadesQue(
                     [&](auto& p) { return contiene(QString::fromUtf8(p.agente), t, true); });
             }},
            {"propiedad propietario",
             [&](const QString& t) {
                 return propiedades([&](auto& c) {
                     c.estado.clear();
                     c.propietario = t;
                 });
             },
             [&](const QString& t) {
                 return propiedadesQue([&](auto& p) {
                     return *p.propietario &&
                            contiene(QString::fromUtf8(nombreDe(p.propietario).nombre), t, true);
                 });
             }},
            {"propiedad teléfono",
             [&](const QString& t) {
                 return propiedades([&](auto& c) {
                     c.estado.clear();
                     c.telefono = t;
                 });
             },
             [&](const QString& t) {
                 return propiedadesQue([&](auto& p) {
                     const Persona o = nombreDe(p.propietario);
                     return *p.propietario && (contiene(QString::fromUtf8(o.telefono), t, false) ||
                                               contiene(QString::fromUtf8(o.movil), t, false));
                 });
             }},
            {"propietario código",
             [&](const QString& t) { return propietarios([&](auto& c) { c.codigo = t; }); },
             [&](const QString& t) {
                 QStringList r;
                 for (const Persona& p : Propietarios)
                     if (!p.alquiler && contiene(p.cod, t, false))
                         r << p.cod;
                 return r;
             }},
            {"propietario nombre",
             [&](const QString& t) { return propietarios([&](auto& c) { c.nombre = t; }); },
             [&](const QString& t) {
                 QStringList r;
                 for (const Persona& p : Propietarios)
                     if (!p.alquiler && contiene(QString::fromUtf8(p.nombre), t, true))
                         r << p.cod;
                 return r;
             }},
            {"cliente nombre", [&](const QString& t) { return clientes([&](auto& c) { c.nombre = t; }); },
             [&](const QString& t) {
                 QStringList r;
                 for (const Cliente& k : Clientes)
                     if (!k.alquiler && contiene(QString::fromUtf8(k.nombre), t, true))
                         r << k.cod;
                 return r;
             }},
            {"cliente código", [&](const QString& t) { return clientes([&](auto& c) { c.codigo = t; }); },
             [&](const QString& t) {
                 QStringList r;
                 for (const Cliente& k : Clientes)
                     if (!k.alquiler && contiene(k.cod, t, false))
                         r << k.cod;
                 return r;
             }},
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
        CriteriosPropiedades c;
        c.codigo = c.direccion = c.agente = c.propietario = c.telefono = QStringLiteral("zq' OR 1=1 --");
        c.estado = QStringLiteral("zq'");
        const auto q = SqlBusquedaPropiedades(c);
        QVERIFY(!q.sql.contains("zq"));
        QVERIFY(!q.sql.contains("1=1"));
    }
};

QTEST_GUILESS_MAIN(TestSqlBusqueda)
#include "tst_sqlbusqueda.moc"
