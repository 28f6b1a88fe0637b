// The lookup dialogs driven as a user would, on a real installation.

#include "ModalUser.h"
#include "TestInstallation.h"
#include "TestServers.h"
#include "platform/widgets/QueryTableModel.h"
#include "search/Lookups.h"
#include "search/frmConsulta.h"
#include "search/frmConsultaDossier.h"
#include "search/frmConsultaPropietario.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <functional>
#include <type_traits>

using namespace orb;

namespace {

void localidad(db::Database& d, int cod, const QString& nombre) {
    d.execute("INSERT INTO Localidades (Cod, Nombre) VALUES (?, ?)", {cod, nombre});
}
void cliente(db::Database& d, const QString& cod, const QString& nombre, bool alquiler = false) {
    d.execute("INSERT INTO Clientes (Cod, Nombre, Alquiler) VALUES (?, ?, ?)", {cod, nombre, alquiler});
}
void propietario(db::Database& d, const QString& cod, const QString& nombre, bool alquiler = false) {
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

    // Consultar with the user's part played by actuar on the dialog (a Dlg),
    // from inside its modal loop. Whatever actuar leaves open is cancelled, so
    // no test can wait for a person.
    template <typename Dlg = QDialog>
    QVariant consultar(const QString& entidad, std::type_identity_t<std::function<void(Dlg*)>> actuar = {}) {
        ModalUser<QDialog> usuario([actuar](QDialog* d) {
            if (actuar)
                [&] {
                    auto* f = qobject_cast<Dlg*>(d);
                    QVERIFY(f);
                    actuar(f);
                }();
            if (d->isVisible())
                d->reject();
        });
        const QVariant r = lookups().Consultar(entidad);
        mostrados += usuario.vistos();
        return r;
    }

private:
    std::unique_ptr<Lookups> lookups_;
};

class TestConsultar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }

    void localityKeywordsOpenTheSameList() {
        Escenario e;
        localidad(e.db(), 3, "Marbella");
        localidad(e.db(), 7, "Ronda");

        frmConsulta* primero = nullptr;
        QStringList codigos, nombres;
        const QVariant r1 = e.consultar<frmConsulta>("Localidades", [&](frmConsulta* f) {
            primero = f;
            codigos = columna(f->grd, 0);
            nombres = columna(f->grd, 1);
            f->grd->setCurrentIndex(f->grd->model()->index(nombres.indexOf("Ronda"), 1));
            f->cmd[0]->click();
        });
        QCOMPARE(ordenada(codigos), (QStringList{"3", "7"}));
        QCOMPARE(ordenada(nombres), (QStringList{"Marbella", "Ronda"}));
        QCOMPARE(r1.toInt(), 7);

        // Same dialog, same rows. Keyboard: the grid has the focus on the first row; Down and Enter
        // pick the second.
        const QVariant r2 = e.consultar<frmConsulta>("LOCALIDAD", [&](frmConsulta* f) {
            QCOMPARE(f, primero);
            QCOMPARE(columna(f->grd, 0), codigos);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f->grd));
            QCOMPARE(f->grd->currentIndex().row(), 0);
            QTest::keyClick(f->grd, Qt::Key_Down);
            QTest::keyClick(f->grd, Qt::Key_Return);
        });
        QCOMPARE(r2.toString(), codigos[1]);
        QCOMPARE(e.mostrados, 2);
    }

    void unknownKeywordOrUnreadableListShowsNothing() {
        Escenario e;
        for (const QString k : {"Tipos", "", "PROPIETARIOS", "Localidad "})
            QVERIFY2(!e.consultar(k).isValid(), qPrintable(k));
        QVERIFY(!e.lookups().consulta());
        QVERIFY(!e.lookups().consultaPropietario());
        QVERIFY(!e.lookups().consultaDossier());
        QVERIFY(e.inst.dialogs().boxes().isEmpty());
        // A list that cannot be read is reported instead of shown.
        e.db().execute("ALTER TABLE Localidades RENAME TO LocalidadesViejas");
        QVERIFY(!e.consultar("Localidades").isValid());
        QCOMPARE(e.mostrados, 0);
        const auto& boxes = e.inst.dialogs().boxes();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, "Error");
        QVERIFY(boxes[0].text.startsWith("No se ha podido abrir la lista de Localidades."));
    }

    void cancellingGivesNothing() {
        Escenario e;
        e.ctx().facts.ModelosDossier = 2;
        localidad(e.db(), 1, "Mijas");
        cliente(e.db(), "0100001", "Ana");
        propietario(e.db(), "0100002", "Dora", true);

        // The Cancel button, the close box and Escape all cancel, a current row notwithstanding.
        const QList<std::function<void(QDialog*)>> maneras = {
            [](QDialog* d) { d->findChild<QPushButton*>("cmd(1)")->click(); },
            [](QDialog* d) { QVERIFY(d->close()); },
            [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); },
        };
        for (const QString k : {"Cliente", "Localidad", "PropietarioAlquiler", "Dossier"}) {
            for (const auto& cancelar : maneras) {
                const QVariant r = e.consultar(k, [&](QDialog* d) {
                    if (auto* grd = d->findChild<QTableView*>("grd"))
                        QVERIFY(grd->currentIndex().isValid());
                    cancelar(d);
                    QVERIFY(!d->isVisible());
                });
                QVERIFY2(r == (k == "Dossier" ? QVariant(0) : QVariant()), qPrintable(k));
            }
        }
        // A pick after cancels still works.
        QCOMPARE(e.consultar("Cliente", [](QDialog* d) { d->findChild<QPushButton*>("cmd(0)")->click(); }),
                 "0100001");
    }

    void dossierChooserKeepsItsSelection() {
        Escenario e;
        e.ctx().facts.ModelosDossier = 3;
        QStringList lineas;
        int preseleccion = -1;
        const QVariant r1 = e.consultar<frmConsultaDossier>("DOSSIER", [&](frmConsultaDossier* f) {
            for (int i = 0; i < f->lst->count(); ++i)
                lineas << f->lst->item(i)->text();
            preseleccion = f->lst->currentRow();
            f->lst->setCurrentRow(1);
            f->cmd[0]->click();
        });
        QCOMPARE(lineas, (QStringList{"Dossier nº 1", "Dossier nº 2", "Dossier nº 3"}));
        QCOMPARE(preseleccion, 0);
        QCOMPARE(r1.toInt(), 2);

        // The selection is kept after a cancel too; a double click picks.
        const QVariant r2 = e.consultar<frmConsultaDossier>("Dossiers", [&](frmConsultaDossier* f) {
            preseleccion = f->lst->currentRow();
            f->lst->setCurrentRow(2);
            f->cmd[1]->click();
        });
        QCOMPARE(preseleccion, 1);
        QCOMPARE(r2.toInt(), 0);
        const QVariant r3 = e.consultar<frmConsultaDossier>("dossier", [&](frmConsultaDossier* f) {
            preseleccion = f->lst->currentRow();
            dobleClic(f->lst, f->lst->model()->index(preseleccion, 0));
        });
        QCOMPARE(preseleccion, 2);
        QCOMPARE(r3.toInt(), 3);
    }

    void clientListsShowOnlyTheirSide() {
        Escenario e;
        cliente(e.db(), "0100003", "Carlos");
        cliente(e.db(), "0100001", "Ana");
        cliente(e.db(), "0100002", "Berta", true);
        cliente(e.db(), "0200001", "Elena", true);

        const QList<std::tuple<QStringList, QString, QStringList, QString>> lados = {
            {{"CLIENTE", "clientes"}, "Ventas", {"Ana", "Carlos"}, "0100001"},
            {{"ClienteAlquiler", "CLIENTESALQUILER", "clientealquileres", "ClientesAlquileres"},
             "Alquileres",
             {"Berta", "Elena"},
             "0100002"},
        };
        for (const auto& [claves, lado, esperados, primero] : lados) {
            for (const QString& k : claves) {
                QStringList nombres;
                const QVariant r = e.consultar<frmConsulta>(k, [&](frmConsulta* f) {
                    QCOMPARE(f->windowTitle(), "Consulta de Clientes de " + lado);
                    nombres = columna(f->grd, 1);
                    f->cmd[0]->click();
                });
                QCOMPARE(nombres, esperados);
                QCOMPARE(r.toString(), primero);
            }
        }
    }

    // Filters match anywhere within the side; typed text is literal except
    // "*"; the order by name is Spanish.
    void ownerFiltersMatchLiterallyWithinTheSide() {
        Escenario e;
        const QStringList nombres{"Ortega", "O'Connor, Sean", "Garaje 100% Sur", "Nave 1000", "Ñoño",
                                  "Nerja",  "Ávila"};
        for (int i = 0; i < nombres.size(); ++i)
            propietario(e.db(), QString("B%1").arg(i), nombres[i]);
        propietario(e.db(), "A0012", "Alba");
        propietario(e.db(), "1200", "Bosco");
        propietario(e.db(), "0300", "Ciro");
        propietario(e.db(), "R0120", "Dalia", true);
        propietario(e.db(), "R0500", "Elías", true);

        const QVariant r = e.consultar<frmConsultaPropietario>("Propietario", [&](frmConsultaPropietario* f) {
            QCOMPARE(f->cboOrder->currentText(), "Código");
            QCOMPARE(ordenada(columna(f->grd, 0)), // searched on show
                     (QStringList{"0300", "1200", "A0012", "B0", "B1", "B2", "B3", "B4", "B5", "B6"}));
            f->txt[0]->setText("12");
            f->cmd[2]->click();
            QCOMPARE(ordenada(columna(f->grd, 0)), (QStringList{"1200", "A0012"}));
            // Enter in a filter searches and leaves the dialog open.
            teclearFiltro(f->txt[0], "03");
            QVERIFY(f->isVisible());
            QCOMPARE(columna(f->grd, 0), QStringList{"0300"});
            f->txt[0]->clear();
            const QList<std::pair<QString, QStringList>> porNombre = {{"o'con", {"O'Connor, Sean"}},
                                                                      {"100%", {"Garaje 100% Sur"}},
                                                                      {"O*a", {"O'Connor, Sean", "Ortega"}}};
            for (const auto& [texto, esperados] : porNombre) {
                teclearFiltro(f->txt[1], texto);
                QCOMPARE(ordenada(columna(f->grd, 1)), esperados);
            }
            f->txt[1]->clear();
            f->cboOrder->setCurrentIndex(1);
            f->cmd[2]->click();
            QCOMPARE(columna(f->grd, 1),
                     (QStringList{"Alba", "Ávila", "Bosco", "Ciro", "Garaje 100% Sur", "Nave 1000", "Nerja",
                                  "Ñoño", "O'Connor, Sean", "Ortega"}));
            teclearFiltro(f->txt[1], "'");
            f->cmd[0]->click();
        });
        QCOMPARE(r.toString(), "B1");

        // Rentals side: its own owners only; the filters start empty again.
        const QVariant r2 =
            e.consultar<frmConsultaPropietario>("PROPIETARIOALQUILER", [&](frmConsultaPropietario* f) {
                QVERIFY(f->txt[0]->text().isEmpty());
                QCOMPARE(columna(f->grd, 0), (QStringList{"R0120", "R0500"}));
                teclearFiltro(f->txt[0], "12");
                QCOMPARE(columna(f->grd, 0), QStringList{"R0120"});
                teclearFiltro(f->txt[0], "zz");
                QCOMPARE(f->grd->model()->rowCount(), 0);
                QVERIFY(!f->cmd[0]->isEnabled());
                QTest::keyClick(f->txt[0], Qt::Key_Return); // nothing to accept
                QVERIFY(f->isVisible());
            });
        QVERIFY(!r2.isValid());
        QCOMPARE(e.mostrados, 2);
        QVERIFY2(e.inst.dialogs().boxes().isEmpty(), qPrintable(e.inst.dialogs().texts().join('|')));
    }

    // A side with more owners than one block: the grid opens with the first
    // block, reads the rest as the user scrolls, and the last owner can be chosen.
    void longOwnerListIsReadAsTheUserScrolls() {
        Escenario e;
        const int total = 3 * ui::QueryTableModel::BlockSize + 7;
        db::Transaction t(e.db());
        for (int i = 0; i < total; ++i)
            propietario(e.db(), QString("01%1").arg(i, 5, 10, QChar('0')), QString("Dueño %1").arg(i));
        propietario(e.db(), "0199999", "De alquiler", true);
        t.commit();

        int alAbrir = -1;
        int alFinal = -1;
        const QVariant r = e.consultar<frmConsultaPropietario>("Propietario", [&](frmConsultaPropietario* f) {
            alAbrir = f->grd->model()->rowCount();
            f->grd->setFocus();
            for (int i = 0; i < 20 && f->grd->model()->canFetchMore({}); ++i) {
                QTest::keyClick(f->grd, Qt::Key_End, Qt::ControlModifier);
                QApplication::processEvents();
            }
            alFinal = f->grd->model()->rowCount();
            QTest::keyClick(f->grd, Qt::Key_End, Qt::ControlModifier);
            f->cmd[0]->click();
        });
        QVERIFY2(alAbrir > 0 && alAbrir < total, qPrintable(QString::number(alAbrir)));
        QCOMPARE(alFinal, total);
        QCOMPARE(r.toString(), QString("01%1").arg(total - 1, 5, 10, QChar('0')));
        // Chosen before the end: the hidden dialog keeps no statement open on the file.
        const QVariant primero = e.consultar<frmConsultaPropietario>(
            "Propietario", [](frmConsultaPropietario* f) { f->cmd[0]->click(); });
        QCOMPARE(primero.toString(), "0100000");
        QVERIFY(!e.lookups().consultaPropietario()->modelo->canFetchMore({}));
    }

    void valuesByCode() {
        Escenario e;
        cliente(e.db(), "0100042", "Lucía Fernández");
        cliente(e.db(), "100042", "Otro");
        propietario(e.db(), "0100042", "Pedro O'Neill", true);
        localidad(e.db(), 5, "Mijas");

        const QList<std::tuple<QString, QVariant, QString>> casos = {
            {"Cliente", "0100042", "Lucía Fernández"}, // the text code keeps its zeros
            {"PROPIETARIOS", "0100042", "Pedro O'Neill"},
            {"Localidad", 5, "Mijas"},
            {"Cliente", "0100043", ""},
            {"Tipo", 1, ""},
        };
        for (const auto& [entidad, codigo, nombre] : casos)
            QCOMPARE(NombrePorCodigo(e.ctx(), entidad, codigo), nombre);

        // BuscarValor: null for no row and on any error, and the database still usable.
        QCOMPARE(BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?", {5}), "Mijas");
        QVERIFY(!BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?", {6}).isValid());
        QVERIFY(!BuscarValor(e.ctx(), "Nombre", "NoExiste", "Cod = ?", {5}).isValid());
        QVERIFY(!BuscarValor(e.ctx(), "Apellido", "Localidades", "Cod = ?", {5}).isValid());
        QVERIFY(!BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?").isValid());
        QCOMPARE(BuscarValor(e.ctx(), "Nombre", "Localidades", "Cod = ?", {5}), "Mijas");
        QVERIFY(e.inst.dialogs().boxes().isEmpty());
    }

    void everyControlHasAUniqueAccessibleName() {
        Escenario e;
        e.ctx().facts.ModelosDossier = 2;
        localidad(e.db(), 1, "Mijas");
        propietario(e.db(), "0100001", "Ana");
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
#include "tst_lookups.moc"
