// The agency database read by the sqlite3 command-line tool with the
// liborbalia_sqlite extension: Spanish order and the Unicode LIKE, as the
// program itself sees them.

#include "TestInstallation.h"
#include "platform/db/Database.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

struct Salida {
    int codigo = -1;
    QStringList lineas;
    QString errores;
};

// The extension as the README names it: the path without ".so".
QString extension() {
    QString so = QStringLiteral(ORBALIA_SQLITE_EXTENSION);
    if (so.endsWith(QLatin1String(".so")))
        so.chop(3);
    return so;
}

Salida herramienta(const QString& base, const QString& sql, bool conExtension) {
    QStringList args;
    if (conExtension)
        args << "-cmd"
             << ".load " + extension();
    args << base << sql;
    QProcess p;
    p.start("sqlite3", args);
    Salida s;
    if (!p.waitForFinished(30000))
        return s;
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.lineas = QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    s.errores = QString::fromUtf8(p.readAllStandardError());
    return s;
}

} // namespace

class TestSqliteExtension : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    QString base() const { return inst->file("Orbalia.db"); }

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable("sqlite3").isEmpty()) {
            if (qEnvironmentVariable("CI") == u"true")
                QFAIL("the sqlite3 tool is not installed (scripts/install-deps.sh installs it)");
            QSKIP("the sqlite3 tool is not installed (scripts/install-deps.sh installs it)");
        }
        orb::install::InstallOptions o;
        o.facts = orb::install::demoFacts();
        o.demoProperties = 10;
        o.demoPhotos = false;
        inst = std::make_unique<TestInstallation>(o);
        // Names whose order only a Spanish collation gets right, beside the demo's own.
        db::Database& d = inst->context().db();
        int cod = 900;
        for (const char* nombre : {"Ñora", "Nuévalos", "Olvera", "Álora", "alhaurín el Grande", "Ánzur"})
            d.execute("INSERT INTO Localidades (Cod, Nombre) VALUES (?, ?)",
                      {cod++, QString::fromUtf8(nombre)});
    }

    void withoutTheExtensionTheToolCannotSort() {
        const Salida s = herramienta(base(), "SELECT Nombre FROM Localidades ORDER BY Nombre", false);
        QVERIFY(s.codigo != 0);
        QVERIFY2(s.errores.contains("no such collation sequence: es"), qPrintable(s.errores));
    }

    void orderByFollowsSpanishOrder() {
        const QString sql = "SELECT Nombre FROM Localidades ORDER BY Nombre";
        const Salida s = herramienta(base(), sql, true);
        QVERIFY2(s.codigo == 0, qPrintable(s.errores));

        // Every row, in the order the program's own connection gives.
        QStringList programa;
        for (const db::Row& r : inst->context().db().query(sql))
            programa << r.value(0).toString();
        QCOMPARE(s.lineas, programa);

        // Case and accents do not count, ñ is a letter of its own after n.
        QStringList vistos;
        for (const QString& n : s.lineas)
            if (QStringList{"alhaurín el Grande", "Álora", "Ánzur", "Nerja", "Nuévalos", "Ñora", "Olvera"}
                    .contains(n))
                vistos << n;
        QCOMPARE(vistos, (QStringList{"alhaurín el Grande", "Álora", "Ánzur", "Nerja", "Nuévalos", "Ñora",
                                      "Olvera"}));

        // The demo's areas: Añoreta between An… and Ar…, not after every plain letter.
        const Salida areas = herramienta(base(), "SELECT Nombre FROM Areas ORDER BY Nombre", true);
        QVERIFY2(areas.codigo == 0, qPrintable(areas.errores));
        const qsizetype anoreta = areas.lineas.indexOf("Añoreta");
        QVERIFY(anoreta >= 0);
        QCOMPARE(areas.lineas.value(anoreta + 1), "Arroyo de la Miel");
    }

    // LIKE, and the accent folding the searches use, as the program sees them.
    void likeIgnoresCaseAndAccentsOfEveryLetter_data() {
        QTest::addColumn<QString>("donde");
        QTest::addColumn<QStringList>("nombres");
        QTest::newRow("lower-case ñ") << "Nombre LIKE 'ñora'" << QStringList{"Ñora"};
        QTest::newRow("lower-case accented á") << "Nombre LIKE 'álora'" << QStringList{"Álora"};
        QTest::newRow("upper-case accented Í")
            << "Nombre LIKE 'ALHAURÍN%'" << QStringList{"alhaurín el Grande"};
        QTest::newRow("n is not ñ") << "Nombre LIKE 'nora'" << QStringList{};
        QTest::newRow("sinacentos") << "Cod >= 900 AND sinacentos(Nombre) LIKE 'a%'"
                                    << QStringList{"Álora", "alhaurín el Grande", "Ánzur"};
    }
    void likeIgnoresCaseAndAccentsOfEveryLetter() {
        QFETCH(QString, donde);
        QFETCH(QStringList, nombres);
        const Salida s =
            herramienta(base(), "SELECT Nombre FROM Localidades WHERE " + donde + " ORDER BY Cod", true);
        QVERIFY2(s.codigo == 0, qPrintable(s.errores));
        QCOMPARE(s.lineas, nombres);
    }
};

QTEST_GUILESS_MAIN(TestSqliteExtension)
#include "tst_sqliteextension.moc"
