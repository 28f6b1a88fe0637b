// The read-only grid model over a query's rows, on a real SQLite file.

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/widgets/QueryTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using ui::QueryTableModel;

class TestQueryTableModel : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<db::Database> base;

    db::Database& abrir() {
        base = db::Database::open(dir.filePath("m.db"), {.create = true, .durable = false});
        base->executeScript("CREATE TABLE Fichas (Cod VARCHAR(20), Nombre VARCHAR(50), Alta DATE, "
                            "Precio CURRENCY, Activa BOOLEAN, Plantas INTEGER)");
        return *base;
    }

private Q_SLOTS:
    void init() { QVERIFY(dir.isValid()); }
    void cleanup() { base.reset(); }

    void showsRowsWithTheirHeadersAndKeepsStoredValues() {
        QueryTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setRows({"Cod", "Alta", "Precio", "Activa", "Nota"},
                  {{"0100042", QDate(2024, 3, 5), 1250.5, true, QVariant()},
                   {"0100043", QVariant(), 90000.0, false, "x"}});
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.columnCount(), 5);
        QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), QString("Cod"));
        QCOMPARE(m.headerData(4, Qt::Horizontal).toString(), QString("Nota"));

        // What the grid shows: Spanish dates and decimal comma, blanks for nulls.
        QCOMPARE(m.index(0, 0).data().toString(), QString("0100042"));
        QCOMPARE(m.index(0, 1).data().toString(), QString("05/03/2024"));
        QCOMPARE(m.index(0, 2).data().toString(), QString("1250,5"));
        QCOMPARE(m.index(0, 4).data().toString(), QString());
        QCOMPARE(m.index(1, 1).data().toString(), QString());
        QCOMPARE(m.index(0, 3).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(m.index(1, 3).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(m.index(0, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));

        // What callers read: the value with its type.
        QCOMPARE(m.index(0, 1).data(Qt::EditRole).toDate(), QDate(2024, 3, 5));
        QCOMPARE(m.value(1, "precio").toDouble(), 90000.0);
        QCOMPARE(m.value(0, 0).toString(), QString("0100042"));
        QVERIFY(!m.value(2, 0).isValid());
        QVERIFY(!m.value(0, 5).isValid());
        QVERIFY(!m.value(0, "Desconocida").isValid());
        QCOMPARE(m.columnOf("ACTIVA"), 3);
    }

    void isReadOnly() {
        QueryTableModel m;
        m.setRows({"Cod"}, {{"A1"}});
        QVERIFY(!(m.flags(m.index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(m.flags(m.index(0, 0)) & Qt::ItemIsSelectable);
        QVERIFY(!m.setData(m.index(0, 0), "B2"));
        QCOMPARE(m.value(0, 0).toString(), QString("A1"));
    }

    void shortRowsReadAsNullAndLongRowsAreCut() {
        QueryTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setRows({"A", "B"}, {{1}, {1, 2, 3}});
        QVERIFY(!m.value(0, 1).isValid());
        QCOMPARE(m.index(1, 1).data().toString(), QString("2"));
        QCOMPARE(m.columnCount(), 2);
    }

    void loadsARecordsetWithFieldNamesAsHeaders() {
        db::Database& d = abrir();
        d.execute("INSERT INTO Fichas (Cod, Nombre, Alta, Precio, Activa, Plantas) VALUES (?, ?, ?, ?, ?, ?)",
                  {"0100042", "O'Connor", QDate(2023, 12, 31), 150000.0, true, 2});
        d.execute("INSERT INTO Fichas (Cod, Nombre) VALUES (?, ?)", {"0100007", "Ávila"});

        QueryTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        auto rs = d.openRecordset("SELECT Cod, Nombre, Alta, Plantas FROM Fichas ORDER BY Cod",
                                  db::RecordsetType::Snapshot);
        m.load(*rs);
        QCOMPARE(m.headers(), (QStringList{"Cod", "Nombre", "Alta", "Plantas"}));
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.index(0, 0).data().toString(), QString("0100007"));
        QCOMPARE(m.index(1, 1).data().toString(), QString("O'Connor"));
        QCOMPARE(m.index(1, 2).data().toString(), QString("31/12/2023"));
        QCOMPARE(m.value(1, "Plantas").toLongLong(), 2LL);
        QVERIFY(!m.value(0, "Plantas").isValid());

        // Loading again replaces everything, even a recordset already read to the end.
        auto vacio = d.openRecordset("SELECT Cod, Nombre FROM Fichas WHERE Cod = ?",
                                     db::RecordsetType::Snapshot, {"ninguno"});
        QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
        m.load(*vacio);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(m.rowCount(), 0);
        QCOMPARE(m.headers(), (QStringList{"Cod", "Nombre"}));
        rs->moveFirst();
        m.load(*rs);
        QCOMPARE(m.rowCount(), 2);
        m.load(*rs); // rs now at EOF: still every row
        QCOMPARE(m.rowCount(), 2);

        m.clear();
        QCOMPARE(m.rowCount(), 0);
        QCOMPARE(m.columnCount(), 0);
    }

    void captionsAndFormatsCanBeChanged() {
        QueryTableModel m;
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        m.setRows({"QuickID", "Nombre"}, {{42, "Ana"}, {7, "Luis"}});
        QSignalSpy cabecera(&m, &QAbstractItemModel::headerDataChanged);
        m.setHeader(0, "Número");
        m.setHeader(9, "nada");
        QCOMPARE(cabecera.count(), 1);
        QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), QString("Número"));
        QCOMPARE(m.columnOf("Número"), 0);

        QSignalSpy cambios(&m, &QAbstractItemModel::dataChanged);
        m.setFormatter(0, [](const QVariant& v) { return QString("%1").arg(v.toInt(), 5, 10, QChar('0')); });
        QCOMPARE(cambios.count(), 1);
        QCOMPARE(m.index(0, 0).data().toString(), QString("00042"));
        QCOMPARE(m.index(0, 0).data(Qt::EditRole).toInt(), 42);
        // A new result keeps no formatter of the old one.
        m.setRows({"QuickID"}, {{42}});
        QCOMPARE(m.index(0, 0).data().toString(), QString("42"));
    }
};

QTEST_GUILESS_MAIN(TestQueryTableModel)
#include "tst_querytablemodel.moc"
