// The package as `cmake --install` lays it out, checked against what the
// README and the AppStream metadata promise; and the command-line tools as
// a scheduled task meets them (no XDG_RUNTIME_DIR, Spanish words only).

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString fuente(const QString& ruta) {
    return QDir(QStringLiteral(ORBALIA_SOURCE_DIR)).filePath(ruta);
}

QString leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

struct Salida {
    int codigo = -1;
    QString out, err;
};

Salida ejecutar(const QString& programa, const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(programa, args);
    Salida s;
    if (!p.waitForFinished(120000))
        return s;
    s.codigo = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    s.out = QString::fromUtf8(p.readAllStandardOutput());
    s.err = QString::fromUtf8(p.readAllStandardError());
    return s;
}

// Every program the README names in backquotes (`orbalia`, `orbalia-exchange`…).
QStringList programasDelReadme() {
    QStringList nombres;
    const QRegularExpression re(QStringLiteral("`(?:build/)?(orbalia(?:-[a-z]+)?)(?=[` ])"));
    for (const QRegularExpressionMatch& m : re.globalMatch(leer(fuente("README.md"))))
        if (!nombres.contains(m.captured(1)))
            nombres << m.captured(1);
    return nombres;
}

QStringList binariosDeAppStream() {
    QStringList nombres;
    const QRegularExpression re(QStringLiteral("<binary>([^<]+)</binary>"));
    for (const QRegularExpressionMatch& m :
         re.globalMatch(leer(fuente("resources/desktop/es.orbalia.Orbalia.metainfo.xml"))))
        nombres << m.captured(1);
    return nombres;
}

// A checking tool from Debian: missing, the check is skipped, except under
// CI, which must run every check.
bool hayHerramienta(const QString& nombre) {
    return !QStandardPaths::findExecutable(nombre).isEmpty();
}
bool enCI() {
    return qEnvironmentVariable("CI") == u"true";
}

} // namespace

class TestPaquete : public QObject {
    Q_OBJECT

    QTemporaryDir destino;
    QString raiz; // the installed /usr

    QString instalado(const QString& ruta) const { return raiz + u'/' + ruta; }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(destino.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", destino.path());
        const Salida s = ejecutar(
            "cmake", {"--install", QStringLiteral(ORBALIA_BINARY_DIR), "--prefix", "/usr", "--strip"}, env);
        QVERIFY2(s.codigo == 0, qPrintable(s.out + s.err));
        raiz = destino.filePath("usr");
    }

    void everyDocumentedProgramIsInstalled() {
        const QStringList readme = programasDelReadme();
        QVERIFY2(readme.contains("orbalia-exchange") && readme.contains("orbalia-webexport"),
                 qPrintable(readme.join(' ')));
        const QStringList appstream = binariosDeAppStream();
        for (const QString& p : readme + appstream)
            QVERIFY2(QFileInfo(instalado("bin/" + p)).isExecutable(), qPrintable("no se instala " + p));
        // AppStream lists every program the package provides.
        for (const QString& p : QDir(instalado("bin")).entryList(QDir::Files))
            QVERIFY2(appstream.contains(p), qPrintable(p + " falta en los metadatos de AppStream"));
    }

    void extensionSchemaAndDesktopFilesAreInstalled() {
        // Where the README tells people to .load it from.
        QVERIFY(leer(fuente("README.md")).contains("/lib/orbalia/liborbalia_sqlite'"));
        QVERIFY2(QFileInfo::exists(instalado("lib/orbalia/liborbalia_sqlite.so")),
                 qPrintable(QDir(instalado("lib")).entryList().join(' ')));
        for (const char* f : {"share/doc/Orbalia/web-schema.sql", "share/doc/Orbalia/ventana-principal.png",
                              "share/applications/es.orbalia.Orbalia.desktop",
                              "share/metainfo/es.orbalia.Orbalia.metainfo.xml",
                              "share/icons/hicolor/scalable/apps/es.orbalia.Orbalia.svg"})
            QVERIFY2(QFileInfo::exists(instalado(QString::fromLatin1(f))), f);
        QCOMPARE(leer(instalado("share/doc/Orbalia/web-schema.sql")), leer(fuente("docs/web-schema.sql")));
    }

    void installedMetadataValidatesAndPointsHome() {
        const QString meta = leer(instalado("share/metainfo/es.orbalia.Orbalia.metainfo.xml"));
        QVERIFY(meta.contains(QRegularExpression("<url type=\"homepage\">https://[^<]+</url>")));
        QVERIFY(meta.contains(QRegularExpression("<image>https://[^<]+\\.png</image>")));
        if (!hayHerramienta("appstreamcli")) {
            QVERIFY2(!enCI(), "appstreamcli no está instalado");
            QSKIP("appstreamcli no está instalado");
        }
        const Salida s =
            ejecutar("appstreamcli",
                     {"validate", "--no-net", instalado("share/metainfo/es.orbalia.Orbalia.metainfo.xml")},
                     QProcessEnvironment::systemEnvironment());
        QVERIFY2(s.codigo == 0, qPrintable(s.out + s.err));
    }

    void installedProgramsAreStripped() {
        if (!hayHerramienta("readelf")) {
            QVERIFY2(!enCI(), "readelf no está instalado");
            QSKIP("readelf no está instalado");
        }
        for (const QString& p : QDir(instalado("bin")).entryList(QDir::Files)) {
            const Salida s =
                ejecutar("readelf", {"-S", instalado("bin/" + p)}, QProcessEnvironment::systemEnvironment());
            QCOMPARE(s.codigo, 0);
            QVERIFY2(!s.out.contains(".debug_info"),
                     qPrintable(p + " conserva la información de depuración"));
        }
    }

    // Under cron there is no XDG_RUNTIME_DIR: the help is Spanish and Qt's
    // note about it never reaches the output.
    void toolsHelpIsSpanishWithoutQtNotes_data() {
        QTest::addColumn<QString>("herramienta");
        for (const char* t : {"orbalia-exchange", "orbalia-webexport", "orbalia-portales", "orbalia-updatedb",
                              "orbalia-backup"})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void toolsHelpIsSpanishWithoutQtNotes() {
        QFETCH(QString, herramienta);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        env.remove("QT_QPA_PLATFORM");
        const Salida s = ejecutar(instalado("bin/" + herramienta), {"--help"}, env);
        QCOMPARE(s.codigo, 0);
        QVERIFY2(s.out.startsWith("Uso: "), qPrintable(s.out));
        for (const char* ingles : {"Usage", "Options:", "Displays", "help on"})
            QVERIFY2(!s.out.contains(QLatin1String(ingles)), qPrintable(s.out));
        QVERIFY2(!s.err.contains("QStandardPaths") && !s.err.contains("XDG_RUNTIME_DIR"), qPrintable(s.err));
    }

    // A mistyped command line is told in Spanish, with where the help is.
    void webExportRefusesBadOptionsInSpanish() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_RUNTIME_DIR");
        const QString programa = instalado("bin/orbalia-webexport");
        const Salida desconocida = ejecutar(programa, {"--subir"}, env);
        QCOMPARE(desconocida.codigo, 2);
        QCOMPARE(
            desconocida.err,
            QString("Error: opción desconocida: subir\nPara ver las opciones: orbalia-webexport --help\n"));
        const Salida sinValor = ejecutar(programa, {"--home"}, env);
        QCOMPARE(sinValor.codigo, 2);
        QVERIFY2(sinValor.err.startsWith("Error: falta el valor de la opción --home\n"),
                 qPrintable(sinValor.err));
        QCOMPARE(sinValor.out, QString());
    }
};

QTEST_GUILESS_MAIN(TestPaquete)
#include "tst_paquete.moc"
