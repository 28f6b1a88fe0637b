// The read-only grid model over a query's rows, on a real SQLite file.

#include "platform/db/Database.h"
#include "platform/db/DbError.h"
#include "platform/widgets/QueryTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using ui::QueryTableModel;

class TestQueryTableModel : public QObject {
    Q_OBJECT

    QueryTableModel m;
    std::unique_ptr<QAbstractItemModelTester> tester;

private Q_SLOTS:
    void init() {
        m.clear();
        tester = std::make_unique<QAbstractItemModelTester>(
            &m, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void cleanup() { tester.reset(); }

    void showsRowsReadOnlyAndKeepsStoredValues() {
        m.setRows({"Cod", "Alta", "Precio", "Activa", "Nota"},
                  {{"0100042", QDate(2024, 3, 5), 1250.5, true, QVariant()},
                   {"0100043", QVariant(), 90000.0, false}});
        QCOMPARE(m.rowCount(), 2);
        QCOMPARE(m.headerData(4, Qt::Horizontal).toString(), "Nota");

        // What the grid shows: Spanish dates and decimal comma, blanks for nulls.
        QCOMPARE(m.index(0, 1).data().toString(), "05/03/2024");
        QCOMPARE(m.index(0, 2).data().toString(), "1250,5");
        QCOMPARE(m.index(0, 4).data().toString(), "");
        QCOMPARE(m.index(1, 1).data().toString(), "");
        QCOMPARE(m.index(0, 3).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(m.index(1, 3).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(m.index(0, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));

        // What callers read: the value with its type; a short row reads as null.
        QCOMPARE(m.index(0, 1).data(Qt::EditRole).toDate(), QDate(2024, 3, 5));
        QCOMPARE(m.value(1, "precio").toDouble(), 90000.0);
        QVERIFY(!m.value(1, "Nota").isValid());
        QVERIFY(!m.value(2, 0).isValid());
        QVERIFY(!m.value(0, "Desconocida").isValid());
        QCOMPARE(m.columnOf("ACTIVA"), 3);

        QVERIFY(!(m.flags(m.index(0, 0)) & Qt::ItemIsEditable));
        QVERIFY(!m.setData(m.index(0, 0), "B2"));
        QCOMPARE(m.value(0, 0).toString(), "0100042");
    }

    void readsAStatementWithFieldNamesAsHeaders() {
        QTemporaryDir dir;
        auto d = db::Database::open(dir.filePath("m.db"), {.create = true, .durable = false});
        d->executeScript(
            "CREATE TABLE Fichas (Cod VARCHAR(20), Nombre VARCHAR(50), Alta DATE, Plantas INTEGER)");
        d->execute("INSERT INTO Fichas VALUES (?, ?, ?, ?), (?, ?, NULL, NULL)",
                   {"0100042", "O'Connor", QDate(2023, 12, 31), 2, "0100007", "Ávila"});
        m.setQuery(*d, "SELECT * FROM Fichas ORDER BY Cod");
        QCOMPARE(m.headers(), (QStringList{"Cod", "Nombre", "Alta", "Plantas"}));
        QCOMPARE(m.rowCount(), 2);
        QVERIFY(!m.canFetchMore({}));
        QCOMPARE(m.index(0, 0).data().toString(), "0100007");
        QCOMPARE(m.index(1, 1).data().toString(), "O'Connor");
        QCOMPARE(m.index(1, 2).data().toString(), "31/12/2023");
        QCOMPARE(m.index(1, 2).data(Qt::EditRole).toDate(), QDate(2023, 12, 31));
        QCOMPARE(m.value(1, "Plantas").toLongLong(), 2LL);
        QVERIFY(!m.value(0, "Plantas").isValid());

        // A new statement replaces everything in one reset; values are bound, never pasted.
        QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
        m.setQuery(*d, "SELECT Cod FROM Fichas WHERE Nombre = ?", {"O'Connor"});
        QCOMPARE(reset.count(), 1);
        QCOMPARE(m.headers(), QStringList{"Cod"});
        QCOMPARE(m.value(0, 0).toString(), "0100042");

        // A statement that cannot run throws and leaves an empty grid.
        bool threw = false;
        try {
            m.setQuery(*d, "SELECT Nada FROM Fichas");
        } catch (const db::DbError&) {
            threw = true;
        }
        QVERIFY(threw);
        QCOMPARE(m.rowCount(), 0);
        QCOMPARE(m.columnCount(), 0);
    }

    // A long result is read in blocks as the view asks, in the statement's
    // order, without gaps or repeats; what is not asked for is never read.
    void readsLongResultsInBlocksOnDemand() {
        QTemporaryDir dir;
        auto d = db::Database::open(dir.filePath("m.db"), {.create = true, .durable = false});
        d->executeScript("CREATE TABLE N (Cod INTEGER PRIMARY KEY, Texto VARCHAR(10));"
                         "WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 1000) "
                         "INSERT INTO N SELECT i, 'n' || i FROM s;");
        m.setQuery(*d, "SELECT Cod, Texto FROM N WHERE Cod > ? ORDER BY Cod DESC", {100});
        QCOMPARE(m.rowCount(), QueryTableModel::BlockSize);
        QVERIFY(m.canFetchMore({}));
        QVERIFY(!m.canFetchMore(m.index(0, 0)));
        QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
        m.fetchMore({});
        QCOMPARE(m.rowCount(), 2 * QueryTableModel::BlockSize);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted[0][1].toInt(), QueryTableModel::BlockSize);
        while (m.canFetchMore({}))
            m.fetchMore({});
        QCOMPARE(m.rowCount(), 900);
        for (int r = 0; r < 900; ++r)
            QCOMPARE(m.value(r, 0).toLongLong(), qint64(1000 - r));
        QCOMPARE(m.value(899, "Texto").toString(), "n101");
        m.fetchMore({}); // past the end: nothing happens
        QCOMPARE(m.rowCount(), 900);
        QVERIFY(m.fetchError().isEmpty());

        // Stopping early keeps what was read and lets a writer checkpoint the file.
        m.setQuery(*d, "SELECT Cod FROM N ORDER BY Cod");
        m.finishFetching();
        QVERIFY(!m.canFetchMore({}));
        QCOMPARE(m.rowCount(), QueryTableModel::BlockSize);
        QCOMPARE(m.value(0, 0).toLongLong(), 1LL);
    }

    void captionsAndFormatsCanBeChanged() {
        m.setRows({"QuickID", "Nombre"}, {{42, "Ana"}, {7, "Luis"}});
        QSignalSpy cabecera(&m, &QAbstractItemModel::headerDataChanged);
        m.setHeader(0, "Número");
        m.setHeader(9, "nada");
        QCOMPARE(cabecera.count(), 1);
        QCOMPARE(m.headerData(0, Qt::Horizontal).toString(), "Número");

        QSignalSpy cambios(&m, &QAbstractItemModel::dataChanged);
        m.setFormatter(0, [](const QVariant& v) { return QString("%1").arg(v.toInt(), 5, 10, QChar('0')); });
        QCOMPARE(cambios.count(), 1);
        QCOMPARE(m.index(0, 0).data().toString(), "00042");
        QCOMPARE(m.index(0, 0).data(Qt::EditRole).toInt(), 42);
        // A new result keeps no formatter of the old one.
        m.setRows({"QuickID"}, {{42}});
        QCOMPARE(m.index(0, 0).data().toString(), "42");
    }
};

QTEST_GUILESS_MAIN(TestQueryTableModel)
#include "tst_querytablemodel.moc"
