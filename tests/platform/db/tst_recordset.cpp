#include "dbtestutil.h"

using namespace db;
using dbtest::errorOf;

namespace {

QString cod(const Recordset& rs) {
    return rs.value("Cod").toString();
}

// Values of the first field, first row to last.
QStringList column(Recordset& rs) {
    QStringList out;
    if (rs.recordCount() > 0)
        for (rs.moveFirst(); !rs.isEOF(); rs.moveNext())
            out << rs.value(0).toString();
    return out;
}

} // namespace

class tst_Recordset : public QObject {
    Q_OBJECT

    std::unique_ptr<dbtest::TempDb> t_;
    Database& db() { return *t_->db; }

    // The same four clients, in Cod order, through each kind of recordset.
    std::unique_ptr<Recordset> open(int kind) {
        const auto type = RecordsetType(kind);
        return db().openRecordset(
            type == RecordsetType::Table ? "Clientes" : "select * from Clientes order by Cod", type);
    }
    static void kinds(bool withSnapshot = true) {
        QTest::addColumn<int>("kind");
        QTest::newRow("table") << int(RecordsetType::Table);
        QTest::newRow("dynaset") << int(RecordsetType::Dynaset);
        if (withSnapshot)
            QTest::newRow("snapshot") << int(RecordsetType::Snapshot);
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() { t_ = std::make_unique<dbtest::TempDb>(); }
    void cleanup() { t_.reset(); }

    void navigationAtBothEnds_data() { kinds(); }
    void navigationAtBothEnds() {
        QFETCH(int, kind);
        auto rs = open(kind);
        QCOMPARE(rs->recordCount(), 4);
        QCOMPARE(cod(*rs), "C1");
        rs->movePrevious();
        QVERIFY(rs->isBOF() && !rs->isEOF());
        QCOMPARE(errorOf([&] { cod(*rs); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->movePrevious(); }), int(ErrNoCurrentRecord));
        rs->moveNext();
        QCOMPARE(cod(*rs), "C1");

        rs->moveLast();
        QCOMPARE(rs->absolutePosition(), 3);
        rs->moveNext();
        QVERIFY(rs->isEOF() && !rs->isBOF());
        QCOMPARE(errorOf([&] { cod(*rs); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->moveNext(); }), int(ErrNoCurrentRecord));
        rs->movePrevious();
        QCOMPARE(cod(*rs), "C4");
        QCOMPARE(column(*rs), (QStringList{"C1", "C2", "C3", "C4"}));

        // An empty result is at both ends at once.
        db().execute("DELETE FROM Clientes");
        auto empty = open(kind);
        QVERIFY(empty->isBOF() && empty->isEOF());
        QCOMPARE(errorOf([&] { empty->moveFirst(); }), int(ErrNoCurrentRecord));
        QVERIFY(!empty->findFirst("Cod = ?", {"C1"}));
    }

    void positionSetDirectly_data() { kinds(); }
    void positionSetDirectly() {
        QFETCH(int, kind);
        auto rs = open(kind);
        rs->setAbsolutePosition(2);
        QCOMPARE(cod(*rs), "C3");
        QCOMPARE(rs->absolutePosition(), 2);
        rs->moveNext();
        QCOMPARE(cod(*rs), "C4");
        // Past the end: the last row.
        rs->setAbsolutePosition(9);
        QCOMPARE(cod(*rs), "C4");
        rs->setAbsolutePosition(0);
        QVERIFY(!rs->isBOF());
        QCOMPARE(cod(*rs), "C1");
        QCOMPARE(errorOf([&] { rs->setAbsolutePosition(-1); }), int(ErrNoCurrentRecord));
        if (RecordsetType(kind) != RecordsetType::Snapshot) {
            // Positions count the rows still there: a row deleted through a clone is not one.
            auto other = rs->clone();
            other->setAbsolutePosition(1);
            other->deleteRecord();
            rs->setAbsolutePosition(1);
            QCOMPARE(cod(*rs), "C3");
            QCOMPARE(rs->absolutePosition(), 1);
            // Deleted by another statement since the open: skipped forward.
            db().execute("DELETE FROM Clientes WHERE Cod = 'C3'");
            rs->setAbsolutePosition(1);
            QCOMPARE(cod(*rs), "C4");
        }
        db().execute("DELETE FROM Clientes");
        auto empty = open(kind);
        QCOMPARE(errorOf([&] { empty->setAbsolutePosition(0); }), int(ErrNoCurrentRecord));
    }

    void bookmarksAndClones_data() { kinds(); }
    void bookmarksAndClones() {
        QFETCH(int, kind);
        auto rs = open(kind);
        rs->moveNext();
        const QByteArray c2 = rs->bookmark();
        auto c = rs->clone();
        QCOMPARE(cod(*c), "C1");
        c->moveLast();
        QCOMPARE(cod(*rs), "C2"); // cursors move independently
        c->setBookmark(c2);
        QCOMPARE(cod(*c), "C2");
        c->moveNext();
        rs->setBookmark(c->bookmark());
        QCOMPARE(cod(*rs), "C3");
        if (RecordsetType(kind) == RecordsetType::Snapshot)
            return;

        // A row deleted through one cursor, or by another statement, is gone for the others.
        const QByteArray c3 = rs->bookmark();
        rs->deleteRecord();
        QCOMPARE(errorOf([&] { cod(*c); }), int(ErrNoCurrentRecord));
        c->moveNext();
        QCOMPARE(cod(*c), "C4");
        QCOMPARE(errorOf([&] { rs->setBookmark(c3); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->setBookmark("basura"); }), int(ErrNoCurrentRecord));
        db().execute("DELETE FROM Clientes WHERE Cod = 'C4'");
        c->moveLast();
        QCOMPARE(cod(*c), "C2");
        QCOMPARE(c->recordCount(), 2);
    }

    void findFirstAndNext_data() { kinds(); }
    void findFirstAndNext() {
        QFETCH(int, kind);
        auto rs = open(kind);
        rs->moveLast();
        QVERIFY(rs->findFirst("Poblacion = ?", {"MÁLAGA"}));
        QCOMPARE(cod(*rs), "C1");
        QVERIFY(rs->findNext("Poblacion = ?", {"málaga"}));
        QCOMPARE(cod(*rs), "C3");

        // Without a match the position stays.
        QVERIFY(!rs->findNext("Poblacion = ?", {"Málaga"}));
        QVERIFY(rs->noMatch());
        QVERIFY(!rs->findFirst("Nombre = ?", {"Avila"})); // accents count
        QCOMPARE(cod(*rs), "C3");

        QVERIFY(rs->findFirst("Nombre LIKE ? AND NOT Alquiler", {"%ÁVILA%"}));
        QVERIFY(!rs->noMatch());
        QCOMPARE(cod(*rs), "C1");
        QCOMPARE(errorOf([&] { rs->findFirst("NoExiste = 1"); }), int(ErrSyntax));
    }

    void snapshotKeepsTheRowsItRead() {
        auto s = open(int(RecordsetType::Snapshot));
        auto d = open(int(RecordsetType::Dynaset));
        db().execute("UPDATE Clientes SET Poblacion = 'Ronda' WHERE Cod = 'C1'");
        QVERIFY(s->findFirst("Poblacion = 'Málaga'"));
        QCOMPARE(cod(*s), "C1");
        QVERIFY(d->findFirst("Poblacion = 'Málaga'"));
        QCOMPARE(cod(*d), "C3");
        QCOMPARE(errorOf([&] { s->edit(); }), int(ErrReadOnly));
    }

    void addEditDeleteCancel_data() { kinds(false); }
    void addEditDeleteCancel() {
        QFETCH(int, kind);
        auto rs = open(kind);
        rs->addNew();
        QCOMPARE(rs->value("Poblacion"), "Marbella"); // the column's default
        rs->setValue("Cod", "C0");
        rs->setValue("Nombre", "O'Brien");
        rs->update();
        QCOMPARE(rs->recordCount(), 5);
        QCOMPARE(t_->count(), 5);
        rs->moveLast();
        QCOMPARE(cod(*rs), "C0"); // new rows go to the end
        QCOMPARE(rs->value("Alquiler"), false);
        rs->moveFirst();
        QVERIFY(rs->findFirst("Nombre LIKE ?", {containsPattern("o'bri")}));
        QCOMPARE(cod(*rs), "C0");
        QCOMPARE(db().scalar("SELECT Cod FROM Clientes WHERE Nombre = ?", {"o'brien"}), "C0");

        // Only the fields set are written.
        rs->moveFirst();
        rs->edit();
        rs->setValue("Nombre", "Ávila Centro");
        db().execute("UPDATE Clientes SET Notas = 'de otro puesto' WHERE Cod = 'C1'");
        rs->update();
        QCOMPARE(db().query("SELECT Nombre, Notas FROM Clientes WHERE Cod = 'C1'").value(0),
                 (Row{"Ávila Centro", "de otro puesto"}));
        rs->moveLast();
        rs->setBookmark(rs->lastModified());
        QCOMPARE(cod(*rs), "C1");

        rs->edit();
        rs->setValue("Nombre", "Otro");
        rs->cancelUpdate();
        QCOMPARE(rs->value("Nombre"), "Ávila Centro");
        rs->addNew();
        rs->setValue("Cod", "C6");
        rs->cancelUpdate();
        QCOMPARE(cod(*rs), "C1");
        QCOMPARE(t_->count(), 5);
        QCOMPARE(errorOf([&] { rs->update(); }), int(ErrUpdateWithoutEdit));

        rs->moveNext();
        rs->deleteRecord();
        QCOMPARE(errorOf([&] { cod(*rs); }), int(ErrNoCurrentRecord));
        rs->moveNext();
        QCOMPARE(cod(*rs), "C3");
        QCOMPARE(rs->recordCount(), 4);
        QCOMPARE(db().scalar("SELECT count(*) FROM Clientes WHERE Cod = 'C2'"), 0);
    }

    void refusedUpdateKeepsTheEdit_data() { kinds(false); }
    void refusedUpdateKeepsTheEdit() {
        QFETCH(int, kind);
        auto rs = open(kind);
        rs->addNew();
        rs->setValue("Cod", "c1"); // equal to C1 for the case-insensitive index
        rs->setValue("Nombre", "Repetido");
        QCOMPARE(errorOf([&] { rs->update(); }), int(ErrDuplicateKey));
        QCOMPARE(t_->count(), 4);
        QCOMPARE(rs->recordCount(), 4);
        QCOMPARE(rs->value("Nombre"), "Repetido");
        rs->setValue("Cod", "C9");
        rs->update();
        QCOMPARE(db().scalar("SELECT Nombre FROM Clientes WHERE Cod = 'C9'"), "Repetido");

        rs->moveFirst();
        rs->edit();
        rs->setValue("Cod", "C3");
        QCOMPARE(errorOf([&] { rs->update(); }), int(ErrDuplicateKey));
        QCOMPARE(db().scalar("SELECT count(*) FROM Clientes WHERE Cod = 'C3'"), 1);

        // Too long a text is refused at once and changes nothing.
        rs->cancelUpdate();
        rs->edit();
        QCOMPARE(errorOf([&] { rs->setValue("Cod", "ABCDEFGHIJK"); }), int(ErrFieldTooSmall));
        QCOMPARE(rs->value("Cod"), "C1");
        rs->setValue("Nombre", QString(50, u'ñ')); // the size counts characters, not bytes
        QCOMPARE(errorOf([&] { rs->setValue("Nombre", QString(51, u'ñ')); }), int(ErrFieldTooSmall));
        rs->setValue("Notas", QString(5000, u'x')); // a memo has no size
        rs->update();
        QCOMPARE(db().scalar("SELECT length(Nombre) || '/' || length(Notas) FROM Clientes WHERE Cod = 'C1'"),
                 "50/5000");
    }

    // An integer key is the rowid: changing it must keep the row reachable.
    void integerKeyCanChange() {
        auto rs = db().openRecordset("select * from Tipos order by Nombre", RecordsetType::Dynaset);
        for (const char* nombre : {"Ático", "Bungalow"}) {
            rs->addNew();
            rs->setValue("Nombre", nombre);
            rs->update();
        }
        rs->moveFirst();
        rs->edit();
        rs->setValue("Cod", 9);
        rs->update();
        QVERIFY(rs->findFirst("Cod = ?", {9}));
        QCOMPARE(rs->value("Nombre"), "Ático");
        QCOMPARE(column(*rs), (QStringList{"9", "2"}));
    }

    void datesBooleansAndNumbersRoundTrip() {
        auto rs = open(int(RecordsetType::Dynaset));
        rs->addNew();
        rs->setValue("Cod", "D1");
        rs->setValue("Alta", QDate(2024, 2, 29));
        rs->setValue("Alquiler", true);
        rs->setValue("Precio", 123456.78);
        rs->setValue("Planta", "3");
        rs->update();
        rs->moveFirst();
        QVERIFY(rs->findFirst("Alta = ? AND Alquiler = ?", {QDate(2024, 2, 29), true}));
        QCOMPARE(cod(*rs), "D1");
        QCOMPARE(rs->value("Alta"), QVariant(QDate(2024, 2, 29)));
        QCOMPARE(rs->value("Alquiler"), QVariant(true));
        QCOMPARE(rs->value("Precio").toDouble(), 123456.78);
        QCOMPARE(rs->value("Planta"), QVariant(qint64(3)));

        rs->edit();
        QCOMPARE(errorOf([&] { rs->setValue("Alta", "31/02/2024"); }), int(ErrConversion));
        QCOMPARE(errorOf([&] { rs->setValue("Numero", "abc"); }), int(ErrConversion));
        rs->setValue("Alta", QVariant());
        rs->setValue("Alquiler", false);
        rs->update();
        QCOMPARE(db().query("SELECT Alta, Alquiler FROM Clientes WHERE Cod = 'D1'").value(0),
                 (Row{Value(), false}));
    }

    void fieldsFromDeclaredTypes() {
        auto rs = open(int(RecordsetType::Dynaset));
        const QList<std::tuple<QString, FieldType, int>> expected{
            {"Cod", FieldType::Text, 10},         {"Nombre", FieldType::Text, 50},
            {"Notas", FieldType::Memo, 0},        {"Planta", FieldType::Integer, 2},
            {"Numero", FieldType::Long, 4},       {"Precio", FieldType::Currency, 8},
            {"Superficie", FieldType::Double, 8}, {"Alta", FieldType::Date, 8},
            {"Alquiler", FieldType::Boolean, 1}};
        QCOMPARE(rs->fieldCount(), 10);
        for (const auto& [name, type, size] : expected) {
            const FieldInfo& f = rs->field(name.toLower());
            QCOMPARE(f.name, name);
            QCOMPARE(f.type, type);
            QCOMPARE(f.size, size);
        }
        QCOMPARE(errorOf([&] { rs->field("NoExiste"); }), int(ErrItemNotFound));
    }

    void tableIndexAndSeek() {
        ORB_SOLO_ARCHIVO("el servidor ordena con consultas, no eligiendo índices");
        auto rs = db().openRecordset("Config", RecordsetType::Table);
        rs->setIndex("Index");
        QCOMPARE(column(*rs), (QStringList{"GENERAL", "WEB", "WEB"}));
        QVERIFY(rs->seek("=", {"web", "fotoaltura"}));
        QVERIFY(!rs->noMatch());
        QCOMPARE(rs->value("Valor"), "300");
        QVERIFY(!rs->seek("=", {"WEB", "NADA"}));
        QVERIFY(rs->noMatch());
        QCOMPARE(rs->value("Valor"), "300");
        QVERIFY(rs->seek("=", {"WEB"})); // leading columns only: the first in index order
        QCOMPARE(rs->value("Variable"), "FOTOALTURA");

        // Rows added through the cursor are found too.
        rs->addNew();
        rs->setValue("Grupo", "SINC");
        rs->setValue("Variable", "FTPSERVIDOR");
        rs->update();
        QVERIFY(rs->seek("=", {"sinc", "ftpservidor"}));
        QVERIFY(isNull(rs->value("Valor")));

        QCOMPARE(errorOf([&] { rs->setIndex("NoExiste"); }), int(ErrItemNotFound));
        auto dyn = db().openRecordset("Config", RecordsetType::Dynaset);
        QCOMPARE(errorOf([&] { dyn->setIndex("Index"); }), int(ErrNotSupported));
    }

    void dynasetSources() {
        // Explicit columns, an alias named by ORDER BY, a parameter: still updatable.
        auto rs =
            db().openRecordset("select Cod, Nombre as N from Clientes where Precio >= ? order by N desc",
                               RecordsetType::Dynaset, {120000});
        QCOMPARE(column(*rs), (QStringList{"C3", "C2", "C1"}));
        rs->moveFirst();
        rs->edit();
        rs->setValue("N", "Nerja Playa");
        rs->update();
        QCOMPARE(db().scalar("SELECT Nombre FROM Clientes WHERE Cod = 'C3'"), "Nerja Playa");

        // ORDER BY a position of the select list orders by that column, not by
        // the keyset's own first column.
        QCOMPARE(column(*db().openRecordset("select Cod, Nombre, Precio from Clientes order by 3",
                                            RecordsetType::Dynaset)),
                 (QStringList{"C4", "C1", "C3", "C2"}));
        auto porNombre =
            db().openRecordset("select Cod, Nombre from Clientes order by 2 desc", RecordsetType::Dynaset);
        QVERIFY(porNombre->updatable());
        QCOMPARE(column(*porNombre), (QStringList{"C4", "C3", "C2", "C1"}));

        // A new row that does not match stays until the next open.
        const QString malaga = "select * from Clientes where Poblacion = 'Málaga' order by Cod";
        auto m = db().openRecordset(malaga, RecordsetType::Dynaset);
        m->addNew();
        m->setValue("Cod", "A0");
        m->setValue("Poblacion", "Ronda");
        m->update();
        QCOMPARE(column(*m), (QStringList{"C1", "C3", "A0"}));
        QCOMPARE(column(*db().openRecordset(malaga, RecordsetType::Dynaset)), (QStringList{"C1", "C3"}));

        // Views, joins and groupings have no keyset: a dynaset over them is
        // refused with the reason, or read as a snapshot when the caller says so.
        const QList<std::pair<const char*, const char*>> sources{
            {"vClientes", "no es una tabla"},
            {"select c.Cod, a.Nombre from Clientes c left join Agencias a on a.Cod = c.Cod",
             "más de una tabla"},
            {"select Poblacion, count(*) from Clientes group by Poblacion", "totales"},
            {"select distinct Poblacion from Clientes", "DISTINCT"}};
        for (const auto& [source, why] : sources) {
            try {
                db().openRecordset(source, RecordsetType::Dynaset);
                QFAIL(source);
            } catch (const DbError& e) {
                QCOMPARE(e.number(), int(ErrNotSupported));
                QVERIFY2(e.description().contains(QString::fromUtf8(why)), qPrintable(e.description()));
            }
            auto ro = db().openRecordset(source, RecordsetType::Dynaset, {}, ReadOnlyFallback::Snapshot);
            QVERIFY2(!ro->updatable(), source);
            QVERIFY(ro->recordCount() > 0);
            QCOMPARE(errorOf([&] { ro->edit(); }), int(ErrReadOnly));
        }
        // A source wrong in itself says what is wrong with it, not that it is read-only.
        QCOMPARE(errorOf([&] { db().openRecordset("select Nada from Clientes", RecordsetType::Dynaset); }),
                 int(ErrSyntax));
    }
};

QTEST_GUILESS_MAIN(tst_Recordset)
#include "tst_recordset.moc"
