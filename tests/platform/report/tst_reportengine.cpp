// Generated pages: pagination of a listing read from a real SQLite file,
// bound and formatted fields, growing text, pictures, and the real PDF file
// read back with pdftotext.

#include "PdfTexto.h"
#include "platform/db/Database.h"
#include "platform/report/Report.h"
#include "platform/report/ReportError.h"

#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace report;

namespace {

const QString listadoXml = QStringLiteral(ORBALIA_SOURCE_DIR "/tests/platform/report/listado.xml");

QString euros(const QVariant& v) {
    return QLocale(QLocale::Spanish, QLocale::Spain).toString(qRound64(v.toDouble())) + QStringLiteral(" €");
}

// Text commands of a page whose text is exactly this.
QList<DrawCommand> textsOf(const Document& d, int page, const QString& text) {
    QList<DrawCommand> out;
    for (const DrawCommand& c : d.pages[page].commands)
        if (c.kind == DrawCommand::Kind::Text && c.text == text)
            out << c;
    return out;
}

int inkPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                ++n;
    return n;
}

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<db::Database> database;

    Report listado() {
        Report r = Report::load(listadoXml);
        r.setFormatter(QStringLiteral("importe"), euros);
        r.setParameter(QStringLiteral("Pie"), QStringLiteral("Agencia de prueba"));
        return r;
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(dir.isValid());
        db::OpenOptions o;
        o.create = true;
        o.durable = false;
        database = db::Database::open(dir.filePath(QStringLiteral("datos.db")), o);
        database->execute(QStringLiteral("CREATE TABLE Fichas (Cod VARCHAR(10), Nombre VARCHAR(50), "
                                         "Precio CURRENCY, FechaAlta DATE, Alquiler BOOLEAN)"));
        db::Transaction t(*database);
        for (int i = 1; i <= 130; ++i)
            database->execute(QStringLiteral("INSERT INTO Fichas VALUES (?, ?, ?, ?, ?)"),
                              {QStringLiteral("A%1").arg(i, 4, 10, QLatin1Char('0')),
                               QStringLiteral("Cliente número %1").arg(i), 1000.0 * i,
                               QStringLiteral("2024-03-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                               i > 100});
        t.commit();
    }

    void listingPaginatesWithHeaderFooterAndEveryRowOnce() {
        Report r = listado();
        QueryDataSource rows(*database,
                             QStringLiteral("SELECT * FROM Fichas WHERE Alquiler = ? ORDER BY Cod"), {false});
        QList<int> progress;
        GenerateOptions options;
        options.progressInterval = 40;
        options.progress = [&](int n, int) {
            progress << n;
            return true;
        };
        const Document d = r.generate(&rows, options);

        // 267 mm of body less 25 header and 10 footer leave room for 38 rows of 6 mm.
        QCOMPARE(d.pageCount(), 3);
        QCOMPARE(progress, (QList<int>{40, 80}));
        QStringList seen;
        QList<int> perPage;
        for (int p = 0; p < d.pageCount(); ++p) {
            const QString text = d.pageText(p);
            QVERIFY2(text.startsWith(QStringLiteral("Listado de Prueba\nCódigo\nNombre\nPrecio\nAlta\n")),
                     qPrintable(text));
            QVERIFY(text.contains(QStringLiteral("Agencia de prueba")));
            QVERIFY(text.endsWith(QStringLiteral("Página %1 de 3").arg(p + 1)));
            static const QRegularExpression cod(QStringLiteral("^A\\d{4}$"),
                                                QRegularExpression::MultilineOption);
            int n = 0;
            for (auto it = cod.globalMatch(text); it.hasNext(); ++n)
                seen << it.next().captured();
            perPage << n;
        }
        QCOMPARE(perPage, (QList<int>{38, 38, 24}));
        QCOMPARE(seen.size(), 100);
        QCOMPARE(seen.first(), QStringLiteral("A0001"));
        QCOMPARE(seen.last(), QStringLiteral("A0100"));
        QCOMPARE(seen.removeDuplicates(), 0);
        QVERIFY(d.pageText(2).contains(QStringLiteral("Fin del listado")));
        QVERIFY(!d.pageText(1).contains(QStringLiteral("Fin del listado")));

        // The real file: text stays text, page numbers included.
        const QString pdf = dir.filePath(QStringLiteral("listado.pdf"));
        d.writePdf(pdf);
        const QString page2 = pdfText(pdf, 2);
        QVERIFY2(page2.contains(QStringLiteral("Página 2 de 3")), qPrintable(page2));
        QVERIFY(page2.contains(QStringLiteral("Listado de Prueba")));
        QVERIFY(page2.contains(QStringLiteral("Cliente número 39")));
        QVERIFY(page2.contains(QStringLiteral("39.000 €")));
        QVERIFY(!page2.contains(QStringLiteral("Cliente número 77")));
        QVERIFY(pdfText(pdf, 3).contains(QStringLiteral("Página 3 de 3")));
        // The footer sits in its band at the foot of every page (297 mm less
        // the 15 mm margin and its 10 mm; its texts 3 to 9 mm into it), the
        // short last page's too, not where that page's rows end.
        constexpr double mmPorPunto = 25.4 / 72;
        for (int p = 1; p <= 3; ++p)
            for (const QString& palabra : {QStringLiteral("Página"), QStringLiteral("Agencia")}) {
                QList<QRectF> cajas;
                for (const PalabraPdf& w : pdfWords(pdf, p))
                    if (w.texto == palabra)
                        cajas << QRectF(w.caja.topLeft() * mmPorPunto, w.caja.bottomRight() * mmPorPunto);
                QVERIFY2(cajas.size() == 1,
                         qPrintable(QStringLiteral("%1 en la página %2").arg(palabra).arg(p)));
                QVERIFY2(cajas[0].top() >= 272 + 3 - 0.5 && cajas[0].bottom() <= 272 + 9 + 0.5,
                         qPrintable(QStringLiteral("%1, página %2: de %3 a %4 mm")
                                        .arg(palabra)
                                        .arg(p)
                                        .arg(cajas[0].top())
                                        .arg(cajas[0].bottom())));
            }

        // A progress callback that says stop ends the generation.
        QueryDataSource todas(*database, QStringLiteral("SELECT * FROM Fichas"));
        options.progressInterval = 10;
        options.progress = [](int n, int) { return n < 50; };
        QVERIFY_THROWS_EXCEPTION(ReportCancelled, r.generate(&todas, options));
    }

    void fieldsAreBoundFormattedAndSetByHooks() {
        Report r = listado();
        r.setBandHook(BandKind::Detail, [](BandContext& ctx) {
            if (ctx.value(QStringLiteral("cod")).toString() == QLatin1String("A0102"))
                ctx.setText(QStringLiteral("txtNombre"), QStringLiteral("Nombre cambiado"));
        });
        r.setBandHook(BandKind::PageHeader, [](BandContext& ctx) {
            ctx.setText(QStringLiteral("lblTitulo"), QStringLiteral("Alquileres"));
        });
        QueryDataSource rows(
            *database,
            QStringLiteral("SELECT Cod, Nombre, Precio, FechaAlta FROM Fichas WHERE Alquiler = ? "
                           "AND Cod <= ? ORDER BY Cod"),
            {true, QStringLiteral("A0103")});
        const Document d = r.generate(&rows);
        QCOMPARE(d.pageCount(), 1);
        const QString text = d.pageText(0);
        QVERIFY2(text.startsWith(QStringLiteral("Alquileres\n")), qPrintable(text));
        // Amount through the caller's formatter, date in dd/mm/yyyy, a hook's text for one row only.
        QVERIFY2(text.contains(QStringLiteral("A0101\nCliente número 101\n101.000 €\n18/03/2024\n")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("A0102\nNombre cambiado\n102.000 €\n19/03/2024\n")));
        QVERIFY(text.contains(QStringLiteral("A0103\nCliente número 103\n")));
        // The amount is right-aligned: its text ends at the column's right edge (109 + 35 mm, inside 15 mm
        // margin).
        const DrawCommand amount = textsOf(d, 0, QStringLiteral("101.000 €")).value(0);
        const double right =
            amount.pos.x() + QFontMetricsF(d.fonts[amount.font]).horizontalAdvance(amount.text);
        QVERIFY2(qAbs(right - (15 + 109 + 35) * UnitsPerMm) < 1, qPrintable(QString::number(right)));

        // No row: the detail prints once, empty, so the layout still shows.
        RowsDataSource none({QStringLiteral("Cod")}, {});
        const Document empty = r.generate(&none);
        QCOMPARE(empty.pageCount(), 1);
        QVERIFY(empty.pageText(0).contains(QStringLiteral("0 €")));
    }

    void canGrowTextWrapsAndPushesWhatFollows() {
        const QByteArray xml = R"(<report margins="10" size="10">
            <detail height="12">
              <field name="txtNota" column="Nota" x="0" y="0" width="60" height="5" canGrow="true"/>
              <field name="txtCorta" column="Nota" x="100" y="0" width="60" height="5"/>
              <field name="txtDebajo" column="Cod" x="0" y="6" width="40" height="5"/>
            </detail></report>)";
        Report r(parseLayout(xml, QStringLiteral("crece")));
        const QString nota =
            QStringLiteral("Casa con vistas al mar, reformada en 2020, con jardín privado, "
                           "piscina comunitaria y plaza de garaje en el sótano del edificio.");
        RowsDataSource rows({QStringLiteral("Cod"), QStringLiteral("Nota")},
                            {{QStringLiteral("P1"), nota}, {QStringLiteral("P2"), QStringLiteral("Corta")}});
        const Document d = r.generate(&rows);
        const QString text = d.pageText(0);

        const QList<DrawCommand> lines = [&] {
            QList<DrawCommand> out;
            for (const DrawCommand& c : d.pages[0].commands)
                if (c.kind == DrawCommand::Kind::Text && c.pos.x() < 50 * UnitsPerMm && c.text != "P1" &&
                    c.text != "P2" && c.text != "Corta")
                    out << c;
            return out;
        }();
        QVERIFY2(lines.size() >= 3, qPrintable(text));
        // Every word is printed, in order, each line within the box.
        QStringList words;
        for (const DrawCommand& c : lines) {
            words << c.text.split(' ');
            QVERIFY(QFontMetricsF(d.fonts[c.font]).horizontalAdvance(c.text) <= 60 * UnitsPerMm + 0.5);
        }
        QCOMPARE(words.join(' '), nota);
        // The fixed box shows one line and says it was cut.
        const DrawCommand cut = [&] {
            for (const DrawCommand& c : d.pages[0].commands)
                if (c.pos.x() >= 110 * UnitsPerMm && c.text.endsWith(QChar(0x2026)))
                    return c;
            return DrawCommand();
        }();
        QVERIFY2(!cut.text.isEmpty(), qPrintable(text));

        // The field below moved down by the growth, and the next row starts after the grown band.
        const double lineH = QFontMetricsF(d.fonts[lines[0].font]).lineSpacing();
        const DrawCommand debajo = textsOf(d, 0, QStringLiteral("P1")).value(0);
        const double growth = lines.size() * lineH - 5 * UnitsPerMm;
        QVERIFY2(qAbs(debajo.pos.y() - lines[0].pos.y() - (6 * UnitsPerMm + growth)) < 1,
                 qPrintable(QString::number(debajo.pos.y())));
        const DrawCommand segunda = textsOf(d, 0, QStringLiteral("Corta")).value(0);
        QVERIFY2(qAbs(segunda.pos.y() - lines[0].pos.y() - (12 * UnitsPerMm + growth)) < 1,
                 qPrintable(QString::number(segunda.pos.y())));
    }

    void emptyTextsAndTheirCaptionsGiveBackTheirPlace() {
        // Two captioned texts stacked, a note beside the first, a closing line.
        const QByteArray xml = R"(<report width="200" height="200" margins="10" size="10">
            <detail height="40">
              <label x="0" y="0" width="80" height="5" showWith="txtUno">Primero</label>
              <field name="txtUno" column="Uno" x="0" y="6" width="80" height="5" hideWhenEmpty="true"/>
              <field name="txtNota" column="Nota" x="100" y="6" width="60" height="5" hideWhenEmpty="true"/>
              <label x="0" y="14" width="80" height="5" showWith="txtDos">Segundo</label>
              <field name="txtDos" column="Dos" x="0" y="20" width="80" height="5" canGrow="true"
                     hideWhenEmpty="true"/>
              <field column="Cod" x="0" y="30" width="80" height="5"/>
            </detail>
            <pageFooter height="10">
              <label x="0" y="0" width="80" height="5" showWith="lblPie">Pie:</label>
              <label name="lblPie" x="0" y="5" width="80" height="5" hideWhenEmpty="true"/>
            </pageFooter></report>)";
        Report r(parseLayout(xml, QStringLiteral("secciones")));
        r.setBandHook(BandKind::Detail, [](BandContext& ctx) {
            if (ctx.value(QStringLiteral("Cod")).toString() == QLatin1String("P4"))
                ctx.setVisible(QStringLiteral("txtUno"), false);
        });
        const QStringList columns{QStringLiteral("Cod"), QStringLiteral("Uno"), QStringLiteral("Nota"),
                                  QStringLiteral("Dos")};
        auto y = [](const Document& d, const QString& text) {
            const QList<DrawCommand> found = textsOf(d, 0, text);
            return found.isEmpty() ? -1.0 : found.first().pos.y() / UnitsPerMm;
        };
        const double ascent = [&] {
            RowsDataSource one(columns, {{"P0", "uno", "", "dos"}});
            const Document d = r.generate(&one);
            return y(d, QStringLiteral("Primero")) - 10; // the band starts at the top margin
        }();

        // Everything printed but the note: the layout as drawn, the space
        // under the first text is still its own.
        RowsDataSource full(columns,
                            {{"P1", "uno", "", "dos"}, {"P2", "", "", ""}, {"P7", "uno", "", "dos"}});
        Document d = r.generate(&full);
        QCOMPARE(d.pageText(0),
                 QStringLiteral("Primero\nuno\nSegundo\ndos\nP1\nP2\nPrimero\nuno\nSegundo\ndos\nP7"));
        QCOMPARE(qRound(y(d, "Segundo") - ascent), 24);
        QCOMPARE(qRound(y(d, "P1") - ascent), 40);
        // A row with both texts empty keeps only what has something to say,
        // and its band is shorter by their strips: the next row follows at once.
        QCOMPARE(qRound(y(d, "P2") - ascent), 50);
        QCOMPARE(qRound(y(d, "P7") - ascent), 60 + 30);
        // No footer text, no caption; the footer keeps its place.
        QVERIFY(!d.pageText(0).contains(QStringLiteral("Pie:")));

        // The first text empty: its caption goes and the second section takes its place.
        RowsDataSource first(columns, {{"P3", "", "", "dos"}});
        d = r.generate(&first);
        QCOMPARE(d.pageText(0), QStringLiteral("Segundo\ndos\nP3"));
        QCOMPARE(qRound(y(d, "Segundo") - ascent), 10);
        QCOMPARE(qRound(y(d, "dos") - ascent), 16);
        QCOMPARE(qRound(y(d, "P3") - ascent), 26);

        // A note beside the empty text holds its strip: nothing below moves up
        // by more than the caption's strip above it.
        RowsDataSource beside(columns, {{"P5", "", "nota", "dos"}});
        d = r.generate(&beside);
        QCOMPARE(d.pageText(0), QStringLiteral("nota\nSegundo\ndos\nP5"));
        QCOMPARE(qRound(y(d, "nota") - ascent), 10);
        QCOMPARE(qRound(y(d, "Segundo") - ascent), 18);

        // Hidden by the program: its caption goes with it, its place stays.
        RowsDataSource hidden(columns, {{"P4", "uno", "", "dos"}});
        d = r.generate(&hidden);
        QCOMPARE(d.pageText(0), QStringLiteral("Segundo\ndos\nP4"));
        QCOMPARE(qRound(y(d, "Segundo") - ascent), 18);

        // A growing text pushes what follows down; an empty one above it still gives back its place.
        const QString largo = QStringLiteral("palabra ").repeated(40).trimmed();
        RowsDataSource grows(columns, {{"P6", "", "", largo}});
        d = r.generate(&grows);
        const double lineMm =
            QFontMetricsF(d.fonts[textsOf(d, 0, "P6").first().font]).lineSpacing() / UnitsPerMm;
        int lines = 0;
        for (const DrawCommand& c : d.pages[0].commands)
            lines += c.kind == DrawCommand::Kind::Text && c.text.startsWith(QStringLiteral("palabra"));
        QVERIFY(lines >= 3);
        QVERIFY2(qAbs(y(d, "P6") - ascent - (26 + lines * lineMm - 5)) < 0.5,
                 qPrintable(QString::number(y(d, "P6") - ascent)));

        // The footer's caption shows when its text does.
        r.setBandHook(BandKind::PageFooter, [](BandContext& ctx) {
            ctx.setText(QStringLiteral("lblPie"), QStringLiteral("Agencia"));
        });
        d = r.generate(&first);
        QVERIFY(d.pageText(0).endsWith(QStringLiteral("Pie:\nAgencia")));
    }

    void textShrinksToFitItsBoxDownToItsMinimum() {
        const QByteArray xml = R"(<report margins="10" size="20">
            <detail height="30">
              <label name="lblTitulo" x="0" y="0" width="100" height="10" bold="true" minSize="9"/>
              <label name="lblFijo" x="0" y="12" width="100" height="10" bold="true"/>
              <label name="lblSinSitio" x="0" y="24" width="30" height="5" minSize="15" wrap="false"/>
            </detail></report>)";
        Report r(parseLayout(xml, QStringLiteral("titulo")));
        QString titulo;
        r.setBandHook(BandKind::Detail, [&](BandContext& ctx) {
            ctx.setText(QStringLiteral("lblTitulo"), titulo);
            ctx.setText(QStringLiteral("lblFijo"), titulo);
            ctx.setText(QStringLiteral("lblSinSitio"), titulo);
        });
        auto sizeOf = [](const Document& d, const QString& word) {
            for (const DrawCommand& c : d.pages[0].commands)
                if (c.kind == DrawCommand::Kind::Text && c.text.contains(word))
                    return d.fonts[c.font].pixelSize() * 72.0 / UnitsPerInch;
            return 0.0;
        };
        auto commandsOf = [](const Document& d, double fromMm, double toMm) {
            QList<DrawCommand> out;
            for (const DrawCommand& c : d.pages[0].commands)
                if (c.kind == DrawCommand::Kind::Text && c.pos.y() >= (10 + fromMm) * UnitsPerMm &&
                    c.pos.y() < (10 + toMm) * UnitsPerMm)
                    out << c;
            return out;
        };
        auto linesOf = [&](const Document& d, double fromMm, double toMm) {
            QStringList out;
            for (const DrawCommand& c : commandsOf(d, fromMm, toMm))
                out << c.text;
            return out;
        };

        // A short title keeps its size.
        titulo = QStringLiteral("Piso");
        Document d = r.generate(nullptr);
        QCOMPARE(qRound(sizeOf(d, "Piso")), 20);

        // A long one is printed smaller and whole; the box without a minimum cuts it.
        titulo = QStringLiteral("Local comercial en La Cala de Mijas con escaparate a dos calles y almacén");
        d = r.generate(nullptr);
        const QStringList whole = linesOf(d, 0, 10);
        QCOMPARE(whole.join(' '), titulo);
        const double size = sizeOf(d, "Local");
        QVERIFY2(size < 20 && size >= 9, qPrintable(QString::number(size)));
        // As large as fits: half a point more would not.
        for (const DrawCommand& c : d.pages[0].commands)
            if (c.kind == DrawCommand::Kind::Text && whole.contains(c.text))
                QVERIFY(QFontMetricsF(d.fonts[c.font]).horizontalAdvance(c.text) <= 100 * UnitsPerMm + 0.5);
        QFont larger = d.fonts[textsOf(d, 0, whole.first()).first().font];
        larger.setPixelSize(qRound((size + 0.5) * UnitsPerInch / 72));
        QVERIFY(QFontMetricsF(larger).lineSpacing() * whole.size() > 10 * UnitsPerMm ||
                QFontMetricsF(larger).horizontalAdvance(titulo) > 100 * UnitsPerMm);
        const QStringList cut = linesOf(d, 12, 22);
        QVERIFY2(cut.last().endsWith(QChar(0x2026)), qPrintable(cut.join('|')));
        // At its minimum and still too long: cut as any other text.
        const QList<DrawCommand> least = commandsOf(d, 24, 30);
        QCOMPARE(least.size(), 1);
        QVERIFY(least.first().text.endsWith(QChar(0x2026)));
        QCOMPARE(d.fonts[least.first().font].pixelSize(), qRound(15 * UnitsPerInch / 72));
    }

    void bandThatDoesNotFitMovesToTheNextPage() {
        // 100 mm of body: two 40 mm bands fit, the third goes to page 2 whole.
        const QByteArray xml = R"(<report width="100" height="120" margins="10">
            <pageHeader height="8"><label x="0" y="0" width="80" height="6">Cabecera</label></pageHeader>
            <detail height="40"><field column="Cod" x="0" y="0" width="80" height="6"/>
              <field column="Cod" x="0" y="34" width="80" height="6"/></detail></report>)";
        Report r(parseLayout(xml, QStringLiteral("salto")));
        RowsDataSource rows({QStringLiteral("Cod")}, {{"uno"}, {"dos"}, {"tres"}});
        const Document d = r.generate(&rows);
        QCOMPARE(d.pageCount(), 2);
        QCOMPARE(d.pageText(0), QStringLiteral("Cabecera\nuno\nuno\ndos\ndos"));
        QCOMPARE(d.pageText(1), QStringLiteral("Cabecera\ntres\ntres"));
        QCOMPARE(textsOf(d, 1, "tres").value(0).pos.y(), textsOf(d, 0, "uno").value(0).pos.y());
    }

    void photographsAreEmbeddedAtPrintResolution() {
        // Three camera-sized photographs on one page.
        QStringList photos;
        for (int i = 0; i < 3; ++i) {
            QImage photo(4000, 3000, QImage::Format_RGB32);
            QPainter p(&photo);
            QLinearGradient g(0, 0, 4000, 3000);
            g.setColorAt(0, QColor::fromHsv(i * 100, 160, 230));
            g.setColorAt(1, QColor::fromHsv(i * 100 + 40, 200, 90));
            p.fillRect(photo.rect(), g);
            auto* rnd = QRandomGenerator::global();
            for (int k = 0; k < 400; ++k)
                p.fillRect(rnd->bounded(4000), rnd->bounded(3000), rnd->bounded(20, 300),
                           rnd->bounded(20, 300), QColor::fromRgb(rnd->generate()));
            p.end();
            photos << QStringLiteral("foto%1.jpg").arg(i + 1);
            QVERIFY(photo.save(dir.filePath(photos.last()), "JPEG", 92));
        }
        QVERIFY(QFileInfo(dir.filePath(photos[0])).size() > 500 * 1024);
        const QByteArray xml = R"(<report margins="15">
            <detail height="250">
              <image name="imgFoto1" column="Foto1" x="0" y="0" width="120" height="90"/>
              <image name="imgFoto2" column="Foto2" x="0" y="95" width="85" height="64"/>
              <image name="imgFoto3" x="90" y="95" width="85" height="64" penWidth="0.3"/>
              <image name="imgLogo" param="Logo" x="130" y="0" width="50" height="30"/>
              <label x="0" y="170" width="100" height="8">Fotografías</label>
            </detail></report>)";
        Report r(parseLayout(xml, QStringLiteral("fotos")));
        r.setImageFolder(dir.path());
        r.setBandHook(BandKind::Detail, [&](BandContext& ctx) {
            ctx.setImage(QStringLiteral("imgFoto3"), dir.filePath(photos[2])); // absolute path from a hook
        });
        QImage logo(1600, 800, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        r.setParameter(QStringLiteral("Logo"), logo);
        RowsDataSource row({QStringLiteral("Foto1"), QStringLiteral("Foto2")}, {{photos[0], photos[1]}});
        const Document d = r.generate(&row);

        int images = 0;
        for (const DrawCommand& c : d.pages[0].commands) {
            if (c.kind != DrawCommand::Kind::Image)
                continue;
            ++images;
            // No more pixels than 200 dpi over the box it fills (120 mm → 945 px).
            const double maxWidth = c.rect.width() / UnitsPerInch * 200 + 1;
            QVERIFY2(c.image.width() <= maxWidth, qPrintable(QString::number(c.image.width())));
            QVERIFY(c.image.width() > maxWidth * 0.8);
        }
        QCOMPARE(images, 4);

        const QString pdf = dir.filePath(QStringLiteral("fotos.pdf"));
        d.writePdf(pdf);
        const qint64 size = QFileInfo(pdf).size();
        QVERIFY2(size <= 1536 * 1024, qPrintable(QString::number(size)));
        QVERIFY(pdfText(pdf).contains(QStringLiteral("Fotografías")));
        QProcess list;
        list.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
        QVERIFY(list.waitForFinished(30000));
        const QString listing = QString::fromUtf8(list.readAllStandardOutput());
        QCOMPARE(listing.count(QStringLiteral(" image ")), 4);

        // The page as an image: photographs and text are painted, margins stay white.
        const QImage page = d.renderPage(0, 72);
        QCOMPARE(page.size(), QSize(595, 842));
        const QRect foto1(qRound(15 / 25.4 * 72) + 5, qRound(15 / 25.4 * 72) + 5, 100, 100);
        QVERIFY(inkPixels(page, foto1) > 5000);
        QCOMPARE(inkPixels(page, QRect(0, 0, 595, 30)), 0);
        QVERIFY(inkPixels(page, QRect(40, 520, 150, 25)) > 20); // "Fotografías" at 170 mm + margin
    }

    void missingPictureKeepsTheLayoutsOwn() {
        QImage fallback(300, 200, QImage::Format_RGB32);
        fallback.fill(Qt::red);
        QVERIFY(fallback.save(dir.filePath(QStringLiteral("sinfoto.png"))));
        const QByteArray xml = R"(<report margins="0" width="100" height="100">
            <detail height="50"><image column="Foto" file="sinfoto.png" x="0" y="0" width="30" height="20"/>
            </detail></report>)";
        Report r(parseLayout(xml, QStringLiteral("fotos"), dir.path()));
        RowsDataSource rows({QStringLiteral("Foto")}, {{QStringLiteral("no-existe.jpg")}});
        const Document d = r.generate(&rows);
        const QImage page = d.renderPage(0, 96);
        QCOMPARE(QColor(page.pixel(50, 30)), QColor(Qt::red));
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
