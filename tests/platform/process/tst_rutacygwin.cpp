#include "platform/process/ShellSincrono.h"

#include <QTest>

using proc::RutaCygwin;

class tst_RutaCygwin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void convertsPaths_data() {
        QTest::addColumn<QString>("ruta");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("carpeta de Windows") << "C:\\Programas\\Orbalia\\"
                                            << "C/Programas/Orbalia/";
        QTest::newRow("dos puntos dos veces") << "C:\\a:b\\"
                                              << "C/ab/";
        QTest::newRow("ruta nativa") << "/home/agencia/Orbalia/"
                                     << "/home/agencia/Orbalia/";
        QTest::newRow("vacía") << ""
                               << "";
        QTest::newRow("otros caracteres intactos") << "D:\\Año 2024\\Fotos (1)\\ñ"
                                                   << "D/Año 2024/Fotos (1)/ñ";
    }
    void convertsPaths() {
        QFETCH(QString, ruta);
        QFETCH(QString, esperado);
        QCOMPARE(RutaCygwin(ruta), esperado);
    }

    void shellSincronoLogsAndReturnsTheExitCode() {
        proc::ProcessRunner runner;
        QStringList log;
        QCOMPARE(proc::ShellSincrono(runner, "/bin/sh", {"-c", "echo subiendo; exit 2"},
                                     [&](const QString& l) { log << l; }),
                 2);
        QCOMPARE(log, QStringList({"subiendo"}));
        QCOMPARE(proc::ShellSincrono(runner, "/no/existe", {}), -1);
    }
};

QTEST_GUILESS_MAIN(tst_RutaCygwin)
#include "tst_rutacygwin.moc"
