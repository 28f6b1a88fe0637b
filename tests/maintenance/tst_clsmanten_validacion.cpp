// What the record controller refuses to store: unreadable input, codes out
// of range, texts longer than their field, and refusals of the engine.

#include "MantenPrueba.h"
#include "platform/db/Recordset.h"

#include <QtTest>

using namespace orb;
using namespace fichaprueba;

class TestClsMantenValidacion : public QObject, protected MantenPrueba {
    Q_OBJECT

private slots:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }
    void init() { preparar(); }

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
        QVERIFY2(logText().contains(testservers::onServer() ? "(cod)=(A)"
                                                            : "UNIQUE constraint failed: Fichas.Cod"),
                 qPrintable(logText()));
        QCOMPARE(box.title, QString("Error"));
        QCOMPARE(box.icon, ui::DialogService::Icon::Critical);
        QCOMPARE(f->data->Estado(), Añadiendo);
        QCOMPARE(f->nombre->text(), QString("Duplicado"));

        // A full disk is the file's own failure: the server keeps its disk to itself.
        if (testservers::onServer())
            return;
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
};

QTEST_MAIN(TestClsMantenValidacion)
#include "tst_clsmanten_validacion.moc"
