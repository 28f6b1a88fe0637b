// Identity numbers checked and put in their plain form; phones and e-mails
// in the form they are compared in, the same in the program and in SQL.

#include "TestInstallation.h"
#include "shell/Identidad.h"
#include "shell/Schema.h"
#include "shell/SchemaTablas.h"

#include <QtTest>

using namespace orb;

class TestIdentidad : public QObject {
    Q_OBJECT

private slots:
    void validNumbersOfEachKindAreTakenInTheirPlainForm_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        // DNI: the first and last letters of the modulo-23 table.
        QTest::newRow("DNI resto 0") << "00000000T"
                                     << "00000000T";
        QTest::newRow("DNI resto 22") << "00000022E"
                                      << "00000022E";
        QTest::newRow("DNI con puntos y guion") << "12.345.678-z"
                                                << "12345678Z";
        QTest::newRow("DNI con espacios") << " 12 345 678 Z "
                                          << "12345678Z";
        // NIE: X, Y and Z stand for 0, 1 and 2 before the seven digits.
        QTest::newRow("NIE X") << "x-1234567-l"
                               << "X1234567L";
        QTest::newRow("NIE X resto 0") << "X0000000T"
                                       << "X0000000T";
        QTest::newRow("NIE Y") << "Y0000000Z"
                               << "Y0000000Z";
        QTest::newRow("NIE Z") << "Z 0000000 M"
                               << "Z0000000M";
        // CIF: a company ends in a digit, a public body in a letter, others in either.
        QTest::newRow("CIF A dígito") << "A-58818501"
                                      << "A58818501";
        QTest::newRow("CIF Q letra") << "Q2826000H"
                                     << "Q2826000H";
        QTest::newRow("CIF G dígito") << "G12345674"
                                      << "G12345674";
        QTest::newRow("CIF G letra") << "g/1234567/d"
                                     << "G1234567D";
        QTest::newRow("vacío") << ""
                               << "";
    }
    void validNumbersOfEachKindAreTakenInTheirPlainForm() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const DocumentoLeido d = LeerDocumento(typed, false);
        QVERIFY2(d.problema.isEmpty(), qPrintable(d.problema));
        QCOMPARE(d.valor, stored);
    }

    void aWrongControlCharacterIsRefusedSayingWhatItIsNot_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("what");
        QTest::newRow("DNI letra siguiente") << "00000000R"
                                             << "DNI";
        QTest::newRow("DNI resto 22 con T") << "00000022T"
                                            << "DNI";
        QTest::newRow("NIE X con la letra de Y") << "X0000000Z"
                                                 << "NIE";
        QTest::newRow("NIE Y con la letra de X") << "Y0000000T"
                                                 << "NIE";
        QTest::newRow("NIE Z con la letra de Y") << "Z0000000Z"
                                                 << "NIE";
        QTest::newRow("CIF A con letra") << "A5881850A"
                                         << "CIF";
        QTest::newRow("CIF A dígito malo") << "A58818502"
                                           << "CIF";
        QTest::newRow("CIF Q con dígito") << "Q28260008"
                                          << "CIF";
        QTest::newRow("CIF G dígito malo") << "G12345675"
                                           << "CIF";
        QTest::newRow("siete cifras") << "1234567L"
                                      << "DNI (8 cifras y letra)";
        QTest::newRow("letras") << "ABCDEFGHI"
                                << "DNI (8 cifras y letra)";
    }
    void aWrongControlCharacterIsRefusedSayingWhatItIsNot() {
        QFETCH(QString, typed);
        QFETCH(QString, what);
        const DocumentoLeido d = LeerDocumento(typed, false);
        QVERIFY2(d.problema.contains(what), qPrintable(d.problema));
        // The passport box takes any letters and digits, no check.
        QCOMPARE(LeerDocumento(typed, true).problema, QString());
    }

    void passportTakesLettersAndDigitsOnly() {
        QCOMPARE(LeerDocumento("  ab 123-456 ", true).valor, QString("AB123456"));
        QVERIFY(LeerDocumento("AB#123", true).problema.contains("pasaporte"));
    }

    void phonesAndEmailsCompareWithoutTheirDecoration() {
        for (const char* t :
             {"+34 600 11 22 33", "0034-600.11.22.33", "600112233", "(600) 11 22 33", "600/112233"})
            QCOMPARE(TelefonoComparable(t), QString("600112233"));
        // Another country's prefix is part of the number.
        QCOMPARE(TelefonoComparable("+49 613 481468"), QString("+49613481468"));
        QCOMPARE(TelefonoComparable(" - "), QString());
        QCOMPARE(EmailComparable("  Klaus.Muller@Web.DE "), QString("klaus.muller@web.de"));
    }

    // What the program compares is what the database's indexes hold: each
    // stored form of a phone, e-mail and document is found by its comparable
    // form, through the index, with nothing else found.
    void sqlFormsFindWhatTheProgramComparesThroughTheIndex() {
        TestInstallation inst;
        db::Database& base = inst.context().db();
        base.execute("DELETE FROM Clientes");
        const QStringList telefonos{"+34 600 11 22 33", "0034-600.11.22.33", "600112233", "(600) 11-22-33",
                                    "600 11 22 34"};
        int n = 0;
        for (const QString& t : telefonos) {
            ++n;
            base.execute("INSERT INTO Clientes (Cod, Agencia, QuickID, Alquiler, Movil, Email, Nie) "
                         "VALUES (?, '01', ?, 0, ?, ?, ?)",
                         {QString("01%1").arg(n), n, t, n % 2 ? " Ana@Correo.ES" : "otra@correo.es",
                          n % 2 ? "x-1234567.l" : "Y0000000Z"});
        }
        const auto contar = [&](const QString& expr, const QStringList& valores) {
            QStringList marcas;
            db::Params params;
            for (const QString& v : valores) {
                marcas << "?";
                params << v;
            }
            const QString sql = QString("SELECT count(*) FROM Clientes WHERE Alquiler = FALSE AND %1 IN (%2)")
                                    .arg(expr, marcas.join(','));
            QString plan;
            for (const db::Row& r : base.query("EXPLAIN QUERY PLAN " + sql, params))
                plan += r.value(3).toString();
            // A lookup in the index, never a scan of the table.
            if (!plan.contains("USING INDEX Clientes_"))
                return -1;
            return base.scalar(sql, params).toInt();
        };
        QCOMPARE(contar(SqlTelefono("Movil"), FormasTelefono(TelefonoComparable("600-112-233"))), 4);
        QCOMPARE(contar(SqlEmail("Email"), {EmailComparable("ANA@correo.es")}), 3);
        QCOMPARE(contar(SqlDocumento("Nie"), {DocumentoLimpio("X1234567L")}), 3);
        QCOMPARE(contar(SqlTelefono("Telefono"), FormasTelefono("600112233")), 0);
    }

    // A database of the previous version gains the indexes and keeps its rows.
    void upgradeAddsTheIndexesOverStoredRows() {
        TestInstallation inst;
        db::Database& base = inst.context().db();
        base.execute("DELETE FROM Propietarios");
        base.execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Movil) VALUES "
                     "('0100001', '01', 1, FALSE, '+34 600 11 22 33')");
        const auto indices = schema::detail::indicesDuplicados();
        for (const schema::detail::Index& i : indices)
            base.execute(QString("DROP INDEX \"%1\"").arg(i.name));
        base.setUserVersion(13); // the version before these indexes
        const QStringList pasos = schema::migrate(base);
        QCOMPARE(pasos.size(), schema::CurrentVersion - 13);
        QVERIFY2(pasos.first().contains("índice Propietarios_TelMovil creado"), qPrintable(pasos.first()));
        for (const schema::detail::Index& i : indices)
            QCOMPARE(
                base.scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?", {i.name})
                    .toInt(),
                1);
        QCOMPARE(
            base.scalar(QString("SELECT Cod FROM Propietarios WHERE Alquiler = FALSE AND %1 IN (?, ?, ?)")
                            .arg(SqlTelefono("Movil")),
                        {"600112233", "+34600112233", "0034600112233"})
                .toString(),
            QString("0100001"));
    }
};

QTEST_GUILESS_MAIN(TestIdentidad)
#include "tst_identidad.moc"
