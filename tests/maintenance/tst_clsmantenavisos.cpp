// What a confirm tells the other windows, and that it runs once however
// often its buttons are pressed while it works.

#include "FichaPrueba.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace orb;
using namespace fichaprueba;

class TestClsMantenAvisos : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path;
    ui::ScriptedDialogService dialogs;
    int serie = 0;
    BaseFichas base;

    std::unique_ptr<db::Database> db() { return base.abrir(); }
    QStringList codigos() {
        QStringList out;
        for (const db::Row& r : db()->query("SELECT Cod FROM Fichas ORDER BY rowid"))
            out << r[0].toString();
        return out;
    }
    std::unique_ptr<Ficha> open(bool addAgain) { return abrirFicha(dialogs, path, addAgain); }

private Q_SLOTS:
    void initTestCase() { ORB_MOTOR_DISPONIBLE(); }

    void init() {
        QVERIFY(dir.isValid());
        path = dir.filePath(QStringLiteral("f%1.db").arg(++serie));
        base.crear(path);
        dialogs.clear();
    }

    // A second press of Aceptar, or a press of Cancelar, delivered while the
    // first confirm runs: by the events the confirm lets through before it
    // reads the boxes, or from inside a slow window's events. One record is
    // stored, once, and the window hears of one outcome only.
    void pressWhileConfirmingIsDropped_data() {
        QTest::addColumn<QString>("cuando");
        QTest::addColumn<QString>("boton");
        QTest::addColumn<bool>("addAgain");
        for (const bool again : {true, false}) {
            const char* lado = again ? "add again" : "once";
            for (const char* cuando : {"events", "BeforeUpdate", "AfterUpdate"})
                QTest::addRow("Aceptar in %s, %s", cuando, lado) << cuando << "ok" << again;
            QTest::addRow("Cancelar in events, %s", lado) << "events"
                                                          << "cancel" << again;
        }
    }
    void pressWhileConfirmingIsDropped() {
        QFETCH(QString, cuando);
        QFETCH(QString, boton);
        QFETCH(bool, addAgain);
        auto f = open(addAgain);
        f->add->click();
        f->cod->setText("N1");
        f->nombre->setText("Nuevo");
        QPushButton* segundo = boton == u"ok" ? f->ok : f->cancel;
        int pulsado = 0;
        const auto pulsar = [&] {
            if (pulsado++ == 0)
                segundo->click();
        };
        if (cuando == u"events")
            QTimer::singleShot(0, segundo, pulsar);
        else
            f->durante = [&](const QString& evento) {
                if (evento == cuando)
                    pulsar();
            };
        f->log.clear();
        f->ok->click();
        QCOMPARE(pulsado, 1); // the second press did come while the first ran

        QCOMPARE(codigos(), QStringList{"N1"});
        QCOMPARE(db()->scalar("SELECT Nombre FROM Fichas").toString(), QString("Nuevo"));
        QVERIFY2(dialogs.texts().isEmpty(), qPrintable(dialogs.texts().join('\n')));
        QCOMPARE(f->log.count("BeforeUpdate"), 1);
        QCOMPARE(f->log.count("AfterCommit"), 1);
        QCOMPARE(f->log.count("AfterRollback"), 0);
        QCOMPARE(f->data->Estado(), addAgain ? Añadiendo : Paseando);

        // The controller is free again: the next confirm and cancel work.
        f->durante = nullptr;
        if (!addAgain)
            f->add->click();
        f->cod->setText("N2");
        f->ok->click();
        QCOMPARE(codigos(), (QStringList{"N1", "N2"}));
        if (!addAgain)
            f->edit->click();
        f->cancel->click();
        QCOMPARE(f->data->Estado(), Paseando);
    }

    // While a confirm runs the window does not close under it; afterwards it may.
    void windowStaysOpenUntilTheConfirmEnds() {
        auto f = open(false);
        f->add->click();
        f->cod->setText("N1");
        bool podia = true;
        f->durante = [&](const QString& evento) {
            if (evento == u"AfterUpdate")
                podia = f->data->PuedeCerrar();
        };
        f->ok->click();
        QVERIFY(!podia);
        QVERIFY(dialogs.texts().isEmpty());
        QVERIFY(f->data->PuedeCerrar());
        QCOMPARE(codigos(), QStringList{"N1"});
    }

    // Stored, changed and deleted records are told with their table and code,
    // once committed; a refused confirm, a cancel and a refused delete are not.
    void storedAndDeletedRecordsAreTold() {
        auto f = open(false);
        QSignalSpy avisos(f->data, &clsManten::registroCambiado);
        QStringList visto; // what another connection reads when told
        connect(f->data, &clsManten::registroCambiado, this, [&](const QString&, const QString& cod) {
            visto << (f->data->BaseDatos().inTransaction() ? "open" : "") +
                         db()->scalar("SELECT ifnull(max(Nombre), '-') FROM Fichas WHERE Cod = ?", {cod})
                             .toString();
        });
        const auto dicho = [&] {
            QStringList out;
            for (const QList<QVariant>& a : std::as_const(avisos))
                out << a[0].toString() + u' ' + a[1].toString();
            avisos.clear();
            return out;
        };

        f->add->click();
        f->cod->setText("N1");
        f->nombre->setText("Uno");
        f->ok->click();
        QCOMPARE(dicho(), QStringList{"Fichas N1"});
        f->edit->click();
        f->nombre->setText("Otro");
        f->ok->click();
        QCOMPARE(dicho(), QStringList{"Fichas N1"});
        QCOMPARE(visto, (QStringList{"Uno", "Otro"}));

        // Refused (a duplicate code), cancelled, a delete answered No: nothing stored, nothing told.
        f->add->click();
        f->cod->setText("N1");
        f->ok->click();
        QCOMPARE(dialogs.texts().size(), 1);
        f->cancel->click();
        f->edit->click();
        f->nombre->setText("Nada");
        f->cancel->click();
        f->del->click();
        QCOMPARE(dicho(), QStringList());

        dialogs.queueAnswer(ui::DialogService::Answer::Yes);
        f->del->click();
        QCOMPARE(codigos(), QStringList());
        QCOMPARE(dicho(), QStringList{"Fichas N1"});
        QCOMPARE(visto.last(), QString("-"));
    }
};

QTEST_MAIN(TestClsMantenAvisos)
#include "tst_clsmantenavisos.moc"
