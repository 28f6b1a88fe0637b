// Matching clients and properties on a real agency database: what matches,
// in which order and why, and what "No le interesa", sending and seeing do.

#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/db/Database.h"
#include "search/Coincidencias.h"
#include "shell/ConfigStore.h"

#include <QtTest>

using namespace orb;
namespace co = orb::coincidencias;

namespace {

struct Prop {
    const char* cod;
    bool alquiler;
    const char* estado;
    double precio; // Precio or PrecioAlquiler by side
    int tipo, localidad, area, dormitorios;
    const char* piscina;
    bool ascensor;
    const char* terrazas;
};

// Localities 1 Marbella (areas 1 Puerto Banús, 2 Elviria), 2 Nerja (area 3 Maro), 3 Ronda.
const Prop Props[] = {
    {"V100", false, "En Venta", 100000, 1, 1, 1, 2, "N", false, ""},   // exactly at the maximum
    {"V110", false, "En Venta", 110000, 1, 3, 0, 2, "N", false, ""},   // 10 % above
    {"V111", false, "En Venta", 110010, 1, 1, 2, 3, "P", true, "1"},   // 10.01 % above
    {"VSOLD", false, "Vendida", 95000, 1, 1, 2, 3, "P", true, "1"},    // sold
    {"VSTBY", false, "Stand By", 95000, 1, 1, 2, 3, "P", true, "1"},   // not on offer
    {"VELV", false, "En Venta", 99000, 1, 1, 2, 3, "C", true, "2"},    // Elviria, everything
    {"VNER", false, "En Venta", 98000, 2, 2, 3, 4, "N", false, "No"},  // Nerja, Maro
    {"VCHEAP", false, "En Venta", 40000, 1, 3, 0, 1, "N", false, "0"}, // below a minimum of 50,000
    {"R900", true, "Libre", 900, 1, 1, 2, 2, "N", true, ""},           // rental
    {"RLET", true, "Alquilada", 800, 1, 1, 2, 2, "N", true, ""},       // let
};

void fill(db::Database& d) {
    d.executeScript(
        "INSERT INTO Tipos (Cod, Nombre) VALUES (1, 'Piso'), (2, 'Chalet');"
        "INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Marbella'), (2, 'Nerja'), (3, 'Ronda');"
        "INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (1, 'Puerto Banús', 1), (2, 'Elviria', 1), "
        "(3, 'Maro', 2);");
    for (const Prop& p : Props)
        d.execute(QStringLiteral("INSERT INTO Propiedades (Cod, Agencia, Alquiler, Estado, %1, CodTipo, "
                                 "CodLocalidad, CodArea, Dormitorios, Piscina, Ascensor, Terrazas) "
                                 "VALUES (?, '01', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                      .arg(p.alquiler ? "PrecioAlquiler" : "Precio"),
                  {QString::fromLatin1(p.cod), p.alquiler, QString::fromUtf8(p.estado), p.precio, p.tipo,
                   p.localidad, p.area == 0 ? db::Value() : db::Value(p.area), p.dormitorios,
                   QString::fromLatin1(p.piscina), p.ascensor, QString::fromLatin1(p.terrazas)});
}

void cliente(db::Database& d, const QString& cod, const QString& extra = {}, const db::Params& valores = {},
             bool alquiler = false, const QString& estado = "Buscando") {
    QString columnas = "Cod, Agencia, Alquiler, Estado, Nombre, Email";
    QString marcas = "?, '01', ?, ?, ?, ?";
    for (const QString& c : extra.split(u',', Qt::SkipEmptyParts)) {
        columnas += ", " + c.trimmed();
        marcas += ", ?";
    }
    db::Params p{cod, alquiler, estado, "Cliente " + cod, cod.toLower() + "@x.es"};
    d.execute(QStringLiteral("INSERT INTO Clientes (%1) VALUES (%2)").arg(columnas, marcas), p + valores);
}

QStringList codigos(const QList<co::Coincidencia>& l, bool propiedades = true) {
    QStringList out;
    for (const co::Coincidencia& c : l)
        out << (propiedades ? c.codPropiedad : c.codCliente);
    return out;
}

const co::Coincidencia* buscar(const QList<co::Coincidencia>& l, const QString& cod) {
    for (const co::Coincidencia& c : l)
        if (c.codPropiedad == cod)
            return &c;
    return nullptr;
}

} // namespace

class TestCoincidencias : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    db::Database& d() { return inst->context().db(); }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        fill(d());
    }
    void cleanup() { inst.reset(); }

    void priceRangeAndToleranceEdges() {
        cliente(d(), "C1", "Presupuesto", {100000});
        auto l = co::PropiedadesParaCliente(d(), "C1");
        // Exactly at the maximum and 10 % above match; 10.01 % above does not.
        QVERIFY(buscar(l, "V100") && buscar(l, "V110") && !buscar(l, "V111"));
        QCOMPARE(buscar(l, "V100")->motivos.first(), "Precio 100.000 € dentro del presupuesto");
        QCOMPARE(buscar(l, "V110")->motivos.first(), "Precio 110.000 €, un 10,0% sobre el presupuesto");
        // Inside the budget scores above the tolerance band.
        QVERIFY(buscar(l, "V100")->puntos > buscar(l, "V110")->puntos);
        // The same edges seen from the property: 110,010 is 10.02 % above 99,990 and 10 % above 100,010.
        cliente(d(), "C2", "Presupuesto", {99990});
        cliente(d(), "C3", "Presupuesto", {100010});
        QCOMPARE(codigos(co::ClientesParaPropiedad(d(), "V111"), false), QStringList{"C3"});
        QCOMPARE(codigos(co::ClientesParaPropiedad(d(), "V110"), false), (QStringList{"C1", "C3"}));

        // The tolerance is a setting: at 0 % only the maximum itself matches; 10,02 % lets 10.01 % in.
        GuardarConfig(d(), "COINCIDENCIAS", "TOLERANCIA", "0");
        l = co::PropiedadesParaCliente(d(), "C1");
        QVERIFY(buscar(l, "V100") && !buscar(l, "V110"));
        GuardarConfig(d(), "COINCIDENCIAS", "TOLERANCIA", "10,02");
        QVERIFY(buscar(co::PropiedadesParaCliente(d(), "C1"), "V111"));

        // The minimum: 50,000 leaves out the 40,000 one, and the same pair seen from the property agrees.
        cliente(d(), "C4", "Presupuesto, PresupuestoMinimo", {100000, 50000});
        QVERIFY(!buscar(co::PropiedadesParaCliente(d(), "C4"), "VCHEAP"));
        QVERIFY(!codigos(co::ClientesParaPropiedad(d(), "VCHEAP"), false).contains("C4"));
        QVERIFY(codigos(co::ClientesParaPropiedad(d(), "V100"), false).contains("C4"));
    }

    void areaIsPreferredOverLocality() {
        // Wants Elviria (an area of Marbella) and anywhere in Nerja.
        cliente(d(), "C1", "Presupuesto", {120000});
        d().execute("INSERT INTO ClientesZonas (CodCliente, CodLocalidad, CodArea) VALUES "
                    "('C1', 2, NULL), ('C1', 1, 2)");
        const auto l = co::PropiedadesParaCliente(d(), "C1");
        // Puerto Banús is in Marbella but not the wanted area; Ronda is not wanted at all.
        QCOMPARE(codigos(l), (QStringList{"VELV", "V111", "VNER"}));
        QVERIFY(l[0].motivos.contains("Zona Elviria"));
        QVERIFY(l[2].motivos.contains("Localidad Nerja"));
        // The same from the properties' side.
        QCOMPARE(codigos(co::ClientesParaPropiedad(d(), "V100"), false), QStringList{});
        QCOMPARE(codigos(co::ClientesParaPropiedad(d(), "VNER"), false), QStringList{"C1"});
        const auto elviria = co::ClientesParaPropiedad(d(), "VELV");
        QCOMPARE(codigos(elviria, false), QStringList{"C1"});
        QVERIFY(elviria[0].motivos.contains("Zona Elviria"));
    }

    void clientWithoutWishesMatchesOnSideAndBudget() {
        cliente(d(), "C1", "Presupuesto", {100000});
        QCOMPARE(codigos(co::PropiedadesParaCliente(d(), "C1")),
                 (QStringList{"VCHEAP", "VNER", "VELV", "V100", "V110"}));
        // No budget either: every available property of the side.
        cliente(d(), "R1", {}, {}, true);
        QCOMPARE(codigos(co::PropiedadesParaCliente(d(), "R1")), QStringList{"R900"});
        const auto r = co::ClientesParaPropiedad(d(), "R900");
        QCOMPARE(codigos(r, false), QStringList{"R1"});
        QVERIFY(r[0].motivos.isEmpty());
    }

    void mustHavesTypeAndBedroomsNarrow() {
        cliente(d(), "C1",
                "Presupuesto, DormitoriosMinimo, QuierePiscina, QuiereAscensor, QuiereTerraza, CodTipo",
                {200000, 3, true, true, true, 1});
        auto l = co::PropiedadesParaCliente(d(), "C1");
        QCOMPARE(codigos(l), (QStringList{"VELV", "V111"}));
        QCOMPARE(l[0].motivos, (QStringList{"Precio 99.000 € dentro del presupuesto", "Tipo Piso",
                                            "3 dormitorios (mínimo 3)", "Piscina", "Ascensor", "Terraza"}));
        // "0" and "No" terraces are no terrace; a garage is a garage or a parking place.
        cliente(d(), "C2", "QuiereTerraza", {true});
        QCOMPARE(codigos(co::PropiedadesParaCliente(d(), "C2")), (QStringList{"VELV", "V111"}));
        cliente(d(), "C3", "QuiereGaraje", {true});
        QVERIFY(co::PropiedadesParaCliente(d(), "C3").isEmpty());
        d().execute("UPDATE Propiedades SET PlazasGaraje = 1 WHERE Cod = 'VNER'");
        QCOMPARE(codigos(co::PropiedadesParaCliente(d(), "C3")), QStringList{"VNER"});
        QCOMPARE(codigos(co::ClientesParaPropiedad(d(), "VNER"), false), (QStringList{"C3"}));
        // One bedroom reads in the singular.
        d().execute("UPDATE Propiedades SET Dormitorios = 1 WHERE Cod = 'VELV'");
        cliente(d(), "C4", "Presupuesto, DormitoriosMinimo", {200000, 1});
        const auto uno = co::PropiedadesParaCliente(d(), "C4");
        const auto velv = std::find_if(uno.begin(), uno.end(),
                                       [](const co::Coincidencia& c) { return c.codPropiedad == u"VELV"; });
        QVERIFY(velv != uno.end());
        QVERIFY2(velv->motivos.contains("1 dormitorio (mínimo 1)"), qPrintable(velv->motivos.join('|')));
    }

    void soldOrLetNeverMatches() {
        cliente(d(), "C1");
        cliente(d(), "R1", {}, {}, true);
        // The client's side is in clientWithoutWishesMatchesOnSideAndBudget's exact lists.
        QVERIFY(co::ClientesParaPropiedad(d(), "VSOLD").isEmpty());
        QVERIFY(co::ClientesParaPropiedad(d(), "RLET").isEmpty());
        // Only waiting clients are offered a property.
        cliente(d(), "C2", {}, {}, false, "Comprado");
        QCOMPARE(codigos(co::ClientesParaPropiedad(d(), "V100"), false), QStringList{"C1"});
        // Once sold it leaves the client's list.
        d().execute("UPDATE Propiedades SET Estado = 'Vendida' WHERE Cod = 'V100'");
        QVERIFY(!codigos(co::PropiedadesParaCliente(d(), "C1")).contains("V100"));
    }

    void notInterestedDoesNotComeBack() {
        cliente(d(), "C1", "Presupuesto", {100000});
        co::MarcarNoInteresa(d(), "C1", "VELV", true);
        co::MarcarNoInteresa(d(), "C1", "VELV", true); // twice is once
        QVERIFY(!buscar(co::PropiedadesParaCliente(d(), "C1"), "VELV"));
        QVERIFY(co::ClientesParaPropiedad(d(), "VELV").isEmpty());
        // Still refused after it changes, and shown marked when asked for.
        d().execute("UPDATE Propiedades SET Precio = 90000 WHERE Cod = 'VELV'");
        QVERIFY(!buscar(co::PropiedadesParaCliente(d(), "C1"), "VELV"));
        const auto todas = co::PropiedadesParaCliente(d(), "C1", true);
        QVERIFY(buscar(todas, "VELV") && buscar(todas, "VELV")->descartada);
        QVERIFY(!buscar(todas, "V100")->descartada);
        // Taken back.
        co::MarcarNoInteresa(d(), "C1", "VELV", false);
        QVERIFY(buscar(co::PropiedadesParaCliente(d(), "C1"), "VELV"));
        QCOMPARE(codigos(co::ClientesParaPropiedad(d(), "VELV"), false), QStringList{"C1"});
    }

    void sendingWritesTheLogAndMarksSent() {
        cliente(d(), "C1", "Presupuesto", {100000});
        co::RegistrarEnvio(d(), "C1", "Ana Peña", {"V100", "VELV"}, "Lars Andersson");
        const auto lineas = d().query("SELECT Propiedad, CodCliente, Cliente, Actividad, Fecha, Agente "
                                      "FROM Actividades ORDER BY Cod");
        QCOMPARE(lineas.size(), 2);
        QCOMPARE(lineas[0].mid(0, 4), (db::Row{"V100", "C1", "Ana Peña", "Enviada a Ana Peña"}));
        // Who sent it rides along in the log and on the sent mark.
        QCOMPARE(lineas[1][5].toString(), "Lars Andersson");
        QCOMPARE(d().scalar("SELECT Agente FROM PropiedadesEnviadas WHERE CodPropiedad = 'VELV'").toString(),
                 "Lars Andersson");
        QCOMPARE(lineas[1][0].toString(), "VELV");
        QCOMPARE(lineas[1][4].toDate(), QDate::currentDate());
        const auto l = co::PropiedadesParaCliente(d(), "C1");
        QVERIFY(buscar(l, "V100")->enviada && buscar(l, "VELV")->enviada && !buscar(l, "VNER")->enviada);
        QVERIFY(co::ClientesParaPropiedad(d(), "V100")[0].enviada);

        // A line the log refuses (a code wider than the field) takes the whole send back.
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 co::RegistrarEnvio(d(), "C1", "Ana", {"VNER", QString(21, u'X')}));
        QCOMPARE(d().scalar("SELECT count(*) FROM Actividades").toInt(), 2);
        QVERIFY(!buscar(co::PropiedadesParaCliente(d(), "C1"), "VNER")->enviada);
    }

    void newMatchesSinceTheLastLook() {
        cliente(d(), "C1", "Presupuesto", {100000});
        cliente(d(), "C2", "Presupuesto", {10000}); // nothing that cheap
        cliente(d(), "C3", "Presupuesto", {100000}, false, "Pendiente");
        QCOMPARE(co::ClientesConNovedades(d()), QStringList{"C1"});
        co::MarcarVistas(d(), "C1", codigos(co::PropiedadesParaCliente(d(), "C1")));
        QVERIFY(co::ClientesConNovedades(d()).isEmpty());
        // A new property that suits brings the client back; a sent one does not.
        d().execute("INSERT INTO Propiedades (Cod, Alquiler, Estado, Precio) VALUES ('VNEW', FALSE, "
                    "'En Venta', 70000), ('VSENT', FALSE, 'En Venta', 71000)");
        co::RegistrarEnvio(d(), "C1", "Cliente C1", {"VSENT"});
        QCOMPARE(co::ClientesConNovedades(d()), QStringList{"C1"});
        co::MarcarVistas(d(), "C1", {"VNEW"});
        QVERIFY(co::ClientesConNovedades(d()).isEmpty());
        // A client with no budget is offered a property with no price too.
        cliente(d(), "C4", "CodTipo", {2});
        co::MarcarVistas(d(), "C4", {"VNER"});
        QVERIFY(co::ClientesConNovedades(d()).isEmpty());
        d().execute("INSERT INTO Propiedades (Cod, Alquiler, Estado, CodTipo) VALUES ('VSINPRECIO', "
                    "FALSE, 'En Venta', 2)");
        QCOMPARE(co::ClientesConNovedades(d()), QStringList{"C4"});
    }

    // The count of every waiting client at once must say what each client's own
    // list says, on a demo agency where some matches were seen, sent or refused.
    void newsOfAllClientsAgreeWithEachClientsList() {
        orb::install::InstallOptions o;
        o.demoProperties = 300;
        o.demoPhotos = false;
        o.facts = orb::install::demoFacts();
        inst = std::make_unique<TestInstallation>(o);
        // Places with no price and clients with no budget or only a minimum, on both sides.
        d().execute("UPDATE Propiedades SET Precio = NULL, PrecioAlquiler = NULL WHERE "
                    "rowid % 17 = 0");
        d().execute("UPDATE Clientes SET Presupuesto = NULL WHERE rowid % 11 = 0");
        d().execute("UPDATE Clientes SET Presupuesto = 0, PresupuestoMinimo = "
                    "CASE WHEN Alquiler THEN 900 ELSE 200000 END WHERE rowid % 13 = 0");
        d().execute("DELETE FROM ClientesZonas WHERE CodCliente IN (SELECT Cod FROM Clientes "
                    "WHERE rowid % 5 = 0)");
        const QStringList esperando = [&] {
            QStringList l;
            for (const db::Row& r :
                 d().query("SELECT Cod FROM Clientes WHERE Estado = 'Buscando' ORDER BY Cod"))
                l << r[0].toString();
            return l;
        }();
        const auto segunCadaLista = [&] {
            QStringList con;
            for (const QString& c : esperando) {
                const auto lista = co::PropiedadesParaCliente(d(), c);
                if (std::any_of(lista.begin(), lista.end(),
                                [](const co::Coincidencia& x) { return !x.vista && !x.enviada; }))
                    con << c;
            }
            return con;
        };
        const QStringList antes = segunCadaLista();
        QVERIFY(antes.size() > 20);
        QCOMPARE(co::ClientesConNovedades(d()), antes);

        // Every match of some clients seen, the first of others sent, the cheapest refused.
        for (int i = 0; i < antes.size(); ++i) {
            const QStringList suyas = codigos(co::PropiedadesParaCliente(d(), antes[i]));
            if (i % 3 == 0)
                co::MarcarVistas(d(), antes[i], suyas);
            else if (i % 3 == 1)
                co::RegistrarEnvio(d(), antes[i], "Cliente", suyas.mid(0, 1));
            else
                for (const QString& p : suyas.mid(suyas.size() - 2))
                    co::MarcarNoInteresa(d(), antes[i], p, true);
        }
        const QStringList despues = segunCadaLista();
        QVERIFY(despues.size() < antes.size());
        QCOMPARE(co::ClientesConNovedades(d()), despues);
    }
};

QTEST_MAIN(TestCoincidencias)
#include "tst_coincidencias.moc"
