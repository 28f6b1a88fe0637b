#include "platform/process/ProcessRunner.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using proc::ProcessRunner;

class tst_ProcessRunner : public QObject {
    Q_OBJECT

    static int runShell(ProcessRunner& runner, const QString& script, QStringList* lines) {
        return runner.run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script},
                          [lines](const QString& line) { lines->append(line); });
    }

private Q_SLOTS:
    void exitCodeAndOutputLinesInOrder() {
        ProcessRunner runner;
        QStringList lines;
        const int code =
            runShell(runner, "echo uno; echo dos >&2; echo tres; printf 'cuatro sin salto'; exit 7", &lines);
        QCOMPARE(code, 7);
        QCOMPARE(lines, QStringList({"uno", "dos", "tres", "cuatro sin salto"}));
        QVERIFY(!runner.cancelled());
        QVERIFY(runner.failure().contains("7"));

        lines.clear();
        QCOMPARE(runShell(runner, "printf 'ñandú €\\n'", &lines), 0);
        QCOMPARE(lines, QStringList({"ñandú €"}));
        QVERIFY(runner.failure().isEmpty());

        // A progress line shows its last state.
        lines.clear();
        QCOMPARE(runShell(runner, "printf 'foto.jpg\\n  10%%\\r  50%%\\r 100%%\\r\\nfin\\r\\n'", &lines), 0);
        QCOMPARE(lines, QStringList({"foto.jpg", " 100%", "fin"}));
    }

    void argumentsAndFolderReachTheProgramUntouched() {
        // No shell in between: blanks, quotes and $ stay part of each argument.
        const QStringList args{"/web/Mi carpeta/", "it's", "\"entre comillas\"", "$(rm -rf x)", "a;b", ""};
        QTemporaryDir dir;
        ProcessRunner runner;
        runner.setWorkingDirectory(dir.path());
        QStringList lines;
        QCOMPARE(runner.run("printf", QStringList{"[%s]\\n"} + args, [&](const QString& l) { lines << l; }),
                 0);
        QStringList expected;
        for (const QString& a : args)
            expected << "[" + a + "]";
        QCOMPARE(lines, expected);
        lines.clear();
        QCOMPARE(runShell(runner, "pwd -P", &lines), 0);
        QCOMPARE(lines, QStringList({QDir(dir.path()).canonicalPath()}));
    }

    void missingProgramReturnsMinusOne() {
        ProcessRunner runner;
        QStringList lines;
        QCOMPARE(runner.run("/no/existe/rsync", {"-r"}, [&](const QString& l) { lines << l; }), -1);
        QVERIFY(lines.isEmpty());
        QVERIFY(runner.failure().contains("/no/existe/rsync"));
        QCOMPARE(runner.run("orbalia-programa-que-no-existe", {}), -1);
        QVERIFY(!runner.isRunning());
        // The runner is usable again afterwards.
        QCOMPARE(runShell(runner, "exit 3", &lines), 3);
    }

    void eventsAreServedWhileWaiting() {
        ProcessRunner runner;
        int ticks = 0;
        QStringList linesSeenByTimer, lines;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            ++ticks;
            linesSeenByTimer = lines;
        });
        timer.start(20);
        QCOMPARE(runShell(runner, "echo antes; sleep 0.6; echo despues", &lines), 0);
        timer.stop();
        QVERIFY2(ticks >= 3, qPrintable(QString("the timer fired %1 times").arg(ticks)));
        // The log grew while the program still ran.
        QCOMPARE(linesSeenByTimer.value(0), QString("antes"));
        QCOMPARE(lines, QStringList({"antes", "despues"}));
    }

    void cancelStopsTheProgram() {
        ProcessRunner runner;
        QStringList lines;
        QTimer::singleShot(200, &runner, &ProcessRunner::cancel);
        QCOMPARE(runShell(runner, "echo empieza; sleep 30; echo nunca", &lines), -1);
        QVERIFY(runner.cancelled());
        QCOMPARE(lines, QStringList({"empieza"}));

        // One that ignores the polite request is killed.
        QTimer::singleShot(200, &runner, &ProcessRunner::cancel);
        QCOMPARE(runShell(runner, "trap '' TERM; echo terco; while :; do sleep 0.1; done", &lines), -1);
        QVERIFY(runner.cancelled());

        // Cancelling with nothing running changes nothing for the next run.
        runner.cancel();
        QCOMPARE(runShell(runner, "exit 0", &lines), 0);
        QVERIFY(!runner.cancelled());
    }

    void secondRunWhileRunningIsRefused() {
        ProcessRunner runner;
        int nested = 0;
        QTimer::singleShot(100, &runner, [&] { nested = runner.run("/bin/true", {}); });
        QStringList lines;
        QCOMPARE(runShell(runner, "sleep 0.4; exit 4", &lines), 4);
        QCOMPARE(nested, -1);
    }
};

QTEST_GUILESS_MAIN(tst_ProcessRunner)
#include "tst_processrunner.moc"
