// The dossier of a property with three photographic camera JPEGs to PDF, and
// the properties listing of 10,000 rows through its real layout, each
// interleaved round by round with what it is compared with:
// - dossier: a peer, decoding the three JPEGs at 980×735 (more than the
//   dossier decodes for its smaller pictures, so not a floor);
// - listing: its floor, QPdfWriter drawing the same rows as plain text lines,
//   one line per row, no layout.

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
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

namespace {

// Resident memory now and its peak since the last resetPeak(), in KB (the
// peak of the dossier before would otherwise hide the listing's own).
long statusKb(const char* campo) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& linea : f.readAll().split('\n'))
        if (linea.startsWith(campo))
            return linea.mid(qsizetype(strlen(campo))).trimmed().split(' ').value(0).toLong();
    return 0;
}

void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// The pages of a written PDF as a reader counts them: pdfinfo's "Pages:" when
// it is installed, else the file's page objects.
int paginasEnArchivo(const QString& ruta) {
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {ruta});
    if (pdfinfo.waitForFinished(30000) && pdfinfo.exitCode() == 0) {
        for (const QByteArray& linea : pdfinfo.readAllStandardOutput().split('\n'))
            if (linea.startsWith("Pages:"))
                return linea.mid(6).trimmed().toInt();
    }
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression pagina(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int n = 0;
    for (auto it = pagina.globalMatch(QString::fromLatin1(f.readAll())); it.hasNext(); it.next())
        ++n;
    return n;
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
    for (const QString& ruta : bench::photographicJpegs(ctx.RutaFotos, QStringLiteral("B_"), 3))
        fotos << QFileInfo(ruta).fileName();
    ctx.db().execute(
        "INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Precio, Foto1, Foto2, Foto3, "
        "Trastero, Piscina, DossierDescripcion) VALUES ('0199999', '01', 99999, 0, 325000, ?, ?, ?, 1, "
        "'P', 'Villa con vistas al mar.')",
        {fotos[0], fotos[1], fotos[2]});
    const int runs = 5;
    bool hecho = true;
    const bench::Pair dossier = bench::compare(
        runs,
        [&] {
            for (const QString& f : fotos) {
                QImageReader reader(ctx.RutaFotos + f);
                reader.setScaledSize(QSize(980, 735)); // 124 mm at 200 dpi
                volatile int w = reader.read().width();
                (void)w;
            }
        },
        [&] { hecho = !orb::reports::DossierPDF(ctx, "0199999").isEmpty() && hecho; });
    if (!hecho)
        return 1;
    const double kb = QFileInfo(orb::reports::RutaDossierPDF(ctx, "0199999")).size() / 1024.0;
    bench::figure("dossier_3_photos_4000x3000_to_pdf", dossier, "ms", 1, "peer");
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
    resetPeak();
    const long rssBefore = statusKb("VmRSS:");
    int paginas = 0;
    // The program first in each round, so the floor knows how many pages to spread its lines over.
    const auto listado =
        bench::interleave(3, {[&] {
                                  const report::Document d = orb::reports::GenerarInforme(
                                      ctx, orb::reports::Informe::Propiedades, sql);
                                  d.writePdf(dir.filePath("listado.pdf"));
                                  paginas = d.pageCount();
                              },
                              [&] {
                                  QPdfWriter w(dir.filePath("floor.pdf"));
                                  w.setPageSize(QPageSize(QPageSize::A4));
                                  QPainter p(&w);
                                  const int perPage = (rows + paginas - 1) / std::max(1, paginas);
                                  const int step = w.height() / (perPage + 2);
                                  report::QueryDataSource src(ctx.db(), sql);
                                  int n = 0;
                                  while (src.next()) {
                                      if (n > 0 && n % perPage == 0)
                                          w.newPage();
                                      p.drawText(0, step * (1 + n % perPage),
                                                 src.value(0).toString() + "  " + src.value(3).toString() +
                                                     "  " + src.value(9).toString());
                                      ++n;
                                  }
                              }});
    const long rssAfter = statusKb("VmHWM:");
    const bench::Pair par{listado[1], listado[0]};
    const double secs = par.program.median() / 1000;
    const double floorSecs = par.floor.median() / 1000;
    std::printf("properties_listing_%d_rows_to_pdf: %.1f pages/s (%.2f× floor)\n", rows, paginas / secs,
                floorSecs / secs);
    bench::figure("properties_listing_10000_rows_time", par);
    // The floor spreads its lines over as many pages; the count is the file's own.
    const int enArchivo = paginasEnArchivo(dir.filePath("listado.pdf"));
    std::printf("properties_listing_%d_rows_pages: %d pages (%d in the written file)\n", rows, paginas,
                enArchivo);
    std::printf("properties_listing_%d_rows_memory_growth (peak): %.1f MB (%.2f× start)\n", rows,
                (rssAfter - rssBefore) / 1024.0, double(rssAfter) / rssBefore);
    return paginas > 0 && enArchivo == paginas ? 0 : 1;
}
