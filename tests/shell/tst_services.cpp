#include "platform/widgets/DialogService.h"
#include "shell/Services.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

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
    void valorNumerico_data();
    void valorNumerico();
    void valorImporte_data();
    void valorImporte();
    void formatoImporte_data();
    void formatoImporte();
    void leerFecha_data();
    void leerFecha();
    void fechaSQLAndFormatoFecha();
    void formatoMascara_data();
    void formatoMascara();
    void seleccionarTexto();
    void existeFichero();
    void existeCarpeta();
    void borrarFichero();
    void vaciarCarpeta();
    void mensajeError();
};

void TestServices::valorNumerico_data() {
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<double>("expected");
    QTest::newRow("decimal comma") << QVariant(QStringLiteral("12,5")) << 12.5;
    QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << 0.0;
    QTest::newRow("empty") << QVariant(QStringLiteral("")) << 0.0;
    QTest::newRow("null") << QVariant() << 0.0;
    QTest::newRow("spaces around") << QVariant(QStringLiteral("  7 ")) << 7.0;
    QTest::newRow("negative") << QVariant(QStringLiteral("-3,25")) << -3.25;
    QTest::newRow("plus sign") << QVariant(QStringLiteral("+4")) << 4.0;
    QTest::newRow("only fraction") << QVariant(QStringLiteral(",5")) << 0.5;
    QTest::newRow("only comma") << QVariant(QStringLiteral(",")) << 0.0;
    QTest::newRow("trailing text") << QVariant(QStringLiteral("12abc")) << 0.0;
    QTest::newRow("two commas") << QVariant(QStringLiteral("1,2,3")) << 0.0;
    QTest::newRow("exponent") << QVariant(QStringLiteral("1e3")) << 0.0;
    // "." between groups of three digits groups thousands: a typed price.
    QTest::newRow("grouped thousands") << QVariant(QStringLiteral("1.500")) << 1500.0;
    QTest::newRow("grouped price") << QVariant(QStringLiteral("250.000")) << 250000.0;
    QTest::newRow("grouped negative") << QVariant(QStringLiteral("-1.500")) << -1500.0;
    QTest::newRow("grouped") << QVariant(QStringLiteral("1.234.567")) << 1234567.0;
    // Any other single "." is a decimal point.
    QTest::newRow("lone dot") << QVariant(QStringLiteral("1.5")) << 1.5;
    QTest::newRow("lone dot, four decimals") << QVariant(QStringLiteral("1.2345")) << 1.2345;
    QTest::newRow("lone dot after zero") << QVariant(QStringLiteral("0.500")) << 0.5;
    QTest::newRow("leading dot") << QVariant(QStringLiteral(".5")) << 0.5;
    QTest::newRow("grouped with comma") << QVariant(QStringLiteral("1.234,5")) << 1234.5;
    QTest::newRow("badly grouped") << QVariant(QStringLiteral("1.23.4")) << 0.0;
    QTest::newRow("grouped with decimals") << QVariant(QStringLiteral("1.234.5")) << 0.0;
    QTest::newRow("badly grouped with comma") << QVariant(QStringLiteral("12.34,5")) << 0.0;
    // Four decimals, ties to even.
    QTest::newRow("rounded to 4") << QVariant(QStringLiteral("12,34567")) << 12.3457;
    QTest::newRow("tie down to even") << QVariant(QStringLiteral("0,00005")) << 0.0;
    QTest::newRow("tie up to even") << QVariant(QStringLiteral("0,00015")) << 0.0002;
    QTest::newRow("int") << QVariant(42) << 42.0;
    QTest::newRow("int64") << QVariant(qint64(1234567890123)) << 1234567890123.0;
    QTest::newRow("double") << QVariant(2.5) << 2.5;
    QTest::newRow("yes") << QVariant(true) << 1.0;
    QTest::newRow("date") << QVariant(QDate(2009, 3, 5)) << 0.0;
}

void TestServices::valorNumerico() {
    QFETCH(QVariant, valor);
    QFETCH(double, expected);
    QCOMPARE(ValorNumerico(valor), expected);
}

void TestServices::valorImporte_data() {
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.345 ties to even") << QVariant(2.345) << 2.34;
    QTest::newRow("2.355 ties to even") << QVariant(2.355) << 2.36;
    QTest::newRow("negative tie") << QVariant(-2.345) << -2.34;
    QTest::newRow("0.125") << QVariant(0.125) << 0.12;
    QTest::newRow("0.135") << QVariant(0.135) << 0.14;
    QTest::newRow("not a tie") << QVariant(2.3451) << 2.35;
    QTest::newRow("text with dot") << QVariant(QStringLiteral("3.5")) << 3.5;
    QTest::newRow("text with comma tie") << QVariant(QStringLiteral("2,345")) << 2.34;
    QTest::newRow("1234.5") << QVariant(QStringLiteral("1234.5")) << 1234.5;
    QTest::newRow("1234,5") << QVariant(QStringLiteral("1234,5")) << 1234.5;
    // Dots are decimal points here, so a grouped text does not read as grouped.
    QTest::newRow("1.234") << QVariant(QStringLiteral("1.234")) << 1.23;
    QTest::newRow("1.500") << QVariant(QStringLiteral("1.500")) << 1.5;
    QTest::newRow("1.234,5") << QVariant(QStringLiteral("1.234,5")) << 0.0;
    QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << 0.0;
    QTest::newRow("null") << QVariant() << 0.0;
    QTest::newRow("int") << QVariant(250000) << 250000.0;
}

void TestServices::valorImporte() {
    QFETCH(QVariant, valor);
    QFETCH(double, expected);
    QCOMPARE(ValorImporte(valor), expected);
}

void TestServices::formatoImporte_data() {
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("expected");
    QTest::newRow("million") << QVariant(1234567) << QStringLiteral("1.234.567");
    QTest::newRow("four digits") << QVariant(1500) << QStringLiteral("1.500");
    QTest::newRow("six digits") << QVariant(250000.0) << QStringLiteral("250.000");
    QTest::newRow("three digits") << QVariant(999) << QStringLiteral("999");
    QTest::newRow("0.4") << QVariant(0.4) << QStringLiteral("0");
    QTest::newRow("zero") << QVariant(0) << QStringLiteral("0");
    QTest::newRow("half rounds up") << QVariant(1499.5) << QStringLiteral("1.500");
    QTest::newRow("text amount") << QVariant(QStringLiteral("1234,5")) << QStringLiteral("1.235");
    QTest::newRow("negative") << QVariant(-1234.4) << QStringLiteral("-1.234");
    QTest::newRow("negative to zero") << QVariant(-0.4) << QStringLiteral("0");
    QTest::newRow("trillion") << QVariant(1e12) << QStringLiteral("1.000.000.000.000");
    QTest::newRow("null") << QVariant() << QStringLiteral("0");
    QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << QStringLiteral("0");
}

void TestServices::formatoImporte() {
    QFETCH(QVariant, valor);
    QFETCH(QString, expected);
    QCOMPARE(FormatoImporte(valor), expected);
}

void TestServices::leerFecha_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("dd/mm/yyyy") << QStringLiteral("05/03/2009") << QDate(2009, 3, 5);
    QTest::newRow("d/m/yyyy") << QStringLiteral("5/3/2009") << QDate(2009, 3, 5);
    QTest::newRow("dashes") << QStringLiteral("5-3-2009") << QDate(2009, 3, 5);
    QTest::newRow("spaces") << QStringLiteral(" 5/3/2009 ") << QDate(2009, 3, 5);
    QTest::newRow("two-digit year, 2000s") << QStringLiteral("5/3/09") << QDate(2009, 3, 5);
    QTest::newRow("two-digit year, 1900s") << QStringLiteral("5/3/75") << QDate(1975, 3, 5);
    QTest::newRow("leap day") << QStringLiteral("29/02/2008") << QDate(2008, 2, 29);
    QTest::newRow("no 31 February") << QStringLiteral("31/02/2009") << QDate();
    QTest::newRow("no 29 February") << QStringLiteral("29/02/2009") << QDate();
    QTest::newRow("month 13") << QStringLiteral("01/13/2009") << QDate();
    QTest::newRow("year first") << QStringLiteral("2009/03/05") << QDate();
    QTest::newRow("two parts") << QStringLiteral("05/03") << QDate();
    QTest::newRow("letters") << QStringLiteral("ab/cd/efgh") << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void TestServices::leerFecha() {
    QFETCH(QString, texto);
    QFETCH(QDate, expected);
    QCOMPARE(LeerFecha(texto), expected);
}

void TestServices::fechaSQLAndFormatoFecha() {
    QCOMPARE(FechaSQL(QDate(2009, 3, 5)), QStringLiteral("2009-03-05"));
    QCOMPARE(FechaSQL(QDateTime(QDate(2009, 12, 31), QTime(23, 59))), QStringLiteral("2009-12-31"));
    QCOMPARE(FechaSQL(QStringLiteral("5/3/2009")), QStringLiteral("2009-03-05"));
    QCOMPARE(FechaSQL(QStringLiteral("31/02/2009")), QString());
    QCOMPARE(FechaSQL(QVariant()), QString());
    QCOMPARE(FechaSQL(QDate()), QString());
    QCOMPARE(FechaSQL(42), QString());

    QCOMPARE(FormatoFecha(QDate(2009, 3, 5)), QStringLiteral("05/03/2009"));
    QCOMPARE(FormatoFecha(QDateTime(QDate(2009, 3, 5), QTime(10, 0))), QStringLiteral("05/03/2009"));
    QCOMPARE(FormatoFecha(QStringLiteral("2009-03-05")), QStringLiteral("05/03/2009"));
    QCOMPARE(FormatoFecha(QVariant()), QString());
    QCOMPARE(FormatoFecha(QDate()), QString());
}

void TestServices::formatoMascara_data() {
    QTest::addColumn<QString>("mascara");
    QTest::addColumn<qint64>("numero");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pads") << QStringLiteral("00000") << qint64(42) << QStringLiteral("00042");
    QTest::newRow("single zero") << QStringLiteral("0") << qint64(42) << QStringLiteral("42");
    QTest::newRow("overflow keeps digits")
        << QStringLiteral("000") << qint64(12345) << QStringLiteral("12345");
    QTest::newRow("exact width") << QStringLiteral("00000") << qint64(12345) << QStringLiteral("12345");
    QTest::newRow("hashes") << QStringLiteral("#####") << qint64(42) << QStringLiteral("42");
    QTest::newRow("hash and zero") << QStringLiteral("##000") << qint64(7) << QStringLiteral("007");
    QTest::newRow("zero with hash") << QStringLiteral("#") << qint64(0) << QString();
    QTest::newRow("zero with zero") << QStringLiteral("0") << qint64(0) << QStringLiteral("0");
    QTest::newRow("literal inside") << QStringLiteral("00-00") << qint64(123) << QStringLiteral("01-23");
    QTest::newRow("literal prefix") << QStringLiteral("V-000") << qint64(7) << QStringLiteral("V-007");
    QTest::newRow("escaped zero") << QStringLiteral("\\0000") << qint64(5) << QStringLiteral("0005");
    QTest::newRow("negative") << QStringLiteral("00000") << qint64(-42) << QStringLiteral("-00042");
    QTest::newRow("empty mask") << QString() << qint64(42) << QStringLiteral("42");
    QTest::newRow("no positions") << QStringLiteral("X") << qint64(42) << QStringLiteral("X42");
}

void TestServices::formatoMascara() {
    QFETCH(QString, mascara);
    QFETCH(qint64, numero);
    QFETCH(QString, expected);
    QCOMPARE(FormatoMascara(numero, mascara), expected);
}

void TestServices::seleccionarTexto() {
    QLineEdit line(QStringLiteral("Calle Mayor"));
    line.setCursorPosition(3);
    SeleccionarTexto(&line);
    QCOMPARE(line.selectedText(), QStringLiteral("Calle Mayor"));

    QPlainTextEdit plain(QStringLiteral("línea uno\nlínea dos"));
    SeleccionarTexto(&plain);
    QCOMPARE(plain.textCursor().selectedText(), QStringLiteral("línea uno\u2029línea dos"));

    QTextEdit rich;
    rich.setPlainText(QStringLiteral("Ático"));
    SeleccionarTexto(&rich);
    QCOMPARE(rich.textCursor().selectedText(), QStringLiteral("Ático"));

    QCheckBox check(QStringLiteral("Web"));
    check.setChecked(true);
    SeleccionarTexto(&check);
    QVERIFY(check.isChecked());
    SeleccionarTexto(nullptr);
}

void TestServices::existeFichero() {
    QTemporaryDir tmp;
    const QString d = tmp.path() + u'/';
    touch(d + QStringLiteral("foto1.jpg"));
    touch(d + QStringLiteral("LEEME"));
    touch(d + QStringLiteral(".oculto.png"));
    QDir(d).mkdir(QStringLiteral("carpeta.gif"));

    QVERIFY(ExisteFichero(d + QStringLiteral("foto1.jpg")));
    QVERIFY(!ExisteFichero(d + QStringLiteral("foto2.jpg")));
    QVERIFY(!ExisteFichero(d + QStringLiteral("carpeta.gif"))); // a folder is not a file
    QVERIFY(!ExisteFichero(QString()));

    QVERIFY(ExisteFichero(d + QStringLiteral("*.jpg")));
    QVERIFY(ExisteFichero(d + QStringLiteral("foto?.jpg")));
    QVERIFY(ExisteFichero(d + QStringLiteral("*")));
    QVERIFY(ExisteFichero(d + QStringLiteral("LEEME.*")));
    QVERIFY(!ExisteFichero(d + QStringLiteral("foto??.jpg")));
    QVERIFY(!ExisteFichero(d + QStringLiteral("*.gif"))); // only the folder matches
    QVERIFY(!ExisteFichero(d + QStringLiteral("*.png"))); // hidden files are not normal files
    QVERIFY(!ExisteFichero(d + QStringLiteral("no/existe/*.jpg")));
}

void TestServices::existeCarpeta() {
    QTemporaryDir tmp;
    QString ruta = tmp.path();
    QVERIFY(ExisteCarpeta(ruta));
    QCOMPARE(ruta, tmp.path() + u'/'); // the caller's variable gains the "/"
    QVERIFY(ExisteCarpeta(ruta));
    QCOMPARE(ruta, tmp.path() + u'/'); // only once

    QString missing = tmp.path() + QStringLiteral("/Exchange");
    QVERIFY(!ExisteCarpeta(missing));
    QCOMPARE(missing, tmp.path() + QStringLiteral("/Exchange/"));

    touch(tmp.path() + QStringLiteral("/fichero"));
    QString file = tmp.path() + QStringLiteral("/fichero");
    QVERIFY(!ExisteCarpeta(file));

    QString empty;
    QVERIFY(!ExisteCarpeta(empty));
}

void TestServices::borrarFichero() {
    QTemporaryDir tmp;
    const QString f = tmp.filePath(QStringLiteral("a.jpg"));
    touch(f);
    BorrarFichero(f);
    QVERIFY(!QFile::exists(f));
    BorrarFichero(f); // already gone: nothing happens
    BorrarFichero(QString());

    const QString sub = tmp.filePath(QStringLiteral("sub"));
    QVERIFY(QDir().mkdir(sub));
    BorrarFichero(sub);
    QVERIFY(QFileInfo(sub).isDir());
}

void TestServices::vaciarCarpeta() {
    QTemporaryDir tmp;
    const QString web = tmp.filePath(QStringLiteral("Web"));
    QVERIFY(QDir().mkpath(web + QStringLiteral("/thumbs")));
    touch(web + QStringLiteral("/A00001_1.jpg"));
    touch(web + QStringLiteral("/A00001_2.jpg"));
    touch(web + QStringLiteral("/indice"));
    touch(web + QStringLiteral("/thumbs/tb_A00001_1.jpg"));
    touch(tmp.filePath(QStringLiteral("fuera.jpg")));

    VaciarCarpeta(web + u'/');
    QCOMPARE(QDir(web).entryList(QDir::Files), QStringList());
    QVERIFY(QFileInfo(web + QStringLiteral("/thumbs")).isDir());
    QVERIFY(QFile::exists(web + QStringLiteral("/thumbs/tb_A00001_1.jpg")));
    QVERIFY(QFile::exists(tmp.filePath(QStringLiteral("fuera.jpg"))));

    // Without the trailing "/" it is the same folder.
    VaciarCarpeta(web + QStringLiteral("/thumbs"));
    QCOMPARE(QDir(web + QStringLiteral("/thumbs")).entryList(QDir::Files), QStringList());

    // Empty or missing folders: nothing to do, nothing else touched.
    VaciarCarpeta(web + u'/');
    VaciarCarpeta(tmp.filePath(QStringLiteral("NoExiste/")));
    VaciarCarpeta(QString());
    QVERIFY(QFile::exists(tmp.filePath(QStringLiteral("fuera.jpg"))));
}

void TestServices::mensajeError() {
    ui::ScriptedDialogService dialogs;
    MensajeError(dialogs, QStringLiteral("No se puede borrar la propiedad"));
    QCOMPARE(dialogs.boxes().size(), 1);
    const auto& box = dialogs.boxes().first();
    QCOMPARE(box.text, QStringLiteral("No se puede borrar la propiedad"));
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(box.buttons, ui::DialogService::Buttons::Ok);
    QCOMPARE(box.icon, ui::DialogService::Icon::Critical);
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
