#include "dbtestutil.h"

#include "platform/db/Database.h"

#include <QTemporaryDir>
#include <QTest>

using namespace db;

// Two seats on one file: a table with a Version column refuses the confirm of
// a row that another seat stored after this one began editing it.
class tst_Versiones : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<Database> a, b;

private Q_SLOTS:
    void init() {
        const QString file = dir.filePath(QStringLiteral("v%1.db").arg(QDateTime::currentMSecsSinceEpoch()));
        a = Database::open(file, {.create = true});
        a->executeScript("CREATE TABLE Fichas (Cod VARCHAR(10) NOT NULL, Nombre VARCHAR(50), "
                         "Version INTEGER NOT NULL DEFAULT 0);"
                         "CREATE TABLE SinVersion (Cod VARCHAR(10) NOT NULL, Nombre VARCHAR(50));"
                         "INSERT INTO Fichas (Cod, Nombre) VALUES ('P1', 'Ana'), ('P2', 'Luis');"
                         "INSERT INTO SinVersion VALUES ('P1', 'Ana');");
        b = Database::open(file);
    }
    void cleanup() {
        b.reset();
        a.reset();
    }

    void staleConfirmIsRefusedAndTheEditStays() {
        auto ra = a->openRecordset("SELECT Cod, Nombre FROM Fichas WHERE Cod = 'P1'", RecordsetType::Dynaset);
        auto rb = b->openRecordset("SELECT Cod, Nombre FROM Fichas WHERE Cod = 'P1'", RecordsetType::Dynaset);
        ra->edit();
        ra->setValue("Nombre", "Ana (seat A)");
        rb->edit();
        rb->setValue("Nombre", "Ana (seat B)");
        rb->update();
        QCOMPARE(dbtest::errorOf([&] { ra->update(); }), int(ErrChangedByOther));
        // Nothing written by A; B's value kept; A still holds what it typed.
        QCOMPARE(a->scalar("SELECT Nombre FROM Fichas WHERE Cod = 'P1'").toString(), QString("Ana (seat B)"));
        QCOMPARE(ra->editMode(), EditMode::InProgress);
        QCOMPARE(ra->value("Nombre").toString(), QString("Ana (seat A)"));
        // Read again, A's next confirm goes through and moves the version once more.
        ra->cancelUpdate();
        ra->edit();
        QCOMPARE(ra->value("Nombre").toString(), QString("Ana (seat B)"));
        ra->setValue("Nombre", "Ana García");
        ra->update();
        QCOMPARE(b->scalar("SELECT Nombre || '/' || Version FROM Fichas WHERE Cod = 'P1'").toString(),
                 QString("Ana García/2"));
        // The other row was never touched.
        QCOMPARE(b->scalar("SELECT Version FROM Fichas WHERE Cod = 'P2'").toInt(), 0);
    }

    void deletedByTheOtherSeatIsNoCurrentRecord() {
        auto ra = a->openRecordset("Fichas", RecordsetType::Dynaset);
        ra->edit();
        ra->setValue("Nombre", "Otra");
        b->execute("DELETE FROM Fichas WHERE Cod = 'P1'");
        QCOMPARE(dbtest::errorOf([&] { ra->update(); }), int(ErrNoCurrentRecord));
        QCOMPARE(a->scalar("SELECT count(*) FROM Fichas").toInt(), 1);
    }

    void tableWithoutVersionKeepsTheLastWriter() {
        auto ra = a->openRecordset("SinVersion", RecordsetType::Dynaset);
        ra->edit();
        ra->setValue("Nombre", "A");
        b->execute("UPDATE SinVersion SET Nombre = 'B'");
        ra->update();
        QCOMPARE(b->scalar("SELECT Nombre FROM SinVersion").toString(), QString("A"));
    }
};

QTEST_GUILESS_MAIN(tst_Versiones)
#include "tst_versiones.moc"
