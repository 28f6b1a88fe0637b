#include "platform/db/Database.h"
#include "shell/Controles.h"
#include "shell/Fechas.h"
#include "shell/Ficheros.h"
#include "shell/Log.h"
#include "shell/Numeros.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace orb;

namespace {

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

class TestServices : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The same value read as a number, as an amount and shown as an amount.
    void numbersAndAmounts_data() {
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<double>("numerico");
        QTest::addColumn<double>("importe");
        QTest::addColumn<QString>("formato");
        auto row = [](const char* name, const QVariant& v, double n, double i, const char* f) {
            QTest::newRow(name) << v << n << i << QString(f);
        };
        // Anything not wholly a number reads as 0.
        row("letters", "abc", 0, 0, "0");
        row("empty", "", 0, 0, "0");
        row("letter O for zero", "2O23", 0, 0, "0");
        row("zero", "0", 0, 0, "0");
        row("null", QVariant(), 0, 0, "0");
        row("two commas", "1,2,3", 0, 0, "0");
        // Decimal comma; in amounts every "." is a decimal point too.
        row("decimal comma", "12,5", 12.5, 12.5, "13");
        row("negative, spaces", " -3,25 ", -3.25, -3.25, "-3");
        row("dot decimal", "3.5", 3.5, 3.5, "4");
        // In plain numbers a "." between groups of three digits groups thousands.
        row("grouped", "1.500", 1500, 1.5, "2");
        row("grouped twice", "1.234.567", 1234567, 0, "0");
        row("grouped with comma", "1.234,5", 1234.5, 0, "0");
        row("badly grouped", "1.23.4", 0, 0, "0");
        // Four decimals, two for amounts, ties to even; whole amounts round half up.
        row("four decimals", "12,34567", 12.3457, 12.35, "12");
        row("tie to even", "0,00015", 0.0002, 0, "0");
        row("2.345", 2.345, 2.345, 2.34, "2");
        row("2.355", 2.355, 2.355, 2.36, "2");
        row("0.4", 0.4, 0.4, 0.4, "0");
        row("1500", 1500, 1500, 1500, "1.500");
        row("1499.5", 1499.5, 1499.5, 1499.5, "1.500");
        row("1234567", 1234567, 1234567, 1234567, "1.234.567");
        row("negative amount", -1234.4, -1234.4, -1234.4, "-1.234");
        row("trillion", 1e12, 1e12, 1e12, "1.000.000.000.000");
    }
    void numbersAndAmounts() {
        QFETCH(QVariant, valor);
        QTEST(ValorNumerico(valor), "numerico");
        QTEST(ValorImporte(valor), "importe");
        QTEST(FormatoImporte(valor), "formato");
        // LeerNumero tells a real 0 from text that is no number at all.
        const std::optional<double> leido = LeerNumero(valor.toString());
        if (valor.typeId() == QMetaType::QString) {
            const bool esNumero = ValorNumerico(valor) != 0 || valor.toString().trimmed() == "0";
            QCOMPARE(leido.has_value(), esNumero);
            if (leido)
                QTEST(*leido, "numerico");
        }
    }

    // A typed date as read, as sent to SQL and as shown again.
    void dates_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QDate>("fecha");
        QTest::addColumn<QString>("sql");
        const QDate d(2009, 3, 5);
        QTest::newRow("dd/mm/yyyy") << "05/03/2009" << d << "2009-03-05";
        QTest::newRow("d/m/yyyy") << "5/3/2009" << d << "2009-03-05";
        QTest::newRow("dashes, spaces") << " 5-3-2009 " << d << "2009-03-05";
        QTest::newRow("two-digit year, 2000s") << "5/3/09" << d << "2009-03-05";
        QTest::newRow("two-digit year, 1900s") << "5/3/75" << QDate(1975, 3, 5) << "1975-03-05";
        // The window's edges: 00-29 are this century, 30-99 the last.
        QTest::newRow("two-digit year 00") << "1/1/00" << QDate(2000, 1, 1) << "2000-01-01";
        QTest::newRow("two-digit year 29") << "31/12/29" << QDate(2029, 12, 31) << "2029-12-31";
        QTest::newRow("two-digit year 30") << "1/1/30" << QDate(1930, 1, 1) << "1930-01-01";
        QTest::newRow("two-digit year 99") << "31/12/99" << QDate(1999, 12, 31) << "1999-12-31";
        QTest::newRow("leap day") << "29/02/2008" << QDate(2008, 2, 29) << "2008-02-29";
        QTest::newRow("no 31 February") << "31/02/2009" << QDate() << "";
        QTest::newRow("month 13") << "01/13/2009" << QDate() << "";
        QTest::newRow("empty") << QString() << QDate() << "";
        // Typed, the day comes first; a stored date in SQL form is still a date.
        QTest::newRow("year first") << "2009/03/05" << QDate() << "2009-03-05";
    }
    void dates() {
        QFETCH(QString, texto);
        QFETCH(QDate, fecha);
        QFETCH(QString, sql);
        QCOMPARE(LeerFecha(texto), fecha);
        QCOMPARE(FechaSQL(texto), sql);
        QCOMPARE(FormatoFecha(sql),
                 sql.isEmpty() ? QString() : QDate::fromString(sql, Qt::ISODate).toString("dd/MM/yyyy"));
    }

    void formatoMascara_data() {
        QTest::addColumn<QString>("mascara");
        QTest::addColumn<qint64>("numero");
        QTest::addColumn<QString>("expected");
        QTest::newRow("pads") << "00000" << qint64(42) << "00042";
        QTest::newRow("single zero") << "0" << qint64(42) << "42";
        QTest::newRow("overflow keeps digits") << "000" << qint64(12345) << "12345";
        QTest::newRow("hash and zero") << "##000" << qint64(7) << "007";
        QTest::newRow("zero with hash") << "#" << qint64(0) << "";
        QTest::newRow("literal prefix") << "V-000" << qint64(7) << "V-007";
        QTest::newRow("negative") << "00000" << qint64(-42) << "-00042";
        QTest::newRow("empty mask") << "" << qint64(42) << "42";
    }
    void formatoMascara() {
        QFETCH(QString, mascara);
        QFETCH(qint64, numero);
        QTEST(FormatoMascara(numero, mascara), "expected");
    }

    void seleccionarTexto() {
        QLineEdit line("Calle Mayor");
        line.setCursorPosition(3);
        SeleccionarTexto(&line);
        QCOMPARE(line.selectedText(), "Calle Mayor");
        QPlainTextEdit plain("línea uno\nlínea dos");
        SeleccionarTexto(&plain);
        QCOMPARE(plain.textCursor().selectedText(), "línea uno\u2029línea dos");
        QCheckBox check("Web");
        check.setChecked(true);
        SeleccionarTexto(&check);
        QVERIFY(check.isChecked());
        SeleccionarTexto(nullptr);
    }

    void existeFicheroYCarpeta() {
        QTemporaryDir tmp;
        const QString d = tmp.path() + u'/';
        touch(d + "foto1.jpg");
        touch(d + ".oculto.png");
        QVERIFY(QDir(d).mkdir("carpeta.gif"));
        for (const char* si : {"foto1.jpg", "foto?.jpg", "*"})
            QVERIFY2(ExisteFichero(d + si), si);
        // Folders and hidden files are not normal files.
        for (const char* no : {"foto2.jpg", "foto??.jpg", "carpeta.gif", "*.gif", "*.png", "no/existe/*.jpg"})
            QVERIFY2(!ExisteFichero(d + no), no);
        QVERIFY(!ExisteFichero(QString()));

        QString ruta = tmp.path();
        QVERIFY(ExisteCarpeta(ruta));
        QVERIFY(ExisteCarpeta(ruta));
        QCOMPARE(ruta, d); // the caller's variable gains the "/", once
        QString missing = d + "Exchange";
        QVERIFY(!ExisteCarpeta(missing));
        QCOMPARE(missing, d + "Exchange/");
        QString file = d + "foto1.jpg";
        QVERIFY(!ExisteCarpeta(file));
        QString empty;
        QVERIFY(!ExisteCarpeta(empty));
        QVERIFY(empty.isEmpty());
    }

    void borrarFicheroYVaciarCarpeta() {
        QTemporaryDir tmp;
        const QString web = tmp.filePath("Web");
        QVERIFY(QDir().mkpath(web + "/thumbs"));
        for (const char* f : {"/A00001_1.jpg", "/A00001_2.jpg", "/indice", "/thumbs/tb_A00001_1.jpg"})
            touch(web + f);
        touch(tmp.filePath("fuera.jpg"));

        BorrarFichero(web + "/indice");
        QVERIFY(!QFile::exists(web + "/indice"));
        BorrarFichero(web + "/indice"); // already gone: nothing happens
        BorrarFichero(web + "/thumbs"); // a folder is not a file
        QVERIFY(QFileInfo(web + "/thumbs").isDir());

        VaciarCarpeta(web + u'/');
        QCOMPARE(QDir(web).entryList(QDir::Files), QStringList());
        QVERIFY(QFile::exists(web + "/thumbs/tb_A00001_1.jpg"));
        VaciarCarpeta(web + "/thumbs"); // the same without the trailing "/"
        QCOMPARE(QDir(web + "/thumbs").entryList(QDir::Files), QStringList());
        VaciarCarpeta(tmp.filePath("NoExiste/"));
        VaciarCarpeta(QString());
        QVERIFY(QFile::exists(tmp.filePath("fuera.jpg")));
    }

    // Once the program's log is started, what the data layer cannot throw (a
    // rollback that fails as a transaction is left) is written there.
    void dataLayerLinesGoToTheLog() {
        QTemporaryDir dir;
        IniciarLog(dir.path());
        {
            auto d = db::Database::open(dir.filePath("x.db"), {.create = true});
            db::Transaction tx(*d);
            d->execute("COMMIT");
        }
        QFile log(dir.filePath("Orbalia.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString texto = QString::fromUtf8(log.readAll());
        QVERIFY2(texto.contains("No se pudo deshacer la transacción en '" + dir.filePath("x.db")),
                 qPrintable(texto));
        IniciarLog({});
    }
};

QTEST_MAIN(TestServices)
#include "tst_services.moc"
