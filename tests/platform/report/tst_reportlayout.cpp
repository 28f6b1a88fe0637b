// Layout files: what a broken or missing file tells the user, and what a
// valid one holds.

#include "platform/report/Layout.h"
#include "platform/report/Report.h"
#include "platform/report/ReportError.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace report;

class TestReportLayout : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return f.fileName();
    }

    static QString errorOf(const std::function<void()>& work) {
        try {
            work();
        } catch (const ReportError& e) {
            return e.message();
        }
        return {};
    }

private Q_SLOTS:
    void brokenFilesAreNamedWithTheirCause_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("cause");
        QTest::newRow("not xml") << QByteArray("esto no es un informe") << "línea 1";
        QTest::newRow("cut short") << QByteArray("<report><detail height=\"5\">\n<label x=\"0\"")
                                   << "línea 2";
        QTest::newRow("other root") << QByteArray("<informe/>") << "<informe>";
        QTest::newRow("unknown band") << QByteArray("<report><cuerpo/></report>") << "<cuerpo>";
        QTest::newRow("unknown element")
            << QByteArray("<report><detail height=\"5\">\n\n<texto x=\"0\"/></detail></report>")
            << "línea 3: elemento desconocido <texto>";
        QTest::newRow("missing position")
            << QByteArray("<report><detail><label y=\"0\" width=\"5\" height=\"5\"/></detail></report>")
            << "falta el atributo x";
        QTest::newRow("bad number") << QByteArray("<report><detail height=\"cinco\"/></report>")
                                    << "height=\"cinco\"";
        QTest::newRow("field without column")
            << QByteArray(
                   "<report><detail><field x=\"0\" y=\"0\" width=\"5\" height=\"5\"/></detail></report>")
            << "column";
        QTest::newRow("margins eat the page") << QByteArray("<report margins=\"120\"/>") << "márgenes";
        QTest::newRow("unknown paper") << QByteArray("<report page=\"B7\"/>") << "\"B7\"";
        QTest::newRow("twice the same band")
            << QByteArray("<report><detail/><detail/></report>") << "dos veces";
        QTest::newRow("caption of nothing")
            << QByteArray("<report><detail height=\"9\">\n<label x=\"0\" y=\"0\" width=\"5\" height=\"5\" "
                          "showWith=\"lblNada\">Nada</label>\n</detail></report>")
            << "línea 2: showWith=\"lblNada\" no nombra ningún elemento de la sección";
        QTest::newRow("captions of each other")
            << QByteArray("<report><detail height=\"9\"><label name=\"a\" x=\"0\" y=\"0\" width=\"5\" "
                          "height=\"5\" showWith=\"b\"/><label name=\"b\" x=\"0\" y=\"5\" width=\"5\" "
                          "height=\"5\" showWith=\"a\"/></detail></report>")
            << "círculo";
        QTest::newRow("minimum above the size")
            << QByteArray("<report size=\"9\"><detail height=\"9\"><label x=\"0\" y=\"0\" width=\"5\" "
                          "height=\"5\" minSize=\"12\"/></detail></report>")
            << "minSize=\"12\"";
        QTest::newRow("picture that hides when empty")
            << QByteArray("<report><detail height=\"9\"><image x=\"0\" y=\"0\" width=\"5\" height=\"5\" "
                          "hideWhenEmpty=\"true\"/></detail></report>")
            << "<image> no es un texto";
    }
    void brokenFilesAreNamedWithTheirCause() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, cause);
        const QString path = write("Roto.rpx", xml);
        const QString message = errorOf([&] { loadLayout(path); });
        QVERIFY2(message.startsWith(QStringLiteral("No se puede abrir el informe \"%1\": ").arg(path)),
                 qPrintable(message));
        QVERIFY2(message.contains(cause), qPrintable(message));
    }

    void missingFileAndUnknownFormatAreNamed() {
        const QString missing = dir.filePath("Dossier7.rpx");
        QCOMPARE(errorOf([&] { Report::load(missing); }),
                 QStringLiteral("No se puede abrir el informe \"%1\": el archivo no existe.").arg(missing));

        // A format only the program can supply is checked before any page is made.
        const QString path =
            write("Formato.rpx",
                  "<report><detail height=\"6\"><field name=\"txtPrecio\" column=\"Precio\" "
                  "format=\"importe\" x=\"0\" y=\"0\" width=\"30\" height=\"6\"/></detail></report>");
        Report r = Report::load(path);
        const QString message = errorOf([&] { r.generate(nullptr); });
        QVERIFY2(message.contains(path) && message.contains("\"txtPrecio\"") &&
                     message.contains("\"importe\""),
                 qPrintable(message));
        r.setFormatter("importe", [](const QVariant&) { return "0 €"; });
        QCOMPARE(r.generate(nullptr).pageText(0), "0 €");
    }

    void validLayoutKeepsPageAndElements() {
        const Layout l = loadLayout(QStringLiteral(ORBALIA_SOURCE_DIR "/tests/platform/report/listado.xml"));
        QCOMPARE(l.pageSize.id(), QPageSize::A4);
        QCOMPARE(l.bodySizeMm(), QSizeF(180, 267));
        QVERIFY(l.band(BandKind::PageHeader).present);
        QVERIFY(!l.band(BandKind::ReportHeader).present);
        QCOMPARE(l.band(BandKind::Detail).height, 6.0);
        const Element* precio = l.find("TXTPRECIO");
        QVERIFY(precio);
        QCOMPARE(precio->column, "Precio");
        QCOMPARE(precio->style.hAlign, Qt::AlignRight);
        QCOMPARE(precio->style.sizePt, 9.0); // inherited from the report
        QCOMPARE(l.find("lblTitulo")->text, "Listado de Prueba");
        QCOMPARE(l.find("lblTitulo")->style.sizePt, 16.0);

        const Layout wide =
            parseLayout("<report page=\"A4\" orientation=\"landscape\" margins=\"10,20,10,20\"/>", "memoria");
        QCOMPARE(wide.pageSizeMm().toSize(), QSize(297, 210));
        QCOMPARE(wide.bodySizeMm().toSize(), QSize(277, 170));
    }
};

QTEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
