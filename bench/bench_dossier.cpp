// The dossier of a property with three camera photographs to PDF, and the
// properties listing of 10,000 rows through its real layout, each against its
// floor measured in the same run:
// - dossier: decoding the three JPEGs at the size they are printed (what no
//   dossier can avoid);
// - listing: QPdfWriter drawing the same rows as plain text lines, one line
//   per row, no layout.

#include "BenchSupport.h"
#include "install/Installer.h"
#include "platform/db/Database.h"
#include "reports/Dossier.h"
#include "reports/Informes.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

QImage cameraPhoto(int seed) {
    QImage img(4000, 3000, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 4000, 3000);
    g.setColorAt(0, QColor::fromHsv(seed * 70 % 360, 160, 230));
    g.setColorAt(1, QColor::fromHsv(seed * 70 % 360 + 40, 200, 90));
    p.fillRect(img.rect(), g);
    for (int i = 0; i < 400; ++i)
        p.fillRect((i * 977 + seed) % 4000, (i * 613) % 3000, 60, 40, QColor::fromHsv(i % 360, 120, 200));
    return img;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    orb::install::InstallOptions o;
    o.facts = orb::install::demoFacts();
    orb::install::createInstallation(dir.path(), o);
    orb::AppContext ctx;
    bench::openContext(ctx, dir.path() + "/");

    // ---- dossier
    QStringList fotos;
    for (int i = 1; i <= 3; ++i) {
        const QString f = QStringLiteral("B_%1.jpg").arg(i);
        cameraPhoto(i).save(ctx.RutaFotos + f, "JPEG", 90);
        fotos << f;
    }
    ctx.db().execute(
        "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Precio, Foto1, Foto2, Foto3, "
        "Trastero, Piscina, DossierDescripcion) VALUES ('0199999', '01', 99999, 0, 325000, ?, ?, ?, 1, "
        "'P', 'Villa con vistas al mar.')",
        {fotos[0], fotos[1], fotos[2]});
    const int runs = 5;
    double floorMs = 1e9, dossierMs = 1e9;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        for (const QString& f : fotos) {
            QImageReader reader(ctx.RutaFotos + f);
            reader.setScaledSize(QSize(980, 735)); // 124 mm at 200 dpi
            volatile int w = reader.read().width();
            (void)w;
        }
        floorMs = std::min(floorMs, t.nsecsElapsed() / 1e6);
        t.restart();
        const QString pdf = orb::reports::DossierPDF(ctx, "0199999");
        dossierMs = std::min(dossierMs, t.nsecsElapsed() / 1e6);
        if (pdf.isEmpty())
            return 1;
    }
    const double kb = QFileInfo(orb::reports::RutaDossierPDF(ctx, "0199999")).size() / 1024.0;
    std::printf("dossier_3_photos_4000x3000_to_pdf: %.0f ms (%.2f× floor)\n", dossierMs, dossierMs / floorMs);
    std::printf("dossier_3_photos_pdf_size: %.0f KB (%.2f× 1.5 MB goal)\n", kb, kb / 1536.0);

    // ---- listing of 10,000 rows
    const int rows = 10000;
    {
        db::Transaction tr(ctx.db());
        for (int i = 1; i <= rows; ++i)
            ctx.db().execute("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Precio, Direccion, "
                             "Dormitorios, Metros) VALUES (?, '02', ?, 0, ?, ?, ?, ?)",
                             {QStringLiteral("02%1").arg(i, 5, 10, QChar('0')), i, 90000 + i * 13,
                              QStringLiteral("Calle del Mar, %1").arg(i), i % 6, 50 + i % 300});
        tr.commit();
    }
    const QString sql = "select * from busquedapropiedades where not Alquiler order by Cod";
    const long rssBefore = peakRssKb();
    QElapsedTimer t;
    t.start();
    const report::Document d = orb::reports::GenerarInforme(ctx, orb::reports::Informe::Propiedades, sql);
    d.writePdf(dir.filePath("listado.pdf"));
    const double secs = t.nsecsElapsed() / 1e9;
    const long rssAfter = peakRssKb();

    t.restart();
    {
        QPdfWriter w(dir.filePath("floor.pdf"));
        w.setPageSize(QPageSize(QPageSize::A4));
        QPainter p(&w);
        const int perPage = (rows + d.pageCount() - 1) / d.pageCount();
        const int step = w.height() / (perPage + 2);
        report::QueryDataSource src(ctx.db(), sql);
        int n = 0;
        while (src.next()) {
            if (n > 0 && n % perPage == 0)
                w.newPage();
            p.drawText(0, step * (1 + n % perPage),
                       src.value(0).toString() + "  " + src.value(3).toString() + "  " +
                           src.value(9).toString());
            ++n;
        }
    }
    const double floorSecs = t.nsecsElapsed() / 1e9;
    std::printf("properties_listing_%d_rows_to_pdf: %.1f pages/s (%.2f× floor)\n", rows, d.pageCount() / secs,
                floorSecs / secs);
    std::printf("properties_listing_%d_rows_pages: %d pages (1.00× floor)\n", rows, d.pageCount());
    std::printf("properties_listing_%d_rows_memory_growth: %.1f MB (%.2f× start)\n", rows,
                (rssAfter - rssBefore) / 1024.0, double(rssAfter) / rssBefore);
    return 0;
}
