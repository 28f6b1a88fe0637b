// The property dossier on a real installation, read back from its PDF.

#include "FakeMail.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "platform/report/ReportError.h"
#include "reports/Dossier.h"
#include "reports/DossierTextos.h"
#include "reports/Informes.h"
#include "search/Lookups.h"
#include "search/frmConsultaDossier.h"

#include <QDialog>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace orb;
using namespace orb::reports;

namespace {

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return "<pdftotext falló>";
    // Collapse the layout's runs of blanks: the words matter, not the columns.
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

} // namespace

class TestDossier : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    std::unique_ptr<TestNavigator> nav;
    AppContext& ctx() { return inst->context(); }

    // A property with the fields the dossier reads; extra overrides them.
    void propiedad(const QString& cod, const QVariantMap& extra = {}) {
        QVariantMap f{{"Cod", cod},
                      {"Agencia", "01"},
                      {"QuickID", cod.right(3).toInt()},
                      {"Alquiler", false},
                      {"Precio", 100000},
                      {"PrecioAlquiler", 850},
                      {"Dormitorios", 3},
                      {"Metros", 120},
                      {"DossierDescripcion", "Luminoso piso con vistas al mar."}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            f[it.key()] = it.value();
        QStringList marks;
        for (int i = 0; i < f.size(); ++i)
            marks << "?";
        ctx().db().execute(QStringLiteral("INSERT INTO Propiedades (%1) VALUES (%2)")
                               .arg(f.keys().join(", "), marks.join(", ")),
                           f.values());
    }
    QString dossierText(const QString& cod, int modelo = 0) {
        const QString pdf = inst->file("d.pdf");
        GenerarDossier(ctx(), cod, modelo).writePdf(pdf);
        return pdfText(pdf);
    }

private Q_SLOTS:
    void init() {
        inst = std::make_unique<TestInstallation>();
        ctx().facts.PieDossier = "Inmobiliaria de Prueba · Tel. 952 11 22 33";
        ctx().facts.ModelosDossier = 0;
        nav = std::make_unique<TestNavigator>(ctx());
    }
    void cleanup() {
        nav.reset();
        inst.reset();
    }

    // The wordings the sale and rental PDFs below do not show.
    void wordingsAndFeaturesInBothLanguages() {
        QCOMPARE(TextoPiscina("C"), "Comunitaria");
        QCOMPARE(TextoGaraje("X"), "No");
        QCOMPARE(TextoPiscina(QVariant()), "No");
        QCOMPARE(TituloDossier("", false), "Propiedad en Venta");
        QCOMPARE(PrecioEuros(QVariant()), "0 €");
        QCOMPARE(PrecioPesetas("0 €"), "0 ptas");
        // Pesetas come from the whole euros shown, not the cents stored.
        QCOMPARE(PrecioPesetas(PrecioEuros(1.6)), "333 ptas");

        QVariantMap fila{{"Calefaccion", true},    {"Trastero", true},         {"Ascensor", 1},
                         {"Lavadero", QVariant()}, {"DiversionesCerca", true}, {"Amueblado", false}};
        auto valor = [&](const QString& c) { return fila.value(c); };
        QCOMPARE(Caracteristicas(valor, Idioma::Espanol),
                 "Trastero - Ascensor - Calefacción - Diversiones cercanas");
        QCOMPARE(Caracteristicas(valor, Idioma::Ingles), "Storage - Lift - Heating - Amenities Near");
        QCOMPARE(Caracteristicas([](const QString&) { return QVariant(); }, Idioma::Ingles), QString());
    }

    void saleDossierReadBackFromThePdf_data() {
        QTest::addColumn<int>("modelo");
        QTest::newRow("Dossier.rpx") << 0;
        QTest::newRow("Dossier1.rpx") << 1;
        QTest::newRow("Dossier2.rpx") << 2;
    }
    void saleDossierReadBackFromThePdf() {
        QFETCH(int, modelo);
        propiedad("0100001", {{"Piscina", "P"},
                              {"Jardin", "P"},
                              {"Garaje", "C"},
                              {"Trastero", true},
                              {"Ascensor", true},
                              {"Calefaccion", true}});
        const QString t = dossierText("0100001", modelo);
        for (const char* s :
             {"Propiedad en Venta", "100.000 €", "16.638.600 ptas", "Privada", "Privado", "Comunitario",
              "Trastero - Ascensor - Calefacción", "Storage - Lift - Heating",
              "Luminoso piso con vistas al mar.", "Inmobiliaria de Prueba · Tel. 952 11 22 33", "0100001"})
            QVERIFY2(t.contains(QString::fromUtf8(s)), s);
    }

    void rentalShowsItsRentInBothPricesAndItsTitle() {
        propiedad("0100002", {{"Alquiler", true}, {"Precio", 250000}, {"PrecioAlquiler", 1200}});
        const QString t = dossierText("0100002");
        QVERIFY2(t.contains("Propiedad en Alquiler"), qPrintable(t));
        QVERIFY2(t.contains("1.200 €") && t.contains("199.663 ptas"), qPrintable(t));
        QVERIFY2(!t.contains("250.000"), qPrintable(t));
        // The property's own title wins over the side's.
        ctx().db().execute("UPDATE Propiedades SET DossierTitulo = ? WHERE Cod = ?",
                           {"Apartamento junto al puerto", "0100002"});
        const QString t2 = dossierText("0100002");
        QVERIFY2(t2.contains("Apartamento junto al puerto") && !t2.contains("Propiedad en Alquiler"),
                 qPrintable(t2));
    }

    void photographsAndLogoArePrintedAndMissingOnesAreNoError() {
        QImage foto(800, 600, QImage::Format_RGB32);
        foto.fill(QColor(20, 120, 200));
        QVERIFY(foto.save(ctx().RutaFotos + "0100003_1.jpg"));
        propiedad("0100003", {{"Foto1", "0100003_1.jpg"}, {"Foto2", "no_existe.jpg"}});
        const report::Document d = GenerarDossier(ctx(), "0100003", 0);
        QCOMPARE(d.pageCount(), 1);
        int pictures = 0;
        bool blue = false;
        for (const report::DrawCommand& c : d.pages[0].commands) {
            if (c.kind != report::DrawCommand::Kind::Image)
                continue;
            ++pictures;
            const QColor px = c.image.pixelColor(c.image.width() / 2, c.image.height() / 2);
            blue = blue || (px.blue() > 180 && px.red() < 60);
        }
        QVERIFY(blue);         // the photograph itself
        QCOMPARE(pictures, 2); // the logo and Foto1; the missing Foto2 is left out
    }

    void oneModelAsksNothingAndSeveralAskTheUser() {
        Lookups lookups(ctx());
        ctx().lookups = &lookups;
        int asked = 0;
        int pick = 1; // row to choose; -1 cancels
        lookups.beforeExec = [&](QDialog* d) {
            ++asked;
            // The dialog runs modally: act once it shows.
            QTimer::singleShot(0, d, [d, &pick] {
                QVERIFY(QTest::qWaitFor([d] { return d->isVisible(); }, 5000));
                auto* f = qobject_cast<frmConsultaDossier*>(d);
                QVERIFY(f);
                if (pick < 0) {
                    f->cmd[1]->click();
                    return;
                }
                f->lst->setCurrentRow(pick);
                f->cmd[0]->click();
            });
        };
        propiedad("0100004");
        for (int modelos : {0, 1}) {
            ctx().facts.ModelosDossier = modelos;
            QCOMPARE(ElegirModeloDossier(ctx()), 0);
            QVERIFY(!DossierPDF(ctx(), "0100004").isEmpty());
        }
        QCOMPARE(asked, 0);

        ctx().facts.ModelosDossier = 2;
        QCOMPARE(ElegirModeloDossier(ctx()), 2);
        QCOMPARE(asked, 1);
        // The chosen model's file is the one read: without it, the message names it.
        QVERIFY(QFile::remove(inst->file("Dossier2.rpx")));
        QCOMPARE(DossierPDF(ctx(), "0100004"), QString());
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY2(inst->dialogs().boxes().last().text.contains(inst->file("Dossier2.rpx")),
                 qPrintable(inst->dialogs().boxes().last().text));
        QCOMPARE(inst->dialogs().boxes().last().title, "Error");

        // A cancelled choice writes nothing; the preview falls back to Dossier.rpx.
        QFile::remove(RutaDossierPDF(ctx(), "0100004"));
        pick = -1;
        QCOMPARE(DossierPDF(ctx(), "0100004"), QString());
        QVERIFY(!QFile::exists(RutaDossierPDF(ctx(), "0100004")));
        QVERIFY(VerDossier(ctx(), "0100004"));
        QCOMPARE(nav->shown.last(), "usrShowReport2:Dossier");
        auto* w = qobject_cast<frmInforme*>(nav->reports.last().data());
        QVERIFY(w);
        QCOMPARE(w->diseno, inst->file("Dossier.rpx"));
        QCOMPARE(w->pageCount(), 1);
        ctx().lookups = nullptr;
    }

    void twoPdfsOfOnePropertyReplaceOneFile() {
        propiedad("0100005");
        const QString first = DossierPDF(ctx(), "0100005");
        QCOMPARE(first, inst->path() + "DossierPropiedad_0100005.pdf");
        QVERIFY(pdfText(first).contains("100.000 €"));
        ctx().db().execute("UPDATE Propiedades SET Precio = 95000 WHERE Cod = '0100005'");
        QCOMPARE(DossierPDF(ctx(), "0100005"), first);
        const QString t = pdfText(first);
        QVERIFY2(t.contains("95.000 €") && !t.contains("100.000 €"), qPrintable(t));
        QCOMPARE(QDir(inst->path()).entryList({"DossierPropiedad_*"}, QDir::Files),
                 QStringList{"DossierPropiedad_0100005.pdf"});
    }

    void missingOrBrokenModelIsNamedAndNothingShown() {
        propiedad("0100006");
        QFile f(inst->file("Dossier.rpx"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("<report><detail height='10'><etiqueta/></detail></report>");
        f.close();
        QVERIFY(!VerDossier(ctx(), "0100006"));
        QVERIFY(nav->reports.isEmpty());
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QVERIFY2(inst->dialogs().boxes().last().text.contains(inst->file("Dossier.rpx")),
                 qPrintable(inst->dialogs().boxes().last().text));
    }

    void dossierByMailCarriesThePdfWithoutRecipient() {
        propiedad("0100007");
        {
            FakeMail mail;
            EnviarDossier(ctx(), "0100007");
            const QString pdf = inst->path() + "DossierPropiedad_0100007.pdf";
            QVERIFY(QFile::exists(pdf));
            QCOMPARE(mail.calls(),
                     (QList<QStringList>{{"--utf8", "--subject", "Dossier propiedad 0100007", "--body",
                                          "Adjunto dossier de la propiedad 0100007", "--attach", pdf}}));
            QVERIFY(inst->dialogs().boxes().isEmpty());
            QVERIFY(mail.openedFolders().isEmpty());
        }
        // Without a mail client the user is told and the folder opens.
        FakeMail mail(false);
        EnviarDossier(ctx(), "0100007");
        QVERIFY(mail.calls().isEmpty());
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        const QString text = inst->dialogs().boxes().last().text;
        QVERIFY2(text.contains("No se ha podido abrir el programa de correo") &&
                     text.contains(QDir::toNativeSeparators(QDir(inst->path()).absolutePath())),
                 qPrintable(text));
        QTRY_COMPARE(mail.openedFolders(), QStringList{QDir(inst->path()).absolutePath()});
    }
};

QTEST_MAIN(TestDossier)
#include "tst_dossier.moc"
