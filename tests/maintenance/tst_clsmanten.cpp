// The record controller driven through a real window on a real SQLite file.

#include "FichaPrueba.h"
#include "platform/db/Recordset.h"
#include "shell/Log.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace orb;
using namespace fichaprueba;

class TestClsManten : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;
    ui::ScriptedDialogService dialogs;

    std::unique_ptr<db::Database> db() { return db::Database::open(path); }

    void fill(const QStringList& cods) {
        auto d = db();
        for (const QString& c : cods)
            d->execute(
                "INSERT INTO Fichas (Cod, Nombre, Numero, Estado, Activo) VALUES (?, ?, 7, 'Pendiente', 1)",
                {c, "Nombre " + c});
    }

    std::unique_ptr<Ficha> open(bool addAgain = false) { return abrirFicha(dialogs, path, addAgain); }

    QString logText() {
        QFile f(dir.filePath("Orbalia.log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QVariant stored(const QString& cod, const QString& field) {
        return db()->scalar(QStringLiteral("SELECT %1 FROM Fichas WHERE Cod = ?").arg(field), {cod});
    }

private slots:
    void init() {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("t%1.db").arg(QDateTime::currentMSecsSinceEpoch()));
        auto d = db::Database::open(path, {.create = true});
        d->executeScript(kSchema);
        dialogs.clear();
        QFile::remove(dir.filePath("Orbalia.log"));
        IniciarLog(dir.path());
    }

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

    void unreadableInputIsRefusedNamingTheField_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        auto row = [](const char* name, const char* box, const QString& text, const QString& why) {
            QTest::newRow(name) << box << text << QString("%1: \"%2\" %3").arg(box, text, why);
        };
        const QString fecha = "no es una fecha válida (dd/mm/aaaa).", entero = "no es un número entero.";
        row("letter O in a date", "Fecha Alta", "08/01/2O23", fecha);
        row("31 February", "Fecha Alta", "31/02/2009", fecha);
        row("letters in a number", "Numero", "12a", entero);
        row("fraction in a whole number", "Numero", "12,5", entero);
        row("number too large", "Numero", "99999999999",
            "está fuera del intervalo admitido (de -2147483648 a 2147483647).");
        row("letters in an amount", "Importe total", "12ab", "no es un importe válido.");
    }
    void unreadableInputIsRefusedNamingTheField() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, message);
        fill({"A"});
        db()->execute("UPDATE Fichas SET Fecha = '2023-01-08', Importe = 10 WHERE Cod = 'A'");
        const auto before = db()->query("SELECT * FROM Fichas");
        auto f = open();
        f->show();
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        auto* target = box == "Numero" ? f->numero : box == "Importe total" ? f->importe : f->fecha;

        // Editing: refused, still editing, the row as it was, the focus on the box.
        f->edit->click();
        f->nombre->setText("Cambiado");
        target->setText(text);
        f->log.clear();
        f->ok->click();
        QCOMPARE(dialogs.texts(), QStringList{message});
        QCOMPARE(f->data->Estado(), Modificando);
        QCOMPARE(target->text(), text);
        QCOMPARE(QApplication::focusWidget(), target);
        QVERIFY(!f->log.contains("CanUpdate")); // nothing asked, nothing written
        QCOMPARE(db()->query("SELECT * FROM Fichas"), before);
        f->cancel->click();

        // Adding: no row appears.
        dialogs.clear();
        f->add->click();
        f->cod->setText("B");
        target->setText(text);
        f->ok->click();
        QCOMPARE(dialogs.texts(), QStringList{message});
        QCOMPARE(f->data->Estado(), Añadiendo);
        QCOMPARE(db()->query("SELECT * FROM Fichas"), before);
    }

    void codeBoxesRefuseZeroNegativeAndEmpty_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        auto row = [](const char* text, const QString& message) {
            QTest::newRow(*text ? text : "empty") << QString(text) << message;
        };
        const QString mayor = "no es válido: el número debe ser mayor que 0.";
        row("0", "Numero: \"0\" " + mayor);
        row("-3", "Numero: \"-3\" " + mayor);
        row("", "Numero: falta el número (un número entero mayor que 0).");
        row("5", "");
    }
    void codeBoxesRefuseZeroNegativeAndEmpty() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        auto f = open();
        f->numero->Codigo = true;
        f->add->click();
        f->cod->setText("A");
        f->numero->setText("7"); // as a window proposes it; then the user's text
        f->numero->setText(text);
        f->ok->click();
        QCOMPARE(dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(db()->scalar("SELECT count(*) FROM Fichas").toInt(), message.isEmpty() ? 1 : 0);
    }

    void engineRefusalsAreToldAndASecondConfirmStores() {
        fill({"A"});
        auto f = open();
        f->add->click();
        f->cod->setText("A");
        f->nombre->setText("Duplicado");
        f->ok->click();
        QCOMPARE(dialogs.boxes().size(), 1);
        const auto box = dialogs.boxes().first();
        // The fixed first line, the cause in plain words; the engine's text only in the log.
        QCOMPARE(box.text, QString("Se ha producido el error (3022 - No se realizaron los cambios porque "
                                   "crearían valores duplicados en el índice o la clave principal) al pulsar "
                                   "el botón de aceptar.\nYa existe un registro con el código A."));
        QVERIFY(logText().contains("UNIQUE constraint failed: Fichas.Cod"));
        QCOMPARE(box.title, QString("Error"));
        QCOMPARE(box.icon, ui::DialogService::Icon::Critical);
        QCOMPARE(f->data->Estado(), Añadiendo);
        QCOMPARE(f->nombre->text(), QString("Duplicado"));

        // Each new row takes pages that the file may not get: a full disk, as SQLite sees it.
        db()->execute("CREATE TRIGGER Grande AFTER INSERT ON Fichas BEGIN "
                      "INSERT INTO Historial (Cod, Texto) VALUES (NEW.Cod, zeroblob(200000)); END");
        db::Database& own = f->data->BaseDatos();
        own.scalar(
            QStringLiteral("PRAGMA max_page_count = %1").arg(own.scalar("PRAGMA page_count").toLongLong()));
        const auto before = db()->query("SELECT * FROM Fichas");
        f->cod->setText("B");
        f->ok->click();
        QCOMPARE(dialogs.texts().last(),
                 "Se ha producido el error (3000 - Error de la base de datos) al pulsar "
                 "el botón de aceptar.\nEl disco está lleno.");
        QVERIFY(logText().contains("full"));
        QCOMPARE(db()->query("SELECT * FROM Fichas"), before);
        QCOMPARE(f->data->Estado(), Añadiendo);

        own.scalar("PRAGMA max_page_count = 1000000");
        f->ok->click();
        QCOMPARE(dialogs.boxes().size(), 2);
        QCOMPARE(f->data->Estado(), Paseando);
        QCOMPARE(stored("B", "Nombre").toString(), QString("Duplicado"));
    }

    void failureInsideTheConfirmLeavesNothingHalfWritten_data() {
        QTest::addColumn<bool>("adding");
        QTest::newRow("add") << true;
        QTest::newRow("edit") << false;
    }
    void failureInsideTheConfirmLeavesNothingHalfWritten() {
        QFETCH(bool, adding);
        fill({"A", "C"});
        const auto before = db()->query("SELECT * FROM Fichas ORDER BY Cod");
        auto f = open();
        f->historial = true;
        f->fallarDespues = true;
        if (adding) {
            f->add->click();
            f->cod->setText("B");
        } else {
            f->edit->click();
        }
        f->nombre->setText("Nuevo nombre");
        f->log.clear();
        f->ok->click();
        QCOMPARE(f->log, QStringList({"CanUpdate", "BeforeUpdate", "AfterUpdate", "AfterRollback"}));
        // The row and the related row written in BeforeUpdate went back together.
        QCOMPARE(db()->query("SELECT * FROM Fichas ORDER BY Cod"), before);
        QCOMPARE(db()->scalar("SELECT count(*) FROM Historial").toInt(), 0);
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY(dialogs.texts().first().startsWith(
            "Se ha producido el error (3000 - Error de la base de datos) al "
            "pulsar el botón de aceptar.\n"));
        QCOMPARE(f->data->Estado(), adding ? Añadiendo : Modificando);
        QCOMPARE(f->nombre->text(), QString("Nuevo nombre"));

        // Corrected, it is stored once, and the window browses no ghost of the first try.
        f->fallarDespues = false;
        f->ok->click();
        QVERIFY2(dialogs.texts().size() == 1, qPrintable(dialogs.texts().join('|')));
        QCOMPARE(f->data->Estado(), Paseando);
        QCOMPARE(db()->scalar("SELECT count(*) FROM Fichas").toInt(), adding ? 3 : 2);
        QCOMPARE(db()->scalar("SELECT count(*) FROM Historial").toInt(), 1);
        QCOMPARE(f->data->Recordset()->recordCount(), adding ? 3 : 2);
        f->first->click();
        QStringList seen{f->cod->text() + " " + f->nombre->text()};
        for (int i = 0; i < 3; ++i) {
            f->next->click();
            if (!seen.last().startsWith(f->cod->text()))
                seen << f->cod->text() + " " + f->nombre->text();
        }
        QCOMPARE(seen, adding ? QStringList({"A Nombre A", "C Nombre C", "B Nuevo nombre"})
                              : QStringList({"A Nuevo nombre", "C Nombre C"}));
    }

    void textLongerThanItsFieldIsRefused() {
        fill({"A"});
        auto f = open();
        QCOMPARE(f->nombre->MaxLength(), 20);
        QCOMPARE(f->numero->MaxLength(), 0);
        QCOMPARE(f->data->boundControls().size(), 8); // the box without a field is not bound
        const auto before = db()->query("SELECT * FROM Fichas");
        f->edit->click();
        f->notas->setPlainText(QString(31, u'x')); // pasted past the box's limit
        f->ok->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{"Notas: el texto es demasiado largo (31 caracteres; como máximo 30)."});
        QCOMPARE(db()->query("SELECT * FROM Fichas"), before);
        f->notas->setPlainText(QString(30, u'x'));
        f->ok->click();
        QCOMPARE(stored("A", "Notas").toString(), QString(30, u'x'));
    }

    // Limits count characters as the database does: an emoji is one.
    void emojiFillAFieldAsTheDatabaseCountsThem() {
        fill({"A"});
        auto f = open();
        const QString cara = QString::fromUtf8("😀");
        f->edit->click();
        f->nombre->clear();
        teclear(f->nombre, cara.repeated(21)); // Nombre holds 20
        f->notas->clear();
        teclear(f->notas, cara.repeated(31)); // Notas holds 30
        f->ok->click();
        QVERIFY2(dialogs.texts().isEmpty(), qPrintable(dialogs.texts().join('|')));
        QCOMPARE(stored("A", "Nombre").toString(), cara.repeated(20));
        QCOMPARE(stored("A", "length(Nombre)").toInt(), 20);
        QCOMPARE(stored("A", "Notas").toString(), cara.repeated(30));
        // Past the field's size (text a window put in), the refusal counts characters too.
        f->edit->click();
        f->notas->setPlainText(cara.repeated(31));
        f->ok->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{"Notas: el texto es demasiado largo (31 caracteres; como máximo 30)."});
        QCOMPARE(stored("A", "Notas").toString(), cara.repeated(30));
    }

    // A code the window builds that is longer than its field is refused
    // naming the box, never stored cut to fit.
    void aCodeTheWindowBuildsIsNeverCut() {
        fill({"A"});
        auto f = open();
        QCOMPARE(f->cod->MaxLength(), 10);
        const auto before = db()->query("SELECT * FROM Fichas");
        f->codigoAlGrabar = "01000000001";
        f->add->click();
        f->nombre->setText("Nuevo");
        f->ok->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{"Cod: el texto es demasiado largo (11 caracteres; como máximo 10)."});
        QCOMPARE(f->cod->text(), QString("01000000001"));
        QCOMPARE(db()->query("SELECT * FROM Fichas"), before);
        QCOMPARE(f->data->Estado(), Añadiendo);
        // The box keeps what the window put in; once it fits, the record stores.
        f->codigoAlGrabar = "0100000001";
        f->cod->setText(f->codigoAlGrabar);
        f->ok->click();
        QCOMPARE(dialogs.texts().size(), 1);
        QCOMPARE(stored("0100000001", "Nombre").toString(), QString("Nuevo"));
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
        for (const QString& t : dialogs.texts())
            QVERIFY2(!t.contains("no such table"), qPrintable(t));
        QVERIFY(logText().contains("no such table"));
        QCOMPARE(f->data->Estado(), Inactivo);
        QVERIFY(f->close->isEnabled());
    }
};

QTEST_MAIN(TestClsManten)
#include "tst_clsmanten.moc"
