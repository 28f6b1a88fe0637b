// The lookup dialogs driven as a user would, on a real installation.

#include "TestInstallation.h"
#include "platform/widgets/QueryTableModel.h"
#include "search/Consultar.h"
#include "search/frmConsulta.h"
#include "search/frmConsultaDossier.h"
#include "search/frmConsultaPropietario.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <functional>

using namespace orb;

namespace {

void localidad(db::Database& d, int cod, const QString& nombre) {
    d.execute("INSERT INTO Localidades (Cod, Nombre) VALUES (?, ?)", {cod, nombre});
}
void cliente(db::Database& d, const QString& cod, const QString& nombre, bool alquiler) {
    d.execute("INSERT INTO Clientes (Cod, Nombre, Alquiler) VALUES (?, ?, ?)", {cod, nombre, alquiler});
}
void propietario(db::Database& d, const QString& cod, const QString& nombre, bool alquiler) {
    d.execute("INSERT INTO Propietarios (Cod, Nombre, Alquiler) VALUES (?, ?, ?)", {cod, nombre, alquiler});
}

// Column of a grid as the user reads it.
QStringList columna(const QTableView* grd, int col) {
    QStringList r;
    for (int i = 0; i < grd->model()->rowCount(); ++i)
        r << grd->model()->index(i, col).data().toString();
    return r;
}

QStringList ordenada(QStringList l) {
    l.sort();
    return l;
}

void elegirFila(QTableView* grd, int fila) {
    grd->setCurrentIndex(grd->model()->index(fila, 1));
}

void dobleClic(QAbstractItemView* v, const QModelIndex& i) {
    const QPoint p = v->visualRect(i).center();
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, p);
}

// Buscar through the keyboard: text typed in a filter, then Enter.
void teclearFiltro(QLineEdit* e, const QString& texto) {
    e->setFocus();
    e->clear();
    QTest::keyClicks(e, texto);
    QTest::keyClick(e, Qt::Key_Return);
}

} // namespace

// One installation, its lookups, and a stand-in for the user.
class Escenario {
public:
    TestInstallation inst;
    int mostrados = 0;

    AppContext& ctx() { return inst.context(); }
    db::Database& db() { return ctx().db(); }
    Lookups& lookups() {
        if (!lookups_)
            lookups_ = std::make_unique<Lookups>(ctx());
        return *lookups_;
    }

    // Consultar with the user's part played by actuar, from inside the
    // dialog's modal loop. Whatever actuar leaves open is cancelled, so no
    // test can wait for a person.
    QVariant consultar(const QString& entidad, std::function<void(QDialog*)> actuar = {}) {
        lookups().beforeExec = [this, actuar](QDialog* d) {
            ++mostrados;
            QTimer::singleShot(0, d, [d, actuar] {
                if (QTest::qWaitFor([d] { return d->isVisible(); }, 5000) && actuar)
                    actuar(d);
                if (d->isVisible())
                    d->reject();
            });
        };
        return lookups().Consultar(entidad);
    }

private:
    std::unique_ptr<Lookups> lookups_;
};

class TestConsultar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void localityKeywordsOpenTheSameList() {
        Escenario e;
        localidad(e.db(), 3, "Marbella");
        localidad(e.db(), 7, "Ronda");

        QDialog* primero = nullptr;
        QStringList codigos, nombres;
        const QVariant r1 = e.consultar("Localidades", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsulta*>(d);
            QVERIFY(f);
            primero = d;
            QCOMPARE(f->windowTitle(), QString("Consulta de Localidades"));
            QCOMPARE(f->lblCaption->text(), QString("LOCALIDADES"));
            QCOMPARE(f->grd->model()->headerData(0, Qt::Horizontal).toString(), QString("Cod"));
            QCOMPARE(f->grd->model()->headerData(1, Qt::Horizontal).toString(), QString("Nombre"));
            QVERIFY(f->grd->columnWidth(0) < f->grd->columnWidth(1));
            codigos = columna(f->grd, 0);
            nombres = columna(f->grd, 1);
            elegirFila(f->grd, nombres.indexOf("Ronda"));
            f->cmd[0]->click();
        });
        QCOMPARE(ordenada(codigos), (QStringList{"3", "7"}));
        QCOMPARE(ordenada(nombres), (QStringList{"Marbella", "Ronda"}));
        QCOMPARE(r1.toInt(), 7);

        // Same dialog, same rows; a double click picks.
        const QVariant r2 = e.consultar("LOCALIDAD", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsulta*>(d);
            QCOMPARE(d, primero);
            QCOMPARE(columna(f->grd, 0), codigos);
            QCOMPARE(f->lblCaption->text(), QString("LOCALIDADES"));
            dobleClic(f->grd, f->grd->model()->index(nombres.indexOf("Marbella"), 1));
        });
        QCOMPARE(r2.toInt(), 3);

        // Keyboard: the grid has the focus on the first row; Down and Enter pick the second.
        const QVariant r3 = e.consultar("localidades", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsulta*>(d);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->grd));
            QCOMPARE(f->grd->currentIndex().row(), 0);
            QTest::keyClick(f->grd, Qt::Key_Down);
            QTest::keyClick(f->grd, Qt::Key_Return);
        });
        QCOMPARE(r3.toString(), codigos[1]);
        QCOMPARE(e.mostrados, 3);
    }

    void unknownKeywordShowsNothing() {
        Escenario e;
        for (const QString k : {"Tipos", "", "PROPIETARIOS", "Localidad "}) {
            const QVariant r = e.consultar(k);
            QVERIFY2(!r.isValid(), qPrintable(k));
        }
        QCOMPARE(e.mostrados, 0);
        QVERIFY(!e.lookups().consulta());
        QVERIFY(!e.lookups().consultaPropietario());
        QVERIFY(!e.lookups().consultaDossier());
    }

    void cancellingGivesNothing() {
        Escenario e;
        e.ctx().facts.ModelosDossier = 2;
        localidad(e.db(), 1, "Mijas");
        cliente(e.db(), "0100001", "Ana", false);
        cliente(e.db(), "0100002", "Berta", true);
        propietario(e.db(), "0100001", "Carlos", false);
        propietario(e.db(), "0100002", "Dora", true);

        // The Cancel button, the close box and Escape all cancel.
        const QList<std::function<void(QDialog*)>> maneras = {
            [](QDialog* d) { d->findChild<QPushButton*>("cmd(1)")->click(); },
            [](QDialog* d) { QVERIFY(d->close()); },
            [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
        };
        for (const QString k :
             {"Cliente", "ClientesAlquiler", "Localidad", "Propietario", "PropietarioAlquiler"}) {
            for (int m = 0; m < maneras.size(); ++m) {
                bool habiaFilas = false;
                const QVariant r = e.consultar(k, [&](QDialog* d) {
                    auto* grd = d->findChild<QTableView*>("grd");
                    habiaFilas = grd->model()->rowCount() == 1 && grd->currentIndex().isValid();
                    maneras[m](d);
                    QVERIFY(!d->isVisible());
                });
                QVERIFY2(habiaFilas, qPrintable(k));
                QVERIFY2(!r.isValid(), qPrintable(QString("%1 %2").arg(k).arg(m)));
            }
        }
        for (int m = 0; m < maneras.size(); ++m) {
            const QVariant r = e.consultar("Dossier", maneras[m]);
            QVERIFY(r.isValid());
            QCOMPARE(r.toInt(), 0);
        }
        // A pick after cancels still works.
        QCOMPARE(e.consultar("Cliente", [](QDialog* d) { d->findChild<QPushButton*>("cmd(0)")->click(); })
                     .toString(),
                 QString("0100001"));
    }

    void dossierChooserKeepsItsSelection() {
        Escenario e;
        e.ctx().facts.ModelosDossier = 3;
        QStringList lineas;
        const QVariant r1 = e.consultar("DOSSIER", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsultaDossier*>(d);
            QVERIFY(f);
            QCOMPARE(f->windowTitle(), QString("Elección de Dossier"));
            for (int i = 0; i < f->lst->count(); ++i)
                lineas << f->lst->item(i)->text();
            QCOMPARE(f->lst->currentRow(), 0);
            f->lst->setCurrentRow(1);
            f->cmd[0]->click();
        });
        QCOMPARE(lineas, (QStringList{"Dossier nº 1", "Dossier nº 2", "Dossier nº 3"}));
        QCOMPARE(r1.toInt(), 2);

        int preseleccion = -1;
        const QVariant r2 = e.consultar("Dossiers", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsultaDossier*>(d);
            preseleccion = f->lst->currentRow();
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->lst));
            QTest::keyClick(f->lst, Qt::Key_Return);
        });
        QCOMPARE(preseleccion, 1);
        QCOMPARE(r2.toInt(), 2);

        // A cancel keeps the selection too; a double click picks.
        QCOMPARE(e.consultar("dossier",
                             [](QDialog* d) {
                                 auto* f = qobject_cast<frmConsultaDossier*>(d);
                                 f->lst->setCurrentRow(2);
                                 f->cmd[1]->click();
                             })
                     .toInt(),
                 0);
        const QVariant r4 = e.consultar("dossier", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsultaDossier*>(d);
            preseleccion = f->lst->currentRow();
            dobleClic(f->lst, f->lst->model()->index(preseleccion, 0));
        });
        QCOMPARE(preseleccion, 2);
        QCOMPARE(r4.toInt(), 3);
    }

    void dossierChooserListsTheInstalledModels() {
        for (int modelos : {1, 5}) {
            Escenario e;
            e.ctx().facts.ModelosDossier = modelos;
            int lineas = -1;
            QString ultima;
            const QVariant r = e.consultar("Dossier", [&](QDialog* d) {
                auto* f = qobject_cast<frmConsultaDossier*>(d);
                lineas = f->lst->count();
                ultima = f->lst->item(lineas - 1)->text();
                f->lst->setCurrentRow(lineas - 1);
                f->cmd[0]->click();
            });
            QCOMPARE(lineas, modelos);
            QCOMPARE(ultima, QString("Dossier nº %1").arg(modelos));
            QCOMPARE(r.toInt(), modelos);
        }
    }

    void clientListsShowOnlyTheirSide() {
        Escenario e;
        cliente(e.db(), "0100003", "Carlos", false);
        cliente(e.db(), "0100001", "Ana", false);
        cliente(e.db(), "0100002", "Berta", true);
        cliente(e.db(), "0200001", "Elena", true);

        for (const QString k : {"CLIENTE", "clientes"}) {
            QStringList codigos;
            const QVariant r = e.consultar(k, [&](QDialog* d) {
                auto* f = qobject_cast<frmConsulta*>(d);
                QCOMPARE(f->windowTitle(), QString("Consulta de Clientes de Ventas"));
                QCOMPARE(f->lblCaption->text(), QString("CLIENTES DE VENTAS"));
                codigos = columna(f->grd, 0);
                elegirFila(f->grd, 1);
                f->cmd[0]->click();
            });
            QCOMPARE(codigos, (QStringList{"0100001", "0100003"}));
            QCOMPARE(r.toString(), QString("0100003"));
        }
        for (const QString k :
             {"ClienteAlquiler", "CLIENTESALQUILER", "clientealquileres", "ClientesAlquileres"}) {
            QStringList nombres;
            const QVariant r = e.consultar(k, [&](QDialog* d) {
                auto* f = qobject_cast<frmConsulta*>(d);
                QCOMPARE(f->windowTitle(), QString("Consulta de Clientes de Alquileres"));
                QCOMPARE(f->lblCaption->text(), QString("CLIENTES DE ALQUILERES"));
                nombres = columna(f->grd, 1);
                f->cmd[0]->click();
            });
            QCOMPARE(nombres, (QStringList{"Berta", "Elena"}));
            QCOMPARE(r.toString(), QString("0100002"));
        }
    }

    void ownerFiltersMatchAnywhereWithinTheSide() {
        Escenario e;
        propietario(e.db(), "A0012", "Alba", false);
        propietario(e.db(), "1200", "Bosco", false);
        propietario(e.db(), "0300", "Ciro", false);
        propietario(e.db(), "R0120", "Dalia", true);
        propietario(e.db(), "R0500", "Elías", true);

        QStringList todos, filtrados, porTeclado;
        const QVariant r = e.consultar("Propietario", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsultaPropietario*>(d);
            QVERIFY(f);
            QCOMPARE(f->windowTitle(), QString("Consulta de Propietarios de Ventas"));
            QCOMPARE(f->cboOrder->currentText(), QString("Código"));
            QCOMPARE(columna(f->grd, 0).size(), 3); // searched on show
            f->cmd[2]->click();                     // both filters empty
            todos = columna(f->grd, 0);
            f->txt[0]->setText("12");
            f->cmd[2]->click();
            filtrados = columna(f->grd, 0);
            // Enter in a filter searches and leaves the dialog open.
            teclearFiltro(f->txt[0], "03");
            QVERIFY(f->isVisible());
            porTeclado = columna(f->grd, 0);
            f->cmd[0]->click();
        });
        QCOMPARE(ordenada(todos), (QStringList{"0300", "1200", "A0012"}));
        QCOMPARE(ordenada(filtrados), (QStringList{"1200", "A0012"}));
        QCOMPARE(porTeclado, QStringList{"0300"});
        QCOMPARE(r.toString(), QString("0300"));

        // Rentals side: its own owners only; the filters start empty again.
        QStringList alquiler;
        const QVariant r2 = e.consultar("PROPIETARIOALQUILER", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsultaPropietario*>(d);
            QCOMPARE(f->windowTitle(), QString("Consulta de Propietarios de Alquileres"));
            QVERIFY(f->txt[0]->text().isEmpty());
            alquiler = columna(f->grd, 0);
            teclearFiltro(f->txt[0], "12");
            QCOMPARE(columna(f->grd, 0), QStringList{"R0120"});
            teclearFiltro(f->txt[0], "zz");
            QCOMPARE(f->grd->model()->rowCount(), 0);
            QVERIFY(!f->cmd[0]->isEnabled());
            QTest::keyClick(f->txt[0], Qt::Key_Return); // nothing to accept
            QVERIFY(f->isVisible());
            f->cmd[1]->click();
        });
        QCOMPARE(alquiler, (QStringList{"R0120", "R0500"}));
        QVERIFY(!r2.isValid());
        QVERIFY(e.inst.dialogs().boxes().isEmpty());
    }

    void ownerFilterTextIsLiteralExceptTheWildcard() {
        Escenario e;
        propietario(e.db(), "0100001", "O'Connor, Sean", false);
        propietario(e.db(), "0100002", "Ortega", false);
        propietario(e.db(), "0100003", "Garaje 100% Sur", false);
        propietario(e.db(), "0100004", "Garaje 1000", false);
        propietario(e.db(), "0100005", "Oscar_Nor", false);

        QStringList apostrofe, porcentaje, comodin, subrayado;
        const QVariant r = e.consultar("Propietario", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsultaPropietario*>(d);
            teclearFiltro(f->txt[1], "o'con");
            apostrofe = columna(f->grd, 1);
            teclearFiltro(f->txt[1], "100%");
            porcentaje = columna(f->grd, 1);
            teclearFiltro(f->txt[1], "_nor");
            subrayado = columna(f->grd, 1);
            teclearFiltro(f->txt[1], "O*nor");
            comodin = columna(f->grd, 1);
            teclearFiltro(f->txt[1], "'");
            f->cmd[0]->click();
        });
        QCOMPARE(apostrofe, QStringList{"O'Connor, Sean"});
        QCOMPARE(porcentaje, QStringList{"Garaje 100% Sur"});
        QCOMPARE(subrayado, QStringList{"Oscar_Nor"});
        QCOMPARE(ordenada(comodin), (QStringList{"O'Connor, Sean", "Oscar_Nor"}));
        QCOMPARE(r.toString(), QString("0100001"));
        QVERIFY2(e.inst.dialogs().boxes().isEmpty(), qPrintable(e.inst.dialogs().texts().join('|')));
    }

    void ownersCanBeOrderedByNameInSpanish() {
        Escenario e;
        propietario(e.db(), "0100001", "Zurgena", false);
        propietario(e.db(), "0100002", "Ñoño", false);
        propietario(e.db(), "0100003", "Benalmádena", false);
        propietario(e.db(), "0100004", "Nerja", false);
        propietario(e.db(), "0100005", "Ávila", false);
        propietario(e.db(), "0100006", "Oviedo", false);

        QStringList porCodigo, porNombre;
        e.consultar("Propietario", [&](QDialog* d) {
            auto* f = qobject_cast<frmConsultaPropietario*>(d);
            porCodigo = columna(f->grd, 1);
            f->cboOrder->setCurrentIndex(1);
            f->cmd[2]->click();
            porNombre = columna(f->grd, 1);
        });
        QCOMPARE(porCodigo, (QStringList{"Zurgena", "Ñoño", "Benalmádena", "Nerja", "Ávila", "Oviedo"}));
        QCOMPARE(porNombre, (QStringList{"Ávila", "Benalmádena", "Nerja", "Ñoño", "Oviedo", "Zurgena"}));
    }

    void listThatCannotBeReadIsReported() {
        Escenario e;
        e.db().execute("ALTER TABLE Localidades RENAME TO LocalidadesViejas");
        const QVariant r = e.consultar("Localidades");
        QVERIFY(!r.isValid());
        QCOMPARE(e.mostrados, 0);
        const auto& boxes = e.inst.dialogs().boxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, QString("Error"));
        QVERIFY(boxes[0].text.startsWith("No se ha podido abrir la lista de Localidades."));
    }

    void nombrePorCodigoFindsTheRightRecord() {
        Escenario e;
        cliente(e.db(), "0100042", "Lucía Fernández", false);
        cliente(e.db(), "100042", "Otro", false);
        propietario(e.db(), "0100042", "Pedro O'Neill", true);
        propietario(e.db(), "X'1", "Apóstrofo", false);
        localidad(e.db(), 5, "Mijas");

        QCOMPARE(NombrePorCodigo(e.ctx(), "Cliente", "0100042"), QString("Lucía Fernández"));
        QCOMPARE(NombrePorCodigo(e.ctx(), "CLIENTES", QString("0100042")), QString("Lucía Fernández"));
        QCOMPARE(NombrePorCodigo(e.ctx(), "Propietario", "0100042"), QString("Pedro O'Neill"));
        QCOMPARE(NombrePorCodigo(e.ctx(), "propietarios", "X'1"), QString("Apóstrofo"));
        QCOMPARE(NombrePorCodigo(e.ctx(), "Localidad", 5), QString("Mijas"));
        QCOMPARE(NombrePorCodigo(e.ctx(), "LOCALIDADES", "5"), QString("Mijas"));

        QCOMPARE(NombrePorCodigo(e.ctx(), "Cliente", "0100043"), QString());
        QCOMPARE(NombrePorCodigo(e.ctx(), "Propietario", "0100042 "), QString());
        QCOMPARE(NombrePorCodigo(e.ctx(), "Localidad", 6), QString());
        QCOMPARE(NombrePorCodigo(e.ctx(), "Cliente", QVariant()), QString());
        QCOMPARE(NombrePorCodigo(e.ctx(), "Tipo", 1), QString());
        QCOMPARE(NombrePorCodigo(e.ctx(), "ClienteAlquiler", "0100042"), QString());
        QVERIFY(e.inst.dialogs().boxes().isEmpty());
    }

    void buscarValorGivesNothingOnErrors() {
        Escenario e;
        localidad(e.db(), 5, "Mijas");
        QCOMPARE(BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?", {5}).toString(), QString("Mijas"));
        QVERIFY(!BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?", {6}).isValid());
        QVERIFY(!BuscarValor(e.ctx(), "Nombre", "NoExiste", "Cod = ?", {5}).isValid());
        QVERIFY(!BuscarValor(e.ctx(), "Apellido", "Localidades", "Cod = ?", {5}).isValid());
        QVERIFY(!BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = = 5").isValid());
        QVERIFY(!BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?").isValid()); // parameter missing
        QVERIFY(e.inst.dialogs().boxes().isEmpty());
        // The database is still usable afterwards.
        QCOMPARE(BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?", {5}).toString(), QString("Mijas"));
    }

    void everyControlHasAUniqueAccessibleName() {
        Escenario e;
        e.ctx().facts.ModelosDossier = 2;
        localidad(e.db(), 1, "Mijas");
        propietario(e.db(), "0100001", "Ana", false);
        QMap<QString, QStringList> porDialogo;
        for (const QString k : {"Localidad", "Propietario", "Dossier"}) {
            e.consultar(k, [&](QDialog* d) {
                QStringList nombres;
                for (QWidget* w : d->findChildren<QWidget*>()) {
                    if (w->window() != d || w->focusPolicy() == Qt::NoFocus || !w->isVisible())
                        continue;
                    // On Linux a combo box speaks its current item as name and
                    // its label through a relation; the name we set is the label.
                    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
                    QVERIFY(iface);
                    QVERIFY(!iface->text(QAccessible::Name).isEmpty());
                    nombres << w->accessibleName();
                }
                porDialogo.insert(k, nombres);
            });
        }
        QCOMPARE(ordenada(porDialogo["Localidad"]), (QStringList{"Aceptar", "Cancelar", "Localidades"}));
        QCOMPARE(ordenada(porDialogo["Propietario"]),
                 (QStringList{"Aceptar", "Buscar", "Cancelar", "Código", "Nombre", "Orden",
                              "Propietarios de Ventas"}));
        QCOMPARE(ordenada(porDialogo["Dossier"]), (QStringList{"Aceptar", "Cancelar", "Modelos de dossier"}));
    }
};

QTEST_MAIN(TestConsultar)
#include "tst_consultar.moc"
