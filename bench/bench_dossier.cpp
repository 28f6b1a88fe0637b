// The dossier of a property with three photographic camera JPEGs to PDF,
// interleaved round by round with a peer: decoding the three JPEGs at 980×735
// (more than the dossier decodes for its smaller pictures, so not a floor).
// A listing through the report engine is bench_report's, against a floor that
// draws the same pages by hand.

#include "BenchSupport.h"
#include "install/Installer.h"
#include "reports/Dossier.h"
#include "shell/AppContext.h"
#include "shell/Installation.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdio>

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
    return 0;
}
