// The portal feed's tool window on a demo installation: what it shows
// during and after a run, and a Cancel that reaches a run in progress.
#include "Accessibility.h"
#include "Capturas.h"
#include "FeedLeido.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "install/Installer.h"
#include "portales/ExportacionPortales.h"
#include "portales/frmExportacionPortales.h"
#include "shell/ConfigStore.h"
#include "shell/Installation.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace orb;
using portaltest::leerFeed;

namespace {

const QString Fotos = QStringLiteral("https://www.agencia.example/fotos/");

} // namespace

class tst_frmExportacionPortales : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    // The tool window during a run: log, progress, counts, Cancel only while it runs.
    void windowShowsTheRun() {
        install::InstallOptions o;
        o.facts = install::demoFacts();
        o.demoProperties = 50;
        TestInstallation inst(o);
        AppContext& ctx = inst.context();
        GuardarConfig(ctx.db(), "PORTALES", "URLFOTOS", Fotos);
        ctx.db().execute("UPDATE Tipos SET TipoPortales = NULL WHERE Nombre = 'Estudio'");
        const int estudios =
            ctx.db()
                .scalar("SELECT count(*) FROM Propiedades p JOIN Tipos t ON t.Cod = p.CodTipo "
                        "WHERE t.Nombre = 'Estudio' AND p.ExportacionWeb = TRUE AND ((Alquiler = FALSE "
                        "AND Estado = 'En Venta') OR (Alquiler = TRUE AND Estado = 'Libre'))")
                .toInt();
        frmExportacionPortales w(ctx);
        w.resize(720, 480);
        w.show();
        QCOMPARE(w.windowTitle(), QString("Exportación a portales"));
        QCOMPARE(accessibilityProblems(&w), QStringList());
        QVERIFY(!w.cmd(frmExportacionPortales::CmdCancelar)->isEnabled());
        // Nothing counted yet, and the bars say so.
        QCOMPARE(w.prgPropiedades()->text(), QString("0 / 0"));
        QCOMPARE(w.prgFotos()->text(), QString("0 / 0"));
        bool cancelarDuranteLaCorrida = false;
        connect(w.prgPropiedades(), &QProgressBar::valueChanged, &w, [&](int hechas) {
            if (hechas == w.prgPropiedades()->maximum() && !cancelarDuranteLaCorrida) {
                cancelarDuranteLaCorrida = w.cmd(frmExportacionPortales::CmdCancelar)->isEnabled() &&
                                           !w.cmd(frmExportacionPortales::CmdCerrar)->isEnabled();
                guardarCaptura(QStringLiteral("exportacion-portales"), &w);
            }
        });
        // No daemon here: the upload fails, and the window says so after the feed is written.
        GuardarConfig(ctx.db(), "WEB", "SERVIDOR", "127.0.0.1");
        GuardarConfig(ctx.db(), "WEB", "PUERTORSYNC", "1");
        QTest::mouseClick(w.cmd(frmExportacionPortales::CmdExportar), Qt::LeftButton);
        QVERIFY(cancelarDuranteLaCorrida);
        const QString log = w.txtLog()->toPlainText();
        QCOMPARE(log.split('\n').first(), QString("Iniciando exportación a portales ..."));
        QVERIFY2(
            log.contains(QRegularExpression("- La propiedad \\d+ no se publica: Tipo en portales: el tipo "
                                            "«Estudio» no tiene tipo en portales.")),
            qPrintable(log));
        QVERIFY(log.contains("La subida ha fallado"));
        QVERIFY(!w.ultimaCorrecta());
        const int publicadas = leerFeed(FicheroFeed(ctx)).propiedades.size();
        QVERIFY(publicadas > 0 && estudios > 0);
        QCOMPARE(w.lblPublicadas()->text(), QString("Publicadas: %1").arg(publicadas));
        QCOMPARE(w.lblRechazadas()->text(), QString("Rechazadas: %1").arg(estudios));
        QCOMPARE(w.prgPropiedades()->value(), publicadas + estudios);
        QCOMPARE(w.prgPropiedades()->text(), QString("%1 / %1").arg(publicadas + estudios));
        QCOMPARE(w.prgFotos()->text(), QString("%1 / %1").arg(w.prgFotos()->maximum()));
        QVERIFY(w.prgFotos()->maximum() > 1);
        QVERIFY(w.cmd(frmExportacionPortales::CmdCerrar)->isEnabled());
        QVERIFY(!w.cmd(frmExportacionPortales::CmdCancelar)->isEnabled());
        guardarCaptura(QStringLiteral("exportacion-portales-fin"), &w);
    }

    // Cancel pressed while the portal pictures are being made reaches the
    // run (the window is not frozen), and the previous feed stays as it was.
    void cancelDuringARunKeepsThePreviousFeed() {
        install::InstallOptions o;
        o.facts = install::demoFacts();
        // Enough pictures that making them outlasts the window's first progress
        // report, however quick the machine.
        o.demoProperties = 250;
        TestInstallation inst(o);
        AppContext& ctx = inst.context();
        GuardarConfig(ctx.db(), "PORTALES", "URLFOTOS", Fotos);
        {
            ExportacionPortales primera(ctx, AjustesPortales::leer(ctx));
            QVERIFY(primera.ejecutar(false));
        }
        const QByteArray anterior = portaltest::bytes(FicheroFeed(ctx));
        // A new run would write another feed, and must make its pictures again.
        ctx.db().execute("UPDATE Propiedades SET Precio = Precio + 1 WHERE Alquiler = FALSE");
        QDir portales(CarpetaPortales(ctx));
        for (const QString& foto : portales.entryList({"*.jpg"}, QDir::Files))
            QVERIFY(portales.remove(foto));

        frmExportacionPortales w(ctx);
        w.show();
        bool pulsado = false;
        connect(w.prgFotos(), &QProgressBar::valueChanged, &w, [&](int hechas) {
            if (hechas > 0 && !pulsado) {
                pulsado = true;
                // Delivered only if the run lets the window's events in.
                QTimer::singleShot(0, w.cmd(frmExportacionPortales::CmdCancelar), [&w] {
                    QTest::mouseClick(w.cmd(frmExportacionPortales::CmdCancelar), Qt::LeftButton);
                });
            }
        });
        QTest::mouseClick(w.cmd(frmExportacionPortales::CmdExportar), Qt::LeftButton);
        QVERIFY(pulsado);
        QCOMPARE(
            w.txtLog()->toPlainText().split('\n').last(),
            QString("Exportación a portales cancelada: los portales siguen leyendo el fichero anterior."));
        QVERIFY(!w.ultimaCorrecta());
        QCOMPARE(portaltest::bytes(FicheroFeed(ctx)), anterior);
        QCOMPARE(w.lblPublicadas()->text(), QString("Publicadas: 0"));
        QVERIFY(w.cmd(frmExportacionPortales::CmdExportar)->isEnabled());
        QVERIFY(!w.cmd(frmExportacionPortales::CmdCancelar)->isEnabled());
    }
};

QTEST_MAIN(tst_frmExportacionPortales)
#include "tst_frmexportacionportales.moc"
