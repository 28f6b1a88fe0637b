// Writes the page images the documentation shows, from a demo installation:
// the dossier in both models, the property sheet and the properties listing.
//   orbalia-imagenes-docs docs/img

#include "TestInstallation.h"
#include "reports/Dossier.h"
#include "reports/Informes.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

using namespace orb;
using namespace orb::reports;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s carpeta\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    install::InstallOptions o;
    o.facts = install::demoFacts();
    o.demoProperties = 50;
    TestInstallation demo(o);
    AppContext& c = demo.context();
    const QString cod = c.db()
                            .scalar("select Cod from Propiedades where Foto3 is not null and not Alquiler "
                                    "and DossierTitulo is not null order by Cod limit 1")
                            .toString();
    if (cod.isEmpty() || !QDir().mkpath(out)) {
        std::fprintf(stderr, "sin propiedad de muestra o sin carpeta %s\n", qPrintable(out));
        return 1;
    }
    bool bien = true;
    auto save = [&](const report::Document& d, const QString& name) {
        const bool escrita = d.pageCount() > 0 && d.renderPage(0, 100).save(out + u'/' + name);
        if (!escrita)
            std::fprintf(stderr, "no se ha podido escribir %s\n", qPrintable(name));
        bien = bien && escrita;
    };
    save(GenerarDossier(c, cod, 0), "dossier.png");
    save(GenerarDossier(c, cod, 1), "dossier-fotos.png");
    save(GenerarInforme(c, Informe::FichaPropiedad, "select * from fichapropiedades where PropiedadesCod = ?",
                        {cod}),
         "ficha-propiedad.png");
    save(GenerarInforme(c, Informe::Propiedades,
                        "select * from busquedapropiedades where not Alquiler order by Cod"),
         "listado-propiedades.png");
    return bien ? 0 : 1;
}
