// Numbers for new records: counter, numbers in use, one write transaction.

#include "TestInstallation.h"
#include "TestServers.h"
#include "maintenance/CodeAllocator.h"
#include "shell/ConfigStore.h"

#include <QtTest>

using namespace orb;

class TestCodeAllocator : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    db::Database& base() { return inst->context().db(); }
    QString counter(const QString& v) { return LeerConfig(base(), "CONTADORES", v).toString(); }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        base().execute("DELETE FROM Propietarios");
        base().execute("DELETE FROM Tipos");
        GuardarConfig(base(), "CODIGOS", "MASCARA", "00000");
        GuardarConfig(base(), "CONTADORES", "PROPIETARIOS", 41);
        GuardarConfig(base(), "CONTADORES", "TIPOS", 2);
    }
    void cleanup() { inst.reset(); }

    void proposalSkipsOnlyThisOfficesNumbers() {
        const CodeAllocator owners("PROPIETARIOS", "Propietarios", "01");
        base().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID) VALUES ('0200042', '02', 42)");
        QCOMPARE(owners.propuesta(base()), 42);
        base().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID) VALUES ('0100042', '01', 42), "
                       "('0100043', '01', 43)");
        QCOMPARE(owners.propuesta(base()), 44);
        QCOMPARE(owners.codigo(base(), 44), QString("0100044"));

        const CodeAllocator tipos("TIPOS", "Tipos");
        base().execute("INSERT INTO Tipos (Cod, Nombre) VALUES (3, 'Piso')");
        QCOMPARE(tipos.propuesta(base()), 4);
        QCOMPARE(tipos.codigo(base(), 4), QString("4"));
    }

    void counterOnlyMovesForwardAndOnlyInsideATransaction() {
        const CodeAllocator tipos("TIPOS", "Tipos");
        QVERIFY_THROWS_EXCEPTION(db::DbError, tipos.avanzar(base(), 9));
        QVERIFY_THROWS_EXCEPTION(db::DbError, tipos.reservar(base()));
        QCOMPARE(counter("TIPOS"), QString("2"));
        {
            db::Transaction tr(base());
            tipos.avanzar(base(), 9);
            tipos.avanzar(base(), 5); // never backwards
            tr.commit();
        }
        QCOMPARE(counter("TIPOS"), QString("9"));
    }

    void insertStoresRowAndCounterTogetherOrNeither() {
        const CodeAllocator tipos("TIPOS", "Tipos");
        const qint64 n = tipos.insertar(base(), [&](qint64 numero) {
            base().execute("INSERT INTO Tipos (Cod, Nombre) VALUES (?, 'Chalet')", {numero});
        });
        QCOMPARE(n, 3);
        QCOMPARE(counter("TIPOS"), QString("3"));

        QVERIFY_THROWS_EXCEPTION(std::runtime_error, tipos.insertar(base(), [&](qint64 numero) {
            base().execute("INSERT INTO Tipos (Cod, Nombre) VALUES (?, 'Ático')", {numero});
            throw std::runtime_error("fallo después de insertar");
        }));
        QCOMPARE(base().scalar("SELECT count(*) FROM Tipos").toInt(), 1);
        QCOMPARE(counter("TIPOS"), QString("3"));
        QVERIFY(!base().inTransaction());
    }

    void numberTakenByAnotherSeatIsSkipped() {
        // Another seat stores 3 and counts it on its own connection.
        auto otro = inst->context().db().reopen(); // another seat: its own connection
        db::Transaction suyo(*otro);
        const CodeAllocator tipos("TIPOS", "Tipos");
        otro->execute("INSERT INTO Tipos (Cod, Nombre) VALUES (3, 'Suyo')");
        GuardarConfig(*otro, "CONTADORES", "TIPOS", 3);
        suyo.commit();
        QCOMPARE(tipos.insertar(base(),
                                [&](qint64 numero) {
                                    base().execute("INSERT INTO Tipos (Cod, Nombre) VALUES (?, 'Mío')",
                                                   {numero});
                                }),
                 4);
        QCOMPARE(counter("TIPOS"), QString("4"));
    }
};

QTEST_MAIN(TestCodeAllocator)
#include "tst_codeallocator.moc"
