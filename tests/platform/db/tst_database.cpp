#include "platform/db/Database.h"

#include <QFile>
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
    Alta DATE,
    Activo BOOLEAN NOT NULL DEFAULT 1
);
CREATE UNIQUE INDEX ixClientesCod ON Clientes (Cod);
)";

} // namespace

class tst_Database : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<Database> create(const QString& name) {
        auto db = Database::open(path(name), {.create = true});
        db->executeScript(QString::fromUtf8(kSchema));
        return db;
    }
    static qint64 count(Database& db) {
        return db.scalar(QStringLiteral("SELECT count(*) FROM Clientes")).toLongLong();
    }

private Q_SLOTS:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void missingFileIsRefusedAndNotCreated() {
        const QString p = path(QStringLiteral("noexiste.db"));
        QCOMPARE(errorOf([&] { Database::open(p); }), int(ErrCannotOpen));
        QVERIFY(!QFile::exists(p));
        QCOMPARE(errorOf([&] { Database::open(QString()); }), int(ErrCannotOpen));
    }

    void nonDatabaseFileIsRefused() {
        const QString p = path(QStringLiteral("texto.db"));
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("Esto no es una base de datos, sólo un texto bastante largo.\n").repeated(100));
        f.close();
        QCOMPARE(errorOf([&] { Database::open(p); }), int(ErrCannotOpen));
        QCOMPARE(errorOf([&] { Database::open(p, {.create = true}); }), int(ErrCannotOpen));
    }

    void userVersionSurvivesReopening() {
        {
            auto db = create(QStringLiteral("v.db"));
            QCOMPARE(db->userVersion(), 0);
            db->setUserVersion(7);
        }
        auto db = Database::open(path(QStringLiteral("v.db")));
        QCOMPARE(db->userVersion(), 7);
        QVERIFY(db->tableExists(QStringLiteral("clientes")));
        QVERIFY(!db->tableExists(QStringLiteral("Propiedades")));
    }

    void readOnlyDatabaseRefusesWrites() {
        create(QStringLiteral("ro.db"));
        auto db = Database::open(path(QStringLiteral("ro.db")), {.readOnly = true});
        QCOMPARE(errorOf([&] { db->execute(QStringLiteral("INSERT INTO Clientes (Cod) VALUES ('A')")); }),
                 int(ErrReadOnly));
    }

    void transactionsRollBackOnFailure() {
        auto db = create(QStringLiteral("t.db"));
        const QString insert = QStringLiteral("INSERT INTO Clientes (Cod, Nombre) VALUES (?, ?)");
        QCOMPARE(errorOf([&] {
                     Transaction t(*db);
                     db->execute(insert, {QStringLiteral("C1"), QStringLiteral("Uno")});
                     db->execute(insert, {QStringLiteral("C1"), QStringLiteral("Repetido")});
                     t.commit();
                 }),
                 int(ErrDuplicateKey));
        QVERIFY(!db->inTransaction());
        QCOMPARE(count(*db), 0);

        {
            Transaction t(*db);
            db->execute(insert, {QStringLiteral("C1"), QStringLiteral("Uno")});
            db->execute(insert, {QStringLiteral("C2"), QStringLiteral("Dos")});
            t.commit();
        }
        QCOMPARE(count(*db), 2);
    }

    void executeRunsEveryStatementWithItsParameters() {
        auto db = create(QStringLiteral("e.db"));
        db->execute(
            QStringLiteral("INSERT INTO Clientes (Cod) VALUES (?); INSERT INTO Clientes (Cod, Nombre) "
                           "VALUES (?, ?);"),
            {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("Bea")});
        QCOMPARE(count(*db), 2);
        QCOMPARE(db->scalar(QStringLiteral("SELECT Nombre FROM Clientes WHERE Cod = 'B'")).toString(),
                 QStringLiteral("Bea"));
        // A wrong number of values is refused before anything runs.
        QCOMPARE(errorOf([&] { db->execute(QStringLiteral("DELETE FROM Clientes WHERE Cod = ?"), {}); }),
                 int(ErrSyntax));
        QCOMPARE(errorOf([&] {
                     db->execute(QStringLiteral("DELETE FROM Clientes WHERE Cod = ?"),
                                 {QStringLiteral("A"), QStringLiteral("B")});
                 }),
                 int(ErrSyntax));
        QCOMPARE(count(*db), 2);
        QCOMPARE(db->execute(QStringLiteral("UPDATE Clientes SET Nombre = 'x'")), 2);
    }

    void engineErrorsCarryTheirNumbers() {
        auto db = create(QStringLiteral("err.db"));
        const QString insert = QStringLiteral("INSERT INTO Clientes (Cod, Nombre) VALUES (?, ?)");
        db->execute(insert, {QStringLiteral("C1"), QStringLiteral("Uno")});
        QCOMPARE(errorOf([&] {
                     db->execute(insert, {QStringLiteral("C1"), QStringLiteral("Otro")});
                 }),
                 int(ErrDuplicateKey));
        QCOMPARE(errorOf([&] {
                     db->execute(insert, {QStringLiteral("C2"), QString(51, u'x')});
                 }),
                 int(ErrFieldTooSmall));
        QCOMPARE(errorOf([&] {
                     db->execute(insert, {QVariant(), QStringLiteral("Sin código")});
                 }),
                 int(ErrNullNotAllowed));
        QCOMPARE(errorOf([&] { db->execute(QStringLiteral("SELEC 1")); }), int(ErrSyntax));
        QCOMPARE(errorOf([&] { db->query(QStringLiteral("SELECT * FROM NoExiste")); }), int(ErrSyntax));
        QCOMPARE(count(*db), 1);
    }

    void valuesConvertByDeclaredType() {
        auto db = create(QStringLiteral("conv.db"));
        db->execute(QStringLiteral("INSERT INTO Clientes (Cod, Alta, Activo) VALUES (?, ?, ?)"),
                    {QStringLiteral("C1"), QDate(2024, 2, 29), false});
        QCOMPARE(
            db->scalar(QStringLiteral("SELECT typeof(Alta) || ':' || Alta || ':' || Activo FROM Clientes"))
                .toString(),
            QStringLiteral("text:2024-02-29:0"));
        const QList<Row> rows = db->query(QStringLiteral("SELECT Alta, Activo, Nombre FROM Clientes"));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][0], QVariant(QDate(2024, 2, 29)));
        QCOMPARE(rows[0][1], QVariant(false));
        QVERIFY(isNull(rows[0][2]));
        QVERIFY(isNull(db->scalar(QStringLiteral("SELECT Cod FROM Clientes WHERE Cod = 'nadie'"))));
    }

    void textComparesWithoutCaseAndSortsInSpanish() {
        auto db = create(QStringLiteral("es.db"));
        const QStringList names = {
            QStringLiteral("Zurgena"),  QStringLiteral("Ojén"),        QStringLiteral("Cañete"),
            QStringLiteral("Canillas"), QStringLiteral("Ñora"),        QStringLiteral("Nerja"),
            QStringLiteral("Ávila"),    QStringLiteral("Benalmádena"), QStringLiteral("avila")};
        for (int i = 0; i < names.size(); ++i)
            db->execute(QStringLiteral("INSERT INTO Clientes (Cod, Nombre) VALUES (?, ?)"),
                        {QString::number(i), names[i]});
        auto names_where = [&](const QString& cond, const Params& p) {
            QStringList out;
            for (const Row& r :
                 db->query(QStringLiteral("SELECT Nombre FROM Clientes WHERE %1 ORDER BY Nombre COLLATE es")
                               .arg(cond),
                           p))
                out << r[0].toString();
            return out;
        };
        QCOMPARE(names_where(QStringLiteral("1"), {}),
                 (QStringList{QStringLiteral("avila"), QStringLiteral("Ávila"), QStringLiteral("Benalmádena"),
                              QStringLiteral("Canillas"), QStringLiteral("Cañete"), QStringLiteral("Nerja"),
                              QStringLiteral("Ñora"), QStringLiteral("Ojén"), QStringLiteral("Zurgena")}));
        // LIKE folds case for accented letters too; accents still count.
        QCOMPARE(names_where(QStringLiteral("Nombre LIKE ?"), {QStringLiteral("%ÁVILA%")}),
                 QStringList{QStringLiteral("Ávila")});
        QCOMPARE(names_where(QStringLiteral("Nombre LIKE ?"), {QStringLiteral("%ÑO%")}),
                 QStringList{QStringLiteral("Ñora")});
        QCOMPARE(names_where(QStringLiteral("Nombre = ?"), {QStringLiteral("ÁVILA")}),
                 QStringList{QStringLiteral("Ávila")});
        QCOMPARE(names_where(QStringLiteral("Nombre = ?"), {QStringLiteral("AVILA")}),
                 QStringList{QStringLiteral("avila")});
        QVERIFY(compareSpanish(QStringLiteral("ávila"), QStringLiteral("ÁVILA")) == 0);
        QVERIFY(compareSpanish(QStringLiteral("Nerja"), QStringLiteral("Ñora")) < 0);
        QVERIFY(compareSpanish(QStringLiteral("Ñora"), QStringLiteral("Ojén")) < 0);
        QVERIFY(compareSpanish(QStringLiteral("Nueva"), QStringLiteral("Ñora")) < 0);
        QVERIFY(compareSpanish(QStringLiteral("Canillas"), QStringLiteral("Cañete")) < 0);
        QVERIFY(compareSpanish(QStringLiteral("Avila"), QStringLiteral("Ávila")) != 0);

        // A user's % and _ are literal inside a "contains" pattern.
        db->execute(QStringLiteral("INSERT INTO Clientes (Cod, Nombre) VALUES ('p', '100% vistas_mar')"));
        QCOMPARE(names_where(QStringLiteral("Nombre LIKE ? ESCAPE '\\'"),
                             {containsPattern(QStringLiteral("0% V"))}),
                 QStringList{QStringLiteral("100% vistas_mar")});
        QCOMPARE(names_where(QStringLiteral("Nombre LIKE ? ESCAPE '\\'"),
                             {containsPattern(QStringLiteral("s_m"))}),
                 QStringList{QStringLiteral("100% vistas_mar")});
        QCOMPARE(names_where(QStringLiteral("Nombre LIKE ? ESCAPE '\\'"),
                             {containsPattern(QStringLiteral("0_ v"))}),
                 QStringList{});
    }

    void backupProducesAnOpenableCopy() {
        auto db = create(QStringLiteral("orig.db"));
        db->setUserVersion(10);
        db->execute(QStringLiteral("INSERT INTO Clientes (Cod, Nombre) VALUES ('C1', 'O''Brien')"));
        const QString copy = path(QStringLiteral("copia.db"));
        db->backupTo(copy);
        db->execute(QStringLiteral("DELETE FROM Clientes"));

        auto c = Database::open(copy);
        QCOMPARE(c->userVersion(), 10);
        QCOMPARE(c->scalar(QStringLiteral("SELECT Nombre FROM Clientes WHERE Cod = 'C1'")).toString(),
                 QStringLiteral("O'Brien"));
        QCOMPARE(errorOf([&] { db->backupTo(path(QStringLiteral("no/existe/copia.db"))); }),
                 int(ErrCannotOpen));
    }
};

QTEST_GUILESS_MAIN(tst_Database)
#include "tst_database.moc"
