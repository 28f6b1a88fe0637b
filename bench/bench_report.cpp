// The report engine on the two jobs users wait for: a 10,000-row listing to
// PDF, and a one-page sheet with three camera-sized photographs to PDF.
// Each figure is compared, interleaved round by round, with:
//   listing: its floor, QPdfWriter drawing the same pages by hand (page header, rule, fields
//            measured and aligned, "Página N de M"), rows read the same way;
//   photos:  a peer, decoding the three photographic JPEGs at full size (what a naive engine
//            would do first; more work than the engine's, so not a floor).
// The listing runs in a child process per variant and round, so each has its own peak memory.
//
//   build/bench_report [rows]

#include "BenchSupport.h"
#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/report/Report.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

const char* listingXml = R"(<report title="Listado" page="A4" margins="12,15,12,15" size="8">
  <pageHeader height="22">
    <label x="0" y="0" width="186" height="9" size="14" bold="true" align="center">Listado de prueba</label>
    <label x="0" y="14" width="18" height="5" bold="true">Código</label>
    <label x="19" y="14" width="52" height="5" bold="true">Dirección</label>
    <label x="72" y="14" width="10" height="5" bold="true" align="right">Dor.</label>
    <label x="83" y="14" width="22" height="5" bold="true" align="right">Precio</label>
    <label x="107" y="14" width="24" height="5" bold="true">Tipo</label>
    <label x="132" y="14" width="10" height="5" bold="true" align="right">M2</label>
    <label x="144" y="14" width="24" height="5" bold="true">Localidad</label>
    <label x="169" y="14" width="17" height="5" bold="true">Area</label>
    <line x1="0" y1="20" x2="186" y2="20" penWidth="0.3"/>
  </pageHeader>
  <detail height="5">
    <field column="Cod" x="0" y="0" width="18" height="5"/>
    <field column="Direccion" x="19" y="0" width="52" height="5"/>
    <field column="Dormitorios" x="72" y="0" width="10" height="5" align="right"/>
    <field column="Precio" format="importe" x="83" y="0" width="22" height="5" align="right"/>
    <field column="Tipo" x="107" y="0" width="24" height="5"/>
    <field column="Metros" x="132" y="0" width="10" height="5" align="right"/>
    <field column="Localidad" x="144" y="0" width="24" height="5"/>
    <field column="Area" x="169" y="0" width="17" height="5"/>
  </detail>
  <pageFooter height="8"><pageNumber x="0" y="2" width="186" height="5" align="right"/></pageFooter>
</report>)";

const char* photosXml = R"(<report page="A4" margins="15">
  <pageHeader height="20"><label name="lblTitulo" x="0" y="0" width="180" height="12" size="18" bold="true">Dossier</label></pageHeader>
  <detail height="200">
    <image column="Foto1" x="0" y="0" width="180" height="110"/>
    <image column="Foto2" x="0" y="115" width="88" height="66"/>
    <image column="Foto3" x="92" y="115" width="88" height="66"/>
    <field column="Texto" x="0" y="185" width="180" height="10" canGrow="true"/>
  </detail>
</report>)";

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

QString euros(const QVariant& v) {
    static const QLocale es(QLocale::Spanish, QLocale::Spain);
    return es.toString(qRound64(v.toDouble())) + QStringLiteral(" €");
}

void makeData(const QString& dbPath, int rows) {
    db::OpenOptions o;
    o.create = true;
    o.durable = false;
    auto d = db::Database::open(dbPath, o);
    d->execute("CREATE TABLE Listado (Cod VARCHAR(10), Direccion VARCHAR(80), Dormitorios SMALLINT, "
               "Precio CURRENCY, Tipo VARCHAR(30), Metros INTEGER, Localidad VARCHAR(40), Area VARCHAR(40))");
    const QStringList tipos = {"Piso", "Chalet", "Ático", "Adosado", "Local"};
    const QStringList sitios = {"Marbella", "Estepona", "Fuengirola", "Benalmádena", "Nerja"};
    db::Transaction t(*d);
    for (int i = 0; i < rows; ++i)
        d->execute("INSERT INTO Listado VALUES (?,?,?,?,?,?,?,?)",
                   {QString("A%1").arg(i, 5, 10, QChar('0')),
                    QString("Calle del Mar %1, portal %2").arg(i % 300).arg(i % 7), i % 5 + 1,
                    90000.0 + i * 37, tipos[i % 5], 60 + i % 200, sitios[i % 5], "Centro"});
    t.commit();
}

// Child: one variant, printing "seconds pages peakKb".
int runListing(const QString& mode, const QString& dbPath, const QString& pdf) {
    auto d = db::Database::open(dbPath);
    const QString sql = "SELECT * FROM Listado WHERE Precio > ? ORDER BY Cod";
    QElapsedTimer t;
    t.start();
    int pages = 0;
    if (mode == "floor") {
        // The same pages by hand: the rows read first (the footer names the
        // page count), every field measured (to know it fits; the right-aligned
        // ones also to place), the page header, its rule and the page number.
        std::vector<std::array<QString, 8>> rows;
        db::Cursor c(*d, sql, {0.0});
        while (c.next()) {
            std::array<QString, 8> r;
            for (int col = 0; col < 8; ++col)
                r[col] = col == 3 ? euros(c.value(col)) : c.value(col).toString();
            rows.push_back(std::move(r));
        }
        const int perPage = 47; // the detail band's rows between the page header and footer
        pages = std::max(1, int((rows.size() + perPage - 1) / perPage));
        QPdfWriter w(pdf);
        w.setPageSize(QPageSize(QPageSize::A4));
        w.setResolution(1200);
        QPainter p(&w);
        QFont f("DejaVu Sans");
        f.setPointSizeF(8);
        QFont bold = f;
        bold.setBold(true);
        QFont title = bold;
        title.setPointSizeF(14);
        const QFontMetricsF m(f, &w), mb(bold, &w), mt(title, &w);
        const double mm = 1200 / 25.4;
        const double xs[] = {0, 19, 72, 83, 107, 132, 144, 169};
        const double widths[] = {18, 52, 10, 22, 24, 10, 24, 17};
        const bool right[] = {false, false, true, true, false, true, false, false};
        const char* heads[] = {"Código", "Dirección", "Dor.", "Precio", "Tipo", "M2", "Localidad", "Area"};
        const auto cell = [&](const QFontMetricsF& fm, double x, double width, double y, const QString& t,
                              bool alignRight) {
            const double advance = fm.horizontalAdvance(t);
            const double left = alignRight ? (12 + x + width) * mm - advance : (12 + x) * mm;
            p.drawText(QPointF(left, y), t);
        };
        std::size_t next = 0;
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                w.newPage();
            p.setFont(title);
            const QString t = QStringLiteral("Listado de prueba");
            p.drawText(QPointF((12 + 93) * mm - mt.horizontalAdvance(t) / 2, (15 + 7) * mm), t);
            p.setFont(bold);
            for (int col = 0; col < 8; ++col)
                cell(mb, xs[col], widths[col], (15 + 18) * mm, QString::fromUtf8(heads[col]), right[col]);
            p.drawLine(QPointF(12 * mm, 35 * mm), QPointF(198 * mm, 35 * mm));
            p.setFont(f);
            for (int onPage = 0; onPage < perPage && next < rows.size(); ++onPage, ++next) {
                const double y = (15 + 22 + onPage * 5 + 4) * mm;
                for (int col = 0; col < 8; ++col)
                    cell(m, xs[col], widths[col], y, rows[next][col], right[col]);
            }
            cell(m, 0, 186, (297 - 15 - 2) * mm, QStringLiteral("Página %1 de %2").arg(page).arg(pages),
                 true);
        }
    } else {
        report::Report r(report::parseLayout(listingXml, "bench"));
        r.setFormatter("importe", euros);
        report::QueryDataSource source(*d, sql, {0.0});
        const report::Document doc = r.generate(&source);
        doc.writePdf(pdf);
        pages = doc.pageCount();
    }
    std::printf("%f %d %ld\n", t.nsecsElapsed() / 1e9, pages, peakRssKb());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args[1] == "--child")
        return runListing(args[2], args[3], args[4]);

    const int rows = args.size() > 1 ? std::max(100, args[1].toInt()) : 10000;
    QTemporaryDir dir;
    const QString dbPath = dir.filePath("bench.db");
    makeData(dbPath, rows);

    auto child = [&](const QString& mode, double& secs, int& pages, long& kb) {
        QProcess p;
        p.start(app.applicationFilePath(), {"--child", mode, dbPath, dir.filePath(mode + ".pdf")});
        p.waitForFinished(-1);
        const QStringList out = QString::fromUtf8(p.readAllStandardOutput()).split(' ');
        secs = out.value(0).toDouble();
        pages = out.value(1).toInt();
        kb = out.value(2).toLong();
    };
    double floorSecs = 0, engineSecs = 0;
    int floorPages = 0, enginePages = 0;
    long floorKb = 0, engineKb = 0;
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 3;
    const auto listing = bench::interleaveTimed(runs, {[&] {
                                                           child("floor", floorSecs, floorPages, floorKb);
                                                           return floorSecs * 1000;
                                                       },
                                                       [&] {
                                                           child("engine", engineSecs, enginePages, engineKb);
                                                           return engineSecs * 1000;
                                                       }});
    floorSecs = listing[0].median() / 1000;
    engineSecs = listing[1].median() / 1000;
    // Time per page, so that like every other figure a ratio above 1 is slower.
    std::printf("listing_%d_rows_pages: %d pages (%.2f× floor)\n", rows, enginePages,
                double(enginePages) / floorPages);
    std::printf("listing_%d_rows_to_pdf: %.2f ms/page (%.2f× floor)\n", rows, engineSecs * 1000 / enginePages,
                (engineSecs / enginePages) / (floorSecs / floorPages));
    std::printf("listing_%d_rows_time: %.0f ms (%.2f× floor)\n", rows, engineSecs * 1000,
                engineSecs / floorSecs);
    std::printf("listing_%d_rows_peak_rss: %.1f MB (%.2f× floor)\n", rows, engineKb / 1024.0,
                double(engineKb) / floorKb);
    std::printf("listing_%d_rows_pdf_size: %.0f KB (%.2f× floor)\n", rows,
                QFileInfo(dir.filePath("engine.pdf")).size() / 1024.0,
                double(QFileInfo(dir.filePath("engine.pdf")).size()) /
                    QFileInfo(dir.filePath("floor.pdf")).size());

    // One page, three photographic 4000×3000 JPEGs.
    const QStringList photos = bench::photographicJpegs(dir.path(), QStringLiteral("foto"), 3);
    qint64 photoBytes = 0;
    for (const QString& f : photos)
        photoBytes += QFileInfo(f).size();
    const QString pdf = dir.filePath("fotos.pdf");
    const auto page = bench::interleave(
        5, {[&] {
                for (const QString& f : photos)
                    QImageReader(f).read();
            },
            [&] {
                QElapsedTimer t;
                t.start();
                report::Report r(report::parseLayout(photosXml, "bench"));
                report::RowsDataSource row(
                    {"Foto1", "Foto2", "Foto3", "Texto"},
                    {{photos[0], photos[1], photos[2], "Vivienda luminosa con vistas al mar."}});
                const report::Document doc = r.generate(&row);
                const double gen = t.nsecsElapsed() / 1e6;
                doc.writePdf(pdf);
                if (qEnvironmentVariableIsSet("BENCH_DETAIL"))
                    std::printf("  generate %.0f ms, write %.0f ms\n", gen, t.nsecsElapsed() / 1e6 - gen);
            }});
    bench::figure("photos_page_to_pdf, against a full-size decode of the photos",
                  bench::Pair{page[0], page[1]}, "ms", 1, "peer");
    std::printf("photos_page_pdf_size: %.0f KB (%.2f× peer: the three JPEG files %.0f KB)\n",
                QFileInfo(pdf).size() / 1024.0, double(QFileInfo(pdf).size()) / photoBytes,
                photoBytes / 1024.0);
    return 0;
}
