// A statement prepared once and run many times, and the transaction that
// tells what it cannot throw.

#include "dbtestutil.h"
#include "platform/db/Statement.h"

using namespace db;
using dbtest::errorOf;
using dbtest::TempDb;

namespace {

QStringList lineas;
void anotar(const QString& linea) {
    lineas << linea;
}

} // namespace

class tst_Statement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }

    void cleanup() {
        setLogFunction(nullptr);
        lineas.clear();
    }

    // One INSERT for many rows; each run binds its own values, text with
    // quotes and accents travels as a value, and each run counts its own rows.
    void oneStatementWritesManyRows() {
        TempDb t;
        Statement insertar(*t.db, "INSERT INTO Clientes (Cod, Nombre, Alta, Alquiler) VALUES (?, ?, ?, ?)");
        const QList<Params> filas = {{"C5", "O'Brien; DROP TABLE Clientes", QDate(2024, 2, 29), true},
                                     {"C6", "Peña", QVariant(), false},
                                     {"C7", QVariant(), QDate(2023, 1, 1), true}};
        for (const Params& f : filas)
            QCOMPARE(insertar.execute(f), 1);
        QCOMPARE(t.count(), 7);

        Statement leer(*t.db, "SELECT Nombre, Alta, Alquiler, Precio FROM Clientes WHERE Cod = ?");
        QCOMPARE(leer.columnCount(), 4);
        QCOMPARE(leer.columnName(1), "Alta");
        for (const Params& f : filas) {
            leer.reset();
            leer.bind({f[0]});
            QVERIFY(leer.step());
            // Typed by declared column type, as Database::query reads them.
            QCOMPARE(leer.row(), (Row{f[1], f[2], f[3], QVariant()}));
            QCOMPARE(leer.value(2).typeId(), QMetaType::Bool);
            QVERIFY(!leer.step());
        }
        QCOMPARE(errorOf([&] { leer.value(4); }), int(ErrItemNotFound));

        // An UPDATE run again counts the rows of that run only.
        Statement subir(*t.db, "UPDATE Clientes SET Precio = ifnull(Precio, 0) + 1 WHERE Poblacion = ?");
        QCOMPARE(subir.execute({"Málaga"}), 2);
        QCOMPARE(subir.execute({"Almería"}), 1);
        QCOMPARE(subir.execute({"Ninguna"}), 0);
    }

    // After reset every parameter is null again: a value bound for one run
    // never leaks into the next.
    void resetForgetsTheValues() {
        TempDb t;
        Statement s(*t.db, "SELECT coalesce(?1, 'nulo'), coalesce(?2, 0)");
        s.bind(1, "a");
        s.bind(2, 7);
        QVERIFY(s.step());
        QCOMPARE(s.row(), (Row{"a", 7}));
        s.reset();
        s.bind(2, 8);
        QVERIFY(s.step());
        QCOMPARE(s.row(), (Row{"nulo", 8}));
    }

    // A refused run throws the usual error and leaves the statement ready
    // for the next; bad SQL and a wrong number of values are refused in Spanish.
    void failuresLeaveItUsable() {
        TempDb t;
        Statement insertar(*t.db, "INSERT INTO Clientes (Cod, Nombre) VALUES (?, ?)");
        QCOMPARE(errorOf([&] { insertar.execute({"C1", "Repetido"}); }), int(ErrDuplicateKey));
        QCOMPARE(insertar.execute({"C9", "Nuevo"}), 1);
        try {
            insertar.execute({"C10"});
            QFAIL("a missing value was accepted");
        } catch (const DbError& e) {
            QCOMPARE(e.number(), int(ErrSyntax));
            QCOMPARE(e.description(), "La instrucción espera 2 parámetros y recibió 1");
        }
        QCOMPARE(t.count(), 5);
        QCOMPARE(errorOf([&] { Statement(*t.db, "SELEC 1"); }), int(ErrSyntax));
        QCOMPARE(errorOf([&] { Statement(*t.db, "SELECT * FROM NoExiste"); }), int(ErrSyntax));
        // Inside a transaction it writes there, and goes back with it.
        {
            Transaction tx(*t.db);
            insertar.execute({"C11", "Provisional"});
        }
        QCOMPARE(t.count(), 5);
    }

    // A transaction left without commit rolls back; when even that fails (the
    // transaction was ended behind its back) the failure is told to the log
    // function, never thrown from the destructor.
    void transactionTellsWhatItSwallows() {
        TempDb t;
        setLogFunction(&anotar);
        {
            Transaction tx(*t.db);
            t.db->execute("DELETE FROM Clientes");
        }
        QCOMPARE(t.count(), 4);
        {
            Transaction tx(*t.db);
            t.db->execute("INSERT INTO Tipos (Nombre) VALUES ('Ático')");
            tx.commit();
        }
        QCOMPARE(lineas, QStringList());

        {
            Transaction tx(*t.db);
            t.db->execute("DELETE FROM Clientes WHERE Cod = 'C4'");
            t.db->execute("COMMIT");
        }
        QCOMPARE(t.count(), 3);
        QCOMPARE(lineas.size(), 1);
        QVERIFY2(
            lineas[0].startsWith("No se pudo deshacer la transacción en '" + t.db->path() + "': error 3075"),
            qPrintable(lineas[0]));
        QVERIFY(!t.db->inTransaction());
        // The connection goes on working.
        runInTransaction(*t.db, [&] { t.db->execute("DELETE FROM Clientes WHERE Cod = 'C3'"); });
        QCOMPARE(t.count(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_Statement)
#include "tst_statement.moc"
