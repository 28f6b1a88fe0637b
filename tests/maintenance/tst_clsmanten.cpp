// The record controller driven through a real window on a real SQLite file:
// its states, moves, adds, cancels and deletes, and rows others change.

#include "MantenPrueba.h"
#include "platform/db/Recordset.h"

#include <QtTest>

using namespace orb;
using namespace fichaprueba;

class TestClsManten : public QObject, protected MantenPrueba {
    Q_OBJECT

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() { preparar(); }

    void buttonsFollowEveryState() {
        auto f = open();
        QCOMPARE(f->data->Estado(), Vacio);
        QCOMPARE(f->flags(), QString("00001000010"));
        QCOMPARE(f->log.count("Reposition"), 1);
        QVERIFY(f->cod->text().isEmpty());

        fill({"A", "B"});
        f = open();
        QCOMPARE(f->data->Estado(), Paseando);
        QCOMPARE(f->flags(), QString("11111110010"));
        f->data->PulsarEditar();
        QCOMPARE(f->data->Estado(), Modificando);
        QCOMPARE(f->flags(), QString("00000001111"));
        f->data->PulsarCancelar();
        f->data->PulsarAñadir();
        QCOMPARE(f->data->Estado(), Añadiendo);
        QCOMPARE(f->flags(), QString("00000001111"));

        f = std::make_unique<Ficha>(dialogs);
        f->data->setDatabaseName(path);
        f->data->setRecordSource("select * from NoExiste");
        f->data->Refresh();
        QCOMPARE(f->data->Estado(), Inactivo);
        QCOMPARE(f->flags(), QString("00000000010"));
    }

    void navigationAndFindMoveOnlyWhereThereIsARow() {
        fill({"A", "B", "C", "O'Brien"});
        auto f = open();
        QCOMPARE(f->cod->text(), QString("A"));
        f->log.clear();
        f->prev->click();
        f->data->FindFirst("Cod = ?", {"zzz"});
        QVERIFY(f->log.isEmpty());
        QCOMPARE(f->cod->text(), QString("A"));
        f->last->click();
        QCOMPARE(f->cod->text(), QString("O'Brien"));
        f->next->click();
        QCOMPARE(f->cod->text(), QString("O'Brien"));
        f->prev->click();
        QCOMPARE(f->cod->text(), QString("C"));
        f->first->click();
        QCOMPARE(f->cod->text(), QString("A"));
        f->data->FindFirst("Cod = ?", {"o'brien"});
        QCOMPARE(f->cod->text(), QString("O'Brien"));
        QCOMPARE(f->log, QStringList({"Reposition", "Reposition", "Reposition", "Reposition"}));
    }

    void confirmedAddRaisesEventsInOrder_data() {
        QTest::addColumn<bool>("addAgain");
        QTest::newRow("again") << true;
        QTest::newRow("once") << false;
    }
    void confirmedAddRaisesEventsInOrder() {
        QFETCH(bool, addAgain);
        fill({"A"});
        auto f = open(addAgain);
        f->add->click();
        f->cod->setText("N1");
        f->nombre->setText("Nuevo");
        f->log.clear();
        f->ok->click();
        QStringList events{"CanUpdate", "BeforeUpdate", "AfterUpdate", "AfterCommit", "StateChanged(1)"};
        if (addAgain)
            events << "CanAddNew"
                   << "StateChanged(3)"
                   << "OnAddNew";
        QCOMPARE(f->log, events);
        QCOMPARE(f->data->Estado(), addAgain ? Añadiendo : Paseando);
        QCOMPARE(f->cod->text(), addAgain ? QString() : QString("N1"));
        QCOMPARE(stored("N1", "Nombre").toString(), QString("Nuevo"));
    }

    void cancelShowsWhatIsStored() {
        // An add cancelled returns to where it started: the empty window, then a record.
        auto f = open();
        f->add->click();
        f->cod->setText("X");
        f->cancel->click();
        QCOMPARE(f->data->Estado(), Vacio);
        QVERIFY(f->cod->text().isEmpty());
        QCOMPARE(db()->scalar("SELECT count(*) FROM Fichas").toInt(), 0);
        fill({"A"});
        f->data->Refresh();
        f->add->click();
        f->cod->setText("X");
        f->cancel->click();
        QCOMPARE(f->data->Estado(), Paseando);
        QCOMPARE(f->cod->text(), QString("A"));

        // An edit cancelled, also after a failed confirm, restores every kind of control.
        QCOMPARE(f->estado->currentText(), QString("Pendiente"));
        QCOMPARE(f->activo->Value(), 1);
        for (bool fallar : {false, true}) {
            f->fallarDespues = fallar;
            f->edit->click();
            f->nombre->setText("Cambiado");
            f->notas->setPlainText("otra cosa");
            f->activo->setValue(0);
            f->estado->setCurrentIndex(2);
            if (fallar)
                f->ok->click();
            f->cancel->click();
            QCOMPARE(f->data->Estado(), Paseando);
            QCOMPARE(f->nombre->text(), QString("Nombre A"));
            QCOMPARE(f->notas->toPlainText(), QString());
            QCOMPARE(f->activo->Value(), 1);
            QCOMPARE(f->estado->currentText(), QString("Pendiente"));
            QCOMPARE(stored("A", "Nombre").toString(), QString("Nombre A"));
        }
    }

    void deleteAsksThenRepositionsOnNeighbours() {
        fill({"A", "B", "C"});
        auto f = open();
        f->del->click(); // scripted service answers the default: No
        QVERIFY(!f->log.contains("CanDelete"));
        f->refuse = true; // the window refuses
        dialogs.queueAnswer(ui::DialogService::Answer::Yes);
        f->del->click();
        QVERIFY(!f->log.contains("BeforeDelete"));
        QCOMPARE(db()->scalar("SELECT count(*) FROM Fichas").toInt(), 3);

        f->refuse = false;
        dialogs.queueAnswer(ui::DialogService::Answer::Yes);
        f->next->click();
        f->del->click(); // middle → following
        QCOMPARE(f->cod->text(), QString("C"));
        dialogs.queueAnswer(ui::DialogService::Answer::Yes);
        f->del->click(); // last → preceding
        QCOMPARE(f->cod->text(), QString("A"));
        QCOMPARE(f->data->Estado(), Paseando);
        f->log.clear();
        dialogs.queueAnswer(ui::DialogService::Answer::Yes);
        f->del->click(); // only → empty
        QCOMPARE(f->data->Estado(), Vacio);
        QVERIFY(f->cod->text().isEmpty());
        QVERIFY(f->log.contains("Reposition"));
        QCOMPARE(db()->scalar("SELECT count(*) FROM Fichas").toInt(), 0);
        const auto& box = dialogs.boxes().first();
        QCOMPARE(box.text, QString("¿Seguro que desea borrar este registro?"));
        QCOMPARE(box.defaultButton, ui::DialogService::Answer::No);
    }

    void editEndedWithoutConfirmingStoresNothing() {
        fill({"A"});
        auto f = open();
        f->show();
        f->edit->click();
        f->nombre->setText("No");
        f->refuse = true; // the window refuses the confirm
        f->ok->click();
        QCOMPARE(f->data->Estado(), Modificando);
        QVERIFY(!f->log.contains("BeforeUpdate"));
        f->close->click(); // answered No by default
        QVERIFY(f->isVisible());
        QCOMPARE(dialogs.boxes().last().text,
                 QString("Se están añadiendo/modificando datos ¿desea cerrar de todas maneras?"));
        dialogs.queueAnswer(ui::DialogService::Answer::Yes);
        f->close->click();
        QVERIFY(!f->isVisible());
        QCOMPARE(stored("A", "Nombre").toString(), QString("Nombre A"));
    }

    void onlyTouchedBoxesAreWrittenByFieldType() {
        fill({"A"});
        auto f = open();
        // Someone else changes the notes after they were shown: the untouched box keeps that.
        db()->execute("UPDATE Fichas SET Notas = 'Otro' WHERE Cod = 'A'");
        f->edit->click();
        f->numero->setText("1.500");
        f->importe->setText("1500,5");
        f->fecha->setText("5/3/2009");
        f->nombre->setText("");
        f->activo->setValue(2);
        f->ok->click();
        QVERIFY2(dialogs.boxes().isEmpty(), qPrintable(dialogs.texts().join('|')));
        QCOMPARE(stored("A", "Numero").toLongLong(), 1500);
        QCOMPARE(stored("A", "Importe").toDouble(), 1500.5);
        QCOMPARE(stored("A", "Fecha").toDate(), QDate(2009, 3, 5));
        QCOMPARE(stored("A", "Nombre").toString(), QString(""));
        QVERIFY(!stored("A", "Nombre").isNull());
        QCOMPARE(stored("A", "Activo").toBool(), false);
        QCOMPARE(stored("A", "Notas").toString(), QString("Otro"));

        // Emptied boxes: the date becomes Null, the number 0, as always.
        f->edit->click();
        f->fecha->setText("");
        f->numero->setText("");
        f->ok->click();
        QVERIFY(dialogs.boxes().isEmpty());
        QVERIFY(stored("A", "Fecha").isNull());
        QCOMPARE(stored("A", "Numero").toLongLong(), 0);
    }

    void aRowDeletedElsewhereCountsAsMovedPast_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("shows");
        QTest::addColumn<bool>("told");
        // "action, record shown after it, told that the record is gone"
        for (const QString r :
             {"next C 1", "prev A 1", "first A 0", "last C 0", "del C 1", "find C 0", "edit C 1"}) {
            const QStringList c = r.split(u' ');
            QTest::newRow(qPrintable(c[0])) << c[0] << c[1] << (c[2] == "1");
        }
    }
    void aRowDeletedElsewhereCountsAsMovedPast() {
        QFETCH(QString, action);
        QFETCH(QString, shows);
        QFETCH(bool, told);
        fill({"A", "B", "C"});
        auto f = open();
        f->next->click();
        QCOMPARE(f->cod->text(), QString("B"));
        db()->execute("DELETE FROM Fichas WHERE Cod = 'B'"); // another seat, the sqlite3 tool, an import

        const QHash<QString, QPushButton*> buttons{
            {"next", f->next}, {"prev", f->prev}, {"first", f->first}, {"last", f->last}, {"del", f->del}};
        dialogs.queueAnswer(ui::DialogService::Answer::Yes); // to the delete
        if (buttons.contains(action)) {
            buttons[action]->click();
        } else if (action == "find") {
            f->data->FindFirst("Cod = ?", {"C"});
        } else {
            // Told when the edit starts, before anything is typed; no edit begins.
            f->edit->click();
            QVERIFY(dialogs.texts().value(0).contains("al pulsar el botón de editar."));
            QVERIFY(!f->ok->isEnabled());
            QVERIFY(f->edit->isEnabled());
        }
        const QString gone = "Se ha producido el error (3021 - No hay un registro activo) al ";
        const QStringList texts = dialogs.texts().filter(gone);
        QCOMPARE(texts.size(), told ? 1 : 0);
        QCOMPARE(dialogs.texts().size(), action == "del" ? 2 : texts.size()); // the delete asked first
        for (const QString& t : texts)
            QVERIFY2(t.endsWith("\nEl registro ya no existe: se ha borrado desde otro puesto."),
                     qPrintable(t));
        QCOMPARE(f->cod->text(), shows);
        QCOMPARE(f->nombre->text(), "Nombre " + shows);
        QCOMPARE(f->data->Estado(), Paseando);

        // Still usable: edit what is shown and store it.
        const QString cod = f->cod->text();
        f->edit->click();
        f->nombre->setText("Sigue");
        f->ok->click();
        QCOMPARE(stored(cod, "Nombre").toString(), QString("Sigue"));
        QCOMPARE(db()->scalar("SELECT count(*) FROM Fichas").toInt(), 2);
    }

    void lastRowDeletedElsewhereLeavesTheWindowEmpty() {
        fill({"A"});
        auto f = open();
        db()->execute("DELETE FROM Fichas");
        dialogs.queueAnswer(ui::DialogService::Answer::Yes);
        f->del->click();
        QCOMPARE(f->data->Estado(), Vacio);
        QVERIFY(f->cod->text().isEmpty());
        f->add->click();
        f->cod->setText("N");
        f->ok->click();
        QCOMPARE(stored("N", "Cod").toString(), QString("N"));
    }

    void tableGoneDuringBrowsingIsReportedNotFatal() {
        fill({"A", "B"});
        auto f = open();
        db()->execute("DROP TABLE Fichas");
        f->next->click();
        QVERIFY(!dialogs.texts().isEmpty());
        // The engine's own words go to the log, never to the user.
        const QString motor = testservers::onServer() ? "does not exist" : "no such table";
        for (const QString& t : dialogs.texts())
            QVERIFY2(!t.contains(motor), qPrintable(t));
        QVERIFY2(logText().contains(motor), qPrintable(logText()));
        QCOMPARE(f->data->Estado(), Inactivo);
        QVERIFY(f->close->isEnabled());
    }
};

QTEST_MAIN(TestClsManten)
#include "tst_clsmanten.moc"
