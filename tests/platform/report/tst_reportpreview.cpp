// The preview window: pages, navigation, zoom, printing through the print
// dialog of the dialog service, and names a screen reader can say.

#include "Accessibility.h"
#include "Capturas.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/widgets/DialogService.h"

#include <QGraphicsView>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

using namespace report;

namespace {

Report listado() {
    Report r = Report::load(QStringLiteral(ORBALIA_SOURCE_DIR "/tests/platform/report/listado.xml"));
    r.setFormatter("importe", [](const QVariant& v) { return v.toString() + " €"; });
    return r;
}

RowsDataSource rows(int n) {
    QList<QVariantList> data;
    for (int i = 1; i <= n; ++i)
        data << QVariantList{QStringLiteral("C%1").arg(i), QStringLiteral("Nombre %1").arg(i), i * 10};
    return RowsDataSource({"Cod", "Nombre", "Precio"}, data);
}

QAction* action(QWidget* w, const QString& text) {
    for (QAction* a : w->findChild<QToolBar*>()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

class TestReportPreview : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsNavigatesAndZooms() {
        ui::ScriptedDialogService dialogs;
        PreviewWindow w(dialogs);
        auto source = rows(100);
        w.generate(listado(), &source);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.pageCount(), 3);
        QCOMPARE(w.previewWidget()->pageCount(), 3);
        auto* label = w.findChild<QLabel*>("lblPagina");
        QCOMPARE(label->text(), "Página 1 de 3");

        action(&w, "Página siguiente")->trigger();
        QCOMPARE(w.currentPage(), 2);
        QCOMPARE(label->text(), "Página 2 de 3");
        action(&w, "Última página")->trigger();
        action(&w, "Página siguiente")->trigger(); // stays on the last
        QCOMPARE(label->text(), "Página 3 de 3");
        action(&w, "Primera página")->trigger();
        QCOMPARE(w.currentPage(), 1);

        action(&w, "Página completa")->trigger();
        const double whole = w.zoomFactor();
        action(&w, "Ampliar")->trigger();
        QVERIFY(w.zoomFactor() > whole * 1.2);
        action(&w, "Reducir")->trigger();
        QVERIFY(qAbs(w.zoomFactor() - whole) < 0.01);

        QVERIFY2(accessibilityProblems(&w).isEmpty(), qPrintable(accessibilityProblems(&w).join('\n')));
    }

    void opensAtTheTopOfTheFirstPage() {
        ui::ScriptedDialogService dialogs;
        PreviewWindow w(dialogs);
        auto source = rows(100);
        w.generate(listado(), &source);
        w.resize(500, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // As a report window is: shown, then made larger.
        w.resize(700, 600);
        auto* vista = w.previewWidget()->findChild<QGraphicsView*>();
        QVERIFY(vista);
        QScrollBar* barra = vista->verticalScrollBar();
        QTRY_VERIFY(barra->maximum() > 0);
        QTest::qWait(50);
        QCOMPARE(barra->value(), barra->minimum());
        QCOMPARE(w.currentPage(), 1);
        guardarCaptura(QStringLiteral("vista-previa"), &w);
    }

    void printsThroughThePrintDialog() {
        QTemporaryDir dir;
        ui::ScriptedDialogService dialogs;
        PreviewWindow w(dialogs);
        auto source = rows(50);
        w.generate(listado(), &source);

        // Cancelled: nothing printed.
        action(&w, "Imprimir")->trigger();
        QCOMPARE(dialogs.boxes().size(), 1);
        QCOMPARE(dialogs.boxes()[0].title, "Imprimir");

        const QString pdf = dir.filePath("impreso.pdf");
        dialogs.queuePrintFile(pdf);
        action(&w, "Imprimir")->trigger();
        QProcess p;
        p.start("pdftotext", {pdf, "-"});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains("Página 2 de 2"), qPrintable(text));
        QVERIFY(text.contains("Nombre 50"));
        QCOMPARE(dialogs.boxes().size(), 2); // no error box
    }
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
