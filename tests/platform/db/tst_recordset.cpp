#include "platform/db/Recordset.h"

#include <QTemporaryDir>
#include <QTest>

using namespace db;

namespace {

template <typename F> int errorOf(F&& f) {
    try {
        f();
    } catch (const DbError& e) {
        return e.number();
    }
    return 0;
}

const char* const kSchema = R"(
CREATE TABLE Clientes (
    Cod VARCHAR(10) COLLATE es NOT NULL CHECK (length(Cod) <= 10),
    Nombre VARCHAR(50) COLLATE es CHECK (length(Nombre) <= 50),
    Poblacion VARCHAR(30) COLLATE es DEFAULT 'Marbella' CHECK (length(Poblacion) <= 30),
    Notas TEXT,
    Planta SMALLINT,
    Numero INTEGER,
    Precio CURRENCY,
    Superficie DOUBLE,
    Alta DATE,
    Alquiler BOOLEAN NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX ixClientesCod ON Clientes (Cod);
CREATE TABLE Config (
    Grupo VARCHAR(20) COLLATE es NOT NULL,
    Variable VARCHAR(20) COLLATE es NOT NULL,
    Valor VARCHAR(255)
);
CREATE UNIQUE INDEX "Index" ON Config (Grupo, Variable);
CREATE TABLE Agencias (Cod VARCHAR(10) COLLATE es PRIMARY KEY, Nombre VARCHAR(50) COLLATE es);
CREATE TABLE Tipos (Cod INTEGER PRIMARY KEY, Nombre VARCHAR(50) COLLATE es);
CREATE VIEW vClientes AS
    SELECT c.Cod, c.Nombre, a.Nombre AS Agencia FROM Clientes c LEFT JOIN Agencias a ON a.Cod = c.Cod;
INSERT INTO Clientes (Cod, Nombre, Poblacion, Precio, Alquiler) VALUES
    ('C1', 'Ávila', 'Málaga', 120000, 0),
    ('C2', 'Benalmádena', 'Marbella', 250000, 1),
    ('C3', 'Nerja', 'Málaga', 180000, 0),
    ('C4', 'Zurgena', 'Almería', 95000, 0);
INSERT INTO Config VALUES ('WEB', 'FOTOANCHURA', '400'), ('GENERAL', 'ADDAGAIN', '0'),
    ('WEB', 'FOTOALTURA', '300');
INSERT INTO Agencias VALUES ('AG1', 'Costa'), ('AG2', 'Sierra');
)";

QString cod(const Recordset& rs) {
    return rs.value("Cod").toString();
}

// Values of the first field, first row to last.
QStringList column(Recordset& rs) {
    QStringList out;
    if (rs.recordCount() == 0)
        return out;
    for (rs.moveFirst(); !rs.isEOF(); rs.moveNext())
        out << rs.value(0).toString();
    return out;
}

} // namespace

class tst_Recordset : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Database> db_;

    qint64 rows(const QString& table = "Clientes") {
        return db_->scalar("SELECT count(*) FROM " + table).toLongLong();
    }
    // The same four clients, in Cod order, through each kind of recordset.
    std::unique_ptr<Recordset> open(int kind) {
        switch (RecordsetType(kind)) {
        case RecordsetType::Table:
            return db_->openRecordset("Clientes", RecordsetType::Table);
        case RecordsetType::Dynaset:
            return db_->openRecordset("select * from Clientes order by Cod", RecordsetType::Dynaset);
        case RecordsetType::Snapshot:
            break;
        }
        return db_->openRecordset("SELECT * FROM Clientes ORDER BY Cod", RecordsetType::Snapshot);
    }
    static void kinds(bool withSnapshot = true) {
        QTest::addColumn<int>("kind");
        QTest::newRow("table") << int(RecordsetType::Table);
        QTest::newRow("dynaset") << int(RecordsetType::Dynaset);
        if (withSnapshot)
            QTest::newRow("snapshot") << int(RecordsetType::Snapshot);
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        db_ = Database::open(dir_->filePath("Orbalia.db"), {.create = true});
        db_->executeScript(QString::fromUtf8(kSchema));
    }
    void cleanup() {
        db_.reset();
        dir_.reset();
    }

    void navigationAtBothEnds_data() { kinds(); }
    void navigationAtBothEnds() {
        QFETCH(int, kind);
        auto rs = open(kind);
        QCOMPARE(rs->recordCount(), 4);
        QVERIFY(!rs->isBOF() && !rs->isEOF());
        QCOMPARE(cod(*rs), "C1");

        rs->movePrevious();
        QVERIFY(rs->isBOF() && !rs->isEOF());
        QCOMPARE(errorOf([&] { rs->value(0); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->movePrevious(); }), int(ErrNoCurrentRecord));
        rs->moveNext();
        QCOMPARE(cod(*rs), "C1");

        rs->moveLast();
        QCOMPARE(cod(*rs), "C4");
        QCOMPARE(rs->absolutePosition(), 3);
        rs->moveNext();
        QVERIFY(rs->isEOF() && !rs->isBOF());
        QCOMPARE(rs->absolutePosition(), -1);
        QCOMPARE(errorOf([&] { cod(*rs); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->bookmark(); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->moveNext(); }), int(ErrNoCurrentRecord));
        rs->movePrevious();
        QCOMPARE(cod(*rs), "C4");
        QCOMPARE(column(*rs), (QStringList{"C1", "C2", "C3", "C4"}));
    }

    void emptyRecordset_data() { kinds(); }
    void emptyRecordset() {
        QFETCH(int, kind);
        db_->execute("DELETE FROM Clientes");
        auto rs = open(kind);
        QVERIFY(rs->isBOF() && rs->isEOF());
        QCOMPARE(rs->recordCount(), 0);
        QCOMPARE(errorOf([&] { rs->moveFirst(); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->moveLast(); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->moveNext(); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->value("Cod"); }), int(ErrNoCurrentRecord));
        QVERIFY(!rs->findFirst("Cod = ?", {"C1"}));
        QVERIFY(rs->noMatch());
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

        // A row deleted through one cursor is gone for its clones too.
        const QByteArray c3 = rs->bookmark();
        rs->deleteRecord();
        QCOMPARE(errorOf([&] { cod(*c); }), int(ErrNoCurrentRecord));
        QCOMPARE(c->recordCount(), 3);
        c->moveNext();
        QCOMPARE(cod(*c), "C4");
        c->movePrevious();
        QCOMPARE(cod(*c), "C2");
        QCOMPARE(errorOf([&] { rs->setBookmark(c3); }), int(ErrNoCurrentRecord));
        QCOMPARE(errorOf([&] { rs->setBookmark("basura"); }), int(ErrNoCurrentRecord));

        // So is a row deleted by another statement, once the cursor reaches it.
        db_->execute("DELETE FROM Clientes WHERE Cod = 'C4'");
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
        QVERIFY(!rs->noMatch());
        QCOMPARE(cod(*rs), "C1");
        QVERIFY(rs->findNext("Poblacion = ?", {"málaga"}));
        QCOMPARE(cod(*rs), "C3");

        // Without a match the position stays.
        QVERIFY(!rs->findNext("Poblacion = ?", {"Málaga"}));
        QVERIFY(rs->noMatch());
        QCOMPARE(cod(*rs), "C3");
        QVERIFY(!rs->findFirst("Cod = ?", {"C9"}));
        QVERIFY(rs->noMatch());
        QCOMPARE(cod(*rs), "C3");

        QVERIFY(rs->findFirst("Nombre LIKE ?", {"%ÁVILA%"}));
        QCOMPARE(cod(*rs), "C1");
        QVERIFY(rs->findFirst("Precio > ? AND NOT Alquiler", {150000}));
        QCOMPARE(cod(*rs), "C3");
        QVERIFY(!rs->findFirst("Nombre = ?", {"Avila"})); // accents count
        QCOMPARE(errorOf([&] { rs->findFirst("NoExiste = 1"); }), int(ErrSyntax));
    }

    void snapshotKeepsTheRowsItRead() {
        auto s = open(int(RecordsetType::Snapshot));
        auto d = open(int(RecordsetType::Dynaset));
        db_->execute("UPDATE Clientes SET Poblacion = 'Ronda' WHERE Cod = 'C1'");
        QVERIFY(s->findFirst("Poblacion = 'Málaga'"));
        QCOMPARE(cod(*s), "C1");
        QVERIFY(d->findFirst("Poblacion = 'Málaga'"));
        QCOMPARE(cod(*d), "C3");
        QCOMPARE(errorOf([&] { s->edit(); }), int(ErrReadOnly));
        QCOMPARE(errorOf([&] { s->addNew(); }), int(ErrReadOnly));
        QCOMPARE(errorOf([&] { s->deleteRecord(); }), int(ErrReadOnly));
    }

    void addEditDeleteCancel_data() { kinds(false); }
    void addEditDeleteCancel() {
        QFETCH(int, kind);
        auto rs = open(kind);
        QVERIFY(rs->updatable());
        rs->addNew();
        QCOMPARE(rs->editMode(), EditMode::Add);
        QCOMPARE(rs->value("Poblacion"), "Marbella"); // the column's default
        rs->setValue("Cod", "C0");
        rs->setValue("Nombre", "Ojén");
        rs->update();
        QCOMPARE(rs->editMode(), EditMode::None);
        QCOMPARE(rs->recordCount(), 5);
        QCOMPARE(rows(), 5);
        QCOMPARE(cod(*rs), "C0");
        QCOMPARE(rs->value("Alquiler"), false);
        rs->moveFirst();
        rs->setBookmark(rs->lastModified());
        QCOMPARE(rs->value("Nombre"), "Ojén");
        rs->moveLast();
        QCOMPARE(cod(*rs), "C0"); // new rows go to the end

        // Only the fields set are written.
        rs->moveFirst();
        rs->edit();
        rs->setValue("Nombre", "Ávila Centro");
        db_->execute("UPDATE Clientes SET Notas = 'de otro puesto' WHERE Cod = 'C1'");
        rs->update();
        QCOMPARE(db_->query("SELECT Nombre, Notas FROM Clientes WHERE Cod = 'C1'").value(0),
                 (Row{"Ávila Centro", "de otro puesto"}));
        rs->moveLast();
        rs->setBookmark(rs->lastModified());
        QCOMPARE(cod(*rs), "C1");

        rs->edit();
        rs->setValue("Nombre", "Otro");
        QCOMPARE(rs->value("Nombre"), "Otro");
        rs->cancelUpdate();
        QCOMPARE(rs->value("Nombre"), "Ávila Centro");
        rs->addNew();
        rs->setValue("Cod", "C6");
        rs->cancelUpdate();
        QCOMPARE(cod(*rs), "C1");
        QCOMPARE(rows(), 5);
        QCOMPARE(errorOf([&] { rs->update(); }), int(ErrUpdateWithoutEdit));
        QCOMPARE(errorOf([&] { rs->cancelUpdate(); }), int(ErrUpdateWithoutEdit));
        QCOMPARE(errorOf([&] { rs->setValue("Nombre", "x"); }), int(ErrUpdateWithoutEdit));

        rs->moveNext();
        QCOMPARE(cod(*rs), "C2");
        rs->deleteRecord();
        QCOMPARE(errorOf([&] { cod(*rs); }), int(ErrNoCurrentRecord));
        QVERIFY(!rs->isEOF() && !rs->isBOF());
        rs->moveNext();
        QCOMPARE(cod(*rs), "C3");
        QCOMPARE(rs->recordCount(), 4);
        QCOMPARE(db_->scalar("SELECT count(*) FROM Clientes WHERE Cod = 'C2'"), 0);
    }

    void refusedUpdateKeepsTheEdit_data() { kinds(false); }
    void refusedUpdateKeepsTheEdit() {
        QFETCH(int, kind);
        auto rs = open(kind);
        rs->addNew();
        rs->setValue("Cod", "c1"); // equal to C1 for the case-insensitive index
        rs->setValue("Nombre", "Repetido");
        QCOMPARE(errorOf([&] { rs->update(); }), int(ErrDuplicateKey));
        QCOMPARE(rows(), 4);
        QCOMPARE(rs->recordCount(), 4);
        QCOMPARE(rs->editMode(), EditMode::Add);
        QCOMPARE(rs->value("Nombre"), "Repetido");
        rs->setValue("Cod", "C9");
        rs->update();
        QCOMPARE(cod(*rs), "C9");
        QCOMPARE(rows(), 5);
        QCOMPARE(db_->scalar("SELECT Nombre FROM Clientes WHERE Cod = 'C9'"), "Repetido");

        rs->moveFirst();
        rs->edit();
        rs->setValue("Cod", "C3");
        QCOMPARE(errorOf([&] { rs->update(); }), int(ErrDuplicateKey));
        QCOMPARE(db_->scalar("SELECT count(*) FROM Clientes WHERE Cod = 'C3'"), 1);

        // Too long a text is refused at once and changes nothing.
        rs->cancelUpdate();
        rs->edit();
        QCOMPARE(errorOf([&] { rs->setValue("Cod", "ABCDEFGHIJK"); }), int(ErrFieldTooSmall));
        QCOMPARE(rs->value("Cod"), "C1");
        rs->setValue("Nombre", QString(50, u'ñ')); // the size counts characters, not bytes
        QCOMPARE(errorOf([&] { rs->setValue("Nombre", QString(51, u'ñ')); }), int(ErrFieldTooSmall));
        rs->setValue("Notas", QString(5000, u'x')); // a memo has no size
        rs->update();
        QCOMPARE(db_->scalar("SELECT length(Nombre) || '/' || length(Notas) FROM Clientes WHERE Cod = 'C1'"),
                 "50/5000");
    }

    void integerKeyIsTheRowid() {
        auto rs = db_->openRecordset("select * from Tipos order by Nombre", RecordsetType::Dynaset);
        rs->addNew();
        rs->setValue("Cod", 5);
        rs->setValue("Nombre", "Ático");
        rs->update();
        rs->addNew();
        rs->setValue("Nombre", "Bungalow");
        rs->update();
        QCOMPARE(rs->value("Cod"), 6);
        rs->moveFirst();
        rs->edit();
        rs->setValue("Cod", 9); // the key is the rowid: the row must stay reachable
        rs->update();
        rs->moveLast();
        rs->setBookmark(rs->lastModified());
        QCOMPARE(rs->value("Nombre"), "Ático");
        QCOMPARE(rs->value("Cod"), 9);
        QVERIFY(rs->findFirst("Cod = ?", {9}));
        QCOMPARE(column(*rs), (QStringList{"9", "6"}));
        QCOMPARE(column(*db_->openRecordset("select Cod from Tipos order by Cod", RecordsetType::Dynaset)),
                 (QStringList{"6", "9"}));
    }

    void apostrophesAreText() {
        auto rs = db_->openRecordset("Clientes", RecordsetType::Dynaset);
        rs->addNew();
        rs->setValue("Cod", "C7");
        rs->setValue("Nombre", "O'Brien");
        rs->update();
        auto byName = db_->openRecordset("select * from Clientes where Nombre = ?", RecordsetType::Dynaset,
                                         {"o'brien"});
        QCOMPARE(byName->recordCount(), 1);
        QCOMPARE(byName->value("Nombre"), "O'Brien");
        rs->moveFirst();
        QVERIFY(rs->findFirst("Nombre = ?", {"O'Brien"}));
        QCOMPARE(cod(*rs), "C7");
        rs->moveFirst();
        QVERIFY(rs->findFirst("Nombre LIKE ?", {containsPattern("'bri")}));
        QCOMPARE(cod(*rs), "C7");
    }

    void spanishOrderAndMatching() {
        db_->execute("INSERT INTO Clientes (Cod, Nombre) VALUES ('C5', 'Ñora'), ('C6', 'Ojén'), "
                     "('C7', 'Nueva Andalucía'), ('C8', 'avila')");
        // Accents and case sort with their letter; ñ is a letter of its own after n.
        const QStringList spanish{"avila",           "Ávila", "Benalmádena", "Nerja",
                                  "Nueva Andalucía", "Ñora",  "Ojén",        "Zurgena"};
        for (auto type : {RecordsetType::Dynaset, RecordsetType::Snapshot}) {
            auto rs = db_->openRecordset("select Nombre from Clientes order by Nombre collate es", type);
            QCOMPARE(column(*rs), spanish);
        }
        auto like = db_->openRecordset("SELECT Nombre FROM Clientes WHERE Nombre LIKE ?",
                                       RecordsetType::Dynaset, {"%ÁVILA%"});
        QCOMPARE(column(*like), QStringList{"Ávila"});
        auto equal = db_->openRecordset("SELECT Nombre FROM Clientes WHERE Nombre = ?",
                                        RecordsetType::Dynaset, {"ávila"});
        QCOMPARE(column(*equal), QStringList{"Ávila"});
        QVERIFY(equal->findFirst("Nombre LIKE ?", {"ÁV%"}));
        auto plain = db_->openRecordset("SELECT Nombre FROM Clientes WHERE Nombre = ?",
                                        RecordsetType::Dynaset, {"Avila"});
        QCOMPARE(column(*plain), QStringList{"avila"}); // case folds, accents stay
    }

    void datesBooleansAndNumbers() {
        auto rs = db_->openRecordset("Clientes", RecordsetType::Dynaset);
        rs->addNew();
        rs->setValue("Cod", "D1");
        rs->setValue("Alta", QDate(2024, 2, 29));
        rs->setValue("Alquiler", true);
        rs->setValue("Precio", 123456.78);
        rs->setValue("Planta", "3");
        rs->setValue("Numero", qint64(1234567));
        rs->update();
        QCOMPARE(rs->value("Alta"), QVariant(QDate(2024, 2, 29)));
        QCOMPARE(rs->value("Alquiler"), QVariant(true));
        QCOMPARE(rs->value("Precio").toDouble(), 123456.78);
        QCOMPARE(rs->value("Planta"), QVariant(qint64(3)));
        QCOMPARE(db_->scalar("SELECT Alta || '|' || Alquiler FROM Clientes WHERE Cod = 'D1'"),
                 "2024-02-29|1");
        rs->moveFirst();
        QVERIFY(rs->findFirst("Alta = ? AND Alquiler = ?", {QDate(2024, 2, 29), true}));
        QCOMPARE(cod(*rs), "D1");

        rs->edit();
        QCOMPARE(errorOf([&] { rs->setValue("Alta", "31/02/2024"); }), int(ErrConversion));
        QCOMPARE(errorOf([&] { rs->setValue("Numero", "abc"); }), int(ErrConversion));
        rs->setValue("Alta", QVariant());
        rs->setValue("Alquiler", false);
        rs->update();
        QVERIFY(isNull(rs->value("Alta")));
        QCOMPARE(rs->value("Alquiler"), QVariant(false));
        QCOMPARE(db_->scalar("SELECT ifnull(Alta, 'nulo') || '|' || Alquiler FROM Clientes WHERE Cod = 'D1'"),
                 "nulo|0");
    }

    void fieldsFromDeclaredTypes() {
        auto rs = db_->openRecordset("Clientes", RecordsetType::Dynaset);
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
        QCOMPARE(rs->fieldIndex("NoExiste"), -1);
        QCOMPARE(errorOf([&] { rs->field("NoExiste"); }), int(ErrItemNotFound));
        QCOMPARE(errorOf([&] { rs->value(10); }), int(ErrItemNotFound));

        auto expr =
            db_->openRecordset("select Cod, Precio * 2 as Doble from Clientes", RecordsetType::Dynaset);
        QCOMPARE(expr->field(1).type, FieldType::Unknown);
        QCOMPARE(expr->value("Doble").toDouble(), 240000.0);
        expr->edit();
        QCOMPARE(errorOf([&] { expr->setValue("Doble", 1); }), int(ErrReadOnly));
    }

    void tableIndexAndSeek() {
        auto rs = db_->openRecordset("Config", RecordsetType::Table);
        rs->setIndex("Index");
        QCOMPARE(column(*rs), (QStringList{"GENERAL", "WEB", "WEB"}));
        rs->moveLast();
        QCOMPARE(rs->value("Variable"), "FOTOANCHURA");

        QVERIFY(rs->seek("=", {"web", "fotoaltura"}));
        QVERIFY(!rs->noMatch());
        QCOMPARE(rs->value("Valor"), "300");
        QVERIFY(!rs->seek("=", {"WEB", "NADA"}));
        QVERIFY(rs->noMatch());
        QCOMPARE(rs->value("Valor"), "300");
        QVERIFY(rs->seek("=", {"WEB"})); // leading columns only: the first in index order
        QCOMPARE(rs->value("Variable"), "FOTOALTURA");

        // Seek, add when missing, seek again: the configuration store's round.
        QVERIFY(!rs->seek("=", {"SINC", "FTPSERVIDOR"}));
        rs->addNew();
        rs->setValue("Grupo", "SINC");
        rs->setValue("Variable", "FTPSERVIDOR");
        rs->update();
        QVERIFY(rs->seek("=", {"SINC", "FTPSERVIDOR"}));
        QVERIFY(isNull(rs->value("Valor")));
        rs->edit();
        rs->setValue("Valor", "ftp.ejemplo.es");
        rs->update();
        QCOMPARE(db_->scalar("SELECT Valor FROM Config WHERE Grupo = 'SINC'"), "ftp.ejemplo.es");

        // Rows written by others after the index was chosen are found too.
        db_->execute("INSERT INTO Config VALUES ('CODIGOS', 'MASCARA', '00000')");
        QVERIFY(rs->seek("=", {"Codigos", "Mascara"}));
        QCOMPARE(rs->value("Valor"), "00000");

        auto ag = db_->openRecordset("Agencias", RecordsetType::Table);
        ag->setIndex("PrimaryKey");
        QVERIFY(ag->seek("=", {"ag2"}));
        QCOMPARE(ag->value("Nombre"), "Sierra");

        QCOMPARE(errorOf([&] { rs->setIndex("NoExiste"); }), int(ErrItemNotFound));
        QCOMPARE(errorOf([&] { rs->seek("=", {"a", "b", "c"}); }), int(ErrSyntax));
        auto noIndex = db_->openRecordset("Config", RecordsetType::Table);
        QCOMPARE(errorOf([&] { noIndex->seek("=", {"WEB"}); }), int(ErrNotSupported));
        auto dyn = db_->openRecordset("Config", RecordsetType::Dynaset);
        QCOMPARE(errorOf([&] { dyn->setIndex("Index"); }), int(ErrNotSupported));
        QCOMPARE(errorOf([&] { db_->openRecordset("select * from Config", RecordsetType::Table); }),
                 int(ErrNotSupported));
        QCOMPARE(errorOf([&] { db_->openRecordset("vClientes", RecordsetType::Table); }),
                 int(ErrItemNotFound));
    }

    void dynasetSources() {
        // Explicit columns, an alias named by ORDER BY, a parameter.
        auto rs = db_->openRecordset(
            "select Cod, Nombre as N, Precio from Clientes where Precio >= ? order by N desc",
            RecordsetType::Dynaset, {120000});
        QVERIFY(rs->updatable());
        QCOMPARE(rs->fieldCount(), 3);
        QCOMPARE(column(*rs), (QStringList{"C3", "C2", "C1"}));
        rs->moveFirst();
        rs->edit();
        rs->setValue("N", "Nerja Playa");
        rs->update();
        QCOMPARE(db_->scalar("SELECT Nombre FROM Clientes WHERE Cod = 'C3'"), "Nerja Playa");
        QVERIFY(rs->findFirst("N LIKE ?", {"%benal%"}));
        QCOMPARE(cod(*rs), "C2");

        auto upper =
            db_->openRecordset("SELECT c.* FROM Clientes AS c WHERE c.Alquiler = 0 ORDER BY c.Precio DESC",
                               RecordsetType::Dynaset);
        QCOMPARE(column(*upper), (QStringList{"C3", "C1", "C4"}));

        // New rows go to the end; rows that stop matching stay until the next open.
        auto malaga = db_->openRecordset("select * from Clientes where Poblacion = 'Málaga' order by Cod",
                                         RecordsetType::Dynaset);
        QCOMPARE(column(*malaga), (QStringList{"C1", "C3"}));
        malaga->addNew();
        malaga->setValue("Cod", "A0");
        malaga->setValue("Poblacion", "Ronda");
        malaga->update();
        malaga->moveFirst();
        malaga->edit();
        malaga->setValue("Poblacion", "Ronda");
        malaga->update();
        QCOMPARE(column(*malaga), (QStringList{"C1", "C3", "A0"}));
        QCOMPARE(column(*db_->openRecordset("select * from Clientes where Poblacion = 'Málaga' order by Cod",
                                            RecordsetType::Dynaset)),
                 QStringList{"C3"});

        // Views, joins and groupings can be read, not changed.
        for (const char* source :
             {"vClientes", "select c.Cod, a.Nombre from Clientes c left join Agencias a on a.Cod = c.Cod",
              "select Poblacion, count(*) from Clientes group by Poblacion"}) {
            auto ro = db_->openRecordset(source, RecordsetType::Dynaset);
            QVERIFY2(!ro->updatable(), source);
            QVERIFY(ro->recordCount() > 0);
            QCOMPARE(errorOf([&] { ro->edit(); }), int(ErrReadOnly));
            QCOMPARE(errorOf([&] { ro->addNew(); }), int(ErrReadOnly));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Recordset)
#include "tst_recordset.moc"
