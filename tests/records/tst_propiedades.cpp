// The property window of both sides on a real installation: tabs, codes and
// the counter, office ownership, lookup lists, web flags, buttons.

#include "Accessibility.h"
#include "FakeMail.h"
#include "TestInstallation.h"
#include "TestNavigator.h"
#include "TestServers.h"
#include "platform/report/PreviewWindow.h"
#include "records/PanelPropietario.h"
#include "records/frmPropiedades.h"
#include "records/frmPropietarioNuevo.h"
#include "shell/ConfigStore.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace orb;
using namespace orb::prop;

class TestPropiedades : public QObject {
    Q_OBJECT

    std::unique_ptr<TestInstallation> inst;
    AppContext& ctx() { return inst->context(); }
    QVariant campo(const QString& cod, const QString& field) {
        return ctx().db().scalar(QStringLiteral("SELECT %1 FROM Propiedades WHERE Cod = ?").arg(field),
                                 {cod});
    }
    int propiedades() { return ctx().db().scalar("SELECT count(*) FROM Propiedades").toInt(); }
    void propiedad(const QString& cod, const QString& agencia, int quick, bool alquiler,
                   const QString& extra = {}, const db::Params& valores = {}) {
        ctx().db().execute(
            QStringLiteral("INSERT INTO Propiedades (Cod, Agencia, QuickID, Alquiler, Estado%1) "
                           "VALUES (?, ?, ?, ?, ?%2)")
                .arg(extra.isEmpty() ? QString() : ", " + extra,
                     QString(", ?").repeated(int(valores.size()))),
            db::Params{cod, agencia, quick, alquiler, alquiler ? "Libre" : "En Venta"} + valores);
    }
    QString contador() { return LeerConfig(ctx().db(), "CONTADORES", "PROPIEDADES").toString(); }
    QStringList elementos(QComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    }

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() {
        inst = std::make_unique<TestInstallation>();
        for (const char* t : {"Propiedades", "Propietarios", "Actividades", "Tipos", "Localidades", "Areas"})
            ctx().db().execute(QStringLiteral("DELETE FROM %1").arg(t));
        ctx().facts.CodigoOficina = "01";
        ctx().AddAgainConfig = false;
    }
    void cleanup() { inst.reset(); }

    void rentalsWindowHasItsTabsStatesAndOnlyRentalsInOfficeOrder() {
        propiedad("0200001", "02", 1, true);
        propiedad("0100002", "01", 2, true);
        propiedad("0100001", "01", 1, true);
        propiedad("0100003", "01", 3, false);
        frmPropiedades w(ctx(), true);
        QCOMPARE(w.tabs->count(), 8);
        QVERIFY(w.tabs->isTabVisible(TabAlquiler) && w.tabs->isTabVisible(TabInquilino));
        QVERIFY(w.chk[Destacada]->isHidden());
        QCOMPARE(elementos(w.cbo[Estado]), QStringList({"Libre", "Alquilada"}));
        QStringList vistos;
        for (int i = 0; i < 4; ++i) {
            vistos << w.txt[Cod]->Text();
            w.cmdNext->click();
        }
        QCOMPARE(vistos, QStringList({"0100001", "0100002", "0200001", "0200001"}));
        QCOMPARE(w.cbo[Estado]->Text(), QString("Libre"));
        QVERIFY2(accessibilityProblems(&w).isEmpty(), qPrintable(accessibilityProblems(&w).join(QChar(10))));

        frmPropiedades v(ctx(), false);
        QVERIFY(!v.chk[Destacada]->isHidden());
        QCOMPARE(elementos(v.cbo[Estado]), QStringList({"En Venta", "Vendida", "Stand By"}));
        QCOMPARE(v.txt[Cod]->Text(), QString("0100003"));
        v.cmdNext->click();
        QCOMPARE(v.txt[Cod]->Text(), QString("0100003")); // the only sale
        QVERIFY2(accessibilityProblems(&v).isEmpty(), qPrintable(accessibilityProblems(&v).join('\n')));
    }

    // The deposit reads "1 mes", "2 meses", whatever the record or the user puts in.
    void depositOfOneMonthReadsInTheSingular() {
        propiedad("0100001", "01", 1, true, "Fianza", {1});
        propiedad("0100002", "01", 2, true, "Fianza", {2});
        frmPropiedades w(ctx(), true);
        QLabel* meses = nullptr;
        for (QLabel* l : w.txt[Fianza]->widget()->parentWidget()->findChildren<QLabel*>())
            if (l->text().startsWith("mes"))
                meses = l;
        QVERIFY(meses);
        QCOMPARE(meses->text(), "mes");
        w.cmdNext->click();
        QCOMPARE(meses->text(), "meses");
        w.cmdEdit->click();
        w.txt[Fianza]->setText("1");
        QCOMPARE(meses->text(), "mes");
    }

    // The tabs a screen reader is told about are the ones on the screen: the
    // sales window has no rental or tenant tab, nor their boxes.
    void accessibilityTreeListsTheTabsOnScreen_data() {
        QTest::addColumn<bool>("alquiler");
        QTest::addColumn<QStringList>("pestañas");
        const QStringList venta = {"Características", "Confidencial", "Fotos",
                                   "Actividades",     "Dossier",      "Web"};
        QStringList alquiler = venta;
        alquiler.insert(3, "Datos Inquilino");
        alquiler.insert(3, "Datos Alquiler");
        QTest::newRow("sales") << false << venta;
        QTest::newRow("rentals") << true << alquiler;
    }
    void accessibilityTreeListsTheTabsOnScreen() {
        QFETCH(bool, alquiler);
        QFETCH(QStringList, pestañas);
        propiedad("0100001", "01", 1, alquiler, "Fianza, INombre", {"2", "Luis"});
        frmPropiedades w(ctx(), alquiler);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList enPantalla;
        for (int i = 0; i < w.tabs->count(); ++i)
            if (w.tabs->isTabVisible(i))
                enPantalla << w.tabs->tabText(i);
        QCOMPARE(enPantalla, pestañas);
        QCOMPARE(shownAccessibleNames(&w, QAccessible::PageTab), pestañas);
        // Whatever tab is open, the rental boxes are spoken only on the rentals window.
        for (int i = 0; i < w.tabs->count(); ++i) {
            w.tabs->setCurrentIndex(i);
            const QStringList cajas = shownAccessibleNames(&w, QAccessible::EditableText);
            for (int campo : {Fianza, INombre}) {
                const QString nombre = w.txt[campo]->widget()->accessibleName();
                const bool suPestaña = w.tabs->currentWidget()->isAncestorOf(w.txt[campo]->widget());
                QVERIFY2(cajas.contains(nombre) == (alquiler && suPestaña), qPrintable(nombre));
            }
        }
        // The boxes are still the record's: browsing shows what is stored.
        QCOMPARE(w.txt[Fianza]->Text(), QString("2"));
        QCOMPARE(w.txt[INombre]->Text(), QString("Luis"));
    }

    void addTakesReservedNumberAndAdvancesCounterOnlyWhenStored_data() {
        QTest::addColumn<QString>("quickId"); // typed over the proposal; "" keeps it
        QTest::addColumn<bool>("alquiler");
        QTest::addColumn<QString>("cod");
        QTest::newRow("proposed, sales") << "" << false << "0100042";
        QTest::newRow("typed 50, rentals") << "50" << true << "0100050";
    }
    void addTakesReservedNumberAndAdvancesCounterOnlyWhenStored() {
        QFETCH(QString, quickId);
        QFETCH(bool, alquiler);
        QFETCH(QString, cod);
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIEDADES", 41);
        GuardarConfig(ctx().db(), "CODIGOS", "MASCARA", "00000");
        frmPropiedades w(ctx(), alquiler);
        QVERIFY(w.data->EstadoVacio());
        w.PulsarAñadir();
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(w.txt[Agencia]->Text(), QString("01"));
        QCOMPARE(w.txt[QuickID]->Text(), QString("42"));
        QCOMPARE(w.txt[FechaAlta]->Text(), QDate::currentDate().toString("dd/MM/yyyy"));
        QCOMPARE(w.cbo[Estado]->Text(), alquiler ? QString("Libre") : QString("En Venta"));
        QCOMPARE(w.cbo[Orientacion]->Text(), QString("--"));
        QCOMPARE(w.cbo[Piscina]->Text(), QString("N"));
        QCOMPARE(contador(), QString("41")); // reserved, not taken yet
        if (!quickId.isEmpty())
            w.txt[QuickID]->setText(quickId);
        w.txt[Direccion]->setText("Calle Real, 1");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(campo(cod, "Direccion").toString(), QString("Calle Real, 1"));
        QCOMPARE(campo(cod, "Estado").toString(), alquiler ? QString("Libre") : QString("En Venta"));
        QCOMPARE(campo(cod, "Alquiler").toBool(), alquiler);
        QCOMPARE(campo(cod, "Orientacion").toString(), QString("--"));
        QCOMPARE(campo(cod, "FechaAlta").toDate(), QDate::currentDate());
        QCOMPARE(contador(), QString("42")); // to the reserved number, whatever was typed

        // The next add proposes the number after the counter.
        w.PulsarAñadir();
        QCOMPARE(w.txt[QuickID]->Text(), QString("43"));
    }

    void cancelledAddLeavesCounterAndTableAlone() {
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIEDADES", 41);
        propiedad("0100007", "01", 7, false, "Direccion", {"Plaza Mayor"});
        frmPropiedades w(ctx(), false);
        w.cmdAdd->click();
        w.txt[Direccion]->setText("No se guarda");
        w.cmdCancel->click();
        QVERIFY(w.data->EstadoPaseando());
        QCOMPARE(w.txt[Direccion]->Text(), QString("Plaza Mayor"));
        QCOMPARE(contador(), QString("41"));
        QCOMPARE(propiedades(), 1);
        w.cmdAdd->click();
        QCOMPARE(w.txt[QuickID]->Text(), QString("42")); // proposed again
    }

    void anotherOfficesPropertyIsBrowsableNotEditable() {
        propiedad("0100001", "01", 1, false, "Direccion", {"Propia"});
        propiedad("0200001", "02", 1, false, "Direccion", {"Ajena"});
        frmPropiedades w(ctx(), false);
        QVERIFY(w.cmdEdit->isEnabled() && w.cmdDel->isEnabled());
        w.cmdNext->click();
        QCOMPARE(w.txt[Direccion]->Text(), QString("Ajena"));
        QVERIFY(!w.cmdEdit->isEnabled() && !w.cmdDel->isEnabled());
        w.cmdFirst->click();
        w.IrRegistro("0200001"); // as the search positions it
        QCOMPARE(w.txt[Direccion]->Text(), QString("Ajena"));
        QVERIFY(!w.cmdEdit->isEnabled() && !w.cmdDel->isEnabled());
        w.IrRegistro("9999999");
        QCOMPARE(w.txt[Direccion]->Text(), QString("Ajena"));

        // Even forced into edit, the confirm is refused and nothing changes.
        w.data->PulsarEditar();
        w.txt[Direccion]->setText("Cambiada");
        w.data->PulsarAceptar();
        QCOMPARE(inst->dialogs().texts(),
                 QStringList({"No puede manipularse esta información porque no pertenece a esta oficina"}));
        QVERIFY(w.data->EstadoModificando());
        QCOMPARE(campo("0200001", "Direccion").toString(), QString("Ajena"));
    }

    void localityRefillsAreasWithoutChangingStoredArea() {
        ctx().db().execute("INSERT INTO Tipos (Cod, Nombre) VALUES (1, 'Piso'), (2, 'Chalet')");
        ctx().db().execute("INSERT INTO Localidades (Cod, Nombre) VALUES (1, 'Nerja'), (2, 'Mijas')");
        ctx().db().execute("INSERT INTO Areas (Cod, Nombre, CodLocalidad) VALUES (10, 'Centro', 1), "
                           "(11, 'Burriana', 1), (20, 'Las Lagunas', 2)");
        propiedad("0100001", "01", 1, false, "CodTipo, CodLocalidad, CodArea", {2, 1, 11});
        propiedad("0100002", "01", 2, false, "CodTipo, CodLocalidad, CodArea", {99, 2, 20});
        frmPropiedades w(ctx(), false);
        QCOMPARE(w.cboLookup[CodTipo]->currentText(), QString("Chalet"));
        QCOMPARE(w.cboLookup[CodLocalidad]->currentText(), QString("Nerja"));
        QCOMPARE(elementos(w.cboLookup[CodArea]), QStringList({"Burriana", "Centro"}));
        QCOMPARE(w.cboLookup[CodArea]->currentText(), QString("Burriana"));

        w.cmdEdit->click();
        auto* localidad = w.cboLookup[CodLocalidad];
        const int mijas = localidad->findText("Mijas");
        localidad->setCurrentIndex(mijas);
        Q_EMIT localidad->activated(mijas);
        QCOMPARE(w.txt[CodLocalidad]->Text(), QString("2"));
        QCOMPARE(elementos(w.cboLookup[CodArea]), QStringList({"Las Lagunas"}));
        QCOMPARE(w.cboLookup[CodArea]->currentIndex(), -1);
        QCOMPARE(w.txt[CodArea]->Text(), QString("11"));
        w.cmdOk->click();
        QCOMPARE(campo("0100001", "CodLocalidad").toInt(), 2);
        QCOMPARE(campo("0100001", "CodArea").toInt(), 11);

        // An unknown type code selects nothing and stays stored.
        w.cmdNext->click();
        QCOMPARE(w.cboLookup[CodTipo]->currentIndex(), -1);
        QCOMPARE(w.cboLookup[CodArea]->currentText(), QString("Las Lagunas"));
    }

    // Amounts and dates reformatted on load and on leaving a box; "Destacada"
    // implies the web export.
    void editedBoxesAreReformattedAndWebFlagsFollow() {
        propiedad("0100001", "01", 1, false, "Precio, PPrecio, ExportacionWeb, ExportacionWebDestacada",
                  {250000, 1500.4, true, true});
        frmPropiedades w(ctx(), false);
        QCOMPARE(w.txt[Precio]->Text(), QString("250.000"));
        QCOMPARE(w.txt[PPrecio]->Text(), QString("1.500"));
        w.cmdEdit->click();
        auto* fecha = static_cast<ui::BoundTextBox*>(w.txt[FechaAlta]);
        fecha->setText("5/3/2024");
        Q_EMIT fecha->editingFinished();
        QCOMPARE(fecha->text(), QString("05/03/2024"));
        fecha->setText("ayer");
        Q_EMIT fecha->editingFinished();
        QCOMPARE(fecha->text(), QString("ayer")); // not a date: stays as typed
        fecha->setText("05/03/2024");
        auto* precio = static_cast<ui::BoundTextBox*>(w.txt[Precio]);
        precio->setText("310000");
        Q_EMIT precio->editingFinished();
        QCOMPARE(precio->text(), QString("310.000"));
        w.chk[ExportacionWeb]->click();
        QCOMPARE(w.chk[ExportacionWeb]->Value(), 0);
        QCOMPARE(w.chk[Destacada]->Value(), 0);
        w.chk[Destacada]->click();
        QCOMPARE(w.chk[ExportacionWeb]->Value(), 1);
        w.chk[Destacada]->click(); // unchecking "Destacada" leaves the export alone
        QCOMPARE(w.chk[ExportacionWeb]->Value(), 1);
        w.cmdOk->click();
        QVERIFY(inst->dialogs().boxes().isEmpty());
        QCOMPARE(campo("0100001", "Precio").toDouble(), 310000.0);
        QCOMPARE(campo("0100001", "FechaAlta").toDate(), QDate(2024, 3, 5));
        QCOMPARE(campo("0100001", "PPrecio").toDouble(), 1500.4); // untouched box, not rewritten
        QCOMPARE(campo("0100001", "ExportacionWeb").toBool(), true);
        QCOMPARE(campo("0100001", "ExportacionWebDestacada").toBool(), false);
    }

    void ownerPanelAndEmailButtons() {
        FakeMail mail;
        TestNavigator nav(ctx());
        ctx().db().execute("INSERT INTO Propietarios (Cod, Agencia, QuickID, Alquiler, Nombre, Movil, Email) "
                           "VALUES ('0100005', '01', 5, TRUE, 'Ana Pérez', '600 111 222', 'ana@correo.es'), "
                           "('0100006', '01', 6, TRUE, 'Sin Correo', '', NULL)");
        propiedad("0100001", "01", 1, true, "CodPropietario, INombre, IEmail", {"0100005", "Luis", ""});
        propiedad("0100002", "01", 2, true, "CodPropietario", {"0100006"});
        propiedad("0100003", "01", 3, true, "CodPropietario", {"0999999"});
        frmPropiedades w(ctx(), true);
        auto& lbl = w.propietario->lblPropietario;
        QCOMPARE(lbl[0]->text(), QString("Ana Pérez"));
        QCOMPARE(lbl[6]->text(), QString("600 111 222"));
        QCOMPARE(lbl[11]->text(), QString("ana@correo.es"));
        w.butEmailTo[1]->click();
        QCOMPARE(mail.calls().size(), 1);
        QVERIFY(mail.calls()[0].join(' ').contains("ana@correo.es"));

        // The tenant's address as shown, while editing too.
        w.butEmailTo[0]->click(); // empty: nothing
        QCOMPARE(mail.calls().size(), 1);
        w.cmdEdit->click();
        w.txt[IEmail]->setText("luis@correo.es");
        QVERIFY(w.butEmailTo[0]->isEnabled());
        w.butEmailTo[0]->click();
        QCOMPARE(mail.calls().size(), 2);
        QVERIFY(mail.calls()[1].join(' ').contains("luis@correo.es"));
        w.cmdCancel->click();

        w.cmdNext->click();
        QCOMPARE(lbl[0]->text(), QString("Sin Correo"));
        w.butEmailTo[1]->click(); // an owner without address: nothing
        QCOMPARE(mail.calls().size(), 2);
        w.cmdNext->click();
        for (QLabel* l : lbl)
            QVERIFY(l->text().isEmpty());
        QVERIFY(inst->dialogs().boxes().isEmpty());
    }

    // Keyboard only: Space on "Nuevo" opens the new-owner dialog; once it is
    // closed the focus is back in the form, so the next Space types, not reopens.
    void newOwnerDialogGivesTheFocusBackToTheForm_data() {
        QTest::addColumn<bool>("aceptar");
        QTest::newRow("accepted") << true;
        QTest::newRow("cancelled") << false;
    }
    void newOwnerDialogGivesTheFocusBackToTheForm() {
        QFETCH(bool, aceptar);
        propiedad("0100001", "01", 1, false);
        frmPropiedades w(ctx(), false);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cmdEdit->click();
        w.tabs->setCurrentWidget(w.picDatosPropietario);
        QPushButton* nuevo = w.propietario->butPropietario[PanelPropietario::Nuevo];
        nuevo->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), nuevo);
        int dialogos = 0;
        // Answers the dialog that opens, as a person at the keyboard would; the
        // window's end cancels one left waiting.
        const auto responder = [&] {
            QTimer::singleShot(0, &w, [&] {
                QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000));
                auto* dlg = qobject_cast<frmPropietarioNuevo*>(QApplication::activeModalWidget());
                QVERIFY(dlg);
                ++dialogos;
                QTRY_VERIFY(QApplication::focusWidget() && dlg->isAncestorOf(QApplication::focusWidget()));
                QCOMPARE(QApplication::focusWidget(), dlg->txt[2]); // Nombre
                if (aceptar) {
                    QTest::keyClicks(QApplication::focusWidget(), "Ana Perez");
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                } else {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                }
            });
        };
        responder();
        QTest::keyClick(nuevo, Qt::Key_Space);
        QCOMPARE(dialogos, 1);
        QWidget* destino = (aceptar ? w.txt[Direccion] : w.txt[CodPropietario])->widget();
        // The window manager gives the window back its activation (offscreen does not).
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(QApplication::focusWidget(), destino);
        if (aceptar) {
            const QString cod = w.txt[CodPropietario]->Text();
            QCOMPARE(ctx().db().scalar("SELECT Nombre FROM Propietarios WHERE Cod = ?", {cod}).toString(),
                     QString("Ana Perez"));
        }
        responder(); // answers a dialog the key would wrongly open again
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(dialogos, 1);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void documentButtonsActOnTheStoredRecordOnlyWhileBrowsing() {
        FakeMail mail;
        TestNavigator nav(ctx());
        GuardarConfig(ctx().db(), "CODIGOS", "MASCARA", "00000");
        propiedad("0100001", "01", 1, false, "Direccion", {"Calle Mayor, 3"});
        frmPropiedades w(ctx(), false);
        const auto activos = [&] {
            int n = 0;
            for (QToolButton* b : {w.butPrint, w.butDossier, w.butPDF, w.butEmail})
                n += b->isEnabled() ? 1 : 0;
            return n;
        };
        QCOMPARE(activos(), 4);
        w.cmdAdd->click();
        QCOMPARE(activos(), 0);
        w.cmdCancel->click();
        QCOMPARE(activos(), 4);
        // A changed number gives a new code: after the confirm the documents are the new code's.
        w.cmdEdit->click();
        QCOMPARE(activos(), 0);
        w.txt[QuickID]->setText("9");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(activos(), 4);
        QCOMPARE(campo("0100009", "QuickID").toInt(), 9);
        QVERIFY(campo("0100001", "QuickID").isNull()); // the old code is gone

        w.butPrint->click();
        w.butDossier->click();
        QCOMPARE(nav.shown, QStringList({"usrShowReport:Ficha de Propiedad", "usrShowReport2:Dossier"}));
        QCOMPARE(nav.reports.size(), 2);
        auto* ficha = qobject_cast<report::PreviewWindow*>(nav.reports[0].data());
        auto* dossier = qobject_cast<report::PreviewWindow*>(nav.reports[1].data());
        QVERIFY(ficha && dossier);
        QVERIFY(ficha->document().pageCount() >= 1 && dossier->document().pageCount() >= 1);
        QVERIFY2(ficha->document().pageText(0).contains("0100009") &&
                     ficha->document().pageText(0).contains("Calle Mayor, 3"),
                 qPrintable(ficha->document().pageText(0)));

        const QString pdf = inst->path() + "DossierPropiedad_0100009.pdf";
        QVERIFY(!QFile::exists(pdf));
        inst->dialogs().queueAnswer(ui::DialogService::Answer::No); // not opened now
        w.butPDF->click();
        QCOMPARE(inst->dialogs().texts(),
                 QStringList{"Dossier guardado en " + pdf + ".\n\n¿Quiere abrirlo ahora?"});
        inst->dialogs().clear();
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.read(5) == "%PDF-");
        f.close();
        QFile::remove(pdf);
        w.butEmail->click();
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(mail.calls().size(), 1);
        QCOMPARE(mail.calls().first(),
                 (QStringList{"--utf8", "--subject", "Dossier propiedad 0100009", "--body",
                              "Adjunto dossier de la propiedad 0100009", "--attach", pdf}));
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
    }

    void numberTakenMeanwhileOrTypedTwice() {
        GuardarConfig(ctx().db(), "CONTADORES", "PROPIEDADES", 41);
        GuardarConfig(ctx().db(), "CODIGOS", "MASCARA", "00000");
        propiedad("0100050", "01", 50, false, "Direccion", {"Ya estaba"});
        frmPropiedades w(ctx(), false);
        // Another seat stores 42 while this add shows it: the confirm takes the next free number.
        w.cmdAdd->click();
        QCOMPARE(w.txt[QuickID]->Text(), QString("42"));
        propiedad("0100042", "01", 42, false);
        w.txt[Direccion]->setText("Primera");
        w.cmdOk->click();
        QVERIFY2(inst->dialogs().boxes().isEmpty(), qPrintable(inst->dialogs().texts().join('|')));
        QCOMPARE(campo("0100043", "Direccion").toString(), QString("Primera"));
        QCOMPARE(contador(), QString("43"));

        // A number typed by hand that is taken is told in plain words; nothing is written.
        const auto antes = ctx().db().query("SELECT * FROM Propiedades ORDER BY Cod");
        w.cmdAdd->click();
        w.txt[QuickID]->setText("50");
        w.txt[Direccion]->setText("Segunda");
        w.cmdOk->click();
        QCOMPARE(inst->dialogs().texts(),
                 QStringList{"Se ha producido el error (3022 - No se realizaron los cambios porque crearían "
                             "valores duplicados en el índice o la clave principal) al pulsar el botón de "
                             "aceptar.\nYa existe un registro con el código 0100050."});
        QVERIFY(w.data->EstadoAñadiendo());
        QCOMPARE(ctx().db().query("SELECT * FROM Propiedades ORDER BY Cod"), antes);
        QCOMPARE(contador(), QString("43"));

        // The number box is a code: empty or zero is refused naming it.
        for (const char* malo : {"", "0"}) {
            inst->dialogs().clear();
            w.txt[QuickID]->setText(malo);
            w.cmdOk->click();
            QCOMPARE(inst->dialogs().texts().size(), 1);
            QVERIFY2(inst->dialogs().texts().first().startsWith("Número:"),
                     qPrintable(inst->dialogs().texts().first()));
            QVERIFY(w.data->EstadoAñadiendo());
        }
        QCOMPARE(ctx().db().query("SELECT * FROM Propiedades ORDER BY Cod"), antes);
    }
};

QTEST_MAIN(TestPropiedades)
#include "tst_propiedades.moc"
