// The property dossier on a real installation, read back from its PDF.

#include "FakeMail.h"
#include "ModalUser.h"
#include "PdfTexto.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "platform/report/ReportError.h"
#include "reports/Dossier.h"
#include "reports/DossierModelos.h"
#include "reports/DossierTextos.h"
#include "reports/Informes.h"
#include "search/Lookups.h"
#include "search/frmConsultaDossier.h"

#include <QDialog>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

using namespace orb;
using namespace orb::reports;

namespace {

QString textoSeguido(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return "<pdftotext falló>";
    // Collapse the layout's runs of blanks: the words matter, not the columns.
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

using Palabra = PalabraPdf;

// Every run of words that reads `frase`, in reading order.
QList<QList<Palabra>> allWordsOf(const QList<Palabra>& palabras, const QString& frase) {
    const QStringList buscadas = frase.split(' ');
    QList<QList<Palabra>> out;
    for (int i = 0; i + buscadas.size() <= palabras.size(); ++i) {
        bool igual = true;
        for (int k = 0; k < buscadas.size() && igual; ++k)
            igual = palabras[i + k].texto == buscadas[k];
        if (igual)
            out << palabras.mid(i, buscadas.size());
    }
    return out;
}
QList<Palabra> wordsOf(const QList<Palabra>& palabras, const QString& frase) {
    return allWordsOf(palabras, frase).value(0);
}

constexpr double PuntosPorMm = 72 / 25.4;

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
    QString dossierPdf(const QString& cod, int modelo = 0) {
        const QString pdf = inst->file("d.pdf");
        GenerarDossier(ctx(), cod, modelo).writePdf(pdf);
        return pdf;
    }
    QString dossierText(const QString& cod, int modelo = 0) { return textoSeguido(dossierPdf(cod, modelo)); }
    // A shop with its texts typed in both languages and a type named in both.
    void localComercial(const QString& cod, const QVariantMap& extra = {}) {
        if (ctx().db().scalar("SELECT COUNT(*) FROM Tipos WHERE Cod = 6").toInt() == 0)
            ctx().db().execute("INSERT INTO Tipos (Cod, Nombre, NombreIdioma1) VALUES (?, ?, ?)",
                               {6, "Local comercial", "Commercial premises"});
        QVariantMap f{{"CodTipo", 6},
                      {"Trastero", true},
                      {"AireAcondicionado", true},
                      {"DossierTitulo", "Local comercial en La Cala de Mijas"},
                      {"DossierTituloIdioma1", "Shop in La Cala de Mijas"},
                      {"DossierDescripcion", "Local diáfano con escaparate a la avenida."},
                      {"DossierDescripcionIdioma1", "Open-plan shop with a window onto the avenue."}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            f[it.key()] = it.value();
        propiedad(cod, f);
    }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
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

    void pdfTellsWhereItIsAndOffersToOpenIt() {
        using A = ui::DialogService::Answer;
        propiedad("0100004");
        QStringList abiertos;
        bool abre = true;
        PonerAbridorFicheros([&](const QString& f) {
            abiertos << f;
            return abre;
        });
        const QString ruta = RutaDossierPDF(ctx(), "0100004");
        inst->dialogs().queueAnswer(A::No);
        GuardarDossierPDF(ctx(), "0100004");
        QVERIFY(QFile(ruta).size() > 0);
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        const auto pregunta = inst->dialogs().boxes().first();
        QCOMPARE(pregunta.title, "Dossier en PDF");
        QVERIFY2(pregunta.text.contains(QDir::toNativeSeparators(ruta)), qPrintable(pregunta.text));
        QCOMPARE(pregunta.buttons, ui::DialogService::Buttons::YesNo);
        QVERIFY(abiertos.isEmpty()); // No leaves it closed

        inst->dialogs().queueAnswer(A::Yes);
        GuardarDossierPDF(ctx(), "0100004");
        QCOMPARE(abiertos, QStringList{ruta});
        // No program for PDF files: told, not silently dropped.
        abre = false;
        inst->dialogs().clear();
        inst->dialogs().queueAnswer(A::Yes);
        GuardarDossierPDF(ctx(), "0100004");
        QCOMPARE(inst->dialogs().boxes().size(), 2);
        QCOMPARE(inst->dialogs().boxes().last().title, "Error");
        // Nothing written: no offer to open anything.
        QVERIFY(QFile::remove(inst->file("Dossier.rpx")));
        inst->dialogs().clear();
        abiertos.clear();
        GuardarDossierPDF(ctx(), "0100004");
        QCOMPARE(inst->dialogs().boxes().size(), 1);
        QCOMPARE(inst->dialogs().boxes().first().title, "Error");
        QVERIFY(abiertos.isEmpty());
        PonerAbridorFicheros([](const QString&) { return true; });
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
        // All of them: sixteen in the dossier's order; the window's other features are not printed.
        auto todas = [](const QString&) { return QVariant(true); };
        QCOMPARE(Caracteristicas(todas, Idioma::Espanol),
                 "Trastero - Lavadero - Ascensor - Aire acondicionado - Calefacción - Cocina amueblada - "
                 "Cocina americana - Salón - Vitrocerámica - Gas ciudad - Gas butano - Amueblado - "
                 "Supermercado cercano - Autobús cercano - Cafetería cercana - Diversiones cercanas");
        QCOMPARE(
            Caracteristicas(todas, Idioma::Ingles),
            "Storage - Utility room - Lift - Air conditioning - Heating - Fitted kitchen - American "
            "kitchen - Living room - Vitro - Urban gas - Bottled gas - Furnished - Supermarket near - Bus "
            "near - Cafeteria near - Amenities Near");

        // The English title line: the typed one, the side's when neither was typed.
        QCOMPARE(TituloDossierIngles("Ático", "Penthouse", false), "Penthouse");
        QCOMPARE(TituloDossierIngles(QVariant(), QVariant(), true), "Property for Rent");
        QCOMPARE(TituloDossierIngles(" ", "", false), "Property for Sale");
        QCOMPARE(TituloDossierIngles("Ático", QVariant(), false), QString());
    }

    void englishTextsArePrintedInTheEnglishStyle_data() {
        QTest::addColumn<int>("modelo");
        QTest::newRow("Dossier.rpx") << 0;
        QTest::newRow("Dossier1.rpx") << 1;
    }
    void englishTextsArePrintedInTheEnglishStyle() {
        QFETCH(int, modelo);
        localComercial("0100010");
        const QString pdf = dossierPdf("0100010", modelo);
        const QString t = textoSeguido(pdf);
        for (const char* s :
             {"Local comercial en La Cala de Mijas", "Shop in La Cala de Mijas", "Local comercial",
              "Commercial premises", "Local diáfano con escaparate a la avenida.",
              "Open-plan shop with a window onto the avenue.", "Trastero - Aire acondicionado",
              "Storage - Air conditioning"})
            QVERIFY2(t.contains(QString::fromUtf8(s)), qPrintable(QString::fromUtf8(s) + " | " + t));

        // The English title under the Spanish one, in the page header; the
        // English type under the Spanish type.
        const QList<Palabra> words = pdfWords(pdf);
        const auto es = wordsOf(words, "Local comercial en La Cala de Mijas");
        const auto en = wordsOf(words, "Shop in La Cala de Mijas");
        QVERIFY(!es.isEmpty() && !en.isEmpty());
        QVERIFY(en.first().caja.top() >= es.last().caja.bottom() - 0.5);
        QVERIFY(en.first().caja.bottom() < 40 * PuntosPorMm);
        const auto tipoEn = wordsOf(words, "Commercial premises");
        QVERIFY(!tipoEn.isEmpty());
        bool debajo = false;
        for (const auto& tipoEs : allWordsOf(words, "Local comercial"))
            debajo = debajo || (qAbs(tipoEn.first().caja.left() - tipoEs.first().caja.left()) < 1 &&
                                tipoEn.first().caja.top() >= tipoEs.last().caja.bottom() - 0.5 &&
                                tipoEn.first().caja.top() < tipoEs.last().caja.bottom() + 3 * PuntosPorMm);
        QVERIFY(debajo);

        // English in the italic of the English features.
        const report::Document d = GenerarDossier(ctx(), "0100010", modelo);
        auto italic = [&](const QString& start) {
            for (const report::DrawCommand& c : d.pages[0].commands)
                if (c.kind == report::DrawCommand::Kind::Text && c.text.startsWith(start))
                    return d.fonts[c.font].italic() ? 1 : 0;
            return -1;
        };
        for (const char* s : {"Storage", "Open-plan", "Shop in", "Commercial"})
            QVERIFY2(italic(s) == 1, s);
        for (const char* s : {"Trastero", "Local diáfano", "Local comercial en"})
            QVERIFY2(italic(QString::fromUtf8(s)) == 0, s);
    }

    void emptySectionsAreLeftOut_data() {
        QTest::addColumn<int>("modelo");
        QTest::newRow("Dossier.rpx") << 0;
        QTest::newRow("Dossier1.rpx") << 1;
    }
    void emptySectionsAreLeftOut() {
        QFETCH(int, modelo);
        // Nothing to say: no features, no descriptions.
        propiedad("0100011", {{"DossierDescripcion", QVariant()}, {"DossierDescripcionIdioma1", "  "}});
        QString t = dossierText("0100011", modelo);
        for (const char* s : {"Características", "Features", "Descripción", "Description"})
            QVERIFY2(!t.contains(QString::fromUtf8(s)), qPrintable(QString::fromUtf8(s) + " | " + t));
        QVERIFY2(t.contains("Propiedad en Venta") && t.contains("Property for Sale") &&
                     t.contains("Inmobiliaria de Prueba"),
                 qPrintable(t));

        // Only the Spanish description: its section alone.
        localComercial("0100012", {{"Trastero", false},
                                   {"AireAcondicionado", false},
                                   {"DossierDescripcionIdioma1", QVariant()},
                                   {"DossierTituloIdioma1", QVariant()}});
        t = dossierText("0100012", modelo);
        QVERIFY2(!t.contains("Features") && !t.contains("Características") && !t.contains("Description") &&
                     !t.contains("Shop in") && !t.contains("Property for"),
                 qPrintable(t));
        QVERIFY2(t.contains("Local diáfano con escaparate a la avenida."), qPrintable(t));
        if (modelo != 0)
            return;
        // In the default model the sections follow one another: the
        // description takes the place the features would have had.
        QVERIFY(t.contains("Descripción"));
        localComercial("0100013");
        const QList<Palabra> completo = pdfWords(dossierPdf("0100013"));
        const QList<Palabra> solo = pdfWords(dossierPdf("0100012"));
        const auto caracteristicas = wordsOf(completo, "Características");
        const auto descripcion = wordsOf(solo, "Descripción");
        QVERIFY(!caracteristicas.isEmpty() && !descripcion.isEmpty());
        QVERIFY2(qAbs(descripcion.first().caja.top() - caracteristicas.first().caja.top()) < 0.5,
                 qPrintable(QString("%1 %2")
                                .arg(descripcion.first().caja.top())
                                .arg(caracteristicas.first().caja.top())));
    }

    void longTitleIsPrintedWhole_data() {
        QTest::addColumn<int>("modelo");
        QTest::newRow("Dossier.rpx") << 0;
        QTest::newRow("Dossier1.rpx") << 1;
    }
    void longTitleIsPrintedWhole() {
        QFETCH(int, modelo);
        // As long as the Dossier tab takes: 100 characters each.
        const QString es =
            "Local comercial en La Cala de Mijas con escaparate a dos calles, almacén y aseos, "
            "cerca de la playa.";
        const QString en =
            "Commercial premises in La Cala de Mijas with windows onto two streets, a store room, "
            "near the beach.";
        QCOMPARE(es.size(), 100);
        QCOMPARE(en.size(), 100);
        localComercial("0100014", {{"DossierTitulo", es}, {"DossierTituloIdioma1", en}});
        const QString pdf = dossierPdf("0100014", modelo);
        const QString t = textoSeguido(pdf);
        QVERIFY2(t.contains(es) && t.contains(en), qPrintable(t));
        QVERIFY2(!t.contains(QChar(0x2026)), qPrintable(t));

        // Both inside the header: right of the logo, within the page's right
        // margin, above the rule that closes the header, one under the other.
        const QList<Palabra> words = pdfWords(pdf);
        const auto titulo = wordsOf(words, es);
        const auto ingles = wordsOf(words, en);
        QCOMPARE(titulo.size(), int(es.split(' ').size()));
        QCOMPARE(ingles.size(), int(en.split(' ').size()));
        const double derecha = (210 - (modelo == 0 ? 12 : 10)) * PuntosPorMm;
        const double regla = (10 + (modelo == 0 ? 27 : 22)) * PuntosPorMm;
        const double logo = (modelo == 0 ? 12 + 62 : 10 + 50) * PuntosPorMm;
        double finTitulo = 0;
        for (const Palabra& w : titulo) {
            QVERIFY2(w.caja.left() > logo && w.caja.right() <= derecha + 0.5 && w.caja.bottom() <= regla,
                     qPrintable(w.texto));
            finTitulo = std::max(finTitulo, w.caja.bottom());
        }
        for (const Palabra& w : ingles)
            QVERIFY2(w.caja.left() > logo && w.caja.right() <= derecha + 0.5 && w.caja.bottom() <= regla &&
                         w.caja.top() >= finTitulo - 0.5,
                     qPrintable(w.texto));
    }

    void modelsOfAnEarlierVersionAreBroughtUpToDate() {
        localComercial("0100015");
        const QString anteriores = QStringLiteral(ORBALIA_SOURCE_DIR "/tests/reports/modelos-anteriores/");
        auto leer = [](const QString& ruta) {
            QFile f(ruta);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        auto escribir = [](const QString& ruta, const QByteArray& texto) {
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(texto);
        };
        RegistrarDisenos();
        const QByteArray actual = leer(":/reports/Dossier.rpx");
        const QByteArray antiguo = leer(anteriores + "Dossier.rpx");
        QVERIFY(!antiguo.isEmpty() && antiguo != actual);
        // As an earlier version installed them: the default model, its copy
        // as model 2, and model 1 as the agency edited it.
        escribir(inst->file("Dossier.rpx"), antiguo);
        QByteArray crlf = antiguo;
        escribir(inst->file("Dossier2.rpx"), crlf.replace("\n", "\r\n"));
        QByteArray editado = leer(anteriores + "Dossier1.rpx");
        editado.replace("Características · Features", "Equipamiento");
        escribir(inst->file("Dossier1.rpx"), editado);

        for (int modelo : {0, 2}) {
            const QString t = dossierText("0100015", modelo);
            QVERIFY2(t.contains("Open-plan shop with a window onto the avenue.") && t.contains("Shop in"),
                     qPrintable(t));
            QCOMPARE(leer(RutaModeloDossier(ctx(), modelo)), actual);
        }
        // The agency's own model is left as it made it.
        const QString t = dossierText("0100015", 1);
        QVERIFY2(t.contains("Equipamiento") && !t.contains("Open-plan"), qPrintable(t));
        QCOMPARE(leer(inst->file("Dossier1.rpx")), editado);
        // The current models are what an installation receives and are not
        // taken for earlier ones.
        QCOMPARE(leer(inst->file("Dossier.rpx")), actual);
        QVERIFY(ModeloDossierVigente(actual).isEmpty());
        QVERIFY(ModeloDossierVigente(leer(":/reports/Dossier1.rpx")).isEmpty());
        QCOMPARE(ModeloDossierVigente(leer(anteriores + "Dossier1.rpx")), leer(":/reports/Dossier1.rpx"));
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
        QVERIFY2(t.contains("Propiedad en Alquiler") && t.contains("Property for Rent"), qPrintable(t));
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
        int pick = 1; // row to choose; -1 cancels
        ModalUser<frmConsultaDossier> usuario([&](frmConsultaDossier* f) {
            if (pick < 0) {
                f->cmd[1]->click();
                return;
            }
            f->lst->setCurrentRow(pick);
            f->cmd[0]->click();
        });
        propiedad("0100004");
        for (int modelos : {0, 1}) {
            ctx().facts.ModelosDossier = modelos;
            QCOMPARE(ElegirModeloDossier(ctx()), 0);
            QVERIFY(!DossierPDF(ctx(), "0100004").isEmpty());
        }
        QCOMPARE(usuario.vistos(), 0);

        ctx().facts.ModelosDossier = 2;
        QCOMPARE(ElegirModeloDossier(ctx()), 2);
        QCOMPARE(usuario.vistos(), 1);
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
        QVERIFY(textoSeguido(first).contains("100.000 €"));
        ctx().db().execute("UPDATE Propiedades SET Precio = 95000 WHERE Cod = '0100005'");
        QCOMPARE(DossierPDF(ctx(), "0100005"), first);
        const QString t = textoSeguido(first);
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
